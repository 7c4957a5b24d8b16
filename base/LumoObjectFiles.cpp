#include "base/LumoObjectFiles.h"

#include <memory>
#include <string>

#include "base/DebugFormat.h"
#include "base/LumoFileStream.h"
#include "base/LumoMemoryStream.h"
#include "runtime/Compound.h"
#include "runtime/FileNames.h"
#include "runtime/Files.h"

namespace {

using FileStreamPointer = std::unique_ptr<LumoFileStream, tObjectDestroyer>;

// The new object's record is built in memory first; this is where it starts
// and how it grows.
constexpr uint32_t kRecordStartSize = 4096;
constexpr uint32_t kRecordGrowth = 64u * 1024u;

FileStreamPointer MakeFileStream() {
  return FileStreamPointer(new (std::nothrow) LumoFileStream());
}

// Reads the object from the global archive's entry of that name.
LumoObject* LoadFromCompound(LumoFileStream& stream, const char* name, int32_t kind,
                             LumoObject* owner) {
  CompoundHandle compound = GetCompound();
  char relative[kMaxPathSize] = "";
  uint32_t offset = 0;
  uint32_t size = 0;
  if (compound == nullptr || !RelativeFileName(name, kind, relative) ||
      LookupCompound(compound, relative, offset, size) == nullptr ||
      stream.OpenCompoundEntry(compound) != compound) {
    return nullptr;
  }
  const int32_t position = stream.GetPosition();
  LumoObject* object = LoadObject(&stream, owner);
  stream.SetPosition(position);
  stream.Close();
  return object;
}

LumoObject* LoadFromLooseFile(LumoFileStream& stream, tFolderType folder, const char* name,
                              int32_t kind, LumoObject* owner) {
  char absolute[kMaxPathSize] = "";
  if (!AbsoluteFileName(folder, name, kind, absolute) ||
      !stream.Open(absolute, FileModeRead, OpenModeExisting, ShareModeDenyWrite, 1, 0)) {
    return nullptr;
  }
  LumoObject* object = LoadObject(&stream, owner);
  stream.Close();
  return object;
}

}  // namespace

LumoObject* LoadObjectFromFile(tFolderType folder, const char* name, int32_t kind,
                               LumoObject* owner) {
  if (name == nullptr) {
    return nullptr;
  }
  FileStreamPointer stream = MakeFileStream();
  if (!stream) {
    return nullptr;
  }
  LumoObject* object = LoadFromCompound(*stream, name, kind, owner);
  if (object == nullptr) {
    object = LoadFromLooseFile(*stream, folder, name, kind, owner);
  }
  return object;
}

// ---- Saving ----

namespace {

// The archive takes the record when it is open for changing and no entry is
// being written.
bool CompoundTakesSaves(CompoundHandle compound) {
  char compoundName[kMaxPathSize] = "";
  const uint32_t flags = GetCompoundFlags(compound);
  return compound != nullptr && GetCompoundName(compound, compoundName) &&
         (flags & kCompoundForChanging) != 0 && (flags & kCompoundEntryOpen) == 0;
}

}  // namespace

namespace {

void ReportFileSave(const LumoObject* object, const char* reason, const char* compoundName,
                    const char* fileName) {
  if (compoundName != nullptr) {
    DebugPrint("LumoObject::SaveObject() %s (Object=%p:%s, Compound=%s, File=%s)\n", reason,
               DebugAddress(object), DebugClassName(object), compoundName, DebugText(fileName));
  } else {
    DebugPrint("LumoObject::SaveObject() %s (Object=%p:%s, File=%s)\n", reason, DebugAddress(object),
               DebugClassName(object), DebugText(fileName));
  }
}

bool SaveRecordToCompound(const LumoObject* object, CompoundHandle compound, const char* name, int32_t kind,
                           const uint8_t* bytes, uint32_t size) {
  char compoundName[kMaxPathSize] = "";
  GetCompoundName(compound, compoundName);
  char relative[kMaxPathSize] = "";
  if (!RelativeFileName(name, kind, relative)) {
    ReportFileSave(object, "Cannot get the relative name of packed file", compoundName, name);
    return false;
  }
  uint32_t offset = 0;
  FileHandle file = AppendCompoundReplacing(compound, relative, offset);
  if (file == nullptr) {
    ReportFileSave(object, "Cannot append to the compound file", compoundName, relative);
    return false;
  }
  if (!WriteFileExactly(file, bytes, size) || !FlushFile(file)) {
    // Abandoning the entry keeps the old one of that name.
    UpdateCompound(compound, 0);
    ReportFileSave(object, "Cannot write to the compound file", compoundName, relative);
    return false;
  }
  if (!UpdateCompound(compound, size)) {
    ReportFileSave(object, "Cannot update the compound file", compoundName, relative);
    return false;
  }
  return true;
}

bool SaveRecordToFile(const LumoObject* object, tFolderType folder, const char* name, int32_t kind,
                      const uint8_t* bytes, uint32_t size) {
  char absolute[kMaxPathSize] = "";
  if (!AbsoluteFileName(folder, name, kind, absolute)) {
    ReportFileSave(object, "Cannot get the absolute name of the file", nullptr, name);
    return false;
  }
  const std::string temporaryName = std::string(absolute) + ".tmp";
  FileHandle file = OpenFile(temporaryName.c_str(), FileModeWrite, OpenModeCreate, ShareModeExclusive);
  if (file == nullptr) {
    ReportFileSave(object, "Cannot open the stream", nullptr, absolute);
    return false;
  }
  const bool written = WriteFileExactly(file, bytes, size);
  if (!CloseFile(file) || !written) {
    RemoveFile(temporaryName.c_str());
    ReportFileSave(object, "Cannot close the stream", nullptr, absolute);
    return false;
  }
  if (!ReplaceFileWith(temporaryName.c_str(), absolute)) {
    RemoveFile(temporaryName.c_str());
    ReportFileSave(object, "Cannot replace the file", nullptr, absolute);
    return false;
  }
  return true;
}

}  // namespace

// The record is written whole into memory first: a save that fails there
// touches no file. The archive entry is then replaced in one step (the old
// entry stays until the new one is complete), a loose file through a
// temporary file and a rename.
bool LumoObject::SaveObjectToFile(tFolderType folder, const char* name, int32_t kind,
                                  uint32_t headerVersion) {
  if (name == nullptr) {
    DebugPrint("LumoObject::SaveObject() Null-pointer to the name specified (Object=%p:%s)\n",
               DebugAddress(this), DebugClassName(this));
    return false;
  }
  std::unique_ptr<LumoMemoryStream, tObjectDestroyer> record(new (std::nothrow) LumoMemoryStream());
  if (!record || !record->OpenNew(kRecordStartSize, 1, 0) || record->SetGrowth(kRecordGrowth) == 0) {
    DebugPrint("LumoObject::SaveObject() Out of memory (Object=%p:%s, Name=%s)\n",
               DebugAddress(this), DebugClassName(this), name);
    return false;
  }
  if (!SaveObject(record.get(), headerVersion)) {
    return false;
  }
  const uint8_t* bytes = record->buffer;
  const uint32_t size = record->position;
  CompoundHandle compound = GetCompound();
  if (CompoundTakesSaves(compound)) {
    return SaveRecordToCompound(this, compound, name, kind, bytes, size);
  }
  return SaveRecordToFile(this, folder, name, kind, bytes, size);
}

