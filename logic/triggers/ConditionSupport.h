#pragma once

// What the trigger conditions share: thing lookups, the comparison by
// operator code, the editor's list lines and the stored sector lists.

#include <cstddef>
#include <cstdint>

#include "logic/triggers/PropertyText.h"

class CLogic;
class LumoStream;
class YLThing;
class tStrings;

namespace trigger_conditions {

// The thing of the logic's thing table with that id (1 up to the table's
// count minus 1); null for any other id or an empty slot.
YLThing* FindThing(const CLogic* logic, int32_t id);
// Status bit 0 of the thing's record.
bool IsAlive(const YLThing& thing);
// Whether the logic map's sector map has the sector.
bool IsKnownSector(const CLogic* logic, int32_t sector);
// The sector number of the thing's cell; -1 without a sector map.
int32_t SectorOf(const CLogic* logic, const YLThing& thing);
// Empties ids, then lists the units and cars standing in the sector.
void CollectSectorUnits(const CLogic* logic, int32_t sector, tIdList& ids);

// The comparison of value with reference by operator code: 0 greater than,
// 1 less than, 2 equal, 3 not equal; any other code is false.
template <typename Number>
bool CompareBy(int32_t code, Number value, Number reference) {
  switch (code) {
    case OperatorGreater:
      return value > reference;
    case OperatorLess:
      return value < reference;
    case OperatorEqual:
      return value == reference;
    case OperatorNotEqual:
      return value != reference;
    default:
      return false;
  }
}

// Appends one label and one value.
void AddLine(tStrings& labels, tStrings& values, const char* label, const char* value);
void AddLine(tStrings& labels, tStrings& values, const char* label, int32_t value);
// A list's count line, then one line per entry whose label is entryFormat
// with the entry's index and whose value is the entry.
void AddListLines(tStrings& labels, tStrings& values, const char* countLabel, const char* entryFormat,
                  const tIdList& list);
// Writes text into the buffer, cut to size.
void WriteRecord(char* buffer, size_t size, const char* text);

// A sector list stored as the text "secs:" and an id list; without the text
// the stream holds one sector number, which becomes a list of one.
bool LoadSectorList(LumoStream* stream, tIdList& list);
bool SaveSectorList(LumoStream* stream, const tIdList& list);

}  // namespace trigger_conditions
