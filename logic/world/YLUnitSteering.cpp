// How a unit gets where its plan step wants it: the obstacle model of its
// eight neighbour cells, the choice and start of each elementary move, the
// greedy steering toward a cell with its ways out of a blockage, stepping
// aside, fleeing, fighting back, entering and leaving.

#include <cmath>
#include <cstdint>

#include "base/Random.h"
#include "logic/core/CLogic.h"
#include "logic/core/CMap.h"
#include "logic/core/OrderKinds.h"
#include "logic/world/PsychicPlanKinds.h"
#include "logic/world/YLTCar.h"
#include "logic/world/YLTContainerThing.h"
#include "logic/world/YLTDriver.h"
#include "logic/world/YLUnit.h"
#include "logic/world/YLUnitLeader.h"

namespace {

constexpr int32_t kSituationOnFoot = 1;
constexpr int32_t kSituationOtherLeg = 2;
constexpr int32_t kSituationPlaceD = 5;

// The stimulus a unit in the way gets: make way.
constexpr int32_t kStimulusMakeWay = 3;
constexpr int32_t kStimulusFlirt = 4;
// At most this many units are asked to make way at a time.
constexpr int32_t kMaxAsked = 3;
// A step reached answers one frame.
constexpr int32_t kReachedFrames = 1;
constexpr int32_t kRestingOnFrames = 2;
constexpr int32_t kLyingOnFrames = 6;

// A relative turn of any integer folded into -3..4.
int32_t FoldTurn(int64_t turn) {
  int64_t folded = turn % kDirectionCount;
  if (folded < 0) {
    folded += kDirectionCount;
  }
  return static_cast<int32_t>(folded > 4 ? folded - kDirectionCount : folded);
}

// The turn toward a relative direction: clockwise, counter-clockwise, or
// (straight behind) by the draw r.
int32_t TurnFor(int32_t turn, double r) {
  if (turn == 4) {
    return r > 0.5 ? YLUnit::kMoveTurnClockwise : YLUnit::kMoveTurnCounterClockwise;
  }
  return turn > 0 ? YLUnit::kMoveTurnClockwise : YLUnit::kMoveTurnCounterClockwise;
}

// The absolute direction (0-7) from (x1, y1) to (x2, y2).
int32_t AbsoluteDirection(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  return WrapDirection(YLUnit::GetDirection(x1, y1, 0, x2, y2));
}

// A direction code relative to a facing, -4..4.
int32_t RelativeCode(int32_t id, int32_t facing) {
  int32_t relative = WrapDirection(id - YLUnit::kDirectionCodes) - facing;
  if (relative < -4) {
    relative += kDirectionCount;
  }
  if (relative > 4) {
    relative -= kDirectionCount;
  }
  return relative;
}

int32_t CurrentMoveNumber(const ThingInfo* info) { return info != nullptr ? info->MoveNumber : 0; }

}  // namespace

// ---- Steering model ----

void YLUnit::ComputeUpdateModel() {
  const CLogic* logic = GetLogic();
  const CMap* map = logic != nullptr ? logic->Map.get() : nullptr;
  const int32_t situation = GetSituation();
  const YLThing* around = nullptr;
  bool near = false;
  if (situation == kSituationOnFoot || situation == kSituationOtherLeg) {
    around = this;
  } else if (situation == kSituationPlaceD) {
    around = Container;
    near = true;
  } else if (situation >= 6 && situation <= 8) {
    around = Container;
  }
  for (int32_t direction = 0; direction < kDirectionCount; ++direction) {
    if (map == nullptr || around == nullptr) {
      ObstacleMap[direction] = 0.0f;
      continue;
    }
    const int32_t dx = kDirectionX[direction];
    const int32_t dy = kDirectionY[direction];
    const int32_t answer = near ? map->GetObstacleNear(around, dx, dy) : map->GetObstacleAt(around, dx, dy);
    ObstacleMap[direction] = answer == 0 ? 1.0f : 0.0f;
  }
}

