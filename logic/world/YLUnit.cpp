#include "logic/world/YLUnit.h"

#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

#include "base/DebugFormat.h"
#include "base/LumoObjects.h"
#include "base/Random.h"
#include "logic/core/CLogic.h"
#include "logic/core/CMap.h"
#include "logic/core/CPlayer.h"
#include "logic/core/OrderKinds.h"
#include "logic/core/WeaponCatalog.h"
#include "logic/core/YLConfig.h"
#include "logic/world/MoveInfoKinds.h"
#include "logic/world/PsychicPlanKinds.h"
#include "logic/world/YLPoliceContainer.h"
#include "logic/world/YLTContainerThing.h"
#include "logic/world/YLTDriver.h"
#include "navigation/YLPathPlanNode.h"
#include "navigation/YLSectors.h"

namespace {

// The unit's situation inside each kind of place.
constexpr int32_t kSituationOnFoot = 1;
constexpr int32_t kSituationPlaceD = 5;
constexpr int32_t kSituationPlaceAB = 6;
constexpr int32_t kSituationPlaceC = 7;

// What a unit says (the message of the logic's speech event).
constexpr int32_t kSaySpawned = 1;
constexpr int32_t kSayReached = 2;
constexpr int32_t kSayAccepted = 3;
constexpr int32_t kSayRefused = 4;

// The per-type tables hold unit types 0-12.
constexpr int32_t kUnitTypes = 13;
// GetNearestPoint looks at footprint cells nearer than this.
constexpr int32_t kNearestPointRange = 15;

int32_t UnitType(const ThingInfo* info) {
  const int32_t type = info != nullptr ? info->Gfx % kUnitTypes : 0;
  return type < 0 ? type + kUnitTypes : type;
}

// ---- The unit move table ----

template <typename Kind>
MoveInfo* MakeMove() {
  return new Kind;
}

void NoChange(MoveInfo&) {}

void Rename(MoveInfo& move, const char* name, int32_t code) {
  move.name = name;
  move.code = code;
}

void ConfigureRest(MoveInfo& move) { Rename(move, "MoveRest", 0); }
void ConfigureRunLeft(MoveInfo& move) { Rename(move, "MoveRunLeft", 3); }
void ConfigureRunRight(MoveInfo& move) { Rename(move, "MoveRunRight", 4); }

void ConfigureFall(MoveInfo& move) {
  Rename(move, "MoveFall", 15);
  move.SetAllTimes(8);
  const uint8_t times[kUnitTypes - 1] = {5, 7, 8, 5, 7, 7, 8, 1, 8, 11, 6, 9};
  for (int32_t type = 1; type < kUnitTypes; ++type) {
    move.SetTime(type, times[type - 1]);
  }
}

void ConfigureDope(MoveInfo& move) {
  Rename(move, "MoveDope", 17);
  move.SetAllTimes(13);
  move.SetTime(1, 14);
  move.SetTime(9, 19);
  move.SetTime(11, 26);
}

void ConfigureOut(MoveInfo& move) { Rename(move, "MoveOut", 18); }

void ConfigureHurt(MoveInfo& move) {
  Rename(move, "MoveHurt", 20);
  const uint8_t times[kUnitTypes] = {4, 4, 4, 6, 3, 6, 5, 5, 1, 4, 3, 4, 5};
  for (int32_t type = 0; type < kUnitTypes; ++type) {
    move.SetTime(type, times[type]);
  }
}

void ConfigureBerserk(MoveInfo& move) { Rename(move, "MoveBerserk", 26); }
void ConfigureHijack(MoveInfo& move) { Rename(move, "MoveHijack", 28); }

// Joining a rave is a step of the walking code with its own durations, and
// gives stamina back.
void ConfigureJoinRave(MoveInfo& move) {
  Rename(move, "MoveJoinRave", 2);
  move.SetTime(2, 8);
  if (auto* diagonal = dynamic_cast<MoveInfoDiagonal*>(&move)) {
    diagonal->SetDiagonalTime(2, 10);
  }
  move.stamina = -0.005f;
}

struct UnitMove {
  MoveInfo* (*make)();
  void (*configure)(MoveInfo&);
};

// Index = move code. The second turns (7, 8) are moves of their own with the
// codes of the first (5, 6).
const UnitMove kUnitMoves[YLUnit::kUnitMoveCount] = {
    {MakeMove<MoveInfo>, ConfigureRest},
    {MakeMove<MoveInfoAmbient>, NoChange},
    {MakeMove<MoveInfoWalk>, NoChange},
    {MakeMove<MoveInfoRun>, ConfigureRunLeft},
    {MakeMove<MoveInfoRun>, ConfigureRunRight},
    {MakeMove<MoveInfoCW>, NoChange},
    {MakeMove<MoveInfoCCW>, NoChange},
    {MakeMove<MoveInfoCW>, NoChange},
    {MakeMove<MoveInfoCCW>, NoChange},
    {MakeMove<MoveInfoEnter>, NoChange},
    {MakeMove<MoveInfoLeave>, NoChange},
    {MakeMove<MoveInfoWeapon>, NoChange},
    {MakeMove<MoveInfoFist>, NoChange},
    {MakeMove<MoveInfoKick>, NoChange},
    {MakeMove<MoveInfoThrow>, NoChange},
    {MakeMove<MoveInfo>, ConfigureFall},
    {MakeMove<MoveInfoChant>, NoChange},
    {MakeMove<MoveInfo>, ConfigureDope},
    {MakeMove<MoveInfo>, ConfigureOut},
    {MakeMove<MoveInfoPickUp>, NoChange},
    {MakeMove<MoveInfo>, ConfigureHurt},
    {MakeMove<MoveInfoFlirt>, NoChange},
    {MakeMove<MoveInfoBurgle>, NoChange},
    {MakeMove<MoveInfoBaricade>, NoChange},
    {MakeMove<MoveInfoRave>, NoChange},
    {MakeMove<MoveInfoBomb>, NoChange},
    {MakeMove<MoveInfo>, ConfigureBerserk},
    {MakeMove<MoveInfoMolotov>, NoChange},
    {MakeMove<MoveInfoEnter>, ConfigureHijack},
    {MakeMove<MoveInfoDrawGun>, NoChange},
    {MakeMove<MoveInfoArrest>, NoChange},
    {MakeMove<MoveInfoDiagonal>, ConfigureJoinRave},
};

}  // namespace

