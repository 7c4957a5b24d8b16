#include "logic/core/RecordFields.h"

#include <cstring>
#include <vector>

#include "base/DebugFormat.h"
#include "base/LumoStream.h"

bool LoadByteAsInteger(LumoObject& object, LumoStream* stream, const LumoProperty* property, uint8_t& field) {
  // A field the stream is too old for is skipped and keeps its value.
  int32_t value = field;
  if (!object.LoadPropertyFrom(stream, property, &value)) {
    return false;
  }
  if (value < 0 || value > UINT8_MAX) {
    DebugPrint("%s: the stored %s %d does not fit its 8-bit field\n", object.GetClassName(), property->fieldName,
               value);
    return false;
  }
  field = static_cast<uint8_t>(value);
  return true;
}

bool SaveByteAsInteger(LumoObject& object, LumoStream* stream, const LumoProperty* property, uint8_t field) {
  int32_t value = field;
  return object.SavePropertyTo(stream, property, &value);
}

namespace {

constexpr int64_t kValueBytes = 4;

}  // namespace

bool ReadValueCount(LumoStream* stream, const LumoObject& object, const char* field, bool pairs, int32_t& count) {
  count = 0;
  int32_t stored = 0;
  if (!stream->ReadInteger(stored)) {
    DebugPrint("%s: cannot read the count of %s\n", object.GetClassName(), field);
    return false;
  }
  if (stored < 0 || (pairs && stored % 2 != 0)) {
    DebugPrint("%s: the stored count %d of %s is not a valid count\n", object.GetClassName(), stored, field);
    return false;
  }
  // A stream that cannot tell what it has left is held to the largest block
  // any stream hands out.
  const int64_t remaining = stream->GetBytesRemaining();
  const int64_t bound = remaining >= 0 ? remaining : static_cast<int64_t>(kMaxStreamBlock);
  if (stored * kValueBytes > bound) {
    DebugPrint("%s: the stored count %d of %s exceeds the %lld bytes left in the stream\n", object.GetClassName(),
               stored, field, static_cast<long long>(bound));
    return false;
  }
  count = stored;
  return true;
}

bool ReadValues(LumoStream* stream, tCollection<int32_t>& values, int32_t count) {
  if (count == 0) {
    values.Clear();
    return true;
  }
  if (!values.SetCount(count)) {
    return false;
  }
  for (int32_t index = 0; index < count; ++index) {
    if (!stream->ReadInteger(values[index])) {
      return false;
    }
  }
  return true;
}

bool WriteCountedValues(LumoStream* stream, const tCollection<int32_t>& values) {
  if (!stream->WriteInteger(values.count)) {
    return false;
  }
  for (int32_t index = 0; index < values.count; ++index) {
    if (!stream->WriteInteger(values[index])) {
      return false;
    }
  }
  return true;
}

// ---- Marker texts ----

bool WriteMarker(LumoStream* stream, const char* marker) { return stream->WriteCharStr(marker); }

bool ReadMarker(LumoStream* stream, const char* marker) {
  const size_t length = std::strlen(marker);
  std::vector<uint8_t> expected(4 + length);
  expected[0] = static_cast<uint8_t>(length >> 24);
  expected[1] = static_cast<uint8_t>(length >> 16);
  expected[2] = static_cast<uint8_t>(length >> 8);
  expected[3] = static_cast<uint8_t>(length);
  std::memcpy(expected.data() + 4, marker, length);
  std::vector<uint8_t> found(expected.size());
  const auto size = static_cast<uint32_t>(expected.size());
  if (!stream->Peek(found.data(), size) || found != expected) {
    return false;
  }
  return stream->ReadBlock(found.data(), size);
}

bool LoadTaggedInteger(LumoStream* stream, const char* tag, int32_t& field) {
  return !ReadMarker(stream, tag) || stream->ReadInteger(field);
}

bool SaveTaggedInteger(LumoStream* stream, const char* tag, int32_t field) {
  return WriteMarker(stream, tag) && stream->WriteInteger(field);
}
