#pragma once

#include <cstdint>

#include "base/LumoStream.h"
#include "runtime/Compound.h"
#include "runtime/Files.h"

// A stream over a plain file of the run-time system, or over one entry of a
// compound archive. The stream's node name is the file's name.
//
// Positions of an entry stream are positions in the archive file, as the
// archive's lookups and appends give them. A stream on an existing entry
// (opened after a lookup) reads, writes and seeks only inside that entry, so
// a damaged length never reaches a neighbouring entry or the directory; a
// stream on an entry being appended has no end yet and stays unbounded.
class LumoFileStream : public LumoStream {
 public:
  LumoFileStream();
  // Closes a plain file; an entry stream leaves the archive's file open.
  ~LumoFileStream() override;

  const char* GetClassName() const override;
  // An entry stream forgets the archive's file, a plain one closes its file,
  // then the list's own freeing runs.
  void DoFree() override;
  // Keeps the file system's error code for the error report.
  void CatchError() override;
  // Adds ", Error=%X" with that code.
  void DumpErrorDetails() override;

  bool DoOpen() override;
  bool DoClose() override;
  bool DoRead(void* target, uint32_t count, uint32_t& read) override;
  bool DoWrite(const void* source, uint32_t count, uint32_t& written) override;
  int32_t DoSeek(int32_t offset, int32_t origin) override;
  bool DoFlush() override;

  // The setters take effect only while the stream is closed; each answers the
  // value in force.
  virtual FileHandle SetFileHandle(FileHandle handle);
  // For an entry stream, the archive's file, refreshed; else the own file.
  virtual FileHandle ResolveFileHandle();
  virtual tFileMode SetFileMode(tFileMode mode);
  virtual tOpenMode SetOpenMode(tOpenMode mode);
  virtual tShareMode SetShareMode(tShareMode mode);
  // Closes, then opens on the archive's current entry (the last lookup, or
  // the append under way). On failure the stream keeps neither file nor
  // archive. Answers the archive in force.
  virtual CompoundHandle OpenCompoundEntry(CompoundHandle archive);

  FileHandle GetFileHandle() { return ResolveFileHandle(); }

  using LumoStream::Open;
  // Closes, sets the name and the modes, then opens.
  bool Open(const char* name, tFileMode newFileMode, tOpenMode newOpenMode,
            tShareMode newShareMode, int32_t newRecordSize, uint32_t newRecordOffset);
  // Read and write, open or create, exclusive: what savers use.
  bool OpenDefault(const char* name, int32_t newRecordSize, uint32_t newRecordOffset);

  FileHandle file = nullptr;
  CompoundHandle compound = nullptr;
  tFileMode fileMode = FileModeRead;
  tOpenMode openMode = OpenModeExisting;
  tShareMode shareMode = ShareModeDenyWrite;
  uint32_t fileError = 0;

 private:
  // The bytes allowed from the current position: all of count for an
  // unbounded stream, up to the entry's end for a bounded one.
  uint32_t BoundedCount(uint32_t count);
  void ForgetCompound();

  bool bounded = false;
  uint32_t entryStart = 0;
  uint32_t entryEnd = 0;
};
