#include "runtime/Blit.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "base/DebugFormat.h"
#include "platform/Surface.h"
#include "runtime/BlitRows.h"
#include "runtime/Display.h"
#include "runtime/SurfaceRetry.h"

using platform::ResultCode;
using platform::Surface;
using platform::SurfaceLock;
using platform::SurfaceRect;
using platform::SurfaceResult;

namespace {

bool LiesInside(const SurfaceRect& rectangle, const Surface& surface) {
  return !rectangle.IsEmpty() && rectangle.left >= 0 && rectangle.top >= 0 &&
         rectangle.right <= surface.Width() && rectangle.bottom <= surface.Height();
}

SurfaceRect Intersect(const SurfaceRect& a, const SurfaceRect& b) {
  return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
          std::min(a.bottom, b.bottom)};
}

bool Overlap(const SurfaceRect& a, const SurfaceRect& b) {
  return !Intersect(a, b).IsEmpty();
}

// A rectangle of width x height from (left, top), cut to the bounds; false
// when nothing remains. Wide arithmetic, so no argument can overflow.
bool CutToBounds(int64_t left, int64_t top, int64_t width, int64_t height,
                 const SurfaceRect& bounds, SurfaceRect& cut) {
  const int64_t cutLeft = std::max<int64_t>(left, bounds.left);
  const int64_t cutTop = std::max<int64_t>(top, bounds.top);
  const int64_t cutRight = std::min<int64_t>(left + width, bounds.right);
  const int64_t cutBottom = std::min<int64_t>(top + height, bounds.bottom);
  if (cutRight <= cutLeft || cutBottom <= cutTop) {
    return false;
  }
  cut = {static_cast<int32_t>(cutLeft), static_cast<int32_t>(cutTop),
         static_cast<int32_t>(cutRight), static_cast<int32_t>(cutBottom)};
  return true;
}

// A rectangle used as given; one that does not fit 32-bit coordinates is
// made empty, so the blit refuses it.
SurfaceRect GivenRectangle(int32_t left, int32_t top, int32_t width, int32_t height) {
  const int64_t right = static_cast<int64_t>(left) + width;
  const int64_t bottom = static_cast<int64_t>(top) + height;
  if (right > INT32_MAX || bottom > INT32_MAX || right < INT32_MIN || bottom < INT32_MIN) {
    return {};
  }
  return {left, top, static_cast<int32_t>(right), static_cast<int32_t>(bottom)};
}

SurfaceRect SizedAt(const SurfaceRect& corner, int32_t width, int32_t height) {
  return {corner.left, corner.top, corner.left + width, corner.top + height};
}

tBlitKey KeyOf(const Surface& source, bool useSourceKey) {
  if (!useSourceKey || !source.SourceColorKey()) {
    return {};
  }
  const platform::PixelFormat& format = source.Format();
  return MakeBlitKey(format.redMask, format.greenMask, format.blueMask,
                     source.SourceColorKey()->low, source.SourceColorKey()->high);
}

tPixelBlock BlockAt(const SurfaceLock& lock, const SurfaceRect& rectangle) {
  const uint32_t bytes = lock.format.BytesPerPixel();
  return {lock.memory + static_cast<std::ptrdiff_t>(rectangle.top) * lock.pitch +
              static_cast<std::ptrdiff_t>(rectangle.left) * bytes,
          lock.pitch, rectangle.Width(), rectangle.Height()};
}

// A blit within one surface whose rectangles overlap reads from a copy of
// the source block, kept between calls.
tConstPixelBlock CopyOfBlock(const tPixelBlock& block, uint32_t bytesPerPixel) {
  static std::vector<uint8_t> scratch;
  const size_t rowBytes = static_cast<size_t>(block.Width) * bytesPerPixel;
  scratch.resize(rowBytes * static_cast<size_t>(block.Height));
  for (int32_t row = 0; row < block.Height; ++row) {
    std::memcpy(scratch.data() + rowBytes * static_cast<size_t>(row),
                block.Memory + static_cast<std::ptrdiff_t>(row) * block.Pitch, rowBytes);
  }
  return {scratch.data(), static_cast<int32_t>(rowBytes), block.Width, block.Height};
}

