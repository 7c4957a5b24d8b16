#pragma once

#include "base/LumoList.h"

class LumoPart;
class LumoSprite;

// The sprites attached to one sprite, which move with it: one part per
// attached sprite. The body refers to each attached sprite, and the sprite
// knows the body it belongs to (its OwnerBody). A sprite belongs to at most
// one body, and never to a body of its own sprite or of a sprite attached
// (through any number of bodies) to itself, so bodies never form a cycle.
class LumoBody : public LumoList {
 public:
  const char* GetClassName() const override;
  // Destroys every attached sprite, the last first.
  void DoClear() override;
  // An attached sprite deleted elsewhere takes its part along.
  void OnAbortReferenceTo(LumoObject* other) override;
  // A part.
  LumoNode* CreateItem() override;

  // The sprite's part (the existing one when attached already); null for
  // none, for a sprite of another body and for one that would close a cycle.
  LumoPart* AttachSprite(LumoSprite* sprite);
  // Destroys the sprite's part; the sprite stays.
  void DetachSprite(LumoSprite* sprite);
  // The part holding the sprite, or null.
  LumoPart* FindPart(const LumoSprite* sprite) const;
  // The attached sprite of a part.
  static LumoSprite* SpriteOf(const LumoNode* part);

  LumoSprite* Sprite = nullptr;  // the owning sprite
};
