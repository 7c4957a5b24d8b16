#pragma once

#include <cstddef>

#include "logic/triggers/YLEditableObject.h"

class CLogic;

// One condition of a custom trigger: a small editable object that looks at
// the logic's state and answers true or false. The trigger fires when all
// of its conditions hold. The order of these operations is part of the
// interface with the editor; each kind adds the load and save operations of
// its properties after them.
class YLTriggerCondition : public YLEditableObject {
 public:
  const char* GetClassName() const override;
  // "dummy condition".
  COGITO_API void GetRecordString(char* buffer, size_t size) override;

  // Whether the condition holds in the running logic; the base always does.
  virtual bool Evaluate(CLogic* logic);
};
