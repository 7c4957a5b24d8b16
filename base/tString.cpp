#include "base/tString.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstring>
#include <utility>

#include "base/TextUtils.h"

namespace {

// The buffer for a text of length characters: length + 32 rounded down to a
// multiple of 32, so there is always room for the terminator.
uint32_t CapacityFor(int32_t length) {
  return (static_cast<uint32_t>(length) + 32u) & ~31u;
}

// Length of a text as a signed 32-bit count; texts of 2 GiB and more are
// beyond any string and count as too long.
int32_t TextLength(const char* source) {
  const size_t length = StrLength(source);
  return length > static_cast<size_t>(INT32_MAX) ? INT32_MAX : static_cast<int32_t>(length);
}

int Fold(char character) { return std::tolower(static_cast<unsigned char>(character)); }

// True when the count characters at text and at pattern agree ignoring case.
bool SameNoCase(const char* text, const char* pattern, int32_t count) {
  for (int32_t index = 0; index < count; ++index) {
    if (Fold(text[index]) != Fold(pattern[index])) {
      return false;
    }
  }
  return true;
}

}  // namespace

tString::tString(const tString& other) {
  if (other.text == nullptr) {
    return;
  }
  if (AllocBlock(text, other.capacity) == nullptr) {
    return;
  }
  std::memcpy(text, other.text, other.capacity);
  capacity = other.capacity;
  length = other.length;
}

tString::tString(tString&& other) noexcept { Swap(other); }

tString::tString(const char* source) { AppendRun(source, TextLength(source)); }

tString::tString(char character) { AppendRun(&character, character != '\0' ? 1 : 0); }

tString::~tString() { Empty(); }

tString& tString::Empty() {
  FreeBlock(text);
  capacity = 0;
  length = 0;
  return *this;
}

bool tString::SetLength(int32_t newLength) {
  if (newLength == length) {
    return true;
  }
  if (newLength < 1) {
    Empty();
    return false;
  }
  const uint32_t newCapacity = CapacityFor(newLength);
  if (newCapacity != capacity) {
    if (ReallocBlock(text, newCapacity) == nullptr) {
      // The old buffer is gone with the failed reallocation.
      capacity = 0;
      length = 0;
      return false;
    }
    capacity = newCapacity;
  }
  const int32_t kept = std::min(length, newLength);
  std::memset(text + kept, 0, capacity - static_cast<uint32_t>(kept));
  length = newLength;
  return true;
}

void tString::SyncLength() {
  if (text == nullptr) {
    return;
  }
  size_t found = strnlen(text, capacity);
  if (found == capacity) {
    // Written up to the last byte: the terminator's place is taken back.
    found = capacity - 1;
  }
  length = static_cast<int32_t>(found);
  if (length == 0) {
    Empty();
    return;
  }
  std::memset(text + length, 0, capacity - static_cast<uint32_t>(length));
}

tString& tString::MakeUpper() {
  StrUpper(text);
  return *this;
}

// ---- Assignment and appending ----

tString& tString::operator=(const tString& other) {
  if (this != &other) {
    tString copy(other);
    Swap(copy);
  }
  return *this;
}

tString& tString::operator=(tString&& other) noexcept {
  if (this != &other) {
    Empty();
    Swap(other);
  }
  return *this;
}

// A fresh value first: the source may be a part of this string's own text.
tString& tString::operator=(const char* source) {
  tString fresh(source);
  Swap(fresh);
  return *this;
}

tString& tString::operator=(char character) {
  tString fresh(character);
  Swap(fresh);
  return *this;
}

tString& tString::operator+=(const tString& other) {
  AppendRun(other.text, other.length);
  return *this;
}

tString& tString::operator+=(const char* source) {
  AppendRun(source, TextLength(source));
  return *this;
}

tString& tString::operator+=(char character) {
  AppendRun(&character, character != '\0' ? 1 : 0);
  return *this;
}

void tString::AppendRun(const char* run, int32_t count) {
  if (run == nullptr || count < 1) {
    return;
  }
  if (text != nullptr && run >= text && run < text + capacity) {
    // Growing may move the buffer the run lies in.
    const tString copy = FromRun(run, count);
    AppendRun(copy.text, copy.length);
    return;
  }
  const int64_t total = static_cast<int64_t>(length) + count;
  if (total > INT32_MAX) {
    Empty();
    return;
  }
  const int32_t oldLength = length;
  if (!SetLength(static_cast<int32_t>(total))) {
    return;
  }
  std::memcpy(text + oldLength, run, static_cast<size_t>(count));
}

