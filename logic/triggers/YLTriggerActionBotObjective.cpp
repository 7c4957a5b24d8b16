#include "logic/triggers/YLTriggerActionBotObjective.h"

#include <cstdio>

#include "logic/core/CLogic.h"
#include "logic/core/RecordFields.h"
#include "logic/triggers/TriggerActionLines.h"

namespace {

LumoClassOf<YLTriggerActionBotObjective> classOfBotObjective(kVersion_1_6_0_6, "YLTriggerActionBotObjective",
                                                             "YLTriggerAction");
LOGIC_FIELD_PROPERTY(YLTriggerActionBotObjective, ObjectiveID, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(YLTriggerActionBotObjective, ParamID, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(YLTriggerActionBotObjective, Value, PropertyCharStr, "tCharStr");

LumoClassOf<YLTriggerActionBotTask> classOfBotTask(kVersion_1_6_0_6, "YLTriggerActionBotTask", "YLTriggerAction");
LOGIC_FIELD_PROPERTY(YLTriggerActionBotTask, PID, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(YLTriggerActionBotTask, Value, PropertyCharStr, "tCharStr");

// Listeners get a text to read, never null.
const char* EventText(const char* text) { return text != nullptr ? text : ""; }

}  // namespace

// ---- Objective ----

YLTriggerActionBotObjective::YLTriggerActionBotObjective() = default;
YLTriggerActionBotObjective::~YLTriggerActionBotObjective() { FreeCharStr(Value); }

const char* YLTriggerActionBotObjective::GetClassName() const { return "YLTriggerActionBotObjective"; }

void YLTriggerActionBotObjective::ListProperties(tStrings& labels, tStrings& values) {
  ActionLineLister lines(labels, values);
  lines.Int("  obj", ObjectiveID);
  lines.Int("  param#", ParamID);
  lines.Text("  value", Value);
}

int32_t YLTriggerActionBotObjective::SetProperty(int32_t index, const char* text) {
  ActionLineSetter lines(index, text);
  lines.Int(ObjectiveID);
  lines.Int(ParamID);
  lines.Text(Value);
  return lines.Remaining();
}

void YLTriggerActionBotObjective::GetRecordString(char* buffer, size_t size) {
  if (buffer != nullptr && size > 0) {
    std::snprintf(buffer, size, "bot objective");
  }
}

void YLTriggerActionBotObjective::Execute(CLogic* logic, YLCustomTrigger*) {
  if (logic != nullptr) {
    logic->NotifySetObjectiveValue(ObjectiveID, ParamID, EventText(Value));
  }
}

LUMO_GENERIC_FIELD(YLTriggerActionBotObjective, ObjectiveID)
LUMO_GENERIC_FIELD(YLTriggerActionBotObjective, ParamID)
LUMO_GENERIC_FIELD(YLTriggerActionBotObjective, Value)

// ---- Task ----

YLTriggerActionBotTask::YLTriggerActionBotTask() = default;
YLTriggerActionBotTask::~YLTriggerActionBotTask() { FreeCharStr(Value); }

const char* YLTriggerActionBotTask::GetClassName() const { return "YLTriggerActionBotTask"; }

void YLTriggerActionBotTask::ListProperties(tStrings& labels, tStrings& values) {
  ActionLineLister lines(labels, values);
  lines.Int("  player", PID);
  lines.Text("  value", Value);
}

int32_t YLTriggerActionBotTask::SetProperty(int32_t index, const char* text) {
  ActionLineSetter lines(index, text);
  lines.Int(PID);
  lines.Text(Value);
  return lines.Remaining();
}

void YLTriggerActionBotTask::GetRecordString(char* buffer, size_t size) {
  if (buffer != nullptr && size > 0) {
    std::snprintf(buffer, size, "bot task");
  }
}

void YLTriggerActionBotTask::Execute(CLogic* logic, YLCustomTrigger*) {
  if (logic != nullptr) {
    logic->NotifyNewTask(PID, EventText(Value));
  }
}

LUMO_GENERIC_FIELD(YLTriggerActionBotTask, PID)
LUMO_GENERIC_FIELD(YLTriggerActionBotTask, Value)
