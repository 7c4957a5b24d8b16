#pragma once

#include <array>
#include <cstdint>

#include "base/LumoExport.h"
#include "runtime/Blit.h"
#include "runtime/Graphics.h"

// The frame background that BeginScreenUpdate lays into the render buffer
// before the game draws: a colour fill, a graphic, or both (the fill first).

LUMOGAME_API void SetBackgroundColor(const sRGB& color);
// Keeps the graphic and a copy of its blit record; a null graphic or record
// clears the background graphic. Destroying the graphic clears it too.
LUMOGAME_API void SetBackgroundGraphic(GraphicHandle graphic, const tBlitData* data);
// The kind bits: BackgroundFill (1) and BackgroundGraphic (2).
LUMOGAME_API void StartBackground(uint32_t kind);
LUMOGAME_API void StopBackground();

// ---- Inside the run-time system ----

// The blit record kept as its eight 32-bit words, and back; each field is
// moved on its own (an sRGB fills the low three bytes of its word).
std::array<uint32_t, 8> BlitDataWords(const tBlitData& data);
tBlitData BlitDataFromWords(const std::array<uint32_t, 8>& words);
