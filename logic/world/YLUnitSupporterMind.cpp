// A fan's feelings towards the units around it and its own intentions.

#include <algorithm>

#include "base/DebugFormat.h"
#include "base/Random.h"
#include "base/tCollection.h"
#include "logic/core/CLogic.h"
#include "logic/core/CMap.h"
#include "logic/core/OrderKinds.h"
#include "logic/world/MoveInfo.h"
#include "logic/world/YLTLvl11Fence.h"
#include "navigation/YLKnowledgeMap.h"
#include "navigation/YLPathPlanNode.h"
#include "logic/world/PsychicPlanKinds.h"
#include "logic/world/YLUnitLeader.h"
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

// A call from an own unit (a chant, a group called together).
constexpr int32_t kStimulusCall = 1;
constexpr float kCallLoyalty = 0.15f;
constexpr float kStandingMotivation = 0.2f;

// Idling: the situations inside a container, the chance of an ambient
// move, how near the crowd must stand to end the survey.
constexpr int32_t kFirstInsideSituation = 5;
constexpr int32_t kLastInsideSituation = 8;
constexpr double kAmbientChance = 0.1;
constexpr float kIdleMotivation = 0.25f;
constexpr int32_t kCrowdClose = 3;
constexpr int32_t kCrowdRange = 2;
constexpr int32_t kFastIdleDistance = 4;
constexpr float kStandStillMotivation = 0.35f;
constexpr double kTurnClockwiseBelow = 0.45;
constexpr double kAmbientFrom = 0.9;
constexpr int32_t kLeaderIdleRange = 7;
constexpr int32_t kLeaderIdleArrival = 2;

// Throwing: how far a brick flies, the marker's step and its settings after
// a fetch and after a throw.
constexpr int32_t kThrowReach = 15;
constexpr int32_t kRouteTolerance = 14;
constexpr int32_t kSectorRerouteRange = 3;
constexpr float kThrowPace = 0.1f;
constexpr float kFetchPaceBase = 0.3f;
constexpr float kFetchPaceScale = 0.5f;
constexpr float kThrowPaceBase = 0.2f;
constexpr float kThrowPaceScale = 0.25f;
constexpr int32_t kMoveThrow = 14;
constexpr int32_t kMovePickUp = 19;

bool Alive(const YLThing& thing) { return thing.Info != nullptr && (thing.Info->Status & StatusAlive) != 0; }

float AngerOf(const YLUnit& unit) {
  const UnitInfo* info = unit.GetUnitInfo();
  return info != nullptr ? info->Anger : 0.0f;
}

}  // namespace

bool YLUnitSupporter::Imitates() const { return true; }
bool YLUnitHardCore::Imitates() const { return false; }

// ---- Being hurt ----

// A fan grows angry from the health a blow costs it, as an officer does; a
// blow that only stuns (a push, tear gas) leaves its temper alone.
void YLUnitSupporter::Frighten(float amount, int32_t sourceId) {
  YLUnit::Frighten(amount, sourceId);
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
    const auto* other = UnitOf(logic->GetThing(id));
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
  // A fan that copies whom it follows holds when that one holds: idling on
  // its own would replace the copy, and the next copy replace the idling,
  // on every slow step.
  if (Imitates() && GetFollowedUnit() != nullptr && GetFollowedUnit() != this) {
    return;
  }
  const PsychicPlanItem* top = Plan.child;
  if (top == nullptr || (top->Action == OrderKind::kHold && top->queue == nullptr && top->child == nullptr)) {
    ChooseIdle();
  }
}

// ---- Reflexes ----

void YLUnitSupporter::ComputeReflexes() {
  UnitInfo* info = GetUnitInfo();
  const CLogic* logic = GetLogic();
  const bool leader = dynamic_cast<const YLUnitLeader*>(this) != nullptr;
  for (uint8_t index = 0; info != nullptr && logic != nullptr && index < GetStimulusCount(); ++index) {
    const Stimulus* stimulus = GetStimulus(index);
    if (stimulus == nullptr || (stimulus->kind & 0xFF) != kStimulusCall || leader || stimulus->source == info->Tid) {
      continue;
    }
    const YLUnit* caller = FindLivingUnit(stimulus->source);
    if (caller == nullptr || caller->GetOwner() != GetOwner()) {
      continue;
    }
    info->Loyalty = std::min(info->Loyalty + kCallLoyalty, 1.0f);
    FollowLeader = stimulus->source;
  }
  YLUnit::ComputeReflexes();
  if (CurrentMove == nullptr) {
    OfferStep(new PsychicPlanHold(0, 0, kStandingMotivation, false));
  }
}

