#include "framework/LumoGauge.h"

#include <algorithm>
#include <cstdlib>

#include "base/TextUtils.h"
#include "framework/LumoEngine.h"
#include "framework/LumoGraphicList.h"
#include "framework/LumoGraphicNode.h"
#include "framework/LumoLevel.h"
#include "framework/LumoSequenceList.h"
#include "framework/LumoSequenceNode.h"
#include "framework/LumoSprite.h"

namespace {

constexpr int32_t kScaledBits = 15;

// The bits a value's magnitude needs.
int32_t MagnitudeBits(int32_t value) {
  const int64_t magnitude = std::llabs(static_cast<int64_t>(value));
  return HighestBit(static_cast<uint32_t>(std::min<int64_t>(magnitude, UINT32_MAX)));
}

}  // namespace

const char* LumoGauge::GetClassName() const { return "LumoGauge"; }

void LumoGauge::DoAbortReferenceTo(LumoObject* other) {
  LumoCell::DoAbortReferenceTo(other);
  if (other == nullptr) {
    return;
  }
  if (static_cast<const void*>(other) == static_cast<const void*>(Indicator)) {
    Indicator = nullptr;
  }
  if (static_cast<const void*>(other) == static_cast<const void*>(IndicatorGraphic)) {
    IndicatorGraphic = nullptr;
  }
}

int32_t LumoGauge::Shift() const {
  const int32_t bits = std::max(MagnitudeBits(Minimum), MagnitudeBits(Maximum));
  return bits <= kScaledBits ? 0 : bits - kScaledBits;
}

int32_t LumoGauge::Scale(int32_t value) const {
  const int32_t shift = Shift();
  // The magnitude is shifted, so the sign stays.
  const int64_t wide = value;
  return static_cast<int32_t>(wide < 0 ? -((-wide) >> shift) : wide >> shift);
}

void LumoGauge::Rescale() {
  ScaledMinimum = Scale(Minimum);
  ScaledMaximum = Scale(Maximum);
  ScaledProgress = Scale(Progress);
}

int32_t LumoGauge::SetMinimum(int32_t value) {
  if (value < Maximum) {
    Minimum = value;
    Progress = value;
    Rescale();
  }
  return Minimum;
}

int32_t LumoGauge::SetMaximum(int32_t value) {
  if (value > Minimum) {
    Maximum = value;
    Progress = Minimum;
    Rescale();
  }
  return Maximum;
}

int32_t LumoGauge::SetProgress(int32_t value) {
  const int32_t clamped = std::clamp(value, Minimum, Maximum);
  if (clamped != Progress) {
    Progress = clamped;
    ScaledProgress = Scale(clamped);
  }
  return Progress;
}

int32_t LumoGauge::StepProgress() {
  return SetProgress(static_cast<int32_t>(std::min<int64_t>(int64_t{Progress} + 1, INT32_MAX)));
}

int32_t LumoGauge::GetPercentage() const {
  const int64_t range = int64_t{Maximum} - Minimum;
  if (range <= 0) {
    return 0;
  }
  return static_cast<int32_t>((int64_t{Progress} - Minimum) * 100 / range);
}

int32_t LumoGauge::ScaledPercentage() const {
  const int64_t range = int64_t{ScaledMaximum} - ScaledMinimum;
  if (range <= 0) {
    return GetPercentage();
  }
  return static_cast<int32_t>((int64_t{ScaledProgress} - ScaledMinimum) * 100 / range);
}

int32_t LumoGauge::Covered(int32_t length) const {
  return static_cast<int32_t>(int64_t{ScaledPercentage()} * length / 100);
}

void LumoGauge::LayoutFromLeft() {
  if (Indicator != nullptr) {
    Indicator->SetPosition(Covered(Width) - Width, 0);
  }
}

void LumoGauge::LayoutFromRight() {
  if (Indicator != nullptr) {
    Indicator->SetPosition(Width - Covered(Width), 0);
  }
}

void LumoGauge::LayoutFromTop() {
  if (Indicator != nullptr) {
    Indicator->SetPosition(0, Covered(Height) - Height);
  }
}

void LumoGauge::LayoutFromBottom() {
  if (Indicator != nullptr) {
    Indicator->SetPosition(0, Height - Covered(Height));
  }
}

int32_t LumoGauge::SetDirection(int32_t direction) { return Direction = direction; }

void LumoGauge::DoSelectFrame() {
  LumoCell::DoSelectFrame();
  switch (Direction) {
    case FromLeft:
      LayoutFromLeft();
      break;
    case FromRight:
      LayoutFromRight();
      break;
    case FromTop:
      LayoutFromTop();
      break;
    case FromBottom:
      LayoutFromBottom();
      break;
    default:
      break;
  }
}

template <typename AddFrame>
void LumoGauge::DefineWith(int32_t left, int32_t top, int32_t width, int32_t height, int32_t minimum,
                           int32_t maximum, int32_t direction, AddFrame&& addFrame) {
  Clear();
  SetViewport(left, top, width, height);
  if (minimum < Maximum) {
    SetMinimum(minimum);
  }
  if (maximum > Minimum) {
    SetMaximum(maximum);
  }
  SetDirection(direction);
  Indicator = AddSpriteAt(0, 0);
  if (Indicator != nullptr) {
    LumoSequenceList* sequence = Indicator->AppendSequence(1, -1);
    LumoSequenceNode* frame = sequence != nullptr ? addFrame(*sequence) : nullptr;
    IndicatorGraphic = frame != nullptr ? frame->Graphic() : nullptr;
    Indicator->ResetSequence(false);
  }
  DoPopulate();
  OnPopulate();
  OnActivate();
  DoActivate();
}

void LumoGauge::Define(int32_t left, int32_t top, int32_t width, int32_t height, int32_t minimum, int32_t maximum,
                       const sRGB& colour, int32_t direction) {
  DefineWith(left, top, width, height, minimum, maximum, direction, [&](LumoSequenceList& sequence) {
    return sequence.AppendFilledFrame(width, height, colour, 1);
  });
}

void LumoGauge::DefineFromGraphic(int32_t left, int32_t top, int32_t minimum, int32_t maximum, const char* name,
                                  int32_t direction) {
  LumoLevel* level = Engine != nullptr ? Engine->Level : nullptr;
  if (auto* owner = dynamic_cast<LumoLevel*>(parent)) {
    level = owner;
  }
  LumoGraphicNode* graphic =
      level != nullptr && level->GraphicList ? level->GraphicList->ProvideGraphic(name) : nullptr;
  if (graphic == nullptr || graphic->Graphic() == nullptr || graphic->Width < 1 || graphic->Height < 1) {
    return;
  }
  DefineWith(left, top, graphic->Width, graphic->Height, minimum, maximum, direction,
             [&](LumoSequenceList& sequence) { return sequence.AppendFrame(graphic, 0, 0, 1); });
}

// ---- Loader button ----

const char* LumoLoaderButton::GetClassName() const { return "LumoLoaderButton"; }

void LumoLoaderButton::DoExecute() {
  LumoButton::DoExecute();
  if (Engine != nullptr) {
    Engine->HideCursor();
    Engine->SetPostPopulating(true);
  }
}
