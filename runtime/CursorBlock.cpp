#include "runtime/CursorBlock.h"

#include <algorithm>

#include "base/DebugFormat.h"
#include "platform/Surface.h"
#include "runtime/PixelFunctions.h"

namespace {

int64_t Magnitude(int32_t size) {
  return size < 0 ? -int64_t{size} : int64_t{size};
}

// Columns [first, end) of a run of length cells from start that lie in
// [0, limit), relative to start.
void CutRange(int64_t start, int64_t length, int64_t limit, int64_t& first, int64_t& end) {
  first = std::max<int64_t>(first, -start);
  end = std::min<int64_t>(end, std::min(length, limit - start));
}

tBlockSpan MakeSpan(int64_t firstColumn, int64_t endColumn, int64_t firstRow, int64_t endRow) {
  if (endColumn <= firstColumn || endRow <= firstRow) {
    return {};
  }
  return {static_cast<int32_t>(firstColumn), static_cast<int32_t>(endColumn),
          static_cast<int32_t>(firstRow), static_cast<int32_t>(endRow)};
}

}  // namespace

bool LockedPixels(const char* prefix, const LockedGraphic* locked, tLockedPixels& pixels) {
  if (locked == nullptr || locked->Graphic == nullptr) {
    DebugPrint("%s Null pointer to the locked graphic specified\n", prefix);
    return false;
  }
  const uint32_t bytes = SurfaceOf(locked->Graphic)->Format().BytesPerPixel();
  if (bytes != DisplayPixelFormat().BytesPerPixel) {
    DebugPrint("%s Pixel format not supported (PixelSize=%i)\n", prefix,
               static_cast<int32_t>(bytes));
    return false;
  }
  pixels = {locked->Description.Memory, locked->Description.Pitch, locked->Description.Width,
            locked->Description.Height, bytes};
  return true;
}

void PlaceCursor(LockedGraphic* locked, int64_t x, int64_t y) {
  SelectPixelAt(locked, static_cast<int32_t>(x), static_cast<int32_t>(y));
}

tCursorBlock TakeCursorBlock(LockedGraphic* locked, int32_t width, int32_t height) {
  if (width == 0 || height == 0) {
    return {};
  }
  tCursorBlock block{locked->X, locked->Y, Magnitude(width), Magnitude(height)};
  if (width < 0 || height < 0) {
    block.Left = width < 0 ? block.Left - block.Width : block.Left;
    block.Top = height < 0 ? block.Top - block.Height : block.Top;
    PlaceCursor(locked, block.Left, block.Top);
  }
  return block;
}

void EndCursorBlock(LockedGraphic* locked, const tCursorBlock& block) {
  if (!block.IsEmpty()) {
    PlaceCursor(locked, block.Left + block.Width, block.Top + block.Height);
  }
}

tBlockSpan SpanInside(const tCursorBlock& block, const tLockedPixels& pixels) {
  int64_t firstColumn = 0;
  int64_t endColumn = block.Width;
  int64_t firstRow = 0;
  int64_t endRow = block.Height;
  CutRange(block.Left, block.Width, pixels.Width, firstColumn, endColumn);
  CutRange(block.Top, block.Height, pixels.Height, firstRow, endRow);
  return MakeSpan(firstColumn, endColumn, firstRow, endRow);
}

tBlockSpan SpanInsideBoth(const tCursorBlock& first, const tLockedPixels& firstPixels,
                          const tCursorBlock& second, const tLockedPixels& secondPixels) {
  int64_t firstColumn = 0;
  int64_t endColumn = first.Width;
  int64_t firstRow = 0;
  int64_t endRow = first.Height;
  CutRange(first.Left, first.Width, firstPixels.Width, firstColumn, endColumn);
  CutRange(first.Top, first.Height, firstPixels.Height, firstRow, endRow);
  CutRange(second.Left, second.Width, secondPixels.Width, firstColumn, endColumn);
  CutRange(second.Top, second.Height, secondPixels.Height, firstRow, endRow);
  return MakeSpan(firstColumn, endColumn, firstRow, endRow);
}
