// Sector shape texts: the input is the shape file. It is imported into a
// sector map over a 32 x 32 knowledge grid, which gets every cell's sector.
// The map must be consistent, must save and load back, and when every sector's
// id is its index (as the project's writer numbers the shapes) the reloaded
// map must save to the same bytes.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzFiles.h"
#include "fuzz/NavigationChecks.h"
#include "navigation/YLKnowledgeMap.h"
#include "navigation/YLSectors.h"

namespace {

bool IdsAreIndexes(const YLSectors& map) {
  for (int32_t index = 0; index < map.GetSectorCount(); ++index) {
    const YLSector* sector = map.GetSector(index);
    if (sector == nullptr || sector->ID != index) {
      return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string name = WriteFuzzFile("Fuzz.ase", data, size);
  std::unique_ptr<YLKnowledgeMap, tObjectDestroyer> knowledgeMap(new YLKnowledgeMap);
  FuzzRequire(knowledgeMap->Allocate(32, 32), "a 32 x 32 grid is allocated");
  YLSectors* map = knowledgeMap->GetSectors();
  FuzzRequire(map->Create(name.c_str(), knowledgeMap.get()), "an existing shape file imports");
  RequireConsistentMap(*map);
  RequireConsistentCells(*knowledgeMap);
  for (int32_t index = 0; index < map->GetVertexCount(); ++index) {
    const YLVertex* vertex = map->GetVertex(index);
    FuzzRequire(vertex != nullptr && vertex->X >= -(1 << 20) && vertex->X <= (1 << 20) &&
                    vertex->Y >= -(1 << 20) && vertex->Y <= (1 << 20),
                "every vertex lies within the map's bounds");
  }
  for (int32_t index = 0; index < map->GetBorderCount(); ++index) {
    const YLSectorBorder* border = map->GetBorder(index);
    FuzzRequire(border != nullptr && border->Left != nullptr &&
                    map->GetVertex(border->A) != nullptr && map->GetVertex(border->B) != nullptr,
                "every border joins two vertices and has a first sector");
  }

  const std::string saved = SavedRecord(*knowledgeMap);
  std::unique_ptr<LumoObject, tObjectDestroyer> reloaded(ReloadedRecord(saved));
  auto* reloadedMap = dynamic_cast<YLKnowledgeMap*>(reloaded.get());
  FuzzRequire(reloadedMap != nullptr, "a knowledge map reloads as one");
  RequireConsistentMap(*reloadedMap->GetSectors());
  if (IdsAreIndexes(*map)) {
    FuzzRequire(SavedRecord(*reloadedMap) == saved, "a reloaded map saves to the same bytes");
  }
  return 0;
}
