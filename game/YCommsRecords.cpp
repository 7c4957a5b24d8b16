#include "game/YCommsRecords.h"

#include <cstring>

#include "game/CommsBytes.h"

namespace {

// Copies a wire field of `size` bytes, which need not end in NUL, into a
// field of size + 1 bytes.
void ParseWireText(char* field, const uint8_t* wire, size_t size) {
  size_t length = 0;
  while (length < size && wire[length] != 0) {
    ++length;
  }
  std::memcpy(field, wire, length);
  std::memset(field + length, 0, size + 1 - length);
}

void WriteWireText(uint8_t* wire, const char* field, size_t size) {
  const size_t length = strnlen(field, size);
  std::memcpy(wire, field, length);
  std::memset(wire + length, 0, size - length);
}

}  // namespace

void EncodePlayerRecord(const ycPlayerRecord& record, uint32_t connectionId, uint8_t* wire) {
  WriteWireText(wire, record.name, kPlayerNameWireSize);
  WriteWireText(wire + kPlayerNameWireSize, record.address, kPlayerAddressWireSize);
  StoreU32(wire + 29, record.port);
  StoreU32(wire + 33, connectionId);
}

ycPlayerRecord DecodePlayerRecord(const uint8_t* wire) {
  ycPlayerRecord record;
  ParseWireText(record.name, wire, kPlayerNameWireSize);
  ParseWireText(record.address, wire + kPlayerNameWireSize, kPlayerAddressWireSize);
  record.port = LoadU32(wire + 29);
  return record;
}

void CopyField(char* field, size_t capacity, const char* text) {
  if (capacity == 0) {
    return;
  }
  const size_t length = text != nullptr ? strnlen(text, capacity - 1) : 0;
  if (length > 0) {
    std::memcpy(field, text, length);
  }
  field[length] = 0;
}
