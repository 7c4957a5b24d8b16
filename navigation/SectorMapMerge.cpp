// The merge step of the sector map: joins what a map holds twice. The import
// never runs it (shared points and edges are found as they are read); it
// serves maps put together from several sources.

#include "base/DebugFormat.h"
#include "navigation/YLSectors.h"

namespace {

void ReplaceBorderInSectors(const YLSectors& map, const YLSectorBorder* later,
                            YLSectorBorder* first) {
  for (int32_t index = 0; index < map.GetSectorCount(); ++index) {
    YLSector* sector = map.GetSector(index);
    if (sector != nullptr) {
      sector->ReplaceBorder(later, first);
    }
  }
}

}  // namespace

void YLSectors::Merge() {
  for (int32_t first = 0; first < GetVertexCount(); ++first) {
    const YLVertex* kept = GetVertex(first);
    for (int32_t later = first + 1; kept != nullptr && later < GetVertexCount(); ++later) {
      const YLVertex* copy = GetVertex(later);
      if (copy == nullptr || copy->X != kept->X || copy->Y != kept->Y) {
        continue;
      }
      for (int32_t index = 0; index < GetBorderCount(); ++index) {
        YLSectorBorder* border = GetBorder(index);
        if (border != nullptr && border->A == later) {
          border->SetA(first);
        }
        if (border != nullptr && border->B == later) {
          border->SetB(first);
        }
      }
      Vertices.Edit()->ClearAt(later);
    }
  }
  for (int32_t first = 0; first < GetBorderCount(); ++first) {
    YLSectorBorder* kept = GetBorder(first);
    for (int32_t later = first + 1; kept != nullptr && later < GetBorderCount(); ++later) {
      const YLSectorBorder* copy = GetBorder(later);
      const bool sameVertices = copy != nullptr && ((copy->A == kept->A && copy->B == kept->B) ||
                                                    (copy->A == kept->B && copy->B == kept->A));
      if (!sameVertices) {
        continue;
      }
      // Every sector is re-pointed first; the checks run once per pair.
      ReplaceBorderInSectors(*this, copy, kept);
      if (copy->Left == nullptr) {
        DebugPrint("Border not added to sector!\n");
      } else if (kept->Right != nullptr) {
        DebugPrint("Border in three sectors during optimize!\n");
      } else {
        kept->SetRight(copy->Left);
      }
      Borders.Edit()->ClearAt(later);
    }
  }
}
