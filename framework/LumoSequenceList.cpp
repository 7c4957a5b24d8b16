#include "framework/LumoSequenceList.h"

#include <algorithm>
#include <new>

#include "base/DebugFormat.h"
#include "base/LumoClass.h"
#include "base/LumoStream.h"
#include "framework/LumoEngine.h"
#include "framework/LumoGraphicList.h"
#include "framework/LumoGraphicNode.h"
#include "framework/LumoLevel.h"
#include "framework/LumoSequenceNode.h"
#include "framework/LumoSoundList.h"
#include "framework/LumoSoundNode.h"
#include "framework/LumoSprite.h"

namespace {

LumoClassOf<LumoSequenceList> classOfLumoSequenceList(kVersion_1_4_0_0, "LumoSequenceList", "LumoList");
LUMO_FIELD_PROPERTY(kVersion_1_4_0_0, LumoSequenceList, Data, PropertyPointer, "tPointer");
LUMO_FIELD_PROPERTY(kVersion_1_4_0_0, LumoSequenceList, FramesPerPulse, PropertyInteger, "tCardinal");
LUMO_FIELD_PROPERTY(kVersion_1_4_0_0, LumoSequenceList, Repeats, PropertyInteger, "tInteger");

uint32_t EngineFramesPerPulse() {
  return Engine != nullptr ? Engine->FramesPerPulse : LumoEngine::kDefaultFramesPerPulse;
}

}  // namespace

LumoSequenceList::LumoSequenceList() : FramesPerPulse(EngineFramesPerPulse()) {
  if (Engine != nullptr && Engine->Level != nullptr && Engine->Level->GraphicList) {
    GraphicList = Engine->Level->GraphicList.get();
    if (AddReference(GraphicList) == nullptr) {
      GraphicList = nullptr;
    }
  }
}

const char* LumoSequenceList::GetClassName() const { return "LumoSequenceList"; }

LumoNode* LumoSequenceList::CreateItem() { return new (std::nothrow) LumoSequenceNode; }

bool LumoSequenceList::DoRegisterObject(LumoObject* object) {
  if (dynamic_cast<LumoSequenceNode*>(object) == nullptr) {
    DebugPrint("LumoSequenceList::DoRegisterObject() The item is not a sequence node (Item=%p:%s, List=%p:%s)\n",
               DebugAddress(object), DebugClassName(object), DebugAddress(this), DebugClassName(this));
    return false;
  }
  return LumoList::DoRegisterObject(object);
}

void LumoSequenceList::OnAbortReferenceTo(LumoObject* other) {
  LumoList::OnAbortReferenceTo(other);
  if (other != nullptr && static_cast<const void*>(other) == static_cast<const void*>(GraphicList)) {
    GraphicList = nullptr;
  }
  if (other != nullptr && static_cast<const void*>(other) == static_cast<const void*>(SoundNode)) {
    SoundNode = nullptr;
    Data = 0;
  }
}

void LumoSequenceList::DoFree() {
  if (GraphicList != nullptr) {
    RemoveReference(GraphicList);
    GraphicList = nullptr;
  }
  // A named sound belongs to its sound list; a nameless one to this list.
  LumoSoundNode* sound = SoundNode;
  SetSound(nullptr);
  if (sound != nullptr && sound->Name == nullptr) {
    if (Engine != nullptr) {
      Engine->DisposeObject(sound);
    } else {
      DestroyObject(sound);
    }
  }
  LumoList::DoFree();
}

uintptr_t LumoSequenceList::SetData(uintptr_t value) {
  SetSound(reinterpret_cast<LumoSoundNode*>(value));
  return Data;
}

void LumoSequenceList::SetSound(LumoSoundNode* sound) {
  if (sound == SoundNode) {
    return;
  }
  if (LumoSoundNode* previous = SoundNode) {
    RemoveReference(previous);
    SoundNode = nullptr;
    Data = 0;
    previous->SetReceiver(nullptr);
    previous->Stop();
  }
  if (sound != nullptr && AddReference(sound) != nullptr) {
    SoundNode = sound;
    Data = reinterpret_cast<uintptr_t>(sound);
  }
}

void LumoSequenceList::DebugDumpFields() {
  LumoList::DebugDumpFields();
  DebugPrint(", FramesPerPulse=%i, Repeat=%p", static_cast<int>(FramesPerPulse),
             reinterpret_cast<const void*>(static_cast<intptr_t>(Repeats)));
}

// ---- Stored fields ----

