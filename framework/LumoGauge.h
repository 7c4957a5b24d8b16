#pragma once

#include <cstdint>

#include "framework/LumoButton.h"
#include "framework/LumoCell.h"
#include "runtime/Graphics.h"

class LumoGraphicNode;
class LumoSprite;

// A progress bar: a cell whose one indicator sprite, as large as the cell,
// slides in from a side so that the part of it the viewport shows is the
// progress between a minimum and a maximum.
//
// The layout works on scaled values: the bounds and the progress shifted
// right together, by as many bits as the larger magnitude of the bounds
// needs beyond 15, so the percentage products stay small. Whenever a bound
// changes all three are scaled again with the one shift; a scaled range of
// 0 (two close large bounds) falls back to the unscaled percentage.
class LumoGauge : public LumoCell {
 public:
  enum tDirection : int32_t { FromLeft = 0, FromRight = 1, FromTop = 2, FromBottom = 3 };

  const char* GetClassName() const override;
  void DoAbortReferenceTo(LumoObject* other) override;
  // The cell's frame, then the layout of the direction.
  void DoSelectFrame() override;

  // ---- Hooks, in slot order ----

  virtual void LayoutFromLeft();
  virtual void LayoutFromRight();
  virtual void LayoutFromTop();
  virtual void LayoutFromBottom();
  virtual int32_t SetDirection(int32_t direction);

  // ---- Operations ----

  // Only below the maximum: the minimum and the progress; answers Minimum.
  int32_t SetMinimum(int32_t value);
  // Only above the minimum: the maximum; the progress goes back to the
  // minimum. Answers Maximum.
  int32_t SetMaximum(int32_t value);
  // Clamped to the bounds; answers Progress.
  int32_t SetProgress(int32_t value);
  int32_t StepProgress();
  // (Progress - Minimum) x 100 / (Maximum - Minimum), unscaled.
  int32_t GetPercentage() const;
  // The percentage the layout shows, from the scaled values.
  int32_t ScaledPercentage() const;
  // Clears the gauge and sets it up over the rectangle with an indicator
  // filled with the colour.
  void Define(int32_t left, int32_t top, int32_t width, int32_t height, int32_t minimum, int32_t maximum,
              const sRGB& colour, int32_t direction);
  // The same with the named graphic of the level as the indicator, the
  // gauge as large as it; nothing when it cannot be had.
  void DefineFromGraphic(int32_t left, int32_t top, int32_t minimum, int32_t maximum, const char* name,
                         int32_t direction);

  // ---- Fields ----

  LumoSprite* Indicator = nullptr;  // an item of the gauge
  LumoGraphicNode* IndicatorGraphic = nullptr;
  int32_t Minimum = 0;
  int32_t ScaledMinimum = 0;
  int32_t Maximum = 100;
  int32_t ScaledMaximum = 100;
  int32_t Progress = 0;
  int32_t ScaledProgress = 0;
  int32_t Direction = FromLeft;

 private:
  // The bits every value is shifted right by for the bounds now set.
  int32_t Shift() const;
  int32_t Scale(int32_t value) const;
  void Rescale();
  // How far the indicator has come in along a length.
  int32_t Covered(int32_t length) const;
  // The shared steps of the two definitions with the indicator's frame
  // made by addFrame.
  template <typename AddFrame>
  void DefineWith(int32_t left, int32_t top, int32_t width, int32_t height, int32_t minimum, int32_t maximum,
                  int32_t direction, AddFrame&& addFrame);
};

// The button the pre-loader shows when loading is done: pressing it hides
// the mouse cursor and lets the engine finish populating the level.
class LumoLoaderButton : public LumoButton {
 public:
  const char* GetClassName() const override;
  void DoExecute() override;
};
