#pragma once

// Helpers shared by the persistent classes of the logic core: every class and
// property of the logic is registered with the version word 0x1060006.

#include <cstdint>

#include "base/LumoClass.h"
#include "base/LumoObject.h"

// The record of one field whose load and save operations are Class::LoadField
// and Class::SaveField; the record is named Class_Field.
#define LOGIC_FIELD_PROPERTY(Class, Field, typeCode, typeName)                                     \
  LumoFieldProperty<Class, &Class::Load##Field, &Class::Save##Field> Class##_##Field(kVersion_1_6_0_6, \
                                                                                   typeCode, typeName, #Field)

// The per-field operations of a field stored in the generic form of its type
// code: they hand the field's address to the object's property reader and
// writer.
#define LOGIC_GENERIC_FIELD(Class, Field)                                           \
  bool Class::Load##Field(LumoStream* stream, const LumoProperty* property) {      \
    return LoadPropertyFrom(stream, property, &Field);                              \
  }                                                                                 \
  bool Class::Save##Field(LumoStream* stream, const LumoProperty* property) {      \
    return SavePropertyTo(stream, property, &Field);                                \
  }

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
