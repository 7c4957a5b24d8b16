#include "runtime/WaveReader.h"

#include "platform/WaveFile.h"
#include "runtime/Files.h"

namespace {

// A file larger than the largest sound plus room for its headers is refused
// before anything is allocated.
constexpr uint32_t kMaximumWaveFileBytes = platform::kMaximumSoundBytes + (1u << 20);

// Closes the file on every path out of the reader.
struct FileCloser {
  FileHandle file;
  ~FileCloser() { CloseFile(file); }
};

}  // namespace

uint32_t ReadWaveBytes(const uint8_t* bytes, size_t size, tWaveData& wave) {
  platform::WaveContents contents;
  switch (platform::ParseWave(bytes, size, contents)) {
    case platform::WaveError::None:
      break;
    case platform::WaveError::NotWave:
      return kWaveNotWave;
    case platform::WaveError::DataEndsEarly:
      return kWaveDataEndsEarly;
  }
  if (contents.dataSize > platform::kMaximumSoundBytes) {
    return kWaveNoMemory;
  }
  wave.format = contents.format;
  wave.formatExtra = std::move(contents.formatExtra);
  wave.samples.assign(bytes + contents.dataOffset, bytes + contents.dataOffset + contents.dataSize);
  return kWaveOk;
}

uint32_t ReadWaveFrom(FileHandle file, uint32_t size, tWaveData& wave) {
  if (size > kMaximumWaveFileBytes) {
    return kWaveNoMemory;
  }
  std::vector<uint8_t> bytes(size);
  if (!ReadFileExactly(file, bytes.data(), size)) {
    return kWaveShortRead;
  }
  return ReadWaveBytes(bytes.data(), bytes.size(), wave);
}

uint32_t ReadWaveFile(const char* name, tWaveData& wave) {
  FileCloser closer{OpenFile(name, FileModeRead, OpenModeExisting, ShareModeDenyWrite)};
  if (closer.file == nullptr) {
    return kWaveCannotOpen;
  }
  const int32_t size = SeekFile(closer.file, 0, SeekModeEnd);
  if (size < 0 || SeekFile(closer.file, 0, SeekModeStart) != 0) {
    return kWaveShortRead;
  }
  return ReadWaveFrom(closer.file, static_cast<uint32_t>(size), wave);
}
