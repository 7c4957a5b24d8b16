#include "runtime/Compound.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "base/DebugFormat.h"
#include "base/TextUtils.h"
#include "platform/FileSystem.h"
#include "runtime/Config.h"
#include "runtime/FileNames.h"
#include "runtime/FileTypes.h"
#include "runtime/Folders.h"
#include "runtime/RTSState.h"

namespace {

constexpr char kSignature[4] = {'P', 'A', 'C', 'K'};
// Entry bytes are moved in pieces of this size, so packing and extracting
// never size a buffer from a stored size.
constexpr uint32_t kCopyChunk = 64u * 1024u;
// The file services address at most 2^31 - 1 bytes.
constexpr uint64_t kMaxArchiveSize = 0x7FFFFFFFu;
// More Ignore entries than this are not read: a damaged count must not keep
// the start-up busy for hours.
constexpr int32_t kMaxIgnoreEntries = 1024;

struct tCompoundEntry {
  char name[kCompoundNameSize] = {};  // empty: a deleted entry
  uint32_t offset = 0;
  uint32_t size = 0;
  bool hidden = false;  // named by [Source] Ignore: read from the loose file
};

}  // namespace

struct tCompoundRecord {
  FileHandle file = nullptr;
  std::string name;      // the composed name
  std::string diskName;  // the file open now: a created archive's temporary file
  uint32_t dataEnd = kCompoundHeaderSize;  // the stored directory offset
  uint32_t directorySize = 0;              // the stored directory size
  std::vector<tCompoundEntry> directory;   // sorted by name, deleted slots first
  uint32_t flags = 0;
  // The entry an append is writing, and whether it replaces one of its name.
  tCompoundEntry pending;
  bool pendingReplaces = false;
  // The current entry, for the entry streams.
  bool hasEntry = false;
  bool entryBounded = false;
  uint32_t entryOffset = 0;
  uint32_t entrySize = 0;
};

