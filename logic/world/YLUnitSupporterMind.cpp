// A fan's feelings towards the units around it and its own intentions.

#include <algorithm>

#include "base/DebugFormat.h"
#include "base/Random.h"
#include "base/tCollection.h"
#include "logic/core/CLogic.h"
#include "logic/core/CMap.h"
#include "logic/core/OrderKinds.h"
#include "logic/world/PsychicPlanKinds.h"
#include "logic/world/YLUnitSupporter.h"

namespace {

constexpr float kHurtAnger = 2.8f;
constexpr float kThrowAnger = 2.0f;
// Friends nearer than this many cells share their anger.
constexpr int32_t kFriendRange = 8;
constexpr float kPressureLimit = 0.8f;
constexpr float kAngerShare = 0.1f;
constexpr float kFightPressure = 0.5f;
constexpr float kChantPressure = 0.07f;
constexpr float kAngerStep = 0.2f;
constexpr float kLostLoyalty = 0.01f;

constexpr int32_t kMoveWeapon = 11;
constexpr int32_t kMoveFist = 12;
constexpr int32_t kMoveKick = 13;

// The attack choice's score thresholds.
constexpr float kNoAttack = 0.2f;
constexpr float kThrowUpTo = 0.35f;
constexpr float kSlowUpTo = 0.6f;
constexpr int32_t kSightRange = 10;
constexpr int32_t kKeepAttackRange = 8;
constexpr float kFastThrowerAnger = 0.7f;

constexpr float kChantBeer = 0.3f;
constexpr float kOutBeer = 0.8f;
constexpr float kChantMotivation = 1.1f;
constexpr int32_t kChantPeriod = 10;
constexpr int32_t kOutPeriod = 3;

constexpr float kCopyMotivation = 0.6f;
// Bricks are looked for this far around.
constexpr int32_t kBrickRange = 20;
constexpr int32_t kBrickSourceType = 14;
constexpr float kCharmedFollow = 0.6f;

bool Alive(const YLThing& thing) { return thing.Info != nullptr && (thing.Info->Status & StatusAlive) != 0; }

float AngerOf(const YLUnit& unit) {
  const UnitInfo* info = unit.GetUnitInfo();
  return info != nullptr ? info->Anger : 0.0f;
}

}  // namespace

bool YLUnitSupporter::Imitates() const { return true; }
bool YLUnitHardCore::Imitates() const { return false; }

// ---- Being hurt ----

void YLUnitSupporter::Stun(float amount) {
  YLUnit::Stun(amount);
  UnitInfo* info = GetUnitInfo();
  if (info == nullptr || !HasStatus(StatusAlive) || !HasStatus(StatusUpright)) {
    return;
  }
  info->Anger += kHurtAnger * GetNeutralFactor() * amount * (1.0f - info->Anger);
}

void YLUnitSupporter::HitByThrow(float amount, int32_t x, int32_t y) {
  YLUnit::HitByThrow(amount, x, y);
  UnitInfo* info = GetUnitInfo();
  if (info == nullptr || !HasStatus(StatusAlive) || !HasStatus(StatusUpright)) {
    return;
  }
  info->Anger += kThrowAnger * GetNeutralFactor() * amount * (1.0f - info->Anger);
  const CLogic* logic = GetLogic();
  const YLUnit* thrower = logic != nullptr && logic->Map != nullptr ? logic->Map->FindUnitNear(x, y) : nullptr;
  if (thrower != nullptr && thrower->Info != nullptr) {
    LastThrower = thrower->Info->Tid;
  }
}

// ---- Group anger ----

void YLUnitSupporter::UpdatePerception() {
  YLUnit::UpdatePerception();
  ApplyGroupAnger();
}

