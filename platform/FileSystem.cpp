#include "platform/FileSystem.h"
#include "platform/Testing.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <utility>
#include <vector>

namespace platform {
namespace {

std::string cdFolder;

char LowerAscii(char character) {
  return (character >= 'A' && character <= 'Z') ? static_cast<char>(character - 'A' + 'a')
                                                : character;
}

char UpperAscii(char character) {
  return (character >= 'a' && character <= 'z') ? static_cast<char>(character - 'a' + 'A')
                                                : character;
}

bool IsDriveLetter(char character) {
  return (character >= 'A' && character <= 'Z') || (character >= 'a' && character <= 'z');
}

bool Exists(const std::string& path) {
  struct stat status;
  return lstat(path.c_str(), &status) == 0;
}

bool IsFolder(const std::string& path) {
  struct stat status;
  return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

std::string JoinPath(const std::string& folder, const std::string& component) {
  if (folder.empty()) {
    return component;
  }
  if (folder.back() == '/') {
    return folder + component;
  }
  return folder + "/" + component;
}

// The entry of folder whose name equals component when case is ignored; the
// exact spelling wins, otherwise the first match in byte order, so the choice
// never depends on the order in which the system lists the folder.
std::optional<std::string> FindComponent(const std::string& folder, const std::string& component) {
  const std::string folderToScan = folder.empty() ? "." : folder;
  if (Exists(JoinPath(folder, component))) {
    return component;
  }
  DIR* listing = opendir(folderToScan.c_str());
  if (listing == nullptr) {
    return std::nullopt;
  }
  std::optional<std::string> best;
  while (const dirent* entry = readdir(listing)) {
    const std::string candidate = entry->d_name;
    if (SameNameNoCase(candidate, component) && (!best || candidate < *best)) {
      best = candidate;
    }
  }
  closedir(listing);
  return best;
}

// Splits a name at backslashes, dropping empty components.
std::vector<std::string> SplitComponents(const std::string& rest) {
  std::vector<std::string> components;
  size_t start = 0;
  while (start <= rest.size()) {
    size_t end = rest.find('\\', start);
    if (end == std::string::npos) {
      end = rest.size();
    }
    if (end > start) {
      components.push_back(rest.substr(start, end - start));
    }
    start = end + 1;
  }
  return components;
}

// Drops the last component of path, never going above root; a relative path
// that has nothing left to drop climbs with "..".
std::string ParentOf(const std::string& path, const std::string& root) {
  if (root.empty() && (path.empty() || path == ".." || path.ends_with("/.."))) {
    return JoinPath(path, "..");
  }
  if (path.size() <= root.size()) {
    return root;
  }
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) {
    return root;
  }
  const std::string parent = path.substr(0, slash);
  return parent.size() < root.size() ? root : parent;
}

// Walks the components below a root, resolving "." and ".." by name and every
// other component against what is on disk.
std::string ResolveComponents(const std::string& root, const std::vector<std::string>& components) {
  std::string path = root;
  for (const std::string& component : components) {
    if (component == ".") {
      continue;
    }
    if (component == "..") {
      path = ParentOf(path, root);
      continue;
    }
    const std::optional<std::string> found = FindComponent(path, component);
    path = JoinPath(path, found ? *found : component);
  }
  return path;
}

std::string ToBackslashes(std::string text) {
  for (char& character : text) {
    if (character == '/') {
      character = '\\';
    }
  }
  return text;
}

std::optional<std::string> WorkingFolder() {
  char buffer[4096];
  if (getcwd(buffer, sizeof buffer) == nullptr) {
    return std::nullopt;
  }
  return std::string(buffer);
}

}  // namespace

bool SameNameNoCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) {
    return false;
  }
  for (size_t index = 0; index < a.size(); ++index) {
    if (LowerAscii(a[index]) != LowerAscii(b[index])) {
      return false;
    }
  }
  return true;
}

std::optional<std::string> MapFileName(const char* name) {
  if (name == nullptr || std::strlen(name) > kMaxFileNameLength) {
    return std::nullopt;
  }
  const std::string text = ToBackslashes(name);
  std::string root;
  std::string rest = text;
  if (text.size() >= 2 && IsDriveLetter(text[0]) && text[1] == ':') {
    switch (GetDriveKind(text[0])) {
      case DriveKind::Fixed:
        root = "/";
        break;
      case DriveKind::Cd:
        root = cdFolder;
        break;
      case DriveKind::Absent:
        return std::nullopt;
    }
    rest = text.substr(2);
  } else if (text.rfind("\\\\", 0) == 0) {
    return std::nullopt;  // network names have no place on this machine
  } else if (!text.empty() && text[0] == '\\') {
    root = "/";
  }
  std::string path = ResolveComponents(root, SplitComponents(rest));
  if (path.empty()) {
    path = ".";
  }
  return path;
}