namespace {

CompoundHandle currentCompound = nullptr;

// ---- Bytes ----

void PutLittleEndian(uint8_t* target, uint32_t value) {
  for (int index = 0; index < 4; ++index) {
    target[index] = static_cast<uint8_t>(value >> (8 * index));
  }
}

uint32_t GetLittleEndian(const uint8_t* source) {
  return static_cast<uint32_t>(source[0]) | static_cast<uint32_t>(source[1]) << 8 |
         static_cast<uint32_t>(source[2]) << 16 | static_cast<uint32_t>(source[3]) << 24;
}

bool SeekTo(FileHandle file, uint32_t position) {
  return position <= kMaxArchiveSize &&
         SeekFile(file, static_cast<int32_t>(position), SeekModeStart) ==
             static_cast<int32_t>(position);
}

// Copies count bytes from one file position to another file's current position.
bool CopyBytes(FileHandle source, uint32_t offset, FileHandle target, uint32_t count) {
  if (!SeekTo(source, offset)) {
    return false;
  }
  std::vector<uint8_t> chunk(std::min(count, kCopyChunk));
  while (count > 0) {
    const uint32_t piece = std::min(count, kCopyChunk);
    if (!ReadFileExactly(source, chunk.data(), piece) || !WriteFileExactly(target, chunk.data(), piece)) {
      return false;
    }
    count -= piece;
  }
  return true;
}

// ---- Names ----

bool LessByName(const tCompoundEntry& a, const tCompoundEntry& b) {
  return CompareNoCase(a.name, b.name) < 0;
}

void SortByName(std::vector<tCompoundEntry>& directory) {
  std::stable_sort(directory.begin(), directory.end(), LessByName);
}

// The slot of a live entry of that name, or null.
tCompoundEntry* FindEntry(CompoundHandle compound, const char* name) {
  if (name == nullptr || name[0] == '\0') {
    return nullptr;
  }
  const size_t length = std::strlen(name);
  if (length >= kCompoundNameSize) {
    return nullptr;
  }
  tCompoundEntry probe;
  std::memcpy(probe.name, name, length);
  auto& directory = compound->directory;
  auto found = std::lower_bound(directory.begin(), directory.end(), probe, LessByName);
  if (found == directory.end() || CompareNoCase(found->name, name) != 0) {
    return nullptr;
  }
  return &*found;
}

// A short name or one without a drive lies in the compound folder; a name
// without extension gets ".lmp".
bool ComposeName(const char* name, std::string& composed) {
  const size_t length = std::strlen(name);
  if (length == 0) {
    return false;
  }
  composed = name;
  if (length <= 2 || name[1] != ':') {
    char buffer[kMaxPathSize] = "";
    if (!AbsoluteFileName(FolderCompound, name, -1, buffer)) {
      return false;
    }
    composed = buffer;
  }
  composed = WithDefaultExtension(composed, ".lmp");
  return composed.size() < kMaxPathSize;
}

// ---- The stored form ----

void EncodeHeader(uint8_t* bytes, uint32_t dataEnd, uint32_t directorySize) {
  std::memcpy(bytes, kSignature, 4);
  PutLittleEndian(bytes + 4, dataEnd);
  PutLittleEndian(bytes + 8, directorySize);
}

bool WriteHeader(FileHandle file, uint32_t dataEnd, uint32_t directorySize) {
  uint8_t header[kCompoundHeaderSize];
  EncodeHeader(header, dataEnd, directorySize);
  return SeekTo(file, 0) && WriteFileExactly(file, header, sizeof header);
}

// Writes the live entries at the file's position; answers the size written.
bool WriteDirectory(FileHandle file, const std::vector<tCompoundEntry>& directory,
                    uint32_t& written) {
  written = 0;
  for (const tCompoundEntry& entry : directory) {
    if (entry.name[0] == '\0') {
      continue;
    }
    uint8_t bytes[kCompoundEntrySize] = {};
    std::memcpy(bytes, entry.name, kCompoundNameSize);
    PutLittleEndian(bytes + kCompoundNameSize, entry.offset);
    PutLittleEndian(bytes + kCompoundNameSize + 4, entry.size);
    if (!WriteFileExactly(file, bytes, sizeof bytes)) {
      return false;
    }
    written += kCompoundEntrySize;
  }
  return true;
}

// Stores the in-memory directory behind the data end, then the header that
// points at it. Until the header is written the previous directory stays in
// force, so a crash in between loses nothing.
bool StoreDirectory(CompoundHandle compound) {
  uint32_t written = 0;
  if (!SeekTo(compound->file, compound->dataEnd) ||
      !WriteDirectory(compound->file, compound->directory, written) ||
      !FlushFile(compound->file) || !WriteHeader(compound->file, compound->dataEnd, written) ||
      !FlushFile(compound->file)) {
    return false;
  }
  compound->directorySize = written;
  return true;
}

int64_t FileLength(FileHandle file) {
  const int32_t end = SeekFile(file, 0, SeekModeEnd);
  return end < 0 ? -1 : end;
}

bool RefuseArchive(const char* reason, const std::string& name) {
  DebugPrint("OpenCompound() %s (Name=%s)\n", reason, name.c_str());
  return false;
}

// Reads and checks the header and the whole directory.
bool ReadDirectory(CompoundHandle compound) {
  const std::string& name = compound->name;
  const int64_t length = FileLength(compound->file);
  uint8_t header[kCompoundHeaderSize];
  if (length < static_cast<int64_t>(kCompoundHeaderSize) || !SeekTo(compound->file, 0) ||
      !ReadFileExactly(compound->file, header, sizeof header)) {
    return RefuseArchive("Short PACK header", name);
  }
  if (std::memcmp(header, kSignature, 4) != 0) {
    return RefuseArchive("Not a PACK file", name);
  }
  const uint32_t dataEnd = GetLittleEndian(header + 4);
  const uint32_t directorySize = GetLittleEndian(header + 8);
  if (dataEnd < kCompoundHeaderSize ||
      static_cast<int64_t>(dataEnd) + directorySize > length) {
    return RefuseArchive("PACK directory lies past the end of the file", name);
  }
  if (directorySize % kCompoundEntrySize != 0) {
    return RefuseArchive("PACK directory size is not a multiple of 64", name);
  }
  const uint32_t count = directorySize / kCompoundEntrySize;
  std::vector<uint8_t> stored(directorySize);
  if (!SeekTo(compound->file, dataEnd) ||
      !ReadFileExactly(compound->file, stored.data(), directorySize)) {
    return RefuseArchive("Cannot read the PACK directory", name);
  }
  compound->directory.assign(count, tCompoundEntry{});
  for (uint32_t index = 0; index < count; ++index) {
    const uint8_t* bytes = stored.data() + static_cast<size_t>(index) * kCompoundEntrySize;
    tCompoundEntry& entry = compound->directory[index];
    // A name without a terminator is cut at 55 characters.
    std::memcpy(entry.name, bytes, kCompoundNameSize - 1);
    entry.offset = GetLittleEndian(bytes + kCompoundNameSize);
    entry.size = GetLittleEndian(bytes + kCompoundNameSize + 4);
    if (entry.offset < kCompoundHeaderSize ||
        static_cast<uint64_t>(entry.offset) + entry.size > dataEnd) {
      DebugPrint("OpenCompound() PACK entry lies outside the data (Name=%s, Entry=%s)\n",
                 name.c_str(), entry.name);
      return false;
    }
  }
  SortByName(compound->directory);
  compound->dataEnd = dataEnd;
  compound->directorySize = directorySize;
  return true;
}

void ForgetEntry(CompoundHandle compound) {
  compound->hasEntry = false;
  compound->entryBounded = false;
  compound->entryOffset = 0;
  compound->entrySize = 0;
}

void RemoveQuietly(const std::string& name) {
  if (const auto path = platform::MapFileName(name.c_str())) {
    std::remove(path->c_str());
  }
}

FileHandle OpenForChanging(const std::string& name, tOpenMode openMode) {
  return OpenFile(name.c_str(), FileModeReadWrite, openMode, ShareModeExclusive);
}

// Writes the live entries, in the order of their offsets and without gaps,
// then the directory sorted by name, into a new file; answers the new
// in-memory directory through packed.
bool WritePackedCopy(CompoundHandle compound, FileHandle target,
                     std::vector<tCompoundEntry>& packed, uint32_t& dataEnd) {
  packed.clear();
  for (const tCompoundEntry& entry : compound->directory) {
    if (entry.name[0] != '\0') {
      packed.push_back(entry);
    }
  }
  std::stable_sort(packed.begin(), packed.end(),
                   [](const tCompoundEntry& a, const tCompoundEntry& b) { return a.offset < b.offset; });
  uint64_t position = kCompoundHeaderSize;
  if (!WriteHeader(target, kCompoundHeaderSize, 0) || !SeekTo(target, kCompoundHeaderSize)) {
    return false;
  }
  for (tCompoundEntry& entry : packed) {
    if (position + entry.size > kMaxArchiveSize ||
        !CopyBytes(compound->file, entry.offset, target, entry.size)) {
      return false;
    }
    entry.offset = static_cast<uint32_t>(position);
    position += entry.size;
  }
  dataEnd = static_cast<uint32_t>(position);
  SortByName(packed);
  uint32_t written = 0;
  return WriteDirectory(target, packed, written) && WriteHeader(target, dataEnd, written) &&
         FlushFile(target);
}

}  // namespace

