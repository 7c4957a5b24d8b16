#include "runtime/Folders.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <system_error>
#include <vector>

#include "base/DebugFormat.h"
#include "base/TextUtils.h"
#include "platform/FileSystem.h"
#include "runtime/Config.h"
#include "runtime/DebugLevelGate.h"
#include "runtime/FileNames.h"
#include "runtime/FileTypes.h"
#include "runtime/Files.h"

struct tFolderRecord {
  struct Entry {
    std::string name;
    uint32_t flags = 0;
  };
  std::vector<Entry> entries;
  size_t current = 0;
};

namespace {

constexpr int32_t kVolumeCount = 26;
constexpr int32_t kFirstFolderType = FolderDefault;
constexpr int32_t kLastFolderType = FolderCompound;

struct FolderState {
  std::array<std::string, kLastFolderType - kFirstFolderType + 1> paths;
  std::string configurationName;
  std::string globalCompoundName;
  int32_t fileMask = -1;

  std::string& Path(int32_t type) { return paths[static_cast<size_t>(type - kFirstFolderType)]; }
};

FolderState state;

bool IsKnownType(int32_t type) { return type >= kFirstFolderType && type <= kLastFolderType; }

std::string WithBackslash(std::string path) {
  if (!path.empty() && path.back() != '\\') {
    path += '\\';
  }
  return path;
}

char LowerAscii(char character) {
  return (character >= 'A' && character <= 'Z') ? static_cast<char>(character - 'A' + 'a')
                                                : character;
}

// "*" and "?" wildcards, ignoring case.
bool MatchesMask(const char* name, const char* mask) {
  if (*mask == '\0') {
    return *name == '\0';
  }
  if (*mask == '*') {
    for (const char* rest = name;; ++rest) {
      if (MatchesMask(rest, mask + 1)) {
        return true;
      }
      if (*rest == '\0') {
        return false;
      }
    }
  }
  if (*name == '\0') {
    return false;
  }
  return (*mask == '?' || LowerAscii(*mask) == LowerAscii(*name)) && MatchesMask(name + 1, mask + 1);
}

bool CopyName(const std::string& name, char* buffer) {
  if (buffer == nullptr || name.size() >= kMaxPathSize) {
    return false;
  }
  std::memcpy(buffer, name.c_str(), name.size() + 1);
  return true;
}

uint32_t FlagsOf(const std::string& path) {
  struct stat status;
  if (stat(path.c_str(), &status) != 0) {
    return kFileFlagNormal;
  }
  uint32_t flags = S_ISDIR(status.st_mode) ? kFileFlagFolder : kFileFlagNormal;
  if (access(path.c_str(), W_OK) != 0) {
    flags |= kFileFlagReadOnly;
  }
  return flags;
}

// The entries of a folder that match the mask, ordered by name ignoring case
// (then by bytes), so a listing never depends on the order on disk.
std::vector<tFolderRecord::Entry> ListFolder(const std::string& folderName, const char* mask) {
  std::vector<tFolderRecord::Entry> entries;
  const std::optional<std::string> path = platform::MapFileName(
      folderName.empty() ? "." : folderName.c_str());
  std::error_code error;
  if (!path) {
    return entries;
  }
  for (const auto& item : std::filesystem::directory_iterator(*path, error)) {
    const std::string name = item.path().filename().string();
    if (MatchesMask(name.c_str(), mask)) {
      entries.push_back({name, FlagsOf(item.path().string())});
    }
  }
  std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
    const int order = CompareNoCase(a.name.c_str(), b.name.c_str());
    return order != 0 ? order < 0 : a.name < b.name;
  });
  return entries;
}

bool IsSetting(const std::string& value, const char* word) {
  return CompareNoCase(value.c_str(), word) == 0;
}

std::string ReadSource(ConfigurationHandle configuration, const char* key) {
  char buffer[kMaxPathSize] = "";
  ReadConfigurationStr(configuration, "Source", key, buffer, sizeof buffer);
  return buffer;
}

// A shared or default folder that does not exist is dropped; an empty one
// becomes the program folder.
std::string ConfirmedFolder(const std::string& configured) {
  if (configured.empty() || !CheckFile(configured.c_str())) {
    return state.Path(FolderProgram);
  }
  return WithBackslash(configured);
}

