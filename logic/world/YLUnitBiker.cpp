#include "logic/world/YLUnitBiker.h"

#include "base/LumoClass.h"
#include "logic/core/CLogic.h"
#include "logic/core/ContainerInfo.h"
#include "logic/core/OrderKinds.h"
#include "logic/core/RecordFields.h"
#include "logic/world/PsychicPlanKinds.h"
#include "logic/world/YLTCar.h"

namespace {

LumoClassOf<YLUnitBiker> classOfYLUnitBiker(kVersion_1_6_0_6, "YLUnitBiker", "YLUnitHardCore");
LumoClassOf<YLUnitInnocentDriver> classOfYLUnitInnocentDriver(kVersion_1_6_0_6, "YLUnitInnocentDriver", "YLUnit");
LOGIC_FIELD_PROPERTY(YLUnitInnocentDriver, LockTime, PropertyInteger, "tInteger");

constexpr int32_t kDriveOn = 15;
constexpr int32_t kMoveHijack = 28;
constexpr int32_t kSituationInVehicle = 5;

// The weights set for each relative direction of the goal (eighths, 0
// ahead), as (index, weight) pairs; -1 ends a row.
struct WeightSetting {
  int32_t index;
  float weight;
};
constexpr WeightSetting kBikerWeights[8][5] = {
    {{1, 1.0f}, {2, 0.3f}, {3, 0.3f}, {4, 0.0f}, {-1, 0.0f}},
    {{1, 0.3f}, {2, 1.0f}, {-1, 0.0f}},
    {{1, 0.1f}, {2, 1.0f}, {5, 0.3f}, {-1, 0.0f}},
    {{5, 1.0f}, {4, 0.3f}, {2, 0.1f}, {-1, 0.0f}},
    {{4, 0.7f}, {5, 1.0f}, {6, 1.0f}, {1, 0.0f}, {-1, 0.0f}},
    {{6, 1.0f}, {4, 0.3f}, {3, 0.1f}, {-1, 0.0f}},
    {{1, 0.1f}, {3, 1.0f}, {6, 0.3f}, {-1, 0.0f}},
    {{1, 0.3f}, {3, 1.0f}, {-1, 0.0f}},
};
constexpr float kSmallVehicleBase = 0.05f;
constexpr int32_t kOwnerCivilians = 0;
constexpr int32_t kOwnerPolice = 3;
constexpr float kAngerAtPolice = 0.5f;
constexpr float kAngerAtCivilians = 0.2f;

}  // namespace

YLUnitBiker::YLUnitBiker() = default;
const char* YLUnitBiker::GetClassName() const { return "YLUnitBiker"; }
YLTDriver* YLUnitBiker::AsDriver() { return this; }
int32_t YLUnitBiker::GetDriverTid() const { return GetTid(); }

void YLUnitBiker::GetDriveWeights(float (&weights)[kDriveWeightCount], int32_t direction, int32_t,
                                  int32_t vehicleType) const {
  for (float& weight : weights) {
    weight = 0.0f;
  }
  if (vehicleType == YLTCar::kTypeTram) {
    if (direction > -2 && direction < 2) {
      weights[1] = 1.0f;
    }
    return;
  }
  if (vehicleType != YLTCar::kTypeManta && vehicleType != YLTCar::kTypeGolf) {
    return;
  }
  for (int32_t index = 1; index < kDriveWeightCount; ++index) {
    weights[index] = kSmallVehicleBase;
  }
  for (const WeightSetting& setting : kBikerWeights[WrapDirection(direction)]) {
    if (setting.index < 0) {
      break;
    }
    weights[setting.index] = setting.weight;
  }
}

bool YLUnitBiker::IsDriveTarget(const YLUnit& unit) const {
  const int32_t owner = unit.GetOwner();
  const PsychicPlanItem* step = GetCurrentMove();
  if (step != nullptr && step->Action == OrderKind::kAttack) {
    const CLogic* logic = GetLogic();
    const YLThing* target = logic != nullptr ? logic->GetThing(step->Param1) : nullptr;
    if (step->Param1 == unit.GetTid() || (target != nullptr && target->GetOwner() == owner)) {
      return true;
    }
  }
  if (owner == GetOwner()) {
    return false;
  }
  if (owner != kOwnerCivilians && owner != kOwnerPolice) {
    return true;
  }
  const UnitInfo* info = GetUnitInfo();
  const float anger = info != nullptr ? info->Anger : 0.0f;
  return owner == kOwnerPolice ? anger >= kAngerAtPolice : anger >= kAngerAtCivilians;
}

YLUnitInnocentDriver::YLUnitInnocentDriver() = default;
const char* YLUnitInnocentDriver::GetClassName() const { return "YLUnitInnocentDriver"; }
YLTDriver* YLUnitInnocentDriver::AsDriver() { return this; }
int32_t YLUnitInnocentDriver::GetDriverTid() const { return GetTid(); }

int32_t YLUnitBiker::OnBrainMove(int32_t move) {
  int32_t answer = 0;
  return WheelBrainMove(move, answer) ? answer : YLUnitHardCore::OnBrainMove(move);
}

int32_t YLUnitBiker::DoGoto(float motivation, int32_t x, int32_t y, bool fast, int32_t arrivalDistance) {
  int32_t answer = 0;
  if (WheelGoto(motivation, x, y, fast, arrivalDistance, answer)) {
    return answer;
  }
  return YLUnitHardCore::DoGoto(motivation, x, y, fast, 0);
}

bool YLUnitBiker::DrivesNow() const { return GetSituation() == kSituationInVehicle && IsDriving(); }

