#include "runtime/Files.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <string>

#include "base/DebugFormat.h"
#include "platform/FileSystem.h"

struct tFileRecord {
  std::FILE* stream = nullptr;
  // A buffered stream must be repositioned between a write and a read.
  enum class Direction { None, Reading, Writing } lastDirection = Direction::None;
  // Seeks on a regular file are answered at once but carried out by the next
  // transfer, and only when it would not start where the stream stands:
  // asking for the position, the end and going back (what a reader does to
  // learn how much is left) then costs no system call and keeps the read
  // buffer. -1: no seek waiting.
  int64_t pendingPosition = -1;
  bool regular = false;
  // The file's size as last measured, valid while no handle of this process
  // may have changed a file since (see sizeGeneration); -1 when unknown.
  int64_t knownSize = -1;
  uint64_t knownSizeGeneration = 0;
  // The stream's position when known without asking it; -1 when unknown.
  int64_t settledPosition = -1;
  // A read came back short: the stream may carry its end-of-file mark.
  bool mayBeAtEnd = false;
};

namespace {

// Each thread has its own, so a thread's failure never shows as another's.
thread_local uint32_t lastFileError = 0;

// Counts the operations of this process that may have changed the size of a
// file: writes, flushes, closes and repositionings of a handle with bytes
// waiting to be written, and files emptied at opening. A measured size stays
// good while the count stands, so a reader asking for the end again and again
// asks the system once. (Changes made by other programs while a file is open
// are not seen until the count moves.)
std::atomic<uint64_t> sizeGeneration{1};

void SizesMayHaveChanged() { sizeGeneration.fetch_add(1, std::memory_order_relaxed); }

void RememberError() { lastFileError = static_cast<uint32_t>(errno); }

int AccessFlags(tFileMode fileMode) {
  switch (fileMode) {
    case FileModeRead:
      return O_RDONLY;
    case FileModeWrite:
      return O_WRONLY;
    default:
      return O_RDWR;
  }
}

const char* StreamMode(tFileMode fileMode) {
  switch (fileMode) {
    case FileModeRead:
      return "rb";
    case FileModeWrite:
      return "wb";
    default:
      return "r+b";
  }
}

// The advisory lock for a share mode: exclusive handles take an exclusive
// lock, the denying modes a shared one, "deny nothing" and unknown values none.
int LockFor(tShareMode shareMode) {
  switch (shareMode) {
    case ShareModeExclusive:
      return LOCK_EX;
    case ShareModeDenyWrite:
    case ShareModeDenyRead:
      return LOCK_SH;
    default:
      return 0;
  }
}

// Opens the descriptor without emptying the file, so a file locked by another
// handle is refused before its contents are touched.
int OpenDescriptor(const std::string& path, tFileMode fileMode, tOpenMode openMode,
                   tShareMode shareMode) {
  const int create = (openMode == OpenModeExisting) ? 0 : O_CREAT;
  const int descriptor = open(path.c_str(), AccessFlags(fileMode) | create | O_CLOEXEC, 0644);
  if (descriptor < 0) {
    return -1;
  }
  const int lock = LockFor(shareMode);
  if (lock != 0 && flock(descriptor, lock | LOCK_NB) != 0) {
    close(descriptor);
    errno = EACCES;
    return -1;
  }
  if (openMode == OpenModeCreate) {
    SizesMayHaveChanged();
    if (ftruncate(descriptor, 0) != 0) {
      close(descriptor);
      return -1;
    }
  }
  return descriptor;
}

// Moves a reading stream to a target among the bytes its buffer holds, as
// the C library's own seek does, without calling it: a look ahead and back
// (a marker compared before it is taken) then costs no call and no system
// call. False, with nothing moved, when the target lies outside the buffer
// or the stream's position is not known.
bool MoveInsideReadBuffer(FileHandle file, int64_t target) {
#if defined(__GLIBC__)
  if (file->settledPosition < 0 || file->lastDirection != tFileRecord::Direction::Reading) {
    return false;
  }
  std::FILE* stream = file->stream;
  const int64_t behind = stream->_IO_read_ptr - stream->_IO_read_base;
  const int64_t ahead = stream->_IO_read_end - stream->_IO_read_ptr;
  const int64_t step = target - file->settledPosition;
  if (step < -behind || step > ahead) {
    return false;
  }
  stream->_IO_read_ptr += step;
  return true;
#else
  (void)file;
  (void)target;
  return false;
#endif
}

// Carries out a seek waiting on the stream. A stream already at the target
// only has its end-of-file mark cleared, as a seek would; its direction stays,
// since it was not repositioned.
bool ApplyPendingSeek(FileHandle file) {
  if (file->pendingPosition < 0) {
    return true;
  }
  const off_t target = static_cast<off_t>(file->pendingPosition);
  file->pendingPosition = -1;
  const int64_t position =
      file->settledPosition >= 0 ? file->settledPosition : static_cast<int64_t>(ftello(file->stream));
  if (position == target || MoveInsideReadBuffer(file, target)) {
    if (file->mayBeAtEnd) {
      std::clearerr(file->stream);
      file->mayBeAtEnd = false;
    }
    file->settledPosition = target;
    return true;
  }
  file->settledPosition = -1;
  if (fseeko(file->stream, target, SEEK_SET) != 0) {
    RememberError();
    return false;
  }
  file->mayBeAtEnd = false;
  file->settledPosition = target;
  file->lastDirection = tFileRecord::Direction::None;
  return true;
}

// The size of a regular file; -1 when it cannot be had.
int64_t MeasureSize(FileHandle file) {
  const uint64_t generation = sizeGeneration.load(std::memory_order_relaxed);
  if (file->knownSize >= 0 && file->knownSizeGeneration == generation) {
    return file->knownSize;
  }
  struct stat status;
  if (fstat(fileno(file->stream), &status) != 0) {
    return -1;
  }
  file->knownSize = static_cast<int64_t>(status.st_size);
  file->knownSizeGeneration = generation;
  return file->knownSize;
}

// The target of a seek on a regular file, from its logical position or size
// without moving the stream; false when that cannot be told without seeking.
// A mode other than the three counts as from the start, as for the system.
bool SeekTarget(FileHandle file, int32_t offset, tSeekMode seekMode, int64_t& target) {
  int64_t base = 0;
  if (seekMode == SeekModeCurrent) {
    if (file->pendingPosition >= 0) {
      base = file->pendingPosition;
    } else {
      if (file->settledPosition < 0) {
        file->settledPosition = static_cast<int64_t>(ftello(file->stream));
      }
      base = file->settledPosition;
    }
  } else if (seekMode == SeekModeEnd) {
    base = MeasureSize(file);
  }
  target = base + offset;
  return base >= 0;
}

// Switches a stream between reading and writing, as buffered streams require.
bool PrepareDirection(FileHandle file, tFileRecord::Direction direction) {
  if (file->lastDirection == tFileRecord::Direction::Writing) {
    SizesMayHaveChanged();  // the switch writes out what waits
  }
  if (file->lastDirection != tFileRecord::Direction::None && file->lastDirection != direction &&
      std::fseek(file->stream, 0, SEEK_CUR) != 0) {
    RememberError();
    return false;
  }
  file->lastDirection = direction;
  return true;
}

}  // namespace

