// A hard-core fan's planning.

#include "base/DebugFormat.h"
#include "logic/core/CLogic.h"
#include "logic/core/OrderKinds.h"
#include "logic/world/PsychicPlanKinds.h"
#include "logic/core/CMap.h"
#include "logic/world/YLTBuilding.h"
#include "logic/world/YLTCar.h"
#include "logic/world/YLUnitLeader.h"
#include "logic/world/YLUnitSupporter.h"

namespace {

// A player's own pub is never looted.
constexpr int32_t kPubType = 3;
constexpr int32_t kBrickSourceType = 14;

// Thrown things fly this far; the marker after a throw is r + 0.4.
constexpr int32_t kThrowRange = 20;
constexpr float kSubThrowPace = 0.4f;
constexpr uint32_t kStatusTrashed = 1u << 29;
constexpr int32_t kMoveKick = 13;
constexpr int32_t kMoveDope = 17;
// The speech of an alarm about a unit.
constexpr int32_t kSpeechAlarm = 7;

bool Living(const YLThing& thing) { return thing.Info != nullptr && (thing.Info->Status & StatusAlive) != 0; }

}  // namespace

bool YLUnitHardCore::MakePlan() {
  try {
    if (YLUnitSupporter::MakePlan()) {
      return true;
    }
  } catch (...) {
    DebugPrint("YLUnitHardCore::MakePlan exception in YLUnitSupporter::MakePlan\n");
  }
  PsychicPlanItem* step = GetPlanLeaf();
  const CLogic* logic = GetLogic();
  const UnitInfo* info = GetUnitInfo();
  if (step == nullptr || logic == nullptr || info == nullptr || !step->Expandable) {
    return false;
  }
  switch (step->Action) {
    case OrderKind::kLoot: {
      const auto* building = dynamic_cast<const YLTBuilding*>(logic->GetThing(step->Param1));
      if (building == nullptr) {
        return false;
      }
      if (building->GetOwner() == GetOwner() && building->Info->BuildingType == kPubType) {
        step->Unlink();
        PsychicPlanItem::DeleteTree(step);
        return false;
      }
      const int32_t id = step->Param1;
      step->AddChild(new PsychicPlanGotoThing(id, 0, info->Loyalty, step->Fast));
      step->AddChild(new PsychicPlanLeave(id, 0, info->Loyalty, step->Fast));
      step->AddChild(new PsychicPlanSubLoot(id, 0, info->Loyalty, step->Fast));
      step->Expandable = false;
      return MakePlan();
    }
    case OrderKind::kPatroll:
      if (!PlanPath(GetX(), GetY(), step->Param1, step->Param2, step, 0)) {
        return false;
      }
      step->Expandable = false;
      return true;
    case OrderKind::kTurret:
    case OrderKind::kGetDope: {
      const YLThing* target = step->Param1 != 0 ? logic->GetThing(step->Param1) : nullptr;
      if (step->Action == OrderKind::kTurret &&
          (target == nullptr || target->Info == nullptr || target->Info->BuildingType != kBrickSourceType)) {
        step->Param1 = 0;
        target = nullptr;
      }
      if (target == nullptr || !PlanPath(GetX(), GetY(), target->GetX(), target->GetY(), step, 0)) {
        return false;
      }
      step->Expandable = false;
      return true;
    }
    case OrderKind::kGetMoney:
      return true;
    default:
      return false;
  }
}

// ---- Throwing at the nearest enemy ----

int32_t YLUnitHardCore::FindThrowTarget() const {
  const CLogic* logic = GetLogic();
  if (logic == nullptr || logic->Map == nullptr || Info == nullptr) {
    return 0;
  }
  tCollection<int32_t> around;
  logic->Map->CollectObstacles(this, kThrowRange, around);
  const int32_t owner = GetOwner();
  const YLUnit* best = nullptr;
  int32_t bestDistance = 0;
  bool bestUpright = false;
  for (int32_t index = 0; index < around.count; ++index) {
    const int32_t id = around[index];
    const YLThing* thing = id > 0 && id < kDirectionCodes && id != Info->Tid ? logic->GetThing(id) : nullptr;
    if (thing == nullptr || !Living(*thing) || thing->GetOwner() == owner) {
      continue;
    }
    if (CarOf(thing) != nullptr) {
      return id;
    }
    const auto* unit = UnitOf(thing);
    if (unit == nullptr) {
      continue;
    }
    const bool upright = (thing->Info->Status & StatusUpright) != 0;
    const int32_t distance = IntDistance(GetX(), GetY(), thing->GetX(), thing->GetY());
    // An upright enemy is never given up for a nearer one lying down.
    if (best == nullptr || (upright && !bestUpright) || (upright == bestUpright && distance < bestDistance)) {
      best = unit;
      bestDistance = distance;
      bestUpright = upright;
    }
  }
  return best != nullptr ? best->GetTid() : 0;
}

