#pragma once

#include <cstdint>
#include <memory>

#include "logic/core/GroundMap.h"
#include "logic/core/YLPropagator.h"

class CMap;
class LumoProperty;
class LumoStream;

// What fire and tear gas share: a round area of map cells around a centre
// cell, marked on the logic map while it lasts, and a clock counting the
// frames since it started against its duration.
class YLAreaPropagator : public YLPropagator {
 public:
  // Frees the area.
  void DoFree() override;

  // Replaces the area by every cell (dx, dy) with -radius <= dx, dy <=
  // radius and dx*dx + dy*dy < radius*radius, column by column from
  // dx = -radius, each column from dy = -radius; the cells are those of
  // facing 0. Radius 1 is the centre alone; 0 or less leaves no cell.
  void BuildArea(int32_t radius);
  // Sets or clears this kind's mark on every cell of the area, (X + dx,
  // Y + dy); cells off the map's grid are skipped.
  void MarkArea(CMap* map, bool on);
  void SetPosition(int32_t x, int32_t y) {
    X = x;
    Y = y;
  }
  const GroundMap* GetArea() const { return Area.get(); }

  // The area as an embedded object record (none stands as an empty one).
  // A record of another class fails the read and is freed.
  bool ReadArea(LumoStream* stream);
  bool WriteArea(LumoStream* stream) const;

  virtual bool LoadDuration(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveDuration(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadTime(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveTime(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadX(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveX(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadY(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveY(LumoStream* stream, const LumoProperty* property);

  // The cells, under facing 0 (owned); none until BuildArea.
  std::unique_ptr<GroundMap, tObjectDestroyer> Area;
  int32_t Duration = 0;  // frames
  int32_t Time = 0;      // frames since the start
  int32_t X = 0;         // the centre cell
  int32_t Y = 0;

 protected:
  explicit YLAreaPropagator(int32_t duration) : Duration(duration) {}
  // Sets or clears the kind's mark on one cell inside the grid.
  virtual void SetMark(CMap& map, int32_t x, int32_t y, bool on) const = 0;
};
