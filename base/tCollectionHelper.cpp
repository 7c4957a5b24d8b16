#include "base/tCollectionHelper.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "base/DebugFormat.h"

namespace {

// Both comparison callbacks share this shape: (key or element, element).
using Comparison = int (*)(const void*, const void*);

char* Slot(void* storage, int64_t index, int32_t elementSize) {
  return static_cast<char*>(storage) + index * elementSize;
}

const char* Slot(const void* storage, int64_t index, int32_t elementSize) {
  return static_cast<const char*>(storage) + index * elementSize;
}

void ZeroSlots(void* storage, int64_t first, int64_t end, int32_t elementSize) {
  if (storage != nullptr && end > first) {
    std::memset(Slot(storage, first, elementSize), 0, static_cast<size_t>((end - first) * elementSize));
  }
}

bool ValidSearch(Comparison compare, const void* key, const void* storage, int32_t count,
                 int32_t elementSize) {
  return compare != nullptr && key != nullptr && storage != nullptr && count >= 1 && elementSize >= 1;
}

// Binary search probing (count - 1) / 2 first, then the middle of what is
// left. Not found: the insertion position is hi + 1 after a positive last
// answer, else the last probe.
bool BinarySearch(Comparison compare, const void* key, const void* storage, int32_t count,
                  int32_t elementSize, int32_t& index) {
  index = 0;
  if (!ValidSearch(compare, key, storage, count, elementSize)) {
    return false;
  }
  int32_t low = 0;
  int32_t high = count - 1;
  int32_t middle = (count - 1) / 2;
  int answer = 0;
  for (;;) {
    answer = compare(key, Slot(storage, middle, elementSize));
    if (answer == 0) {
      index = middle;
      return true;
    }
    if (answer < 0) {
      high = middle - 1;
    } else {
      low = middle + 1;
    }
    if (low > high) {
      break;
    }
    middle = (low + high) / 2;
  }
  index = answer > 0 ? high + 1 : (middle < 0 ? 0 : middle);
  return false;
}

bool LinearSearch(Comparison compare, const void* key, const void* storage, int32_t count,
                  int32_t elementSize, int32_t& index) {
  index = 0;
  if (!ValidSearch(compare, key, storage, count, elementSize)) {
    return false;
  }
  for (index = 0; index < count; ++index) {
    if (compare(key, Slot(storage, index, elementSize)) == 0) {
      return true;
    }
  }
  return false;
}

// ---- Quick sort on raw elements ----
// Our own, so that the order of equal elements is the same on every machine
// whatever the C library's qsort does; the logic sorts with it.

constexpr int32_t kInsertionSortRun = 8;

void SwapSlots(char* first, char* second, int32_t elementSize) {
  if (first == second) {
    return;
  }
  for (int32_t byte = 0; byte < elementSize; ++byte) {
    std::swap(first[byte], second[byte]);
  }
}

void InsertionSort(Comparison compare, void* storage, int32_t low, int32_t high, int32_t elementSize) {
  for (int32_t next = low + 1; next <= high; ++next) {
    for (int32_t at = next; at > low; --at) {
      char* before = Slot(storage, at - 1, elementSize);
      char* current = Slot(storage, at, elementSize);
      if (compare(before, current) <= 0) {
        break;
      }
      SwapSlots(before, current, elementSize);
    }
  }
}

// Orders low, middle and high, then moves the median to low as the pivot;
// the element left at high is then no smaller than the pivot and stops the
// upward scan. Answers the pivot's final place.
int32_t Partition(Comparison compare, void* storage, int32_t low, int32_t high, int32_t elementSize) {
  auto at = [&](int32_t index) { return Slot(storage, index, elementSize); };
  const int32_t middle = low + (high - low) / 2;
  if (compare(at(middle), at(low)) < 0) {
    SwapSlots(at(middle), at(low), elementSize);
  }
  if (compare(at(high), at(low)) < 0) {
    SwapSlots(at(high), at(low), elementSize);
  }
  if (compare(at(high), at(middle)) < 0) {
    SwapSlots(at(high), at(middle), elementSize);
  }
  SwapSlots(at(middle), at(low), elementSize);
  const char* pivot = at(low);
  int32_t up = low;
  int32_t down = high + 1;
  for (;;) {
    do {
      ++up;
    } while (up < high && compare(at(up), pivot) < 0);
    do {
      --down;
    } while (down > low && compare(at(down), pivot) > 0);
    if (up >= down) {
      break;
    }
    SwapSlots(at(up), at(down), elementSize);
  }
  SwapSlots(at(low), at(down), elementSize);
  return down;
}

void QuickSort(Comparison compare, void* storage, int32_t count, int32_t elementSize) {
  // The smaller part is sorted first and the larger one waits on the stack,
  // so 32 waiting ranges cover any 32-bit count.
  struct Range {
    int32_t low;
    int32_t high;
  };
  Range waiting[40];
  int32_t waitingCount = 0;
  waiting[waitingCount++] = {0, count - 1};
  while (waitingCount > 0) {
    Range range = waiting[--waitingCount];
    while (range.high - range.low + 1 > kInsertionSortRun) {
      const int32_t pivot = Partition(compare, storage, range.low, range.high, elementSize);
      Range lower{range.low, pivot - 1};
      Range upper{pivot + 1, range.high};
      if (lower.high - lower.low > upper.high - upper.low) {
        std::swap(lower, upper);
      }
      waiting[waitingCount++] = upper;
      range = lower;
    }
    InsertionSort(compare, storage, range.low, range.high, elementSize);
  }
}

int64_t RoundUp(int64_t count, int32_t growth) {
  // A growth below 1 would divide by zero; such an array grows one slot at a time.
  const int64_t step = growth < 1 ? 1 : growth;
  return (count + step - 1) / step * step;
}

// The 32-bit program could never hold more than 2 GiB of elements; larger
// requests are refused instead of attempted.
bool Affordable(int64_t slots, int32_t elementSize) {
  return slots <= INT32_MAX && slots * elementSize <= INT32_MAX;
}

}  // namespace

