#pragma once

#include <cstdint>
#include <memory>

struct COrderPackage;
class CLogic;
class CPlayer;
class PsychicPlanItem;

// The decoded form of one order package: AcceptOrder makes the order that
// fits the package's kind, lets it unpack the payload and has the logic
// apply it to the issuing player. Unit orders go to the player, which hands
// them to its selected units; each unit asks the order for the plan step
// that carries it out (BuildPlan). Selection, group, buy, upgrade and beer
// orders act on the player or on a building themselves.
//
// Fields that a package does not carry stay 0. Orders are deleted through
// the base, so the destructor is virtual.
class COrder {
 public:
  explicit COrder(int32_t kind);
  virtual ~COrder();
  COrder(const COrder&) = delete;
  COrder& operator=(const COrder&) = delete;

  // Copies the fields when the payload has the length of the class's
  // layout; false otherwise. Layout P6: player, flag A, flag B.
  virtual bool Unpack(const COrderPackage& package);
  // A new plan step that carries the order out (the caller owns it): its
  // class by kind, Action the kind, the order's values as parameters and
  // flag B as Fast.
  virtual PsychicPlanItem* BuildPlan() const;
  // Runs the order for the player named in the payload.
  virtual void Execute(CPlayer* player);
  // Why the order must not run for its player in this logic: a text for the
  // log; null when it may run. Checked before Execute, so a refused order
  // changes nothing. The base refuses a flag byte other than 0 or 1.
  virtual const char* Refusal(const CLogic& logic) const;

  int32_t Kind;
  int32_t Player = 0;
  // Unit orders: queue (behind the units' current orders). Selection
  // orders: add (to the current selection).
  uint8_t FlagA = 0;
  // Unit orders: fast (the units run). Selection orders: select (false
  // deselects).
  uint8_t FlagB = 0;

 protected:
  // The plan step of the kind (a plain step for kinds without one of their
  // own), with the parameters and Fast set.
  PsychicPlanItem* MakePlanStep(PsychicPlanItem* step, int32_t param1, int32_t param2) const;
};

// The order of the kind, every field but the kind 0; null for a kind that
// has no order (0, 2, 6, 12, 13, 16, 29-35, 47, 56, 58 and above 60).
std::unique_ptr<COrder> CreateOrder(int32_t kind);

// Writes the log line of an order refused before it took effect: its kind,
// its player and why.
void LogRefusedOrder(int32_t kind, int32_t player, const char* reason);

// Selects, deselects or makes the one selected thing (add = flag A, select
// = flag B). Layout P10: player, thing, flag A, flag B.
class COrderSelection : public COrder {
 public:
  using COrder::COrder;
  bool Unpack(const COrderPackage& package) override;
  void Execute(CPlayer* player) override;
  int32_t Thing = 0;
};

// The same three choices for a leader's group (255: every unit). Layout
// P7: player, group, flag A, flag B.
class COrderGroupSelection : public COrder {
 public:
  using COrder::COrder;
  bool Unpack(const COrderPackage& package) override;
  void Execute(CPlayer* player) override;
  uint8_t Group = 0;
};

// A unit order to a map cell. Layout P14: player, x, y, flag A, flag B.
class COrderDestination : public COrder {
 public:
  using COrder::COrder;
  bool Unpack(const COrderPackage& package) override;
  PsychicPlanItem* BuildPlan() const override;
  int32_t X = 0;
  int32_t Y = 0;
};

// A unit order on a thing; "addtogroup" puts the selection into a leader's
// group instead. Layout P10: player, target, flag A, flag B.
class COrderTarget : public COrder {
 public:
  using COrder::COrder;
  bool Unpack(const COrderPackage& package) override;
  PsychicPlanItem* BuildPlan() const override;
  void Execute(CPlayer* player) override;
  // Also refuses "addtogroup" to a leader of another player: the group
  // number would be taken from that leader's record.
  const char* Refusal(const CLogic& logic) const override;
  int32_t Target = 0;
};

