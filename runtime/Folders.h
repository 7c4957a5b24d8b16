#pragma once

#include <cstdint>
#include <string>

#include "base/LumoExport.h"

// The folders of the run-time system, folder listings and drives. Folder
// names are game names that end with a backslash.

enum tFolderType : int32_t {
  FolderDefault = -2,  // [Source] Default
  FolderShared = -1,   // [Source] Shared
  FolderRoot = 0,      // root of the default folder's drive
  FolderProgram = 1,   // the current folder at start-up
  FolderCdRom = 2,     // root of the CD drive
  FolderGraphic = 3,
  FolderSound = 4,
  FolderMovie = 5,
  FolderCompound = 6,
};

enum tVolume : int32_t {
  VolumeUnknown = 0,
  VolumeNoRoot = 1,
  VolumeRemovable = 2,
  VolumeFixed = 3,
  VolumeRemote = 4,
  VolumeCdRom = 5,
  VolumeRamDisk = 6,
};

struct tFolderRecord;
using FolderHandle = tFolderRecord*;

LUMOGAME_API bool GetFolderName(tFolderType type, char* buffer);
// Only the default folder and the graphic, sound, movie and compound folders
// can be set; the default folder is also written to the configuration.
LUMOGAME_API bool SetFolderName(tFolderType type, const char* path);
// The name of a file in a folder of the run-time system.
LUMOGAME_API bool AbsoluteFileName(tFolderType type, const char* name, int32_t kind,
                                   char* buffer);
// Lists a folder (optionally a sub-folder of it) with the file mask set by
// SetFileMask ("*" without one), sorted by name; the first name goes to the
// buffer. Null when nothing matches. The mask is reset afterwards.
LUMOGAME_API FolderHandle OpenFolder(tFolderType type, const char* subFolder, char* buffer);
// The next name; false at the end.
LUMOGAME_API bool ReadFolder(FolderHandle folder, char* buffer);
LUMOGAME_API void CloseFolder(FolderHandle folder);
// The kind and the attributes of a listing's current file.
LUMOGAME_API int32_t GetFileInfo(FolderHandle folder);
LUMOGAME_API uint32_t GetFileFlags(FolderHandle folder);
// A registry identifier whose extension masks the next OpenFolder; -1: none.
LUMOGAME_API void SetFileMask(int32_t kind);
// Creates a folder; false when it exists already or cannot be made.
LUMOGAME_API bool CreateFolder(const char* path);

LUMOGAME_API int32_t GetVolumeCount();
// Writes the root of drive 0-25 ("A:\" ...) and answers its kind.
LUMOGAME_API tVolume GetVolumeName(int32_t drive, char* buffer);
LUMOGAME_API tVolume GetDefaultVolumeName(char* buffer);

// Attribute bits of GetFileFlags.
constexpr uint32_t kFileFlagReadOnly = 0x01;
constexpr uint32_t kFileFlagFolder = 0x10;
constexpr uint32_t kFileFlagNormal = 0x80;

// ---- For the run-time system ----

// The kind of the drive of a letter.
tVolume GetDriveVolume(char letter);
// Sets up the folders from the [Source] section of the configuration: the
// program folder (the current folder), the shared and default folders, the CD
// drive (the folder named by [Source] CDFolder stands for drive D:) and the
// graphic, sound, movie and compound folders. False, with the reason in
// failure, when the configuration asks for a CD and none is there.
bool StartFolders(const char* configurationName, std::string& failure);
// The global compound archive named by [Source] Name ("" when none).
const std::string& GetGlobalCompoundName();
void StopFolders();
