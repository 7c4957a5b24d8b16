#pragma once

#include <cstdint>

#include "base/LumoNode.h"

class YGResourceSet;
class YGThingResource;

// One thing resource of a resource set, by name. Its Data is the loaded
// YGThingResource (owned), its ID the number of users. An original
// (Duplicate 0 or below) lives in a ".ygt" file of its own; a duplicate
// (Duplicate 1 or more) is stored inline in the set's stream, and its
// original is the original node whose name starts its name.
class YGResourceNode : public LumoNode {
 public:
  YGResourceNode();
  // A node deleted without DestroyObject still frees its resource.
  ~YGResourceNode() override;

  const char* GetClassName() const override;
  // Destroys the resource.
  void Unload() override;

  virtual bool LoadDuplicate(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveDuplicate(LumoStream* stream, const LumoProperty* property);
  // An original reads its ".ygt" file, a duplicate its inline record; either
  // way the node's Data is the result or null. Advances the loader screen.
  virtual bool LoadData(LumoStream* stream, const LumoProperty* property);
  // Nothing for an original; a duplicate's resource as an object record.
  virtual bool SaveData(LumoStream* stream, const LumoProperty* property);

  using LumoObject::AddReference;
  using LumoObject::RemoveReference;
  // One more user; the first makes the set reference the resource's sounds
  // and graphics. True when the count became 1.
  bool AddReference();
  // One user less (never below 0); the last lets the sounds and graphics go.
  // True when the count reached 0.
  bool RemoveReference();
  // References the sounds and graphics once more for a node in use, without
  // changing its count (after the set's lists were rebuilt).
  void RestoreReferences();

  YGThingResource* Resource() const { return reinterpret_cast<YGThingResource*>(Data); }
  // Takes the resource (owned); a previous one is destroyed.
  void SetResource(YGThingResource* resource);
  // The set whose Things list holds the node; null while free.
  YGResourceSet* Set() const;

  int32_t Duplicate = 0;

 private:
  // Calls visit on the sound of every move, then graphic(node) on the graphic
  // node of every frame of every stored sequence, move by move.
  enum class Walk { Reference, Dereference };
  void WalkResources(Walk walk);
};
