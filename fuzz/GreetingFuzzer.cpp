// The server's greeting: the input is the block a server sent. The check must
// agree with a plain reading of the rule (256 bytes; the text up to its NUL;
// its third "|" field exactly "ServerToClientConnect"), and the fields of the
// text must join back to the text.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz/FuzzCheck.h"
#include "network/Datagram.h"

namespace {

bool ThirdFieldIsTheGreeting(const std::string& text) {
  const size_t first = text.find('|');
  if (first == std::string::npos) {
    return false;
  }
  const size_t second = text.find('|', first + 1);
  if (second == std::string::npos) {
    return false;
  }
  const size_t end = text.find('|', second + 1);
  const std::string third = text.substr(second + 1, end == std::string::npos ? std::string::npos : end - second - 1);
  return third == "ServerToClientConnect";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), data == nullptr ? 0 : strnlen(reinterpret_cast<const char*>(data), size));
  const bool expected = size == kDatagramSize && ThirdFieldIsTheGreeting(text);
  FuzzRequire(IsGreeting(data, size) == expected, "the greeting check disagrees with the rule");

  const std::vector<std::string> fields = SplitDatagram(data, size);
  std::string joined;
  for (size_t index = 0; index < fields.size(); ++index) {
    joined += (index > 0 ? "|" : "") + fields[index];
  }
  FuzzRequire(joined == text, "the fields do not join back to the text");
  return 0;
}
