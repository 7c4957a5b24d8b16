#pragma once

#include <cstddef>
#include <cstdint>

#include "base/TextUtils.h"
#include "logic/triggers/YLTriggerAction.h"

// Writes one editor property of a planned custom trigger, exactly as the
// editor would: Index counts the trigger's lines (0 time, 1 frequency,
// 2 number, 3 enable word, 4 interface message, ...).
class YLTriggerActionSetTriggerProperty : public YLTriggerAction {
 public:
  YLTriggerActionSetTriggerProperty();
  ~YLTriggerActionSetTriggerProperty() override;
  YLTriggerActionSetTriggerProperty(const YLTriggerActionSetTriggerProperty&) = delete;
  YLTriggerActionSetTriggerProperty& operator=(const YLTriggerActionSetTriggerProperty&) = delete;

  const char* GetClassName() const override;
  // "  triggerID", "  index", "  value".
  void ListProperties(tStrings& labels, tStrings& values) override;
  COGITO_API int32_t SetProperty(int32_t index, const char* text) override;
  // "set trigger property".
  COGITO_API void GetRecordString(char* buffer, size_t size) override;
  void Execute(CLogic* logic, YLCustomTrigger* trigger) override;

  virtual bool LoadTriggerID(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveTriggerID(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadIndex(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveIndex(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadValue(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveValue(LumoStream* stream, const LumoProperty* property);

  int32_t TriggerID = 0;
  int32_t Index = 0;
  // Owned; none by default (read as 0).
  tCharStr Value = nullptr;
};
