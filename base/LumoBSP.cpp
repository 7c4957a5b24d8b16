#include "base/LumoBSP.h"

#include <algorithm>
#include <cmath>

#include "base/DebugFormat.h"
#include "runtime/Drawing.h"

// ---- Debug drawing ----

namespace {

// A box on the target in pixels, both ends included.
struct ScreenBox {
  int64_t left, top, right, bottom;
};

// A coordinate times the scale, truncated; kept far inside 64 bits so that
// no later step overflows, whatever the box and the scale.
int64_t ScaleCoordinate(double value, float scale) {
  constexpr double kLimit = 1e12;
  const double scaled = value * static_cast<double>(scale);
  if (std::isnan(scaled)) {
    return 0;
  }
  return static_cast<int64_t>(std::clamp(scaled, -kLimit, kLimit));
}

template <typename Bounds>
bool ValidAxes(const Bounds& box, int32_t axisX, int32_t axisY) {
  if (box.origin.Component(axisX) == nullptr || box.origin.Component(axisY) == nullptr) {
    DebugPrint("LumoBSPBounds::Draw() Invalid axes %d, %d (Object=%p:%s)\n", axisX, axisY, DebugAddress(&box),
               DebugClassName(&box));
    return false;
  }
  return true;
}

// The box's corners on the two axes, less shift, scaled.
template <typename Bounds, typename Point>
ScreenBox ScaledBox(const Bounds& box, const Point& shift, float scale, int32_t axisX, int32_t axisY) {
  const double x = static_cast<double>(*box.origin.Component(axisX)) - static_cast<double>(*shift.Component(axisX));
  const double y = static_cast<double>(*box.origin.Component(axisY)) - static_cast<double>(*shift.Component(axisY));
  ScreenBox screen{ScaleCoordinate(x, scale), ScaleCoordinate(y, scale),
                   ScaleCoordinate(x + static_cast<double>(*box.size.Component(axisX)), scale),
                   ScaleCoordinate(y + static_cast<double>(*box.size.Component(axisY)), scale)};
  if (screen.right < screen.left) {
    std::swap(screen.left, screen.right);
  }
  if (screen.bottom < screen.top) {
    std::swap(screen.top, screen.bottom);
  }
  return screen;
}

// Draws the sides of box that lie inside clip; a side outside is clamped to
// clip's edge and left out.
void DrawOutline(const LumoBSPDrawer& drawer, ScreenBox box, const ScreenBox& clip) {
  if (drawer.graphic == nullptr || box.right < clip.left || box.left > clip.right || box.bottom < clip.top ||
      box.top > clip.bottom) {
    return;
  }
  const bool drawLeft = box.left >= clip.left;
  const bool drawRight = box.right <= clip.right;
  const bool drawTop = box.top >= clip.top;
  const bool drawBottom = box.bottom <= clip.bottom;
  box.left = std::max(box.left, clip.left);
  box.right = std::min(box.right, clip.right);
  box.top = std::max(box.top, clip.top);
  box.bottom = std::min(box.bottom, clip.bottom);
  // Inside the clip every value fits 32 bits; runs include both ends.
  const auto left = static_cast<int32_t>(box.left);
  const auto top = static_cast<int32_t>(box.top);
  const auto right = static_cast<int32_t>(box.right);
  const auto bottom = static_cast<int32_t>(box.bottom);
  auto run = [&](int32_t x, int32_t y, int32_t dx, int32_t dy) {
    SelectPixelAt(drawer.graphic, x, y);
    NextLine(drawer.graphic, dx, dy, drawer.colour);
  };
  if (drawTop) {
    run(left, top, right - left + 1, 0);
  }
  if (drawBottom) {
    run(left, bottom, right - left + 1, 0);
  }
  if (drawLeft) {
    run(left, top, 0, bottom - top + 1);
  }
  if (drawRight) {
    run(right, top, 0, bottom - top + 1);
  }
}

ScreenBox TargetBox(const LumoBSPDrawer& drawer) {
  return ScreenBox{0, 0, int64_t{drawer.width} - 1, int64_t{drawer.height} - 1};
}

// Sets the drawer's colour for a while and gives the old one back.
class DrawerColour {
 public:
  explicit DrawerColour(LumoBSPDrawer& target) : drawer(target), saved(target.colour) {}
  ~DrawerColour() { drawer.colour = saved; }
  DrawerColour(const DrawerColour&) = delete;
  DrawerColour& operator=(const DrawerColour&) = delete;
  void Use(const sRGB& colour) { drawer.colour = ConvertRGB(colour); }

