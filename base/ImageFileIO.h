#pragma once

#include <cstdint>

#include "runtime/Files.h"

// Byte-exact reading and writing for the image file formats: whole-count
// reads and writes over the run-time's file handles, the bytes left in a
// file, and little- and big-endian fields taken from or put into byte arrays
// one by one (never by laying a host struct over the bytes).

namespace image_io {

// True only when all count bytes were read.
bool ReadExact(FileHandle file, void* buffer, uint32_t count);
// True only when all count bytes were written.
bool WriteExact(FileHandle file, const void* data, uint32_t count);
// The position from the start of the file, -1 when it cannot be told.
int64_t Position(FileHandle file);
// Bytes from the position to the end of the file (the position is kept),
// -1 when it cannot be told.
int64_t RemainingBytes(FileHandle file);
bool SeekTo(FileHandle file, int64_t position);
// The handle as the 32-bit number the log lines show.
uint32_t FileId(FileHandle file);

inline uint16_t LoadLittle16(const uint8_t* bytes) { return static_cast<uint16_t>(bytes[0] | (bytes[1] << 8)); }
inline uint32_t LoadLittle32(const uint8_t* bytes) {
  return static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8) |
         (static_cast<uint32_t>(bytes[2]) << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
}
inline uint32_t LoadBig32(const uint8_t* bytes) {
  return (static_cast<uint32_t>(bytes[0]) << 24) | (static_cast<uint32_t>(bytes[1]) << 16) |
         (static_cast<uint32_t>(bytes[2]) << 8) | static_cast<uint32_t>(bytes[3]);
}
inline void StoreLittle16(uint8_t* bytes, uint16_t value) {
  bytes[0] = static_cast<uint8_t>(value);
  bytes[1] = static_cast<uint8_t>(value >> 8);
}
inline void StoreLittle32(uint8_t* bytes, uint32_t value) {
  for (int index = 0; index < 4; ++index) {
    bytes[index] = static_cast<uint8_t>(value >> (8 * index));
  }
}
inline void StoreBig32(uint8_t* bytes, uint32_t value) {
  for (int index = 0; index < 4; ++index) {
    bytes[index] = static_cast<uint8_t>(value >> (24 - 8 * index));
  }
}

}  // namespace image_io
