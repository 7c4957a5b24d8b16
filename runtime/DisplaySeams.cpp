#include "runtime/DisplaySeams.h"

#include <cstdarg>
#include <cstdio>

#include "base/DebugFormat.h"
#include "runtime/DebugLog.h"
#include "runtime/RTSState.h"

void ReportDisplayFailure(const char* format, ...) {
  char text[kFormatBufferSize];
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(text, sizeof text, format, arguments);
  va_end(arguments);
  FailureBox("%s", text);
}

platform::SurfaceRect ClientRectangleOnScreen(const tDisplaySettings& settings) {
  // The window has no frame of its own, so its client area starts at its
  // corner; before the window exists, at ScreenLeft and ScreenTop.
  const platform::Window* window = RTS().mainWindow.get();
  const int32_t left = window != nullptr ? window->Left() : settings.ScreenLeft;
  const int32_t top = window != nullptr ? window->Top() : settings.ScreenTop;
  return {left, top, left + settings.ScreenWidth, top + settings.ScreenHeight};
}

// The screen update's hooks live with their services: DrawBackgroundGraphic
// with the background (runtime/Background.cpp), UpdatePlayingMovies with the
// movie list (runtime/Movies.cpp), InitializeRegionsAtCursor with the mouse
// dispatch (runtime/Mouse.cpp), DrawSoftwareCursor with the cursor
// (runtime/Cursor.cpp).
