#pragma once

#include <cstdint>

// The engine behind every growable array: it works on raw storage that the
// caller describes (storage block, capacity, count, growth step, element
// size), so one engine serves arrays of object pointers, strings, buffers and
// integers. Elements are moved as raw bytes, and an all-zero element is an
// empty one: slots from count to capacity - 1 are always zero-filled.
//
// The three callbacks say what an element is: destroy releases what the
// element at an index owns (null when elements own nothing), compareElements
// orders two elements given by address, compareKey orders a key against the
// element at an address. Ready-made ones are in base/ElementCallbacks.h.
class tCollectionHelper {
 public:
  using DestroyCallback = void (*)(void* storage, int32_t index, int32_t elementSize);
  using CompareCallback = int (*)(const void* first, const void* second);
  using CompareKeyCallback = int (*)(const void* key, const void* element);

  explicit tCollectionHelper(DestroyCallback destroyElement = nullptr,
                             CompareCallback compareElementPair = nullptr,
                             CompareKeyCallback compareKeyToElement = nullptr)
      : destroy(destroyElement), compareElements(compareElementPair), compareKey(compareKeyToElement) {}

  // ---- Search: true and the position when found; otherwise false and the
  // position where the key would be inserted to keep the order. Null key or
  // storage, a count or size below 1, or a missing callback: false, 0. ----

  // Binary search of sorted storage with compareElements(key, element).
  bool Search(const void* key, const void* storage, int32_t count, int32_t elementSize,
              int32_t& index) const;
  // Binary search with compareKey(key, element).
  bool SearchKey(const void* key, const void* storage, int32_t count, int32_t elementSize,
                 int32_t& index) const;
  // The first element from index 0 for which compareElements answers 0;
  // false with position count when there is none.
  bool SearchLinear(const void* key, const void* storage, int32_t count, int32_t elementSize,
                    int32_t& index) const;
  bool SearchKeyLinear(const void* key, const void* storage, int32_t count, int32_t elementSize,
                       int32_t& index) const;

  // Quick sort with compareElements; not stable. False for null storage, a
  // count or size below 1, or a missing compareElements.
  bool Sort(void* storage, int32_t count, int32_t elementSize) const;

  // ---- Resizing ----

  // Sets the count, destroying elements from the last down when shrinking and
  // zero-filling new slots when growing; the capacity becomes newCount rounded
  // up to a multiple of growth. A count of 0 or below destroys everything,
  // frees the storage and answers false. A failed reallocation empties the
  // array and answers false.
  bool SetCount(void*& storage, int32_t& capacity, int32_t& count, int32_t newCount, int32_t growth,
                int32_t elementSize) const;
  // For a new count within 0..capacity, adjusts the count without touching the
  // storage; any other count goes to SetCount.
  bool SetCountInCapacity(void*& storage, int32_t& capacity, int32_t& count, int32_t newCount,
                          int32_t growth, int32_t elementSize) const;

  // ---- Insertion and deletion ----

  // Inserts n zero-filled elements before index (0..count), growing the
  // storage when needed. False for n below 1 or an index outside 0..count.
  bool InsertAt(void*& storage, int32_t& capacity, int32_t& count, int32_t index, int32_t n,
                int32_t growth, int32_t elementSize) const;
  // Destroys the n elements from index (the last first), closes the gap and
  // zero-fills the freed slots at the end. False for an invalid range.
  bool DeleteAt(void*& storage, int32_t& capacity, int32_t& count, int32_t index, int32_t n,
                int32_t growth, int32_t elementSize) const;
  // Destroys the n elements from index (the last first) and zero-fills them
  // in place, moving nothing. False for an invalid range.
  bool ClearAt(void* storage, int32_t count, int32_t index, int32_t n, int32_t elementSize) const;

  DestroyCallback destroy;
  CompareCallback compareElements;
  CompareKeyCallback compareKey;

 private:
  // Destroys the elements first .. end - 1, the last first, and zero-fills them.
  void DestroyRange(void* storage, int32_t first, int32_t end, int32_t elementSize) const;
  // Reallocates the storage to newCapacity slots and zero-fills the slots from
  // count on; on failure destroys every element and empties the array.
  bool Reallocate(void*& storage, int32_t& capacity, int32_t& count, int64_t newCapacity,
                  int32_t elementSize) const;
};
