#include "framework/LumoScrollBar.h"

#include <algorithm>
#include <new>

#include "base/DebugFormat.h"
#include "framework/LumoCell.h"
#include "framework/LumoCheckButton.h"
#include "framework/LumoComplexControl.h"
#include "framework/LumoEngine.h"
#include "framework/LumoGraphicList.h"
#include "framework/LumoGraphicNode.h"
#include "framework/LumoLevel.h"
#include "framework/LumoSequenceList.h"
#include "framework/LumoSequenceNode.h"
#include "runtime/Cursor.h"
#include "runtime/Graphics.h"
#include "runtime/Modules.h"

namespace {

int32_t Clamp32(int64_t value) {
  return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

}  // namespace

LumoScrollBar::LumoScrollBar() { UseDefaultBevel(); }

const char* LumoScrollBar::GetClassName() const { return "LumoScrollBar"; }

LumoGraphicNode* LumoScrollBar::FirstFrameGraphic(const LumoSprite* sprite) {
  if (sprite == nullptr || sprite->SequenceList == nullptr) {
    return nullptr;
  }
  auto* frame = dynamic_cast<LumoSequenceNode*>(sprite->SequenceList->first);
  return frame != nullptr ? frame->Graphic() : nullptr;
}

int32_t LumoScrollBar::Along(const LumoGraphicNode* graphic) const {
  return graphic == nullptr ? 0 : (Horizontal ? graphic->Width : graphic->Height);
}

// ---- Life ----

void LumoScrollBar::DoClear() {
  SetReceiver(nullptr);
  Keep(DecrementButton, static_cast<LumoScrollButton*>(nullptr));
  Keep(IncrementButton, static_cast<LumoScrollButton*>(nullptr));
  Keep(Thumb, static_cast<LumoScrollButton*>(nullptr));
  SetHomeButton(nullptr);
  LumoButton::DoClear();
}

void LumoScrollBar::DoAbortReferenceTo(LumoObject* other) {
  LumoButton::DoAbortReferenceTo(other);
  if (other == nullptr) {
    return;
  }
  if (other == Receiver) {
    Receiver = nullptr;
  }
  for (LumoScrollButton** button : {&DecrementButton, &IncrementButton, &Thumb}) {
    if (*button == other) {
      *button = nullptr;
    }
  }
  if (other == HomeButton) {
    HomeButton = nullptr;
  }
}

void LumoScrollBar::SetReceiver(LumoComplexControl* receiver) { Keep(Receiver, receiver); }

bool LumoScrollBar::AcceptsDrop(LumoSprite* dragged) { return dragged != nullptr && dragged == Thumb; }

bool LumoScrollBar::SetHorizontal(bool on) { return Horizontal = on; }
LumoScrollButton* LumoScrollBar::CreateScrollButton() { return new (std::nothrow) LumoScrollButton; }
LumoHomeButton* LumoScrollBar::CreateHomeButton() { return new (std::nothrow) LumoHomeButton; }

LumoHomeButton* LumoScrollBar::SetHomeButton(LumoHomeButton* button) {
  if (HomeButton == button) {
    return HomeButton;
  }
  if (HomeButton != nullptr && HomeButton->ScrollBar == this) {
    HomeButton->SetScrollBar(nullptr);
  }
  Keep(HomeButton, button);
  if (HomeButton != nullptr) {
    HomeButton->SetScrollBar(this);
  }
  return HomeButton;
}

bool LumoScrollBar::GetHomeButtonPlace(int32_t& left, int32_t& top) {
  if (Horizontal || HomeButton != nullptr || Receiver == nullptr || Receiver->HorizontalBar == nullptr) {
    return false;
  }
  left = Left;
  top = Receiver->HorizontalBar->Top;
  return true;
}

void LumoScrollBar::DoComplete() {
  int32_t left = 0;
  int32_t top = 0;
  LumoCell* cell = Cell();
  if (Engine != nullptr && cell != nullptr && GetHomeButtonPlace(left, top)) {
    LumoHomeButton* button = CreateHomeButton();
    if (button != nullptr) {
      SetHomeButton(button);
      if (cell->Append(button) == nullptr) {
        SetHomeButton(nullptr);
        DestroyObject(button);
      } else {
        const auto look = [](LumoEngine::tLookKind kind, LumoEngine::tLookState state) {
          return Engine->ButtonLookName(kind, state);
        };
        constexpr LumoEngine::tLookKind kUnchecked = LumoEngine::LookTop;
        constexpr LumoEngine::tLookKind kChecked = LumoEngine::LookBottom;
        button->SetDefaultFramesPerPulse(kStandardFramesPerPulse);
        button->Define(left, top, Maximum != 0, look(kUnchecked, LumoEngine::LookStateA),
                       look(kUnchecked, LumoEngine::LookStateH), look(kUnchecked, LumoEngine::LookStateD),
                       look(kUnchecked, LumoEngine::LookStateP), look(kChecked, LumoEngine::LookStateA),
                       look(kChecked, LumoEngine::LookStateH), look(kChecked, LumoEngine::LookStateD),
                       look(kChecked, LumoEngine::LookStateP), nullptr, nullptr, Position == 0);
        button->Complete();
        if (Maximum != 0) {
          button->Enable();
        } else {
          button->Disable();
        }
        if (AnimationPrevented) {
          button->PreventAnimation();
        } else if (Animating) {
          button->StartAnimation();
        }
        LayoutThumb();
      }
    }
  }
  LumoButton::DoComplete();
}

int32_t LumoScrollBar::SetStep(int32_t step) { return Step = step < 1 ? 1 : step; }
int32_t LumoScrollBar::SetPageStep(int32_t step) { return PageStep = step < 1 ? kDefaultPageStep : step; }

int32_t LumoScrollBar::SetMaximum(int32_t maximum) {
  if (maximum >= 0) {
    Maximum = maximum;
    SetLocation(std::min(Position, maximum));
  }
  return Maximum;
}

// ---- Position ----

int32_t LumoScrollBar::SetPosition(int32_t position) {
  SetChanged(false);
  position = std::clamp(position, 0, std::max(Maximum, 0));
  if (position != Position) {
    Position = position;
    if (Receiver != nullptr) {
      if (Horizontal) {
        Receiver->HorizontalScroll(position);
      } else {
        Receiver->VerticalScroll(position);
      }
    }
    Change();
  }
  return Position;
}

int32_t LumoScrollBar::SetLocation(int32_t position) {
  SetPosition(position);
  LayoutThumb();
  if (Changed) {
    RunGuarded([&] { OnChange(); }, [&] {
      DebugPrint("LumoControl::SetLocation() Unhandled exception during OnChange() (Control=%p:%s)\n",
                 DebugAddress(this), DebugClassName(this));
    });
  }
  return Position;
}

void LumoScrollBar::PlaceThumb(int64_t offset) {
  const int64_t screenLeft = int64_t{CellToScreenX(Left)} + (Horizontal ? offset : 0);
  const int64_t screenTop = int64_t{CellToScreenY(Top)} + (Horizontal ? 0 : offset);
  Thumb->LumoSprite::SetPosition(Thumb->ScreenToCellX(Clamp32(screenLeft)),
                                 Thumb->ScreenToCellY(Clamp32(screenTop)));
}

// A bar that loses its range is disabled and noted so; when the range comes
// back it is enabled again. A bar its owner disabled stays disabled.
void LumoScrollBar::LayoutThumb() {
  if (Thumb != nullptr && Maximum == 0) {
    PlaceThumb(0);
    if (Enabled) {
      Disable();
      RangeDisabled = true;
    }
  } else if (Thumb != nullptr && Maximum > 0) {
    const LumoGraphicNode* track = FirstFrameGraphic(this);
    const LumoGraphicNode* thumb = FirstFrameGraphic(Thumb);
    if (track != nullptr && thumb != nullptr) {
      const int32_t free = std::max(Along(track) - Along(thumb), 0);
      const int32_t offset = std::min(MatrixInt(Position, free, Maximum), free);
      PlaceThumb(offset);
    }
    if (RangeDisabled) {
      RangeDisabled = false;
      Enable();
    }
  }
  if (DecrementButton != nullptr) {
    if (!Enabled || Position < 1) {
      DecrementButton->Disable();
    } else {
      DecrementButton->Enable();
    }
  }
  if (IncrementButton != nullptr) {
    if (!Enabled || Maximum <= Position) {
      IncrementButton->Disable();
    } else {
      IncrementButton->Enable();
    }
  }
  if (HomeButton != nullptr) {
    if (Enabled && Maximum > 1) {
      HomeButton->Enable();
      HomeButton->SetChecked(Position == 0);
    } else {
      HomeButton->SetChecked(false);
      HomeButton->Disable();
    }
  }
}

int32_t LumoScrollBar::UpdateThumb() {
  const LumoGraphicNode* track = FirstFrameGraphic(this);
  const LumoGraphicNode* thumb = FirstFrameGraphic(Thumb);
  if (Thumb == nullptr || track == nullptr || thumb == nullptr) {
    return 0;
  }
  const int64_t offset =
      Horizontal ? int64_t{Thumb->CellToScreenX(Thumb->Left)} - CellToScreenX(Left)
                 : int64_t{Thumb->CellToScreenY(Thumb->Top)} - CellToScreenY(Top);
  const int32_t free = Along(track) - Along(thumb);
  if (free <= 0) {
    return 0;
  }
  return MatrixInt(Maximum, Clamp32(std::clamp<int64_t>(offset, 0, free)), free);
}

void LumoScrollBar::DoTouch() {
  const LumoGraphicNode* track = FirstFrameGraphic(this);
  const LumoGraphicNode* thumb = FirstFrameGraphic(Thumb);
  if (Thumb == nullptr || track == nullptr || thumb == nullptr) {
    return;
  }
  const int64_t free = std::max(Along(track) - Along(thumb), 0);
  const int64_t offset =
      Horizontal ? int64_t{Thumb->CellToScreenX(Thumb->Left)} - CellToScreenX(Left)
                 : int64_t{Thumb->CellToScreenY(Thumb->Top)} - CellToScreenY(Top);
  PlaceThumb(std::clamp<int64_t>(offset, 0, free));
  SetLocation(UpdateThumb());
}

void LumoScrollBar::DoIncrement() { SetLocation(Clamp32(int64_t{Position} + Step)); }
void LumoScrollBar::DoDecrement() { SetLocation(Clamp32(int64_t{Position} - Step)); }

void LumoScrollBar::Increment() {
  RunGuarded([&] { DoIncrement(); }, [&] {
    DebugPrint("LumoScrollBar::Increment() Unhandled exception during DoIncrement() (Control=%p:%s)\n",
               DebugAddress(this), DebugClassName(this));
  });
}

void LumoScrollBar::Decrement() {
  RunGuarded([&] { DoDecrement(); }, [&] {
    DebugPrint("LumoScrollBar::Decrement() Unhandled exception during DoDecrement() (Control=%p:%s)\n",
               DebugAddress(this), DebugClassName(this));
  });
}

void LumoScrollBar::Touch() {
  RunGuarded([&] { DoTouch(); }, [&] {
    DebugPrint("LumoScrollBar::Touch() Unhandled exception during DoTouch() (Control=%p:%s)\n", DebugAddress(this),
               DebugClassName(this));
  });
}

void LumoScrollBar::DoEnable() {
  LumoButton::DoEnable();
  if (DecrementButton != nullptr) {
    if (Position < 1) {
      DecrementButton->Disable();
    } else {
      DecrementButton->Enable();
    }
  }
  if (IncrementButton != nullptr) {
    if (Maximum <= Position) {
      IncrementButton->Disable();
    } else {
      IncrementButton->Enable();
    }
  }
  for (LumoButton* part : {static_cast<LumoButton*>(Thumb), static_cast<LumoButton*>(HomeButton)}) {
    if (part == nullptr) {
      continue;
    }
    if (Maximum != 0) {
      part->Enable();
    } else {
      part->Disable();
    }
  }
}

void LumoScrollBar::DoDisable() {
  LumoButton::DoDisable();
  if (HomeButton != nullptr) {
    HomeButton->Disable();
  }
}

// ---- Paging ----

bool LumoScrollBar::PageTowards(int32_t x, int32_t y) {
  const LumoGraphicNode* thumb = FirstFrameGraphic(Thumb);
  if (Thumb == nullptr || thumb == nullptr) {
    return false;
  }
  const int64_t point = Horizontal ? Thumb->ScreenToCellX(x) : Thumb->ScreenToCellY(y);
  const int64_t start = Horizontal ? Thumb->Left : Thumb->Top;
  if (point < start) {
    SetLocation(Clamp32(int64_t{Position} - PageStep));
    return Position > 0;
  }
  if (point < start + Along(thumb)) {
    return false;
  }
  SetLocation(Clamp32(int64_t{Position} + PageStep));
  return Position < Maximum;
}

void LumoScrollBar::StartRepeat() {
  SetMotionDelay(SequenceList != nullptr ? SequenceList->FramesPerPulse / 2 : 0);
  SetMotionDuration(-1);
  StartMotion();
}

void LumoScrollBar::FocusReceiver() {
  if (Receiver != nullptr && !Receiver->Focused) {
    Receiver->Focus();
  }
}

bool LumoScrollBar::DoMouseDown(tInputEvent* event) {
  const bool handled = LumoButton::DoMouseDown(event);
  if (Enabled && MouseOver && event != nullptr && PageTowards(event->X, event->Y)) {
    StartRepeat();
  }
  FocusReceiver();
  return handled;
}

void LumoScrollBar::DoMove() {
  int32_t x = 0;
  int32_t y = 0;
  GetCursorPosition(x, y);
  if (!PageTowards(x, y)) {
    StopMotion();
  }
}

bool LumoScrollBar::DoMouseUp(tInputEvent* event) {
  const bool handled = LumoButton::DoMouseUp(event);
  if (Thumb != nullptr && Thumb->Dragging) {
    Thumb->Drop();
  }
  StopMotion();
  return handled;
}

bool LumoScrollBar::DoMouseLeave(tInputEvent* event) {
  if (Thumb != nullptr && Thumb->Dragging) {
    Thumb->Drop();
  }
  StopMotion();
  return LumoButton::DoMouseLeave(event);
}

// ---- Definition ----

bool LumoScrollBar::Define(int32_t left, int32_t top, int32_t length, bool horizontal, LumoScrollButton* decrement,
                           LumoScrollButton* increment, LumoScrollButton* thumb, const char* track, int32_t maximum,
                           int32_t step, int32_t pageStep) {
  const LumoGraphicNode* decrementGraphic = FirstFrameGraphic(decrement);
  const LumoGraphicNode* incrementGraphic = FirstFrameGraphic(increment);
  const LumoGraphicNode* thumbGraphic = FirstFrameGraphic(thumb);
  if (decrementGraphic == nullptr || incrementGraphic == nullptr || thumbGraphic == nullptr) {
    return false;
  }
  SetHorizontal(horizontal);
  const int64_t decrementLength = Along(decrementGraphic);
  const int64_t incrementLength = Along(incrementGraphic);
  int64_t trackLength = int64_t{length} - decrementLength - incrementLength;
  if (track != nullptr && *track != '\0') {
    LumoGraphicList* graphics =
        Engine != nullptr && Engine->Level != nullptr ? Engine->Level->GraphicList.get() : nullptr;
    const LumoGraphicNode* named = graphics != nullptr ? graphics->FindGraphic(track) : nullptr;
    if (named == nullptr || named->Data == 0) {
      return false;
    }
    trackLength = Along(named);
  }
  if (trackLength <= Along(thumbGraphic)) {
    return false;
  }
  const auto across = [&](const LumoGraphicNode* graphic) { return horizontal ? graphic->Height : graphic->Width; };
  const int32_t thickness = across(thumbGraphic);
  const int32_t trackLeft = Clamp32(horizontal ? left + decrementLength : left);
  const int32_t trackTop = Clamp32(horizontal ? top : top + decrementLength);

  // The track: the bar set up as a button (which clears it first).
  if (track != nullptr && *track != '\0') {
    LumoButton::Define(trackLeft, trackTop, true, track, nullptr, nullptr, nullptr, nullptr, nullptr);
  } else {
    DefineWithCanvas(trackLeft, trackTop, true, Clamp32(horizontal ? trackLength : thickness),
                     Clamp32(horizontal ? thickness : trackLength), nullptr, nullptr);
  }
  SetHorizontal(horizontal);

  const int64_t end = decrementLength + trackLength;
  decrement->LumoSprite::SetPosition(left, top);
  decrement->SetKind(horizontal ? LumoScrollButton::KindLeft : LumoScrollButton::KindUp);
  increment->LumoSprite::SetPosition(Clamp32(horizontal ? left + end : left), Clamp32(horizontal ? top : top + end));
  increment->SetKind(horizontal ? LumoScrollButton::KindRight : LumoScrollButton::KindDown);
  thumb->LumoSprite::SetPosition(trackLeft, trackTop);
  thumb->SetKind(LumoScrollButton::KindThumb);
  LumoNode* after = this;
  for (LumoScrollButton* button : {decrement, thumb, increment}) {
    button->SetScrollBar(this);
    if (button->parent != nullptr && button->parent == parent) {
      button->MoveAfter(after);
      after = button;
    }
    Body->AttachSprite(button);
  }
  Keep(DecrementButton, decrement);
  Keep(IncrementButton, increment);
  Keep(Thumb, thumb);
  SetAcceptsDrops(true);
  SetMaximum(maximum);
  SetStep(step);
  SetPageStep(pageStep);
  SetLocation(0);
  return true;
}

bool LumoScrollBar::DefineDefault(int32_t left, int32_t top, int32_t length, bool horizontal,
                                  LumoScrollButton* decrement, LumoScrollButton* increment, LumoScrollButton* thumb,
                                  const char* track) {
  return Define(left, top, length, horizontal, decrement, increment, thumb, track, 0, 0, 0);
}

bool LumoScrollBar::DefineFilled(int32_t left, int32_t top, int32_t length, bool horizontal,
                                 LumoScrollButton* decrement, LumoScrollButton* increment, LumoScrollButton* thumb,
                                 int32_t maximum, int32_t step, int32_t pageStep, const sRGB& colour) {
  if (!Define(left, top, length, horizontal, decrement, increment, thumb, nullptr, maximum, step, pageStep)) {
    return false;
  }
  auto* frame = SequenceList != nullptr ? dynamic_cast<LumoSequenceNode*>(SequenceList->first) : nullptr;
  LumoGraphicNode* graphic = frame != nullptr ? frame->Graphic() : nullptr;
  if (graphic != nullptr && graphic->Data == 0) {
    graphic->SetData(reinterpret_cast<uintptr_t>(CreateGraphic(graphic->Width, graphic->Height, colour)));
  }
  return true;
}

bool LumoScrollBar::MakeStandard(int32_t left, int32_t top, int32_t length, bool horizontal, int32_t maximum,
                                 int32_t step, int32_t pageStep, const sRGB* colour) {
  LumoCell* cell = Cell();
  if (cell == nullptr || Engine == nullptr) {
    return false;
  }
  LumoScrollButton* buttons[3] = {};
  for (LumoScrollButton*& button : buttons) {
    button = CreateScrollButton();
    if (button == nullptr || cell->Append(button) == nullptr) {
      for (LumoScrollButton* made : buttons) {
        if (made != nullptr) {
          DestroyObject(made);
        }
      }
      return false;
    }
  }
  const LumoEngine::tLookKind kinds[3] = {horizontal ? LumoEngine::LookLeft : LumoEngine::LookUp,
                                          horizontal ? LumoEngine::LookRight : LumoEngine::LookDown,
                                          LumoEngine::LookThumb};
  SetDefaultFramesPerPulse(kStandardFramesPerPulse);
  for (int index = 0; index < 3; ++index) {
    LumoScrollButton* button = buttons[index];
    button->SetDefaultFramesPerPulse(kStandardFramesPerPulse);
    const LumoEngine::tLookKind kind = kinds[index];
    button->LumoButton::Define(0, 0, true, Engine->ButtonLookName(kind, LumoEngine::LookStateA),
                               Engine->ButtonLookName(kind, LumoEngine::LookStateH),
                               Engine->ButtonLookName(kind, LumoEngine::LookStateD),
                               Engine->ButtonLookName(kind, LumoEngine::LookStateP), nullptr, nullptr);
  }
  const bool defined =
      colour != nullptr
          ? DefineFilled(left, top, length, horizontal, buttons[0], buttons[1], buttons[2], maximum, step, pageStep,
                         *colour)
          : Define(left, top, length, horizontal, buttons[0], buttons[1], buttons[2], nullptr, maximum, step,
                   pageStep);
  if (!defined) {
    for (LumoScrollButton* made : buttons) {
      DestroyObject(made);
    }
  }
  return defined;
}

bool LumoScrollBar::DefineStandard(int32_t left, int32_t top, int32_t length, bool horizontal, int32_t maximum,
                                   int32_t step, int32_t pageStep) {
  return MakeStandard(left, top, length, horizontal, maximum, step, pageStep, nullptr);
}

bool LumoScrollBar::DefineStandardFilled(int32_t left, int32_t top, int32_t length, bool horizontal, int32_t maximum,
                                         int32_t step, int32_t pageStep, const sRGB& colour) {
  return MakeStandard(left, top, length, horizontal, maximum, step, pageStep, &colour);
}

// ---- Scroll buttons ----

const char* LumoScrollButton::GetClassName() const { return "LumoScrollButton"; }

void LumoScrollButton::DoAbortReferenceTo(LumoObject* other) {
  LumoButton::DoAbortReferenceTo(other);
  if (other != nullptr && other == ScrollBar) {
    ScrollBar = nullptr;
  }
}

LumoScrollBar* LumoScrollButton::SetScrollBar(LumoScrollBar* bar) {
  Keep(ScrollBar, bar);
  return ScrollBar;
}

int32_t LumoScrollButton::SetKind(int32_t kind) {
  if (kind != KindThumb) {
    DisarmDragging();
  } else {
    ArmDragging(1);
  }
  return Kind = kind;
}

void LumoScrollButton::StepBar() {
  if (ScrollBar == nullptr) {
    return;
  }
  if (Decrements()) {
    ScrollBar->Decrement();
  } else if (Increments()) {
    ScrollBar->Increment();
  }
}

bool LumoScrollButton::DoMouseDown(tInputEvent* event) {
  const bool handled = LumoButton::DoMouseDown(event);
  if (Enabled && MouseOver && Kind != KindThumb) {
    StepBar();
    if (Enabled) {
      SetMotionDelay(SequenceList != nullptr ? SequenceList->FramesPerPulse / 2 : 0);
      SetMotionDuration(-1);
      StartMotion();
    }
  }
  LumoComplexControl* receiver = ScrollBar != nullptr ? ScrollBar->Receiver : nullptr;
  if (receiver != nullptr && !receiver->Focused) {
    receiver->Focus();
  }
  return handled;
}

void LumoScrollButton::DoMove() {
  StepBar();
  if (!Enabled) {
    StopMotion();
  }
}

bool LumoScrollButton::DoMouseUp(tInputEvent* event) {
  const bool handled = LumoButton::DoMouseUp(event);
  StopMotion();
  return handled;
}

bool LumoScrollButton::DoMouseLeave(tInputEvent* event) {
  if (Kind != KindThumb) {
    StopMotion();
  }
  return LumoButton::DoMouseLeave(event);
}

void LumoScrollButton::DoDragging(int32_t x, int32_t y) {
  LumoButton::DoDragging(x, y);
  if (Kind == KindThumb && ScrollBar != nullptr) {
    ScrollBar->Touch();
  }
}

void LumoScrollButton::DoDrop() {
  LumoButton::DoDrop();
  if (Kind == KindThumb && ScrollBar != nullptr) {
    ScrollBar->SetLocation(ScrollBar->UpdateThumb());
  }
  SetPressed(false);
  UpdateLookAtCursor();
}
