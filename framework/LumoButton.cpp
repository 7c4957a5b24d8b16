#include "framework/LumoButton.h"

#include "base/DebugFormat.h"
#include "framework/LumoCell.h"
#include "framework/LumoGraphicNode.h"
#include "framework/LumoSequenceList.h"
#include "framework/LumoSequenceNode.h"
#include "framework/LumoSoundList.h"
#include "framework/LumoSoundNode.h"
#include "runtime/Cursor.h"

LumoButton::LumoButton() = default;

const char* LumoButton::GetClassName() const { return "LumoButton"; }

// ---- Life ----

void LumoButton::DoClear() {
  SetPressedLook(nullptr);
  SetNormalLook(nullptr);
  SetHotLook(nullptr);
  SetDisabledLook(nullptr);
  SetClickSound(nullptr);
  SetHoverSound(nullptr);
  PressCountdown = 0;
  CanvasWidth = 0;
  CanvasHeight = 0;
  Clicking = false;
  HoverPlaying = false;
  Pressed = false;
  MayExecute = true;
  LumoControl::DoClear();
}

void LumoButton::DoAbortReferenceTo(LumoObject* other) {
  LumoControl::DoAbortReferenceTo(other);
  if (other == nullptr) {
    return;
  }
  for (LumoSequenceList** look : {&PressedLook, &NormalLook, &HotLook, &DisabledLook}) {
    if (*look == other) {
      *look = nullptr;
    }
  }
  if (ClickSound == other) {
    ClickSound = nullptr;
    Clicking = false;
  }
  if (HoverSound == other) {
    HoverSound = nullptr;
  }
}

// ---- Looks and sounds ----

LumoSequenceList* LumoButton::SetPressedLook(LumoSequenceList* look) {
  Keep(PressedLook, look);
  return PressedLook;
}

LumoSequenceList* LumoButton::SetNormalLook(LumoSequenceList* look) {
  Keep(NormalLook, look);
  return NormalLook;
}

LumoSequenceList* LumoButton::SetHotLook(LumoSequenceList* look) {
  Keep(HotLook, look);
  return HotLook;
}

LumoSequenceList* LumoButton::SetDisabledLook(LumoSequenceList* look) {
  Keep(DisabledLook, look);
  return DisabledLook;
}

LumoSoundNode* LumoButton::SetClickSound(LumoSoundNode* sound) {
  Keep(ClickSound, sound);
  return ClickSound;
}

LumoSoundNode* LumoButton::SetHoverSound(LumoSoundNode* sound) {
  Keep(HoverSound, sound);
  return HoverSound;
}

void LumoButton::SetPressed(bool on) {
  PressCountdown = 0;
  Pressed = on;
}

void LumoButton::ShowLook(LumoSequenceList* look) {
  if (look == nullptr) {
    look = NormalLook;
  }
  if (look != nullptr && look != SequenceList) {
    SetSequence(look);
  }
}

void LumoButton::ShowPressedLook() { ShowLook(PressedLook); }
void LumoButton::ShowHotLook() { ShowLook(HotLook); }
void LumoButton::ShowDisabledLook() { ShowLook(DisabledLook); }
void LumoButton::ShowNormalLook() { ShowLook(NormalLook); }

void LumoButton::UpdateLook(int32_t x, int32_t y) {
  if (!Enabled) {
    ShowDisabledLook();
    return;
  }
  if (Pressed || Dragging) {
    ShowPressedLook();
    return;
  }
  const int32_t left = CellToScreenX(ActualLeft);
  const int32_t top = CellToScreenY(ActualTop);
  const bool inside = int64_t{x} >= left && int64_t{x} < int64_t{left} + ActualWidth && int64_t{y} >= top &&
                      int64_t{y} < int64_t{top} + ActualHeight;
  if (inside && HitTest(ScreenToCellX(x), ScreenToCellY(y))) {
    ShowHotLook();
  } else {
    ShowNormalLook();
  }
}

void LumoButton::UpdateLookAtCursor() {
  int32_t x = 0;
  int32_t y = 0;
  GetCursorPosition(x, y);
  UpdateLook(x, y);
}

LumoSequenceList* LumoButton::NamedLook(const char* name) {
  if (name == nullptr || *name == '\0') {
    return nullptr;
  }
  LumoSequenceList* look = AppendSequence(kLookFramesPerPulse, -1);
  if (look == nullptr) {
    return nullptr;
  }
  if (look->AppendNamedFrame(name, 1) == nullptr) {
    DestroyObject(look);
    return nullptr;
  }
  return look;
}

void LumoButton::SetNormalLookNamed(const char* name) { SetNormalLook(NamedLook(name)); }

