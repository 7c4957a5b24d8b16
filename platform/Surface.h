#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "platform/PixelFormat.h"

namespace platform {

// ---- Results ----

// What a surface or display operation answers. The values are the codes the
// run-time system's log shows in hex; Ok is 0.
enum class SurfaceResult : uint32_t {
  Ok = 0,
  SurfaceLost = 0x887601C2,        // the display took the memory; Restore, then retry
  SurfaceBusy = 0x887601AE,        // retry at once
  WasStillDrawing = 0x8876021C,    // retry at once
  OutOfVideoMemory = 0x8876017C,
  InvalidRectangle = 0x88760096,   // a rectangle outside its surface, or empty
  InvalidPixelFormat = 0x88760091, // the two surfaces of a blit differ in format
  InvalidParameters = 0x80070057,
  NotLocked = 0x887602AC,          // Unlock without a Lock
  NotFlippable = 0x887600E6,       // Flip on a surface without an attached back buffer
  WrongMode = 0x8876024B,          // restore while a full-screen display is inactive
  Unsupported = 0x80004001,        // a display mode or request the layer does not offer
  NotInitialized = 0x887600FF,     // the display is not set up
  OutOfMemory = 0x8007000E,        // a surface larger than the layer allows
};

inline uint32_t ResultCode(SurfaceResult result) { return static_cast<uint32_t>(result); }

// Where a surface's memory lies. Only the display's primary surface and its
// back buffer are video memory; only video memory can be lost.
enum class MemoryKind : uint8_t { System, Video };

// A rectangle in pixels; right and bottom are exclusive.
struct SurfaceRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;

  int32_t Width() const { return right - left; }
  int32_t Height() const { return bottom - top; }
  bool IsEmpty() const { return right <= left || bottom <= top; }
};

// What a lock gives: the first pixel of the first row and the bytes from one
// row to the next.
struct SurfaceLock {
  uint8_t* memory = nullptr;
  int32_t pitch = 0;
  int32_t width = 0;
  int32_t height = 0;
  PixelFormat format;
};

// A source colour key: source pixels whose every colour channel lies between
// the low and high values' channels are not copied. Low equal to high keys
// one colour.
struct ColorKey {
  uint32_t low = 0;
  uint32_t high = 0;
};

class Surface;

// Told after each change of a surface's visible pixels (the display watches
// its primary surface this way, to present what lands on it).
class SurfaceObserver {
 public:
  virtual void SurfaceChanged(const Surface& surface) = 0;

 protected:
  ~SurfaceObserver() = default;
};

// How a surface answers Restore; tests set it through platform/Testing.h.
enum class RestoreBehaviour : uint8_t { Succeeds, Fails, ReportsSuccessButStaysLost };

// ---- Surfaces ----

// Memory with a pixel format and a pitch. Fills and blits are row-wise copies;
// a surface locked by the game thread stays usable for fills and blits (the
// layer never answers "busy" for its own locks).
class Surface {
 public:
  // Makes a surface after checking its size (1 to 16,384 pixels a side, at
  // most 256 MiB) and format (2, 3 or 4 bytes per pixel); null with the
  // reason in result otherwise. The pixels start black (all bits 0).
  static std::unique_ptr<Surface> Create(int32_t width, int32_t height, const PixelFormat& format,
                                         MemoryKind memory, SurfaceResult& result);
  Surface(int32_t width, int32_t height, const PixelFormat& format, MemoryKind memory);
  ~Surface();
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;

  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  int32_t Pitch() const { return pitch_; }
  const PixelFormat& Format() const { return format_; }
  MemoryKind Memory() const { return memory_; }
  SurfaceRect Bounds() const { return {0, 0, width_, height_}; }

  // ---- Lost state ----

  // Ok, or SurfaceLost while the display holds the memory.
  SurfaceResult IsLost() const;
  // Gives the memory back (its contents are kept); restoring a primary surface
  // restores its attached back buffer too.
  SurfaceResult Restore();
  // Marks a video-memory surface lost (the display does so when a full-screen
  // game loses activation); system memory is never lost.
  void MarkLost();

  // ---- Pixel access ----

