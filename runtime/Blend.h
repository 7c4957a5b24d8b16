#pragma once

#include <cstdint>

#include "base/LumoExport.h"
#include "runtime/Alpha.h"
#include "runtime/Graphics.h"

// Blending on the pixel cursors of locked graphics, channel by channel with
// alpha 0-255 (a = alpha, s = source, d = destination):
// - plain: each channel = (s * a + d * (255 - a)) >> 8 on the masked fields
//   of 5/6/5 and 5/5/5 pixels, (d * (255 - a) >> 8) + (s * a >> 8) on the
//   0-255 channels of other formats; alpha 0 changes nothing;
// - transparent: as plain, skipping source pixels equal to the key;
// - alpha map: as plain with a per-pixel alpha from the map, 0 skipping;
// - mask: a colour blended in through the map, 0 skipping;
// - colour: every pixel blended with a colour (alpha 0 still darkens a
//   little: a channel c becomes c * 255 / 256).
// The fourth byte of a 32-bit pixel is kept. Alpha above 255 counts as 255.
// The block rules of runtime/Drawing.h apply: signed sizes, cursors moved
// past the block, pixels outside either graphic skipped.

// One pixel at the two cursors, on 0-255 channels; the cursors stay.
LUMOGAME_API void BlendPixel(LockedGraphic* destination, LockedGraphic* source, uint32_t alpha);
LUMOGAME_API void BlendPlain(LockedGraphic* destination, LockedGraphic* source, uint32_t alpha,
                             int32_t width, int32_t height);
LUMOGAME_API void BlendTransparent(LockedGraphic* destination, LockedGraphic* source,
                                   uint32_t alpha, uint32_t key, int32_t width, int32_t height);
// The map (runtime/Alpha.h) is read at the source cursor's x, y with the
// source graphic's width as its row length; a null or unknown map, or one too
// small for the rows the block reads, is refused with a log line. Without a
// source graphic nothing is blended (there are no source pixels) and only
// the destination cursor moves.
LUMOGAME_API void BlendAlpha(LockedGraphic* destination, LockedGraphic* source, AlphaHandle alpha,
                             int32_t width, int32_t height);
// The map byte of block pixel (x, y) is at row y, column x with the block's
// width as row length; a map smaller than the block is refused.
LUMOGAME_API void BlendMask(LockedGraphic* destination, AlphaHandle alpha, uint32_t pixel,
                            int32_t width, int32_t height);
LUMOGAME_API void BlendColor(LockedGraphic* destination, uint32_t pixel, uint32_t alpha,
                             int32_t width, int32_t height);
