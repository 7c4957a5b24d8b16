#pragma once

#include <cstddef>
#include <cstdint>

#include "logic/triggers/ConditionTrigger.h"

// The pubs' income in a multi-player game: every 12 frames each player but
// the police earns from the pubs it holds.
class TriggerMoneyMakinPub : public ConditionTrigger {
 public:
  static constexpr uint32_t kPubFrequency = 12;

  TriggerMoneyMakinPub();

  const char* GetClassName() const override;
  // "%3d: money makin pub" with the time.
  COGITO_API void GetRecordString(char* buffer, size_t size) override;
  // Every player from 1 to the player count but the police earns 5 money
  // per pub it holds, and its score correction drops by 250 per pub.
  void Execute(CLogic* logic) override;

  static constexpr int32_t kMoneyPerPub = 5;
  static constexpr int32_t kCorrectionPerPub = -250;
};
