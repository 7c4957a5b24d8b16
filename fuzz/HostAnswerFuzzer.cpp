// A server's answer as a search reads it: the input is the datagram that
// arrived. The parser takes exactly the whole blocks with an end to their
// text, gives the third and fourth field (or "NETWORK ERROR"), and what it
// gives, formatted again by the server's own formatter, reads back the same.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz/FuzzCheck.h"
#include "network/Datagram.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  HostAnswer answer;
  const bool taken = ParseHostAnswer(data, size, answer) == nullptr;
  const bool whole = size == kDatagramSize && std::memchr(data, '\0', size) != nullptr;
  FuzzRequire(taken == whole, "the answer parser takes what is not a whole text, or refuses one");
  if (!taken) {
    return 0;
  }
  const std::vector<std::string> fields = SplitDatagram(data, size);
  FuzzRequire(answer.name == (fields.size() > 2 ? fields[2] : kMissingField), "the name is not the third field");
  FuzzRequire(answer.info == (fields.size() > 3 ? fields[3] : kMissingField), "the info is not the fourth field");
  FuzzRequire(answer.name.size() < kDatagramSize && answer.info.size() < kDatagramSize,
              "a field is longer than a block's text");

  // The server's formatter cuts what does not fit; what fits reads back.
  const Datagram again = FormatAnswer(answer.name.c_str(), answer.info.c_str());
  FuzzRequire(again[kDatagramSize - 1] == '\0', "a formatted answer has no end inside its block");
  HostAnswer reread;
  FuzzRequire(ParseHostAnswer(reinterpret_cast<const uint8_t*>(again.data()), again.size(), reread) == nullptr,
              "a formatted answer is refused");
  const bool fits = std::strlen("LumoConnection|0.01||") + answer.name.size() + answer.info.size() < kDatagramSize;
  if (fits) {
    FuzzRequire(reread.name == answer.name && reread.info == answer.info, "a formatted answer reads back otherwise");
  }
  return 0;
}
