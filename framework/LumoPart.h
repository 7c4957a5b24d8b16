#pragma once

#include <cstdint>

#include "base/LumoNode.h"

// The node by which a body holds one attached sprite (its Data). A part
// never changes sprite: once it holds one, setting another is refused.
class LumoPart : public LumoNode {
 public:
  const char* GetClassName() const override;
  // Answers 0 (refused) while the part already holds a sprite.
  uintptr_t SetData(uintptr_t value) override;
};
