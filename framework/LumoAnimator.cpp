#include "framework/LumoAnimator.h"

#include "base/LumoClass.h"
#include "framework/LumoEngine.h"

namespace {

LumoClassOf<LumoAnimator> classOfLumoAnimator(kVersion_1_4_0_0, "LumoAnimator", "LumoList");
LUMO_FIELD_PROPERTY(kVersion_1_4_0_0, LumoAnimator, FrameCounter, PropertyInteger, "tCardinal");
LUMO_FIELD_PROPERTY(kVersion_1_4_0_0, LumoAnimator, Frame, PropertyInteger, "tCardinal");
LUMO_FIELD_PROPERTY(kVersion_1_4_0_0, LumoAnimator, Animating, PropertyBool, "tBool");
LUMO_FIELD_PROPERTY(kVersion_1_4_0_0, LumoAnimator, AnimationPrevented, PropertyBool, "tBool");

}  // namespace

LumoAnimator::LumoAnimator() = default;

const char* LumoAnimator::GetClassName() const { return "LumoAnimator"; }

LUMO_GENERIC_FIELD(LumoAnimator, FrameCounter)
LUMO_GENERIC_FIELD(LumoAnimator, Frame)
LUMO_GENERIC_FIELD(LumoAnimator, Animating)
LUMO_GENERIC_FIELD(LumoAnimator, AnimationPrevented)

bool LumoAnimator::DoAssign(LumoObject* other) {
  if (!LumoList::DoAssign(other)) {
    return false;
  }
  if (const auto* source = dynamic_cast<const LumoAnimator*>(other)) {
    FrameCounter = source->FrameCounter;
    Frame = source->Frame;
    Animating = source->Animating;
    AnimationPrevented = source->AnimationPrevented;
  }
  return true;
}

void LumoAnimator::DoFree() {
  Animating = false;
  AnimationPrevented = true;
  LumoList::DoFree();
}

void LumoAnimator::DoClear() {
  LumoList::DoClear();
  FrameCounter = 0;
  Frame = 0;
  Animating = false;
  AnimationPrevented = false;
}

// ---- Default hooks ----

void LumoAnimator::DoTimer() {
  ForEachAnimator([](LumoAnimator* item) { item->Timer(); });
}

// An animator outside an engine counts its frames by the engine's frame rate
// at construction, so Frame still cycles and nothing divides by zero.
uint32_t LumoAnimator::UpdateTimer() {
  uint32_t framesPerPulse = Engine != nullptr ? Engine->FramesPerPulse : LumoEngine::kDefaultFramesPerPulse;
  if (framesPerPulse == 0) {
    framesPerPulse = LumoEngine::kDefaultFramesPerPulse;
  }
  ++FrameCounter;
  const uint32_t next = Frame + 1;
  Frame = next % framesPerPulse;
  return next / framesPerPulse;
}

bool LumoAnimator::IsFrameDue() { return true; }

void LumoAnimator::DoSelectFrame() {
  ForEachAnimator([](LumoAnimator* item) { item->SelectFrame(); });
}

void LumoAnimator::DoPrepareFrame() {}

void LumoAnimator::DoAnimateFrame() {
  ForEachAnimator([](LumoAnimator* item) { item->AnimateFrame(); });
}

void LumoAnimator::DoNextFrame() {}

void LumoAnimator::SetAnimating(bool flag) { Animating = flag; }

void LumoAnimator::BeforeStartAnimation() {}
bool LumoAnimator::CanStartAnimation() { return true; }

void LumoAnimator::DoStartAnimation() {
  ForEachAnimator([](LumoAnimator* item) { item->StartAnimation(); });
}

void LumoAnimator::AfterStartAnimation() {}
void LumoAnimator::BeforeStopAnimation() {}
bool LumoAnimator::CanStopAnimation() { return true; }

void LumoAnimator::DoStopAnimation() {
  ForEachAnimator([](LumoAnimator* item) { item->StopAnimation(); });
}

void LumoAnimator::AfterStopAnimation() {}

void LumoAnimator::DoPauseAnimation() {
  ForEachAnimator([](LumoAnimator* item) { item->PauseAnimation(); });
}

void LumoAnimator::DoResumeAnimation() {
  ForEachAnimator([](LumoAnimator* item) { item->ResumeAnimation(); });
}

bool LumoAnimator::CanPreventAnimation() { return true; }
void LumoAnimator::DoPreventAnimation() {}
bool LumoAnimator::CanForceAnimation() { return true; }
void LumoAnimator::DoForceAnimation() {}
void LumoAnimator::OnStartAnimation() {}
void LumoAnimator::OnStopAnimation() {}
void LumoAnimator::OnPreventAnimation() {}
void LumoAnimator::OnForceAnimation() {}
void LumoAnimator::OnTimer() {}
void LumoAnimator::OnSelectFrame() {}

// ---- The three passes ----

void LumoAnimator::Timer() {
  if (!Animating) {
    return;
  }
  Guarded("LumoAnimator::Timer() Unhandled exception during DoTimer()", [&] { DoTimer(); });
  Guarded("LumoAnimator::Timer() Unhandled exception during OnTimer()", [&] { OnTimer(); });
  Guarded("LumoAnimator::Timer() Unhandled exception during UpdateTimer()", [&] { UpdateTimer(); });
}

