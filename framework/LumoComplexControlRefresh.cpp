// The refresh button of a complex control: set as a part of the body, made
// with the engine's looks, or placed beside the control's label.

#include <new>

#include "base/DebugFormat.h"
#include "framework/LumoCell.h"
#include "framework/LumoComplexControl.h"
#include "framework/LumoRefreshButton.h"

void LumoComplexControl::InitializeRefreshButton() {}

LumoRefreshButton* LumoComplexControl::CreateRefreshButton() { return new (std::nothrow) LumoRefreshButton; }

LumoRefreshButton* LumoComplexControl::SetRefreshButton(LumoRefreshButton* button) {
  if (!Body) {
    return RefreshButton;
  }
  if (LumoRefreshButton* old = RefreshButton) {
    Body->DetachSprite(old);
    Keep(RefreshButton, static_cast<LumoRefreshButton*>(nullptr));
  }
  if (button == nullptr || Body->AttachSprite(button) == nullptr) {
    return RefreshButton;
  }
  Keep(RefreshButton, button);
  if (!AnimationPrevented) {
    if (Animating) {
      button->StartAnimation();
    }
  } else {
    button->PreventAnimation();
  }
  RunGuarded([&] { InitializeRefreshButton(); },
             [&] { ReportComplexFault("SetRefreshButton", "InitializeRefreshButton"); });
  return RefreshButton;
}

LumoRefreshButton* LumoComplexControl::AttachRefreshButton(int32_t left, int32_t top) {
  LumoCell* cell = Cell();
  if (RefreshButton != nullptr || cell == nullptr) {
    return nullptr;
  }
  LumoRefreshButton* button = CreateRefreshButton();
  if (button == nullptr) {
    return nullptr;
  }
  try {
    if (cell->Append(button) == nullptr) {
      DestroyObject(button);
      return nullptr;
    }
    button->DefineStandard(left, top);
    if (SetRefreshButton(button) != button) {
      DestroyObject(button);
      return nullptr;
    }
  } catch (...) {
    DebugPrint("LumoComplexControl::AttachRefreshButton() Unhandled exception (Control=%p:%s)\n", DebugAddress(this),
               DebugClassName(this));
    DestroyObject(button);
    throw;
  }
  return button;
}

LumoRefreshButton* LumoComplexControl::AttachRefreshButton() {
  if (Label == nullptr) {
    return nullptr;
  }
  LumoRefreshButton* button = AttachRefreshButton(0, 0);
  if (button == nullptr) {
    return nullptr;
  }
  bool placed = false;
  try {
    placed = AttachToLabel(button);
  } catch (...) {
    DebugPrint("LumoComplexControl::AttachRefreshButton() Unhandled exception (Control=%p:%s)\n", DebugAddress(this),
               DebugClassName(this));
    DestroyObject(button);
    throw;
  }
  if (!placed) {
    DestroyObject(button);
    return nullptr;
  }
  return button;
}
