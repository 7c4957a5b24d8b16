#include "logic/triggers/YLCustomTrigger.h"

#include <cstdio>
#include <utility>
#include <vector>

#include "base/DebugFormat.h"
#include "base/LumoStream.h"
#include "logic/core/CLogic.h"
#include "logic/core/RecordFields.h"
#include "logic/triggers/PropertyText.h"
#include "logic/triggers/TriggerFactories.h"
#include "logic/triggers/YLTriggerAction.h"
#include "logic/triggers/YLTriggerCondition.h"
#include "logic/triggers/tStrings.h"

namespace {

LumoClassOf<YLCustomTrigger> classOfYLCustomTrigger(kVersion_1_6_0_6, "YLCustomTrigger", "ConditionTrigger");
LOGIC_FIELD_PROPERTY(YLCustomTrigger, TriggerID, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(YLCustomTrigger, EnableCount, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(YLCustomTrigger, InterfaceMsg, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(YLCustomTrigger, Conditions, PropertyObject, "tUnknown");
LOGIC_FIELD_PROPERTY(YLCustomTrigger, Actions, PropertyObject, "tUnknown");

// The speech the trigger's interface message is sent as: a message number
// for the in-game panel.
constexpr int32_t kSpeechKind = 1;
constexpr int32_t kSpeechSubject = 0;
constexpr int32_t kSpeechPanelMessage = 20;

// The own editor lines before the slots: TriggerID, EnableCount,
// InterfaceMsg and the condition count.
constexpr int32_t kFixedLines = 4;

const char* const kEmptySlotText = "n (type name)";

using Collection = std::unique_ptr<LumoObjects, tObjectDestroyer>;
using Parking = std::vector<std::unique_ptr<LumoObject, tObjectDestroyer>>;

// Ends an element the setter took out of its slot: at once, or, while the
// trigger runs, when the run ends (the element may be the running action,
// or one the run still holds).
void Discard(LumoObject* element, Parking* parking) {
  if (element == nullptr) {
    return;
  }
  if (parking != nullptr) {
    parking->emplace_back(element);
  } else {
    DestroyObject(element);
  }
}

Collection NewCollection() { return Collection(new LumoObjects(true)); }

LumoObject* SlotAt(const Collection& collection, int32_t slot) {
  if (collection == nullptr || slot < 0 || slot >= collection->count) {
    return nullptr;
  }
  return (*collection)[slot];
}

// Resizes a collection to the count the text gives: new slots are empty,
// surplus elements are destroyed. A count the editor may not set (below 0
// or above the bound of every editor count) changes nothing.
void SetSlotCount(Collection& collection, const char* text, const char* what, Parking* parking) {
  const int32_t count = ParseInt(text);
  if (count < 0 || count > kMaxIdListEntries) {
    DebugPrint("YLCustomTrigger::SetProperty: %d %s slots are out of range (0 to %d)\n", count, what,
               kMaxIdListEntries);
    return;
  }
  if (collection == nullptr) {
    collection = NewCollection();
  }
  if (parking != nullptr) {
    for (int32_t slot = count; slot < collection->count; ++slot) {
      Discard(std::exchange(collection->items[slot], nullptr), parking);
    }
  }
  if (count == 0) {
    collection->Clear();
  } else if (!collection->SetCount(count)) {
    DebugPrint("YLCustomTrigger::SetProperty: no room for %d %s slots\n", count, what);
  }
}

// One slot's label and its type line's value, then the element's own lines.
template <typename Kind>
void ListSlot(tStrings& labels, tStrings& values, int32_t slot, Kind* element) {
  char text[YLEditableObject::kRecordStringSize];
  std::snprintf(text, sizeof text, " %d: type:", slot);
  labels.Add(text);
  if (element == nullptr) {
    values.Add(kEmptySlotText);
    return;
  }
  element->GetRecordString(text, sizeof text);
  values.Add(text);
  element->ListProperties(labels, values);
}

// Walks the slots of a collection for the setter: remaining is the position
// from the first slot's type line on. A slot's type line replaces its
// element by the factory's; the lines after it go to the element. Answers a
// negative value when a slot took the position, else what remains after
// the last slot.
template <typename Kind>
int32_t SetInSlots(Collection& collection, int32_t remaining, const char* text, Kind* (*create)(const char*),
                   Parking* parking) {
  const int32_t slots = collection != nullptr ? collection->count : 0;
  for (int32_t slot = 0; slot < slots; ++slot) {
    if (remaining == 0) {
      LumoObject*& held = collection->items[slot];
      Discard(std::exchange(held, nullptr), parking);
      held = create(text);
      return -1;
    }
    --remaining;
    if (auto* element = dynamic_cast<Kind*>(SlotAt(collection, slot))) {
      remaining = element->SetProperty(remaining, text);
      if (remaining < 0) {
        return remaining;
      }
    }
  }
  return remaining;
}

// Reads a collection stored as an embedded object. The registry makes each
// element by its stored class name, so an element of another kind would be
// run as one of this kind: it is destroyed with a log line and its slot
// stays empty. A record that is not a collection at all is dropped the same
// way; an absent one leaves an empty collection.
template <typename Kind>
bool LoadCollection(LumoStream* stream, Collection& field, const char* what) {
  LumoObject* loaded = nullptr;
  if (!stream->ReadObject(loaded, nullptr)) {
    return false;
  }
  std::unique_ptr<LumoObject, tObjectDestroyer> owner(loaded);
  auto* collection = dynamic_cast<LumoObjects*>(loaded);
  if (collection == nullptr) {
    if (loaded != nullptr) {
      DebugPrint("YLCustomTrigger: the stored %s are a %s, not a collection; none kept\n", what,
                 loaded->GetClassName());
    }
    field = NewCollection();
    return true;
  }
  for (int32_t slot = 0; slot < collection->count; ++slot) {
    LumoObject* element = collection->items[slot];
    if (element != nullptr && dynamic_cast<Kind*>(element) == nullptr) {
      DebugPrint("YLCustomTrigger: the stored %s slot %d holds a %s; the slot is left empty\n", what, slot,
                 element->GetClassName());
      collection->items[slot] = nullptr;
      DestroyObject(element);
    }
  }
  owner.release();
  field.reset(collection);
  return true;
}

}  // namespace

YLCustomTrigger::YLCustomTrigger() : Conditions(NewCollection()), Actions(NewCollection()) {}

YLCustomTrigger::~YLCustomTrigger() = default;

const char* YLCustomTrigger::GetClassName() const { return "YLCustomTrigger"; }

void YLCustomTrigger::OnFree() {
  removedWhileRunning.clear();
  Conditions.reset();
  Actions.reset();
  ConditionTrigger::OnFree();
}

// ---- Running ----

void YLCustomTrigger::Execute(CLogic* logic) {
  // An action that sets this trigger's time to now runs it inside its own
  // run: that nested run returns at once, so no action runs twice in one
  // firing.
  if (running) {
    return;
  }
  if ((EnableCount & kEnabledBit) == 0) {
    return;
  }
  running = true;
  struct RunEnd {
    YLCustomTrigger& trigger;
    ~RunEnd() {
      trigger.running = false;
      trigger.removedWhileRunning.clear();
    }
  } runEnd{*this};
  // Slots are looked up afresh on each step: an element may change this
  // trigger's collections while it runs.
  for (int32_t slot = 0; slot < GetConditionCount(); ++slot) {
    YLTriggerCondition* condition = GetCondition(slot);
    if (condition != nullptr && !condition->Evaluate(logic)) {
      return;
    }
  }
  if ((EnableCount & kRepeatBit) == 0) {
    Frequency = 0;
  }
  if (InterfaceMsg != 0 && logic != nullptr) {
    logic->NotifySpeech(kSpeechKind, kSpeechSubject, kSpeechPanelMessage, InterfaceMsg);
  }
  for (int32_t slot = 0; slot < GetActionCount(); ++slot) {
    if (YLTriggerAction* action = GetAction(slot)) {
      action->Execute(logic, this);
    }
  }
}

std::vector<std::unique_ptr<LumoObject, tObjectDestroyer>>* YLCustomTrigger::Parked() {
  return running ? &removedWhileRunning : nullptr;
}

void YLCustomTrigger::PrintToLog() {}

const char* YLCustomTrigger::GetCountdownText(char* buffer, size_t size) {
  if (buffer == nullptr || size == 0) {
    return buffer;
  }
  buffer[0] = '\0';
  for (int32_t slot = 0; slot < GetActionCount() && buffer[0] == '\0'; ++slot) {
    if (YLTriggerAction* action = GetAction(slot)) {
      action->GetCountdownText(buffer, size);
    }
  }
  return buffer;
}

void YLCustomTrigger::SetEnabled(bool enabled) {
  if (enabled) {
    EnableCount |= kEnabledBit;
  } else {
    EnableCount &= ~kEnabledBit;
  }
}

YLTriggerCondition* YLCustomTrigger::GetCondition(int32_t slot) const {
  return dynamic_cast<YLTriggerCondition*>(SlotAt(Conditions, slot));
}

YLTriggerAction* YLCustomTrigger::GetAction(int32_t slot) const {
  return dynamic_cast<YLTriggerAction*>(SlotAt(Actions, slot));
}

// ---- The editor protocol ----

void YLCustomTrigger::GetRecordString(char* buffer, size_t size) {
  if (buffer == nullptr || size == 0) {
    return;
  }
  if (TriggerID == 0) {
    std::snprintf(buffer, size, "%3d: custom trigger", static_cast<int32_t>(Time));
  } else {
    std::snprintf(buffer, size, "%3d: custom trigger %d", static_cast<int32_t>(Time), TriggerID);
  }
}

void YLCustomTrigger::BuildProperties() {
  ConditionTrigger::BuildProperties();
  tStrings& labels = EditorLabels();
  tStrings& values = EditorValues();
  labels.Add("trigerid");
  values.Add(FormatInt(TriggerID).text);
  labels.Add("enable#");
  values.Add(FormatInt(EnableCount).text);
  labels.Add("int msg");
  values.Add(FormatInt(InterfaceMsg).text);
  labels.Add("#conditions");
  values.Add(FormatInt(GetConditionCount()).text);
  for (int32_t slot = 0; slot < GetConditionCount(); ++slot) {
    ListSlot(labels, values, slot, GetCondition(slot));
  }
  labels.Add("#actions");
  values.Add(FormatInt(GetActionCount()).text);
  for (int32_t slot = 0; slot < GetActionCount(); ++slot) {
    ListSlot(labels, values, slot, GetAction(slot));
  }
}

int32_t YLCustomTrigger::SetProperty(int32_t index, const char* text) {
  int32_t remaining = ConditionTrigger::SetProperty(index, text);
  if (remaining < 0) {
    return remaining;
  }
  switch (remaining) {
    case 0:
      TriggerID = ParseInt(text);
      return -1;
    case 1:
      EnableCount = ParseInt(text);
      return -1;
    case 2:
      InterfaceMsg = ParseInt(text);
      return -1;
    case 3:
      SetSlotCount(Conditions, text, "condition", Parked());
      return -1;
    default:
      break;
  }
  remaining =
      SetInSlots<YLTriggerCondition>(Conditions, remaining - kFixedLines, text, CreateTriggerCondition, Parked());
  if (remaining < 0) {
    return remaining;
  }
  if (remaining == 0) {
    SetSlotCount(Actions, text, "action", Parked());
    return -1;
  }
  return SetInSlots<YLTriggerAction>(Actions, remaining - 1, text, CreateTriggerAction, Parked());
}

// ---- Stream form ----

LUMO_GENERIC_FIELD(YLCustomTrigger, TriggerID)
LUMO_GENERIC_FIELD(YLCustomTrigger, EnableCount)
LUMO_GENERIC_FIELD(YLCustomTrigger, InterfaceMsg)

bool YLCustomTrigger::LoadConditions(LumoStream* stream, const LumoProperty*) {
  return LoadCollection<YLTriggerCondition>(stream, Conditions, "conditions");
}

bool YLCustomTrigger::SaveConditions(LumoStream* stream, const LumoProperty*) {
  return stream->WriteObject(Conditions.get());
}

bool YLCustomTrigger::LoadActions(LumoStream* stream, const LumoProperty*) {
  return LoadCollection<YLTriggerAction>(stream, Actions, "actions");
}

bool YLCustomTrigger::SaveActions(LumoStream* stream, const LumoProperty*) {
  return stream->WriteObject(Actions.get());
}
