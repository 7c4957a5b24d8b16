#pragma once

#include <cstdint>

#include "logic/world/YLTBuilding.h"

// The shops where a player spends money on its units.

class YLTDopeHouse : public YLTBuilding {
 public:
  YLTDopeHouse();
  const char* GetClassName() const override;

  int32_t Unused = 0;
};

// Its record's SuitChick counts the girls it still offers.
class YLTSexShop : public YLTBuilding {
 public:
  YLTSexShop();
  const char* GetClassName() const override;
};

// Its record's SuitChick counts the suits it still offers.
class YLTSuitHangout : public YLTBuilding {
 public:
  YLTSuitHangout();
  const char* GetClassName() const override;
  // Units inside wait there (situation 6), as in a place of their own.
  bool PlaceKindC() const override;

  int32_t Suit = 0;
};

// Sells weapon upgrades and ammunition up to its technology level.
class YLTWeaponShop : public YLTBuilding {
 public:
  static constexpr int32_t kMaxTech = 3;

  YLTWeaponShop();
  const char* GetClassName() const override;

  int32_t tech = kMaxTech;
  int32_t Unused = 0;
};
