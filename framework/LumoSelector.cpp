#include "framework/LumoSelector.h"

#include <algorithm>
#include <new>
#include <utility>

#include "base/DebugFormat.h"
#include "framework/LumoCell.h"
#include "framework/LumoControl.h"
#include "framework/LumoEngine.h"
#include "framework/LumoGraphicList.h"
#include "framework/LumoGraphicNode.h"
#include "framework/LumoLevel.h"
#include "framework/LumoSequenceList.h"
#include "runtime/Cursor.h"

LumoSelector::LumoSelector() { SetInput(true); }

const char* LumoSelector::GetClassName() const { return "LumoSelector"; }

void LumoSelector::DoFree() {
  DestroyFrame();
  LumoSprite::DoFree();
}

void LumoSelector::DoAbortReferenceTo(LumoObject* other) {
  LumoSprite::DoAbortReferenceTo(other);
  if (other == nullptr) {
    return;
  }
  if (static_cast<const void*>(other) == static_cast<const void*>(OverlayCell)) {
    OverlayCell = nullptr;
  }
  for (LumoSprite** edge : {&TopEdge, &BottomEdge, &LeftEdge, &RightEdge}) {
    if (*edge == other) {
      *edge = nullptr;
    }
  }
  for (LumoGraphicNode** line : {&HorizontalLine, &VerticalLine}) {
    if (static_cast<const void*>(*line) == static_cast<const void*>(other)) {
      *line = nullptr;
    }
  }
}

void LumoSelector::DoSelect(int32_t, int32_t, int32_t, int32_t) {}
void LumoSelector::OnSelect(int32_t, int32_t, int32_t, int32_t) {}

void LumoSelector::EnableSelection() { Armed = true; }

void LumoSelector::HideOverlay() {
  if (OverlayCell != nullptr && !OverlayCell->AnimationPrevented) {
    OverlayCell->PreventAnimation();
  }
}

void LumoSelector::Cancel() {
  Selecting = false;
  HideOverlay();
}

void LumoSelector::DisableSelection() {
  Armed = false;
  Cancel();
}

void LumoSelector::DestroyFrame() {
  if (LumoCell* overlay = OverlayCell) {
    Keep(OverlayCell, static_cast<LumoCell*>(nullptr));
    DestroyObject(overlay);
  }
  for (LumoGraphicNode** line : {&VerticalLine, &HorizontalLine}) {
    if (LumoGraphicNode* graphic = *line) {
      Keep(*line, static_cast<LumoGraphicNode*>(nullptr));
      DestroyObject(graphic);
    }
  }
  Selecting = false;
}

LumoGraphicNode* LumoSelector::CreateLineGraphic(int32_t width, int32_t height, const sRGB& colour) {
  LumoLevel* level = Engine != nullptr ? Engine->Level : nullptr;
  if (level == nullptr || !level->GraphicList || width < 1 || height < 1) {
    return nullptr;
  }
  LumoGraphicNode* graphic = level->GraphicList->GetGeneratedGraphic(width, height, colour, false);
  if (graphic != nullptr && AddReference(graphic) == nullptr) {
    DestroyObject(graphic);
    return nullptr;
  }
  return graphic;
}

LumoSprite* LumoSelector::MakeEdge(LumoGraphicNode* line) {
  auto* edge = new (std::nothrow) LumoSprite;
  if (edge == nullptr) {
    return nullptr;
  }
  if (OverlayCell->Append(edge) == nullptr) {
    DestroyObject(edge);
    return nullptr;
  }
  LumoSequenceList* sequence = edge->AppendSequence(kFramesPerPulse, -1);
  if (sequence != nullptr && line != nullptr) {
    sequence->AppendFrame(line, 0, 0, 1);
  }
  edge->ResetSequence(false);
  return edge;
}

