#pragma once

#include <cstdint>

#include "runtime/Graphics.h"

// What the drawing and blending operations share: the pixels of a locked
// graphic, the block an operation covers at the pixel cursor, and the part
// of that block that lies inside the graphic. Drawing never reaches outside
// the locked graphic: the parts of a line, rectangle or blend that lie
// outside are skipped, while the cursor moves as if all had been drawn.

// The pixels of a locked graphic in the display's format.
struct tLockedPixels {
  uint8_t* Memory = nullptr;
  int32_t Pitch = 0;
  int32_t Width = 0;
  int32_t Height = 0;
  uint32_t BytesPerPixel = 0;

  uint8_t* At(int32_t x, int32_t y) const {
    return Memory + static_cast<std::ptrdiff_t>(y) * Pitch +
           static_cast<std::ptrdiff_t>(x) * BytesPerPixel;
  }
  bool Contains(int64_t x, int64_t y) const { return x >= 0 && y >= 0 && x < Width && y < Height; }
};

// False, after "<prefix> Null pointer to the locked graphic specified", for
// null; false with "<prefix> Pixel format not supported" for a graphic whose
// format is not the display's (one made before the display was set up again).
bool LockedPixels(const char* prefix, const LockedGraphic* locked, tLockedPixels& pixels);

// A block at the cursor, after the sign rule.
struct tCursorBlock {
  int64_t Left = 0;
  int64_t Top = 0;
  int64_t Width = 0;
  int64_t Height = 0;

  bool IsEmpty() const { return Width <= 0 || Height <= 0; }
};

// The block a width x height operation covers: a negative width first moves
// the cursor left by its size and a negative height moves it up, then the
// magnitudes are used. A width or height of 0 gives an empty block and
// leaves the cursor alone.
tCursorBlock TakeCursorBlock(LockedGraphic* locked, int32_t width, int32_t height);
// Leaves the cursor at the block's corner diagonally opposite its top-left
// corner: the top-left corner plus the block's width and height.
void EndCursorBlock(LockedGraphic* locked, const tCursorBlock& block);
// Moves the cursor to x, y computed without overflow.
void PlaceCursor(LockedGraphic* locked, int64_t x, int64_t y);

// The rows and columns of a block (relative to its top-left corner) that
// every given surface holds; the block lies at (left, top) of each.
struct tBlockSpan {
  int32_t FirstColumn = 0;
  int32_t EndColumn = 0;  // exclusive
  int32_t FirstRow = 0;
  int32_t EndRow = 0;  // exclusive

  bool IsEmpty() const { return EndColumn <= FirstColumn || EndRow <= FirstRow; }
  int32_t Columns() const { return EndColumn - FirstColumn; }
  int32_t Rows() const { return EndRow - FirstRow; }
};
tBlockSpan SpanInside(const tCursorBlock& block, const tLockedPixels& pixels);
// The span inside both surfaces, with the same block size at each one's place.
tBlockSpan SpanInsideBoth(const tCursorBlock& first, const tLockedPixels& firstPixels,
                          const tCursorBlock& second, const tLockedPixels& secondPixels);
