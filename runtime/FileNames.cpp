#include "runtime/FileNames.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "base/DebugFormat.h"
#include "platform/FileSystem.h"
#include "runtime/FileTypes.h"
#include "runtime/Files.h"
#include "runtime/Folders.h"

namespace {

constexpr size_t kMaxAppendedLength = 258;
constexpr const char kRefusedCharacters[] = "\"*+,/?[]|:;<=>";

bool Output(const std::string& text, char* buffer) {
  if (buffer == nullptr || text.size() >= kMaxPathSize) {
    return false;
  }
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  return true;
}

bool IsLetter(char character) {
  return (character >= 'A' && character <= 'Z') || (character >= 'a' && character <= 'z');
}

char Upper(char character) {
  return (character >= 'a' && character <= 'z') ? static_cast<char>(character - 'a' + 'A')
                                                : character;
}

bool HasDrive(const std::string& name) { return name.size() >= 2 && IsLetter(name[0]) && name[1] == ':'; }

bool IsNetworkName(const std::string& name) { return name.rfind("\\\\", 0) == 0; }

std::string DropTrailing(std::string text, const char* characters) {
  while (!text.empty() && std::strchr(characters, text.back()) != nullptr) {
    text.pop_back();
  }
  return text;
}

std::string TrimBlanks(const std::string& text) {
  const size_t start = text.find_first_not_of(' ');
  return start == std::string::npos ? std::string() : DropTrailing(text.substr(start), " ");
}

// Where the last component of a name starts: after the last backslash, or
// after the drive's colon.
size_t LastComponentStart(const std::string& name) {
  const size_t backslash = name.find_last_of('\\');
  if (backslash != std::string::npos) {
    return backslash + 1;
  }
  return HasDrive(name) ? 2 : 0;
}

// The position of the dot of the last component's extension, or npos.
size_t ExtensionDot(const std::string& name) {
  const size_t dot = name.find_last_of('.');
  return (dot == std::string::npos || dot < LastComponentStart(name)) ? std::string::npos : dot;
}

bool HasWildcards(const char* text) { return std::strpbrk(text, "*?") != nullptr; }

// The character rules of a valid absolute name, from the first backslash on.
bool HasValidCharacters(const std::string& name) {
  for (size_t index = 2; index < name.size(); ++index) {
    const unsigned char character = static_cast<unsigned char>(name[index]);
    const char previous = name[index - 1];
    if (character < 0x20 || character == 0x7F || std::strchr(kRefusedCharacters, character)) {
      return false;
    }
    if (character == '.' && (previous == '.' || previous == '\\')) {
      return false;
    }
    if (character == '\\' && (previous == '\\' || previous == '.')) {
      return false;
    }
  }
  return name.back() != '.' && name.back() != '\\';
}

// Lower-cases a known extension, or adds the kind's extension where the name
// has none. False for an unknown extension or an invalid kind.
bool ApplyExtension(int32_t kind, std::string& name) {
  const size_t dot = ExtensionDot(name);
  if (dot != std::string::npos) {
    if (ExtractFileInfo(name.c_str()) == 0) {
      return false;
    }
    for (size_t index = dot + 1; index < name.size(); ++index) {
      if (name[index] >= 'A' && name[index] <= 'Z') {
        name[index] = static_cast<char>(name[index] - 'A' + 'a');
      }
    }
    return true;
  }
  if (kind == -1) {
    return true;
  }
  const char* extension = GetFileTypeExtension(kind);
  if (extension == nullptr) {
    return false;
  }
  if (!HasWildcards(extension)) {
    name += '.';
    name += extension;
  }
  return true;
}

// Replaces the last component with its spelling on disk.
bool TakeStoredSpelling(std::string& name) {
  const std::optional<std::string> path = platform::MapFileName(name.c_str());
  std::error_code error;
  if (!path || !std::filesystem::exists(*path, error)) {
    return false;
  }
  const std::string stored = std::filesystem::path(*path).filename().string();
  name = name.substr(0, LastComponentStart(name)) + stored;
  return true;
}

std::string FilePart(const std::string& name) { return name.substr(LastComponentStart(name)); }

std::optional<std::string> MappedPath(const char* name) {
  return name == nullptr ? std::nullopt : platform::MapFileName(name);
}

}  // namespace