void LumoAnimator::SelectFrame() {
  if (!Animating || !IsFrameDue()) {
    return;
  }
  Guarded("LumoAnimator::SelectFrame() Unhandled exception during OnSelectFrame()", [&] { OnSelectFrame(); });
  if (Animating) {
    Guarded("LumoAnimator::SelectFrame() Unhandled exception during DoSelectFrame()", [&] { DoSelectFrame(); });
  }
  if (Animating) {
    Guarded("LumoAnimator::SelectFrame() Unhandled exception during DoPrepareFrame()", [&] { DoPrepareFrame(); });
  }
}

void LumoAnimator::AnimateFrame() {
  if (!Animating) {
    return;
  }
  Guarded("LumoAnimator::AnimateFrame() Unhandled exception during DoAnimateFrame()", [&] { DoAnimateFrame(); });
  if (IsFrameDue()) {
    Guarded("LumoAnimator::AnimationFrame() Unhandled exception during DoNextFrame()", [&] { DoNextFrame(); });
  }
}

// ---- Start, stop, pause, resume, prevent, force ----

void LumoAnimator::StartAnimation() {
  if (AnimationPrevented) {
    return;
  }
  Guarded("LumoAnimator::StartAnimation() Unhandled exception during StopStartAnimation()",
          [&] { StopAnimation(); });
  if (Animating) {
    return;
  }
  Guarded("LumoAnimator::StartAnimation() Unhandled exception during BeforeStartAnimation()",
          [&] { BeforeStartAnimation(); });
  if (!Guarded("LumoAnimator::StartAnimation() Unhandled exception during CanStartStartAnimation()",
               [&] { return CanStartAnimation(); })) {
    return;
  }
  Animating = true;
  Guarded("LumoAnimator::StartAnimation() Unhandled exception during DoStartAnimation()",
          [&] { DoStartAnimation(); });
  Guarded("LumoAnimator::StartAnimation() Unhandled exception during OnStartAnimation()",
          [&] { OnStartAnimation(); });
  Guarded("LumoAnimator::StartAnimation() Unhandled exception during AfterStartAnimation()",
          [&] { AfterStartAnimation(); });
}

void LumoAnimator::StopAnimation() {
  if (!Animating) {
    return;
  }
  Guarded("LumoAnimator::StopAnimation() Unhandled exception during BeforeStopAnimation()",
          [&] { BeforeStopAnimation(); });
  if (!Guarded("LumoAnimator::StopAnimation() Unhandled exception during CanStopStopAnimation()",
               [&] { return CanStopAnimation(); })) {
    return;
  }
  Animating = false;
  Guarded("LumoAnimator::StopAnimation() Unhandled exception during DoStopAnimation()", [&] { DoStopAnimation(); });
  Guarded("LumoAnimator::StopAnimation() Unhandled exception during OnStopAnimation()", [&] { OnStopAnimation(); });
  Guarded("LumoAnimator::StopAnimation() Unhandled exception during AfterStopAnimation()",
          [&] { AfterStopAnimation(); });
}

void LumoAnimator::PauseAnimation() {
  if (!Animating) {
    return;
  }
  Animating = false;
  Guarded("LumoAnimator::PauseAnimation() Unhandled exception during DoPauseAnimation()",
          [&] { DoPauseAnimation(); });
}

void LumoAnimator::ResumeAnimation() {
  if (Animating) {
    return;
  }
  Animating = !AnimationPrevented;
  Guarded("LumoAnimator::ResumeAnimation() Unhandled exception during DoResumeAnimation()",
          [&] { DoResumeAnimation(); });
}

void LumoAnimator::PreventAnimation() {
  if (!Guarded("LumoAnimator::PreventAnimation() Unhandled exception during CanPreventAnimation()",
               [&] { return CanPreventAnimation(); })) {
    return;
  }
  AnimationPrevented = true;
  Guarded("LumoAnimator::PreventAnimation() Unhandled exception during DoPreventAnimation()",
          [&] { DoPreventAnimation(); });
  Guarded("LumoAnimator::PreventAnimation() Unhandled exception during OnPreventAnimation()",
          [&] { OnPreventAnimation(); });
  Guarded("LumoAnimator::PreventAnimation() Unhandled exception during StopAnimation()", [&] { StopAnimation(); });
}

void LumoAnimator::ForceAnimation() {
  if (!Guarded("LumoAnimator::ForceAnimation() Unhandled exception during CanForceAnimation()",
               [&] { return CanForceAnimation(); })) {
    return;
  }
  AnimationPrevented = false;
  Guarded("LumoAnimator::ForceAnimation() Unhandled exception during DoForceAnimation()",
          [&] { DoForceAnimation(); });
  Guarded("LumoAnimator::ForceAnimation() Unhandled exception during OnForceAnimation()",
          [&] { OnForceAnimation(); });
  Guarded("LumoAnimator::ForceAnimation() Unhandled exception during StartAnimation()", [&] { StartAnimation(); });
}
