// A leader's chant over many frames: each chant-on step reaches its fans
// again, not only the first.

#include <gtest/gtest.h>

#include "ExportLevelFixture.h"
#include "logic/world/YLUnitLeader.h"
#include "logic/world/YLUnitSupporter.h"

namespace export_level_testing {
namespace {

class LeaderChantTest : public ExportLevelTest {};

// Each chant stimulus raises a fan's loyalty by 0.15: one stimulus in 240
// frames brings 0.10 to 0.25, a stimulus every chant-on step to the top.
TEST_F(LeaderChantTest, AChantingLeadersFansGrowMoreLoyalWithEveryChant) {
  AddPlayers();
  auto* leader = MakeAs<YLUnitLeader>("UnitLeader", 10, 10, 1);
  auto* fan = MakeAs<YLUnitSupporter>("UnitSupporter", 13, 10, 1);
  ASSERT_NE(leader, nullptr);
  ASSERT_NE(fan, nullptr);
  fan->GetUnitInfo()->Loyalty = 0.1f;
  SelectOnly(1, leader->GetTid());
  ASSERT_TRUE(Give(GenerateChantOrder(1, false, false)));

  int32_t chantingFrames = 0;
  for (int32_t frame = 0; frame < 240; ++frame) {
    Run(1);
    chantingFrames += leader->GetUnitInfo()->MoveNumber == YLUnit::kMoveChant ? 1 : 0;
  }
  ASSERT_GT(chantingFrames, 200) << "the leader must chant on for the test to mean anything";
  EXPECT_GT(fan->GetUnitInfo()->Loyalty, 0.7f);
  EXPECT_EQ(fan->FollowLeader, leader->GetTid());
}

// The chant reaches the leader's side only through the fans' own rule: a
// fan of another player hears it and stays as loyal as it was.
TEST_F(LeaderChantTest, AnotherPlayersFanIsNotWonOverByTheChant) {
  AddPlayers();
  auto* leader = MakeAs<YLUnitLeader>("UnitLeader", 10, 10, 1);
  auto* stranger = MakeAs<YLUnitSupporter>("UnitSupporter", 13, 10, 2);
  ASSERT_NE(leader, nullptr);
  ASSERT_NE(stranger, nullptr);
  stranger->GetUnitInfo()->Loyalty = 0.1f;
  SelectOnly(1, leader->GetTid());
  ASSERT_TRUE(Give(GenerateChantOrder(1, false, false)));
  Run(240);
  EXPECT_LE(stranger->GetUnitInfo()->Loyalty, 0.1f);
  EXPECT_NE(stranger->FollowLeader, leader->GetTid());
}

}  // namespace
}  // namespace export_level_testing
