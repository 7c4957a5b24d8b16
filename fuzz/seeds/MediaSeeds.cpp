#include <cstdint>
#include <filesystem>
#include <string>

#include "fuzz/seeds/Seeds.h"
#include "tests/support/MediaWriters.h"

namespace {

namespace media = testing_support;

std::string AsText(const media::Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

std::string WithWord(std::string bytes, size_t at, uint32_t value) {
  for (size_t index = 0; index < 4 && at + index < bytes.size(); ++index) {
    bytes[at + index] = static_cast<char>(value >> (8 * index));
  }
  return bytes;
}

}  // namespace

void WriteWaveSeeds(const std::filesystem::path& folder) {
  const std::string mono = AsText(media::PcmWave(1, 8000, 8, media::Bytes{1, 2, 3, 4, 5}));
  WriteSeed(folder, "written-mono-8.wav", mono);
  WriteSeed(folder, "written-stereo-16.wav", AsText(media::PcmWave(2, 22050, 16, media::Samples16({1, -1, 300, -300}))));
  WriteSeed(folder, "written-adpcm-extra.wav",
            AsText(media::List("RIFF", "WAVE", {media::Chunk("fmt ", media::WaveFormatData(2, 1, 8000, 4)),
                                                 media::Chunk("data", media::Bytes(16, 7))})));
  // The RIFF size at 4, the format chunk's size at 16, the data size at 40.
  WriteSeed(folder, "damaged-riff-size.wav", WithWord(mono, 4, 0xFFFFFFFF));
  WriteSeed(folder, "damaged-format-size.wav", WithWord(mono, 16, 0x7FFFFFFF));
  WriteSeed(folder, "damaged-data-size.wav", WithWord(mono, 40, 0xFFFFFFF0));
  WriteSeed(folder, "damaged-cut-short.wav", mono.substr(0, mono.size() - 3));
  WriteSeed(folder, "damaged-header-only.wav", "RIFF");
}

void WriteMovieSeeds(const std::filesystem::path& folder) {
  media::TestMovie movie;
  movie.frames = {media::SolidFrame(4, 2, 255, 0, 0), media::SolidFrame(4, 2, 0, 255, 0)};
  movie.sound = true;
  movie.soundData = media::Bytes(64, 128);
  const std::string written = AsText(media::AviFile(movie));
  WriteSeed(folder, "written-two-frames-sound.avi", written);
  media::TestMovie topDown;
  topDown.width = 3;
  topDown.height = 3;
  topDown.topDown = true;
  topDown.frames = {media::SolidFrame(3, 3, 1, 2, 3)};
  WriteSeed(folder, "written-top-down.avi", AsText(media::AviFile(topDown)));
  WriteSeed(folder, "damaged-cut-short.avi", written.substr(0, written.size() / 2));
  WriteSeed(folder, "damaged-riff-size.avi", WithWord(written, 4, 0xFFFFFFFF));
  WriteSeed(folder, "damaged-header-only.avi", "RIFF\x04\x00\x00\x00" "AVI ");
}
