#pragma once

#include <cstdint>

// A growable NUL-terminated text. The buffer grows in steps of 32 bytes and
// every byte behind the text is 0, so code that writes into the buffer directly
// (then calls SyncLength) always finds a terminator. An empty string holds no
// buffer at all. Every operation that produces a new value builds a fresh one;
// comparisons and searches ignore case (the C locale).
class tString {
 public:
  tString() = default;
  tString(const tString& other);
  tString(tString&& other) noexcept;
  // Null or "" gives an empty string.
  tString(const char* source);  // NOLINT: texts convert implicitly, as literals do
  // NUL gives an empty string.
  explicit tString(char character);
  ~tString();

  // Frees the buffer and zeroes both counts.
  tString& Empty();
  // The core of every change: keeps the text up to the smaller of the old and
  // new lengths and zeroes the rest of the buffer. A length below 1 empties
  // the string and answers false; so does a failed allocation.
  bool SetLength(int32_t newLength);
  // Recomputes the length after the buffer was written directly.
  void SyncLength();
  tString& MakeUpper();

  // ---- Assignment and appending (null, "" or NUL give empty / add nothing) ----
  tString& operator=(const tString& other);
  tString& operator=(tString&& other) noexcept;
  tString& operator=(const char* source);
  tString& operator=(char character);
  tString& Assign(const tString& other) { return *this = other; }
  tString& AssignText(const char* source) { return *this = source; }
  tString& AssignChar(char character) { return *this = character; }
  tString& operator+=(const tString& other);
  tString& operator+=(const char* source);
  tString& operator+=(char character);
  tString& Append(const tString& other) { return *this += other; }
  tString& AppendText(const char* source) { return *this += source; }
  tString& AppendChar(char character) { return *this += character; }

  // ---- Extraction (indexes are clamped; an empty range gives empty) ----
  tString CharAt(int32_t index) const;
  // Characters 0 to index inclusive.
  tString UpTo(int32_t index) const;
  // From index to the end.
  tString From(int32_t index) const;
  // Characters first to last inclusive.
  tString Range(int32_t first, int32_t last) const;
  tString Left(int32_t characters) const;
  tString Right(int32_t characters) const;

  // ---- Insertion in place: UpTo(index - 1) + value + From(index) ----
  tString& InsertAt(int32_t index, const tString& value);
  tString& InsertTextAt(int32_t index, const char* value);
  tString& InsertCharAt(int32_t index, char value);

  // ---- Case-insensitive comparison: negative, 0 or positive. An empty
  // string has no text and so sorts after every non-empty one. ----
  int Compare(const tString& other) const;
  int CompareText(const char* other) const;
  int CompareChar(char character) const;
  // At most characters (negative counts as 0) compared with the one-character text.
  int CompareCharN(char character, int32_t characters) const;

  // ---- Search: the first matching position or -1 ----
  int32_t Find(const tString& pattern) const;
  int32_t FindText(const char* pattern) const;
  // Not a search: 0 when the first character matches, else -1.
  int32_t FindChar(char character) const;

  // ---- Replacement of the first match only; no match changes nothing ----
  tString& RemoveFirst(const tString& pattern);
  tString& RemoveFirstText(const char* pattern);
  tString& ReplaceFirst(const tString& pattern, const tString& replacement);
  tString& ReplaceFirstText(const char* pattern, const char* replacement);
  tString& ReplaceFirstChar(char character, const char* replacement);

  // A string of the first count bytes at run (count below 1 gives empty).
  static tString FromRun(const char* run, int32_t count);

  char* text = nullptr;   // owned buffer, null when empty
  uint32_t capacity = 0;  // buffer size in bytes, a multiple of 32
  int32_t length = 0;     // characters before the terminator

 private:
  // Appends count bytes; the run may lie inside this string's own buffer.
  void AppendRun(const char* run, int32_t count);
  // Replaces the characters first .. first + count - 1 with the run.
  void Splice(int32_t first, int32_t count, const char* run, int32_t runLength);
  void Swap(tString& other) noexcept;
};

tString operator+(const tString& left, const tString& right);
tString operator+(const tString& left, const char* right);
tString operator+(const tString& left, char right);

inline bool operator==(const tString& left, const tString& right) { return left.Compare(right) == 0; }
inline bool operator==(const tString& left, const char* right) { return left.CompareText(right) == 0; }
