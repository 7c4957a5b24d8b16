#include "logic/triggers/ScoreTriggerStrategic.h"

#include <algorithm>
#include <cstdio>

#include "logic/core/CLogic.h"
#include "logic/core/CPlayer.h"
#include "logic/core/RecordFields.h"

namespace {

LumoClassOf<ScoreTriggerStrategic> classOfScoreTriggerStrategic(kVersion_1_6_0_6, "ScoreTriggerStrategic",
                                                                "ConditionTrigger");

struct ScoreWeight {
  ParamEnum parameter;
  int32_t weight;
};

constexpr ScoreWeight kWeights[] = {
    {ParamMoney, 50},
    {ParamMoneySpent, 50},
    {ParamThingsDestroyed, 50000},
    {ParamCarsDestroyed, 50000},
    {ParamHomesWrecked, 50000},
    {ParamOtherBuildingsWrecked, 75000},
    {ParamPubsWrecked, 100000},
    {ParamWeaponShopsWrecked, 150000},
    {ParamDopeHousesWrecked, 150000},
    {ParamGirlsShopsWrecked, 150000},
    {ParamScoreCorrection, 1},
};

}  // namespace

ScoreTriggerStrategic::ScoreTriggerStrategic() = default;

const char* ScoreTriggerStrategic::GetClassName() const { return "ScoreTriggerStrategic"; }

void ScoreTriggerStrategic::GetRecordString(char* buffer, size_t size) {
  if (buffer != nullptr && size > 0) {
    std::snprintf(buffer, size, "%3d: strategic score trigger", static_cast<int32_t>(Time));
  }
}

int32_t ScoreTriggerStrategic::Weight(int32_t index) {
  for (const ScoreWeight& entry : kWeights) {
    if (entry.parameter == index) {
      return entry.weight;
    }
  }
  return 0;
}

void ScoreTriggerStrategic::Execute(CLogic* logic) {
  if (logic == nullptr) {
    return;
  }
  for (int32_t id = 1; CPlayer* player = logic->GetPlayer(id); ++id) {
    int64_t score = 0;
    for (int32_t index = kFirstScored; index <= kLastScored; ++index) {
      score += int64_t{player->GetParam(index)} * Weight(index);
    }
    score = std::clamp<int64_t>(score, INT32_MIN, INT32_MAX);
    player->SetParam(ParamScore, static_cast<int32_t>(score));
  }
}
