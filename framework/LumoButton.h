#pragma once

#include <cstdint>

#include "framework/LumoControl.h"

class LumoSequenceList;
class LumoSoundNode;

// A push button: a control that shows one of four looks (normal, hot,
// pressed, disabled; each a sequence of the button), plays a hover sound
// when the cursor comes over it and a click sound when it is clicked, and
// runs its action (Execute, ending in OnExecute) only after the click's
// feedback: when the click sound has ended, or, without one, after two
// frames of the pressed look. It is clicked with the mouse, with Return
// while focused (or as the default button), with Escape as the cancel
// button, and with its hot key.
class LumoButton : public LumoControl {
 public:
  static constexpr int32_t kReturnKey = 13;
  static constexpr int32_t kEscapeKey = 27;
  static constexpr uint32_t kLookFramesPerPulse = 6;
  // Frames of the pressed look before a click without a sound executes.
  static constexpr uint32_t kPressFrames = 2;

  LumoButton();

  const char* GetClassName() const override;
  // Drops the looks and sounds, the countdown, the canvas size and the
  // flags, then clears the control.
  void DoClear() override;
  // Forgets a look or a sound that is freed.
  void DoAbortReferenceTo(LumoObject* other) override;
  // Counts the pressed look down; at 0 the button clicks.
  void DoSelectFrame() override;
  // Each of these runs the inherited behaviour, then shows the look at the
  // cursor.
  void DoForceAnimation() override;
  void DoAbortDrop() override;
  void DoEndDrag(LumoSprite* target) override;
  void DoSkipDraggingRequest() override;
  void DoEnable() override;
  // A click whose sound plays on completes; otherwise the look follows.
  void DoDisable() override;
  // Starts the click's feedback; the action runs at its end.
  void BeforeExecute() override;
  // False while the feedback runs.
  bool DoValidate() override;
  void AfterExecute() override;
  bool DoKeyDown(tInputEvent* event) override;
  bool DoMouseClick(tInputEvent* event) override;
  bool DoMouseDoubleClick(tInputEvent* event) override;
  bool DoMouseDown(tInputEvent* event) override;
  bool DoMouseUp(tInputEvent* event) override;
  bool DoMouseMove(tInputEvent* event) override;
  bool DoMouseLeave(tInputEvent* event) override;
  // The end of the click sound clicks the button; the end of the hover
  // sound shows the look at the cursor.
  void DoStopSound() override;

  // ---- Hooks, in slot order ----

  // The look for a screen point: disabled, pressed (pressed or dragged),
  // hot (the point hits the button) or normal; a missing look falls back to
  // the normal one.
  virtual void UpdateLook(int32_t x, int32_t y);
  // Each moves the reference from the old value to the new one.
  virtual LumoSequenceList* SetPressedLook(LumoSequenceList* look);
  virtual LumoSequenceList* SetNormalLook(LumoSequenceList* look);
  virtual LumoSequenceList* SetHotLook(LumoSequenceList* look);
  virtual LumoSequenceList* SetDisabledLook(LumoSequenceList* look);
  virtual LumoSoundNode* SetClickSound(LumoSoundNode* sound);
  virtual LumoSoundNode* SetHoverSound(LumoSoundNode* sound);
  // Ends any countdown.
  virtual void SetPressed(bool on);

  // ---- Operations ----

  void ShowPressedLook();
  void ShowHotLook();
  void ShowDisabledLook();
  void ShowNormalLook();
  void UpdateLookAtCursor();
  // A new one-frame sequence of the named graphic (6 frames per pulse,
  // endless) becomes the normal look; none (or a graphic that cannot be
  // had) leaves none.
  void SetNormalLookNamed(const char* name);
  // With both sizes non-zero the normal look is an empty canvas frame of
  // that size; else none.
  void SetCanvasSize(int32_t width, int32_t height);
  void SetLooksNamed(const char* hot, const char* disabled, const char* pressed);
  // The named sounds of the running level's sound list; a missing name
  // gives no sound (the engine has no default click or hover sound).
  void SetSounds(const char* click, const char* hover);
  // The set-up steps of Define, recording the step reached in phase.
  void ClearForDefine(int32_t& phase);
  void FinishDefine(int32_t& phase, int32_t x, int32_t y, bool enabled);
  // Sets the button up in one call, looks by meaning: normal, hot,
  // disabled, pressed; then the sounds; placed, taking input, populated,
  // enabled or not, and activated.
  void Define(int32_t x, int32_t y, bool enabled, const char* normal, const char* hot, const char* disabled,
              const char* pressed, const char* click, const char* hover);
  void DefineWithCanvas(int32_t x, int32_t y, bool enabled, int32_t width, int32_t height, const char* click,
                        const char* hover);
  // Accept, then Execute.
  void Click();

  // ---- Fields ----

  LumoSequenceList* PressedLook = nullptr;  // each look and sound referenced
  LumoSequenceList* NormalLook = nullptr;
  LumoSequenceList* HotLook = nullptr;
  LumoSequenceList* DisabledLook = nullptr;
  LumoSoundNode* ClickSound = nullptr;
  LumoSoundNode* HoverSound = nullptr;
  uint32_t PressCountdown = 0;
  int32_t CanvasWidth = 0;
  int32_t CanvasHeight = 0;
  bool Clicking = false;  // the click sound plays; the action waits for its end
  bool HoverPlaying = false;  // the hover sound started for this hover
  bool Pressed = false;
  bool MayExecute = true;  // false while the button runs its own deferred action

 protected:
  // A one-frame sequence of the named graphic; null without a name or when
  // the graphic cannot be had.
  LumoSequenceList* NamedLook(const char* name);

 private:
  void ShowLook(LumoSequenceList* look);
  LumoSoundNode* NamedSound(const char* name);
  void StopHoverSound();
  // Plays the click sound for the button; false when there is none or it
  // cannot start, so the click goes on as one without a sound.
  bool StartClickSound();
  // Stops the click sound; its end clicks the button, even when the sound
  // had already ended unheard.
  void StopClickSound();
  // The end of the click's feedback: the action runs.
  void EndClick();
  // The pressed look for kPressFrames frames, then the click.
  void StartCountdown();
  // Click with MayExecute false.
  void DeferredClick();
  void TakeFocus();
};
