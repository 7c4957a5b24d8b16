#include "runtime/Display.h"

#include <exception>
#include <memory>

#include "base/DebugFormat.h"
#include "platform/Display.h"
#include "platform/Surface.h"
#include "runtime/Config.h"
#include "runtime/DisplaySeams.h"
#include "runtime/PixelFunctions.h"
#include "runtime/SurfaceRetry.h"

using platform::MemoryKind;
using platform::ResultCode;
using platform::Surface;
using platform::SurfaceRect;
using platform::SurfaceResult;

namespace {

struct DisplayState {
  tDisplaySettings settings;
  bool started = false;
  int32_t width = 0;
  int32_t height = 0;
  int32_t bitsPerPixel = 0;
  bool backBlitting = true;  // the setting after set-up (forced off for a system-memory back buffer)
  std::unique_ptr<platform::Display> device;
  Surface* primary = nullptr;
  Surface* backBuffer = nullptr;
  std::unique_ptr<Surface> renderSurface;  // the off-screen render surface, when there is one
  Surface* renderBuffer = nullptr;
  uint32_t dmaFlags = 0;
  uint32_t flipFlags = 0;
  uint32_t renderBlitFlags = 0;  // render surface to back buffer
  uint32_t backBlitFlags = 0;    // back buffer to primary
  SurfaceRect screenRectangle;
  SurfaceRect clientRectangle;  // windowed: the client area in screen coordinates
  tBackgroundState background;
};

DisplayState& State() {
  static DisplayState state;
  return state;
}

const char* MemoryName(const Surface& surface) {
  return surface.Memory() == MemoryKind::Video ? "Video" : "System";
}

const char* EnabledName(bool enabled) { return enabled ? "enabled" : "disabled"; }

// Page-locks a surface with the log lines "<prefix>page locked" or
// "<prefix>cannot be page locked"; sets the DMA bit on success.
bool PageLockSurface(Surface& surface, const char* prefix, uint32_t lockedBit) {
  if (surface.PageLock() != SurfaceResult::Ok) {
    DebugPrint("%scannot be page locked\n", prefix);
    return false;
  }
  DebugPrint("%spage locked\n", prefix);
  State().dmaFlags |= lockedBit;
  return true;
}

// ---- Set-up steps; each answers false after reporting its failure ----

bool CreateDevice(DisplayState& state) {
  SurfaceResult result = SurfaceResult::Ok;
  state.device = platform::Display::Create(result);
  if (!state.device) {
    ReportDisplayFailure("Cannot create DirectDraw (Error=%X)\n", ResultCode(result));
    return false;
  }
  DebugPrint("DirectDraw created\n");
  return true;
}

void ChooseDmaBlitting(DisplayState& state, const platform::DisplayCapabilities& capabilities) {
  if (state.settings.Windowed) {
    state.dmaFlags &= ~DmaPageLocking;
  }
  if (!capabilities.blitsFromSystemMemory) {
    return;
  }
  DebugPrint("DirectDraw HAL supports system memory DMA blitting\n");
  if (!capabilities.pageLockRequired) {
    DebugPrint("DirectDraw page locking not required for DMA blitting\n");
    state.dmaFlags &= ~DmaPageLocking;
  } else {
    DebugPrint("DirectDraw requires page locking for DMA blitting\n");
  }
  DebugPrint("DirectDraw page locking %s\n", EnabledName((state.dmaFlags & DmaPageLocking) != 0));
  struct QueueSupport {
    bool supported;
    uint32_t flag;
    const char* message;
  };
  const QueueSupport queues[] = {
      {capabilities.queuedSystemToSystemBlits, DmaAsyncSystemToSystem,
       "DirectDraw support for asynchronous DMA blitting from system to system memory\n"},
      {capabilities.queuedSystemToVideoBlits, DmaAsyncSystemToVideo,
       "DirectDraw support for asynchronous DMA blitting from system to video memory\n"},
      {capabilities.queuedVideoToSystemBlits, DmaAsyncVideoToSystem,
       "DirectDraw support for asynchronous DMA blitting from video to system memory\n"},
  };
  for (const QueueSupport& queue : queues) {
    if (!queue.supported) {
      continue;
    }
    DebugPrint("%s", queue.message);
    if (state.settings.AsyncBlitting) {
      state.dmaFlags |= queue.flag;
    }
  }
  DebugPrint("DirectDraw asynchronous DMA blitting %s\n", EnabledName(state.settings.AsyncBlitting));
}

bool SelectFullScreenMode(DisplayState& state, const platform::DisplayCapabilities& capabilities) {
  platform::Display& device = *state.device;
  SurfaceResult result = device.SetCooperativeLevel(platform::CooperativeLevel::FullScreen);
  if (result != SurfaceResult::Ok) {
    ReportDisplayFailure("Cannot set DirectDraw exclusive mode (Error=%X)\n", ResultCode(result));
    return false;
  }
  DebugPrint("DirectDraw exclusive mode set\n");
  result = device.SetDisplayMode(state.width, state.height, state.bitsPerPixel);
  if (result != SurfaceResult::Ok && (state.bitsPerPixel == 24 || state.bitsPerPixel == 32)) {
    const int32_t other = state.bitsPerPixel == 24 ? 32 : 24;
    DebugPrint("DirectDraw HAL does not support %i-bits per pixel - trying %i-bits per pixel\n",
               state.bitsPerPixel, other);
    state.bitsPerPixel = other;
    result = device.SetDisplayMode(state.width, state.height, state.bitsPerPixel);
  }
  if (result != SurfaceResult::Ok) {
    ReportDisplayFailure("Cannot select DirectDraw display mode (Width=%i, Height=%i, BitsPerPixel=%i, Error=%X)\n",
                         state.width, state.height, state.bitsPerPixel, ResultCode(result));
    return false;
  }
  if (state.settings.FastFlipping) {
    state.flipFlags |= FlipNoVerticalSync;
  }
  if (!capabilities.flipsWithoutVerticalSync) {
    state.flipFlags &= ~FlipNoVerticalSync;
    DebugPrint("DirectDraw HAL does not support fast flipping\n");
  } else {
    DebugPrint("DirectDraw HAL supports fast flipping\nDirectDraw fast flipping %s\n",
               EnabledName((state.flipFlags & FlipNoVerticalSync) != 0));
  }
  return true;
}

bool SelectWindowedMode(DisplayState& state) {
  DebugPrint("Trying windowed mode - this mode is for debugging purposes only and is not supported by the RTS\n");
  const SurfaceResult result = state.device->SetCooperativeLevel(platform::CooperativeLevel::Normal);
  if (result != SurfaceResult::Ok) {
    ReportDisplayFailure("Cannot set DirectDraw normal cooperative level (Error=%X)\n", ResultCode(result));
    return false;
  }
  DebugPrint("DirectDraw normal mode set\n");
  return true;
}

bool CreatePrimary(DisplayState& state) {
  const SurfaceResult result = state.device->CreatePrimarySurface(state.width, state.height, state.primary);
  if (result != SurfaceResult::Ok) {
    ReportDisplayFailure("Cannot create the DirectDraw primary surface (Error=%X)\n", ResultCode(result));
    return false;
  }
  DebugPrint("DirectDraw primary surface created (Memory=%s)\n", MemoryName(*state.primary));
  if (state.dmaFlags & DmaPageLocking) {
    PageLockSurface(*state.primary, "DirectDraw primary surface ", DmaPrimaryPageLocked);
  }
  return true;
}

bool CreateClipper(DisplayState& state) {
  state.clientRectangle = ClientRectangleOnScreen(state.settings);
  const SurfaceResult result = state.device->SetClipper(state.clientRectangle);
  if (result != SurfaceResult::Ok) {
    ReportDisplayFailure("Cannot create a DirectDraw clipper for the primary surface (Error=%X)\n",
                         ResultCode(result));
    return false;
  }
  DebugPrint("DirectDraw clipper created for the primary surface\n");
  return true;
}

bool TakePixelFormat(DisplayState& state, int32_t requestedDepth) {
  const platform::PixelFormat& format = state.primary->Format();
  const tPixelFormatInfo info = DescribePixelFormat(format);
  DebugPrint("DirectDraw pixel format retrieved (Count=%i, Unused=%i, Red=%X:%i:%i, Green=%X:%i:%i, Blue=%X:%i:%i)\n",
             info.BitCount, platform::MaskBitCount(info.AlphaMask), info.Red.Mask, info.Red.Shift, info.Red.Count,
             info.Green.Mask, info.Green.Shift, info.Green.Count, info.Blue.Mask, info.Blue.Shift,
             info.Blue.Count);
  if (info.BitCount < 15) {
    ReportDisplayFailure("Color resolution not supported (BitsPerPixel=%i)\n", info.BitCount);
    return false;
  }
  if (!IsSupportedPixelFormat(info)) {
    ReportDisplayFailure("Pixel format not supported\n");
    return false;
  }
  const bool fiveFiveFive = info.BitCount == 16 && info.Green.Count == 5;
  state.bitsPerPixel = requestedDepth;
  if (requestedDepth != static_cast<int32_t>(info.BitCount) || fiveFiveFive) {
    const int32_t depth = info.BitCount == 32 ? 32 : static_cast<int32_t>(info.Red.Count + info.Green.Count + info.Blue.Count);
    DebugPrint("DirectDraw does not support required color depth - Number of bits per pixel changed (Old=%i, New=%i)\n",
               requestedDepth, depth);
    state.bitsPerPixel = depth;
  }
  InstallPixelFormat(format);
  return true;
}

bool TakeBackBuffer(DisplayState& state) {
  SurfaceResult result = SurfaceResult::Ok;
  if (state.settings.Windowed) {
    result = state.device->CreateBackBuffer(state.width, state.height, state.backBuffer);
    if (result != SurfaceResult::Ok) {
      ReportDisplayFailure("Cannot create the DirectDraw back buffer surface (Error=%X)\n", ResultCode(result));
      return false;
    }
  } else {
    state.backBuffer = state.primary->AttachedBackBuffer();
    if (state.backBuffer == nullptr) {
      ReportDisplayFailure("Cannot get DirectDraw back buffer (Error=%X)\n", ResultCode(SurfaceResult::NotFlippable));
      return false;
    }
  }
  DebugPrint("DirectDraw back buffer %s (Memory=%s)\n", state.settings.Windowed ? "created" : "retrieved",
             MemoryName(*state.backBuffer));
  return true;
}

bool ChooseRenderBuffer(DisplayState& state) {
  const bool pageLocking = (state.dmaFlags & DmaPageLocking) != 0;
  const bool asyncToVideo = (state.dmaFlags & DmaAsyncSystemToVideo) != 0;
  if (state.backBuffer->Memory() == MemoryKind::System) {
    state.backBlitting = false;
    state.renderBuffer = state.backBuffer;
    if (pageLocking && PageLockSurface(*state.backBuffer, "DirectDraw back buffer ", DmaBackBufferPageLocked) &&
        asyncToVideo) {
      state.backBlitFlags |= BlitAsync;
    }
    return true;
  }
  if (state.backBlitting) {
    state.renderBuffer = state.backBuffer;
    DebugPrint("DirectDraw directly renders to the back buffer\n");
    return true;
  }
  const SurfaceResult result =
      state.device->CreateSurface(state.width, state.height, MemoryKind::System, state.renderSurface);
  if (result != SurfaceResult::Ok) {
    ReportDisplayFailure("Cannot create the DirectDraw off-screen render surface (Error=%X)\n", ResultCode(result));
    return false;
  }
  DebugPrint("DirectDraw off-screen render surface created (Memory=System)\n");
  state.renderBuffer = state.renderSurface.get();
  if (pageLocking) {
    PageLockSurface(*state.renderSurface, "DirectDraw off-screen render surface ", DmaRenderSurfacePageLocked);
  }
  if (asyncToVideo) {
    state.renderBlitFlags |= BlitAsync;
  }
  return true;
}

bool ClearRenderBuffer(DisplayState& state) {
  Surface& render = *state.renderBuffer;
  const uint32_t black = GetSystemColor(SystemBlack);
  const SurfaceResult result = RetryOnSurface(render, [&] { return render.Fill(black); });
  if (result != SurfaceResult::Ok) {
    ReportDisplayFailure("Cannot color the DirectDraw back buffer black (Error=%X)\n", ResultCode(result));
    return false;
  }
  return true;
}

bool SetUp(DisplayState& state, int32_t requestedDepth) {
  if (!CreateDevice(state)) {
    return false;
  }
  const platform::DisplayCapabilities capabilities = state.device->Capabilities();
  ChooseDmaBlitting(state, capabilities);
  state.bitsPerPixel = requestedDepth;
  const bool modeSelected =
      state.settings.Windowed ? SelectWindowedMode(state) : SelectFullScreenMode(state, capabilities);
  if (!modeSelected) {
    return false;
  }
  requestedDepth = state.bitsPerPixel;
  DebugPrint("DirectDraw %s selected (Width=%i, Height=%i, BitsPerPixel=%i)\n",
             state.settings.Windowed ? "client area" : "display mode", state.width, state.height, requestedDepth);
  if (!CreatePrimary(state) || (state.settings.Windowed && !CreateClipper(state)) ||
      !TakePixelFormat(state, requestedDepth) || !TakeBackBuffer(state) || !ChooseRenderBuffer(state) ||
      !ClearRenderBuffer(state)) {
    return false;
  }
  const platform::VideoMemoryStatus memory = state.device->VideoMemory();
  DebugPrint("DirectDraw initialized");
  DebugPrint(" (Total=%ib, Available=%ib, Used=%ib)\n", static_cast<int32_t>(memory.total),
             static_cast<int32_t>(memory.available), static_cast<int32_t>(memory.total - memory.available));
  return true;
}

// ---- Presentation ----

void LogEndFailure(const char* format, SurfaceResult result) { DebugPrint(format, ResultCode(result)); }

void FlipFrame(DisplayState& state) {
  Surface& primary = *state.primary;
  const SurfaceResult result = RetryOnSurface(primary, [&] { return primary.Flip(state.flipFlags); });
  if (result != SurfaceResult::Ok) {
    LogEndFailure("EndScreenUpdate() Cannot flip surfaces (Error=%X)\n", result);
  }
}

void RestoreIfLost(Surface& surface) {
  if (surface.IsLost() == SurfaceResult::SurfaceLost) {
    surface.Restore();
  }
}

// The render buffer is the back buffer: it is blitted onto the primary.
void BlitBackBuffer(DisplayState& state) {
  SurfaceResult waited = SurfaceResult::Ok;
  int32_t tries = 0;
  do {
    RestoreIfLost(*state.backBuffer);
    RestoreIfLost(*state.primary);
    waited = state.device->WaitForVerticalBlank();
  } while (waited == SurfaceResult::WasStillDrawing && ++tries < kSurfaceRetryLimit);
  const SurfaceRect& target = state.settings.Windowed ? state.clientRectangle : state.screenRectangle;
  const SurfaceResult result = state.primary->Blit(target, *state.backBuffer, state.screenRectangle);
  if (result != SurfaceResult::Ok) {
    LogEndFailure("EndScreenUpdate() Cannot blit the back buffer to the primary surface (Error=%X)\n", result);
  }
}

// The render buffer is the off-screen render surface: it is blitted onto
// the back buffer, which is then flipped (full screen) or blitted (windowed).
void PresentRenderSurface(DisplayState& state) {
  Surface& render = *state.renderSurface;
  Surface& back = *state.backBuffer;
  Surface& primary = *state.primary;
  RestoreIfLost(render);
  SurfaceResult result = RetryOnSurface(back, [&] { return back.Blit(state.screenRectangle, render, state.screenRectangle); });
  if (result != SurfaceResult::Ok) {
    LogEndFailure("EndScreenUpdate() Cannot blit the off-screen render surface to back buffer (Error=%X)\n", result);
    return;
  }
  const bool windowed = state.settings.Windowed;
  result = RetryOnSurface(primary, [&] {
    RestoreIfLost(back);
    return windowed ? primary.Blit(state.clientRectangle, back, state.screenRectangle) : primary.Flip(state.flipFlags);
  });
  if (result != SurfaceResult::Ok) {
    DebugPrint("EndScreenUpdate() Cannot %s the back buffer (Error=%X)\n", windowed ? "blit" : "flip",
               ResultCode(result));
  }
}

// ---- Settings ----

constexpr const char* kSection = "DirectDraw";

// A boolean whose default is true: the read gives false for a missing entry
// (and for the number 0), so only "False" or "Off" switch it off.
void ReadSwitchDefaultOn(ConfigurationHandle configuration, const char* entry, bool& value) {
  if (!ReadConfigurationBool(configuration, kSection, entry, value)) {
    value = true;
  }
}

// The sizes and the depth are read through a writable handle, so their
// defaults land in the file; the switches are read-only.
tDisplaySettings ReadDirectDrawSection(const char* configurationName) {
  tDisplaySettings settings;
  if (configurationName == nullptr) {
    return settings;
  }
  ConfigurationHandle writable = OpenConfiguration(configurationName, true);
  ReadConfigurationInt(writable, kSection, "ScreenWidth", settings.ScreenWidth);
  ReadConfigurationInt(writable, kSection, "ScreenHeight", settings.ScreenHeight);
  ReadConfigurationInt(writable, kSection, "BitsPerPixel", settings.BitsPerPixel);
  CloseConfiguration(writable);

  ConfigurationHandle readOnly = OpenConfiguration(configurationName, false);
  ReadConfigurationBool(readOnly, kSection, "GDI", settings.GDI);
  ReadSwitchDefaultOn(readOnly, "BackBlitting", settings.BackBlitting);
  ReadConfigurationBool(readOnly, kSection, "VideoDrawing", settings.VideoDrawing);
  ReadConfigurationBool(readOnly, kSection, "BGR", settings.BGR);
  ReadConfigurationBool(readOnly, kSection, "Windowed", settings.Windowed);
  ReadConfigurationInt(readOnly, kSection, "ScreenLeft", settings.ScreenLeft);
  ReadConfigurationInt(readOnly, kSection, "ScreenTop", settings.ScreenTop);
  ReadConfigurationBool(readOnly, kSection, "FastFlipping", settings.FastFlipping);
  ReadConfigurationBool(readOnly, kSection, "PageLocking", settings.PageLocking);
  ReadSwitchDefaultOn(readOnly, "AsyncBlitting", settings.AsyncBlitting);
  ReadConfigurationBool(readOnly, kSection, "DirectBlending", settings.DirectBlending);
  CloseConfiguration(readOnly);
  return settings;
}

}  // namespace

