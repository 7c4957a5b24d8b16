#include "runtime/Graphics.h"

#include <algorithm>
#include <array>
#include <memory>
#include <unordered_map>
#include <vector>

#include "base/DebugFormat.h"
#include "platform/Display.h"
#include "platform/Surface.h"
#include "runtime/Display.h"
#include "runtime/DebugLevelGate.h"
#include "runtime/PixelFunctions.h"
#include "runtime/SurfaceRetry.h"

using platform::ResultCode;
using platform::Surface;
using platform::SurfaceResult;

namespace {

// In (blue, green, red) field order; the comments give (red, green, blue).
constexpr std::array<sRGB, 16> kSystemColors{{
    {0, 0, 0},        // 0 (0, 0, 0)
    {0, 0, 128},      // 1 (128, 0, 0)
    {0, 128, 0},      // 2 (0, 128, 0)
    {0, 128, 128},    // 3 (128, 128, 0)
    {128, 0, 0},      // 4 (0, 0, 128)
    {128, 0, 128},    // 5 (128, 0, 128)
    {128, 128, 0},    // 6 (0, 128, 128)
    {128, 128, 128},  // 7 (128, 128, 128)
    {192, 192, 192},  // 8 (192, 192, 192)
    {0, 0, 255},      // 9 (255, 0, 0)
    {0, 255, 0},      // 10 (0, 255, 0)
    {0, 255, 255},    // 11 (255, 255, 0)
    {255, 0, 0},      // 12 (0, 0, 255)
    {255, 0, 255},    // 13 (255, 0, 255)
    {255, 255, 0},    // 14 (0, 255, 255)
    {255, 255, 255},  // 15 (255, 255, 255)
}};

std::array<uint32_t, 16> packedSystemColors{};
tMemoryLocation graphicMemory = MemorySystem;

// The graphics the game made, owned here until DestroyGraphic.
std::unordered_map<Surface*, std::unique_ptr<Surface>>& Graphics() {
  static std::unordered_map<Surface*, std::unique_ptr<Surface>> graphics;
  return graphics;
}

// The records LockGraphic handed out, owned here until UnlockGraphic.
std::vector<std::unique_ptr<LockedGraphic>>& LockedRecords() {
  static std::vector<std::unique_ptr<LockedGraphic>> records;
  return records;
}

// Out-of-range system colour indexes read entry 0 (black) instead of memory
// beyond the table.
size_t SystemColorIndex(tSystemColor color) {
  return color >= 0 && color < static_cast<int32_t>(kSystemColors.size()) ? static_cast<size_t>(color) : 0;
}

bool PageLockingInForce() { return (DisplayDmaFlags() & DmaPageLocking) != 0; }

// A lock "with wait": busy answers are waited out (within the retry cap).
SurfaceResult LockWithWait(Surface& surface, platform::SurfaceLock& lock) {
  return RetryWhileBusy([&] { return surface.Lock(lock); });
}

uint8_t* PixelAt(const tSurfaceDescription& description, int32_t x, int32_t y) {
  return description.Memory + static_cast<std::ptrdiff_t>(y) * description.Pitch +
         static_cast<std::ptrdiff_t>(x) * DisplayPixelFormat().BytesPerPixel;
}

}  // namespace

void RebuildSystemColors() {
  for (size_t index = 0; index < kSystemColors.size(); ++index) {
    packedSystemColors[index] = ConvertRGB(kSystemColors[index]);
  }
}

// ---- Colours ----

uint32_t GetColor(uint32_t red, uint32_t green, uint32_t blue) { return PixelFunctions().Pack(red, green, blue); }

uint32_t ConvertRGB(const sRGB& color) { return PixelFunctions().Pack(color.Red, color.Green, color.Blue); }

uint32_t GetRed(uint32_t pixel) {
  const tPixelChannel& channel = DisplayPixelFormat().Red;
  return ((pixel & channel.Mask) >> channel.Shift) << channel.Loss;
}

uint32_t GetGreen(uint32_t pixel) {
  const tPixelChannel& channel = DisplayPixelFormat().Green;
  return ((pixel & channel.Mask) >> channel.Shift) << channel.Loss;
}

