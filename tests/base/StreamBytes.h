#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "base/LumoMemoryStream.h"

// Memory streams over byte vectors, for the stream and object record tests.
namespace stream_testing {

using Bytes = std::vector<uint8_t>;

inline Bytes BytesOf(std::initializer_list<int> values) {
  Bytes bytes;
  for (int value : values) {
    bytes.push_back(static_cast<uint8_t>(value));
  }
  return bytes;
}

inline Bytes BytesOfText(const std::string& text) { return Bytes(text.begin(), text.end()); }

inline Bytes Join(Bytes first, const Bytes& second) {
  first.insert(first.end(), second.begin(), second.end());
  return first;
}

// A growing stream that owns its block; Bytes() answers what was written.
class ByteWriter {
 public:
  ByteWriter() {
    EXPECT_TRUE(stream.OpenNew(16, 1, 0));
    EXPECT_EQ(stream.SetGrowth(64), 64u);
  }
  Bytes Written() const { return Bytes(stream.buffer, stream.buffer + stream.position); }

  LumoMemoryStream stream;
};

// A stream that borrows a copy of the given bytes.
class ByteReader {
 public:
  explicit ByteReader(Bytes data) : bytes(std::move(data)) {
    // A stream needs a block even for no bytes; one spare byte stays unread.
    const uint32_t size = static_cast<uint32_t>(bytes.size());
    bytes.push_back(0);
    EXPECT_TRUE(size == 0 || stream.OpenBuffer(bytes.data(), size, 1, 0));
  }

  Bytes bytes;
  LumoMemoryStream stream;
};

}  // namespace stream_testing
