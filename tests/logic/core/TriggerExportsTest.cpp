// The trigger exports on the running logic's plan.

#include <gtest/gtest.h>

#include <typeinfo>

#include <cstdint>
#include <cstring>
#include <string>

#include "logic/core/CLogic.h"
#include "logic/core/LogicLifecycle.h"
#include "logic/core/TriggerExports.h"
#include "logic/triggers/GameOverLevel8Trigger.h"
#include "logic/triggers/GameOverTimeLimit.h"
#include "logic/triggers/GameOverTrigger.h"
#include "logic/triggers/GameOverTriggerSurvive.h"
#include "logic/triggers/GameOverTriggerUnitsInContainer.h"
#include "logic/triggers/LogicPlanItem.h"
#include "logic/triggers/LogicPlanTechLevel.h"
#include "logic/triggers/ScoreTriggerLvl10.h"
#include "logic/triggers/ScoreTriggerLvl4.h"
#include "logic/triggers/ScoreTriggerStrategic.h"
#include "logic/triggers/TriggerDontRepair.h"
#include "logic/triggers/TriggerPlayerBus.h"
#include "logic/triggers/TriggerShoppingInnocents.h"
#include "logic/triggers/TriggerSpawnInBuilding.h"
#include "logic/triggers/TriggerTrainArrival.h"
#include "logic/triggers/YLTriggerTram.h"

namespace {

class TriggerExportsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(LogicStart());
    ASSERT_TRUE(LogicCreate(8, 8));
    ASSERT_TRUE(LogicPlayer(1));
  }
  void TearDown() override { LogicStop(); }

  static CLogic& Logic() { return *TheLogic(); }
  static void Run(int32_t frames) {
    for (int32_t frame = 0; frame < frames; ++frame) {
      ASSERT_TRUE(LogicCompute());
    }
  }
  // Whether the item is linked into one of the plan's lists.
  static bool Planned(const LogicPlanItem* item) {
    for (int32_t bucket = 0; bucket < GetLogicPlanSize(); ++bucket) {
      for (const LogicPlanItem* each = GetShortPlan(bucket); each != nullptr; each = each->Next) {
        if (each == item) {
          return true;
        }
      }
    }
    for (const LogicPlanItem* each = GetLongPlan(); each != nullptr; each = each->Next) {
      if (each == item) {
        return true;
      }
    }
    return false;
  }
  // Counts the kinds of item these tests plan (plain items and technology
  // levels); the level's own traffic plans messages of other kinds meanwhile.
  static bool OfTheTests(const LogicPlanItem* item) {
    return typeid(*item) == typeid(LogicPlanItem) || dynamic_cast<const LogicPlanTechLevel*>(item) != nullptr;
  }
  static int32_t PlannedCount() {
    int32_t count = 0;
    for (int32_t bucket = 0; bucket < GetLogicPlanSize(); ++bucket) {
      for (const LogicPlanItem* each = GetShortPlan(bucket); each != nullptr; each = each->Next) {
        count += OfTheTests(each) ? 1 : 0;
      }
    }
    for (const LogicPlanItem* each = GetLongPlan(); each != nullptr; each = each->Next) {
      count += OfTheTests(each) ? 1 : 0;
    }
    return count;
  }
};