bool LumoSequenceList::SaveData(LumoStream* stream, const LumoProperty*) {
  if (SoundNode == nullptr || SoundNode->Name == nullptr) {
    return stream->WriteBool(false);
  }
  return stream->WriteBool(true) && stream->WriteBool(false) && stream->WriteCharStr(SoundNode->Name);
}

bool LumoSequenceList::LoadData(LumoStream* stream, const LumoProperty*) {
  bool present = false;
  if (!stream->ReadBool(present)) {
    return false;
  }
  if (!present) {
    return true;
  }
  bool second = false;
  if (!stream->ReadBool(second)) {
    return false;
  }
  if (second) {
    DebugPrint("LumoSequenceList::LoadData() The stored sound is of an unknown form (List=%p)\n", DebugAddress(this));
    return false;
  }
  tCharStr name = nullptr;
  if (!stream->ReadCharStr(name)) {
    return false;
  }
  LumoSoundList* sounds = Engine != nullptr && Engine->Level != nullptr ? Engine->Level->SoundList.get() : nullptr;
  auto* sound = sounds != nullptr ? dynamic_cast<LumoSoundNode*>(sounds->GetLoaded(name)) : nullptr;
  if (sound == nullptr) {
    DebugPrint("LumoSequenceList::LoadData() The sound cannot be found (Name=%s, List=%p)\n", DebugText(name),
               DebugAddress(this));
    FreeCharStr(name);
    return false;
  }
  FreeCharStr(name);
  SetSound(sound);
  return SoundNode == sound;
}

bool LumoSequenceList::LoadFramesPerPulse(LumoStream* stream, const LumoProperty* property) {
  uint32_t frames = 0;
  if (!LoadPropertyFrom(stream, property, &frames)) {
    return false;
  }
  SetFramesPerPulse(frames);
  return true;
}

bool LumoSequenceList::SaveFramesPerPulse(LumoStream* stream, const LumoProperty* property) {
  return SavePropertyTo(stream, property, &FramesPerPulse);
}

bool LumoSequenceList::LoadRepeats(LumoStream* stream, const LumoProperty* property) {
  int32_t repeats = 0;
  if (!LoadPropertyFrom(stream, property, &repeats)) {
    return false;
  }
  SetRepeats(repeats);
  return true;
}

bool LumoSequenceList::SaveRepeats(LumoStream* stream, const LumoProperty* property) {
  return SavePropertyTo(stream, property, &Repeats);
}

// ---- Setters ----

uint32_t LumoSequenceList::SetFramesPerPulse(uint32_t frames) {
  return FramesPerPulse = frames != 0 ? frames : EngineFramesPerPulse();
}

int32_t LumoSequenceList::SetRepeats(int32_t repeats) { return Repeats = repeats < 0 ? -1 : repeats; }

void LumoSequenceList::GetMaximumSize(int32_t& width, int32_t& height) {
  width = 0;
  height = 0;
  VisitItems([&](LumoNode* item) {
    const auto* frame = dynamic_cast<const LumoSequenceNode*>(item);
    if (frame != nullptr && frame->Graphic() != nullptr) {
      width = std::max(width, frame->Graphic()->Width);
      height = std::max(height, frame->Graphic()->Height);
    }
    return false;
  });
}

// ---- Frame builders ----

LumoSequenceNode* LumoSequenceList::AppendFrameOf(LumoGraphicNode* graphic, int32_t left, int32_t top,
                                                  uint32_t duration, bool owned) {
  if (graphic == nullptr) {
    return nullptr;
  }
  auto* frame = dynamic_cast<LumoSequenceNode*>(CreateItem());
  if (frame == nullptr || Append(frame) == nullptr) {
    if (frame != nullptr) {
      DestroyObject(frame);
    }
    if (owned) {
      DestroyObject(graphic);
    }
    return nullptr;
  }
  frame->SetGraphic(graphic);
  frame->SetOffset(left, top);
  frame->SetDuration(duration);
  return frame;
}

LumoSequenceNode* LumoSequenceList::AppendFilledFrame(int32_t width, int32_t height, const sRGB& colour,
                                                      uint32_t duration) {
  if (GraphicList == nullptr) {
    return nullptr;
  }
  return AppendFrameOf(GraphicList->GetGeneratedGraphic(width, height, colour, false), 0, 0, duration, true);
}

LumoSequenceNode* LumoSequenceList::AppendBlankFrame(int32_t width, int32_t height) {
  if (GraphicList == nullptr) {
    return nullptr;
  }
  return AppendFrameOf(GraphicList->GetBlankGraphic(width, height), 0, 0, 1, true);
}

