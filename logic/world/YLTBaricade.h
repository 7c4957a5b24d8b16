#pragma once

#include <cstdint>

#include "logic/world/YLThing.h"

// A barricade: standing it blocks a border of the navigation map, knocked
// over (Cleaned) it lies on the ground and the border is open.
class YLTBaricade : public YLThing {
 public:
  YLTBaricade();

  const char* GetClassName() const override;
  // A falling barricade comes to lie once its fall has played.
  bool Propagate() override;
  void GetDebugText(tString& text) const override;

  // Cleaned, followed by the text "border:" and the border; a stream without
  // the text keeps the border as it is.
  virtual bool LoadCleaned(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveCleaned(LumoStream* stream, const LumoProperty* property);

  // Binds the barricade to a sector border (0 for none): passable while the
  // barricade lies on the ground, blocked while it stands.
  void SetBorder(int32_t borderId);
  // A unit finished working on the barricade: it falls (toward the side the
  // pusher faces, or back), opening its border and leaving the map, or it
  // stands up again, closing the border and taking its cells back.
  void Toggle(YLThing* pusher);

  bool Cleaned = false;
  int32_t BorderID = 0;
};