bool tCollectionHelper::Search(const void* key, const void* storage, int32_t count,
                               int32_t elementSize, int32_t& index) const {
  return BinarySearch(compareElements, key, storage, count, elementSize, index);
}

bool tCollectionHelper::SearchKey(const void* key, const void* storage, int32_t count,
                                  int32_t elementSize, int32_t& index) const {
  return BinarySearch(compareKey, key, storage, count, elementSize, index);
}

bool tCollectionHelper::SearchLinear(const void* key, const void* storage, int32_t count,
                                     int32_t elementSize, int32_t& index) const {
  return LinearSearch(compareElements, key, storage, count, elementSize, index);
}

bool tCollectionHelper::SearchKeyLinear(const void* key, const void* storage, int32_t count,
                                        int32_t elementSize, int32_t& index) const {
  return LinearSearch(compareKey, key, storage, count, elementSize, index);
}

bool tCollectionHelper::Sort(void* storage, int32_t count, int32_t elementSize) const {
  if (storage == nullptr || count < 1 || elementSize < 1 || compareElements == nullptr) {
    return false;
  }
  QuickSort(compareElements, storage, count, elementSize);
  return true;
}

void tCollectionHelper::DestroyRange(void* storage, int32_t first, int32_t end, int32_t elementSize) const {
  for (int32_t index = end - 1; index >= first; --index) {
    if (destroy != nullptr) {
      destroy(storage, index, elementSize);
    }
    ZeroSlots(storage, index, index + 1, elementSize);
  }
}

bool tCollectionHelper::Reallocate(void*& storage, int32_t& capacity, int32_t& count,
                                   int64_t newCapacity, int32_t elementSize) const {
  void* resized = std::realloc(storage, static_cast<size_t>(newCapacity * elementSize));
  if (resized == nullptr) {
    DebugPrint("tCollectionHelper: Out of memory for %lld elements of %d bytes\n",
               static_cast<long long>(newCapacity), elementSize);
    DestroyRange(storage, 0, count, elementSize);
    std::free(storage);
    storage = nullptr;
    capacity = 0;
    count = 0;
    return false;
  }
  storage = resized;
  capacity = static_cast<int32_t>(newCapacity);
  ZeroSlots(storage, count, capacity, elementSize);
  return true;
}