void YLUnit::GetDesire(float (&desire)[kDirectionCount], int32_t x, int32_t y) const {
  const int32_t ux = GetX();
  const int32_t uy = GetY();
  if (IntDistance(ux, uy, x, y) >= 4) {
    const int32_t toward = AbsoluteDirection(ux, uy, x, y);
    for (int32_t direction = 0; direction < kDirectionCount; ++direction) {
      int32_t off = direction > toward ? direction - toward : toward - direction;
      if (off > 4) {
        off = kDirectionCount - off;
      }
      desire[direction] = off < 4 ? 1.0f / static_cast<float>(off + 1) : 0.0f;
    }
    return;
  }
  // Near the target each neighbour is weighed by how close it is: the
  // nearest gets 1, a neighbour on the target 1 (and every other 0).
  int32_t distances[kDirectionCount] = {};
  int32_t smallest = 2000;
  for (int32_t direction = 0; direction < kDirectionCount; ++direction) {
    distances[direction] = IntDistance(ux + kDirectionX[direction], uy + kDirectionY[direction], x, y);
    if (distances[direction] < smallest) {
      smallest = distances[direction];
    }
  }
  for (int32_t direction = 0; direction < kDirectionCount; ++direction) {
    desire[direction] = distances[direction] == 0
                            ? 1.0f
                            : static_cast<float>(smallest) / static_cast<float>(distances[direction]);
  }
}

int32_t YLUnit::GetRelation(int32_t id) const {
  if (id >= kDirectionCodes) {
    return 0;
  }
  const YLThing* thing = FindThing(id);
  if (thing == nullptr || thing->GetOwner() == 0) {
    return 0;
  }
  return thing->GetOwner() == GetOwner() ? 1 : -1;
}

int32_t YLUnit::GetDistanceTo(int32_t id) const {
  if (id >= kDirectionCodes) {
    return 1;
  }
  int32_t x = 0;
  int32_t y = 0;
  if (!NearestCellOf(id, x, y)) {
    return kNoThingDistance;
  }
  return IntDistance(GetX(), GetY(), x, y);
}

int32_t YLUnit::GetDirectionTo(int32_t id, int32_t facing) const {
  if (id >= kDirectionCodes) {
    return RelativeCode(id, facing);
  }
  const YLThing* thing = FindThing(id);
  if (thing == nullptr) {
    return 0;
  }
  int32_t x = 0;
  int32_t y = 0;
  GetNearestPoint(thing, GetX(), GetY(), x, y);
  return GetDirection(GetX(), GetY(), facing, x, y);
}

float YLUnit::GetLocalForce(int32_t dx, int32_t dy) const {
  const CLogic* logic = GetLogic();
  if (logic == nullptr || logic->Map == nullptr) {
    return 0.0f;
  }
  const int32_t self = GetTid();
  const int32_t owner = GetOwner();
  float force = 0.0f;
  for (int32_t oy = -1; oy <= 1; ++oy) {
    for (int32_t ox = -1; ox <= 1; ++ox) {
      const int32_t id = logic->Map->GetObstacleAt(this, dx + ox, dy + oy);
      if (id == 0 || id == self || id >= kDirectionCodes) {
        continue;
      }
      const YLThing* thing = logic->GetThing(id);
      if (thing == nullptr || thing->GetOwner() == 0) {
        continue;
      }
      if (UnitOf(thing) != nullptr && CurrentMoveNumber(thing->Info.get()) == kMoveOut) {
        continue;
      }
      if (thing->GetOwner() == owner) {
        force += thing->GetDamage();
      } else {
        force -= thing->GetDamage();
      }
    }
  }
  return force;
}

// ---- The choice of a move ----