// Each kind whose class this library holds is made through the class
// registry, by its name; any other kind is a plain plan item.
TEST_F(TriggerExportsTest, CreateTriggerMakesTheClassOfTheKind) {
  Run(5);
  const struct {
    tTriggerType type;
    const char* className;
  } cases[] = {
      {2, "LogicPlanItem"},
      {0, "LogicPlanItem"},
      {19, "LogicPlanItem"},
      {8, "ScoreTriggerStrategic"},
      {9, "GameOverTrigger"},
      {10, "GameOverLevel8Trigger"},
      {11, "GameOverTriggerUnitsInContainer"},
      {12, "GameOverTimeLimit"},
      {13, "LogicPlanTechLevel"},
      {14, "YLCustomTrigger"},
      {15, "ScoreTriggerLvl4"},
      {16, "ScoreTriggerLvl10"},
      {3, "TriggerSpawnInBuilding"},
      {4, "TriggerSpawnLeaderInBuilding"},
      {5, "TriggerPlayerBus"},
      {6, "TriggerTrainArrival"},
      {7, "YLTriggerTram"},
      {17, "TriggerDontRepair"},
      {18, "TriggerShoppingInnocents"},
  };
  for (const auto& entry : cases) {
    LogicPlanItem* item = CreateTrigger(entry.type);
    ASSERT_NE(item, nullptr) << entry.type;
    EXPECT_STREQ(item->GetClassName(), entry.className) << entry.type;
    EXPECT_EQ(item->Time, 5u + 31u) << entry.type;
    EXPECT_EQ(item->Next, nullptr);
    EXPECT_FALSE(Planned(item));
    DeleteTrigger(item);
  }
}

// The editor may set a planned item's time to the current frame: the item
// runs at once and, when it does not repeat, is freed inside the setter.
// Every class's setter then leaves the item alone (the sanitizers report any
// touch of the freed item) and answers a negative remainder.
TEST_F(TriggerExportsTest, ATimeSetToTheCurrentFrameRunsTheItemAndItsSetterLeavesItAlone) {
  Run(3);
  const std::string now = std::to_string(Logic().Time);
  for (tTriggerType type = 0; type <= 18; ++type) {
    LogicPlanItem* item = CreateTrigger(type);
    ASSERT_NE(item, nullptr) << type;
    InsertTrigger(item);
    EXPECT_LT(item->SetProperty(0, now.c_str()), 0) << type;
  }
  auto* survive = new GameOverTriggerSurvive;
  Logic().InsertPlan(survive, 10);
  EXPECT_LT(survive->SetProperty(0, now.c_str()), 0);
  Run(2);
}

// The game-over and score kinds come with their classes' frequencies.
TEST_F(TriggerExportsTest, CreateTriggerMakesGameOverAndScoreTriggersWithTheirFrequencies) {
  const struct {
    tTriggerType type;
    bool (*isOfClass)(LogicPlanItem*);
    uint32_t frequency;
  } cases[] = {
      {8, [](LogicPlanItem* item) { return dynamic_cast<ScoreTriggerStrategic*>(item) != nullptr; }, 10},
      {9, [](LogicPlanItem* item) { return dynamic_cast<GameOverTrigger*>(item) != nullptr; }, 24},
      {10, [](LogicPlanItem* item) { return dynamic_cast<GameOverLevel8Trigger*>(item) != nullptr; }, 24},
      {11, [](LogicPlanItem* item) { return dynamic_cast<GameOverTriggerUnitsInContainer*>(item) != nullptr; }, 24},
      {12, [](LogicPlanItem* item) { return dynamic_cast<GameOverTimeLimit*>(item) != nullptr; }, 10},
      {15, [](LogicPlanItem* item) { return dynamic_cast<ScoreTriggerLvl4*>(item) != nullptr; }, 10},
      {16, [](LogicPlanItem* item) { return dynamic_cast<ScoreTriggerLvl10*>(item) != nullptr; }, 10},
  };
  for (const auto& entry : cases) {
    LogicPlanItem* item = CreateTrigger(entry.type);
    ASSERT_NE(item, nullptr) << entry.type;
    EXPECT_TRUE(entry.isOfClass(item)) << entry.type;
    EXPECT_EQ(item->GetFrequency(), entry.frequency) << entry.type;
    DeleteTrigger(item);
  }
}

