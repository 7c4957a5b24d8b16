#pragma once

#include <cstddef>
#include <cstdint>

#include "logic/triggers/ConditionTrigger.h"

// The score limit of a multi-player game: once a player still playing has
// a ParamScore of Limit or more, the best of them wins (the lowest id among
// equals) and the trigger stops.
class GameOverScoreLimit : public ConditionTrigger {
 public:
  GameOverScoreLimit();
  explicit GameOverScoreLimit(int32_t limit);

  const char* GetClassName() const override;
  // "%3d: game over score limit" with the time.
  COGITO_API void GetRecordString(char* buffer, size_t size) override;
  // The editor sees only the limit: position 0 sets it; time and frequency
  // are not editable.
  COGITO_API int32_t SetProperty(int32_t index, const char* text) override;
  // "score limit" and Limit only.
  void BuildProperties() override;
  void Execute(CLogic* logic) override;

  virtual bool LoadLimit(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveLimit(LumoStream* stream, const LumoProperty* property);

  int32_t Limit = 0;
};
