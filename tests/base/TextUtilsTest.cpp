#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "base/TextUtils.h"

namespace {

struct PatternCase {
  const char* text;
  const char* pattern;
  bool matches;
};

TEST(MatchPatternTest, Table) {
  const PatternCase cases[] = {
      {"TILE0042", "tile####", true},
      {"TILE004A", "tile####", false},
      {"abc", "a*x", true},    // no x follows: the text runs out
      {"ab", "ab?c", true},    // a wildcard meets the end of the text
      {"abc", "ab", false},    // the pattern ends while the text goes on
      {"ab", "abc", false},    // a literal meets the end of the text
      {"x7", "x@", false},
      {"xy", "x@", true},
      {"anything", "*", true},
      {"", "*", true},
      {"house.bmp", "*.bmp", true},
      {"house.bmx", "*.bmp", false},
      {"a*b", "a?b", true},
      {"\xC4rger", "\xC4rger", true},
      {"\xC4rger", "\xE4rger", false},  // only ASCII letters fold in the C locale
  };
  for (const PatternCase& testCase : cases) {
    EXPECT_EQ(MatchPattern(testCase.text, testCase.pattern) == 0, testCase.matches)
        << testCase.text << " ~ " << testCase.pattern;
  }
  EXPECT_EQ(MatchPattern("TILE004A", "tile####"), 'a');
  EXPECT_EQ(MatchPattern("x7", "x@"), '7');
  EXPECT_EQ(MatchPattern(nullptr, "a"), 1);
  EXPECT_EQ(MatchPattern(nullptr, nullptr), 0);
  EXPECT_EQ(MatchPattern("a", nullptr), -1);
}

struct CompareCase {
  const char* a;
  const char* b;
  int sign;
};

int Sign(int value) { return (value > 0) - (value < 0); }

TEST(CompareNoCaseTest, Table) {
  const CompareCase cases[] = {
      {"abc", "ABC", 0}, {"abc", "abd", -1}, {"b", "A", 1}, {"ab", "abc", -1},
      {nullptr, "a", 1}, {nullptr, nullptr, 0}, {"a", nullptr, -1},
      {"\xE9", "e", 1},  // bytes above 0x7F compare as unsigned, never negative
  };
  for (const CompareCase& testCase : cases) {
    EXPECT_EQ(Sign(CompareNoCase(testCase.a, testCase.b)), testCase.sign)
        << (testCase.a ? testCase.a : "null") << " / " << (testCase.b ? testCase.b : "null");
  }
}

TEST(CompareNoCaseTest, BoundedComparisonSortsLongerAfter) {
  EXPECT_GT(CompareNoCaseN("abc", "ab", 3), 0);
  EXPECT_GT(CompareNoCaseN("abc", "AB", 2), 0);
  EXPECT_LT(CompareNoCaseN("ab", "abc", 2), 0);
  EXPECT_EQ(CompareNoCaseN("abX", "ABy", 2), 0);
  EXPECT_LT(CompareNoCaseN("abc", "abd", 3), 0);
  EXPECT_EQ(CompareNoCaseN("ab", "AB", 5), 0);
}

TEST(BitsTest, Table) {
  const struct {
    uint32_t value;
    int32_t highest;
    int32_t lowest;
  } cases[] = {{0, 0, 0}, {1, 1, 0}, {8, 4, 3}, {0x80000000u, 32, 31}, {0xFFFFFFFFu, 32, 0}, {12, 4, 2}};
  for (const auto& testCase : cases) {
    EXPECT_EQ(HighestBit(testCase.value), testCase.highest) << testCase.value;
    EXPECT_EQ(LowestBit(testCase.value), testCase.lowest) << testCase.value;
  }
}

TEST(CharStrTest, SetReplaceAndFree) {
  tCharStr text = nullptr;
  EXPECT_STREQ(SetCharStr(text, "hello"), "hello");
  char* held = text;
  EXPECT_EQ(SetCharStr(text, text), held);  // the text already held keeps its block
  EXPECT_STREQ(SetCharStr(text, text + 2), "llo");  // a source inside the held text
  EXPECT_STREQ(ReplaceCharStr(text, "a much longer text than before"), "a much longer text than before");
  EXPECT_STREQ(ReplaceCharStr(text, text + 2), "much longer text than before");
  EXPECT_EQ(ReplaceCharStr(text, nullptr), nullptr);
  EXPECT_EQ(text, nullptr);
  EXPECT_EQ(SetCharStr(text, nullptr), nullptr);
  SetCharStr(text, "x");
  FreeCharStr(text);
  EXPECT_EQ(text, nullptr);
}

TEST(BlockTest, AllocReallocCompare) {
  char* block = nullptr;
  EXPECT_EQ(AllocBlock(block, 0), nullptr);
  ASSERT_NE(AllocBlock(block, 4), nullptr);
  std::memcpy(block, "abcd", 4);
  ASSERT_NE(ReallocBlock(block, 8), nullptr);
  EXPECT_EQ(CompareBytes(block, "abcd", 4), 0);
  EXPECT_EQ(CompareBytes(block, "abce", 4), -1);
  EXPECT_EQ(CompareBytes("\xFF", "\x01", 1), 1);
  EXPECT_EQ(CompareBytes(nullptr, block, 4), 1);
  EXPECT_EQ(CompareBytes(nullptr, nullptr, 4), 0);
  EXPECT_EQ(CompareBytes(block, nullptr, 4), -1);
  EXPECT_EQ(CompareBytes(block, "zzzz", 0), 0);
  FreeBlock(block);
  EXPECT_EQ(block, nullptr);
}

TEST(CodePageTest, EveryByteRoundTripsThroughUtf16) {
  for (unsigned code = 1; code <= 255; ++code) {
    const char text[2] = {static_cast<char>(code), '\0'};
    char16_t wide[2] = {};
    ASSERT_EQ(ToWide(wide, text), wide);
    char back[2] = {};
    ASSERT_EQ(ToMultiByte(back, wide), back);
    EXPECT_EQ(static_cast<unsigned char>(back[0]), code);
    if (code < 0x80 || code >= 0xA0) {
      EXPECT_EQ(wide[0], code);
    }
  }
}

TEST(CodePageTest, HighControlsAndUndefinedCodes) {
  const struct {
    unsigned char byte;
    char16_t wide;
  } cases[] = {{0x80, 0x20AC}, {0x9F, 0x0178}, {0x8A, 0x0160}, {0x99, 0x2122}, {0x81, 0x0081},
               {0x8D, 0x008D}, {0x8F, 0x008F}, {0x90, 0x0090}, {0x9D, 0x009D}};
  for (const auto& testCase : cases) {
    const char text[2] = {static_cast<char>(testCase.byte), '\0'};
    char16_t wide[2] = {};
    ToWide(wide, text);
    EXPECT_EQ(wide[0], testCase.wide) << int(testCase.byte);
  }
  char out[2] = {};
  const char16_t unmappable[2] = {0x4E2D, 0};
  ASSERT_NE(ToMultiByte(out, unmappable), nullptr);
  EXPECT_EQ(out[0], '?');
  char16_t wide[1] = {};
  EXPECT_EQ(ToWide(wide, ""), nullptr);
  EXPECT_EQ(ToWide(nullptr, "a"), nullptr);
  EXPECT_EQ(WideStrLength(u"abc"), 3u);
  EXPECT_EQ(StrLength(nullptr), 0u);
}

}  // namespace