void LumoSelector::SetUpFrame(int32_t x, int32_t y, int32_t width, int32_t height, const sRGB& colour) {
  MaxWidth = width;
  MaxHeight = height;
  DestroyFrame();
  LumoCell* owner = Cell();
  LumoList* level = owner != nullptr ? owner->parent : nullptr;
  if (owner == nullptr || level == nullptr) {
    return;
  }
  auto* overlay = new (std::nothrow) LumoCell;
  if (overlay == nullptr) {
    return;
  }
  if (level->Append(overlay) == nullptr) {
    DestroyObject(overlay);
    return;
  }
  Keep(OverlayCell, overlay);
  overlay->SetViewport(owner->Left + x - owner->OffsetX, owner->Top + y - owner->OffsetY, width, height);
  overlay->PreventAnimation();
  level->MoveAfter(owner, overlay);
  HorizontalLine = CreateLineGraphic(owner->Width, 1, colour);
  VerticalLine = CreateLineGraphic(1, owner->Height, colour);
  Keep(TopEdge, MakeEdge(HorizontalLine));
  Keep(BottomEdge, MakeEdge(HorizontalLine));
  Keep(LeftEdge, MakeEdge(VerticalLine));
  Keep(RightEdge, MakeEdge(VerticalLine));
  if (owner->first != nullptr && owner->first != this) {
    MoveBefore(owner->first);
  }
}

void LumoSelector::Define(int32_t x, int32_t y, int32_t width, int32_t height, const sRGB& colour) {
  Clear();
  SetPosition(x, y);
  if (LumoSequenceList* sequence = AppendSequence(kFramesPerPulse, -1)) {
    sequence->AppendCanvasFrame(width, height, 1);
  }
  ResetSequence(false);
  SetUpFrame(x, y, width, height, colour);
  DoPopulate();
  OnPopulate();
  OnActivate();
  DoActivate();
}

void LumoSelector::DefineForOwner(const sRGB& colour) {
  if (LumoCell* owner = Cell()) {
    Define(0, 0, owner->Width, owner->Height, colour);
  }
}

bool LumoSelector::Span(int32_t from, int32_t to, int32_t& start, int32_t& size) {
  if (from == to) {
    return false;
  }
  // Both the start pixel and the pixel under the cursor belong to the
  // rectangle, whichever way the drag went.
  const int64_t low = std::min(from, to);
  const int64_t high = std::max(from, to);
  start = static_cast<int32_t>(low);
  size = static_cast<int32_t>(std::min<int64_t>(high - low + 1, INT32_MAX));
  return true;
}

bool LumoSelector::DoMouseDown(tInputEvent* event) {
  if (!MouseInput || event == nullptr || (event->Flags & kLeftButtonBit) == 0) {
    return LumoSprite::DoMouseDown(event);
  }
  if (LumoCell* owner = Cell()) {
    for (LumoNode* item = owner->first; item != nullptr; item = item->next) {
      if (auto* control = dynamic_cast<LumoControl*>(item)) {
        control->Leave(nullptr);
      }
    }
  }
  if (Selecting) {
    Cancel();
  } else if (Armed) {
    Selecting = true;
    StartX = EndX = ScreenToCellX(event->X);
    StartY = EndY = ScreenToCellY(event->Y);
  }
  return true;
}

