#include "framework/LumoCell.h"

#include <algorithm>
#include <new>

#include "base/DebugFormat.h"
#include "framework/LumoCommandNode.h"
#include "framework/LumoGraphicNode.h"
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
