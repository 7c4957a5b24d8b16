#include "runtime/Files.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

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
};

namespace {

uint32_t lastFileError = 0;

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
  if (openMode == OpenModeCreate && ftruncate(descriptor, 0) != 0) {
    close(descriptor);
    return -1;
  }
  return descriptor;
}

// Switches a stream between reading and writing, as buffered streams require.
bool PrepareDirection(FileHandle file, tFileRecord::Direction direction) {
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
  if (!PrepareDirection(file, tFileRecord::Direction::Reading)) {
    return false;
  }
  countRead = static_cast<uint32_t>(std::fread(buffer, 1, count, file->stream));
  if (countRead < count && std::ferror(file->stream)) {
    RememberError();
    std::clearerr(file->stream);
  }
  return countRead > 0;
}

bool WriteFile(FileHandle file, const void* data, uint32_t count, uint32_t& countWritten) {
  countWritten = 0;
  if (file == nullptr || (data == nullptr && count > 0)) {
    return false;
  }
  if (!PrepareDirection(file, tFileRecord::Direction::Writing)) {
    return false;
  }
  countWritten = static_cast<uint32_t>(std::fwrite(data, 1, count, file->stream));
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
  int origin = SEEK_SET;
  if (seekMode == SeekModeCurrent) {
    origin = SEEK_CUR;
  } else if (seekMode == SeekModeEnd) {
    origin = SEEK_END;
  }
  if (fseeko(file->stream, offset, origin) != 0) {
    RememberError();
    return -1;
  }
  file->lastDirection = tFileRecord::Direction::None;
  const off_t position = ftello(file->stream);
  if (position < 0 || position > INT32_MAX) {
    return -1;
  }
  return static_cast<int32_t>(position);
}

bool FlushFile(FileHandle file) {
  if (file == nullptr) {
    return false;
  }
  if (std::fflush(file->stream) != 0) {
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
