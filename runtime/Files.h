#pragma once

#include <cstdint>

#include "base/LumoExport.h"

// Plain buffered files: the debug log, compound archives, object streams and
// the loaders all read and write through these handles. Names are game names
// (see platform/FileSystem.h).

enum tFileMode : int32_t {
  FileModeRead = 0,
  FileModeWrite = 1,
  FileModeReadWrite = 2,
};

enum tOpenMode : int32_t {
  OpenModeExisting = 0,  // the file must exist
  OpenModeCreate = 1,    // created, or emptied when it exists
  OpenModeAlways = 2,    // opened when it exists, else created
};

// Share modes are advisory: they are kept between the game's own handles
// (an exclusive handle excludes every other one that asks for a share mode),
// and other programs are not stopped.
enum tShareMode : int32_t {
  ShareModeExclusive = 0,
  ShareModeDenyWrite = 1,
  ShareModeDenyRead = 2,
  ShareModeDenyNone = 3,
};

enum tSeekMode : int32_t {
  SeekModeStart = 0,
  SeekModeCurrent = 1,
  SeekModeEnd = 2,
};

struct tFileRecord;
using FileHandle = tFileRecord*;

// Opens a file with its own buffer; null when it cannot be opened (logged).
// The handle belongs to the caller until CloseFile.
LUMOGAME_API FileHandle OpenFile(const char* name, tFileMode fileMode, tOpenMode openMode,
                                 tShareMode shareMode);
// Gives the file a buffer of size bytes, so that only a full buffer or
// FlushFile writes to the disk; only before the first read or write.
LUMOGAME_API bool SetFileBuffer(FileHandle file, uint32_t size);
// Writes out the buffer and closes; false for null or a failure (the handle is
// freed either way).
LUMOGAME_API bool CloseFile(FileHandle file);
// True when at least one byte was read; countRead holds the bytes read (0 at
// the end of the file). Callers that need the whole count compare it.
LUMOGAME_API bool ReadFile(FileHandle file, void* buffer, uint32_t count, uint32_t& countRead);
// True when at least one byte was written; countWritten holds the bytes written.
LUMOGAME_API bool WriteFile(FileHandle file, const void* data, uint32_t count,
                            uint32_t& countWritten);
// Move exactly count bytes, going on after partial transfers; false when the
// file ends or fails first.
LUMOGAME_API bool ReadFileExactly(FileHandle file, void* buffer, uint32_t count);
LUMOGAME_API bool WriteFileExactly(FileHandle file, const void* data, uint32_t count);
// The new position from the start, or -1 for null, a failure or a position
// beyond 2^31 - 1.
LUMOGAME_API int32_t SeekFile(FileHandle file, int32_t offset, tSeekMode seekMode);
LUMOGAME_API bool FlushFile(FileHandle file);
// Writes out the buffer and asks the system to put the file's bytes on the
// disk, so a power cut cannot lose them (FlushFile only survives a crash of
// the program).
bool SyncFile(FileHandle file);
// Writes out the buffer and cuts the file to length bytes (or extends it
// with zeros); the position is unchanged.
bool TruncateFile(FileHandle file, uint32_t length);
// True when a file or folder of that name exists.
LUMOGAME_API bool CheckFile(const char* name);
// The system's code (errno) of the last failed file operation.
LUMOGAME_API uint32_t GetFileError();
// Copies count bytes; the areas may overlap.
LUMOGAME_API void RawCopy(void* destination, const void* source, uint32_t count);
