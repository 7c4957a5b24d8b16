#include "logic/triggers/tStrings.h"

bool tStrings::Add(const char* text) {
  if (!InsertAt(count, 1)) {
    return false;
  }
  items[count - 1] = text;
  return true;
}

const char* tStrings::Get(int32_t index) const {
  if (index < 0 || index >= count || items[index].text == nullptr) {
    return "";
  }
  return items[index].text;
}
