#pragma once

#include <cstdint>
#include <vector>

#include "base/LumoObject.h"

class YLThing;

// One part of the logic map: the list of placed things kept sorted by
// position, which the proximity searches walk. The list holds the position
// the map gave each thing (a move updates it before the thing's record
// follows), and ties on a cell are ordered by id, so the order never depends
// on the order in which things were placed.
class CMapSector : public LumoObject {
 public:
  // One placed thing at the position the map keeps for it.
  struct Entry {
    int32_t x;
    int32_t y;
    int32_t tid;
    YLThing* thing;
  };

  CMapSector();
  ~CMapSector() override;

  const char* GetClassName() const override;

  const std::vector<Entry>& GetThings() const { return things; }
  int32_t GetThingCount() const { return static_cast<int32_t>(things.size()); }
  // The first entry whose x is at least x (the count when none).
  int32_t LowerBound(int32_t x) const;
  // The entry of exactly this key; -1 when none.
  int32_t Find(int32_t x, int32_t y, int32_t tid) const;
  // Puts an entry at its sorted place; answers its index.
  int32_t Insert(const Entry& entry);
  void EraseAt(int32_t index);
  // Gives the entry at index a new position and moves it to its sorted
  // place; answers its new index.
  int32_t MoveEntry(int32_t index, int32_t x, int32_t y);
  void Clear() { things.clear(); }

  // Values the sector carries beside its list; zero from construction and
  // never streamed (the class has no persistent property).
  int32_t FirstValues[4] = {};
  int32_t SecondValues[8] = {};
  uint8_t ByteValue = 0;
  int32_t ThirdValues[8] = {};

 private:
  std::vector<Entry> things;
};
