#pragma once

#include <cstdint>

#include "base/LumoObjects.h"

class LumoGraphicNode;

// The gore splashes: KindCount kinds of ten sizes each, one YGGoreResource
// per (kind k from 0, step i in 0..9) at k x 10 + i, from the graphics
// "Gore" + i (two digits) + the kind's letter ("B", "D", ...). A stored set
// holds only gore resources; its kind count is its entry count / 10.
class YGGoreResourceSet : public LumoObjects {
 public:
  static constexpr int32_t kSteps = 10;
  static constexpr int32_t kMaxKinds = 13;  // letters B, D, ... Z

  explicit YGGoreResourceSet(int32_t kinds = 2);

  const char* GetClassName() const override;
  bool DoRegisterObject(LumoObject* object) override;
  bool OnLoadFrom(LumoStream* stream) override;
  // Lets every entry's graphic go, then empties the collection.
  void OnFree() override;

  // Fills the set from the current level's graphic list.
  void Create();
  // The graphic of kind (from 1) at the amount (0..1, clamped; NaN counts as
  // 0); null for a kind outside 1..KindCount.
  LumoGraphicNode* GetGore(int32_t kind, float amount) const;

  int32_t KindCount = 2;
};
