#pragma once

#include <cstdint>

#include "logic/world/YLTBuilding.h"

// A pub: a building where its owner recruits fans and buys beer. Its record
// is a pub record with the recruit counters that it sells from.
class YLTPub : public YLTBuilding {
 public:
  YLTPub();

  const char* GetClassName() const override;

  // Kept for the stored layout; the recruit counts sold from are the
  // record's.
  int32_t CountRatje = 0;
  int32_t CountGabber = 0;
  int32_t CountYobbozer = 0;
  int32_t CountBiker = 0;
  int32_t CountSkin = 0;
  int32_t CountRozav = 0;

 protected:
  ThingInfo* MakeInfo() const override;
};
