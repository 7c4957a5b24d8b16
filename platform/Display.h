#pragma once

#include <cstdint>
#include <memory>

#include "platform/Surface.h"

namespace platform {

// ---- Display ----

enum class CooperativeLevel : uint8_t {
  Normal,      // a window on the desktop: the primary shows the client area
  FullScreen,  // the whole screen in a display mode of the game's choice
};

// What the display can do. The answers are the truth about this software
// display: blits read system memory directly and complete before they
// return, and there is no vertical blank to wait for.
struct DisplayCapabilities {
  bool blitsFromSystemMemory = true;
  bool pageLockRequired = false;
  bool queuedSystemToSystemBlits = false;
  bool queuedSystemToVideoBlits = false;
  bool queuedVideoToSystemBlits = false;
  bool flipsWithoutVerticalSync = true;
};

// Video memory in bytes: the display's own surfaces are its only video memory.
struct VideoMemoryStatus {
  uint32_t total = 0;
  uint32_t available = 0;
};

// One display: the mode, the primary surface with its back buffer (the only
// video memory, and the only surfaces that can be lost) and the presentation
// of the primary. Whatever lands on the primary (a flip, a blit, a fill or an
// unlock) is handed to the back end to show. Game thread only.
class Display final : private SurfaceObserver {
 public:
  // Makes the display (fails only when a test asks it to).
  static std::unique_ptr<Display> Create(SurfaceResult& result);
  Display();
  ~Display();
  Display(const Display&) = delete;
  Display& operator=(const Display&) = delete;

  DisplayCapabilities Capabilities() const;

  SurfaceResult SetCooperativeLevel(CooperativeLevel level);
  CooperativeLevel Level() const { return level_; }
  // Full screen: picks one of the offered modes (640x480, 800x600, 960x720,
  // 1024x768, 1152x864, 1280x960, 1280x1024, 1600x1200 at 16 bits 5/6/5, 24
  // or 32 bits); anything else is Unsupported.
  SurfaceResult SetDisplayMode(int32_t width, int32_t height, int32_t bitsPerPixel);

  // Full screen: a flipping primary of the mode's size with one attached back
  // buffer. Windowed: a primary that shows a client area of the given size, in
  // the desktop's format. The display owns both.
  SurfaceResult CreatePrimarySurface(int32_t clientWidth, int32_t clientHeight, Surface*& primary);
  // Windowed: the back buffer, a video-memory surface of the given size.
  SurfaceResult CreateBackBuffer(int32_t width, int32_t height, Surface*& backBuffer);
  // Any other surface, in the display's format. A request for video memory
  // is granted in system memory, and the surface reports what it got.
  SurfaceResult CreateSurface(int32_t width, int32_t height, MemoryKind requested,
                              std::unique_ptr<Surface>& surface);
  // Windowed: makes the primary show the client rectangle (screen
  // coordinates); blits onto the primary then take screen coordinates and the
  // client's top-left corner lands at (0, 0) of the presented image.
  SurfaceResult SetClipper(const SurfaceRect& clientOnScreen);

  // There is no vertical blank to wait for: answers Ok at once.
  SurfaceResult WaitForVerticalBlank();
  VideoMemoryStatus VideoMemory() const;

  // A full-screen display that loses activation loses its primary and back
  // buffer; they can be restored once it is active again.
  void SetActive(bool active);

  // Releases the primary surface and its back buffer.
  void ReleasePrimarySurface();

  Surface* Primary() const { return primary_.get(); }
  Surface* BackBuffer() const { return backBuffer_.get(); }
  const PixelFormat& Format() const { return format_; }

 private:
  void SurfaceChanged(const Surface& surface) override;

  CooperativeLevel level_ = CooperativeLevel::Normal;
  bool modeSet_ = false;
  int32_t modeWidth_ = 0;
  int32_t modeHeight_ = 0;
  PixelFormat format_;
  bool active_ = true;
  std::unique_ptr<Surface> primary_;
  std::unique_ptr<Surface> backBuffer_;
};

}  // namespace platform
