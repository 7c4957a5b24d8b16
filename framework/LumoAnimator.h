#pragma once

#include <cstdint>

#include "base/LumoList.h"

// The base of everything the engine's timer pass animates: the engine, its
// levels, cells, sprites and controls. An animator is a list whose items are
// animators too; every pass walks the tree from the engine down, items first
// to last.
//
// A frame is three passes: the timer pass (Timer), frame selection
// (SelectFrame) and frame animation (AnimateFrame). The start, stop, pause,
// resume, prevent and force protocol is made of public operations around
// virtual hooks; the Do hooks recurse into the items, so starting or pausing
// an animator does the same to everything below it.
//
// Every hook call is guarded: a hook that throws is reported in the debug log
// under the operation and the hook, and the exception goes on to the caller,
// skipping the rest of that operation. State changed before the failing hook
// stays changed.
class LumoAnimator : public LumoList {
 public:
  LumoAnimator();

  const char* GetClassName() const override;
  // The list's assignment, then the four fields when the source is an animator.
  bool DoAssign(LumoObject* other) override;
  // Leaves the animator stopped and prevented, then frees the list.
  void DoFree() override;
  // All four fields back to 0.
  void DoClear() override;

  // Per-field load and save operations of the four stored fields.
  virtual bool LoadFrameCounter(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveFrameCounter(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadFrame(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveFrame(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadAnimating(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveAnimating(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadAnimationPrevented(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveAnimationPrevented(LumoStream* stream, const LumoProperty* property);

  // The timer pass over the items, first to last.
  virtual void DoTimer();
  // Counts a timer pass: FrameCounter + 1, and Frame cycles through the
  // engine's frames per pulse. Answers 1 on the pass that completes a pulse.
  virtual uint32_t UpdateTimer();
  // Whether this pass selects and advances a frame; always in the base.
  virtual bool IsFrameDue();
  virtual void DoSelectFrame();  // SelectFrame of every item
  virtual void DoPrepareFrame();
  virtual void DoAnimateFrame();  // AnimateFrame of every item
  virtual void DoNextFrame();
  // Stores Animating without any hook.
  virtual void SetAnimating(bool flag);
  virtual void BeforeStartAnimation();
  virtual bool CanStartAnimation();
  virtual void DoStartAnimation();  // StartAnimation of every item
  virtual void AfterStartAnimation();
  virtual void BeforeStopAnimation();
  virtual bool CanStopAnimation();
  virtual void DoStopAnimation();  // StopAnimation of every item
  virtual void AfterStopAnimation();
  virtual void DoPauseAnimation();   // PauseAnimation of every item
  virtual void DoResumeAnimation();  // ResumeAnimation of every item
  virtual bool CanPreventAnimation();
  virtual void DoPreventAnimation();
  virtual bool CanForceAnimation();
  virtual void DoForceAnimation();
  virtual void OnStartAnimation();
  virtual void OnStopAnimation();
  virtual void OnPreventAnimation();
  virtual void OnForceAnimation();
  virtual void OnTimer();
  virtual void OnSelectFrame();

  // Only while Animating: DoTimer, OnTimer, UpdateTimer.
  void Timer();
  // Only while Animating and a frame is due: OnSelectFrame; then, while still
  // Animating, DoSelectFrame; then, while still Animating, DoPrepareFrame.
  void SelectFrame();
  // Only while Animating: DoAnimateFrame; then, when a frame is due,
  // DoNextFrame.
  void AnimateFrame();
  // Nothing while prevented; stops a running animation first (nothing more
  // when that stop was refused); then Before, Can, Animating on, Do, On, After.
  void StartAnimation();
  // Only while Animating: Before, Can, Animating off, Do, On, After.
  void StopAnimation();
  // Pause and resume skip the Before/Can/After hooks and cannot be refused.
  void PauseAnimation();
  // Nothing while Animating; Animating becomes "not prevented", and
  // DoResumeAnimation runs either way.
  void ResumeAnimation();
  // Can, prevented, Do, On, then StopAnimation.
  void PreventAnimation();
  // Can, no longer prevented, Do, On, then StartAnimation.
  void ForceAnimation();

  uint32_t FrameCounter = 0;  // timer passes run while animating
  uint32_t Frame = 0;         // position in the pulse, 0 .. frames per pulse - 1
  bool Animating = false;     // the object takes part in the passes
  bool AnimationPrevented = false;  // StartAnimation does nothing until forced

 protected:
  // Runs one hook; when it throws, reports "<operation> (Object=%p:%s)" for
  // this animator and passes the exception on.
  template <typename Hook>
  decltype(auto) Guarded(const char* operation, Hook&& hook) {
    return RunGuarded(std::forward<Hook>(hook), [&] { ReportFault(operation); });
  }

  // Calls visit on every item that is an animator, first to last. Items of
  // other kinds (a sprite's sequences) take no part in the passes.
  template <typename Visit>
  void ForEachAnimator(Visit&& visit) {
    VisitItems([&](LumoNode* item) {
      if (auto* animator = dynamic_cast<LumoAnimator*>(item)) {
        visit(animator);
      }
      return false;
    });
  }
};