bool ValidateFileName(int32_t kind, bool mustExist, const char* name, char* buffer) {
  if (name == nullptr || buffer == nullptr) {
    return false;
  }
  std::string text = TrimBlanks(name);
  if (text.size() < 4 || !HasDrive(text) || text[2] != '\\' ||
      GetDriveVolume(text[0]) < VolumeRemovable) {
    return false;
  }
  text[0] = Upper(text[0]);
  if (!HasValidCharacters(text) || !ApplyExtension(kind, text)) {
    return false;
  }
  if (text.size() > platform::kMaxFileNameLength) {
    return false;
  }
  if (mustExist && !TakeStoredSpelling(text)) {
    return false;
  }
  return Output(text, buffer);
}

bool MakeFileName(const char* folder, const char* name, char* buffer) {
  if (folder == nullptr || name == nullptr || buffer == nullptr) {
    return false;
  }
  const std::string folderCopy = DropTrailing(DropTrailing(folder, " "), "\\");
  char validated[kMaxPathSize];
  if (!ValidateFileName(-1, false, folderCopy.c_str(), validated)) {
    return false;
  }
  const std::string nameText = name;
  const std::string nameEnd = DropTrailing(DropTrailing(nameText, " "), "\\");
  const size_t lastBackslash = nameEnd.find_last_of('\\');
  std::string folderToUse = validated;
  if (lastBackslash != std::string::npos && lastBackslash + 1 < kMaxPathSize) {
    folderToUse = nameText.substr(0, lastBackslash + 1);
  }
  char driveLetter = '\0';
  if (HasDrive(nameText)) {
    driveLetter = nameText[0];
  } else if (HasDrive(folderToUse)) {
    driveLetter = folderToUse[0];
  } else {
    return false;
  }
  char filePart[kMaxPathSize];
  if (!GetFileName(name, filePart) || !AppendToPath(folderToUse.c_str(), filePart, buffer)) {
    return false;
  }
  buffer[0] = Upper(driveLetter);
  return true;
}

bool RelativeFileName(const char* name, int32_t kind, char* buffer) {
  if (name == nullptr || buffer == nullptr) {
    return false;
  }
  std::string result = name;
  if (HasDrive(result) || IsNetworkName(result)) {
    result = FilePart(result);
  }
  const char* extension = (kind >= 1) ? GetFileTypeExtension(kind) : nullptr;
  if (extension != nullptr) {
    const size_t dot = ExtensionDot(result);
    if (dot != std::string::npos) {
      result.erase(dot);
    }
    result += '.';
    result += extension;
  }
  return Output(result, buffer);
}

bool GetRootName(const char* name, char* buffer) {
  if (name == nullptr) {
    return false;
  }
  const std::string text = name;
  if (HasDrive(text)) {
    return Output(std::string(1, text[0]) + ":\\", buffer);
  }
  if (IsNetworkName(text)) {
    const size_t server = text.find('\\', 2);
    if (server == std::string::npos) {
      return false;
    }
    const size_t share = text.find('\\', server + 1);
    return Output(share == std::string::npos ? text + "\\" : text.substr(0, share + 1), buffer);
  }
  return false;
}

bool GetPathName(const char* name, char* buffer) {
  if (name == nullptr) {
    return false;
  }
  const std::string text = name;
  const size_t backslash = text.find_last_of('\\');
  if (backslash == std::string::npos) {
    return false;
  }
  return Output(text.substr(0, backslash + 1), buffer);
}

bool GetFileName(const char* name, char* buffer) {
  if (name == nullptr) {
    return false;
  }
  const std::string file = FilePart(name);
  return !file.empty() && Output(file, buffer);
}

bool SplitNames(const char* name, char* folder, char* file) {
  if (name == nullptr || folder == nullptr || file == nullptr ||
      std::strlen(name) >= kMaxPathSize) {
    return false;
  }
  const std::string text = DropTrailing(name, " \\");
  const size_t backslash = text.find_last_of('\\');
  if (backslash == std::string::npos) {
    return false;
  }
  return Output(text.substr(0, backslash + 1), folder) && Output(text.substr(backslash + 1), file);
}

