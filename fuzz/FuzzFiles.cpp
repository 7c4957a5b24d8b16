#include "fuzz/FuzzFiles.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>

#include <fcntl.h>
#include <unistd.h>

#include "platform/FileSystem.h"

namespace {

// Memory-backed when the machine has it: readers that rewrite their file
// replace it through a rename, which on a disk file system waits for the
// data to reach the disk and slows fuzzing a hundredfold.
std::filesystem::path ScratchParent() {
  std::error_code error;
  if (std::filesystem::is_directory("/dev/shm", error) && access("/dev/shm", W_OK) == 0) {
    return "/dev/shm";
  }
  return std::filesystem::temp_directory_path(error);
}

// Owns the scratch folder for the life of the process.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern = (ScratchParent() / "lumo-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
      std::fprintf(stderr, "Cannot create the fuzz scratch folder\n");
      std::abort();
    }
    path_ = pattern;
  }
  ~ScratchFolder() {
    std::error_code error;
    std::filesystem::remove_all(path_, error);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

const std::filesystem::path& ScratchPath() {
  static const ScratchFolder folder;
  return folder.Path();
}

}  // namespace

std::string FuzzFileName(const char* fileName) {
  return platform::GameFileName((ScratchPath() / fileName).string());
}

std::string FuzzFilePath(const char* fileName) { return (ScratchPath() / fileName).string(); }

std::string WriteFuzzFile(const char* fileName, const uint8_t* data, size_t size) {
  const std::filesystem::path path = ScratchPath() / fileName;
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  file.close();
  if (!file) {
    std::fprintf(stderr, "Cannot write the fuzz input file %s\n", path.c_str());
    std::abort();
  }
  return FuzzFileName(fileName);
}

FuzzFileHandle::FuzzFileHandle(const std::string& name, bool forWriting)
    : handle_(OpenFile(name.c_str(), forWriting ? FileModeWrite : FileModeRead,
                       forWriting ? OpenModeCreate : OpenModeExisting, ShareModeDenyNone)) {}

FuzzFileHandle::~FuzzFileHandle() {
  if (handle_ != nullptr) {
    CloseFile(handle_);
  }
}

namespace {

[[noreturn]] void ReusedFileFailed(const char* what, const char* fileName) {
  std::fprintf(stderr, "Cannot %s the reused fuzz file %s\n", what, fileName);
  std::abort();
}

}  // namespace

FuzzReusedFile::FuzzReusedFile(const char* fileName)
    : handle_(OpenFile(FuzzFileName(fileName).c_str(), FileModeReadWrite, OpenModeCreate, ShareModeDenyNone)),
      descriptor_(open(FuzzFilePath(fileName).c_str(), O_RDWR | O_CLOEXEC)) {
  if (handle_ == nullptr || descriptor_ < 0) {
    ReusedFileFailed("open", fileName);
  }
}

FuzzReusedFile::~FuzzReusedFile() {
  CloseFile(handle_);
  close(descriptor_);
}

// Every byte goes through the handle, so its buffer never holds what the
// file no longer has; the descriptor only cuts the file's length, after the
// handle has handed its buffered writes on.
FileHandle FuzzReusedFile::Emptied() { return Holding(nullptr, 0); }

FileHandle FuzzReusedFile::Holding(const uint8_t* data, size_t size) {
  if (SeekFile(handle_, 0, SeekModeStart) != 0 || (size > 0 && !WriteFileExactly(handle_, data, static_cast<uint32_t>(size))) ||
      !FlushFile(handle_) || ftruncate(descriptor_, static_cast<off_t>(size)) != 0) {
    ReusedFileFailed("refill", "");
  }
  return Rewound();
}

FileHandle FuzzReusedFile::Rewound() {
  if (SeekFile(handle_, 0, SeekModeStart) != 0) {
    ReusedFileFailed("rewind", "");
  }
  return handle_;
}