// One try of a blit whose rectangles were checked.
SurfaceResult BlitOnce(Surface& destination, const SurfaceRect& destinationRectangle,
                       Surface& source, const SurfaceRect& sourceRectangle, const tBlitKey& key) {
  SurfaceLock destinationLock;
  SurfaceResult result = destination.Lock(destinationLock);
  if (result != SurfaceResult::Ok) {
    return result;
  }
  const bool sameSurface = &source == &destination;
  SurfaceLock sourceLock = destinationLock;
  if (!sameSurface) {
    result = source.Lock(sourceLock);
    if (result != SurfaceResult::Ok) {
      destination.Unlock();
      return result;
    }
  }
  const uint32_t bytes = destinationLock.format.BytesPerPixel();
  const tPixelBlock to = BlockAt(destinationLock, destinationRectangle);
  const tPixelBlock sourceBlock = BlockAt(sourceLock, sourceRectangle);
  tConstPixelBlock from{sourceBlock.Memory, sourceBlock.Pitch, sourceBlock.Width,
                        sourceBlock.Height};
  if (sameSurface && Overlap(sourceRectangle, destinationRectangle)) {
    from = CopyOfBlock(sourceBlock, bytes);
  }
  if (to.Width == from.Width && to.Height == from.Height) {
    CopyPixelRows(bytes, to, from, key);
  } else {
    StretchPixelRows(bytes, to, from, key);
  }
  if (!sameSurface) {
    source.Unlock();
  }
  destination.Unlock();
  return SurfaceResult::Ok;
}

// The render buffer, or null with the viewport blit's failure logged.
Surface* RenderTarget(const char* failure, GraphicHandle source) {
  Surface* render = RenderBuffer();
  if (render == nullptr) {
    DebugPrint(failure, source, ResultCode(SurfaceResult::NotInitialized));
  }
  return render;
}

void LogViewportBlitFailure(const char* failure, GraphicHandle source, SurfaceResult result) {
  if (ResultCode(result) != kSilentViewportBlitResult) {
    DebugPrint(failure, source, ResultCode(result));
  }
}

}  // namespace

// ---- Inside the run-time system ----

bool ApplyColorKey(Surface& source, const tKeyData* key) {
  if (key == nullptr) {
    return false;
  }
  const uint32_t low = ConvertRGB(key->Low);
  switch (key->Mode) {
    case KeyColor:
      source.SetSourceColorKey(platform::ColorKey{low, low});
      return true;
    case KeyRange:
      source.SetSourceColorKey(platform::ColorKey{low, ConvertRGB(key->High)});
      return true;
    default:
      return false;
  }
}

bool PlaceBlock(int64_t left, int64_t top, int32_t width, int32_t height, const SurfaceRect& clip,
                SurfaceRect& placed, int32_t& offsetX, int32_t& offsetY) {
  if (!CutToBounds(left, top, width, height, clip, placed)) {
    return false;
  }
  offsetX = static_cast<int32_t>(placed.left - left);
  offsetY = static_cast<int32_t>(placed.top - top);
  return true;
}

SurfaceResult BlitSurface(Surface& destination, const SurfaceRect& destinationRectangle,
                          Surface& source, const SurfaceRect& sourceRectangle, bool useSourceKey) {
  if (!(source.Format() == destination.Format())) {
    return SurfaceResult::InvalidPixelFormat;
  }
  if (!LiesInside(sourceRectangle, source) || !LiesInside(destinationRectangle, destination)) {
    return SurfaceResult::InvalidRectangle;
  }
  if (source.IsLost() == SurfaceResult::SurfaceLost) {
    source.Restore();
  }
  const tBlitKey key = KeyOf(source, useSourceKey);
  return RetrySurfaceOperation(
      [&] { return BlitOnce(destination, destinationRectangle, source, sourceRectangle, key); },
      [&] {
        Surface& lost = destination.IsLost() == SurfaceResult::SurfaceLost ? destination : source;
        return lost.Restore();
      });
}

// ---- Blits ----

bool GraphicToGraphic(GraphicHandle source, GraphicHandle destination, const tBlitData* data) {
  if (source == nullptr) {
    DebugPrint("GraphicToGraphic() Null pointer to the source graphic specified\n");
    return false;
  }
  if (destination == nullptr) {
    DebugPrint("GraphicToGraphic() Null pointer to the dest graphic specified (Source=%p)\n",
               source);
    return false;
  }
  if (data == nullptr) {
    DebugPrint("GraphicToGraphic() Null pointer to the blit data specified (Source=%p, Dest=%p)\n",
               source, destination);
    return false;
  }
  Surface& from = *SurfaceOf(source);
  Surface& to = *SurfaceOf(destination);
  const bool useKey = ApplyColorKey(from, &data->Key);
  SurfaceRect placed;
  int32_t offsetX = 0;
  int32_t offsetY = 0;
  if (!PlaceBlock(data->Left, data->Top, from.Width(), from.Height(), to.Bounds(), placed, offsetX,
                  offsetY)) {
    return true;
  }
  const SurfaceRect taken{offsetX, offsetY, offsetX + placed.Width(), offsetY + placed.Height()};
  const SurfaceResult result = BlitSurface(to, placed, from, taken, useKey);
  if (result != SurfaceResult::Ok) {
    DebugPrint(
        "GraphicToGraphic() Cannot blit one graphic to another (Source=%p, Dest=%p, Error=%X)\n",
        source, destination, ResultCode(result));
    return false;
  }
  return true;
}

