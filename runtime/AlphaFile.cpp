#include "runtime/AlphaFile.h"

#include <climits>
#include <cstring>
#include <new>
#include <string>

#include "base/DebugFormat.h"
#include "base/ImageFileIO.h"
#include "platform/Version.h"
#include "runtime/DebugLevelGate.h"
#include "runtime/FileNames.h"
#include "runtime/FileReplacement.h"
#include "runtime/GraphicFiles.h"

namespace {

constexpr const char* kAlphaExtension = ".lma";

// The header words as read, in their stored order.
struct StoredHeader {
  uint8_t Signature[4] = {};
  uint32_t Version = 0;
  uint32_t HeaderSize = 0;
  uint32_t DataSize = 0;
  uint32_t Width = 0;
  uint32_t Height = 0;
};

StoredHeader DecodeHeader(const uint8_t* bytes) {
  StoredHeader header;
  std::memcpy(header.Signature, bytes, sizeof(header.Signature));
  header.Version = image_io::LoadBig32(bytes + 4);
  header.HeaderSize = image_io::LoadBig32(bytes + 8);
  header.DataSize = image_io::LoadBig32(bytes + 12);
  header.Width = image_io::LoadBig32(bytes + 16);
  header.Height = image_io::LoadBig32(bytes + 20);
  return header;
}

// Whether the stored sizes describe data that lies inside the file: width
// and height at most INT_MAX, their product (in 64 bits) equal to the data
// size, and the data inside the bytes behind the header.
bool DataFits(const StoredHeader& header, int64_t available) {
  const uint64_t product = uint64_t{header.Width} * header.Height;
  return header.Width <= INT_MAX && header.Height <= INT_MAX && product == header.DataSize &&
         int64_t{header.DataSize} <= available - int64_t{header.HeaderSize};
}

// The entry name in the global archive: the name's file part, ".lma" added.
bool ArchiveEntryName(const char* name, std::string& entryName) {
  char relative[kMaxPathSize] = "";
  if (!RelativeFileName(name, -1, relative)) {
    return false;
  }
  entryName = WithDefaultExtension(relative, kAlphaExtension);
  return true;
}

std::unique_ptr<tAlphaRecord> ReadFromArchive(const char* name, bool& found) {
  found = false;
  std::string entryName;
  if (!ArchiveEntryName(name, entryName)) {
    return nullptr;
  }
  std::unique_ptr<tAlphaRecord> record;
  ReadGlobalArchiveEntry(
      entryName,
      [&](FileHandle file, uint32_t offset, uint32_t size) {
        record = ReadAlphaRecord(file, name, offset, size);
        return record != nullptr;
      },
      found);
  return record;
}

std::unique_ptr<tAlphaRecord> ReadFromFile(const char* name) {
  const std::string fileName = FolderFileName(FolderGraphic, name, kAlphaExtension);
  FileHandle file = OpenFile(fileName.c_str(), FileModeRead, OpenModeExisting, ShareModeDenyWrite);
  if (file == nullptr) {
    if (DebugLevelAtLeast(1)) {
      DebugPrint("LoadAlpha() Cannot load the alpha information from file (Name=%s)\n", fileName.c_str());
    }
    return nullptr;
  }
  const int64_t available = image_io::RemainingBytes(file);
  std::unique_ptr<tAlphaRecord> record = ReadAlphaRecord(file, name, 0, available);
  CloseFile(file);
  return record;
}

void StoreHeader(uint8_t* bytes, const tAlphaRecord& record) {
  std::memcpy(bytes, kAlphaSignature, sizeof(kAlphaSignature));
  image_io::StoreBig32(bytes + 4, kAlphaVersion);
  image_io::StoreBig32(bytes + 8, kAlphaHeaderSize);
  image_io::StoreBig32(bytes + 12, record.DataSize);
  image_io::StoreBig32(bytes + 16, record.Width);
  image_io::StoreBig32(bytes + 20, record.Height);
}

}  // namespace

uint32_t AlphaLibraryVersion() {
  const platform::FileVersion version = platform::LibraryVersion();
  return ((version.major & 0xFF) << 24) | ((version.minor & 0xFF) << 16) | ((version.release & 0xFF) << 8) |
         (version.build & 0xFF);
}

