#pragma once

#include <cstddef>
#include <cstdint>

#include "logic/triggers/ConditionTrigger.h"

// The strategic score: every Frequency frames each player's ParamScore
// becomes the weighted sum of its parameters 1 to 35 (money and money spent
// 50 each, things and cars destroyed and homes wrecked 50,000, other
// buildings 75,000, pubs 100,000, weapon, dope and girls' shops 150,000,
// the score correction 1). The logic also runs one at the end of a
// single-player game for the final count.
class ScoreTriggerStrategic : public ConditionTrigger {
 public:
  static constexpr int32_t kFirstScored = 1;
  static constexpr int32_t kLastScored = 35;

  ScoreTriggerStrategic();

  const char* GetClassName() const override;
  // "%3d: strategic score trigger" with the time.
  COGITO_API void GetRecordString(char* buffer, size_t size) override;
  // For every player (ids from 1 up to the first missing one). The sum is
  // taken in 64 bits and held at the 32-bit limits, so large counts give
  // the highest score instead of a wrapped one.
  void Execute(CLogic* logic) override;

  // The weight of parameter index in the sum; 0 outside 1-35.
  static int32_t Weight(int32_t index);
};