// ---- The current archive ----

CompoundHandle GetCompound() { return currentCompound; }

CompoundHandle SetCompound(CompoundHandle compound) {
  currentCompound = compound;
  return compound;
}

// ---- Opening and closing ----

CompoundHandle OpenCompound(const char* name, bool forChanging) {
  auto compound = std::make_unique<tCompoundRecord>();
  if (name == nullptr || !ComposeName(name, compound->name)) {
    return nullptr;
  }
  compound->diskName = compound->name;
  compound->file = forChanging ? OpenForChanging(compound->name, OpenModeExisting)
                               : OpenFile(compound->name.c_str(), FileModeRead, OpenModeExisting,
                                          ShareModeDenyWrite);
  if (compound->file == nullptr) {
    return nullptr;
  }
  if (!ReadDirectory(compound.get())) {
    CloseFile(compound->file);
    return nullptr;
  }
  compound->flags = forChanging ? kCompoundForChanging : 0;
  return compound.release();
}

CompoundHandle CreateCompound(const char* name) {
  auto compound = std::make_unique<tCompoundRecord>();
  if (name == nullptr || !ComposeName(name, compound->name)) {
    return nullptr;
  }
  compound->diskName = compound->name + ".new";
  compound->file = OpenForChanging(compound->diskName, OpenModeCreate);
  if (compound->file == nullptr) {
    return nullptr;
  }
  if (!WriteHeader(compound->file, kCompoundHeaderSize, 0)) {
    CloseFile(compound->file);
    RemoveQuietly(compound->diskName);
    return nullptr;
  }
  compound->flags = kCompoundForChanging;
  return compound.release();
}

