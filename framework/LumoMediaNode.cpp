#include "framework/LumoMediaNode.h"

#include "base/DebugFormat.h"
#include "base/LumoClass.h"
#include "base/LumoStream.h"
#include "framework/LumoSprite.h"

namespace {

LumoClassOf<LumoMediaNode> classOfLumoMediaNode(kVersion_1_4_0_0, "LumoMediaNode", "LumoNode");
LUMO_FIELD_PROPERTY(kVersion_1_4_0_0, LumoMediaNode, LastPosition, PropertyInteger, "tPosition");
LUMO_FIELD_PROPERTY(kVersion_1_4_0_0, LumoMediaNode, Repeats, PropertyInteger, "tInteger");
LUMO_FIELD_PROPERTY(kVersion_1_4_0_0, LumoMediaNode, Started, PropertyBool, "tBool");
LUMO_FIELD_PROPERTY(kVersion_1_4_0_0, LumoMediaNode, Paused, PropertyBool, "tBool");
LUMO_FIELD_PROPERTY(kVersion_1_4_0_0, LumoMediaNode, Frozen, PropertyBool, "tBool");

}  // namespace

LumoMediaNode::LumoMediaNode() = default;

const char* LumoMediaNode::GetClassName() const { return "LumoMediaNode"; }

LUMO_GENERIC_FIELD(LumoMediaNode, LastPosition)
LUMO_GENERIC_FIELD(LumoMediaNode, Started)
LUMO_GENERIC_FIELD(LumoMediaNode, Paused)
LUMO_GENERIC_FIELD(LumoMediaNode, Frozen)

bool LumoMediaNode::LoadRepeats(LumoStream* stream, const LumoProperty* property) {
  int32_t repeats = 0;
  if (!LoadPropertyFrom(stream, property, &repeats)) {
    return false;
  }
  SetRepeats(repeats);
  return true;
}

bool LumoMediaNode::SaveRepeats(LumoStream* stream, const LumoProperty* property) {
  return SavePropertyTo(stream, property, &Repeats);
}

void LumoMediaNode::DoFree() {
  SetReceiver(nullptr);
  LumoNode::DoFree();
}

void LumoMediaNode::OnAbortReferenceTo(LumoObject* other) {
  LumoNode::OnAbortReferenceTo(other);
  if (other != nullptr && static_cast<const void*>(other) == static_cast<const void*>(Receiver)) {
    Receiver = nullptr;
  }
}

uintptr_t LumoMediaNode::SetData(uintptr_t value) {
  SetReceiver(nullptr);
  Started = false;
  return LumoNode::SetData(value);
}

void LumoMediaNode::DebugDumpFields() {
  LumoNode::DebugDumpFields();
  DebugPrint(", Receiver=%p, LastPosition=%i, Repeats=%i, Started=%i, Paused=%i, Frozen=%i",
             static_cast<const void*>(Receiver), LastPosition, Repeats, Started ? 1 : 0, Paused ? 1 : 0,
             Frozen ? 1 : 0);
}

void LumoMediaNode::ReportMediaFault(const char* operation) const {
  DebugPrint("LumoMediaNode::%s() Unhandled exception (Name=%s, Object=%p:%s)\n", operation, DebugText(Name),
             DebugAddress(this), DebugClassName(this));
}

bool LumoMediaNode::ReceiverListens() const { return Receiver != nullptr && Receiver->parent != nullptr; }

void LumoMediaNode::TellReceiver(const char* kind, const char* step, const char* media,
                                 void (LumoSprite::*doHook)(), void (LumoSprite::*onHook)()) {
  const auto report = [&](const char* prefix) {
    DebugPrint("%s::%s%s() Unhandled exception during %s%s%s() (Sender=%p:%s, Receiver=%p:%s)\n", kind, prefix, step,
               prefix, step, media, DebugAddress(this), DebugClassName(this), DebugAddress(Receiver),
               DebugClassName(Receiver));
  };
  if (LumoSprite* receiver = Receiver) {
    RunGuarded([&] { (receiver->*doHook)(); }, [&] { report("Do"); });
  }
  if (LumoSprite* receiver = Receiver) {
    RunGuarded([&] { (receiver->*onHook)(); }, [&] { report("On"); });
  }
}

// ---- Hooks ----

void LumoMediaNode::SetStarted(bool flag) {
  Started = flag;
  Paused = false;
  Frozen = false;
}

bool LumoMediaNode::IsMediaPlaying() { return false; }
bool LumoMediaNode::CanPlay() { return Repeats != 0; }
bool LumoMediaNode::DoPlay() { return true; }
void LumoMediaNode::OnPlay() {}
bool LumoMediaNode::IsStarted() { return Started; }
bool LumoMediaNode::DoStop() { return true; }
void LumoMediaNode::OnStop() {}
bool LumoMediaNode::CanPause() { return !Paused; }
bool LumoMediaNode::DoPause() { return true; }
void LumoMediaNode::OnPause() {}
bool LumoMediaNode::IsPaused() { return Paused; }
bool LumoMediaNode::DoResume() { return true; }
void LumoMediaNode::OnResume() {}
int32_t LumoMediaNode::DoPosition() { return -1; }
int32_t LumoMediaNode::DoSetPosition(int32_t) { return -1; }
int32_t LumoMediaNode::DoSize() { return 0; }
int32_t LumoMediaNode::DoVolume() { return 0; }
int32_t LumoMediaNode::DoSetVolume(int32_t) { return 0; }
int32_t LumoMediaNode::DoPan() { return 0; }
int32_t LumoMediaNode::DoSetPan(int32_t) { return 0; }
void LumoMediaNode::DoUpdate() {}

