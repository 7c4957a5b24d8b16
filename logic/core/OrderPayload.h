#pragma once

#include <cstdint>

#include "logic/core/COrderPackage.h"

// Order payloads are written and read byte by byte: 32-bit values
// little-endian, flags and the group as single bytes, no padding. The same
// bytes decode alike on every machine of a network game.

// Reads the fields of one payload of a known length.
class PayloadReader {
 public:
  explicit PayloadReader(const COrderPackage& package) : package(package) {}

  // Whether the payload has exactly that length (and its bytes).
  bool HasLength(int32_t expected) const {
    return package.Length == expected && (expected == 0 || package.Data != nullptr);
  }
  // The value at offset; only for offsets inside a payload HasLength accepted.
  int32_t Int32(int32_t offset) const {
    const uint8_t* bytes = package.Data.get() + offset;
    const uint32_t value = uint32_t{bytes[0]} | (uint32_t{bytes[1]} << 8) | (uint32_t{bytes[2]} << 16) |
                           (uint32_t{bytes[3]} << 24);
    return static_cast<int32_t>(value);
  }
  uint8_t Byte(int32_t offset) const { return package.Data[static_cast<size_t>(offset)]; }

 private:
  const COrderPackage& package;
};

// Builds one payload of at most 16 bytes.
class PayloadWriter {
 public:
  static constexpr int32_t kCapacity = 16;

  explicit PayloadWriter(int32_t length) : length(length) {}

  PayloadWriter& Int32(int32_t offset, int32_t value) {
    const auto bits = static_cast<uint32_t>(value);
    for (int32_t shift = 0; shift < 4; ++shift) {
      bytes[offset + shift] = static_cast<uint8_t>(bits >> (8 * shift));
    }
    return *this;
  }
  PayloadWriter& Byte(int32_t offset, uint8_t value) {
    bytes[offset] = value;
    return *this;
  }
  PayloadWriter& Flag(int32_t offset, bool value) { return Byte(offset, value ? 1 : 0); }

  // A new package of the kind with these bytes; the caller owns it.
  COrderPackage* Package(int32_t kind) const;

 private:
  uint8_t bytes[kCapacity] = {};
  int32_t length;
};