LumoSequenceNode* LumoSequenceList::AppendFrame(LumoGraphicNode* graphic, int32_t left, int32_t top,
                                                uint32_t duration) {
  if (GraphicList == nullptr) {
    return nullptr;
  }
  return AppendFrameOf(graphic, left, top, duration, false);
}

LumoSequenceNode* LumoSequenceList::AppendCanvasFrame(int32_t width, int32_t height, uint32_t duration) {
  if (GraphicList == nullptr) {
    return nullptr;
  }
  auto* canvas = new (std::nothrow) LumoGraphicNode;
  if (canvas == nullptr) {
    return nullptr;
  }
  canvas->SetCanvasSize(width, height);
  if (GraphicList->Append(canvas) == nullptr) {
    DestroyObject(canvas);
    return nullptr;
  }
  return AppendFrameOf(canvas, 0, 0, duration, true);
}

LumoSequenceNode* LumoSequenceList::AppendGeneratedFrame(int32_t width, int32_t height, const sRGB& colour,
                                                         uint32_t duration) {
  if (GraphicList == nullptr) {
    return nullptr;
  }
  return AppendFrameOf(GraphicList->GetTurtleGraphic(width, height, colour, false), 0, 0, duration, true);
}

LumoSequenceNode* LumoSequenceList::AppendBlankDrawableFrame(int32_t width, int32_t height) {
  if (GraphicList == nullptr) {
    return nullptr;
  }
  return AppendFrameOf(GraphicList->GetBlankTurtleGraphic(width, height), 0, 0, 1, true);
}

// A name that yields no picture (nor alpha map, when asked for one) is
// unknown: the node the lookup made for it does not stay.
LumoSequenceNode* LumoSequenceList::AppendNamedFrameAt(const char* name, int32_t left, int32_t top,
                                                       uint32_t duration, bool alpha) {
  if (GraphicList == nullptr || name == nullptr) {
    return nullptr;
  }
  const bool known = GraphicList->FindByName(name) != nullptr;
  LumoGraphicNode* graphic = GraphicList->FindGraphic(name, 0, 0, alpha);
  if (graphic != nullptr && graphic->Data == 0 && graphic->Alpha == nullptr) {
    if (!known && !graphic->HasReferrers()) {
      DestroyObject(graphic);
    }
    return nullptr;
  }
  return AppendFrameOf(graphic, left, top, duration, false);
}

LumoSequenceNode* LumoSequenceList::AppendNamedFrame(const char* name, uint32_t duration) {
  return AppendNamedFrameAt(name, 0, 0, duration, false);
}

void LumoSequenceList::DoClear() {
  LumoList::DoClear();
  auto* sprite = dynamic_cast<LumoSprite*>(parent);
  if (sprite != nullptr && sprite->SequenceList == this) {
    sprite->SetSequenceNode(nullptr);
  }
}

void LumoSequenceList::GetBounds(int32_t& left, int32_t& top, int32_t& width, int32_t& height) {
  auto* sprite = dynamic_cast<LumoSprite*>(parent);
  if (sprite == nullptr) {
    return;
  }
  // Works on the edges in 64 bits, so far-off frames cannot overflow.
  bool empty = width == 0 || height == 0;
  int64_t x0 = left;
  int64_t y0 = top;
  int64_t x1 = x0 + width;
  int64_t y1 = y0 + height;
  const auto enclose = [&](int64_t x, int64_t y, int64_t w, int64_t h) {
    if (empty) {
      x0 = x;
      y0 = y;
      x1 = x + w;
      y1 = y + h;
      empty = false;
      return;
    }
    x0 = std::min(x0, x);
    y0 = std::min(y0, y);
    x1 = std::max(x1, x + w);
    y1 = std::max(y1, y + h);
  };
  for (LumoNode* item = first; item != nullptr; item = item->next) {
    auto* frame = static_cast<LumoSequenceNode*>(item);
    const LumoGraphicNode* graphic = frame->Graphic();
    if (graphic == nullptr) {
      continue;
    }
    enclose(int64_t{sprite->Left} + frame->Left + graphic->Left, int64_t{sprite->Top} + frame->Top + graphic->Top,
            graphic->Width, graphic->Height);
  }
  enclose(sprite->Left, sprite->Top, 0, 0);
  left = static_cast<int32_t>(x0);
  top = static_cast<int32_t>(y0);
  width = static_cast<int32_t>(x1 - x0);
  height = static_cast<int32_t>(y1 - y0);
}
