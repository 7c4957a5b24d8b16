#include "framework/LumoOption.h"

#include <algorithm>
#include <cstring>

#include "base/DebugFormat.h"
#include "framework/LumoEngine.h"
#include "framework/LumoFontNode.h"
#include "framework/LumoGraphicNode.h"
#include "framework/LumoItem.h"
#include "framework/LumoLevel.h"
#include "framework/LumoMenu.h"
#include "runtime/Drawing.h"

// The option's fields, its looks and its drawing; LumoOptionInput.cpp holds
// the focus, the keys and the mouse.

namespace {

bool IsNormalEntry(int32_t type) {
  return type == LumoOption::OptionPopUpEntry || type == LumoOption::OptionSideEntry ||
         type == LumoOption::OptionSubMenuEntry;
}

bool IsNeverSelectable(int32_t type) {
  return type == LumoOption::OptionBarFiller || type == LumoOption::OptionColumnFiller ||
         type == LumoOption::OptionSeparator;
}

int32_t Clamp32(int64_t value) { return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX)); }

}  // namespace

LumoOption::LumoOption() {
  if (Engine != nullptr) {
    SetMinimumSize(Engine->OptionGutter());
    LumoLevel* level = Engine->Level;
    if (level != nullptr && level->GraphicList) {
      SetArrow(level->GraphicList->ProvideGraphic(Engine->SubMenuLookName()));
    }
  }
  SetInput(true);
  SetFocusable(true);
  SetDefaultFramesPerPulse(kDefaultFramesPerPulse);
}

const char* LumoOption::GetClassName() const { return "LumoOption"; }

void LumoOption::DoAbortReferenceTo(LumoObject* other) {
  LumoPage::DoAbortReferenceTo(other);
  if (other == nullptr) {
    return;
  }
  const void* gone = other;
  if (gone == static_cast<const void*>(Item)) {
    Item = nullptr;
  }
  if (gone == static_cast<const void*>(Mark)) {
    Mark = nullptr;
  }
  if (gone == static_cast<const void*>(Arrow)) {
    Arrow = nullptr;
  }
}

// ---- Fields ----

LumoItem* LumoOption::SetItem(LumoItem* item) {
  Keep(Item, item);
  return Item;
}

int32_t LumoOption::SetOptionType(int32_t type) {
  if (IsNeverSelectable(type)) {
    SetFocusable(false);
    Unload();
  }
  OptionType = type;
  return OptionType;
}

LumoGraphicNode* LumoOption::SetMark(LumoGraphicNode* mark) {
  Keep(Mark, mark);
  return Mark;
}

LumoGraphicNode* LumoOption::SetArrow(LumoGraphicNode* arrow) {
  Keep(Arrow, arrow);
  return Arrow;
}

LumoMenu* LumoOption::MenuRoot() const { return Item != nullptr ? Item->MenuRoot : nullptr; }

LumoItem* LumoOption::RootItem() const { return Item != nullptr ? Item->MenuRoot : nullptr; }

bool LumoOption::HasSubMenu() const { return Item != nullptr && Item->first != nullptr; }

// ---- The menu's settings ----

LumoOption* LumoOption::MenuFocusOption() const {
  LumoMenu* root = MenuRoot();
  return root != nullptr ? root->FocusOption : nullptr;
}

LumoOption* LumoOption::MenuShortcut(uint32_t key, uint32_t modifiers) const {
  LumoMenu* root = MenuRoot();
  return root != nullptr ? root->FindShortcut(key, modifiers) : nullptr;
}

// A page is defined again by clearing and populating it: the shortcut is
// registered once.
void LumoOption::RegisterShortcut() {
  LumoMenu* root = MenuRoot();
  if (Item != nullptr && Item->ShortcutKey != 0 && root != nullptr &&
      root->FindShortcut(Item->ShortcutKey, Item->ShortcutModifiers) != this) {
    root->RegisterShortcut(this, Item->ShortcutKey, Item->ShortcutModifiers);
  }
}

// ---- Populating and enabling ----

