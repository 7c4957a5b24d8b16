#include "framework/LumoPart.h"

const char* LumoPart::GetClassName() const { return "LumoPart"; }

uintptr_t LumoPart::SetData(uintptr_t value) {
  if (Data != 0 && value != 0) {
    return 0;
  }
  return LumoNode::SetData(value);
}