bool tCollectionHelper::SetCount(void*& storage, int32_t& capacity, int32_t& count, int32_t newCount,
                                 int32_t growth, int32_t elementSize) const {
  if (elementSize < 1) {
    DebugPrint("tCollectionHelper::SetCount() Invalid element size %d\n", elementSize);
    return false;
  }
  if (newCount <= 0) {
    DestroyRange(storage, 0, count, elementSize);
    std::free(storage);
    storage = nullptr;
    capacity = 0;
    count = 0;
    return false;
  }
  const int64_t target = RoundUp(newCount, growth);
  if (!Affordable(target, elementSize)) {
    DebugPrint("tCollectionHelper::SetCount() Refused %d elements of %d bytes\n", newCount, elementSize);
    return false;
  }
  if (newCount < count) {
    DestroyRange(storage, newCount, count, elementSize);
    count = newCount;
    // The block is kept. The capacity never grows here: with a growth step
    // larger than the one the block was made with, the rounded target could
    // exceed the block and a later growth would write past it.
    capacity = static_cast<int32_t>(target < capacity ? target : capacity);
    return true;
  }
  if (target != capacity && !Reallocate(storage, capacity, count, target, elementSize)) {
    return false;
  }
  ZeroSlots(storage, count, newCount, elementSize);
  count = newCount;
  return true;
}

bool tCollectionHelper::SetCountInCapacity(void*& storage, int32_t& capacity, int32_t& count,
                                           int32_t newCount, int32_t growth, int32_t elementSize) const {
  if (newCount < 0 || newCount > capacity || elementSize < 1) {
    return SetCount(storage, capacity, count, newCount, growth, elementSize);
  }
  if (newCount < count) {
    DestroyRange(storage, newCount, count, elementSize);
  } else {
    ZeroSlots(storage, count, newCount, elementSize);
  }
  count = newCount;
  return true;
}

// The slots from index to count - 1 move up by n and the gap is cleared; the
// storage grows first when the count would pass the capacity, and the count
// rises by n once. (Moving everything up to the end of the capacity would
// write n slots past the storage.)
bool tCollectionHelper::InsertAt(void*& storage, int32_t& capacity, int32_t& count, int32_t index,
                                 int32_t n, int32_t growth, int32_t elementSize) const {
  if (n < 1 || elementSize < 1) {
    return false;
  }
  if (index < 0 || index > count) {
    DebugPrint("tCollectionHelper::InsertAt() Index %d outside 0..%d\n", index, count);
    return false;
  }
  const int64_t needed = static_cast<int64_t>(count) + n;
  if (needed > capacity) {
    const int64_t target = RoundUp(needed, growth);
    if (!Affordable(target, elementSize)) {
      DebugPrint("tCollectionHelper::InsertAt() Refused %lld elements of %d bytes\n",
                 static_cast<long long>(needed), elementSize);
      return false;
    }
    if (!Reallocate(storage, capacity, count, target, elementSize)) {
      return false;
    }
  }
  std::memmove(Slot(storage, static_cast<int64_t>(index) + n, elementSize), Slot(storage, index, elementSize),
               static_cast<size_t>(count - index) * static_cast<size_t>(elementSize));
  ZeroSlots(storage, index, static_cast<int64_t>(index) + n, elementSize);
  count += n;
  return true;
}

namespace {

bool ValidRange(int32_t count, int32_t index, int32_t n, int32_t elementSize) {
  return n > 0 && index >= 0 && static_cast<int64_t>(index) + n <= count && elementSize >= 1;
}

}  // namespace

// Deletion keeps the storage and its capacity.
bool tCollectionHelper::DeleteAt(void*& storage, int32_t& /*capacity*/, int32_t& count, int32_t index,
                                 int32_t n, int32_t /*growth*/, int32_t elementSize) const {
  if (!ValidRange(count, index, n, elementSize)) {
    return false;
  }
  DestroyRange(storage, index, index + n, elementSize);
  std::memmove(Slot(storage, index, elementSize), Slot(storage, index + n, elementSize),
               static_cast<size_t>(count - index - n) * static_cast<size_t>(elementSize));
  ZeroSlots(storage, count - n, count, elementSize);
  count -= n;
  return true;
}

bool tCollectionHelper::ClearAt(void* storage, int32_t count, int32_t index, int32_t n,
                                int32_t elementSize) const {
  if (!ValidRange(count, index, n, elementSize)) {
    return false;
  }
  DestroyRange(storage, index, index + n, elementSize);
  return true;
}
