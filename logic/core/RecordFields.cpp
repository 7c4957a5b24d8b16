#include "logic/core/RecordFields.h"

#include "base/DebugFormat.h"

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