 private:
  LumoBSPDrawer& drawer;
  uint32_t saved;
};

}  // namespace

template <int Dimensions, typename Coordinate>
void LumoBSPBounds<Dimensions, Coordinate>::DrawClipped(LumoBSPDrawer& drawer, float scale, int32_t axisX,
                                                        int32_t axisY) {
  if (!ValidAxes(*this, axisX, axisY)) {
    return;
  }
  DrawOutline(drawer, ScaledBox(*this, Point{}, scale, axisX, axisY), TargetBox(drawer));
}

template <int Dimensions, typename Coordinate>
void LumoBSPBounds<Dimensions, Coordinate>::DrawRelative(LumoBSPDrawer& drawer, const LumoBSPBounds& view,
                                                         float scale, int32_t axisX, int32_t axisY) {
  if (!ValidAxes(*this, axisX, axisY)) {
    return;
  }
  const ScreenBox viewBox = ScaledBox(view, view.origin, scale, axisX, axisY);
  const ScreenBox target = TargetBox(drawer);
  const ScreenBox clip{std::max(viewBox.left, target.left), std::max(viewBox.top, target.top),
                       std::min(viewBox.right, target.right), std::min(viewBox.bottom, target.bottom)};
  DrawOutline(drawer, ScaledBox(*this, view.origin, scale, axisX, axisY), clip);
}

template <int Dimensions, typename Coordinate>
void LumoBSPNode<Dimensions, Coordinate>::DrawClipped(LumoBSPDrawer& drawer, float scale, int32_t axisX,
                                                      int32_t axisY) {
  DrawerColour colour(drawer);
  colour.Use(GetDebugColour());
  Bounds::DrawClipped(drawer, scale, axisX, axisY);
  for (LumoBSPNode* child : {firstChild, secondChild}) {
    if (child != nullptr) {
      child->DrawClipped(drawer, scale, axisX, axisY);
    }
  }
  for (Object* object = objects; object != nullptr; object = object->next) {
    colour.Use(object->GetDebugColour());
    object->DrawClipped(drawer, scale, axisX, axisY);
  }
}

template <int Dimensions, typename Coordinate>
void LumoBSPNode<Dimensions, Coordinate>::DrawRelative(LumoBSPDrawer& drawer, const Bounds& view, float scale,
                                                       int32_t axisX, int32_t axisY) {
  DrawerColour colour(drawer);
  colour.Use(GetDebugColour());
  Bounds::DrawRelative(drawer, view, scale, axisX, axisY);
  for (LumoBSPNode* child : {firstChild, secondChild}) {
    if (child != nullptr && Bounds::Overlaps(*child, view)) {
      child->DrawRelative(drawer, view, scale, axisX, axisY);
    }
  }
  for (Object* object = objects; object != nullptr; object = object->next) {
    if (Bounds::Overlaps(*object, view)) {
      colour.Use(object->GetDebugColour());
      object->DrawRelative(drawer, view, scale, axisX, axisY);
    }
  }
}

// ---- The instantiations ----

// Every member defined in this file; the stream forms are instantiated with
// their definitions, in LumoBSPStream.cpp.

template class LumoBSPBounds<2, int32_t>;
template class LumoBSPNode<2, int32_t>;
template class LumoBSPObject<2, int32_t>;
template class LumoBSPBounds<2, float>;
template class LumoBSPNode<2, float>;
template class LumoBSPObject<2, float>;
