#pragma once

#include <cstdint>

#include "logic/world/YLThing.h"

// The fence of the eleventh level: it blocks a border while it stands.
class YLTLvl11Fence : public YLThing {
 public:
  YLTLvl11Fence();

  const char* GetClassName() const override;
  void GetDebugText(tString& text) const override;

  virtual bool LoadBorderID(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveBorderID(LumoStream* stream, const LumoProperty* property);

  // A falling fence opens its border first.
  void Destroy() override;

  // Binds the fence to a sector border (0 for none): passable exactly when
  // the fence no longer lives.
  void SetBorder(int32_t borderId);
  // The two cells diagonally beside the thing's cell along the fence's line.
  static void GetEnds(const YLThing& thing, int32_t& x1, int32_t& y1, int32_t& x2, int32_t& y2);

  int32_t BorderID = 0;

 private:
  void OpenBorder(bool open);
};