FileHandle OpenFile(const char* name, tFileMode fileMode, tOpenMode openMode,
                    tShareMode shareMode) {
  if (name == nullptr) {
    DebugPrint("OpenFile() Null pointer to the file name specified\n");
    return nullptr;
  }
  const std::optional<std::string> path = platform::MapFileName(name);
  if (!path) {
    lastFileError = ENOENT;
    DebugPrint("OpenFile() Invalid file name (Name=%s)\n", name);
    return nullptr;
  }
  const int descriptor = OpenDescriptor(*path, fileMode, openMode, shareMode);
  if (descriptor < 0) {
    RememberError();
    DebugPrint("OpenFile() Cannot open file (Name=%s, Error=%X)\n", name, GetFileError());
    return nullptr;
  }
  auto file = std::make_unique<tFileRecord>();
  struct stat status;
  file->regular = fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode);
  file->stream = fdopen(descriptor, StreamMode(fileMode));
  if (file->stream == nullptr) {
    RememberError();
    close(descriptor);
    DebugPrint("OpenFile() Cannot buffer file (Name=%s, Error=%X)\n", name, GetFileError());
    return nullptr;
  }
  return file.release();
}

bool SetFileBuffer(FileHandle file, uint32_t size) {
  if (file == nullptr || size == 0 || file->lastDirection != tFileRecord::Direction::None) {
    return false;
  }
  return std::setvbuf(file->stream, nullptr, _IOFBF, size) == 0;
}

bool CloseFile(FileHandle file) {
  if (file == nullptr) {
    return false;
  }
  std::unique_ptr<tFileRecord> owned(file);
  if (owned->lastDirection == tFileRecord::Direction::Writing) {
    SizesMayHaveChanged();
  }
  if (std::fclose(owned->stream) != 0) {
    RememberError();
    return false;
  }
  return true;
}

