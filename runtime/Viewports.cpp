#include "runtime/Viewports.h"

#include <algorithm>
#include <map>
#include <memory>
#include <new>

#include "base/DebugFormat.h"
#include "runtime/Blit.h"
#include "runtime/DebugLevelGate.h"
#include "runtime/Display.h"
#include "runtime/SurfaceRetry.h"

using platform::ResultCode;
using platform::Surface;
using platform::SurfaceRect;
using platform::SurfaceResult;

namespace {

// The viewports the game made, owned here until DestroyViewport.
std::map<tViewport*, std::unique_ptr<tViewport>>& Viewports() {
  static std::map<tViewport*, std::unique_ptr<tViewport>> viewports;
  return viewports;
}

// Cuts one axis of a viewport to the screen: the far edge is computed from
// the uncut near edge, then the near edge is cut to 0 and the far edge to
// the screen. False, after the log line, when nothing is on the screen.
bool CutAxis(const char* prefix, const char* nearName, const char* farName, int32_t start,
             int32_t size, int32_t screenSize, int32_t& cutStart, int32_t& cutEnd) {
  const int64_t end = static_cast<int64_t>(start) + size;
  const int32_t nearEdge = std::max(start, 0);
  if (nearEdge >= screenSize) {
    DebugPrint("%s Invisible viewport (%s=%i)\n", prefix, nearName, nearEdge);
    return false;
  }
  if (end < 1) {
    DebugPrint("%s Invisible viewport (%s=%i)\n", prefix, farName, static_cast<int32_t>(end));
    return false;
  }
  cutStart = nearEdge;
  cutEnd = static_cast<int32_t>(std::min<int64_t>(end, screenSize));
  return true;
}

// The viewport of the given place and size, cut to the screen.
bool CutToScreen(const char* prefix, int32_t left, int32_t top, int32_t width, int32_t height,
                 tViewport& cut) {
  return CutAxis(prefix, "Left", "Right", left, width, ScreenWidth(), cut.Left, cut.Right) &&
         CutAxis(prefix, "Top", "Bottom", top, height, ScreenHeight(), cut.Top, cut.Bottom);
}

}  // namespace

SurfaceRect ViewportArea(const tViewport& viewport) {
  const Surface* render = RenderBuffer();
  if (render == nullptr) {
    return {};
  }
  return {std::max(viewport.Left, 0), std::max(viewport.Top, 0),
          std::min(viewport.Right, render->Width()), std::min(viewport.Bottom, render->Height())};
}

int32_t LiveViewportCount() {
  return static_cast<int32_t>(Viewports().size());
}

ViewportHandle CreateViewport(int32_t left, int32_t top, int32_t width, int32_t height) {
  constexpr const char* prefix = "CreateViewport()";
  if (width < 1 || height < 1) {
    DebugPrint("%s Invalid size (Width=%i, Height=%i)\n", prefix, width, height);
    return nullptr;
  }
  tViewport cut;
  if (!CutToScreen(prefix, left, top, width, height, cut)) {
    return nullptr;
  }
  std::unique_ptr<tViewport> record(new (std::nothrow) tViewport(cut));
  if (!record) {
    DebugPrint("%s Out of memory\n", prefix);
    return nullptr;
  }
  tViewport* viewport = record.get();
  Viewports().emplace(viewport, std::move(record));
  if (DebugLevelAtLeast(3)) {
    DebugPrint("%s Viewport created (Viewport=%p, Left=%i, Top=%i, Width=%i, Height=%i)\n", prefix,
               static_cast<void*>(viewport), cut.Left, cut.Top, cut.Right - cut.Left,
               cut.Bottom - cut.Top);
  }
  return viewport;
}