tString tString::FromRun(const char* run, int32_t count) {
  tString result;
  if (run != nullptr && count >= 1 && result.SetLength(count)) {
    std::memcpy(result.text, run, static_cast<size_t>(count));
  }
  return result;
}

// ---- Extraction ----

tString tString::CharAt(int32_t index) const {
  if (index < 0 || index >= length) {
    return {};
  }
  return FromRun(text + index, 1);
}

tString tString::UpTo(int32_t index) const {
  if (index < 0 || length == 0) {
    return {};
  }
  return FromRun(text, std::min(index, length - 1) + 1);
}

tString tString::From(int32_t index) const {
  const int32_t first = std::max(index, 0);
  if (first >= length) {
    return {};
  }
  return FromRun(text + first, length - first);
}

tString tString::Range(int32_t first, int32_t last) const {
  first = std::max(first, 0);
  last = std::min(last, length - 1);
  if (first > last) {
    return {};
  }
  return FromRun(text + first, last - first + 1);
}

tString tString::Left(int32_t characters) const {
  if (characters < 1 || length == 0) {
    return {};
  }
  return FromRun(text, std::min(characters, length));
}

tString tString::Right(int32_t characters) const {
  const int32_t taken = std::min(characters, length);
  if (taken < 1) {
    return {};
  }
  return FromRun(text + length - taken, taken);
}

// ---- Insertion and replacement ----

void tString::Splice(int32_t first, int32_t count, const char* run, int32_t runLength) {
  // Clamping first to the text gives what UpTo(first - 1) and From(first)
  // would, without computing first - 1 at the bottom of the range.
  first = std::clamp(first, 0, length);
  tString result = UpTo(first - 1);
  result.AppendRun(run, runLength);
  result += From(first + std::min(count, length - first));
  Swap(result);
}

tString& tString::InsertAt(int32_t index, const tString& value) {
  Splice(index, 0, value.text, value.length);
  return *this;
}

tString& tString::InsertTextAt(int32_t index, const char* value) {
  Splice(index, 0, value, TextLength(value));
  return *this;
}

tString& tString::InsertCharAt(int32_t index, char value) {
  Splice(index, 0, &value, value != '\0' ? 1 : 0);
  return *this;
}

tString& tString::RemoveFirst(const tString& pattern) {
  return ReplaceFirstText(pattern.text, nullptr);
}

tString& tString::RemoveFirstText(const char* pattern) { return ReplaceFirstText(pattern, nullptr); }

tString& tString::ReplaceFirst(const tString& pattern, const tString& replacement) {
  return ReplaceFirstText(pattern.text, replacement.text);
}

// Either text may lie in this string's own buffer: both are read before the
// new value replaces the old one.
tString& tString::ReplaceFirstText(const char* pattern, const char* replacement) {
  const int32_t position = FindText(pattern);
  if (position >= 0) {
    Splice(position, TextLength(pattern), replacement, TextLength(replacement));
  }
  return *this;
}

tString& tString::ReplaceFirstChar(char character, const char* replacement) {
  const char pattern[2] = {character, '\0'};
  return ReplaceFirstText(pattern, replacement);
}

// ---- Comparison and search ----

int tString::Compare(const tString& other) const { return CompareNoCase(text, other.text); }

int tString::CompareText(const char* other) const { return CompareNoCase(text, other); }

int tString::CompareChar(char character) const {
  const char other[2] = {character, '\0'};
  return CompareNoCase(text, other);
}

int tString::CompareCharN(char character, int32_t characters) const {
  const char other[2] = {character, '\0'};
  return CompareNoCaseN(text, other, static_cast<size_t>(std::max(characters, 0)));
}

int32_t tString::Find(const tString& pattern) const { return FindText(pattern.text); }

int32_t tString::FindText(const char* pattern) const {
  const int32_t patternLength = TextLength(pattern);
  if (length == 0 || patternLength == 0 || patternLength > length) {
    return -1;
  }
  for (int32_t position = 0; position <= length - patternLength; ++position) {
    if (SameNoCase(text + position, pattern, patternLength)) {
      return position;
    }
  }
  return -1;
}

int32_t tString::FindChar(char character) const {
  if (length == 0) {
    return -1;
  }
  return Fold(text[0]) == Fold(character) ? 0 : -1;
}

void tString::Swap(tString& other) noexcept {
  std::swap(text, other.text);
  std::swap(capacity, other.capacity);
  std::swap(length, other.length);
}

tString operator+(const tString& left, const tString& right) {
  tString result(left);
  result += right;
  return result;
}

tString operator+(const tString& left, const char* right) {
  tString result(left);
  result += right;
  return result;
}

tString operator+(const tString& left, char right) {
  tString result(left);
  result += right;
  return result;
}
