#pragma once

#include <cstddef>
#include <cstdint>

// Owned blocks, owned texts, case-insensitive comparison, wildcard matching,
// bit counts and Windows-1252/UTF-16 conversion.

// An owned, heap-allocated NUL-terminated text; null means "no text". Set and
// freed only through SetCharStr, ReplaceCharStr and FreeCharStr.
using tCharStr = char*;

// ---- Owned blocks (allocated with malloc, so they can be reallocated) ----

// Frees the block, then allocates size bytes (contents not kept). Null for a
// size of 0.
void* AllocBlock(void*& block, size_t size);
// Resizes keeping the contents; on failure the old block is freed and null set.
void* ReallocBlock(void*& block, size_t size);
// Frees the block and sets it null; null is ignored.
void FreeBlock(void*& block);
// Unsigned comparison of at most n bytes: -1, 0 or 1; a null side sorts last.
int CompareBytes(const void* a, const void* b, size_t n);
// As the block functions, with room for length characters and a terminator.
char* AllocText(char*& text, size_t length);
char* ReallocText(char*& text, size_t length);

template <typename T>
T* AllocBlock(T*& block, size_t size) {
  void* raw = block;
  void* result = AllocBlock(raw, size);
  block = static_cast<T*>(raw);
  return static_cast<T*>(result);
}

template <typename T>
T* ReallocBlock(T*& block, size_t size) {
  void* raw = block;
  void* result = ReallocBlock(raw, size);
  block = static_cast<T*>(raw);
  return static_cast<T*>(result);
}

template <typename T>
void FreeBlock(T*& block) {
  void* raw = block;
  FreeBlock(raw);
  block = nullptr;
}

// ---- Owned texts ----

// Stores a copy of source (the old text is freed); keeps the block when source
// is the text already held. Null source leaves null.
char* SetCharStr(tCharStr& text, const char* source);
// As SetCharStr, but reallocates the old block to the new size.
char* ReplaceCharStr(tCharStr& text, const char* source);
void FreeCharStr(tCharStr& text);

// ---- Comparison and case (the C locale, on unsigned characters) ----

// Difference of the first differing pair after lower-casing; null sorts last.
int CompareNoCase(const char* a, const char* b);
// As CompareNoCase for at most n characters; when those agree, the longer
// text sorts after.
int CompareNoCaseN(const char* a, const char* b, size_t n);
char* StrLower(char* text);
char* StrUpper(char* text);
// 0 when text matches pattern ("#" digit, "@" non-digit, "?" any character,
// "*" a run of characters); otherwise a value that orders the two.
int MatchPattern(const char* text, const char* pattern);

// ---- Bits and lengths ----

// Number of bits needed to hold value: 1-based position of the highest set bit.
int32_t HighestBit(uint32_t value);
// Number of zero bits below the lowest set bit; 0 for 0.
int32_t LowestBit(uint32_t value);
size_t StrLength(const char* text);
size_t WideStrLength(const char16_t* text);
char* StrCopy(char* destination, const char* source);
char16_t* WideStrCopy(char16_t* destination, const char16_t* source);

// ---- Windows-1252 (the game's ANSI code page) and UTF-16 ----

// Converts text with its terminator into wide (room for strlen + 1
// characters). Null arguments or an empty text give null.
char16_t* ToWide(char16_t* wide, const char* text);
// Converts wide with its terminator into text (room for the wide length + 1
// bytes); characters outside the code page become "?". Null arguments or an
// empty text give null.
char* ToMultiByte(char* text, const char16_t* wide);
