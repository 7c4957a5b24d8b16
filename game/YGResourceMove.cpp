#include "game/YGResourceMove.h"

#include <algorithm>
#include <limits>
#include <stdexcept>
#include <utility>

#include "base/DebugFormat.h"
#include "base/LumoClass.h"
#include "base/LumoStream.h"
#include "framework/LumoGraphicNode.h"
#include "framework/LumoSequenceList.h"
#include "framework/LumoSequenceNode.h"
#include "framework/LumoSoundList.h"
#include "framework/LumoSoundNode.h"
#include "game/PlayerColourTable.h"
#include "game/ResourceForms.h"
#include "game/YGCachedSequence.h"
#include "game/YGColorMask.h"
#include "game/YGDynamicResourceController.h"
#include "runtime/Blit.h"

namespace {

LumoClassOf<YGResourceMove> classOfYGResourceMove(kVersion_1_5_1_6, "YGResourceMove", "LumoObjects");
LUMO_FIELD_PROPERTY(kVersion_1_5_1_6, YGResourceMove, Sound, PropertyPointer, "tPointer");
LUMO_FIELD_PROPERTY(kVersion_1_5_1_6, YGResourceMove, MaskColor, PropertyPointer, "tPointer");
LUMO_FIELD_PROPERTY(kVersion_1_5_1_6, YGResourceMove, MoveID, PropertyShort, "tWord");
LUMO_FIELD_PROPERTY(kVersion_1_5_1_6, YGResourceMove, Sequences, PropertyInteger, "tInteger");
LUMO_FIELD_PROPERTY(kVersion_1_5_1_6, YGResourceMove, Colors, PropertyInteger, "tInteger");
LUMO_FIELD_PROPERTY(kVersion_1_5_1_6, YGResourceMove, Repeats, PropertyInteger, "tInteger");
LUMO_FIELD_PROPERTY(kVersion_1_5_1_6, YGResourceMove, Movement, PropertyBool, "tBool");
LUMO_FIELD_PROPERTY(kVersion_1_5_1_6, YGResourceMove, Bytes, PropertyInteger, "tInteger");

// The colours stored moves had before the grid widened to eight.
constexpr int32_t kOldColourCount = 5;
constexpr int32_t kWideColourCount = 8;

int32_t AddClamped(int32_t value, int64_t delta) {
  return static_cast<int32_t>(std::clamp<int64_t>(static_cast<int64_t>(value) + delta,
                                                  std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

}  // namespace

YGResourceMove::YGResourceMove() = default;

YGResourceMove::YGResourceMove(uint16_t moveId, int32_t sequences, int32_t colours, int32_t repeats, bool movement)
    : MoveID(moveId), Sequences(sequences), Colors(colours), Repeats(repeats), Movement(movement) {
  if (!CheckResourceAxis("YGResourceMove", "Sequences", sequences) ||
      !CheckResourceAxis("YGResourceMove", "Colors", colours) ||
      (sequences * colours > 0 && !SetCount(sequences * colours))) {
    DebugPrint("(RES) Unhandled exception during YGResourceMove::YGResourceMove(%i,%i,%i)\n", moveId, sequences,
               colours);
    throw std::invalid_argument("YGResourceMove: sequence or colour count out of range");
  }
}

const char* YGResourceMove::GetClassName() const { return "YGResourceMove"; }

void YGResourceMove::DoDeactivate() {
  try {
    masks.clear();
    SetSound(nullptr);
    LumoObjects::DoDeactivate();
  } catch (...) {
    DebugPrint("(RES) Unhandled exception in YGResourceMove::DoDeactivate() :\n");
    DebugPrint("Sequences %d Colors %d\n", Sequences, Colors);
    throw;
  }
}

bool YGResourceMove::DoRegisterObject(LumoObject* object) {
  if (dynamic_cast<LumoSequenceList*>(object) == nullptr) {
    DebugPrint("(RES) YGResourceMove::DoRegisterObject() Entry %p:%s of move %u is not a LumoSequenceList\n",
               DebugAddress(object), DebugClassName(object), MoveID);
    return false;
  }
  return LumoObjects::DoRegisterObject(object);
}

void YGResourceMove::OnAbortReferenceTo(LumoObject* other) {
  LumoObjects::OnAbortReferenceTo(other);
  if (other != nullptr && other == Sound) {
    Sound = nullptr;
  }
}

bool YGResourceMove::OnLoadFrom(LumoStream* stream) {
  if (!LumoObjects::OnLoadFrom(stream)) {
    return false;
  }
  // Every index below is s x Colors + c: the grid must be exactly as large
  // as its counts say before anything reads it.
  if (!CheckResourceAxis("YGResourceMove", "Sequences", Sequences) ||
      !CheckResourceAxis("YGResourceMove", "Colors", Colors) ||
      !CheckResourceSlots("YGResourceMove", *this, static_cast<int64_t>(Sequences) * Colors)) {
    DebugPrint("(RES) YGResourceMove::LoadFrom() Move %u refused\n", MoveID);
    return false;
  }
  AdvanceLoaderGauge(Bytes);
  if (Sound != nullptr) {
    Sound->SetRepeats(Repeats == -2 ? 1 : Repeats);
  }
  if (Colors == kOldColourCount) {
    WidenToEightColours();
  }
  return true;
}

void YGResourceMove::WidenToEightColours() {
  std::vector<LumoObject*> old(items, items + count);
  std::fill(items, items + count, nullptr);
  if (Sequences == 0 || !SetCount(Sequences * kWideColourCount)) {
    // Nothing can be lost here: an empty grid, or no memory for the wider
    // one (the entries go back where they were).
    std::copy(old.begin(), old.end(), items);
    return;
  }
  for (int32_t sequence = 0; sequence < Sequences; ++sequence) {
    for (int32_t colour = 0; colour < kOldColourCount; ++colour) {
      items[sequence * kWideColourCount + colour] = old[sequence * kOldColourCount + colour];
    }
  }
  Colors = kWideColourCount;
}

bool YGResourceMove::IsStoredEntry(int32_t slot) const {
  auto* list = dynamic_cast<LumoSequenceList*>(At(slot));
  if (list == nullptr) {
    return false;
  }
  YGDynamicResourceController* controller = YGDynamicResourceController::Current();
  return controller == nullptr || controller->FindCachedSequence(list) == nullptr;
}

bool YGResourceMove::SaveCount(LumoStream* stream, const LumoProperty* property) {
  // Variants are hidden from the collection's writer, and the frames' mask
  // positions (a detail of this move in memory) are written as 0; both are
  // put back even when the writer throws.
  struct Hidden {
    YGResourceMove* move;
    std::vector<std::pair<int32_t, LumoObject*>> entries;
    std::vector<std::pair<LumoNode*, uint32_t>> frameIds;
    ~Hidden() {
      for (const auto& [slot, entry] : entries) {
        move->items[slot] = entry;
      }
      for (const auto& [frame, id] : frameIds) {
        frame->ID = id;
      }
    }
  } hidden{this, {}, {}};
  for (int32_t slot = 0; slot < count; ++slot) {
    if (items[slot] == nullptr) {
      continue;
    }
    if (!IsStoredEntry(slot)) {
      hidden.entries.emplace_back(slot, items[slot]);
      items[slot] = nullptr;
      continue;
    }
    static_cast<LumoSequenceList*>(items[slot])->VisitItems([&](LumoNode* frame) {
      if (frame->ID != 0) {
        hidden.frameIds.emplace_back(frame, frame->ID);
        frame->ID = 0;
      }
      return false;
    });
  }
  return LumoObjects::SaveCount(stream, property);
}

// ---- Stored fields ----

bool YGResourceMove::SaveSound(LumoStream* stream, const LumoProperty*) {
  return stream != nullptr && stream->WriteCharStr(Sound != nullptr ? Sound->Name : nullptr);
}

bool YGResourceMove::LoadSound(LumoStream* stream, const LumoProperty*) {
  tCharStr name = nullptr;
  if (stream == nullptr || !stream->ReadCharStr(name)) {
    return false;
  }
  SetSound(nullptr);
  if (name != nullptr && name[0] != '\0') {
    LumoSoundNode* sound = nullptr;
    if (LumoSoundList* sounds = CurrentSoundList()) {
      sound = dynamic_cast<LumoSoundNode*>(sounds->FindByName(name));
      if (sound == nullptr) {
        sound = dynamic_cast<LumoSoundNode*>(sounds->GetLoaded(name));
      }
    }
    if (sound == nullptr) {
      DebugPrint("(RES) YGResourceMove::LoadSound() Sound %s not found; the move plays none\n", name);
    }
    SetSound(sound);
  }
  FreeCharStr(name);
  return true;
}

bool YGResourceMove::SaveMaskColor(LumoStream* stream, const LumoProperty*) {
  if (stream == nullptr || !stream->WriteBool(MaskColor)) {
    return false;
  }
  if (!MaskColor) {
    return true;
  }
  // One mask per frame of every stored entry, in collection order; a frame
  // without one gets an empty mask, so the reader stays in step.
  std::unique_ptr<YGColorMask, tObjectDestroyer> empty(new YGColorMask);
  for (int32_t slot = 0; slot < count; ++slot) {
    if (!IsStoredEntry(slot)) {
      continue;
    }
    const bool failed = static_cast<LumoSequenceList*>(items[slot])->VisitItems([&](LumoNode* item) {
      YGColorMask* mask = GetMask(dynamic_cast<LumoSequenceNode*>(item));
      return !(mask != nullptr ? mask : empty.get())->SaveObject(stream, 0);
    });
    if (failed) {
      return false;
    }
  }
  return true;
}

bool YGResourceMove::LoadMaskColor(LumoStream* stream, const LumoProperty*) {
  if (stream == nullptr || !stream->ReadBool(MaskColor)) {
    return false;
  }
  masks.clear();
  if (!MaskColor) {
    return true;
  }
  // The counts come later in the stream, so the masks follow the entries
  // the stream held: the frames of colour 0 wherever a file stores only
  // colour 0, as the game's files do.
  for (int32_t slot = 0; slot < count; ++slot) {
    auto* list = dynamic_cast<LumoSequenceList*>(items[slot]);
    if (list == nullptr) {
      continue;
    }
    const bool failed = list->VisitItems([&](LumoNode* item) {
      auto* frame = dynamic_cast<LumoSequenceNode*>(item);
      LumoObject* object = LoadObject(stream, nullptr);
      auto* mask = dynamic_cast<YGColorMask*>(object);
      if (mask == nullptr || frame == nullptr) {
        DebugPrint("(RES) YGResourceMove::LoadMaskColor() Frame %p of move %u has no colour mask but %p:%s\n",
                   DebugAddress(frame), MoveID, DebugAddress(object), DebugClassName(object));
        if (object != nullptr) {
          DestroyObject(object);
        }
        return true;
      }
      SetMask(frame, mask);
      return false;
    });
    if (failed) {
      return false;
    }
  }
  return true;
}

LUMO_GENERIC_FIELD(YGResourceMove, MoveID)
LUMO_GENERIC_FIELD(YGResourceMove, Sequences)
LUMO_GENERIC_FIELD(YGResourceMove, Colors)
LUMO_GENERIC_FIELD(YGResourceMove, Repeats)
LUMO_GENERIC_FIELD(YGResourceMove, Movement)
LUMO_GENERIC_FIELD(YGResourceMove, Bytes)

// ---- Sound and masks ----

void YGResourceMove::SetSound(LumoSoundNode* sound) {
  if (sound == Sound) {
    return;
  }
  if (Sound != nullptr) {
    RemoveReference(Sound);
    Sound = nullptr;
  }
  if (sound != nullptr && AddReference(sound) != nullptr) {
    Sound = sound;
  }
}

YGColorMask* YGResourceMove::GetMask(const LumoSequenceNode* frame) const {
  if (frame == nullptr || frame->ID == 0 || frame->ID > masks.size()) {
    return nullptr;
  }
  return masks[frame->ID - 1].get();
}

void YGResourceMove::SetMask(LumoSequenceNode* frame, YGColorMask* mask) {
  if (frame == nullptr) {
    DestroyObject(mask);
    return;
  }
  if (frame->ID != 0 && frame->ID <= masks.size() && masks[frame->ID - 1] != nullptr &&
      masks[frame->ID - 1].get() != mask) {
    masks[frame->ID - 1].reset(mask);
    return;
  }
  masks.emplace_back(mask);
  frame->ID = static_cast<uint32_t>(masks.size());
}

// ---- The grid ----

LumoSequenceList* YGResourceMove::GetStoredSequence(int32_t sequence, int32_t colour) const {
  if (sequence < 0 || sequence >= Sequences || colour < 0 || colour >= Colors) {
    return nullptr;
  }
  return dynamic_cast<LumoSequenceList*>(At(sequence * Colors + colour));
}

LumoSequenceList* YGResourceMove::GetSequence(int32_t sequence, int32_t colour) {
  if (sequence < 0 || sequence >= Sequences) {
    return nullptr;
  }
  if (colour < 0 || colour >= Colors || colour >= kPlayerColourCount) {
    colour = 0;
  }
  if (colour == 0) {
    return GetStoredSequence(sequence, 0);
  }
  try {
    YGDynamicResourceController* controller = YGDynamicResourceController::Current();
    if (LumoSequenceList* existing = GetStoredSequence(sequence, colour)) {
      if (YGCachedSequence* cached = controller != nullptr ? controller->FindCachedSequence(existing) : nullptr) {
        cached->Reference();
      }
      return existing;
    }
    LumoSequenceList* base = GetStoredSequence(sequence, 0);
    if (base == nullptr) {
      return nullptr;
    }
    if (controller == nullptr) {
      DebugPrint("(RES) YGResourceMove::GetSequence(%i,%i) No resource controller makes colour variants; colour 0 "
                 "is shown\n",
                 sequence, colour);
      return base;
    }
    LumoSequenceList* made = nullptr;
    if (MaskColor) {
      sRGB maskColour;
      GetPlayerMaskColour(colour, maskColour);
      made = ColorSequence(base, maskColour);
    } else {
      made = TranslucateSequence(base);
    }
    if (made == nullptr) {
      return nullptr;
    }
    if (!SetSequence(sequence, colour, made)) {
      DestroyObject(made);
      return nullptr;
    }
    controller->CreateCachedSequence(made, this, sequence, colour)->Reference();
    return made;
  } catch (...) {
    DebugPrint("(RES) Unhandled exception during YGResourceMove::GetSequence(%i,%i)\n", sequence, colour);
    return nullptr;
  }
}

LumoSequenceList* YGResourceMove::GetDirectionalSequence(int32_t direction, int32_t colour) {
  if (Sequences == 8) {
    return GetSequence(direction, colour);
  }
  if (Sequences == 4) {
    return GetSequence(direction / 2, colour);
  }
  return GetSequence(0, colour);
}

void YGResourceMove::DeleteEntry(int32_t index) {
  LumoObject* entry = At(index);
  if (entry == nullptr) {
    return;
  }
  Bytes = AddClamped(Bytes, -SequenceBytes(dynamic_cast<LumoSequenceList*>(entry)));
  items[index] = nullptr;
  DestroyObject(entry);
}

bool YGResourceMove::SetSequence(int32_t sequence, int32_t colour, LumoSequenceList* list) {
  if (colour < 0 || colour >= Colors || sequence < 0 || sequence >= kMaxResourceAxis) {
    DebugPrint("(RES) YGResourceMove::SetSequence(%i,%i,%p) refused: move %u has %d colours, at most %d sequences\n",
               sequence, colour, static_cast<const void*>(list), MoveID, Colors, kMaxResourceAxis);
    return false;
  }
  try {
    if (list == nullptr) {
      if (sequence >= Sequences) {
        return true;
      }
      // Removing a row: the rows after it move down one, each entry keeping
      // its colour, so Sequences x Colors stays the entry count.
      for (int32_t slot = sequence * Colors; slot < (sequence + 1) * Colors; ++slot) {
        DeleteEntry(slot);
      }
      DeleteAt(sequence * Colors, Colors);
      --Sequences;
      if (YGDynamicResourceController* controller = YGDynamicResourceController::Current()) {
        controller->RowRemoved(this, sequence);
      }
      return true;
    }
    if (sequence >= Sequences) {
      if (!SetCount((sequence + 1) * Colors)) {
        return false;
      }
      Sequences = sequence + 1;
    }
    const int32_t index = sequence * Colors + colour;
    if (items[index] == list) {
      return true;
    }
    DeleteEntry(index);
    Bytes = AddClamped(Bytes, SequenceBytes(list));
    items[index] = list;
    return true;
  } catch (...) {
    DebugPrint("(RES) Unhandled exception during YGResourceMove::SetSequence(%i,%i,%p)\n", sequence, colour,
               static_cast<const void*>(list));
    return false;
  }
}

void YGResourceMove::ResetSequence(int32_t sequence, int32_t colour) {
  try {
    if (GetStoredSequence(sequence, colour) != nullptr) {
      DeleteEntry(sequence * Colors + colour);
    }
  } catch (...) {
    DebugPrint("(RES) Unhandled exception during YGResourceMove::ResetSequence(%i,%i)\n", sequence, colour);
    throw;
  }
}

// ---- Variants ----

template <typename Paint>
LumoSequenceList* YGResourceMove::CopySequence(LumoSequenceList* base, const char* emptyLine, Paint&& paint) {
  YGDynamicResourceController* controller = YGDynamicResourceController::Current();
  if (base == nullptr || controller == nullptr) {
    return nullptr;
  }
  std::unique_ptr<LumoSequenceList, tObjectDestroyer> copy(new LumoSequenceList);
  // A nameless sound belongs to the list holding it; only a named one is
  // shared.
  if (base->SoundNode != nullptr && base->SoundNode->Name != nullptr) {
    copy->SetSound(base->SoundNode);
  }
  copy->SetRepeats(base->Repeats);
  copy->SetFramesPerPulse(base->FramesPerPulse);
  base->VisitItems([&](LumoNode* item) {
    auto* frame = dynamic_cast<LumoSequenceNode*>(item);
    if (frame == nullptr) {
      return false;
    }
    LumoGraphicNode* graphic = frame->Graphic();
    int32_t width = 0;
    int32_t height = 0;
    if (graphic != nullptr && graphic->Data != 0) {
      GetGraphicSize(graphic->Graphic(), width, height);
    }
    if (width <= 0 || height <= 0) {
      DebugPrint(emptyLine, DebugText(graphic != nullptr ? graphic->Name : nullptr));
      return false;
    }
    LumoGraphicNode* made = controller->CreateGraphic(width, height);
    if (made == nullptr) {
      return false;
    }
    made->SetOrigin(graphic->Left, graphic->Top);
    made->SourceKey = graphic->SourceKey;
    tCopyData area;
    area.Width = width;
    area.Height = height;
    PartialGraphicToGraphic(graphic->Graphic(), made->Graphic(), &area, nullptr, true);
    paint(*frame, *made);
    auto* copied = static_cast<LumoSequenceNode*>(copy->CreateItem());
    copied->SetGraphic(made);
    copied->SetOffset(frame->Left, frame->Top);
    copied->SetDuration(frame->Duration);
    copy->Append(copied);
    return false;
  });
  return copy.release();
}

LumoSequenceList* YGResourceMove::ColorSequence(LumoSequenceList* base, const sRGB& maskColour) {
  try {
    return CopySequence(base, "Graphic %s has no pixels to color\n",
                        [&](const LumoSequenceNode& frame, LumoGraphicNode& made) {
                          if (YGColorMask* mask = GetMask(&frame)) {
                            mask->Apply(maskColour, made.Graphic());
                          }
                        });
  } catch (...) {
    DebugPrint("Unhandled exception during ColorSequence(...)\n");
    return nullptr;
  }
}

LumoSequenceList* YGResourceMove::TranslucateSequence(LumoSequenceList* base) {
  try {
    const uint32_t seeThrough = GetColor(255, 0, 255);
    return CopySequence(base, "Graphic %s has no pixels to translucate\n",
                        [&](const LumoSequenceNode& frame, LumoGraphicNode& made) {
                          LockedGraphic* locked = LockGraphic(made.Graphic());
                          if (locked == nullptr) {
                            return;
                          }
                          // One pixel in four, in a pattern fixed to the
                          // thing's point so it holds still while the
                          // frames change.
                          const int64_t originX = static_cast<int64_t>(frame.Left) + made.Left;
                          const int64_t originY = static_cast<int64_t>(frame.Top) + made.Top;
                          const int32_t width = locked->Description.Width;
                          const int32_t height = locked->Description.Height;
                          for (int32_t y = 0; y < height; ++y) {
                            const int64_t pointY = originY + y;
                            for (int32_t x = 0; x < width; ++x) {
                              const int64_t pointX = originX + x;
                              if ((pointX & 1) != 0 && (((pointX >> 1) + pointY) & 1) == 0) {
                                SetPixelColorAt(locked, x, y, seeThrough);
                              }
                            }
                          }
                          UnlockGraphic(locked);
                        });
  } catch (...) {
    DebugPrint("Unhandled exception during TranslucateSequence(...)\n");
    return nullptr;
  }
}
