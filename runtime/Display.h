#pragma once

#include <array>
#include <cstdint>

#include "base/LumoExport.h"
#include "runtime/Graphics.h"

// The display device and the screen update: one display (full screen, or a
// window's client area for debugging) with a flipping primary surface, its
// back buffer and, when wanted, an off-screen render surface. All drawing
// goes into the render buffer; BeginScreenUpdate prepares a frame in it and
// EndScreenUpdate presents it.

LUMOGAME_API int32_t ScreenWidth();
LUMOGAME_API int32_t ScreenHeight();
// 15, 16, 24 or 32 once the display is set up.
LUMOGAME_API int32_t BitsPerPixel();
// Lays the background (colour, graphic) into the render buffer and draws the
// playing movies.
LUMOGAME_API void BeginScreenUpdate();
// Sends pending first mouse moves, draws the software cursor and presents
// the frame by a flip or a blit.
LUMOGAME_API void EndScreenUpdate();
// The render buffer; it may not be destroyed.
LUMOGAME_API GraphicHandle GetBackground();

// ---- Inside the run-time system ----

namespace platform {
class Display;
class Surface;
}  // namespace platform

// The settings of the configuration's "DirectDraw" section.
struct tDisplaySettings {
  int32_t ScreenWidth = 640;
  int32_t ScreenHeight = 480;
  int32_t BitsPerPixel = 16;
  bool GDI = false;
  bool BackBlitting = true;
  bool VideoDrawing = false;
  bool BGR = false;  // read, changes nothing
  bool Windowed = false;
  int32_t ScreenLeft = 0;
  int32_t ScreenTop = 0;
  bool FastFlipping = false;
  bool PageLocking = false;
  bool AsyncBlitting = true;
  bool DirectBlending = false;
};

// The DMA flags word.
constexpr uint32_t DmaPageLocking = 1u << 0;
constexpr uint32_t DmaAsyncSystemToSystem = 1u << 1;
constexpr uint32_t DmaAsyncSystemToVideo = 1u << 2;
constexpr uint32_t DmaAsyncVideoToSystem = 1u << 3;
constexpr uint32_t DmaPrimaryPageLocked = 1u << 4;
constexpr uint32_t DmaBackBufferPageLocked = 1u << 5;
constexpr uint32_t DmaRenderSurfacePageLocked = 1u << 6;

// Blit and flip flags the display keeps.
constexpr uint32_t FlipNoVerticalSync = 8;
constexpr uint32_t BlitAsync = 0x200;

// Background kinds: fill with the colour, copy the graphic.
constexpr uint32_t BackgroundFill = 1;
constexpr uint32_t BackgroundGraphic = 2;

// What BeginScreenUpdate lays into the render buffer.
struct tBackgroundState {
  uint32_t Kind = 0;
  sRGB Color;
  GraphicHandle Graphic = nullptr;
  std::array<uint32_t, 8> BlitData{};  // the graphic's blit record, copied whole
};

// Snaps a configured screen size to the largest standard mode it reaches.
void SnapScreenSize(int32_t& width, int32_t& height);
// The requested depth: 16, 24 or 32; anything else becomes 16.
int32_t ChooseRequestedDepth(int32_t bitsPerPixel);

// Reads the "DirectDraw" section of the configuration (sizes snapped) and
// keeps it for StartDisplay.
const tDisplaySettings& LoadDisplaySettings(const char* configurationName);
const tDisplaySettings& DisplaySettings();
// Sets the display up with the kept settings (or the given ones); false
// after the failure was reported.
bool StartDisplay();
bool StartDisplay(const tDisplaySettings& settings);
// Releases the surfaces and the display (shutdown).
void StopDisplay();
bool IsDisplayStarted();

uint32_t DisplayDmaFlags();
platform::Display* DisplayDevice();
platform::Surface* PrimarySurface();
platform::Surface* RenderBuffer();
tBackgroundState& BackgroundState();
// Restores the primary (and with it the back buffer) when it was lost;
// answers Ok when the surfaces are usable again (the main loop's test).
uint32_t RestoreDisplaySurfaces();
// The application gained or lost activation (a full-screen display loses its
// surfaces while inactive).
void SetDisplayActive(bool active);
// The window's client rectangle in screen coordinates moved (windowed mode).
void SetDisplayClientPosition(int32_t left, int32_t top);
// Device contexts on surfaces that are still open (the exit report's count).
int32_t OpenDeviceContextCount();
