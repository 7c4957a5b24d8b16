#include "framework/LumoCell.h"

#include <algorithm>
#include <new>

#include "base/DebugFormat.h"
#include "framework/LumoCommandNode.h"
#include "framework/LumoControl.h"
#include "framework/LumoGraphicNode.h"
#include "framework/LumoOption.h"
#include "framework/LumoSequenceList.h"
#include "framework/LumoSequenceNode.h"
#include "framework/LumoSprite.h"
#include "runtime/Printing.h"

namespace {

LumoObject* FocusObjectOf(const LumoNode* node) { return reinterpret_cast<LumoObject*>(node->Data); }

// The largest offset that still shows only the virtual area: 0 when the
// area is no larger than the viewport. Worked out in 64 bits, so no sum of
// two 32-bit values overflows.
int32_t ClampOffset(int32_t offset, int32_t viewportSize, int32_t virtualSize) {
  const int64_t largest = std::max<int64_t>(int64_t{virtualSize} - viewportSize, 0);
  return static_cast<int32_t>(std::clamp<int64_t>(offset, 0, largest));
}

}  // namespace

LumoCell::LumoCell() : FocusList(new (std::nothrow) LumoList), CommandList(new (std::nothrow) LumoCommandList) {}

LumoCell::~LumoCell() { ReleaseViewport(); }

const char* LumoCell::GetClassName() const { return "LumoCell"; }

// ---- Life ----

void LumoCell::DoFree() {
  CommandList.reset();
  ClearFocusList();
  FocusList.reset();
  LumoAnimator::DoFree();
}

void LumoCell::OnAbortReferenceTo(LumoObject* other) {
  LumoAnimator::OnAbortReferenceTo(other);
  if (other == nullptr || !FocusList) {
    return;
  }
  FocusList->VisitItems([&](LumoNode* node) {
    if (FocusObjectOf(node) == other) {
      node->Data = 0;
      DestroyObject(node);
      return true;
    }
    return false;
  });
}

void LumoCell::ClearFocusList() {
  if (!FocusList) {
    return;
  }
  FocusList->VisitItems([&](LumoNode* node) {
    if (LumoObject* control = FocusObjectOf(node)) {
      node->Data = 0;
      RemoveReference(control);
    }
    return false;
  });
  FocusList->Clear();
}

void LumoCell::DoClear() {
  if (CommandList) {
    CommandList->Clear();
  }
  ClearFocusList();
  LumoAnimator::DoClear();
}

LumoNode* LumoCell::CreateItem() { return new (std::nothrow) LumoSprite; }

void LumoCell::DoAttach(LumoNode* item) {
  LumoAnimator::DoAttach(item);
  auto* control = dynamic_cast<LumoControl*>(item);
  if (control == nullptr || !FocusList || FocusNodeOf(control) != nullptr) {
    return;
  }
  auto* node = new (std::nothrow) LumoNode;
  if (node == nullptr) {
    return;
  }
  if (AddReference(control) == nullptr) {
    DestroyObject(node);
    return;
  }
  node->Data = reinterpret_cast<uintptr_t>(static_cast<LumoObject*>(control));
  if (FocusList->Append(node) == nullptr) {
    node->Data = 0;
    DestroyObject(node);
    RemoveReference(control);
  }
}

// ---- The focus order ----

std::vector<LumoControl*> LumoCell::FocusControls() const {
  std::vector<LumoControl*> controls;
  if (FocusList) {
    FocusList->VisitItems([&](LumoNode* node) {
      if (auto* control = dynamic_cast<LumoControl*>(FocusObjectOf(node))) {
        controls.push_back(control);
      }
      return false;
    });
  }
  return controls;
}

LumoNode* LumoCell::FocusNodeOf(const LumoControl* control) const {
  if (control == nullptr || !FocusList) {
    return nullptr;
  }
  const auto* object = static_cast<const LumoObject*>(control);
  LumoNode* found = nullptr;
  FocusList->VisitItems([&](LumoNode* node) {
    if (FocusObjectOf(node) == object) {
      found = node;
      return true;
    }
    return false;
  });
  return found;
}

