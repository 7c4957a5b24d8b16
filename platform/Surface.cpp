#include "platform/Surface.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace platform {

static_assert(std::endian::native == std::endian::little,
              "pixels are stored and read as little-endian values");

namespace {

constexpr int32_t kMaximumSide = 16384;
constexpr size_t kMaximumBytes = size_t{256} << 20;
int32_t openDeviceContexts = 0;

template <uint32_t Bytes>
inline uint32_t LoadPixel(const uint8_t* address) {
  uint32_t value = 0;
  std::memcpy(&value, address, Bytes);
  return value;
}

template <uint32_t Bytes>
inline void StorePixel(uint8_t* address, uint32_t value) {
  std::memcpy(address, &value, Bytes);
}

int32_t PitchFor(int32_t width, uint32_t bytesPerPixel) {
  // Rows start on 4-byte boundaries, as display memory does.
  const int64_t rowBytes = static_cast<int64_t>(width) * bytesPerPixel;
  return static_cast<int32_t>((rowBytes + 3) & ~int64_t{3});
}

// Writes count pixels of the value from address: one pixel, then the written
// part doubles until the row is full, so wide rows take a few memcpy calls.
void FillRow(uint8_t* address, size_t count, uint32_t pixel, uint32_t bytesPerPixel) {
  const size_t total = count * bytesPerPixel;
  if (total == 0) {
    return;
  }
  const uint8_t lowByte = static_cast<uint8_t>(pixel);
  const uint32_t sameBytes = lowByte * (bytesPerPixel == 2 ? 0x0101u : bytesPerPixel == 3 ? 0x010101u : 0x01010101u);
  if (pixel == sameBytes) {
    std::memset(address, lowByte, total);
    return;
  }
  std::memcpy(address, &pixel, bytesPerPixel);
  size_t filled = bytesPerPixel;
  while (filled < total) {
    const size_t chunk = std::min(filled, total - filled);
    std::memcpy(address + filled, address, chunk);
    filled += chunk;
  }
}

bool Inside(const SurfaceRect& rectangle, const SurfaceRect& bounds) {
  return rectangle.left >= bounds.left && rectangle.top >= bounds.top && rectangle.right <= bounds.right &&
         rectangle.bottom <= bounds.bottom;
}

SurfaceRect Intersect(const SurfaceRect& a, const SurfaceRect& b) {
  return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
          std::min(a.bottom, b.bottom)};
}

bool Overlap(const SurfaceRect& a, const SurfaceRect& b) { return !Intersect(a, b).IsEmpty(); }

// Tests a source pixel against a key, channel by channel.
class KeyTest {
 public:
  KeyTest(const ColorKey& key, const PixelFormat& format)
      : masks_{format.redMask, format.greenMask, format.blueMask}, low_(key.low), high_(key.high) {}

  bool IsKeyed(uint32_t pixel) const {
    for (uint32_t mask : masks_) {
      const uint32_t channel = pixel & mask;
      if (channel < (low_ & mask) || channel > (high_ & mask)) {
        return false;
      }
    }
    return true;
  }

 private:
  uint32_t masks_[3];
  uint32_t low_;
  uint32_t high_;
};

// One blit, after its rectangles were checked: target is the whole
// destination rectangle, visible the part of it to draw; the source
// rectangle has the target's size and maps onto it.
struct BlitJob {
  uint8_t* destination;
  int32_t destinationPitch;
  const uint8_t* source;
  int32_t sourcePitch;
  SurfaceRect target;
  SurfaceRect visible;
  SurfaceRect sourceRectangle;
  const KeyTest* key;
};

template <uint32_t Bytes>
void CopyRows(const BlitJob& job) {
  const int32_t width = job.visible.Width();
  const int32_t sourceLeft = job.sourceRectangle.left + (job.visible.left - job.target.left);
  const int32_t sourceTop = job.sourceRectangle.top + (job.visible.top - job.target.top);
  for (int32_t row = 0; row < job.visible.Height(); ++row) {
    uint8_t* to = job.destination + static_cast<size_t>(job.visible.top + row) * job.destinationPitch +
                  static_cast<size_t>(job.visible.left) * Bytes;
    const uint8_t* from = job.source + static_cast<size_t>(sourceTop + row) * job.sourcePitch +
                          static_cast<size_t>(sourceLeft) * Bytes;
    if (job.key == nullptr) {
      std::memcpy(to, from, static_cast<size_t>(width) * Bytes);
      continue;
    }
    for (int32_t column = 0; column < width; ++column) {
      const uint32_t pixel = LoadPixel<Bytes>(from + column * Bytes);
      if (!job.key->IsKeyed(pixel)) {
        StorePixel<Bytes>(to + column * Bytes, pixel);
      }
    }
  }
}

}  // namespace

