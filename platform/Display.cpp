#include "platform/Display.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <vector>

#include "platform/Backend.h"
#include "platform/Testing.h"

namespace platform {
namespace {

struct ModeSize {
  int32_t width;
  int32_t height;
};

constexpr std::array<ModeSize, 8> kModeSizes{{{640, 480},
                                              {800, 600},
                                              {960, 720},
                                              {1024, 768},
                                              {1152, 864},
                                              {1280, 960},
                                              {1280, 1024},
                                              {1600, 1200}}};

// What tests may change about the display (platform/Testing.h).
struct DisplayTestSettings {
  std::vector<int32_t> depths{16, 24, 32};
  PixelFormat sixteenBitFormat = Format565();
  int32_t desktopDepth = 32;
  std::optional<DisplayCapabilities> capabilities;
  bool backBufferInSystemMemory = false;
  bool failCreation = false;
};

DisplayTestSettings& TestSettings() {
  static DisplayTestSettings settings;
  return settings;
}

Display* currentDisplay = nullptr;

PixelFormat FormatOfDepth(int32_t bitsPerPixel) {
  return bitsPerPixel == 16 ? TestSettings().sixteenBitFormat : FormatForDepth(bitsPerPixel);
}

uint32_t StoredBytes(const PixelFormat& format, int32_t width, int32_t height) {
  const uint64_t pitch = (static_cast<uint64_t>(width) * format.BytesPerPixel() + 3) & ~uint64_t{3};
  return static_cast<uint32_t>(std::min<uint64_t>(pitch * static_cast<uint64_t>(height), UINT32_MAX));
}

// Hands the primary's pixels to the back end to show.
void PresentPrimary(const Surface& primary) {
  const PixelFormat& format = primary.Format();
  FrameView frame;
  frame.pixels = primary.Pixels();
  frame.width = primary.Width();
  frame.height = primary.Height();
  frame.pitch = primary.Pitch();
  const bool fiveFiveFive = format.bitCount == 16 && format.greenMask == 0x03E0;
  frame.bitsPerPixel = fiveFiveFive ? 15 : format.bitCount;
  frame.redMask = format.redMask;
  frame.greenMask = format.greenMask;
  frame.blueMask = format.blueMask;
  GetBackend().PresentFrame(frame);
}

}  // namespace

std::unique_ptr<Display> Display::Create(SurfaceResult& result) {
  if (TestSettings().failCreation) {
    result = SurfaceResult::Unsupported;
    return nullptr;
  }
  result = SurfaceResult::Ok;
  return std::make_unique<Display>();
}

Display::Display() { currentDisplay = this; }

Display::~Display() {
  ReleasePrimarySurface();
  if (currentDisplay == this) {
    currentDisplay = nullptr;
  }
}

void Display::ReleasePrimarySurface() {
  if (primary_) {
    primary_->SetObserver(nullptr);
    primary_->AttachBackBuffer(nullptr);
  }
  backBuffer_.reset();
  primary_.reset();
}

DisplayCapabilities Display::Capabilities() const {
  return TestSettings().capabilities.value_or(DisplayCapabilities{});
}

SurfaceResult Display::SetCooperativeLevel(CooperativeLevel level) {
  level_ = level;
  return SurfaceResult::Ok;
}

SurfaceResult Display::SetDisplayMode(int32_t width, int32_t height, int32_t bitsPerPixel) {
  if (level_ != CooperativeLevel::FullScreen) {
    return SurfaceResult::Unsupported;
  }
  const auto& depths = TestSettings().depths;
  const bool depthOffered = std::find(depths.begin(), depths.end(), bitsPerPixel) != depths.end();
  const bool sizeOffered = std::any_of(kModeSizes.begin(), kModeSizes.end(), [&](const ModeSize& size) {
    return size.width == width && size.height == height;
  });
  if (!depthOffered || !sizeOffered) {
    return SurfaceResult::Unsupported;
  }
  modeSet_ = true;
  modeWidth_ = width;
  modeHeight_ = height;
  format_ = FormatOfDepth(bitsPerPixel);
  return SurfaceResult::Ok;
}

SurfaceResult Display::CreatePrimarySurface(int32_t clientWidth, int32_t clientHeight, Surface*& primary) {
  primary = nullptr;
  ReleasePrimarySurface();
  int32_t width = clientWidth;
  int32_t height = clientHeight;
  if (level_ == CooperativeLevel::FullScreen) {
    if (!modeSet_) {
      return SurfaceResult::NotInitialized;
    }
    width = modeWidth_;
    height = modeHeight_;
  } else {
    format_ = FormatOfDepth(TestSettings().desktopDepth);
  }
  SurfaceResult result = SurfaceResult::Ok;
  primary_ = Surface::Create(width, height, format_, MemoryKind::Video, result);
  if (!primary_) {
    return result;
  }
  if (level_ == CooperativeLevel::FullScreen) {
    const MemoryKind backMemory = TestSettings().backBufferInSystemMemory ? MemoryKind::System : MemoryKind::Video;
    backBuffer_ = Surface::Create(width, height, format_, backMemory, result);
    if (!backBuffer_) {
      primary_.reset();
      return result;
    }
    primary_->AttachBackBuffer(backBuffer_.get());
  }
  primary_->SetObserver(this);
  primary = primary_.get();
  return SurfaceResult::Ok;
}

SurfaceResult Display::CreateBackBuffer(int32_t width, int32_t height, Surface*& backBuffer) {
  backBuffer = nullptr;
  if (!primary_) {
    return SurfaceResult::NotInitialized;
  }
  if (level_ == CooperativeLevel::FullScreen) {
    // The full-screen back buffer comes attached to the primary.
    return SurfaceResult::InvalidParameters;
  }
  const MemoryKind memory = TestSettings().backBufferInSystemMemory ? MemoryKind::System : MemoryKind::Video;
  SurfaceResult result = SurfaceResult::Ok;
  backBuffer_ = Surface::Create(width, height, format_, memory, result);
  backBuffer = backBuffer_.get();
  return result;
}

SurfaceResult Display::CreateSurface(int32_t width, int32_t height, MemoryKind /*requested*/,
                                     std::unique_ptr<Surface>& surface) {
  if (format_.bitCount == 0) {
    return SurfaceResult::NotInitialized;
  }
  SurfaceResult result = SurfaceResult::Ok;
  surface = Surface::Create(width, height, format_, MemoryKind::System, result);
  return result;
}

SurfaceResult Display::SetClipper(const SurfaceRect& clientOnScreen) {
  if (!primary_) {
    return SurfaceResult::NotInitialized;
  }
  primary_->SetClipRectangle(clientOnScreen);
  return SurfaceResult::Ok;
}

SurfaceResult Display::WaitForVerticalBlank() { return SurfaceResult::Ok; }

VideoMemoryStatus Display::VideoMemory() const {
  VideoMemoryStatus status;
  if (primary_) {
    status.total += StoredBytes(primary_->Format(), primary_->Width(), primary_->Height());
  }
  if (backBuffer_ && backBuffer_->Memory() == MemoryKind::Video) {
    status.total += StoredBytes(backBuffer_->Format(), backBuffer_->Width(), backBuffer_->Height());
  }
  return status;
}

void Display::SetActive(bool active) {
  active_ = active;
  if (level_ != CooperativeLevel::FullScreen) {
    return;
  }
  for (Surface* surface : {primary_.get(), backBuffer_.get()}) {
    if (surface == nullptr) {
      continue;
    }
    surface->SetRestoreRefused(!active);
    if (!active) {
      surface->MarkLost();
    }
  }
}

void Display::SurfaceChanged(const Surface& surface) {
  if (&surface == primary_.get()) {
    PresentPrimary(surface);
  }
}

namespace testing {

void SetDisplayDepths(std::vector<int32_t> depths) { TestSettings().depths = std::move(depths); }
void SetSixteenBitFormat(const PixelFormat& format) { TestSettings().sixteenBitFormat = format; }
void SetDesktopDepth(int32_t bitsPerPixel) { TestSettings().desktopDepth = bitsPerPixel; }
void SetDisplayCapabilities(const DisplayCapabilities& capabilities) {
  TestSettings().capabilities = capabilities;
}
void PutBackBufferInSystemMemory(bool inSystemMemory) { TestSettings().backBufferInSystemMemory = inSystemMemory; }
void FailDisplayCreation(bool fail) { TestSettings().failCreation = fail; }
void ResetDisplaySettings() { TestSettings() = DisplayTestSettings{}; }

Display* ActiveDisplay() { return currentDisplay; }

void MakeSurfaceLost(Surface& surface) { surface.MarkLost(); }
void ReportSurfaceBusy(Surface& surface, uint32_t times, SurfaceResult busyResult) {
  surface.ReportBusy(times, busyResult);
}
void SetSurfaceRestore(Surface& surface, RestoreBehaviour behaviour) { surface.SetRestoreBehaviour(behaviour); }

uint32_t ReadSurfacePixel(const Surface& surface, int32_t x, int32_t y) {
  if (x < 0 || y < 0 || x >= surface.Width() || y >= surface.Height()) {
    return 0;
  }
  uint32_t value = 0;
  const uint32_t bytes = surface.Format().BytesPerPixel();
  std::memcpy(&value, surface.Pixels() + static_cast<size_t>(y) * surface.Pitch() + static_cast<size_t>(x) * bytes,
              bytes);
  return value;
}

uint32_t PresentedPixel(const PresentedFrame& frame, int32_t x, int32_t y) {
  const uint32_t bytes = (frame.bitsPerPixel + 7) / 8;
  if (x < 0 || y < 0 || x >= frame.width || y >= frame.height || bytes == 0) {
    return 0;
  }
  const size_t offset = (static_cast<size_t>(y) * static_cast<size_t>(frame.width) + static_cast<size_t>(x)) * bytes;
  if (offset + bytes > frame.pixels.size()) {
    return 0;
  }
  uint32_t value = 0;
  std::memcpy(&value, frame.pixels.data() + offset, bytes);
  return value;
}

}  // namespace testing
}  // namespace platform
