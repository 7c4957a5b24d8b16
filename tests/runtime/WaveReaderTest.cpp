#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/WaveReader.h"
#include "support/MediaWriters.h"

namespace media = testing_support;
using media::Bytes;
using media::Chunk;
using media::List;

namespace {

struct WaveCase {
  const char* what;
  Bytes file;
  uint32_t result;
  uint16_t formatTag;
  uint16_t channels;
  uint16_t bits;
  Bytes extra;
  Bytes samples;
};

Bytes FormatChunk(uint16_t tag, uint16_t channels, uint16_t bits, const Bytes* extra = nullptr) {
  return Chunk("fmt ", media::WaveFormatData(tag, channels, 11025, bits, extra));
}

Bytes PcmFileBytes() { return media::PcmWave(1, 11025, 16, {1, 0, 2, 0, 3, 0, 4, 0}); }

// A RIFF file whose header claims more bytes than there are.
Bytes Truncated(Bytes file, size_t remove) {
  file.resize(file.size() - remove);
  return file;
}

std::vector<WaveCase> WaveCases() {
  const Bytes extra = {0xAA, 0xBB, 0xCC};
  const Bytes tooManyExtra = {0x10, 0x00, 0x01, 0x02};  // a count of 16 with two bytes behind it
  Bytes formatWithBadCount = media::WaveFormatData(2, 1, 11025, 4);
  formatWithBadCount.insert(formatWithBadCount.end(), tooManyExtra.begin(), tooManyExtra.end());
  const Bytes pcm16 = PcmFileBytes();
  return {
      {"8-bit mono PCM", List("RIFF", "WAVE", {FormatChunk(1, 1, 8), Chunk("data", {1, 2, 3})}), kWaveOk, 1, 1, 8,
       {}, {1, 2, 3}},
      {"16-bit stereo PCM", List("RIFF", "WAVE", {FormatChunk(1, 2, 16), Chunk("data", {1, 2, 3, 4})}), kWaveOk, 1,
       2, 16, {}, {1, 2, 3, 4}},
      {"a LIST chunk of odd size before the data",
       List("RIFF", "WAVE",
            {FormatChunk(1, 1, 8), List("LIST", "INFO", {Chunk("INAM", {'a', 'b', 'c'})}), Chunk("data", {9})}),
       kWaveOk, 1, 1, 8, {}, {9}},
      {"an odd chunk padded to an even size",
       List("RIFF", "WAVE", {Chunk("junk", {7}), FormatChunk(1, 1, 8), Chunk("data", {5, 6})}), kWaveOk, 1, 1, 8,
       {}, {5, 6}},
      {"non-PCM with extra bytes", List("RIFF", "WAVE", {FormatChunk(2, 1, 4, &extra), Chunk("data", {8})}), kWaveOk,
       2, 1, 4, extra, {8}},
      {"non-PCM format chunk of 16 bytes has no extra bytes",
       List("RIFF", "WAVE", {FormatChunk(2, 1, 4), Chunk("data", {8})}), kWaveOk, 2, 1, 4, {}, {8}},
      {"extra byte count beyond the format chunk",
       List("RIFF", "WAVE", {Chunk("fmt ", formatWithBadCount), Chunk("data", {8})}), kWaveNotWave, 0, 0, 0, {}, {}},
      {"format chunk shorter than 16 bytes",
       List("RIFF", "WAVE", {Chunk("fmt ", {1, 0, 1, 0}), Chunk("data", {8})}), kWaveNotWave, 0, 0, 0, {}, {}},
      {"no data chunk", List("RIFF", "WAVE", {FormatChunk(1, 1, 8)}), kWaveNotWave, 0, 0, 0, {}, {}},
      {"not a WAVE form", List("RIFF", "AVI ", {FormatChunk(1, 1, 8), Chunk("data", {1})}), kWaveNotWave, 0, 0, 0,
       {}, {}},
      {"too short for a header", {'R', 'I', 'F', 'F'}, kWaveNotWave, 0, 0, 0, {}, {}},
      {"data cut short", Truncated(pcm16, 2), kWaveDataEndsEarly, 0, 0, 0, {}, {}},
  };
}

TEST(WaveReaderTest, ReadsFormatsChunksAndRefusesDamagedFiles) {
  for (const WaveCase& test : WaveCases()) {
    tWaveData wave;
    EXPECT_EQ(ReadWaveBytes(test.file.data(), test.file.size(), wave), test.result) << test.what;
    if (test.result != kWaveOk) {
      continue;
    }
    EXPECT_EQ(wave.format.formatTag, test.formatTag) << test.what;
    EXPECT_EQ(wave.format.channels, test.channels) << test.what;
    EXPECT_EQ(wave.format.bitsPerSample, test.bits) << test.what;
    EXPECT_EQ(wave.formatExtra, test.extra) << test.what;
    EXPECT_EQ(wave.samples, test.samples) << test.what;
  }
}

TEST(WaveReaderTest, ChunkSizesAreCheckedAgainstTheFile) {
  // A data chunk whose size runs past the end, with the RIFF size still right.
  Bytes file = List("RIFF", "WAVE", {FormatChunk(1, 1, 8), Chunk("data", {1, 2, 3, 4})});
  file[file.size() - 8] = 0xFF;  // the data chunk's size, low byte
  tWaveData wave;
  EXPECT_EQ(ReadWaveBytes(file.data(), file.size(), wave), kWaveDataEndsEarly);
  // A RIFF size beyond the file.
  Bytes longer = List("RIFF", "WAVE", {FormatChunk(1, 1, 8), Chunk("data", {1, 2})});
  longer[4] = static_cast<uint8_t>(longer[4] + 10);
  EXPECT_EQ(ReadWaveBytes(longer.data(), longer.size(), wave), kWaveDataEndsEarly);
}

TEST(WaveReaderTest, FilesAreReadThroughTheFileFunctions) {
  media::WriteBytes("tone.wav", PcmFileBytes());
  tWaveData wave;
  EXPECT_EQ(ReadWaveFile("tone.wav", wave), kWaveOk);
  EXPECT_EQ(wave.samples.size(), 8u);
  EXPECT_EQ(ReadWaveFile("absent.wav", wave), kWaveCannotOpen);
  media::WriteBytes("empty.wav", {});
  EXPECT_EQ(ReadWaveFile("empty.wav", wave), kWaveNotWave);
}

}  // namespace
