#include "base/TextUtils.h"

#include <cctype>
#include <cstdlib>
#include <cstring>

// ---- Owned blocks ----

void* AllocBlock(void*& block, size_t size) {
  FreeBlock(block);
  if (size == 0) {
    return nullptr;
  }
  block = std::malloc(size);
  return block;
}

void* ReallocBlock(void*& block, size_t size) {
  if (size == 0) {
    FreeBlock(block);
    return nullptr;
  }
  void* resized = std::realloc(block, size);
  if (resized == nullptr) {
    FreeBlock(block);
    return nullptr;
  }
  block = resized;
  return block;
}

void FreeBlock(void*& block) {
  if (block != nullptr) {
    std::free(block);
    block = nullptr;
  }
}

int CompareBytes(const void* a, const void* b, size_t n) {
  if (a == nullptr) {
    return b != nullptr ? 1 : 0;
  }
  if (b == nullptr) {
    return -1;
  }
  if (n == 0) {
    return 0;
  }
  const int result = std::memcmp(a, b, n);
  return result < 0 ? -1 : (result > 0 ? 1 : 0);
}

char* AllocText(char*& text, size_t length) { return AllocBlock(text, length + 1); }
char* ReallocText(char*& text, size_t length) { return ReallocBlock(text, length + 1); }

// ---- Owned texts ----

char* SetCharStr(tCharStr& text, const char* source) {
  if (source != nullptr && source == text) {
    return text;
  }
  if (source == nullptr) {
    FreeCharStr(text);
    return nullptr;
  }
  // Copy before freeing: the source may lie inside the text being replaced.
  const size_t size = std::strlen(source) + 1;
  char* copy = static_cast<char*>(std::malloc(size));
  if (copy != nullptr) {
    std::memcpy(copy, source, size);
  }
  FreeCharStr(text);
  text = copy;
  return text;
}

char* ReplaceCharStr(tCharStr& text, const char* source) {
  if (source != nullptr && source == text) {
    return text;
  }
  if (source == nullptr) {
    FreeCharStr(text);
    return nullptr;
  }
  const size_t size = std::strlen(source) + 1;
  // The source may lie inside the old block, so copy it before resizing.
  char* copy = static_cast<char*>(std::malloc(size));
  if (copy == nullptr) {
    FreeCharStr(text);
    return nullptr;
  }
  std::memcpy(copy, source, size);
  if (ReallocText(text, size - 1) == nullptr) {
    std::free(copy);
    return nullptr;
  }
  std::memcpy(text, copy, size);
  std::free(copy);
  return text;
}

void FreeCharStr(tCharStr& text) {
  std::free(text);
  text = nullptr;
}

// ---- Comparison and case ----

namespace {

int Lower(char character) { return std::tolower(static_cast<unsigned char>(character)); }

bool IsDigit(unsigned char character) { return character >= '0' && character <= '9'; }

}  // namespace

int CompareNoCase(const char* a, const char* b) {
  if (a == nullptr) {
    return b != nullptr ? 1 : 0;
  }
  if (b == nullptr) {
    return -1;
  }
  for (;; ++a, ++b) {
    const int difference = Lower(*a) - Lower(*b);
    if (difference != 0 || *a == '\0') {
      return difference;
    }
  }
}

int CompareNoCaseN(const char* a, const char* b, size_t n) {
  if (a == nullptr) {
    return b != nullptr ? 1 : 0;
  }
  if (b == nullptr) {
    return -1;
  }
  for (size_t index = 0; index < n; ++index) {
    const int difference = Lower(a[index]) - Lower(b[index]);
    if (difference != 0) {
      return difference;
    }
    if (a[index] == '\0') {
      return 0;
    }
  }
  // The first n characters agree: the longer text sorts after.
  const size_t aLength = std::strlen(a);
  const size_t bLength = std::strlen(b);
  return aLength > bLength ? 1 : (aLength < bLength ? -1 : 0);
}

char* StrLower(char* text) {
  if (text != nullptr) {
    for (char* walker = text; *walker != '\0'; ++walker) {
      *walker = static_cast<char>(Lower(*walker));
    }
  }
  return text;
}

