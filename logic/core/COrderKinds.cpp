// The order classes: their payload layouts, plan steps and what they do.

#include <vector>

#include "base/DebugFormat.h"
#include "logic/core/CLogic.h"
#include "logic/core/COrder.h"
#include "logic/core/COrderPackage.h"
#include "logic/core/CPlayer.h"
#include "logic/core/OrderKinds.h"
#include "logic/core/OrderPayload.h"
#include "logic/core/UnitInfo.h"
#include "logic/world/PsychicPlanKinds.h"
#include "logic/world/YLTLoods.h"
#include "logic/world/YLTPub.h"
#include "logic/world/YLTShop.h"
#include "logic/world/YLUnit.h"
#include "logic/world/YLUnitLeader.h"

namespace {

constexpr int32_t kLayoutP7 = 7;
constexpr int32_t kLayoutP8 = 8;
constexpr int32_t kLayoutP10 = 10;
constexpr int32_t kLayoutP12 = 12;
constexpr int32_t kLayoutP14 = 14;
constexpr int32_t kLayoutP16 = 16;

constexpr const char* kForeignUnit = "the unit belongs to another player";
constexpr const char* kForeignLeader = "the leader belongs to another player";

// The thing of that id in the current logic when it is of class T; null for
// an id that names no thing (ids from 1; outside the table or an empty slot)
// and for a thing of another class.
template <typename T>
T* ThingOf(int32_t id) {
  const CLogic* logic = TheLogic();
  return logic != nullptr ? dynamic_cast<T*>(logic->GetThing(id)) : nullptr;
}

template <typename T>
const T* ThingOf(const CLogic& logic, int32_t id) {
  return dynamic_cast<const T*>(logic.GetThing(id));
}

// Player and one more value (P8), or two more (P12).
bool UnpackValues(const COrderPackage& package, int32_t& player, int32_t& second) {
  const PayloadReader payload(package);
  if (!payload.HasLength(kLayoutP8)) {
    return false;
  }
  player = payload.Int32(0);
  second = payload.Int32(4);
  return true;
}

bool UnpackValues(const COrderPackage& package, int32_t& player, int32_t& second, int32_t& third) {
  const PayloadReader payload(package);
  if (!payload.HasLength(kLayoutP12)) {
    return false;
  }
  player = payload.Int32(0);
  second = payload.Int32(4);
  third = payload.Int32(8);
  return true;
}

// Player, a thing and the two flags (P10).
bool UnpackThing(const COrderPackage& package, COrder& order, int32_t& thing) {
  const PayloadReader payload(package);
  if (!payload.HasLength(kLayoutP10)) {
    return false;
  }
  order.Player = payload.Int32(0);
  thing = payload.Int32(4);
  order.FlagA = payload.Byte(8);
  order.FlagB = payload.Byte(9);
  return true;
}

// Each unit of the player's selection as it stood, in selection order; a
// sale may change the selection (a unit dying of its dope).
template <typename Serve>
void ForEachSelected(CPlayer* player, Serve serve) {
  if (player == nullptr) {
    return;
  }
  const std::vector<int32_t> selected(player->Selection.items, player->Selection.items + player->Selection.count);
  for (const int32_t id : selected) {
    if (auto* unit = ThingOf<YLUnit>(id)) {
      serve(unit);
    }
  }
}

// Whether the id names a unit that the player does not own.
bool IsForeignUnit(const CLogic& logic, int32_t id, int32_t player) {
  const auto* unit = ThingOf<YLUnit>(logic, id);
  return unit != nullptr && unit->GetOwner() != player;
}

bool IsForeignLeader(const CLogic& logic, int32_t id, int32_t player) {
  const auto* leader = ThingOf<YLUnitLeader>(logic, id);
  return leader != nullptr && leader->GetOwner() != player;
}

}  // namespace

// ---- Selection ----

bool COrderSelection::Unpack(const COrderPackage& package) { return UnpackThing(package, *this, Thing); }