int32_t YLUnit::OnBrainMove(int32_t code) {
  if (code >= kReached) {
    return kReachedFrames;
  }
  UnitInfo* info = GetUnitInfo();
  if (info == nullptr) {
    return 0;
  }
  const int32_t current = info->MoveNumber;
  if (code == kMoveRest && current == kMoveRest) {
    return kRestingOnFrames;
  }
  if (code == kMoveOut && current == kMoveOut) {
    return kLyingOnFrames;
  }
  if (code == kMoveChant && current == kMoveChant) {
    // Each chant-on step is another chant: a leader's reaches its fans
    // again (the logic ignores anyone else's).
    if (CLogic* logic = GetLogic()) {
      logic->DoChant(this);
    }
    SetTime(0);
    const MoveInfo* chant = GetMoveInfo(kMoveChant);
    return chant != nullptr ? chant->GetMoveTime(info->Gfx, info->Ori) : 0;
  }
  // Running steps alternate the legs; running is only for the feet and the
  // vehicle a unit drives.
  if (code == kMoveRun) {
    if (info->Situation == kSituationOtherLeg) {
      info->Situation = kSituationOnFoot;
    } else if (info->Situation == kSituationOnFoot) {
      code = kMoveRunOtherLeg;
      info->Situation = kSituationOtherLeg;
    } else if (info->Situation != kSituationPlaceD) {
      code = kMoveRest;
    }
  }
  const float rate = GetStaminaRate();
  MoveInfo* move = GetMoveInfo(code);
  if (move == nullptr) {
    code = kMoveRest;
    move = GetMoveInfo(code);
  }
  if (move != nullptr && info->Stamina - move->stamina / rate < 0.0f) {
    code = code == kMoveRun || code == kMoveRunOtherLeg ? kMoveWalk : kMoveRest;
    move = GetMoveInfo(code);
  }
  // Entering or leaving a container puts the unit in its place itself: an
  // entering unit is shown stepping through the door, a leaving one on the
  // cell it came out on.
  const YLTContainerThing* before = Container;
  const MoveStep door = move != nullptr ? move->MakeStep(info->X, info->Y, info->GetFacing()) : MoveStep{};
  if (move != nullptr && !move->Perform(this, GetLogic())) {
    code = kMoveRest;
    move = GetMoveInfo(code);
  }
  if (move == nullptr) {
    return 0;
  }
  info->Stamina -= move->stamina / rate;
  if (info->Stamina > 1.0f) {
    info->Stamina = 1.0f;
  }
  const bool entered = before == nullptr && Container != nullptr;
  const bool left = before != nullptr && Container == nullptr;
  MoveStep step = entered ? door : move->MakeStep(info->X, info->Y, info->GetFacing());
  if (left) {
    step.x = info->X;
    step.y = info->Y;
  }
  StartMove(move);
  if (CLogic* logic = GetLogic()) {
    logic->NotifyAction(info->Tid, &step);
  }
  if (!entered && !left) {
    SetX(step.x);
    SetY(step.y);
  }
  SetOrientation(static_cast<uint8_t>(step.facing));
  return move->GetMoveTime(info->Gfx, info->Ori);
}

// ---- Steering toward a cell ----

int32_t YLUnit::DoGoto(float motivation, int32_t x, int32_t y, bool fast, int32_t arrivalDistance) {
  const int32_t ux = GetX();
  const int32_t uy = GetY();
  if (ux == x && uy == y) {
    return kReached;
  }
  const int32_t situation = GetSituation();
  if (situation != kSituationOnFoot && situation != kSituationOtherLeg && situation != kSituationPlaceD) {
    return Container == nullptr ? kReached : DoLeave(motivation, Container->GetTid(), fast);
  }
  // Inside a vehicle: the one who drives it steers as on foot, and a
  // passenger whose driver goes the same way stays on board. Anyone else
  // gets out first.
  if (situation == kSituationPlaceD && Container != nullptr) {
    const YLTDriver* own = AsDriver();
    if (own == nullptr || !own->IsDriving()) {
      return RidesAlong() ? kReached : DoLeave(motivation, Container->GetTid(), fast);
    }
  }
  CLogic* logic = GetLogic();
  const CMap* map = logic != nullptr ? logic->Map.get() : nullptr;
  const YLKnowledgeMap* grid = map != nullptr ? map->GetStratMap() : nullptr;
  const int32_t facing = Info != nullptr ? Info->GetFacing() : 0;
  const int32_t distance = IntDistance(ux, uy, x, y);
  const int32_t toward = AbsoluteDirection(ux, uy, x, y);
  const double r = RandomFloat();
  if (distance == 1 && map != nullptr &&
      (map->GetThingIDAt(x, y) != 0 || (grid != nullptr && grid->IsOccupied(x, y)))) {
    // Someone stands on the target: facing it is as near as it gets.
    const int32_t turn = FoldTurn(static_cast<int64_t>(toward) - facing);
    return turn == 0 ? kReached : TurnFor(turn, r);
  }
  if (distance < 1 || distance <= arrivalDistance) {
    return kReached;
  }
  float desire[kDirectionCount] = {};
  GetDesire(desire, x, y);
  float score[kDirectionCount] = {};
  int32_t best = 0;
  int32_t tie = -1;
  for (int32_t direction = 0; direction < kDirectionCount; ++direction) {
    score[direction] = ObstacleMap[direction] * desire[direction];
    if (direction == 0) {
      continue;
    }
    if (score[direction] > score[best]) {
      best = direction;
      tie = -1;
    } else if (score[direction] == score[best]) {
      tie = direction;
    }
  }
  if (score[best] < 0.4f && motivation > 0.3f) {
    const int32_t fan[5] = {toward, toward + 1, toward - 1, toward + 2, toward - 2};
    int32_t asked = 0;
    for (int32_t side : fan) {
      if (asked >= kMaxAsked || logic == nullptr || map == nullptr) {
        break;
      }
      const int32_t direction = WrapDirection(side);
      const int32_t id = map->GetThingIDAt(ux + kDirectionX[direction], uy + kDirectionY[direction]);
      const auto* unit = UnitOf(logic->GetThing(id));
      if (unit != nullptr && unit != this && CurrentMoveNumber(unit->Info.get()) == kMoveRest) {
        logic->SendUnitMessage(this, id, kStimulusMakeWay, motivation);
        ++asked;
      }
    }
    if (asked > 0) {
      return kMoveRest;
    }
  }
  if (score[best] == 0.0f) {
    return kMoveRest;
  }
  if (tie >= 0 && RandomFloat() > 0.5) {
    best = tie;
  }
  const int32_t turn = FoldTurn(static_cast<int64_t>(best) - facing);
  if (turn == 0) {
    return fast ? kMoveRun : kMoveWalk;
  }
  return TurnFor(turn, r);
}