std::unique_ptr<Surface> Surface::Create(int32_t width, int32_t height, const PixelFormat& format,
                                         MemoryKind memory, SurfaceResult& result) {
  const uint32_t bytesPerPixel = format.BytesPerPixel();
  if (width < 1 || height < 1 || bytesPerPixel < 2 || bytesPerPixel > 4) {
    result = SurfaceResult::InvalidParameters;
    return nullptr;
  }
  if (width > kMaximumSide || height > kMaximumSide ||
      static_cast<size_t>(PitchFor(width, bytesPerPixel)) * static_cast<size_t>(height) > kMaximumBytes) {
    result = SurfaceResult::OutOfMemory;
    return nullptr;
  }
  result = SurfaceResult::Ok;
  return std::make_unique<Surface>(width, height, format, memory);
}

Surface::Surface(int32_t width, int32_t height, const PixelFormat& format, MemoryKind memory)
    : width_(std::clamp(width, 1, kMaximumSide)),
      height_(std::clamp(height, 1, kMaximumSide)),
      pitch_(PitchFor(width_, format.BytesPerPixel())),
      format_(format),
      memory_(memory),
      pixels_(static_cast<size_t>(pitch_) * static_cast<size_t>(height_), 0) {}

Surface::~Surface() { openDeviceContexts -= deviceContextCount_; }

SurfaceResult Surface::IsLost() const { return lost_ ? SurfaceResult::SurfaceLost : SurfaceResult::Ok; }

SurfaceResult Surface::Restore() {
  if (backBuffer_ != nullptr && backBuffer_->lost_) {
    backBuffer_->Restore();
  }
  if (!lost_) {
    return SurfaceResult::Ok;
  }
  if (restoreRefused_) {
    return SurfaceResult::WrongMode;
  }
  switch (restoreBehaviour_) {
    case RestoreBehaviour::Fails:
      return SurfaceResult::WrongMode;
    case RestoreBehaviour::ReportsSuccessButStaysLost:
      return SurfaceResult::Ok;
    case RestoreBehaviour::Succeeds:
      break;
  }
  lost_ = false;
  return SurfaceResult::Ok;
}

void Surface::MarkLost() {
  if (memory_ == MemoryKind::Video) {
    lost_ = true;
  }
}

SurfaceResult Surface::CheckUsable() {
  if (lost_) {
    return SurfaceResult::SurfaceLost;
  }
  if (busyReports_ > 0) {
    --busyReports_;
    return busyResult_;
  }
  return SurfaceResult::Ok;
}

void Surface::NotifyChanged() const {
  if (observer_ != nullptr) {
    observer_->SurfaceChanged(*this);
  }
}

void Surface::ReportBusy(uint32_t times, SurfaceResult busyResult) {
  busyReports_ = times;
  busyResult_ = busyResult;
}

SurfaceResult Surface::Lock(SurfaceLock& lock) {
  const SurfaceResult usable = CheckUsable();
  if (usable != SurfaceResult::Ok) {
    return usable;
  }
  ++lockCount_;
  lock.memory = pixels_.data();
  lock.pitch = pitch_;
  lock.width = width_;
  lock.height = height_;
  lock.format = format_;
  return SurfaceResult::Ok;
}

SurfaceResult Surface::Unlock() {
  if (lockCount_ == 0) {
    return SurfaceResult::NotLocked;
  }
  --lockCount_;
  NotifyChanged();
  return SurfaceResult::Ok;
}

SurfaceResult Surface::Fill(uint32_t pixel) { return Fill(clipArea_.value_or(Bounds()), pixel); }

SurfaceResult Surface::Fill(const SurfaceRect& rectangle, uint32_t pixel) {
  const SurfaceResult usable = CheckUsable();
  if (usable != SurfaceResult::Ok) {
    return usable;
  }
  SurfaceRect area = rectangle;
  if (clipArea_) {
    area = Intersect({area.left - clipArea_->left, area.top - clipArea_->top, area.right - clipArea_->left,
                      area.bottom - clipArea_->top},
                     Bounds());
  } else if (rectangle.IsEmpty() || !Inside(rectangle, Bounds())) {
    return SurfaceResult::InvalidRectangle;
  }
  if (area.IsEmpty()) {
    return SurfaceResult::Ok;
  }
  const uint32_t bytesPerPixel = format_.BytesPerPixel();
  const uint32_t storageMask = format_.bitCount >= 32 ? 0xFFFFFFFFu : (1u << format_.bitCount) - 1u;
  const size_t rowBytes = static_cast<size_t>(area.Width()) * bytesPerPixel;
  uint8_t* first = Row(area.top) + static_cast<size_t>(area.left) * bytesPerPixel;
  FillRow(first, static_cast<size_t>(area.Width()), pixel & storageMask, bytesPerPixel);
  for (int32_t y = area.top + 1; y < area.bottom; ++y) {
    std::memcpy(Row(y) + static_cast<size_t>(area.left) * bytesPerPixel, first, rowBytes);
  }
  NotifyChanged();
  return SurfaceResult::Ok;
}