void LumoSelector::DoSelectFrame() {
  LumoSprite::DoSelectFrame();
  LumoCell* owner = Cell();
  if (!Selecting || OverlayCell == nullptr || owner == nullptr) {
    return;
  }
  int32_t x = 0;
  int32_t y = 0;
  GetCursorPosition(x, y);
  EndX = ScreenToCellX(x);
  EndY = ScreenToCellY(y);
  int32_t left = 0;
  int32_t top = 0;
  int32_t width = 0;
  int32_t height = 0;
  if (!Span(StartX, EndX, left, width) || !Span(StartY, EndY, top, height)) {
    HideOverlay();
    return;
  }
  // On the screen, clipped to the selector's area and to the screen; a
  // clipped side shows no line.
  int64_t screenLeft = int64_t{owner->Left} + left - owner->OffsetX;
  int64_t screenTop = int64_t{owner->Top} + top - owner->OffsetY;
  int64_t screenRight = screenLeft + width;
  int64_t screenBottom = screenTop + height;
  const int64_t areaLeft = owner->Left;
  const int64_t areaTop = owner->Top;
  int64_t areaRight = areaLeft + MaxWidth;
  int64_t areaBottom = areaTop + MaxHeight;
  if (Engine != nullptr) {
    areaRight = std::min<int64_t>(areaRight, Engine->ScreenWidth);
    areaBottom = std::min<int64_t>(areaBottom, Engine->ScreenHeight);
  }
  const bool leftClipped = screenLeft < areaLeft;
  const bool topClipped = screenTop < areaTop;
  const bool rightClipped = screenRight > areaRight;
  const bool bottomClipped = screenBottom > areaBottom;
  screenLeft = std::max(screenLeft, std::max<int64_t>(areaLeft, 0));
  screenTop = std::max(screenTop, std::max<int64_t>(areaTop, 0));
  screenRight = std::min(screenRight, areaRight);
  screenBottom = std::min(screenBottom, areaBottom);
  if (screenRight <= screenLeft || screenBottom <= screenTop) {
    HideOverlay();
    return;
  }
  const auto shownWidth = static_cast<int32_t>(screenRight - screenLeft);
  const auto shownHeight = static_cast<int32_t>(screenBottom - screenTop);
  OverlayCell->SetViewport(static_cast<int32_t>(screenLeft), static_cast<int32_t>(screenTop), shownWidth,
                           shownHeight);
  if (OverlayCell->AnimationPrevented || !OverlayCell->Animating) {
    OverlayCell->ForceAnimation();
  }
  const auto place = [](LumoSprite* edge, bool clipped, int32_t at, int32_t atTop) {
    if (edge == nullptr) {
      return;
    }
    if (clipped) {
      edge->PreventAnimation();
      return;
    }
    edge->SetPosition(at, atTop);
    edge->ForceAnimation();
  };
  place(LeftEdge, leftClipped, 0, 0);
  place(RightEdge, rightClipped, shownWidth - 1, 0);
  place(TopEdge, topClipped, 0, 0);
  place(BottomEdge, bottomClipped, 0, shownHeight - 1);
}

template <typename Hook>
void LumoSelector::SelectorGuarded(const char* hook, Hook&& body) {
  RunGuarded(std::forward<Hook>(body), [&] {
    DebugPrint("LumoSelector::DoMouseUp() Unhandled exception during %s() (Selector=%p:%s)\n", hook,
               DebugAddress(this), DebugClassName(this));
  });
}

bool LumoSelector::DoMouseUp(tInputEvent* event) {
  if (!Selecting || event == nullptr) {
    return LumoSprite::DoMouseUp(event);
  }
  Selecting = false;
  HideOverlay();
  EndX = ScreenToCellX(event->X);
  EndY = ScreenToCellY(event->Y);
  int32_t left = 0;
  int32_t top = 0;
  int32_t width = 0;
  int32_t height = 0;
  if (Span(StartX, EndX, left, width) && Span(StartY, EndY, top, height)) {
    SelectorGuarded("DoSelect", [&] { DoSelect(left, top, width, height); });
    SelectorGuarded("OnSelect", [&] { OnSelect(left, top, width, height); });
  }
  return true;
}

bool LumoSelector::DoKeyDown(tInputEvent* event) {
  if (Selecting && event != nullptr && event->Code == kEscapeKey) {
    Cancel();
    return true;
  }
  return LumoSprite::DoKeyDown(event);
}

bool LumoSelector::DoMouseLeave(tInputEvent* event) {
  if (Selecting) {
    Cancel();
    return true;
  }
  return LumoSprite::DoMouseLeave(event);
}

bool LumoSelector::DoMouseClick(tInputEvent*) { return MouseInput; }
