#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "base/tBuffer.h"
#include "base/tString.h"

namespace {

std::string Text(const tString& value) { return value.text == nullptr ? std::string() : std::string(value.text); }

std::string Bytes(const tBuffer& value) {
  return value.data == nullptr ? std::string()
                               : std::string(reinterpret_cast<const char*>(value.data), value.length);
}

// The string's standing promises: no buffer when empty, a capacity of
// length + 32 rounded down to 32, and zeros from the terminator to the end.
::testing::AssertionResult KeepsInvariant(const tString& value) {
  if (value.text == nullptr) {
    if (value.capacity == 0 && value.length == 0) {
      return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "no buffer but counts " << value.capacity << "/" << value.length;
  }
  if (value.length < 1 || value.capacity != ((static_cast<uint32_t>(value.length) + 32u) & ~31u)) {
    return ::testing::AssertionFailure() << "length " << value.length << " capacity " << value.capacity;
  }
  for (uint32_t index = static_cast<uint32_t>(value.length); index < value.capacity; ++index) {
    if (value.text[index] != '\0') {
      return ::testing::AssertionFailure() << "byte " << index << " behind the text is not 0";
    }
  }
  if (std::strlen(value.text) != static_cast<size_t>(value.length)) {
    return ::testing::AssertionFailure() << "length " << value.length << " but text " << value.text;
  }
  return ::testing::AssertionSuccess();
}

// ---- tString ----

TEST(StringTest, CapacityIsLengthPlus32RoundedDownTo32) {
  struct Case {
    int32_t length;
    uint32_t capacity;
  };
  const Case cases[] = {{1, 32}, {31, 32}, {32, 64}, {63, 64}, {64, 96}, {100, 128}};
  for (const Case& testCase : cases) {
    tString value;
    EXPECT_TRUE(value.SetLength(testCase.length));
    EXPECT_EQ(value.capacity, testCase.capacity) << "length " << testCase.length;
    EXPECT_EQ(value.length, testCase.length);
    // A freshly sized string is all zeros.
    for (uint32_t index = 0; index < value.capacity; ++index) {
      ASSERT_EQ(value.text[index], '\0') << "length " << testCase.length << " byte " << index;
    }
  }
}

TEST(StringTest, SetLengthKeepsTheShorterTextAndZeroesTheRest) {
  tString value("hello");
  ASSERT_TRUE(value.SetLength(40));
  EXPECT_EQ(value.capacity, 64u);
  EXPECT_EQ(std::memcmp(value.text, "hello", 5), 0);
  for (uint32_t index = 5; index < value.capacity; ++index) {
    ASSERT_EQ(value.text[index], '\0') << index;
  }
  std::memset(value.text, 'x', 40);
  ASSERT_TRUE(value.SetLength(2));
  EXPECT_EQ(Text(value), "xx");
  EXPECT_TRUE(KeepsInvariant(value));
  EXPECT_TRUE(value.SetLength(2));  // the same length changes nothing
  EXPECT_EQ(Text(value), "xx");
}

TEST(StringTest, SetLengthBelowOneEmptiesAndAnswersFalse) {
  for (int32_t length : {0, -1, -1000}) {
    tString value("not empty");
    EXPECT_FALSE(value.SetLength(length)) << length;
    EXPECT_EQ(value.text, nullptr);
    EXPECT_EQ(value.capacity, 0u);
    EXPECT_EQ(value.length, 0);
  }
  tString empty;
  EXPECT_TRUE(empty.SetLength(0));  // already that length
}

TEST(StringTest, EmptySourcesGiveNoBuffer) {
  EXPECT_EQ(tString("").text, nullptr);
  EXPECT_EQ(tString(static_cast<const char*>(nullptr)).text, nullptr);
  EXPECT_EQ(tString('\0').text, nullptr);
  tString value("abc");
  value = "";
  EXPECT_EQ(value.text, nullptr);
  value = 'q';
  EXPECT_EQ(Text(value), "q");
  value += "";
  value += '\0';
  value += static_cast<const char*>(nullptr);
  EXPECT_EQ(Text(value), "q");
}

TEST(StringTest, CopyKeepsCapacityAndIsIndependent) {
  tString original("some text");
  ASSERT_TRUE(original.SetLength(40));  // capacity 64, text still "some text" + zeros
  original.SyncLength();
  tString copy(original);
  EXPECT_EQ(copy.capacity, original.capacity);
  EXPECT_EQ(copy.length, original.length);
  EXPECT_NE(copy.text, original.text);
  copy.MakeUpper();
  EXPECT_EQ(Text(copy), "SOME TEXT");
  EXPECT_EQ(Text(original), "some text");
}

struct ExtractionCase {
  const char* name;
  tString (*extract)(const tString&);
  const char* expected;
};

TEST(StringTest, ExtractionClampsItsIndexes) {
  const ExtractionCase cases[] = {
      {"CharAt(0)", [](const tString& s) { return s.CharAt(0); }, "a"},
      {"CharAt(7)", [](const tString& s) { return s.CharAt(7); }, "h"},
      {"CharAt(8)", [](const tString& s) { return s.CharAt(8); }, ""},
      {"CharAt(-1)", [](const tString& s) { return s.CharAt(-1); }, ""},
      {"UpTo(-1)", [](const tString& s) { return s.UpTo(-1); }, ""},
      {"UpTo(0)", [](const tString& s) { return s.UpTo(0); }, "a"},
      {"UpTo(2)", [](const tString& s) { return s.UpTo(2); }, "abc"},
      {"UpTo(100)", [](const tString& s) { return s.UpTo(100); }, "abcdefgh"},
      {"From(-3)", [](const tString& s) { return s.From(-3); }, "abcdefgh"},
      {"From(6)", [](const tString& s) { return s.From(6); }, "gh"},
      {"From(8)", [](const tString& s) { return s.From(8); }, ""},
      {"Range(5,2)", [](const tString& s) { return s.Range(5, 2); }, ""},
      {"Range(-4,1)", [](const tString& s) { return s.Range(-4, 1); }, "ab"},
      {"Range(6,100)", [](const tString& s) { return s.Range(6, 100); }, "gh"},
      {"Range(3,3)", [](const tString& s) { return s.Range(3, 3); }, "d"},
      {"Left(3)", [](const tString& s) { return s.Left(3); }, "abc"},
      {"Left(100)", [](const tString& s) { return s.Left(100); }, "abcdefgh"},
      {"Left(-2)", [](const tString& s) { return s.Left(-2); }, ""},
      {"Right(2)", [](const tString& s) { return s.Right(2); }, "gh"},
      {"Right(100)", [](const tString& s) { return s.Right(100); }, "abcdefgh"},
      {"Right(0)", [](const tString& s) { return s.Right(0); }, ""},
  };
  const tString source("abcdefgh");
  const tString empty;
  for (const ExtractionCase& testCase : cases) {
    const tString result = testCase.extract(source);
    EXPECT_EQ(Text(result), testCase.expected) << testCase.name;
    EXPECT_TRUE(KeepsInvariant(result)) << testCase.name;
    EXPECT_EQ(testCase.extract(empty).text, nullptr) << testCase.name << " of an empty string";
  }
}

TEST(StringTest, InsertionSplitsAtTheClampedIndex) {
  struct Case {
    int32_t index;
    const char* expected;
  };
  const Case cases[] = {{2, "ab--cd"}, {0, "--abcd"}, {-5, "--abcd"}, {4, "abcd--"}, {100, "abcd--"}};
  for (const Case& testCase : cases) {
    tString value("abcd");
    value.InsertTextAt(testCase.index, "--");
    EXPECT_EQ(Text(value), testCase.expected) << testCase.index;
    EXPECT_TRUE(KeepsInvariant(value));
  }
  tString value("ac");
  value.InsertCharAt(1, 'b').InsertAt(3, tString("d"));
  EXPECT_EQ(Text(value), "abcd");
  value.InsertAt(2, value);  // the inserted value may be the string itself
  EXPECT_EQ(Text(value), "ababcdcd");
}

TEST(StringTest, AppendingItsOwnTextSurvivesTheBufferMoving) {
  tString value("0123456789abcdefghijklmnopqrstu");  // 31 characters: capacity 32
  value += value.text;                              // grows to 62 characters and a new buffer
  EXPECT_EQ(Text(value), "0123456789abcdefghijklmnopqrstu0123456789abcdefghijklmnopqrstu");
  value = value.text + 60;  // assigning a part of itself
  EXPECT_EQ(Text(value), "tu");
  EXPECT_TRUE(KeepsInvariant(value));
  EXPECT_EQ(Text(tString("ab") + tString("cd") + "ef" + 'g'), "abcdefg");
}

TEST(StringTest, FindMatchesIgnoringCaseFromTheStart) {
  struct Case {
    const char* text;
    const char* pattern;
    int32_t position;
  };
  const Case cases[] = {
      {"xAB", "ab", 1},   {"abcABC", "CA", 2}, {"abc", "abc", 0}, {"abc", "abcd", -1},
      {"abc", "", -1},    {"", "a", -1},       {"aaa", "aa", 0},  {"Hello World", "WORLD", 6},
      {"abc", "x", -1},
  };
  for (const Case& testCase : cases) {
    const tString value(testCase.text);
    EXPECT_EQ(value.FindText(testCase.pattern), testCase.position) << testCase.text << " / " << testCase.pattern;
    EXPECT_EQ(value.Find(tString(testCase.pattern)), testCase.position) << testCase.text << " / " << testCase.pattern;
  }
  EXPECT_EQ(tString("abc").FindText(nullptr), -1);
}

TEST(StringTest, FindCharLooksOnlyAtTheFirstCharacter) {
  const tString value("Hello");
  EXPECT_EQ(value.FindChar('h'), 0);
  EXPECT_EQ(value.FindChar('H'), 0);
  EXPECT_EQ(value.FindChar('e'), -1);  // present, but not first
  EXPECT_EQ(value.FindChar('o'), -1);
  EXPECT_EQ(tString().FindChar('a'), -1);
}

TEST(StringTest, ReplacementChangesOnlyTheFirstMatchIgnoringCase) {
  struct Case {
    const char* name;
    void (*edit)(tString&);
    const char* expected;
  };
  const Case cases[] = {
      {"ReplaceFirstText", [](tString& s) { s.ReplaceFirstText("CAT", "dog"); }, "the dog and the cat"},
      {"ReplaceFirst", [](tString& s) { s.ReplaceFirst(tString("Cat"), tString("lion")); },
       "the lion and the cat"},
      {"RemoveFirstText", [](tString& s) { s.RemoveFirstText("the "); }, "cAt and the cat"},
      {"RemoveFirst", [](tString& s) { s.RemoveFirst(tString(" AND")); }, "the cAt the cat"},
      {"no match", [](tString& s) { s.ReplaceFirstText("mouse", "x"); }, "the cAt and the cat"},
      {"ReplaceFirstChar", [](tString& s) { s.ReplaceFirstChar('A', "[a]"); }, "the c[a]t and the cat"},
      {"ReplaceFirstChar NUL", [](tString& s) { s.ReplaceFirstChar('\0', "x"); }, "the cAt and the cat"},
      {"replace with nothing", [](tString& s) { s.ReplaceFirstText("the cat", nullptr); }, " and the cat"},
      {"whole text", [](tString& s) { s.ReplaceFirstText("THE CAT AND THE CAT", nullptr); }, ""},
  };
  for (const Case& testCase : cases) {
    tString value("the cAt and the cat");
    testCase.edit(value);
    EXPECT_EQ(Text(value), testCase.expected) << testCase.name;
    EXPECT_TRUE(KeepsInvariant(value)) << testCase.name;
  }
}

TEST(StringTest, ComparisonIgnoresCaseAndSortsEmptyLast) {
  EXPECT_EQ(tString("Hello").Compare(tString("hELLO")), 0);
  EXPECT_LT(tString("apple").CompareText("Banana"), 0);
  EXPECT_GT(tString("b").CompareChar('A'), 0);
  EXPECT_EQ(tString("x").CompareChar('X'), 0);
  EXPECT_GT(tString().Compare(tString("a")), 0);
  EXPECT_LT(tString("a").Compare(tString()), 0);
  EXPECT_EQ(tString().Compare(tString()), 0);
  EXPECT_TRUE(tString("Name") == "NAME");
  // At most n characters against the one-character text; the longer sorts after.
  EXPECT_EQ(tString("a").CompareCharN('A', 1), 0);
  EXPECT_GT(tString("abc").CompareCharN('A', 1), 0);
  // A negative count compares nothing, so only the lengths decide.
  EXPECT_GT(tString("abc").CompareCharN('z', -4), 0);
  EXPECT_LT(tString("abc").CompareCharN('z', 1), 0);
}

TEST(StringTest, SyncLengthFollowsDirectWrites) {
  tString value;
  ASSERT_TRUE(value.SetLength(20));
  std::strcpy(value.text, "abc");
  value.text[5] = 'z';  // stray byte behind the new terminator
  value.SyncLength();
  EXPECT_EQ(value.length, 3);
  for (uint32_t index = 3; index < value.capacity; ++index) {
    ASSERT_EQ(value.text[index], '\0') << index;
  }
  // A buffer written to its last byte loses that byte to the terminator.
  std::memset(value.text, 'y', value.capacity);
  value.SyncLength();
  EXPECT_EQ(value.length, static_cast<int32_t>(value.capacity) - 1);
  EXPECT_EQ(value.text[value.capacity - 1], '\0');
  value.text[0] = '\0';
  value.SyncLength();
  EXPECT_EQ(value.text, nullptr);
  EXPECT_EQ(value.capacity, 0u);
}

// ---- tBuffer ----

TEST(BufferTest, ComparesOverTheShorterLength) {
  const tBuffer abc("abc", 3);
  const tBuffer ab("ab", 2);
  const tBuffer abd("abd", 3);
  const tBuffer empty;
  EXPECT_EQ(abc.Compare(ab), 0);  // a buffer and its own prefix compare equal
  EXPECT_EQ(ab.Compare(abc), 0);
  EXPECT_GT(abd.Compare(abc), 0);
  EXPECT_LT(abc.Compare(abd), 0);
  EXPECT_EQ(abc.CompareN(abd, 2), 0);
  EXPECT_EQ(abc.CompareN(abd, -1), 0);
  EXPECT_GT(empty.Compare(abc), 0);  // empty sorts last
  EXPECT_LT(abc.Compare(empty), 0);
  EXPECT_EQ(empty.Compare(tBuffer()), 0);
  const tBuffer high("\xF0", 1);
  EXPECT_GT(high.Compare(tBuffer("a", 1)), 0);  // bytes are unsigned
}

TEST(BufferTest, ComparesWithTextsIgnoringCase) {
  const tBuffer value("HELLO world", 11);
  EXPECT_EQ(value.CompareText("hello"), 0);
  EXPECT_EQ(value.CompareString(tString("Hello WORLD and more")), 0);
  EXPECT_LT(value.CompareText("help"), 0);
  EXPECT_EQ(value.CompareTextN("help", 3), 0);
  EXPECT_EQ(value.CompareStringN(tString("x"), 0), 0);
  // Bytes behind an embedded zero still count: the buffer has its own length.
  const tBuffer withZero("a\0b", 3);
  EXPECT_EQ(withZero.CompareText("a"), 0);
  EXPECT_NE(withZero.Compare(tBuffer("a\0c", 3)), 0);
}

TEST(BufferTest, SetLengthDiscardsTheOldBytes) {
  tBuffer value("abc", 3);
  EXPECT_EQ(value.SetLength(3), 3);  // same length: bytes kept
  EXPECT_EQ(Bytes(value), "abc");
  EXPECT_EQ(value.SetLength(5), 5);
  EXPECT_EQ(Bytes(value), std::string(5, '\0'));
  EXPECT_EQ(value.SetLength(0), 0);
  EXPECT_EQ(value.data, nullptr);
  EXPECT_EQ(value.length, 0);
  EXPECT_EQ(value.SetLength(-3), 0);
}

TEST(BufferTest, ExtractionClampsLikeStrings) {
  const tBuffer source("abcdefgh", 8);
  struct Case {
    const char* name;
    tBuffer result;
    const char* expected;
  };
  const Case cases[] = {
      {"ByteAt(3)", source.ByteAt(3), "d"},     {"ByteAt(8)", source.ByteAt(8), ""},
      {"UpTo(-1)", source.UpTo(-1), ""},        {"UpTo(2)", source.UpTo(2), "abc"},
      {"From(-3)", source.From(-3), "abcdefgh"}, {"From(6)", source.From(6), "gh"},
      {"Range(5,2)", source.Range(5, 2), ""},   {"Range(-1,100)", source.Range(-1, 100), "abcdefgh"},
      {"Left(3)", source.Left(3), "abc"},       {"Right(3)", source.Right(3), "fgh"},
      {"Right(-1)", source.Right(-1), ""},
  };
  for (const Case& testCase : cases) {
    EXPECT_EQ(Bytes(testCase.result), testCase.expected) << testCase.name;
  }
}

TEST(BufferTest, BuildsValuesFromBytesTextsAndStrings) {
  tBuffer value("x\0y", 3);
  value += tString("Ab");     // no terminator taken
  value += "cd";
  value.AppendByte(0);
  value.AppendBytes(nullptr, 4);  // nothing
  EXPECT_EQ(Bytes(value), std::string("x\0yAbcd\0", 8));
  value.InsertTextAt(1, "--").InsertByteAt(0, '>').InsertBytesAt(100, "<<", 2);
  EXPECT_EQ(Bytes(value), std::string(">x--\0yAbcd\0<<", 13));
  value = "plain";
  EXPECT_EQ(Bytes(value), "plain");
  value = tString("str");
  EXPECT_EQ(Bytes(value), "str");
  value.AssignByte('q');
  EXPECT_EQ(Bytes(value), "q");
  value += value;  // its own bytes
  value.InsertAt(1, value);
  EXPECT_EQ(Bytes(value), "qqqq");
  EXPECT_EQ(Bytes(tBuffer("a", 1) + tBuffer("b", 1) + tString("c") + "d" + static_cast<uint8_t>('e')), "abcde");
  EXPECT_EQ(tBuffer(nullptr, 5).data, nullptr);
  EXPECT_EQ(tBuffer("abc", 0).data, nullptr);
}

}  // namespace
