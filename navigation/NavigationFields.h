#pragma once

// Helpers shared by the persistent classes of the navigation: every class and
// property is registered with the version word 0x1060006.

#include <cstdint>

#include "base/LumoClass.h"
#include "base/LumoObject.h"

class LumoStream;

// The record of one field, registered with the navigation's version word.
#define NAVIGATION_FIELD_PROPERTY(Class, Field, typeCode, typeName) \
  LUMO_FIELD_PROPERTY(kVersion_1_6_0_6, Class, Field, typeCode, typeName)

// Reads a stored count of 32-bit values and refuses a negative one or one
// larger than what the stream has left, with a log line naming the class and
// the field, so a damaged count never makes a reader allocate or read past
// the stream's end.
bool ReadBoundedCount(LumoStream* stream, const char* owner, const char* field, int32_t& count);
// The same test of a count already read, for values of bytesEach bytes.
bool CheckStoredCount(LumoStream* stream, const char* owner, const char* field, int64_t stored,
                      int64_t bytesEach);