uint32_t GetBlue(uint32_t pixel) {
  const tPixelChannel& channel = DisplayPixelFormat().Blue;
  return ((pixel & channel.Mask) >> channel.Shift) << channel.Loss;
}

void GetRGB(uint32_t pixel, uint32_t& red, uint32_t& green, uint32_t& blue) {
  PixelFunctions().Unpack(pixel, red, green, blue);
}

void ConvertColor(uint32_t pixel, sRGB& color) {
  uint32_t red = 0;
  uint32_t green = 0;
  uint32_t blue = 0;
  PixelFunctions().Unpack(pixel, red, green, blue);
  color.Red = static_cast<uint8_t>(red);
  color.Green = static_cast<uint8_t>(green);
  color.Blue = static_cast<uint8_t>(blue);
}

uint32_t GetSystemColor(tSystemColor color) { return packedSystemColors[SystemColorIndex(color)]; }

const sRGB& GetSystemRGB(tSystemColor color) { return kSystemColors[SystemColorIndex(color)]; }

// ---- Graphics ----

GraphicHandle MakeGraphic(const char* prefix, int32_t width, int32_t height, bool logCreation) {
  if (width < 1 || height < 1) {
    DebugPrint("%s Invalid size (Width=%i, Height=%i)\n", prefix, width, height);
    return nullptr;
  }
  platform::Display* display = DisplayDevice();
  if (display == nullptr) {
    DebugPrint("%s Cannot create graphic (Error=%X)\n", prefix, ResultCode(SurfaceResult::NotInitialized));
    return nullptr;
  }
  // The layer grants video memory as system memory, so a request for video
  // memory never runs out of it.
  std::unique_ptr<Surface> surface;
  const platform::MemoryKind requested =
      graphicMemory == MemoryVideo ? platform::MemoryKind::Video : platform::MemoryKind::System;
  const SurfaceResult result = display->CreateSurface(width, height, requested, surface);
  if (result != SurfaceResult::Ok) {
    DebugPrint("%s Cannot create graphic (Error=%X)\n", prefix, ResultCode(result));
    return nullptr;
  }
  const char* memoryName = surface->Memory() == platform::MemoryKind::Video ? "Video" : "System";
  if (graphicMemory >= MemoryPageLocked && PageLockingInForce() &&
      surface->Memory() == platform::MemoryKind::System && surface->PageLock() == SurfaceResult::Ok) {
    memoryName = "Locked";
  }
  Surface* graphic = surface.get();
  Graphics().emplace(graphic, std::move(surface));
  if (logCreation && DebugLevelAtLeast(1)) {
    DebugPrint("%s Graphic created (Item=%p, Memory=%s, Width=%i, Height=%i)\n", prefix,
               static_cast<void*>(graphic), memoryName, width, height);
  }
  return graphic;
}

int32_t LiveGraphicCount() { return static_cast<int32_t>(Graphics().size()); }

GraphicHandle CreateGraphic(int32_t width, int32_t height, const sRGB& color) {
  GraphicHandle graphic = MakeGraphic("CreateGraphic()", width, height, true);
  if (graphic != nullptr) {
    FillGraphic(graphic, color);
  }
  return graphic;
}

void DestroyGraphic(GraphicHandle graphic) {
  constexpr const char* prefix = "DestroyGraphic()";
  if (graphic == nullptr) {
    DebugPrint("%s Null pointer to the graphic specified\n", prefix);
    return;
  }
  if (SurfaceOf(graphic) == RenderBuffer()) {
    DebugPrint("%s The DirectDraw render buffer should not be destroyed\n", prefix);
    return;
  }
  // A handle that is no live graphic (destroyed twice, or never made) would
  // free memory that is not ours: it is refused.
  auto found = Graphics().find(SurfaceOf(graphic));
  if (found == Graphics().end()) {
    DebugPrint("%s Unknown graphic specified (Item=%p)\n", prefix, graphic);
    return;
  }
  if (BackgroundState().Graphic == graphic) {
    BackgroundState().Graphic = nullptr;
  }
  if (DebugLevelAtLeast(2)) {
    DebugPrint("%s Graphic destroyed (Item=%p)\n", prefix, graphic);
  }
  Surface& surface = *found->second;
  if (PageLockingInForce() && surface.Memory() == platform::MemoryKind::System) {
    while (surface.PageLockCount() > 0) {
      surface.PageUnlock();
    }
  }
  // Locks of the graphic end with it, so a later UnlockGraphic of such a
  // record is refused instead of reaching freed memory.
  std::erase_if(LockedRecords(),
                [graphic](const std::unique_ptr<LockedGraphic>& record) { return record->Graphic == graphic; });
  Graphics().erase(found);
}

