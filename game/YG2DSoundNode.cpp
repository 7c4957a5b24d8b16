#include "game/YG2DSoundNode.h"

#include <cmath>

#include "base/DebugFormat.h"
#include "framework/LumoSprite.h"
#include "game/YG2DSoundController.h"

YG2DSoundNode::YG2DSoundNode() = default;

const char* YG2DSoundNode::GetClassName() const { return "YG2DSoundNode"; }

void YG2DSoundNode::DoFree() {
  SetSource(nullptr);
  LumoSoundNode::DoFree();
}

void YG2DSoundNode::OnAbortReferenceTo(LumoObject* other) {
  LumoSoundNode::OnAbortReferenceTo(other);
  if (other != nullptr && static_cast<const void*>(other) == static_cast<const void*>(Source)) {
    Source = nullptr;
  }
}

void YG2DSoundNode::SetSource(YG2DSoundNode* source) {
  if (source == Source) {
    return;
  }
  if (Source != nullptr) {
    if (Source->CopyCount > 0) {
      --Source->CopyCount;
    }
    RemoveReference(Source);
    Source = nullptr;
  }
  if (source != nullptr && AddReference(source) != nullptr) {
    Source = source;
    ++Source->CopyCount;
    Duplicate = true;
  }
}

// ---- Guarded hooks: a fault of the device or of a receiver is logged and
// goes no further, so one broken sound never stops the level's frame ----

bool YG2DSoundNode::DoPlay() {
  try {
    return LumoSoundNode::DoPlay();
  } catch (...) {
    DebugPrint("(INT)Ignored exception during YG2DSoundNode::DoPlay()\n");
    return false;
  }
}

void YG2DSoundNode::DoCheck() {
  try {
    // The media node's check ends a started node whose sound stopped, and
    // one that has no device handle at all.
    LumoSoundNode::DoCheck();
  } catch (...) {
    DebugPrint("Ignored exception in YG2DSoundNode::DoCheck()\n");
  }
}

void YG2DSoundNode::OnStop() {
  try {
    if (auto* receiver = dynamic_cast<YG2DSoundReceiver*>(Receiver)) {
      receiver->OnStopSound(this);
    } else {
      LumoSoundNode::OnStop();
    }
  } catch (...) {
    DebugPrint("(INT) Ignored exception in YG2DSoundNode::OnStop()\n");
  }
}

// ---- Placement ----

YG2DSoundNode::Mix YG2DSoundNode::PositionalMix(double dx, double dy, double factor, double effectsScale) {
  const double distance = std::sqrt(dx * dx + (2.0 * dy) * (2.0 * dy));
  double gain = (1.7 - std::pow(distance * 0.001, 0.9)) * factor;
  if (gain > 1.0) {
    gain = 1.0;
  }
  Mix mix;
  // Written so that a NaN factor is silent too.
  if (!(gain > 0.0)) {
    return mix;
  }
  mix.audible = true;
  mix.volume = static_cast<int32_t>((1.0 - effectsScale * gain) * -100.0);
  mix.pan = static_cast<int32_t>(dx * 0.025 * gain);
  return mix;
}

void YG2DSoundNode::ApplyPosition(int32_t listenerX, int32_t listenerY, double effectsScale) {
  const double dx = static_cast<double>(PositionX) - static_cast<double>(listenerX);
  const double dy = static_cast<double>(PositionY) - static_cast<double>(listenerY);
  const Mix mix = PositionalMix(dx, dy, static_cast<double>(Factor), effectsScale);
  SetVolume(mix.volume);
  if (mix.audible) {
    SetPan(mix.pan);
  }
}

void YG2DSoundNode::Reapply() {
  if (const auto* controller = dynamic_cast<const YG2DSoundController*>(parent)) {
    ApplyPosition(controller->ListenerX, controller->ListenerY, controller->EffectsScale);
  } else {
    ApplyPosition(PositionX, PositionY, 1.0);
  }
}

bool YG2DSoundNode::PlayAt(int32_t x, int32_t y, float factor, LumoSprite* receiver) {
  PositionX = x;
  PositionY = y;
  Factor = factor;
  const bool played = Play(receiver);
  Reapply();
  return played;
}

void YG2DSoundNode::SetPosition2D(int32_t x, int32_t y) {
  PositionX = x;
  PositionY = y;
  Reapply();
}

void YG2DSoundNode::SetFactor(float factor) {
  Factor = factor;
  Reapply();
}

void YG2DSoundNode::Update() {
  const auto* controller = dynamic_cast<const YG2DSoundController*>(parent);
  ApplyPosition(PositionX, PositionY, controller != nullptr ? controller->EffectsScale : 1.0);
}