// ---- Reflexes ----

void YLUnit::ComputeReflexes() {
  PsychicPlanItem* leaf = GetPlanLeaf();
  if (leaf != &Plan && leaf->Action != 0) {
    OfferStep(leaf->Clone());
  }
  for (int32_t index = 0; index < GetStimulusCount(); ++index) {
    const Stimulus* stimulus = GetStimulus(index);
    // A chick's flirt charms a fan of another side.
    if (stimulus != nullptr && (stimulus->kind & 0xFF) == kStimulusFlirt) {
      YLUnitChick::Charm(*this, stimulus->source);
      continue;
    }
    if (stimulus == nullptr || (stimulus->kind & 0xFF) != kStimulusMakeWay) {
      continue;
    }
    PsychicPlanItem* innermost = GetPlanLeaf();
    if (innermost->Action == OrderKind::kFuckOff) {
      continue;
    }
    // A fan hit by the chick that charmed it backs away from her.
    if (const auto* fan = dynamic_cast<const YLUnitSupporter*>(this);
        fan != nullptr && fan->CharmedBy != 0 && fan->CharmedBy == stimulus->source) {
      if (const auto* chick = dynamic_cast<const YLUnitChick*>(FindThing(stimulus->source))) {
        int32_t x = 0;
        int32_t y = 0;
        GetNearestPoint(chick, GetX(), GetY(), x, y);
        PushPlanItem(new PsychicPlanFuckOff(x, y, stimulus->strength, false));
        continue;
      }
    }
    // The asker may be gone or destroyed since it asked; then there is no
    // one to make way for. A car's driver is made way for by everyone.
    const YLThing* asker = FindThing(stimulus->source);
    const bool askerInCar = asker != nullptr && CarOf(asker->GetContainer()) != nullptr;
    if (asker == nullptr || (asker->GetOwner() != GetOwner() && !askerInCar)) {
      continue;
    }
    if (innermost->Motivation < stimulus->strength) {
      int32_t x = 0;
      int32_t y = 0;
      GetNearestPoint(asker, GetX(), GetY(), x, y);
      PushPlanItem(new PsychicPlanFuckOff(x, y, stimulus->strength, false));
    }
  }
  // A container that left the map is left; once, not again while the step
  // to leave it is under way.
  if (Container != nullptr && Container->Info != nullptr && (Container->Info->Status & StatusAlive) == 0) {
    const PsychicPlanItem* innermost = GetPlanLeaf();
    const int32_t containerId = Container->GetTid();
    if (innermost->Action != OrderKind::kLeave || innermost->Param1 != containerId) {
      PushPlanItem(new PsychicPlanLeave(containerId, 0, 0.5f, false));
    }
  }
  ResetStimuli();
}

