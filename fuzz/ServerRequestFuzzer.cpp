// A request as a server reads it: the input is the datagram that arrived.
// The parser takes only whole blocks with an end to their text whose third
// field is a plain decimal number that fits 32 bits, and for a connect
// request a fourth field naming a port 1..65535; what it takes, formatted
// again by the library's own formatters, reads back the same.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz/FuzzCheck.h"
#include "network/Datagram.h"

namespace {

// The plain reading of the rule: digits only, a value that fits.
bool IsDecimal(const std::string& field, long long& value) {
  if (field.empty() || field.size() > 10 || field.find_first_not_of("0123456789") != std::string::npos) {
    return false;
  }
  value = std::stoll(field);
  return value <= INT32_MAX;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ServerRequest request;
  const bool taken = ParseServerRequest(data, size, request) == nullptr;
  const bool whole = size == kDatagramSize && std::memchr(data, '\0', size) != nullptr;
  if (!whole) {
    FuzzRequire(!taken, "a request that is not a whole text is taken");
    return 0;
  }
  const std::vector<std::string> fields = SplitDatagram(data, size);
  long long command = -1;
  long long port = -1;
  const bool hasCommand = fields.size() > 2 && IsDecimal(fields[2], command);
  const bool hasPort = fields.size() > 3 && IsDecimal(fields[3], port) && port >= 1 && port <= 65535;
  FuzzRequire(taken == (hasCommand && (command != kConnectCommand || hasPort)),
              "the request parser disagrees with the rule");
  if (!taken) {
    return 0;
  }
  FuzzRequire(request.command == command, "the command is not the third field");
  if (request.command == kConnectCommand) {
    FuzzRequire(request.port == port, "the port is not the fourth field");
    const Datagram again = FormatConnectRequest(request.port);
    ServerRequest reread;
    FuzzRequire(ParseServerRequest(reinterpret_cast<const uint8_t*>(again.data()), again.size(), reread) == nullptr &&
                    reread.command == kConnectCommand && reread.port == request.port,
                "a formatted connect request reads back otherwise");
  } else {
    FuzzRequire(request.port == 0, "a port is given for another command");
  }
  if (request.command == kSearchCommand) {
    const Datagram again = FormatSearchRequest();
    ServerRequest reread;
    FuzzRequire(ParseServerRequest(reinterpret_cast<const uint8_t*>(again.data()), again.size(), reread) == nullptr &&
                    reread.command == kSearchCommand,
                "a formatted search reads back otherwise");
  }
  return 0;
}
