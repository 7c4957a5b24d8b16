// What the leader, the chick and the suit do with their steps: the leader
// shoots, the chick flirts and charms, the suit bombs a bank.

#include <algorithm>

#include "base/DebugFormat.h"
#include "logic/core/CLogic.h"
#include "logic/core/OrderKinds.h"
#include "logic/core/WeaponCatalog.h"
#include "logic/core/YLWeapon.h"
#include "logic/world/PsychicPlanKinds.h"
#include "logic/world/UnitRoutes.h"
#include "logic/world/YLTBuilding.h"
#include "logic/world/YLTContainerThing.h"
#include "logic/world/YLUnitLeader.h"

namespace {

constexpr int32_t kMoveWeapon = 11;
constexpr int32_t kMoveFlirt = 21;
constexpr int32_t kMoveBomb = 25;
constexpr int32_t kMoveDrawGun = 29;
constexpr uint32_t kStatusGunDrawn = 1u << 19;
// A chick flirts with whom stands within this many cells.
constexpr int32_t kFlirtReach = 8;
// What a charm leaves of the charmed unit's anger, fear and loyalty.
constexpr float kCharmCalms = 0.3f;
constexpr float kLeaderIdleMotivation = 0.25f;

}  // namespace

// ---- Leader ----

bool YLUnitLeader::OnAddToMap(CMap*) {
  LeaderInfo* info = GetLeaderInfo();
  if (info == nullptr) {
    return false;
  }
  const int32_t size = std::min<int32_t>(info->GroupSize, LeaderInfo::kMaxGroupSize);
  for (int32_t index = size - 1; index >= 0; --index) {
    const int32_t id = info->Group[index];
    const YLUnit* member = FindLivingUnit(id);
    if (member == nullptr || dynamic_cast<const YLUnitHardCore*>(member) == nullptr ||
        dynamic_cast<const YLUnitLeader*>(member) != nullptr || member->GetOwner() != GetOwner()) {
      RemoveGroupMemberID(id);
    }
  }
  return false;
}

int32_t YLUnitLeader::DoShoot(float motivation, int32_t targetId, bool fast) {
  const YLUnit* target = FindLivingUnit(targetId);
  const UnitInfo* info = GetUnitInfo();
  const YLWeapon* gun = GetWeapon();
  if (target == nullptr || info == nullptr || info->Weapon == 0 || gun == nullptr) {
    return kReached;
  }
  if (target->Info->Move != nullptr && target->Info->Move->code == kMoveAmbient) {
    return kReached;
  }
  int32_t x = 0;
  int32_t y = 0;
  GetNearestPoint(target, GetX(), GetY(), x, y);
  const int32_t range = gun->GetAttackRange();
  if (IntDistance(GetX(), GetY(), x, y) >= range) {
    return DoGoto(motivation, x, y, fast, std::max(range - 1, 0));
  }
  const int32_t turn = GetDirection(GetX(), GetY(), Info->GetFacing(), x, y);
  if (turn != 0) {
    return TurnTowards(turn, kMoveTurnClockwiseAgain, kMoveTurnCounterClockwiseAgain);
  }
  if (!HasStatus(kStatusGunDrawn)) {
    return kMoveDrawGun;
  }
  DestinationX = x;
  DestinationY = y;
  return kMoveWeapon;
}

bool YLUnitLeader::MakePlan() {
  if (YLUnitHardCore::MakePlan()) {
    return true;
  }
  PsychicPlanItem* step = GetPlanLeaf();
  const CLogic* logic = GetLogic();
  if (step == nullptr || step == &Plan || logic == nullptr) {
    return false;
  }
  if (step->Action == OrderKind::kGetDope) {
    step->Expandable = false;
    return true;
  }
  if (step->Action != OrderKind::kShoot || logic->Weapons == nullptr) {
    return false;
  }
  const YLThing* target = logic->GetThing(step->Param1);
  const YLWeapon* gun = logic->Weapons->GetSlot(WeaponSlot::kGun);
  if (target == nullptr || gun == nullptr) {
    return false;
  }
  return PlanRouteWithin(*this, step, target->GetX(), target->GetY(), gun->GetAttackRange());
}

int32_t YLUnitLeader::DoChant(float motivation) {
  if ((CurrentMove != nullptr && CurrentMove->Action == OrderKind::kGroup) ||
      (Plan.child != nullptr && Plan.child->Action == OrderKind::kGroup)) {
    CallGroupTogether(motivation);
  }
  return kMoveChant;
}

void YLUnitLeader::ChooseIdle() {
  if (Plan.child != nullptr) {
    return;
  }
  ExecutePlan(new PsychicPlanHold(0, 0, kLeaderIdleMotivation, false));
}

// ---- Chick ----

int32_t YLUnitChick::DoFlirt(float motivation, int32_t targetId, bool fast) {
  if (Alreadythere != 0) {
    return kReached;
  }
  const YLUnit* target = FindLivingUnit(targetId);
  if (target == nullptr) {
    return kReached;
  }
  int32_t x = 0;
  int32_t y = 0;
  GetNearestPoint(target, GetX(), GetY(), x, y);
  if (IntDistance(GetX(), GetY(), x, y) <= kFlirtReach) {
    Alreadythere = 1;
    FlirtsUsed = 0;
    return kMoveFlirt;
  }
  const int32_t walk = DoGoto(motivation, x, y, fast, kFlirtReach);
  return walk == kReached ? kMoveRest : walk;
}