void LumoOption::DoPopulate() {
  LumoPage::DoPopulate();
  RegisterShortcut();
  if (OptionType == OptionInvalid) {
    DebugPrint("LumoOption() Unknown option type being populated (Control=%p:%s)\n", DebugAddress(this),
               DebugClassName(this));
  } else if (IsNeverSelectable(OptionType)) {
    Disable();
  } else {
    Enable();
  }
  if (Item != nullptr && Item->Hidden) {
    PreventAnimation();
  }
}

void LumoOption::DoEnable() {
  ShowCurrentLook();
  if (Item == nullptr) {
    return;
  }
  // Fillers and separators of the sub-menu stay disabled: their type never
  // takes the focus.
  for (LumoNode* child = Item->first; child != nullptr; child = child->next) {
    auto* item = dynamic_cast<LumoItem*>(child);
    if (item != nullptr && item->Option != nullptr && !IsNeverSelectable(item->Option->OptionType)) {
      item->Option->Enable();
    }
  }
}

void LumoOption::DoDisable() {
  ShowCurrentLook();
  if (Item == nullptr) {
    return;
  }
  for (LumoNode* child = Item->first; child != nullptr; child = child->next) {
    auto* item = dynamic_cast<LumoItem*>(child);
    if (item != nullptr && item->Option != nullptr) {
      item->Option->Disable();
    }
  }
}

// ---- Drawing ----

void LumoOption::DrawRow(int32_t left, int32_t width, int32_t y, const sRGB& colour) {
  if (Graphic == nullptr || y < 0 || y >= Graphic->Height) {
    return;
  }
  const int64_t from = std::max<int64_t>(left, 0);
  const int64_t to = std::min<int64_t>(int64_t{left} + width, Graphic->Width);
  if (to <= from) {
    return;
  }
  if (LockedGraphic* lock = Graphic->CreateLock()) {
    PlotLine(lock, static_cast<int32_t>(from), y, static_cast<int32_t>(to - from), 0, ConvertRGB(colour));
    Graphic->ReleaseLock();
  }
}

// The letter's glyph width, under the letter: the caption's glyphs stand
// Spacing after the caret, and the name's width up to the letter counts
// every glyph with its Spacing (a "&" marks, "&&" shows one "&").
void LumoOption::UnderlineAccelerator(int32_t captionLeft) {
  if (Item == nullptr || Item->Accelerator == 0 || Item->AcceleratorIndex < 0 || Item->Caption == nullptr ||
      Item->Name == nullptr) {
    return;
  }
  const auto index = static_cast<size_t>(Item->AcceleratorIndex);
  if (index >= std::strlen(Item->Caption)) {
    return;
  }
  LumoGraphicNode* glyph = Font->Glyph(static_cast<uint8_t>(Item->Caption[index]));
  if (glyph == nullptr || glyph->Width < 1) {
    return;
  }
  const int64_t spacing = Font->Spacing;
  const int64_t x = int64_t{Font->TextWidthEx(Item->Name, Proportional, '&', static_cast<uint32_t>(index))} +
                    spacing + captionLeft;
  DrawRow(Clamp32(x), glyph->Width, Clamp32(int64_t{Font->LineHeight} + spacing - 1), Font->InkColour);
}

