// Orders and steps whose parameters come from outside (a peer's order, a
// stored plan) are carried out or refused without a fault, whatever their
// values.

#include <gtest/gtest.h>

#include <climits>

#include "../../navigation/PathMapDrawing.h"
#include "LogicMapFixture.h"
#include "logic/core/CPlayer.h"
#include "logic/core/OrderKinds.h"
#include "logic/world/PsychicPlanKinds.h"

namespace logic_world_testing {
namespace {

class UnitOrderInputTest : public LogicMapTest {
 protected:
  void SetUp() override {
    LogicMapTest::SetUp();
    YLUnit::InitMoveTable();
    logic.Players.reset(new LumoObjects(true));
    logic.CreatePlayer(1);
    logic.CreatePlayer(CLogic::kPolicePlayer);
    path_testing::DrawnMap drawn = path_testing::DrawMap({"ABC", ".D."}, 10);
    Map().SetStratMap(drawn.knowledge.release());
  }
};

struct ExtremeCase {
  const char* kind;
  int32_t param1;
  int32_t param2;
};

TEST_F(UnitOrderInputTest, OrdersWithExtremeParametersAreCarriedOutOrRefused) {
  const ExtremeCase cases[] = {
      {"PsychicPlanGoto", INT32_MAX, INT32_MIN},   {"PsychicPlanGoto", -1, -1},
      {"PsychicPlanGoto", INT32_MIN, INT32_MAX},   {"PsychicPlanGotoThing", -7, 0},
      {"PsychicPlanGotoThing", 100000, 0},         {"PsychicPlanEnter", INT32_MIN, 0},
      {"PsychicPlanBurgle", INT32_MAX, 0},         {"PsychicPlanLeave", INT32_MIN, 0},
      {"PsychicPlanRunAway", INT32_MAX, INT32_MAX}, {"PsychicPlanRunAway", INT32_MIN, INT32_MIN},
      {"PsychicPlanFlee", INT32_MIN, 0},           {"PsychicPlanFlee", INT32_MAX, 0},
      {"PsychicPlanArrest", INT32_MIN, 0},         {"PsychicPlanShop", INT32_MAX, 0},
      {"PsychicPlanJailed", -1, -1},
  };
  int32_t id = 5;
  for (const ExtremeCase& each : cases) {
    SCOPED_TRACE(each.kind);
    auto* unit = Put<TestUnit>(id, 3 + id % 10, 5);
    unit->Info->Owner = 1;
    auto* step = dynamic_cast<PsychicPlanItem*>(CreateObject(each.kind, nullptr));
    ASSERT_NE(step, nullptr);
    step->Param1 = each.param1;
    step->Param2 = each.param2;
    step->Motivation = 0.5f;
    Logged([&] { unit->ExecutePlan(step); });
    // The step (or its copy) is carried out as far as the base unit can.
    for (int32_t frame = 0; frame < 3; ++frame) {
      Logged([&] { unit->Move(); });
      if (PsychicPlanItem* leaf = unit->GetPlanLeaf(); leaf != &unit->Plan) {
        unit->OfferStep(leaf->Clone());
      }
    }
    ++id;
  }
}

// A run away marks its parameters once expanded; the largest stored values
// wrap as 32-bit values do.
TEST_F(UnitOrderInputTest, ARunAwayMarksEvenTheLargestParameters) {
  auto* unit = Put<TestUnit>(5, 5, 5);
  unit->Info->Owner = 1;
  unit->ExecutePlan(new PsychicPlanRunAway(INT32_MAX, -1, 0.5f, false));
  const PsychicPlanItem* step = unit->Plan.child;
  ASSERT_NE(step, nullptr);
  EXPECT_EQ(step->Action, OrderKind::kRunAway);
  EXPECT_EQ(step->Param1, INT32_MIN);
  EXPECT_EQ(step->Param2, 0);
}

}  // namespace
}  // namespace logic_world_testing
