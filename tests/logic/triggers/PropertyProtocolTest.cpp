#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/LumoMemoryStream.h"
#include "logic/triggers/ConditionTrigger.h"
#include "logic/triggers/PropertyText.h"
#include "logic/triggers/YLEditableObject.h"
#include "logic/triggers/tStrings.h"
#include "runtime/DebugLog.h"
#include "support/DebugLogReader.h"

namespace {

std::string Text(const tString& value) { return value.text != nullptr ? value.text : ""; }

TEST(PropertyText, FormatsValuesInTheEditorsForms) {
  EXPECT_EQ(Text(FormatInt(-12)), "-12");
  EXPECT_EQ(Text(FormatUnsigned(0xFFFFFFFFu)), "4294967295");
  EXPECT_EQ(Text(FormatReal(1.5f)), "1.500");
  EXPECT_EQ(Text(FormatBool(0)), "0: false");
  EXPECT_EQ(Text(FormatBool(1)), "1: true");
  EXPECT_EQ(Text(FormatBool(-7)), "1: true");
  const std::vector<std::string> operators = {">", "<", "=", "!=", "?", "?"};
  const std::vector<int32_t> codes = {0, 1, 2, 3, 4, -1};
  for (size_t at = 0; at < codes.size(); ++at) {
    EXPECT_EQ(Text(FormatOperator(codes[at])), operators[at]) << codes[at];
  }
}

TEST(PropertyText, ParsesTextsAndReadsTheUnreadableAsZero) {
  struct Case {
    const char* text;
    int32_t integer;
    bool flag;
    float real;
    int32_t comparison;
  };
  const Case cases[] = {
      {"42abc", 42, true, 42.0f, 2},  {"abc", 0, false, 0.0f, 2},   {nullptr, 0, false, 0.0f, 2},
      {"=", 0, false, 0.0f, 2},       {"==", 0, false, 0.0f, 2},    {"x", 0, false, 0.0f, 2},
      {"!=", 0, false, 0.0f, 3},      {">=", 0, false, 0.0f, 0},    {"<", 0, false, 0.0f, 1},
      {"-3", -3, true, -3.0f, 2},     {"0: false", 0, false, 0.0f, 2}, {"1: true", 1, true, 1.0f, 2},
      {"2.75", 2, true, 2.75f, 2},
  };
  for (const Case& each : cases) {
    const std::string name = each.text != nullptr ? each.text : "(null)";
    EXPECT_EQ(ParseInt(each.text), each.integer) << name;
    EXPECT_EQ(ParseBool(each.text), each.flag) << name;
    EXPECT_FLOAT_EQ(ParseReal(each.text), each.real) << name;
    EXPECT_EQ(ParseOperator(each.text), each.comparison) << name;
  }
}

// A trigger whose own properties are a value and then a list of ids, as the
// triggers that name units or sectors have them.
class ListingTrigger : public ConditionTrigger {
 public:
  static constexpr int32_t kOwnFixed = 1;

  int32_t SetProperty(int32_t index, const char* text) override {
    const int32_t remaining = ConditionTrigger::SetProperty(index, text);
    if (remaining == 0) {
      Value = ParseInt(text);
    }
    return SetIdListProperty(Ids, remaining, kOwnFixed, text);
  }
  void BuildProperties() override {
    ConditionTrigger::BuildProperties();
    EditorLabels().Add("value");
    EditorValues().Add(FormatInt(Value).text);
    ListIdList(EditorLabels(), EditorValues(), "count", "id[%d]", Ids);
  }

