#include "framework/LumoSoundNode.h"

#include "base/DebugFormat.h"
#include "base/LumoClass.h"
#include "base/LumoStream.h"
#include "framework/LumoEngine.h"
#include "framework/LumoLevel.h"
#include "framework/LumoSprite.h"
#include "runtime/Sounds.h"

namespace {

LumoClassOf<LumoSoundNode> classOfLumoSoundNode(kVersion_1_4_0_0, "LumoSoundNode", "LumoMediaNode");
LUMO_FIELD_PROPERTY(kVersion_1_4_0_0, LumoSoundNode, Data, PropertyPointer, "tPointer");
}  // namespace

LumoSoundNode::LumoSoundNode() = default;

const char* LumoSoundNode::GetClassName() const { return "LumoSoundNode"; }

namespace {

SoundHandle HandleOf(uintptr_t data) { return reinterpret_cast<SoundHandle>(data); }
}  // namespace

uintptr_t LumoSoundNode::Load() {
  Reset();
  if (Name != nullptr) {
    SetData(reinterpret_cast<uintptr_t>(LoadSound(Name)));
  }
  return Data;
}

void LumoSoundNode::Unload() {
  if (Data != 0) {
    const SoundHandle sound = HandleOf(Data);
    StopSound(sound);
    DestroySound(sound);
  }
  SetData(0);
}

bool LumoSoundNode::IsMediaPlaying() { return Data != 0 && PlayingSound(HandleOf(Data)); }
bool LumoSoundNode::DoPlay() { return PlaySound(HandleOf(Data), Repeats); }
bool LumoSoundNode::DoStop() { return StopSound(HandleOf(Data)); }
bool LumoSoundNode::DoPause() { return PauseSound(HandleOf(Data)); }
bool LumoSoundNode::DoResume() { return ResumeSound(HandleOf(Data)); }
int32_t LumoSoundNode::DoPosition() { return Data != 0 ? GetSoundPosition(HandleOf(Data)) : -1; }
int32_t LumoSoundNode::DoSetPosition(int32_t position) {
  return Data != 0 ? SetSoundPosition(HandleOf(Data), position) : -1;
}
int32_t LumoSoundNode::DoSize() { return Data != 0 ? GetSoundSize(HandleOf(Data)) : 0; }
int32_t LumoSoundNode::DoVolume() { return Data != 0 ? GetSoundVolume(HandleOf(Data)) : 0; }
int32_t LumoSoundNode::DoSetVolume(int32_t volume) { return Data != 0 ? SetSoundVolume(HandleOf(Data), volume) : 0; }
int32_t LumoSoundNode::DoPan() { return Data != 0 ? GetSoundPan(HandleOf(Data)) : 0; }
int32_t LumoSoundNode::DoSetPan(int32_t pan) { return Data != 0 ? SetSoundPan(HandleOf(Data), pan) : 0; }

void LumoSoundNode::OnPlay() {
  TellReceiver("LumoSoundNode", "Play", "Sound", &LumoSprite::DoPlaySound, &LumoSprite::OnPlaySound);
}
void LumoSoundNode::OnStop() {
  TellReceiver("LumoSoundNode", "Stop", "Sound", &LumoSprite::DoStopSound, &LumoSprite::OnStopSound);
}
void LumoSoundNode::OnPause() {
  TellReceiver("LumoSoundNode", "Pause", "Sound", &LumoSprite::DoPauseSound, &LumoSprite::OnPauseSound);
}
void LumoSoundNode::OnResume() {
  TellReceiver("LumoSoundNode", "Resume", "Sound", &LumoSprite::DoResumeSound, &LumoSprite::OnResumeSound);
}

// ---- Stored form ----

bool LumoSoundNode::SaveData(LumoStream* stream, const LumoProperty*) { return SaveMediaData(stream); }

bool LumoSoundNode::LoadData(LumoStream* stream, const LumoProperty*) {
  bool named = false;
  if (!ReadMediaData(stream, named)) {
    return false;
  }
  if (!named) {
    return true;
  }
  if (Engine == nullptr || Engine->Level == nullptr || !Engine->Level->SoundList) {
    DebugPrint("LumoSoundNode::LoadData() There is no sound list to load into (Name=%s, Node=%p)\n", DebugText(Name),
               DebugAddress(this));
    return false;
  }
  return Load() != 0;
}
