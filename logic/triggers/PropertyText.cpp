#include "logic/triggers/PropertyText.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "base/DebugFormat.h"
#include "base/LumoStream.h"
#include "logic/triggers/tStrings.h"

namespace {

template <typename... Arguments>
tString Format(const char* format, Arguments... arguments) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, format, arguments...);
  return tString(buffer);
}

}  // namespace

tString FormatInt(int32_t value) { return Format("%d", value); }
tString FormatUnsigned(uint32_t value) { return Format("%u", value); }
tString FormatReal(float value) { return Format("%.3f", static_cast<double>(value)); }
tString FormatBool(int32_t value) { return tString(value != 0 ? "1: true" : "0: false"); }

tString FormatOperator(int32_t code) {
  switch (code) {
    case OperatorGreater:
      return tString(">");
    case OperatorLess:
      return tString("<");
    case OperatorEqual:
      return tString("=");
    case OperatorNotEqual:
      return tString("!=");
    default:
      return tString("?");
  }
}

int32_t ParseInt(const char* text) {
  int value = 0;
  if (text == nullptr || std::sscanf(text, "%d", &value) != 1) {
    return 0;
  }
  return value;
}

bool ParseBool(const char* text) { return ParseInt(text) != 0; }

float ParseReal(const char* text) {
  float value = 0.0f;
  if (text == nullptr || std::sscanf(text, "%f", &value) != 1) {
    return 0.0f;
  }
  return value;
}

int32_t ParseOperator(const char* text) {
  if (text == nullptr) {
    return OperatorEqual;
  }
  switch (text[0]) {
    case '>':
      return OperatorGreater;
    case '<':
      return OperatorLess;
    case '!':
      return OperatorNotEqual;
    default:
      return OperatorEqual;
  }
}

// ---- Id lists ----

bool WriteIdList(LumoStream* stream, const tIdList& list) {
  if (!stream->WriteInteger(list.count)) {
    return false;
  }
  for (int32_t index = 0; index < list.count; ++index) {
    if (!stream->WriteInteger(list[index])) {
      return false;
    }
  }
  return true;
}

bool ReadIdList(LumoStream* stream, tIdList& list) {
  int32_t count = 0;
  if (!stream->ReadInteger(count)) {
    return false;
  }
  // A stream that cannot tell what it has left is held to the largest block
  // any stream hands out.
  const int64_t remaining = stream->GetBytesRemaining();
  const int64_t bound = remaining >= 0 ? remaining : static_cast<int64_t>(kMaxStreamBlock);
  if (count < 0 || static_cast<int64_t>(count) * 4 > bound) {
    DebugPrint("ReadIdList: the stored count %d exceeds what the stream holds\n", count);
    return false;
  }
  if (count == 0) {
    list.Clear();
    return true;
  }
  if (!list.SetCount(count)) {
    return false;
  }
  for (int32_t index = 0; index < count; ++index) {
    if (!stream->ReadInteger(list[index])) {
      return false;
    }
  }
  return true;
}

namespace {

// The entry label with its index put in place of the first "%d" (labels
// such as " tgt[%d]"); a label without one is used as it stands.
std::string EntryLabel(const char* pattern, int32_t index) {
  std::string label = pattern != nullptr ? pattern : "";
  const size_t at = label.find("%d");
  if (at != std::string::npos) {
    label.replace(at, 2, std::to_string(index));
  }
  return label;
}

}  // namespace

void ListIdList(tStrings& labels, tStrings& values, const char* countLabel, const char* entryLabel,
                const tIdList& list) {
  labels.Add(countLabel);
  values.Add(FormatInt(list.count).text);
  for (int32_t index = 0; index < list.count; ++index) {
    labels.Add(EntryLabel(entryLabel, index).c_str());
    values.Add(FormatInt(list[index]).text);
  }
}

int32_t SetIdListProperty(tIdList& list, int32_t position, int32_t countPosition, const char* text) {
  if (position == countPosition) {
    // The editor (and actions that set stored texts) may hand in anything:
    // a count no thing list can have leaves the list as it is.
    const int32_t count = ParseInt(text);
    if (count < 0 || count > kMaxIdListEntries) {
      DebugPrint("SetIdListProperty: count %d is outside 0..%d, the list is kept\n", count, kMaxIdListEntries);
    } else if (count == 0) {
      list.Clear();
    } else {
      list.SetCount(count);
    }
    return -1;
  }
  if (position > countPosition && position - countPosition - 1 < list.count) {
    list[position - countPosition - 1] = ParseInt(text);
  }
  return position - countPosition - 1 - list.count;
}
