#include "logic/triggers/ScoreTrigger.h"

#include <cstdio>

#include "logic/core/CLogic.h"
#include "logic/core/CPlayer.h"
#include "logic/core/RecordFields.h"
#include "logic/triggers/tStrings.h"

namespace {

LumoClassOf<ScoreTrigger> classOfScoreTrigger(kVersion_1_6_0_6, "ScoreTrigger", "ScoreTriggerStrategic");
LOGIC_FIELD_PROPERTY(ScoreTrigger, ScoringParam, PropertyInteger, "tInteger");

}  // namespace

ScoreTrigger::ScoreTrigger() = default;
ScoreTrigger::ScoreTrigger(ParamEnum scoringParam) : ScoringParam(scoringParam) {}

const char* ScoreTrigger::GetClassName() const { return "ScoreTrigger"; }

const char* ScoreTrigger::ParamName(ParamEnum parameter) {
  switch (parameter) {
    case ParamMoney:
      return "ParamMoney";
    case ParamFrags:
      return "ParamFrags";
    case ParamBeerDrunk:
      return "ParamBeerDrunk";
    case ParamDopeUsed:
      return "ParamDopeUsed";
    case ParamWhoresFucked:
      return "ParamWhoresFucked";
    case ParamScore:
      return "ParamScore";
    default:
      return "???";
  }
}

void ScoreTrigger::GetRecordString(char* buffer, size_t size) {
  if (buffer != nullptr && size > 0) {
    std::snprintf(buffer, size, "%3d: contest(%s)", static_cast<int32_t>(Time), ParamName(ScoringParam));
  }
}

int32_t ScoreTrigger::SetProperty(int32_t index, const char*) { return index - 1; }

void ScoreTrigger::BuildProperties() {
  EditorLabels().Add("param");
  EditorValues().Add(ParamName(ScoringParam));
}

void ScoreTrigger::Execute(CLogic* logic) {
  if (logic == nullptr || ScoringParam == 0) {
    return;
  }
  for (int32_t id = 1; CPlayer* player = logic->GetPlayer(id); ++id) {
    player->SetParam(ParamScore, player->GetParam(ScoringParam));
  }
}

LUMO_GENERIC_FIELD(ScoreTrigger, ScoringParam)
