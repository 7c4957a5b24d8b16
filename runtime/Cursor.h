#pragma once

#include <cstdint>

#include "base/LumoExport.h"
#include "runtime/Blit.h"
#include "runtime/Graphics.h"

// The mouse cursor: the game's own graphic, drawn by the display at the
// cursor position less its hot spot, and the cursor position itself.

struct tCursor {
  GraphicHandle Graphic = nullptr;
  tBlitData DrawData;    // the colour key the display draws it with
  int32_t HotSpotX = 0;  // pixels from the graphic's top-left corner
  int32_t HotSpotY = 0;
};

using CursorHandle = tCursor*;

// Loads an image file as the cursor's graphic (hot spot 0, 0); null on failure.
LUMOGAME_API CursorHandle LoadCursor(const char* fileName);
// Frees the graphic and the cursor; a selected cursor is deselected first.
LUMOGAME_API void DestroyCursor(CursorHandle cursor);
// The cursor the display draws (null: none).
LUMOGAME_API void SelectCursor(CursorHandle cursor);
LUMOGAME_API void EnableCursor();
LUMOGAME_API void DisableCursor();
// The selected cursor's hot spot; -1, -1 without one.
LUMOGAME_API void GetCursorOffset(int32_t& x, int32_t& y);
LUMOGAME_API void SetCursorOffset(int32_t x, int32_t y);
// Moves the cursor to a position of the client area.
LUMOGAME_API void SetCursorPosition(int32_t x, int32_t y);
// The cursor in screen pixels: the mouse-emulating joystick's position, or
// the last mouse position; -1, -1 when a windowed game's cursor is outside
// the client area.
LUMOGAME_API void GetCursorPosition(int32_t& x, int32_t& y);

// ---- Inside the run-time system ----

// Makes a cursor of a graphic the cursor then owns (the loaders' common end);
// drawn with black as its transparent colour.
CursorHandle MakeCursor(GraphicHandle graphic);
// Destroys every cursor left (shutdown).
void DestroyAllCursors();