void YLUnitSupporter::CallGroupTogether(float strength) {
  CLogic* logic = GetLogic();
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
    if (other != nullptr && other->GetOwner() == owner) {
      logic->SendUnitMessage(this, id, kStimulusCall, strength);
    }
  }
}

// ---- Idling ----

void YLUnitSupporter::ChooseIdle() {
  const int32_t situation = GetSituation();
  const CLogic* logic = GetLogic();
  if (logic == nullptr || Info == nullptr || (situation >= kFirstInsideSituation && situation <= kLastInsideSituation)) {
    return;
  }
  if (RandomFloat() < kAmbientChance) {
    ExecutePlan(new PsychicPlanAmbient(0, 0, kIdleMotivation, false));
    return;
  }
  // Where the units around stand, and which way the walking ones go.
  int32_t sumX = 0;
  int32_t sumY = 0;
  int32_t counted = 0;
  int32_t close = 0;
  int32_t tally[kDirectionCount] = {};
  int32_t total = 0;
  for (int32_t index = 0; index < GetNeighbourCount() && close < kCrowdClose; ++index) {
    const int32_t id = GetNeighbour(index);
    if (id >= kDirectionCodes || id == Info->Tid) {
      continue;
    }
    const auto* other = UnitOf(logic->GetThing(id));
    if (other == nullptr || other->Info == nullptr) {
      continue;
    }
    const int32_t dx = other->GetX() - GetX();
    const int32_t dy = other->GetY() - GetY();
    sumX += dx;
    sumY += dy;
    ++counted;
    const int32_t move = other->Info->MoveNumber;
    const int32_t weight = move == kMoveWalk ? 1 : (move == kMoveRun || move == kMoveRunOtherLeg ? 2 : 0);
    tally[other->Info->GetFacing()] += weight;
    total += weight;
    if (IntDistance(0, 0, dx, dy) <= kCrowdRange) {
      ++close;
    }
  }
  int32_t goalX = GetX() + (counted > 0 ? sumX / counted : 0);
  int32_t goalY = GetY() + (counted > 0 ? sumY / counted : 0);
  int32_t most = 0;
  for (int32_t direction = 1; direction < kDirectionCount; ++direction) {
    if (tally[direction] > tally[most]) {
      most = direction;
    }
  }
  // More than half of the walkers, and more than twice the mean of a
  // direction, go one way: the goal shifts a cell that way.
  if (total > 0 && 2 * tally[most] > total && tally[most] * kDirectionCount > 2 * total) {
    goalX += kDirectionX[most];
    goalY += kDirectionY[most];
  }
  goalX = std::max(goalX, 0);
  goalY = std::max(goalY, 0);
  if (goalX == GetX() && goalY == GetY()) {
    // Nowhere to go: the fan stands still, and a free brain plays the
    // standing move at once.
    const int32_t move = ChooseStandStill();
    if (Busy == 0) {
      SetActive(static_cast<uint8_t>(OnBrainMove(move)));
    }
    return;
  }
  const bool fast = IntDistance(GetX(), GetY(), goalX, goalY) >= kFastIdleDistance;
  ExecutePlan(new PsychicPlanGoto(goalX, goalY, kIdleMotivation, fast));
}

int32_t YLUnitSupporter::ChooseStandStill() {
  ExecutePlan(new PsychicPlanHold(0, 0, kStandStillMotivation, false));
  const double draw = RandomFloat();
  if (draw < kTurnClockwiseBelow) {
    return kMoveTurnClockwiseAgain;
  }
  return draw >= kAmbientFrom ? kMoveAmbient : kMoveTurnCounterClockwiseAgain;
}