bool YLUnitChick::MakePlan() {
  bool planned = false;
  try {
    planned = YLUnitHardCore::MakePlan();
  } catch (...) {
    DebugPrint("YLUnitChick::MakePlan exception in YLUnitHardCore::MakePlan\n");
  }
  if (planned) {
    return true;
  }
  PsychicPlanItem* step = GetPlanLeaf();
  const CLogic* logic = GetLogic();
  if (step == nullptr || step == &Plan || logic == nullptr) {
    return false;
  }
  if (step->Action == OrderKind::kGotoThing && step->queue != nullptr && step->queue->Action == OrderKind::kFlirt) {
    const YLThing* target = logic->GetThing(step->queue->Param1);
    if (target != nullptr && IntDistance(GetX(), GetY(), target->GetX(), target->GetY()) >= kFlirtReach) {
      PlanReached(step);
      return true;
    }
    return false;
  }
  if (step->Action != OrderKind::kFlirt) {
    return false;
  }
  const YLThing* target = logic->GetThing(step->Param1);
  if (target == nullptr || !PlanPath(GetX(), GetY(), target->GetX(), target->GetY(), step, 0)) {
    return false;
  }
  step->Expandable = false;
  return true;
}

bool YLUnitChick::Charm(YLUnit& unit, int32_t chickId) {
  auto* chick = dynamic_cast<YLUnitChick*>(FindLivingUnit(chickId));
  UnitInfo* info = unit.GetUnitInfo();
  auto* fan = dynamic_cast<YLUnitSupporter*>(&unit);
  if (chick == nullptr || chick == &unit || info == nullptr || fan == nullptr || chick->GetOwner() == unit.GetOwner()) {
    return false;
  }
  // The chick that charmed it last starts its charm anew; with no flirt
  // left the charm fades out.
  if (fan->CharmedBy == chickId) {
    info->Flirt = 0.0f;
  }
  if (!chick->MayFlirt()) {
    return false;
  }
  fan->CharmedBy = chickId;
  info->Status |= kStatusCharmed;
  info->Flirt = chick->GetCharm();
  info->Anger *= kCharmCalms;
  info->Fear *= kCharmCalms;
  info->Loyalty *= kCharmCalms;
  return true;
}

// ---- Suit ----

YLTContainerThing* YLUnitSuit::GetBank() const {
  const CLogic* logic = GetLogic();
  YLThing* thing = logic != nullptr && BankID != 0 ? logic->GetThing(BankID) : nullptr;
  if (dynamic_cast<YLTBank*>(thing) == nullptr || thing->Info == nullptr || (thing->Info->Status & StatusAlive) == 0) {
    return nullptr;
  }
  return dynamic_cast<YLTContainerThing*>(thing);
}

int32_t YLUnitSuit::DoBomb(float motivation, int32_t x, int32_t y, bool fast) {
  YLTContainerThing* bank = GetBank();
  if (bank != nullptr && GetContainer() == bank) {
    if (!IsBombPlaced()) {
      // The bank's entrance, where a unit inside fires from: the safe
      // cracker reaches no farther than its own cell.
      DestinationX = bank->GetX();
      DestinationY = bank->GetY();
      return kMoveWeapon;
    }
    const bool alone = bank->GetContainedCount() == 1 && bank->GetContainedThing(0) == this;
    return alone ? kReached : kMoveRest;
  }
  if (IsBombPlaced()) {
    return kReached;
  }
  const int32_t walk = DoGoto(motivation, x, y, fast, 0);
  if (walk != kReached) {
    return walk;
  }
  if (bank == nullptr) {
    const CLogic* logic = GetLogic();
    YLThing* there = logic != nullptr ? logic->FindThingAtPosition(x, y) : nullptr;
    if (dynamic_cast<YLTBank*>(there) != nullptr) {
      BankID = there->GetTid();
      bank = GetBank();
    }
  }
  if (bank == nullptr) {
    return kMoveBomb;
  }
  // The bomb stays for the bank: going off in the street would use up the
  // bank weapon too.
  PushPlanItem(new PsychicPlanEnter(bank->GetTid(), 0, kBankEnterMotivation, true));
  return kMoveRest;
}

bool YLUnitSuit::MakePlan() {
  bool planned = false;
  try {
    planned = YLUnitHardCore::MakePlan();
  } catch (...) {
    DebugPrint("YLUnitHardCore::MakePlan exception in YLUnitSupporter::MakePlan\n");
  }
  if (planned) {
    return true;
  }
  PsychicPlanItem* step = GetPlanLeaf();
  if (step == nullptr || step == &Plan || step->Action != OrderKind::kBomb) {
    return false;
  }
  if (!PlanPath(GetX(), GetY(), step->Param1, step->Param2, step, 0)) {
    return false;
  }
  step->Expandable = false;
  return true;
}

void YLUnitSuit::ExecutePlan(PsychicPlanItem* item) {
  if (item != nullptr && IsBombPlaced() && item->Motivation == kBankEnterMotivation) {
    DestroyObject(item);
    return;
  }
  YLUnitHardCore::ExecutePlan(item);
}

void YLUnitSuit::PlanReached(PsychicPlanItem* item) {
  const bool bombStep = item != nullptr && item->Action == OrderKind::kBomb;
  YLUnitHardCore::PlanReached(item);
  const YLTContainerThing* bank = GetBank();
  if (bombStep && bank != nullptr && GetContainer() == bank && IsBombPlaced()) {
    SetOwner(0);
  }
}
