#pragma once

#include <cstdint>

#include "base/LumoExport.h"
#include "base/LumoObject.h"
#include "base/tCollection.h"

class LumoProperty;
class LumoStream;

// A thing's footprint on the logic map: for each of the 8 orientations the
// cells it covers, as (x, y) offsets from the thing's own cell stored as
// consecutive pairs of one growable array. A new ground map covers the thing's
// own cell, (0, 0), in every orientation.
class GroundMap : public LumoObject {
 public:
  static constexpr int32_t kOrientations = 8;

  GroundMap();

  const char* GetClassName() const override;

  // The stream form of the eight arrays (the property "Data").
  virtual bool LoadData(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveData(LumoStream* stream, const LumoProperty* property);

  // The n-th point (from 0) of an orientation; false when the orientation is
  // not 0-7 or n is not below its number of points.
  COGITO_API bool GetPoint(int32_t ori, int32_t n, int32_t& x, int32_t& y) const;
  // Appends a point to one orientation; answers the new count of integers
  // (twice the points), or -1 when the orientation is not 0-7 or memory runs out.
  int32_t AddPoint(int32_t ori, int32_t x, int32_t y);
  // True when the orientation holds the point.
  bool HasPoint(int32_t ori, int32_t x, int32_t y) const;
  // Deletes every copy of the point from the orientation.
  void RemovePoint(int32_t ori, int32_t x, int32_t y);
  // Points of an orientation; 0 when it is not 0-7.
  int32_t GetPointCount(int32_t ori) const;

  // One array per orientation: x0, y0, x1, y1, ...
  tCollection<int32_t> Points[kOrientations];

 private:
  static bool IsOrientation(int32_t ori) { return ori >= 0 && ori < kOrientations; }
};
