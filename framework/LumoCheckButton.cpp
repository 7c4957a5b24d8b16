#include "framework/LumoCheckButton.h"

#include <utility>

#include "base/DebugFormat.h"

#include "framework/LumoBody.h"
#include "framework/LumoComplexControl.h"
#include "framework/LumoEngine.h"
#include "framework/LumoScrollBar.h"
#include "framework/LumoSequenceList.h"

LumoCheckButton::LumoCheckButton() {
  SetCaptionSide(2);
  SetMargin(Engine != nullptr ? Engine->ControlMargin() : 0);
}

const char* LumoCheckButton::GetClassName() const { return "LumoCheckButton"; }

void LumoCheckButton::SetLook(int index, LumoSequenceList* look) { Keep(Looks[index], look); }

void LumoCheckButton::DoClear() {
  for (int index = 0; index < kLookCount; ++index) {
    SetLook(index, nullptr);
  }
  Checked = false;
  LumoButton::DoClear();
}

void LumoCheckButton::DoAbortReferenceTo(LumoObject* other) {
  LumoButton::DoAbortReferenceTo(other);
  if (other == nullptr) {
    return;
  }
  for (LumoSequenceList*& look : Looks) {
    if (look == other) {
      look = nullptr;
    }
  }
}

void LumoCheckButton::DoExecute() {
  LumoButton::DoExecute();
  if (Checked) {
    Uncheck();
  } else {
    Check();
  }
}

void LumoCheckButton::DoCheck() {}
void LumoCheckButton::DoUncheck() {}
void LumoCheckButton::OnCheck() {}
void LumoCheckButton::OnUncheck() {}

bool LumoCheckButton::SetChecked(bool checked) {
  Checked = checked;
  const int first = checked ? CheckedPressed : UncheckedPressed;
  if (LumoSequenceList* look = Looks[first + 1]) {
    SetNormalLook(look);
  }
  if (LumoSequenceList* look = Looks[first + 2]) {
    SetHotLook(look);
  }
  if (LumoSequenceList* look = Looks[first + 3]) {
    SetDisabledLook(look);
  }
  if (LumoSequenceList* look = Looks[first]) {
    SetPressedLook(look);
  }
  UpdateLookAtCursor();
  return Checked;
}

template <typename Hook>
void LumoCheckButton::CheckStep(const char* operation, const char* hook, Hook&& body) {
  RunGuarded(std::forward<Hook>(body), [&] {
    DebugPrint("LumoCheckButton::%s() Unhandled exception during %s() (Control=%p:%s)\n", operation, hook,
               DebugAddress(this), DebugClassName(this));
  });
}

void LumoCheckButton::Check() {
  if (Checked) {
    return;
  }
  CheckStep("Check", "SetChecked", [&] { SetChecked(true); });
  CheckStep("Check", "DoCheck", [&] { DoCheck(); });
  CheckStep("Check", "OnCheck", [&] { OnCheck(); });
  CheckStep("Check", "Change", [&] { Change(); });
  CheckStep("Check", "OnChange", [&] { OnChange(); });
}

void LumoCheckButton::Uncheck() {
  if (!Checked) {
    return;
  }
  CheckStep("Uncheck", "SetChecked", [&] { SetChecked(false); });
  CheckStep("Uncheck", "DoUncheck", [&] { DoUncheck(); });
  CheckStep("Uncheck", "OnUncheck", [&] { OnUncheck(); });
  CheckStep("Uncheck", "Change", [&] { Change(); });
  CheckStep("Uncheck", "OnChange", [&] { OnChange(); });
}

void LumoCheckButton::SetCheckedNormalLook(const char* name) { SetLook(CheckedNormal, NamedLook(name)); }

void LumoCheckButton::SetCheckedLooks(const char* hot, const char* disabled, const char* pressed) {
  SetLook(CheckedHot, NamedLook(hot));
  SetLook(CheckedDisabled, NamedLook(disabled));
  SetLook(CheckedPressed, NamedLook(pressed));
}

void LumoCheckButton::Define(int32_t x, int32_t y, bool enabled, const char* normal, const char* hot,
                             const char* disabled, const char* pressed, const char* checkedNormal,
                             const char* checkedHot, const char* checkedDisabled, const char* checkedPressed,
                             const char* click, const char* hover, bool checked) {
  int32_t phase = 0;
  try {
    ClearForDefine(phase);
    SetNormalLookNamed(normal);
    SetLooksNamed(hot, disabled, pressed);
    SetLook(UncheckedNormal, NormalLook);
    SetLook(UncheckedHot, HotLook);
    SetLook(UncheckedDisabled, DisabledLook);
    SetLook(UncheckedPressed, PressedLook);
    SetCheckedNormalLook(checkedNormal);
    SetCheckedLooks(checkedHot, checkedDisabled, checkedPressed);
    SetSounds(click, hover);
    SetChecked(checked);
    FinishDefine(phase, x, y, enabled);
  } catch (...) {
    DebugPrint("LumoCheckButton::Define() Unhandled exception (Phase=%i, Control=%p:%s)\n", phase,
               DebugAddress(this), DebugClassName(this));
    Clear();
    throw;
  }
}

// ---- Home button ----

const char* LumoHomeButton::GetClassName() const { return "LumoHomeButton"; }

void LumoHomeButton::SetScrollBar(LumoScrollBar* bar) { Keep(ScrollBar, bar); }

void LumoHomeButton::DoCheck() {
  LumoCheckButton::DoCheck();
  if (ScrollBar != nullptr) {
    ScrollBar->SetLocation(0);
  }
}

void LumoHomeButton::DoUncheck() {
  LumoCheckButton::DoUncheck();
  if (ScrollBar != nullptr) {
    ScrollBar->SetLocation(ScrollBar->Maximum);
  }
}

void LumoHomeButton::DoPopulate() {
  LumoCheckButton::DoPopulate();
  LumoComplexControl* control = ScrollBar != nullptr ? ScrollBar->Receiver : nullptr;
  if (control != nullptr && control->Body != nullptr && OwnerBody == nullptr) {
    control->Body->AttachSprite(this);
  }
}

bool LumoHomeButton::DoMouseDown(tInputEvent* event) {
  const bool handled = LumoCheckButton::DoMouseDown(event);
  LumoComplexControl* control = ScrollBar != nullptr ? ScrollBar->Receiver : nullptr;
  if (Enabled && MouseInput && control != nullptr && !control->Focused) {
    control->Focus();
  }
  return handled;
}

void LumoHomeButton::DoAbortReferenceTo(LumoObject* other) {
  LumoCheckButton::DoAbortReferenceTo(other);
  if (other != nullptr && other == ScrollBar) {
    ScrollBar = nullptr;
  }
}