// ---- Settings ----

void SnapScreenSize(int32_t& width, int32_t& height) {
  struct Mode {
    int32_t minimumWidth;  // reached by a width at least this (0: by height only)
    int32_t minimumHeight;
    int32_t width;
    int32_t height;
  };
  static constexpr Mode kModes[] = {
      {1600, 1200, 1600, 1200}, {1280, 1024, 1280, 1024}, {0, 960, 1280, 960}, {1152, 864, 1152, 864},
      {1024, 768, 1024, 768},   {960, 720, 960, 720},     {800, 600, 800, 600},
  };
  for (const Mode& mode : kModes) {
    if ((mode.minimumWidth > 0 && width >= mode.minimumWidth) || height >= mode.minimumHeight) {
      width = mode.width;
      height = mode.height;
      return;
    }
  }
  width = 640;
  height = 480;
}

int32_t ChooseRequestedDepth(int32_t bitsPerPixel) {
  return bitsPerPixel == 16 || bitsPerPixel == 24 || bitsPerPixel == 32 ? bitsPerPixel : 16;
}

const tDisplaySettings& LoadDisplaySettings(const char* configurationName) {
  tDisplaySettings settings = ReadDirectDrawSection(configurationName);
  SnapScreenSize(settings.ScreenWidth, settings.ScreenHeight);
  State().settings = settings;
  return State().settings;
}

