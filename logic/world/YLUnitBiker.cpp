#include "logic/world/YLUnitBiker.h"

#include "base/LumoClass.h"
#include "logic/core/CLogic.h"
#include "logic/core/OrderKinds.h"
#include "logic/world/YLTCar.h"

namespace {

LumoClassOf<YLUnitBiker> classOfYLUnitBiker(kVersion_1_6_0_6, "YLUnitBiker", "YLUnitHardCore");
LumoClassOf<YLUnitInnocentDriver> classOfYLUnitInnocentDriver(kVersion_1_6_0_6, "YLUnitInnocentDriver", "YLUnit");

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