std::unique_ptr<tAlphaRecord> ReadAlphaRecord(FileHandle file, const char* name, int64_t start, int64_t available) {
  constexpr const char* prefix = "LoadAlpha()";
  std::unique_ptr<tAlphaRecord> record(new (std::nothrow) tAlphaRecord());
  if (!record) {
    DebugPrint("%s Cannot create the alpha information structure (Name=%s)\n", prefix, name);
    return nullptr;
  }
  uint8_t bytes[kAlphaHeaderSize] = {};
  if (available < kAlphaHeaderSize || !image_io::ReadExact(file, bytes, sizeof(bytes))) {
    DebugPrint("%s Cannot read the alpha information header (Name=%s)\n", prefix, name);
    return nullptr;
  }
  const StoredHeader header = DecodeHeader(bytes);
  if (std::memcmp(header.Signature, kAlphaSignature, sizeof(kAlphaSignature)) != 0) {
    DebugPrint("%s Wrong file type (Name=%s)\n", prefix, name);
    return nullptr;
  }
  if (header.Version < kAlphaVersion || header.Version > AlphaLibraryVersion()) {
    DebugPrint("%s Wrong file version (Name=%s, Version=%i.%i.%i.%i)\n", prefix, name,
               static_cast<int32_t>(header.Version >> 24), static_cast<int32_t>((header.Version >> 16) & 0xFF),
               static_cast<int32_t>((header.Version >> 8) & 0xFF), static_cast<int32_t>(header.Version & 0xFF));
    return nullptr;
  }
  // The header size is the data offset: it must leave the 24 header bytes
  // and lie inside the file (inside an archive, inside the entry).
  if (header.HeaderSize < kAlphaHeaderSize || int64_t{header.HeaderSize} > available) {
    DebugPrint("%s Wrong file offset (Name=%s, Offset=%i)\n", prefix, name, static_cast<int32_t>(header.HeaderSize));
    return nullptr;
  }
  const int64_t dataOffset = start + header.HeaderSize;
  if (!DataFits(header, available)) {
    DebugPrint("%s File contains the wrong amount of data (Name=%s, Offset=%i, Size=%u)\n", prefix, name,
               static_cast<int32_t>(dataOffset), header.DataSize);
    return nullptr;
  }
  if (!image_io::SeekTo(file, dataOffset)) {
    DebugPrint("%s Cannot seek the alpha information data (Name=%s, Offset=%i)\n", prefix, name,
               static_cast<int32_t>(dataOffset));
    return nullptr;
  }
  if (!AllocateAlphaData(*record, header.Width, header.Height)) {
    DebugPrint("%s Cannot create the alpha information data (Name=%s)\n", prefix, name);
    return nullptr;
  }
  if (!image_io::ReadExact(file, record->Data.get(), record->DataSize)) {
    DebugPrint("%s Cannot read the alpha information data (Name=%s)\n", prefix, name);
    return nullptr;
  }
  std::memcpy(record->Signature, header.Signature, sizeof(record->Signature));
  record->Version = header.Version;
  record->HeaderSize = header.HeaderSize;
  return record;
}

AlphaHandle LoadAlpha(const char* name) {
  if (name == nullptr) {
    DebugPrint("LoadAlpha() Null pointer to the name specified\n");
    return nullptr;
  }
  bool found = false;
  std::unique_ptr<tAlphaRecord> record = ReadFromArchive(name, found);
  if (!found) {
    record = ReadFromFile(name);
  }
  return record ? AdoptAlpha(std::move(record)) : nullptr;
}

bool SaveAlpha(AlphaHandle alpha, const char* name) {
  constexpr const char* prefix = "SaveAlpha()";
  if (name == nullptr) {
    DebugPrint("%s Null pointer to the name specified\n", prefix);
    return false;
  }
  if (alpha == nullptr) {
    DebugPrint("%s Null pointer to the alpha information specified (Name=%s)\n", prefix, name);
    return false;
  }
  const tAlphaRecord* record = FindAlpha(prefix, alpha);
  if (record == nullptr) {
    return false;
  }
  // Checked before any file is touched: a map without data must not leave a
  // half-written file behind.
  if (record->DataSize == 0) {
    DebugPrint("%s No alpha information (Name=%s, Alpha=%p)\n", prefix, name, alpha);
    return false;
  }
  const std::string fileName = FolderFileName(FolderGraphic, name, kAlphaExtension);
  const tReplaceResult result = WriteFileReplacing(fileName.c_str(), [record](FileHandle file) {
    uint8_t header[kAlphaHeaderSize] = {};
    StoreHeader(header, *record);
    return image_io::WriteExact(file, header, sizeof(header)) &&
           image_io::WriteExact(file, record->Data.get(), record->DataSize);
  });
  if (result == tReplaceResult::NotCreated) {
    DebugPrint("%s Cannot create the file (Name=%s, Alpha=%p)\n", prefix, fileName.c_str(), alpha);
    return false;
  }
  if (result != tReplaceResult::Written) {
    DebugPrint("%s Cannot write the file (Name=%s, Alpha=%p)\n", prefix, fileName.c_str(), alpha);
    return false;
  }
  return true;
}
