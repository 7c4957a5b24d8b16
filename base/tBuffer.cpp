#include "base/tBuffer.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstring>
#include <utility>

#include "base/TextUtils.h"
#include "base/tString.h"

namespace {

int32_t TextLength(const char* text) {
  const size_t length = StrLength(text);
  return length > static_cast<size_t>(INT32_MAX) ? INT32_MAX : static_cast<int32_t>(length);
}

int32_t Bound(int32_t count) { return std::max(count, 0); }

// Bytes against a text, ignoring case, over at most limit bytes; an absent
// side sorts last, as in CompareBytes.
int CompareRunNoCase(const uint8_t* bytes, int32_t byteCount, const char* text, int32_t textLength,
                     int32_t limit) {
  if (bytes == nullptr) {
    return text != nullptr ? 1 : 0;
  }
  if (text == nullptr) {
    return -1;
  }
  const int32_t compared = std::min({byteCount, textLength, limit});
  for (int32_t index = 0; index < compared; ++index) {
    const int difference =
        std::tolower(bytes[index]) - std::tolower(static_cast<unsigned char>(text[index]));
    if (difference != 0) {
      return difference;
    }
  }
  return 0;
}

}  // namespace

tBuffer::tBuffer(const tBuffer& other) : tBuffer(other.data, other.length) {}

tBuffer::tBuffer(tBuffer&& other) noexcept { Swap(other); }

tBuffer::tBuffer(uint8_t byte) : tBuffer(&byte, 1) {}

tBuffer::tBuffer(const void* bytes, int32_t count) {
  if (bytes == nullptr || count < 1) {
    return;
  }
  if (SetLength(count) == count) {
    std::memcpy(data, bytes, static_cast<size_t>(count));
  }
}

tBuffer::~tBuffer() { Empty(); }

tBuffer& tBuffer::Empty() {
  FreeBlock(data);
  length = 0;
  return *this;
}

int32_t tBuffer::SetLength(int32_t newLength) {
  if (newLength < 1) {
    Empty();
    return 0;
  }
  if (newLength == length) {
    return length;
  }
  length = 0;
  if (AllocBlock(data, static_cast<size_t>(newLength)) == nullptr) {
    return 0;
  }
  // Fresh bytes are zeroed, so no caller ever reads uninitialised memory.
  std::memset(data, 0, static_cast<size_t>(newLength));
  length = newLength;
  return length;
}

// ---- Extraction ----

tBuffer tBuffer::ByteAt(int32_t index) const {
  if (index < 0 || index >= length) {
    return {};
  }
  return tBuffer(data + index, 1);
}

tBuffer tBuffer::UpTo(int32_t index) const {
  if (index < 0 || length == 0) {
    return {};
  }
  return tBuffer(data, std::min(index, length - 1) + 1);
}

tBuffer tBuffer::From(int32_t index) const {
  const int32_t first = std::max(index, 0);
  if (first >= length) {
    return {};
  }
  return tBuffer(data + first, length - first);
}

tBuffer tBuffer::Range(int32_t first, int32_t last) const {
  first = std::max(first, 0);
  last = std::min(last, length - 1);
  if (first > last) {
    return {};
  }
  return tBuffer(data + first, last - first + 1);
}

tBuffer tBuffer::Left(int32_t count) const {
  if (count < 1 || length == 0) {
    return {};
  }
  return tBuffer(data, std::min(count, length));
}

tBuffer tBuffer::Right(int32_t count) const {
  const int32_t taken = std::min(count, length);
  if (taken < 1) {
    return {};
  }
  return tBuffer(data + length - taken, taken);
}

// ---- Assignment ----

tBuffer& tBuffer::operator=(const tBuffer& other) { return AssignBytes(other.data, other.length); }

tBuffer& tBuffer::operator=(tBuffer&& other) noexcept {
  if (this != &other) {
    Empty();
    Swap(other);
  }
  return *this;
}

tBuffer& tBuffer::operator=(const tString& text) { return AssignBytes(text.text, text.length); }

tBuffer& tBuffer::operator=(const char* text) { return AssignBytes(text, TextLength(text)); }