  int32_t Value = 0;
  tIdList Ids;
};

std::vector<std::string> Strings(const tStrings& list) {
  std::vector<std::string> texts;
  for (int32_t at = 0; at < list.count; ++at) {
    texts.emplace_back(list.Get(at));
  }
  return texts;
}

TEST(PropertyProtocol, SetPropertyAnswersTheRemainderAlongTheClassChain) {
  ListingTrigger trigger;  // no logic runs: the time is only set
  trigger.Ids.AppendInt(7);
  trigger.Ids.AppendInt(8);
  struct Case {
    int32_t index;
    const char* text;
    int32_t remainder;
  };
  // time, freq, value, count, id 0, id 1: six properties.
  const Case cases[] = {
      {0, "120", -6}, {1, "24", -5}, {2, "9", -4}, {4, "70", -2}, {5, "80", -1},
      {6, "5", 0},    {9, "5", 3},
  };
  for (const Case& each : cases) {
    EXPECT_EQ(trigger.SetProperty(each.index, each.text), each.remainder) << each.index;
  }
  EXPECT_EQ(trigger.Time, 120u);
  EXPECT_EQ(trigger.Frequency, 24u);
  EXPECT_EQ(trigger.Value, 9);
  ASSERT_EQ(trigger.Ids.count, 2);
  EXPECT_EQ(trigger.Ids[0], 70);
  EXPECT_EQ(trigger.Ids[1], 80);

  // The count resizes the list, new entries 0, and is taken (-1).
  EXPECT_EQ(trigger.SetProperty(3, "4"), -1);
  ASSERT_EQ(trigger.Ids.count, 4);
  EXPECT_EQ(trigger.Ids[1], 80);
  EXPECT_EQ(trigger.Ids[3], 0);
  EXPECT_EQ(trigger.SetProperty(7, "33"), -1);
  EXPECT_EQ(trigger.Ids[3], 33);
  EXPECT_EQ(trigger.SetProperty(3, "1"), -1);
  EXPECT_EQ(trigger.Ids.count, 1);
  // Beyond every property nothing changes and the remainder is not negative.
  EXPECT_EQ(trigger.SetProperty(5, "99"), 0);
  EXPECT_EQ(trigger.Ids.count, 1);
  EXPECT_EQ(trigger.Ids[0], 70);
  // A count no thing list can have changes nothing; the bounds are taken.
  const struct {
    const char* text;
    int32_t count;
    bool logged;
  } counts[] = {{"2000000000", 1, true}, {"-5", 1, true}, {"4097", 1, true}, {"-1", 1, true},
                {"4096", 4096, false},    {"0", 0, false},  {"3", 3, false}};
  for (const auto& each : counts) {
    ASSERT_EQ(SetDebugMode(DebugModeOverwrite), DebugModeOverwrite);
    EXPECT_EQ(trigger.SetProperty(3, each.text), -1) << each.text;
    SetDebugMode(DebugModeOff);
    EXPECT_EQ(trigger.Ids.count, each.count) << each.text;
    const bool refused = testing_support::ReadDebugLog().find("SetIdListProperty: count") != std::string::npos;
    EXPECT_EQ(refused, each.logged) << each.text;
  }
  EXPECT_EQ(trigger.Ids[0], 0);
}

TEST(PropertyProtocol, GetPropertiesRefillsTheSameSharedLists) {
  ListingTrigger trigger;
  trigger.Time = 300;
  trigger.Frequency = 24;
  trigger.Value = -2;
  trigger.Ids.AppendInt(11);
  tStrings* labels = nullptr;
  tStrings* values = nullptr;
  trigger.GetProperties(labels, values);
  ASSERT_NE(labels, nullptr);
  ASSERT_NE(values, nullptr);
  EXPECT_EQ(Strings(*labels), (std::vector<std::string>{"time", "freq", "value", "count", "id[0]"}));
  EXPECT_EQ(Strings(*values), (std::vector<std::string>{"300", "24", "-2", "1", "11"}));

  LogicPlanItem plain;
  plain.Time = 0xFFFFFFFFu;
  tStrings* labelsAgain = nullptr;
  tStrings* valuesAgain = nullptr;
  plain.GetProperties(labelsAgain, valuesAgain);
  EXPECT_EQ(labelsAgain, labels);
  EXPECT_EQ(valuesAgain, values);
  EXPECT_EQ(Strings(*labels), (std::vector<std::string>{"time"}));
  EXPECT_EQ(Strings(*values), (std::vector<std::string>{"4294967295"}));
}

TEST(PropertyProtocol, RecordStringsAndTheBareEditableObject) {
  char buffer[YLEditableObject::kRecordStringSize];
  YLEditableObject editable;
  editable.GetRecordString(buffer, sizeof buffer);
  EXPECT_STREQ(buffer, "editable");
  EXPECT_EQ(editable.SetProperty(3, "1"), 3);
  tStrings labels;
  tStrings values;
  editable.ListProperties(labels, values);
  EXPECT_EQ(labels.count, 0);

  LogicPlanItem item;
  item.Time = 7;
  item.GetRecordString(buffer, sizeof buffer);
  EXPECT_STREQ(buffer, "  7: LogicPlanItem");
  ConditionTrigger trigger;
  trigger.Time = 1234;
  trigger.GetRecordString(buffer, sizeof buffer);
  EXPECT_STREQ(buffer, "1234: base replannable");
  // A short buffer is never overrun.
  char shortBuffer[6];
  trigger.GetRecordString(shortBuffer, sizeof shortBuffer);
  EXPECT_STREQ(shortBuffer, "1234:");
}

TEST(IdLists, RoundTripAndRefuseCountsLargerThanTheStream) {
  tIdList ids;
  ids.AppendInt(3);
  ids.AppendInt(-1);
  LumoMemoryStream stream;
  ASSERT_TRUE(stream.OpenNew(16, 1, 0));
  ASSERT_TRUE(WriteIdList(&stream, ids));
  const std::vector<uint8_t> expected = {0, 0, 0, 2, 0, 0, 0, 3, 0xFF, 0xFF, 0xFF, 0xFF};
  ASSERT_EQ(stream.position, expected.size());
  EXPECT_EQ(std::vector<uint8_t>(stream.buffer, stream.buffer + stream.position), expected);

  std::vector<uint8_t> bytes = expected;
  LumoMemoryStream reader;
  ASSERT_TRUE(reader.OpenBuffer(bytes.data(), static_cast<uint32_t>(bytes.size()), 1, 0));
  tIdList loaded;
  ASSERT_TRUE(ReadIdList(&reader, loaded));
  ASSERT_EQ(loaded.count, 2);
  EXPECT_EQ(loaded[1], -1);

  for (const std::vector<uint8_t>& damaged :
       {std::vector<uint8_t>{0x7F, 0xFF, 0xFF, 0xFF, 0, 0, 0, 1}, std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0xFE},
        std::vector<uint8_t>{0, 0, 0, 3, 0, 0, 0, 1, 0, 0, 0, 2}}) {
    std::vector<uint8_t> copy = damaged;
    LumoMemoryStream bad;
    ASSERT_TRUE(bad.OpenBuffer(copy.data(), static_cast<uint32_t>(copy.size()), 1, 0));
    tIdList refused;
    EXPECT_FALSE(ReadIdList(&bad, refused));
  }
}

}  // namespace