bool YLUnit::IsCarDanger(const YLTCar& car) {
  if (car.Info == nullptr || Info == nullptr || (car.Info->Status & StatusAlive) == 0) {
    return false;
  }
  const int32_t facing = car.Info->GetFacing();
  if (car.GetVehicleType() == YLTCar::kTypeTram) {
    // The tram keeps to its rails: it is dangerous when it heads this way.
    int32_t x = 0;
    int32_t y = 0;
    GetNearestPoint(&car, GetX(), GetY(), x, y);
    return facing == WrapDirection(GetDirection(GetX(), GetY(), 0, x, y) + 4);
  }
  const int32_t carOwner = car.GetOwner();
  if (carOwner == 0 || carOwner == GetOwner() || CurrentMoveNumber(car.Info.get()) == 0) {
    return false;
  }
  // The car this unit itself attacks is no danger to run from.
  const PsychicPlanItem* leaf = GetPlanLeaf();
  return leaf == nullptr || leaf->Action != OrderKind::kAttack || leaf->Param1 != car.GetTid();
}

void YLUnit::DodgeCar(const YLTCar& car) {
  int32_t x = 0;
  int32_t y = 0;
  GetNearestPoint(&car, GetX(), GetY(), x, y);
  const int32_t distance = IntDistance(GetX(), GetY(), x, y);
  // The two cells two steps to either side of the car's way; the one
  // farther from the car (the left one on a tie).
  const int32_t facing = car.Info->GetFacing();
  const int32_t right = WrapDirection(facing + 2);
  const int32_t left = WrapDirection(facing + 6);
  const int32_t rightX = GetX() + 2 * kDirectionX[right];
  const int32_t rightY = GetY() + 2 * kDirectionY[right];
  const int32_t leftX = GetX() + 2 * kDirectionX[left];
  const int32_t leftY = GetY() + 2 * kDirectionY[left];
  const bool goRight = IntDistance(rightX, rightY, x, y) > IntDistance(leftX, leftY, x, y);
  const float motivation = 2.0f - 0.15f * static_cast<float>(distance);
  OfferStep(new PsychicPlanGoto(goRight ? rightX : leftX, goRight ? rightY : leftY, motivation, distance < 4));
}

void YLUnit::DangerReflexes() {
  CLogic* logic = GetLogic();
  const UnitInfo* info = GetUnitInfo();
  if (logic == nullptr || info == nullptr) {
    return;
  }
  // Cars coming at the unit first: it steps off their way.
  for (int32_t index = 0;; ++index) {
    const int32_t id = GetNeighbour(index);
    if (id == 0) {
      break;
    }
    const auto* car = id < kDirectionCodes ? CarOf(FindThing(id)) : nullptr;
    if (car != nullptr && IsCarDanger(*car)) {
      DodgeCar(*car);
    }
  }
  const int32_t owner = GetOwner();
  int32_t nearestId = 0;
  int32_t nearest = 10;
  for (int32_t index = 0;; ++index) {
    const int32_t id = GetNeighbour(index);
    if (id == 0) {
      break;
    }
    if (id >= kDirectionCodes) {
      continue;
    }
    const auto* unit = UnitOf(FindThing(id));
    if (unit == nullptr || unit->GetOwner() == 0 || unit->GetOwner() == owner) {
      continue;
    }
    int32_t x = 0;
    int32_t y = 0;
    GetNearestPoint(unit, GetX(), GetY(), x, y);
    const int32_t distance = IntDistance(GetX(), GetY(), x, y);
    if (distance < nearest) {
      nearest = distance;
      nearestId = id;
    }
  }
  if (nearestId == 0) {
    return;
  }
  const float motivation = static_cast<float>(11 - nearest) * info->Fear * 0.1f;
  OfferStep(new PsychicPlanFlee(nearestId, 0, motivation, motivation > 0.5f));
}

// ---- Fleeing and fighting back ----

int32_t YLUnit::FleeFrom(float motivation, int32_t threatId, bool fast) {
  const int32_t facing = Info != nullptr ? Info->GetFacing() : 0;
  int32_t relative = 0;
  if (threatId >= kDirectionCodes) {
    relative = WrapDirection(threatId - kDirectionCodes) - facing;
  } else {
    int32_t x = 0;
    int32_t y = 0;
    // A threat that no longer exists is nothing to flee from.
    if (!NearestCellOf(threatId, x, y)) {
      return kReached;
    }
    relative = GetDirection(GetX(), GetY(), facing, x, y);
  }
  // The relative direction is taken as a direction of the list as it is:
  // only a unit facing north runs straight away from the threat.
  const int32_t away = WrapDirection(relative + 4);
  return DoGoto(motivation, GetX() + 2 * kDirectionX[away], GetY() + 2 * kDirectionY[away], fast, 0);
}

