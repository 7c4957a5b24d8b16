#include "logic/core/GroundMap.h"

#include "base/LumoClass.h"
#include "logic/core/RecordFields.h"

namespace {

LumoClassOf<GroundMap> classOfGroundMap(kVersion_1_6_0_6, "GroundMap", "LumoObject");
LumoFieldProperty<GroundMap, &GroundMap::LoadData, &GroundMap::SaveData> groundMapData(kVersion_1_6_0_6,
                                                                                      PropertyPointer,
                                                                                      "tPointer", "Data");

}  // namespace

GroundMap::GroundMap() {
  for (auto& points : Points) {
    points.AppendInt(0);
    points.AppendInt(0);
  }
}

const char* GroundMap::GetClassName() const { return "GroundMap"; }

bool GroundMap::GetPoint(int32_t ori, int32_t n, int32_t& x, int32_t& y) const {
  if (n < 0 || n >= GetPointCount(ori)) {
    return false;
  }
  x = Points[ori][2 * n];
  y = Points[ori][2 * n + 1];
  return true;
}

int32_t GroundMap::AddPoint(int32_t ori, int32_t x, int32_t y) {
  if (!IsOrientation(ori)) {
    return -1;
  }
  tCollection<int32_t>& points = Points[ori];
  if (!points.AppendInt(x)) {
    return -1;
  }
  if (!points.AppendInt(y)) {
    // Never leave half a pair behind.
    points.DeleteAt(points.count - 1);
    return -1;
  }
  return points.count;
}

bool GroundMap::HasPoint(int32_t ori, int32_t x, int32_t y) const {
  const int32_t count = GetPointCount(ori);
  for (int32_t n = 0; n < count; ++n) {
    if (Points[ori][2 * n] == x && Points[ori][2 * n + 1] == y) {
      return true;
    }
  }
  return false;
}

void GroundMap::RemovePoint(int32_t ori, int32_t x, int32_t y) {
  if (!IsOrientation(ori)) {
    return;
  }
  tCollection<int32_t>& points = Points[ori];
  // After a deletion the next pair has moved into the same place, so the scan
  // looks there again.
  int32_t index = 0;
  while (index + 1 < points.count) {
    if (points[index] == x && points[index + 1] == y) {
      points.DeleteAt(index, 2);
    } else {
      index += 2;
    }
  }
}

int32_t GroundMap::GetPointCount(int32_t ori) const { return IsOrientation(ori) ? Points[ori].count / 2 : 0; }

// For each orientation in turn: the count of integers (twice the points),
// then x0, y0, x1, y1, ...
bool GroundMap::LoadData(LumoStream* stream, const LumoProperty*) {
  for (auto& points : Points) {
    int32_t count = 0;
    if (!ReadValueCount(stream, *this, "Data", true, count) || !ReadValues(stream, points, count)) {
      return false;
    }
  }
  return true;
}

bool GroundMap::SaveData(LumoStream* stream, const LumoProperty*) {
  for (const auto& points : Points) {
    if (!WriteCountedValues(stream, points)) {
      return false;
    }
  }
  return true;
}