bool YLUnitBiker::MakePlan() {
  PsychicPlanItem* step = GetPlanLeaf();
  const CLogic* logic = GetLogic();
  if (logic != nullptr && step != &Plan && step->Expandable && step->Action == OrderKind::kHijack) {
    const auto* target = CarOf(logic->GetThing(step->Param1));
    const auto* record = target != nullptr ? dynamic_cast<const ContainerInfo*>(target->Info.get()) : nullptr;
    if (record == nullptr) {
      return false;
    }
    int32_t x = 0;
    int32_t y = 0;
    record->GetEntrance(x, y);
    if (!PlanPath(GetX(), GetY(), x, y, step, 0)) {
      const YLTCar* own = GetCar();
      if (!DrivesNow() || own == nullptr) {
        return false;
      }
      // No way there at the wheel: out of the own vehicle first; the
      // GotoThing then finds its way on foot.
      step->AddChild(new PsychicPlanLeave(own->GetTid(), 0, step->Motivation, step->Fast));
    }
    step->AddChild(new PsychicPlanGotoThing(step->Param1, 0, step->Motivation, step->Fast));
    step->Expandable = false;
  } else if (step != &Plan && step->Expandable && step->Action == OrderKind::kGoto && DrivesNow()) {
    GetVehicle()->StartVehicleMove(kDriveOn);
  }
  return YLUnitHardCore::MakePlan();
}

void YLUnitBiker::PlanReached(PsychicPlanItem* item) {
  if (item != nullptr && (item->Action == OrderKind::kGoto || item->Action == OrderKind::kGotoThing) &&
      DrivesNow()) {
    GetVehicle()->StartVehicleMove(0);
  }
  YLUnitHardCore::PlanReached(item);
}

int32_t YLUnitBiker::DoHijack(float motivation, int32_t id, bool fast) {
  const CLogic* logic = GetLogic();
  const auto* target = logic != nullptr ? CarOf(logic->GetThing(id)) : nullptr;
  if (target == nullptr || target->Info == nullptr || (target->Info->Status & StatusAlive) == 0 ||
      GetContainer() == target) {
    return kReached;
  }
  const int32_t answer = DoEnter(motivation, id, fast);
  return answer == kMoveEnter ? kMoveHijack : answer;
}

int32_t YLUnitBiker::DoAttack(float motivation, int32_t targetId, bool fast) {
  if (!DrivesNow()) {
    return YLUnitHardCore::DoAttack(motivation, targetId, fast);
  }
  const YLUnit* target = FindLivingUnit(targetId);
  if (target == nullptr) {
    return kReached;
  }
  int32_t x = 0;
  int32_t y = 0;
  GetNearestPoint(target, GetX(), GetY(), x, y);
  return ChooseDriveMove(x, y, 0);
}

int32_t YLUnitBiker::DoThrow(float motivation, int32_t target, int32_t param2, bool fast) {
  return DrivesNow() ? kReached : YLUnitHardCore::DoThrow(motivation, target, param2, fast);
}
int32_t YLUnitBiker::DoPickUp(float motivation, int32_t id, bool fast) {
  return DrivesNow() ? kReached : YLUnitHardCore::DoPickUp(motivation, id, fast);
}
int32_t YLUnitBiker::DoLoot(float motivation, int32_t id, bool fast) {
  return DrivesNow() ? kReached : YLUnitHardCore::DoLoot(motivation, id, fast);
}
int32_t YLUnitBiker::DoSubLoot(float motivation, int32_t id) {
  return DrivesNow() ? kReached : YLUnitHardCore::DoSubLoot(motivation, id);
}
int32_t YLUnitBiker::DoChant(float motivation) {
  return DrivesNow() ? kReached : YLUnitHardCore::DoChant(motivation);
}
int32_t YLUnitBiker::DoGetDope(float motivation, int32_t id, bool fast) {
  return DrivesNow() ? kReached : YLUnitHardCore::DoGetDope(motivation, id, fast);
}
int32_t YLUnitBiker::DoThrowTurret(float motivation, int32_t id, bool fast) {
  return DrivesNow() ? kReached : YLUnitHardCore::DoThrowTurret(motivation, id, fast);
}
int32_t YLUnitBiker::DoFlee(float motivation, int32_t threatId, bool fast) {
  return DrivesNow() ? kReached : YLUnitHardCore::DoFlee(motivation, threatId, fast);
}

int32_t YLUnitInnocentDriver::Decide(int32_t) {
  if (LockTime == 0 && GetVehicle() != nullptr) {
    LockTime = GetVehicle()->StartVehicleMove(kDriveOn);
  }
  if (LockTime > 0) {
    --LockTime;
  }
  return LockTime;
}

int32_t YLUnitInnocentDriver::DoGoto(float motivation, int32_t x, int32_t y, bool fast, int32_t arrivalDistance) {
  if (GetSituation() == kSituationInVehicle && GetVehicle() != nullptr) {
    return kDriveOn;
  }
  return YLUnit::DoGoto(motivation, x, y, fast, arrivalDistance);
}

// The drive move is no move of the unit's own table (15 there is a fall):
// while it sits at the wheel the unit rests and its decision drives.
int32_t YLUnitInnocentDriver::OnBrainMove(int32_t move) {
  if (GetVehicle() != nullptr && GetSituation() == kSituationInVehicle) {
    return YLUnit::OnBrainMove(kMoveRest);
  }
  return YLUnit::OnBrainMove(move);
}

LUMO_GENERIC_FIELD(YLUnitInnocentDriver, LockTime)
