// A game saved while its end is being decided runs on after a load exactly
// as the game that was never saved: the same states, plan and bytes.

#include <gtest/gtest.h>

#include "LogicMapFixture.h"
#include "base/Random.h"
#include "logic/core/CPlayer.h"
#include "logic/core/YLPlayerPolice.h"
#include "logic/triggers/GameOverTrigger.h"
#include "logic/triggers/LogicPlanWarpZ.h"

namespace logic_world_testing {
namespace {

// A fan unit its player can select, stored with the game.
class FanUnit : public TestUnit {
 public:
  const char* GetClassName() const override { return "GameOverResumeFanUnit"; }
  bool IsSelectable() const override { return true; }
};

LumoClassOf<FanUnit> classOfFanUnit(kVersion_1_6_0_6, "GameOverResumeFanUnit", "YLThing");

class GameOverResumeTest : public LogicMapTest {
 protected:
  void SetUp() override {
    LogicMapTest::SetUp();
    logic.Players.reset(new LumoObjects(true));
    logic.Propagators.reset(new LumoObjects(true));
    logic.Initialised = true;
    // The units' moves, as a started logic has them: units act every frame.
    YLUnit::InitMoveTable();
    for (int32_t id = 1; id <= 4; ++id) {
      ASSERT_NE(logic.CreatePlayer(id), nullptr);
    }
    logic.SinglePlayer = 0;
  }

  void TearDown() override {
    loaded.reset();
    YLThing::SetLogicContext(logic.Map.get(), &logic);
    LogicMapTest::TearDown();
  }

  // Player id's one fan unit, at thing id 10 + id.
  void GiveFanUnit(int32_t id) {
    auto* unit = Put<FanUnit>(10 + id, 2 + 3 * id, 6);
    unit->ID = static_cast<uint32_t>(10 + id);
    unit->SetOwner(id);
    logic.GetPlayer(id)->OnThingOwned(true, unit);
  }

  static void KillFanUnit(CLogic& each, int32_t id) { each.GetThing(10 + id)->Destroy(); }

  // Runs frames up to the frame, or until a won game stops them.
  static void RunTo(CLogic& each, uint32_t frame) {
    while (each.Time < frame && each.Initialised) {
      each.Compute();
    }
  }

  std::unique_ptr<LumoObject, tObjectDestroyer> loaded;
};

// Players 1 and 2 lose their fan unit at different frames; player 4 keeps
// its own. Each check is a game-over trigger, and a warp waits in the long
// list. Saved in frame 40, between the losses: the dead unit of player 1
// stays off the loaded map, and the game ends as the unbroken one.
TEST_F(GameOverResumeTest, ASavedGameEndsAsTheUnbrokenOne) {
  for (int32_t id : {1, 2, 4}) {
    GiveFanUnit(id);
    logic.InsertPlan(new GameOverTrigger(id), static_cast<uint32_t>(id));
  }
  auto* thing = Put<YLTPushableThing>(9, 4, 4);
  thing->ID = 9;
  logic.InsertPlan(new LogicPlanWarpZ(9, 3), 150);
  SetRandomSeed(31);

  RunTo(logic, 20);
  KillFanUnit(logic, 1);
  RunTo(logic, 40);
  const Bytes atForty = Save(logic);
  KillFanUnit(logic, 2);
  RunTo(logic, 200);
  const Bytes unbroken = Save(logic);
  ASSERT_EQ(logic.GetPlayer(4)->GetParam(ParamState), CPlayer::kStateWon);
  ASSERT_EQ(logic.GetPlayer(1)->GetParam(ParamState), CPlayer::kStateLost);
  ASSERT_EQ(logic.GetPlayer(2)->GetParam(ParamState), CPlayer::kStateLost);

  loaded = Load(atForty);
  auto* copy = dynamic_cast<CLogic*>(loaded.get());
  ASSERT_NE(copy, nullptr);
  KillFanUnit(*copy, 2);
  RunTo(*copy, 200);
  EXPECT_EQ(Save(*copy), unbroken);
}

}  // namespace
}  // namespace logic_world_testing
