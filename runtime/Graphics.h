#pragma once

#include <cstdint>

#include "base/LumoExport.h"

// Graphics: off-screen surfaces in the display's pixel format, colour
// conversion between sRGB records, 0-255 channels and display pixel values,
// and pixel access through a locked graphic's cursor.

// A graphic, passed as an untyped handle; the render buffer is one too.
using GraphicHandle = void*;

// A colour of three bytes in the order blue, green, red.
struct sRGB {
  uint8_t Blue = 0;
  uint8_t Green = 0;
  uint8_t Red = 0;
};
static_assert(sizeof(sRGB) == 3, "sRGB is three bytes");

// Where new graphics are made.
enum tMemoryLocation : int32_t {
  MemorySystem = 0,      // system memory (the default)
  MemoryPageLocked = 1,  // system memory, page-locked while page locking is in force
  MemoryVideo = 2,       // video memory, or system memory when there is none left
};

// The 16 system colours.
enum tSystemColor : int32_t {
  SystemBlack = 0,
  SystemDarkRed,
  SystemDarkGreen,
  SystemDarkYellow,
  SystemDarkBlue,
  SystemDarkMagenta,
  SystemDarkCyan,
  SystemGray,
  SystemLightGray,
  SystemRed,
  SystemGreen,
  SystemYellow,
  SystemBlue,
  SystemMagenta,
  SystemCyan,
  SystemWhite,
};

// What a lock of a surface describes: its size, pitch and memory.
struct tSurfaceDescription {
  int32_t Width = 0;
  int32_t Height = 0;
  int32_t Pitch = 0;  // bytes from one row to the next
  uint8_t* Memory = nullptr;
};

// A locked graphic with its pixel cursor; made by LockGraphic and freed by
// UnlockGraphic. Pixel and Line are addresses inside the locked memory.
struct LockedGraphic {
  GraphicHandle Graphic = nullptr;
  tSurfaceDescription Description;
  uint8_t* Pixel = nullptr;
  uint8_t* Line = nullptr;
  int32_t X = 0;
  int32_t Y = 0;
};

// ---- Colours (on the display's pixel format) ----

LUMOGAME_API uint32_t GetColor(uint32_t red, uint32_t green, uint32_t blue);
LUMOGAME_API uint32_t ConvertRGB(const sRGB& color);
// One channel as a 0-255 value: the low bits the format lacks are 0.
LUMOGAME_API uint32_t GetRed(uint32_t pixel);
LUMOGAME_API uint32_t GetGreen(uint32_t pixel);
LUMOGAME_API uint32_t GetBlue(uint32_t pixel);
LUMOGAME_API void GetRGB(uint32_t pixel, uint32_t& red, uint32_t& green, uint32_t& blue);
LUMOGAME_API void ConvertColor(uint32_t pixel, sRGB& color);
LUMOGAME_API uint32_t GetSystemColor(tSystemColor color);
LUMOGAME_API const sRGB& GetSystemRGB(tSystemColor color);

// ---- Graphics ----

// A new graphic filled with the colour, made by the creation rule of
// SetGraphicMemory; null on failure.
LUMOGAME_API GraphicHandle CreateGraphic(int32_t width, int32_t height, const sRGB& color);
// The render buffer (GetBackground) is refused; the background graphic is
// forgotten when it is the one destroyed.
LUMOGAME_API void DestroyGraphic(GraphicHandle graphic);
// Page-locks the graphic while page locking is in force; null otherwise.
LUMOGAME_API GraphicHandle SelectGraphic(GraphicHandle graphic);
LUMOGAME_API GraphicHandle UnselectGraphic(GraphicHandle graphic);
// Gives 0, 0 for a null graphic.
LUMOGAME_API void GetGraphicSize(GraphicHandle graphic, int32_t& width, int32_t& height);
LUMOGAME_API void FillGraphic(GraphicHandle graphic, const sRGB& color);
// The pixel at x, y without the format's alpha bits; 0 outside the graphic.
LUMOGAME_API uint32_t GetGraphicPixel(GraphicHandle graphic, int32_t x, int32_t y);
// Writes the pixel without the alpha bits; answers what was written, 0 when
// nothing was (a coordinate outside is logged).
LUMOGAME_API uint32_t SetGraphicPixel(GraphicHandle graphic, int32_t x, int32_t y, uint32_t pixel);
LUMOGAME_API LockedGraphic* LockGraphic(GraphicHandle graphic);
LUMOGAME_API void UnlockGraphic(LockedGraphic* locked);
// Whether the game may lock the graphic for its own pixel work (the
// VideoDrawing and DirectBlending settings decide).
LUMOGAME_API bool SafeToLockGraphic(GraphicHandle graphic);
// The locked surface's format; a 5/5/5 format reports 15 bits. Origin is
// always 2 (top left).
LUMOGAME_API void GetPixelFormat(LockedGraphic* locked, uint32_t& redMask, uint32_t& greenMask,
                                 uint32_t& blueMask, uint32_t& alphaMask, uint32_t& bitsPerPixel,
                                 uint32_t& origin, uint32_t& pitch);
