#pragma once

#include <cstdint>

#include "framework/LumoButton.h"

class LumoComplexControl;
class LumoGraphicNode;
class LumoHomeButton;
class LumoScrollButton;

// A scroll bar: a button whose sequence shows the track, holding a position
// between 0 and a maximum, two arrow buttons and a thumb (scroll buttons,
// attached to its body). It tells its receiver, a complex control, to
// scroll whenever its position changes. Arrows and a held press on the
// track repeat through the sprite's motion: an endless motion whose steps
// step or page the bar until the end. The thumb is dragged and sets the
// position from its place on the track.
//
// A bar with no range (maximum 0) is disabled; when the maximum turns
// positive again it is enabled, unless its owner disabled it.
class LumoScrollBar : public LumoButton {
 public:
  static constexpr int32_t kDefaultPageStep = 8;
  static constexpr uint32_t kStandardFramesPerPulse = 12;

  // Takes the engine's default bevel.
  LumoScrollBar();

  const char* GetClassName() const override;
  // Drops the receiver, the arrows and the thumb, then clears the button.
  void DoClear() override;
  void DoAbortReferenceTo(LumoObject* other) override;
  // Only its own thumb.
  bool AcceptsDrop(LumoSprite* dragged) override;
  // A press on the track pages towards it and repeats while held; the
  // receiver takes the focus.
  bool DoMouseDown(tInputEvent* event) override;
  // The release (or the cursor leaving) drops a dragged thumb and ends the
  // repeat.
  bool DoMouseUp(tInputEvent* event) override;
  bool DoMouseLeave(tInputEvent* event) override;
  // Each repeat step pages towards the cursor; the repeat ends when it
  // cannot page further.
  void DoMove() override;
  // The arrows follow the position; thumb, home button and range follow
  // the maximum.
  void DoEnable() override;
  // The home button is disabled with the bar.
  void DoDisable() override;
  // A vertical bar beside a horizontal one makes its home button in the
  // corner between them first; then the control's completion.
  void DoComplete() override;

  // ---- Hooks, in slot order ----

  // Pages towards a screen point along the bar: true when it moved and can
  // move further that way; false on the thumb itself.
  virtual bool PageTowards(int32_t x, int32_t y);
  virtual void DoDecrement();
  virtual void DoIncrement();
  // The dragged thumb stays on the track and sets the position.
  virtual void DoTouch();
  // The position, clamped to 0..Maximum; a change tells the receiver and
  // marks the bar changed. The sprite's SetPosition keeps its own meaning.
  using LumoButton::SetPosition;
  virtual int32_t SetPosition(int32_t position);
  // Places the thumb for the position and sets what is enabled.
  virtual void LayoutThumb();
  virtual bool SetHorizontal(bool on);
  virtual LumoScrollButton* CreateScrollButton();
  virtual LumoHomeButton* CreateHomeButton();
  // The corner between this vertical bar and its receiver's horizontal bar,
  // while this bar has no home button; false otherwise.
  virtual bool GetHomeButtonPlace(int32_t& left, int32_t& top);
  // The old button loses its reference and its link to the bar; the new one
  // is referenced and linked.
  virtual LumoHomeButton* SetHomeButton(LumoHomeButton* button);
  // A negative maximum is ignored; the position is kept within it.
  virtual int32_t SetMaximum(int32_t maximum);
  // Below 1: 1 (step) or 8 (page step).
  virtual int32_t SetStep(int32_t step);
  virtual int32_t SetPageStep(int32_t step);
  // The position the thumb's place on the track stands for.
  virtual int32_t UpdateThumb();

  // ---- Operations ----

