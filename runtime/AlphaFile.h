#pragma once

#include <cstdint>
#include <memory>

#include "base/LumoExport.h"
#include "runtime/Alpha.h"
#include "runtime/Files.h"

// Alpha files (".lma"), every integer big-endian:
//   0  "AILM"
//   4  version (major in the top byte); written as 1.3.0.0, read from 1.3.0.0
//      up to the run-time library's own version
//   8  header size = offset of the alpha bytes, at least 24; written as 24
//   12 data size = width * height
//   16 width, 20 height
// then, at the header size, the alpha bytes, rows from the top.
//
// Names: a name whose second character is ":" is a full path; others lie in
// the graphics folder; ".lma" is added to a name without extension.

// Reads the global compound archive's entry of the name (its file part,
// ".lma" added) or else the file. Null, logged, on failure.
LUMOGAME_API AlphaHandle LoadAlpha(const char* name);
// Writes the map through a temporary file renamed over the old one, so a
// failed save keeps the old file; a map without data is refused before any
// file is made.
LUMOGAME_API bool SaveAlpha(AlphaHandle alpha, const char* name);

// ---- Inside the run-time system ----

// The run-time library's own version as a word, major in the top byte: the
// newest alpha file version read.
uint32_t AlphaLibraryVersion();
// Reads an alpha file that starts at byte start of the file and has
// available bytes from there; the file stands at start. Every size is
// checked against available before memory is taken. Null, logged with the
// name, on failure.
std::unique_ptr<tAlphaRecord> ReadAlphaRecord(FileHandle file, const char* name, int64_t start, int64_t available);
