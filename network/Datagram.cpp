#include "network/Datagram.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {

// A field of decimal digits that fits a 32-bit number; a sign, spaces or
// anything else makes it no number.
bool ReadDecimal(const std::string& field, int32_t& value) {
  if (field.empty() || field.size() > 10) {
    return false;
  }
  int64_t number = 0;
  for (const char digit : field) {
    if (digit < '0' || digit > '9') {
      return false;
    }
    number = number * 10 + (digit - '0');
  }
  if (number > INT32_MAX) {
    return false;
  }
  value = static_cast<int32_t>(number);
  return true;
}

}  // namespace

Datagram FormatDatagram(const char* format, ...) {
  Datagram block{};
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(block.data(), block.size(), format, arguments);
  va_end(arguments);
  return block;
}

Datagram FormatSearchRequest() { return FormatDatagram("LumoConnection|0.01|%d", kSearchCommand); }

Datagram FormatConnectRequest(int32_t port) {
  return FormatDatagram("LumoConnection|0.01|%d|%d", kConnectCommand, port);
}

Datagram FormatAnswer(const char* name, const char* info) {
  return FormatDatagram("LumoConnection|0.01|%s|%s", name != nullptr ? name : "", info != nullptr ? info : "");
}

Datagram FormatGreeting() { return FormatDatagram("LumoConnection|0.01|%s", kGreetingField); }

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

const char* RefuseDatagram(const uint8_t* bytes, size_t size) {
  if (bytes == nullptr || size != kDatagramSize) {
    return "not 256 bytes";
  }
  if (std::memchr(bytes, '\0', size) == nullptr) {
    return "no end to its text";
  }
  return nullptr;
}

const char* ParseHostAnswer(const uint8_t* bytes, size_t size, HostAnswer& answer) {
  if (const char* refusal = RefuseDatagram(bytes, size)) {
    return refusal;
  }
  const std::vector<std::string> fields = SplitDatagram(bytes, size);
  answer.name = fields.size() > 2 ? fields[2] : kMissingField;
  answer.info = fields.size() > 3 ? fields[3] : kMissingField;
  return nullptr;
}

const char* ParseServerRequest(const uint8_t* bytes, size_t size, ServerRequest& request) {
  if (const char* refusal = RefuseDatagram(bytes, size)) {
    return refusal;
  }
  const std::vector<std::string> fields = SplitDatagram(bytes, size);
  if (fields.size() < 3 || !ReadDecimal(fields[2], request.command)) {
    return "no command";
  }
  request.port = 0;
  if (request.command != kConnectCommand) {
    return nullptr;
  }
  if (fields.size() < 4 || !ReadDecimal(fields[3], request.port) || request.port < 1 || request.port > 65535) {
    request.port = 0;
    return "no port to connect to";
  }
  return nullptr;
}
