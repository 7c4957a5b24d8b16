#include "logic/core/CMapSector.h"

#include <algorithm>

#include "base/LumoClass.h"

namespace {

LumoClassOf<CMapSector> classOfCMapSector(kVersion_1_6_0_6, "CMapSector", "LumoObject");

bool Before(const CMapSector::Entry& first, const CMapSector::Entry& second) {
  if (first.x != second.x) {
    return first.x < second.x;
  }
  if (first.y != second.y) {
    return first.y < second.y;
  }
  return first.tid < second.tid;
}

}  // namespace

CMapSector::CMapSector() = default;
CMapSector::~CMapSector() = default;

const char* CMapSector::GetClassName() const { return "CMapSector"; }

int32_t CMapSector::LowerBound(int32_t x) const {
  const auto found =
      std::lower_bound(things.begin(), things.end(), x, [](const Entry& entry, int32_t key) { return entry.x < key; });
  return static_cast<int32_t>(found - things.begin());
}

int32_t CMapSector::Find(int32_t x, int32_t y, int32_t tid) const {
  const Entry key{x, y, tid, nullptr};
  const auto found = std::lower_bound(things.begin(), things.end(), key, Before);
  if (found == things.end() || found->x != x || found->y != y || found->tid != tid) {
    return -1;
  }
  return static_cast<int32_t>(found - things.begin());
}

int32_t CMapSector::Insert(const Entry& entry) {
  const auto place = std::lower_bound(things.begin(), things.end(), entry, Before);
  const auto index = place - things.begin();
  things.insert(place, entry);
  return static_cast<int32_t>(index);
}

void CMapSector::EraseAt(int32_t index) { things.erase(things.begin() + index); }

// The entry slides forward or backward to its new place; the entries between
// shift by one.
int32_t CMapSector::MoveEntry(int32_t index, int32_t x, int32_t y) {
  Entry moved = things[static_cast<size_t>(index)];
  moved.x = x;
  moved.y = y;
  auto at = things.begin() + index;
  const auto place = std::lower_bound(things.begin(), things.end(), moved, Before);
  if (place > at) {
    std::rotate(at, at + 1, place);
    *(place - 1) = moved;
    return static_cast<int32_t>(place - things.begin() - 1);
  }
  std::rotate(place, at, at + 1);
  *place = moved;
  return static_cast<int32_t>(place - things.begin());
}