std::unique_ptr<LumoObjects, tObjectDestroyer>& YLUnit::UnitMoveTableSlot() {
  static std::unique_ptr<LumoObjects, tObjectDestroyer> table;
  return table;
}

void YLUnit::InitMoveTable() {
  auto& table = UnitMoveTableSlot();
  if (table == nullptr) {
    table.reset(new LumoObjects(true));
  }
  if (table->count < kUnitMoveCount) {
    table->SetCount(kUnitMoveCount);
  }
  // Records of running units point at the moves, so a move of the right
  // kind is refilled in place; only a missing one (or one of another kind)
  // is made anew.
  for (int32_t code = 0; code < kUnitMoveCount; ++code) {
    std::unique_ptr<MoveInfo, tObjectDestroyer> fresh(kUnitMoves[code].make());
    auto* existing = dynamic_cast<MoveInfo*>(table->At(code));
    MoveInfo* move = existing;
    if (existing != nullptr && std::strcmp(existing->GetClassName(), fresh->GetClassName()) == 0) {
      existing->SetDefaults();
    } else {
      DestroyObject(table->At(code));
      move = fresh.release();
      (*table)[code] = move;
    }
    kUnitMoves[code].configure(*move);
  }
}

LumoObjects* YLUnit::GetUnitMoveTable() { return UnitMoveTableSlot().get(); }

MoveInfo* YLUnit::GetMoveInfo(int32_t number) const {
  const LumoObjects* table = GetUnitMoveTable();
  if (table == nullptr) {
    return nullptr;
  }
  return dynamic_cast<MoveInfo*>(table->At(number));
}

// ---- Life ----

YLUnit::YLUnit() { SetLogicRandomSeed(); }

YLUnit::~YLUnit() {
  CurrentMove.reset();
  LeaveContainer();
}

const char* YLUnit::GetClassName() const { return "YLUnit"; }

void YLUnit::DoFree() {
  CurrentMove.reset();
  Plan.ClearChildren();
  LeaveContainer();
  YLThing::DoFree();
}