bool GraphicToViewport(GraphicHandle source, ViewportHandle viewport, const tBlitData* data) {
  constexpr const char* failure =
      "GraphicToViewport() Cannot blit a graphic to a viewport (Item=%p, Error=%X)\n";
  if (source == nullptr) {
    DebugPrint("%s Null pointer to the source graphic specified\n", "GraphicToViewport()");
    return false;
  }
  if (viewport == nullptr) {
    DebugPrint("%s Null pointer to the dest viewport specified (Item=%p)\n", "GraphicToViewport()",
               source);
    return false;
  }
  if (data == nullptr) {
    DebugPrint("%s Null pointer to the blit data specified (Item=%p)\n", "GraphicToViewport()",
               source);
    return false;
  }
  Surface* render = RenderTarget(failure, source);
  if (render == nullptr) {
    return false;
  }
  Surface& from = *SurfaceOf(source);
  const tViewport& area = *ViewportOf(viewport);
  const bool useKey = ApplyColorKey(from, &data->Key);
  SurfaceRect placed;
  int32_t offsetX = 0;
  int32_t offsetY = 0;
  if (!PlaceBlock(int64_t{area.Left} + data->Left, int64_t{area.Top} + data->Top, from.Width(),
                  from.Height(), ViewportArea(area), placed, offsetX, offsetY)) {
    return true;
  }
  const SurfaceRect taken{offsetX, offsetY, offsetX + placed.Width(), offsetY + placed.Height()};
  const SurfaceResult result = BlitSurface(*render, placed, from, taken, useKey);
  if (result != SurfaceResult::Ok) {
    LogViewportBlitFailure(failure, source, result);
    return false;
  }
  return true;
}

bool StretchGraphicToGraphic(GraphicHandle source, GraphicHandle destination, const tKeyData* key) {
  constexpr const char* prefix = "StretchGraphicToGraphic()";
  if (source == nullptr) {
    DebugPrint("%s Null pointer to the source graphic specified\n", prefix);
    return false;
  }
  if (destination == nullptr) {
    DebugPrint("%s Null pointer to the dest surface specified (Source=%p)\n", prefix, source);
    return false;
  }
  if (key == nullptr) {
    DebugPrint("%s Null pointer to the key data specified (Source=%p, Dest=%p)\n", prefix, source,
               destination);
    return false;
  }
  Surface& from = *SurfaceOf(source);
  Surface& to = *SurfaceOf(destination);
  const bool useKey = ApplyColorKey(from, key);
  const SurfaceResult result = BlitSurface(to, to.Bounds(), from, from.Bounds(), useKey);
  if (result != SurfaceResult::Ok) {
    DebugPrint("%s Cannot blit a graphic to another (Item=%p, Error=%X)\n", prefix, source,
               ResultCode(result));
    return false;
  }
  return true;
}

bool StretchGraphicToViewport(GraphicHandle source, ViewportHandle viewport, const tKeyData* key) {
  constexpr const char* prefix = "StretchGraphicToViewport()";
  constexpr const char* failure =
      "StretchGraphicToViewport() Cannot blit a graphic to a viewport (Item=%p, Error=%X)\n";
  if (source == nullptr) {
    DebugPrint("%s Null pointer to the source graphic specified\n", prefix);
    return false;
  }
  if (viewport == nullptr) {
    DebugPrint("%s Null pointer to the dest viewport specified (Item=%p)\n", prefix, source);
    return false;
  }
  if (key == nullptr) {
    DebugPrint("%s Null pointer to the key data specified (Item=%p)\n", prefix, source);
    return false;
  }
  Surface* render = RenderTarget(failure, source);
  if (render == nullptr) {
    return false;
  }
  Surface& from = *SurfaceOf(source);
  const SurfaceRect area = ViewportArea(*ViewportOf(viewport));
  if (area.IsEmpty()) {
    return true;
  }
  const bool useKey = ApplyColorKey(from, key);
  const SurfaceResult result = BlitSurface(*render, area, from, from.Bounds(), useKey);
  if (result != SurfaceResult::Ok) {
    LogViewportBlitFailure(failure, source, result);
    return false;
  }
  return true;
}

