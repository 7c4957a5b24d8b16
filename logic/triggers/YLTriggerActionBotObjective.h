#pragma once

#include <cstddef>
#include <cstdint>

#include "base/TextUtils.h"
#include "logic/triggers/YLTriggerAction.h"

// Tells the game a new value of an objective: every listener hears
// EventSetObjectiveValue with the objective, the parameter and the text.
class YLTriggerActionBotObjective : public YLTriggerAction {
 public:
  YLTriggerActionBotObjective();
  ~YLTriggerActionBotObjective() override;
  YLTriggerActionBotObjective(const YLTriggerActionBotObjective&) = delete;
  YLTriggerActionBotObjective& operator=(const YLTriggerActionBotObjective&) = delete;

  const char* GetClassName() const override;
  // "  obj", "  param#", "  value".
  void ListProperties(tStrings& labels, tStrings& values) override;
  COGITO_API int32_t SetProperty(int32_t index, const char* text) override;
  // "bot objective".
  COGITO_API void GetRecordString(char* buffer, size_t size) override;
  void Execute(CLogic* logic, YLCustomTrigger* trigger) override;

  virtual bool LoadObjectiveID(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveObjectiveID(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadParamID(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveParamID(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadValue(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveValue(LumoStream* stream, const LumoProperty* property);

  int32_t ObjectiveID = 0;
  int32_t ParamID = 0;
  // Owned; none by default.
  tCharStr Value = nullptr;
};

// Gives a player a new task: every listener hears EventNewTask with the
// player and the text.
class YLTriggerActionBotTask : public YLTriggerAction {
 public:
  YLTriggerActionBotTask();
  ~YLTriggerActionBotTask() override;
  YLTriggerActionBotTask(const YLTriggerActionBotTask&) = delete;
  YLTriggerActionBotTask& operator=(const YLTriggerActionBotTask&) = delete;

  const char* GetClassName() const override;
  // "  player", "  value".
  void ListProperties(tStrings& labels, tStrings& values) override;
  COGITO_API int32_t SetProperty(int32_t index, const char* text) override;
  // "bot task".
  COGITO_API void GetRecordString(char* buffer, size_t size) override;
  void Execute(CLogic* logic, YLCustomTrigger* trigger) override;

  virtual bool LoadPID(LumoStream* stream, const LumoProperty* property);
  virtual bool SavePID(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadValue(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveValue(LumoStream* stream, const LumoProperty* property);

  int32_t PID = 0;
  // Owned; none by default.
  tCharStr Value = nullptr;
};
