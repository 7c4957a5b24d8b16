#pragma once

#include <cstddef>
#include <cstdint>

#include "logic/triggers/YLTriggerAction.h"

// Clears the enabled bit of a custom trigger: the firing trigger itself for
// ID 0, else the first planned custom trigger with that number. A trigger
// that no search finds (held by an insert-plan action, or finished) is left
// alone.
class YLTriggerActionDisable : public YLTriggerAction {
 public:
  const char* GetClassName() const override;
  // "  id".
  void ListProperties(tStrings& labels, tStrings& values) override;
  COGITO_API int32_t SetProperty(int32_t index, const char* text) override;
  // "disable".
  COGITO_API void GetRecordString(char* buffer, size_t size) override;
  void Execute(CLogic* logic, YLCustomTrigger* trigger) override;

  virtual bool LoadID(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveID(LumoStream* stream, const LumoProperty* property);

  int32_t ID = 0;

 protected:
  // The trigger the action works on; null when none is found.
  YLCustomTrigger* FindTarget(CLogic* logic, YLCustomTrigger* trigger) const;
};

// The same search, setting the enabled bit.
class YLTriggerActionEnable : public YLTriggerActionDisable {
 public:
  const char* GetClassName() const override;
  // "enable".
  COGITO_API void GetRecordString(char* buffer, size_t size) override;
  void Execute(CLogic* logic, YLCustomTrigger* trigger) override;
};
