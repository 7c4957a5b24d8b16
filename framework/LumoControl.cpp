#include "framework/LumoControl.h"

#include <new>
#include <vector>

#include "base/DebugFormat.h"
#include "framework/LumoBevel.h"
#include "framework/LumoCell.h"
#include "framework/LumoDesktop.h"
#include "framework/LumoEngine.h"
#include "framework/LumoLabel.h"
#include "framework/LumoMenu.h"
#include "framework/LumoMouseNode.h"
#include "framework/LumoOrganization.h"
#include "framework/LumoOption.h"
#include "framework/LumoScrollBar.h"
#include "runtime/Cursor.h"
#include "runtime/Keyboard.h"
#include "runtime/Regions.h"

namespace {

// The controls attached to a body, in body order.
std::vector<LumoControl*> ControlsOf(LumoBody* body) {
  std::vector<LumoControl*> controls;
  if (body != nullptr) {
    body->VisitItems([&](LumoNode* part) {
      if (auto* control = dynamic_cast<LumoControl*>(LumoBody::SpriteOf(part))) {
        controls.push_back(control);
      }
      return false;
    });
  }
  return controls;
}

}  // namespace

LumoControl::LumoControl() = default;

const char* LumoControl::GetClassName() const { return "LumoControl"; }

void LumoControl::ReportControlFault(const char* operation, const char* hook) const {
  DebugPrint("LumoControl::%s() Unhandled exception during %s() (Control=%p:%s)\n", operation, hook,
             DebugAddress(this), DebugClassName(this));
}

// ---- Life ----

void LumoControl::DoClear() {
  HotKey = 0;
  HotKeyModifiers = 0;
  Keep(HotMouse, static_cast<LumoMouseNode*>(nullptr));
  Organization.reset();
  DestroyPopUpMenu();
  Focused = false;
  Changed = false;
  Enabled = false;
  PressState = PressNotArmed;
  DragAllowed = 1;
  PressX = 0;
  PressY = 0;
  DropAccepted = false;
  AcceptsDrops = true;
  LumoSprite::DoClear();
}

void LumoControl::DoAbortReferenceTo(LumoObject* other) {
  LumoSprite::DoAbortReferenceTo(other);
  if (other != nullptr && other == HotMouse) {
    HotMouse = nullptr;
  }
  if (other != nullptr && static_cast<const void*>(other) == static_cast<const void*>(Label)) {
    Label = nullptr;
  }
  if (other != nullptr && static_cast<const void*>(other) == static_cast<const void*>(Bevel)) {
    Bevel = nullptr;
  }
  if (other != nullptr && static_cast<const void*>(other) == static_cast<const void*>(PopUpMenu)) {
    PopUpMenu = nullptr;
  }
}

LumoMenu* LumoControl::SetPopUpMenu(LumoMenu* menu) {
  Keep(PopUpMenu, static_cast<LumoMenu*>(nullptr));
  if (menu != nullptr && menu->Count > 0) {
    Keep(PopUpMenu, menu);
  }
  return PopUpMenu;
}

void LumoControl::DestroyPopUpMenu() {
  if (LumoMenu* menu = PopUpMenu) {
    Keep(PopUpMenu, static_cast<LumoMenu*>(nullptr));
    DestroyObject(menu);
  }
}

void LumoControl::DebugDumpFields() {
  LumoSprite::DebugDumpFields();
  DebugPrint(", Enabled=%i, Changed=%i Focusable=%i, Focused=%i, fHotMouse=%p", Enabled ? 1 : 0, Changed ? 1 : 0,
             Focusable ? 1 : 0, Focused ? 1 : 0, DebugAddress(HotMouse));
  if (HotMouse != nullptr) {
    DebugPrint(" %s %s", DebugClassName(HotMouse), DebugText(HotMouse->Name));
  }
}

// ---- Default hooks ----

void LumoControl::DoComplete() {
  LumoCell* cell = Cell();
  if (Bevel != nullptr || Margin == 0 || AlignOffset == 0 || AlignLimit == 0 || cell == nullptr) {
    return;
  }
  LumoBevel* bevel = CreateBevel();
  if (bevel == nullptr) {
    return;
  }
  SetBevel(bevel);
  // The bevel lives in the control's cell: the control's own items are its
  // sequences.
  if (cell->Append(bevel) == nullptr) {
    SetBevel(nullptr);
    DestroyObject(bevel);
    return;
  }
  bevel->Define(this, static_cast<uint32_t>(AlignOffset), static_cast<uint32_t>(AlignLimit));
}