void LumoMediaNode::DoCheck() {
  if (Frozen || !Started || (Data != 0 && IsMediaPlaying())) {
    return;
  }
  SetStarted(false);
  if (ReceiverListens()) {
    RunGuarded([&] { OnStop(); }, [&] {
      DebugPrint("LumoMediaNode::DoCheck() Unhandled exception during OnStop() (Name=%s, Object=%p:%s)\n",
                 DebugText(Name), DebugAddress(this), DebugClassName(this));
    });
  }
}

// The receiver is referenced, so a sprite freed while its sound plays on is
// forgotten rather than told.
LumoSprite* LumoMediaNode::SetReceiver(LumoSprite* receiver) {
  if (receiver == Receiver) {
    return Receiver;
  }
  if (Receiver != nullptr) {
    RemoveReference(Receiver);
  }
  Receiver = nullptr;
  if (receiver != nullptr && AddReference(receiver) != nullptr) {
    Receiver = receiver;
  }
  return Receiver;
}

int32_t LumoMediaNode::SetRepeats(int32_t repeats) { return Repeats = repeats < 0 ? -1 : repeats; }

// ---- Public operations ----

bool LumoMediaNode::IsPlaying() { return Data != 0 && IsMediaPlaying(); }

bool LumoMediaNode::Play(LumoSprite* receiver) {
  return Guarded("Play", [&] {
    Stop();
    if (Data == 0 || !CanPlay()) {
      return false;
    }
    SetReceiver(receiver);
    SetStarted(true);
    const bool played = DoPlay();
    if (played && ReceiverListens()) {
      OnPlay();
    }
    return played;
  });
}

bool LumoMediaNode::Stop() {
  return Guarded("Stop", [&] {
    if (Data == 0 || !IsStarted()) {
      return false;
    }
    SetStarted(false);
    if (!IsMediaPlaying()) {
      return false;
    }
    const bool stopped = DoStop();
    if (stopped && ReceiverListens()) {
      OnStop();
    }
    return stopped;
  });
}

bool LumoMediaNode::Pause() {
  return Guarded("Pause", [&] {
    if (Data == 0 || !CanPause()) {
      return false;
    }
    SetStarted(false);
    Paused = true;
    if (!IsMediaPlaying()) {
      return false;
    }
    const bool paused = DoPause();
    if (paused && ReceiverListens()) {
      OnPause();
    }
    return paused;
  });
}

bool LumoMediaNode::Resume() {
  return Guarded("Resume", [&] {
    if (Data == 0 || !IsPaused()) {
      return false;
    }
    SetStarted(true);
    const bool resumed = DoResume();
    if (resumed && ReceiverListens()) {
      OnResume();
    }
    return resumed;
  });
}

int32_t LumoMediaNode::Position() {
  return Guarded("Position", [&] { return Data != 0 ? DoPosition() : -1; });
}

int32_t LumoMediaNode::SetPosition(int32_t position) {
  return Guarded("SetPosition", [&] { return Data != 0 ? DoSetPosition(position) : -1; });
}

int32_t LumoMediaNode::Size() {
  return Guarded("Size", [&] { return Data != 0 ? DoSize() : 0; });
}

int32_t LumoMediaNode::Volume() {
  return Guarded("Volume", [&] { return DoVolume(); });
}

int32_t LumoMediaNode::SetVolume(int32_t volume) {
  return Guarded("SetVolume", [&] { return DoSetVolume(volume); });
}

int32_t LumoMediaNode::Pan() {
  return Guarded("Pan", [&] { return DoPan(); });
}

int32_t LumoMediaNode::SetPan(int32_t pan) {
  return Guarded("SetPan", [&] { return DoSetPan(pan); });
}

void LumoMediaNode::Update() {
  Guarded("Update", [&] { DoUpdate(); });
}

void LumoMediaNode::Check() {
  Guarded("Check", [&] { DoCheck(); });
}

// ---- Stored form of the media ----

namespace {

constexpr uint32_t kMediaFlag = 1;  // node Flags bit 0, only recorded by the stored form

}  // namespace

bool LumoMediaNode::SaveMediaData(LumoStream* stream) const {
  const bool named = Data != 0 && Name != nullptr && (Flags & kMediaFlag) == 0;
  const bool flagged = Data != 0 && (Flags & kMediaFlag) != 0;
  return stream->WriteBool(named) && stream->WriteBool(flagged);
}

bool LumoMediaNode::ReadMediaData(LumoStream* stream, bool& named) {
  if (Data != 0) {
    Unload();
  }
  SetData(0);
  named = false;
  bool flagged = false;
  return stream->ReadBool(named) && stream->ReadBool(flagged);
}
