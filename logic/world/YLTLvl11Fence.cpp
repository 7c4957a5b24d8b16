#include "logic/world/YLTLvl11Fence.h"

#include <cstdio>

#include "base/LumoClass.h"
#include "logic/core/CMap.h"
#include "logic/core/RecordFields.h"

namespace {

LumoClassOf<YLTLvl11Fence> classOfYLTLvl11Fence(kVersion_1_6_0_6, "YLTLvl11Fence", "YLThing");
LOGIC_FIELD_PROPERTY(YLTLvl11Fence, BorderID, PropertyInteger, "tInteger");

}  // namespace

YLTLvl11Fence::YLTLvl11Fence() = default;

const char* YLTLvl11Fence::GetClassName() const { return "YLTLvl11Fence"; }

void YLTLvl11Fence::GetDebugText(tString& text) const {
  char line[64];
  std::snprintf(line, sizeof line, "lvl11 border: %d\n", BorderID);
  text = line;
}

// The border is open exactly when the fence no longer stands; the cached
// routes go when that changes, since one may run through it.
void YLTLvl11Fence::SetBorder(int32_t borderId) {
  BorderID = borderId;
  OpenBorder(Info == nullptr || (Info->Status & StatusAlive) == 0);
}

void YLTLvl11Fence::OpenBorder(bool open) {
  CMap* map = GetMap();
  if (BorderID != 0 && map != nullptr && map->SetBorderPassable(BorderID, open)) {
    map->ResetPaths();
  }
}

void YLTLvl11Fence::Destroy() {
  OpenBorder(true);
  YLThing::Destroy();
}

void YLTLvl11Fence::GetEnds(const YLThing& thing, int32_t& x1, int32_t& y1, int32_t& x2, int32_t& y2) {
  const int32_t x = thing.Info != nullptr ? thing.Info->X : 0;
  const int32_t y = thing.Info != nullptr ? thing.Info->Y : 0;
  const bool facingSeven = thing.Info != nullptr && thing.Info->Ori == 7;
  if (facingSeven) {
    x1 = x + 1;
    y1 = y + 1;
    x2 = x - 1;
    y2 = y - 1;
  } else {
    x1 = x + 1;
    y1 = y - 1;
    x2 = x - 1;
    y2 = y + 1;
  }
}

LUMO_GENERIC_FIELD(YLTLvl11Fence, BorderID)
