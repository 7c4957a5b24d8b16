// The level score triggers on small levels: the target buildings' bonus of
// level 4 and the stadium count of level 10.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "GameOverLevelFixture.h"
#include "logic/triggers/ScoreTriggerLvl10.h"
#include "logic/triggers/ScoreTriggerLvl4.h"
#include "logic/triggers/ScoreTriggerStrategic.h"
#include "logic/world/YLTBuilding.h"
#include "logic/world/YLTCar.h"
#include "logic/world/YLUnit.h"

namespace game_over_testing {
namespace {

using ScoreTriggersTest = GameOverLevelTest;

bool Heard(const std::vector<std::string>& reports, const std::string& report) {
  return std::find(reports.begin(), reports.end(), report) != reports.end();
}

// The strategic score first (1,000 money at 50 each), then 1,000,000 for
// player 1 per wrecked target building, each addition reported. Targets that
// stand, ids of things that are no buildings and empty ids add nothing.
TEST_F(ScoreTriggersTest, LevelFourAddsABonusPerWreckedTarget) {
  MakePlayers(2);
  auto* wrecked = MakeAs<YLTBuilding>("PDept", 10, 10);
  auto* alsoWrecked = MakeAs<YLTBuilding>("Shop1", 20, 10);
  auto* standing = MakeAs<YLTBuilding>("Pub1", 30, 10);
  YLThing* lamp = Make("Lamppost", 40, 40);
  ASSERT_TRUE(wrecked != nullptr && alsoWrecked != nullptr && standing != nullptr && lamp != nullptr);
  wrecked->Info->Status |= StatusWrecked;
  alsoWrecked->Info->Status |= StatusWrecked;
  lamp->Info->Status |= StatusWrecked;
  ASSERT_EQ(Player(1).GetParam(ParamMoney), 1000);

  ScoreTriggerLvl4 trigger;
  for (const int32_t id : {wrecked->Info->Tid, standing->Info->Tid, lamp->Info->Tid, 999, alsoWrecked->Info->Tid}) {
    trigger.Targets.AppendInt(id);
  }
  listener.parameters.clear();
  trigger.Execute(&Logic());
  EXPECT_EQ(Player(1).GetParam(ParamScore), 1000 * 50 + 2 * 1000000);
  EXPECT_EQ(Player(2).GetParam(ParamScore), 1000 * 50);
  EXPECT_TRUE(Heard(listener.parameters, "1,13,1050000"));
  EXPECT_TRUE(Heard(listener.parameters, "1,13,2050000"));

  // Each run starts again from the strategic score.
  trigger.Execute(&Logic());
  EXPECT_EQ(Player(1).GetParam(ParamScore), 1000 * 50 + 2 * 1000000);
}

// Units brought into a stadium leave their owners' counts once (bit 21);
// players 1 and 2 score their units inside, supporters (type 3) left out.
// A unit of an owner without a player is only marked.
TEST_F(ScoreTriggersTest, LevelTenCountsStadiumUnitsAndTakesThemOffTheirOwnersOnce) {
  MakePlayers(2);
  auto* stadium = MakeAs<YLTCar>("Vehicle021-spelersbus", 30, 30, 0, 0);
  auto* emptyStadium = MakeAs<YLTCar>("Vehicle021-spelersbus", 30, 40, 0, 0);
  ASSERT_TRUE(stadium != nullptr && emptyStadium != nullptr);
  std::vector<YLUnit*> inside;
  const struct {
    const char* keyword;
    int32_t owner;
  } units[] = {{"UnitSkin", 1}, {"UnitSkin", 1}, {"UnitSkin", 2}, {"UnitSupporter", 2}, {"UnitSkin", 0}};
  int32_t column = 4;
  for (const auto& each : units) {
    auto* unit = MakeAs<YLUnit>(each.keyword, column, 10, 0, each.owner);
    ASSERT_NE(unit, nullptr);
    ASSERT_TRUE(EnterThing(unit->GetUnitInfo(), stadium->GetContainerInfo())) << each.keyword;
    inside.push_back(unit);
    column += 4;
  }
  Make("UnitSkin", 4, 20, 0, 1);  // outside
  ASSERT_EQ(Player(1).GetParam(ParamSelectable), 3);
  ASSERT_EQ(Player(2).GetParam(ParamSelectable), 1);
  const int32_t secondsThings = Player(2).GetParam(ParamThings);

  ScoreTriggerLvl10 trigger;
  trigger.Stadions.AppendInt(stadium->Info->Tid);
  trigger.Stadions.AppendInt(emptyStadium->Info->Tid);
  trigger.Stadions.AppendInt(inside[0]->Info->Tid);  // a unit, not a container
  trigger.Stadions.AppendInt(0);
  trigger.Execute(&Logic());
  EXPECT_EQ(Player(1).GetParam(ParamScore), 2);
  EXPECT_EQ(Player(2).GetParam(ParamScore), 1);
  EXPECT_EQ(Player(1).GetParam(ParamSelectable), 1);
  EXPECT_EQ(Player(2).GetParam(ParamSelectable), 0);
  EXPECT_EQ(Player(2).GetParam(ParamThings), secondsThings - 2);
  for (const YLUnit* unit : inside) {
    EXPECT_NE(unit->Info->Status & ScoreTriggerLvl10::kStatusCounted, 0u);
  }

  // Out and in again: counted for the score, taken off only once.
  ASSERT_TRUE(LeaveThing(inside[0]->GetUnitInfo(), 10, 20, 0, 0));
  trigger.Execute(&Logic());
  EXPECT_EQ(Player(1).GetParam(ParamScore), 1);
  ASSERT_TRUE(EnterThing(inside[0]->GetUnitInfo(), stadium->GetContainerInfo()));
  trigger.Execute(&Logic());
  EXPECT_EQ(Player(1).GetParam(ParamScore), 2);
  EXPECT_EQ(Player(1).GetParam(ParamSelectable), 1);
  EXPECT_EQ(Player(2).GetParam(ParamThings), secondsThings - 2);
}

// Players are scored from id 1 up to the first missing one.
TEST_F(ScoreTriggersTest, TheStrategicScoreStopsAtTheFirstMissingPlayer) {
  MakePlayers(2);
  ASSERT_TRUE(LogicPlayer(5));
  ScoreTriggerStrategic trigger;
  trigger.Execute(&Logic());
  EXPECT_EQ(Player(1).GetParam(ParamScore), 50000);
  EXPECT_EQ(Player(2).GetParam(ParamScore), 50000);
  EXPECT_EQ(Player(5).GetParam(ParamScore), 0);
}

}  // namespace
}  // namespace game_over_testing
