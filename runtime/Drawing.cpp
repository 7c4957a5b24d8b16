#include "runtime/Drawing.h"

#include <algorithm>
#include <cstdlib>

#include "base/DebugFormat.h"
#include "runtime/Blit.h"
#include "runtime/CursorBlock.h"
#include "runtime/PixelFunctions.h"

namespace {

// A run of length pixels from start along one axis (a negative length
// covers the pixels before start), cut to [0, limit): false when nothing
// of it is inside.
bool CutRun(int64_t start, int64_t length, int64_t limit, int32_t& cutStart, int32_t& cutLength) {
  if (length < 0) {
    start += length;
    length = -length;
  }
  const int64_t first = std::max<int64_t>(start, 0);
  const int64_t end = std::min<int64_t>(start + length, limit);
  if (end <= first) {
    return false;
  }
  cutStart = static_cast<int32_t>(first);
  cutLength = static_cast<int32_t>(end - first);
  return true;
}

void DrawRow(const tLockedPixels& pixels, int64_t x, int64_t y, int64_t length, uint32_t pixel) {
  int32_t start = 0;
  int32_t count = 0;
  if (y < 0 || y >= pixels.Height || !CutRun(x, length, pixels.Width, start, count)) {
    return;
  }
  PixelFunctions().HorizontalRun(pixels.Memory, pixels.Pitch, start, static_cast<int32_t>(y), count,
                                 pixel);
}

void DrawColumn(const tLockedPixels& pixels, int64_t x, int64_t y, int64_t length, uint32_t pixel) {
  int32_t start = 0;
  int32_t count = 0;
  if (x < 0 || x >= pixels.Width || !CutRun(y, length, pixels.Height, start, count)) {
    return;
  }
  PixelFunctions().VerticalRun(pixels.Memory, pixels.Pitch, static_cast<int32_t>(x), start, count,
                               pixel);
}

// Bresenham over max(|dx|, |dy|) + 1 pixels, both ends drawn. The walk stops
// once it has left the graphic along its major axis for good.
void DrawSlope(const tLockedPixels& pixels, int64_t x, int64_t y, int64_t dx, int64_t dy,
               uint32_t pixel) {
  const int64_t stepX = dx < 0 ? -1 : 1;
  const int64_t stepY = dy < 0 ? -1 : 1;
  const int64_t absoluteX = std::llabs(dx);
  const int64_t absoluteY = std::llabs(dy);
  const bool alongX = absoluteX >= absoluteY;
  const int64_t major = alongX ? absoluteX : absoluteY;
  const int64_t minor = alongX ? absoluteY : absoluteX;
  auto setPixel = PixelFunctions().SetPixel;
  int64_t error = 2 * minor - major;
  for (int64_t step = 0; step <= major; ++step) {
    if (pixels.Contains(x, y)) {
      setPixel(pixels.At(static_cast<int32_t>(x), static_cast<int32_t>(y)), pixel);
    }
    const int64_t along = alongX ? x : y;
    const int64_t alongStep = alongX ? stepX : stepY;
    const int64_t alongLimit = alongX ? pixels.Width : pixels.Height;
    if ((alongStep > 0 && along >= alongLimit) || (alongStep < 0 && along < 0)) {
      break;
    }
    if (error >= 0) {
      x += stepX;
      y += stepY;
      error += 2 * (minor - major);
    } else {
      (alongX ? x : y) += alongX ? stepX : stepY;
      error += 2 * minor;
    }
  }
}

void FillBlock(const char* prefix, LockedGraphic* locked, int32_t width, int32_t height,
               uint32_t pixel) {
  tLockedPixels pixels;
  if (!LockedPixels(prefix, locked, pixels)) {
    return;
  }
  const tCursorBlock block = TakeCursorBlock(locked, width, height);
  if (block.IsEmpty()) {
    return;
  }
  const tBlockSpan span = SpanInside(block, pixels);
  for (int32_t row = span.FirstRow; row < span.EndRow; ++row) {
    PixelFunctions().HorizontalRun(pixels.Memory, pixels.Pitch,
                                   static_cast<int32_t>(block.Left + span.FirstColumn),
                                   static_cast<int32_t>(block.Top + row), span.Columns(), pixel);
  }
}

// Runs a replacement member over the part of the cursor's block inside the
// graphic and moves the cursor past the block.
template <typename Replace>
void ReplaceBlock(const char* prefix, LockedGraphic* locked, int32_t width, int32_t height,
                  Replace replace) {
  tLockedPixels pixels;
  if (!LockedPixels(prefix, locked, pixels)) {
    return;
  }
  const tCursorBlock block = TakeCursorBlock(locked, width, height);
  const tBlockSpan span = SpanInside(block, pixels);
  if (!span.IsEmpty()) {
    replace(pixels.At(static_cast<int32_t>(block.Left + span.FirstColumn),
                      static_cast<int32_t>(block.Top + span.FirstRow)),
            pixels.Pitch, span.Columns(), span.Rows());
  }
  EndCursorBlock(locked, block);
}

}  // namespace

// ---- On the pixel cursor ----

void NextLine(LockedGraphic* locked, int32_t dx, int32_t dy, uint32_t pixel) {
  tLockedPixels pixels;
  if (!LockedPixels("NextLine()", locked, pixels)) {
    return;
  }
  const int64_t x = locked->X;
  const int64_t y = locked->Y;
  if (dy == 0) {
    DrawRow(pixels, x, y, dx, pixel);
  } else if (dx == 0) {
    DrawColumn(pixels, x, y, dy, pixel);
  } else {
    DrawSlope(pixels, x, y, dx, dy, pixel);
  }
  PlaceCursor(locked, x + dx, y + dy);
}

