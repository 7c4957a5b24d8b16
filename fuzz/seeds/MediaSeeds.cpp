#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

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

void WriteCdTrackSeeds(const std::filesystem::path& folder) {
  const std::string mono = AsText(media::PcmWave(1, 8000, 8, media::Bytes(100, 140)));
  WriteSeed(folder, "written-mono-8.wav", mono);
  std::vector<int16_t> samples;
  for (int16_t at = 0; at < 150; ++at) {
    samples.push_back(static_cast<int16_t>(at * 211));
  }
  const std::string stereo = AsText(media::PcmWave(2, 44100, 16, media::Samples16(samples)));
  WriteSeed(folder, "written-stereo-16.wav", stereo);
  // An odd-sized chunk (with its pad byte) before the format, as tools write
  // their notes.
  WriteSeed(folder, "written-note-first.wav",
            AsText(media::List("RIFF", "WAVE", {media::Chunk("LIST", media::Bytes{'I', 'N', 'F', 'O', 'x'}),
                                                 media::Chunk("fmt ", media::WaveFormatData(1, 1, 11025, 16)),
                                                 media::Chunk("data", media::Bytes(64, 9))})));
  WriteSeed(folder, "written-data-first.wav",
            AsText(media::List("RIFF", "WAVE", {media::Chunk("data", media::Bytes(8, 1)),
                                                 media::Chunk("fmt ", media::WaveFormatData(1, 1, 8000, 8))})));
  WriteSeed(folder, "written-adpcm.wav",
            AsText(media::List("RIFF", "WAVE", {media::Chunk("fmt ", media::WaveFormatData(2, 1, 8000, 4)),
                                                 media::Chunk("data", media::Bytes(16, 7))})));
  // The format chunk's size at 16, the data size at 40.
  WriteSeed(folder, "damaged-format-size.wav", WithWord(mono, 16, 0x7FFFFFFF));
  WriteSeed(folder, "damaged-format-short.wav", WithWord(mono, 16, 8));
  WriteSeed(folder, "damaged-data-size.wav", WithWord(mono, 40, 0xFFFFFFF0));
  WriteSeed(folder, "damaged-cut-short.wav", stereo.substr(0, stereo.size() - 3));
  WriteSeed(folder, "damaged-header-only.wav", "RIFF\x04\x00\x00\x00WAVE");
}
