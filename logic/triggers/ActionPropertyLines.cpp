#include "logic/triggers/ActionPropertyLines.h"

#include <cstdio>

#include "logic/triggers/tStrings.h"

ActionPropertyLines::ActionPropertyLines(tStrings& labels, tStrings& values) : Labels(&labels), Values(&values) {}

ActionPropertyLines::ActionPropertyLines(int32_t position, const char* text) : Position(position), SetText(text) {}

bool ActionPropertyLines::Line(const char* label, const tString& value) {
  if (IsListing()) {
    Labels->Add(label);
    Values->Add(value.text);
    ++Count;
    return false;
  }
  return Count++ == Position;
}

bool ActionPropertyLines::IndexedLine(const char* labelFormat, int32_t index, const tString& value) {
  if (!IsListing()) {
    return Line(labelFormat, value);
  }
  char label[48];
  std::snprintf(label, sizeof label, labelFormat, index);
  return Line(label, value);
}

bool ActionPropertyLines::Int(const char* label, int32_t& field) {
  if (!Line(label, IsListing() ? FormatInt(field) : tString())) {
    return false;
  }
  field = ParseInt(SetText);
  return true;
}

bool ActionPropertyLines::Bool(const char* label, bool& field) {
  if (!Line(label, IsListing() ? FormatBool(field ? 1 : 0) : tString())) {
    return false;
  }
  field = ParseBool(SetText);
  return true;
}

bool ActionPropertyLines::String(const char* label, tCharStr& field) {
  const bool present = field != nullptr && field[0] != '\0';
  if (!Line(label, IsListing() ? tString(present ? field : " ") : tString())) {
    return false;
  }
  SetCharStr(field, SetText);
  return true;
}

bool ActionPropertyLines::IdList(const char* countLabel, const char* entryFormat, tIdList& list) {
  if (!IsListing()) {
    // The count and its entries, with the rules every editor id list keeps.
    const int32_t remaining = SetIdListProperty(list, Position - Count, 0, SetText);
    const bool set = Position >= Count && remaining < 0;
    Count += 1 + list.count;
    return set;
  }
  Line(countLabel, FormatInt(list.count));
  for (int32_t index = 0; index < list.count; ++index) {
    IndexedLine(entryFormat, index, FormatInt(list[index]));
  }
  return false;
}

bool ActionPropertyLines::ListEntry(const char* label, tIdList& list, int32_t index) {
  const int32_t shown = index < list.count ? list[index] : 0;
  if (!Line(label, IsListing() ? FormatInt(shown) : tString())) {
    return false;
  }
  // New entries are 0.
  if (index >= list.count && !list.SetCount(index + 1)) {
    return true;
  }
  list[index] = ParseInt(SetText);
  return true;
}
