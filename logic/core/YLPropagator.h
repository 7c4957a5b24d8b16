#pragma once

#include "base/LumoObject.h"

class CLogic;

// Something that spreads over the map by itself (fire, tear gas, traffic):
// the logic runs each once per frame, after the things.
class YLPropagator : public LumoObject {
 public:
  // One frame; false when it has run its course and is to be removed.
  virtual bool Propagate(CLogic* logic) = 0;
};
