#include "runtime/FileTypes.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <string>

#include "base/TextUtils.h"
#include "runtime/Config.h"
#include "runtime/FileNames.h"
#include "runtime/Files.h"

namespace {

struct FileType {
  std::string extension;  // without dot; "*" for types without their own
  std::string defaultName;
  std::string iconName;
  std::string description;
  void* icon = nullptr;
  bool used = false;
};

struct BuiltInType {
  const char* extension;
  const char* defaultName;
  const char* iconName;
  const char* description;
};

constexpr BuiltInType kBuiltInTypes[kLastStandardFileInfo + 1] = {
    {"*", "File", "_UnknownFile", "Unknown files"},
    {"lmp", "Compound", "_CompoundFile", "Compound files"},
    {"???", "File", "_ExecutableFile", "Executable files"},
    {"*", "Document", "_DocumentFile", "Document files"},
    {"txt", "Text", "_TextFile", "Text files"},
    {"lmd", "Data", "_DataFile", "Data files"},
    {"bmp", "Graphic", "_GraphicFile", "Graphic files"},
    {"wav", "Sound", "_SoundFile", "Sound files"},
    {"avi", "Movie", "_MovieFile", "Movie files"},
    {"lmq", "Sequence", "_SequenceFile", "Sequence files"},
    {"lms", "Sprite", "_SpriteFile", "Sprite files"},
    {"lmc", "Cell", "_CellFile", "Cell files"},
    {"lml", "Level", "_LevelFile", "Level files"},
    {"lme", "Engine", "_EngineFile", "Engine files"},
    {"lmk", "Control", "_ControlFile", "Control files"},
    {"lma", "Alpha", "_AlphaFile", "Alpha files"},
    {"lmg", "GraphicInfo", "_GraphicInfoFile", "Graphic info files"},
    {"lmw", "SoundInfo", "_SoundInfoFile", "Sound info files"},
    {"lmv", "MovieInfo", "_MovieInfoFile", "Movie info files"},
};
constexpr int32_t kMovieType = 8;
constexpr int32_t kExecutableType = 2;
constexpr const char* kMovieExtensions[] = {"qt", "mov", "mpg", "mpeg", "m1v", "lmm"};
constexpr const char* kExecutableExtensions[] = {"exe", "com", "lnk", "pif", "bat"};
constexpr uint32_t kTextSize = 260;

std::array<FileType, kFileInfoCount> MakeBuiltInRegistry() {
  std::array<FileType, kFileInfoCount> registry;
  for (int32_t kind = 0; kind <= kLastStandardFileInfo; ++kind) {
    const BuiltInType& builtIn = kBuiltInTypes[kind];
    registry[kind] = {builtIn.extension, builtIn.defaultName, builtIn.iconName,
                      builtIn.description, nullptr, true};
  }
  return registry;
}

std::array<FileType, kFileInfoCount> registry = MakeBuiltInRegistry();
int32_t customCount = 0;

const FileType* Entry(int32_t kind) {
  if (kind < 0 || kind >= kFileInfoCount || !registry[kind].used) {
    return nullptr;
  }
  return &registry[kind];
}

bool CopyText(const std::string& text, char* buffer) {
  if (buffer == nullptr) {
    return false;
  }
  std::snprintf(buffer, kTextSize, "%s", text.c_str());
  return true;
}

std::string Lowered(const char* text) {
  std::string result = text;
  for (char& character : result) {
    if (character >= 'A' && character <= 'Z') {
      character = static_cast<char>(character - 'A' + 'a');
    }
  }
  return result;
}

// The extension of a name's last component, or null when it has none.
const char* ExtensionOf(const char* name) {
  const char* lastComponent = name;
  for (const char* cursor = name; *cursor != '\0'; ++cursor) {
    if (*cursor == '\\' || *cursor == '/' || *cursor == ':') {
      lastComponent = cursor + 1;
    }
  }
  const char* dot = std::strrchr(lastComponent, '.');
  return dot == nullptr ? nullptr : dot + 1;
}

bool ReadText(ConfigurationHandle configuration, const char* section, const char* key,
              std::string& text) {
  char buffer[kTextSize] = "";
  if (!ReadConfigurationStr(configuration, section, key, buffer, sizeof buffer)) {
    return false;
  }
  text = buffer;
  return true;
}

void ReadMovieExtension(ConfigurationHandle configuration) {
  std::string movie;
  if (!ReadText(configuration, "Extensions", "Movie", movie)) {
    return;
  }
  for (const char* allowed : kMovieExtensions) {
    if (CompareNoCase(movie.c_str(), allowed) == 0) {
      registry[kMovieType].extension = allowed;
    }
  }
}

// Custom types are read from 255 downward until a number lacks its extension,
// icon or description.
void ReadCustomTypes(ConfigurationHandle configuration) {
  for (int32_t kind = kFileInfoCount - 1; kind > kLastStandardFileInfo; --kind) {
    const std::string key = std::to_string(kind);
    FileType type;
    if (!ReadText(configuration, "Extensions", key.c_str(), type.extension) ||
        !ReadText(configuration, "Icons", key.c_str(), type.iconName) ||
        !ReadText(configuration, "Descriptions", key.c_str(), type.description)) {
      return;
    }
    type.defaultName = ReadText(configuration, "Names", key.c_str(), type.defaultName)
                           ? Lowered(type.defaultName.c_str())
                           : "File";
    type.extension = Lowered(type.extension.c_str());
    type.iconName = Lowered(type.iconName.c_str());
    type.used = true;
    registry[kind] = type;
    ++customCount;
  }
}

}  // namespace

