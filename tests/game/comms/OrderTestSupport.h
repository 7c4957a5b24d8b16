#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "game/CommsBytes.h"
#include "game/YCommsReader.h"
#include "logic/core/COrderPackage.h"

namespace comms_testing {

// A package as the logic hands one in (freed with DeleteOrderPackage).
inline COrderPackage* MakePackage(int16_t kind, const std::string& payload) {
  auto* package = new COrderPackage;
  package->Create(kind, payload.data(), static_cast<int32_t>(payload.size()));
  return package;
}

// A payload that names its player in its first word, as kinds 1-62 do.
inline std::string PlayerPayload(int32_t player, const std::string& rest = "") {
  std::string payload(4, '\0');
  StoreU32(reinterpret_cast<uint8_t*>(payload.data()), static_cast<uint32_t>(player));
  return payload + rest;
}

// One delivered order as the accept callback saw it.
struct Applied {
  int16_t kind = 0;
  std::string payload;
  uint32_t issued = 0;   // the frame the accept callback was given
  uint32_t appliedAt = 0;  // the frame being flushed
  bool operator==(const Applied&) const = default;
};

inline Applied Describe(const COrderPackage* package, uint32_t issued, uint32_t appliedAt) {
  return {package->Kind,
          std::string(reinterpret_cast<const char*>(package->Data.get()), static_cast<size_t>(package->Length)),
          issued, appliedAt};
}

inline ycOrderFrame Frame(uint32_t frame, const std::vector<std::pair<uint16_t, std::string>>& orders) {
  ycOrderFrame result;
  result.frame = frame;
  for (const auto& [kind, payload] : orders) {
    result.orders.push_back({kind, std::vector<uint8_t>(payload.begin(), payload.end())});
  }
  return result;
}

}  // namespace comms_testing
