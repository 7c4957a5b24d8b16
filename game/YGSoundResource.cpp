#include "game/YGSoundResource.h"

#include <algorithm>
#include <limits>

#include "base/DebugFormat.h"
#include "base/LumoClass.h"
#include "base/LumoStream.h"
#include "framework/LumoSoundList.h"
#include "framework/LumoSoundNode.h"
#include "game/ResourceForms.h"

namespace {

LumoClassOf<YGResourceSound> classOfYGResourceSound(kVersion_1_5_1_6, "YGResourceSound", "LumoNode");
LumoClassOf<YGSoundResource> classOfYGSoundResource(kVersion_1_5_1_6, "YGSoundResource", "LumoSortedList");
LUMO_FIELD_PROPERTY(kVersion_1_5_1_6, YGSoundResource, Samples, PropertyPointer, "tPointer");

void AddClamped(int32_t& sum, int64_t amount) {
  sum = static_cast<int32_t>(std::clamp<int64_t>(static_cast<int64_t>(sum) + amount, std::numeric_limits<int32_t>::min(),
                                                 std::numeric_limits<int32_t>::max()));
}

}  // namespace

int32_t SoundBytes(LumoSoundNode* sound) { return sound != nullptr ? std::max(sound->DoSize(), 0) : 0; }

YGResourceSound::YGResourceSound() = default;

const char* YGResourceSound::GetClassName() const { return "YGResourceSound"; }

bool YGResourceSound::OnLoadFrom(LumoStream* stream) {
  if (!LumoNode::OnLoadFrom(stream)) {
    return false;
  }
  LumoSoundList* sounds = CurrentSoundList();
  auto* sound = sounds != nullptr && Name != nullptr ? dynamic_cast<LumoSoundNode*>(sounds->FindByName(Name)) : nullptr;
  Data = reinterpret_cast<uintptr_t>(sound);
  if (sound == nullptr) {
    DebugPrint("(RES)Couldn't load sound %s from resource\n", DebugText(Name));
    return true;
  }
  const int64_t before = LoaderGaugeShare(1000);
  const int32_t bytes = SoundBytes(sound);
  AdvanceLoaderGauge(static_cast<int64_t>(bytes) * 2);
  DrawLoaderGaugeIfGrown(before, 1000);
  if (auto* list = dynamic_cast<YGSoundResource*>(parent)) {
    AddClamped(list->Samples, bytes);
  }
  return true;
}

YGSoundResource::YGSoundResource() { SetUnique(true); }

const char* YGSoundResource::GetClassName() const { return "YGSoundResource"; }

bool YGSoundResource::DoRegisterObject(LumoObject* object) {
  if (dynamic_cast<YGResourceSound*>(object) == nullptr) {
    DebugPrint("(RES) YGSoundResource::DoRegisterObject() Entry %p:%s is not a YGResourceSound\n",
               DebugAddress(object), DebugClassName(object));
    return false;
  }
  return LumoSortedList::DoRegisterObject(object);
}

LumoNode* YGSoundResource::CreateItem() { return new YGResourceSound; }

bool YGSoundResource::LoadSamples(LumoStream* stream, const LumoProperty*) {
  int32_t stored = 0;
  return stream != nullptr && stream->ReadInteger(stored);
}

bool YGSoundResource::SaveSamples(LumoStream* stream, const LumoProperty*) {
  return stream != nullptr && stream->WriteInteger(Samples);
}

bool YGSoundResource::AddSound(LumoSoundNode* sound) {
  if (sound == nullptr || sound->Name == nullptr || sound->Name[0] == '\0') {
    return false;
  }
  LumoNode* entry = FindByName(sound->Name);
  if (entry != nullptr) {
    ++entry->ID;
    return true;
  }
  entry = FindOrCreate(sound->Name);
  if (entry == nullptr) {
    return false;
  }
  entry->Data = reinterpret_cast<uintptr_t>(sound);
  AddClamped(Samples, SoundBytes(sound));
  entry->ID = 1;
  return true;
}

bool YGSoundResource::RemoveSound(LumoSoundNode* sound) {
  if (sound == nullptr || sound->Name == nullptr) {
    return false;
  }
  LumoNode* entry = FindByName(sound->Name);
  if (entry == nullptr) {
    return false;
  }
  if (entry->ID > 0) {
    --entry->ID;
  }
  DebugPrint("Sound %s dereferenced\n", sound->Name);
  return true;
}
