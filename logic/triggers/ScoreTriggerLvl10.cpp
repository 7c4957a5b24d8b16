#include "logic/triggers/ScoreTriggerLvl10.h"

#include <cstdio>

#include "logic/core/CLogic.h"
#include "logic/core/CPlayer.h"
#include "logic/core/RecordFields.h"
#include "logic/triggers/tStrings.h"
#include "logic/world/YLTContainerThing.h"
#include "logic/world/YLUnit.h"

namespace {

LumoClassOf<ScoreTriggerLvl10> classOfScoreTriggerLvl10(kVersion_1_6_0_6, "ScoreTriggerLvl10", "ConditionTrigger");
LOGIC_FIELD_PROPERTY(ScoreTriggerLvl10, Stadions, PropertyPointer, "tPointer");

constexpr int32_t kFirstPlayer = 1;
constexpr int32_t kSecondPlayer = 2;

}  // namespace

ScoreTriggerLvl10::ScoreTriggerLvl10() = default;

const char* ScoreTriggerLvl10::GetClassName() const { return "ScoreTriggerLvl10"; }

void ScoreTriggerLvl10::GetRecordString(char* buffer, size_t size) {
  if (buffer != nullptr && size > 0) {
    std::snprintf(buffer, size, "%3d: lvl10 score", static_cast<int32_t>(Time));
  }
}

int32_t ScoreTriggerLvl10::SetProperty(int32_t index, const char* text) {
  const int32_t remaining = ConditionTrigger::SetProperty(index, text);
  // The time line set to the current frame runs the item at once, which
  // may free it: nothing of the item is touched after the base took it.
  if (index == 0) {
    return remaining;
  }
  return SetIdListProperty(Stadions, remaining, 0, text);
}

void ScoreTriggerLvl10::BuildProperties() {
  ConditionTrigger::BuildProperties();
  ListIdList(EditorLabels(), EditorValues(), "stadions", " std[%d]", Stadions);
}

void ScoreTriggerLvl10::Execute(CLogic* logic) {
  if (logic == nullptr) {
    return;
  }
  int32_t scores[2] = {0, 0};
  for (int32_t index = 0; index < Stadions.count; ++index) {
    const auto* stadium = dynamic_cast<const YLTContainerThing*>(logic->GetThing(Stadions[index]));
    if (stadium == nullptr) {
      continue;
    }
    for (int32_t slot = 0; slot < stadium->GetContainedCount(); ++slot) {
      auto* unit = UnitOf(logic->GetThing(stadium->GetContainedID(slot)));
      if (unit == nullptr) {
        continue;
      }
      const int32_t owner = unit->GetOwner();
      if ((unit->Info->Status & kStatusCounted) == 0) {
        unit->Info->Status |= kStatusCounted;
        // A unit whose owner has no player is only marked: there is nobody
        // to tell.
        if (CPlayer* player = logic->GetPlayer(owner)) {
          player->OnThingOwned(false, unit);
        }
      }
      if (unit->Info->Gfx != kUnscoredType && (owner == kFirstPlayer || owner == kSecondPlayer)) {
        ++scores[owner - 1];
      }
    }
  }
  for (const int32_t id : {kFirstPlayer, kSecondPlayer}) {
    if (CPlayer* player = logic->GetPlayer(id)) {
      player->SetParam(ParamScore, scores[id - 1]);
    }
  }
}

bool ScoreTriggerLvl10::LoadStadions(LumoStream* stream, const LumoProperty*) { return ReadIdList(stream, Stadions); }
bool ScoreTriggerLvl10::SaveStadions(LumoStream* stream, const LumoProperty*) { return WriteIdList(stream, Stadions); }
