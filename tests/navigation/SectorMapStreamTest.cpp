#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "SectorMapFixture.h"
#include "navigation/YLSectorPath.h"
#include "runtime/DebugLog.h"
#include "support/DebugLogReader.h"

namespace navigation_testing {
namespace {

// Loads the bytes with the debug log on; answers the object and leaves the
// log's text in log.
ObjectOwner LoadLogged(const Bytes& bytes, std::string& log) {
  EXPECT_EQ(SetDebugMode(DebugModeOverwrite), DebugModeOverwrite);
  ObjectOwner loaded = LoadRecord(bytes);
  SetDebugMode(DebugModeOff);
  log = testing_support::ReadDebugLog();
  return loaded;
}

TEST(SectorMapStream, MapSurvivesASaveAndLoadByteIdentical) {
  SectorMapOwner original = MakeTwoSquares();
  original->GetBorder(1)->SetPassable(false);
  original->GetBorder(2)->SetVehiclePassable(false);
  const Bytes saved = SaveRecord(*original);
  original.reset();

  std::string log;
  ObjectOwner loadedObject = LoadLogged(saved, log);
  auto* loaded = dynamic_cast<YLSectors*>(loadedObject.get());
  ASSERT_NE(loaded, nullptr) << log;
  EXPECT_EQ(GetCurrentSectorMap(), loaded);
  EXPECT_NE(log.find("\nYLSectors::OnLoadFrom -> 2 sectors, 7 borders, 6 vertices\n\n"),
            std::string::npos)
      << log;
  ASSERT_EQ(loaded->GetSectorCount(), 2);
  ASSERT_EQ(loaded->GetBorderCount(), 7);
  ASSERT_EQ(loaded->GetVertexCount(), 6);
  EXPECT_EQ(loaded->GetVertex(5)->X, 20);
  EXPECT_EQ(loaded->GetVertex(5)->Y, 10);
  const YLSectorBorder* shared = loaded->GetBorder(1);
  EXPECT_EQ(shared->Left, loaded->GetSector(0));
  EXPECT_EQ(shared->Right, loaded->GetSector(1));
  EXPECT_EQ(shared->Passable, 14);
  EXPECT_EQ(shared->ID, 1u);  // computed when it was saved
  EXPECT_EQ(loaded->GetBorder(2)->Passable, 13);
  EXPECT_EQ(loaded->GetBorder(6)->Right, nullptr);
  EXPECT_EQ(loaded->GetSector(1)->GetBorder(3), shared);
  EXPECT_EQ(loaded->GetSector(1)->ID, 1);
  EXPECT_TRUE(loaded->GetSector(1)->Walkable);
  EXPECT_EQ(SaveRecord(*loaded), saved);
}

TEST(SectorMapStream, SectorBorderListsKeepNoneEmptyAndFilled) {
  SectorMapOwner map = MakeTwoSquares();
  auto* none = new YLSector;
  auto* empty = new YLSector;
  ASSERT_TRUE(empty->CreateBorderList());
  ASSERT_TRUE(map->AppendSector(none));
  ASSERT_TRUE(map->AppendSector(empty));
  std::unique_ptr<YLSectors, tObjectDestroyer> loaded = LoadAs<YLSectors>(SaveRecord(*map));
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(loaded->GetSector(2)->Borders, nullptr);
  ASSERT_NE(loaded->GetSector(3)->Borders, nullptr);
  EXPECT_EQ(loaded->GetSector(3)->GetBorderCount(), 0);
  EXPECT_EQ(loaded->GetSector(0)->GetBorderCount(), 4);
}

// A sector record read by itself, outside its map's load, keeps the border
// indexes it read and saves them again without any map; an empty list needs
// no map either.
TEST(SectorMapStream, ASectorLoadedOnItsOwnSavesOnItsOwn) {
  Bytes filled;
  Bytes empty;
  {
    SectorMapOwner map = MakeTwoSquares();
    ASSERT_EQ(map->GetSector(1)->GetBorderCount(), 4);
    filled = SaveRecord(*map->GetSector(1));
    auto* bare = new YLSector;
    ASSERT_TRUE(bare->CreateBorderList());
    ASSERT_TRUE(map->AppendSector(bare));
    empty = SaveRecord(*bare);
  }
  ASSERT_EQ(GetCurrentSectorMap(), nullptr);
  for (const Bytes& saved : {filled, empty}) {
    std::unique_ptr<YLSector, tObjectDestroyer> loaded = LoadAs<YLSector>(saved);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->GetBorderCount(), 0);
    EXPECT_EQ(SaveRecord(*loaded), saved);
  }
  YLSector fresh;
  ASSERT_TRUE(fresh.CreateBorderList());
  LumoMemoryStream stream;
  ASSERT_TRUE(stream.OpenNew(64, 1, 0));
  EXPECT_TRUE(fresh.SaveObject(&stream, 0));
}

// A border record written before the tagged chunks existed ends after Right.
TEST(SectorMapStream, BorderWithoutTaggedChunksKeepsItsDefaultsAndTheNextRecordReads) {
  SectorMapOwner map = MakeTwoSquares();
  Bytes bytes;
  AddHeader(bytes, "YLSectorBorder");
  for (uint32_t value : {2u, 3u, 1u, 0xFFFFFFFFu}) {
    AddInteger(bytes, value);
  }
  AddHeader(bytes, "YLVertex");
  AddInteger(bytes, 12);
  AddInteger(bytes, static_cast<uint32_t>(-34));

  LumoMemoryStream stream;
  ASSERT_TRUE(stream.OpenBuffer(bytes.data(), static_cast<uint32_t>(bytes.size()), 1, 0));
  ObjectOwner first(LoadObject(&stream, nullptr));
  ObjectOwner second(LoadObject(&stream, nullptr));
  auto* border = dynamic_cast<YLSectorBorder*>(first.get());
  auto* vertex = dynamic_cast<YLVertex*>(second.get());
  ASSERT_NE(border, nullptr);
  ASSERT_NE(vertex, nullptr);
  EXPECT_EQ(border->A, 2);
  EXPECT_EQ(border->B, 3);
  EXPECT_EQ(border->Left, map->GetSector(1));
  EXPECT_EQ(border->Right, nullptr);
  EXPECT_EQ(border->Passable, 15);
  EXPECT_EQ(border->ID, kUnsetBorderID);
  EXPECT_EQ(vertex->X, 12);
  EXPECT_EQ(vertex->Y, -34);
}

TEST(SectorMapStream, BorderSidesOutsideTheMapLoadAsNone) {
  SectorMapOwner map = MakeTwoSquares();
  Bytes bytes;
  AddHeader(bytes, "YLSectorBorder");
  for (uint32_t value : {0u, 1u, 2u, 0x80000000u}) {
    AddInteger(bytes, value);
  }
  AddText(bytes, "pas:");
  bytes.push_back(3);
  std::unique_ptr<YLSectorBorder, tObjectDestroyer> border = LoadAs<YLSectorBorder>(bytes);
  ASSERT_NE(border, nullptr);
  EXPECT_EQ(border->Left, nullptr);
  EXPECT_EQ(border->Right, nullptr);
  EXPECT_EQ(border->Passable, 3);
}

// A border's sides are read back by their place in the map, so a sector
// whose id is not its index (a level whose shapes are numbered otherwise)
// still comes back as the same side, and the map saves as it loaded.
TEST(SectorMapStream, BorderSidesComeBackWhenASectorsIdIsNotItsIndex) {
  SectorMapOwner original = MakeTwoSquares();
  original->GetSector(1)->SetID(7);
  const Bytes saved = SaveRecord(*original);
  original.reset();
  ObjectOwner loadedObject = LoadRecord(saved);
  auto* loaded = dynamic_cast<YLSectors*>(loadedObject.get());
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(loaded->GetSector(1)->ID, 7);
  EXPECT_EQ(loaded->GetBorder(1)->Left, loaded->GetSector(0));
  EXPECT_EQ(loaded->GetBorder(1)->Right, loaded->GetSector(1));
  EXPECT_EQ(loaded->GetBorder(4)->Left, loaded->GetSector(1));
  EXPECT_EQ(SaveRecord(*loaded), saved);
}

TEST(SectorMapStream, BorderNeedsACurrentMapToSaveOrLoad) {
  Bytes saved;
  {
    SectorMapOwner map = MakeTwoSquares();
    saved = SaveRecord(*map->GetBorder(1));
  }
  ASSERT_EQ(GetCurrentSectorMap(), nullptr);
  std::string log;
  EXPECT_EQ(LoadLogged(saved, log), nullptr);
  EXPECT_NE(log.find("no current sector map"), std::string::npos) << log;
  YLSectorBorder border;
  LumoMemoryStream stream;
  ASSERT_TRUE(stream.OpenNew(64, 1, 0));
  EXPECT_FALSE(border.SaveObject(&stream, 0));
}

TEST(SectorMapStream, OldPathsObjectOfASectorIsReadAndDropped) {
  Bytes paths;
  {
    // Even an old paths object that holds a sector map of its own leaves
    // the current map as it was.
    LumoObjects oldPaths;
    oldPaths.Append(new YLSectors);
    paths = SaveRecord(oldPaths);
  }
  SectorMapOwner map = MakeTwoSquares();
  Bytes bytes;
  AddHeader(bytes, "YLSector");
  AddInteger(bytes, 0xFFFFFFFF);  // no border list
  bytes.insert(bytes.end(), paths.begin(), paths.end());
  bytes.push_back(1);   // Walkable
  bytes.push_back(42);  // ID
  std::unique_ptr<YLSector, tObjectDestroyer> sector = LoadAs<YLSector>(bytes);
  ASSERT_NE(sector, nullptr);
  EXPECT_TRUE(sector->Walkable);
  EXPECT_EQ(sector->ID, 42);
  EXPECT_EQ(GetCurrentSectorMap(), map.get());
}

TEST(SectorMapStream, DamagedMapsAreRefused) {
  SectorMapOwner original = MakeTwoSquares();
  const Bytes saved = SaveRecord(*original);
  original.reset();
  const int64_t sectorCount = FindAfterName(saved, "YLSector");
  ASSERT_GT(sectorCount, 0);
  const struct {
    const char* what;
    uint32_t count;
    uint32_t firstIndex;
    const char* logged;
  } cases[] = {
      {"border count past the stream", 0x40000000, 0,
       "the stored count 1073741824 of Borders exceeds"},
      {"border count negative", 0xFFFFFFFE, 0,
       "the stored count -2 of Borders is not a valid count"},
      {"border index past the map", 4, 7, "sector 0 names border 7, which the map does not hold"},
      {"border index negative", 4, 0xFFFFFFF0, "sector 0 names border -16"},
  };
  for (const auto& entry : cases) {
    Bytes bytes = saved;
    PatchInteger(bytes, sectorCount, entry.count);
    PatchInteger(bytes, sectorCount + 4, entry.firstIndex);
    std::string log;
    EXPECT_EQ(LoadLogged(bytes, log), nullptr) << entry.what;
    EXPECT_NE(log.find(entry.logged), std::string::npos) << entry.what << "\n" << log;
  }
}

TEST(SectorMapStream, AWrongKindOfItemInACollectionIsRefused) {
  SectorMapOwner map = MakeTwoSquares();
  // The map's record with its vertex collection swapped for one that also
  // holds a sector (a map only ever appends vertices there).
  LumoObjects vertices(true);
  LumoObjects mixed(true);
  for (int32_t index = 0; index < map->GetVertexCount(); ++index) {
    const YLVertex* vertex = map->GetVertex(index);
    ASSERT_TRUE(vertices.Append(new YLVertex(vertex->X, vertex->Y)));
    ASSERT_TRUE(mixed.Append(new YLVertex(vertex->X, vertex->Y)));
  }
  ASSERT_TRUE(mixed.Append(new YLSector));
  Bytes saved = SaveRecord(*map);
  const Bytes plain = SaveRecord(vertices);
  const Bytes swapped = SaveRecord(mixed);
  const auto at = std::search(saved.begin(), saved.end(), plain.begin(), plain.end());
  ASSERT_NE(at, saved.end());
  const auto offset = at - saved.begin();
  saved.erase(at, at + static_cast<std::ptrdiff_t>(plain.size()));
  saved.insert(saved.begin() + offset, swapped.begin(), swapped.end());
  std::string log;
  EXPECT_EQ(LoadLogged(saved, log), nullptr);
  EXPECT_NE(log.find("Vertices holds a YLSector at 6"), std::string::npos) << log;
}

// Every prefix and every single damaged byte either loads or is refused;
// the sanitizer build catches any read out of bounds.
TEST(SectorMapStream, TruncatedAndCorruptedStreamsNeverReadOutOfBounds) {
  SectorMapOwner original = MakeTwoSquares();
  const Bytes saved = SaveRecord(*original);
  original.reset();
  for (size_t length = 0; length < saved.size(); ++length) {
    EXPECT_EQ(LoadRecord(Bytes(saved.begin(), saved.begin() + static_cast<std::ptrdiff_t>(length))),
              nullptr)
        << length;
  }
  for (size_t at = 0; at < saved.size(); ++at) {
    for (uint8_t value : {uint8_t{0x00}, uint8_t{0x7F}, uint8_t{0xFF}}) {
      Bytes bytes = saved;
      bytes[at] = value;
      ObjectOwner loaded = LoadRecord(bytes);
      if (auto* map = dynamic_cast<YLSectors*>(loaded.get())) {
        // Whatever loaded is a consistent map: every border of every sector
        // is one of the map's.
        for (int32_t index = 0; index < map->GetSectorCount(); ++index) {
          const YLSector* sector = map->GetSector(index);
          for (int32_t position = 0; sector != nullptr && position < sector->GetBorderCount();
               ++position) {
            EXPECT_GE(map->IndexOfBorder(sector->GetBorder(position)), 0) << at;
          }
        }
      }
    }
  }
}

TEST(SectorPathStream, RouteRoundTripsAndBadCountsAreRefused) {
  YLSectorPath path;
  const int32_t route[] = {3, 0, 254};
  ASSERT_TRUE(path.SetRoute(route, 3));
  const Bytes saved = SaveRecord(path);
  std::unique_ptr<YLSectorPath, tObjectDestroyer> loaded = LoadAs<YLSectorPath>(saved);
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(loaded->Route, (std::vector<int32_t>{3, 0, 254}));
  EXPECT_EQ(loaded->GetRouteAt(3), -1);

  const int64_t countAt = FindAfterName(saved, "YLSectorPath");
  for (uint32_t count : {4u, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
    Bytes bytes = saved;
    PatchInteger(bytes, countAt, count);
    EXPECT_EQ(LoadRecord(bytes), nullptr) << count;
  }
  YLSectorPath empty;
  std::unique_ptr<YLSectorPath, tObjectDestroyer> none = LoadAs<YLSectorPath>(SaveRecord(empty));
  ASSERT_NE(none, nullptr);
  EXPECT_EQ(none->GetRouteCount(), 0);
}

}  // namespace
}  // namespace navigation_testing
