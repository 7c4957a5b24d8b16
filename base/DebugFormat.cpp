#include "base/DebugFormat.h"

#include <cstdarg>
#include <cstdio>

#include "runtime/DebugLog.h"

namespace {

// Formats into a buffer of kFormatBufferSize bytes; longer output is cut.
struct FormattedText {
  char text[kFormatBufferSize];

  void Format(const char* format, va_list arguments) {
    if (format == nullptr) {
      text[0] = '\0';
      return;
    }
    if (std::vsnprintf(text, sizeof text, format, arguments) < 0) {
      text[0] = '\0';
    }
  }
};

}  // namespace

bool IsDebugMode() { return GetDebugMode() > 0; }

void DebugPrint(const char* format, ...) {
  if (GetDebugMode() == 0) {
    return;
  }
  FormattedText buffer;
  va_list arguments;
  va_start(arguments, format);
  buffer.Format(format, arguments);
  va_end(arguments);
  DebugMessage(buffer.text);
}

void ErrorPrint(const char* format, ...) {
  FormattedText buffer;
  va_list arguments;
  va_start(arguments, format);
  buffer.Format(format, arguments);
  va_end(arguments);
  ErrorMessage(buffer.text);
}

void WarningPrint(const char* format, ...) {
  FormattedText buffer;
  va_list arguments;
  va_start(arguments, format);
  buffer.Format(format, arguments);
  va_end(arguments);
  WarningMessage(buffer.text);
}
