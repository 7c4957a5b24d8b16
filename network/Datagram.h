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

// A block whose text is the formatted one, zeros after its NUL (cut to 255
// characters).
Datagram FormatDatagram(const char* format, ...) __attribute__((format(printf, 1, 2)));
// The fields of a block's text (up to its NUL, or all of its bytes).
std::vector<std::string> SplitDatagram(const uint8_t* bytes, size_t size);
// The server's greeting: 256 bytes whose third field is exactly
// "ServerToClientConnect".
bool IsGreeting(const uint8_t* bytes, size_t size);