void YLUnit::LeaveContainer() {
  if (Container != nullptr) {
    Container->Leave(this);
    Container = nullptr;
  }
}

YLThing* YLUnit::GetContainer() const { return Container; }

int32_t YLUnit::GetSituation() const {
  const UnitInfo* info = GetUnitInfo();
  return info != nullptr ? info->Situation : YLThing::GetSituation();
}

UnitInfo* YLUnit::GetUnitInfo() const { return Info != nullptr ? Info->AsUnitInfo() : nullptr; }

ThingInfo* YLUnit::MakeInfo() const {
  auto* info = new UnitInfo;
  info->Status = kStatusNewUnit;
  return info;
}

void YLUnit::SetContainer(YLTContainerThing* container) {
  Container = container;
  UnitInfo* info = GetUnitInfo();
  if (container == nullptr) {
    ClearStatus(StatusInContainer);
    if (info != nullptr) {
      info->Situation = kSituationOnFoot;
    }
    return;
  }
  SetStatus(StatusInContainer);
  if (info == nullptr) {
    return;
  }
  if (container->PlaceKindC()) {
    info->Situation = kSituationPlaceC;
  } else if (container->PlaceKindA() || container->PlaceKindB()) {
    info->Situation = kSituationPlaceAB;
  } else if (container->PlaceKindD()) {
    info->Situation = kSituationPlaceD;
  }
}

float YLUnit::GetDamage() const {
  const YLWeapon* weapon = GetWeapon();
  return weapon != nullptr ? weapon->GetTotalDamage() : 0.0f;
}

void YLUnit::Destroy() {
  if (UnitInfo* info = GetUnitInfo()) {
    info->Cons = 0.0f;
    info->Fear = 0.0f;
    info->Carefulness = 0.0f;
    info->Anger = 0.0f;
    info->Boredom = 0.0f;
    info->Loyalty = 0.0f;
    info->Beer = 0.0f;
    info->Dope = 0.0f;
    info->Stamina = 0.0f;
    info->Flirt = 0.0f;
    info->Ammo = 0;
  }
  if (Info == nullptr) {
    return;
  }
  Info->Hp = 0.0f;
  ClearStatus(StatusAlive);
  if (CLogic* logic = GetLogic()) {
    logic->ThingDied(this);
  }
}

namespace {

void AppendStepLine(tString& text, const char* label, const PsychicPlanItem& step) {
  char line[256];
  std::snprintf(line, sizeof line, "-%s->%s mot=%f, p1=%d,p2=%d\n", label, OrderKindName(step.Action),
                static_cast<double>(step.Motivation), step.Param1, step.Param2);
  text += line;
}

}  // namespace

void YLUnit::GetDebugText(tString& text) const {
  text = "";
  if (CurrentMove == nullptr) {
    text += "===NO MOVE?===\n";
  } else {
    AppendStepLine(text, "current", *CurrentMove);
  }
  // The root is no step of its own: an empty plan prints no plan line.
  const PsychicPlanItem* leaf = &Plan;
  while (leaf->child != nullptr) {
    leaf = leaf->child;
  }
  if (leaf == &Plan) {
    return;
  }
  for (const PsychicPlanItem* step = leaf; step != nullptr; step = step->queue) {
    AppendStepLine(text, "plan", *step);
  }
}

// ---- Fixed answers ----

float YLUnit::GetNeutralFactor() const { return 0.0f; }
float YLUnit::GetFrightFactor() const { return 2.0f; }
float YLUnit::GetBeerFactor() const { return 2.0f; }
float YLUnit::GetDoubleFactor() const { return 2.0f; }
float YLUnit::GetStaminaRate() const { return 0.8f; }

// ---- Per-type tables ----

YLWeapon* YLUnit::GetWeapon() const {
  const CLogic* logic = GetLogic();
  const UnitInfo* info = GetUnitInfo();
  if (logic == nullptr || logic->Weapons == nullptr || info == nullptr) {
    return nullptr;
  }
  return logic->Weapons->GetUnitWeapon(UnitType(info), info->Weapon);
}