void YLUnitSupporter::ApplyGroupAnger() {
  UnitInfo* info = GetUnitInfo();
  const CLogic* logic = GetLogic();
  if (info == nullptr || logic == nullptr || HasStatus(kStatusArrested | kStatusSwitchedOff)) {
    return;
  }
  const int32_t owner = GetOwner();
  float sum = 0.0f;
  float weight = 0.0f;
  float pressure = 0.0f;
  for (int32_t index = 0; index < GetNeighbourCount(); ++index) {
    const int32_t id = GetNeighbour(index);
    if (id >= kDirectionCodes || id == info->Tid) {
      continue;
    }
    const auto* other = dynamic_cast<const YLUnit*>(logic->GetThing(id));
    if (other == nullptr || other->Info == nullptr) {
      continue;
    }
    if (other->GetOwner() == owner) {
      const int32_t near = kFriendRange - IntDistance(GetX(), GetY(), other->GetX(), other->GetY());
      if (near > 0) {
        sum += AngerOf(*other) * static_cast<float>(near);
        weight += static_cast<float>(near);
      }
      continue;
    }
    pressure += kAngerShare * AngerOf(*other) * (kPressureLimit - pressure);
    const int32_t move = other->Info->MoveNumber;
    if (move == kMoveWeapon || move == kMoveFist || move == kMoveKick) {
      pressure += kFightPressure * (kPressureLimit - pressure);
    } else if (move == kMoveChant) {
      pressure += kChantPressure * (kPressureLimit - pressure);
    }
  }
  const float average = weight > 0.0f ? sum / weight : 0.0f;
  const float target = (1.0f - average) * std::min(GetNeutralFactor() * pressure, 1.0f) + average;
  info->Anger += (target - info->Anger) * kAngerStep;
  if (FollowLeader != 0 && info->Loyalty < kLostLoyalty) {
    info->Loyalty = 0.0f;
    FollowLeader = 0;
    ClearPlan();
  }
}

// ---- Intentions ----

void YLUnitSupporter::ComputeIntentions() {
  if (HasStatus(kStatusArrested | kStatusSwitchedOff)) {
    return;
  }
  DangerReflexes();
  MaybeIdle();
  ChooseAttack();
  ChooseChant();
  if (Imitates()) {
    Imitate();
  }
  ChooseFollow();
}

void YLUnitSupporter::ChooseAttack() {
  UnitInfo* info = GetUnitInfo();
  const CLogic* logic = GetLogic();
  if (info == nullptr || logic == nullptr || GetContainer() != nullptr) {
    return;
  }
  PsychicPlanItem* leaf = GetPlanLeaf();
  const bool planned = leaf != nullptr && leaf->Action != OrderKind::kUnknown;
  if (planned && leaf->Action != OrderKind::kAttack && !(info->Anger > info->Carefulness)) {
    return;
  }
  // The nearest living enemy on the map; the first of equally near ones.
  const int32_t owner = GetOwner();
  YLUnit* enemy = nullptr;
  float closeness = 0.0f;
  for (int32_t index = 0; index < GetNeighbourCount(); ++index) {
    const int32_t id = GetNeighbour(index);
    if (id >= kDirectionCodes || id == info->Tid) {
      continue;
    }
    auto* other = dynamic_cast<YLUnit*>(logic->GetThing(id));
    if (other == nullptr || !Alive(*other) || other->GetOwner() == owner || other->GetContainer() != nullptr) {
      continue;
    }
    const int32_t distance = IntDistance(GetX(), GetY(), other->GetX(), other->GetY());
    const float near = static_cast<float>(kSightRange - distance) * 0.1f;
    if (enemy == nullptr || near > closeness) {
      enemy = other;
      closeness = near;
    }
  }
  if (enemy == nullptr) {
    YLUnit* thrower = GetLastThrower();
    if (thrower != nullptr && thrower != this) {
      ExecutePlan(new PsychicPlanAttack(thrower->GetTid(), 0, info->Anger - info->Carefulness,
                                        info->Anger > kFastThrowerAnger));
    }
    return;
  }
  // Already fighting someone close: the fight moves to a new enemy of the
  // same side, and stays otherwise.
  if (planned && leaf->Action == OrderKind::kAttack) {
    YLUnit* target = FindLivingUnit(leaf->Param1);
    if (target != nullptr && IntDistance(GetX(), GetY(), target->GetX(), target->GetY()) < kKeepAttackRange) {
      if (target != enemy && target->GetOwner() == enemy->GetOwner()) {
        ExecutePlan(new PsychicPlanAttack(enemy->GetTid(), 0, leaf->Motivation + 0.1f, leaf->Fast));
      }
      return;
    }
  }
  const float score = (info->Anger - info->Carefulness) * closeness;
  if (score <= kNoAttack) {
    return;
  }
  if (score <= kThrowUpTo) {
    if (HasStatus(kStatusHoldsBrick)) {
      ExecutePlan(new PsychicPlanThrowBrick(enemy->GetTid(), 0, score, false));
    }
    return;
  }
  ExecutePlan(new PsychicPlanAttack(enemy->GetTid(), 0, score, score > kSlowUpTo));
}

