#include <algorithm>
#include <cstdint>
#include <string>

#include "fuzz/seeds/Seeds.h"

// Seeds of the comms message readers: whole games' worth of messages as a
// server or a client meets them, sent whole, byte by byte, and cut oddly.

namespace {

std::string U16(uint16_t value) { return {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)}; }

std::string U32(uint32_t value) {
  std::string bytes;
  for (int shift = 0; shift < 32; shift += 8) {
    bytes += static_cast<char>((value >> shift) & 0xFF);
  }
  return bytes;
}

std::string Record(uint8_t type, const std::string& name) {
  std::string message(1, static_cast<char>(type));
  message += name.substr(0, 14) + std::string(14 - std::min<size_t>(name.size(), 14), '\0');
  message += std::string("127.0.0.1") + std::string(6, '\0');
  return message + U32(0) + U32(0);
}

std::string Text(const std::string& text) { return std::string(1, '\x03') + U32(static_cast<uint32_t>(text.size())) + text; }

std::string Frame(uint32_t frame, const std::string& orders, uint32_t count) {
  return std::string(1, '\x05') + U32(frame) + U32(count) + orders;
}

std::string Order(uint16_t kind, const std::string& payload) {
  return U16(kind) + U32(static_cast<uint32_t>(payload.size())) + payload;
}

// The input: the cut count byte, the cut lengths, then the stream.
std::string Cut(const std::string& cuts, const std::string& stream) {
  return std::string(1, static_cast<char>(cuts.size() - 1)) + cuts + stream;
}

std::string Frames(uint32_t count) {
  std::string frames;
  for (uint32_t frame = 0; frame < count; ++frame) {
    frames += Frame(frame, Order(5, U32(2) + "goto") + Order(0, ""), 2);
  }
  return frames;
}

}  // namespace

void WriteCommsServerReaderSeeds(const std::filesystem::path& folder) {
  const std::string game = Record(0, "client") + Text("hello") + Text("") + Frames(4) + Record(1, "client");
  WriteSeed(folder, "lobby-and-frames", Cut("\xFF", game));
  WriteSeed(folder, "byte-by-byte", Cut(std::string(1, '\0'), game));
  WriteSeed(folder, "odd-cuts", Cut("\x02\x24\x06", game));
  WriteSeed(folder, "second-join-and-latency", Cut("\xFF", Record(0, "a") + Record(0, "a") + std::string("\x04") + U32(6)));
  WriteSeed(folder, "frames-out-of-order", Cut("\xFF", Record(0, "a") + Frame(1, "", 0) + Frame(0, "", 0)));
  WriteSeed(folder, "text-too-long", Cut("\xFF", Record(0, "a") + std::string("\x03") + U32(0xFFFFFFFFu)));
  WriteSeed(folder, "count-too-big", Cut("\xFF", Record(0, "a") + Frame(0, "", 1000000000u)));
  WriteSeed(folder, "frame-before-join", Cut("\xFF", Frames(2)));
}

void WriteCommsClientReaderSeeds(const std::filesystem::path& folder) {
  const std::string game = Text("lobby") + Record(0, "other") + std::string("\x04") + U32(2) + Frames(6) +
                           Record(1, "other");
  WriteSeed(folder, "lobby-and-frames", Cut("\xFF", game));
  WriteSeed(folder, "byte-by-byte", Cut(std::string(1, '\0'), game));
  WriteSeed(folder, "odd-cuts", Cut("\x04\x25\x01", game));
  WriteSeed(folder, "latency-twice", Cut("\xFF", std::string("\x04") + U32(2) + std::string("\x04") + U32(12) + Frames(3)));
  WriteSeed(folder, "payload-too-long", Cut("\xFF", std::string("\x04") + U32(0) + Frame(0, U16(5) + U32(0x80000000u), 1)));
  WriteSeed(folder, "unknown-types", Cut("\xFF", std::string("\x02\x09\xFF") + Text("x")));
}
