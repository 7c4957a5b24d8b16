#include "logic/triggers/ScoreTriggerLvl4.h"

#include <cstdio>

#include "logic/core/CLogic.h"
#include "logic/core/CPlayer.h"
#include "logic/core/RecordFields.h"
#include "logic/triggers/tStrings.h"
#include "logic/world/YLTBuilding.h"

namespace {

LumoClassOf<ScoreTriggerLvl4> classOfScoreTriggerLvl4(kVersion_1_6_0_6, "ScoreTriggerLvl4", "ScoreTriggerStrategic");
LOGIC_FIELD_PROPERTY(ScoreTriggerLvl4, Targets, PropertyPointer, "tPointer");

}  // namespace

ScoreTriggerLvl4::ScoreTriggerLvl4() = default;

const char* ScoreTriggerLvl4::GetClassName() const { return "ScoreTriggerLvl4"; }

void ScoreTriggerLvl4::GetRecordString(char* buffer, size_t size) {
  if (buffer != nullptr && size > 0) {
    std::snprintf(buffer, size, "%3d: lvl4 score", static_cast<int32_t>(Time));
  }
}

int32_t ScoreTriggerLvl4::SetProperty(int32_t index, const char* text) {
  const int32_t remaining = ScoreTriggerStrategic::SetProperty(index, text);
  // The time line set to the current frame runs the item at once, which
  // may free it: nothing of the item is touched after the base took it.
  if (index == 0) {
    return remaining;
  }
  return SetIdListProperty(Targets, remaining, 0, text);
}

void ScoreTriggerLvl4::BuildProperties() {
  ScoreTriggerStrategic::BuildProperties();
  ListIdList(EditorLabels(), EditorValues(), "targets#", " tgt[%d]", Targets);
}

void ScoreTriggerLvl4::Execute(CLogic* logic) {
  if (logic == nullptr) {
    return;
  }
  ScoreTriggerStrategic::Execute(logic);
  CPlayer* scored = logic->GetPlayer(kScoredPlayer);
  for (int32_t index = 0; index < Targets.count && scored != nullptr; ++index) {
    const auto* building = dynamic_cast<const YLTBuilding*>(logic->GetThing(Targets[index]));
    if (building != nullptr && (building->Info->Status & StatusWrecked) != 0) {
      scored->AddParam(ParamScore, kWreckedTargetBonus);
    }
  }
}

bool ScoreTriggerLvl4::LoadTargets(LumoStream* stream, const LumoProperty*) { return ReadIdList(stream, Targets); }
bool ScoreTriggerLvl4::SaveTargets(LumoStream* stream, const LumoProperty*) { return WriteIdList(stream, Targets); }