void YLUnitSupporter::ChooseChant() {
  const UnitInfo* info = GetUnitInfo();
  if (info == nullptr || !(info->Beer > kChantBeer)) {
    return;
  }
  const float draw = static_cast<float>(RandomFloat());
  if (draw < info->Beer * 0.01f) {
    auto* chant = new PsychicPlanChant(0, 0, kChantMotivation, false);
    chant->Period = kChantPeriod;
    ExecutePlan(chant);
  } else if (info->Beer > kOutBeer && info->Beer * 0.02f > draw) {
    auto* out = new PsychicPlanOut(0, 0, kChantMotivation, false);
    out->Period = kOutPeriod;
    ExecutePlan(out);
  }
}

void YLUnitSupporter::Imitate() {
  YLUnit* followed = GetFollowedUnit();
  const UnitInfo* info = GetUnitInfo();
  if (followed == nullptr || info == nullptr) {
    return;
  }
  const PsychicPlanItem* model = followed->GetPlanLeaf();
  PsychicPlanItem* own = GetPlanLeaf();
  if (model == nullptr || model->Action == OrderKind::kUnknown) {
    if (followed == this) {
      return;
    }
    PsychicPlanGotoThing go(followed->GetTid(), 0, info->Loyalty, false);
    if (own == nullptr || !own->Equals(go)) {
      ExecutePlan(go.Clone());
    }
    return;
  }
  PsychicPlanItem* copy = model->Clone();
  if (copy->Action == OrderKind::kChant) {
    copy->Param1 = FollowLeader;
  }
  if (own != nullptr && own->Equals(*copy)) {
    PsychicPlanItem::DeleteTree(copy);
    return;
  }
  if (copy->Action == OrderKind::kAttack) {
    FollowLeader = 0;
  }
  ClearPlan();
  copy->Motivation = kCopyMotivation;
  ExecutePlan(copy);
}

void YLUnitSupporter::ChooseFollow() {
  UnitInfo* info = GetUnitInfo();
  if (info == nullptr || GotoTarget == 0 || info->MoveNumber == kMoveOut) {
    return;
  }
  if (YLThing* container = GetContainer()) {
    ExecutePlan(new PsychicPlanLeave(container->GetTid(), 0, info->Flirt < kCharmedFollow ? 1.2f : 0.75f, false));
  } else if (GetLogic() != nullptr && GetLogic()->GetThing(GotoTarget) != nullptr) {
    ExecutePlan(new PsychicPlanGotoThing(GotoTarget, 0, info->Flirt <= kCharmedFollow ? 0.75f : 1.2f, false));
  }
  info->Flirt = 0.0f;
  GotoTarget = 0;
}

// ---- Planning ----

int32_t YLUnitSupporter::FindBrickSource() const {
  const CLogic* logic = GetLogic();
  if (logic == nullptr || logic->Map == nullptr) {
    return 0;
  }
  tCollection<int32_t> around;
  logic->Map->CollectObstacles(this, kBrickRange, around);
  int32_t best = 0;
  int32_t bestDistance = 0;
  for (int32_t index = 0; index < around.count; ++index) {
    const int32_t id = around[index];
    const YLThing* thing = id < kDirectionCodes ? logic->GetThing(id) : nullptr;
    if (thing == nullptr || thing->Info == nullptr || thing->Info->BuildingType != kBrickSourceType) {
      continue;
    }
    const int32_t distance = IntDistance(GetX(), GetY(), thing->GetX(), thing->GetY());
    if (best == 0 || distance < bestDistance) {
      best = id;
      bestDistance = distance;
    }
  }
  return best;
}