void PlotLine(LockedGraphic* locked, int32_t x, int32_t y, int32_t dx, int32_t dy, uint32_t pixel) {
  if (locked == nullptr) {
    DebugPrint("PlotLine() Null pointer to the locked graphic specified\n");
    return;
  }
  SelectPixelAt(locked, x, y);
  NextLine(locked, dx, dy, pixel);
}

void FillRectangle(LockedGraphic* locked, int32_t x, int32_t y, int32_t width, int32_t height,
                   uint32_t pixel) {
  if (locked == nullptr) {
    DebugPrint("FillRectangle() Null pointer to the locked graphic specified\n");
    return;
  }
  SelectPixelAt(locked, x, y);
  FillBlock("FillRectangle()", locked, width, height, pixel);
}

void FillNextRectangle(LockedGraphic* locked, int32_t width, int32_t height, uint32_t pixel) {
  FillBlock("FillNextRectangle()", locked, width, height, pixel);
}

void ReplaceInkAndPaper(LockedGraphic* locked, uint32_t oldInk, uint32_t newInk, uint32_t oldPaper,
                        uint32_t newPaper, int32_t width, int32_t height) {
  ReplaceBlock("ReplaceInkAndPaper()", locked, width, height,
               [&](uint8_t* block, int32_t pitch, int32_t columns, int32_t rows) {
                 PixelFunctions().ReplaceInkAndPaper(block, pitch, columns, rows, oldInk, newInk,
                                                     oldPaper, newPaper);
               });
}

void ReplacePaper(LockedGraphic* locked, uint32_t key, uint32_t keyValue, uint32_t otherValue,
                  int32_t width, int32_t height) {
  ReplaceBlock("ReplacePaper()", locked, width, height,
               [&](uint8_t* block, int32_t pitch, int32_t columns, int32_t rows) {
                 PixelFunctions().ReplacePaper(block, pitch, columns, rows, key, keyValue,
                                               otherValue);
               });
}

// ---- Whole graphics ----

void PixelateGraphic(GraphicHandle graphic, uint32_t pixel, int32_t spacing, int32_t offset,
                     bool flag) {
  constexpr const char* prefix = "PixelateGraphic()";
  if (graphic == nullptr) {
    DebugPrint("%s Null pointer to the graphic specified\n", prefix);
    return;
  }
  if (spacing <= 0 || offset <= 0) {
    return;
  }
  LockedGraphic* locked = LockGraphic(graphic);
  tLockedPixels pixels;
  if (locked == nullptr) {
    return;
  }
  if (!LockedPixels(prefix, locked, pixels)) {
    UnlockGraphic(locked);
    return;
  }
  const int32_t evenStart = flag ? spacing : offset;
  const int32_t oddStart = flag ? offset : spacing;
  const int64_t step = int64_t{spacing} + 1;
  auto setPixel = PixelFunctions().SetPixel;
  for (int32_t y = 0; y < pixels.Height; ++y) {
    for (int64_t x = (y % 2 == 0) ? evenStart : oddStart; x < pixels.Width; x += step) {
      setPixel(pixels.At(static_cast<int32_t>(x), y), pixel);
    }
  }
  UnlockGraphic(locked);
}

GraphicHandle CropGraphic(GraphicHandle graphic, const sRGB& transparent, int32_t& left,
                          int32_t& top, int32_t& width, int32_t& height) {
  constexpr const char* prefix = "CropGraphic()";
  left = 0;
  top = 0;
  width = 0;
  height = 0;
  if (graphic == nullptr) {
    DebugPrint("%s Null pointer to the graphic specified\n", prefix);
    return nullptr;
  }
  LockedGraphic* locked = LockGraphic(graphic);
  tLockedPixels pixels;
  if (locked == nullptr) {
    return nullptr;
  }
  if (!LockedPixels(prefix, locked, pixels)) {
    UnlockGraphic(locked);
    return nullptr;
  }
  // One pass finds the columns and rows the four scans would find.
  const uint32_t colorMask = DisplayPixelFormat().ColorMask;
  const uint32_t clear = ConvertRGB(transparent) & colorMask;
  auto getPixel = PixelFunctions().GetPixel;
  int32_t minimumX = pixels.Width;
  int32_t minimumY = pixels.Height;
  int32_t maximumX = -1;
  int32_t maximumY = -1;
  for (int32_t y = 0; y < pixels.Height; ++y) {
    for (int32_t x = 0; x < pixels.Width; ++x) {
      if ((getPixel(pixels.At(x, y)) & colorMask) != clear) {
        minimumX = std::min(minimumX, x);
        maximumX = std::max(maximumX, x);
        minimumY = std::min(minimumY, y);
        maximumY = y;
      }
    }
  }
  UnlockGraphic(locked);
  if (maximumX < 0) {
    DebugPrint("%s Graphic is all transparent (Item=%p)\n", prefix, graphic);
    return nullptr;
  }
  const tCopyData copy{minimumX, minimumY, 0, 0, maximumX - minimumX + 1, maximumY - minimumY + 1};
  GraphicHandle cropped = MakeGraphic(prefix, copy.Width, copy.Height, true);
  if (cropped == nullptr) {
    return nullptr;
  }
  if (!PartialGraphicToGraphic(graphic, cropped, &copy, nullptr, false)) {
    DestroyGraphic(cropped);
    return nullptr;
  }
  left = copy.SourceLeft;
  top = copy.SourceTop;
  width = copy.Width;
  height = copy.Height;
  return cropped;
}
