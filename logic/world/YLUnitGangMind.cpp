// The raver's and the yobb's own steps.

#include <algorithm>

#include "base/DebugFormat.h"
#include "base/Random.h"
#include "logic/core/CLogic.h"
#include "logic/core/OrderKinds.h"
#include "logic/core/WeaponCatalog.h"
#include "logic/core/YLWeapon.h"
#include "logic/core/CMap.h"
#include "logic/world/MoveInfo.h"
#include "logic/world/PsychicPlanKinds.h"
#include "logic/world/YLTBaricade.h"
#include "logic/world/YLTBuilding.h"
#include "logic/world/YLTPushable.h"
#include "navigation/YLKnowledgeMap.h"
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

// The first cell from the thing's position, going in the direction, that
// the knowledge map does not give to the thing.
void WalkPastThing(const YLThing& thing, int32_t direction, int32_t& x, int32_t& y) {
  x = thing.GetX();
  y = thing.GetY();
  const CLogic* logic = YLThing::GetLogic();
  const YLKnowledgeMap* grid = logic != nullptr && logic->Map != nullptr ? logic->Map->GetStratMap() : nullptr;
  if (grid == nullptr) {
    return;
  }
  const int32_t id = thing.GetTid();
  // The walk leaves the map at the latest after its width and height.
  for (int32_t steps = 0; steps < 0x10000 && grid->IsInside(x, y) && grid->GetUnit(x, y) == id; ++steps) {
    x += kDirectionX[direction];
    y += kDirectionY[direction];
  }
}

constexpr int32_t kMoveBaricade = 23;
constexpr int32_t kMoveWeapon = 11;
constexpr int32_t kMoveFist = 12;
constexpr int32_t kMoveThrow = 14;
constexpr int32_t kMoveBurgle = 22;
constexpr int32_t kEntranceReach = 2;
constexpr float kYobbCalming = 3.0f;
constexpr int32_t kStimulusMakeWay = 3;

}  // namespace

// ---- The rozav ----

bool YLUnitRozav::MakePlan() {
  try {
    if (YLUnitHardCore::MakePlan()) {
      return true;
    }
  } catch (...) {
    // Logged, and planning goes on as if the answer were false.
    DebugPrint("YLUnitRozav::MakePlan exception in YLUnitHardCore::MakePlan\n");
  }
  PsychicPlanItem* step = GetPlanLeaf();
  const CLogic* logic = GetLogic();
  if (step == nullptr || step == &Plan || logic == nullptr) {
    return false;
  }
  if (!step->Expandable) {
    return true;
  }
  if (step->Action != OrderKind::kBaricade) {
    return false;
  }
  // The order names the cell the player pointed at, as peers and saves
  // keep it; the step takes the thing to work on from that cell now.
  // Reading the column as a thing id would send the rozav to whatever
  // thing has that number.
  const YLThing* thing = TakeBarricadeAt(*step);
  if (thing == nullptr) {
    return true;
  }
  if (const auto* barricade = dynamic_cast<const YLTBaricade*>(thing)) {
    const int32_t facing = barricade->Info->GetFacing();
    if (auto* baricade = dynamic_cast<PsychicPlanBaricade*>(step)) {
      baricade->Down = barricade->Cleaned ? 1 : 0;
    }
    int32_t ax = 0;
    int32_t ay = 0;
    int32_t bx = 0;
    int32_t by = 0;
    WalkPastThing(*barricade, (facing + 4) % kDirectionCount, ax, ay);
    WalkPastThing(*barricade, facing, bx, by);
    const int32_t toA = GetPathLength(ax, ay);
    const int32_t toB = GetPathLength(bx, by);
    if (toA >= 0 && (toB < 0 || toA <= toB)) {
      step->Param2 = facing;
      BarricadeX = ax;
      BarricadeY = ay;
      PlanPath(GetX(), GetY(), ax, ay, step, 0);
    } else if (toB >= 0) {
      step->Param2 = (facing + 4) % kDirectionCount;
      BarricadeX = bx;
      BarricadeY = by;
      PlanPath(GetX(), GetY(), bx, by, step, 0);
    }
  } else {
    int32_t x = 0;
    int32_t y = 0;
    WalkPastThing(*thing, WrapDirection(step->Param2 + 4), x, y);
    BarricadeX = x;
    BarricadeY = y;
    if (!PlanPath(GetX(), GetY(), x, y, step, 0)) {
      return false;
    }
  }
  step->Expandable = false;
  return true;
}

const YLThing* YLUnitRozav::TakeBarricadeAt(PsychicPlanItem& step) {
  const CLogic* logic = GetLogic();
  const int32_t x = step.Param1;
  const int32_t y = step.Param2;
  // Nothing to work on: the step ends at its first execution.
  step.Param1 = 0;
  YLThing* there = logic != nullptr ? logic->GetThingAt(x, y) : nullptr;
  if (there == nullptr && logic != nullptr) {
    there = logic->FindThingAtPosition(x, y);
  }
  if (there == nullptr || there->Info == nullptr ||
      (dynamic_cast<YLTBaricade*>(there) == nullptr && dynamic_cast<YLTPushableThing*>(there) == nullptr)) {
    return nullptr;
  }
  step.Param1 = there->GetTid();
  // A pushed thing is worked from the side the rozav comes from; a
  // barricade's side is chosen by the shorter way round.
  step.Param2 = GetDirection(GetX(), GetY(), 0, there->GetX(), there->GetY());
  return there;
}

