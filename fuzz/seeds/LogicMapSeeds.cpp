#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <initializer_list>
#include <string>

#include "base/LumoMemoryStream.h"
#include "fuzz/seeds/SeedRecords.h"
#include "fuzz/seeds/Seeds.h"
#include "logic/core/CMap.h"
#include "logic/core/CPlayer.h"
#include "logic/core/YLPlayerPolice.h"
#include "tests/navigation/PathMapDrawing.h"

namespace {

// The offset of the text as a stream stores it (its length, then the text).
size_t MarkerAt(const std::string& record, const std::string& text) {
  const std::string stored = std::string(3, '\0') + static_cast<char>(text.size()) + text;
  const size_t found = record.find(stored);
  return found == std::string::npos ? record.size() : found;
}

// Script steps the target runs after the record: four bytes each, the
// operation first. Coordinates are stored 8 above the cell.
std::string Steps(std::initializer_list<std::initializer_list<int32_t>> steps) {
  std::string bytes;
  for (const auto& step : steps) {
    for (const int32_t value : step) {
      bytes += static_cast<char>(value);
    }
  }
  return bytes;
}

// Things placed, walked across a sector border, lifted, killed and removed,
// routes asked for, a border closed, and the searches checked in between.
const std::string kMapScript =
    Steps({{0, 1, 8 + 4, 8 + 4},  {0, 3, 8 + 12, 8 + 5}, {0, 5, 8 + 25, 8 + 3},  {1, 0, 8 + 3, 8 + 2},
           {1, 0, 8 + 11, 8 + 2}, {9, 0, 8 + 10, 7},     {6, 0, 8 + 27, 8 + 17}, {7, 1, 8 + 27, 8 + 3},
           {7, 2, 8 + 3, 40},     {8, 0, 2, 0},          {6, 1, 8 + 22, 8 + 9},  {4, 6, 2, 0},
           {1, 6, 8 + 26, 8 + 15}, {4, 6, 0, 0},         {5, 1, 0, 0},           {9, 1, 8 + 12, 12},
           {2, 1, 0, 0},          {3, 3, 0, 0},          {9, 2, 8 + 8, 9},       {0, 1, 8 + 40, 8 + 1},
           {1, 7, 8 + 2, 8 + 19}, {9, 7, 1, 30}});

// Groups selected by number and for everyone, deaths, a suit changing
// sides, the table written and summed, everything reported.
const std::string kPlayerScript =
    Steps({{0, 1, 0, 0},  {1, 2, 0, 0}, {0, 255, 0, 0}, {2, 1, 0, 0},  {3, 20, 0, 0}, {8, 0, 0, 0},
           {1, 1, 0, 0},  {9, 1, 0, 0}, {9, 1, 0, 0},   {6, 7, 3, 9},  {7, 1, 128, 0}, {7, 35, 255, 255},
           {6, 36, 1, 1}, {10, 0, 0, 0}, {5, 4, 1, 0},  {4, 4, 0, 0},  {0, 3, 0, 0},   {11, 0, 0, 0}});

}  // namespace

void WriteLogicMapSeeds(const std::filesystem::path& folder) {
  // A map of four sectors whose route cache has learnt a way round a
  // closed border, with a vehicle path.
  CMap routed;
  if (!routed.Init(30, 20)) {
    return;
  }
  path_testing::DrawnMap drawn = path_testing::DrawMap({"ABD", "ACD"}, 10);
  routed.SetStratMap(drawn.knowledge.release());
  YLPathFinder& finder = routed.GetPathFinder();
  finder.FindPath(3, 3, 27, 3);
  finder.FindPath(3, 13, 17, 13);
  routed.SetBorderPassable(0, false);
  finder.FindVehiclePath(2, 2, 28, 18);
  const std::string routedRecord = SeedRecordOf(routed);
  WriteSeed(folder, "written-map-routes.bin", routedRecord + kMapScript);

  // A grid without sectors, and one without any knowledge map.
  CMap plain;
  if (plain.Init(24, 24)) {
    WriteSeed(folder, "written-map-no-sectors.bin", SeedRecordOf(plain) + kMapScript);
  }
  CMap empty;
  const std::string emptyRecord = SeedRecordOf(empty);
  WriteSeed(folder, "written-map-no-grid.bin", emptyRecord + kMapScript);

  CPlayer player;
  player.SetName("Red");
  player.OnCreated(2);
  for (ParamEnum index = 2; index < CPlayer::kParamCount; ++index) {
    player.SetParam(index, 10 * index);
  }
  player.Money = 25;
  player.Selection.AppendInt(2);
  player.Selection.AppendInt(9);
  const std::string playerRecord = SeedRecordOf(player);
  WriteSeed(folder, "written-player.bin", playerRecord + kPlayerScript);
  YLPlayerPolice police;
  police.OnCreated(2);
  WriteSeed(folder, "written-police.bin", SeedRecordOf(police) + kPlayerScript);

  // Damaged forms: no sector, more sectors than bytes, a route longer than
  // the stream, a route across a border the map does not have, a map
  // without its routes, a table and a selection longer than the stream, and
  // records cut short.
  const size_t sectorCount = MarkerAt(routedRecord, "CMapSector") - 12;
  WriteSeed(folder, "damaged-map-no-sector.bin", PatchedBigEndian(routedRecord, sectorCount, 0) + kMapScript);
  WriteSeed(folder, "damaged-map-sector-count.bin", PatchedBigEndian(routedRecord, sectorCount, 0x100000));
  const size_t firstRoute = MarkerAt(routedRecord, "paths:") + 10;
  WriteSeed(folder, "damaged-map-route-count.bin", PatchedBigEndian(routedRecord, firstRoute, 0x7FFFFFFF));
  WriteSeed(folder, "damaged-map-route-border.bin", PatchedBigEndian(routedRecord, firstRoute + 26, 999));
  WriteSeed(folder, "damaged-map-without-routes.bin",
            routedRecord.substr(0, MarkerAt(routedRecord, "paths:")) + kMapScript);
  WriteSeed(folder, "damaged-map-cut-short.bin", routedRecord.substr(0, routedRecord.size() * 2 / 3));
  const size_t paramsCount = MarkerAt(playerRecord, "params:") + 11;
  WriteSeed(folder, "damaged-player-params-count.bin", PatchedBigEndian(playerRecord, paramsCount, 0x7FFFFFFF));
  // An old table of 13 entries, whole: the game state starts as playing.
  const size_t values = paramsCount + 4;
  const std::string oldTable = playerRecord.substr(0, values + 13 * 4) +
                               playerRecord.substr(values + 4 * CPlayer::kParamCount);
  WriteSeed(folder, "written-player-old-table.bin", PatchedBigEndian(oldTable, paramsCount, 13) + kPlayerScript);
  const size_t selectionCount = paramsCount + 4 + 4 * CPlayer::kParamCount;
  WriteSeed(folder, "damaged-player-selection-count.bin", PatchedBigEndian(playerRecord, selectionCount, 0x10000000));
  WriteSeed(folder, "damaged-player-cut-short.bin", playerRecord.substr(0, playerRecord.size() / 2));
}