bool CloseCompound(CompoundHandle compound) {
  if (compound == nullptr) {
    return false;
  }
  std::unique_ptr<tCompoundRecord> owned(compound);
  bool result = true;
  if ((compound->flags & (kCompoundChanged | kCompoundEntryOpen)) != 0) {
    result = PackCompound(compound);
  }
  if (currentCompound == compound) {
    currentCompound = nullptr;
  }
  if (compound->file != nullptr && !CloseFile(compound->file)) {
    result = false;
  }
  compound->file = nullptr;
  if (compound->diskName != compound->name) {
    // A created archive replaces the previous one only when it is complete.
    if (!result) {
      RemoveQuietly(compound->diskName);
      return false;
    }
    return ReplaceFileWith(compound->diskName.c_str(), compound->name.c_str());
  }
  return result;
}

bool ClearCompound(CompoundHandle compound) {
  if (compound == nullptr || (compound->flags & kCompoundForChanging) == 0) {
    return false;
  }
  compound->directory.clear();
  compound->dataEnd = kCompoundHeaderSize;
  compound->directorySize = 0;
  compound->flags &= ~(kCompoundChanged | kCompoundEntryOpen);
  ForgetEntry(compound);
  if (compound->file != nullptr) {
    CloseFile(compound->file);
  }
  compound->file = OpenForChanging(compound->diskName, OpenModeCreate);
  return compound->file != nullptr && WriteHeader(compound->file, kCompoundHeaderSize, 0) &&
         FlushFile(compound->file);
}

bool CheckCompound(CompoundHandle compound) {
  const tStartRecord* start = RTS().startRecord;
  return CheckCompoundWith(compound, start != nullptr ? start->configurationName : nullptr);
}

bool CheckCompoundWith(CompoundHandle compound, const char* configurationName) {
  DebugPrint("PACK file will be checked... (File=%X)\n",
             compound != nullptr ? static_cast<unsigned>(reinterpret_cast<uintptr_t>(compound->file)) : 0u);
  if (compound == nullptr || (compound->flags & (kCompoundChanged | kCompoundEntryOpen)) != 0) {
    DebugPrint("Cannot check PACK file\n");
    return false;
  }
  if (!compound->directory.empty() && configurationName != nullptr) {
    ConfigurationHandle configuration = OpenConfiguration(configurationName, false);
    int32_t count = 0;
    ReadConfigurationInt(configuration, "Source", "Ignore", count);
    count = std::min(count, kMaxIgnoreEntries);
    for (int32_t index = 1; index <= count; ++index) {
      const std::string key = "Ignore" + std::to_string(index);
      char name[kMaxPathSize] = "";
      ReadConfigurationStr(configuration, "Source", key.c_str(), name, sizeof name);
      if (tCompoundEntry* entry = FindEntry(compound, name)) {
        entry->hidden = true;
        DebugPrint("Packed file Source:Ignore%i will be read from disk (Name=%s)\n", index, name);
      } else {
        DebugPrint("Packed file Source:Ignore%i not present (Name=%s)\n", index, name);
      }
    }
    CloseConfiguration(configuration);
  }
  DebugPrint("PACK file checked\n");
  return true;
}