int32_t YLUnit::StandGround(float motivation, int32_t threatId, bool fast) {
  (void)threatId;
  if (Container != nullptr) {
    return DoLeave(motivation, Container->GetTid(), false);
  }
  int64_t direction = 0;
  if (Frustration == 0.0f) {
    float score[kDirectionCount] = {};
    float lowest = 0.0f;
    for (int32_t side = 0; side < kDirectionCount; ++side) {
      score[side] = GetLocalForce(kDirectionX[side], kDirectionY[side]);
      if (side == 0 || score[side] < lowest) {
        lowest = score[side];
      }
      if (ObstacleMap[side] == 0.0f) {
        score[side] = -1.0f;
      }
    }
    if (lowest >= 0.0f) {
      return kReached;
    }
    float highest = score[0];
    for (int32_t side = 1; side < kDirectionCount; ++side) {
      if (score[side] > highest) {
        highest = score[side];
      }
    }
    int32_t equals[kDirectionCount] = {};
    int32_t count = 0;
    for (int32_t side = 0; side < kDirectionCount; ++side) {
      if (score[side] == highest) {
        equals[count++] = side;
      }
    }
    const int32_t chosen = equals[RandomSigned(count - 1)];
    if (score[chosen] == -1.0f) {
      return kReached;
    }
    Frustration = 0.05f + 0.1f * static_cast<float>(chosen);
    direction = chosen;
  } else {
    // Frustration is also the idle and civilian counter, so the remembered
    // direction may lie outside 0-7; the turn folds any value.
    const double tenfold = static_cast<double>(Frustration) * 10.0;
    direction = std::isfinite(tenfold) && std::fabs(tenfold) < 1e15 ? static_cast<int64_t>(tenfold) : 0;
  }
  const int32_t facing = Info != nullptr ? Info->GetFacing() : 0;
  const int32_t turn = FoldTurn(direction - facing);
  if (turn == 0) {
    Frustration = 0.0f;
    return fast ? kMoveRun : kMoveWalk;
  }
  if (turn == 4) {
    return RandomFloat() > 0.5 ? kMoveTurnClockwise : kMoveTurnCounterClockwise;
  }
  return turn > 0 ? kMoveTurnClockwise : kMoveTurnCounterClockwise;
}

// ---- Stepping aside, going to things, entering and leaving ----

int32_t YLUnit::DoFuckOff(float motivation, int32_t x, int32_t y) {
  const int32_t situation = GetSituation();
  if (situation >= 6 && situation <= 8) {
    return kReached;
  }
  const int32_t ux = GetX();
  const int32_t uy = GetY();
  if (IntDistance(ux, uy, x, y) >= 4) {
    return kReached;
  }
  CLogic* logic = GetLogic();
  const CMap* map = logic != nullptr ? logic->Map.get() : nullptr;
  const YLKnowledgeMap* grid = map != nullptr ? map->GetStratMap() : nullptr;
  if (grid == nullptr) {
    return kReached;
  }
  const int32_t away = WrapDirection(AbsoluteDirection(ux, uy, x, y) + 4);
  const int32_t fan[5] = {away, away + 1, away - 1, away + 2, away - 2};
  for (int32_t side : fan) {
    const int32_t direction = WrapDirection(side);
    const int32_t cx = ux + kDirectionX[direction];
    const int32_t cy = uy + kDirectionY[direction];
    // A cell outside the grid is no way out.
    if (!grid->IsInside(cx, cy) || grid->IsOccupied(cx, cy)) {
      continue;
    }
    if (UnitOf(logic->GetThing(map->GetThingIDAt(cx, cy))) != nullptr) {
      continue;
    }
    return DoGoto(motivation, cx, cy, true, 0);
  }
  int32_t asked = 0;
  for (int32_t side : fan) {
    if (asked >= kMaxAsked) {
      break;
    }
    const int32_t direction = WrapDirection(side);
    const int32_t id = map->GetThingIDAt(ux + kDirectionX[direction], uy + kDirectionY[direction]);
    const auto* unit = UnitOf(logic->GetThing(id));
    if (unit != nullptr && unit != this && CurrentMoveNumber(unit->Info.get()) == kMoveRest) {
      logic->SendUnitMessage(this, id, kStimulusMakeWay, motivation);
      ++asked;
    }
  }
  return asked > 0 ? kMoveRest : kReached;
}

