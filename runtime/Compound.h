#pragma once

#include <cstdint>

#include "base/LumoExport.h"
#include "runtime/Files.h"

// Compound archives (".lmp"): one file holding many named entries.
//
// Layout, every integer 32-bit little-endian: the signature "PACK", the
// directory offset (also the end of the entry data) and the directory size;
// then the entries' bytes; then the directory, 64 bytes per entry: a name of
// at most 55 characters, NUL-padded to 56 bytes, the data's offset from the
// start of the file and its size.
//
// The file on disk is consistent at every moment: a new entry's bytes go
// behind the stored directory and are committed by the last write of their
// update (a record, or the header); packing moves entries in place, each into
// space nothing stored refers to. A crash loses at most the entry being
// written. Free space inside the file (old directories, deleted and replaced
// entries) is reused by later entries, so the working file stays within a
// small factor of its packed size, and an update costs about as much as its
// entry.

struct tCompoundRecord;
using CompoundHandle = tCompoundRecord*;

constexpr uint32_t kCompoundHeaderSize = 12;
constexpr uint32_t kCompoundEntrySize = 64;
constexpr uint32_t kCompoundNameSize = 56;  // terminator included

// Flags of GetCompoundFlags.
constexpr uint32_t kCompoundForChanging = 1;  // opened or created for changing
constexpr uint32_t kCompoundChanged = 2;      // the stored directory is out of date
constexpr uint32_t kCompoundEntryOpen = 4;    // an append awaits its update

// ---- The current (global) archive, searched first by the loaders ----

LUMOGAME_API CompoundHandle GetCompound();
LUMOGAME_API CompoundHandle SetCompound(CompoundHandle compound);

// ---- Opening and closing ----

// A name of 1 or 2 characters, or without a drive ("X:"), is taken in the
// compound folder; a name without extension gets ".lmp". The header and the
// whole directory are checked: an archive whose directory or entries lie
// outside the file is refused with a log line. Null on any failure.
LUMOGAME_API CompoundHandle OpenCompound(const char* name, bool forChanging);
// A new empty archive for changing. It is written under a temporary name
// beside the final one and renamed into place by CloseCompound, so a save
// that fails half-way never replaces the previous archive.
LUMOGAME_API CompoundHandle CreateCompound(const char* name);
// Packs a changed archive, forgets it as the current one, closes and frees.
LUMOGAME_API bool CloseCompound(CompoundHandle compound);
// Empties an archive open for changing.
LUMOGAME_API bool ClearCompound(CompoundHandle compound);
// Hides the entries named by [Source] Ignore1..IgnoreN of the configuration,
// so that the loaders read those names from loose files.
LUMOGAME_API bool CheckCompound(CompoundHandle compound);
// Drops deleted entries and gaps, writes the directory sorted by name;
// only entries not in place move.
LUMOGAME_API bool PackCompound(CompoundHandle compound);

// ---- Entries ----

// Finds an entry (names compared case-insensitively), positions the file at
// its data and makes it the archive's current entry. Null when missing,
// hidden, or while an append is open.
LUMOGAME_API FileHandle LookupCompound(CompoundHandle compound, const char* name,
                                       uint32_t& offset, uint32_t& size);
// Starts a new entry (1 to 55 characters, not present in any case); the
// caller writes its bytes through the returned file, then calls
// UpdateCompound with the count written.
LUMOGAME_API FileHandle AppendCompound(CompoundHandle compound, const char* name,
                                       uint32_t& offset);
// As AppendCompound, but a present entry of that name is replaced when the
// new one is finished, in the same step that stores the directory: until then
// the old entry stays whole, so a save that fails keeps it.
LUMOGAME_API FileHandle AppendCompoundReplacing(CompoundHandle compound, const char* name,
                                                uint32_t& offset);
// Finishes the entry started by AppendCompound; size 0 abandons it.
LUMOGAME_API bool UpdateCompound(CompoundHandle compound, uint32_t size);
// Copies a loose file into the archive under its file-name part.
LUMOGAME_API bool InsertCompound(CompoundHandle compound, const char* fileName);
// Deletes an entry; its bytes stay in the file until packing.
LUMOGAME_API bool DeleteCompound(CompoundHandle compound, const char* name);
// Writes the entry named by the file-name part of fileName to that file.
LUMOGAME_API bool ExtractCompound(CompoundHandle compound, const char* fileName);

// ---- Information ----

LUMOGAME_API int32_t GetCompoundCount(CompoundHandle compound);
// The index in the sorted directory, -1 when missing.
LUMOGAME_API int32_t GetCompoundIndexOf(CompoundHandle compound, const char* name);
// Copies the entry's name (56 bytes at most) and answers its file kind.
LUMOGAME_API int32_t GetCompoundInfo(CompoundHandle compound, int32_t index, char* buffer);
// The entry's offset with its size, -1 for a bad index.
LUMOGAME_API int32_t GetCompoundPosition(CompoundHandle compound, int32_t index,
                                         uint32_t& size);
// The composed file name (260 bytes at most).
LUMOGAME_API bool GetCompoundName(CompoundHandle compound, char* buffer);
LUMOGAME_API uint32_t GetCompoundFlags(CompoundHandle compound);
LUMOGAME_API FileHandle GetCompoundFile(CompoundHandle compound);
// True for a name whose extension is "lmp" (any case).
LUMOGAME_API bool ValidCompound(const char* name);

// The archive's current entry, for the streams that read and write entries:
// the last looked-up entry (bounded by its size), or the entry an append is
// writing (unbounded). False when there is none.
LUMOGAME_API bool GetCompoundEntry(CompoundHandle compound, uint32_t& offset, uint32_t& size,
                                   bool& bounded);

// Moves a finished temporary file over name, replacing it in one step, so a
// reader finds either the old file or the new one, never half of one.
LUMOGAME_API bool ReplaceFileWith(const char* temporaryName, const char* name);

// ---- For the run-time system ----

// CheckCompound with the given configuration file.
bool CheckCompoundWith(CompoundHandle compound, const char* configurationName);
// Opens the archive named by [Source] Name read-only and makes it the
// current one; false (logged) when a name is given and it does not open.
bool OpenGlobalCompound(const char* configurationName, const char* compoundName);
// Closes the current archive.
void CloseGlobalCompound();
