#pragma once

#include <cstdint>
#include <type_traits>

#include "base/IntPoint.h"
#include "base/LumoObject.h"
#include "runtime/Graphics.h"

class LumoProperty;
class LumoStream;

// Where, and in what colour, the debug drawing of boxes goes.
struct LumoBSPDrawer {
  LockedGraphic* graphic = nullptr;  // the locked target
  int32_t width = 0;                 // the target's size in pixels
  int32_t height = 0;
  uint32_t colour = 0;  // the line colour, a display pixel value
};

// An axis-aligned box of Dimensions coordinates of type Coordinate: the base
// of the BSP tree's nodes and objects. The box covers origin to
// origin + size on every axis, both ends included.
template <int Dimensions, typename Coordinate>
class LumoBSPBounds : public LumoObject {
 public:
  using Point = LumoPoint<Dimensions, Coordinate>;
  // Box arithmetic runs in a wider type for integer coordinates, so a box
  // near the edge of the coordinate range cannot overflow its far corner.
  using Wide = std::conditional_t<std::is_integral_v<Coordinate>, int64_t, Coordinate>;

  const char* GetClassName() const override { return "LumoBSPBounds"; }

  // Per-field load and save of the box, for the field records of derived
  // classes: two 32-bit values per point, x then y (integers for the integer
  // tree, floats for the float tree).
  virtual bool LoadOrigin(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveOrigin(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadSize(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveSize(LumoStream* stream, const LumoProperty* property);
  // Draws the outline of the box on the axes axisX (across) and axisY
  // (down), its corners scaled by scale and truncated. A side outside the
  // target is clamped to the target's edge and not drawn; a box wholly
  // outside draws nothing.
  virtual void DrawClipped(LumoBSPDrawer& drawer, float scale, int32_t axisX, int32_t axisY);
  // The same with the box placed relative to the view's origin and clipped
  // to the view's box (and the target).
  virtual void DrawRelative(LumoBSPDrawer& drawer, const LumoBSPBounds& view, float scale, int32_t axisX,
                            int32_t axisY);
  // The colour of this box in debug drawings: white.
  virtual sRGB GetDebugColour() const { return sRGB{255, 255, 255}; }

  // True when the boxes share at least one point on every axis: boxes that
  // only touch overlap.
  static bool Overlaps(const LumoBSPBounds& a, const LumoBSPBounds& b) {
    for (int axis = 0; axis < Dimensions; ++axis) {
      if (Low(a, axis) > High(b, axis) || High(a, axis) < Low(b, axis)) {
        return false;
      }
    }
    return true;
  }

  // True when a lies wholly inside b (edges may coincide).
  static bool IsInside(const LumoBSPBounds& a, const LumoBSPBounds& b) {
    for (int axis = 0; axis < Dimensions; ++axis) {
      if (Low(a, axis) < Low(b, axis) || High(a, axis) > High(b, axis)) {
        return false;
      }
    }
    return true;
  }

  Point origin;  // the lowest corner
  Point size;    // the extent on each axis

 protected:
  static Wide Low(const LumoBSPBounds& box, int axis) { return *box.origin.Component(axis); }
  static Wide High(const LumoBSPBounds& box, int axis) {
    return static_cast<Wide>(*box.origin.Component(axis)) + static_cast<Wide>(*box.size.Component(axis));
  }
};