void LumoButton::SetCanvasSize(int32_t width, int32_t height) {
  CanvasWidth = width;
  CanvasHeight = height;
  LumoSequenceList* look = nullptr;
  if (width != 0 && height != 0) {
    look = AppendSequence(kLookFramesPerPulse, -1);
    if (look != nullptr && look->AppendCanvasFrame(width, height, 1) == nullptr) {
      DestroyObject(look);
      look = nullptr;
    }
  }
  SetNormalLook(look);
}

void LumoButton::SetLooksNamed(const char* hot, const char* disabled, const char* pressed) {
  SetHotLook(NamedLook(hot));
  SetDisabledLook(NamedLook(disabled));
  SetPressedLook(NamedLook(pressed));
}

LumoSoundNode* LumoButton::NamedSound(const char* name) {
  if (name == nullptr || *name == '\0' || SoundList == nullptr) {
    return nullptr;
  }
  return dynamic_cast<LumoSoundNode*>(SoundList->GetLoaded(name));
}

void LumoButton::SetSounds(const char* click, const char* hover) {
  SetClickSound(NamedSound(click));
  SetHoverSound(NamedSound(hover));
}

// ---- Set-up ----

void LumoButton::ClearForDefine(int32_t& phase) {
  phase = 1;
  Clear();
  phase = 2;
}

void LumoButton::FinishDefine(int32_t& phase, int32_t x, int32_t y, bool enabled) {
  phase = 3;
  SetPosition(x, y);
  SetInput(true);
  Clicking = false;
  HoverPlaying = false;
  phase = 4;
  DoPopulate();
  OnPopulate();
  phase = 0;
  if (enabled) {
    Enable();
  } else {
    Disable();
    UpdateLookAtCursor();
  }
  phase = 6;
  OnActivate();
  phase = 7;
  DoActivate();
}

void LumoButton::Define(int32_t x, int32_t y, bool enabled, const char* normal, const char* hot, const char* disabled,
                        const char* pressed, const char* click, const char* hover) {
  int32_t phase = 0;
  ClearForDefine(phase);
  SetNormalLookNamed(normal);
  SetLooksNamed(hot, disabled, pressed);
  SetSounds(click, hover);
  FinishDefine(phase, x, y, enabled);
}

void LumoButton::DefineWithCanvas(int32_t x, int32_t y, bool enabled, int32_t width, int32_t height,
                                  const char* click, const char* hover) {
  int32_t phase = 0;
  ClearForDefine(phase);
  SetCanvasSize(width, height);
  SetSounds(click, hover);
  FinishDefine(phase, x, y, enabled);
}

// ---- The click ----

void LumoButton::Click() {
  Accept();
  Execute();
}

void LumoButton::TakeFocus() {
  if (Focusable && !Focused) {
    Focus();
  }
}

void LumoButton::StopHoverSound() {
  if (HoverSound != nullptr) {
    HoverSound->Stop();
  }
}

// A sound that cannot start (no media, no repeats) would never end and so
// never click the button: the click goes on without it.
bool LumoButton::StartClickSound() {
  if (ClickSound == nullptr || !ClickSound->Play(this)) {
    return false;
  }
  Clicking = true;
  ShowPressedLook();
  return true;
}

// Stopping a sound tells its receiver only while the device still plays
// it; one that ended since the last frame's check is finished here.
void LumoButton::StopClickSound() {
  if (ClickSound != nullptr) {
    ClickSound->Stop();
  }
  if (Clicking) {
    EndClick();
  }
}

void LumoButton::EndClick() {
  Clicking = false;
  MayExecute = false;
  try {
    Click();
  } catch (...) {
    MayExecute = true;
    throw;
  }
  MayExecute = true;
  if (Enabled) {
    UpdateLookAtCursor();
  }
}

void LumoButton::DeferredClick() {
  MayExecute = false;
  try {
    Click();
  } catch (...) {
    MayExecute = true;
    throw;
  }
  MayExecute = true;
}

void LumoButton::StartCountdown() {
  SetPressed(true);
  ShowPressedLook();
  PressCountdown = kPressFrames;
}

void LumoButton::BeforeExecute() {
  if (!MayExecute) {
    return;
  }
  StopHoverSound();
  if (Clicking) {
    StopClickSound();
    return;
  }
  if (ClickSound != nullptr) {
    TakeFocus();
    if (StartClickSound()) {
      return;
    }
  }
  if (PressCountdown == 0) {
    TakeFocus();
    StartCountdown();
  }
}

bool LumoButton::DoValidate() { return !Clicking && PressCountdown == 0; }

void LumoButton::AfterExecute() {
  LumoControl::AfterExecute();
  UpdateLookAtCursor();
}

void LumoButton::DoSelectFrame() {
  LumoControl::DoSelectFrame();
  if (PressCountdown == 0) {
    return;
  }
  if (--PressCountdown == 0) {
    SetPressed(false);
    TakeFocus();
    DeferredClick();
  }
}

