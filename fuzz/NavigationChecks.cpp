#include "fuzz/NavigationChecks.h"

#include <cstring>
#include <vector>

#include "base/LumoClass.h"
#include "base/LumoMemoryStream.h"
#include "fuzz/FuzzCheck.h"
#include "navigation/YLKnowledgeMap.h"
#include "navigation/YLSectors.h"

void RequireConsistentMap(const YLSectors& map) {
  for (int32_t index = 0; index < map.GetSectorCount(); ++index) {
    const YLSector* sector = map.GetSector(index);
    for (int32_t position = 0; sector != nullptr && position < sector->GetBorderCount();
         ++position) {
      FuzzRequire(map.IndexOfBorder(sector->GetBorder(position)) >= 0,
                  "every border of a sector is one of the map's");
    }
  }
}

void RequireConsistentCells(const YLKnowledgeMap& knowledgeMap) {
  const YLSectors* map = knowledgeMap.GetSectors();
  FuzzRequire(map != nullptr, "a knowledge map has a sector map");
  std::vector<bool> known(256, false);
  known[kNoSector] = true;
  for (int32_t index = 0; index < map->GetSectorCount(); ++index) {
    if (const YLSector* sector = map->GetSector(index)) {
      known[sector->ID] = true;
    }
  }
  for (int32_t y = 0; y < knowledgeMap.GetHeight(); ++y) {
    for (int32_t x = 0; x < knowledgeMap.GetWidth(); ++x) {
      FuzzRequire(known[knowledgeMap.GetSector(x, y)],
                  "a cell's sector is none or one of the map's");
    }
  }
}

std::string SavedRecord(LumoObject& object) {
  LumoMemoryStream stream;
  FuzzRequire(stream.OpenNew(64, 1, 0) && stream.SetGrowth(4096) != 0,
              "a memory stream opens for writing");
  FuzzRequire(object.SaveObject(&stream, 0), "a loaded or built map saves");
  return std::string(reinterpret_cast<const char*>(stream.buffer), stream.position);
}

LumoObject* ReloadedRecord(const std::string& record) {
  std::vector<uint8_t> bytes(record.begin(), record.end());
  bytes.push_back(0);
  LumoMemoryStream stream;
  FuzzRequire(stream.OpenBuffer(bytes.data(), static_cast<uint32_t>(record.size()), 1, 0),
              "a memory stream opens on a saved record");
  LumoObject* reloaded = LoadObject(&stream, nullptr);
  FuzzRequire(reloaded != nullptr, "a saved map loads again");
  FuzzRequire(stream.GetPosition() == static_cast<int32_t>(record.size()),
              "a saved map is read to its end");
  return reloaded;
}
