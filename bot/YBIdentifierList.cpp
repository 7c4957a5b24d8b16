#include "bot/YBIdentifierList.h"

#include <algorithm>
#include <cstdio>

#include "base/DebugFormat.h"
#include "base/LumoStream.h"

namespace {

void SkipBlanks(const char*& at) {
  while (*at == ' ' || *at == '\t') {
    ++at;
  }
}

// A decimal number with an optional sign; false when there is none or when
// it lies outside the 32-bit range.
bool ReadNumber(const char*& at, int64_t& value) {
  const char* cursor = at;
  bool negative = false;
  if (*cursor == '-' || *cursor == '+') {
    negative = *cursor == '-';
    ++cursor;
  }
  if (*cursor < '0' || *cursor > '9') {
    return false;
  }
  int64_t magnitude = 0;
  while (*cursor >= '0' && *cursor <= '9') {
    magnitude = magnitude * 10 + (*cursor - '0');
    if (magnitude > INT64_C(0x80000000)) {
      return false;
    }
    ++cursor;
  }
  value = negative ? -magnitude : magnitude;
  if (value > INT32_MAX || value < INT32_MIN) {
    return false;
  }
  at = cursor;
  return true;
}

}  // namespace

bool YBIdentifierList::Contains(int32_t value) const {
  return std::find(Values.begin(), Values.end(), value) != Values.end();
}

bool YBIdentifierList::RemoveAll(int32_t value) {
  const auto end = std::remove(Values.begin(), Values.end(), value);
  const bool found = end != Values.end();
  Values.erase(end, Values.end());
  return found;
}

std::string YBIdentifierList::ToText() const {
  std::string text;
  char number[16];
  for (size_t index = 0; index < Values.size();) {
    size_t runEnd = index;
    while (runEnd + 1 < Values.size() && static_cast<int64_t>(Values[runEnd + 1]) == int64_t{Values[runEnd]} + 1) {
      ++runEnd;
    }
    if (!text.empty()) {
      text += ',';
    }
    std::snprintf(number, sizeof number, "%d", Values[index]);
    text += number;
    if (runEnd > index) {
      std::snprintf(number, sizeof number, "-%d", Values[runEnd]);
      text += number;
    }
    index = runEnd + 1;
  }
  return text;
}

std::unique_ptr<YBIdentifierList> YBIdentifierList::FromText(const char* text) {
  auto list = std::make_unique<YBIdentifierList>();
  const char* at = text != nullptr ? text : "";
  for (;;) {
    SkipBlanks(at);
    int64_t first = 0;
    if (!ReadNumber(at, first)) {
      break;
    }
    SkipBlanks(at);
    int64_t last = first;
    if (*at == '-') {
      ++at;
      SkipBlanks(at);
      if (!ReadNumber(at, last)) {
        list->Append(static_cast<int32_t>(first));
        break;
      }
      SkipBlanks(at);
    }
    const int64_t end = std::min(last, first + kMaxRangeValues - 1);
    for (int64_t value = first; value <= end; ++value) {
      list->Append(static_cast<int32_t>(value));
    }
    if (*at != ',') {
      break;
    }
    ++at;
  }
  return list;
}

bool YBIdentifierList::Load(LumoStream* stream, std::unique_ptr<YBIdentifierList>& list, const char* owner) {
  int32_t count = 0;
  if (!stream->ReadInteger(count)) {
    DebugPrint("(BOT) %s: cannot read the count of an identifier list\n", owner);
    return false;
  }
  if (count == -1) {
    list.reset();
    return true;
  }
  const int64_t remaining = stream->GetBytesRemaining();
  if (count < -1 || (remaining >= 0 && int64_t{count} * 4 > remaining)) {
    DebugPrint("(BOT) %s: an identifier list of %d values does not fit the %lld bytes left\n", owner, count,
               static_cast<long long>(remaining));
    return false;
  }
  auto loaded = std::make_unique<YBIdentifierList>();
  for (int32_t index = 0; index < count; ++index) {
    int32_t value = 0;
    if (!stream->ReadInteger(value)) {
      DebugPrint("(BOT) %s: an identifier list ends after %d of %d values\n", owner, index, count);
      return false;
    }
    loaded->Append(value);
  }
  list = std::move(loaded);
  return true;
}

bool YBIdentifierList::Save(LumoStream* stream, const YBIdentifierList* list) {
  if (list == nullptr) {
    return stream->WriteInteger(-1);
  }
  if (!stream->WriteInteger(list->Count())) {
    return false;
  }
  for (int32_t value : list->Values) {
    if (!stream->WriteInteger(value)) {
      return false;
    }
  }
  return true;
}
