#include "logic/triggers/LogicPlanItem.h"

#include <cstdio>

#include "base/DebugFormat.h"
#include "base/LumoStream.h"
#include "logic/core/CLogic.h"
#include "logic/core/RecordFields.h"
#include "logic/triggers/PropertyText.h"
#include "logic/triggers/tStrings.h"
#include "logic/world/YLThing.h"

namespace {

LumoClassOf<LogicPlanItem> classOfLogicPlanItem(kVersion_1_6_0_6, "LogicPlanItem", "YLEditableObject");
LOGIC_FIELD_PROPERTY(LogicPlanItem, Next, PropertyObject, "tUnknown");
LOGIC_FIELD_PROPERTY(LogicPlanItem, Time, PropertyInteger, "tInteger");

}  // namespace

LogicPlanItem::LogicPlanItem() = default;
LogicPlanItem::~LogicPlanItem() = default;

const char* LogicPlanItem::GetClassName() const { return "LogicPlanItem"; }

// Each item is cut off before it is destroyed, so a chain of any length is
// freed in a loop and never nests one free inside another.
void LogicPlanItem::DoFree() {
  LogicPlanItem* rest = Next;
  Next = nullptr;
  while (rest != nullptr) {
    LogicPlanItem* after = rest->Next;
    rest->Next = nullptr;
    DestroyObject(rest);
    rest = after;
  }
  YLEditableObject::DoFree();
}

// ---- The editor protocol ----

int32_t LogicPlanItem::SetProperty(int32_t index, const char* text) {
  const int32_t remaining = YLEditableObject::SetProperty(index, text);
  if (remaining == 0) {
    CLogic* logic = YLThing::GetLogic();
    if (logic == nullptr) {
      Time = static_cast<uint32_t>(ParseInt(text));
    } else {
      logic->RemovePlan(this);
      Time = static_cast<uint32_t>(ParseInt(text));
      logic->InsertPlan(this, Time - logic->Time);
    }
  }
  return remaining - 1;
}

void LogicPlanItem::GetRecordString(char* buffer, size_t size) {
  if (buffer != nullptr && size > 0) {
    std::snprintf(buffer, size, "%3d: LogicPlanItem", static_cast<int32_t>(Time));
  }
}

tStrings& LogicPlanItem::EditorLabels() {
  static tStrings labels;
  return labels;
}

tStrings& LogicPlanItem::EditorValues() {
  static tStrings values;
  return values;
}

void LogicPlanItem::GetProperties(tStrings*& labels, tStrings*& values) {
  EditorLabels().Clear();
  EditorValues().Clear();
  labels = &EditorLabels();
  values = &EditorValues();
  BuildProperties();
}

void LogicPlanItem::BuildProperties() {
  EditorLabels().Add("time");
  EditorValues().Add(FormatUnsigned(Time).text);
}

// ---- Running ----

void LogicPlanItem::Execute(CLogic*) {}
uint32_t LogicPlanItem::GetFrequency() { return 0; }
void LogicPlanItem::PrintToLog() { DebugPrint("time=%d\n", static_cast<int32_t>(Time)); }
bool LogicPlanItem::ShowsCountdown() { return false; }

const char* LogicPlanItem::GetCountdownText(char* buffer, size_t size) {
  if (buffer != nullptr && size > 0) {
    buffer[0] = '\0';
  }
  return buffer;
}

uint32_t LogicPlanItem::GetTime() { return Time; }
void LogicPlanItem::ResolveReferences() {}

// ---- Stream form ----

// What Next held is replaced by the loaded chain; an object of another
// class in its place is destroyed and fails the load.
bool LogicPlanItem::LoadNext(LumoStream* stream, const LumoProperty*) {
  LumoObject* loaded = nullptr;
  if (!stream->ReadObject(loaded, nullptr)) {
    return false;
  }
  auto* item = dynamic_cast<LogicPlanItem*>(loaded);
  if (loaded != nullptr && item == nullptr) {
    DebugPrint("LogicPlanItem::LoadNext: the next item is a %s, not a plan item\n", loaded->GetClassName());
    DestroyObject(loaded);
    return false;
  }
  DestroyObject(Next);
  Next = item;
  return true;
}

bool LogicPlanItem::SaveNext(LumoStream* stream, const LumoProperty*) { return stream->WriteObject(Next); }

bool LogicPlanItem::LoadTime(LumoStream* stream, const LumoProperty* property) {
  return LoadPropertyFrom(stream, property, &Time);
}

bool LogicPlanItem::SaveTime(LumoStream* stream, const LumoProperty* property) {
  return SavePropertyTo(stream, property, &Time);
}