bool ExtractNames(const char* name, char* folder, char* file, int32_t& kind) {
  if (!SplitNames(name, folder, file)) {
    return false;
  }
  kind = ExtractFileInfo(file);
  return true;
}

bool AppendToPath(const char* folder, const char* name, char* buffer) {
  if (folder == nullptr || name == nullptr || buffer == nullptr) {
    return false;
  }
  const std::string folderPart = DropTrailing(folder, "\\");
  std::string namePart = name;
  namePart.erase(0, namePart.find_first_not_of('\\'));
  const std::string joined = folderPart.empty() ? namePart : folderPart + "\\" + namePart;
  if (joined.size() > kMaxAppendedLength) {
    return false;
  }
  return Output(joined, buffer);
}

bool RemoveFile(const char* name) {
  const std::optional<std::string> path = MappedPath(name);
  if (!path || std::remove(path->c_str()) != 0) {
    DebugPrint("RemoveFile() Cannot delete file (Name=%s)\n", name != nullptr ? name : "");
    return false;
  }
  return true;
}

bool RenameFile(const char* oldName, const char* newName) {
  const std::optional<std::string> oldPath = MappedPath(oldName);
  const std::optional<std::string> newPath = MappedPath(newName);
  std::error_code error;
  if (!oldPath || !newPath || !std::filesystem::exists(*oldPath, error)) {
    DebugPrint("RenameFile() Cannot find file (Name=%s)\n", oldName != nullptr ? oldName : "");
    return false;
  }
  std::filesystem::path target = *newPath;
  if (std::filesystem::exists(target, error)) {
    if (!std::filesystem::equivalent(*oldPath, target, error)) {
      DebugPrint("RenameFile() File exists already (Name=%s)\n", newName);
      return false;
    }
    target.replace_filename(FilePart(newName));  // the same file in a new case
  }
  std::filesystem::rename(*oldPath, target, error);
  if (error) {
    DebugPrint("RenameFile() Cannot rename file (Name=%s, NewName=%s)\n", oldName, newName);
    return false;
  }
  return true;
}

bool BackupFileName(const char* name, int32_t kind, char* buffer) {
  if (name == nullptr || buffer == nullptr) {
    return false;
  }
  const std::string text = name;
  const size_t dot = ExtensionDot(text);
  const std::string base = text.substr(0, dot);
  std::string extension = dot == std::string::npos ? "" : text.substr(dot + 1);
  const char* kindExtension = GetFileTypeExtension(kind);
  if (kindExtension != nullptr && !HasWildcards(kindExtension)) {
    extension = kindExtension;
  }
  char candidate[kMaxPathSize + 16];
  for (uint32_t number = 0; number <= 0xFFFE; ++number) {
    std::snprintf(candidate, sizeof candidate, "%s_%04x%s%s", base.c_str(), number,
                  extension.empty() ? "" : ".", extension.c_str());
    if (std::strlen(candidate) >= kMaxPathSize) {
      return false;
    }
    if (!CheckFile(candidate)) {
      return Output(candidate, buffer);
    }
  }
  return false;
}

bool BackupFile(const char* name, int32_t kind) {
  char backupName[kMaxPathSize];
  const std::optional<std::string> source = MappedPath(name);
  if (!source || !BackupFileName(name, kind, backupName)) {
    DebugPrint("BackupFile() Cannot make a backup name (Name=%s)\n", name != nullptr ? name : "");
    return false;
  }
  const std::optional<std::string> target = MappedPath(backupName);
  std::error_code error;
  if (!target ||
      !std::filesystem::copy_file(*source, *target, std::filesystem::copy_options::none, error)) {
    DebugPrint("BackupFile() Cannot copy file (Name=%s, Backup=%s)\n", name, backupName);
    return false;
  }
  return true;
}

bool HasFileExtension(const std::string& name) {
  const size_t lastSeparator = name.find_last_of("\\/:");
  const size_t start = lastSeparator == std::string::npos ? 0 : lastSeparator + 1;
  const size_t dot = name.find_last_of('.');
  return dot != std::string::npos && dot >= start && dot + 1 < name.size();
}

std::string WithDefaultExtension(const std::string& name, const char* extension) {
  return HasFileExtension(name) ? name : name + extension;
}
