#include <algorithm>
#include <cstdio>
#include <string>

#include "fuzz/seeds/Seeds.h"
#include "network/Datagram.h"

namespace {

std::string Bytes(const Datagram& block) { return std::string(block.begin(), block.end()); }

// A 256-byte block holding a text and zeros after it.
std::string Block(const std::string& text) {
  std::string block(256, '\0');
  block.replace(0, std::min(text.size(), block.size()), text.substr(0, 256));
  return block;
}

// The input of the read target: cuts, read sizes, then the bytes sent.
std::string ReadInput(const std::string& cuts, const std::string& sizes, const std::string& stream) {
  return std::string(1, static_cast<char>(cuts.size() - 1)) + cuts + std::string(1, static_cast<char>(sizes.size() - 1)) +
         sizes + stream;
}

}  // namespace

void WriteGreetingSeeds(const std::filesystem::path& folder) {
  WriteSeed(folder, "greeting", Block("LumoConnection|0.01|ServerToClientConnect"));
  WriteSeed(folder, "greeting-more-fields", Block("LumoConnection|0.01|ServerToClientConnect|extra"));
  WriteSeed(folder, "answer", Block("LumoConnection|0.01|Server name|Server info"));
  WriteSeed(folder, "connect-request", Block("LumoConnection|0.01|1|40000"));
  WriteSeed(folder, "greeting-short", Block("LumoConnection|0.01|ServerToClientConnect").substr(0, 100));
  WriteSeed(folder, "no-terminator", std::string(256, '|'));
}

void WriteConnectionReadSeeds(const std::filesystem::path& folder) {
  std::string comms;
  // A join (type 0 and a 37-byte record) and a text message (type 3, length 5).
  comms += std::string(1, '\0') + std::string("Player") + std::string(31, '\0');
  comms += std::string("\x03\x05\x00\x00\x00", 5) + "hello";
  WriteSeed(folder, "whole-messages", ReadInput(std::string("\xFF", 1), std::string("\x01\x25\x01\x04\x05", 5), comms));
  WriteSeed(folder, "byte-by-byte", ReadInput(std::string("\x00", 1), std::string("\x01\x25", 2), comms));
  WriteSeed(folder, "reads-past-the-end", ReadInput(std::string("\x03\x07", 2), std::string("\x40", 1), comms));
  WriteSeed(folder, "empty-stream", ReadInput(std::string("\x01", 1), std::string("\x01", 1), ""));
}

void WriteHostAnswerSeeds(const std::filesystem::path& folder) {
  WriteSeed(folder, "answer", Bytes(FormatAnswer("Terrace", "4 players")));
  WriteSeed(folder, "answer-empty-info", Bytes(FormatAnswer("<noname>", "")));
  WriteSeed(folder, "answer-bars-in-name", Bytes(FormatAnswer("Terrace|rampage", "info|more")));
  WriteSeed(folder, "answer-cut", Bytes(FormatAnswer(std::string(300, 'n').c_str(), std::string(300, 'i').c_str())));
  WriteSeed(folder, "answer-short", Bytes(FormatAnswer("Terrace", "4 players")).substr(0, 200));
  WriteSeed(folder, "greeting", Bytes(FormatGreeting()));
  WriteSeed(folder, "search", Bytes(FormatSearchRequest()));
}

void WriteServerRequestSeeds(const std::filesystem::path& folder) {
  WriteSeed(folder, "search", Bytes(FormatSearchRequest()));
  WriteSeed(folder, "connect", Bytes(FormatConnectRequest(40000)));
  WriteSeed(folder, "connect-port-1", Bytes(FormatConnectRequest(1)));
  WriteSeed(folder, "connect-port-65536", Bytes(FormatConnectRequest(65536)));
  WriteSeed(folder, "connect-long", Bytes(FormatConnectRequest(40000)) + std::string(1, '\0'));
  WriteSeed(folder, "answer", Bytes(FormatAnswer("Terrace", "4 players")));
  WriteSeed(folder, "no-terminator", std::string(256, '7'));
}