GraphicHandle SelectGraphic(GraphicHandle graphic) {
  if (!PageLockingInForce() || graphic == nullptr) {
    return nullptr;
  }
  Surface& surface = *SurfaceOf(graphic);
  const SurfaceResult result = RetryOnSurface(surface, [&] { return surface.PageLock(); });
  return result == SurfaceResult::Ok ? graphic : nullptr;
}

GraphicHandle UnselectGraphic(GraphicHandle graphic) {
  if (!PageLockingInForce() || graphic == nullptr) {
    return nullptr;
  }
  Surface& surface = *SurfaceOf(graphic);
  const SurfaceResult result = RetryOnSurface(surface, [&] { return surface.PageUnlock(); });
  return result == SurfaceResult::Ok ? graphic : nullptr;
}

bool GraphicSize(const char* prefix, GraphicHandle graphic, int32_t& width, int32_t& height) {
  width = 0;
  height = 0;
  if (graphic == nullptr) {
    DebugPrint("%s Null pointer to the graphic specified\n", prefix);
    return false;
  }
  width = SurfaceOf(graphic)->Width();
  height = SurfaceOf(graphic)->Height();
  return true;
}

void GetGraphicSize(GraphicHandle graphic, int32_t& width, int32_t& height) {
  GraphicSize("GetGraphicSize()", graphic, width, height);
}

void FillGraphic(GraphicHandle graphic, const sRGB& color) {
  if (graphic == nullptr) {
    DebugPrint("FillGraphic() Null pointer to the graphic specified\n");
    return;
  }
  Surface& surface = *SurfaceOf(graphic);
  const uint32_t pixel = ConvertRGB(color);
  const SurfaceResult result = RetryOnSurface(surface, [&] { return surface.Fill(pixel); });
  if (result != SurfaceResult::Ok) {
    DebugPrint("FillGraphic() Cannot fill the graphic (Item=%p, Error=%X)\n", graphic, ResultCode(result));
  }
}

uint32_t GetGraphicPixel(GraphicHandle graphic, int32_t x, int32_t y) {
  if (graphic == nullptr) {
    DebugPrint("GetGraphicPixel() Null pointer to the graphic specified\n");
    return 0;
  }
  Surface& surface = *SurfaceOf(graphic);
  platform::SurfaceLock lock;
  const SurfaceResult locked = LockWithWait(surface, lock);
  if (locked != SurfaceResult::Ok) {
    DebugPrint("GetGraphicPixel() Lock failure (Item=%p, Error=%X)\n", graphic, ResultCode(locked));
    return 0;
  }
  uint32_t pixel = 0;
  if (x >= 0 && x < lock.width && y >= 0 && y < lock.height) {
    const tSurfaceDescription description{lock.width, lock.height, lock.pitch, lock.memory};
    pixel = PixelFunctions().GetPixel(PixelAt(description, x, y));
  }
  const SurfaceResult unlocked = surface.Unlock();
  if (unlocked != SurfaceResult::Ok) {
    DebugPrint("GetGraphicPixel() Unlock failure (Item=%p, Error=%X)\n", graphic, ResultCode(unlocked));
  }
  return pixel & ~DisplayPixelFormat().AlphaMask;
}