// The level-script kinds: the one-shot items run once, the repeating ones
// every 10 frames; a fresh train trigger gives its train to nobody.
TEST_F(TriggerExportsTest, CreateTriggerMakesLevelScriptItemsWithTheirFrequencies) {
  const struct {
    tTriggerType type;
    bool (*isOfClass)(LogicPlanItem*);
    uint32_t frequency;
  } cases[] = {
      {3, [](LogicPlanItem* item) { return dynamic_cast<TriggerSpawnInBuilding*>(item) != nullptr; }, 0},
      {4, [](LogicPlanItem* item) { return dynamic_cast<TriggerSpawnLeaderInBuilding*>(item) != nullptr; }, 0},
      {5, [](LogicPlanItem* item) { return dynamic_cast<TriggerPlayerBus*>(item) != nullptr; }, 0},
      {6, [](LogicPlanItem* item) { return dynamic_cast<TriggerTrainArrival*>(item) != nullptr; }, 0},
      {7, [](LogicPlanItem* item) { return dynamic_cast<YLTriggerTram*>(item) != nullptr; }, 0},
      {17, [](LogicPlanItem* item) { return dynamic_cast<TriggerDontRepair*>(item) != nullptr; }, 10},
      {18, [](LogicPlanItem* item) { return dynamic_cast<TriggerShoppingInnocents*>(item) != nullptr; }, 10},
  };
  for (const auto& entry : cases) {
    LogicPlanItem* item = CreateTrigger(entry.type);
    ASSERT_NE(item, nullptr) << entry.type;
    EXPECT_TRUE(entry.isOfClass(item)) << entry.type;
    EXPECT_EQ(item->GetFrequency(), entry.frequency) << entry.type;
    if (auto* train = dynamic_cast<TriggerTrainArrival*>(item)) {
      EXPECT_EQ(train->Team, 0);
      EXPECT_EQ(train->Types.count, 0);
    }
    DeleteTrigger(item);
  }
}

TEST_F(TriggerExportsTest, AFreshTriggerRuns31FramesAfterItsInsertion) {
  LogicPlanItem* plain = CreateTrigger(2);
  ASSERT_NE(plain, nullptr);
  InsertTrigger(plain);
  InsertTrigger(nullptr);
  EXPECT_EQ(GetLongPlan(), plain);

  auto* tech = dynamic_cast<LogicPlanTechLevel*>(CreateTrigger(13));
  ASSERT_NE(tech, nullptr);
  tech->SetProperty(1, "1");
  ASSERT_EQ(tech->Level, 1);
  ASSERT_EQ(tech->Time, 31u);
  InsertTrigger(tech);
  Run(31);
  EXPECT_EQ(CLogic::GetTechnologyLevel(), 3);
  EXPECT_TRUE(Planned(plain));
  Run(1);
  EXPECT_EQ(CLogic::GetTechnologyLevel(), 1);
  EXPECT_EQ(PlannedCount(), 0);
}

TEST_F(TriggerExportsTest, ShortPlanBuckets) {
  EXPECT_EQ(GetLogicPlanSize(), 30);
  LogicPlanItem* item = CreateTrigger(2);
  item->Time = 29;  // due in bucket 29
  InsertTrigger(item);
  EXPECT_EQ(GetShortPlan(29), item);
  EXPECT_EQ(GetShortPlan(30), nullptr);
  EXPECT_EQ(GetShortPlan(-1), nullptr);
  EXPECT_EQ(GetShortPlan(0), nullptr);
}

TEST_F(TriggerExportsTest, RemovingAnItemThatIsNotPlannedChangesNothing) {
  LogicPlanItem* planned = CreateTrigger(2);
  InsertTrigger(planned);
  LogicPlanItem* loose = CreateTrigger(2);
  RemoveTrigger(loose);
  RemoveTrigger(nullptr);
  EXPECT_EQ(GetLongPlan(), planned);
  EXPECT_EQ(planned->Next, nullptr);
  EXPECT_EQ(PlannedCount(), 1);
  RemoveTrigger(planned);
  EXPECT_EQ(PlannedCount(), 0);
  EXPECT_EQ(planned->Next, nullptr);
  DeleteTrigger(planned);
  DeleteTrigger(loose);
  DeleteTrigger(nullptr);
}

