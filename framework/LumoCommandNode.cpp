#include "framework/LumoCommandNode.h"

#include "base/DebugFormat.h"
#include "framework/LumoCell.h"
#include "framework/LumoEngine.h"
#include "framework/LumoSequenceList.h"
#include "framework/LumoSoundNode.h"
#include "framework/LumoSprite.h"

LumoCommandNode::LumoCommandNode() = default;

const char* LumoCommandNode::GetClassName() const { return "LumoCommandNode"; }

namespace {

LumoObject* AsObject(LumoSequenceList* object) { return object; }
LumoObject* AsObject(LumoSprite* object) { return object; }
LumoObject* AsObject(LumoSoundNode* object) { return object; }
LumoObject* AsObject(LumoCell* object) { return object; }

}  // namespace

template <typename T>
T* LumoCommandNode::Refer(T*& field, T* object) {
  if (field == object) {
    return field;
  }
  if (field != nullptr) {
    RemoveReference(AsObject(field));
    field = nullptr;
  }
  if (object != nullptr && AddReference(AsObject(object)) != nullptr) {
    field = object;
  }
  return field;
}

void LumoCommandNode::DoFree() {
  Refer(SequenceList, static_cast<LumoSequenceList*>(nullptr));
  Refer(Sprite, static_cast<LumoSprite*>(nullptr));
  Refer(SoundNode, static_cast<LumoSoundNode*>(nullptr));
  Refer(PrintA, static_cast<LumoCell*>(nullptr));
  LumoNode::DoFree();
}

void LumoCommandNode::OnAbortReferenceTo(LumoObject* other) {
  LumoNode::OnAbortReferenceTo(other);
  if (other == nullptr) {
    return;
  }
  const void* gone = other;
  if (gone == static_cast<const void*>(SequenceList)) {
    SequenceList = nullptr;
  }
  if (gone == static_cast<const void*>(Sprite)) {
    Sprite = nullptr;
  }
  if (gone == static_cast<const void*>(SoundNode)) {
    SoundNode = nullptr;
  }
  if (gone == static_cast<const void*>(PrintA)) {
    PrintA = nullptr;
  }
}

void LumoCommandNode::DebugDumpFields() {
  LumoNode::DebugDumpFields();
  DebugPrint(", Frame=%u, Kind=%i", Frame, Kind);
}

uint32_t LumoCommandNode::SetFrame(uint32_t frame) { return Frame = frame; }
int32_t LumoCommandNode::SetKind(int32_t kind) { return Kind = kind; }

void LumoCommandNode::DoExecute(uint32_t) {
  switch (Kind) {
    case kUser:
      DoUserCommand();
      break;
    case kTerminate:
      DoTerminateCommand();
      break;
    case kSequence:
      DoSequenceCommand();
      break;
    case kSprite:
      DoSpriteCommand();
      break;
    case kMotion:
      DoMotionCommand();
      break;
    case kSound:
      DoSoundCommand();
      break;
    case kPrint:
      DoPrint();
      break;
    default:
      break;
  }
}

void LumoCommandNode::DoUserCommand() {}

void LumoCommandNode::DoTerminateCommand() {
  if (Engine != nullptr) {
    Engine->Terminate();
  }
}

void LumoCommandNode::DoSequenceCommand() {
  if (SequenceList == nullptr) {
    return;
  }
  if (auto* sprite = dynamic_cast<LumoSprite*>(SequenceList->parent)) {
    sprite->SetSequence(SequenceList);
  }
}

void LumoCommandNode::DoSpriteCommand() {
  if (Sprite == nullptr) {
    return;
  }
  if (Repeats != 0 && Sprite->SequenceList != nullptr) {
    Sprite->SequenceList->SetRepeats(Repeats);
  }
  Sprite->StartAnimation();
}
void LumoCommandNode::DoMotionCommand() {
  if (Sprite == nullptr) {
    return;
  }
  Sprite->SetMotion(Horizontal, Vertical);
  if (Duration != 0) {
    Sprite->SetMotionDuration(Duration);
  }
  Sprite->StartMotion();
}
// The sprite, when given, becomes the sound's receiver before the media
// command; an unknown command does nothing at all.
void LumoCommandNode::DoSoundCommand() {
  if (SoundNode == nullptr || SoundCommand < kPlay || SoundCommand > kResume) {
    return;
  }
  if (Sprite != nullptr) {
    SoundNode->SetReceiver(Sprite);
  }
  switch (SoundCommand) {
    case kPlay:
      SoundNode->Play(Sprite);
      break;
    case kStop:
      SoundNode->Stop();
      break;
    case kPause:
      SoundNode->Pause();
      break;
    default:
      SoundNode->Resume();
      break;
  }
}
void LumoCommandNode::DoPrint() {
  if (PrintA != nullptr) {
    PrintA->Print(false);
  }
}