  void Increment();
  void Decrement();
  void Touch();
  // SetPosition, LayoutThumb, then OnChange when changed; answers Position.
  int32_t SetLocation(int32_t position);
  // Sets the bar up from three scroll buttons that show their looks: the
  // decrement arrow at (left, top), the increment arrow at the far end, the
  // thumb next to the decrement arrow, the bar itself the track between the
  // arrows: a named track graphic (its length along the bar is the track's)
  // or, without a name, a canvas of the length left between the arrows.
  // Nothing is done when a button shows no graphic, the named graphic
  // cannot be had, or the track is not longer than the thumb.
  bool Define(int32_t left, int32_t top, int32_t length, bool horizontal, LumoScrollButton* decrement,
              LumoScrollButton* increment, LumoScrollButton* thumb, const char* track, int32_t maximum,
              int32_t step, int32_t pageStep);
  // Define with maximum 0 and the default steps.
  bool DefineDefault(int32_t left, int32_t top, int32_t length, bool horizontal, LumoScrollButton* decrement,
                     LumoScrollButton* increment, LumoScrollButton* thumb, const char* track);
  // Define, then the track's first frame filled with the colour.
  bool DefineFilled(int32_t left, int32_t top, int32_t length, bool horizontal, LumoScrollButton* decrement,
                    LumoScrollButton* increment, LumoScrollButton* thumb, int32_t maximum, int32_t step,
                    int32_t pageStep, const sRGB& colour);
  // Makes the arrows and the thumb in the bar's cell with the engine's
  // looks (Left and Right, or Up and Down, and Thumb), at 12 frames per
  // pulse by default, then Define with a canvas track.
  bool DefineStandard(int32_t left, int32_t top, int32_t length, bool horizontal, int32_t maximum, int32_t step,
                      int32_t pageStep);
  bool DefineStandardFilled(int32_t left, int32_t top, int32_t length, bool horizontal, int32_t maximum,
                            int32_t step, int32_t pageStep, const sRGB& colour);
  // The receiver told to scroll (referenced).
  void SetReceiver(LumoComplexControl* receiver);

  // The graphic of a sprite's current sequence's first frame, or null.
  static LumoGraphicNode* FirstFrameGraphic(const LumoSprite* sprite);

  // ---- Fields ----

  LumoComplexControl* Receiver = nullptr;
  LumoScrollButton* DecrementButton = nullptr;  // each referenced
  LumoScrollButton* IncrementButton = nullptr;
  LumoScrollButton* Thumb = nullptr;
  LumoHomeButton* HomeButton = nullptr;  // referenced, linked back to the bar
  int32_t Position = 0;
  int32_t Maximum = 0;
  int32_t Step = 1;
  int32_t PageStep = kDefaultPageStep;
  bool Horizontal = false;
  // The bar was disabled because its maximum was 0, not by its owner.
  bool RangeDisabled = false;

 private:
  // Starts the repeat after half the current sequence's rate.
  void StartRepeat();
  // The length of a graphic along the bar, and across it.
  int32_t Along(const LumoGraphicNode* graphic) const;
  // The thumb at the bar's origin plus offset along the bar, in the
  // thumb's own cell.
  void PlaceThumb(int64_t offset);
  void FocusReceiver();
  bool MakeStandard(int32_t left, int32_t top, int32_t length, bool horizontal, int32_t maximum, int32_t step,
                    int32_t pageStep, const sRGB* colour);
};

// The arrows and the thumb of a scroll bar.
class LumoScrollButton : public LumoButton {
 public:
  // The kinds: the thumb, the arrows of a horizontal bar, of a vertical bar.
  enum tKind : int32_t { KindThumb = 0, KindLeft = 1, KindRight = 2, KindUp = 3, KindDown = 4 };

  const char* GetClassName() const override;
  void DoAbortReferenceTo(LumoObject* other) override;
  // An arrow steps its bar and repeats while held; the bar's receiver takes
  // the focus.
  bool DoMouseDown(tInputEvent* event) override;
  bool DoMouseUp(tInputEvent* event) override;
  bool DoMouseLeave(tInputEvent* event) override;
  // Each repeat step steps the bar; the repeat ends at the end (the arrow
  // is disabled there).
  void DoMove() override;
  // The dragged thumb keeps to its bar's track.
  void DoDragging(int32_t x, int32_t y) override;
  // The dropped thumb sets its bar's position.
  void DoDrop() override;

  // ---- Hooks, in slot order ----

  // Referenced.
  virtual LumoScrollBar* SetScrollBar(LumoScrollBar* bar);
  // Only the thumb can be dragged.
  virtual int32_t SetKind(int32_t kind);

  bool Decrements() const { return Kind == KindLeft || Kind == KindUp; }
  bool Increments() const { return Kind == KindRight || Kind == KindDown; }

  LumoScrollBar* ScrollBar = nullptr;
  int32_t Kind = KindThumb;

 private:
  void StepBar();
};
