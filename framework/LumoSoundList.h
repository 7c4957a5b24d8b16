#pragma once

#include "framework/LumoMediaList.h"

class LumoSoundNode;

// The sound source of a level: sound nodes by unique name.
class LumoSoundList : public LumoMediaList {
 public:
  LumoSoundList();

  const char* GetClassName() const override;
  // A sound node.
  LumoNode* CreateItem() override;
  // Takes only sound nodes.
  bool DoRegisterObject(LumoObject* object) override;

  // A second node of the same name on a copy of an item's sound, appended,
  // so that one sound can play several times at once. The name's lookups
  // still find the first node. Null for a node of another list, one without
  // a sound, or when the copy cannot be made.
  LumoSoundNode* DuplicateSound(LumoSoundNode* node);
};