bool PartialGraphicToViewport(GraphicHandle source, ViewportHandle viewport,
                              const tCopyData* data) {
  if (source == nullptr) {
    DebugPrint("PartialGraphicToViewport() Null pointer to the source graphic specified\n");
    return false;
  }
  if (viewport == nullptr) {
    DebugPrint("PartialGraphicToViewport() Null pointer to the dest viewport specified (Item=%p)\n",
               source);
    return false;
  }
  if (data == nullptr) {
    DebugPrint("PartialGraphicToViewport() Null pointer to the copy data specified (Item=%p)\n",
               source);
    return false;
  }
  Surface* render = RenderBuffer();
  if (render == nullptr) {
    DebugPrint("PartialGraphicToViewport() Cannot blit a graphic to a viewport (Item=%p)\n",
               source);
    return false;
  }
  Surface& from = *SurfaceOf(source);
  const tViewport& area = *ViewportOf(viewport);
  SurfaceRect cutSource;
  SurfaceRect cutDestination;
  if (!CutToBounds(data->SourceLeft, data->SourceTop, data->Width, data->Height, from.Bounds(),
                   cutSource) ||
      !CutToBounds(int64_t{area.Left} + data->DestLeft, int64_t{area.Top} + data->DestTop,
                   data->Width, data->Height, ViewportArea(area), cutDestination)) {
    return true;
  }
  // The smaller extents, from the top-left corner of each cut rectangle.
  const int32_t width = std::min(cutSource.Width(), cutDestination.Width());
  const int32_t height = std::min(cutSource.Height(), cutDestination.Height());
  const SurfaceResult result = BlitSurface(*render, SizedAt(cutDestination, width, height), from,
                                           SizedAt(cutSource, width, height), false);
  if (result != SurfaceResult::Ok) {
    DebugPrint("PartialGraphicToViewport() Cannot blit a graphic to a viewport (Item=%p)\n",
               source);
    return false;
  }
  return true;
}

bool PartialGraphicToGraphic(GraphicHandle source, GraphicHandle destination, const tCopyData* data,
                             const tKeyData* key, bool clip) {
  constexpr const char* prefix = "PartialGraphicToGraphic()";
  if (source == nullptr) {
    DebugPrint("%s Null pointer to the source graphic specified\n", prefix);
    return false;
  }
  if (destination == nullptr) {
    DebugPrint("%s Null pointer to the destination graphic specified\n", prefix);
    return false;
  }
  if (data == nullptr) {
    DebugPrint("%s Null pointer to the data specified\n", prefix);
    return false;
  }
  Surface& from = *SurfaceOf(source);
  Surface& to = *SurfaceOf(destination);
  const bool useKey = ApplyColorKey(from, key);
  SurfaceRect sourceRectangle =
      GivenRectangle(data->SourceLeft, data->SourceTop, data->Width, data->Height);
  SurfaceRect destinationRectangle =
      GivenRectangle(data->DestLeft, data->DestTop, data->Width, data->Height);
  if (clip) {
    if (!CutToBounds(data->SourceLeft, data->SourceTop, data->Width, data->Height, from.Bounds(),
                     sourceRectangle) ||
        !CutToBounds(data->DestLeft, data->DestTop, data->Width, data->Height, to.Bounds(),
                     destinationRectangle)) {
      return true;
    }
    const int32_t width = std::min(sourceRectangle.Width(), destinationRectangle.Width());
    const int32_t height = std::min(sourceRectangle.Height(), destinationRectangle.Height());
    sourceRectangle = SizedAt(sourceRectangle, width, height);
    destinationRectangle = SizedAt(destinationRectangle, width, height);
  }
  // Unclipped rectangles that leave either graphic are refused by the blit
  // (InvalidRectangle), as the display's own blitter refused them.
  const SurfaceResult result = BlitSurface(to, destinationRectangle, from, sourceRectangle, useKey);
  if (result != SurfaceResult::Ok) {
    DebugPrint("%s Cannot blit one graphic to another (Source=%p, Dest=%p, Error=%X)\n", prefix,
               source, destination, ResultCode(result));
    return false;
  }
  return true;
}