SurfaceResult Surface::Blit(const SurfaceRect& destination, Surface& source, const SurfaceRect& sourceRectangle,
                            bool useSourceKey) {
  SurfaceResult usable = CheckUsable();
  if (usable == SurfaceResult::Ok && &source != this) {
    usable = source.CheckUsable();
  }
  if (usable != SurfaceResult::Ok) {
    return usable;
  }
  if (!(source.format_ == format_)) {
    return SurfaceResult::InvalidPixelFormat;
  }
  if (sourceRectangle.IsEmpty() || !Inside(sourceRectangle, source.Bounds()) || destination.IsEmpty()) {
    return SurfaceResult::InvalidRectangle;
  }
  // Only same-size copies exist here: presentation copies the back buffer 1:1,
  // and the run-time system scales graphics with its own stretch.
  if (destination.Width() != sourceRectangle.Width() || destination.Height() != sourceRectangle.Height()) {
    return SurfaceResult::Unsupported;
  }
  SurfaceRect target = destination;
  if (clipArea_) {
    target = {target.left - clipArea_->left, target.top - clipArea_->top, target.right - clipArea_->left,
              target.bottom - clipArea_->top};
  } else if (!Inside(target, Bounds())) {
    return SurfaceResult::InvalidRectangle;
  }
  const SurfaceRect visible = Intersect(target, Bounds());
  if (visible.IsEmpty()) {
    return SurfaceResult::Ok;
  }

  // A blit within one surface reads from a copy, so overlapping rows are safe.
  std::vector<uint8_t> sourceCopy;
  const uint8_t* sourcePixels = source.pixels_.data();
  if (&source == this && Overlap(sourceRectangle, target)) {
    sourceCopy = pixels_;
    sourcePixels = sourceCopy.data();
  }
  std::optional<KeyTest> key;
  if (useSourceKey && source.sourceKey_) {
    key.emplace(*source.sourceKey_, format_);
  }
  const BlitJob job{pixels_.data(), pitch_,  sourcePixels, source.pitch_, target,
                    visible,        sourceRectangle, key ? &*key : nullptr};
  switch (format_.BytesPerPixel()) {
    case 2:
      CopyRows<2>(job);
      break;
    case 3:
      CopyRows<3>(job);
      break;
    default:
      CopyRows<4>(job);
      break;
  }
  NotifyChanged();
  return SurfaceResult::Ok;
}

SurfaceResult Surface::Flip(uint32_t /*flags*/) {
  if (backBuffer_ == nullptr) {
    return SurfaceResult::NotFlippable;
  }
  SurfaceResult usable = CheckUsable();
  if (usable == SurfaceResult::Ok) {
    usable = backBuffer_->CheckUsable();
  }
  if (usable != SurfaceResult::Ok) {
    return usable;
  }
  if (backBuffer_->pixels_.size() != pixels_.size() || !(backBuffer_->format_ == format_)) {
    return SurfaceResult::InvalidParameters;
  }
  pixels_.swap(backBuffer_->pixels_);
  NotifyChanged();
  return SurfaceResult::Ok;
}

SurfaceResult Surface::PageLock() {
  ++pageLockCount_;
  return SurfaceResult::Ok;
}

SurfaceResult Surface::PageUnlock() {
  if (pageLockCount_ == 0) {
    return SurfaceResult::NotLocked;
  }
  --pageLockCount_;
  return SurfaceResult::Ok;
}

SurfaceResult Surface::AcquireDeviceContext() {
  const SurfaceResult usable = CheckUsable();
  if (usable != SurfaceResult::Ok) {
    return usable;
  }
  ++deviceContextCount_;
  ++openDeviceContexts;
  return SurfaceResult::Ok;
}

SurfaceResult Surface::ReleaseDeviceContext() {
  if (deviceContextCount_ == 0) {
    return SurfaceResult::InvalidParameters;
  }
  --deviceContextCount_;
  --openDeviceContexts;
  NotifyChanged();
  return SurfaceResult::Ok;
}

int32_t Surface::OpenDeviceContexts() { return openDeviceContexts; }

}  // namespace platform
