#pragma once

// Helpers shared by the persistent classes of the logic core: every class and
// property of the logic is registered with the version word 0x1060006.

#include <cstdint>

#include "base/LumoClass.h"
#include "base/LumoObject.h"
#include "base/tCollection.h"

class LumoStream;

// The record of one field, registered with the logic's version word.
#define LOGIC_FIELD_PROPERTY(Class, Field, typeCode, typeName) \
  LUMO_FIELD_PROPERTY(kVersion_1_6_0_6, Class, Field, typeCode, typeName)

// An 8-bit field stored as a 32-bit integer ("tInteger"). A stored value that
// does not fit the field fails the load with a log line.
bool LoadByteAsInteger(LumoObject& object, LumoStream* stream, const LumoProperty* property, uint8_t& field);
bool SaveByteAsInteger(LumoObject& object, LumoStream* stream, const LumoProperty* property, uint8_t field);

#define LOGIC_BYTE_AS_INTEGER_FIELD(Class, Field)                                  \
  bool Class::Load##Field(LumoStream* stream, const LumoProperty* property) {      \
    return LoadByteAsInteger(*this, stream, property, Field);                      \
  }                                                                                 \
  bool Class::Save##Field(LumoStream* stream, const LumoProperty* property) {      \
    return SaveByteAsInteger(*this, stream, property, Field);                      \
  }

// ---- Counted arrays of 32-bit integers ----

// Reads the stored count of a field's 32-bit values. A count that is
// negative, odd where pairs are stored, or larger than what the stream has
// left fails with a log line naming the object and the field, so a damaged
// count never makes the reader allocate or read beyond the stream.
bool ReadValueCount(LumoStream* stream, const LumoObject& object, const char* field, bool pairs, int32_t& count);
// Reads count values into the array, which is resized to the count.
bool ReadValues(LumoStream* stream, tCollection<int32_t>& values, int32_t count);
// Writes the array's count, then its values.
bool WriteCountedValues(LumoStream* stream, const tCollection<int32_t>& values);

// ---- Marker texts ----
// Fields added to a class later are stored behind a marker text (a
// length-prefixed text such as "border:") that older streams lack.

bool WriteMarker(LumoStream* stream, const char* marker);
// True when the stream's next bytes are the marker, which is then read;
// otherwise the stream stays where it was.
bool ReadMarker(LumoStream* stream, const char* marker);

// A 32-bit value behind its marker, as fields added later are stored: a
// stream without the marker leaves the field as it is.
bool LoadTaggedInteger(LumoStream* stream, const char* tag, int32_t& field);
bool SaveTaggedInteger(LumoStream* stream, const char* tag, int32_t field);
