#include "logic/world/YLUnitBiker.h"

#include "base/LumoClass.h"
#include "logic/core/CLogic.h"
#include "logic/core/OrderKinds.h"
#include "logic/core/RecordFields.h"
#include "logic/world/YLTCar.h"

namespace {

LumoClassOf<YLUnitBiker> classOfYLUnitBiker(kVersion_1_6_0_6, "YLUnitBiker", "YLUnitHardCore");
LumoClassOf<YLUnitInnocentDriver> classOfYLUnitInnocentDriver(kVersion_1_6_0_6, "YLUnitInnocentDriver", "YLUnit");
LOGIC_FIELD_PROPERTY(YLUnitInnocentDriver, LockTime, PropertyInteger, "tInteger");

constexpr int32_t kDriveOn = 15;
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
