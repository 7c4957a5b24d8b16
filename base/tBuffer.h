#pragma once

#include <cstdint>

class tString;

// A counted run of bytes without terminator, stored in a block of exactly its
// length. Every operation that produces a new value builds a fresh one; index
// arguments follow the rules of tString.
class tBuffer {
 public:
  tBuffer() = default;
  tBuffer(const tBuffer& other);
  tBuffer(tBuffer&& other) noexcept;
  explicit tBuffer(uint8_t byte);
  // Nothing for null bytes or a count below 1.
  tBuffer(const void* bytes, int32_t count);
  ~tBuffer();

  // Frees the bytes and zeroes the length.
  tBuffer& Empty();
  // Unlike tString's, this discards the old bytes: the buffer becomes a fresh
  // block of exactly newLength zero bytes. Answers the new length; 0 for a
  // length below 1 or a failed allocation, which leave the buffer empty.
  int32_t SetLength(int32_t newLength);

  // ---- Extraction (indexes are clamped; an empty range gives empty) ----
  tBuffer ByteAt(int32_t index) const;
  tBuffer UpTo(int32_t index) const;
  tBuffer From(int32_t index) const;
  tBuffer Range(int32_t first, int32_t last) const;
  tBuffer Left(int32_t count) const;
  tBuffer Right(int32_t count) const;

  // ---- Assignment (a text is taken without its terminator) ----
  tBuffer& operator=(const tBuffer& other);
  tBuffer& operator=(tBuffer&& other) noexcept;
  tBuffer& operator=(const tString& text);
  tBuffer& operator=(const char* text);
  tBuffer& AssignByte(uint8_t byte);
  tBuffer& AssignBytes(const void* bytes, int32_t count);

  // ---- Appending the same kinds ----
  tBuffer& operator+=(const tBuffer& other);
  tBuffer& operator+=(const tString& text);
  tBuffer& operator+=(const char* text);
  tBuffer& AppendByte(uint8_t byte);
  tBuffer& AppendBytes(const void* bytes, int32_t count);

  // ---- Insertion in place: UpTo(index - 1) + value + From(index) ----
  tBuffer& InsertAt(int32_t index, const tBuffer& value);
  tBuffer& InsertStringAt(int32_t index, const tString& value);
  tBuffer& InsertTextAt(int32_t index, const char* value);
  tBuffer& InsertByteAt(int32_t index, uint8_t value);
  tBuffer& InsertBytesAt(int32_t index, const void* value, int32_t count);

  // ---- Comparison over the shorter of the two lengths, so a buffer and its
  // own prefix compare equal; an empty side sorts last. Texts compare ignoring
  // case. The N forms compare at most that many bytes (negative counts as 0). ----
  int Compare(const tBuffer& other) const;
  int CompareString(const tString& other) const;
  int CompareText(const char* other) const;
  int CompareN(const tBuffer& other, int32_t count) const;
  int CompareStringN(const tString& other, int32_t count) const;
  int CompareTextN(const char* other, int32_t count) const;

  uint8_t* data = nullptr;  // owned bytes, null when empty
  int32_t length = 0;       // the block is exactly this long

 private:
  // Replaces the bytes first .. first + count - 1 with the run; the run may
  // lie inside this buffer.
  void Splice(int32_t first, int32_t count, const void* run, int32_t runLength);
  void Swap(tBuffer& other) noexcept;
};

tBuffer operator+(const tBuffer& left, const tBuffer& right);
tBuffer operator+(const tBuffer& left, const tString& right);
tBuffer operator+(const tBuffer& left, const char* right);
tBuffer operator+(const tBuffer& left, uint8_t right);