LumoBevel* LumoControl::SetBevel(LumoBevel* bevel) {
  Keep(Bevel, bevel);
  return Bevel;
}

LumoBevel* LumoControl::CreateBevel() { return new (std::nothrow) LumoBevel; }

void LumoControl::ShowFocusBevel() {
  if (Bevel == nullptr || (Bevel->Style & LumoBevel::kFocusOnly) == 0) {
    return;
  }
  if (Focused && !AnimationPrevented) {
    Bevel->ForceAnimation();
  } else {
    Bevel->PreventAnimation();
  }
}

void LumoControl::DoEnableBodyParts() {
  for (LumoControl* part : ControlsOf(Body.get())) {
    part->Enable();
  }
}

void LumoControl::DoDisableBodyParts() {
  for (LumoControl* part : ControlsOf(Body.get())) {
    part->Disable();
  }
}

bool LumoControl::CanEnable() { return true; }
void LumoControl::DoEnable() {}
bool LumoControl::CanDisable() { return true; }
void LumoControl::DoDisable() {}
void LumoControl::DoEnter(LumoControl*) {}
void LumoControl::DoLeave(LumoControl*) {}
bool LumoControl::SetFocusable(bool on) { return Focusable = on; }
bool LumoControl::SetChanged(bool on) { return Changed = on; }
void LumoControl::DoChange() {}
void LumoControl::BeforeExecute() {}
bool LumoControl::DoValidate() { return true; }
void LumoControl::DoExecute() {}
void LumoControl::AfterExecute() {}
void LumoControl::DoPopUp() {
  if (PopUpMenu == nullptr) {
    return;
  }
  int32_t x = 0;
  int32_t y = 0;
  GetCursorPosition(x, y);
  PopUpMenu->PopUpAt(ScreenToCellX(x), ScreenToCellY(y));
}
void LumoControl::DoAccept() {}
void LumoControl::DoReject() {}
void LumoControl::DoSkipDraggingRequest() {}
int32_t LumoControl::SetAlignment(int32_t alignment) { return Alignment = alignment; }
int32_t LumoControl::SetAlignedSize(int32_t size) { return AlignedSize = size; }
int32_t LumoControl::SetExecuteMode(int32_t mode) { return ExecuteMode = mode; }

void LumoControl::SetHotKey(uint32_t key, uint32_t modifiers) {
  HotKey = key;
  HotKeyModifiers = modifiers;
}

LumoMouseNode* LumoControl::SetHotMouse(LumoMouseNode* mouse) {
  Keep(HotMouse, mouse);
  return HotMouse;
}

bool LumoControl::IsFocusable(LumoControl*) { return Focusable; }
int32_t LumoControl::SetMinimumSize(int32_t size) { return MinimumSize = size; }

int32_t LumoControl::SetMargin(int32_t margin) {
  if (margin >= 0) {
    Margin = margin;
    Gap = static_cast<int32_t>(2 * static_cast<int64_t>(margin));
  }
  return Margin;
}

int32_t LumoControl::SetAlignOffset(int32_t offset) { return AlignOffset = offset; }
int32_t LumoControl::SetAlignLimit(int32_t limit) { return AlignLimit = limit; }
int32_t LumoControl::SetCaptionSide(int32_t side) { return CaptionSide = side; }
void LumoControl::OnComplete() {}
void LumoControl::OnEnable() {}
void LumoControl::OnDisable() {}
void LumoControl::OnEnter(LumoControl*) {}
void LumoControl::OnLeave(LumoControl*) {}
void LumoControl::OnChange() {}
bool LumoControl::OnValidate(bool valid) { return valid; }
void LumoControl::OnExecute() {}
void LumoControl::OnPopUp() {}
void LumoControl::OnAccept() {}
void LumoControl::OnReject() {}

// ---- Completion and the default bevel ----

void LumoControl::Complete() {
  ControlGuarded("Complete", "DoComplete", [&] { DoComplete(); });
  ControlGuarded("Complete", "OnComplete", [&] { OnComplete(); });
}

