#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "base/LumoObject.h"
#include "base/LumoObjects.h"
#include "logic/triggers/ConditionTrigger.h"

class CLogic;
class LumoProperty;
class LumoStream;
class YLTriggerAction;
class YLTriggerCondition;

// A trigger a level designer composes in the editor without code: a list of
// conditions and a list of actions, a number by which actions address it, an
// enable/repeat word and an optional interface message. It runs every
// Frequency frames; when it is enabled and all its conditions hold it fires:
// it sends its message and runs its actions in order.
class YLCustomTrigger : public ConditionTrigger {
 public:
  // The bits of EnableCount.
  static constexpr int32_t kEnabledBit = 1;  // conditions are checked only while set
  static constexpr int32_t kRepeatBit = 2;   // the trigger stays planned after firing

  YLCustomTrigger();
  ~YLCustomTrigger() override;

  const char* GetClassName() const override;
  // Destroys both collections and what they hold.
  void OnFree() override;

  // Positions after time and frequency: 0 TriggerID, 1 EnableCount,
  // 2 InterfaceMsg, 3 the condition count, then per condition slot its type
  // (an editor name) and the condition's own properties, then the action
  // count and per action slot its type and the action's own properties.
  COGITO_API int32_t SetProperty(int32_t index, const char* text) override;
  // "%3d: custom trigger" with the time, and " %d" with TriggerID when it
  // is not 0.
  COGITO_API void GetRecordString(char* buffer, size_t size) override;
  void Execute(CLogic* logic) override;
  // Writes nothing.
  void PrintToLog() override;
  // The first countdown label an action writes, in action order; empty when
  // none does.
  const char* GetCountdownText(char* buffer, size_t size) override;
  void BuildProperties() override;

  int32_t GetTriggerID() const { return TriggerID; }
  // Sets or clears the enabled bit; the other bits of EnableCount stay.
  void SetEnabled(bool enabled);

  // The condition (action) in a slot; null for an empty slot or an index
  // outside the collection.
  YLTriggerCondition* GetCondition(int32_t slot) const;
  YLTriggerAction* GetAction(int32_t slot) const;
  int32_t GetConditionCount() const { return Conditions != nullptr ? Conditions->count : 0; }
  int32_t GetActionCount() const { return Actions != nullptr ? Actions->count : 0; }

  virtual bool LoadTriggerID(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveTriggerID(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadEnableCount(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveEnableCount(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadInterfaceMsg(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveInterfaceMsg(LumoStream* stream, const LumoProperty* property);
  // A presence byte and the collection's whole record, whose elements are
  // object records of their own classes. An element that is not a condition
  // (an action) is destroyed with a log line and its slot left empty.
  virtual bool LoadConditions(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveConditions(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadActions(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveActions(LumoStream* stream, const LumoProperty* property);

  // The number by which actions find this trigger; 0: none.
  int32_t TriggerID = 0;
  // kEnabledBit and kRepeatBit; enabled and firing once by default.
  int32_t EnableCount = kEnabledBit;
  // The message number sent to the game on firing; 0 sends none.
  int32_t InterfaceMsg = 0;
  // Owned collections whose slots hold conditions (actions) or are empty.
  std::unique_ptr<LumoObjects, tObjectDestroyer> Conditions;
  std::unique_ptr<LumoObjects, tObjectDestroyer> Actions;

 private:
  // Where the setter puts the elements it removes: null when they are
  // destroyed at once, the run's keep while the trigger runs.
  std::vector<std::unique_ptr<LumoObject, tObjectDestroyer>>* Parked();

  // Execute is under way; not stored.
  bool running = false;
  // What the setter removed during the run; destroyed when the run ends.
  std::vector<std::unique_ptr<LumoObject, tObjectDestroyer>> removedWhileRunning;
};