char* StrUpper(char* text) {
  if (text != nullptr) {
    for (char* walker = text; *walker != '\0'; ++walker) {
      *walker = static_cast<char>(std::toupper(static_cast<unsigned char>(*walker)));
    }
  }
  return text;
}

int MatchPattern(const char* text, const char* pattern) {
  if (text == nullptr) {
    return pattern != nullptr ? 1 : 0;
  }
  if (pattern == nullptr) {
    return -1;
  }
  const unsigned char* textAt = reinterpret_cast<const unsigned char*>(text);
  const unsigned char* patternAt = reinterpret_cast<const unsigned char*>(pattern);
  for (;;) {
    if (*patternAt == '\0') {
      // The pattern ended: a match only when the text ends too.
      return *textAt;
    }
    int failure = 0;
    switch (*patternAt) {
      case '#':
        if (!IsDigit(*textAt)) {
          failure = std::tolower(*textAt);
        }
        break;
      case '@':
        if (IsDigit(*textAt)) {
          failure = *textAt;
        }
        break;
      case '?':
        break;
      case '*':
        if (patternAt[1] == '\0') {
          return 0;
        }
        // A star runs up to the next occurrence of the character after it
        // (possibly the current one), which is consumed with it.
        ++patternAt;
        while (*textAt != '\0' && *textAt != *patternAt) {
          ++textAt;
        }
        break;
      default:
        failure = std::tolower(*textAt) - std::tolower(*patternAt);
        break;
    }
    if (failure != 0) {
      return failure;
    }
    if (*textAt == '\0') {
      // A wildcard met the end of the text: whatever pattern remains matches.
      return 0;
    }
    ++textAt;
    ++patternAt;
  }
}

// ---- Bits and lengths ----

int32_t HighestBit(uint32_t value) {
  int32_t bits = 0;
  while (value != 0) {
    ++bits;
    value >>= 1;
  }
  return bits;
}

int32_t LowestBit(uint32_t value) {
  if (value == 0) {
    return 0;
  }
  int32_t zeros = 0;
  while ((value & 1u) == 0) {
    ++zeros;
    value >>= 1;
  }
  return zeros;
}

size_t StrLength(const char* text) { return text == nullptr ? 0 : std::strlen(text); }

size_t WideStrLength(const char16_t* text) {
  size_t length = 0;
  if (text != nullptr) {
    while (text[length] != u'\0') {
      ++length;
    }
  }
  return length;
}

char* StrCopy(char* destination, const char* source) { return std::strcpy(destination, source); }

char16_t* WideStrCopy(char16_t* destination, const char16_t* source) {
  size_t index = 0;
  do {
    destination[index] = source[index];
  } while (source[index++] != u'\0');
  return destination;
}

// ---- Windows-1252 ----

namespace {

// Code points of the bytes 0x80 to 0x9F. The five bytes that Windows-1252
// leaves undefined map to the C1 control of the same value, as common
// converters do, so every byte round-trips.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t ByteToWide(unsigned char byte) {
  if (byte >= 0x80 && byte <= 0x9F) {
    return kHighControls[byte - 0x80];
  }
  return byte;
}

char WideToByte(char16_t wide) {
  if (wide < 0x80 || (wide >= 0xA0 && wide <= 0xFF)) {
    return static_cast<char>(wide);
  }
  for (unsigned index = 0; index < 32; ++index) {
    if (kHighControls[index] == wide) {
      return static_cast<char>(0x80 + index);
    }
  }
  return '?';
}

}  // namespace

char16_t* ToWide(char16_t* wide, const char* text) {
  if (wide == nullptr || text == nullptr || *text == '\0') {
    return nullptr;
  }
  size_t index = 0;
  do {
    wide[index] = ByteToWide(static_cast<unsigned char>(text[index]));
  } while (text[index++] != '\0');
  return wide;
}

char* ToMultiByte(char* text, const char16_t* wide) {
  if (text == nullptr || wide == nullptr || *wide == u'\0') {
    return nullptr;
  }
  size_t index = 0;
  do {
    text[index] = WideToByte(wide[index]);
  } while (wide[index++] != u'\0');
  return text;
}
