#pragma once

#include "base/LumoSortedList.h"

class YGResourceSet;

// The Things list of a resource set: YGResourceNode items sorted by name,
// with its set as owner. Stored items of another class are refused.
class YGResourceList : public LumoSortedList {
 public:
  YGResourceList();

  const char* GetClassName() const override;
  bool DoRegisterObject(LumoObject* object) override;
  // A YGResourceNode (Duplicate 0, count 0).
  LumoNode* CreateItem() override;

  YGResourceSet* Owner = nullptr;
};