bool ReadFile(FileHandle file, void* buffer, uint32_t count, uint32_t& countRead) {
  countRead = 0;
  if (file == nullptr || (buffer == nullptr && count > 0)) {
    return false;
  }
  if (!ApplyPendingSeek(file) || !PrepareDirection(file, tFileRecord::Direction::Reading)) {
    return false;
  }
#if defined(__GLIBC__)
  // Bytes the stream holds already are taken from its buffer, as the C
  // library's own unlocked character readers do: a stream belongs to one
  // thread, and most reads are single values of a few bytes.
  std::FILE* stream = file->stream;
  if (count <= static_cast<uint64_t>(stream->_IO_read_end - stream->_IO_read_ptr)) {
    std::memcpy(buffer, stream->_IO_read_ptr, count);
    stream->_IO_read_ptr += count;
    countRead = count;
    if (file->settledPosition >= 0) {
      file->settledPosition += count;
    }
    return countRead > 0;
  }
#endif
  countRead = static_cast<uint32_t>(std::fread(buffer, 1, count, file->stream));
  if (countRead == count && file->settledPosition >= 0) {
    file->settledPosition += count;
  } else {
    file->settledPosition = -1;
  }
  if (countRead < count) {
    file->mayBeAtEnd = true;
    if (std::ferror(file->stream)) {
      RememberError();
      std::clearerr(file->stream);
    }
  }
  return countRead > 0;
}

bool WriteFile(FileHandle file, const void* data, uint32_t count, uint32_t& countWritten) {
  countWritten = 0;
  if (file == nullptr || (data == nullptr && count > 0)) {
    return false;
  }
  if (!ApplyPendingSeek(file) || !PrepareDirection(file, tFileRecord::Direction::Writing)) {
    return false;
  }
  countWritten = static_cast<uint32_t>(std::fwrite(data, 1, count, file->stream));
  SizesMayHaveChanged();
  file->settledPosition = -1;
  if (countWritten < count) {
    RememberError();
    std::clearerr(file->stream);
  }
  return countWritten > 0;
}

bool ReadFileExactly(FileHandle file, void* buffer, uint32_t count) {
  auto* bytes = static_cast<uint8_t*>(buffer);
  while (count > 0) {
    uint32_t read = 0;
    if (!ReadFile(file, bytes, count, read) || read == 0) {
      return false;
    }
    bytes += read;
    count -= read;
  }
  return true;
}

bool WriteFileExactly(FileHandle file, const void* data, uint32_t count) {
  const auto* bytes = static_cast<const uint8_t*>(data);
  while (count > 0) {
    uint32_t written = 0;
    if (!WriteFile(file, bytes, count, written) || written == 0) {
      return false;
    }
    bytes += written;
    count -= written;
  }
  return true;
}

int32_t SeekFile(FileHandle file, int32_t offset, tSeekMode seekMode) {
  if (file == nullptr) {
    return -1;
  }
  int64_t target = 0;
  if (file->regular && file->lastDirection != tFileRecord::Direction::Writing &&
      SeekTarget(file, offset, seekMode, target)) {
    // Nothing waits to be written, so the target is known without moving.
    if (target < 0) {
      lastFileError = EINVAL;  // before the start of the file: no move
      return -1;
    }
    file->pendingPosition = target;
    return target > INT32_MAX ? -1 : static_cast<int32_t>(target);
  }
  if (!ApplyPendingSeek(file)) {
    return -1;
  }
  if (file->lastDirection == tFileRecord::Direction::Writing) {
    SizesMayHaveChanged();  // the seek writes out what waits
  }
  int origin = SEEK_SET;
  if (seekMode == SeekModeCurrent) {
    origin = SEEK_CUR;
  } else if (seekMode == SeekModeEnd) {
    origin = SEEK_END;
  }
  file->settledPosition = -1;
  if (fseeko(file->stream, offset, origin) != 0) {
    RememberError();
    return -1;
  }
  file->mayBeAtEnd = false;
  file->lastDirection = tFileRecord::Direction::None;
  const off_t position = ftello(file->stream);
  file->settledPosition = position;
  if (position < 0 || position > INT32_MAX) {
    return -1;
  }
  return static_cast<int32_t>(position);
}

bool FlushFile(FileHandle file) {
  if (file == nullptr) {
    return false;
  }
  if (file->lastDirection == tFileRecord::Direction::Writing) {
    SizesMayHaveChanged();
  }
  if (!ApplyPendingSeek(file) || std::fflush(file->stream) != 0) {
    RememberError();
    return false;
  }
  return true;
}

bool SyncFile(FileHandle file) {
  if (!FlushFile(file)) {
    return false;
  }
  if (fsync(fileno(file->stream)) != 0) {
    RememberError();
    return false;
  }
  return true;
}

bool TruncateFile(FileHandle file, uint32_t length) {
  if (!FlushFile(file)) {
    return false;
  }
  SizesMayHaveChanged();
  if (length > INT32_MAX || ftruncate(fileno(file->stream), static_cast<off_t>(length)) != 0) {
    RememberError();
    return false;
  }
  return true;
}

bool CheckFile(const char* name) {
  const std::optional<std::string> path = platform::MapFileName(name);
  struct stat status;
  return path && stat(path->c_str(), &status) == 0;
}

uint32_t GetFileError() { return lastFileError; }

void RawCopy(void* destination, const void* source, uint32_t count) {
  if (destination != nullptr && source != nullptr && count > 0) {
    std::memmove(destination, source, count);
  }
}