LUMOGAME_API uint8_t* GetPixelAddress(LockedGraphic* locked, int32_t x, int32_t y);
// True when the graphic lies in video memory (and may be lost).
LUMOGAME_API bool VolatileGraphic(GraphicHandle graphic);
LUMOGAME_API bool LostGraphic(GraphicHandle graphic);
LUMOGAME_API tMemoryLocation SetGraphicMemory(tMemoryLocation location);
LUMOGAME_API void ResetGraphicMemory();
LUMOGAME_API tMemoryLocation GetGraphicMemory();

// ---- Pixel cursor (no checks: the caller keeps inside the locked graphic) ----

LUMOGAME_API void SelectPixelAt(LockedGraphic* locked, int32_t x, int32_t y);
LUMOGAME_API void MovePixelXY(LockedGraphic* locked, int32_t dx, int32_t dy);
LUMOGAME_API int32_t GetPixelX(LockedGraphic* locked);
LUMOGAME_API int32_t GetPixelY(LockedGraphic* locked);
LUMOGAME_API void SelectPixelX(LockedGraphic* locked, int32_t x);
LUMOGAME_API void MovePixelX(LockedGraphic* locked, int32_t dx);
LUMOGAME_API void SelectPixelY(LockedGraphic* locked, int32_t y);
LUMOGAME_API void MovePixelY(LockedGraphic* locked, int32_t dy);
LUMOGAME_API void NextPixelX(LockedGraphic* locked);
LUMOGAME_API void NextPixelY(LockedGraphic* locked);
LUMOGAME_API void NextPixelLine(LockedGraphic* locked, int32_t x);
LUMOGAME_API uint32_t GetPixelColor(LockedGraphic* locked);
LUMOGAME_API void SetPixelColor(LockedGraphic* locked, uint32_t pixel);
LUMOGAME_API void GetPixelRGB(LockedGraphic* locked, uint32_t& red, uint32_t& green, uint32_t& blue);
LUMOGAME_API void SetPixelRGB(LockedGraphic* locked, uint32_t red, uint32_t green, uint32_t blue);
LUMOGAME_API uint32_t GetPixelColorAt(LockedGraphic* locked, int32_t x, int32_t y);
LUMOGAME_API void SetPixelColorAt(LockedGraphic* locked, int32_t x, int32_t y, uint32_t pixel);

// ---- Inside the run-time system ----

namespace platform {
class Surface;
}

// The surface behind a handle.
inline platform::Surface* SurfaceOf(GraphicHandle graphic) { return static_cast<platform::Surface*>(graphic); }
// The creation rule shared by every maker of graphics; the prefix starts its
// log lines. logCreation asks for the "Graphic created" line.
GraphicHandle MakeGraphic(const char* prefix, int32_t width, int32_t height, bool logCreation);
// GetGraphicSize with the caller's log prefix; false (and 0, 0) on failure.
bool GraphicSize(const char* prefix, GraphicHandle graphic, int32_t& width, int32_t& height);
// Packs the 16 system colours with the installed pixel format.
void RebuildSystemColors();
// Graphics made and not yet destroyed.
int32_t LiveGraphicCount();
