#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The library's 256-byte texts: discovery datagrams, the connect request and
// the greeting. A text is NUL-terminated at the start of the block; its
// fields are separated by "|" and begin with the library's tag and version.

constexpr size_t kDatagramSize = 256;
using Datagram = std::array<char, kDatagramSize>;

constexpr const char* kGreetingField = "ServerToClientConnect";
// What an answer's name or info reads when its field is missing.
constexpr const char* kMissingField = "NETWORK ERROR";

// Commands of a request to a server.
constexpr int32_t kSearchCommand = 0;
constexpr int32_t kConnectCommand = 1;

// ---- Formatters ----

// A block whose text is the formatted one, zeros after its NUL (cut to 255
// characters).
Datagram FormatDatagram(const char* format, ...) __attribute__((format(printf, 1, 2)));
// A host search: "LumoConnection|0.01|0".
Datagram FormatSearchRequest();
// A connect request for a client listening on the port.
Datagram FormatConnectRequest(int32_t port);
// A server's answer with its name and info, cut to fit the block.
Datagram FormatAnswer(const char* name, const char* info);
// The server's greeting on a connection it opened back.
Datagram FormatGreeting();

// ---- Parsers ----

// The fields of a block's text (up to its NUL, or all of its bytes).
std::vector<std::string> SplitDatagram(const uint8_t* bytes, size_t size);
// The server's greeting: 256 bytes whose third field is exactly
// "ServerToClientConnect".
bool IsGreeting(const uint8_t* bytes, size_t size);

// A received datagram is taken only when it is a whole block with its
// text's NUL inside; null then, else why it is refused.
const char* RefuseDatagram(const uint8_t* bytes, size_t size);

// A server's answer as a search reads it: the third field is the name, the
// fourth the info; a missing one reads "NETWORK ERROR". The tag and version
// are not compared.
struct HostAnswer {
  std::string name;
  std::string info;
};
// Null when taken, else why the datagram is refused.
const char* ParseHostAnswer(const uint8_t* bytes, size_t size, HostAnswer& answer);

// A request as a server reads it: the third field is the command, the
// fourth the client's listening port (0 when missing).
struct ServerRequest {
  int32_t command = 0;
  int32_t port = 0;
};
// Null when taken, else why the datagram is refused: the command must be a
// decimal number, and a connect request must name a port 1..65535.
const char* ParseServerRequest(const uint8_t* bytes, size_t size, ServerRequest& request);
