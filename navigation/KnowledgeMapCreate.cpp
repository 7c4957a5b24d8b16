// The knowledge map built from a level's files: the info file (width,
// height, the property map's name, the sector shape file's name, one a line),
// the property map (one byte a cell, 0 for blocked) and the sector shapes.

#include <memory>
#include <vector>

#include "base/DebugFormat.h"
#include "base/LumoFileStream.h"
#include "navigation/YLKnowledgeMap.h"

namespace {

using FileStreamOwner = std::unique_ptr<LumoFileStream, tObjectDestroyer>;

// Info lines are cut at this length; file names are at most 259 characters.
constexpr int32_t kInfoLineCapacity = 1024;

// The level's files are only read: a missing one fails and is not created.
FileStreamOwner OpenForReading(const char* name) {
  FileStreamOwner stream(new LumoFileStream);
  if (!stream->Open(name, FileModeRead, OpenModeExisting, ShareModeDenyWrite, 1, 0)) {
    return nullptr;
  }
  return stream;
}

// One line of the info file; false when the file has ended before it.
bool ReadInfoLine(LumoStream& stream, std::vector<char>& line) {
  line.assign(kInfoLineCapacity, '\0');
  const int32_t length = stream.ReadLine(line.data(), kInfoLineCapacity);
  return length > 0 || !stream.IsFailed();
}

// A size: leading blanks skipped, then the decimal digits up to the first
// other character (none gives 0). Saturates far above any valid size.
int32_t ParseSize(const char* text) {
  while (*text == ' ' || *text == '\t') {
    ++text;
  }
  int64_t value = 0;
  for (; *text >= '0' && *text <= '9'; ++text) {
    value = value * 10 + (*text - '0');
    if (value > 0x7FFFFFFF) {
      return 0x7FFFFFFF;
    }
  }
  return static_cast<int32_t>(value);
}

// Fills bytes from the stream as far as it goes; answers the count read.
uint32_t ReadUpTo(LumoStream& stream, std::vector<uint8_t>& bytes) {
  uint32_t total = 0;
  while (total < bytes.size()) {
    uint32_t count = 0;
    if (!stream.Read(bytes.data() + total, static_cast<uint32_t>(bytes.size()) - total, count) ||
        count == 0) {
      break;
    }
    total += count;
  }
  return total;
}

struct InfoFile {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<char> propertyFile;
  std::vector<char> sectorFile;
};

bool ReadSize(LumoStream& stream, int32_t& size, const char* unreadMessage,
              const char* illegalMessage) {
  std::vector<char> line;
  if (!ReadInfoLine(stream, line)) {
    DebugPrint("%s", unreadMessage);
    return false;
  }
  size = ParseSize(line.data());
  if (size < YLKnowledgeMap::kMinInfoSize || size > YLKnowledgeMap::kMaxInfoSize) {
    DebugPrint(illegalMessage, size);
    return false;
  }
  return true;
}

bool ReadInfo(LumoStream& stream, InfoFile& info) {
  if (!ReadSize(stream, info.width, "YLKnowledgeMap::Create() Couldn't read width from info file\n",
                "YLKnowledgeMap::Create() Illegal mapwidth %i\n") ||
      !ReadSize(stream, info.height,
                "YLKnowledgeMap::Create() Couldn't read Height from info file\n",
                "YLKnowledgeMap::Create() Illegal mapHeight %i\n")) {
    return false;
  }
  if (!ReadInfoLine(stream, info.propertyFile)) {
    DebugPrint("YLKnowledgeMap::Create() Couldn't read property map name from info file\n");
    return false;
  }
  if (!ReadInfoLine(stream, info.sectorFile)) {
    DebugPrint("YLKnowledgeMap::Create() Couldn't read sector file name from info file\n");
    return false;
  }
  return true;
}

}  // namespace

bool YLKnowledgeMap::Create(const char* infoFileName) {
  FileStreamOwner infoStream = infoFileName != nullptr ? OpenForReading(infoFileName) : nullptr;
  if (infoStream == nullptr) {
    DebugPrint("YLKnowledgeMap::Create() Couldn't open info file %s\n",
               infoFileName != nullptr ? infoFileName : "(null)");
    return false;
  }
  InfoFile info;
  if (!ReadInfo(*infoStream, info)) {
    return false;
  }
  if (!Allocate(info.width, info.height)) {
    DebugPrint("YLKnowledgeMap::Create() couldn't allocate %ix%i data block\n", info.width,
               info.height);
    return false;
  }
  infoStream.reset();

  const char* propertyName = info.propertyFile.data();
  FileStreamOwner propertyStream = OpenForReading(propertyName);
  if (propertyStream == nullptr) {
    DebugPrint("YLKnowledgeMap::Create() Couldn't open property file %s\n", propertyName);
    return false;
  }
  std::vector<uint8_t> row(static_cast<size_t>(width));
  for (int32_t y = 0; y < height; ++y) {
    const uint32_t count = ReadUpTo(*propertyStream, row);
    if (count < static_cast<uint32_t>(width)) {
      DebugPrint("YLKnowledgeMap::Create() error reading property file %s at byte (%i,%i)\n",
                 propertyName, static_cast<int32_t>(count), y);
      return false;
    }
    for (int32_t x = 0; x < width; ++x) {
      SetOccupied(x, y, row[static_cast<size_t>(x)] == 0);
    }
  }
  DebugPrint("%d bytes read from propertymap\n", width * height);
  propertyStream.reset();

  // A fresh sector map, which becomes the current one, takes the shapes and
  // gives every cell its sector.
  sectors.reset(new YLSectors);
  const char* sectorName = info.sectorFile.data();
  if (!sectors->Create(sectorName, this)) {
    DebugPrint("YLKnowledgeMap::Create() Failed to load or parse sector file %s\n", sectorName);
    return false;
  }
  return true;
}
