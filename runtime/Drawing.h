#pragma once

#include <cstdint>

#include "base/LumoExport.h"
#include "runtime/Graphics.h"

// Drawing on a locked graphic's pixel cursor: lines, rectangles and
// recolouring, plus the whole-graphic operations PixelateGraphic and
// CropGraphic. Pixel values are in the display's format.
//
// Width and height arguments are signed: 0 draws nothing, a negative width
// first moves the cursor left by its size (a negative height moves it up)
// and the magnitudes are used. Afterwards the cursor stands at the block's
// corner diagonally opposite its top-left corner, except after
// FillRectangle and FillNextRectangle, which leave it where the block
// starts. Pixels outside the locked graphic are never touched.

// A line from the cursor to cursor + (dx, dy); the cursor then moves there.
// dy = 0 draws dx pixels of a row and dx = 0 dy pixels of a column, the end
// point excluded (a negative length covers the pixels before the cursor);
// any other line draws max(|dx|, |dy|) + 1 pixels, both ends included.
LUMOGAME_API void NextLine(LockedGraphic* locked, int32_t dx, int32_t dy, uint32_t pixel);
// The cursor to x, y, then NextLine.
LUMOGAME_API void PlotLine(LockedGraphic* locked, int32_t x, int32_t y, int32_t dx, int32_t dy,
                           uint32_t pixel);
// The cursor to x, y, then one row run per row of the block.
LUMOGAME_API void FillRectangle(LockedGraphic* locked, int32_t x, int32_t y, int32_t width,
                                int32_t height, uint32_t pixel);
LUMOGAME_API void FillNextRectangle(LockedGraphic* locked, int32_t width, int32_t height,
                                    uint32_t pixel);
// In the block: old ink becomes new ink, else old paper becomes new paper.
LUMOGAME_API void ReplaceInkAndPaper(LockedGraphic* locked, uint32_t oldInk, uint32_t newInk,
                                     uint32_t oldPaper, uint32_t newPaper, int32_t width,
                                     int32_t height);
// In the block: the key becomes keyValue, every other pixel otherValue.
LUMOGAME_API void ReplacePaper(LockedGraphic* locked, uint32_t key, uint32_t keyValue,
                               uint32_t otherValue, int32_t width, int32_t height);

// Sets a grid of pixels (written unconverted): on even rows from x = offset
// and on odd rows from x = spacing (swapped when the flag is set), every
// spacing + 1 pixels. Nothing unless spacing and offset are both positive.
LUMOGAME_API void PixelateGraphic(GraphicHandle graphic, uint32_t pixel, int32_t spacing,
                                  int32_t offset, bool flag);
// A new graphic holding the smallest rectangle that contains every pixel not
// of the transparent colour, reported as left, top, width, height (all 0
// when there is none). Null for an all-transparent graphic or a failure.
LUMOGAME_API GraphicHandle CropGraphic(GraphicHandle graphic, const sRGB& transparent,
                                       int32_t& left, int32_t& top, int32_t& width,
                                       int32_t& height);
