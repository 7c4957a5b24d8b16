#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "base/LumoMemoryStream.h"
#include "bot/YBIdentifierList.h"
#include "runtime/DebugLog.h"
#include "support/DebugLogReader.h"

namespace {

std::vector<int32_t> Parse(const char* text) { return YBIdentifierList::FromText(text)->Values; }

TEST(IdentifierListTest, RunsOfConsecutiveValuesAreWrittenAsRanges) {
  struct Case {
    std::vector<int32_t> values;
    const char* text;
  };
  const Case cases[] = {
      {{1, 2, 3, 7}, "1-3,7"},     {{3, 4, 5, 9, 11, 12}, "3-5,9,11-12"}, {{}, ""},
      {{5}, "5"},                  {{2, 1}, "2,1"},                        {{7, 7}, "7,7"},
      {{-3, -2, -1}, "-3--1"},     {{2147483646, 2147483647}, "2147483646-2147483647"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(YBIdentifierList(c.values).ToText(), c.text);
    EXPECT_EQ(Parse(c.text), c.values) << c.text;
  }
}

TEST(IdentifierListTest, ReadingAcceptsBlanksAndStopsAtTheFirstNonNumber) {
  struct Case {
    const char* text;
    std::vector<int32_t> values;
  };
  const Case cases[] = {
      {" 1 , 2 - 4 ,9", {1, 2, 3, 4, 9}},
      {"5-3,8", {8}},            // a range whose end lies below its start adds nothing
      {"1,x,3", {1}},
      {"AI", {}},
      {"", {}},
      {nullptr, {}},
      {"4,", {4}},
      {"4-", {4}},
      {"1,99999999999,3", {1}},  // a number outside 32 bits ends the list
      {"1-4294967296", {1}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Parse(c.text), c.values) << (c.text != nullptr ? c.text : "(null)");
  }
}

TEST(IdentifierListTest, AHugeRangeAddsAtMost4096Values) {
  const std::vector<int32_t> values = Parse("0-2000000000,7");
  ASSERT_EQ(values.size(), 4097u);
  EXPECT_EQ(values[4095], 4095);
  EXPECT_EQ(values[4096], 7);
  EXPECT_EQ(Parse("-2147483648-2147483647").size(), 4096u);
}

class IdentifierListStreamTest : public ::testing::Test {
 protected:
  static std::vector<uint8_t> Saved(const YBIdentifierList* list) {
    LumoMemoryStream stream;
    EXPECT_TRUE(stream.OpenNew(64, 1, 0));
    stream.SetGrowth(64);
    EXPECT_TRUE(YBIdentifierList::Save(&stream, list));
    return std::vector<uint8_t>(stream.buffer, stream.buffer + stream.position);
  }
  static bool Load(std::vector<uint8_t> bytes, std::unique_ptr<YBIdentifierList>& list) {
    bytes.push_back(0);
    LumoMemoryStream stream;
    EXPECT_TRUE(stream.OpenBuffer(bytes.data(), static_cast<uint32_t>(bytes.size() - 1), 1, 0));
    return YBIdentifierList::Load(&stream, list, "test");
  }
};

TEST_F(IdentifierListStreamTest, ListsAreACountAndBigEndianValues) {
  const YBIdentifierList list({1, 258});
  EXPECT_EQ(Saved(&list), (std::vector<uint8_t>{0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 1, 2}));
  EXPECT_EQ(Saved(nullptr), (std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0xFF}));
  std::unique_ptr<YBIdentifierList> loaded;
  ASSERT_TRUE(Load(Saved(&list), loaded));
  EXPECT_EQ(loaded->Values, list.Values);
  ASSERT_TRUE(Load(Saved(nullptr), loaded));
  EXPECT_EQ(loaded, nullptr);
}

TEST_F(IdentifierListStreamTest, ACountPastTheEndFailsWithoutALargeAllocation) {
  SetDebugMode(DebugModeOverwrite);
  const std::vector<std::vector<uint8_t>> damaged = {
      {0x7F, 0xFF, 0xFF, 0xFF, 0, 0, 0, 1},  // two billion values in four bytes
      {0, 0, 0, 3, 0, 0, 0, 1},              // three values in four bytes
      {0xFF, 0xFF, 0xFF, 0xFE},              // -2
      {0, 0},                                // no count
  };
  for (const auto& bytes : damaged) {
    auto kept = std::make_unique<YBIdentifierList>(std::vector<int32_t>{9});
    EXPECT_FALSE(Load(bytes, kept));
    ASSERT_NE(kept, nullptr);
    EXPECT_EQ(kept->Values, std::vector<int32_t>{9});
  }
  SetDebugMode(DebugModeOff);
  const std::string log = testing_support::ReadDebugLog();
  EXPECT_NE(log.find("(BOT) test: an identifier list of 2147483647 values does not fit the 4 bytes left"),
            std::string::npos)
      << log;
  EXPECT_NE(log.find("(BOT) test: cannot read the count"), std::string::npos);
}

}  // namespace