const tDisplaySettings& DisplaySettings() { return State().settings; }

// ---- Set-up and release ----

bool StartDisplay() { return StartDisplay(State().settings); }

bool StartDisplay(const tDisplaySettings& settings) {
  StopDisplay();
  DisplayState& state = State();
  state.settings = settings;
  SnapScreenSize(state.settings.ScreenWidth, state.settings.ScreenHeight);
  state.width = state.settings.ScreenWidth;
  state.height = state.settings.ScreenHeight;
  state.backBlitting = state.settings.BackBlitting;
  state.dmaFlags = state.settings.PageLocking ? DmaPageLocking : 0;
  state.screenRectangle = {0, 0, state.width, state.height};
  state.started = SetUp(state, ChooseRequestedDepth(state.settings.BitsPerPixel));
  return state.started;
}

void StopDisplay() {
  DisplayState& state = State();
  if (state.renderSurface) {
    if (state.dmaFlags & DmaRenderSurfacePageLocked) {
      state.renderSurface->PageUnlock();
    }
    state.renderSurface.reset();
    DebugPrint("DirectDraw off-screen render surface released\n");
  }
  if (state.primary != nullptr) {
    if ((state.dmaFlags & DmaBackBufferPageLocked) && state.backBuffer != nullptr) {
      state.backBuffer->PageUnlock();
    }
    if (state.dmaFlags & DmaPrimaryPageLocked) {
      state.primary->PageUnlock();
    }
    state.device->ReleasePrimarySurface();
    DebugPrint("DirectDraw primary surface released\n");
  }
  if (state.device) {
    state.device.reset();
    DebugPrint("DirectDraw released\n");
  }
  const tDisplaySettings settings = state.settings;
  const tBackgroundState background = state.background;
  state = DisplayState{};
  state.settings = settings;
  state.background = background;
}

