#include "base/LumoFileStream.h"

#include <algorithm>

#include "base/DebugFormat.h"

LumoFileStream::LumoFileStream() = default;

LumoFileStream::~LumoFileStream() {
  if (compound == nullptr && file != nullptr) {
    CloseFile(file);
  }
  file = nullptr;
}

const char* LumoFileStream::GetClassName() const { return "LumoFileStream"; }

void LumoFileStream::DoFree() {
  if (compound != nullptr) {
    ForgetCompound();
  } else {
    Close();
  }
  LumoStream::DoFree();
}

void LumoFileStream::CatchError() { fileError = GetFileError(); }

void LumoFileStream::DumpErrorDetails() { DebugPrint(", Error=%X", fileError); }

void LumoFileStream::ForgetCompound() {
  file = nullptr;
  compound = nullptr;
  bounded = false;
  entryStart = 0;
  entryEnd = 0;
}

// ---- The medium ----

bool LumoFileStream::DoOpen() {
  if (compound != nullptr) {
    return file != nullptr;
  }
  if (file != nullptr) {
    return true;  // a handle given through SetFileHandle
  }
  file = OpenFile(Name, fileMode, openMode, shareMode);
  return file != nullptr;
}

bool LumoFileStream::DoClose() {
  if (compound != nullptr) {
    ForgetCompound();
    return true;
  }
  if (file == nullptr) {
    return true;
  }
  FileHandle closing = file;
  file = nullptr;
  return CloseFile(closing);
}

uint32_t LumoFileStream::BoundedCount(uint32_t count) {
  if (!bounded) {
    return count;
  }
  const int32_t position = SeekFile(ResolveFileHandle(), 0, SeekModeCurrent);
  if (position < 0 || static_cast<uint32_t>(position) < entryStart ||
      static_cast<uint32_t>(position) >= entryEnd) {
    return 0;
  }
  return std::min(count, entryEnd - static_cast<uint32_t>(position));
}

bool LumoFileStream::DoRead(void* target, uint32_t count, uint32_t& read) {
  read = 0;
  FileHandle handle = ResolveFileHandle();
  if (handle == nullptr || target == nullptr) {
    return false;
  }
  const uint32_t allowed = BoundedCount(count);
  if (allowed == 0) {
    return true;  // the end of the file or of the entry
  }
  // The file services answer false at the end of the file; that is a read
  // of 0 bytes here.
  ReadFile(handle, target, allowed, read);
  return true;
}

bool LumoFileStream::DoWrite(const void* source, uint32_t count, uint32_t& written) {
  written = 0;
  FileHandle handle = ResolveFileHandle();
  if (handle == nullptr || source == nullptr) {
    return false;
  }
  if (count == 0) {
    return true;
  }
  // An existing entry is rewritten only inside its bytes: what lies behind
  // it belongs to other entries or to the directory.
  const uint32_t allowed = BoundedCount(count);
  if (allowed < count) {
    return false;
  }
  return WriteFile(handle, source, count, written) && written == count;
}

int32_t LumoFileStream::DoSeek(int32_t offset, int32_t origin) {
  FileHandle handle = ResolveFileHandle();
  if (handle == nullptr) {
    return -1;
  }
  if (!bounded) {
    return SeekFile(handle, offset, static_cast<tSeekMode>(origin));
  }
  int64_t target = offset;
  if (origin == SeekFromCurrent) {
    const int32_t current = SeekFile(handle, 0, SeekModeCurrent);
    if (current < 0) {
      return -1;
    }
    target += current;
  } else if (origin == SeekFromEnd) {
    target += entryEnd;
  } else if (origin != SeekFromStart) {
    return -1;
  }
  if (target < entryStart || target > entryEnd) {
    return -1;
  }
  return SeekFile(handle, static_cast<int32_t>(target), SeekModeStart);
}

bool LumoFileStream::DoFlush() {
  FileHandle handle = ResolveFileHandle();
  return handle != nullptr && FlushFile(handle);
}

// ---- Settings ----

FileHandle LumoFileStream::SetFileHandle(FileHandle handle) {
  if (!IsOpen() && compound == nullptr) {
    file = handle;
  }
  return file;
}

FileHandle LumoFileStream::ResolveFileHandle() {
  if (compound != nullptr) {
    file = GetCompoundFile(compound);
  }
  return file;
}

tFileMode LumoFileStream::SetFileMode(tFileMode mode) {
  if (!IsOpen()) {
    fileMode = mode;
  }
  return fileMode;
}

tOpenMode LumoFileStream::SetOpenMode(tOpenMode mode) {
  if (!IsOpen()) {
    openMode = mode;
  }
  return openMode;
}

tShareMode LumoFileStream::SetShareMode(tShareMode mode) {
  if (!IsOpen()) {
    shareMode = mode;
  }
  return shareMode;
}

CompoundHandle LumoFileStream::OpenCompoundEntry(CompoundHandle archive) {
  Close();
  if (compound == nullptr && file != nullptr) {
    CloseFile(file);
    file = nullptr;
  }
  uint32_t offset = 0;
  uint32_t size = 0;
  bool entryBounded = false;
  FileHandle handle = GetCompoundFile(archive);
  if (handle == nullptr || !GetCompoundEntry(archive, offset, size, entryBounded)) {
    ForgetCompound();
    return nullptr;
  }
  compound = archive;
  file = handle;
  bounded = entryBounded;
  entryStart = offset;
  entryEnd = offset + size;
  // Record-index operations divide by the record size: an entry opens with 1.
  if (!LumoStream::Open(1, 0)) {
    ForgetCompound();
    return nullptr;
  }
  return compound;
}

bool LumoFileStream::Open(const char* name, tFileMode newFileMode, tOpenMode newOpenMode,
                          tShareMode newShareMode, int32_t newRecordSize,
                          uint32_t newRecordOffset) {
  Close();
  if (compound != nullptr) {
    ForgetCompound();
  }
  SetName(name);
  fileMode = newFileMode;
  openMode = newOpenMode;
  shareMode = newShareMode;
  return LumoStream::Open(newRecordSize, newRecordOffset);
}

bool LumoFileStream::OpenDefault(const char* name, int32_t newRecordSize, uint32_t newRecordOffset) {
  return Open(name, FileModeReadWrite, OpenModeAlways, ShareModeExclusive, newRecordSize,
              newRecordOffset);
}
