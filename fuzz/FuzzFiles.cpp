#include "fuzz/FuzzFiles.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>

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