// Buys a unit of type Value at the pub Building. Layout P12: player,
// building, value.
class COrderBuy : public COrder {
 public:
  using COrder::COrder;
  bool Unpack(const COrderPackage& package) override;
  void Execute(CPlayer* player) override;
  int32_t Value = 0;
  int32_t Building = 0;
};

// Hands out beer worth Value at the pub Building. Layout P12 as the buy
// order.
class COrderGiveBeer : public COrder {
 public:
  using COrder::COrder;
  bool Unpack(const COrderPackage& package) override;
  void Execute(CPlayer* player) override;
  int32_t Value = 0;
  int32_t Building = 0;
};

// Buys a girl of kind Unit at a girls' shop (Unit is her kind, not a
// thing). Layout P12: player, shop, unit.
class COrderBuyWhore : public COrder {
 public:
  using COrder::COrder;
  bool Unpack(const COrderPackage& package) override;
  void Execute(CPlayer* player) override;
  int32_t Shop = 0;
  int32_t Unit = 0;
};

// Buys a suit at a suits' hangout. Layout P8: player, shop.
class COrderBuySuit : public COrder {
 public:
  using COrder::COrder;
  bool Unpack(const COrderPackage& package) override;
  void Execute(CPlayer* player) override;
  int32_t Shop = 0;
};

// Pleasure at a girls' shop for every selected unit. Layout P8.
class COrderBuyPleasureSelection : public COrder {
 public:
  using COrder::COrder;
  bool Unpack(const COrderPackage& package) override;
  void Execute(CPlayer* player) override;
  int32_t Shop = 0;
};

// Pleasure for one unit of the player. Layout P12: player, shop, unit.
class COrderBuyPleasureUnit : public COrderBuyPleasureSelection {
 public:
  using COrderBuyPleasureSelection::COrderBuyPleasureSelection;
  bool Unpack(const COrderPackage& package) override;
  void Execute(CPlayer* player) override;
  const char* Refusal(const CLogic& logic) const override;
  int32_t Unit = 0;
};

// Dope at a dope house (or the loods) for every selected unit. Layout P8.
class COrderBuyDopeSelection : public COrder {
 public:
  using COrder::COrder;
  bool Unpack(const COrderPackage& package) override;
  void Execute(CPlayer* player) override;
  int32_t Shop = 0;
};

// An amount of dope for one leader of the player. Layout P16: player,
// shop, amount, leader.
class COrderBuyDopeLeader : public COrderBuyDopeSelection {
 public:
  using COrderBuyDopeSelection::COrderBuyDopeSelection;
  bool Unpack(const COrderPackage& package) override;
  void Execute(CPlayer* player) override;
  const char* Refusal(const CLogic& logic) const override;
  int32_t Leader = 0;
  int32_t Amount = 0;
};

// Upgrades every selected unit at a weapon shop (or the loods). Layout P8.
class COrderUpgradeSelection : public COrder {
 public:
  using COrder::COrder;
  bool Unpack(const COrderPackage& package) override;
  void Execute(CPlayer* player) override;
  int32_t Shop = 0;
};

// Upgrades one unit of the player. Layout P12: player, shop, unit.
class COrderUpgradeUnit : public COrderUpgradeSelection {
 public:
  using COrderUpgradeSelection::COrderUpgradeSelection;
  bool Unpack(const COrderPackage& package) override;
  void Execute(CPlayer* player) override;
  const char* Refusal(const CLogic& logic) const override;
  int32_t Unit = 0;
};

// Ammunition for one unit of the player at a weapon shop (or the loods).
// Layout P12: player, shop, unit.
class COrderBuyAmmoUnit : public COrder {
 public:
  using COrder::COrder;
  bool Unpack(const COrderPackage& package) override;
  void Execute(CPlayer* player) override;
  const char* Refusal(const CLogic& logic) const override;
  int32_t Shop = 0;
  int32_t Unit = 0;
};