void COrderSelection::Execute(CPlayer* player) {
  if (FlagB == 0) {
    player->Deselect(Thing);
  } else if (FlagA == 0) {
    player->SelectOnly(Thing);
  } else {
    player->SelectThing(Thing);
  }
}

bool COrderGroupSelection::Unpack(const COrderPackage& package) {
  const PayloadReader payload(package);
  if (!payload.HasLength(kLayoutP7)) {
    return false;
  }
  Player = payload.Int32(0);
  Group = payload.Byte(4);
  FlagA = payload.Byte(5);
  FlagB = payload.Byte(6);
  return true;
}

void COrderGroupSelection::Execute(CPlayer* player) {
  if (FlagB == 0) {
    player->DeselectGroup(Group);
  } else if (FlagA == 0) {
    player->SelectGroup(Group);
  } else {
    player->AddGroupToSelection(Group);
  }
}

// ---- Unit orders ----

bool COrderDestination::Unpack(const COrderPackage& package) {
  const PayloadReader payload(package);
  if (!payload.HasLength(kLayoutP14)) {
    return false;
  }
  Player = payload.Int32(0);
  X = payload.Int32(4);
  Y = payload.Int32(8);
  FlagA = payload.Byte(12);
  FlagB = payload.Byte(13);
  return true;
}

PsychicPlanItem* COrderDestination::BuildPlan() const {
  PsychicPlanItem* step = nullptr;
  switch (Kind) {
    case OrderKind::kGoto: {
      auto* go = new PsychicPlanGoto;
      go->ArrivalDistance = 0;
      step = go;
      break;
    }
    case OrderKind::kBaricade: {
      auto* baricade = new PsychicPlanBaricade;
      baricade->Down = 1;
      step = baricade;
      break;
    }
    case OrderKind::kBomb:
      step = new PsychicPlanBomb;
      break;
    case OrderKind::kPatroll: {
      auto* patrol = new PsychicPlanPatroll;
      patrol->ArrivalDistance = 0;
      step = patrol;
      break;
    }
    case OrderKind::kCordon:
      step = new PsychicPlanCordon;
      break;
    case OrderKind::kCharge:
      step = new PsychicPlanCharge;
      break;
    case OrderKind::kTearGas:
      step = new PsychicPlanTearGas;
      break;
    case OrderKind::kArrest:
      step = new PsychicPlanArrest;
      break;
    case OrderKind::kPositionedMolotov:
      step = new PsychicPlanThrowMolotovPlace;
      break;
    default:
      step = new PsychicPlanItem;
      break;
  }
  return MakePlanStep(step, X, Y);
}

bool COrderTarget::Unpack(const COrderPackage& package) { return UnpackThing(package, *this, Target); }

PsychicPlanItem* COrderTarget::BuildPlan() const {
  PsychicPlanItem* step = nullptr;
  switch (Kind) {
    case OrderKind::kGotoThing:
      step = new PsychicPlanGotoThing;
      break;
    case OrderKind::kAttack:
      step = new PsychicPlanAttack;
      break;
    case OrderKind::kShoot:
      step = new PsychicPlanAttackShoot;
      break;
    case OrderKind::kThrow:
      step = new PsychicPlanThrowBrick;
      break;
    case OrderKind::kMolotov:
      step = new PsychicPlanThrowMolotov;
      break;
    // A hijack runs as an enter step whose action stays the hijack.
    case OrderKind::kEnter:
    case OrderKind::kHijack:
      step = new PsychicPlanEnter;
      break;
    case OrderKind::kLoot:
      step = new PsychicPlanLoot;
      break;
    case OrderKind::kLeave:
      step = new PsychicPlanLeave;
      break;
    case OrderKind::kGetDope:
      step = new PsychicPlanGetDope;
      break;
    case OrderKind::kBurgle:
      step = new PsychicPlanBurgle;
      break;
    case OrderKind::kFlirt:
      step = new PsychicPlanFlirt;
      break;
    case OrderKind::kInvestigate:
      step = new PsychicPlanInvestigateAlarm;
      break;
    case OrderKind::kInvestigateUnit:
      step = new PsychicPlanInvestigateUnit;
      break;
    case OrderKind::kAssistance:
      step = new PsychicPlanAssistance;
      break;
    case OrderKind::kTurret:
      step = new PsychicPlanThrowTurret;
      break;
    default:
      step = new PsychicPlanItem;
      break;
  }
  return MakePlanStep(step, Target, 0);
}