void LumoControl::UseDefaultBevel() {
  SetMargin(Engine != nullptr ? Engine->DefaultBevelWidth() : 0);
  SetAlignOffset(Engine != nullptr ? Engine->DefaultBevelStyle() : 0);
  SetAlignLimit(15);
}

void LumoControl::NoBevel() {
  SetMargin(0);
  SetAlignOffset(0);
  SetAlignLimit(0);
}

// ---- Enabling ----

void LumoControl::Enable() {
  if (Enabled || !CanEnable()) {
    return;
  }
  Enabled = true;
  ControlGuarded("Enable", "ShowCaption", [&] { ShowCaption(); });
  ControlGuarded("Enable", "DoEnableBodyParts", [&] { DoEnableBodyParts(); });
  ControlGuarded("Enable", "DoEnable", [&] { DoEnable(); });
  if (Enabled) {
    ControlGuarded("Enable", "OnEnable", [&] { OnEnable(); });
  }
}

void LumoControl::Disable() {
  if (!Enabled || !CanDisable()) {
    return;
  }
  if (Focused) {
    if (LumoCell* cell = Cell()) {
      RunGuarded([&] { cell->NextFocus(this, true); }, [&] {
        DebugPrint("LumoControl::Disable() Unhandled exception during %s::NextFocus() (Control=%p:%s)\n",
                   DebugClassName(cell), DebugAddress(this), DebugClassName(this));
      });
    }
    if (Focused) {
      ControlGuarded("Disable", "Leave", [&] { Leave(nullptr); });
    }
  }
  Enabled = false;
  ControlGuarded("Disable", "ShowCaption", [&] { ShowCaption(); });
  ControlGuarded("Disable", "DoDisableBodyParts", [&] { DoDisableBodyParts(); });
  ControlGuarded("Disable", "DoDisable", [&] { DoDisable(); });
  if (!Enabled) {
    ControlGuarded("Disable", "OnDisable", [&] { OnDisable(); });
  }
}

// ---- Focus ----

bool LumoControl::Enter(LumoControl* previous) {
  if (!Enabled || Focused || !Focusable) {
    return false;
  }
  Focused = true;
  ControlGuarded("Enter", "BringToFront", [&] { MoveToBack(); });
  ControlGuarded("Enter", "ShowCaption", [&] { ShowCaption(); });
  ShowFocusBevel();
  ControlGuarded("Enter", "DoEnter", [&] { DoEnter(previous); });
  if (Focused) {
    ControlGuarded("Enter", "OnEnter", [&] { OnEnter(previous); });
  }
  return true;
}

bool LumoControl::Leave(LumoControl* next) {
  if (!Focused || !IsFocusable(next)) {
    return false;
  }
  Focused = false;
  ControlGuarded("Leave", "ShowCaption", [&] { ShowCaption(); });
  ShowFocusBevel();
  ControlGuarded("Leave", "DoLeave", [&] { DoLeave(next); });
  if (!Focused) {
    ControlGuarded("Leave", "OnLeave", [&] { OnLeave(next); });
  }
  return true;
}

void LumoControl::Focus() {
  LumoCell* cell = Cell();
  if (cell == nullptr) {
    return;
  }
  RunGuarded([&] {
    // The others are listed first: leaving may reorder the cell.
    std::vector<LumoControl*> others;
    cell->VisitItems([&](LumoNode* item) {
      if (auto* control = dynamic_cast<LumoControl*>(item); control != nullptr && control != this) {
        others.push_back(control);
      }
      return false;
    });
    LumoControl* previous = nullptr;
    for (LumoControl* other : others) {
      if (other->parent == cell && other->Leave(this)) {
        previous = other;
      }
    }
    Enter(previous);
  }, [&] {
    DebugPrint("LumoControl::Focus() Unhandled exception (Control=%p:%s)\n", DebugAddress(this), DebugClassName(this));
  });
}

void LumoControl::DoPreventAnimation() {
  if (Focused) {
    Leave(nullptr);
  }
  LumoSprite::DoPreventAnimation();
}

// ---- Execution ----

