#pragma once

#include <cstdint>

#include "logic/world/YLTBuilding.h"

class CPlayer;
class LumoProperty;
class LumoStream;
class YLUnitLeader;

// The shops where a player spends money on its units. Every sale serves
// only a unit that stands inside this very shop; a paying sale takes the
// price from the ordering player and adds a quarter of it to the shop's
// money. Prices are reckoned in 64 bits; a refused sale pays nothing.

// Admission of the dope house, sex shop and weapon shop: an ownerless shop
// in the normal state admits while not full, otherwise the building rule.
class YLTShop : public YLTBuilding {
 public:
  bool CanEnter(YLUnit* unit) const override;

 protected:
  // The unit stands inside this shop.
  bool Holds(const YLUnit* unit) const;
  // The player can pay the price; then it pays and the shop takes a quarter.
  bool Charge(CPlayer* player, int64_t price);
};

class YLTDopeHouse : public YLTShop {
 public:
  static constexpr int32_t kDosePrice = 100;

  YLTDopeHouse();
  const char* GetClassName() const override;
  void GetDebugText(tString& text) const override;
  // Every selectable unit inside but a leader takes two doses, a leader
  // twenty dope units; then the money is taken.
  int32_t TakeMoney() override;

  // One dose for a selectable hard-core unit inside.
  void SellDopeToSelection(YLUnit* unit, CPlayer* player);
  // Amount doses (1-99) for a leader inside.
  void SellDopeToLeader(YLUnitLeader* leader, int32_t amount, CPlayer* player);

  int32_t Unused = 0;
};

// Its record's SuitChick counts the girls it still offers.
class YLTSexShop : public YLTShop {
 public:
  static constexpr int32_t kPleasurePrice = 25;
  static constexpr int32_t kChickType = 11;

  YLTSexShop();
  const char* GetClassName() const override;
  void GetDebugText(tString& text) const override;
  // Every selectable unit inside is served; then the money is taken.
  int32_t TakeMoney() override;

  // A chick of grade kind (0-2) for the player, made inside; paid only
  // once she exists.
  void SellWhore(int32_t kind, CPlayer* player);
  // The pleasure for a selectable hard-core unit inside.
  void SellPleasure(YLUnit* unit, CPlayer* player);
  // The price of a girl of that kind.
  static int32_t WhorePrice(int32_t kind);
};

// Its record's SuitChick counts the suits it still offers. It admits
// everyone, always.
class YLTSuitHangout : public YLTBuilding {
 public:
  static constexpr int32_t kSuitPrice = 5000;
  static constexpr int32_t kSuitType = 4;
  static constexpr float kLeaveMotivation = 0.8f;

  YLTSuitHangout();
  const char* GetClassName() const override;
  void GetDebugText(tString& text) const override;
  bool CanEnter(YLUnit* unit) const override;
  // Units inside wait there (situation 6), as in a place of their own.
  bool PlaceKindC() const override;

  // A suit for the player: one waiting inside changes sides and leaves,
  // else a new one is made inside while the hangout offers one.
  void SellSuit(CPlayer* player);

  virtual bool LoadSuit(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveSuit(LumoStream* stream, const LumoProperty* property);

  int32_t Suit = 0;
};

// Sells weapon upgrades and ammunition up to its technology level.
class YLTWeaponShop : public YLTShop {
 public:
  static constexpr int32_t kMaxTech = 3;
  static constexpr int32_t kUpgradeAmmo = 3;
  static constexpr int32_t kLeaderRounds = 6;
  static constexpr int32_t kLeaderRoundPrice = 15;
  static constexpr int32_t kYobbozerRounds = 3;

  YLTWeaponShop();
  const char* GetClassName() const override;
  void GetDebugText(tString& text) const override;
  // Every selectable unit inside but chicks and suits gets the shop's
  // level; leaders and yobbozers three rounds more. Then the money is taken.
  int32_t TakeMoney() override;

  // The next weapon level for a unit inside (no chick), up to the shop's
  // level; a weapon that fires rounds comes with three once paid.
  void Upgrade(YLUnit* unit, CPlayer* player);
  // Rounds for an armed leader (up to 6, 15 each) or yobbozer (up to 3).
  void SellAmmo(YLUnit* unit, CPlayer* player);
  // The level, kept within 0-3.
  void SetTechnologyLevel(int32_t level);

  // The level behind "tech:"; a stream without it keeps the level. Reading
  // it also sets the logic's technology level.
  virtual bool Loadtech(LumoStream* stream, const LumoProperty* property);
  virtual bool Savetech(LumoStream* stream, const LumoProperty* property);

  int32_t tech = kMaxTech;
  int32_t Unused = 0;
};
