#pragma once

#include <cstdint>

#include "base/LumoObjects.h"

class LumoSequenceList;

// The selection circles: Colors x Sizes x Steps one-frame sequence lists,
// the list of (colour c, size s, step t) at (s x Colors + c) x Steps + t,
// each showing the graphic "circ" + step (two digits) + colour + size (one
// digit each, values mod 10) centred on the thing. Stored entries that are
// not sequence lists, counts outside 0..256, or counts that do not
// multiply to the entry count refuse the load.
class YGSelectionResource : public LumoObjects {
 public:
  const char* GetClassName() const override;
  bool DoRegisterObject(LumoObject* object) override;
  bool OnLoadFrom(LumoStream* stream) override;

  virtual bool LoadColors(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveColors(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadSizes(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveSizes(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadSteps(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveSteps(LumoStream* stream, const LumoProperty* property);

  // Makes every list from the current level's graphic list, sizes outermost,
  // then colours, steps innermost. Counts outside 0..256 are logged and
  // thrown as std::invalid_argument.
  void Create(int32_t colours, int32_t sizes, int32_t steps);
  // The list of the step that the fraction (0..1) reaches: the last step
  // from 1.0 on, the first at 0.0 or below (and for NaN), else
  // trunc(Steps x fraction). Null for a colour or size out of range.
  LumoSequenceList* GetSequence(int32_t colour, int32_t size, float fraction) const;

  int32_t Colors = 0;
  int32_t Sizes = 0;
  int32_t Steps = 0;
};