int32_t YLUnit::DoGotoThing(float motivation, int32_t id, bool fast) {
  const YLThing* thing = FindThing(id);
  if (thing == nullptr) {
    return kReached;
  }
  int32_t x = thing->GetX();
  int32_t y = thing->GetY();
  if (IntDistance(GetX(), GetY(), x, y) <= 9) {
    GetNearestPoint(thing, GetX(), GetY(), x, y);
  }
  DestinationX = x;
  DestinationY = y;
  return DoGoto(motivation, x, y, fast, 0);
}

int32_t YLUnit::DoEnter(float motivation, int32_t id, bool fast) {
  if (Container != nullptr && Container->GetTid() == id) {
    return kReached;
  }
  const CLogic* logic = GetLogic();
  const auto* container = dynamic_cast<const YLTContainerThing*>(logic != nullptr ? logic->GetThing(id) : nullptr);
  if (container == nullptr) {
    return kReached;
  }
  const int32_t x = container->GetX();
  const int32_t y = container->GetY();
  // A building is entered only where its entrance is marked; the small
  // cars (Manta, riot bus, golf) at their nearest cell, other vehicles at
  // their entrance.
  int32_t targetX = x;
  int32_t targetY = y;
  const auto* car = CarOf(container);
  if (car == nullptr) {
    const YLKnowledgeMap* grid = logic->Map != nullptr ? logic->Map->GetStratMap() : nullptr;
    if (grid == nullptr || !grid->HasMarkA(x, y)) {
      return kReached;
    }
  } else {
    const int32_t type = car->GetVehicleType();
    if (type == YLTCar::kTypeManta || type == YLTCar::kTypeRiotBus || type == YLTCar::kTypeGolf) {
      GetNearestPoint(car, GetX(), GetY(), targetX, targetY);
    }
  }
  const int32_t answer = DoGoto(motivation, targetX, targetY, fast, 0);
  return answer == kReached ? kMoveEnter : answer;
}

int32_t YLUnit::DoLeave(float motivation, int32_t id, bool fast) {
  (void)fast;
  if (Container == nullptr || Container->GetTid() != id) {
    return kReached;
  }
  if (GetSituation() == kSituationPlaceD) {
    const int32_t vehicleMove = CurrentMoveNumber(Container->Info.get());
    if (vehicleMove != 0 && vehicleMove != 1) {
      return kMoveRest;
    }
  }
  int32_t best = 0;
  for (int32_t direction = 1; direction < kDirectionCount; ++direction) {
    if (ObstacleMap[direction] > ObstacleMap[best]) {
      best = direction;
    }
  }
  if (ObstacleMap[best] == 0.0f) {
    CLogic* logic = GetLogic();
    const CMap* map = logic != nullptr ? logic->Map.get() : nullptr;
    const int32_t start = RandomSigned(kDirectionCount - 1);
    for (int32_t step = 0; map != nullptr && step < kDirectionCount; ++step) {
      const int32_t direction = WrapDirection(start + step);
      const int32_t unitId =
          map->GetThingIDAt(Container->GetX() + kDirectionX[direction], Container->GetY() + kDirectionY[direction]);
      const auto* unit = UnitOf(logic->GetThing(unitId));
      if (unit != nullptr && unit != this) {
        logic->SendUnitMessage(this, unitId, kStimulusMakeWay, motivation);
        break;
      }
    }
    return kMoveRest;
  }
  if (Info != nullptr) {
    SetOrientation(static_cast<uint8_t>((Info->Ori & ~7) | best));
  }
  return kMoveLeave;
}

bool YLUnit::RidesAlong() {
  const auto* car = CarOf(Container);
  const YLTDriver* driver = car != nullptr ? car->GetDriver() : nullptr;
  auto* unit = UnitOf(driver != nullptr ? driver->GetDriverThing() : nullptr);
  if (unit == nullptr || unit == this) {
    return false;
  }
  const PsychicPlanItem* mine = GetPlanLeaf();
  const PsychicPlanItem* theirs = unit->GetPlanLeaf();
  return mine->Action == theirs->Action && mine->Param1 == theirs->Param1 && mine->Param2 == theirs->Param2;
}
