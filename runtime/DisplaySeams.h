#pragma once

#include <cstdint>

#include "platform/Surface.h"
#include "runtime/Display.h"

// What the display takes from other run-time services: the failure box, the
// main window and the hooks of the screen update.

// Reports a display set-up failure through the failure box (logs the text).
void ReportDisplayFailure(const char* format, ...) __attribute__((format(printf, 1, 2)));
// The main window's client rectangle in screen coordinates.
platform::SurfaceRect ClientRectangleOnScreen(const tDisplaySettings& settings);

// ---- Hooks of the screen update, filled in as their services arrive ----

// Copies the background graphic into the render buffer with its blit record.
void DrawBackgroundGraphic(const tBackgroundState& background);
// Draws the next frame of every playing movie into its graphic.
void UpdatePlayingMovies(const char* caller);
// Sends the first mouse move to regions made or moved since the last frame.
void InitializeRegionsAtCursor();
// Draws the software cursor, when one is shown, into the render buffer.
void DrawSoftwareCursor();