int32_t YLUnitHardCore::DoThrow(float motivation, int32_t target, int32_t param2, bool fast) {
  if (CurrentMove == nullptr || CurrentMove->Action != OrderKind::kSubThrow) {
    return YLUnitSupporter::DoThrow(motivation, target, param2, fast);
  }
  const CLogic* logic = GetLogic();
  const int32_t id = FindThrowTarget();
  const YLThing* enemy = logic != nullptr && id != 0 ? logic->GetThing(id) : nullptr;
  if (enemy == nullptr) {
    return kReached;
  }
  if (ThrowPaced()) {
    return kMoveRest;
  }
  return ThrowAt(motivation, enemy->GetX(), enemy->GetY(), fast, kSubThrowPace, 1.0f);
}

// ---- Looting ----

namespace {

// The building a loot step may still work on: no bank, not trashed, and
// open to the unit (or the unit already inside).
YLTBuilding* LootableBuilding(const YLUnit& unit, int32_t id) {
  const CLogic* logic = YLThing::GetLogic();
  auto* building = dynamic_cast<YLTBuilding*>(logic != nullptr ? logic->GetThing(id) : nullptr);
  if (building == nullptr || building->Info == nullptr || dynamic_cast<YLTBank*>(building) != nullptr ||
      (building->Info->Status & kStatusTrashed) != 0) {
    return nullptr;
  }
  if (unit.GetContainer() != building && !building->CanEnter(const_cast<YLUnit*>(&unit))) {
    return nullptr;
  }
  return building;
}

}  // namespace

int32_t YLUnitHardCore::DoLoot(float motivation, int32_t id, bool fast) {
  const YLTBuilding* building = LootableBuilding(*this, id);
  if (building == nullptr) {
    return kReached;
  }
  return GetContainer() == building ? kMoveKick : DoEnter(motivation, id, fast);
}

int32_t YLUnitHardCore::DoSubLoot(float motivation, int32_t id) { return DoLoot(motivation, id, false); }

// ---- Answers ----

int32_t YLUnitHardCore::AnswerJoin(YLUnitLeader* leader) {
  if (Alreadythere != 0) {
    return kReached;
  }
  Alreadythere = 1;
  if (leader != nullptr && leader != this) {
    try {
      leader->AddGroupMember(this);
    } catch (...) {
      DebugPrint("exception in leader->addgroupmember\n");
    }
  }
  return kMoveDope;
}

void YLUnitHardCore::HurtBystanders() {
  const CLogic* logic = GetLogic();
  if (logic == nullptr || Info == nullptr) {
    return;
  }
  const int32_t owner = GetOwner();
  for (int32_t index = 0; index < GetNeighbourCount(); ++index) {
    const int32_t id = GetNeighbour(index);
    if (id >= kDirectionCodes || id == Info->Tid) {
      continue;
    }
    const YLUnit* other = FindLivingUnit(id);
    if (other != nullptr && other->GetOwner() != owner) {
      Speak(kSpeechAlarm, id);
    }
  }
}

int32_t YLUnitHardCore::DoGetDope(float motivation, int32_t id, bool fast) {
  const CLogic* logic = GetLogic();
  const YLThing* target = logic != nullptr && id != 0 ? logic->GetThing(id) : nullptr;
  if (target == nullptr || !Living(*target)) {
    return kReached;
  }
  int32_t x = target->GetX();
  int32_t y = target->GetY();
  GetNearestPoint(target, GetX(), GetY(), x, y);
  const int32_t walk = DoGoto(motivation, x, y, fast, 1);
  if (walk != kReached) {
    return walk;
  }
  auto* leader = dynamic_cast<YLUnitLeader*>(FindLivingUnit(id));
  if (leader == nullptr || leader->GetOwner() != GetOwner()) {
    return AnswerJoin(nullptr);
  }
  const bool firstAnswer = Alreadythere == 0;
  const int32_t answer = AnswerJoin(leader);
  // Once per step, at its own side's leader, the fan takes one of the
  // doses bought for the leader.
  if (firstAnswer && leader != this && leader->UseDopeDose(this)) {
    TakeDope(1);
    // An overdose took the fan off: it plays no move any more.
    if (!HasStatus(StatusAlive)) {
      return kReached;
    }
  }
  return answer;
}

int32_t YLUnitHardCore::DoThrowTurret(float motivation, int32_t id, bool fast) {
  const CLogic* logic = GetLogic();
  const YLThing* source = logic != nullptr && id != 0 ? logic->GetThing(id) : nullptr;
  if (source == nullptr || source->Info == nullptr || source->Info->BuildingType != kBrickSourceType) {
    return DoGetDope(motivation, 0, fast);
  }
  if (ThrowPaced()) {
    return kMoveRest;
  }
  if (!HasStatus(kStatusHoldsBrick)) {
    return DoPickUp(motivation, id, fast);
  }
  const int32_t enemyId = FindThrowTarget();
  const YLThing* enemy = enemyId != 0 ? logic->GetThing(enemyId) : nullptr;
  if (enemy == nullptr) {
    return kMoveRest;
  }
  return ThrowAt(motivation, enemy->GetX(), enemy->GetY(), fast, kSubThrowPace, 1.0f);
}