void YLUnit::GetWeaponRow(YLWeapon* (&row)[4]) const {
  const CLogic* logic = GetLogic();
  for (int32_t level = 0; level < 4; ++level) {
    row[level] = logic != nullptr && logic->Weapons != nullptr
                     ? logic->Weapons->GetUnitWeapon(UnitType(Info.get()), level)
                     : nullptr;
  }
}

int32_t YLUnit::GetPrice() const {
  const CLogic* logic = GetLogic();
  if (logic == nullptr || logic->Config == nullptr) {
    return 0;
  }
  return logic->Config->GetUnitCost(UnitType(Info.get()));
}

void YLUnit::GetDestination(int32_t& x, int32_t& y) const {
  x = DestinationX;
  y = DestinationY;
}

void YLUnit::SetWeaponGrade(int32_t grade) {
  if (UnitInfo* info = GetUnitInfo()) {
    info->Weapon = grade;
  }
}

float YLUnit::GetAngerFactor() const {
  const UnitInfo* info = GetUnitInfo();
  return 0.7f * (info != nullptr ? info->Anger : 0.0f) + 0.7f;
}

void YLUnit::CalmDown() {
  if (UnitInfo* info = GetUnitInfo()) {
    info->Anger *= 0.8f;
  }
}

// ---- Speech ----

void YLUnit::Speak(int32_t message, int32_t value) const {
  if (CLogic* logic = GetLogic()) {
    logic->UnitSpeech(this, message, value);
  }
}

// ---- Orders and the plan ----

void YLUnit::InsertPlanItem(PsychicPlanItem* item) {
  if (item == nullptr) {
    return;
  }
  // The unit owns what it is given: an item it does not keep is deleted.
  if (HasStatus(kStatusArrested | kStatusSwitchedOff)) {
    DestroyObject(item);
    return;
  }
  if (const UnitInfo* info = GetUnitInfo()) {
    item->Motivation = info->Loyalty;
  }
  Plan.AddChild(item);
  if (Plan.GetLeaf() == item) {
    MakePlan();
  }
}

void YLUnit::PushPlanItem(PsychicPlanItem* item) {
  if (item == nullptr) {
    return;
  }
  Plan.PushChild(item);
  MakePlan();
}

void YLUnit::ClearPlan() {
  Plan.ClearChildren();
  SetStatus(kStatusPlanReplaced);
}

void YLUnit::BeArrested() {
  CLogic* logic = GetLogic();
  const int32_t owner = GetOwner();
  // A civilian's owner 0 names no player; a missing player is skipped.
  if (logic != nullptr && owner != 0) {
    if (CPlayer* player = logic->GetPlayer(owner)) {
      player->AddParam(ParamArrests, 1);
    }
    if (CPlayer* police = logic->GetPlayer(CLogic::kPolicePlayer)) {
      police->AddParam(ParamArrests, 1);
    }
  }
  if (UnitInfo* info = GetUnitInfo()) {
    info->Anger = 0.0f;
    info->Fear = 0.0f;
    info->Weapon = 0;
    info->Ammo = 0;
    info->Cons = 1.0f;
    info->Carefulness = 1.0f;
  }
  SetStatus(kStatusArrested);
  ClearPlan();
}

void YLUnit::StopAmbient() {
  if (Info == nullptr || Info->Move == nullptr || Info->Move->code != kMoveAmbient) {
    return;
  }
  const int32_t frames = StartMove(GetMoveInfo(kMoveRest));
  ReportAction();
  SetActive(static_cast<uint8_t>(frames));
}

// The innermost step is the run away, or the way out it was expanded into:
// the unit takes no other order until the whole step ends.
bool YLUnit::IsRunningAway() {
  for (const PsychicPlanItem* step = GetPlanLeaf(); step != nullptr && step != &Plan; step = step->parent) {
    if (step->Action == OrderKind::kRunAway) {
      return true;
    }
  }
  return false;
}

