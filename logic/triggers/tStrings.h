#pragma once

#include <cstdint>

#include "base/ElementCallbacks.h"
#include "base/tCollection.h"
#include "base/tString.h"

// A growable list of owned texts (growth step 16), as the property protocol
// hands labels and values to the level editor. Each element owns a copy of
// the text it was given.
class tStrings : public tCollection<tString, sizeof(tString)> {
 public:
  tStrings() : tCollection(DestroyStringElement, CompareStringElements) {}

  // Appends a copy of the text (null appends an empty entry).
  bool Add(const char* text);
  // The text at index; "" for an empty entry or outside 0..count - 1.
  const char* Get(int32_t index) const;
};