bool PackCompound(CompoundHandle compound) {
  if (compound == nullptr || compound->file == nullptr ||
      (compound->flags & kCompoundForChanging) == 0) {
    return false;
  }
  if ((compound->flags & (kCompoundChanged | kCompoundEntryOpen)) == 0) {
    return true;
  }
  compound->flags &= ~(kCompoundChanged | kCompoundEntryOpen);
  ForgetEntry(compound);
  // The packed archive is built beside the old one and renamed over it, so
  // the old archive stays whole until the new one is complete.
  const std::string temporaryName = compound->diskName + ".tmp";
  FileHandle target = OpenForChanging(temporaryName, OpenModeCreate);
  if (target == nullptr) {
    compound->flags |= kCompoundChanged;
    return false;
  }
  std::vector<tCompoundEntry> packed;
  uint32_t dataEnd = kCompoundHeaderSize;
  const bool written = WritePackedCopy(compound, target, packed, dataEnd);
  if (!CloseFile(target) || !written) {
    RemoveQuietly(temporaryName);
    compound->flags |= kCompoundChanged;
    return false;
  }
  CloseFile(compound->file);
  compound->file = nullptr;
  if (!ReplaceFileWith(temporaryName.c_str(), compound->diskName.c_str())) {
    RemoveQuietly(temporaryName);
    compound->file = OpenForChanging(compound->diskName, OpenModeExisting);
    compound->flags |= kCompoundChanged;
    return false;
  }
  compound->directory = std::move(packed);
  compound->dataEnd = dataEnd;
  compound->directorySize = static_cast<uint32_t>(compound->directory.size()) * kCompoundEntrySize;
  compound->file = OpenForChanging(compound->diskName, OpenModeExisting);
  return compound->file != nullptr;
}

// ---- Entries ----

FileHandle LookupCompound(CompoundHandle compound, const char* name, uint32_t& offset,
                          uint32_t& size) {
  if (compound == nullptr || compound->directory.empty() ||
      (compound->flags & kCompoundEntryOpen) != 0) {
    return nullptr;
  }
  const tCompoundEntry* entry = FindEntry(compound, name);
  if (entry == nullptr || entry->hidden || !SeekTo(compound->file, entry->offset)) {
    return nullptr;
  }
  offset = entry->offset;
  size = entry->size;
  compound->hasEntry = true;
  compound->entryBounded = true;
  compound->entryOffset = offset;
  compound->entrySize = size;
  return compound->file;
}

namespace {

FileHandle StartEntry(CompoundHandle compound, const char* name, bool replacing, uint32_t& offset) {
  if (compound == nullptr || compound->file == nullptr ||
      (compound->flags & kCompoundForChanging) == 0 ||
      (compound->flags & kCompoundEntryOpen) != 0 || name == nullptr) {
    return nullptr;
  }
  // An empty name would read as a deleted entry and vanish on packing.
  const size_t length = std::strlen(name);
  if (length == 0 || length >= kCompoundNameSize ||
      (!replacing && FindEntry(compound, name) != nullptr)) {
    return nullptr;
  }
  // New bytes go behind everything stored, never over the stored directory.
  const int64_t end = FileLength(compound->file);
  if (end < 0 || end < static_cast<int64_t>(compound->dataEnd)) {
    return nullptr;
  }
  compound->pending = tCompoundEntry{};
  std::memcpy(compound->pending.name, name, length);
  compound->pending.offset = static_cast<uint32_t>(end);
  compound->pendingReplaces = replacing;
  compound->flags |= kCompoundEntryOpen;
  compound->hasEntry = true;
  compound->entryBounded = false;
  compound->entryOffset = compound->pending.offset;
  compound->entrySize = 0;
  offset = compound->pending.offset;
  return compound->file;
}

}  // namespace

