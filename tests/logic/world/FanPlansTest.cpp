// Fans' own plans on a small level made through the logic's exports: drunk
// fans pass out, a fan following an idle leader holds with it, and a fan
// sent to its own leader for dope takes one of the leader's doses.

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "VehicleFixture.h"
#include "logic/core/COrderPackage.h"
#include "logic/core/LogicLifecycle.h"
#include "logic/core/OrderBuilders.h"
#include "logic/core/OrderKinds.h"
#include "logic/core/UnitInfo.h"
#include "logic/world/PsychicPlanItem.h"
#include "logic/world/YLUnitLeader.h"
#include "logic/world/YLUnitSupporter.h"

namespace vehicle_testing {
namespace {

constexpr int32_t kSayAccepted = 3;
constexpr int32_t kSayRefused = 4;

// What the units said: (unit id, message).
class SpeechListener : public YLEventListener {
 public:
  void EventSpeech(int32_t, int32_t subjectId, int32_t message, int32_t) override {
    said.push_back({subjectId, message});
  }
  int32_t Count(int32_t unit, int32_t message) const {
    int32_t count = 0;
    for (const auto& [id, what] : said) {
      count += id == unit && what == message ? 1 : 0;
    }
    return count;
  }
  std::vector<std::pair<int32_t, int32_t>> said;
};

class FanPlansTest : public VehicleTest {
 protected:
  void SetUp() override {
    VehicleTest::SetUp();
    LogicPlayer(1);
    LogicPlayer(2);
    ASSERT_TRUE(LogicListener(&speech));
    StopTraffic();
  }
  // Hands a package made by an order builder to the logic.
  static void Apply(COrderPackage* package) {
    ASSERT_NE(package, nullptr);
    std::unique_ptr<COrderPackage, void (*)(COrderPackage*)> owned(package, DeleteOrderPackage);
    AcceptOrder(owned.get());
  }
  // Whether the listener heard the unit start the move.
  bool Played(int32_t unit, int32_t code) const {
    for (const HeardMove& move : listener.moves) {
      if (move.id == unit && move.code == code) {
        return true;
      }
    }
    return false;
  }

  SpeechListener speech;
};

TEST_F(FanPlansTest, FansKeptAtFullBeerPassOutWithinAFewThousandFrames) {
  std::vector<YLUnitSupporter*> fans;
  for (const auto& [x, y] : {std::pair{10, 10}, {30, 10}, {10, 30}, {30, 30}}) {
    fans.push_back(MakeAs<YLUnitSupporter>("UnitSupporter", x, y, 0, 1));
    ASSERT_NE(fans.back(), nullptr);
  }
  std::set<int32_t> fallen;
  for (int32_t frame = 0; frame < 4000 && fallen.size() < fans.size(); ++frame) {
    for (YLUnitSupporter* fan : fans) {
      fan->GetUnitInfo()->Beer = 1.0f;
    }
    Run(1);
    for (YLUnitSupporter* fan : fans) {
      if (Played(fan->GetTid(), YLUnit::kMoveFall)) {
        fallen.insert(fan->GetTid());
      }
    }
  }
  EXPECT_EQ(fallen.size(), fans.size());
  for (YLUnitSupporter* fan : fans) {
    EXPECT_EQ(speech.Count(fan->GetTid(), kSayRefused), 0) << "fan " << fan->GetTid();
  }
}

TEST_F(FanPlansTest, AFallenDrunkLiesOutItsStepAndGetsUp) {
  auto* fan = MakeAs<YLUnitSupporter>("UnitSupporter", 20, 20, 0, 1);
  ASSERT_NE(fan, nullptr);
  int32_t lying = 0;
  bool upAgain = false;
  for (int32_t frame = 0; frame < 6000 && !upAgain; ++frame) {
    fan->GetUnitInfo()->Beer = lying == 0 ? 1.0f : 0.0f;  // sober once down, so it stays up after
    Run(1);
    const int32_t move = fan->Info->MoveNumber;
    if (move == YLUnit::kMoveOut) {
      ++lying;
    } else if (lying > 0 && move != YLUnit::kMoveFall) {
      upAgain = true;
    }
  }
  EXPECT_GT(lying, 0);
  EXPECT_TRUE(upAgain);
  EXPECT_NE(fan->Info->Status & StatusUpright, 0u);
}

TEST_F(FanPlansTest, AFollowerOfAnIdleLeaderHoldsWithIt) {
  auto* leader = MakeAs<YLUnitLeader>("UnitLeader", 20, 20, 0, 1);
  auto* fan = MakeAs<YLUnitSupporter>("UnitSupporter", 23, 20, 0, 1);
  ASSERT_TRUE(leader != nullptr && fan != nullptr);
  fan->FollowLeader = leader->GetTid();
  Run(120);
  ASSERT_EQ(leader->GetPlanLeaf()->Action, OrderKind::kHold);
  speech.said.clear();
  int32_t holding = 0;
  constexpr int32_t kFrames = 1200;
  for (int32_t frame = 0; frame < kFrames; ++frame) {
    Run(1);
    holding += fan->GetPlanLeaf()->Action == OrderKind::kHold ? 1 : 0;
  }
  // 100 slow steps: a copy taken again now and then, after an ambient
  // moment of either unit, but never refused and never idled away.
  EXPECT_EQ(speech.Count(fan->GetTid(), kSayRefused), 0);
  EXPECT_LE(speech.Count(fan->GetTid(), kSayAccepted), 15);
  EXPECT_GE(holding, kFrames * 8 / 10);
  EXPECT_EQ(fan->FollowLeader, leader->GetTid());
}

struct DopeCase {
  const char* name;
  int32_t leaderOwner;
  int32_t doses;
  int32_t dosesLeft;
  bool doped;
};

void PrintTo(const DopeCase& entry, std::ostream* out) { *out << entry.name; }

class LeaderDopeTest : public FanPlansTest, public ::testing::WithParamInterface<DopeCase> {};

TEST_P(LeaderDopeTest, AFanSentToItsOwnLeaderTakesOneOfItsDoses) {
  const DopeCase& entry = GetParam();
  auto* leader = MakeAs<YLUnitLeader>("UnitLeader", 20, 20, 0, entry.leaderOwner);
  auto* fan = MakeAs<YLUnitHardCore>("UnitSkin", 26, 20, 0, 1);
  ASSERT_TRUE(leader != nullptr && fan != nullptr);
  ASSERT_TRUE(leader->AddDopeUnits(entry.doses));
  Apply(GenerateSelectionOrder(1, fan->GetTid(), false, true));
  Apply(GenerateGetDopeOrder(1, leader->GetTid(), false, false));
  Run(300);
  EXPECT_EQ(leader->GetLeaderInfo()->DopeDoses, entry.dosesLeft);
  if (entry.doped) {
    EXPECT_GT(fan->GetUnitInfo()->Dope, 0.2f);
    EXPECT_TRUE(Played(fan->GetTid(), 17));  // the dope move
  } else {
    EXPECT_EQ(fan->GetUnitInfo()->Dope, 0.0f);
  }
}

const DopeCase kDopeCases[] = {
    {"OwnLeaderWithDoses", 1, 3, 2, true},
    {"OwnLeaderWithout", 1, 0, 0, false},
    {"OtherSidesLeader", 2, 3, 3, false},
};

INSTANTIATE_TEST_SUITE_P(Doses, LeaderDopeTest, ::testing::ValuesIn(kDopeCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vehicle_testing
