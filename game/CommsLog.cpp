#include "game/CommsLog.h"

#include <cstdarg>
#include <cstdio>

#include "base/DebugFormat.h"
#include "runtime/DebugLog.h"

namespace {

void Write(const char* format, va_list arguments) {
  char text[kFormatBufferSize];
  std::vsnprintf(text, sizeof text, format, arguments);
  DebugPrint("%s", text);
}

}  // namespace

void CommsTrace(const char* format, ...) {
  if (GetDebugLevel() != DebugLevelMaximum) {
    return;
  }
  va_list arguments;
  va_start(arguments, format);
  Write(format, arguments);
  va_end(arguments);
}

void CommsFault(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  Write(format, arguments);
  va_end(arguments);
}
