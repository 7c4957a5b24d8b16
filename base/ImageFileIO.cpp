#include "base/ImageFileIO.h"

namespace image_io {

bool ReadExact(FileHandle file, void* buffer, uint32_t count) {
  auto* bytes = static_cast<uint8_t*>(buffer);
  uint32_t done = 0;
  while (done < count) {
    uint32_t read = 0;
    if (!ReadFile(file, bytes + done, count - done, read) || read == 0) {
      return false;
    }
    done += read;
  }
  return true;
}

bool WriteExact(FileHandle file, const void* data, uint32_t count) {
  const auto* bytes = static_cast<const uint8_t*>(data);
  uint32_t done = 0;
  while (done < count) {
    uint32_t written = 0;
    if (!WriteFile(file, bytes + done, count - done, written) || written == 0) {
      return false;
    }
    done += written;
  }
  return true;
}

int64_t Position(FileHandle file) { return SeekFile(file, 0, SeekModeCurrent); }

int64_t RemainingBytes(FileHandle file) {
  const int32_t position = SeekFile(file, 0, SeekModeCurrent);
  if (position < 0) {
    return -1;
  }
  const int32_t end = SeekFile(file, 0, SeekModeEnd);
  if (SeekFile(file, position, SeekModeStart) != position || end < position) {
    return -1;
  }
  return static_cast<int64_t>(end) - position;
}

bool SeekTo(FileHandle file, int64_t position) {
  if (position < 0 || position > INT32_MAX) {
    return false;
  }
  const auto target = static_cast<int32_t>(position);
  return SeekFile(file, target, SeekModeStart) == target;
}

uint32_t FileId(FileHandle file) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(file)); }

}  // namespace image_io
