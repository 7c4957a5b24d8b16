#include <gtest/gtest.h>

#include "bot/YBCrewAssignment.h"
#include "bot/YBIdentifierList.h"
#include "bot/YBObjective.h"
#include "tests/bot/BotLevelFixture.h"

namespace bot_testing {
namespace {

// An objective that counts how often it was given an assignment list.
class CountingObjective : public YBObjective {
 public:
  int32_t SetProperty(int32_t index, const char* text) override {
    if (index >= 4) {
      own.emplace_back(index, text);
      return -1;
    }
    return YBObjective::SetProperty(index, text);
  }
  std::vector<std::pair<int32_t, std::string>> own;
};

class ObjectiveTest : public BotLevelTest {
 protected:
  CountingObjective* Add(int32_t id, int32_t player, float priority) {
    auto* objective = new CountingObjective;
    objective->SetID((static_cast<uint32_t>(id) << 16) | static_cast<uint32_t>(player));
    objective->Priority = priority;
    controller->GetObjectives()->Append(objective);
    return objective;
  }
  static std::vector<std::string> Values(YBObjective& objective) {
    YBTextList names;
    YBTextList values;
    objective.GetProperties(names, values);
    EXPECT_EQ(names, (YBTextList{"ID", "Player", "Priority", "Assignment"}));
    return values;
  }
};

TEST_F(ObjectiveTest, PriorityTextIsClampedAndOffInAnyCase) {
  struct Case {
    const char* text;
    float priority;
  };
  const Case cases[] = {{"OFF", -1.0f}, {"off", -1.0f}, {"Off", -1.0f}, {"150", 1.0f},
                        {"-20", -1.0f}, {"37", 0.37f},  {"0", 0.0f},    {nullptr, 0.0f}};
  for (const Case& c : cases) {
    YBObjective objective;
    EXPECT_EQ(objective.SetProperty(2, c.text), -1);
    EXPECT_FLOAT_EQ(objective.Priority, c.priority) << (c.text != nullptr ? c.text : "(null)");
  }
}

TEST_F(ObjectiveTest, PropertiesShowTruncatedPercentOffAndABlankForNoList) {
  YBObjective objective;
  objective.SetProperty(0, "12");
  objective.SetProperty(1, "3");
  objective.Priority = 0.375f;
  EXPECT_EQ(Values(objective), (std::vector<std::string>{"12", "3", "37", " "}));
  EXPECT_EQ(objective.GetObjectiveID(), 12);
  EXPECT_EQ(objective.GetPlayer(), 3);
  objective.Priority = -1.0f;
  objective.SetProperty(3, "3,4,5,9,11,12");
  EXPECT_EQ(Values(objective), (std::vector<std::string>{"12", "3", "Off", "3-5,9,11-12"}));
  EXPECT_EQ(objective.Describe(), "Dummy 12 3 Off 3-5,9,11-12");
  EXPECT_TRUE(objective.IsAssigned(11));
  EXPECT_FALSE(objective.IsAssigned(10));
  EXPECT_EQ(objective.SetProperty(4, "x"), 0);
  objective.Free();
}

TEST_F(ObjectiveTest, ScriptOffReleasesTheAssignmentOnceAndRefusesIdAndPlayer) {
  UnitInfo* unit = MakeUnit(1, 1, 4, 4);
  CountingObjective* objective = Add(5, 1, 0.5f);
  CountingObjective* other = Add(6, 1, 0.5f);
  knowledge->EventSetObjectiveValue(5, 3, std::to_string(unit->Tid).c_str());
  ASSERT_NE(objective->Assignment, nullptr);
  EXPECT_EQ(Unit(unit)->Assignment->Objective, objective);
  EXPECT_EQ(other->Assignment, nullptr);
  knowledge->EventSetObjectiveValue(5, 2, "Off");
  EXPECT_FLOAT_EQ(objective->Priority, -1.0f);
  EXPECT_EQ(objective->Assignment, nullptr);
  // Already off: the list stays, as nothing is released.
  objective->Assignment = std::make_unique<YBIdentifierList>(std::vector<int32_t>{1});
  knowledge->EventSetObjectiveValue(5, 2, "oFF");
  EXPECT_NE(objective->Assignment, nullptr);
  knowledge->EventSetObjectiveValue(5, 2, "250.5");
  EXPECT_FLOAT_EQ(objective->Priority, 2.505f);  // the script's road does not clamp
  knowledge->EventSetObjectiveValue(5, 0, "9");
  knowledge->EventSetObjectiveValue(5, 1, "9");
  EXPECT_EQ(objective->GetObjectiveID(), 5);
  EXPECT_EQ(objective->GetPlayer(), 1);
  const std::string line = "(BOT) External change of Objective ID or Objective Player is not allowed\n";
  const std::string log = Log();
  const size_t first = log.find(line);
  ASSERT_NE(first, std::string::npos);
  EXPECT_NE(log.find(line, first + 1), std::string::npos);
  knowledge->EventSetObjectiveValue(6, 7, "seven");
  EXPECT_EQ(other->own, (std::vector<std::pair<int32_t, std::string>>{{7, "seven"}}));
  knowledge->EventSetObjectiveValue(6, 2, nullptr);
  EXPECT_FLOAT_EQ(other->Priority, 0.0f);
}

}  // namespace
}  // namespace bot_testing
