// How a blow makes a fan angry: by the health it costs, as an officer's
// anger grows, not by how hard it stuns.

#include <gtest/gtest.h>

#include "ExportLevelFixture.h"
#include "logic/world/YLUnitSupporter.h"

namespace export_level_testing {
namespace {

class FanAngerTest : public ExportLevelTest {};

struct BlowCase {
  float damage;
  float stun;
  float anger;
};

// Anger += 2.8 x damage x (1 - anger) for a plain fan, whose first
// temperament factor is 1.
TEST_F(FanAngerTest, ABlowAngersAFanByItsHealthDamageAlone) {
  AddPlayers();
  const BlowCase cases[] = {
      {0.1f, 0.0f, 0.28f},
      {0.0f, 0.1f, 0.0f},
      {0.1f, 0.1f, 0.28f},
      {0.25f, 0.0f, 0.7f},
  };
  int32_t x = 4;
  for (const BlowCase& blow : cases) {
    auto* fan = MakeAs<YLUnitSupporter>("UnitSupporter", x, 10, 1);
    auto* attacker = MakeAs<YLUnit>("UnitSupporter", x, 12, 2);
    ASSERT_NE(fan, nullptr);
    ASSERT_NE(attacker, nullptr);
    Logic().HurtThing(fan->GetTid(), blow.damage, blow.stun, x, 12, attacker->GetTid());
    EXPECT_NEAR(fan->GetUnitInfo()->Anger, blow.anger, 1e-5f) << "damage " << blow.damage << " stun " << blow.stun;
    x += 4;
  }
}

// A fan lying on the ground is beyond anger.
TEST_F(FanAngerTest, AFanThatIsDownIsNotAngeredByABlow) {
  AddPlayers();
  auto* fan = MakeAs<YLUnitSupporter>("UnitSupporter", 10, 10, 1);
  ASSERT_NE(fan, nullptr);
  fan->Info->Status &= ~static_cast<uint32_t>(StatusUpright);
  Logic().HurtThing(fan->GetTid(), 0.1f, 0.0f, 10, 12, 0);
  EXPECT_FLOAT_EQ(fan->GetUnitInfo()->Anger, 0.0f);
}

}  // namespace
}  // namespace export_level_testing