void LumoButton::DoStopSound() {
  LumoControl::DoStopSound();
  // The hook does not say which sound ended: the click sound when the
  // button waits for it and it is no longer started.
  if (Clicking && ClickSound != nullptr && !ClickSound->Started) {
    EndClick();
  } else if (HoverSound != nullptr && !HoverSound->Started) {
    UpdateLookAtCursor();
  }
}

// ---- Overrides that follow with the look ----

void LumoButton::DoForceAnimation() {
  LumoControl::DoForceAnimation();
  UpdateLookAtCursor();
}

void LumoButton::DoAbortDrop() {
  LumoControl::DoAbortDrop();
  UpdateLookAtCursor();
}

void LumoButton::DoEndDrag(LumoSprite* target) {
  LumoControl::DoEndDrag(target);
  UpdateLookAtCursor();
}

void LumoButton::DoSkipDraggingRequest() {
  LumoControl::DoSkipDraggingRequest();
  UpdateLookAtCursor();
}

void LumoButton::DoEnable() {
  LumoControl::DoEnable();
  UpdateLookAtCursor();
}

void LumoButton::DoDisable() {
  LumoControl::DoDisable();
  if (!(Clicking && ClickSound != nullptr && ClickSound->IsPlaying())) {
    UpdateLookAtCursor();
  }
  StopHoverSound();
  HoverPlaying = false;
}

// ---- Keyboard ----

bool LumoButton::DoKeyDown(tInputEvent* event) {
  const bool handled = LumoControl::DoKeyDown(event);
  StopHoverSound();
  if (event == nullptr) {
    return handled;
  }
  const uint32_t modifiers = event->Flags & kModifierMask;
  const bool hotKey =
      HotKey != 0 && static_cast<uint32_t>(event->Code) == HotKey && modifiers == HotKeyModifiers;
  if (Clicking) {
    if (!hotKey) {
      StopClickSound();
    }
    return true;
  }
  if (PressCountdown > 0 && hotKey) {
    return true;
  }
  const bool clicks = modifiers == 0 && Enabled &&
                      ((event->Code == kReturnKey && (Focused || ExecuteMode == 1)) ||
                       (event->Code == kEscapeKey && ExecuteMode == 2));
  if (!clicks) {
    return handled;
  }
  if (StartClickSound()) {
    return true;
  }
  if (PressCountdown > 0) {
    DeferredClick();
  } else {
    StartCountdown();
  }
  return true;
}

// ---- Mouse ----

bool LumoButton::DoMouseDown(tInputEvent* event) {
  const bool handled = LumoControl::DoMouseDown(event);
  if (Enabled && MouseOver) {
    SetPressed(true);
    ShowPressedLook();
  }
  return handled;
}

bool LumoButton::DoMouseUp(tInputEvent* event) {
  const bool handled = LumoControl::DoMouseUp(event);
  if (Pressed) {
    SetPressed(false);
    return true;
  }
  return handled;
}

bool LumoButton::DoMouseClick(tInputEvent* event) {
  const bool handled = LumoControl::DoMouseClick(event);
  StopHoverSound();
  if (Clicking) {
    StopClickSound();
    return true;
  }
  if (!MouseOver || !Enabled) {
    return handled;
  }
  if (!StartClickSound()) {
    DeferredClick();
  }
  return true;
}

bool LumoButton::DoMouseDoubleClick(tInputEvent* event) {
  const bool handled = LumoControl::DoMouseDoubleClick(event);
  SetPressed(false);
  if (event != nullptr) {
    UpdateLook(event->X, event->Y);
  }
  return handled;
}

bool LumoButton::DoMouseMove(tInputEvent* event) {
  const bool handled = LumoControl::DoMouseMove(event);
  if (Clicking) {
    return true;
  }
  if (Enabled && MouseOver) {
    if (!HoverPlaying && HoverSound != nullptr && !HoverSound->IsPlaying()) {
      HoverPlaying = true;
      HoverSound->Play(this);
    }
    if (!Pressed && !Dragging) {
      ShowHotLook();
    } else {
      ShowPressedLook();
    }
    return true;
  }
  if (!MouseOver) {
    return OnMouseLeave(event) || handled;
  }
  return handled;
}

bool LumoButton::DoMouseLeave(tInputEvent* event) {
  StopHoverSound();
  HoverPlaying = false;
  if (!Clicking) {
    SetPressed(false);
    if (Enabled) {
      if (Dragging && PressedLook != nullptr) {
        ShowPressedLook();
      } else {
        ShowNormalLook();
      }
    }
  }
  LumoControl::DoMouseLeave(event);
  return true;
}