LumoSequenceList* LumoCommandNode::SetSequence(LumoSequenceList* sequence) { return Refer(SequenceList, sequence); }

void LumoCommandNode::SetSprite(LumoSprite* sprite, int32_t repeats) {
  Refer(Sprite, sprite);
  Repeats = repeats;
}

void LumoCommandNode::SetMotion(LumoSprite* sprite, int32_t horizontal, int32_t vertical, int32_t duration) {
  Refer(Sprite, sprite);
  Horizontal = horizontal;
  Vertical = vertical;
  Duration = duration < 0 ? 1 : duration;
}

LumoSoundNode* LumoCommandNode::SetSoundNode(LumoSoundNode* sound) { return Refer(SoundNode, sound); }
int32_t LumoCommandNode::SetSoundCommand(int32_t command) { return SoundCommand = command; }
LumoCell* LumoCommandNode::SetPrintA(LumoCell* cell) { return Refer(PrintA, cell); }
int32_t LumoCommandNode::SetPrintB(int32_t value) { return PrintB = value; }

void LumoCommandNode::DefineUser(uint32_t frame) {
  SetKind(kUser);
  SetFrame(frame);
}

void LumoCommandNode::DefineTerminate(uint32_t frame) {
  SetKind(kTerminate);
  SetFrame(frame);
}

void LumoCommandNode::DefineSequence(uint32_t frame, LumoSequenceList* sequence) {
  SetKind(kSequence);
  SetFrame(frame);
  SetSequence(sequence);
}

void LumoCommandNode::DefineSprite(uint32_t frame, LumoSprite* sprite, int32_t repeats) {
  SetKind(kSprite);
  SetFrame(frame);
  SetSprite(sprite, repeats);
}

void LumoCommandNode::DefineMotion(uint32_t frame, LumoSprite* sprite, int32_t horizontal, int32_t vertical,
                                   int32_t duration) {
  SetKind(kMotion);
  SetFrame(frame);
  SetMotion(sprite, horizontal, vertical, duration);
}

void LumoCommandNode::DefineSound(uint32_t frame, int32_t command, LumoSoundNode* sound, LumoSprite* sprite) {
  if (sound == nullptr) {
    return;
  }
  SetKind(kSound);
  SetFrame(frame);
  SetSoundCommand(command);
  SetSoundNode(sound);
  SetSprite(sprite, Repeats);
}

void LumoCommandNode::DefinePrint(uint32_t frame, LumoCell* cell) {
  SetKind(kPrint);
  SetFrame(frame);
  SetPrintA(cell);
  SetPrintB(0);
}

bool LumoCommandNode::Execute(uint32_t frameCounter) {
  if (frameCounter < Frame) {
    return false;
  }
  RunGuarded([&] { DoExecute(frameCounter); }, [&] { ReportExecuteFault(frameCounter); });
  return true;
}

namespace {

const char* MediaCommandName(int32_t command) {
  switch (command) {
    case LumoCommandNode::kPlay:
      return "Play";
    case LumoCommandNode::kStop:
      return "Stop";
    case LumoCommandNode::kPause:
      return "Pause";
    case LumoCommandNode::kResume:
      return "Resume";
    default:
      return "Unknown";
  }
}

}  // namespace

void LumoCommandNode::ReportExecuteFault(uint32_t frameCounter) {
  DebugPrint("LumoCommandNode::Execute() Unhandled exception during ");
  switch (Kind) {
    case kUser:
      DebugPrint("DoUser() (");
      break;
    case kTerminate:
      DebugPrint("DoTerminate() (");
      break;
    case kSequence:
      DebugPrint("DoSequence() (SequenceList=%p", static_cast<const void*>(SequenceList));
      DebugPrint(", ");
      break;
    case kSprite:
      DebugPrint("DoSprite() (Sprite=%p", DebugAddress(Sprite));
      DebugPrint(", Repeats=%i, ", Repeats);
      break;
    case kMotion:
      DebugPrint("DoMotion() (Sprite=%p", static_cast<const void*>(Sprite));
      DebugPrint(", Horizontal=%i, Vertical=%i, Duration=%i, ", Horizontal, Vertical, Duration);
      break;
    case kSound:
      DebugPrint("DoSound() (Sound=%p", static_cast<const void*>(SoundNode));
      if (Sprite != nullptr) {
        DebugPrint(", Sprite=%p:%s", static_cast<const void*>(Sprite),
                   DebugClassName(Sprite));
      }
      DebugPrint(", MediaCommand=%s, ", MediaCommandName(SoundCommand));
      break;
    case kPrint:
      DebugPrint("DoPrint() (Cell=%p", static_cast<const void*>(PrintA));
      DebugPrint(", ");
      break;
    default:
      DebugPrint("an unknown operation (");
      break;
  }
  DebugPrint("FrameCounter=%i, CommandNode=%p:%s)\n", static_cast<int>(frameCounter), DebugAddress(this),
             DebugClassName(this));
}
