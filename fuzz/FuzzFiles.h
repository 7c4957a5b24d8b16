#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "runtime/Files.h"

// Files for the fuzz targets whose readers take a file name. Every input is
// written into one private scratch folder of the process, which is removed
// when the process ends normally.

// Writes the bytes into the scratch folder under the file name given and
// answers the game name (drive, colon, backslashes) that reaches that file.
// A failure here is a broken machine, not a finding: it ends the process.
std::string WriteFuzzFile(const char* fileName, const uint8_t* data, size_t size);

// The game name of a file in the scratch folder, written or not.
std::string FuzzFileName(const char* fileName);
// Its Linux path, for the platform layer's readers.
std::string FuzzFilePath(const char* fileName);

// A run-time file handle on a file of the scratch folder, closed at the end
// of the scope; null when the file cannot be opened.
class FuzzFileHandle {
 public:
  // Reading opens an existing file; writing creates (or empties) one.
  FuzzFileHandle(const std::string& name, bool forWriting);
  ~FuzzFileHandle();
  FuzzFileHandle(const FuzzFileHandle&) = delete;
  FuzzFileHandle& operator=(const FuzzFileHandle&) = delete;

  FileHandle Get() const { return handle_; }

 private:
  FileHandle handle_;
};

// A file of the scratch folder opened once through the run-time file layer
// and kept open for the life of the object, for targets that read and write
// a file on every input: opening a file by its game name resolves the name
// and takes several system calls, which for small inputs cost more than the
// reading itself. The handle reads and writes; a second descriptor on the
// same file sets its length, so each run still sees a file of exactly its
// own bytes.
class FuzzReusedFile {
 public:
  explicit FuzzReusedFile(const char* fileName);
  ~FuzzReusedFile();
  FuzzReusedFile(const FuzzReusedFile&) = delete;
  FuzzReusedFile& operator=(const FuzzReusedFile&) = delete;

  // The file holds exactly these bytes; the handle stands at its start.
  FileHandle Holding(const uint8_t* data, size_t size);
  // The file is empty; the handle stands at its start, for a writer.
  FileHandle Emptied();
  // The handle at the start of what the file holds, for a reader.
  FileHandle Rewound();

 private:
  FileHandle handle_;
  int descriptor_;
};