void YLUnitHardCore::ChooseIdle() {
  const YLUnitLeader* leader = GetGroupLeader();
  if (leader == nullptr || leader == this || Plan.child != nullptr ||
      IntDistance(GetX(), GetY(), leader->GetX(), leader->GetY()) > kLeaderIdleRange) {
    return;
  }
  auto* go = new PsychicPlanGoto(leader->GetX(), leader->GetY(), kIdleMotivation, false);
  go->ArrivalDistance = kLeaderIdleArrival;
  ExecutePlan(go);
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
    auto* other = UnitOf(logic->GetThing(id));
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

int32_t YLUnitSupporter::GetPathLength(int32_t x, int32_t y) const {
  CLogic* logic = GetLogic();
  if (logic == nullptr || logic->Map == nullptr) {
    return -1;
  }
  // The finder owns the route and may rewrite it on the next query: the
  // length is taken at once.
  const YLPathPlanNode* route = logic->Map->GetPathFinder().FindPath(GetX(), GetY(), x, y);
  return route != nullptr ? route->GetLength() : -1;
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
      if (target == nullptr) {
        return false;
      }
      int32_t x = target->GetX();
      int32_t y = target->GetY();
      if (dynamic_cast<const YLTLvl11Fence*>(target) != nullptr) {
        // A fence is attacked from the end with the shorter route.
        int32_t x2 = 0;
        int32_t y2 = 0;
        YLTLvl11Fence::GetEnds(*target, x, y, x2, y2);
        const int32_t first = GetPathLength(x, y);
        const int32_t second = GetPathLength(x2, y2);
        if (first < 0 && second < 0) {
          return false;
        }
        if (first < 0 || (second >= 0 && second < first)) {
          x = x2;
          y = y2;
        }
      }
      if (!PlanPath(GetX(), GetY(), x, y, step, 0)) {
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
  const auto* unit = UnitOf(target);
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
  // The blow lands where the target stands.
  DestinationX = x;
  DestinationY = y;
  if (unit != nullptr && (target->Info->MoveNumber == kMoveFall || target->Info->MoveNumber == kMoveOut)) {
    return GetAttackMove(kMoveKick);
  }
  const UnitInfo* info = GetUnitInfo();
  return GetAttackMove(info != nullptr && info->Weapon != 0 ? kMoveWeapon : kMoveFist);
}

int32_t YLUnitSupporter::DoChant(float motivation) {
  // A chant under a group order (the order itself, or the plan it heads)
  // calls the group together first.
  if ((CurrentMove != nullptr && CurrentMove->Action == OrderKind::kGroup) ||
      (Plan.child != nullptr && Plan.child->Action == OrderKind::kGroup)) {
    CallGroupTogether(motivation);
  }
  if (FollowLeader == 0) {
    return kMoveChant;
  }
  const CLogic* logic = GetLogic();
  const int32_t owner = GetOwner();
  int32_t chanting = 0;
  for (int32_t index = 0; logic != nullptr && index < GetNeighbourCount() && chanting < 3; ++index) {
    const int32_t id = GetNeighbour(index);
    const auto* other = id < kDirectionCodes ? UnitOf(logic->GetThing(id)) : nullptr;
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

// ---- Bricks ----

int32_t YLUnitSupporter::DoPickUp(float motivation, int32_t id, bool fast) {
  const CLogic* logic = GetLogic();
  const YLThing* source = logic != nullptr && id != 0 ? logic->GetThing(id) : nullptr;
  if (HasStatus(kStatusHoldsBrick) || source == nullptr) {
    return kReached;
  }
  int32_t x = source->GetX();
  int32_t y = source->GetY();
  GetNearestPoint(source, GetX(), GetY(), x, y);
  const int32_t walk = DoGoto(motivation, x, y, fast, 1);
  return walk == kReached ? kMovePickUp : walk;
}

bool YLUnitSupporter::ThrowPaced() {
  if (Frustration >= kThrowPace) {
    Frustration -= kThrowPace;
    return true;
  }
  return false;
}

int32_t YLUnitSupporter::ThrowAt(float motivation, int32_t x, int32_t y, bool fast, float base, float scale) {
  if (IntDistance(GetX(), GetY(), x, y) > kThrowReach) {
    const int32_t walk = DoGoto(motivation, x, y, fast, kThrowReach);
    if (walk != kReached) {
      return walk;
    }
  }
  const int32_t facing = Info != nullptr ? Info->GetFacing() : 0;
  int32_t turn = GetDirection(GetX(), GetY(), facing, x, y);
  if (turn == -4) {
    turn = 4;
  }
  if (turn == 4) {
    return RandomFloat() < 0.5 ? kMoveTurnClockwise : kMoveTurnCounterClockwise;
  }
  if (turn > 0) {
    return kMoveTurnClockwise;
  }
  if (turn < 0) {
    return kMoveTurnCounterClockwise;
  }
  Frustration = base + scale * static_cast<float>(RandomFloat());
  DestinationX = x;
  DestinationY = y;
  return kMoveThrow;
}

int32_t YLUnitSupporter::DoThrow(float motivation, int32_t target, int32_t param2, bool fast) {
  const YLUnit* unit = FindLivingUnit(target);
  if (unit == nullptr || unit->Info->MoveNumber == kMoveAmbient) {
    return kReached;
  }
  if (ThrowPaced()) {
    return kMoveRest;
  }
  if (!HasStatus(kStatusHoldsBrick)) {
    if (param2 == 0) {
      return kReached;
    }
    const int32_t fetch = DoPickUp(motivation, param2, fast);
    if (fetch == kReached) {
      Frustration = kFetchPaceBase + kFetchPaceScale * static_cast<float>(RandomFloat());
    }
    return fetch;
  }
  return ThrowAt(motivation, unit->GetX(), unit->GetY(), fast, kThrowPaceBase, kThrowPaceScale);
}

void YLUnitSupporter::ComputePlanning() {
  YLUnit::ComputePlanning();
  PsychicPlanItem* step = GetPlanLeaf();
  const CLogic* logic = GetLogic();
  if (step == &Plan || logic == nullptr || logic->Map == nullptr) {
    return;
  }
  const YLKnowledgeMap* grid = logic->Map->GetStratMap();
  const YLThing* target = step->Param1 != 0 ? logic->GetThing(step->Param1) : nullptr;
  switch (step->Action) {
    case OrderKind::kGotoThing:
    case OrderKind::kAttack:
    case OrderKind::kEnter:
    case OrderKind::kGetDope:
      // Close by but across a sector border: the straight walk would not
      // get there, so the step takes a route.
      if (target != nullptr && grid != nullptr && step->child == nullptr &&
          grid->GetSector(target->GetX(), target->GetY()) != grid->GetSector(GetX(), GetY()) &&
          IntDistance(GetX(), GetY(), target->GetX(), target->GetY()) <= kSectorRerouteRange) {
        PlanPath(GetX(), GetY(), target->GetX(), target->GetY(), step, 0);
      }
      return;
    case OrderKind::kPickUp: {
      if (dynamic_cast<PsychicPlanPickUpBrick*>(step) == nullptr) {
        return;  // a Shop step shares the action
      }
      if (HasStatus(kStatusHoldsBrick)) {
        PlanReached(step);
        return;
      }
      if (target == nullptr) {
        // The source is gone: the step starts afresh and looks for the
        // nearest one again.
        PsychicPlanItem::DeleteTree(step->child);
        step->child = nullptr;
        step->Param1 = 0;
        step->Expandable = true;
        if (!MakePlan()) {
          PlanReached(step);
        }
        return;
      }
      if (step->child == nullptr &&
          IntDistance(GetX(), GetY(), target->GetX(), target->GetY()) > kThrowReach &&
          PlanPath(GetX(), GetY(), target->GetX(), target->GetY(), step, 0)) {
        // Within 14 cells the step walks itself.
        for (PsychicPlanItem* waypoint = step->child; waypoint != nullptr; waypoint = waypoint->queue) {
          if (IntDistance(waypoint->Param1, waypoint->Param2, target->GetX(), target->GetY()) <= kRouteTolerance) {
            PsychicPlanItem::DeleteTree(waypoint->queue);
            waypoint->queue = nullptr;
            break;
          }
        }
      }
      return;
    }
    default:
      return;
  }
}
