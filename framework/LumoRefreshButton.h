#pragma once

#include <cstdint>

#include "framework/LumoButton.h"

// The button beside a complex control's label that refreshes the control:
// clicking it focuses the complex control whose body it belongs to and runs
// its Refresh.
class LumoRefreshButton : public LumoButton {
 public:
  const char* GetClassName() const override;
  // Focuses and refreshes the complex control that owns the button's body.
  void DoExecute() override;

  // Sets the button up enabled at (left, top) with the engine's Refresh looks.
  void DefineStandard(int32_t left, int32_t top);
};
