#include "platform/CdTrackFile.h"

#include <sys/types.h>

#include <algorithm>

#include "platform/WaveFile.h"

namespace platform {
namespace {

constexpr size_t kFormatBytes = 16;  // the PCM fields of a format chunk

// The size of an open file; false when it cannot be found.
bool FileSize(std::FILE* file, uint64_t& size) {
  if (fseeko(file, 0, SEEK_END) != 0) {
    return false;
  }
  const off_t end = ftello(file);
  if (end < 0) {
    return false;
  }
  size = static_cast<uint64_t>(end);
  return true;
}

bool ReadAt(std::FILE* file, uint64_t offset, uint8_t* bytes, size_t count) {
  return fseeko(file, static_cast<off_t>(offset), SEEK_SET) == 0 && std::fread(bytes, 1, count, file) == count;
}

}  // namespace

bool ReadCdTrackHeader(std::FILE* file, CdTrackHeader& header) {
  uint64_t fileSize = 0;
  uint8_t riff[12];
  if (!FileSize(file, fileSize) || !ReadAt(file, 0, riff, sizeof riff) || ReadLittle32(riff) != FourCC("RIFF") ||
      ReadLittle32(riff + 8) != FourCC("WAVE")) {
    return false;
  }
  // Every offset is checked against the file's size before it is sought, so
  // the walk ends at the file's end whatever the sizes claim.
  bool haveFormat = false;
  for (uint64_t at = sizeof riff; at + 8 <= fileSize;) {
    uint8_t chunk[8];
    if (!ReadAt(file, at, chunk, sizeof chunk)) {
      return false;
    }
    const uint32_t id = ReadLittle32(chunk);
    const uint32_t size = ReadLittle32(chunk + 4);
    const uint64_t data = at + sizeof chunk;
    if (id == FourCC("data")) {
      if (!haveFormat) {
        return false;
      }
      header.dataOffset = data;
      header.dataSize = static_cast<uint32_t>(std::min<uint64_t>(size, fileSize - data));
      return true;
    }
    if (id == FourCC("fmt ") && !haveFormat) {
      uint8_t format[kFormatBytes];
      if (size < kFormatBytes || data + kFormatBytes > fileSize || !ReadAt(file, data, format, sizeof format)) {
        return false;
      }
      header.format = PcmFormat(ReadLittle16(format + 2), ReadLittle32(format + 4), ReadLittle16(format + 14));
      header.format.formatTag = ReadLittle16(format);
      if (!IsPlayablePcm(header.format)) {
        return false;
      }
      haveFormat = true;
    }
    at = data + size + (size & 1);
  }
  return false;
}

bool CdTrackReader::OpenFile(const std::string& path) {
  file_.reset(std::fopen(path.c_str(), "rb"));
  memory_ = nullptr;
  remaining_ = 0;
  CdTrackHeader header;
  if (!file_ || !ReadCdTrackHeader(file_.get(), header) ||
      fseeko(file_.get(), static_cast<off_t>(header.dataOffset), SEEK_SET) != 0) {
    file_.reset();
    return false;
  }
  format_ = header.format;
  remaining_ = header.dataSize;
  return true;
}

bool CdTrackReader::OpenMemory(const AudioFormat& format, const uint8_t* bytes, uint32_t size) {
  file_.reset();
  memory_ = bytes;
  format_ = format;
  remaining_ = bytes != nullptr && IsPlayablePcm(format) ? size : 0;
  return remaining_ > 0;
}

bool CdTrackReader::ReadPiece(uint32_t maximumFrames, StreamBlock& block) {
  const uint32_t frameBytes = format_.blockAlign;
  if (frameBytes == 0 || (!file_ && memory_ == nullptr)) {
    return false;
  }
  uint64_t wanted = std::min<uint64_t>(remaining_, static_cast<uint64_t>(maximumFrames) * frameBytes);
  wanted -= wanted % frameBytes;
  if (wanted == 0) {
    remaining_ = 0;
    return false;
  }
  const uint8_t* stored = memory_;
  size_t got = static_cast<size_t>(wanted);
  if (file_) {
    piece_.resize(static_cast<size_t>(wanted));
    got = std::fread(piece_.data(), 1, piece_.size(), file_.get());
    stored = piece_.data();
  } else {
    memory_ += wanted;
  }
  // A file that ends early (or fails) ends the track with its last whole frame.
  remaining_ = got < wanted ? 0 : remaining_ - wanted;
  const uint32_t frames = static_cast<uint32_t>(got / frameBytes);
  if (frames == 0) {
    return false;
  }
  const size_t samples = static_cast<size_t>(frames) * format_.channels;
  block.samples.resize(samples);
  if (format_.bitsPerSample == 8) {
    for (size_t at = 0; at < samples; ++at) {
      block.samples[at] = static_cast<int16_t>((stored[at] - 128) * 256);
    }
  } else {
    for (size_t at = 0; at < samples; ++at) {
      block.samples[at] = static_cast<int16_t>(ReadLittle16(stored + at * 2));
    }
  }
  block.frames = frames;
  block.channels = format_.channels;
  block.samplesPerSecond = format_.samplesPerSecond;
  return true;
}

}  // namespace platform
