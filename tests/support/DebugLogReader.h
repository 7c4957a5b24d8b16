#pragma once

#include <fstream>
#include <sstream>
#include <string>

namespace testing_support {

// The bytes of the debug log "Debug.txt" in the test's working folder, as
// stored (every line ends with carriage return and line feed).
inline std::string ReadDebugLogBytes() {
  std::ifstream file("Debug.txt", std::ios::binary);
  std::ostringstream contents;
  contents << file.rdbuf();
  return contents.str();
}

// The debug log's text with each stored carriage return and line feed read
// back as the line feed that was logged.
inline std::string ReadDebugLog() {
  const std::string bytes = ReadDebugLogBytes();
  std::string text;
  text.reserve(bytes.size());
  for (size_t at = 0; at < bytes.size(); ++at) {
    if (bytes[at] == '\r' && at + 1 < bytes.size() && bytes[at + 1] == '\n') {
      continue;
    }
    text += bytes[at];
  }
  return text;
}

}  // namespace testing_support
