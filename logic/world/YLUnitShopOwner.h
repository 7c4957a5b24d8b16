#pragma once

#include <cstdint>

#include "base/tCollection.h"
#include "logic/world/YLUnit.h"

// Stands on the door of a shop and shoots at whoever attacks it.
class YLUnitShopOwner : public YLUnit {
 public:
  YLUnitShopOwner();
  const char* GetClassName() const override;

  int32_t ShopID = 0;  // the shop it guards
  tCollection<int32_t> Attackers;
  int32_t Countdown = -1;  // -1: idle
};
