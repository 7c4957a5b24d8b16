#pragma once

#include <cstddef>
#include <cstdint>

#include "logic/triggers/ConditionTrigger.h"

// The score limit of a multi-player game: the first player still playing
// whose ParamScore reaches Limit with the best such score wins.
class GameOverScoreLimit : public ConditionTrigger {
 public:
  GameOverScoreLimit();
  explicit GameOverScoreLimit(int32_t limit);

  const char* GetClassName() const override;
  // "%3d: game over score limit" with the time.
  COGITO_API void GetRecordString(char* buffer, size_t size) override;

  virtual bool LoadLimit(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveLimit(LumoStream* stream, const LumoProperty* property);

  int32_t Limit = 0;
};