void LumoOption::DoWrite() {
  if (Graphic == nullptr || Font == nullptr || OptionType < OptionPopUpEntry || OptionType > OptionSeparator) {
    return;
  }
  const int64_t spacing = Font->Spacing;
  const int64_t width = Graphic->Width;
  const int64_t height = Graphic->Height;
  const int64_t gutter = MinimumSize;
  const char* caption = Item != nullptr ? Item->Caption : nullptr;
  if (IsNormalEntry(OptionType)) {
    if (Enabled && Mark != nullptr && Mark->Data != 0) {
      Graphic->Copy(Mark, Clamp32(gutter / 2 + spacing - Mark->Width / 2), Clamp32(height / 2 - Mark->Height / 2));
    }
    SetCaretX(Clamp32(spacing + gutter));
    SetCaretY(Clamp32(spacing));
    if (caption != nullptr) {
      PrintText(caption);
    }
    const char* shortcut = Item != nullptr ? Item->ShortcutText : nullptr;
    if (shortcut != nullptr && *shortcut != '\0') {
      SetCaretX(Clamp32(width - 2 * spacing - gutter - Font->TextWidth(shortcut, Proportional)));
      SetCaretY(Clamp32(spacing));
      PrintText(shortcut);
    }
    UnderlineAccelerator(Clamp32(spacing + gutter));
    if (Enabled && HasSubMenu() && Arrow != nullptr && Arrow->Data != 0) {
      Graphic->Copy(Arrow, Clamp32(width - spacing - gutter / 2 - Arrow->Width / 2),
                    Clamp32(height / 2 - Arrow->Height / 2));
    }
  } else if (OptionType == OptionBarEntry) {
    SetCaretX(Font->SpaceWidth);
    SetCaretY(Clamp32(spacing));
    if (caption != nullptr) {
      PrintText(caption);
    }
    UnderlineAccelerator(Font->SpaceWidth);
  } else if (OptionType == OptionSeparator && Engine != nullptr) {
    const auto middle = static_cast<int32_t>(height / 2);
    DrawRow(0, static_cast<int32_t>(width), middle, Engine->LightControlColour());
    DrawRow(0, static_cast<int32_t>(width), middle - 1, Engine->DarkControlColour());
  }
}

void LumoOption::OnWrite() {}

void LumoOption::Write() {
  OptionGuarded("Write", "DoWrite", [&] { DoWrite(); });
  OptionGuarded("Write", "OnWrite", [&] { OnWrite(); });
}

// ---- Looks ----

void LumoOption::DrawLook(int inkEntry) {
  if (Graphic == nullptr || Font == nullptr) {
    return;
  }
  // Filling sets the graphic's fill colour, so ClearPage paints paper too.
  Graphic->Fill(Font->PaperColour);
  ClearPage();
  Write();
  Graphic->ReplaceInkAndPaper(0, 0, Graphic->Width, Graphic->Height, Font->InkColour, Font->Palette[inkEntry],
                              Font->PaperColour, Font->Palette[inkEntry + 1]);
}

void LumoOption::DoShowActivated() { DrawLook(kActivatedInk); }
void LumoOption::DoShowSelected() { DrawLook(kSelectedInk); }
void LumoOption::DoShowHilited() { DrawLook(kHilitedInk); }
void LumoOption::DoShowDimmed() { DrawLook(kDimmedInk); }
void LumoOption::OnShowActivated() {}
void LumoOption::OnShowSelected() {}
void LumoOption::OnShowHilited() {}
void LumoOption::OnShowDimmed() {}

void LumoOption::ShowActivated() {
  OptionGuarded("ShowActivated", "DoShowActivated", [&] { DoShowActivated(); });
  OptionGuarded("ShowActivated", "OnShowActivated", [&] { OnShowActivated(); });
}

void LumoOption::ShowSelected() {
  OptionGuarded("ShowSelected", "DoShowSelected", [&] { DoShowSelected(); });
  OptionGuarded("ShowSelected", "OnShowSelected", [&] { OnShowSelected(); });
}

void LumoOption::ShowHilited() {
  OptionGuarded("ShowHilited", "DoShowHilited", [&] { DoShowHilited(); });
  OptionGuarded("ShowHilited", "OnShowHilited", [&] { OnShowHilited(); });
}

void LumoOption::ShowDimmed() {
  OptionGuarded("ShowDimmed", "DoShowDimmed", [&] { DoShowDimmed(); });
  OptionGuarded("ShowDimmed", "OnShowDimmed", [&] { OnShowDimmed(); });
}

void LumoOption::ShowCurrentLook() {
  if (!Enabled) {
    ShowDimmed();
  } else if (Focused) {
    ShowHilited();
  } else if (Item != nullptr && Item->Open) {
    ShowSelected();
  } else {
    ShowActivated();
  }
}

void LumoOption::ReportOptionFault(const char* operation, const char* hook) const {
  DebugPrint("LumoOption::%s() Unhandled exception during %s() (Control=%p:%s)\n", operation, hook,
             DebugAddress(this), DebugClassName(this));
}
