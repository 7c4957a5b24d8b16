#include "platform/WaveFile.h"

namespace platform {

uint16_t ReadLittle16(const uint8_t* bytes) { return static_cast<uint16_t>(bytes[0] | bytes[1] << 8); }

uint32_t ReadLittle32(const uint8_t* bytes) {
  return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
         static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

bool ListChunks(const uint8_t* bytes, size_t begin, size_t end, std::vector<RiffChunk>& chunks) {
  size_t at = begin;
  while (end - at >= 8) {
    RiffChunk chunk;
    chunk.id = ReadLittle32(bytes + at);
    chunk.size = ReadLittle32(bytes + at + 4);
    chunk.offset = at + 8;
    if (chunk.size > end - chunk.offset) {
      return false;
    }
    chunks.push_back(chunk);
    at = chunk.offset + chunk.size;
    if ((chunk.size & 1) != 0 && at < end) {
      ++at;
    }
  }
  return true;
}

namespace {

constexpr uint32_t kMinimumFormatSize = 16;
constexpr uint32_t kFormatWithCountSize = 18;

WaveError ReadFormat(const uint8_t* bytes, const RiffChunk& chunk, WaveContents& contents) {
  if (chunk.size < kMinimumFormatSize) {
    return WaveError::NotWave;
  }
  const uint8_t* field = bytes + chunk.offset;
  AudioFormat& format = contents.format;
  format.formatTag = ReadLittle16(field);
  format.channels = ReadLittle16(field + 2);
  format.samplesPerSecond = ReadLittle32(field + 4);
  format.averageBytesPerSecond = ReadLittle32(field + 8);
  format.blockAlign = ReadLittle16(field + 12);
  format.bitsPerSample = ReadLittle16(field + 14);
  contents.formatExtra.clear();
  // A non-PCM format names how many bytes of its own follow, when the chunk
  // has room for the count at all.
  if (format.formatTag == kWaveFormatPcm || chunk.size < kFormatWithCountSize) {
    return WaveError::None;
  }
  const uint16_t extraCount = ReadLittle16(field + 16);
  if (extraCount > chunk.size - kFormatWithCountSize) {
    return WaveError::NotWave;
  }
  contents.formatExtra.assign(field + kFormatWithCountSize, field + kFormatWithCountSize + extraCount);
  return WaveError::None;
}

}  // namespace

WaveError ParseWave(const uint8_t* bytes, size_t size, WaveContents& contents) {
  if (bytes == nullptr || size < 12 || ReadLittle32(bytes) != FourCC("RIFF") ||
      ReadLittle32(bytes + 8) != FourCC("WAVE")) {
    return WaveError::NotWave;
  }
  const uint32_t riffSize = ReadLittle32(bytes + 4);
  if (riffSize < 4) {
    return WaveError::NotWave;
  }
  if (riffSize > size - 8) {
    return WaveError::DataEndsEarly;
  }
  std::vector<RiffChunk> chunks;
  if (!ListChunks(bytes, 12, 8 + static_cast<size_t>(riffSize), chunks)) {
    return WaveError::DataEndsEarly;
  }
  const RiffChunk* format = nullptr;
  const RiffChunk* data = nullptr;
  for (const RiffChunk& chunk : chunks) {
    if (chunk.id == FourCC("fmt ") && format == nullptr) {
      format = &chunk;
    } else if (chunk.id == FourCC("data") && data == nullptr) {
      data = &chunk;
    }
  }
  if (format == nullptr || data == nullptr) {
    return WaveError::NotWave;
  }
  const WaveError formatError = ReadFormat(bytes, *format, contents);
  if (formatError != WaveError::None) {
    return formatError;
  }
  contents.dataOffset = data->offset;
  contents.dataSize = data->size;
  return WaveError::None;
}

}  // namespace platform