// An item of the long list already due within 30 frames is found where it
// is and freed alone; the items behind it stay planned and run.
TEST_F(TriggerExportsTest, DeletingALongListItemDueSoonLeavesThePlanWhole) {
  LogicPlanItem* doomed = CreateTrigger(2);
  doomed->Time = 40;
  InsertTrigger(doomed);
  auto* behind = dynamic_cast<LogicPlanTechLevel*>(CreateTrigger(13));
  ASSERT_NE(behind, nullptr);
  behind->SetProperty(1, "2");
  behind->Time = 41;
  InsertTrigger(behind);
  ASSERT_EQ(GetLongPlan(), doomed);
  ASSERT_EQ(doomed->Next, behind);
  Run(15);  // due in 25 frames, still in the long list
  ASSERT_EQ(GetLongPlan(), doomed);
  DeleteTrigger(doomed);
  EXPECT_EQ(GetLongPlan(), behind);
  EXPECT_EQ(PlannedCount(), 1);
  Run(27);
  EXPECT_EQ(CLogic::GetTechnologyLevel(), 2);
  EXPECT_EQ(PlannedCount(), 0);
}

TEST_F(TriggerExportsTest, ParkedItemsAreReleasedKeepingTheirSpacing) {
  Run(7);
  const uint32_t dues[] = {100000000u, 100000005u, 99999999u};
  LogicPlanItem* items[3] = {};
  for (int32_t n = 0; n < 3; ++n) {
    items[n] = CreateTrigger(2);
    items[n]->Time = dues[n];
    InsertTrigger(items[n]);
  }
  PlanLvl1TrainTriggersNow();
  const uint32_t now = Logic().Time;
  EXPECT_EQ(items[0]->Time, now + 1);
  EXPECT_EQ(items[1]->Time, now + 6);
  EXPECT_EQ(items[2]->Time, 99999999u);
  EXPECT_EQ(GetShortPlan(static_cast<int32_t>((now + 1) % 30)), items[0]);
  EXPECT_EQ(GetShortPlan(static_cast<int32_t>((now + 6) % 30)), items[1]);
  EXPECT_EQ(GetLongPlan(), items[2]);
  EXPECT_EQ(items[2]->Next, nullptr);

  PlanLvl1TrainTriggersNow();
  EXPECT_EQ(items[0]->Time, now + 1);
  EXPECT_EQ(items[1]->Time, now + 6);
  EXPECT_EQ(items[2]->Time, 99999999u);
  EXPECT_EQ(PlannedCount(), 3);
}

// Near the parking frame nothing is released.
TEST_F(TriggerExportsTest, NothingIsReleasedNearTheParkingFrame) {
  LogicPlanItem* item = CreateTrigger(2);
  item->Time = 4000000000u;
  InsertTrigger(item);
  Logic().Time = 99999970u;
  PlanLvl1TrainTriggersNow();
  EXPECT_EQ(item->Time, 4000000000u);
  Logic().Time = 99999969u;
  PlanLvl1TrainTriggersNow();
  // (due - 99,999,999) + Time, taken apart so nothing wraps.
  EXPECT_EQ(item->Time, 4000000000u - 99999999u + 99999969u);
}

TEST(TriggerExportsWithoutLogic, DoNothing) {
  ASSERT_TRUE(LogicStop());
  EXPECT_EQ(CreateTrigger(2), nullptr);
  EXPECT_EQ(GetShortPlan(0), nullptr);
  EXPECT_EQ(GetLongPlan(), nullptr);
  EXPECT_EQ(GetLogicPlanSize(), 0);
  LogicPlanItem item;
  InsertTrigger(&item);
  RemoveTrigger(&item);
  DeleteTrigger(&item);
  PlanLvl1TrainTriggersNow();
  EXPECT_EQ(item.Next, nullptr);
}

}  // namespace
