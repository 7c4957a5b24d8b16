#pragma once

#include "base/LumoList.h"

// The engine's mouse pointers by unique name.
class LumoMouseList : public LumoList {
 public:
  LumoMouseList();

  const char* GetClassName() const override;
  // A mouse node.
  LumoNode* CreateItem() override;
};
