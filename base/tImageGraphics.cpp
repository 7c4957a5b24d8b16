#include <climits>

#include "base/DebugFormat.h"
#include "base/tImage.h"
#include "runtime/Alpha.h"
#include "runtime/Graphics.h"

// Copies between images and the run-time system's graphics. A graphic is
// locked for the copy and always unlocked again. Alpha maps travel through
// the run-time's alpha map functions; a map must have the graphic's size, so
// the copy never reads or writes past either buffer.

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

// Whether the alpha map (when one is given) has the graphic's size; logs the
// difference with the caller's prefix otherwise.
bool AlphaMatches(const char* prefix, AlphaHandle alpha, GraphicHandle graphic, int32_t width, int32_t height,
                  const tImage* image) {
  if (alpha == nullptr) {
    return true;
  }
  int32_t alphaWidth = 0;
  int32_t alphaHeight = 0;
  GetAlphaSize(alpha, alphaWidth, alphaHeight);
  if (alphaWidth == width && alphaHeight == height) {
    return true;
  }
  DebugPrint("%s The alpha map does not match the graphic (Graphic=%p, Alpha=%p, Width=%i, Height=%i, "
             "AlphaWidth=%i, AlphaHeight=%i, Image=%p:%s)\n",
             prefix, graphic, alpha, width, height, alphaWidth, alphaHeight, static_cast<const void*>(image),
             image->GetClassName());
  return false;
}

}  // namespace

bool tImage::CopyFrom(GraphicHandle graphic, AlphaHandle alpha) {
  constexpr const char* prefix = "tImage::CopyFrom()";
  Clear();
  if (graphic == nullptr) {
    DebugPrint("%s Null pointer to the graphic specified (Graphic=%p, Alpha=%p, Image=%p:%s)\n", prefix, graphic,
               alpha, static_cast<void*>(this), GetClassName());
    return false;
  }
  int32_t width = 0;
  int32_t height = 0;
  GetGraphicSize(graphic, width, height);
  if (!AlphaMatches(prefix, alpha, graphic, width, height, this)) {
    return false;
  }
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
              source.BlueMask, source.AlphaMask, source.BitsPerPixel, kImageTopDown, 0, alpha != nullptr,
              kImageVersionGraphic) ||
      !BltFrom(source) || (alpha != nullptr && !ExtractAlpha(alpha, GetAlphaBits()))) {
    Clear();
    return false;
  }
  return true;
}

bool tImage::CopyTo(GraphicHandle& graphic, AlphaHandle& alpha) {
  if (graphic != nullptr) {
    DestroyGraphic(graphic);
    graphic = nullptr;
  }
  if (alpha != nullptr) {
    DestroyAlpha(alpha);
    alpha = nullptr;
  }
  if (GetBits() == nullptr || GetWidth() > INT32_MAX || GetHeight() > INT32_MAX) {
    DebugPrint("tImage::CopyTo() The image holds no pixels (Image=%p:%s)\n", static_cast<void*>(this),
               GetClassName());
    return false;
  }
  const auto width = static_cast<int32_t>(GetWidth());
  const auto height = static_cast<int32_t>(GetHeight());
  GraphicHandle created = CreateGraphic(width, height, sRGB{});
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
  AlphaHandle createdAlpha = nullptr;
  if (HasAlpha()) {
    // The plane's rows run in the order of the pixel rows, which the copy
    // above turned top-down.
    const int32_t origin = GetOrigin() == kImageBottomUp ? kAlphaOriginBottomUp : kAlphaOriginTopDown;
    createdAlpha = CreateAlpha(width, height, GetAlphaBits(), width, AlphaKindBytes, origin);
    if (createdAlpha == nullptr) {
      DestroyGraphic(created);
      return false;
    }
  }
  graphic = created;
  alpha = createdAlpha;
  return true;
}

bool tImage::ConvertGraphic(GraphicHandle graphic, AlphaHandle alpha) {
  constexpr const char* prefix = "tImage::Convert()";
  if (graphic == nullptr) {
    DebugPrint("%s Null pointer to the graphic specified (Graphic=%p, Alpha=%p, Image=%p:%s)\n", prefix, graphic,
               alpha, static_cast<void*>(this), GetClassName());
    Clear();
    return false;
  }
  int32_t width = 0;
  int32_t height = 0;
  GetGraphicSize(graphic, width, height);
  if (width <= 0 || height <= 0 || !AlphaMatches(prefix, alpha, graphic, width, height, this) ||
      SetSize(0, static_cast<uint32_t>(width), static_cast<uint32_t>(height), alpha != nullptr) == 0) {
    Clear();
    return false;
  }
  if (alpha != nullptr && HasAlpha() && !ExtractAlpha(alpha, GetAlphaBits())) {
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
