#include "runtime/Compound.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "base/DebugFormat.h"
#include "base/TextUtils.h"
#include "platform/FileSystem.h"
#include "runtime/CompoundTesting.h"
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
// An entry that has no record in the stored directory.
constexpr int32_t kNoSlot = -1;
// Free space below this many bytes never makes an update compact the archive.
constexpr uint64_t kFreeSpaceAllowance = 64u * 1024u;

struct tCompoundEntry {
  char name[kCompoundNameSize] = {};  // empty: a deleted entry
  uint32_t offset = 0;
  uint32_t size = 0;
  bool hidden = false;  // named by [Source] Ignore: read from the loose file
  // The entry's record in the stored directory (its index there), or
  // kNoSlot. A deleted entry keeps its record, under storedName, until an
  // update reuses the record or a new directory is written without it.
  int32_t slot = kNoSlot;
  char storedName[kCompoundNameSize] = {};
};

CompoundWriteObserver writeObserver = nullptr;

}  // namespace

// How the working file is kept small and every change safe:
// - The stored directory lies behind the data, its records in any order
//   (readers sort on opening). Each entry knows the index of its record.
// - A new entry's bytes are written behind everything stored. Its update
//   then either copies them into free space inside the data (space no stored
//   record refers to: old directories, replaced and deleted entries) and
//   commits with one record, written into a record of a deleted entry or
//   added behind the directory; or, when no free space is large enough, it
//   leaves them where they are and writes a fresh directory behind them. In
//   both cases the header (or the single record) is the last write, so a
//   kill before it leaves the previous archive whole.
// - A fresh directory frees the old one, so later entries fill that space;
//   the free space never grows beyond the packed size for long (an update
//   that leaves more compacts the archive).
// - Packing works in place: an entry moves only into space no stored record
//   refers to, and its record is rewritten (one 4-byte write) once its bytes
//   are there; an entry whose new place overlaps its old one goes through a
//   scratch area first. The new directory is written where no stored record
//   lies, then the header; the file is cut last.
struct tCompoundRecord {
  FileHandle file = nullptr;
  std::string name;      // the composed name
  std::string diskName;  // the file open now: a created archive's temporary file
  uint32_t dataEnd = kCompoundHeaderSize;  // the stored directory offset
  uint32_t directorySize = 0;              // the stored directory size
  std::vector<tCompoundEntry> directory;   // sorted by name, deleted slots first
  // Space below dataEnd that no stored record refers to: offset to size,
  // neighbours merged.
  std::map<uint32_t, uint32_t> freeSpace;
  uint64_t freeBytes = 0;
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
// Composed names of the archives this process is creating now; their
// temporary files are not stale.
std::vector<std::string> namesBeingCreated;

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

// Every write of the archive code into an archive goes through here.
bool WriteAt(FileHandle file, uint64_t position, const void* data, uint32_t count, const char* step) {
  if (writeObserver != nullptr) {
    writeObserver(step, count);
  }
  return position + count <= kMaxArchiveSize && SeekTo(file, static_cast<uint32_t>(position)) &&
         WriteFileExactly(file, data, count);
}

// Commits the writes so far to the system: a kill after this keeps them.
bool Commit(FileHandle file, const char* step) {
  if (writeObserver != nullptr) {
    writeObserver(step, 0);
  }
  return FlushFile(file);
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

// Copies count bytes inside one file; the areas do not overlap.
bool MoveBytes(FileHandle file, uint32_t from, uint32_t to, uint32_t count, const char* step) {
  std::vector<uint8_t> chunk(std::min(count, kCopyChunk));
  for (uint32_t done = 0; done < count;) {
    const uint32_t piece = std::min(count - done, kCopyChunk);
    if (!SeekTo(file, from + done) || !ReadFileExactly(file, chunk.data(), piece) ||
        !WriteAt(file, static_cast<uint64_t>(to) + done, chunk.data(), piece, step)) {
      return false;
    }
    done += piece;
  }
  return true;
}

int64_t FileLength(FileHandle file) {
  const int32_t end = SeekFile(file, 0, SeekModeEnd);
  return end < 0 ? -1 : end;
}

// ---- Names ----

bool LessByName(const tCompoundEntry& a, const tCompoundEntry& b) {
  return CompareNoCase(a.name, b.name) < 0;
}

void SortByName(std::vector<tCompoundEntry>& directory) {
  std::stable_sort(directory.begin(), directory.end(), LessByName);
}

bool IsLive(const tCompoundEntry& entry) { return entry.name[0] != '\0'; }

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

bool IsBeingCreated(const std::string& name) {
  return std::find(namesBeingCreated.begin(), namesBeingCreated.end(), name) != namesBeingCreated.end();
}

void RemoveQuietly(const std::string& name) {
  if (const auto path = platform::MapFileName(name.c_str())) {
    std::remove(path->c_str());
  }
}

// A pack killed by an earlier version of this code left "<name>.tmp"; a
// killed creation left "<name>.new". Neither is ever read: both go at the
// next open, unless this process is creating that archive now.
void RemoveStaleTemporaries(const std::string& name) {
  RemoveQuietly(name + ".tmp");
  if (!IsBeingCreated(name)) {
    RemoveQuietly(name + ".new");
  }
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
  return WriteAt(file, 0, header, sizeof header, "header");
}

void EncodeRecord(uint8_t* bytes, const tCompoundEntry& entry) {
  std::memset(bytes, 0, kCompoundEntrySize);
  std::memcpy(bytes, entry.name, kCompoundNameSize);
  PutLittleEndian(bytes + kCompoundNameSize, entry.offset);
  PutLittleEndian(bytes + kCompoundNameSize + 4, entry.size);
}

bool WriteRecord(FileHandle file, uint64_t position, const tCompoundEntry& entry) {
  uint8_t bytes[kCompoundEntrySize];
  EncodeRecord(bytes, entry);
  return WriteAt(file, position, bytes, sizeof bytes, "record");
}

// Writes the entries' records one after the other from position, in one
// piece, and numbers their slots in that order.
bool WriteDirectoryAt(FileHandle file, uint64_t position, const std::vector<tCompoundEntry*>& entries) {
  std::vector<uint8_t> bytes(entries.size() * kCompoundEntrySize);
  for (size_t index = 0; index < entries.size(); ++index) {
    EncodeRecord(bytes.data() + index * kCompoundEntrySize, *entries[index]);
  }
  if (bytes.size() > kMaxArchiveSize ||
      !WriteAt(file, position, bytes.data(), static_cast<uint32_t>(bytes.size()), "directory")) {
    return false;
  }
  return true;
}

bool RefuseArchive(const char* reason, const std::string& name) {
  DebugPrint("OpenCompound() %s (Name=%s)\n", reason, name.c_str());
  return false;
}

// ---- Free space ----

void AddFreeSpace(CompoundHandle compound, uint32_t offset, uint32_t size) {
  if (size == 0) {
    return;
  }
  auto& space = compound->freeSpace;
  compound->freeBytes += size;
  auto next = space.lower_bound(offset);
  if (next != space.begin()) {
    auto previous = std::prev(next);
    if (previous->first + previous->second == offset) {
      offset = previous->first;
      size += previous->second;
      space.erase(previous);
    }
  }
  if (next != space.end() && offset + size == next->first) {
    size += next->second;
    space.erase(next);
  }
  space[offset] = size;
}

// Takes size bytes from the smallest free area that holds them.
bool TakeFreeSpace(CompoundHandle compound, uint32_t size, uint32_t& offset) {
  auto& space = compound->freeSpace;
  auto best = space.end();
  for (auto area = space.begin(); area != space.end(); ++area) {
    if (area->second >= size && (best == space.end() || area->second < best->second)) {
      best = area;
    }
  }
  if (best == space.end()) {
    return false;
  }
  offset = best->first;
  const uint32_t rest = best->second - size;
  space.erase(best);
  if (rest > 0) {
    space[offset + size] = rest;
  }
  compound->freeBytes -= size;
  return true;
}

// The space below the data end that no stored record refers to.
void RebuildFreeSpace(CompoundHandle compound) {
  compound->freeSpace.clear();
  compound->freeBytes = 0;
  std::vector<std::pair<uint32_t, uint32_t>> used;
  for (const tCompoundEntry& entry : compound->directory) {
    if (entry.slot != kNoSlot) {
      used.emplace_back(entry.offset, entry.size);
    }
  }
  std::sort(used.begin(), used.end());
  uint32_t position = kCompoundHeaderSize;
  for (const auto& [offset, size] : used) {
    if (offset > position) {
      AddFreeSpace(compound, position, offset - position);
    }
    position = std::max(position, offset + size);
  }
  if (compound->dataEnd > position) {
    AddFreeSpace(compound, position, compound->dataEnd - position);
  }
}

// The size of the archive once packed.
uint64_t PackedSize(CompoundHandle compound) {
  uint64_t size = kCompoundHeaderSize;
  for (const tCompoundEntry& entry : compound->directory) {
    if (IsLive(entry)) {
      size += entry.size + kCompoundEntrySize;
    }
  }
  return size;
}

uint32_t StoredEnd(CompoundHandle compound) { return compound->dataEnd + compound->directorySize; }

// Drops whatever lies behind the stored directory (an abandoned or copied
// entry's bytes).
bool DropTail(CompoundHandle compound) {
  return TruncateFile(compound->file, StoredEnd(compound));
}

// ---- Opening ----

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
  if (dataEnd < kCompoundHeaderSize) {
    return RefuseArchive("PACK directory lies inside the header", name);
  }
  if (static_cast<int64_t>(dataEnd) + directorySize > length) {
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
    std::memcpy(entry.storedName, entry.name, kCompoundNameSize);
    entry.offset = GetLittleEndian(bytes + kCompoundNameSize);
    entry.size = GetLittleEndian(bytes + kCompoundNameSize + 4);
    entry.slot = static_cast<int32_t>(index);
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
  RebuildFreeSpace(compound);
  return true;
}

void ForgetEntry(CompoundHandle compound) {
  compound->hasEntry = false;
  compound->entryBounded = false;
  compound->entryOffset = 0;
  compound->entrySize = 0;
}

FileHandle OpenForChanging(const std::string& name, tOpenMode openMode) {
  return OpenFile(name.c_str(), FileModeReadWrite, openMode, ShareModeExclusive);
}

// ---- Writing a fresh directory ----

// The live entries, each with its slot in a directory written in this order.
std::vector<tCompoundEntry*> LiveEntries(CompoundHandle compound, const tCompoundEntry* leftOut) {
  std::vector<tCompoundEntry*> live;
  for (tCompoundEntry& entry : compound->directory) {
    if (IsLive(entry) && &entry != leftOut) {
      live.push_back(&entry);
    }
  }
  return live;
}

// Writes the entries as the whole stored directory at position, then the
// header that points at it. The old directory stays in force until the
// header is written. On success the entries own the new slots, deleted
// entries lose theirs, and the free space is worked out again.
bool StoreFreshDirectory(CompoundHandle compound, uint64_t position, const std::vector<tCompoundEntry*>& entries) {
  const uint64_t size = static_cast<uint64_t>(entries.size()) * kCompoundEntrySize;
  if (position + size > kMaxArchiveSize || !WriteDirectoryAt(compound->file, position, entries) ||
      !Commit(compound->file, "directory written") ||
      !WriteHeader(compound->file, static_cast<uint32_t>(position), static_cast<uint32_t>(size)) ||
      !Commit(compound->file, "header written")) {
    return false;
  }
  for (tCompoundEntry& entry : compound->directory) {
    entry.slot = kNoSlot;
  }
  for (size_t index = 0; index < entries.size(); ++index) {
    entries[index]->slot = static_cast<int32_t>(index);
  }
  compound->dataEnd = static_cast<uint32_t>(position);
  compound->directorySize = static_cast<uint32_t>(size);
  RebuildFreeSpace(compound);
  return true;
}

// ---- Packing in place ----

bool SetSlotOffset(CompoundHandle compound, const tCompoundEntry& entry, uint32_t offset) {
  uint8_t bytes[4];
  PutLittleEndian(bytes, offset);
  const uint64_t position = static_cast<uint64_t>(compound->dataEnd) +
                            static_cast<uint64_t>(entry.slot) * kCompoundEntrySize + kCompoundNameSize;
  return WriteAt(compound->file, position, bytes, sizeof bytes, "slot") && Commit(compound->file, "entry moved");
}

// Moves one entry to target, where no stored record refers to any byte; the
// entry's record follows once the bytes are there.
bool MoveEntry(CompoundHandle compound, tCompoundEntry& entry, uint32_t target) {
  if (!MoveBytes(compound->file, entry.offset, target, entry.size, "entry bytes") ||
      !Commit(compound->file, "entry copied") || !SetSlotOffset(compound, entry, target)) {
    return false;
  }
  entry.offset = target;
  return true;
}

// Whether the stored directory is already the packed one: right behind the
// data, every live entry in it in name order, nothing else.
bool DirectoryIsPacked(CompoundHandle compound, uint32_t dataEnd, const std::vector<tCompoundEntry*>& byName) {
  if (compound->dataEnd != dataEnd || compound->directorySize != byName.size() * kCompoundEntrySize) {
    return false;
  }
  for (size_t index = 0; index < byName.size(); ++index) {
    if (byName[index]->slot != static_cast<int32_t>(index)) {
      return false;
    }
  }
  return true;
}

// Closes every gap: entries move down in the order of their offsets, each
// only when it is not in place; then the directory is written sorted by name
// behind the data and the file cut behind it. The archive on disk is whole
// after every single write.
bool PackInPlace(CompoundHandle compound) {
  std::vector<tCompoundEntry*> byOffset = LiveEntries(compound, nullptr);
  std::stable_sort(byOffset.begin(), byOffset.end(),
                   [](const tCompoundEntry* a, const tCompoundEntry* b) { return a->offset < b->offset; });
  // Where each entry goes, and the largest one whose new place overlaps its
  // old one: it moves through a scratch area.
  uint64_t position = kCompoundHeaderSize;
  uint64_t scratchSize = 0;
  bool staleRecords = false;
  // Entries whose stored bytes overlap (a damaged or foreign archive) all
  // move out of the way first, so no move writes over another's bytes.
  bool entangled = false;
  for (size_t index = 0; index < byOffset.size(); ++index) {
    const tCompoundEntry* entry = byOffset[index];
    if (entry->offset != position && position + entry->size > entry->offset) {
      scratchSize = std::max<uint64_t>(scratchSize, entry->size);
    }
    if (index + 1 < byOffset.size() &&
        static_cast<uint64_t>(entry->offset) + entry->size > byOffset[index + 1]->offset) {
      entangled = true;
    }
    position += entry->size;
  }
  const uint64_t packedDataEnd = position;
  if (entangled) {
    scratchSize = packedDataEnd;
  }
  for (const tCompoundEntry& entry : compound->directory) {
    staleRecords = staleRecords || (!IsLive(entry) && entry.slot != kNoSlot);
  }
  const int64_t fileEnd = FileLength(compound->file);
  if (fileEnd < 0) {
    return false;
  }
  const uint64_t scratch =
      std::max({static_cast<uint64_t>(fileEnd), static_cast<uint64_t>(StoredEnd(compound)), packedDataEnd});
  // A directory without the deleted entries, behind the scratch area, so
  // their bytes and the scratch area are free space below the data end.
  if ((staleRecords || scratchSize > 0) &&
      !StoreFreshDirectory(compound, scratch + scratchSize, byOffset)) {
    return false;
  }
  if (entangled) {
    uint64_t parked = scratch;
    for (tCompoundEntry* entry : byOffset) {
      if (!MoveEntry(compound, *entry, static_cast<uint32_t>(parked))) {
        return false;
      }
      parked += entry->size;
    }
  }
  position = kCompoundHeaderSize;
  for (tCompoundEntry* entry : byOffset) {
    const uint32_t target = static_cast<uint32_t>(position);
    if (entry->offset != target) {
      if (target + static_cast<uint64_t>(entry->size) > entry->offset &&
          !MoveEntry(compound, *entry, static_cast<uint32_t>(scratch))) {
        return false;
      }
      if (!MoveEntry(compound, *entry, target)) {
        return false;
      }
    }
    position += entry->size;
  }
  const uint32_t dataEnd = static_cast<uint32_t>(position);
  std::vector<tCompoundEntry*> byName = byOffset;
  std::stable_sort(byName.begin(), byName.end(),
                   [](const tCompoundEntry* a, const tCompoundEntry* b) { return LessByName(*a, *b); });
  const uint64_t directorySize = static_cast<uint64_t>(byName.size()) * kCompoundEntrySize;
  if (!DirectoryIsPacked(compound, dataEnd, byName)) {
    // The packed directory's place may hold the stored one: then a copy
    // behind everything takes over first.
    if (dataEnd + directorySize > compound->dataEnd) {
      const int64_t end = FileLength(compound->file);
      if (end < 0 ||
          !StoreFreshDirectory(compound, std::max<uint64_t>(static_cast<uint64_t>(end), StoredEnd(compound)),
                               byName)) {
        return false;
      }
    }
    if (!StoreFreshDirectory(compound, dataEnd, byName)) {
      return false;
    }
  }
  RebuildFreeSpace(compound);
  return DropTail(compound) && SyncFile(compound->file);
}

// Keeps the working file within a small factor of the packed size.
bool CompactWhenMostlyFree(CompoundHandle compound) {
  const uint64_t packed = PackedSize(compound);
  if (compound->freeBytes <= std::max(packed, kFreeSpaceAllowance)) {
    return true;
  }
  return PackInPlace(compound);
}

// ---- Committing a new entry ----

// A deleted entry whose record is still stored: the one stored under name
// when there is one (its record must go in the same write that adds the new
// one, so no name is ever stored twice), else any.
tCompoundEntry* StaleRecord(CompoundHandle compound, const char* name) {
  tCompoundEntry* any = nullptr;
  for (tCompoundEntry& entry : compound->directory) {
    if (IsLive(entry)) {
      break;  // the deleted entries come first
    }
    if (entry.slot == kNoSlot) {
      continue;
    }
    if (CompareNoCase(entry.storedName, name) == 0) {
      return &entry;
    }
    if (any == nullptr) {
      any = &entry;
    }
  }
  return any;
}

void InsertSorted(CompoundHandle compound, const tCompoundEntry& entry) {
  auto& directory = compound->directory;
  directory.insert(std::upper_bound(directory.begin(), directory.end(), entry, LessByName), entry);
}

// Stores a finished entry whose bytes lie behind the stored directory.
bool CommitEntry(CompoundHandle compound, tCompoundEntry entry, bool replaces) {
  std::memcpy(entry.storedName, entry.name, kCompoundNameSize);
  tCompoundEntry* replaced = replaces ? FindEntry(compound, entry.name) : nullptr;
  tCompoundEntry* reused = nullptr;
  if (replaced == nullptr || replaced->slot == kNoSlot) {
    reused = StaleRecord(compound, entry.name);
  }
  const int32_t slot = replaced != nullptr && replaced->slot != kNoSlot ? replaced->slot
                       : reused != nullptr                             ? reused->slot
                                                                       : kNoSlot;
  uint32_t place = 0;
  if (TakeFreeSpace(compound, entry.size, place)) {
    // Into free space, then one record commits it: a stored record reused in
    // place, or one more record with the header that counts it.
    const uint32_t written = entry.offset;
    entry.offset = place;
    bool stored = MoveBytes(compound->file, written, place, entry.size, "entry bytes") &&
                  Commit(compound->file, "entry copied");
    if (stored && slot != kNoSlot) {
      stored = WriteRecord(compound->file, compound->dataEnd + static_cast<uint64_t>(slot) * kCompoundEntrySize,
                           entry) &&
               Commit(compound->file, "record written");
    } else if (stored) {
      stored = WriteRecord(compound->file, StoredEnd(compound), entry) && Commit(compound->file, "record written") &&
               WriteHeader(compound->file, compound->dataEnd, compound->directorySize + kCompoundEntrySize) &&
               Commit(compound->file, "header written");
    }
    if (!stored) {
      AddFreeSpace(compound, place, entry.size);
      return false;
    }
    if (slot != kNoSlot) {
      entry.slot = slot;
    } else {
      entry.slot = static_cast<int32_t>(compound->directorySize / kCompoundEntrySize);
      compound->directorySize += kCompoundEntrySize;
    }
    tCompoundEntry* freed = replaced != nullptr ? replaced : reused;
    if (freed != nullptr && freed->slot == entry.slot) {
      AddFreeSpace(compound, freed->offset, freed->size);
      freed->slot = kNoSlot;
    }
    if (replaced != nullptr) {
      compound->directory.erase(compound->directory.begin() + (replaced - compound->directory.data()));
    }
    InsertSorted(compound, entry);
  } else {
    // The bytes stay where they are; a fresh directory behind them leaves the
    // deleted and replaced entries out and frees the old directory.
    std::vector<tCompoundEntry*> entries = LiveEntries(compound, replaced);
    entries.push_back(&entry);
    if (!StoreFreshDirectory(compound, static_cast<uint64_t>(entry.offset) + entry.size, entries)) {
      return false;
    }
    const int32_t newSlot = entry.slot;
    if (replaced != nullptr) {
      compound->directory.erase(compound->directory.begin() + (replaced - compound->directory.data()));
    }
    entry.slot = newSlot;
    InsertSorted(compound, entry);
    RebuildFreeSpace(compound);
  }
  return DropTail(compound) && CompactWhenMostlyFree(compound);
}

}  // namespace

void SetCompoundWriteObserver(CompoundWriteObserver observer) { writeObserver = observer; }

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
  RemoveStaleTemporaries(compound->name);
  compound->flags = forChanging ? kCompoundForChanging : 0;
  return compound.release();
}

