#pragma once

#include <cstdint>

// Little-endian fields of the comms messages, written and read byte by byte
// so the wire form never depends on the host's byte order or alignment.

inline void StoreU16(uint8_t* to, uint16_t value) {
  to[0] = static_cast<uint8_t>(value);
  to[1] = static_cast<uint8_t>(value >> 8);
}

inline void StoreU32(uint8_t* to, uint32_t value) {
  to[0] = static_cast<uint8_t>(value);
  to[1] = static_cast<uint8_t>(value >> 8);
  to[2] = static_cast<uint8_t>(value >> 16);
  to[3] = static_cast<uint8_t>(value >> 24);
}

inline uint16_t LoadU16(const uint8_t* from) {
  return static_cast<uint16_t>(from[0] | (from[1] << 8));
}

inline uint32_t LoadU32(const uint8_t* from) {
  return uint32_t{from[0]} | (uint32_t{from[1]} << 8) | (uint32_t{from[2]} << 16) | (uint32_t{from[3]} << 24);
}
