#include "game/YGThingResource.h"

#include <algorithm>
#include <limits>

#include "base/DebugFormat.h"
#include "base/LumoClass.h"
#include "base/LumoStream.h"
#include "framework/LumoGraphicNode.h"
#include "framework/LumoSequenceList.h"
#include "framework/LumoSequenceNode.h"
#include "game/YGResourceMove.h"

namespace {

LumoClassOf<YGThingResource> classOfYGThingResource(kVersion_1_5_1_6, "YGThingResource", "LumoObjects");
LUMO_FIELD_PROPERTY(kVersion_1_5_1_6, YGThingResource, Name, PropertyCharStr, "tCharStr");
LUMO_FIELD_PROPERTY(kVersion_1_5_1_6, YGThingResource, MinX, PropertyInteger, "tInteger");
LUMO_FIELD_PROPERTY(kVersion_1_5_1_6, YGThingResource, MinY, PropertyInteger, "tInteger");
LUMO_FIELD_PROPERTY(kVersion_1_5_1_6, YGThingResource, MaxX, PropertyInteger, "tInteger");
LUMO_FIELD_PROPERTY(kVersion_1_5_1_6, YGThingResource, MaxY, PropertyInteger, "tInteger");
LUMO_FIELD_PROPERTY(kVersion_1_5_1_6, YGThingResource, Type, PropertyInteger, "tInteger");
LUMO_FIELD_PROPERTY(kVersion_1_5_1_6, YGThingResource, ColorMode, PropertyInteger, "tInteger");
LUMO_FIELD_PROPERTY(kVersion_1_5_1_6, YGThingResource, Parts, PropertyBool, "tBool");

struct Preset {
  int32_t colorMode;
  bool parts;
  int32_t moveSlots;
};

Preset PresetOf(int32_t type) {
  switch (type) {
    case 0:
    case 4:
      return {0, false, 0};
    case 1:
      return {1, false, 32};
    case 2:
      return {0, false, 32};
    case 3:
    case 8:
      return {0, false, 21};
    case 5:
      return {2, true, 8};
    case 6:
      return {0, false, 1};
    case 7:
      return {2, true, 1};
    case 9:
      return {4, true, 1};
    default:
      return {0, false, 0};
  }
}

int32_t Clamp32(int64_t value) {
  return static_cast<int32_t>(
      std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

}  // namespace

YGThingResource::YGThingResource() = default;

YGThingResource::YGThingResource(const char* name, int32_t type) : Type(type) {
  SetCharStr(Name, name);
  const Preset preset = PresetOf(type);
  ColorMode = preset.colorMode;
  Parts = preset.parts;
  if (preset.moveSlots > 0) {
    SetCount(preset.moveSlots);
  }
}

YGThingResource::~YGThingResource() { FreeCharStr(Name); }

const char* YGThingResource::GetClassName() const { return "YGThingResource"; }

bool YGThingResource::DoRegisterObject(LumoObject* object) {
  if (dynamic_cast<YGResourceMove*>(object) == nullptr) {
    DebugPrint("(RES) YGThingResource::DoRegisterObject() Entry %p:%s of resource %s is not a YGResourceMove\n",
               DebugAddress(object), DebugClassName(object), DebugText(Name));
    return false;
  }
  return LumoObjects::DoRegisterObject(object);
}

void YGThingResource::DoFree() {
  FreeCharStr(Name);
  LumoObjects::DoFree();
}

LUMO_GENERIC_FIELD(YGThingResource, Name)
LUMO_GENERIC_FIELD(YGThingResource, MinX)
LUMO_GENERIC_FIELD(YGThingResource, MinY)
LUMO_GENERIC_FIELD(YGThingResource, MaxX)
LUMO_GENERIC_FIELD(YGThingResource, MaxY)
LUMO_GENERIC_FIELD(YGThingResource, Type)
LUMO_GENERIC_FIELD(YGThingResource, ColorMode)
LUMO_GENERIC_FIELD(YGThingResource, Parts)

bool YGThingResource::AddMove(YGResourceMove* move) {
  if (move == nullptr) {
    return false;
  }
  try {
    const int32_t index = move->MoveID;
    if (index >= count && !SetCount(index + 1)) {
      return false;
    }
    LumoObject* old = items[index];
    if (old == move) {
      return true;
    }
    if (old != nullptr) {
      DebugPrint("(INT) Replaced move resource %i\n", index);
      items[index] = nullptr;
      DestroyObject(old);
    }
    items[index] = move;
    return true;
  } catch (...) {
    DebugPrint("(RES) Unhandled exception during YGThingResource::AddMove(%p)\n", static_cast<const void*>(move));
    return false;
  }
}

YGResourceMove* YGThingResource::GetMove(int32_t moveId) const { return dynamic_cast<YGResourceMove*>(At(moveId)); }

LumoSoundNode* YGThingResource::GetMoveSound(int32_t moveId) const {
  YGResourceMove* move = GetMove(moveId);
  return move != nullptr ? move->Sound : nullptr;
}

int32_t YGThingResource::GetPartCount() const {
  if (!Parts) {
    return 1;
  }
  YGResourceMove* first = GetMove(0);
  return first != nullptr ? first->Sequences : 0;
}

LumoSequenceList* YGThingResource::GetAnimation(int32_t moveId, int32_t index, int32_t colour) {
  try {
    YGResourceMove* move = GetMove(moveId);
    if (move == nullptr) {
      return nullptr;
    }
    if (!Parts) {
      return move->GetDirectionalSequence(index, colour);
    }
    if (LumoSequenceList* sequence = move->GetSequence(index, colour)) {
      return sequence;
    }
    YGResourceMove* first = GetMove(0);
    return first != nullptr ? first->GetSequence(index, colour) : nullptr;
  } catch (...) {
    DebugPrint("(RES) Unhandled exception during YGThingResource::GetAnimation(%i,%i,%i)\n", moveId, index, colour);
    return nullptr;
  }
}

bool YGThingResource::SetSequence(int32_t moveId, int32_t sequence, int32_t colour, LumoSequenceList* list) {
  YGResourceMove* move = GetMove(moveId);
  if (move == nullptr) {
    DebugPrint("(RES) YGThingResource::SetSequence(%i,%i,%i,%p) Resource %s has no such move\n", moveId, sequence,
               colour, static_cast<const void*>(list), DebugText(Name));
    return false;
  }
  if (!move->SetSequence(sequence, colour, list)) {
    return false;
  }
  RecomputeBox();
  return true;
}

void YGThingResource::RecomputeBox() {
  int64_t minX = kEmptyMin;
  int64_t minY = kEmptyMin;
  int64_t maxX = kEmptyMax;
  int64_t maxY = kEmptyMax;
  for (int32_t slot = 0; slot < count; ++slot) {
    auto* move = dynamic_cast<YGResourceMove*>(items[slot]);
    if (move == nullptr) {
      continue;
    }
    for (int32_t sequence = 0; sequence < move->Sequences; ++sequence) {
      for (int32_t colour = 0; colour < move->Colors; ++colour) {
        LumoSequenceList* list = move->GetStoredSequence(sequence, colour);
        if (list == nullptr) {
          continue;
        }
        list->VisitItems([&](LumoNode* item) {
          auto* frame = dynamic_cast<LumoSequenceNode*>(item);
          LumoGraphicNode* graphic = frame != nullptr ? frame->Graphic() : nullptr;
          if (graphic == nullptr) {
            return false;
          }
          const int64_t left = static_cast<int64_t>(frame->Left) + graphic->Left;
          const int64_t top = static_cast<int64_t>(frame->Top) + graphic->Top;
          minX = std::min(minX, left);
          minY = std::min(minY, top);
          maxX = std::max(maxX, left + graphic->Width);
          maxY = std::max(maxY, top + graphic->Height);
          return false;
        });
      }
    }
  }
  MinX = Clamp32(minX);
  MinY = Clamp32(minY);
  MaxX = Clamp32(maxX);
  MaxY = Clamp32(maxY);
}