// Options (the only controls that the skip excludes) are a kind of control
// of their own; until one exists no control is skipped.
// Skipping options keeps Tab and the focus hand-over of a disabled control
// out of the menus: their entries take the focus through the menu's keys.
bool LumoCell::IsUsable(const LumoControl* control, bool skipOptions) {
  return control != nullptr && control->parent != nullptr && control->Focusable && control->Enabled &&
         control->Animating && !(skipOptions && dynamic_cast<const LumoOption*>(control) != nullptr);
}

LumoControl* LumoCell::GetFocusedControl() {
  for (LumoControl* control : FocusControls()) {
    if (control->parent != nullptr && control->Focused) {
      return control;
    }
  }
  return nullptr;
}

LumoControl* LumoCell::GetFirstFocus(bool skipOptions) {
  for (LumoControl* control : FocusControls()) {
    if (IsUsable(control, skipOptions)) {
      return control;
    }
  }
  return nullptr;
}

LumoControl* LumoCell::GetLastFocus(bool skipOptions) {
  const std::vector<LumoControl*> controls = FocusControls();
  for (auto at = controls.rbegin(); at != controls.rend(); ++at) {
    if (IsUsable(*at, skipOptions)) {
      return *at;
    }
  }
  return nullptr;
}

// Walks the focus order from current's place by step (+1 or -1), wrapping
// round, up to current itself.
LumoControl* LumoCell::WalkFocus(LumoControl* current, bool skipOptions, int step) {
  if (current == nullptr || FocusNodeOf(current) == nullptr) {
    return nullptr;
  }
  std::vector<LumoNode*> nodes;
  FocusList->VisitItems([&](LumoNode* node) {
    nodes.push_back(node);
    return false;
  });
  const auto count = static_cast<int64_t>(nodes.size());
  int64_t at = 0;
  while (FocusObjectOf(nodes[static_cast<size_t>(at)]) != static_cast<LumoObject*>(current)) {
    ++at;
  }
  for (int64_t walked = 1; walked < count; ++walked) {
    const int64_t index = ((at + step * walked) % count + count) % count;
    auto* control = dynamic_cast<LumoControl*>(FocusObjectOf(nodes[static_cast<size_t>(index)]));
    if (IsUsable(control, skipOptions)) {
      return control;
    }
  }
  return nullptr;
}

LumoControl* LumoCell::GetNextFocus(LumoControl* current, bool skipOptions) {
  return WalkFocus(current, skipOptions, 1);
}

LumoControl* LumoCell::GetPreviousFocus(LumoControl* current, bool skipOptions) {
  return WalkFocus(current, skipOptions, -1);
}

namespace {

// Focuses what the walk found, each step under its own report.
template <typename Walk, typename ReportWalk, typename ReportFocus>
LumoControl* FocusFound(Walk&& walk, ReportWalk&& reportWalk, ReportFocus&& reportFocus) {
  LumoControl* found = RunGuarded(std::forward<Walk>(walk), std::forward<ReportWalk>(reportWalk));
  if (found != nullptr) {
    RunGuarded([&] { found->Focus(); }, [&] { reportFocus(found); });
  }
  return found;
}

}  // namespace

LumoControl* LumoCell::FirstFocus(bool skipOptions) {
  return FocusFound([&] { return GetFirstFocus(skipOptions); }, [&] {
    DebugPrint("LumoCell::FirstFocus() Unhandled exception during GetFirstFocus() (Cell=%p:%s)\n", DebugAddress(this),
               DebugClassName(this));
  }, [&](LumoControl* found) {
    DebugPrint("LumoCell::FirstFocus() Unhandled exception during Focus() (Cell=%p:%s, New=%p:%s)\n", DebugAddress(this),
               DebugClassName(this), DebugAddress(found), DebugClassName(found));
  });
}

LumoControl* LumoCell::LastFocus(bool skipOptions) {
  return FocusFound([&] { return GetLastFocus(skipOptions); }, [&] {
    DebugPrint("LumoCell::LastFocus() Unhandled exception during GetLastFocus() (Cell=%p:%s)\n", DebugAddress(this),
               DebugClassName(this));
  }, [&](LumoControl* found) {
    DebugPrint("LumoCell::LastFocus() Unhandled exception during Focus() (Cell=%p:%s, New=%p:%s)\n", DebugAddress(this),
               DebugClassName(this), DebugAddress(found), DebugClassName(found));
  });
}

