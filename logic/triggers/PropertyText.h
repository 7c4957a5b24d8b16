#pragma once

// The text forms of property values in the editor protocol, and id lists in
// streams and in the editor. The editor writes values in these same forms;
// a text that cannot be read gives 0, 0.0, false or the equality operator.

#include <cstdint>

#include "base/tCollection.h"
#include "base/tString.h"

class LumoStream;
class tStrings;

// A growable list of 32-bit ids (units, buildings, sectors, ...).
using tIdList = tCollection<int32_t>;

// Comparison operators of the conditions and triggers that compare a value.
enum tCompareOperator : int32_t {
  OperatorGreater = 0,
  OperatorLess = 1,
  OperatorEqual = 2,
  OperatorNotEqual = 3,
};

tString FormatInt(int32_t value);
// Times and frequencies.
tString FormatUnsigned(uint32_t value);
tString FormatReal(float value);
// "1: true" for any non-zero value, else "0: false".
tString FormatBool(int32_t value);
// ">", "<", "=", "!=", and "?" for any other code.
tString FormatOperator(int32_t code);

int32_t ParseInt(const char* text);
bool ParseBool(const char* text);
float ParseReal(const char* text);
// By the first character only: '>' 0, '<' 1, '!' 3, anything else 2.
int32_t ParseOperator(const char* text);

// ---- Id lists ----

// The count, then each id (big-endian 32-bit values).
bool WriteIdList(LumoStream* stream, const tIdList& list);
// Reads the count and that many ids into the list. A count that is negative
// or larger than the stream has left fails with a log line before anything
// is allocated; any read failure answers false.
bool ReadIdList(LumoStream* stream, tIdList& list);

// The editor's view of an id list that ends a class's own properties: one
// count property, then one property per entry, labelled entryLabel with the
// entry's index in place of its "%d" (" tgt[%d]" gives " tgt[0]", ...).
void ListIdList(tStrings& labels, tStrings& values, const char* countLabel, const char* entryLabel,
                const tIdList& list);
// Sets own property `position` of a class whose list count stands at its own
// position countPosition. The count resizes the list (new entries 0) and
// answers -1; a count below 0 or above kMaxIdListEntries changes nothing
// and is logged. A later position sets that entry (a position past the
// entries changes nothing) and answers position minus the class's own
// property count (the properties before the list, the count and the
// entries).
int32_t SetIdListProperty(tIdList& list, int32_t position, int32_t countPosition, const char* text);

// Thing ids stay below 4096, so no list the editor sets needs more entries.
constexpr int32_t kMaxIdListEntries = 4096;
