#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/Audio.h"

namespace platform {

// ---- RIFF and WAVE reading ----

// Little-endian fields of a stored record.
uint16_t ReadLittle16(const uint8_t* bytes);
uint32_t ReadLittle32(const uint8_t* bytes);

// One chunk of a RIFF file: its identifier and where its data lies.
struct RiffChunk {
  uint32_t id = 0;      // four characters, the first in the low byte
  size_t offset = 0;    // of the chunk's data within the file
  uint32_t size = 0;    // bytes of data, without the pad byte
};

constexpr uint32_t FourCC(const char (&text)[5]) {
  return static_cast<uint32_t>(static_cast<uint8_t>(text[0])) |
         static_cast<uint32_t>(static_cast<uint8_t>(text[1])) << 8 |
         static_cast<uint32_t>(static_cast<uint8_t>(text[2])) << 16 |
         static_cast<uint32_t>(static_cast<uint8_t>(text[3])) << 24;
}

// The chunks laid one after another from begin to end; each chunk's data is
// followed by a pad byte when its size is odd (a missing pad byte at the end
// is accepted). False when a chunk runs past the end.
bool ListChunks(const uint8_t* bytes, size_t begin, size_t end, std::vector<RiffChunk>& chunks);

enum class WaveError : uint32_t {
  None,
  NotWave,        // not a RIFF "WAVE" file, no "fmt " or "data" chunk, or a bad format chunk
  DataEndsEarly,  // a chunk runs past the end of the file
};

// A WAVE file's format (with any extra format bytes) and where its samples lie.
struct WaveContents {
  AudioFormat format;
  std::vector<uint8_t> formatExtra;  // the bytes after a non-PCM format's count
  size_t dataOffset = 0;
  uint32_t dataSize = 0;
};

// Reads a whole WAVE file held in memory. Every size is checked against the
// bytes there are; the count of extra format bytes exists only when the
// format chunk has room for it (18 bytes or more) and must fit inside it.
WaveError ParseWave(const uint8_t* bytes, size_t size, WaveContents& contents);

}  // namespace platform
