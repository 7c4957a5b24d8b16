// What the logic does for its units.

#include "logic/core/CLogic.h"
#include "logic/world/YLThing.h"
#include "logic/world/YLUnit.h"

void CLogic::UnitSpeech(const YLThing* unit, int32_t message, int32_t value) {
  if (unit == nullptr || unit->Info == nullptr) {
    return;
  }
  NotifySpeech(unit->Info->Owner, unit->Info->Tid, message, value);
}

bool CLogic::SendUnitMessage(const YLThing* from, int32_t id, int32_t kind, float strength) {
  auto* unit = UnitOf(GetThing(id));
  if (unit == nullptr) {
    return false;
  }
  unit->AddStimulus(from != nullptr ? from->GetTid() : 0, kind, strength);
  return true;
}
