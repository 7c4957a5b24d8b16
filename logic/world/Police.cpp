#include "logic/world/Police.h"

#include <cmath>
#include <cstdlib>
#include <cstdio>

#include "base/DebugFormat.h"
#include "base/LumoClass.h"
#include "base/LumoStream.h"
#include "base/Random.h"
#include "base/tString.h"
#include "logic/core/CLogic.h"
#include "logic/core/ContainerInfo.h"
#include "logic/core/GroundMap.h"
#include "logic/core/OrderKinds.h"
#include "logic/core/RecordFields.h"
#include "logic/core/WeaponCatalog.h"
#include "logic/core/YLWeapon.h"
#include "logic/world/PsychicPlanKinds.h"
#include "logic/world/UnitRoutes.h"
#include "logic/world/YLPoliceContainer.h"
#include "logic/world/YLTCar.h"
#include "logic/world/YLTContainerThing.h"
#include "logic/world/YLUnitLeader.h"

namespace {

LumoClassOf<Police> classOfPolice(kVersion_1_6_0_6, "Police", "YLUnit");
LOGIC_FIELD_PROPERTY(Police, Threat, PropertySingle, "tSingle");
LOGIC_FIELD_PROPERTY(Police, WorstUnit, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(Police, WorstValue, PropertySingle, "tSingle");
LOGIC_FIELD_PROPERTY(Police, CrimeCount, PropertyInteger, "tInteger");
LumoClassOf<MEUnit> classOfMEUnit(kVersion_1_6_0_6, "MEUnit", "Police");

constexpr uint32_t kStatusTypeBit17 = 1u << 17;
constexpr float kOfficerArmor = 0.3f;
// An enemy this many cells away adds nothing; farther ones take off.
constexpr int32_t kThreatReach = 13;
constexpr float kThreatScale = 0.07692308f;
constexpr float kAngerFade = 0.95f;
constexpr float kFearFollows = 0.4f;
constexpr int32_t kStimulusHit = 3;
constexpr int32_t kStimulusCall = 9;
constexpr float kCallAttack = 0.95f;
constexpr int32_t kMoveWeapon = 11;
constexpr int32_t kMoveFist = 12;
constexpr int32_t kMoveKick = 13;
constexpr int32_t kMoveThrow = 14;
constexpr int32_t kMoveBarricade = 23;
constexpr int32_t kMoveBomb = 25;
constexpr int32_t kMoveMolotov = 27;
constexpr float kIdleChance = 0.1f;
constexpr float kIdleMotivation = 0.25f;
constexpr float kPoliceFactors[5] = {1.2f, 0.8f, 0.9f, 1.5f, 1.4f};
constexpr float kRiotFactors[5] = {0.85f, 1.0f, 0.9f, 1.5f, 0.8f};

int32_t CurrentMoveCode(const YLThing& thing) {
  return thing.Info != nullptr && thing.Info->Move != nullptr ? thing.Info->Move->code : -1;
}

}  // namespace

LUMO_GENERIC_FIELD(Police, Threat)
LUMO_GENERIC_FIELD(Police, WorstUnit)
LUMO_GENERIC_FIELD(Police, WorstValue)
LUMO_GENERIC_FIELD(Police, CrimeCount)

Police::Police() = default;
const char* Police::GetClassName() const { return "Police"; }
bool Police::IsSelectable() const { return true; }
bool Police::IsPolice() const { return true; }

ThingInfo* Police::MakeInfo() const {
  ThingInfo* info = YLUnit::MakeInfo();
  if (auto* unit = dynamic_cast<UnitInfo*>(info)) {
    unit->Status = kStatusNewUnit | kStatusTypeBit17;
    unit->Armor = kOfficerArmor;
  }
  return info;
}

void Police::GetFactors(float (&factors)[5]) const {
  for (int32_t index = 0; index < 5; ++index) {
    factors[index] = kPoliceFactors[index];
  }
}

#define POLICE_FACTOR(Name, index) \
  float Police::Name() const {     \
    float factors[5] = {};         \
    GetFactors(factors);           \
    return factors[index];         \
  }
POLICE_FACTOR(GetNeutralFactor, 0)
POLICE_FACTOR(GetFrightFactor, 1)
POLICE_FACTOR(GetBeerFactor, 2)
POLICE_FACTOR(GetDoubleFactor, 3)
POLICE_FACTOR(GetStaminaRate, 4)
#undef POLICE_FACTOR

YLWeapon* Police::GetWeapon() const {
  const CLogic* logic = GetLogic();
  if (logic == nullptr || logic->Weapons == nullptr) {
    return nullptr;
  }
  const bool riot = dynamic_cast<const MEUnit*>(this) != nullptr;
  return logic->Weapons->GetSlot(riot ? WeaponSlot::kTearGas : WeaponSlot::kGun);
}

YLUnit* Police::FindUnit(int32_t id) const {
  const CLogic* logic = GetLogic();
  auto* unit = logic != nullptr && id > 0 && id < kDirectionCodes ? UnitOf(logic->GetThing(id)) : nullptr;
  return unit != nullptr && unit->Info != nullptr && (unit->Info->Status & StatusAlive) != 0 ? unit : nullptr;
}

// ---- Threat ----

float Police::ThreatOf(float sum, int32_t friends) {
  if (friends == 0) {
    // sum / 0 is an infinity of the sum's sign (1 - 1/inf = 1) or, for a
    // zero sum, not a number (counted as 0).
    return sum != 0.0f ? 1.0f : 0.0f;
  }
  const float denominator = 1.0f + 4.0f * sum / static_cast<float>(friends);
  if (denominator == 0.0f) {
    // 1 - 1/0 is minus infinity.
    return 0.0f;
  }
  const float threat = 1.0f - 1.0f / denominator;
  if (std::isnan(threat) || threat < 0.0f) {
    return 0.0f;
  }
  return threat > 1.0f ? 1.0f : threat;
}

void Police::AssessThreat() {
  UnitInfo* info = GetUnitInfo();
  const CLogic* logic = GetLogic();
  if (info == nullptr || logic == nullptr) {
    return;
  }
  float sum = 0.0f;
  CrimeCount = 0;
  int32_t friends = 0;
  for (int32_t index = 0; index < GetNeighbourCount(); ++index) {
    const int32_t id = GetNeighbour(index);
    if (id >= kDirectionCodes || id <= 0) {
      continue;
    }
    const YLThing* thing = logic->GetThing(id);
    if (thing == nullptr || thing->Info == nullptr) {
      continue;
    }
    const auto* unit = UnitOf(thing);
    if (unit == nullptr) {
      if (CarOf(thing) != nullptr && thing->GetOwner() != GetOwner()) {
        Speak(kSayVehicle, id);
      }
      continue;
    }
    if (unit->GetOwner() == 0 || unit->GetOwner() == GetOwner()) {
      ++friends;
      continue;
    }
    Speak(kSayEnemy, id);
    const int32_t distance = IntDistance(GetX(), GetY(), unit->GetX(), unit->GetY());
    sum += unit->GetDamage() * static_cast<float>(kThreatReach - distance) * kThreatScale;
    // The molotov move plays under the throw's code: it is told by its
    // place in the move table.
    const bool molotov = unit->Info->Move != nullptr && unit->Info->Move == unit->GetMoveInfo(kMoveMolotov);
    switch (molotov ? kMoveMolotov : CurrentMoveCode(*unit)) {
      case kMoveWeapon:
        Speak(dynamic_cast<const YLUnitLeader*>(unit) != nullptr ? kSayArmedLeader : kSayArmed, id);
        break;
      case kMoveFist:
      case kMoveKick:
      case kMoveThrow:
        Speak(kSayFighting, id);
        break;
      case kMoveBarricade:
        Speak(kSayBarricade, id);
        break;
      case kMoveBomb:
        Speak(kSayBomb, id);
        break;
      case kMoveMolotov:
        Speak(kSayMolotov, id);
        break;
      default:
        break;
    }
  }
  info->Anger *= kAngerFade;
  Threat = ThreatOf(sum, friends);
  info->Fear = info->Fear < 0.0f ? 0.0f : info->Fear > 1.0f ? 1.0f : info->Fear;
  info->Fear += kFearFollows * (Threat - info->Fear);
}

void Police::ComputeUpdateModel() {
  YLUnit::ComputeUpdateModel();
  AssessThreat();
}

// ---- Reflexes and feelings ----

void Police::ComputeReflexes() {
  const CLogic* logic = GetLogic();
  for (int32_t index = 0; logic != nullptr && index < GetStimulusCount(); ++index) {
    const Stimulus* stimulus = GetStimulus(index);
    if (stimulus == nullptr) {
      continue;
    }
    const int32_t kind = stimulus->kind & 0xFF;
    const YLThing* source = stimulus->source > 0 ? logic->GetThing(stimulus->source) : nullptr;
    if (kind == kStimulusHit && source != nullptr && GetPlanLeaf()->Action != OrderKind::kFuckOff &&
        (source->GetOwner() == 0 || source->GetOwner() == CLogic::kPolicePlayer)) {
      // Away from where the source is: its car when it sits in one.
      const YLThing* from = source;
      if (const YLThing* container = source->GetContainer(); CarOf(container) != nullptr) {
        from = container;
      }
      PushPlanItem(new PsychicPlanFuckOff(from->GetX(), from->GetY(), stimulus->strength, false));
    } else if (kind == kStimulusCall && source != nullptr && GetPlanLeaf()->Motivation < kCallAttack) {
      PushPlanItem(new PsychicPlanAttack(stimulus->source, 0, kCallAttack, true));
    }
  }
  YLUnit::ComputeReflexes();
}

void Police::ComputeIntentions() {
  MaybeIdle();
  const PsychicPlanItem* leaf = GetPlanLeaf();
  if (leaf != &Plan && (leaf->Action != 0 || dynamic_cast<MEUnit*>(this) != nullptr)) {
    OfferStep(leaf->Clone());
  }
  if (Plan.child == nullptr) {
    ChooseIdle();
  }
}

void Police::ChooseIdle() {
  if (GetContainer() != nullptr) {
    return;
  }
  if (RandomFloat() < kIdleChance) {
    ExecutePlan(new PsychicPlanAmbient(0, 0, kIdleMotivation, false));
  }
}

void Police::Frighten(float amount, int32_t sourceId) {
  UnitInfo* info = GetUnitInfo();
  if (info == nullptr || !HasStatus(StatusUpright)) {
    return;
  }
  info->Anger += 2.0f * GetNeutralFactor() * amount * (1.0f - info->Anger);
  if (sourceId != 0) {
    Speak(kSayHurt, sourceId);
  }
}

void Police::HitByThrow(float amount, int32_t, int32_t) {
  UnitInfo* info = GetUnitInfo();
  if (info == nullptr || !HasStatus(StatusUpright)) {
    return;
  }
  info->Anger += 3.0f * GetNeutralFactor() * amount * (1.0f - info->Anger);
}

// ---- Plan ----

void Police::ExecutePlan(PsychicPlanItem* item) {
  if (item == nullptr) {
    return;
  }
  float motivation = -1.0f;
  switch (item->Action) {
    case OrderKind::kAttack:
    case 55:
      motivation = 0.6f;
      break;
    case OrderKind::kPatroll:
    case OrderKind::kStandBy:
      motivation = 0.3f;
      break;
    case OrderKind::kInvestigate:
      motivation = 0.5f;
      break;
    case OrderKind::kCordon:
      motivation = 0.7f;
      break;
    case OrderKind::kCharge:
    case OrderKind::kTearGas:
      motivation = 0.8f;
      break;
    case OrderKind::kAssistance:
      motivation = 1.1f;
      break;
    default:
      break;
  }
  if (motivation >= 0.0f) {
    item->Motivation = motivation;
    if (UnitInfo* info = GetUnitInfo()) {
      info->Loyalty = motivation;
    }
  }
  if (item->Action == OrderKind::kArrested) {
    // An officer's Arrest step is its own arrest of Param1, not its being
    // arrested.
    if (!HasStatus(StatusUpright) || !HasStatus(StatusAlive)) {
      DestroyObject(item);
      return;
    }
    ClearPlan();
    Alreadythere = 0;
    Plan.AddChild(item);
    item->Expandable = false;
    OfferStep(item->Clone());
    return;
  }
  if (HasStatus(kStatusBusy)) {
    ClearStatus(kStatusBusy);
    if (YLUnit* arrested = FindUnit(WorstUnit); arrested != nullptr && arrested->Info != nullptr) {
      arrested->Info->Status &= ~kStatusArrested;
    }
  }
  YLUnit::ExecutePlan(item);
}

bool Police::MakePlan() {
  if (YLUnit::MakePlan()) {
    return true;
  }
  PsychicPlanItem* step = GetPlanLeaf();
  const CLogic* logic = GetLogic();
  if (step == &Plan || logic == nullptr) {
    return false;
  }
  const YLWeapon* gas = logic->Weapons != nullptr ? logic->Weapons->GetSlot(WeaponSlot::kTearGas) : nullptr;
  switch (step->Action) {
    case OrderKind::kAttack:
    case OrderKind::kInvestigate:
    case OrderKind::kInvestigateUnit:
    case OrderKind::kAssistance:
    case 55: {
      const YLThing* target = logic->GetThing(step->Param1);
      if (target == nullptr || !PlanPath(GetX(), GetY(), target->GetX(), target->GetY(), step, 0)) {
        return false;
      }
      step->Expandable = false;
      return true;
    }
    case OrderKind::kShoot: {
      const YLThing* target = logic->GetThing(step->Param1);
      return target != nullptr && gas != nullptr &&
             PlanRouteWithin(*this, step, target->GetX(), target->GetY(), gas->GetAttackRange());
    }
    case OrderKind::kPatroll:
    case OrderKind::kCordon:
    case OrderKind::kBringIn:
      if (!PlanPath(GetX(), GetY(), step->Param1, step->Param2, step, 0)) {
        return false;
      }
      step->Expandable = false;
      return true;
    case OrderKind::kStandBy:
    case OrderKind::kCharge:
      step->Expandable = false;
      return true;
    case OrderKind::kTearGas:
      return gas != nullptr && PlanRouteWithin(*this, step, step->Param1, step->Param2, gas->GetAttackRange());
    default:
      return false;
  }
}

// ---- Moves ----

int32_t Police::DoShoot(float motivation, int32_t targetId, bool fast) {
  const YLUnit* target = FindUnit(targetId);
  const YLWeapon* gun = GetWeapon();
  const UnitInfo* info = GetUnitInfo();
  if (target == nullptr || gun == nullptr || info == nullptr) {
    return kReached;
  }
  // A gun without rounds does not fire: the officer fights on with its
  // fists instead of playing a shot that fails every time.
  if (gun->UsesAmmo() && info->Ammo <= 0) {
    return kReached;
  }
  int32_t x = 0;
  int32_t y = 0;
  GetNearestPoint(target, GetX(), GetY(), x, y);
  const int32_t range = gun->GetAttackRange();
  if (IntDistance(GetX(), GetY(), x, y) >= range) {
    return DoGoto(motivation, x, y, fast, range > 0 ? range - 1 : 0);
  }
  if (GetContainer() != nullptr) {
    return kReached;
  }
  const int32_t turn = GetDirection(GetX(), GetY(), Info->GetFacing(), x, y);
  if (turn != 0) {
    return TurnTowards(turn, kMoveTurnClockwiseAgain, kMoveTurnCounterClockwiseAgain);
  }
  DestinationX = x;
  DestinationY = y;
  SetStatus(kStatusGunDrawn);
  return kMoveWeapon;
}

int32_t Police::DoAttack(float motivation, int32_t targetId, bool fast) {
  const YLUnit* target = FindUnit(targetId);
  if (target == nullptr || CurrentMoveCode(*target) == kMoveOut || target->GetContainer() != nullptr) {
    return kReached;
  }
  const int32_t shoot = DoShoot(motivation, targetId, fast);
  if (shoot != kReached) {
    return shoot;
  }
  int32_t x = 0;
  int32_t y = 0;
  GetNearestPoint(target, GetX(), GetY(), x, y);
  const int32_t walk = DoGoto(motivation, x, y, fast, 1);
  if (walk != kReached) {
    return walk;
  }
  DestinationX = x;
  DestinationY = y;
  return CurrentMoveCode(*target) == kMoveFall ? kMoveKick : kMoveFist;
}

int32_t Police::DoFlee(float, int32_t, bool) { return kMoveRest; }

int32_t Police::DoPatroll(float motivation, int32_t x, int32_t y, bool fast, int32_t arrivalDistance) {
  return DoGoto(motivation, x, y, fast, arrivalDistance);
}
int32_t Police::DoInvestigateAlarm(float motivation, int32_t id, bool fast) { return DoGotoThing(motivation, id, fast); }
int32_t Police::DoInvestigateUnit(float motivation, int32_t id, bool fast) { return DoGotoThing(motivation, id, fast); }
int32_t Police::DoAssistance(float motivation, int32_t id, bool fast) { return DoGotoThing(motivation, id, fast); }

int32_t Police::DoArrest(float motivation, int32_t targetId, int32_t departmentId, bool fast) {
  WorstUnit = targetId;
  YLUnit* target = FindUnit(targetId);
  if (target == nullptr) {
    return kReached;
  }
  const bool marked = (target->Info->Status & kStatusArrested) != 0;
  const bool busy = HasStatus(kStatusBusy);
  if (!busy && marked) {
    return kReached;
  }
  int32_t x = 0;
  int32_t y = 0;
  GetNearestPoint(target, GetX(), GetY(), x, y);
  if (IntDistance(GetX(), GetY(), x, y) > 1) {
    return DoGoto(motivation, x, y, fast, 1);
  }
  const CLogic* logic = GetLogic();
  YLThing* department = logic != nullptr ? logic->GetThing(departmentId) : nullptr;
  if (!marked) {
    const int32_t attack = DoAttack(motivation, targetId, fast);
    if (attack != kReached) {
      return attack;
    }
    const int32_t walk = DoGoto(motivation, x, y, fast, 1);
    if (walk != kReached) {
      return walk;
    }
    if (Alreadythere == 0) {
      Alreadythere = 1;
      return kMoveArrest;
    }
    target->ExecutePlan(new PsychicPlanArrest(GetTid(), 0, 1.0f, false));
    SetStatus(kStatusBusy);
    if (department != nullptr) {
      PushPlanItem(new PsychicPlanBringIn(department->GetX(), department->GetY(), 1.0f, false));
    }
    return kMoveRest;
  }
  if (department == nullptr) {
    return kReached;
  }
  if (IntDistance(GetX(), GetY(), department->GetX(), department->GetY()) > 2) {
    return DoGoto(motivation, department->GetX(), department->GetY(), fast, 2);
  }
  target->ExecutePlan(new PsychicPlanJailed(departmentId, 0, 1.0f, false));
  ClearStatus(kStatusBusy);
  return kReached;
}

int32_t Police::DoBringIn(float motivation, int32_t x, int32_t y, bool fast) {
  const CLogic* logic = GetLogic();
  if (logic == nullptr) {
    return kReached;
  }
  // The department whose entrance is the cell.
  int32_t departmentId = 0;
  for (int32_t id = 1; logic->Things != nullptr && id < logic->Things->count && departmentId == 0; ++id) {
    const YLThing* thing = logic->GetThing(id);
    if (dynamic_cast<const YLPoliceContainer*>(thing) != nullptr && thing->GetX() == x && thing->GetY() == y) {
      departmentId = id;
    }
  }
  if (!HasStatus(kStatusBusy)) {
    return kReached;
  }
  // The waypoints of the route are walked; at the department the arrest
  // goes on.
  return departmentId != 0 ? DoArrest(motivation, WorstUnit, departmentId, fast) : DoGoto(motivation, x, y, fast, 0);
}

// ---- Debug text ----

void Police::GetDebugText(tString& text) const {
  YLUnit::GetDebugText(text);
  char line[128];
  std::snprintf(line, sizeof(line), " -- plisie: thr:%.2f, worst:%d(%.2f), cnt:%d\n", static_cast<double>(Threat),
                static_cast<int>(WorstUnit), static_cast<double>(WorstValue), static_cast<int>(CrimeCount));
  text += line;
}

// ---- Riot police ----

MEUnit::MEUnit() = default;
const char* MEUnit::GetClassName() const { return "MEUnit"; }
YLTDriver* MEUnit::AsDriver() { return this; }
int32_t MEUnit::GetDriverTid() const { return GetTid(); }

ThingInfo* MEUnit::MakeInfo() const {
  ThingInfo* info = Police::MakeInfo();
  if (auto* unit = dynamic_cast<UnitInfo*>(info)) {
    unit->Weapon = 1;
  }
  return info;
}

void MEUnit::GetFactors(float (&factors)[5]) const {
  for (int32_t index = 0; index < 5; ++index) {
    factors[index] = kRiotFactors[index];
  }
}

void MEUnit::GetDebugText(tString& text) const { YLUnit::GetDebugText(text); }

void MEUnit::HitByThrow(float, int32_t, int32_t) {}

int32_t MEUnit::OnBrainMove(int32_t move) {
  int32_t answer = 0;
  return WheelBrainMove(move, answer) ? answer : Police::OnBrainMove(move);
}

int32_t MEUnit::DoGoto(float motivation, int32_t x, int32_t y, bool fast, int32_t arrivalDistance) {
  int32_t answer = 0;
  if (WheelGoto(motivation, x, y, fast, arrivalDistance, answer)) {
    return answer;
  }
  return Police::DoGoto(motivation, x, y, fast, arrivalDistance);
}

bool MEUnit::MakePlan() {
  PsychicPlanItem* step = GetPlanLeaf();
  const YLTCar* bus = GetCar();
  if (step == &Plan || !step->Expandable || step->Action != OrderKind::kEnter || !IsDriving() || bus == nullptr ||
      bus->GetTid() != step->Param1) {
    return Police::MakePlan();
  }
  Frustration = 0.0f;
  const auto* record = dynamic_cast<const ContainerInfo*>(bus->Info.get());
  int32_t x = bus->GetX();
  int32_t y = bus->GetY();
  if (record != nullptr) {
    record->GetEntrance(x, y);
  }
  if (!PlanPath(GetX(), GetY(), x, y, step, 0)) {
    return false;
  }
  const int32_t id = bus->GetTid();
  for (int32_t round = 0; round < 2; ++round) {
    step->AddChild(new PsychicPlanLeave(id, 0, step->Motivation, step->Fast));
    step->AddChild(new PsychicPlanGotoThing(id, 0, step->Motivation, step->Fast));
  }
  step->Expandable = false;
  return true;
}

void MEUnit::GetDriveWeights(float (&weights)[kDriveWeightCount], int32_t direction, int32_t distance,
                             int32_t vehicleType) const {
  if (vehicleType != 1 && vehicleType != 2 && vehicleType != 6) {
    YLTDriver::GetDriveWeights(weights, direction, distance, vehicleType);
    return;
  }
  for (float& weight : weights) {
    weight = 0.0f;
  }
  // w[1] drive on, w[2]/w[3] the drive turns, w[4] reverse, w[5]/w[6] the
  // reverse turns; the direction counted clockwise from the bus's facing.
  float& on = weights[1];
  float& turnCW = weights[2];
  float& turnCCW = weights[3];
  float& reverse = weights[4];
  float& reverseCW = weights[5];
  float& reverseCCW = weights[6];
  const bool near = distance < 4;
  switch (direction & 7) {
    case 0:
      on = 1.0f;
      turnCW = 0.3f;
      turnCCW = 0.3f;
      break;
    case 1:
      on = 0.3f;
      turnCW = 1.0f;
      break;
    case 2:
      turnCW = 1.0f;
      on = near ? 0.1f : 0.3f;
      if (near) {
        reverseCW = 0.3f;
      }
      break;
    case 3:
      reverseCW = 1.0f;
      reverse = 0.3f;
      turnCW = 0.1f;
      reverseCCW = 0.1f;
      break;
    case 4:
      reverse = 0.7f;
      reverseCW = 1.0f;
      reverseCCW = 1.0f;
      break;
    case 5:
      reverseCCW = 1.0f;
      reverse = 0.3f;
      turnCCW = 0.1f;
      reverseCW = 0.1f;
      break;
    case 6:
      turnCCW = 1.0f;
      on = near ? 0.1f : 0.3f;
      if (near) {
        reverseCCW = 0.3f;
      }
      break;
    default:
      on = 0.3f;
      turnCCW = 1.0f;
      break;
  }
}

int32_t MEUnit::DoTearGas(float motivation, int32_t x, int32_t y, bool fast) {
  if (Frustration == kGasThrown) {
    return kReached;
  }
  if (YLThing* container = GetContainer()) {
    return DoLeave(motivation, container->GetTid(), fast);
  }
  if (Info == nullptr) {
    return kReached;
  }
  constexpr int32_t kGasReach = 15;
  if (IntDistance(GetX(), GetY(), x, y) > kGasReach) {
    return DoGoto(motivation, x, y, fast, kGasReach);
  }
  if (!HasStatus(kStatusGunDrawn)) {
    return 29;
  }
  const int32_t turn = GetDirection(GetX(), GetY(), Info->GetFacing(), x, y);
  if (turn != 0) {
    return TurnTowards(turn, kMoveTurnClockwise, kMoveTurnCounterClockwise);
  }
  DestinationX = x;
  DestinationY = y;
  Frustration = kGasThrown;
  return kMoveWeapon;
}

void MEUnit::Charge() {
  CLogic* logic = GetLogic();
  const YLTCar* bus = GetCar();
  if (logic == nullptr || bus == nullptr || bus->Info == nullptr || bus->Info->Ground == nullptr) {
    return;
  }
  const ThingInfo& info = *bus->Info;
  const int32_t facing = info.GetFacing();
  for (int32_t index = 0; index < info.Ground->GetPointCount(facing); ++index) {
    int32_t dx = 0;
    int32_t dy = 0;
    if (!info.Ground->GetPoint(facing, index, dx, dy)) {
      continue;
    }
    const YLThing* there = logic->GetThingAt(info.X + dx, info.Y + dy);
    if (UnitOf(there) != nullptr && there != this) {
      logic->SendUnitMessage(this, there->GetTid(), kStimulusHit, 0.85f);
    }
  }
}

int32_t MEUnit::DoCharge(float motivation, int32_t x, int32_t y, bool fast) {
  if (IsDriving()) {
    Charge();
  }
  return DoGoto(motivation, x, y, fast, 0);
}

int32_t MEUnit::ChooseTarget() const {
  const CLogic* logic = GetLogic();
  if (logic == nullptr || Info == nullptr) {
    return 0;
  }
  int32_t nearest = kNoThingDistance;
  int32_t best = 0;
  int32_t bestTurn = 5;
  for (int32_t index = 0; index < GetNeighbourCount(); ++index) {
    const int32_t id = GetNeighbour(index);
    const YLUnit* unit = FindUnit(id);
    if (unit == nullptr || unit->GetOwner() == 0 || unit->GetOwner() == CLogic::kPolicePlayer ||
        CurrentMoveCode(*unit) == kMoveOut || (unit->Info->Status & kStatusArrested) != 0) {
      continue;
    }
    const int32_t distance = IntDistance(GetX(), GetY(), unit->GetX(), unit->GetY());
    if (distance > nearest) {
      continue;
    }
    if (distance < nearest) {
      nearest = distance;
      best = 0;
      bestTurn = 5;
    }
    const int32_t turn = std::abs(GetDirection(GetX(), GetY(), Info->GetFacing(), unit->GetX(), unit->GetY()));
    if (turn < bestTurn) {
      bestTurn = turn;
      best = id;
    }
  }
  return nearest == 1 ? best : 0;
}
