#include "logic/core/YLAreaPropagator.h"

#include "base/DebugFormat.h"
#include "base/LumoStream.h"
#include "logic/core/CMap.h"
#include "logic/core/RecordFields.h"

void YLAreaPropagator::DoFree() {
  Area.reset();
  YLPropagator::DoFree();
}

void YLAreaPropagator::BuildArea(int32_t radius) {
  std::unique_ptr<GroundMap, tObjectDestroyer> area(new GroundMap);
  // A new ground map starts with the centre; the area lists its own cells.
  area->Points[0].Clear();
  const int64_t limit = static_cast<int64_t>(radius) * radius;
  for (int32_t dx = -radius; dx <= radius; ++dx) {
    for (int32_t dy = -radius; dy <= radius; ++dy) {
      if (static_cast<int64_t>(dx) * dx + static_cast<int64_t>(dy) * dy < limit) {
        area->AddPoint(0, dx, dy);
      }
    }
  }
  Area = std::move(area);
}

void YLAreaPropagator::MarkArea(CMap* map, bool on) {
  if (map == nullptr || map->GetStratMap() == nullptr || Area == nullptr) {
    return;
  }
  const YLKnowledgeMap& grid = *map->GetStratMap();
  const int32_t cells = Area->GetPointCount(0);
  for (int32_t n = 0; n < cells; ++n) {
    int32_t dx = 0;
    int32_t dy = 0;
    Area->GetPoint(0, n, dx, dy);
    // Wrapping as 32-bit values do: a stored centre may hold any value.
    const int32_t x = static_cast<int32_t>(static_cast<uint32_t>(X) + static_cast<uint32_t>(dx));
    const int32_t y = static_cast<int32_t>(static_cast<uint32_t>(Y) + static_cast<uint32_t>(dy));
    // An area reaching over the map's edge marks only the cells on it.
    if (grid.IsInside(x, y)) {
      SetMark(*map, x, y, on);
    }
  }
}

bool YLAreaPropagator::ReadArea(LumoStream* stream) {
  LumoObject* loaded = nullptr;
  if (!stream->ReadObject(loaded)) {
    DebugPrint("%s: cannot read the area\n", GetClassName());
    return false;
  }
  auto* area = dynamic_cast<GroundMap*>(loaded);
  if (loaded != nullptr && area == nullptr) {
    DebugPrint("%s: a %s stands where the area belongs\n", GetClassName(), loaded->GetClassName());
    DestroyObject(loaded);
    return false;
  }
  Area.reset(area);
  return true;
}

bool YLAreaPropagator::WriteArea(LumoStream* stream) const { return stream->WriteObject(Area.get()); }

LUMO_GENERIC_FIELD(YLAreaPropagator, Duration)
LUMO_GENERIC_FIELD(YLAreaPropagator, Time)
LUMO_GENERIC_FIELD(YLAreaPropagator, X)
LUMO_GENERIC_FIELD(YLAreaPropagator, Y)