void LumoControl::Execute() {
  ControlGuarded("Execute", "BeforeExecute", [&] { BeforeExecute(); });
  const bool valid = ControlGuarded("Execute", "DoValidate", [&] { return DoValidate(); });
  if (ControlGuarded("Execute", "OnValidate", [&] { return OnValidate(valid); })) {
    ControlGuarded("Execute", "DoExecute", [&] { DoExecute(); });
    ControlGuarded("Execute", "OnExecute", [&] { OnExecute(); });
    ControlGuarded("Execute", "AfterExecute", [&] { AfterExecute(); });
  }
}

void LumoControl::PopUp() {
  if (!Animating || !Enabled) {
    return;
  }
  ControlGuarded("PopUp", "DoPopUp", [&] { DoPopUp(); });
  ControlGuarded("PopUp", "OnPopUp", [&] { OnPopUp(); });
}

void LumoControl::Change() {
  ControlGuarded("Change", "SetChanged", [&] { SetChanged(true); });
  ControlGuarded("Change", "DoChange", [&] { DoChange(); });
}

void LumoControl::Accept() {
  ControlGuarded("Accept", "DoAccept", [&] { DoAccept(); });
  ControlGuarded("Accept", "OnAccept", [&] { OnAccept(); });
}

void LumoControl::Reject() {
  ControlGuarded("Reject", "DoReject", [&] { DoReject(); });
  ControlGuarded("Reject", "OnReject", [&] { OnReject(); });
}

// ---- Keyboard ----

// The run-time system maps Tab to Tab without flags, so running every
// mapping again would handle a plain Tab twice. The mapped event runs only
// when the first run left the key unhandled and the mapping changed it (a
// Ctrl+Tab no control takes becomes a plain Tab).
bool LumoControl::RunKey(tInputEvent* event, bool up) {
  // The sprite's own operation, called by name so it is not this override.
  const auto run = [&] { return up ? LumoSprite::KeyUp(event) : LumoSprite::KeyDown(event); };
  const bool handled = run();
  int32_t key = 0;
  uint32_t flags = 0;
  if (!MapControlKeys(event->Code, event->Flags, key, flags)) {
    return handled;
  }
  if (key == kMenuKey) {
    return true;
  }
  if (handled || (key == event->Code && flags == event->Flags)) {
    return handled;
  }
  event->Code = key;
  event->Flags = flags;
  return run();
}

bool LumoControl::KeyDown(tInputEvent* event) {
  if (event == nullptr) {
    return false;
  }
  if (event->Code == kMenuKey) {
    return true;
  }
  return RunKey(event, false);
}

bool LumoControl::KeyUp(tInputEvent* event) {
  if (event == nullptr) {
    return false;
  }
  int32_t key = event->Code;
  uint32_t flags = event->Flags;
  if (event->Code != kMenuKey) {
    MapControlKeys(event->Code, event->Flags, key, flags);
  }
  if (key == kMenuKey) {
    ControlGuarded("KeyUp", "PopUp", [&] { PopUp(); });
    return true;
  }
  return RunKey(event, true);
}

bool LumoControl::DoKeyDown(tInputEvent* event) {
  if (!Enabled || event == nullptr) {
    return false;
  }
  const uint32_t modifiers = event->Flags & kModifierMask;
  if (HotKey != 0 && static_cast<uint32_t>(event->Code) == HotKey && modifiers == HotKeyModifiers) {
    Accept();
    Execute();
    return true;
  }
  LumoCell* cell = Cell();
  if (!Focused || event->Code != kTabKey || cell == nullptr) {
    return false;
  }
  if (modifiers == kShiftBit) {
    cell->PreviousFocus(this, true);
    return true;
  }
  if (modifiers == 0) {
    cell->NextFocus(this, true);
    return true;
  }
  return false;
}

// ---- Mouse ----

void LumoControl::ShowHotMouse() {
  if (HotMouse != nullptr && Engine != nullptr && Engine->Mouse != HotMouse) {
    Engine->SetMouse(HotMouse);
  }
}

void LumoControl::RestoreMouse() {
  if (HotMouse != nullptr && Engine != nullptr && Engine->Mouse == HotMouse) {
    Engine->SetMouse(Engine->GetFirstMouse());
  }
}

bool LumoControl::DoMouseDown(tInputEvent* event) {
  if (!MouseOver) {
    return false;
  }
  if (!Enabled) {
    return true;
  }
  if (Focusable && !Focused) {
    Focus();
  }
  if (PressState == PressArmed) {
    PressState = PressPending;
    PressX = event != nullptr ? event->X : 0;
    PressY = event != nullptr ? event->Y : 0;
  }
  return true;
}

