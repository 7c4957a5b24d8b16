#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "SectorMapFixture.h"
#include "navigation/YLKnowledgeMap.h"
#include "runtime/DebugLog.h"
#include "support/DebugLogReader.h"

namespace navigation_testing {
namespace {

using KnowledgeMapOwner = std::unique_ptr<YLKnowledgeMap, tObjectDestroyer>;

constexpr uint32_t kUnitAndMarks = 77 | YLKnowledgeMap::kMarkA | YLKnowledgeMap::kMarkB;

KnowledgeMapOwner MapOfSize(int32_t width, int32_t height) {
  KnowledgeMapOwner map(new YLKnowledgeMap);
  EXPECT_TRUE(map->Allocate(width, height));
  return map;
}

TEST(KnowledgeMap, OutsideTheGridQueriesGiveNeutralValues) {
  KnowledgeMapOwner map = MapOfSize(32, 40);
  for (int32_t y = 0; y < 40; ++y) {
    for (int32_t x = 0; x < 32; ++x) {
      map->SetCell(x, y, 0xFFFFFFFF);
    }
  }
  const struct {
    int32_t x, y;
  } outside[] = {{-1, 0}, {0, -1}, {32, 0}, {0, 40}, {-2147483647 - 1, 5}};
  for (const auto& at : outside) {
    EXPECT_EQ(map->GetCell(at.x, at.y), 0u) << at.x << "," << at.y;
    EXPECT_EQ(map->GetUnit(at.x, at.y), 0);
    EXPECT_EQ(map->GetSector(at.x, at.y), kNoSector);
    EXPECT_EQ(map->GetFlagsByte(at.x, at.y), 0);
    EXPECT_TRUE(map->IsOccupied(at.x, at.y));
    EXPECT_FALSE(map->IsWater(at.x, at.y) || map->IsOnFire(at.x, at.y) ||
                 map->IsGassed(at.x, at.y));
    EXPECT_FALSE(map->HasMarkA(at.x, at.y) || map->HasMarkB(at.x, at.y) ||
                 map->HasBit22(at.x, at.y));
    EXPECT_FALSE(map->IsFree(at.x, at.y));
  }
  EXPECT_EQ(map->GetCell(31, 39), 0xFFFFFFFF);
  // A map without a grid has no inside at all.
  YLKnowledgeMap empty;
  EXPECT_TRUE(empty.IsOccupied(0, 0));
  EXPECT_EQ(empty.GetSector(0, 0), kNoSector);
}

TEST(KnowledgeMap, ChangesKeepTheCellWordsRules) {
  using Change = std::function<void(YLKnowledgeMap&)>;
  const struct {
    const char* what;
    uint32_t before;
    Change change;
    uint32_t after;
  } cases[] = {
      {"clearing occupied clears mark B, mark A and the unit",
       kUnitAndMarks | YLKnowledgeMap::kOccupied,
       [](YLKnowledgeMap& map) { map.SetOccupied(3, 4, false); }, 0},
      {"setting occupied", 0, [](YLKnowledgeMap& map) { map.SetOccupied(3, 4, true); },
       YLKnowledgeMap::kOccupied},
      {"setting mark A sets mark B", 0, [](YLKnowledgeMap& map) { map.SetMarkA(3, 4, true); },
       YLKnowledgeMap::kMarkA | YLKnowledgeMap::kMarkB},
      {"clearing mark A keeps mark B", kUnitAndMarks,
       [](YLKnowledgeMap& map) { map.SetMarkA(3, 4, false); }, 77 | YLKnowledgeMap::kMarkB},
      {"clearing mark B clears mark A and the unit", kUnitAndMarks | YLKnowledgeMap::kMarkC,
       [](YLKnowledgeMap& map) { map.SetMarkB(3, 4, false); }, YLKnowledgeMap::kMarkC},
      {"mark C", 0, [](YLKnowledgeMap& map) { map.SetMarkC(3, 4, true); }, YLKnowledgeMap::kMarkC},
      {"fire and gas", YLKnowledgeMap::kFire,
       [](YLKnowledgeMap& map) {
         map.SetFire(3, 4, false);
         map.SetGas(3, 4, true);
       },
       YLKnowledgeMap::kGas},
      {"unit replaces bits 0-15", 0xABCD0000u | 12,
       [](YLKnowledgeMap& map) { map.SetUnit(3, 4, 65535); }, 0xABCDFFFFu},
      {"unit 65536 is refused", 12, [](YLKnowledgeMap& map) { map.SetUnit(3, 4, 65536); }, 12},
      {"negative unit is refused", 12, [](YLKnowledgeMap& map) { map.SetUnit(3, 4, -1); }, 12},
      {"sector replaces bits 24-31", 0xFF00FFFFu,
       [](YLKnowledgeMap& map) { map.SetSector(3, 4, 0x12); }, 0x1200FFFFu},
  };
  for (const auto& entry : cases) {
    KnowledgeMapOwner map = MapOfSize(32, 32);
    map->SetCell(3, 4, entry.before);
    entry.change(*map);
    EXPECT_EQ(map->GetCell(3, 4), entry.after) << entry.what;
    EXPECT_EQ(map->GetCell(4, 3), 0u) << entry.what;
  }
}

TEST(KnowledgeMap, FreeCellsHaveNoneOfTheBlockingBits) {
  KnowledgeMapOwner map = MapOfSize(32, 32);
  const struct {
    uint32_t word;
    bool free;
  } cases[] = {{0, true},
               {YLKnowledgeMap::kFire | YLKnowledgeMap::kGas | YLKnowledgeMap::kMarkC | 99, true},
               {YLKnowledgeMap::kOccupied, false},
               {YLKnowledgeMap::kWater, false},
               {YLKnowledgeMap::kMarkA, false},
               {YLKnowledgeMap::kMarkB, false}};
  for (const auto& entry : cases) {
    map->SetCell(0, 0, entry.word);
    EXPECT_EQ(map->IsFree(0, 0), entry.free) << std::hex << entry.word;
  }
}

TEST(KnowledgeMap, OutsideChangesAreIgnoredAndSomeAreLogged) {
  KnowledgeMapOwner map = MapOfSize(32, 32);
  ASSERT_EQ(SetDebugMode(DebugModeOverwrite), DebugModeOverwrite);
  map->SetOccupied(32, 1, true);
  map->SetFire(-1, 2, true);
  map->SetGas(3, 32, false);
  map->SetUnit(40, 40, 5);
  map->SetUnit(1, 1, 65536);
  map->SetMarkA(-5, -5, true);
  map->SetCell(32, 32, 1);
  SetDebugMode(DebugModeOff);
  EXPECT_EQ(testing_support::ReadDebugLog(),
            "YLKnowledgeMap::SetOccupied(32,1,1) -> invalid position\n"
            "YLKnowledgeMap::SetFire(-1,2,1) -> invalid position\n"
            "YLKnowledgeMap::SetGas(3,32,0) -> invalid position\n"
            "YLKnowledgeMap::SetUnit(1,1,65536) -> unitID too big\n");
}

TEST(KnowledgeMap, ResizeKeepsTheCellsBothGridsShare) {
  KnowledgeMapOwner map = MapOfSize(3, 2);
  for (int32_t y = 0; y < 2; ++y) {
    for (int32_t x = 0; x < 3; ++x) {
      map->SetCell(x, y, static_cast<uint32_t>(10 * y + x + 1));
    }
  }
  YLSectors* current = GetCurrentSectorMap();
  ASSERT_TRUE(map->Resize(2, 4));
  EXPECT_EQ(GetCurrentSectorMap(), current);
  EXPECT_EQ(map->GetWidth(), 2);
  EXPECT_EQ(map->GetHeight(), 4);
  const uint32_t expected[4][2] = {{1, 2}, {11, 12}, {0, 0}, {0, 0}};
  for (int32_t y = 0; y < 4; ++y) {
    for (int32_t x = 0; x < 2; ++x) {
      EXPECT_EQ(map->GetCell(x, y), expected[y][x]) << x << "," << y;
    }
  }
  EXPECT_FALSE(map->Resize(-1, 4));
  EXPECT_EQ(map->GetCell(1, 1), 12u);
  EXPECT_FALSE(map->Allocate(1 << 20, 1 << 20));
  EXPECT_EQ(map->GetWidth(), 0);
}

TEST(KnowledgeMap, DumpCellDescribesTheCell) {
  KnowledgeMapOwner map = MapOfSize(32, 32);
  map->SetCell(2, 3, 0x07250000u | 513);
  char text[128];
  map->DumpCell(2, 3, text, sizeof text);
  EXPECT_STREQ(text, "(2,3) sector7 unit513 flags=0x25\n");
  map->DumpCell(2, 32, text, sizeof text);
  EXPECT_STREQ(text, "(2,32) position not valid\n");
}

TEST(KnowledgeMapStream, DataIsBigEndianSizesThenLittleEndianWords) {
  KnowledgeMapOwner map = MapOfSize(2, 1);
  map->SetCell(0, 0, 0x11223344);
  map->SetCell(1, 0, 0xFF000001);
  const Bytes saved = SaveRecord(*map);
  const int64_t data = FindAfterName(saved, "YLKnowledgeMap");
  ASSERT_GT(data, 0);
  const Bytes expected = {0, 0, 0, 2, 0, 0, 0, 1, 0x44, 0x33, 0x22, 0x11, 0x01, 0, 0, 0xFF};
  EXPECT_EQ(Bytes(saved.begin() + data, saved.begin() + data + 16), expected);
  EXPECT_EQ(FindAfterName(saved, "YLSectors"), data + 16 + 8 + 4 + 9);
}

TEST(KnowledgeMapStream, BadGridSizesAndTruncationsAreRefused) {
  KnowledgeMapOwner map = MapOfSize(4, 3);
  const Bytes saved = SaveRecord(*map);
  map.reset();
  const int64_t data = FindAfterName(saved, "YLKnowledgeMap");
  const struct {
    uint32_t width, height;
  } cases[] = {
      {5, 3}, {0xFFFFFFFF, 3}, {4, 0x80000000}, {0x10000, 0x10000}, {0x7FFFFFFF, 0x7FFFFFFF}};
  for (const auto& entry : cases) {
    Bytes bytes = saved;
    PatchInteger(bytes, data, entry.width);
    PatchInteger(bytes, data + 4, entry.height);
    EXPECT_EQ(LoadRecord(bytes), nullptr) << entry.width << "x" << entry.height;
  }
  for (size_t length = 0; length < saved.size(); ++length) {
    EXPECT_EQ(LoadRecord(Bytes(saved.begin(), saved.begin() + static_cast<std::ptrdiff_t>(length))),
              nullptr)
        << length;
  }
  // A smaller grid that leaves the rest of the cells to the next field reads
  // a sector map out of cell bytes, which fails.
  Bytes smaller = saved;
  PatchInteger(smaller, data, 2);
  EXPECT_EQ(LoadRecord(smaller), nullptr);
}

}  // namespace
}  // namespace navigation_testing