void YLUnit::ExecutePlan(PsychicPlanItem* item) {
  if (item == nullptr) {
    return;
  }
  const int32_t innermost = GetPlanLeaf()->Action;
  if (innermost == OrderKind::kPassOut) {
    ClearPlan();
    InsertPlanItem(item);
    return;
  }
  // Orders the unit ignores are deleted, as every item it does not keep.
  if (IsRunningAway() ||
      (HasStatus(kStatusArrested) && item->Action != OrderKind::kJailed)) {
    DestroyObject(item);
    return;
  }
  UnitInfo* info = GetUnitInfo();
  if (item->Action == OrderKind::kArrested) {
    BeArrested();
    Plan.AddChild(item);
    return;
  }
  if (item->Action == OrderKind::kRunAway) {
    if (info != nullptr) {
      info->Anger = 0.0f;
      info->Fear = 1.0f;
      info->Cons = 1.0f;
      info->Carefulness = 0.0f;
      info->Stamina = 1.0f;
    }
    ClearPlan();
    Plan.AddChild(item);
    MakePlan();
    return;
  }
  StopAmbient();
  if (!HasStatus(StatusUpright) || !HasStatus(StatusAlive) || HasStatus(kStatusSwitchedOff)) {
    DestroyObject(item);
    return;
  }
  ClearPlan();
  Alreadythere = 0;
  if (item->Motivation == 0.0f && info != nullptr) {
    item->Motivation = info->Loyalty;
  }
  Plan.AddChild(item);
  const int32_t action = item->Action;
  if (action == OrderKind::kSpawn) {
    Speak(kSaySpawned, 0);
  } else if (MakePlan()) {
    Speak(kSayAccepted, action);
    OfferStep(item->Clone());
  } else {
    Speak(kSayRefused, action);
    PlanReached(item);
  }
  ClearStatus(kStatusPlanReplaced);
}

void YLUnit::PlanReached(PsychicPlanItem* item) {
  if (item == nullptr) {
    return;
  }
  PsychicPlanItem* leaf = GetPlanLeaf();
  if (leaf == &Plan || !leaf->Equals(*item)) {
    return;
  }
  try {
    if (leaf->parent != nullptr && leaf->parent->Action == 0) {
      Speak(kSayReached, item->Action);
    }
    Alreadythere = 0;
    // The item may be the current step itself: it is not used after this.
    if (CurrentMove != nullptr && CurrentMove->Equals(*leaf)) {
      ClearMove();
    }
    leaf->Unlink();
    DestroyObject(leaf);
  } catch (...) {
    DebugPrint("YLUnit::PlanReached : exception in planitem::planreached\n");
  }
  try {
    MakePlan();
  } catch (...) {
    DebugPrint("YLUnit::PlanReached : exception in makeplan\n");
  }
}

bool YLUnit::MakePlan() {
  Frustration = 0.0f;
  PsychicPlanItem* step = GetPlanLeaf();
  if (!step->Expandable) {
    return true;
  }
  CLogic* logic = GetLogic();
  switch (step->Action) {
    case OrderKind::kCancel:
    case OrderKind::kHold:
    case OrderKind::kSpawn:
    case OrderKind::kArrested:
    case OrderKind::kJailed:
    case OrderKind::kAmbient:
    case OrderKind::kPassOut:
      return true;
    case OrderKind::kGoto:
      if (!PlanPath(GetX(), GetY(), step->Param1, step->Param2, step, 0)) {
        return false;
      }
      step->Expandable = false;
      return true;
    case OrderKind::kGotoThing:
    case OrderKind::kEnter:
    case OrderKind::kBurgle: {
      const YLThing* target = logic != nullptr ? logic->GetThing(step->Param1) : nullptr;
      if (target == nullptr) {
        return true;
      }
      if (!PlanPath(GetX(), GetY(), target->GetX(), target->GetY(), step, 0)) {
        return false;
      }
      step->Expandable = false;
      return true;
    }
    case OrderKind::kLeave:
      if (step->Param1 == 0 && Container != nullptr) {
        step->Param1 = Container->GetTid();
      }
      return true;
    case OrderKind::kRunAway: {
      auto* escape = new PsychicPlanGoto(step->Param1, step->Param2, 2.0f, true);
      step->PushChild(escape);
      MakePlan();
      // The step's parameters are marked, so the reached way out no longer
      // equals the step itself.
      step->Expandable = false;
      if (step->Param1 == 0) {
        step->Param1 = -1;
      } else if (step->Param2 == 0) {
        step->Param2 = -1;
      } else {
        // Wrapping as 32-bit values do: a stored step may hold any value.
        step->Param1 = static_cast<int32_t>(static_cast<uint32_t>(step->Param1) + 1u);
        step->Param2 = static_cast<int32_t>(static_cast<uint32_t>(step->Param2) + 1u);
      }
      return true;
    }
    default:
      return false;
  }
}

