#pragma once

#include <cstdint>
#include <string>

#include "base/LumoExport.h"

// Tools for game file names ("C:\folder\name.ext", compared case-insensitively).
// Every name buffer holds kMaxPathSize bytes; a result that would not fit is a
// failure.

constexpr uint32_t kMaxPathSize = 260;

// Checks and normalises an absolute name on an existing drive: the drive
// letter upper-cased, a known extension lower-cased, a missing extension taken
// from the kind (-1: none). With mustExist the file must be there and its
// stored spelling replaces the last component.
LUMOGAME_API bool ValidateFileName(int32_t kind, bool mustExist, const char* name, char* buffer);
// A full name: a name with its own absolute folder keeps it, a bare file name
// goes into the (validated) folder; a name with a relative folder part fails.
LUMOGAME_API bool MakeFileName(const char* folder, const char* name, char* buffer);
// A relative name as it stands, or an absolute name's file part; a kind of 1 to
// 255 then replaces the extension with the kind's.
LUMOGAME_API bool RelativeFileName(const char* name, int32_t kind, char* buffer);
// The drive root ("C:\"), the folder part (up to the last backslash) and the
// file part of a name.
LUMOGAME_API bool GetRootName(const char* name, char* buffer);
LUMOGAME_API bool GetPathName(const char* name, char* buffer);
LUMOGAME_API bool GetFileName(const char* name, char* buffer);
// Trailing blanks and backslashes are dropped; the folder part runs up to and
// including the last backslash, the file part is the rest. False without a
// folder part or for names of 260 characters or more.
LUMOGAME_API bool SplitNames(const char* name, char* folder, char* file);
// SplitNames with the kind of the file part.
LUMOGAME_API bool ExtractNames(const char* name, char* folder, char* file, int32_t& kind);
// Joins a folder and a name with exactly one backslash; false when the result
// would exceed 258 characters.
LUMOGAME_API bool AppendToPath(const char* folder, const char* name, char* buffer);
LUMOGAME_API bool RemoveFile(const char* name);
// Moves a file; refused when another file has the new name (a change of case
// alone renames the file).
LUMOGAME_API bool RenameFile(const char* oldName, const char* newName);
// The first "<name without extension>_<nnnn>.<extension>" (four hex digits,
// 0 to 65534) that does not exist, with the kind's extension when it has a
// plain one and the name's own otherwise.
LUMOGAME_API bool BackupFileName(const char* name, int32_t kind, char* buffer);
// Copies a file to its backup name, never replacing an existing file.
LUMOGAME_API bool BackupFile(const char* name, int32_t kind);

// ---- Inside the run-time system ----

// True when the last component of the name (after the last backslash, slash
// or colon) has an extension of at least one character.
bool HasFileExtension(const std::string& name);
// The name with the extension (".wav", ".lmp", ...) added when it has none.
std::string WithDefaultExtension(const std::string& name, const char* extension);
