#include "logic/triggers/YLTriggerActionLvl7TicketMan.h"

#include <cstdio>

#include "base/LumoObjects.h"
#include "logic/core/CLogic.h"
#include "logic/core/RecordFields.h"
#include "logic/triggers/ActionPropertyLines.h"
#include "logic/world/PsychicPlanKinds.h"
#include "logic/world/YLUnit.h"

namespace {

LumoClassOf<YLTriggerActionLvl7TicketMan> classOfYLTriggerActionLvl7TicketMan(kVersion_1_6_0_6,
                                                                              "YLTriggerActionLvl7TicketMan",
                                                                              "YLTriggerAction");
LOGIC_FIELD_PROPERTY(YLTriggerActionLvl7TicketMan, X, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(YLTriggerActionLvl7TicketMan, Y, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(YLTriggerActionLvl7TicketMan, BrothelID, PropertyInteger, "tInteger");

constexpr float kHurry = 1.1f;

}  // namespace

const char* YLTriggerActionLvl7TicketMan::GetClassName() const { return "YLTriggerActionLvl7TicketMan"; }

void YLTriggerActionLvl7TicketMan::Lines(ActionPropertyLines& lines) {
  lines.Int("  x", X);
  lines.Int("  y", Y);
  lines.Int("  brothel", BrothelID);
}

void YLTriggerActionLvl7TicketMan::ListProperties(tStrings& labels, tStrings& values) {
  YLTriggerAction::ListProperties(labels, values);
  ActionPropertyLines lines(labels, values);
  Lines(lines);
}

int32_t YLTriggerActionLvl7TicketMan::SetProperty(int32_t index, const char* text) {
  ActionPropertyLines lines(YLTriggerAction::SetProperty(index, text), text);
  Lines(lines);
  return lines.Remainder();
}

void YLTriggerActionLvl7TicketMan::GetRecordString(char* buffer, size_t size) {
  if (buffer != nullptr && size > 0) {
    std::snprintf(buffer, size, "lvl7 ticketman spawn");
  }
}

void YLTriggerActionLvl7TicketMan::Execute(CLogic* logic, YLCustomTrigger*) {
  if (logic == nullptr) {
    return;
  }
  YLUnit* ticketMan = logic->CreateUnitAt(X, Y, 0, 0, kUnitType, kPlayer, nullptr);
  if (ticketMan != nullptr) {
    ticketMan->ExecutePlan(new PsychicPlanGotoThing(BrothelID, 0, kHurry, true));
  }
  // The marker goes to the ticket man alone.
  if (logic->Things != nullptr) {
    for (int32_t id = 0; id < logic->Things->count; ++id) {
      auto* unit = UnitOf(logic->GetThing(id));
      if (unit != nullptr && unit->Info != nullptr) {
        unit->Info->Status &= ~static_cast<uint32_t>(StatusBurgled);
      }
    }
  }
  if (ticketMan != nullptr && ticketMan->Info != nullptr) {
    ticketMan->Info->Status |= StatusBurgled;
  }
}

LUMO_GENERIC_FIELD(YLTriggerActionLvl7TicketMan, X)
LUMO_GENERIC_FIELD(YLTriggerActionLvl7TicketMan, Y)
LUMO_GENERIC_FIELD(YLTriggerActionLvl7TicketMan, BrothelID)
