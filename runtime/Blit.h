#pragma once

#include <cstdint>

#include "base/LumoExport.h"
#include "platform/Surface.h"
#include "runtime/Graphics.h"
#include "runtime/Viewports.h"

// Blits: whole graphics placed into graphics or viewports of the render
// buffer, stretched blits and partial copies, each with an optional colour
// key. Every blit first restores a lost source; a lost destination is
// restored and the blit retried while the restore succeeds, and busy answers
// are retried. A rectangle that does not lie inside its surface is refused,
// so no argument reads or writes outside a surface.

// ---- Records ----

// Colour-key modes.
enum tKeyMode : uint32_t {
  KeyNone = 0,   // no colour key
  KeyColor = 1,  // one key colour (the low colour)
  KeyRange = 2,  // every colour between the low and the high colour
};

// Three 32-bit words: the mode, then the low and the high key colour, each
// in the first three bytes of its word. Both colours start black.
struct tKeyData {
  uint32_t Mode = KeyNone;
  sRGB Low;
  uint8_t LowPadding = 0;
  sRGB High;  // read in mode 2 only
  uint8_t HighPadding = 0;
};
static_assert(sizeof(tKeyData) == 12, "tKeyData is three 32-bit words");

// Eight 32-bit words: the destination's left and top, the key, and three
// words no operation reads (the record is copied whole where it is kept).
struct tBlitData {
  int32_t Left = 0;
  int32_t Top = 0;
  tKeyData Key;
  uint32_t Unused[3] = {0, 0, 0};
};
static_assert(sizeof(tBlitData) == 32, "tBlitData is eight 32-bit words");

// A partial copy: the source's top-left corner, the destination's top-left
// corner and the size.
struct tCopyData {
  int32_t SourceLeft = 0;
  int32_t SourceTop = 0;
  int32_t DestLeft = 0;
  int32_t DestTop = 0;
  int32_t Width = 0;
  int32_t Height = 0;
};

// ---- Blits (true when the blit ran or nothing was visible) ----

// The whole source at (Left, Top) of the destination, cut to the destination
// (a negative position cuts the source's left or top off).
LUMOGAME_API bool GraphicToGraphic(GraphicHandle source, GraphicHandle destination,
                                   const tBlitData* data);
// The same into the render buffer, placed relative to the viewport's
// top-left corner and cut to the viewport.
LUMOGAME_API bool GraphicToViewport(GraphicHandle source, ViewportHandle viewport,
                                    const tBlitData* data);
// The whole source stretched onto the whole destination (nearest source pixel).
LUMOGAME_API bool StretchGraphicToGraphic(GraphicHandle source, GraphicHandle destination,
                                          const tKeyData* key);
// The whole source stretched onto the viewport's rectangle of the render buffer.
LUMOGAME_API bool StretchGraphicToViewport(GraphicHandle source, ViewportHandle viewport,
                                           const tKeyData* key);
// Part of the source into the render buffer, unscaled and without key: the
// source rectangle is cut to the source, the destination (relative to the
// viewport) to the viewport; the smaller extents are copied from the cut
// source's top-left corner to the cut destination's top-left corner.
LUMOGAME_API bool PartialGraphicToViewport(GraphicHandle source, ViewportHandle viewport,
                                           const tCopyData* data);
// A width x height rectangle from the source to the destination, keyed when
// key is given. With clip both rectangles are cut to their graphics (as for
// PartialGraphicToViewport); without it they are used as given, and one that
// does not lie inside its graphic is refused.
LUMOGAME_API bool PartialGraphicToGraphic(GraphicHandle source, GraphicHandle destination,
                                          const tCopyData* data, const tKeyData* key, bool clip);

// ---- Inside the run-time system ----

// The result of a blit into a viewport that is dropped without a log line.
constexpr uint32_t kSilentViewportBlitResult = 0x8876024C;

// Sets the source's colour key from a key record (packed in the display
// format) and answers whether the blit uses it: mode 1 keys the low colour,
// mode 2 the range from low to high; any other mode blits without a key.
bool ApplyColorKey(platform::Surface& source, const tKeyData* key);

// Copies sourceRectangle of source onto destinationRectangle of destination,
// stretched when their sizes differ, skipping the source's keyed pixels when
// useSourceKey is set. Restores and retries by the display rule. Answers
// InvalidRectangle (nothing copied) for an empty rectangle or one outside its
// surface, and InvalidPixelFormat for surfaces of different formats.
platform::SurfaceResult BlitSurface(platform::Surface& destination,
                                    const platform::SurfaceRect& destinationRectangle,
                                    platform::Surface& source,
                                    const platform::SurfaceRect& sourceRectangle,
                                    bool useSourceKey);

// Places a width x height block with its top-left corner at (left, top) and
// cuts it to the clip rectangle; offset gives how far the cut moved the
// block's top-left corner (the part of the source cut off). False when
// nothing of it is visible. Wide coordinates cannot overflow.
bool PlaceBlock(int64_t left, int64_t top, int32_t width, int32_t height,
                const platform::SurfaceRect& clip, platform::SurfaceRect& placed, int32_t& offsetX,
                int32_t& offsetY);