void COrderTarget::Execute(CPlayer* player) {
  if (Kind != OrderKind::kAddToGroup) {
    COrder::Execute(player);
    return;
  }
  DebugPrint("OrderAddToGroup::Execute(%d)\n", player->ID);
  auto* target = ThingOf<YLUnitLeader>(Target);
  const LeaderInfo* record = target != nullptr ? target->GetLeaderInfo() : nullptr;
  if (record == nullptr) {
    return;
  }
  // The units join the group whose number the leader's record holds (the
  // player's leader of that number; none for a number it does not use).
  for (int32_t index = 0; index < player->Selection.count; ++index) {
    player->GiveUnitToLeader(player->GetSelectedUnit(index), record->GroupID);
  }
}

const char* COrderTarget::Refusal(const CLogic& logic) const {
  if (const char* reason = COrder::Refusal(logic)) {
    return reason;
  }
  if (Kind == OrderKind::kAddToGroup && IsForeignLeader(logic, Target, Player)) {
    return kForeignLeader;
  }
  return nullptr;
}

// ---- Buying and upgrading ----
// Each order first checks the classes of the building and the unit; a
// wrong class or a missing thing makes it do nothing. The sales themselves
// are the buildings' trade; they check the amounts and types that the
// orders pass through.

bool COrderBuy::Unpack(const COrderPackage& package) { return UnpackValues(package, Player, Building, Value); }

void COrderBuy::Execute(CPlayer* player) {
  if (auto* pub = ThingOf<YLTPub>(Building)) {
    pub->SellUnit(Value, player);
  }
}

bool COrderGiveBeer::Unpack(const COrderPackage& package) { return UnpackValues(package, Player, Building, Value); }

void COrderGiveBeer::Execute(CPlayer* player) {
  if (auto* pub = ThingOf<YLTPub>(Building)) {
    pub->GiveBeer(Value, player);
  }
}

bool COrderBuyWhore::Unpack(const COrderPackage& package) { return UnpackValues(package, Player, Shop, Unit); }

void COrderBuyWhore::Execute(CPlayer* player) {
  if (auto* shop = ThingOf<YLTSexShop>(Shop)) {
    shop->SellWhore(Unit, player);
  }
}

bool COrderBuySuit::Unpack(const COrderPackage& package) { return UnpackValues(package, Player, Shop); }

void COrderBuySuit::Execute(CPlayer* player) {
  if (auto* hangout = ThingOf<YLTSuitHangout>(Shop)) {
    hangout->SellSuit(player);
  }
}

bool COrderBuyPleasureSelection::Unpack(const COrderPackage& package) {
  return UnpackValues(package, Player, Shop);
}

void COrderBuyPleasureSelection::Execute(CPlayer* player) {
  if (auto* shop = ThingOf<YLTSexShop>(Shop)) {
    ForEachSelected(player, [&](YLUnit* unit) { shop->SellPleasure(unit, player); });
  }
}

bool COrderBuyPleasureUnit::Unpack(const COrderPackage& package) {
  return UnpackValues(package, Player, Shop, Unit);
}

void COrderBuyPleasureUnit::Execute(CPlayer* player) {
  auto* shop = ThingOf<YLTSexShop>(Shop);
  auto* unit = ThingOf<YLUnit>(Unit);
  if (shop != nullptr && unit != nullptr) {
    shop->SellPleasure(unit, player);
  }
}

