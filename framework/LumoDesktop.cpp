#include "framework/LumoDesktop.h"

#include <algorithm>
#include <new>
#include <vector>

#include "framework/LumoControl.h"
#include "framework/LumoEngine.h"
#include "framework/LumoGraphicNode.h"
#include "framework/LumoMenu.h"
#include "framework/LumoOption.h"
#include "framework/LumoSelector.h"
#include "framework/LumoSequenceList.h"
#include "framework/LumoSprite.h"

// ---- Complex cell ----

const char* LumoComplexCell::GetClassName() const { return "LumoComplexCell"; }

void LumoComplexCell::DoClear() {
  if (LumoMenu* menu = Menu) {
    KeepReference(Menu, static_cast<LumoMenu*>(nullptr));
    DestroyObject(menu);
  }
  LumoCell::DoClear();
}

LumoMenu* LumoComplexCell::SetMenu(LumoMenu* menu) {
  KeepReference(Menu, static_cast<LumoMenu*>(nullptr));
  if (menu != nullptr && !menu->IsPopUp()) {
    KeepReference(Menu, menu);
  }
  CalculateClientArea();
  return Menu;
}

void LumoComplexCell::DoAbortReferenceTo(LumoObject* other) {
  LumoCell::DoAbortReferenceTo(other);
  if (other != nullptr && static_cast<const void*>(other) == static_cast<const void*>(Menu)) {
    Menu = nullptr;
  }
  if (other != nullptr && static_cast<const void*>(other) == static_cast<const void*>(Selector)) {
    Selector = nullptr;
  }
}

void LumoComplexCell::DoAttach(LumoNode* item) {
  LumoCell::DoAttach(item);
  if (auto* selector = dynamic_cast<LumoSelector*>(item)) {
    SetSelector(selector);
  }
}

void LumoComplexCell::SetViewport(int32_t left, int32_t top, int32_t width, int32_t height) {
  LumoCell::SetViewport(left, top, width, height);
  CalculateClientArea();
}

LumoSelector* LumoComplexCell::SetSelector(LumoSelector* selector) {
  KeepReference(Selector, selector);
  return Selector;
}

void LumoComplexCell::CalculateClientArea() {
  // Worked out in 64 bits; stored as 32-bit values.
  int64_t left = Left;
  int64_t top = Top;
  int64_t width = Width;
  int64_t height = Height;
  // The menu's bar takes its first entry's size across the bar and twice
  // that entry's margin.
  const auto* menuFirst = Menu != nullptr ? dynamic_cast<const LumoItem*>(Menu->first) : nullptr;
  if (const LumoOption* option = menuFirst != nullptr ? menuFirst->Option : nullptr) {
    const int64_t across = option->Graphic == nullptr             ? 0
                           : Menu->Alignment == LumoMenu::AlignLeft || Menu->Alignment == LumoMenu::AlignRight
                               ? option->Graphic->Width
                               : option->Graphic->Height;
    const int64_t taken = across + 2 * int64_t{option->Margin};
    switch (Menu->Alignment) {
      case LumoMenu::AlignLeft:
        left += taken;
        width -= taken;
        break;
      case LumoMenu::AlignTop:
        top += taken;
        height -= taken;
        break;
      case LumoMenu::AlignRight:
        width -= taken;
        break;
      case LumoMenu::AlignBottom:
        height -= taken;
        break;
      default:
        break;
    }
  }
  for (LumoNode* item = first; item != nullptr; item = item->next) {
    // A menu's entries are controls of the cell too; the menu takes its
    // room as a whole.
    const auto* control = dynamic_cast<const LumoControl*>(item);
    if (control == nullptr || dynamic_cast<const LumoOption*>(item) != nullptr) {
      continue;
    }
    const int64_t taken = int64_t{control->AlignedSize} + 2 * int64_t{control->Margin};
    switch (control->Alignment) {
      case 1:
        left += taken;
        width -= taken;
        break;
      case 2:
        top += taken;
        height -= taken;
        break;
      case 3:
        width -= taken;
        break;
      case 4:
        height -= taken;
        break;
      default:
        break;
    }
  }
  const auto narrow = [](int64_t value) {
    return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
  };
  ClientLeft = narrow(left - Left);
  ClientTop = narrow(top - Top);
  ClientWidth = narrow(width);
  ClientHeight = narrow(height);
}