bool YLUnitSupporter::MakePlan() {
  try {
    if (YLUnit::MakePlan()) {
      return true;
    }
  } catch (...) {
    DebugPrint("YLUnitSupporter::MakePlan exception in YLUnit::MakePlan\n");
  }
  PsychicPlanItem* step = GetPlanLeaf();
  const CLogic* logic = GetLogic();
  if (step == nullptr || logic == nullptr) {
    return false;
  }
  switch (step->Action) {
    case OrderKind::kAttack: {
      const YLThing* target = logic->GetThing(step->Param1);
      if (target == nullptr || !PlanPath(GetX(), GetY(), target->GetX(), target->GetY(), step, 0)) {
        return false;
      }
      step->Expandable = false;
      return true;
    }
    case OrderKind::kThrow:
      step->Param2 = FindBrickSource();
      return step->Param2 != 0;
    case OrderKind::kPickUp: {
      if (step->Param1 == 0) {
        step->Param1 = FindBrickSource();
      }
      const YLThing* source = step->Param1 != 0 ? logic->GetThing(step->Param1) : nullptr;
      if (source == nullptr || !PlanPath(GetX(), GetY(), source->GetX(), source->GetY(), step, 0)) {
        return false;
      }
      step->Expandable = false;
      return true;
    }
    case OrderKind::kChant:
      return true;
    default:
      return false;
  }
}

// ---- Moves ----

int32_t YLUnitSupporter::GetAttackMove(int32_t move) const { return move; }

int32_t YLUnitSupporter::DoAttack(float motivation, int32_t targetId, bool fast) {
  const CLogic* logic = GetLogic();
  const YLThing* target = logic != nullptr ? logic->GetThing(targetId) : nullptr;
  if (target == nullptr || !Alive(*target)) {
    return kReached;
  }
  const auto* unit = dynamic_cast<const YLUnit*>(target);
  if (unit != nullptr && target->Info->MoveNumber == kMoveAmbient) {
    return kReached;
  }
  // Close in until next to the target's nearest cell.
  int32_t x = target->GetX();
  int32_t y = target->GetY();
  GetNearestPoint(target, GetX(), GetY(), x, y);
  const int32_t walk = DoGoto(motivation, x, y, fast, 1);
  if (walk != kReached) {
    return walk;
  }
  if (GetContainer() != nullptr) {
    return kReached;
  }
  if (unit != nullptr && (target->Info->MoveNumber == kMoveFall || target->Info->MoveNumber == kMoveOut)) {
    return GetAttackMove(kMoveKick);
  }
  const UnitInfo* info = GetUnitInfo();
  return GetAttackMove(info != nullptr && info->Weapon != 0 ? kMoveWeapon : kMoveFist);
}

int32_t YLUnitSupporter::DoChant(float motivation) {
  if (FollowLeader == 0) {
    return kMoveChant;
  }
  const CLogic* logic = GetLogic();
  const int32_t owner = GetOwner();
  int32_t chanting = 0;
  for (int32_t index = 0; logic != nullptr && index < GetNeighbourCount() && chanting < 3; ++index) {
    const int32_t id = GetNeighbour(index);
    const auto* other = id < kDirectionCodes ? dynamic_cast<const YLUnit*>(logic->GetThing(id)) : nullptr;
    if (other != nullptr && other->Info != nullptr && other->GetOwner() == owner &&
        IntDistance(GetX(), GetY(), other->GetX(), other->GetY()) == 1 && other->Info->MoveNumber == kMoveChant) {
      ++chanting;
    }
  }
  if (chanting >= 3 || GetFollowedUnit() == nullptr) {
    return kMoveChant;
  }
  const int32_t walk = DoGotoThing(motivation, FollowLeader, false);
  return walk == kReached ? kMoveChant : walk;
}
