#pragma once

#include <cstdint>

#include "logic/triggers/ConditionTrigger.h"

// A trigger a level designer composes from conditions and actions. So far
// only its identifier exists, which the logic's trigger search matches.
class YLCustomTrigger : public ConditionTrigger {
 public:
  const char* GetClassName() const override;

  int32_t TriggerID = 0;
};