bool LumoControl::DoMouseMove(tInputEvent* event) {
  if (!MouseOver) {
    RestoreMouse();
    return false;
  }
  if (!Enabled) {
    return true;
  }
  ShowHotMouse();
  if (!Dragging && PressState == PressPending && event != nullptr && (event->Flags & kHeldButtonMask) != 0) {
    Drag(PressX, PressY);
    if (Dragging) {
      return true;
    }
  }
  SkipDraggingRequest();
  return true;
}

bool LumoControl::DoMouseUp(tInputEvent*) {
  if (Dragging) {
    Drop();
    return true;
  }
  SkipDraggingRequest();
  return false;
}

bool LumoControl::DoMouseLeave(tInputEvent*) {
  SkipDraggingRequest();
  RestoreMouse();
  return false;
}

bool LumoControl::DoMouseClick(tInputEvent* event) {
  if (!MouseOver) {
    return false;
  }
  if (event != nullptr && (event->Flags & kRightButtonBit) != 0) {
    PopUp();
  }
  return true;
}

bool LumoControl::DoMouseDoubleClick(tInputEvent*) { return MouseOver; }

bool LumoControl::SkipDraggingRequest() {
  if (PressState != PressPending) {
    return false;
  }
  PressState = PressArmed;
  ControlGuarded("SkipDraggingRequest", "DoSkipDraggingRequest", [&] { DoSkipDraggingRequest(); });
  return true;
}

// ---- Dragging and dropping ----

void LumoControl::ArmDragging(int32_t allowed) {
  DragAllowed = allowed;
  if (PressState == PressNotArmed) {
    PressState = Dragging ? PressDragging : PressArmed;
  }
}

void LumoControl::DisarmDragging() { PressState = PressNotArmed; }

bool LumoControl::IsPressPending() const { return !Dragging && PressState == PressPending; }

void LumoControl::SetAcceptsDrops(bool on) {
  AcceptsDrops = on;
  DropAccepted = true;
}

void LumoControl::ClearDropAccepted() { DropAccepted = false; }

void LumoControl::SetDragging(bool on) {
  if (PressState != PressNotArmed) {
    if (on) {
      PressState = DragAllowed > 0 ? PressDragging : PressNotArmed;
    } else {
      PressState = DragAllowed != 0 ? PressArmed : PressNotArmed;
    }
  }
  LumoSprite::SetDragging(on);
}

bool LumoControl::AcceptsDrop(LumoSprite*) { return DropAccepted; }

void LumoControl::DoCatch(LumoSprite*) {
  if (!AcceptsDrops) {
    DropAccepted = false;
  }
}

LumoSprite* LumoControl::CanDrop() {
  if (DropTarget != nullptr) {
    return DropTarget;
  }
  RegionHandle own = Region();
  if (own == nullptr) {
    return nullptr;
  }
  for (RegionHandle region = LastRegion(); region != nullptr; region = PreviousRegion(region)) {
    if (region == own) {
      continue;
    }
    auto* object = static_cast<tObject*>(CompareRegion(region, own));
    auto* sprite = dynamic_cast<LumoSprite*>(object);
    if (sprite != nullptr && sprite->AcceptsDrop(this)) {
      return sprite;
    }
  }
  return nullptr;
}

// ---- Layout ----

// Labels are placed by the caption side; scroll bars go beside the
// control, as long as it.
bool LumoControl::DoCalculateBounds(LumoSprite* item, int32_t& left, int32_t& top, int32_t& width, int32_t& height,
                                    int32_t controlLeft, int32_t controlTop, int32_t controlWidth,
                                    int32_t controlHeight) {
  if (auto* label = dynamic_cast<LumoLabel*>(item)) {
    return PlaceLabel(label, left, top, width, height, controlLeft, controlTop, controlWidth, controlHeight);
  }
  const auto* bar = dynamic_cast<const LumoScrollBar*>(item);
  if (bar == nullptr) {
    return false;
  }
  if (bar->Horizontal) {
    left = controlLeft;
    top = static_cast<int32_t>(int64_t{controlTop} + controlHeight + Gap);
    width = controlWidth;
  } else {
    left = static_cast<int32_t>(int64_t{controlLeft} + controlWidth + Gap);
    top = controlTop;
    height = controlHeight;
  }
  return true;
}

