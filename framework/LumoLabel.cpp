#include "framework/LumoLabel.h"

#include <algorithm>

#include "base/DebugFormat.h"
#include "base/TextUtils.h"
#include "framework/LumoEngine.h"
#include "framework/LumoFontNode.h"
#include "framework/LumoGraphicNode.h"

LumoLabel::LumoLabel() {
  SetInput(true);
  if (Engine != nullptr) {
    SetMargin(Engine->ControlMargin());
  }
}

LumoLabel::~LumoLabel() { FreeCharStr(Caption); }

const char* LumoLabel::GetClassName() const { return "LumoLabel"; }

const char* LumoLabel::ForwardToLabel(const char* text) { return SetCharStr(Caption, text); }

LumoControl* LumoLabel::Control() const {
  return OwnerBody != nullptr ? dynamic_cast<LumoControl*>(OwnerBody->Sprite) : nullptr;
}

// ---- Looks ----

void LumoLabel::DrawLook(int inkEntry) {
  if (Graphic == nullptr || Font == nullptr) {
    return;
  }
  Graphic->Fill(Font->PaperColour);
  ClearPage();
  if (Caption != nullptr) {
    PrintText(Caption);
  }
  Graphic->ReplaceInkAndPaper(0, 0, Graphic->Width, Graphic->Height, Font->InkColour, Font->Palette[inkEntry],
                              Font->PaperColour, Font->Palette[inkEntry + 1]);
}

void LumoLabel::DoShowActivated() { DrawLook(kActivatedInk); }
void LumoLabel::DoShowHilited() { DrawLook(kHilitedInk); }
void LumoLabel::DoShowDimmed() { DrawLook(kDimmedInk); }
void LumoLabel::OnShowActivated() {}
void LumoLabel::OnShowHilited() {}
void LumoLabel::OnShowDimmed() {}

void LumoLabel::ShowActivated() {
  LabelGuarded("ShowActivated", "DoShowActivated", [&] { DoShowActivated(); });
  LabelGuarded("ShowActivated", "OnShowActivated", [&] { OnShowActivated(); });
}

void LumoLabel::ShowHilited() {
  LabelGuarded("ShowHilited", "DoShowHilited", [&] { DoShowHilited(); });
  LabelGuarded("ShowHilited", "OnShowHilited", [&] { OnShowHilited(); });
}

void LumoLabel::ShowDimmed() {
  LabelGuarded("ShowDimmed", "DoShowDimmed", [&] { DoShowDimmed(); });
  LabelGuarded("ShowDimmed", "OnShowDimmed", [&] { OnShowDimmed(); });
}

void LumoLabel::ReportLabelFault(const char* operation, const char* hook) const {
  DebugPrint("LumoLabel::%s() Unhandled exception during %s() (Control=%p:%s)\n", operation, hook, DebugAddress(this),
             DebugClassName(this));
}

// ---- Input ----

bool LumoLabel::DoMouseDown(tInputEvent* event) {
  const bool handled = LumoPage::DoMouseDown(event);
  LumoControl* control = Control();
  if (!MouseOver || !Input || !MouseInput || control == nullptr) {
    return handled;
  }
  control->Focus();
  return true;
}

// ---- Placement ----

// An item beside the label (the refresh button of its control): left of a
// label on the control's left, right of one on its right, each g pixels off
// and centred on the label's rows; beside a label above or below the
// control, in the label's rows (the last rows above, the first below), its
// right edge on the control's right edge unless that would cover the label.
bool LumoLabel::DoCalculateBounds(LumoSprite* item, int32_t& left, int32_t& top, int32_t& width, int32_t& height,
                                  int32_t labelLeft, int32_t labelTop, int32_t labelWidth, int32_t labelHeight) {
  if (LumoPage::DoCalculateBounds(item, left, top, width, height, labelLeft, labelTop, labelWidth, labelHeight)) {
    return true;
  }
  LumoControl* control = Control();
  if (control == nullptr || item == nullptr) {
    return false;
  }
  // The item's own size comes in (CalculateBounds measured it).
  const int32_t itemWidth = width;
  const int32_t itemHeight = height;
  int32_t controlLeft = 0;
  int32_t controlTop = 0;
  int32_t controlWidth = 0;
  int32_t controlHeight = 0;
  control->GetBounds(controlLeft, controlTop, controlWidth, controlHeight, false, false);
  const int64_t gap = control->Margin;
  int64_t x = 0;
  int64_t y = 0;
  switch (control->CaptionSide) {
    case 0:
      x = int64_t{labelLeft} - gap - itemWidth;
      y = int64_t{labelTop} + labelHeight / 2 - itemHeight / 2;
      break;
    case 2:
      x = int64_t{labelLeft} + labelWidth + gap;
      y = int64_t{labelTop} + labelHeight / 2 - itemHeight / 2;
      break;
    case 1:
    case 3:
      x = std::max(int64_t{controlLeft} + controlWidth - itemWidth, int64_t{labelLeft} + labelWidth + gap);
      y = control->CaptionSide == 1 ? int64_t{labelTop} + labelHeight - itemHeight : int64_t{labelTop};
      break;
    default:
      return false;
  }
  left = static_cast<int32_t>(std::clamp<int64_t>(x, INT32_MIN, INT32_MAX));
  top = static_cast<int32_t>(std::clamp<int64_t>(y, INT32_MIN, INT32_MAX));
  return true;
}
