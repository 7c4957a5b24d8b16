#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "platform/Audio.h"

namespace platform {

// ---- CD track files ----

// A track file of the CD folder is a RIFF "WAVE" file. Its chunk headers are
// walked (its samples are not read) for the format and the place of the
// samples, which are then read a piece at a time while the track plays.

struct CdTrackHeader {
  AudioFormat format;
  uint64_t dataOffset = 0;  // of the first sample byte in the file
  // Bytes of samples the file holds: a data chunk cut short by the end of
  // the file counts only what is there.
  uint32_t dataSize = 0;
};

// Walks the chunk headers of an open track file from its start; false when
// it is no WAVE file with a playable PCM format chunk before its data chunk.
// Leaves the file's position anywhere.
bool ReadCdTrackHeader(std::FILE* file, CdTrackHeader& header);

// Reads one track's samples in pieces, from its file or, for a test disc,
// from memory.
class CdTrackReader {
 public:
  // Opens a track file and walks its header; false when it is no playable track.
  bool OpenFile(const std::string& path);
  // A track held in memory; the bytes must outlive the reader. False for a
  // format the mixer cannot play.
  bool OpenMemory(const AudioFormat& format, const uint8_t* bytes, uint32_t size);
  const AudioFormat& Format() const { return format_; }
  // Converts the next piece of at most maximumFrames frames into the block
  // (16-bit samples in the track's channels and rate); false at the end of
  // the track, or where the file cannot be read further.
  bool ReadPiece(uint32_t maximumFrames, StreamBlock& block);

 private:
  struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };

  std::unique_ptr<std::FILE, FileCloser> file_;
  const uint8_t* memory_ = nullptr;
  AudioFormat format_;
  uint64_t remaining_ = 0;      // bytes of samples not read yet
  std::vector<uint8_t> piece_;  // one piece as stored, reused
};

}  // namespace platform