bool LumoControl::CalculateBounds(LumoSprite* item, int32_t& left, int32_t& top, int32_t& width, int32_t& height) {
  left = 0;
  top = 0;
  width = 0;
  height = 0;
  if (item == nullptr) {
    return false;
  }
  ControlGuarded("CalculateBounds", "GetMaximumBounds", [&] { item->GetBounds(left, top, width, height, false, true); });
  int32_t controlLeft = 0;
  int32_t controlTop = 0;
  int32_t controlWidth = 0;
  int32_t controlHeight = 0;
  GetBounds(controlLeft, controlTop, controlWidth, controlHeight, false, false);
  return ControlGuarded("CalculateBounds", "DoCalculateBounds", [&] {
    return DoCalculateBounds(item, left, top, width, height, controlLeft, controlTop, controlWidth, controlHeight);
  });
}

bool LumoControl::DoAlignBounds(int32_t alignment, int32_t size, bool useClientArea, int32_t& left, int32_t& top,
                                int32_t& width, int32_t& height) {
  if (alignment == 0) {
    return false;
  }
  const LumoCell* cell = Cell();
  if (cell == nullptr || alignment < 1 || alignment > 4) {
    return false;
  }
  const auto* complex = useClientArea ? dynamic_cast<const LumoComplexCell*>(cell) : nullptr;
  // In a complex cell whose menu has entries the menu gives the margin (its
  // first entry's) and the style; else the engine's default bevel does.
  const LumoMenu* menu = complex != nullptr ? complex->Menu : nullptr;
  const auto* menuFirst = menu != nullptr ? dynamic_cast<const LumoItem*>(menu->first) : nullptr;
  if (menuFirst != nullptr) {
    SetMargin(menuFirst->Option != nullptr ? menuFirst->Option->Margin : 0);
    SetAlignOffset(menu->BevelStyle);
  } else {
    SetMargin(Engine != nullptr ? Engine->DefaultBevelWidth() : 0);
    SetAlignOffset(Engine != nullptr ? Engine->DefaultBevelStyle() : 0);
  }
  SetAlignment(alignment);
  SetAlignedSize(size);
  // Worked out in 64 bits; results are 32-bit as stored.
  const int64_t m = Margin;
  int64_t l = m;
  int64_t t = m;
  int64_t wd = size;
  int64_t ht = size;
  if (complex != nullptr) {
    // Within the client area: what the cell's other aligned controls leave.
    const int64_t cl = complex->ClientLeft;
    const int64_t ct = complex->ClientTop;
    const int64_t cw = complex->ClientWidth;
    const int64_t ch = complex->ClientHeight;
    l = cl + m;
    t = ct + m;
    switch (alignment) {
      case 1:
        ht = ch - 2 * m;
        break;
      case 2:
        wd = cw - 2 * m;
        break;
      case 3:
        l = cl + cw - size - m;
        ht = ch - 2 * m;
        break;
      default:
        t = ct + ch - size - m;
        wd = cw - 2 * m;
        break;
    }
  } else {
    const int64_t w = cell->Width;
    const int64_t h = cell->Height;
    switch (alignment) {
      case 1:
        ht = h - 2 * m;
        break;
      case 2:
        wd = w - 2 * m;
        break;
      case 3:
        l = w - 2 * m - size;
        ht = h - 2 * m;
        break;
      default:
        t = h - 2 * m - size;
        wd = w - 2 * m;
        break;
    }
  }
  const auto narrow = [](int64_t value) {
    return static_cast<int32_t>(value < INT32_MIN ? INT32_MIN : value > INT32_MAX ? INT32_MAX : value);
  };
  left = narrow(l);
  top = narrow(t);
  width = narrow(wd);
  height = narrow(ht);
  return true;
}

bool LumoControl::AlignBounds(int32_t alignment, int32_t size, bool useClientArea, int32_t& left, int32_t& top,
                              int32_t& width, int32_t& height) {
  return RunGuarded([&] { return DoAlignBounds(alignment, size, useClientArea, left, top, width, height); }, [&] {
    DebugPrint("LumoControl::AlignBounds() Unhandled exception during DoAlignBounds (Control=%p:%s)\n",
               DebugAddress(this), DebugClassName(this));
  });
}