CompoundHandle CreateCompound(const char* name) {
  auto compound = std::make_unique<tCompoundRecord>();
  if (name == nullptr || !ComposeName(name, compound->name) || IsBeingCreated(compound->name)) {
    return nullptr;
  }
  RemoveStaleTemporaries(compound->name);
  compound->diskName = compound->name + ".new";
  compound->file = OpenForChanging(compound->diskName, OpenModeCreate);
  if (compound->file == nullptr) {
    return nullptr;
  }
  if (!WriteHeader(compound->file, kCompoundHeaderSize, 0) || !FlushFile(compound->file)) {
    CloseFile(compound->file);
    RemoveQuietly(compound->diskName);
    return nullptr;
  }
  namesBeingCreated.push_back(compound->name);
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
    std::erase(namesBeingCreated, compound->name);
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
  compound->freeSpace.clear();
  compound->freeBytes = 0;
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
  if (!PackInPlace(compound)) {
    // What is stored is whole; a later pack starts again from it.
    compound->flags |= kCompoundChanged;
    return false;
  }
  // The deleted entries' slots go with the packing.
  std::erase_if(compound->directory, [](const tCompoundEntry& entry) { return !IsLive(entry); });
  compound->freeSpace.clear();
  compound->freeBytes = 0;
  return true;
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
  if (end < 0 || end < static_cast<int64_t>(StoredEnd(compound))) {
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
    // An abandoned entry's bytes lie behind the directory and are cut away.
    if (end > static_cast<int64_t>(entry.offset)) {
      compound->flags |= kCompoundChanged;
    }
    return DropTail(compound);
  }
  if (static_cast<uint64_t>(entry.offset) + size > kMaxArchiveSize ||
      static_cast<int64_t>(entry.offset) + size > end) {
    DebugPrint("UpdateCompound() The entry's size exceeds the bytes written (Name=%s, Size=%u)\n",
               entry.name, size);
    compound->flags |= kCompoundChanged;
    DropTail(compound);
    return false;
  }
  entry.size = size;
  compound->flags |= kCompoundChanged;
  if (!CommitEntry(compound, entry, compound->pendingReplaces)) {
    DropTail(compound);
    return false;
  }
  return true;
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
  if (!from || !to || !platform::ReplaceFile(*from, *to)) {
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
