#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/Audio.h"
#include "runtime/Files.h"

// Reading WAVE files into memory for the sound list: the format record (with
// the extra bytes a non-PCM format carries) and the whole sample data.

// Results of the WAVE reader.
constexpr uint32_t kWaveOk = 0;
constexpr uint32_t kWaveNoMemory = 0xE000;       // the data is larger than a sound may be
constexpr uint32_t kWaveCannotOpen = 0xE100;
constexpr uint32_t kWaveNotWave = 0xE101;        // not a WAVE file, or a bad format chunk
constexpr uint32_t kWaveShortRead = 0xE102;
constexpr uint32_t kWaveDataEndsEarly = 0xE103;  // a chunk runs past the end of the file

struct tWaveData {
  platform::AudioFormat format;
  std::vector<uint8_t> formatExtra;  // extra format bytes of a non-PCM format
  std::vector<uint8_t> samples;
};

// Reads a WAVE file through the run-time file functions.
uint32_t ReadWaveFile(const char* name, tWaveData& wave);
// Reads size bytes of a WAVE file from the file's current position (a
// compound archive's entry).
uint32_t ReadWaveFrom(FileHandle file, uint32_t size, tWaveData& wave);
// Reads a WAVE file held in memory (a compound archive's entry).
uint32_t ReadWaveBytes(const uint8_t* bytes, size_t size, tWaveData& wave);