// The CD folder may be given as a Linux path or as a name on drive C:.
void ApplyCdFolder(const std::string& configured) {
  if (configured.size() >= 2 && configured[1] == ':') {
    const std::optional<std::string> path = platform::MapFileName(configured.c_str());
    platform::SetCdFolder(path ? *path : "");
    return;
  }
  platform::SetCdFolder(configured);
}

std::string FindCdRoot() {
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    if (GetDriveVolume(letter) == VolumeCdRom) {
      return std::string(1, letter) + ":\\";
    }
  }
  return {};
}

// A media folder starts as the program folder; "CDROM" moves it to the CD's
// media folder (when there is a CD) and "Shared" to the shared folder.
void PlaceMediaFolder(tFolderType type, const std::string& setting, const char* logFormat) {
  std::string& folder = state.Path(type);
  folder = state.Path(FolderProgram);
  if (IsSetting(setting, "CDROM") && !state.Path(FolderCdRom).empty()) {
    folder = state.Path(FolderCdRom) + "Media\\";
  } else if (IsSetting(setting, "Shared")) {
    folder = state.Path(FolderShared);
  }
  DebugPrint(logFormat, folder.c_str());
}

}  // namespace

tVolume GetDriveVolume(char letter) {
  switch (platform::GetDriveKind(letter)) {
    case platform::DriveKind::Fixed:
      return VolumeFixed;
    case platform::DriveKind::Cd:
      return VolumeCdRom;
    default:
      return VolumeNoRoot;
  }
}

bool GetFolderName(tFolderType type, char* buffer) {
  if (!IsKnownType(type) || state.Path(type).empty()) {
    return false;
  }
  return CopyName(state.Path(type), buffer);
}

bool SetFolderName(tFolderType type, const char* path) {
  const bool settable = type == FolderDefault || (type >= FolderGraphic && type <= FolderCompound);
  if (!settable || path == nullptr) {
    return false;
  }
  const std::string folder = WithBackslash(path);
  if (folder.size() >= kMaxPathSize) {
    return false;
  }
  state.Path(type) = folder;
  if (type == FolderDefault && !state.configurationName.empty()) {
    ConfigurationHandle configuration = OpenConfiguration(state.configurationName.c_str(), false);
    const bool written = WriteConfigurationStr(configuration, "Source", "Default", folder.c_str());
    CloseConfiguration(configuration);
    return written;
  }
  return true;
}

bool AbsoluteFileName(tFolderType type, const char* name, int32_t /*kind*/, char* buffer) {
  if (!IsKnownType(type)) {
    return false;
  }
  return AppendToPath(state.Path(type).c_str(), name, buffer);
}

FolderHandle OpenFolder(tFolderType type, const char* subFolder, char* buffer) {
  const int32_t maskKind = state.fileMask;
  state.fileMask = -1;
  if (buffer == nullptr) {
    DebugPrint("OpenFolder() Null pointer to the filename buffer specified\n");
    return nullptr;
  }
  std::string folder = IsKnownType(type) ? state.Path(type) : std::string();
  if (subFolder != nullptr) {
    folder += subFolder;
  }
  if (!folder.empty() && folder.back() != '\\' && folder.back() != ':') {
    folder += '\\';
  }
  const char* extension = GetFileTypeExtension(maskKind);
  const std::string mask = extension == nullptr ? "*" : std::string("*.") + extension;
  auto listing = std::make_unique<tFolderRecord>();
  listing->entries = ListFolder(folder, mask.c_str());
  if (listing->entries.empty() || !CopyName(listing->entries.front().name, buffer)) {
    if (DebugLevelAtLeast(3)) {
      DebugPrint("OpenFolder() Cannot open folder (Type=%i, Folder=%s, Mask=%s)\n", type,
                 folder.c_str(), mask.c_str());
    }
    return nullptr;
  }
  return listing.release();
}

bool ReadFolder(FolderHandle folder, char* buffer) {
  if (folder == nullptr) {
    DebugPrint("ReadFolder() Null pointer to the folder specified\n");
    return false;
  }
  if (buffer == nullptr) {
    DebugPrint("ReadFolder() Null pointer to the filename buffer specified\n");
    return false;
  }
  if (folder->current + 1 >= folder->entries.size()) {
    return false;
  }
  ++folder->current;
  return CopyName(folder->entries[folder->current].name, buffer);
}

