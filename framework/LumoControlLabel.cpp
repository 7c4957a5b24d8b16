// The caption label of a control: attaching, placing and showing it.

#include <algorithm>
#include <new>

#include "base/DebugFormat.h"
#include "framework/LumoButton.h"
#include "framework/LumoCell.h"
#include "framework/LumoControl.h"
#include "framework/LumoEngine.h"
#include "framework/LumoFontNode.h"
#include "framework/LumoLabel.h"

namespace {

int32_t Clamp32(int64_t value) { return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX)); }

// The font labels write with.
LumoFontNode* LabelFontOf(const LumoLabel* label) {
  if (label != nullptr && label->Font != nullptr) {
    return label->Font;
  }
  return Engine != nullptr ? Engine->LabelFont() : nullptr;
}

}  // namespace

void LumoControl::InitializeLabel() {}

LumoLabel* LumoControl::CreateLabel() { return new (std::nothrow) LumoLabel; }

void LumoControl::ShowCaption() {
  if (Label == nullptr) {
    return;
  }
  if (Enabled && Focused) {
    Label->ShowHilited();
  } else if (Enabled) {
    Label->ShowActivated();
  } else {
    Label->ShowDimmed();
  }
}

LumoLabel* LumoControl::SetLabel(LumoLabel* label) {
  if (!Body) {
    return Label;
  }
  if (Label != nullptr) {
    LumoLabel* old = Label;
    Body->DetachSprite(old);
    RemoveReference(old);
    Label = nullptr;
  }
  if (label == nullptr || Body->AttachSprite(label) == nullptr) {
    return Label;
  }
  if (AddReference(label) == nullptr) {
    Body->DetachSprite(label);
    return Label;
  }
  Label = label;
  if (auto* button = dynamic_cast<LumoButton*>(this)) {
    button->SetFocusable(button->Input);
  }
  if (AnimationPrevented) {
    label->PreventAnimation();
  } else if (Animating) {
    label->StartAnimation();
  }
  ControlGuarded("SetLabel", "ShowCaption", [&] { ShowCaption(); });
  ControlGuarded("SetLabel", "InitializeLabel", [&] { InitializeLabel(); });
  return Label;
}

int32_t LumoControl::LabelLines() const { return Label != nullptr ? Label->GetLines() : 0; }

const char* LumoControl::ForwardToLabel(const char* text) {
  return Label != nullptr ? Label->ForwardToLabel(text) : nullptr;
}

// Makes a label of the engine's label font in the control's cell, lets
// prepare(label, font) define it, and sets it; a failure frees it.
template <typename Definer>
LumoLabel* LumoControl::MakeLabel(Definer&& prepare) {
  LumoFontNode* font = Engine != nullptr ? Engine->LabelFont() : nullptr;
  LumoCell* cell = Cell();
  if (Label != nullptr || font == nullptr || cell == nullptr) {
    return nullptr;
  }
  LumoLabel* label = nullptr;
  try {
    label = CreateLabel();
    if (label == nullptr || static_cast<LumoList*>(cell)->Append(label) == nullptr) {
      if (label != nullptr) {
        DestroyObject(label);
      }
      return nullptr;
    }
    prepare(*label, *font);
    if (SetLabel(label) != label) {
      DestroyObject(label);
      return nullptr;
    }
    return label;
  } catch (...) {
    DebugPrint("LumoControl::AttachLabel() Unhandled exception (Control=%p:%s)\n", DebugAddress(this),
               DebugClassName(this));
    if (label != nullptr) {
      if (Label == label) {
        SetLabel(nullptr);
      }
      DestroyObject(label);
    }
    throw;
  }
}

LumoLabel* LumoControl::AttachLabel(int32_t left, int32_t top, int32_t width, int32_t lines) {
  return MakeLabel([&](LumoLabel& label, LumoFontNode& font) {
    const int64_t height = int64_t{font.LineHeight} * std::max(lines, 1);
    label.Define(left, top, width, Clamp32(height), font.PaperColour, &font, true);
  });
}

LumoLabel* LumoControl::AttachLabel(int32_t left, int32_t top, int32_t width, const char* text) {
  LumoLabel* label = AttachLabel(left, top, width, 1);
  if (label != nullptr) {
    ForwardToLabel(text);
    ShowCaption();
  }
  return label;
}

// The label takes the text's own width (and the font's spacing after its
// last glyph) unless a width is given, one line of the font, and its place
// beside the control by the caption side.
LumoLabel* LumoControl::AttachLabel(int32_t width, const char* text) {
  LumoLabel* label = MakeLabel([&](LumoLabel& made, LumoFontNode& font) {
    made.SetFont(&font);
    made.ForwardToLabel(text);
    const int64_t ownWidth =
        width > 0 ? width : int64_t{font.TextWidth(text != nullptr ? text : "", true)} + font.Spacing;
    made.Define(0, 0, Clamp32(std::max<int64_t>(ownWidth, 1)), font.LineHeight, font.PaperColour, &font, true);
    int32_t left = 0;
    int32_t top = 0;
    int32_t labelWidth = 0;
    int32_t labelHeight = 0;
    if (CalculateBounds(&made, left, top, labelWidth, labelHeight)) {
      made.SetPosition(left, top);
    }
  });
  if (label != nullptr) {
    ShowCaption();
  }
  return label;
}

LumoLabel* LumoControl::AttachAutoLabel(const char* text) { return AttachLabel(0, text); }

bool LumoControl::AttachToLabel(LumoSprite* sprite) {
  if (Label == nullptr || sprite == nullptr) {
    return false;
  }
  int32_t left = 0;
  int32_t top = 0;
  int32_t width = 0;
  int32_t height = 0;
  if (!Label->CalculateBounds(sprite, left, top, width, height)) {
    return false;
  }
  sprite->SetPosition(left, top);
  // A sprite attached again is registered already.
  return Label->IsRegistered(sprite) || Label->Register(sprite) != nullptr;
}

// A label beside the control by the caption side, Gap pixels off; a label
// without its own height takes the font's line height, one without its own
// width the text's (left and right) or the control's (above and below).
bool LumoControl::PlaceLabel(LumoLabel* label, int32_t& left, int32_t& top, int32_t& width, int32_t& height,
                             int32_t controlLeft, int32_t controlTop, int32_t controlWidth, int32_t controlHeight) {
  LumoFontNode* font = LabelFontOf(label);
  if (height == 0 && font != nullptr) {
    height = font->LineHeight;
  }
  const auto textWidth = [&] {
    if (width == 0 && font != nullptr) {
      width = Clamp32(int64_t{font->TextWidth(label->Caption != nullptr ? label->Caption : "", true)} + font->Spacing);
    }
  };
  const int64_t centredTop = int64_t{controlTop} + controlHeight / 2 - height / 2;
  switch (CaptionSide) {
    case 0:
      textWidth();
      left = Clamp32(int64_t{controlLeft} - Gap - width);
      top = Clamp32(centredTop);
      return true;
    case 1:
      left = controlLeft;
      top = Clamp32(int64_t{controlTop} - Gap - height);
      width = width == 0 ? controlWidth : width;
      return true;
    case 2:
      textWidth();
      left = Clamp32(int64_t{controlLeft} + controlWidth + Gap);
      top = Clamp32(centredTop);
      return true;
    case 3:
      left = controlLeft;
      top = Clamp32(int64_t{controlTop} + controlHeight + Gap);
      width = width == 0 ? controlWidth : width;
      return true;
    default:
      return false;
  }
}
