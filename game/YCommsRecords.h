#pragma once

#include <cstddef>
#include <cstdint>

struct ConnectionData;
struct HostData;

// The records the comms layer shares with the game object and the menus.

// One player of a network game. It travels as 37 bytes: name (14 bytes),
// dotted address (15 bytes), u32 port, u32 connection id. Neither text
// field needs its NUL on the wire, so in memory each keeps one more byte
// and always ends in NUL.
struct ycPlayerRecord {
  char name[15] = {};
  char address[16] = {};
  uint32_t port = 0;
  // The connection the player joined on; only the server fills it in, and
  // it never travels (a peer's number is no handle of ours).
  ConnectionData* connection = nullptr;
};

constexpr size_t kPlayerNameWireSize = 14;
constexpr size_t kPlayerAddressWireSize = 15;
constexpr size_t kPlayerRecordWireSize = 37;

// The record's 37 wire bytes; the last field is the connection's number
// in the sender's own numbering (0 where it has none).
void EncodePlayerRecord(const ycPlayerRecord& record, uint32_t connectionId, uint8_t* wire);
// A record from 37 wire bytes: at most 14 name and 15 address characters,
// each field cut at its first NUL and terminated; no connection.
ycPlayerRecord DecodePlayerRecord(const uint8_t* wire);
// Copies at most capacity - 1 characters of a text into a field and ends it
// with NUL; a null text gives an empty field.
void CopyField(char* field, size_t capacity, const char* text);

// A server found by a search. It never travels: it keeps the found host.
struct ycServerRecord {
  char name[32] = {};
  char info[14] = {};
  char address[16] = {};   // dotted: at most 15 characters and NUL
  uint32_t ping = 0;       // milliseconds from the search's start to the answer
  uint32_t port = 0;       // the server's datagram port
  HostData* host = nullptr;
};

// A text message's bytes. A received block has a NUL after its bytes that
// the length does not count.
struct ycTextBlock {
  uint32_t length = 0;
  char* text = nullptr;
};

// The game's handlers of the players' comings and goings and their texts.
struct ycCommsCallBacks {
  void (*join)(ycPlayerRecord* player) = nullptr;
  void (*leave)(ycPlayerRecord* player) = nullptr;
  void (*text)(ycTextBlock* block) = nullptr;
  // The logic player that plays through the connection, or -1 when it has
  // none yet. The server uses it to drop an order a client gives in another
  // player's name; without it no order is checked.
  int32_t (*player)(ConnectionData* connection) = nullptr;
};

// The game's handlers of a host search.
struct ycSearchCallBacks {
  void (*found)(ycServerRecord* server) = nullptr;
  void (*down)(ConnectionData* connection) = nullptr;
};