bool YLUnit::OfferStep(PsychicPlanItem* step) {
  if (step == nullptr) {
    return false;
  }
  if (step->Motivation >= 0.0f && (CurrentMove == nullptr || CurrentMove->Motivation <= step->Motivation)) {
    CurrentMove.reset(step);
    DestinationX = 0;
    DestinationY = 0;
    return true;
  }
  DestroyObject(step);
  return false;
}

bool YLUnit::PlanPath(int32_t x, int32_t y, int32_t tx, int32_t ty, PsychicPlanItem* step, int32_t limit) {
  CLogic* logic = GetLogic();
  if (step == nullptr || logic == nullptr || logic->Map == nullptr) {
    return false;
  }
  // A unit at the wheel routes its vehicle over the borders vehicles cross.
  YLPathFinder& finder = logic->Map->GetPathFinder();
  const YLTDriver* driver = AsDriver();
  YLPathPlanNode* first = nullptr;
  if (driver != nullptr && driver->IsDriving()) {
    first = finder.FindVehiclePath(x, y, tx, ty);
  } else {
    first = limit > 0 ? finder.FindPathLimited(x, y, tx, ty, limit, step->Action == OrderKind::kShoot)
                      : finder.FindPath(x, y, tx, ty);
  }
  if (first == nullptr) {
    return false;
  }
  const YLKnowledgeMap* knowledge = logic->Map->GetStratMap();
  const YLSectors* sectors = knowledge != nullptr ? knowledge->GetSectors() : nullptr;
  if (sectors != nullptr) {
    for (YLPathPlanNode* node = first; node != nullptr; node = node->next.get()) {
      node->GetCrossingPoint(*sectors);
    }
  }
  for (const YLPathPlanNode* node = first->next.get(); node != nullptr; node = node->next.get()) {
    PsychicPlanItem* waypoint = nullptr;
    if (step->Action == OrderKind::kPatroll) {
      waypoint = new PsychicPlanPatroll(node->x, node->y, step->Motivation, step->Fast);
    } else if (step->Action == OrderKind::kBringIn) {
      waypoint = new PsychicPlanBringIn(node->x, node->y, step->Motivation, step->Fast);
    } else {
      waypoint = new PsychicPlanGoto(node->x, node->y, step->Motivation, step->Fast);
    }
    waypoint->Expandable = false;
    step->AddChild(waypoint);
  }
  return true;
}

// ---- Brain ----

int32_t YLUnit::Move() {
  if (CurrentMove == nullptr) {
    return 0;
  }
  int32_t code = 0;
  try {
    code = CurrentMove->Execute(this);
  } catch (...) {
    DebugPrint("YLUnit%d::Move() exception while executing move %s(%d,%d)\n", Info != nullptr ? Info->Tid : 0,
               OrderKindName(CurrentMove->Action), CurrentMove->Param1, CurrentMove->Param2);
    return 0;
  }
  if (code != kReached || CurrentMove == nullptr) {
    return code;
  }
  const char* name = OrderKindName(CurrentMove->Action);
  try {
    PlanReached(CurrentMove.get());
  } catch (...) {
    DebugPrint("YLUnit%d::Move() exception in Planreached(%s)\n", Info != nullptr ? Info->Tid : 0, name);
  }
  return 0;
}

void YLUnit::ClearMove() { CurrentMove.reset(); }

// ---- Base actions ----

int32_t YLUnit::DoFlee(float motivation, int32_t threatId, bool fast) {
  int32_t distance = 1;
  if (threatId < kDirectionCodes) {
    int32_t x = 0;
    int32_t y = 0;
    // A threat that no longer exists is nothing to flee from.
    if (!NearestCellOf(threatId, x, y)) {
      return kReached;
    }
    distance = IntDistance(GetX(), GetY(), x, y);
  }
  return distance <= 3 ? StandGround(motivation, threatId, fast) : FleeFrom(motivation, threatId, fast);
}

