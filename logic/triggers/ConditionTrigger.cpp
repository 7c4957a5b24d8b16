#include "logic/triggers/ConditionTrigger.h"

#include <cstdio>

#include "base/DebugFormat.h"
#include "base/LumoStream.h"
#include "logic/core/RecordFields.h"
#include "logic/triggers/PropertyText.h"
#include "logic/triggers/tStrings.h"

namespace {

LumoClassOf<ConditionTrigger> classOfConditionTrigger(kVersion_1_6_0_6, "ConditionTrigger", "LogicPlanItem");
LOGIC_FIELD_PROPERTY(ConditionTrigger, Frequency, PropertyPointer, "tPointer");

constexpr const char* kFrequencyTag = "freq:";

}  // namespace

ConditionTrigger::ConditionTrigger() = default;
ConditionTrigger::ConditionTrigger(uint32_t frequency) : Frequency(frequency) {}

const char* ConditionTrigger::GetClassName() const { return "ConditionTrigger"; }

int32_t ConditionTrigger::SetProperty(int32_t index, const char* text) {
  const int32_t remaining = LogicPlanItem::SetProperty(index, text);
  if (remaining == 0) {
    Frequency = static_cast<uint32_t>(ParseInt(text));
  }
  return remaining - 1;
}

void ConditionTrigger::GetRecordString(char* buffer, size_t size) {
  if (buffer != nullptr && size > 0) {
    std::snprintf(buffer, size, "%3d: base replannable", static_cast<int32_t>(Time));
  }
}

uint32_t ConditionTrigger::GetFrequency() { return Frequency; }

void ConditionTrigger::PrintToLog() {
  DebugPrint("ConditionTrigger freq=%d ", static_cast<int32_t>(Frequency));
  LogicPlanItem::PrintToLog();
}

void ConditionTrigger::BuildProperties() {
  LogicPlanItem::BuildProperties();
  EditorLabels().Add("freq");
  EditorValues().Add(FormatUnsigned(Frequency).text);
}

// The tag is matched exactly, reading no more than the tag itself, so a
// trigger at the very end of a stream keeps its stored frequency.
bool ConditionTrigger::LoadFrequency(LumoStream* stream, const LumoProperty*) {
  if (!ReadMarker(stream, kFrequencyTag)) {
    return true;
  }
  return stream->ReadCardinal(Frequency);
}

bool ConditionTrigger::SaveFrequency(LumoStream* stream, const LumoProperty*) {
  return WriteMarker(stream, kFrequencyTag) && stream->WriteCardinal(Frequency);
}
