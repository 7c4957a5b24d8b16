#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "SectorMapFixture.h"
#include "navigation/SectorShapeText.h"
#include "navigation/YLKnowledgeMap.h"
#include "runtime/DebugLog.h"
#include "support/DebugLogReader.h"

namespace navigation_testing {
namespace {

using KnowledgeMapOwner = std::unique_ptr<YLKnowledgeMap, tObjectDestroyer>;

void WriteFile(const char* name, const std::string& text) {
  std::ofstream file(name, std::ios::binary);
  file << text;
}

// A property map of width x height bytes, all free but one blocked cell.
void WriteProperties(const char* name, int32_t width, int32_t height, int32_t blockedX,
                     int32_t blockedY) {
  std::string bytes(static_cast<size_t>(width) * static_cast<size_t>(height), '\x01');
  if (blockedX >= 0) {
    bytes[static_cast<size_t>(blockedY) * static_cast<size_t>(width) +
          static_cast<size_t>(blockedX)] = '\0';
  }
  WriteFile(name, bytes);
}

// A 32 x 32 level: sector 0 covers the left half, sector 1 the right half
// up to the diagonal from (32, 16) to (16, 32); the lower right corner
// beyond it is in no sector.
const std::vector<SectorShape> kLevelShapes = {
    {{0, 0}, {16, 0}, {16, 32}, {0, 32}},
    {{16, 0}, {32, 0}, {32, 16}, {16, 32}},
};

uint8_t ExpectedSector(int32_t x, int32_t y) {
  if (x < 16) {
    return 0;
  }
  // The cell's centre (x + 1/2, y + 1/2) lies on or inside the diagonal
  // x + y = 48; the closed shape holds the centres on it.
  return x + y + 1 <= 48 ? 1 : kNoSector;
}

void WriteLevel(const std::string& info) {
  WriteFile("level.inf", info);
  WriteProperties("level.map", 32, 32, 5, 7);
  WriteFile("level.ase", FormatSectorShapes(kLevelShapes));
}

bool CreateLogged(YLKnowledgeMap& map, const char* infoName, std::string& log) {
  EXPECT_EQ(SetDebugMode(DebugModeOverwrite), DebugModeOverwrite);
  const bool created = map.Create(infoName);
  SetDebugMode(DebugModeOff);
  log = testing_support::ReadDebugLog();
  return created;
}

TEST(KnowledgeMapCreate, EveryCellGetsItsSectorOrNone) {
  WriteLevel("32\r\n  32\r\nlevel.map\r\nlevel.ase\r\n");
  KnowledgeMapOwner map(new YLKnowledgeMap);
  std::string log;
  ASSERT_TRUE(CreateLogged(*map, "level.inf", log)) << log;
  EXPECT_NE(log.find("1024 bytes read from propertymap\n"), std::string::npos) << log;
  ASSERT_EQ(map->GetWidth(), 32);
  ASSERT_EQ(map->GetHeight(), 32);
  EXPECT_EQ(map->GetSectors(), GetCurrentSectorMap());
  EXPECT_EQ(map->GetSectors()->GetSectorCount(), 2);
  for (int32_t y = 0; y < 32; ++y) {
    for (int32_t x = 0; x < 32; ++x) {
      ASSERT_EQ(map->GetSector(x, y), ExpectedSector(x, y)) << x << "," << y;
    }
  }
  EXPECT_TRUE(map->IsOccupied(5, 7));
  EXPECT_FALSE(map->IsFree(5, 7));
  EXPECT_TRUE(map->IsFree(7, 5));

  const Bytes saved = SaveRecord(*map);
  map.reset();
  std::unique_ptr<YLKnowledgeMap, tObjectDestroyer> loaded = LoadAs<YLKnowledgeMap>(saved);
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(loaded->GetSectors(), GetCurrentSectorMap());
  EXPECT_EQ(loaded->GetSector(31, 31), kNoSector);
  EXPECT_EQ(loaded->GetSector(20, 3), 1);
  EXPECT_EQ(SaveRecord(*loaded), saved);
}

// A centre exactly on a slanted edge lies in the closed shape, whichever side
// of the edge the shape lies on; of two shapes sharing the edge, the first in
// file order takes the cells on it.
TEST(KnowledgeMapCreate, CentresOnASlantedEdgeGoToTheFirstShapeHoldingThem) {
  // Right of the edge from (2, 10) to (8, 16), and left of it.
  const SectorShape right = {{2, 10}, {8, 16}, {8, 10}};
  const SectorShape left = {{2, 10}, {2, 16}, {8, 16}};
  struct Case {
    const char* name;
    std::vector<SectorShape> shapes;
    uint8_t onEdge;  // the sector of the cells whose centres lie on the edge
    uint8_t rightSector;
    uint8_t leftSector;
  };
  const Case cases[] = {
      {"right side alone", {right}, 0, 0, kNoSector},
      {"left side alone", {left}, 0, kNoSector, 0},
      {"right side first", {right, left}, 0, 0, 1},
      {"left side first", {left, right}, 0, 1, 0},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    WriteFile("level.inf", "32\r\n32\r\nlevel.map\r\nlevel.ase\r\n");
    WriteProperties("level.map", 32, 32, -1, -1);
    WriteFile("level.ase", FormatSectorShapes(test.shapes));
    KnowledgeMapOwner map(new YLKnowledgeMap);
    std::string log;
    ASSERT_TRUE(CreateLogged(*map, "level.inf", log)) << log;
    for (int32_t x = 2; x < 8; ++x) {
      const int32_t y = x + 8;  // the centre (x + 1/2, y + 1/2) lies on the edge
      EXPECT_EQ(map->GetSector(x, y), test.onEdge) << x << "," << y;
    }
    // Off the edge each cell keeps the shape it lies in.
    EXPECT_EQ(map->GetSector(7, 10), test.rightSector);
    EXPECT_EQ(map->GetSector(2, 15), test.leftSector);
    EXPECT_EQ(map->GetSector(1, 10), kNoSector);
    EXPECT_EQ(map->GetSector(8, 10), kNoSector);
  }
}

TEST(KnowledgeMapCreate, InfoSizesOutsideTheLimitsAreRefused) {
  const struct {
    const char* width;
    const char* height;
    const char* refusal;  // null: accepted
  } cases[] = {
      {"31", "32", "YLKnowledgeMap::Create() Illegal mapwidth 31\n"},
      {"1025", "32", "YLKnowledgeMap::Create() Illegal mapwidth 1025\n"},
      {"-40", "32", "YLKnowledgeMap::Create() Illegal mapwidth 0\n"},
      {"99999999999", "32", "YLKnowledgeMap::Create() Illegal mapwidth 2147483647\n"},
      {"32", "31", "YLKnowledgeMap::Create() Illegal mapHeight 31\n"},
      {"32", "1025", "YLKnowledgeMap::Create() Illegal mapHeight 1025\n"},
      {"32", "32", nullptr},
      {"1024", "32", nullptr},
      {"32x", "1024", nullptr},
  };
  WriteFile("level.ase", FormatSectorShapes(kLevelShapes));
  for (const auto& entry : cases) {
    WriteFile("level.inf",
              std::string(entry.width) + "\n" + entry.height + "\nlevel.map\nlevel.ase\n");
    WriteProperties("level.map", 1024, 1024, -1, -1);
    KnowledgeMapOwner map(new YLKnowledgeMap);
    std::string log;
    EXPECT_EQ(CreateLogged(*map, "level.inf", log), entry.refusal == nullptr)
        << entry.width << "x" << entry.height;
    if (entry.refusal != nullptr) {
      EXPECT_NE(log.find(entry.refusal), std::string::npos) << log;
    }
  }
}

TEST(KnowledgeMapCreate, EachMissingPieceFailsWithItsMessage) {
  const struct {
    const char* what;
    const char* info;       // null: no info file
    int32_t propertyBytes;  // -1: no property file
    const char* message;
  } cases[] = {
      {"no info file", nullptr, 1024,
       "YLKnowledgeMap::Create() Couldn't open info file level.inf\n"},
      {"no width", "", 1024, "YLKnowledgeMap::Create() Couldn't read width from info file\n"},
      {"no height", "32\n", 1024, "YLKnowledgeMap::Create() Couldn't read Height from info file\n"},
      {"no property map name", "32\n32\n", 1024,
       "YLKnowledgeMap::Create() Couldn't read property map name from info file\n"},
      {"no sector file name", "32\n32\nlevel.map\n", 1024,
       "YLKnowledgeMap::Create() Couldn't read sector file name from info file\n"},
      {"no property map", "32\n32\nlevel.map\nlevel.ase\n", -1,
       "YLKnowledgeMap::Create() Couldn't open property file level.map\n"},
      {"short property map", "32\n32\nlevel.map\nlevel.ase\n", 32 * 5 + 3,
       "YLKnowledgeMap::Create() error reading property file level.map at byte (3,5)\n"},
      {"no sector file", "32\n32\nlevel.map\nmissing.ase\n", 1024,
       "YLKnowledgeMap::Create() Failed to load or parse sector file missing.ase\n"},
  };
  WriteFile("level.ase", FormatSectorShapes(kLevelShapes));
  for (const auto& entry : cases) {
    std::filesystem::remove("level.inf");
    std::filesystem::remove("level.map");
    if (entry.info != nullptr) {
      WriteFile("level.inf", entry.info);
    }
    if (entry.propertyBytes >= 0) {
      WriteFile("level.map", std::string(static_cast<size_t>(entry.propertyBytes), '\x01'));
    }
    KnowledgeMapOwner map(new YLKnowledgeMap);
    std::string log;
    EXPECT_FALSE(CreateLogged(*map, "level.inf", log)) << entry.what;
    EXPECT_NE(log.find(entry.message), std::string::npos) << entry.what << "\n" << log;
    // Input files are only read: a missing one is never left behind empty.
    EXPECT_EQ(std::filesystem::exists("level.inf"), entry.info != nullptr) << entry.what;
    EXPECT_EQ(std::filesystem::exists("level.map"), entry.propertyBytes >= 0) << entry.what;
    EXPECT_FALSE(std::filesystem::exists("missing.ase")) << entry.what;
  }
}

}  // namespace
}  // namespace navigation_testing