// ---- Desktop ----

const char* LumoDesktop::GetClassName() const { return "LumoDesktop"; }

void LumoDesktop::DoPopulate() {
  LumoComplexCell::DoPopulate();
  if (Engine != nullptr) {
    SetViewport(0, 0, Engine->ScreenWidth, Engine->ScreenHeight);
  }
}

void LumoDesktop::DoActivate() {
  LumoComplexCell::DoActivate();
  LumoList* owner = parent;
  if (owner == nullptr || ModalCell != nullptr) {
    return;
  }
  auto* modal = new (std::nothrow) LumoModalCell;
  if (modal == nullptr) {
    return;
  }
  if (owner->Append(modal) == nullptr) {
    DestroyObject(modal);
    return;
  }
  KeepReference(ModalCell, modal);
  modal->Populate();
}

void LumoDesktop::DoAbortReferenceTo(LumoObject* other) {
  LumoComplexCell::DoAbortReferenceTo(other);
  if (other != nullptr && static_cast<const void*>(other) == static_cast<const void*>(ModalCell)) {
    ModalCell = nullptr;
  }
}

LumoSelector* LumoDesktop::SetSelector(LumoSelector* selector) {
  LumoSelector* set = LumoComplexCell::SetSelector(selector);
  Background = nullptr;
  return set;
}

LumoSprite* LumoDesktop::SetBackground(LumoSelector* selector) {
  SetSelector(selector);
  return Background;
}

// ---- Modal cell ----

const char* LumoModalCell::GetClassName() const { return "LumoModalCell"; }

void LumoModalCell::DoAbortReferenceTo(LumoObject* other) {
  LumoComplexCell::DoAbortReferenceTo(other);
  if (other != nullptr && static_cast<const void*>(other) == static_cast<const void*>(Blocker)) {
    Blocker = nullptr;
  }
}

void LumoModalCell::DoPopulate() {
  LumoComplexCell::DoPopulate();
  if (Engine != nullptr) {
    SetViewport(0, 0, Engine->ScreenWidth, Engine->ScreenHeight);
  }
  LumoDesktop* desktop = nullptr;
  for (LumoNode* item = parent != nullptr ? parent->first : nullptr; item != nullptr && desktop == nullptr;
       item = item->next) {
    desktop = dynamic_cast<LumoDesktop*>(item);
  }
  if (desktop == nullptr) {
    return;
  }
  if (Blocker == nullptr) {
    auto* blocker = new (std::nothrow) LumoSprite;
    if (blocker == nullptr) {
      return;
    }
    if (Append(blocker) == nullptr) {
      DestroyObject(blocker);
      return;
    }
    KeepReference(Blocker, blocker);
    blocker->Populate();
    blocker->SetInput(true);
    // While shown it answers every event handled, so nothing under the
    // modal sprites hears a press or a key.
    blocker->SetDefaultInputResult(true);
    if (LumoSequenceList* sequence = blocker->AppendSequence(Engine != nullptr ? Engine->FramesPerPulse : 1, -1)) {
      sequence->AppendCanvasFrame(Width, Height, 1);
    }
    blocker->ResetSequence(false);
    blocker->PreventAnimation();
  }
  // The desktop's modal sprites move in above the blocker, in their order.
  std::vector<LumoSprite*> modal;
  for (LumoNode* item = desktop->first; item != nullptr; item = item->next) {
    auto* sprite = dynamic_cast<LumoSprite*>(item);
    if (sprite != nullptr && sprite->Modal) {
      modal.push_back(sprite);
    }
  }
  for (auto sprite = modal.rbegin(); sprite != modal.rend(); ++sprite) {
    desktop->Remove(*sprite);
    InsertAfter(Blocker, *sprite);
  }
}
