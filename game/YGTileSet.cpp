#include "game/YGTileSet.h"

#include <algorithm>
#include <cstdio>

#include "base/DebugFormat.h"
#include "base/LumoClass.h"
#include "framework/LumoGraphicList.h"
#include "framework/LumoGraphicNode.h"
#include "game/ResourceForms.h"
#include "game/YGTile.h"

namespace {

LumoClassOf<YGTileSet> classOfYGTileSet(kVersion_1_4_0_0, "YGTileSet", "LumoObjects");

}  // namespace

const char* YGTileSet::GetClassName() const { return "YGTileSet"; }

bool YGTileSet::DoRegisterObject(LumoObject* object) {
  if (dynamic_cast<YGTile*>(object) == nullptr) {
    DebugPrint("(RES) YGTileSet::DoRegisterObject() Entry %p:%s is not a YGTile\n", DebugAddress(object),
               DebugClassName(object));
    return false;
  }
  return LumoObjects::DoRegisterObject(object);
}

void YGTileSet::Create(int32_t n) {
  try {
    Clear();
    LumoGraphicList* graphics = CurrentGraphicList();
    const int32_t tiles = std::clamp(n, 0, kMaxTiles);
    for (int32_t tile = 0; tile < tiles; ++tile) {
      char name[16];
      std::snprintf(name, sizeof name, "TILE%04d", tile);
      LumoGraphicNode* graphic = graphics != nullptr ? graphics->ProvideGraphic(name) : nullptr;
      Append(new YGTile(graphic));
    }
  } catch (...) {
    DebugPrint("(INT) Unhandled exception during YGTileSet::Create(%i)\n", n);
  }
}

LumoGraphicNode* YGTileSet::GetTile(int32_t i) const {
  auto* tile = dynamic_cast<YGTile*>(At(i));
  return tile != nullptr ? tile->Graphic() : nullptr;
}