uint32_t SetGraphicPixel(GraphicHandle graphic, int32_t x, int32_t y, uint32_t pixel) {
  if (graphic == nullptr) {
    DebugPrint("SetGraphicPixel() Null pointer to the graphic specified\n");
    return 0;
  }
  Surface& surface = *SurfaceOf(graphic);
  platform::SurfaceLock lock;
  const SurfaceResult locked = LockWithWait(surface, lock);
  if (locked != SurfaceResult::Ok) {
    DebugPrint("SetGraphicPixel() Lock failure (item=%p, Error=%X)\n", graphic, ResultCode(locked));
    return 0;
  }
  uint32_t written = 0;
  if (x >= 0 && x < lock.width && y >= 0 && y < lock.height) {
    written = pixel & ~DisplayPixelFormat().AlphaMask;
    const tSurfaceDescription description{lock.width, lock.height, lock.pitch, lock.memory};
    PixelFunctions().SetPixel(PixelAt(description, x, y), written);
  } else {
    DebugPrint("SetGraphicPixel() Invalid coordinate (Item=%p, X=%i, Y=%i, Width=%i, Height=%i)\n", graphic, x,
               y, lock.width, lock.height);
  }
  const SurfaceResult unlocked = surface.Unlock();
  if (unlocked != SurfaceResult::Ok) {
    DebugPrint("SetGraphicPixel() Unlock failure (Item=%p, Error=%X)\n", graphic, ResultCode(unlocked));
  }
  return written;
}

LockedGraphic* LockGraphic(GraphicHandle graphic) {
  if (graphic == nullptr) {
    DebugPrint("LockGraphic() Null pointer to the graphic specified\n");
    return nullptr;
  }
  platform::SurfaceLock lock;
  const SurfaceResult result = LockWithWait(*SurfaceOf(graphic), lock);
  if (result != SurfaceResult::Ok) {
    DebugPrint("LockGraphic() Cannot lock the graphic (Item=%p, Error=%X)\n", graphic, ResultCode(result));
    return nullptr;
  }
  auto record = std::make_unique<LockedGraphic>();
  record->Graphic = graphic;
  record->Description = {lock.width, lock.height, lock.pitch, lock.memory};
  record->Pixel = lock.memory;
  record->Line = lock.memory;
  LockedRecords().push_back(std::move(record));
  return LockedRecords().back().get();
}

void UnlockGraphic(LockedGraphic* locked) {
  auto& records = LockedRecords();
  auto found = std::find_if(records.begin(), records.end(),
                            [locked](const std::unique_ptr<LockedGraphic>& record) { return record.get() == locked; });
  if (locked == nullptr || found == records.end()) {
    DebugPrint("UnlockGraphic() Null pointer to the locked graphic specified\n");
    return;
  }
  const SurfaceResult result = SurfaceOf(locked->Graphic)->Unlock();
  if (result != SurfaceResult::Ok) {
    DebugPrint("UnlockGraphic() Cannot unlock the graphic (Item=%p, Error=%X)\n", locked->Graphic,
               ResultCode(result));
  }
  records.erase(found);
}

bool SafeToLockGraphic(GraphicHandle graphic) {
  if (DisplaySettings().VideoDrawing) {
    return true;
  }
  if (!DisplaySettings().DirectBlending || graphic == nullptr) {
    return false;
  }
  return SurfaceOf(graphic)->Memory() != platform::MemoryKind::Video;
}

void GetPixelFormat(LockedGraphic* locked, uint32_t& redMask, uint32_t& greenMask, uint32_t& blueMask,
                    uint32_t& alphaMask, uint32_t& bitsPerPixel, uint32_t& origin, uint32_t& pitch) {
  const platform::PixelFormat& format = SurfaceOf(locked->Graphic)->Format();
  redMask = format.redMask;
  greenMask = format.greenMask;
  blueMask = format.blueMask;
  alphaMask = format.AlphaMask();
  bitsPerPixel = format.bitCount;
  if (format.bitCount == 16 && ((alphaMask == 0 && (redMask == 0x7C00 || blueMask == 0x7C00)) || alphaMask == 0x8000)) {
    bitsPerPixel = 15;
    alphaMask = 0;
  }
  origin = 2;
  pitch = static_cast<uint32_t>(locked->Description.Pitch);
}

uint8_t* GetPixelAddress(LockedGraphic* locked, int32_t x, int32_t y) { return PixelAt(locked->Description, x, y); }

bool VolatileGraphic(GraphicHandle graphic) {
  if (graphic == nullptr) {
    DebugPrint("%s Null pointer to the graphic specified\n", "VolatileGraphic()");
    return false;
  }
  return SurfaceOf(graphic)->Memory() == platform::MemoryKind::Video;
}

