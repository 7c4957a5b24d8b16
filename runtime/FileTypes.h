#pragma once

#include <cstdint>

#include "base/LumoExport.h"

// The file-type registry: for each type identifier (0 to 255) an extension, a
// default name for new files, an icon name and a description. Identifiers 0
// to 18 are built in; custom types from the configuration take 255 downward.
// Every operation refuses identifiers outside 0 to 255.

constexpr int32_t kFileInfoCount = 256;
constexpr int32_t kLastStandardFileInfo = 18;

LUMOGAME_API int32_t GetMaximumFileInfoCount();
LUMOGAME_API int32_t GetFirstStandardFileInfo();
LUMOGAME_API int32_t GetLastStandardFileInfo();
LUMOGAME_API int32_t GetCustomFileInfoCount();
// The lowest and the highest custom identifier; 0 without custom types.
LUMOGAME_API int32_t GetFirstCustomFileInfo();
LUMOGAME_API int32_t GetLastCustomFileInfo();
// Texts are copied into buffers of 260 bytes (longer texts are cut).
LUMOGAME_API bool GetFileDescription(int32_t kind, char* buffer);
LUMOGAME_API bool GetIconName(int32_t kind, char* buffer);
// The icon graphic the game attached to a type (the registry does not own it).
LUMOGAME_API void* GetIconData(int32_t kind);
LUMOGAME_API bool SetIconData(int32_t kind, void* graphic);
// The first name "<default name><n>.<extension>", n counting from 1, that does
// not exist in the folder; the file name alone goes to the buffer.
LUMOGAME_API bool GetDefaultName(int32_t kind, const char* folder, char* buffer);
// The kind of a file name by its extension: the registry's entries first, then
// "exe", "com", "lnk", "pif" and "bat" as 2; 0 for anything else.
LUMOGAME_API int32_t ExtractFileInfo(const char* name);

// ---- For the run-time system ----

// The extension of a type (without dot), or null for a free identifier.
const char* GetFileTypeExtension(int32_t kind);
// Refills the registry: the built-in types, the movie extension from
// [Extensions] Movie, then custom types 255, 254, ... from the sections
// Extensions, Names, Icons and Descriptions of the configuration.
void StartFileTypes(const char* configurationName);
// Forgets the custom types and the icon graphics.
void StopFileTypes();
