// The raver's and the yobb's own steps.

#include "base/DebugFormat.h"
#include "base/Random.h"
#include "logic/core/CLogic.h"
#include "logic/core/OrderKinds.h"
#include "logic/core/WeaponCatalog.h"
#include "logic/core/YLWeapon.h"
#include "logic/world/PsychicPlanKinds.h"
#include "logic/world/YLUnitSupporter.h"

namespace {

constexpr int32_t kRaveFrames = 35;
constexpr float kJoinMotivation = 0.5f;
constexpr int32_t kMoveRave = 24;
constexpr int32_t kMoveJoinRave = 31;
constexpr int32_t kMoveMolotov = 27;
constexpr int32_t kMolotovReach = 16;
constexpr int32_t kYobbWeaponSlot = 61;

// A quarter turn either way, drawn with even chance.
int32_t EitherTurn() {
  return RandomFloat() < 0.5 ? YLUnit::kMoveTurnClockwise : YLUnit::kMoveTurnCounterClockwise;
}

}  // namespace

// ---- The raver ----

void YLUnitRaver::ComputeReflexes() {
  int32_t caller = 0;
  for (uint8_t index = 0; index < GetStimulusCount(); ++index) {
    const Stimulus* stimulus = GetStimulus(index);
    if (stimulus == nullptr || (stimulus->kind & 0xFF) != kRaveCall || stimulus->source == GetTid()) {
      continue;
    }
    PsychicPlanItem* leaf = GetPlanLeaf();
    if (leaf != nullptr && leaf->Action == OrderKind::kRave) {
      PlanReached(leaf);
    }
    caller = stimulus->source;
  }
  YLUnitHardCore::ComputeReflexes();
  if (caller != 0 && FindLivingUnit(caller) != nullptr) {
    RaveID = caller;
    PushPlanItem(new PsychicPlanJoinRave(caller, 0, kJoinMotivation, false));
  }
}

bool YLUnitRaver::Propagate() {
  const bool going = YLUnitHardCore::Propagate();
  if (Raving && ++RaveCounter > kRaveFrames) {
    RaveCounter = 0;
    Raving = false;
  }
  return going;
}

int32_t YLUnitRaver::DoJoinRave(float motivation, int32_t raveId) {
  const YLUnit* rave = FindLivingUnit(raveId);
  if (rave == nullptr) {
    return kReached;
  }
  const int32_t distance = IntDistance(GetX(), GetY(), rave->GetX(), rave->GetY());
  const double draw = RandomFloat();
  if (draw < 0.3 * distance) {
    const int32_t walk = DoGotoThing(motivation, raveId, false);
    if (walk != kReached) {
      return walk;
    }
  }
  if (draw <= 0.8) {
    return kMoveJoinRave;
  }
  return draw <= 0.9 ? kMoveTurnCounterClockwiseAgain : kMoveTurnClockwiseAgain;
}

int32_t YLUnitRaver::DoRaveStep(float) { return kMoveRave; }

bool YLUnitRaver::MakePlan() {
  if (YLUnitHardCore::MakePlan()) {
    return true;
  }
  const PsychicPlanItem* step = GetPlanLeaf();
  return step != nullptr && step->Action == OrderKind::kRave;
}

// ---- The yobb ----

int32_t YLUnitYobb::DoMolotovPlace(float motivation, int32_t x, int32_t y, bool fast) {
  if (ThrowPending) {
    ThrowPending = false;
    return kReached;
  }
  if (IntDistance(GetX(), GetY(), x, y) > kMolotovReach) {
    const int32_t walk = DoGoto(motivation, x, y, fast, kMolotovReach);
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
    return EitherTurn();
  }
  if (turn > 0) {
    return kMoveTurnClockwise;
  }
  if (turn < 0) {
    return kMoveTurnCounterClockwise;
  }
  ThrowX = x;
  ThrowY = y;
  DestinationX = x;
  DestinationY = y;
  ThrowPending = true;
  return kMoveMolotov;
}

bool YLUnitYobb::MakePlan() {
  if (YLUnitHardCore::MakePlan()) {
    return true;
  }
  PsychicPlanItem* step = GetPlanLeaf();
  const CLogic* logic = GetLogic();
  const UnitInfo* info = GetUnitInfo();
  if (step == nullptr || logic == nullptr || info == nullptr || logic->Weapons == nullptr) {
    return false;
  }
  int32_t x = 0;
  int32_t y = 0;
  if (step->Action == OrderKind::kPositionedMolotov) {
    x = step->Param1;
    y = step->Param2;
  } else if (step->Action == OrderKind::kMolotov) {
    const YLThing* target = logic->GetThing(step->Param1);
    if (target == nullptr) {
      return false;
    }
    x = target->GetX();
    y = target->GetY();
  } else {
    return false;
  }
  const YLWeapon* weapon = info->Weapon != 0 ? logic->Weapons->GetSlot(kYobbWeaponSlot + info->Weapon) : nullptr;
  if (weapon == nullptr || info->Ammo < 1) {
    return false;
  }
  // The route ends where the target first lies within the molotov's range.
  const int32_t range = weapon->GetAttackRange();
  if (IntDistance(GetX(), GetY(), x, y) > range) {
    if (!PlanPath(GetX(), GetY(), x, y, step, 0)) {
      return false;
    }
    for (PsychicPlanItem* waypoint = step->child; waypoint != nullptr; waypoint = waypoint->queue) {
      if (IntDistance(waypoint->Param1, waypoint->Param2, x, y) <= range) {
        PsychicPlanItem::DeleteTree(waypoint->queue);
        waypoint->queue = nullptr;
        break;
      }
    }
  }
  step->Expandable = false;
  return true;
}

int32_t YLUnitYobb::OnBrainMove(int32_t move) {
  const UnitInfo* info = GetUnitInfo();
  const bool throwing = move == kMoveMolotov && ThrowPending && info != nullptr && info->Weapon >= 1;
  const int32_t frames = YLUnitHardCore::OnBrainMove(move);
  if (throwing && Info != nullptr && Info->Move != nullptr && Info->Move == GetMoveInfo(kMoveMolotov)) {
    SetWeaponGrade(0);
  }
  return frames;
}