FileHandle AppendCompound(CompoundHandle compound, const char* name, uint32_t& offset) {
  return StartEntry(compound, name, false, offset);
}

FileHandle AppendCompoundReplacing(CompoundHandle compound, const char* name, uint32_t& offset) {
  return StartEntry(compound, name, true, offset);
}

bool UpdateCompound(CompoundHandle compound, uint32_t size) {
  if (compound == nullptr || (compound->flags & kCompoundEntryOpen) == 0) {
    return false;
  }
  compound->flags &= ~kCompoundEntryOpen;
  ForgetEntry(compound);
  tCompoundEntry entry = compound->pending;
  const int64_t end = FileLength(compound->file);
  if (size == 0) {
    // Bytes of an abandoned entry lie behind the directory: packing drops them.
    if (end > static_cast<int64_t>(entry.offset)) {
      compound->flags |= kCompoundChanged;
    }
    return true;
  }
  if (static_cast<uint64_t>(entry.offset) + size > kMaxArchiveSize ||
      static_cast<int64_t>(entry.offset) + size > end) {
    DebugPrint("UpdateCompound() The entry's size exceeds the bytes written (Name=%s, Size=%u)\n",
               entry.name, size);
    compound->flags |= kCompoundChanged;
    return false;
  }
  entry.size = size;
  if (compound->pendingReplaces) {
    if (const tCompoundEntry* old = FindEntry(compound, entry.name)) {
      compound->directory.erase(compound->directory.begin() + (old - compound->directory.data()));
    }
  }
  compound->directory.push_back(entry);
  SortByName(compound->directory);
  compound->dataEnd = entry.offset + size;
  compound->flags |= kCompoundChanged;
  return StoreDirectory(compound);
}

bool InsertCompound(CompoundHandle compound, const char* fileName) {
  char entryName[kMaxPathSize] = "";
  if (compound == nullptr || fileName == nullptr || !GetFileName(fileName, entryName)) {
    return false;
  }
  FileHandle source = OpenFile(fileName, FileModeRead, OpenModeExisting, ShareModeDenyWrite);
  if (source == nullptr) {
    return false;
  }
  const int64_t length = FileLength(source);
  uint32_t offset = 0;
  FileHandle target = length > 0 ? AppendCompound(compound, entryName, offset) : nullptr;
  if (target == nullptr) {
    CloseFile(source);
    return false;
  }
  const bool copied = CopyBytes(source, 0, target, static_cast<uint32_t>(length));
  CloseFile(source);
  // A failed copy abandons the entry, so the archive takes appends again.
  return UpdateCompound(compound, copied ? static_cast<uint32_t>(length) : 0) && copied;
}

bool DeleteCompound(CompoundHandle compound, const char* name) {
  if (compound == nullptr || (compound->flags & kCompoundForChanging) == 0 ||
      (compound->flags & kCompoundEntryOpen) != 0 || compound->directory.empty()) {
    return false;
  }
  tCompoundEntry* entry = FindEntry(compound, name);
  if (entry == nullptr) {
    return false;
  }
  std::memset(entry->name, 0, kCompoundNameSize);
  entry->hidden = false;
  auto& directory = compound->directory;
  const auto slot = directory.begin() + (entry - directory.data());
  std::rotate(directory.begin(), slot, slot + 1);
  compound->flags |= kCompoundChanged;
  ForgetEntry(compound);
  return true;
}

bool ExtractCompound(CompoundHandle compound, const char* fileName) {
  char entryName[kMaxPathSize] = "";
  if (compound == nullptr || fileName == nullptr || !GetFileName(fileName, entryName)) {
    return false;
  }
  uint32_t offset = 0;
  uint32_t size = 0;
  if (LookupCompound(compound, entryName, offset, size) == nullptr) {
    return false;
  }
  const std::string temporaryName = std::string(fileName) + ".tmp";
  FileHandle target =
      OpenFile(temporaryName.c_str(), FileModeWrite, OpenModeCreate, ShareModeExclusive);
  if (target == nullptr) {
    return false;
  }
  const bool copied = CopyBytes(compound->file, offset, target, size);
  if (!CloseFile(target) || !copied) {
    RemoveQuietly(temporaryName);
    return false;
  }
  return ReplaceFileWith(temporaryName.c_str(), fileName);
}

