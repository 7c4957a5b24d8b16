#pragma once

#include <cstdint>

#include "base/LumoObject.h"
#include "base/tCollection.h"

class LumoStream;

using LumoObjectCollection = tCollection<LumoObject*, 4>;

// A persistent, growable array of object pointers that keeps the positions
// of its elements, empty slots included, across save and load. Resource sets,
// tile sets and selections derive from it. An owning collection destroys the
// elements it drops; copies made by Assign share their objects, so only one
// of two such collections may own them.
class LumoObjects : public LumoObject, public LumoObjectCollection {
 public:
  // Loading never takes more slots, nor a larger growth step, than these:
  // empty slots are not stored, so the slot count of a damaged file is not
  // bounded by the bytes it has left.
  static constexpr int32_t kMaxLoadedSlots = 1 << 20;
  static constexpr int32_t kMaxGrowth = 1 << 16;

  // A collection made by the class factory (loaded from a stream) owns its
  // elements: the load made them and nobody else holds them.
  explicit LumoObjects(bool ownsElements = true);

  const char* GetClassName() const override;
  // False unless other is a LumoObjects; this collection becomes a copy of
  // its pointers (the objects are shared) and its growth step, then the
  // object's assignment hooks run. Answers true.
  bool Assign(const tObject* other) override;
  // Empties the collection (destroying owned elements).
  void DoDeactivate() override;
  // Appends the object.
  bool DoRegisterObject(LumoObject* object) override;
  // Lets go of the first slot that holds the object, closing the gap; the
  // object itself is not destroyed (whoever unregisters it ends it). False
  // when it is not held.
  bool DoUnregisterObject(LumoObject* object) override;

  // The growth step in stream form: one signed 32-bit value of 2 up to
  // kMaxGrowth.
  virtual bool LoadGrowth(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveGrowth(LumoStream* stream, const LumoProperty* property);
  // The elements in stream form: the slot count, the number of elements,
  // each element as an object record in slot order, then their slot indexes
  // from the highest to the lowest.
  virtual bool LoadCount(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveCount(LumoStream* stream, const LumoProperty* property);

  bool OwnsElements() const { return destroy != nullptr; }

 private:
  // Moves the element loaded at position to the slot stored for it.
  bool PlaceLoaded(int32_t position, int32_t slot);
};
