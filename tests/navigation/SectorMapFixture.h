#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "base/LumoMemoryStream.h"
#include "navigation/YLSectors.h"

namespace navigation_testing {

using Bytes = std::vector<uint8_t>;
using SectorMapOwner = std::unique_ptr<YLSectors, tObjectDestroyer>;
using ObjectOwner = std::unique_ptr<LumoObject, tObjectDestroyer>;

// Two 10 x 10 squares side by side, built through the map's own operations:
// sector 0 spans (0, 0)-(10, 10), sector 1 spans (10, 0)-(20, 10); border 1,
// from (10, 0) to (10, 10), is shared.
//
//   3 ---- 2 ---- 5
//   |  S0  |  S1  |
//   0 ---- 1 ---- 4
inline SectorMapOwner MakeTwoSquares() {
  SectorMapOwner map(new YLSectors);
  const int32_t points[][2] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {20, 0}, {20, 10}};
  for (const auto& point : points) {
    EXPECT_TRUE(map->AppendVertex(new YLVertex(point[0], point[1])));
  }
  for (uint8_t id = 0; id < 2; ++id) {
    auto* sector = new YLSector;
    sector->SetID(id);
    sector->SetWalkable();
    EXPECT_TRUE(map->AppendSector(sector));
  }
  const struct {
    int32_t a, b, left, right;
  } borders[] = {{0, 1, 0, -1}, {1, 2, 0, 1},  {2, 3, 0, -1}, {3, 0, 0, -1},
                 {1, 4, 1, -1}, {4, 5, 1, -1}, {5, 2, 1, -1}};
  for (const auto& entry : borders) {
    auto* border = new YLSectorBorder;
    border->SetA(entry.a);
    border->SetB(entry.b);
    border->SetLeft(map->GetSector(entry.left));
    border->SetRight(map->GetSector(entry.right));
    EXPECT_TRUE(map->AppendBorder(border));
  }
  for (int32_t index : {0, 1, 2, 3}) {
    map->GetSector(0)->AddBorder(map->GetBorder(index));
  }
  for (int32_t index : {4, 5, 6, 1}) {
    map->GetSector(1)->AddBorder(map->GetBorder(index));
  }
  return map;
}

// The bytes of one object record.
inline Bytes SaveRecord(LumoObject& object) {
  LumoMemoryStream stream;
  EXPECT_TRUE(stream.OpenNew(16, 1, 0));
  EXPECT_EQ(stream.SetGrowth(1024), 1024u);
  EXPECT_TRUE(object.SaveObject(&stream, 0));
  return Bytes(stream.buffer, stream.buffer + stream.position);
}

// One object record loaded from the bytes; null when the load fails.
inline ObjectOwner LoadRecord(const Bytes& bytes) {
  if (bytes.empty()) {
    return nullptr;
  }
  Bytes copy = bytes;
  LumoMemoryStream stream;
  EXPECT_TRUE(stream.OpenBuffer(copy.data(), static_cast<uint32_t>(copy.size()), 1, 0));
  return ObjectOwner(LoadObject(&stream, nullptr));
}

template <typename T>
std::unique_ptr<T, tObjectDestroyer> LoadAs(const Bytes& bytes) {
  ObjectOwner loaded = LoadRecord(bytes);
  T* typed = dynamic_cast<T*>(loaded.get());
  if (typed == nullptr) {
    return nullptr;
  }
  loaded.release();
  return std::unique_ptr<T, tObjectDestroyer>(typed);
}

// ---- Building stored bytes by hand ----

inline void AddInteger(Bytes& bytes, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) {
    bytes.push_back(static_cast<uint8_t>(value >> shift));
  }
}

inline void AddText(Bytes& bytes, const char* text) {
  const std::string characters(text);
  AddInteger(bytes, static_cast<uint32_t>(characters.size()));
  bytes.insert(bytes.end(), characters.begin(), characters.end());
}

inline void AddHeader(Bytes& bytes, const char* className) {
  bytes.insert(bytes.end(), {'L', 'u', 'm', 'o'});
  AddInteger(bytes, kVersion_1_6_0_6);
  AddText(bytes, className);
}

// The position just behind the first occurrence of the length-prefixed name
// of a class; -1 when absent.
inline int64_t FindAfterName(const Bytes& bytes, const char* className) {
  Bytes needle;
  AddText(needle, className);
  for (size_t at = 0; at + needle.size() <= bytes.size(); ++at) {
    if (std::equal(needle.begin(), needle.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at))) {
      return static_cast<int64_t>(at + needle.size());
    }
  }
  return -1;
}

inline void PatchInteger(Bytes& bytes, int64_t at, uint32_t value) {
  for (int shift = 24, index = 0; shift >= 0; shift -= 8, ++index) {
    bytes[static_cast<size_t>(at + index)] = static_cast<uint8_t>(value >> shift);
  }
}

}  // namespace navigation_testing