LumoControl* LumoCell::PreviousFocus(LumoControl* current, bool skipOptions) {
  return FocusFound([&] { return GetPreviousFocus(current, skipOptions); }, [&] {
    DebugPrint("LumoCell::PreviousFocus() Unhandled exception during GetPreviousFocus() (Cell=%p:%s, Current=%p:%s)\n",
               DebugAddress(this), DebugClassName(this), DebugAddress(current), DebugClassName(current));
  }, [&](LumoControl* found) {
    DebugPrint(
        "LumoCell::PreviousFocus() Unhandled exception during Focus() (Cell=%p:%s, Current=%p:%s, New=%p:%s)\n",
        DebugAddress(this), DebugClassName(this), DebugAddress(current), DebugClassName(current),
        DebugAddress(found), DebugClassName(found));
  });
}

LumoControl* LumoCell::NextFocus(LumoControl* current, bool skipOptions) {
  return FocusFound([&] { return GetNextFocus(current, skipOptions); }, [&] {
    DebugPrint("LumoCell::NextFocus() Unhandled exception during GetNextFocus() (Cell=%p:%s, Current=%p:%s)\n",
               DebugAddress(this), DebugClassName(this), DebugAddress(current), DebugClassName(current));
  }, [&](LumoControl* found) {
    DebugPrint("LumoCell::NextFocus() Unhandled exception during Focus() (Cell=%p:%s, Current=%p:%s, New=%p:%s)\n",
               DebugAddress(this), DebugClassName(this), DebugAddress(current), DebugClassName(current),
               DebugAddress(found), DebugClassName(found));
  });
}

template <typename Test>
void LumoCell::DisableWhere(Test&& test) {
  const std::vector<LumoControl*> controls = FocusControls();
  for (auto at = controls.rbegin(); at != controls.rend(); ++at) {
    if ((*at)->parent != nullptr && test(*at)) {
      (*at)->Disable();
    }
  }
}

template <typename Test>
void LumoCell::EnableWhere(Test&& test) {
  for (LumoControl* control : FocusControls()) {
    if (control->parent != nullptr && test(control)) {
      control->Enable();
    }
  }
}

LumoControl* LumoCell::Disable(int32_t tag) {
  LumoControl* focused = GetFocusedControl();
  RunGuarded([&] { DisableWhere([&](LumoControl* control) { return control->Tag == tag; }); }, [&] {
    DebugPrint("LumoCell::Disable() Unhandled exception (Cell=%p:%s)\n", DebugAddress(this), DebugClassName(this));
  });
  return focused;
}

LumoControl* LumoCell::DisableAll() {
  LumoControl* focused = GetFocusedControl();
  RunGuarded([&] { DisableWhere([](LumoControl*) { return true; }); }, [&] {
    DebugPrint("LumoCell::DisableAll() Unhandled exception (Cell=%p:%s)\n", DebugAddress(this), DebugClassName(this));
  });
  return focused;
}

LumoControl* LumoCell::EnableAndFocus(LumoControl* control) {
  if (control != nullptr && control->Focusable && control->Animating && FocusNodeOf(control) != nullptr) {
    control->Focus();
    if (control->Focused) {
      return control;
    }
  }
  if (LumoControl* focused = GetFocusedControl()) {
    return focused;
  }
  return FirstFocus(true);
}

LumoControl* LumoCell::Enable(int32_t tag, LumoControl* control) {
  return RunGuarded([&] {
    EnableWhere([&](LumoControl* each) { return each->Tag == tag; });
    return EnableAndFocus(control);
  }, [&] {
    DebugPrint("LumoCell::Enable() Unhandled exception (Cell=%p:%s)\n", DebugAddress(this), DebugClassName(this));
  });
}

LumoControl* LumoCell::EnableAll(LumoControl* control) {
  return RunGuarded([&] {
    EnableWhere([](LumoControl*) { return true; });
    return EnableAndFocus(control);
  }, [&] {
    DebugPrint("LumoCell::EnableAll() Unhandled exception (Cell=%p:%s)\n", DebugAddress(this), DebugClassName(this));
  });
}