int32_t YLUnit::DoLoot(float, int32_t, bool) { return kReached; }
int32_t YLUnit::DoAttack(float, int32_t, bool) { return kReached; }
int32_t YLUnit::DoChant(float) { return kReached; }
int32_t YLUnit::DoThrow(float, int32_t, int32_t, bool) { return kReached; }
int32_t YLUnit::DoSubLoot(float, int32_t) { return kReached; }
int32_t YLUnit::DoPatroll(float, int32_t, int32_t, bool, int32_t) { return kReached; }
int32_t YLUnit::DoPickUp(float, int32_t, bool) { return kReached; }

int32_t YLUnit::DoLedAway(float motivation, int32_t policeId, bool fast) {
  const YLThing* police = FindThing(policeId);
  if (police == nullptr || police->Info == nullptr || !police->IsPolice() ||
      (police->Info->Status & StatusAlive) == 0 || (police->Info->Status & kStatusArrested) == 0) {
    ClearStatus(kStatusArrested);
    return kReached;
  }
  if (Container != nullptr) {
    return DoLeave(motivation, Container->GetTid(), fast);
  }
  int32_t x = 0;
  int32_t y = 0;
  GetNearestPoint(police, GetX(), GetY(), x, y);
  if (IntDistance(GetX(), GetY(), x, y) > 1) {
    return DoGotoThing(motivation, policeId, fast);
  }
  return kMoveRest;
}

// Only a police container (a station, the riot police's bus) takes a
// prisoner in; the police containers add that branch. Anything else lets
// the unit go.
int32_t YLUnit::DoJailed(float motivation, int32_t id, bool fast) {
  YLThing* jail = FindThing(id);
  if (dynamic_cast<YLPoliceContainer*>(jail) == nullptr) {
    ClearStatus(kStatusArrested);
    return kReached;
  }
  const int32_t enter = DoEnter(motivation, id, fast);
  if (enter != kReached || GetContainer() != jail) {
    return enter;
  }
  // Inside: the unit leaves the game.
  Destroy();
  if (CLogic* logic = GetLogic()) {
    logic->MoveThingOffMap(this);
  }
  return kMoveRest;
}

int32_t YLUnit::DoIdle() {
  Frustration += static_cast<float>(RandomFloat()) * 0.1f + 0.05f;
  if (Frustration < 0.2f) {
    return kMoveRest;
  }
  if (Frustration < 0.3f) {
    return kMoveAmbient;
  }
  if (Frustration < 0.5f) {
    return kMoveRest;
  }
  Frustration = 0.0f;
  return kReached;
}

int32_t YLUnit::DoShop(int32_t buildingId) {
  if (Container != nullptr && Container->GetTid() == buildingId) {
    // Wrapping as 32-bit values do: a stored grade may hold any value.
    const uint32_t added = static_cast<uint32_t>(RandomSigned(45) + 10);
    Container->SetInfoGrade(static_cast<int32_t>(static_cast<uint32_t>(Container->GetInfoGrade()) + added));
  }
  return kReached;
}

int32_t YLUnit::DoRunAway(int32_t x, int32_t y) {
  if (GetX() == x && GetY() == y) {
    Destroy();
    CLogic* logic = GetLogic();
    if (CPlayer* player = logic != nullptr && GetOwner() != 0 ? logic->GetPlayer(GetOwner()) : nullptr) {
      player->AddParam(ParamUnitsLost, 1);
      player->AddParam(ParamTeamKills, 1);
    }
    return kMoveOut;
  }
  const int32_t facing = Info != nullptr ? Info->GetFacing() : 0;
  const int32_t turn = GetDirection(GetX(), GetY(), facing, x, y);
  if (turn > 0) {
    return kMoveTurnClockwiseAgain;
  }
  if (turn < 0) {
    return kMoveTurnCounterClockwiseAgain;
  }
  return kMoveRun;
}

void YLUnit::DoAmbient() {}

// ---- Geometry ----

