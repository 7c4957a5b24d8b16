#pragma once

#include <cstdint>

#include "base/LumoObjects.h"

class LumoGraphicNode;

// The ground tiles: one YGTile per tile number, tile i showing the graphic
// "TILE" + i (four digits). A stored set holds only tiles.
class YGTileSet : public LumoObjects {
 public:
  // Tile numbers are 16-bit.
  static constexpr int32_t kMaxTiles = 65536;

  const char* GetClassName() const override;
  bool DoRegisterObject(LumoObject* object) override;

  // n tiles from the current level's graphic list (n clamped to
  // 0..kMaxTiles).
  void Create(int32_t n);
  // The graphic of tile number i, null when there is none.
  LumoGraphicNode* GetTile(int32_t i) const;
};
