#include "network/Datagram.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

Datagram FormatDatagram(const char* format, ...) {
  Datagram block{};
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(block.data(), block.size(), format, arguments);
  va_end(arguments);
  return block;
}

std::vector<std::string> SplitDatagram(const uint8_t* bytes, size_t size) {
  const auto* text = reinterpret_cast<const char*>(bytes);
  const size_t length = bytes == nullptr ? 0 : strnlen(text, size);
  std::vector<std::string> fields;
  size_t start = 0;
  for (size_t at = 0; at <= length; ++at) {
    if (at == length || text[at] == '|') {
      fields.emplace_back(text + start, at - start);
      start = at + 1;
    }
  }
  return fields;
}

bool IsGreeting(const uint8_t* bytes, size_t size) {
  if (size != kDatagramSize) {
    return false;
  }
  const std::vector<std::string> fields = SplitDatagram(bytes, size);
  return fields.size() >= 3 && fields[2] == kGreetingField;
}
