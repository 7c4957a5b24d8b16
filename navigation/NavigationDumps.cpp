// The debug dumps of the sector map and the knowledge map.

#include <cstdio>

#include "base/DebugFormat.h"
#include "navigation/YLKnowledgeMap.h"
#include "navigation/YLSectors.h"

namespace {

int32_t SideID(const YLSector* side) {
  return side != nullptr ? side->ID : -1;
}

}  // namespace

void YLSectors::DebugDump() const {
  DebugPrint("\n\n==> Debugprint of YLSectors:\n");
  DebugPrint(" %d Sectors:\n", GetSectorCount());
  for (int32_t index = 0; index < GetSectorCount(); ++index) {
    const YLSector* sector = GetSector(index);
    DebugPrint("  sector%d: ", index);
    DebugPrint("%d borders:", sector != nullptr ? sector->GetBorderCount() : 0);
    for (int32_t position = 0; sector != nullptr && position < sector->GetBorderCount();
         ++position) {
      DebugPrint(" %d", IndexOfBorder(sector->GetBorder(position)));
    }
    DebugPrint("\n");
  }
  DebugPrint(" %d Borders:\n", GetBorderCount());
  for (int32_t index = 0; index < GetBorderCount(); ++index) {
    const YLSectorBorder* border = GetBorder(index);
    if (border == nullptr) {
      DebugPrint("  border%d: null pointer!!!\n", index);
      continue;
    }
    DebugPrint("  border%d: points %d %d; left=%d right=%d\n", index, border->A.Get(),
               border->B.Get(), SideID(border->Left), SideID(border->Right));
  }
  DebugPrint(" %d Vertices:\n", GetVertexCount());
  for (int32_t index = 0; index < GetVertexCount(); ++index) {
    const YLVertex* vertex = GetVertex(index);
    if (vertex == nullptr) {
      DebugPrint("  vertex%d: null pointer!!!\n", index);
      continue;
    }
    DebugPrint("  vertex%d(%d,%d)\n", index, vertex->X.Get(), vertex->Y.Get());
  }
  DebugPrint("==> Done\n\n\n");
}

void YLKnowledgeMap::DumpCell(int32_t x, int32_t y, char* text, size_t capacity) const {
  if (text == nullptr || capacity == 0) {
    return;
  }
  if (!IsInside(x, y)) {
    std::snprintf(text, capacity, "(%d,%d) position not valid\n", x, y);
    return;
  }
  std::snprintf(text, capacity, "(%d,%d) sector%d unit%d flags=0x%x\n", x, y, GetSector(x, y),
                GetUnit(x, y), static_cast<unsigned>(GetFlagsByte(x, y)));
}