std::string GameFileName(const std::string& linuxPath) {
  std::string absolute = linuxPath;
  if (absolute.empty() || absolute[0] != '/') {
    const std::optional<std::string> working = WorkingFolder();
    if (!working) {
      return {};
    }
    absolute = JoinPath(*working, linuxPath);
  }
  std::string result = "C:\\";
  std::string rest = absolute;
  if (!cdFolder.empty() && (absolute == cdFolder || absolute.rfind(cdFolder + "/", 0) == 0)) {
    result = "D:\\";
    rest = absolute.substr(cdFolder.size());
  }
  for (const std::string& component : SplitComponents(ToBackslashes(rest))) {
    if (result.back() != '\\') {
      result += '\\';
    }
    result += component;
  }
  return result;
}

std::string CurrentFolderName() {
  const std::optional<std::string> working = WorkingFolder();
  if (!working) {
    return {};
  }
  std::string name = GameFileName(*working);
  if (name.back() != '\\') {
    name += '\\';
  }
  if (name.size() > kMaxFileNameLength) {
    return {};
  }
  return name;
}

DriveKind GetDriveKind(char letter) {
  switch (UpperAscii(letter)) {
    case 'C':
      return DriveKind::Fixed;
    case 'D':
      return (!cdFolder.empty() && IsFolder(cdFolder)) ? DriveKind::Cd : DriveKind::Absent;
    default:
      return DriveKind::Absent;
  }
}

void SetCdFolder(const std::string& linuxFolder) {
  cdFolder = linuxFolder;
  while (cdFolder.size() > 1 && cdFolder.back() == '/') {
    cdFolder.pop_back();
  }
  if (!cdFolder.empty() && cdFolder[0] != '/') {
    if (const std::optional<std::string> working = WorkingFolder()) {
      cdFolder = JoinPath(*working, cdFolder);
    }
  }
}

const std::string& GetCdFolder() { return cdFolder; }

}  // namespace platform

namespace platform {
namespace {

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) {
    return ".";
  }
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::function<void(const std::string&)>& SyncObserver() {
  static std::function<void(const std::string&)> observer;
  return observer;
}

bool IsLetterOrDigit(char character) {
  return (character >= 'a' && character <= 'z') || (character >= 'A' && character <= 'Z') ||
         (character >= '0' && character <= '9');
}

}  // namespace

bool SyncPath(const std::string& linuxPath) {
  if (SyncObserver()) {
    SyncObserver()(linuxPath);
  }
  const int descriptor = open(linuxPath.c_str(), O_RDONLY | O_CLOEXEC);
  if (descriptor < 0) {
    return false;
  }
  const bool synced = fsync(descriptor) == 0;
  close(descriptor);
  return synced;
}

bool ReplaceFile(const std::string& fromLinuxPath, const std::string& toLinuxPath) {
  if (!SyncPath(fromLinuxPath) || std::rename(fromLinuxPath.c_str(), toLinuxPath.c_str()) != 0) {
    return false;
  }
  // The rename is done; a folder that cannot be synced (some file systems
  // refuse it) does not undo it.
  SyncPath(FolderOf(toLinuxPath));
  return true;
}

void RemoveStaleTemporaries(const std::string& linuxPath) {
  const std::string folder = FolderOf(linuxPath);
  const std::string prefix = linuxPath.substr(linuxPath.find_last_of('/') + 1) + ".";
  DIR* listing = opendir(folder.c_str());
  if (listing == nullptr) {
    return;
  }
  std::vector<std::string> stale;
  while (const dirent* entry = readdir(listing)) {
    const std::string name = entry->d_name;
    if (name.size() != prefix.size() + 6 || name.compare(0, prefix.size(), prefix) != 0) {
      continue;
    }
    bool pattern = true;
    for (size_t at = prefix.size(); at < name.size(); ++at) {
      pattern = pattern && IsLetterOrDigit(name[at]);
    }
    if (pattern) {
      stale.push_back(JoinPath(folder, name));
    }
  }
  closedir(listing);
  for (const std::string& path : stale) {
    struct stat status;
    if (lstat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode)) {
      unlink(path.c_str());
    }
  }
}

}  // namespace platform

namespace platform::testing {

void SetSyncObserver(std::function<void(const std::string& linuxPath)> observer) {
  SyncObserver() = std::move(observer);
}

}  // namespace platform::testing
