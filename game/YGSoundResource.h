#pragma once

#include <cstdint>

#include "base/LumoNode.h"
#include "base/LumoSortedList.h"

class LumoSoundNode;

// One sound in use by a resource set: its Data is the level's sound node
// (not owned), its ID the number of thing resources using it. A loaded entry
// finds its sound by name in the current level.
class YGResourceSound : public LumoNode {
 public:
  YGResourceSound();

  const char* GetClassName() const override;
  bool OnLoadFrom(LumoStream* stream) override;

  LumoSoundNode* Sound() const { return reinterpret_cast<LumoSoundNode*>(Data); }
};

// The sounds of a resource set, sorted by name, one entry per sound.
class YGSoundResource : public LumoSortedList {
 public:
  YGSoundResource();

  const char* GetClassName() const override;
  bool DoRegisterObject(LumoObject* object) override;
  LumoNode* CreateItem() override;

  // Stored as a number and dropped when read: the loaded entries sum it anew.
  virtual bool LoadSamples(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveSamples(LumoStream* stream, const LumoProperty* property);

  // References the sound: a new entry (count 1) or one more on its entry.
  bool AddSound(LumoSoundNode* sound);
  // One reference less, never below 0; logs "Sound %s dereferenced" whenever
  // the entry is there.
  bool RemoveSound(LumoSoundNode* sound);

  int32_t Samples = 0;  // bytes
};

// The byte size of a sound node's sound, 0 without one.
int32_t SoundBytes(LumoSoundNode* sound);
