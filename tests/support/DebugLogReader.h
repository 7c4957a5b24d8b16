#pragma once

#include <fstream>
#include <sstream>
#include <string>

namespace testing_support {

// The contents of the debug log "Debug.txt" in the test's working folder.
inline std::string ReadDebugLog() {
  std::ifstream file("Debug.txt", std::ios::binary);
  std::ostringstream contents;
  contents << file.rdbuf();
  return contents.str();
}

}  // namespace testing_support
