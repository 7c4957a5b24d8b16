#include "game/OrderFrameBytes.h"

#include <cstring>

#include "game/CommsBytes.h"
#include "game/CommsLog.h"
#include "logic/core/COrderPackage.h"

void WriteOrderFrameHeader(uint8_t* to, uint32_t frame, uint32_t count) {
  to[0] = kCommsOrderFrame;
  StoreU32(to + 1, frame);
  StoreU32(to + 5, count);
}

uint32_t WriteOrder(uint8_t* to, const COrderPackage* package) {
  if (package == nullptr) {
    StoreU16(to, 0);
    StoreU32(to + 2, 0);
    return kOrderHeaderSize;
  }
  const auto length = static_cast<uint32_t>(package->Length);
  StoreU16(to, static_cast<uint16_t>(package->Kind));
  StoreU32(to + 2, length);
  if (length > 0) {
    std::memcpy(to + kOrderHeaderSize, package->Data.get(), length);
  }
  return kOrderHeaderSize + length;
}

uint32_t OrderBytes(const COrderPackage* package) {
  return kOrderHeaderSize + (package != nullptr ? static_cast<uint32_t>(package->Length) : 0);
}

ycPackagePointer RebuildPackage(const ycReceivedOrder& order) {
  if (order.payload.empty()) {
    return nullptr;
  }
  // The package record is the comms layer's own (owned 0), freed by its
  // release.
  ycPackagePointer package(new COrderPackage, ycPackageRelease{0});
  package->Create(static_cast<int16_t>(order.kind), order.payload.data(), static_cast<int32_t>(order.payload.size()));
  return package;
}

void ReserveSendBuffer(std::vector<uint8_t>& buffer, size_t size) {
  if (buffer.size() >= size) {
    return;
  }
  buffer.assign(size, 0);
  CommsTrace("*MP*            - Buffer resized!\n");
}