bool LostGraphic(GraphicHandle graphic) {
  if (graphic == nullptr) {
    DebugPrint("LostGraphic() Null pointer to the graphic specified\n");
    return false;
  }
  return SurfaceOf(graphic)->IsLost() == SurfaceResult::SurfaceLost;
}

tMemoryLocation SetGraphicMemory(tMemoryLocation location) {
  graphicMemory = location;
  return graphicMemory;
}

void ResetGraphicMemory() { graphicMemory = MemorySystem; }

tMemoryLocation GetGraphicMemory() { return graphicMemory; }

// ---- Pixel cursor ----

namespace {
inline int32_t CursorBytes() { return static_cast<int32_t>(DisplayPixelFormat().BytesPerPixel); }
inline void PlaceLine(LockedGraphic* locked) {
  locked->Line = locked->Description.Memory + static_cast<std::ptrdiff_t>(locked->Y) * locked->Description.Pitch;
}
inline void PlacePixel(LockedGraphic* locked) {
  locked->Pixel = locked->Line + static_cast<std::ptrdiff_t>(locked->X) * CursorBytes();
}
}  // namespace

void SelectPixelAt(LockedGraphic* locked, int32_t x, int32_t y) {
  locked->Y = y;
  PlaceLine(locked);
  locked->X = x;
  PlacePixel(locked);
}

void MovePixelXY(LockedGraphic* locked, int32_t dx, int32_t dy) { SelectPixelAt(locked, locked->X + dx, locked->Y + dy); }

int32_t GetPixelX(LockedGraphic* locked) { return locked->X; }

int32_t GetPixelY(LockedGraphic* locked) { return locked->Y; }

void SelectPixelX(LockedGraphic* locked, int32_t x) {
  locked->X = x;
  PlacePixel(locked);
}

void MovePixelX(LockedGraphic* locked, int32_t dx) { SelectPixelX(locked, locked->X + dx); }

void SelectPixelY(LockedGraphic* locked, int32_t y) {
  locked->Y = y;
  PlaceLine(locked);
  PlacePixel(locked);
}

void MovePixelY(LockedGraphic* locked, int32_t dy) { SelectPixelY(locked, locked->Y + dy); }

void NextPixelX(LockedGraphic* locked) {
  locked->Pixel += CursorBytes();
  ++locked->X;
}

void NextPixelY(LockedGraphic* locked) {
  locked->Line += locked->Description.Pitch;
  locked->Pixel += locked->Description.Pitch;
  ++locked->Y;
}

void NextPixelLine(LockedGraphic* locked, int32_t x) {
  locked->Line += locked->Description.Pitch;
  locked->X = x;
  PlacePixel(locked);
  ++locked->Y;
}

uint32_t GetPixelColor(LockedGraphic* locked) { return PixelFunctions().GetPixel(locked->Pixel); }

void SetPixelColor(LockedGraphic* locked, uint32_t pixel) { PixelFunctions().SetPixel(locked->Pixel, pixel); }

void GetPixelRGB(LockedGraphic* locked, uint32_t& red, uint32_t& green, uint32_t& blue) {
  const uint32_t pixel = PixelFunctions().GetPixel(locked->Pixel);
  red = GetRed(pixel);
  green = GetGreen(pixel);
  blue = GetBlue(pixel);
}

void SetPixelRGB(LockedGraphic* locked, uint32_t red, uint32_t green, uint32_t blue) {
  const tPixelFormatInfo& format = DisplayPixelFormat();
  const uint32_t pixel = ((red >> format.Red.Loss) << format.Red.Shift) |
                         ((green >> format.Green.Loss) << format.Green.Shift) |
                         ((blue >> format.Blue.Loss) << format.Blue.Shift);
  PixelFunctions().SetPixel(locked->Pixel, pixel);
}

uint32_t GetPixelColorAt(LockedGraphic* locked, int32_t x, int32_t y) {
  SelectPixelAt(locked, x, y);
  return GetPixelColor(locked);
}

void SetPixelColorAt(LockedGraphic* locked, int32_t x, int32_t y, uint32_t pixel) {
  SelectPixelAt(locked, x, y);
  SetPixelColor(locked, pixel);
}