void DestroyViewport(ViewportHandle viewport) {
  if (viewport == nullptr) {
    DebugPrint("DestroyViewport() Null pointer to the viewport specified\n");
    return;
  }
  // A handle that is no live viewport (destroyed twice, or never made)
  // would free memory that is not ours: it is refused.
  auto found = Viewports().find(ViewportOf(viewport));
  if (found == Viewports().end()) {
    DebugPrint("DestroyViewport() Unknown viewport specified (Viewport=%p)\n", viewport);
    return;
  }
  const tViewport& record = *found->second;
  if (DebugLevelAtLeast(3)) {
    DebugPrint(
        "DestroyViewport() Viewport destroyed (Viewport=%p, Left=%i, Top=%i, Width=%i, "
        "Height=%i)\n",
        viewport, record.Left, record.Top, record.Right - record.Left, record.Bottom - record.Top);
  }
  Viewports().erase(found);
}

void MoveViewport(ViewportHandle viewport, int32_t left, int32_t top) {
  if (viewport == nullptr) {
    DebugPrint("MoveViewport() Null pointer to the viewport specified\n");
    return;
  }
  tViewport& record = *ViewportOf(viewport);
  tViewport moved;
  if (CutToScreen("MoveViewport()", left, top, record.Right - record.Left,
                  record.Bottom - record.Top, moved)) {
    record = moved;
  }
}

bool GetViewportBounds(ViewportHandle viewport, int32_t& left, int32_t& top, int32_t& width,
                       int32_t& height) {
  if (viewport == nullptr) {
    DebugPrint("GetViewportBounds() Null pointer to the viewport specified\n");
    return false;
  }
  const tViewport& record = *ViewportOf(viewport);
  left = record.Left;
  top = record.Top;
  width = record.Right - record.Left;
  height = record.Bottom - record.Top;
  return true;
}

void FillViewport(ViewportHandle viewport, const sRGB& color) {
  if (viewport == nullptr) {
    DebugPrint("FillViewport() Null pointer to the viewport specified\n");
    return;
  }
  Surface* render = RenderBuffer();
  if (render == nullptr) {
    DebugPrint("FillViewport() Cannot fill viewport (Error=%X)\n",
               ResultCode(SurfaceResult::NotInitialized));
    return;
  }
  const SurfaceRect area = ViewportArea(*ViewportOf(viewport));
  if (area.IsEmpty()) {
    return;
  }
  const uint32_t pixel = ConvertRGB(color);
  const SurfaceResult result = RetryOnSurface(*render, [&] { return render->Fill(area, pixel); });
  if (result != SurfaceResult::Ok) {
    DebugPrint("FillViewport() Cannot fill viewport (Error=%X)\n", ResultCode(result));
  }
}

void ViewportToGraphic(ViewportHandle viewport, GraphicHandle graphic, int32_t x, int32_t y) {
  constexpr const char* failure =
      "ViewportToGraphic() Cannot blit a viewport to a graphic (Item=%p, Error=%X)\n";
  if (viewport == nullptr) {
    DebugPrint("ViewportToGraphic() Null pointer to the viewport specified\n");
    return;
  }
  if (graphic == nullptr) {
    DebugPrint("ViewportToGraphic() Null pointer to the graphic specified\n");
    return;
  }
  Surface* render = RenderBuffer();
  if (render == nullptr) {
    DebugPrint(failure, graphic, ResultCode(SurfaceResult::NotInitialized));
    return;
  }
  const SurfaceRect area = ViewportArea(*ViewportOf(viewport));
  Surface& target = *SurfaceOf(graphic);
  SurfaceRect placed;
  int32_t offsetX = 0;
  int32_t offsetY = 0;
  if (area.IsEmpty() ||
      !PlaceBlock(x, y, area.Width(), area.Height(), target.Bounds(), placed, offsetX, offsetY)) {
    return;
  }
  // The source shrinks with the cut destination.
  const SurfaceRect taken{area.left + offsetX, area.top + offsetY,
                          area.left + offsetX + placed.Width(),
                          area.top + offsetY + placed.Height()};
  const SurfaceResult result = BlitSurface(target, placed, *render, taken, false);
  if (result != SurfaceResult::Ok) {
    DebugPrint(failure, graphic, ResultCode(result));
  }
}
