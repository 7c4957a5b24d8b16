#include "base/ElementCallbacks.h"

#include <climits>
#include <cstring>

#include "base/tBuffer.h"
#include "base/tObject.h"
#include "base/tString.h"

namespace {

void* SlotAt(void* storage, int32_t index, int32_t elementSize) {
  return static_cast<char*>(storage) + static_cast<int64_t>(index) * elementSize;
}

// Object pointers are read and written bytewise: storage is raw memory.
tObject* ObjectAt(const void* slot) {
  tObject* object = nullptr;
  std::memcpy(&object, slot, sizeof(object));
  return object;
}

// The shared rule for empty elements: empty sorts after everything.
// Answers 2 when both are present and the caller must compare them.
constexpr int kBothPresent = 2;

int CompareEmptiness(bool firstEmpty, bool secondEmpty) {
  if (firstEmpty) {
    return secondEmpty ? 0 : 1;
  }
  return secondEmpty ? -1 : kBothPresent;
}

}  // namespace

void DestroyObjectElement(void* storage, int32_t index, int32_t elementSize) {
  void* slot = SlotAt(storage, index, elementSize);
  tObject* object = ObjectAt(slot);
  // The slot is cleared first, so an object that looks at its collection
  // while it ends no longer finds itself there.
  std::memset(slot, 0, sizeof(object));
  DestroyObject(object);
}

int CompareObjectElements(const void* first, const void* second) {
  const tObject* firstObject = ObjectAt(first);
  const tObject* secondObject = ObjectAt(second);
  const int empty = CompareEmptiness(firstObject == nullptr, secondObject == nullptr);
  return empty != kBothPresent ? empty : firstObject->Compare(secondObject);
}

int CompareKeyToObjectElement(const void* key, const void* element) {
  const tObject* object = ObjectAt(element);
  if (key == nullptr) {
    return object != nullptr ? -1 : 0;
  }
  if (object == nullptr) {
    return 1;
  }
  const int answer = object->CompareKey(key);
  return answer == INT_MIN ? INT_MAX : -answer;
}

void DestroyStringElement(void* storage, int32_t index, int32_t elementSize) {
  static_cast<tString*>(SlotAt(storage, index, elementSize))->Empty();
}

int CompareStringElements(const void* first, const void* second) {
  return static_cast<const tString*>(first)->Compare(*static_cast<const tString*>(second));
}

void DestroyBufferElement(void* storage, int32_t index, int32_t elementSize) {
  static_cast<tBuffer*>(SlotAt(storage, index, elementSize))->Empty();
}

int CompareBufferElements(const void* first, const void* second) {
  return static_cast<const tBuffer*>(first)->Compare(*static_cast<const tBuffer*>(second));
}

int CompareIntElements(const void* first, const void* second) {
  int32_t firstValue = 0;
  int32_t secondValue = 0;
  std::memcpy(&firstValue, first, sizeof(firstValue));
  std::memcpy(&secondValue, second, sizeof(secondValue));
  return (firstValue > secondValue) - (firstValue < secondValue);
}
