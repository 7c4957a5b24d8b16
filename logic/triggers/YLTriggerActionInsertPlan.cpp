#include "logic/triggers/YLTriggerActionInsertPlan.h"

#include <cstdio>

#include "base/DebugFormat.h"
#include "base/LumoStream.h"
#include "logic/core/CLogic.h"
#include "logic/core/RecordFields.h"
#include "logic/triggers/LogicPlanItem.h"
#include "logic/triggers/TriggerActionLines.h"
#include "logic/triggers/YLCustomTrigger.h"
#include "logic/triggers/tStrings.h"
#include "logic/world/YLThing.h"

namespace {

LumoClassOf<YLTriggerActionInsertPlan> classOfInsertPlan(kVersion_1_6_0_6, "YLTriggerActionInsertPlan",
                                                         "YLTriggerAction");
LOGIC_FIELD_PROPERTY(YLTriggerActionInsertPlan, Delay, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(YLTriggerActionInsertPlan, Plan, PropertyObject, "tUnknown");

// Moves the entries from `start` on of one list to the end of another.
void MoveEntries(tStrings& from, int32_t start, tStrings& to) {
  for (int32_t index = start; index < from.count; ++index) {
    to.Add(from.Get(index));
  }
  if (start == 0) {
    from.Clear();
  } else {
    from.SetCount(start);
  }
}

}  // namespace

const char* YLTriggerActionInsertPlan::GetClassName() const { return "YLTriggerActionInsertPlan"; }

LogicPlanItem* YLTriggerActionInsertPlan::CreatePlanItem(const char* text) {
  const char letter = text != nullptr ? text[0] : '\0';
  if (letter == 'c') {
    return new YLCustomTrigger;
  }
  if (letter == 'b') {
    // The bus trigger belongs to the level scripts; it is made through the
    // class registry like any stored item.
    LumoObject* made = CreateObject("TriggerPlayerBus", nullptr);
    if (auto* item = dynamic_cast<LogicPlanItem*>(made)) {
      return item;
    }
    DestroyObject(made);
  }
  return nullptr;
}

// A plan item lists its lines into the library's shared editor lists; they
// are moved to the lists asked for when those are others.
void YLTriggerActionInsertPlan::ListProperties(tStrings& labels, tStrings& values) {
  ActionLineLister lines(labels, values);
  lines.Int("  delay", Delay);
  if (Plan == nullptr) {
    lines.Line("  plan", "n (b,c)");
    return;
  }
  char record[kRecordStringSize];
  Plan->GetRecordString(record, sizeof record);
  lines.Line("  plan", record);
  tStrings& sharedLabels = LogicPlanItem::EditorLabels();
  tStrings& sharedValues = LogicPlanItem::EditorValues();
  const int32_t labelStart = sharedLabels.count;
  const int32_t valueStart = sharedValues.count;
  Plan->BuildProperties();
  if (&labels != &sharedLabels) {
    MoveEntries(sharedLabels, labelStart, labels);
  }
  if (&values != &sharedValues) {
    MoveEntries(sharedValues, valueStart, values);
  }
}

int32_t YLTriggerActionInsertPlan::SetProperty(int32_t index, const char* text) {
  ActionLineSetter lines(index, text);
  lines.Int(Delay);
  if (lines.Take()) {
    Plan.reset(CreatePlanItem(text));
  }
  const int32_t remaining = lines.Remaining();
  if (remaining < 0 || Plan == nullptr) {
    return remaining;
  }
  // Setting an item's time plans it in the running logic (and runs it when
  // due now); the action still owns this one, so only the time is kept.
  if (remaining == 0) {
    Plan->Time = static_cast<uint32_t>(ParseInt(text));
    return -1;
  }
  const int32_t result = Plan->SetProperty(remaining, text);
  if (Plan->PlanSlot != LogicPlanItem::kNotPlanned) {
    if (CLogic* logic = YLThing::GetLogic()) {
      logic->RemovePlan(Plan.get());
    }
  }
  return result;
}

void YLTriggerActionInsertPlan::GetRecordString(char* buffer, size_t size) {
  if (buffer != nullptr && size > 0) {
    std::snprintf(buffer, size, "insert plan");
  }
}

// The item leaves the action before the plan sees it: a delay of 0 runs it
// at once, and it may be deleted before InsertPlan returns.
void YLTriggerActionInsertPlan::Execute(CLogic* logic, YLCustomTrigger*) {
  if (logic == nullptr || Plan == nullptr) {
    return;
  }
  LogicPlanItem* item = Plan.release();
  logic->InsertPlan(item, static_cast<uint32_t>(Delay));
}

LUMO_GENERIC_FIELD(YLTriggerActionInsertPlan, Delay)

bool YLTriggerActionInsertPlan::LoadPlan(LumoStream* stream, const LumoProperty*) {
  LumoObject* loaded = nullptr;
  if (!stream->ReadObject(loaded, nullptr)) {
    return false;
  }
  std::unique_ptr<LumoObject, tObjectDestroyer> owner(loaded);
  auto* item = dynamic_cast<LogicPlanItem*>(loaded);
  if (loaded != nullptr && item == nullptr) {
    DebugPrint("YLTriggerActionInsertPlan: the stored plan is a %s, not a plan item\n", loaded->GetClassName());
    Plan.reset();
    return true;
  }
  owner.release();
  Plan.reset(item);
  // The action holds one item; a chain behind it would be lost when the
  // item joins the plan.
  if (item != nullptr && item->Next != nullptr) {
    DebugPrint("YLTriggerActionInsertPlan: the stored plan item has items behind it, dropped\n");
    DestroyObject(item->Next);
    item->Next = nullptr;
  }
  return true;
}

bool YLTriggerActionInsertPlan::SavePlan(LumoStream* stream, const LumoProperty*) {
  return stream->WriteObject(Plan.get());
}
