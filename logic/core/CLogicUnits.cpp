// What the logic does for its units.

#include "logic/core/CLogic.h"
#include "logic/world/YLThing.h"

void CLogic::UnitSpeech(const YLThing* unit, int32_t message, int32_t value) {
  if (unit == nullptr || unit->Info == nullptr) {
    return;
  }
  NotifySpeech(unit->Info->Owner, unit->Info->Tid, message, value);
}