// ---- Information ----

int32_t GetCompoundCount(CompoundHandle compound) {
  if (compound == nullptr) {
    return 0;
  }
  return static_cast<int32_t>(std::min<size_t>(compound->directory.size(), 0x7FFFFFFF));
}

int32_t GetCompoundIndexOf(CompoundHandle compound, const char* name) {
  if (compound == nullptr) {
    return -1;
  }
  const tCompoundEntry* entry = FindEntry(compound, name);
  return entry != nullptr ? static_cast<int32_t>(entry - compound->directory.data()) : -1;
}

namespace {

const tCompoundEntry* EntryAt(CompoundHandle compound, int32_t index) {
  if (compound == nullptr || index < 0 ||
      static_cast<size_t>(index) >= compound->directory.size()) {
    return nullptr;
  }
  return &compound->directory[static_cast<size_t>(index)];
}

}  // namespace

int32_t GetCompoundInfo(CompoundHandle compound, int32_t index, char* buffer) {
  const tCompoundEntry* entry = EntryAt(compound, index);
  if (entry == nullptr || buffer == nullptr) {
    return 0;
  }
  std::memcpy(buffer, entry->name, kCompoundNameSize);
  return ExtractFileInfo(entry->name);
}

int32_t GetCompoundPosition(CompoundHandle compound, int32_t index, uint32_t& size) {
  const tCompoundEntry* entry = EntryAt(compound, index);
  if (entry == nullptr) {
    return -1;
  }
  size = entry->size;
  return static_cast<int32_t>(entry->offset);
}

bool GetCompoundName(CompoundHandle compound, char* buffer) {
  if (compound == nullptr || buffer == nullptr) {
    return false;
  }
  std::memcpy(buffer, compound->name.c_str(), compound->name.size() + 1);
  return true;
}

uint32_t GetCompoundFlags(CompoundHandle compound) {
  return compound != nullptr ? compound->flags : 0;
}

FileHandle GetCompoundFile(CompoundHandle compound) {
  return compound != nullptr ? compound->file : nullptr;
}

bool ValidCompound(const char* name) {
  if (name == nullptr || !HasFileExtension(name)) {
    return false;
  }
  const std::string text = name;
  return CompareNoCase(text.substr(text.find_last_of('.') + 1).c_str(), "lmp") == 0;
}

bool GetCompoundEntry(CompoundHandle compound, uint32_t& offset, uint32_t& size, bool& bounded) {
  if (compound == nullptr || !compound->hasEntry) {
    return false;
  }
  offset = compound->entryOffset;
  size = compound->entrySize;
  bounded = compound->entryBounded;
  return true;
}

// ---- Files ----

bool ReplaceFileWith(const char* temporaryName, const char* name) {
  if (temporaryName == nullptr || name == nullptr) {
    return false;
  }
  const auto from = platform::MapFileName(temporaryName);
  const auto to = platform::MapFileName(name);
  if (!from || !to || std::rename(from->c_str(), to->c_str()) != 0) {
    DebugPrint("Cannot replace file (Name=%s, Temporary=%s)\n", name, temporaryName);
    return false;
  }
  return true;
}

// ---- The global archive ----

bool OpenGlobalCompound(const char* configurationName, const char* compoundName) {
  if (compoundName == nullptr || compoundName[0] == '\0') {
    DebugPrint("No compound file used\n");
    return true;
  }
  CompoundHandle compound = OpenCompound(compoundName, false);
  if (compound == nullptr) {
    return false;
  }
  SetCompound(compound);
  DebugPrint("Global compound file opened (Name=%s)\n", compoundName);
  CheckCompoundWith(compound, configurationName);
  return true;
}

void CloseGlobalCompound() {
  if (currentCompound != nullptr) {
    CloseCompound(currentCompound);
    DebugPrint("Global compound file closed\n");
  }
}
