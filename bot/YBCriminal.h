#pragma once

#include <cstdint>

#include "base/LumoNode.h"

// One unit's criminal record: the node identifier is the unit's thing
// identifier.
class YBCriminal : public LumoNode {
 public:
  const char* GetClassName() const override { return "YBCriminal"; }

  virtual void SetCrime(float value) { Crime = value; }
  virtual bool LoadCrime(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveCrime(LumoStream* stream, const LumoProperty* property);
  virtual void SetTime(int32_t value) { Time = value; }
  virtual bool LoadTime(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveTime(LumoStream* stream, const LumoProperty* property);

  float Crime = 0.0f;
  // The controller's call counter when crime was last added.
  int32_t Time = 0;
};
