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
};