int32_t GetMaximumFileInfoCount() { return kFileInfoCount; }
int32_t GetFirstStandardFileInfo() { return 0; }
int32_t GetLastStandardFileInfo() { return kLastStandardFileInfo; }
int32_t GetCustomFileInfoCount() { return customCount; }
int32_t GetFirstCustomFileInfo() { return customCount == 0 ? 0 : kFileInfoCount - customCount; }
int32_t GetLastCustomFileInfo() { return customCount == 0 ? 0 : kFileInfoCount - 1; }

bool GetFileDescription(int32_t kind, char* buffer) {
  const FileType* type = Entry(kind);
  return type != nullptr && CopyText(type->description, buffer);
}

bool GetIconName(int32_t kind, char* buffer) {
  const FileType* type = Entry(kind);
  return type != nullptr && CopyText(type->iconName, buffer);
}

void* GetIconData(int32_t kind) {
  const FileType* type = Entry(kind);
  return type == nullptr ? nullptr : type->icon;
}

bool SetIconData(int32_t kind, void* graphic) {
  if (Entry(kind) == nullptr) {
    return false;
  }
  registry[kind].icon = graphic;
  return true;
}

bool GetDefaultName(int32_t kind, const char* folder, char* buffer) {
  const FileType* type = Entry(kind);
  if (type == nullptr || folder == nullptr || buffer == nullptr) {
    return false;
  }
  char candidate[kTextSize];
  char path[kTextSize];
  for (uint32_t number = 1; number <= 0xFFFF; ++number) {
    std::snprintf(candidate, sizeof candidate, "%s%u.%s", type->defaultName.c_str(), number,
                  type->extension.c_str());
    if (!AppendToPath(folder, candidate, path)) {
      return false;
    }
    if (!CheckFile(path)) {
      return CopyText(candidate, buffer);
    }
  }
  return false;
}

int32_t ExtractFileInfo(const char* name) {
  const char* extension = name == nullptr ? nullptr : ExtensionOf(name);
  if (extension == nullptr) {
    return 0;
  }
  for (int32_t kind = 0; kind <= kLastStandardFileInfo; ++kind) {
    if (CompareNoCase(extension, registry[kind].extension.c_str()) == 0) {
      return kind;
    }
  }
  for (int32_t kind = kFileInfoCount - 1; kind > kLastStandardFileInfo; --kind) {
    if (registry[kind].used && CompareNoCase(extension, registry[kind].extension.c_str()) == 0) {
      return kind;
    }
  }
  for (const char* executable : kExecutableExtensions) {
    if (CompareNoCase(extension, executable) == 0) {
      return kExecutableType;
    }
  }
  return 0;
}

const char* GetFileTypeExtension(int32_t kind) {
  const FileType* type = Entry(kind);
  return type == nullptr ? nullptr : type->extension.c_str();
}

void StartFileTypes(const char* configurationName) {
  StopFileTypes();
  ConfigurationHandle configuration = OpenConfiguration(configurationName, false);
  if (configuration == nullptr) {
    return;
  }
  ReadMovieExtension(configuration);
  ReadCustomTypes(configuration);
  CloseConfiguration(configuration);
}

void StopFileTypes() {
  registry = MakeBuiltInRegistry();
  customCount = 0;
}