  // Gives the address and pitch of the pixels; locks nest and each needs an
  // Unlock. A lost surface cannot be locked.
  SurfaceResult Lock(SurfaceLock& lock);
  SurfaceResult Unlock();
  bool IsLocked() const { return lockCount_ > 0; }

  // ---- Fills and blits ----

  // Sets every pixel of the rectangle (whole surface without one) to the value.
  SurfaceResult Fill(uint32_t pixel);
  SurfaceResult Fill(const SurfaceRect& rectangle, uint32_t pixel);
  // Copies the source rectangle onto a destination rectangle of the same size
  // (Unsupported when the sizes differ), skipping keyed source pixels
  // when useSourceKey is set and the source has a key. A surface with a
  // clipper takes the destination in screen coordinates and cuts it to its
  // clip rectangle; without one, both rectangles must lie inside their surfaces.
  SurfaceResult Blit(const SurfaceRect& destination, Surface& source, const SurfaceRect& sourceRectangle,
                     bool useSourceKey = false);
  void SetSourceColorKey(std::optional<ColorKey> key) { sourceKey_ = key; }
  const std::optional<ColorKey>& SourceColorKey() const { return sourceKey_; }

  // ---- Flipping ----

  // Attaches the back buffer that Flip exchanges with this surface.
  void AttachBackBuffer(Surface* backBuffer) { backBuffer_ = backBuffer; }
  Surface* AttachedBackBuffer() const { return backBuffer_; }
  // Exchanges the pixels of this surface and its back buffer. The layer has
  // no vertical blank to wait for, so the flags change nothing.
  SurfaceResult Flip(uint32_t flags);

  // ---- Clipper ----

  // Makes this surface show the given rectangle of the screen: blits onto it
  // take screen coordinates and are cut to that rectangle.
  void SetClipRectangle(const SurfaceRect& screenArea) { clipArea_ = screenArea; }
  const std::optional<SurfaceRect>& ClipRectangle() const { return clipArea_; }

  // ---- Page locks and device contexts ----

  // Page locks are counted; memory of this layer never moves, so they only
  // record the request.
  SurfaceResult PageLock();
  SurfaceResult PageUnlock();
  int32_t PageLockCount() const { return pageLockCount_; }
  // A drawing context on the surface (for text and bitmap drawing); each
  // acquired context must be released. OpenDeviceContexts counts them all.
  SurfaceResult AcquireDeviceContext();
  SurfaceResult ReleaseDeviceContext();
  static int32_t OpenDeviceContexts();

  void SetObserver(SurfaceObserver* observer) { observer_ = observer; }

  // Read-only view of the pixels (tests and presentation).
  const uint8_t* Pixels() const { return pixels_.data(); }

  // ---- Faults, set by platform/Testing.h ----
  void ReportBusy(uint32_t times, SurfaceResult busyResult);
  void SetRestoreBehaviour(RestoreBehaviour behaviour) { restoreBehaviour_ = behaviour; }
  void SetRestoreRefused(bool refused) { restoreRefused_ = refused; }

 private:
  // Ok, or the lost or injected busy result that stops an operation.
  SurfaceResult CheckUsable();
  void NotifyChanged() const;
  uint8_t* Row(int32_t y) { return pixels_.data() + static_cast<size_t>(y) * static_cast<size_t>(pitch_); }

  int32_t width_;
  int32_t height_;
  int32_t pitch_;
  PixelFormat format_;
  MemoryKind memory_;
  std::vector<uint8_t> pixels_;
  bool lost_ = false;
  int32_t lockCount_ = 0;
  int32_t pageLockCount_ = 0;
  int32_t deviceContextCount_ = 0;
  std::optional<ColorKey> sourceKey_;
  std::optional<SurfaceRect> clipArea_;
  Surface* backBuffer_ = nullptr;
  SurfaceObserver* observer_ = nullptr;
  uint32_t busyReports_ = 0;
  SurfaceResult busyResult_ = SurfaceResult::SurfaceBusy;
  RestoreBehaviour restoreBehaviour_ = RestoreBehaviour::Succeeds;
  bool restoreRefused_ = false;  // set by the display while a full-screen game is inactive
};

}  // namespace platform
