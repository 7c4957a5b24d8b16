#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "base/LumoObject.h"
#include "logic/triggers/YLTriggerAction.h"

class LogicPlanItem;

// Puts a plan item of its own (a player bus trigger or a custom trigger)
// into the logic's plan, Delay frames from the run. The item is handed over
// at the first run: from then on the plan owns it and the action holds none,
// so saving, listing, editing or destroying the action never reaches an item
// the plan owns or has deleted, and a later run does nothing.
class YLTriggerActionInsertPlan : public YLTriggerAction {
 public:
  const char* GetClassName() const override;
  // "  delay"; "  plan" with the item's record text or "n (b,c)" without
  // one; then the item's own lines.
  void ListProperties(tStrings& labels, tStrings& values) override;
  // Writing the "  plan" line replaces the item by a new one made from the
  // text's first letter ("b" a player bus trigger, "c" a custom trigger,
  // anything else none); the lines after it are the item's own. The item's
  // time is kept without planning it: the action still holds it.
  COGITO_API int32_t SetProperty(int32_t index, const char* text) override;
  // "insert plan".
  COGITO_API void GetRecordString(char* buffer, size_t size) override;
  void Execute(CLogic* logic, YLCustomTrigger* trigger) override;

  // The item made from an editor letter; null for any other letter.
  static LogicPlanItem* CreatePlanItem(const char* text);

  virtual bool LoadDelay(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveDelay(LumoStream* stream, const LumoProperty* property);
  // A presence byte and the item's record. A stored object that is no plan
  // item leaves the action without one.
  virtual bool LoadPlan(LumoStream* stream, const LumoProperty* property);
  virtual bool SavePlan(LumoStream* stream, const LumoProperty* property);

  // Frames from the run to the item's first run (unsigned).
  int32_t Delay = 0;
  // The item not yet handed to the plan.
  std::unique_ptr<LogicPlanItem, tObjectDestroyer> Plan;
};
