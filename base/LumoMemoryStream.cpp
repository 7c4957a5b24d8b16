#include "base/LumoMemoryStream.h"

#include <cstdlib>
#include <cstring>

#include "base/DebugFormat.h"

LumoMemoryStream::LumoMemoryStream() = default;

LumoMemoryStream::~LumoMemoryStream() { ReleaseBuffer(); }

const char* LumoMemoryStream::GetClassName() const { return "LumoMemoryStream"; }

void LumoMemoryStream::DoFree() {
  Close();
  ReleaseBuffer();
  LumoStream::DoFree();
}

void LumoMemoryStream::ReleaseBuffer() {
  if (ownsBuffer != 0) {
    std::free(buffer);
  }
  buffer = nullptr;
  size = 0;
  position = 0;
}

bool LumoMemoryStream::CanGrow() const { return IsOpen() && ownsBuffer != 0 && growth != 0; }

// ---- The medium ----

bool LumoMemoryStream::DoOpen() {
  position = 0;
  if (ownsBuffer != 0) {
    std::free(buffer);
    buffer = size > 0 ? static_cast<uint8_t*>(std::calloc(size, 1)) : nullptr;
  }
  return buffer != nullptr && size > 0;
}

bool LumoMemoryStream::DoClose() {
  ReleaseBuffer();
  return true;
}

bool LumoMemoryStream::DoRead(void* target, uint32_t count, uint32_t& read) {
  read = 0;
  if (buffer == nullptr || size == 0 || target == nullptr) {
    return false;
  }
  const uint32_t available = size - position;
  read = count < available ? count : available;
  std::memcpy(target, buffer + position, read);
  position += read;
  return true;
}

bool LumoMemoryStream::DoWrite(const void* source, uint32_t count, uint32_t& written) {
  written = 0;
  if (buffer == nullptr || size == 0 || source == nullptr) {
    return false;
  }
  const uint32_t room = size - position;
  if (count > room && (!CanGrow() || !Grow(count - room))) {
    return false;
  }
  std::memcpy(buffer + position, source, count);
  position += count;
  written = count;
  return true;
}

int32_t LumoMemoryStream::DoSeek(int32_t offset, int32_t origin) {
  int64_t target = offset;
  switch (origin) {
    case SeekFromStart:
      break;
    case SeekFromCurrent:
      target += position;
      break;
    case SeekFromEnd:
      target += size;
      break;
    default:
      return -1;
  }
  if (target < 0 || target > INT32_MAX) {
    return -1;
  }
  if (target > size && (!CanGrow() || !Grow(static_cast<uint32_t>(target - size)))) {
    return -1;
  }
  position = static_cast<uint32_t>(target);
  return static_cast<int32_t>(position);
}

// ---- Growth ----

uint32_t LumoMemoryStream::Resize(uint32_t newSize) {
  if (!IsOpen() || ownsBuffer == 0 || newSize == 0 || newSize == size || newSize > INT32_MAX) {
    return 0;
  }
  // realloc keeps the old block when it fails, so nothing is lost then.
  auto* resized = static_cast<uint8_t*>(std::realloc(buffer, newSize));
  if (resized == nullptr) {
    return 0;
  }
  if (newSize > size) {
    std::memset(resized + size, 0, newSize - size);
  }
  buffer = resized;
  size = newSize;
  if (position > size) {
    position = size;
  }
  return size;
}

bool LumoMemoryStream::Grow(uint32_t extra) {
  // A record size of 0 counts as 1 here, so growth never divides by zero.
  const uint64_t record = recordSize != 0 ? recordSize : 1;
  const uint64_t wanted = static_cast<uint64_t>(size) + extra + growth;
  const uint64_t newSize = (wanted + record - 1) / record * record;
  if (newSize <= size) {
    return true;
  }
  if (newSize > kMaxGrownSize) {
    DebugPrint("LumoMemoryStream::Grow() Refused to grow beyond %u bytes (Size=%u, Extra=%u, Stream=%p:%s)\n",
               kMaxGrownSize, size, extra, DebugAddress(this), DebugClassName(this));
    SetError(StreamOutOfMemory);
    return false;
  }
  if (Resize(static_cast<uint32_t>(newSize)) == 0) {
    SetError(StreamOutOfMemory);
    return false;
  }
  return true;
}

uint32_t LumoMemoryStream::SetGrowth(uint32_t step) {
  if (ownsBuffer == 0 || recordSize == 0) {
    return 0;
  }
  const uint64_t rounded = (static_cast<uint64_t>(step) + recordSize - 1) / recordSize * recordSize;
  growth = rounded < kMaxGrownSize ? static_cast<uint32_t>(rounded) : kMaxGrownSize;
  return growth;
}

// ---- Opening ----

bool LumoMemoryStream::OpenBuffer(void* block, uint32_t blockSize, int32_t newRecordSize, uint32_t newRecordOffset) {
  Close();
  ReleaseBuffer();
  ownsBuffer = 0;
  growth = 0;
  buffer = static_cast<uint8_t*>(block);
  size = block != nullptr ? blockSize : 0;
  return Open(newRecordSize, newRecordOffset);
}

bool LumoMemoryStream::OpenNew(uint32_t blockSize, int32_t newRecordSize, uint32_t newRecordOffset) {
  Close();
  ReleaseBuffer();
  ownsBuffer = 1;
  size = blockSize;
  return Open(newRecordSize, newRecordOffset);
}
