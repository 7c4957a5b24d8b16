#pragma once

#include <cstdint>
#include <memory>

#include "base/LumoObjects.h"
#include "base/tCollection.h"
#include "logic/core/BuildingInfo.h"
#include "logic/world/YLPoliceContainer.h"
#include "logic/world/YLTContainerThing.h"

class LumoProperty;
class LumoStream;

// A building: a container that units enter and leave, that a player can
// own and that holds money. Its record is a building record whose kind
// (BuildingType) the logic's building factory sets.
//
// A building goes through four states, the number of its current move:
// normal, broken (below 0.4 hit points, the units inside killed), trashed
// (heavy damage, no owner) and repair (mending back to normal).
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

  // The building move table: the four states, then their four animations.
  static constexpr int32_t kStateNormal = 0;
  static constexpr int32_t kStateBroken = 1;
  static constexpr int32_t kStateTrashed = 2;
  static constexpr int32_t kStateRepair = 3;
  static constexpr int32_t kAnimBroken = 4;
  static constexpr int32_t kAnimTrashed = 5;
  static constexpr int32_t kAnimBeginRepair = 6;
  static constexpr int32_t kAnimEndRepair = 7;
  static constexpr int32_t kMoveCount = 8;

  // Below this a building breaks; ordinary damage brings it no lower.
  static constexpr float kBreakingPoint = 0.4f;

  YLTBuilding();

  const char* GetClassName() const override;
  // Builds the shared move table; a second call refills it in place, since
  // the records of running buildings point at its moves.
  static void InitMoveTable();
  static LumoObjects* GetBuildingMoveTable();
  MoveInfo* GetMoveInfo(int32_t number) const override;

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

  // One tick of the state the building is in; always true.
  bool Propagate() override;
  // Ordinary damage through the armour, down to the breaking point: false
  // and nothing changed at or below it; otherwise true when the building is
  // now below it (it breaks on its next tick).
  bool TakeDamage(float amount) override;
  // Heavy damage: true when it brought the building to 0 or below, which
  // marks it wrecked (status bit 29).
  virtual bool TakeHeavyDamage(float amount);
  // The building's money, which it no longer holds.
  virtual int32_t TakeMoney();
  // In the normal state a source other than 0 is remembered as the last
  // attacker.
  void Frighten(float amount, int32_t sourceId) override;
  // Answers the last attacker and forgets it.
  int32_t TakeLastAttacker();

  // An ownerless building takes the unit's owner; then the unit enters.
  void Enter(YLUnit* unit) override;
  // The unit leaves; a building whose owner it shared becomes ownerless
  // unless another unit of that owner is still inside.
  void Leave(YLUnit* unit) override;
  // Admission by state, owners, the first unit inside and police.
  bool CanEnter(YLUnit* unit) const override;
  // Only homes, while not full.
  bool CanEnterHome(YLUnit* unit) const override;

  void SetBuildingType(int32_t type);
  void AddMoney(int32_t amount);
  // The building record; null when the record is of another kind.
  BuildingInfo* GetBuildingInfo() const;
  // The current state: the number of the current move.
  int32_t GetState() const;

  // Never filled: kept for the stored layout. Stored as nothing.
  virtual bool LoadWallX(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveWallX(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadWallY(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveWallY(LumoStream* stream, const LumoProperty* property);

  tCollection<int32_t> WallX;
  tCollection<int32_t> WallY;
  int32_t LastAttacker = 0;

 protected:
  ThingInfo* MakeInfo() const override;
  // Starts the move of that number and tells the listeners.
  void EnterState(int32_t state);
  // Whether the units inside are exactly one shop owner, or nobody.
  bool HoldsOnlyItsShopOwner() const;
  // The building rule of admission, for the kinds that add their own first.
  bool BuildingCanEnter(const YLUnit* unit) const;
  bool IsFull() const;

 private:
  static std::unique_ptr<LumoObjects, tObjectDestroyer>& MoveTableSlot();
};

// A bank: burgled by rats, worked by suits. It never mends or decays.
class YLTBank : public YLTBuilding {
 public:
  YLTBank();
  const char* GetClassName() const override;
  // Nothing happens to a bank over time.
  bool Propagate() override;
  // Units without owner, the police side and suits, while not full; the
  // building rule for everyone else.
  bool CanEnter(YLUnit* unit) const override;
  // A burglar has done its work: the money is gone (to nobody), the
  // burglar carries the loot (status bit 8) and the bank is trashed.
  void Burgle(YLUnit* unit);
};

// The police department, where arrested units are brought.
class YLTPoliceDept : public YLTBuilding, public YLPoliceContainer {
 public:
  YLTPoliceDept();
  const char* GetClassName() const override;
  // Takes in its prisoners (arrested units) while not full, whoever owns
  // them; everyone else by the building rule. Without this a jailed unit of
  // another side could never get in.
  bool CanEnter(YLUnit* unit) const override;
};

class YLTPublicBuilding : public YLTBuilding {
 public:
  YLTPublicBuilding();
  const char* GetClassName() const override;
};