const char* COrderBuyPleasureUnit::Refusal(const CLogic& logic) const {
  return IsForeignUnit(logic, Unit, Player) ? kForeignUnit : COrderBuyPleasureSelection::Refusal(logic);
}

bool COrderBuyDopeSelection::Unpack(const COrderPackage& package) { return UnpackValues(package, Player, Shop); }

void COrderBuyDopeSelection::Execute(CPlayer* player) {
  if (auto* house = ThingOf<YLTDopeHouse>(Shop)) {
    ForEachSelected(player, [&](YLUnit* unit) { house->SellDopeToSelection(unit, player); });
  } else if (auto* shack = ThingOf<YLTLoods>(Shop)) {
    ForEachSelected(player, [&](YLUnit* unit) { shack->SellDopeToSelection(unit); });
  }
}

bool COrderBuyDopeLeader::Unpack(const COrderPackage& package) {
  const PayloadReader payload(package);
  if (!payload.HasLength(kLayoutP16)) {
    return false;
  }
  Player = payload.Int32(0);
  Shop = payload.Int32(4);
  Amount = payload.Int32(8);
  Leader = payload.Int32(12);
  return true;
}

void COrderBuyDopeLeader::Execute(CPlayer* player) {
  auto* leader = ThingOf<YLUnitLeader>(Leader);
  if (leader == nullptr) {
    return;
  }
  if (auto* house = ThingOf<YLTDopeHouse>(Shop)) {
    house->SellDopeToLeader(leader, Amount, player);
  } else if (auto* shack = ThingOf<YLTLoods>(Shop)) {
    shack->SellDopeToLeader(leader, Amount);
  }
}

const char* COrderBuyDopeLeader::Refusal(const CLogic& logic) const {
  return IsForeignLeader(logic, Leader, Player) ? kForeignLeader : COrderBuyDopeSelection::Refusal(logic);
}

bool COrderUpgradeSelection::Unpack(const COrderPackage& package) { return UnpackValues(package, Player, Shop); }

void COrderUpgradeSelection::Execute(CPlayer* player) {
  if (auto* shop = ThingOf<YLTWeaponShop>(Shop)) {
    ForEachSelected(player, [&](YLUnit* unit) { shop->Upgrade(unit, player); });
  } else if (auto* shack = ThingOf<YLTLoods>(Shop)) {
    ForEachSelected(player, [&](YLUnit* unit) { shack->Upgrade(unit); });
  }
}

bool COrderUpgradeUnit::Unpack(const COrderPackage& package) { return UnpackValues(package, Player, Shop, Unit); }

void COrderUpgradeUnit::Execute(CPlayer* player) {
  auto* unit = ThingOf<YLUnit>(Unit);
  if (unit == nullptr) {
    return;
  }
  if (auto* shop = ThingOf<YLTWeaponShop>(Shop)) {
    shop->Upgrade(unit, player);
  } else if (auto* shack = ThingOf<YLTLoods>(Shop)) {
    shack->Upgrade(unit);
  }
}

const char* COrderUpgradeUnit::Refusal(const CLogic& logic) const {
  return IsForeignUnit(logic, Unit, Player) ? kForeignUnit : COrderUpgradeSelection::Refusal(logic);
}

bool COrderBuyAmmoUnit::Unpack(const COrderPackage& package) { return UnpackValues(package, Player, Shop, Unit); }

void COrderBuyAmmoUnit::Execute(CPlayer* player) {
  auto* unit = ThingOf<YLUnit>(Unit);
  if (unit == nullptr) {
    return;
  }
  if (auto* shop = ThingOf<YLTWeaponShop>(Shop)) {
    shop->SellAmmo(unit, player);
  } else if (auto* shack = ThingOf<YLTLoods>(Shop)) {
    shack->SellAmmo(unit);
  }
}

const char* COrderBuyAmmoUnit::Refusal(const CLogic& logic) const {
  return IsForeignUnit(logic, Unit, Player) ? kForeignUnit : COrder::Refusal(logic);
}
