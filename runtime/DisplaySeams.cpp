#include "runtime/DisplaySeams.h"

#include <cstdarg>
#include <cstdio>

#include "base/DebugFormat.h"
#include "runtime/DebugLog.h"

void ReportDisplayFailure(const char* format, ...) {
  char text[kFormatBufferSize];
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(text, sizeof text, format, arguments);
  va_end(arguments);
  FailureBox("%s", text);
}

platform::SurfaceRect ClientRectangleOnScreen(const tDisplaySettings& settings) {
  // The main window is not connected yet: the client area at ScreenLeft and
  // ScreenTop.
  return {settings.ScreenLeft, settings.ScreenTop, settings.ScreenLeft + settings.ScreenWidth,
          settings.ScreenTop + settings.ScreenHeight};
}

// The blits of graphics, the movies, the regions and the cursor are not
// connected yet: each hook does nothing until its service exists.
void DrawBackgroundGraphic(const tBackgroundState& /*background*/) {}

void UpdatePlayingMovies(const char* /*caller*/) {}

void InitializeRegionsAtCursor() {}

void DrawSoftwareCursor() {}
