#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "LogicMapFixture.h"
#include "logic/core/CPlayer.h"
#include "logic/triggers/GameOverScoreLimit.h"
#include "logic/triggers/GameOverTimeLimit.h"
#include "logic/triggers/LogicPlanTechLevel.h"
#include "logic/triggers/LogicPlanWarpZ.h"
#include "logic/triggers/ScoreTrigger.h"
#include "logic/triggers/ScoreTriggerStrategic.h"
#include "logic/triggers/TriggerMoneyMakinPub.h"
#include "logic/triggers/tStrings.h"

namespace logic_world_testing {
namespace {

std::string RecordText(LogicPlanItem& item) {
  char buffer[64] = {};
  item.GetRecordString(buffer, sizeof buffer);
  return buffer;
}

std::vector<std::string> Texts(const tStrings& list) {
  std::vector<std::string> texts;
  for (int32_t index = 0; index < list.count; ++index) {
    texts.emplace_back(list.Get(index));
  }
  return texts;
}

template <typename T>
std::unique_ptr<T, tObjectDestroyer> RoundTrip(T& item) {
  std::unique_ptr<LumoObject, tObjectDestroyer> loaded = Load(Save(item));
  auto* typed = dynamic_cast<T*>(loaded.get());
  EXPECT_NE(typed, nullptr) << item.GetClassName();
  if (typed != nullptr) {
    loaded.release();
  }
  return std::unique_ptr<T, tObjectDestroyer>(typed);
}

using TimedItemsTest = LogicMapTest;

// The technology level item sets the library's level when it runs; made
// without a level it sets 3. Its level is edited as "lvl" and stored.
TEST_F(TimedItemsTest, TechLevelSetsTheLibrarysLevel) {
  LogicPlanTechLevel item;
  EXPECT_EQ(item.Level, 3);
  CLogic::SetTechnologyLevel(1);
  item.Execute(&logic);
  EXPECT_EQ(CLogic::GetTechnologyLevel(), 3);

  item.Time = 12;
  EXPECT_EQ(item.SetProperty(1, "2"), -1);
  EXPECT_EQ(item.Level, 2);
  EXPECT_EQ(item.SetProperty(2, "9"), 0);
  EXPECT_EQ(item.Level, 2);
  tStrings* labels = nullptr;
  tStrings* values = nullptr;
  item.GetProperties(labels, values);
  ASSERT_NE(labels, nullptr);
  EXPECT_EQ(Texts(*labels), (std::vector<std::string>{"time", "lvl"}));
  EXPECT_EQ(Texts(*values), (std::vector<std::string>{"12", "2"}));
  EXPECT_EQ(RecordText(item), " 12: tech level");

  auto copy = RoundTrip(item);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->Level, 2);
  EXPECT_EQ(copy->Time, 12u);
  copy->Execute(&logic);
  EXPECT_EQ(CLogic::GetTechnologyLevel(), 2);
  CLogic::SetTechnologyLevel(CLogic::kDefaultTechLevel);
}

// The set-up's triggers: their frequencies, record texts, countdown and
// stored fields.
TEST_F(TimedItemsTest, SetUpTriggersKeepTheirFieldsAndTexts) {
  GameOverTimeLimit timeLimit;
  GameOverScoreLimit scoreLimit(7000);
  ScoreTrigger beer(ParamBeerDrunk);
  ScoreTrigger fans(ParamSelectable);
  ScoreTrigger byFactory;
  ScoreTriggerStrategic strategic;
  TriggerMoneyMakinPub pubs;
  timeLimit.Time = 3600;
  EXPECT_EQ(timeLimit.GetFrequency(), 10u);
  EXPECT_EQ(scoreLimit.GetFrequency(), 10u);
  EXPECT_EQ(beer.GetFrequency(), 10u);
  EXPECT_EQ(strategic.GetFrequency(), 10u);
  EXPECT_EQ(pubs.GetFrequency(), 12u);
  EXPECT_EQ(byFactory.ScoringParam, 2);

  EXPECT_EQ(RecordText(timeLimit), "3600: game over time limit");
  EXPECT_EQ(RecordText(scoreLimit), "  0: game over score limit");
  EXPECT_EQ(RecordText(beer), "  0: contest(ParamBeerDrunk)");
  EXPECT_EQ(RecordText(fans), "  0: contest(?\?\?)");
  EXPECT_EQ(RecordText(byFactory), "  0: contest(ParamFrags)");
  EXPECT_EQ(RecordText(strategic), "  0: strategic score trigger");
  EXPECT_EQ(RecordText(pubs), "  0: money makin pub");

  EXPECT_TRUE(timeLimit.ShowsCountdown());
  char label[32] = {};
  EXPECT_STREQ(timeLimit.GetCountdownText(label, sizeof label), "time limit");
  EXPECT_EQ(timeLimit.GetTime(), 3600u);
  EXPECT_FALSE(scoreLimit.ShowsCountdown());

  scoreLimit.Frequency = 4;
  auto limitCopy = RoundTrip(scoreLimit);
  ASSERT_NE(limitCopy, nullptr);
  EXPECT_EQ(limitCopy->Limit, 7000);
  EXPECT_EQ(limitCopy->Frequency, 4u);
  auto beerCopy = RoundTrip(beer);
  ASSERT_NE(beerCopy, nullptr);
  EXPECT_EQ(beerCopy->ScoringParam, ParamBeerDrunk);
  auto timeCopy = RoundTrip(timeLimit);
  ASSERT_NE(timeCopy, nullptr);
  EXPECT_EQ(timeCopy->Time, 3600u);
  auto pubsCopy = RoundTrip(pubs);
  ASSERT_NE(pubsCopy, nullptr);
  EXPECT_EQ(pubsCopy->Frequency, 12u);
  EXPECT_NE(RoundTrip(strategic), nullptr);
}

// The strategic score weighs the parameters; a sum beyond 32 bits is held
// at the limit. A contest scores one parameter, and parameter 0 nothing.
TEST_F(TimedItemsTest, ScoresAreWeighedOrTakenFromOneParameter) {
  logic.Players.reset(new LumoObjects(true));
  for (int32_t id = 1; id <= 3; ++id) {
    ASSERT_NE(logic.CreatePlayer(id), nullptr);
  }
  CPlayer* first = logic.GetPlayer(1);
  CPlayer* second = logic.GetPlayer(2);
  CPlayer* third = logic.GetPlayer(3);
  for (CPlayer* player : {first, second, third}) {
    for (int32_t index = 1; index < CPlayer::kParamCount; ++index) {
      player->SetParam(index, 0);
    }
  }
  first->SetParam(ParamMoney, 10);
  first->SetParam(ParamMoneySpent, 2);
  first->SetParam(ParamThingsDestroyed, 1);
  first->SetParam(ParamOtherBuildingsWrecked, 1);
  first->SetParam(ParamPubsWrecked, 1);
  first->SetParam(ParamDopeHousesWrecked, 1);
  first->SetParam(ParamScoreCorrection, -7);
  first->SetParam(ParamBeerDrunk, 9);
  second->SetParam(ParamGirlsShopsWrecked, 20000);
  third->SetParam(ParamWeaponShopsWrecked, -20000);

  ScoreTriggerStrategic strategic;
  strategic.Execute(&logic);
  EXPECT_EQ(first->GetParam(ParamScore), 10 * 50 + 2 * 50 + 50000 + 75000 + 100000 + 150000 - 7);
  EXPECT_EQ(second->GetParam(ParamScore), INT32_MAX);
  EXPECT_EQ(third->GetParam(ParamScore), INT32_MIN);

  ScoreTrigger nothing(0);
  nothing.Execute(&logic);
  EXPECT_EQ(second->GetParam(ParamScore), INT32_MAX);
  ScoreTrigger beer(ParamBeerDrunk);
  beer.Execute(&logic);
  EXPECT_EQ(first->GetParam(ParamScore), 9);
  EXPECT_EQ(second->GetParam(ParamScore), 0);
}

// A thing set back down on the ground at Z 0 keeps one listing on the map,
// however often it is set down; lifted, it is listed nowhere.
TEST_F(TimedItemsTest, AWarpToTheGroundKeepsOneListing) {
  YLThing* car = Put<YLTPushableThing>(4, 6, 7);
  Put<YLTPushableThing>(2, 3, 3);
  LogicPlanWarpZ down(4, 0);
  down.Execute(&logic);
  down.Execute(&logic);
  std::vector<int32_t> listed = Listed();
  EXPECT_EQ(std::count(listed.begin(), listed.end(), 4), 1);
  EXPECT_EQ(Map().GetThingIDAt(6, 7), 4);

  LogicPlanWarpZ up(4, 5);
  up.Execute(&logic);
  listed = Listed();
  EXPECT_EQ(std::count(listed.begin(), listed.end(), 4), 0);
  EXPECT_EQ(car->Info->Z, 5);
  EXPECT_EQ(Map().GetThingIDAt(6, 7), 0);

  down.Execute(&logic);
  listed = Listed();
  EXPECT_EQ(std::count(listed.begin(), listed.end(), 4), 1);
  EXPECT_EQ(car->Info->Z, 0);
  EXPECT_EQ(Map().GetThingIDAt(6, 7), 4);
  EXPECT_EQ(Map().GetThingIDAt(3, 3), 2);
}

}  // namespace
}  // namespace logic_world_testing