LumoControl* LumoCell::ReleaseFocus() {
  LumoControl* released = nullptr;
  for (LumoControl* control : FocusControls()) {
    if (control->parent == nullptr) {
      continue;
    }
    if (released == nullptr && control->Focused && control->Animating) {
      released = control;
    }
    control->Leave(nullptr);
  }
  return released;
}

// ---- The viewport ----

void LumoCell::ReleaseViewport() {
  if (Data != 0) {
    ViewportHandle viewport = Viewport();
    Data = 0;
    ::DestroyViewport(viewport);
  }
}

uintptr_t LumoCell::SetData(uintptr_t value) {
  if (value != Data) {
    ReleaseViewport();
    Data = value;
  }
  return Data;
}

uintptr_t LumoCell::Load() {
  ReleaseViewport();
  Data = reinterpret_cast<uintptr_t>(CreateViewport(Left, Top, Width, Height));
  return Data;
}

void LumoCell::Unload() {
  StopAnimation();
  ReleaseViewport();
}

void LumoCell::SetViewport(int32_t left, int32_t top, int32_t width, int32_t height) {
  if (width <= 0 || height <= 0) {
    return;
  }
  if (Data != 0 && width == Width && height == Height) {
    Left = left;
    Top = top;
    MoveViewport(Viewport(), left, top);
    return;
  }
  ReleaseViewport();
  Left = left;
  Top = top;
  Width = width;
  Height = height;
  Data = reinterpret_cast<uintptr_t>(CreateViewport(left, top, width, height));
  // The virtual area is never smaller than the viewport: a first viewport
  // gives its size, and one grown past the area widens it. A larger
  // viewport may leave the scroll position past the area's end, so it is
  // clamped again.
  VirtualWidth = std::max(VirtualWidth, width);
  VirtualHeight = std::max(VirtualHeight, height);
  ForEachAnimator([](LumoAnimator* item) {
    if (auto* sprite = dynamic_cast<LumoSprite*>(item)) {
      sprite->Changed = true;
    }
  });
  SetOffsetXY(OffsetX, OffsetY);
}

void LumoCell::MoveTo(int32_t left, int32_t top) { SetViewport(left, top, Width, Height); }

void LumoCell::SetVirtualSize(int32_t width, int32_t height) {
  if (width == VirtualWidth && height == VirtualHeight) {
    return;
  }
  VirtualWidth = std::max(width, Width);
  VirtualHeight = std::max(height, Height);
  SetOffsetXY(OffsetX, OffsetY);
}

// The same offset asked again still clamps: a virtual area that shrank (or a
// viewport that grew) leaves the old offset outside the area until this call
// brings it back.
void LumoCell::SetOffsetXY(int32_t x, int32_t y) {
  if (VirtualWidth == 0 || VirtualHeight == 0) {
    return;
  }
  x = ClampOffset(x, Width, VirtualWidth);
  y = ClampOffset(y, Height, VirtualHeight);
  if (x == OffsetX && y == OffsetY) {
    return;
  }
  const int32_t oldX = OffsetX;
  const int32_t oldY = OffsetY;
  OffsetX = x;
  OffsetY = y;
  const bool goOn = RunGuarded([&] { return OnVirtualScroll(oldX, oldY); }, [&] {
    DebugPrint("LumoCell::SetOffsetXY() Unhandled exception during OnVirtualScroll() (FrameCounter=%i, Cell=%p:%s)\n",
               static_cast<int>(FrameCounter), DebugAddress(this), DebugClassName(this));
  });
  if (!goOn) {
    return;
  }
  ForEachAnimator([](LumoAnimator* item) {
    auto* sprite = dynamic_cast<LumoSprite*>(item);
    if (sprite == nullptr || sprite->SequenceNode == nullptr) {
      return;
    }
    const LumoSequenceNode* frame = sprite->SequenceNode;
    const LumoGraphicNode* graphic = frame->Graphic();
    if (graphic == nullptr) {
      return;
    }
    sprite->SetActualBounds(sprite->Left + frame->Left + graphic->Left, sprite->Top + frame->Top + graphic->Top,
                            graphic->Width, graphic->Height);
  });
}

bool LumoCell::OnVirtualScroll(int32_t, int32_t) { return true; }

void LumoCell::CaptureInto(LumoGraphicNode* node, int32_t x, int32_t y) {
  if (node != nullptr) {
    node->CopyViewport(Viewport(), x, y);
  }
}

