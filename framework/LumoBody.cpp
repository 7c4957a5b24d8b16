#include "framework/LumoBody.h"

#include <new>

#include "framework/LumoPart.h"
#include "framework/LumoSprite.h"

const char* LumoBody::GetClassName() const { return "LumoBody"; }

LumoNode* LumoBody::CreateItem() { return new (std::nothrow) LumoPart; }

LumoSprite* LumoBody::SpriteOf(const LumoNode* part) {
  return part != nullptr ? reinterpret_cast<LumoSprite*>(part->Data) : nullptr;
}

LumoPart* LumoBody::FindPart(const LumoSprite* sprite) const {
  for (LumoNode* item = first; item != nullptr; item = item->next) {
    if (SpriteOf(item) == sprite) {
      return static_cast<LumoPart*>(item);
    }
  }
  return nullptr;
}

LumoPart* LumoBody::AttachSprite(LumoSprite* sprite) {
  if (sprite == nullptr) {
    return nullptr;
  }
  if (LumoPart* part = FindPart(sprite)) {
    return part;
  }
  if (sprite->OwnerBody != nullptr) {
    return nullptr;
  }
  // The owning sprite and every sprite it is attached to, however deep.
  for (const LumoSprite* owner = Sprite; owner != nullptr;
       owner = owner->OwnerBody != nullptr ? owner->OwnerBody->Sprite : nullptr) {
    if (owner == sprite) {
      return nullptr;
    }
  }
  auto* part = dynamic_cast<LumoPart*>(CreateItem());
  if (part == nullptr) {
    return nullptr;
  }
  if (Append(part) == nullptr || AddReference(sprite) == nullptr) {
    DestroyObject(part);
    return nullptr;
  }
  part->SetData(reinterpret_cast<uintptr_t>(sprite));
  sprite->OwnerBody = this;
  return part;
}

void LumoBody::DetachSprite(LumoSprite* sprite) {
  LumoPart* part = FindPart(sprite);
  if (part == nullptr) {
    return;
  }
  sprite->OwnerBody = nullptr;
  RemoveReference(sprite);
  DestroyObject(part);
}

void LumoBody::DoClear() {
  LumoList::DoClear();
  while (last != nullptr) {
    LumoNode* part = last;
    if (LumoSprite* sprite = SpriteOf(part)) {
      sprite->OwnerBody = nullptr;
      part->Data = 0;
      RemoveReference(sprite);
      DestroyObject(sprite);
    }
    DestroyObject(part);
  }
}

void LumoBody::OnAbortReferenceTo(LumoObject* other) {
  LumoList::OnAbortReferenceTo(other);
  auto* sprite = dynamic_cast<LumoSprite*>(other);
  if (sprite == nullptr) {
    return;
  }
  if (LumoPart* part = FindPart(sprite)) {
    if (sprite->OwnerBody == this) {
      sprite->OwnerBody = nullptr;
    }
    part->Data = 0;
    DestroyObject(part);
  }
}