int32_t YLUnitRozav::DoBaricade(float motivation, int32_t id, int32_t side, bool fast, bool down) {
  CLogic* logic = GetLogic();
  const YLThing* thing = logic != nullptr && id != 0 ? logic->GetThing(id) : nullptr;
  const UnitInfo* info = GetUnitInfo();
  if (thing == nullptr || thing->Info == nullptr || info == nullptr) {
    return kReached;
  }
  const auto* barricade = dynamic_cast<const YLTBaricade*>(thing);
  if (barricade != nullptr && barricade->Cleaned != down) {
    return kReached;
  }
  side = WrapDirection(side);
  if (BarricadeX == kNoCell) {
    WalkPastThing(*thing, WrapDirection(side + 4), BarricadeX, BarricadeY);
  }
  const int32_t walk = DoGoto(motivation, BarricadeX, BarricadeY, fast, 0);
  if (walk != kReached) {
    return walk;
  }
  const YLKnowledgeMap* grid = logic->Map != nullptr ? logic->Map->GetStratMap() : nullptr;
  const int32_t occupant = grid != nullptr && grid->IsInside(BarricadeX, BarricadeY) ? grid->GetUnit(BarricadeX, BarricadeY)
                                                                                     : GetTid();
  if (occupant != GetTid() && (GetX() != BarricadeX || GetY() != BarricadeY)) {
    // Someone stands on the cell: only a unit can be asked to make way.
    if (FindLivingUnit(occupant) != nullptr) {
      logic->SendUnitMessage(this, occupant, kStimulusMakeWay, motivation);
    }
    return kMoveRest;
  }
  const int32_t facing = Info->GetFacing();
  if (side != facing) {
    return side - facing > 0 ? kMoveTurnClockwise : kMoveTurnCounterClockwise;
  }
  const MoveInfo* move = GetMoveInfo(kMoveBaricade);
  if (move == nullptr || info->Stamina - move->stamina < 0.0f) {
    return kMoveRest;
  }
  DestinationX = GetX() + kDirectionX[side];
  DestinationY = GetY() + kDirectionY[side];
  BarricadeX = kNoCell;
  BarricadeY = kNoCell;
  return kMoveBaricade;
}

// ---- The rat ----

int32_t YLUnitRat::DoBurgle(float, int32_t id, bool) {
  const CLogic* logic = GetLogic();
  const auto* building = dynamic_cast<const YLTBuilding*>(logic != nullptr && id != 0 ? logic->GetThing(id) : nullptr);
  if (building == nullptr || GetContainer() == building) {
    return kReached;
  }
  return IntDistance(GetX(), GetY(), building->GetX(), building->GetY()) <= kEntranceReach ? kMoveEnter : kMoveBurgle;
}

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

void YLUnitRaver::SetActive(uint8_t frames) {
  PsychicPlanItem* leaf = GetPlanLeaf();
  if (leaf != &Plan && leaf->Action == OrderKind::kRave) {
    PlanReached(leaf);
  }
  YLUnitHardCore::SetActive(frames);
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

int32_t YLUnitYobb::DoMolotovThing(float motivation, int32_t id, bool fast) {
  if (ThrowPending) {
    ThrowPending = false;
    return kReached;
  }
  const CLogic* logic = GetLogic();
  const YLThing* target = logic != nullptr && id != 0 ? logic->GetThing(id) : nullptr;
  if (target == nullptr || target->Info == nullptr || (target->Info->Status & StatusAlive) == 0) {
    return kReached;
  }
  SetStatus(kStatusHoldsBrick);
  if (ThrowPaced()) {
    return kMoveRest;
  }
  const int32_t x = target->GetX();
  const int32_t y = target->GetY();
  const int32_t answer = ThrowAt(motivation, x, y, fast, 0.2f, 0.25f);
  if (answer != kMoveThrow) {
    return answer;
  }
  ThrowPending = true;
  ThrowX = x;
  ThrowY = y;
  DestinationX = x;
  DestinationY = y;
  return kMoveMolotov;
}

YLWeapon* YLUnitYobb::GetWeapon() const {
  const CLogic* logic = GetLogic();
  return logic != nullptr && logic->Weapons != nullptr ? logic->Weapons->GetSlot(kYobbWeaponSlot) : nullptr;
}

int32_t YLUnitYobb::OnBrainMove(int32_t move) {
  UnitInfo* info = GetUnitInfo();
  if ((move == kMoveWeapon || move == kMoveFist) && info != nullptr && Info != nullptr) {
    // Both strike with entry 61 (the yobb's own weapon, and the fist of its
    // type) at the cell in front.
    if (const YLWeapon* weapon = GetWeapon()) {
      info->Anger = std::max(info->Anger - kYobbCalming * weapon->GetTotalDamage(), 0.0f);
    }
    const int32_t facing = Info->GetFacing();
    DestinationX = GetX() + kDirectionX[facing];
    DestinationY = GetY() + kDirectionY[facing];
  }
  const bool throwing = move == kMoveMolotov && ThrowPending && info != nullptr && info->Weapon >= 1;
  const int32_t frames = YLUnitHardCore::OnBrainMove(move);
  if (throwing && Info != nullptr && Info->Move != nullptr && Info->Move == GetMoveInfo(kMoveMolotov)) {
    SetWeaponGrade(0);
  }
  return frames;
}
