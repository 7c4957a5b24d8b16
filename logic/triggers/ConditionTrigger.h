#pragma once

#include <cstddef>
#include <cstdint>

#include "logic/triggers/LogicPlanItem.h"

// A plan item that runs again every Frequency frames until it sets its
// Frequency to 0 in Execute (game-over, score and custom triggers).
class ConditionTrigger : public LogicPlanItem {
 public:
  static constexpr uint32_t kDefaultFrequency = 10;

  ConditionTrigger();
  explicit ConditionTrigger(uint32_t frequency);

  const char* GetClassName() const override;
  // Position 1 is the frequency.
  COGITO_API int32_t SetProperty(int32_t index, const char* text) override;
  // "%3d: base replannable" with the time.
  COGITO_API void GetRecordString(char* buffer, size_t size) override;
  uint32_t GetFrequency() override;
  // "ConditionTrigger freq=%d ", then the base's line.
  void PrintToLog() override;
  // The base's pair, then "freq" and the frequency.
  void BuildProperties() override;

  // Tagged form: the text "freq:" and the value as a 32-bit integer. A
  // stream without the tag keeps the constructor's frequency.
  virtual bool LoadFrequency(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveFrequency(LumoStream* stream, const LumoProperty* property);

  // Frames between runs; 0 runs no more.
  uint32_t Frequency = kDefaultFrequency;
};