tBuffer& tBuffer::AssignByte(uint8_t byte) { return AssignBytes(&byte, 1); }

// A fresh value first: the bytes may be a part of this buffer.
tBuffer& tBuffer::AssignBytes(const void* bytes, int32_t count) {
  tBuffer fresh(bytes, count);
  Swap(fresh);
  return *this;
}

// ---- Appending and insertion ----

tBuffer& tBuffer::operator+=(const tBuffer& other) { return AppendBytes(other.data, other.length); }

tBuffer& tBuffer::operator+=(const tString& text) { return AppendBytes(text.text, text.length); }

tBuffer& tBuffer::operator+=(const char* text) { return AppendBytes(text, TextLength(text)); }

tBuffer& tBuffer::AppendByte(uint8_t byte) { return AppendBytes(&byte, 1); }

tBuffer& tBuffer::AppendBytes(const void* bytes, int32_t count) {
  Splice(length, 0, bytes, count);
  return *this;
}

tBuffer& tBuffer::InsertAt(int32_t index, const tBuffer& value) {
  Splice(index, 0, value.data, value.length);
  return *this;
}

tBuffer& tBuffer::InsertStringAt(int32_t index, const tString& value) {
  Splice(index, 0, value.text, value.length);
  return *this;
}

tBuffer& tBuffer::InsertTextAt(int32_t index, const char* value) {
  Splice(index, 0, value, TextLength(value));
  return *this;
}

tBuffer& tBuffer::InsertByteAt(int32_t index, uint8_t value) {
  Splice(index, 0, &value, 1);
  return *this;
}

tBuffer& tBuffer::InsertBytesAt(int32_t index, const void* value, int32_t count) {
  Splice(index, 0, value, count);
  return *this;
}

void tBuffer::Splice(int32_t first, int32_t count, const void* run, int32_t runLength) {
  if (run == nullptr || runLength < 1) {
    runLength = 0;
  }
  first = std::clamp(first, 0, length);
  count = std::clamp(count, 0, length - first);
  const int64_t total = static_cast<int64_t>(length) - count + runLength;
  if (total > INT32_MAX) {
    Empty();
    return;
  }
  tBuffer result;
  if (result.SetLength(static_cast<int32_t>(total)) == 0) {
    Swap(result);
    return;
  }
  const int32_t tail = length - first - count;
  if (first > 0) {
    std::memcpy(result.data, data, static_cast<size_t>(first));
  }
  if (runLength > 0) {
    std::memcpy(result.data + first, run, static_cast<size_t>(runLength));
  }
  if (tail > 0) {
    std::memcpy(result.data + first + runLength, data + first + count, static_cast<size_t>(tail));
  }
  Swap(result);
}

// ---- Comparison ----

int tBuffer::Compare(const tBuffer& other) const { return CompareN(other, INT32_MAX); }

int tBuffer::CompareString(const tString& other) const { return CompareStringN(other, INT32_MAX); }

int tBuffer::CompareText(const char* other) const { return CompareTextN(other, INT32_MAX); }

int tBuffer::CompareN(const tBuffer& other, int32_t count) const {
  const int32_t compared = std::min({length, other.length, Bound(count)});
  return CompareBytes(data, other.data, static_cast<size_t>(compared));
}

int tBuffer::CompareStringN(const tString& other, int32_t count) const {
  return CompareRunNoCase(data, length, other.text, other.length, Bound(count));
}

int tBuffer::CompareTextN(const char* other, int32_t count) const {
  return CompareRunNoCase(data, length, other, TextLength(other), Bound(count));
}

void tBuffer::Swap(tBuffer& other) noexcept {
  std::swap(data, other.data);
  std::swap(length, other.length);
}

tBuffer operator+(const tBuffer& left, const tBuffer& right) {
  tBuffer result(left);
  result += right;
  return result;
}

tBuffer operator+(const tBuffer& left, const tString& right) {
  tBuffer result(left);
  result += right;
  return result;
}

tBuffer operator+(const tBuffer& left, const char* right) {
  tBuffer result(left);
  result += right;
  return result;
}

tBuffer operator+(const tBuffer& left, uint8_t right) {
  tBuffer result(left);
  result.AppendByte(right);
  return result;
}