bool IsDisplayStarted() { return State().started; }

uint32_t DisplayDmaFlags() { return State().dmaFlags; }
platform::Display* DisplayDevice() { return State().device.get(); }
platform::Surface* PrimarySurface() { return State().primary; }
platform::Surface* RenderBuffer() { return State().renderBuffer; }
tBackgroundState& BackgroundState() { return State().background; }

uint32_t RestoreDisplaySurfaces() {
  DisplayState& state = State();
  if (state.primary == nullptr) {
    return ResultCode(SurfaceResult::NotInitialized);
  }
  SurfaceResult result = state.primary->IsLost();
  if (result == SurfaceResult::SurfaceLost) {
    result = state.primary->Restore();
  }
  if (result == SurfaceResult::Ok && state.backBuffer != nullptr) {
    RestoreIfLost(*state.backBuffer);
  }
  return ResultCode(result);
}

void SetDisplayActive(bool active) {
  if (State().device) {
    State().device->SetActive(active);
  }
}

void SetDisplayClientPosition(int32_t left, int32_t top) {
  DisplayState& state = State();
  if (!state.settings.Windowed) {
    return;
  }
  state.clientRectangle = {left, top, left + state.width, top + state.height};
  if (state.device && state.primary != nullptr) {
    state.device->SetClipper(state.clientRectangle);
  }
}

