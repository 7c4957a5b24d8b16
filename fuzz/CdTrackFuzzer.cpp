// CD track files: the input is a track file in a disc folder of its own. The
// disc's header walk (for the track's length) and the piece reader of the
// player must agree on the samples the file holds, and the pieces must add
// up to exactly those frames, each within the size asked for.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzFiles.h"
#include "platform/CdAudio.h"
#include "platform/CdTrackFile.h"

namespace {

// Small pieces, so that inputs of a few kilobytes are read in many of them.
constexpr uint32_t kPieceFrames = 37;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool discMade = [] {
    std::error_code error;
    std::filesystem::create_directories(FuzzFilePath("disc"), error);
    return !error;
  }();
  FuzzRequire(discMade, "the disc folder exists");
  WriteFuzzFile("disc/track01.wav", data, size);
  const std::string path = FuzzFilePath("disc/track01.wav");

  platform::CdTrackHeader header;
  bool haveHeader = false;
  {
    std::unique_ptr<std::FILE, decltype(&std::fclose)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    FuzzRequire(file != nullptr, "the written track file opens");
    haveHeader = platform::ReadCdTrackHeader(file.get(), header);
  }
  if (haveHeader) {
    FuzzRequire(header.dataOffset + header.dataSize <= size, "the samples lie inside the file");
  }

  platform::CdTrackReader reader;
  FuzzRequire(reader.OpenFile(path) == haveHeader, "the reader opens exactly the tracks whose header reads");
  uint64_t frames = 0;
  platform::StreamBlock block;
  while (reader.ReadPiece(kPieceFrames, block)) {
    FuzzRequire(block.frames > 0 && block.frames <= kPieceFrames, "a piece holds 1 to the frames asked for");
    FuzzRequire(block.samples.size() == static_cast<size_t>(block.frames) * block.channels,
                "a piece holds its frames' samples");
    frames += block.frames;
  }
  if (haveHeader) {
    FuzzRequire(frames == header.dataSize / header.format.blockAlign, "the pieces add up to the track's frames");
  }

  platform::CdResult result = platform::CdResult::Ok;
  const auto disc = platform::CdAudio::Open(nullptr, FuzzFilePath("disc"), result);
  FuzzRequire(disc != nullptr && disc->TrackCount() == 1, "the disc holds the one track");
  if (haveHeader) {
    FuzzRequire(disc->TrackLength(1) ==
                    static_cast<uint64_t>(header.dataSize) * 1000 / header.format.averageBytesPerSecond,
                "the disc's length of the track is that of its samples");
  }
  return 0;
}
