#include <climits>

#include "base/DebugFormat.h"
#include "base/tImage.h"
#include "runtime/Graphics.h"

// Copies between images and the run-time system's graphics. A graphic is
// locked for the copy and always unlocked again.
//
// Alpha maps are exchanged through the run-time's alpha map functions,
// which this library does not carry yet: an alpha map handed in, or an
// alpha plane to hand out, is refused with a log line rather than dropped
// without a word.

namespace {

// The locked graphic's pixel (0, 0) and format as one side of a Blt.
tPixelSide GraphicSide(LockedGraphic* locked) {
  tPixelSide side;
  GetPixelFormat(locked, side.RedMask, side.GreenMask, side.BlueMask, side.AlphaMask, side.BitsPerPixel, side.Origin,
                 side.Pitch);
  side.Bits = GetPixelAddress(locked, 0, 0);
  return side;
}

// Unlocks on every way out.
class GraphicLock {
 public:
  explicit GraphicLock(GraphicHandle graphic) : locked_(LockGraphic(graphic)) {}
  ~GraphicLock() {
    if (locked_ != nullptr) {
      UnlockGraphic(locked_);
    }
  }
  GraphicLock(const GraphicLock&) = delete;
  GraphicLock& operator=(const GraphicLock&) = delete;
  LockedGraphic* Get() const { return locked_; }

 private:
  LockedGraphic* locked_;
};

}  // namespace

bool tImage::CopyFrom(GraphicHandle graphic, AlphaHandle alpha) {
  Clear();
  if (graphic == nullptr || alpha != nullptr) {
    DebugPrint("tImage::CopyFrom() Null graphic or alpha map not supported (Graphic=%p, Alpha=%p, Image=%p:%s)\n",
               graphic, alpha, static_cast<void*>(this), GetClassName());
    return false;
  }
  int32_t width = 0;
  int32_t height = 0;
  GetGraphicSize(graphic, width, height);
  GraphicLock lock(graphic);
  if (lock.Get() == nullptr || width <= 0 || height <= 0) {
    return false;
  }
  const tPixelSide source = GraphicSide(lock.Get());
  if (source.Origin != kImageTopDown) {
    DebugPrint(
        "tImage::CopyFrom() Origin other than 2 (top left) is not supported (Origin=%u, Graphic=%p, Image=%p:%s)\n",
        source.Origin, graphic, static_cast<void*>(this), GetClassName());
    return false;
  }
  if (!Create(0, static_cast<uint32_t>(width), static_cast<uint32_t>(height), source.RedMask, source.GreenMask,
              source.BlueMask, source.AlphaMask, source.BitsPerPixel, kImageTopDown, 0, false,
              kImageVersionGraphic) ||
      !BltFrom(source)) {
    Clear();
    return false;
  }
  return true;
}

bool tImage::CopyTo(GraphicHandle& graphic, AlphaHandle& alpha) {
  if (alpha != nullptr || HasAlpha()) {
    DebugPrint("tImage::CopyTo() Alpha maps not supported (Graphic=%p, Alpha=%p, Image=%p:%s)\n", graphic, alpha,
               static_cast<void*>(this), GetClassName());
    return false;
  }
  if (graphic != nullptr) {
    DestroyGraphic(graphic);
    graphic = nullptr;
  }
  if (GetBits() == nullptr || GetWidth() > INT32_MAX || GetHeight() > INT32_MAX) {
    DebugPrint("tImage::CopyTo() The image holds no pixels (Image=%p:%s)\n", static_cast<void*>(this),
               GetClassName());
    return false;
  }
  GraphicHandle created = CreateGraphic(static_cast<int32_t>(GetWidth()), static_cast<int32_t>(GetHeight()), sRGB{});
  if (created == nullptr) {
    return false;
  }
  bool copied = false;
  {
    GraphicLock lock(created);
    copied = lock.Get() != nullptr && BltTo(GraphicSide(lock.Get()));
  }
  if (!copied) {
    DebugPrint("tImage::CopyTo() Unhandled exception during BltTo() (Graphic=%p, Alpha=%p, Image=%p:%s)\n", created,
               alpha, static_cast<void*>(this), GetClassName());
    DestroyGraphic(created);
    return false;
  }
  graphic = created;
  return true;
}

bool tImage::ConvertGraphic(GraphicHandle graphic, AlphaHandle alpha) {
  if (graphic == nullptr || alpha != nullptr) {
    DebugPrint("tImage::Convert() Null graphic or alpha map not supported (Graphic=%p, Alpha=%p, Image=%p:%s)\n",
               graphic, alpha, static_cast<void*>(this), GetClassName());
    Clear();
    return false;
  }
  int32_t width = 0;
  int32_t height = 0;
  GetGraphicSize(graphic, width, height);
  if (width <= 0 || height <= 0 ||
      SetSize(0, static_cast<uint32_t>(width), static_cast<uint32_t>(height), false) == 0) {
    Clear();
    return false;
  }
  GraphicLock lock(graphic);
  if (lock.Get() == nullptr) {
    Clear();
    return false;
  }
  // The graphic's origin is handed to Blt as it is: its origin rule decides
  // whether rows are flipped.
  if (!BltFrom(GraphicSide(lock.Get()))) {
    DebugPrint("tImage::Convert() Unhandled exception during BltFrom() (Graphic=%p, Alpha=%p, Image=%p:%s)\n",
               graphic, alpha, static_cast<void*>(this), GetClassName());
    Clear();
    return false;
  }
  return true;
}
