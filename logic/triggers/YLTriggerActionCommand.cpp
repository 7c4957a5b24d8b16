#include "logic/triggers/YLTriggerActionCommand.h"

#include <cstdio>

#include "base/LumoStream.h"
#include "logic/core/CLogic.h"
#include "logic/core/RecordFields.h"
#include "logic/triggers/ActionPropertyLines.h"
#include "logic/triggers/SpawnActionSupport.h"
#include "logic/world/YLTContainerThing.h"
#include "logic/world/YLUnit.h"

namespace {

LumoClassOf<YLTriggerActionCommand> classOfYLTriggerActionCommand(kVersion_1_6_0_6, "YLTriggerActionCommand",
                                                                  "YLTriggerAction");
LOGIC_FIELD_PROPERTY(YLTriggerActionCommand, New, PropertyBool, "tBool");
LOGIC_FIELD_PROPERTY(YLTriggerActionCommand, InContainer, PropertyBool, "tBool");
LOGIC_FIELD_PROPERTY(YLTriggerActionCommand, Place1, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(YLTriggerActionCommand, Place2, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(YLTriggerActionCommand, Team, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(YLTriggerActionCommand, Command, PropertyObject, "tUnknown");
LOGIC_FIELD_PROPERTY(YLTriggerActionCommand, IDs, PropertyPointer, "tPointer");

constexpr const char* kObjectiveTag = "obj:";

}  // namespace

const char* YLTriggerActionCommand::GetClassName() const { return "YLTriggerActionCommand"; }

void YLTriggerActionCommand::Lines(ActionPropertyLines& lines) {
  lines.Bool("  create new", New);
  if (New) {
    lines.Bool("  in cont", InContainer);
    if (InContainer) {
      lines.Int("  build id", Place1);
    } else {
      lines.Int("  place x", Place1);
      lines.Int("  place y", Place2);
    }
    lines.IdList("  types", "   %d:", IDs);
    lines.Int("  team", Team);
  } else {
    lines.IdList("  unit ids", "   %d:", IDs);
  }
  lines.Int("  objective", ObjectiveID);
  Command.Lines(lines);
}

void YLTriggerActionCommand::ListProperties(tStrings& labels, tStrings& values) {
  YLTriggerAction::ListProperties(labels, values);
  ActionPropertyLines lines(labels, values);
  Lines(lines);
}

int32_t YLTriggerActionCommand::SetProperty(int32_t index, const char* text) {
  ActionPropertyLines lines(YLTriggerAction::SetProperty(index, text), text);
  Lines(lines);
  return lines.Remainder();
}

void YLTriggerActionCommand::GetRecordString(char* buffer, size_t size) {
  if (buffer != nullptr && size > 0) {
    std::snprintf(buffer, size, "command unit");
  }
}

void YLTriggerActionCommand::Execute(CLogic* logic, YLCustomTrigger*) {
  if (logic == nullptr) {
    return;
  }
  YLTContainerThing* container = nullptr;
  if (New && InContainer) {
    container = dynamic_cast<YLTContainerThing*>(logic->GetThing(Place1));
    if (container == nullptr) {
      return;
    }
  }
  CreatedUnits commanded;
  for (int32_t index = 0; index < IDs.count; ++index) {
    YLUnit* unit = nullptr;
    if (!New) {
      unit = UnitOf(logic->GetThing(IDs[index]));
    } else if (container != nullptr) {
      unit = logic->CreateUnit(IDs[index], Team, container);
    } else {
      unit = logic->CreateUnitAt(Place1, Place2, 0, 0, IDs[index], Team, nullptr);
    }
    if (unit == nullptr) {
      continue;
    }
    commanded.Add(unit->GetTid());
    Command.GiveTo(*unit);
  }
  commanded.Send(*logic, ObjectiveID);
}

bool YLTriggerActionCommand::LoadCommand(LumoStream* stream, const LumoProperty*) { return Command.Load(stream); }
bool YLTriggerActionCommand::SaveCommand(LumoStream* stream, const LumoProperty*) { return Command.Save(stream); }

bool YLTriggerActionCommand::LoadIDs(LumoStream* stream, const LumoProperty*) {
  return LoadTaggedInteger(stream, kObjectiveTag, ObjectiveID) && ReadIdList(stream, IDs);
}

bool YLTriggerActionCommand::SaveIDs(LumoStream* stream, const LumoProperty*) {
  return SaveTaggedInteger(stream, kObjectiveTag, ObjectiveID) && WriteIdList(stream, IDs);
}

LUMO_GENERIC_FIELD(YLTriggerActionCommand, New)
LUMO_GENERIC_FIELD(YLTriggerActionCommand, InContainer)
LUMO_GENERIC_FIELD(YLTriggerActionCommand, Place1)
LUMO_GENERIC_FIELD(YLTriggerActionCommand, Place2)
LUMO_GENERIC_FIELD(YLTriggerActionCommand, Team)