int32_t OpenDeviceContextCount() { return Surface::OpenDeviceContexts(); }

// ---- The exported functions ----

int32_t ScreenWidth() { return State().width; }
int32_t ScreenHeight() { return State().height; }
int32_t BitsPerPixel() { return State().bitsPerPixel; }

GraphicHandle GetBackground() { return State().renderBuffer; }

void BeginScreenUpdate() {
  DisplayState& state = State();
  if (!state.started) {
    return;
  }
  if (state.background.Kind & BackgroundFill) {
    FillGraphic(state.renderBuffer, state.background.Color);
  }
  if ((state.background.Kind & BackgroundGraphic) && state.background.Graphic != nullptr) {
    DrawBackgroundGraphic(state.background);
  }
  UpdatePlayingMovies("BeginScreenUpdate()");
}

void EndScreenUpdate() {
  DisplayState& state = State();
  if (!state.started) {
    return;
  }
  try {
    InitializeRegionsAtCursor();
  } catch (...) {
    DebugPrint("EndScreenUpdate() Unhandled exception during region initializing\n");
  }
  DrawSoftwareCursor();
  if (!state.settings.Windowed && state.backBlitting) {
    FlipFrame(state);
  } else if (!state.renderSurface) {
    BlitBackBuffer(state);
  } else {
    PresentRenderSurface(state);
  }
}
