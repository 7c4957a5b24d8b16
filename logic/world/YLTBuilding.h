#pragma once

#include <cstdint>

#include "base/tCollection.h"
#include "logic/core/BuildingInfo.h"
#include "logic/world/YLPoliceContainer.h"
#include "logic/world/YLTContainerThing.h"

// A building: a container that units enter and leave, that a player can
// own and that holds money. Its record is a building record whose kind
// (BuildingType) the logic's building factory sets.
class YLTBuilding : public YLTContainerThing {
 public:
  // The building kinds of the record.
  static constexpr int32_t kHome = 1;
  static constexpr int32_t kOther = 2;
  static constexpr int32_t kPub = 3;
  static constexpr int32_t kDopeHouse = 4;
  static constexpr int32_t kWeaponShop = 5;
  static constexpr int32_t kGirls = 6;
  static constexpr int32_t kHotel = 7;
  static constexpr int32_t kPublic = 9;
  static constexpr int32_t kBank = 12;
  static constexpr int32_t kPoliceDept = 13;

  YLTBuilding();

  const char* GetClassName() const override;
  // A building record of armour 0.85, starting the move of that number.
  void CreateInfo(int32_t moveNumber) override;
  // The type, then the armour and money of the building table's row for it.
  void SetType(int32_t type) override;
  // A new facing rebuilds the footprint.
  void SetOrientation(uint8_t orientation) override;
  // A fresh footprint with the wall of the current facing.
  void BuildGroundMap() override;
  bool OnAddToMap(CMap* map) override;
  bool PlaceKindA() const override;
  bool PlaceKindC() const override;

  void SetBuildingType(int32_t type);
  void AddMoney(int32_t amount);
  // The building record; null when the record is of another kind.
  BuildingInfo* GetBuildingInfo() const;

  // Never filled: kept for the stored layout.
  tCollection<int32_t> WallX;
  tCollection<int32_t> WallY;
  int32_t LastAttacker = 0;

 protected:
  ThingInfo* MakeInfo() const override;
};

// A bank: burgled by rats, worked by suits.
class YLTBank : public YLTBuilding {
 public:
  YLTBank();
  const char* GetClassName() const override;
};

// The police department, where arrested units are brought.
class YLTPoliceDept : public YLTBuilding, public YLPoliceContainer {
 public:
  YLTPoliceDept();
  const char* GetClassName() const override;
};

class YLTPublicBuilding : public YLTBuilding {
 public:
  YLTPublicBuilding();
  const char* GetClassName() const override;
};
