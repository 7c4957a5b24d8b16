#pragma once

#include <cstdint>
#include <type_traits>
#include <utility>

#include "base/tCollectionHelper.h"

// A growable array of T over the array engine, with its own storage, counts
// and growth step (16 unless given). StoredSize is the element's size in the
// 32-bit formats, 4 for pointers and 32-bit values; in memory an element takes
// sizeof(T), so a pointer element is as wide as the host's pointers while a
// 32-bit value stays 32 bits. Elements are moved as raw bytes and an all-zero
// element is an empty one, so T is a pointer, an integer or a value type such
// as tString whose all-zero form is its empty state.
template <typename T, int32_t StoredSize = 4>
class tCollection : public tCollectionHelper {
  static_assert(std::is_pointer_v<T> || sizeof(T) == StoredSize,
                "a value element keeps the size it has in the stored formats");

 public:
  static constexpr int32_t kElementSize = static_cast<int32_t>(sizeof(T));
  static constexpr int32_t kDefaultGrowth = 16;

  explicit tCollection(DestroyCallback destroyElement = nullptr,
                       CompareCallback compareElementPair = nullptr,
                       CompareKeyCallback compareKeyToElement = nullptr,
                       int32_t growthStep = kDefaultGrowth)
      : tCollectionHelper(destroyElement, compareElementPair, compareKeyToElement), growth(growthStep) {}
  tCollection(const tCollection&) = delete;
  tCollection& operator=(const tCollection&) = delete;
  // Destroys the elements (when a destroy callback is set) and frees the storage.
  ~tCollection() { Clear(); }

  // The engine's raw forms stay callable next to the collection's own.
  using tCollectionHelper::ClearAt;
  using tCollectionHelper::DeleteAt;
  using tCollectionHelper::InsertAt;
  using tCollectionHelper::Search;
  using tCollectionHelper::SearchKey;
  using tCollectionHelper::SearchKeyLinear;
  using tCollectionHelper::SearchLinear;
  using tCollectionHelper::SetCount;
  using tCollectionHelper::SetCountInCapacity;
  using tCollectionHelper::Sort;

  // ---- Count ----

  // Sets the count with growth rounding; 0 or below empties the array and answers false.
  bool SetCount(int32_t newCount) {
    return WithStorage([&](void*& storage) {
      return tCollectionHelper::SetCount(storage, capacity, count, newCount, growth, kElementSize);
    });
  }
  bool SetCountInCapacity(int32_t newCount) {
    return WithStorage([&](void*& storage) {
      return tCollectionHelper::SetCountInCapacity(storage, capacity, count, newCount, growth, kElementSize);
    });
  }
  void Clear() { SetCount(0); }

  // ---- Elements ----

  // Unchecked access to a slot of 0..capacity - 1.
  T& operator[](int32_t index) { return items[index]; }
  const T& operator[](int32_t index) const { return items[index]; }
  // The element at index, or an empty one outside 0..count - 1.
  T At(int32_t index) const { return index >= 0 && index < count ? items[index] : T{}; }
  // Position of the first element equal to value; -1 when none is.
  int32_t IndexOf(const T& value) const {
    for (int32_t index = 0; index < count; ++index) {
      if (items[index] == value) {
        return index;
      }
    }
    return -1;
  }

  // ---- Insertion and deletion ----

  // Inserts n empty elements before index (0..count).
  bool InsertAt(int32_t index, int32_t n = 1) {
    return WithStorage([&](void*& storage) {
      return tCollectionHelper::InsertAt(storage, capacity, count, index, n, growth, kElementSize);
    });
  }
  // The value is copied first: it may be an element of this array, which
  // the insertion moves or reallocates.
  bool Insert(int32_t index, const T& value) {
    T copy(value);
    if (!InsertAt(index, 1)) {
      return false;
    }
    items[index] = std::move(copy);
    return true;
  }
  bool Append(const T& value) { return Insert(count, value); }
  // Appends a 32-bit value to an array of integers.
  bool AppendInt(int32_t value)
    requires std::is_integral_v<T>
  {
    return Append(static_cast<T>(value));
  }
  // Destroys n elements from index and closes the gap.
  bool DeleteAt(int32_t index, int32_t n = 1) {
    return WithStorage([&](void*& storage) {
      return tCollectionHelper::DeleteAt(storage, capacity, count, index, n, growth, kElementSize);
    });
  }
  // Destroys n elements from index and leaves their slots empty.
  bool ClearAt(int32_t index, int32_t n = 1) { return tCollectionHelper::ClearAt(items, count, index, n, kElementSize); }

  // ---- Search and sort ----

  // Binary search of a sorted array with the element comparison.
  bool Search(const T& key, int32_t& index) const {
    return tCollectionHelper::Search(&key, items, count, kElementSize, index);
  }
  // Binary search with the key comparison.
  bool SearchKey(const void* key, int32_t& index) const {
    return tCollectionHelper::SearchKey(key, items, count, kElementSize, index);
  }
  bool SearchLinear(const T& key, int32_t& index) const {
    return tCollectionHelper::SearchLinear(&key, items, count, kElementSize, index);
  }
  bool SearchKeyLinear(const void* key, int32_t& index) const {
    return tCollectionHelper::SearchKeyLinear(key, items, count, kElementSize, index);
  }
  bool Sort() { return tCollectionHelper::Sort(items, count, kElementSize); }

  T* items = nullptr;     // null while the capacity is 0
  int32_t capacity = 0;   // element slots
  int32_t count = 0;      // elements in use
  int32_t growth = kDefaultGrowth;

 private:
  // The engine works on an untyped storage variable that it may reallocate.
  template <typename Operation>
  bool WithStorage(Operation operation) {
    void* storage = items;
    const bool answer = operation(storage);
    items = static_cast<T*>(storage);
    return answer;
  }
};

// The object collections named by the object model.
class tObject;
using tObjects = tCollection<tObject*, 4>;