LumoSprite* LumoCell::AddSpriteAt(int32_t x, int32_t y) {
  LumoNode* item = CreateItem();
  auto* sprite = dynamic_cast<LumoSprite*>(item);
  if (sprite == nullptr) {
    if (item != nullptr) {
      DestroyObject(item);
    }
    return nullptr;
  }
  sprite->SetPosition(x, y);
  if (Append(sprite) == nullptr) {
    DestroyObject(sprite);
    return nullptr;
  }
  return sprite;
}

// ---- Printing ----

void LumoCell::Print(bool deferred) {
  if (deferred) {
    if (CommandList) {
      CommandList->AddPrint(FrameCounter + 2, this);
    }
    return;
  }
  if (!PrintViewport(Viewport())) {
    RunGuarded([&] { OnPrintError(); }, [&] {
      DebugPrint("LumoCell::Print() Unhandled exception during OnPrintError() (FrameCounter=%i, Cell=%p:%s)\n",
                 static_cast<int>(FrameCounter), DebugAddress(this), DebugClassName(this));
    });
  }
}

void LumoCell::OnPrintError() {}

// ---- Debugging ----

void LumoCell::DebugDumpFields() {
  LumoAnimator::DebugDumpFields();
  DebugPrint(", Left=%i, Top=%i, Width=%i, Height=%i, VirtualWidth=%i, VirtualHeight=%i, OffsetX=%i, OffsetY=%i", Left,
             Top, Width, Height, VirtualWidth, VirtualHeight, OffsetX, OffsetY);
}

void LumoCell::DebugDump(bool missingOnly) {
  if (!IsDebugMode()) {
    return;
  }
  LumoAnimator::DebugDump(missingOnly);
  if (CommandList) {
    CommandList->DebugDump(missingOnly);
  }
}

// ---- Animation ----

bool LumoCell::CheckPlacement(const char* operation, bool reportEvery) const {
  bool placed = true;
  if (parent == nullptr) {
    DebugPrint("%s The cell is not appended to a level (Cell=%p:%s)\n", operation, DebugAddress(this),
               DebugClassName(this));
    placed = false;
  }
  if ((placed || reportEvery) && (Width <= 0 || Height <= 0)) {
    DebugPrint("%s The cell is has an invalid size (Cell=%p:%s, Width=%i, Height=%i)\n", operation, DebugAddress(this),
               DebugClassName(this), Width, Height);
    placed = false;
  }
  return placed;
}

void LumoCell::DoActivate() {
  LumoAnimator::DoActivate();
  CheckPlacement("LumoCell::DoActivate()", true);
  for (LumoControl* control : FocusControls()) {
    control->Complete();
  }
}

void LumoCell::DoSelectFrame() {
  if (CommandList) {
    CommandList->Check(FrameCounter);
  }
  LumoAnimator::DoSelectFrame();
}

bool LumoCell::CanStartAnimation() { return CheckPlacement("LumoCell::CanStartAnimation()", false); }

template <typename Visit>
void LumoCell::ForEachFrameGraphic(Visit&& visit) {
  VisitItems([&](LumoNode* item) {
    auto* sprite = dynamic_cast<LumoSprite*>(item);
    if (sprite == nullptr) {
      return false;
    }
    sprite->VisitItems([&](LumoNode* sequence) {
      if (auto* frames = dynamic_cast<LumoSequenceList*>(sequence)) {
        frames->VisitItems([&](LumoNode* frame) {
          auto* node = dynamic_cast<LumoSequenceNode*>(frame);
          if (LumoGraphicNode* graphic = node != nullptr ? node->Graphic() : nullptr) {
            visit(graphic);
          }
          return false;
        });
      }
      return false;
    });
    return false;
  });
}

void LumoCell::DoStartAnimation() {
  if (CommandList) {
    CommandList->SetCurrent(static_cast<LumoCommandNode*>(CommandList->first));
  }
  ForEachFrameGraphic([](LumoGraphicNode* graphic) { graphic->Select(); });
  LumoAnimator::DoStartAnimation();
}

void LumoCell::DoStopAnimation() {
  ForEachFrameGraphic([](LumoGraphicNode* graphic) { graphic->Unselect(); });
  LumoAnimator::DoStopAnimation();
}