void CloseFolder(FolderHandle folder) {
  if (folder == nullptr) {
    DebugPrint("CloseFolder() Null pointer to the folder specified\n");
    return;
  }
  std::unique_ptr<tFolderRecord> owned(folder);
}

int32_t GetFileInfo(FolderHandle folder) {
  if (folder == nullptr || folder->current >= folder->entries.size()) {
    return 0;
  }
  return ExtractFileInfo(folder->entries[folder->current].name.c_str());
}

uint32_t GetFileFlags(FolderHandle folder) {
  if (folder == nullptr || folder->current >= folder->entries.size()) {
    return 0;
  }
  return folder->entries[folder->current].flags;
}

void SetFileMask(int32_t kind) { state.fileMask = kind; }

bool CreateFolder(const char* path) {
  const std::optional<std::string> mapped =
      path == nullptr ? std::nullopt : platform::MapFileName(path);
  if (!mapped || mkdir(mapped->c_str(), 0755) != 0) {
    return false;
  }
  return true;
}

int32_t GetVolumeCount() { return kVolumeCount; }

tVolume GetVolumeName(int32_t drive, char* buffer) {
  if (drive < 0 || drive >= kVolumeCount || buffer == nullptr) {
    return VolumeUnknown;
  }
  const char letter = static_cast<char>('A' + drive);
  CopyName(std::string(1, letter) + ":\\", buffer);
  return GetDriveVolume(letter);
}

tVolume GetDefaultVolumeName(char* buffer) {
  const std::string& folder = state.Path(FolderDefault);
  const char letter = folder.size() >= 2 && folder[1] == ':' ? folder[0] : 'C';
  const char upper = (letter >= 'a' && letter <= 'z') ? static_cast<char>(letter - 'a' + 'A')
                                                      : letter;
  if (upper < 'A' || upper > 'Z') {
    return VolumeUnknown;
  }
  return GetVolumeName(upper - 'A', buffer);
}

bool StartFolders(const char* configurationName, std::string& failure) {
  StopFolders();
  state.Path(FolderProgram) = platform::CurrentFolderName();
  if (state.Path(FolderProgram).empty()) {
    failure = "Cannot get the program folder\n";
    return false;
  }
  state.configurationName = configurationName != nullptr ? configurationName : "";
  ConfigurationHandle configuration = OpenConfiguration(state.configurationName.c_str(), false);
  state.globalCompoundName = ReadSource(configuration, "Name");
  const std::string compound = ReadSource(configuration, "Compound");
  const std::string graphic = ReadSource(configuration, "Graphic");
  const std::string sound = ReadSource(configuration, "Sound");
  const std::string movie = ReadSource(configuration, "Movie");
  const std::string shared = ReadSource(configuration, "Shared");
  const std::string defaultFolder = ReadSource(configuration, "Default");
  const std::string audio = ReadSource(configuration, "Audio");
  ApplyCdFolder(ReadSource(configuration, "CDFolder"));
  CloseConfiguration(configuration);

  state.Path(FolderShared) = ConfirmedFolder(shared);
  state.Path(FolderDefault) = ConfirmedFolder(defaultFolder);
  state.Path(FolderCdRom) = FindCdRoot();
  if (state.Path(FolderCdRom).empty()) {
    if (IsSetting(graphic, "CDROM") || IsSetting(sound, "CDROM") || IsSetting(movie, "CDROM")) {
      failure = "Cannot detect the CD-ROM drive\n";
      return false;
    }
    if (IsSetting(audio, "CD")) {
      failure = "Cannot detect CD-audio\n";
      return false;
    }
  }
  char root[kMaxPathSize];
  state.Path(FolderRoot) = GetRootName(state.Path(FolderDefault).c_str(), root) ? root : "";
  PlaceMediaFolder(FolderGraphic, graphic, "Graphic files are read from %s\n");
  PlaceMediaFolder(FolderSound, sound, "Sound files are read from %s\n");
  PlaceMediaFolder(FolderMovie, movie, "Movie files are read from %s\n");
  PlaceMediaFolder(FolderCompound, compound, "Compound files are read from %s\n");
  if (!defaultFolder.empty()) {
    DebugPrint("Default folder has been set to %s\n", state.Path(FolderDefault).c_str());
  }
  return true;
}

const std::string& GetGlobalCompoundName() { return state.globalCompoundName; }

void StopFolders() {
  state = FolderState{};
  platform::SetCdFolder("");
}