int32_t YLUnit::GetDirection(int32_t x1, int32_t y1, int32_t facing, int32_t x2, int32_t y2) {
  const int64_t dx = static_cast<int64_t>(x2) - x1;
  const int64_t dy = static_cast<int64_t>(y1) - y2;
  int32_t direction = 0;
  if (dy > -2 * dx) {
    if (dx < 2 * dy) {
      direction = dy <= 2 * dx ? 1 : 0;
    } else {
      direction = dx <= -2 * dy ? 3 : 2;
    }
  } else if (dx < 2 * dy) {
    direction = dx > -2 * dy ? 7 : 6;
  } else {
    direction = dy > 2 * dx ? 5 : 4;
  }
  int32_t relative = direction - facing;
  if (relative < -4) {
    relative += 8;
  }
  if (relative > 4) {
    relative -= 8;
  }
  return relative;
}

int32_t YLUnit::IntDistance(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  return YLPathPlanNode::Distance(x1, y1, x2, y2);
}

void YLUnit::GetNearestPoint(const YLThing* thing, int32_t x, int32_t y, int32_t& px, int32_t& py) {
  px = thing != nullptr ? thing->GetX() : 0;
  py = thing != nullptr ? thing->GetY() : 0;
  if (thing == nullptr || thing->Info == nullptr || thing->Info->Ground == nullptr) {
    return;
  }
  const GroundMap& ground = *thing->Info->Ground;
  const int32_t facing = thing->Info->GetFacing();
  const int32_t points = ground.GetPointCount(facing);
  int32_t best = kNearestPointRange;
  std::vector<std::pair<int32_t, int32_t>> nearest;
  for (int32_t index = 0; index < points; ++index) {
    int32_t offsetX = 0;
    int32_t offsetY = 0;
    ground.GetPoint(facing, index, offsetX, offsetY);
    // Wrapping as 32-bit values do: a stored position may hold any value.
    const int32_t cellX = static_cast<int32_t>(static_cast<uint32_t>(thing->GetX()) + static_cast<uint32_t>(offsetX));
    const int32_t cellY = static_cast<int32_t>(static_cast<uint32_t>(thing->GetY()) + static_cast<uint32_t>(offsetY));
    const int32_t distance = IntDistance(cellX, cellY, x, y);
    if (distance < best) {
      best = distance;
      nearest.clear();
      nearest.emplace_back(cellX, cellY);
    } else if (distance == best) {
      nearest.emplace_back(cellX, cellY);
    }
  }
  if (nearest.empty()) {
    return;
  }
  if (nearest.size() == 3) {
    int64_t sumX = 0;
    int64_t sumY = 0;
    for (const auto& cell : nearest) {
      sumX += static_cast<int64_t>(cell.first) - x;
      sumY += static_cast<int64_t>(cell.second) - y;
    }
    // Integer division truncates toward zero, as the halving should.
    px = static_cast<int32_t>(x + sumX / 2);
    py = static_cast<int32_t>(y + sumY / 2);
    return;
  }
  const int32_t chosen = RandomSigned(static_cast<int32_t>(nearest.size()) - 1);
  px = nearest[static_cast<size_t>(chosen)].first;
  py = nearest[static_cast<size_t>(chosen)].second;
}

YLThing* YLUnit::FindThing(int32_t id) {
  CLogic* logic = GetLogic();
  YLThing* thing = logic != nullptr ? logic->GetThing(id) : nullptr;
  // A destroyed thing keeps its place in the table, off the map with its
  // record kept: it is no longer there to go to, flee from or make way for.
  if (thing == nullptr || thing->Info == nullptr || (thing->Info->Status & StatusAlive) == 0) {
    return nullptr;
  }
  return thing;
}

bool YLUnit::NearestCellOf(int32_t id, int32_t& x, int32_t& y) const {
  const YLThing* thing = FindThing(id);
  if (thing == nullptr) {
    return false;
  }
  GetNearestPoint(thing, GetX(), GetY(), x, y);
  return true;
}

// ---- Orders for a player's units ----

void GiveOrderToUnitsOf(CLogic& logic, int32_t owner, const PsychicPlanItem& order) {
  for (int32_t id = 0; logic.Things != nullptr && id < logic.Things->count; ++id) {
    auto* unit = UnitOf(logic.GetThing(id));
    if (unit != nullptr && unit->GetOwner() == owner) {
      unit->ExecutePlan(order.Clone());
    }
  }
}

void CelebrateWin(CLogic& logic, int32_t owner) {
  const PsychicPlanChant chant(0, 0, 2.0f, true);
  GiveOrderToUnitsOf(logic, owner, chant);
}
