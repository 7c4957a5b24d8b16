#pragma once

#include <cstdint>

#include "base/LumoExport.h"
#include "platform/Surface.h"
#include "runtime/Graphics.h"

// Viewports: rectangles of the screen that blits and fills address. A
// viewport is always cut to the screen; right and bottom are exclusive.

using ViewportHandle = void*;

// The record behind a ViewportHandle, in screen pixels.
struct tViewport {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;
};

// A viewport cut to the screen: a negative left or top becomes 0, a right or
// bottom beyond the screen is cut to it (right and bottom are computed from
// the uncut left and top). Null, with a log line, for a size below 1 or a
// viewport with nothing on the screen.
LUMOGAME_API ViewportHandle CreateViewport(int32_t left, int32_t top, int32_t width,
                                           int32_t height);
LUMOGAME_API void DestroyViewport(ViewportHandle viewport);
// Moves the viewport, keeping its current (cut) size and cutting it to the
// screen again; a position with nothing on the screen leaves it unchanged.
LUMOGAME_API void MoveViewport(ViewportHandle viewport, int32_t left, int32_t top);
LUMOGAME_API bool GetViewportBounds(ViewportHandle viewport, int32_t& left, int32_t& top,
                                    int32_t& width, int32_t& height);
// Fills the viewport's rectangle of the render buffer with the colour.
LUMOGAME_API void FillViewport(ViewportHandle viewport, const sRGB& color);
// Copies the viewport's rectangle of the render buffer into the graphic at
// x, y, cut to the graphic (the source shrinks with the cut destination).
LUMOGAME_API void ViewportToGraphic(ViewportHandle viewport, GraphicHandle graphic, int32_t x,
                                    int32_t y);

// ---- Inside the run-time system ----

inline tViewport* ViewportOf(ViewportHandle viewport) {
  return static_cast<tViewport*>(viewport);
}
// The viewport's rectangle, cut to the render buffer as well (the display
// may have been set up again at another size since the viewport was made).
platform::SurfaceRect ViewportArea(const tViewport& viewport);
// Viewports made and not yet destroyed.
int32_t LiveViewportCount();
