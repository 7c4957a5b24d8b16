// Moving things, units going into containers and out again, removing
// things from the game, burglary, the moves that reach every unit around
// one, and the timed items that carry an entry and a burglary.

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "LogicThingsFixture.h"
#include "base/LumoClass.h"
#include "base/LumoMemoryStream.h"
#include "logic/core/BuildingInfo.h"
#include "logic/core/ContainerInfo.h"
#include "logic/core/UnitInfo.h"
#include "logic/triggers/LogicPlanEnterMsg.h"
#include "logic/triggers/LogicPlanPickLock.h"
#include "logic/world/MoveInfo.h"
#include "logic/world/YLTBaricade.h"
#include "logic/world/YLTBuilding.h"
#include "logic/world/YLTCar.h"
#include "logic/world/YLTCup.h"
#include "logic/world/YLTLvl11Fence.h"
#include "logic/world/YLUnit.h"

namespace {

using Bytes = std::vector<uint8_t>;
using logic_things_testing::LogicThingsTest;

Bytes Save(LumoObject& object) {
  LumoMemoryStream stream;
  EXPECT_TRUE(stream.OpenNew(16, 1, 0));
  EXPECT_EQ(stream.SetGrowth(4096), 4096u);
  EXPECT_TRUE(object.SaveObject(&stream, 0));
  return Bytes(stream.buffer, stream.buffer + stream.position);
}

std::unique_ptr<LumoObject, tObjectDestroyer> Load(Bytes bytes) {
  bytes.push_back(0);  // a stream needs a block; the spare byte stays unread
  LumoMemoryStream stream;
  EXPECT_TRUE(stream.OpenBuffer(bytes.data(), static_cast<uint32_t>(bytes.size() - 1), 1, 0));
  return std::unique_ptr<LumoObject, tObjectDestroyer>(LoadObject(&stream, nullptr));
}

class ThingContainersTest : public LogicThingsTest {
 protected:
  YLUnit* UnitAt(int32_t x, int32_t y, int32_t owner, int32_t type = 1) {
    return logic.CreateUnitAt(x, y, 0, 0, type, owner, nullptr);
  }
  YLTContainerThing* Building(const char* keyword, int32_t x, int32_t y, int32_t owner = 0) {
    return dynamic_cast<YLTContainerThing*>(Thing(logic.CreateThing(keyword, x, y, 0, 0, owner)));
  }
  YLTCar* Bus(int32_t x, int32_t y, int32_t owner) {
    return dynamic_cast<YLTCar*>(Thing(logic.CreateThing("Vehicle021-spelersbus", x, y, 0, 0, owner)));
  }
  // The plan's frames alone, so no unit's own choices move it meanwhile.
  void Run(int32_t frames) {
    for (int32_t frame = 0; frame < frames; ++frame) {
      logic.PropagatePlan();
      ++logic.Time;
    }
  }
  std::vector<int32_t> Params(const CLogic& from, int32_t player) {
    const CPlayer* owner = from.GetPlayer(player);
    std::vector<int32_t> values;
    for (int32_t index = 0; owner != nullptr && index < CPlayer::kParamCount; ++index) {
      values.push_back(owner->GetParam(index));
    }
    return values;
  }
};

// ---- Moving ----

TEST_F(ThingContainersTest, MoveThingMovesTheFootprintAndRecord) {
  YLUnit* unit = UnitAt(3, 3, 1);
  ASSERT_TRUE(logic.MoveThing(unit->Info.get(), 6, 7, 0, 2));
  EXPECT_EQ(logic.Map->GetThingIDAt(3, 3), 0);
  EXPECT_EQ(logic.Map->GetThingIDAt(6, 7), unit->GetTid());
  EXPECT_EQ(unit->Info->X, 6);
  EXPECT_EQ(unit->Info->Ori, 2);
  ThingInfo stray;
  stray.Tid = unit->GetTid();  // the id names a thing with another record
  EXPECT_FALSE(logic.MoveThing(&stray, 1, 1, 0, 0));
  EXPECT_FALSE(logic.MoveThing(nullptr, 1, 1, 0, 0));
  EXPECT_EQ(logic.Map->GetThingIDAt(6, 7), unit->GetTid());
}

TEST_F(ThingContainersTest, MovingAContainedThingOnlySetsItsPlace) {
  YLTContainerThing* pub = Building("Pub1", 10, 10);
  YLUnit* unit = logic.CreateUnit(3, 1, pub);
  ASSERT_NE(unit, nullptr);
  ASSERT_TRUE(logic.MoveThing(unit->Info.get(), 4, 4, 0, 1));
  EXPECT_EQ(unit->Info->X, 4);
  EXPECT_EQ(logic.Map->GetThingIDAt(4, 4), 0);
  EXPECT_FALSE(logic.Map->IsListed(unit));
  EXPECT_EQ(unit->GetContainer(), pub);
}

// ---- Entering and leaving ----

TEST_F(ThingContainersTest, AUnitEntersAndLeaves) {
  YLTContainerThing* pub = Building("Pub1", 10, 10);
  YLUnit* unit = UnitAt(3, 3, 1);
  ASSERT_TRUE(logic.EnterThing(unit->Info.get(), pub->Info.get()));
  EXPECT_EQ(unit->GetContainer(), pub);
  EXPECT_EQ(logic.Map->GetThingIDAt(3, 3), 0);
  EXPECT_EQ(listener.entries.back(), (std::vector<int32_t>{unit->GetTid(), pub->GetTid()}));

  ASSERT_NE(logic.CreateThing("Lamppost", 5, 5, 0, 0, 0), nullptr);
  EXPECT_FALSE(logic.LeaveThing(unit->Info.get(), 5, 5, 0, 0));
  EXPECT_EQ(unit->GetContainer(), pub);
  ASSERT_TRUE(logic.LeaveThing(unit->Info.get(), 6, 5, 0, 3));
  EXPECT_EQ(unit->GetContainer(), nullptr);
  EXPECT_EQ(logic.Map->GetThingIDAt(6, 5), unit->GetTid());
  EXPECT_EQ(unit->Info->Ori, 3);
  EXPECT_EQ(listener.exits.back(), (std::vector<int32_t>{unit->GetTid(), pub->GetTid()}));
  EXPECT_FALSE(logic.LeaveThing(unit->Info.get(), 7, 5, 0, 3));
}

TEST_F(ThingContainersTest, AContainedUnitEntersNothingElse) {
  YLTContainerThing* pub = Building("Pub1", 10, 10);
  YLTContainerThing* home = Building("Home1", 20, 20);
  YLUnit* unit = logic.CreateUnit(3, 1, pub);
  EXPECT_FALSE(logic.EnterThing(unit->Info.get(), home->Info.get()));
  EXPECT_EQ(unit->GetContainer(), pub);
  EXPECT_EQ(home->GetContainedCount(), 0);
  EXPECT_EQ(pub->GetContainedCount(), 1);
}

TEST_F(ThingContainersTest, AFullContainerRefuses) {
  YLTContainerThing* pub = Building("Pub1", 10, 10);
  pub->SetMaxItems(0);
  YLUnit* unit = UnitAt(3, 3, 1);
  EXPECT_FALSE(logic.EnterThing(unit->Info.get(), pub->Info.get()));
  EXPECT_EQ(logic.Map->GetThingIDAt(3, 3), unit->GetTid());
}

TEST_F(ThingContainersTest, TheEnterMoveTakesTheUnitInAndTellsOfItWhenItHasPlayed) {
  YLTContainerThing* pub = Building("Pub1", 10, 10);
  YLUnit* unit = UnitAt(9, 10, 1);
  unit->SetOrientation(2);  // facing the pub's cell
  MoveInfo* enter = unit->GetMoveInfo(YLUnit::kMoveEnter);
  ASSERT_NE(enter, nullptr);
  ASSERT_TRUE(enter->Perform(unit, &logic));
  EXPECT_EQ(unit->GetContainer(), pub);
  EXPECT_EQ(unit->Info->X, -6);
  EXPECT_EQ(unit->Info->Y, -6);
  EXPECT_EQ(unit->Info->Z, -6);
  EXPECT_FALSE(logic.Map->IsListed(unit));
  EXPECT_TRUE(listener.entries.empty());
  Run(6);
  EXPECT_TRUE(listener.entries.empty());
  Run(1);
  EXPECT_EQ(listener.entries, (std::vector<std::vector<int32_t>>{{unit->GetTid(), pub->GetTid()}}));

  // Out again on the cell in its facing from the entrance, once it is free.
  unit->SetOrientation(6);
  MoveInfo* leave = unit->GetMoveInfo(YLUnit::kMoveLeave);
  ASSERT_NE(logic.CreateThing("Lamppost", 9, 10, 0, 0, 0), nullptr);
  EXPECT_FALSE(leave->Perform(unit, &logic));
  EXPECT_EQ(unit->GetContainer(), pub);
  unit->SetOrientation(4);
  ASSERT_TRUE(leave->Perform(unit, &logic));
  EXPECT_EQ(unit->GetContainer(), nullptr);
  EXPECT_EQ(logic.Map->GetThingIDAt(10, 11), unit->GetTid());
  EXPECT_EQ(listener.exits.back(), (std::vector<int32_t>{unit->GetTid(), pub->GetTid()}));
}

TEST_F(ThingContainersTest, TheEnterMoveNeedsAContainerThatAdmits) {
  YLUnit* unit = UnitAt(9, 10, 1);
  unit->SetOrientation(2);
  MoveInfo* enter = unit->GetMoveInfo(YLUnit::kMoveEnter);
  EXPECT_FALSE(enter->Perform(unit, &logic));
  ASSERT_NE(logic.CreateThing("Lamppost", 10, 10, 0, 0, 0), nullptr);
  EXPECT_FALSE(enter->Perform(unit, &logic));
  EXPECT_EQ(logic.Map->GetThingIDAt(9, 10), unit->GetTid());
  EXPECT_FALSE(unit->GetMoveInfo(YLUnit::kMoveLeave)->Perform(unit, &logic));
}

// ---- Removing ----

TEST_F(ThingContainersTest, AThingDyingInAContainerIsReleasedAndTheMapKept) {
  YLTCar* bus = Bus(16, 16, 0);
  YLUnit* unit = logic.CreateUnit(1, 1, bus);
  ASSERT_NE(unit, nullptr);
  const int32_t count = logic.ThingCount;
  EXPECT_EQ(logic.GetPlayer(1)->GetParam(ParamRats), 1);
  unit->Destroy();
  EXPECT_EQ(unit->GetContainer(), nullptr);
  EXPECT_EQ(bus->GetContainedCount(), 0);
  EXPECT_EQ(bus->GetContainerInfo()->GetContainedCount(), 0);
  EXPECT_EQ(logic.Map->GetThingIDAt(16, 16), bus->GetTid());
  EXPECT_FALSE(logic.Map->IsListed(unit));
  EXPECT_EQ(logic.ThingCount, count - 1);
  EXPECT_EQ(logic.GetPlayer(1)->GetParam(ParamRats), 0);
  EXPECT_EQ(logic.GetThing(unit->GetTid()), unit);  // it stays in the table
}

// After a full bus is removed the players count what a reload counts.
TEST_F(ThingContainersTest, DestroyingAFullBusLeavesTheCountsOfAReload) {
  logic.CreatePlayer(1);
  logic.CreatePlayer(2);
  YLTCar* bus = Bus(16, 16, 1);
  std::vector<int32_t> inside;
  for (const int32_t type : {1, 2, 9, 12, 3}) {
    inside.push_back(logic.CreateUnit(type, 1, bus)->GetTid());
  }
  inside.push_back(logic.CreateUnit(7, 2, bus)->GetTid());
  YLUnit* outside = UnitAt(3, 3, 1);
  const int32_t busId = bus->GetTid();
  const int32_t count = logic.ThingCount;

  logic.DestroyThing(bus->Info.get());
  EXPECT_EQ(logic.GetThing(busId), nullptr);
  for (const int32_t id : inside) {
    EXPECT_EQ(logic.GetThing(id), nullptr) << id;
  }
  EXPECT_EQ(logic.ThingCount, count - 1 - static_cast<int32_t>(inside.size()));
  EXPECT_EQ(logic.GetThing(outside->GetTid()), outside);
  EXPECT_EQ(logic.Map->GetThingIDAt(16, 16), 0);
  EXPECT_EQ(listener.exits.size(), inside.size());
  const std::vector<int32_t> one = Params(logic, 1);
  const std::vector<int32_t> two = Params(logic, 2);
  EXPECT_EQ(one[ParamThings], 2);  // the unit outside and the bus's driver
  EXPECT_EQ(one[ParamSelectable], 1);
  EXPECT_EQ(two[ParamSelectable], 0);

  auto copy = Load(Save(logic));
  auto* reloaded = dynamic_cast<CLogic*>(copy.get());
  ASSERT_NE(reloaded, nullptr);
  EXPECT_EQ(Params(*reloaded, 1), one);
  EXPECT_EQ(Params(*reloaded, 2), two);
  EXPECT_EQ(reloaded->ThingCount, logic.ThingCount);
  copy.reset();
  logic.MakeCurrent();
}

TEST_F(ThingContainersTest, AReloadedBusIsDrivenByItsDriverOffTheMap) {
  YLTCar* bus = Bus(16, 16, 0);
  const int32_t busId = bus->GetTid();
  const int32_t driverId = dynamic_cast<VehicleInfo*>(bus->Info.get())->DriverID;
  auto copy = Load(Save(logic));
  auto* reloaded = dynamic_cast<CLogic*>(copy.get());
  ASSERT_NE(reloaded, nullptr);
  auto* loadedBus = dynamic_cast<YLTCar*>(reloaded->GetThing(busId));
  YLThing* loadedDriver = reloaded->GetThing(driverId);
  ASSERT_NE(loadedBus, nullptr);
  ASSERT_NE(loadedDriver, nullptr);
  ASSERT_NE(loadedDriver->AsDriver(), nullptr);
  EXPECT_TRUE(loadedDriver->AsDriver()->IsDriving());
  EXPECT_EQ(loadedBus->GetDriver(), loadedDriver->AsDriver());
  EXPECT_FALSE(reloaded->Map->IsListed(loadedDriver));
  EXPECT_EQ(reloaded->Map->GetThingIDAt(16, 16), busId);
  copy.reset();
  logic.MakeCurrent();
}

TEST_F(ThingContainersTest, AReloadedLogicFindsItsCup) {
  ASSERT_NE(logic.CreateThing("Lamppost", 2, 2, 0, 0, 0), nullptr);
  ThingInfo* cup = logic.CreateThing("Cup", 4, 4, 0, 0, 0);
  auto copy = Load(Save(logic));
  auto* reloaded = dynamic_cast<CLogic*>(copy.get());
  ASSERT_NE(reloaded, nullptr);
  ASSERT_NE(reloaded->GetCup(), nullptr);
  EXPECT_EQ(reloaded->GetCup()->GetTid(), cup->Tid);
  copy.reset();
  logic.MakeCurrent();
}

TEST_F(ThingContainersTest, DestroyingTheCupClearsTheLogicsCup) {
  ThingInfo* cup = logic.CreateThing("Cup", 4, 4, 0, 0, 0);
  logic.DestroyThing(cup);
  EXPECT_EQ(logic.GetCup(), nullptr);
  EXPECT_EQ(logic.CupID, 0);
  EXPECT_EQ(logic.Map->GetThingIDAt(4, 4), 0);
}

TEST_F(ThingContainersTest, BordersBindBarricadesAndFencesOnly) {
  auto* barricade = dynamic_cast<YLTBaricade*>(Thing(logic.CreateThing("Push2", 4, 4, 0, 0, 0)));
  auto* fence = dynamic_cast<YLTLvl11Fence*>(Thing(logic.CreateThing("Obst773", 6, 6, 0, 0, 0)));
  ThingInfo* lamp = logic.CreateThing("Lamppost", 8, 8, 0, 0, 0);
  ASSERT_NE(fence, nullptr);
  logic.ConnectBorderToBaricade(barricade->GetTid(), 5);
  logic.ConnectBorderToBaricade(fence->GetTid(), 6);
  logic.ConnectBorderToBaricade(lamp->Tid, 7);
  logic.ConnectBorderToBaricade(999, 7);
  EXPECT_EQ(barricade->BorderID, 5);
  EXPECT_EQ(fence->BorderID, 6);
}

// ---- Burglary ----

class BurglaryTest : public ThingContainersTest {
 protected:
  void SetUp() override {
    ThingContainersTest::SetUp();
    home = dynamic_cast<YLTBuilding*>(Building("Home1", 10, 10));
    ASSERT_NE(home, nullptr);
    home->GetBuildingInfo()->Money = 700;
    rat = UnitAt(9, 10, 1);
  }
  YLTBuilding* home = nullptr;
  YLUnit* rat = nullptr;
};

TEST_F(BurglaryTest, APickedLockPaysTheBuildingsMoneyAndLetsTheThiefIn) {
  const int32_t money = logic.GetPlayer(1)->GetMoney();
  ASSERT_TRUE(logic.StartBurgle(rat, 10, 10));
  Run(80);
  EXPECT_EQ(logic.GetPlayer(1)->GetMoney(), money);
  Run(1);
  EXPECT_EQ(logic.GetPlayer(1)->GetMoney(), money + 700);
  EXPECT_EQ(logic.GetPlayer(1)->GetParam(ParamBurglaries), 1);
  EXPECT_EQ(home->GetBuildingInfo()->Money, 0);
  EXPECT_EQ(rat->GetContainer(), home);
  EXPECT_EQ(logic.Map->GetThingIDAt(9, 10), 0);
  EXPECT_EQ(listener.entries.back(), (std::vector<int32_t>{rat->GetTid(), home->GetTid()}));
}

TEST_F(BurglaryTest, NothingIsTakenWithoutABuildingOrALivingThiefOnTheMap) {
  EXPECT_FALSE(logic.StartBurgle(rat, 3, 3));
  const int32_t money = logic.GetPlayer(1)->GetMoney();
  logic.FinishBurgle(rat->GetTid(), home->GetTid());  // the ids swapped
  logic.FinishBurgle(home->GetTid(), 999);
  rat->Destroy();
  logic.FinishBurgle(home->GetTid(), rat->GetTid());
  EXPECT_EQ(logic.GetPlayer(1)->GetMoney(), money);
  EXPECT_EQ(logic.GetPlayer(1)->GetParam(ParamBurglaries), 0);
  EXPECT_EQ(home->GetBuildingInfo()->Money, 700);
  EXPECT_EQ(home->GetContainedCount(), 0);
}

// ---- Moves that reach every unit around ----

TEST_F(ThingContainersTest, FlirtChantAndRaveReachTheUnitsAround) {
  YLUnit* chick = UnitAt(10, 10, 1, 11);
  YLUnit* leader = logic.CreateLeader(12, 10, 0, "Boss", 1);
  YLUnit* near = UnitAt(10, 17, 2);
  YLUnit* far = UnitAt(10, 20, 2);
  YLTContainerThing* pub = Building("Pub1", 14, 12);
  YLUnit* drinker = logic.CreateUnit(3, 2, pub);

  EXPECT_FALSE(logic.DoFlirt(leader));
  EXPECT_FALSE(logic.DoChant(chick));
  ASSERT_TRUE(logic.DoFlirt(chick));
  for (YLUnit* unit : {leader, near, drinker}) {
    ASSERT_EQ(unit->GetStimulusCount(), 1) << unit->GetTid();
    EXPECT_EQ(unit->GetStimulus(0)->source, chick->GetTid());
    EXPECT_EQ(unit->GetStimulus(0)->kind, 4);
  }
  EXPECT_EQ(far->GetStimulusCount(), 0);
  EXPECT_EQ(chick->GetStimulusCount(), 0);

  ASSERT_TRUE(logic.DoChant(leader));
  EXPECT_EQ(chick->GetStimulusCount(), 1);
  EXPECT_EQ(chick->GetStimulus(0)->kind, 1);
  EXPECT_EQ(drinker->GetStimulusCount(), 1);  // a chant does not reach inside

  ASSERT_TRUE(logic.DoRave(near, 9, 0.5f));
  EXPECT_EQ(far->GetStimulusCount(), 1);
  EXPECT_EQ(far->GetStimulus(0)->kind, 9);
  EXPECT_FLOAT_EQ(far->GetStimulus(0)->strength, 0.5f);
}

// ---- The timed items ----

std::vector<std::string> PropertyNames(const char* className) {
  std::vector<std::string> names;
  const LumoClass* record = FindClass(className);
  for (const LumoProperty* property = record != nullptr ? record->firstProperty : nullptr; property != nullptr;
       property = property->next) {
    names.push_back(std::string(property->fieldName) + ":" + property->typeName);
  }
  return names;
}

TEST(TimedItems, StoreTheirIdsInRegistrationOrderAndRoundTrip) {
  EXPECT_EQ(PropertyNames("LogicPlanEnterMsg"), (std::vector<std::string>{"Container:tInteger", "Thing:tInteger"}));
  EXPECT_EQ(PropertyNames("LogicPlanPickLock"), (std::vector<std::string>{"Building:tInteger", "Thief:tInteger"}));

  LogicPlanEnterMsg enter(7, 9);
  enter.Time = 33;
  const Bytes enterBytes = Save(enter);
  auto enterCopy = Load(enterBytes);
  auto* loadedEnter = dynamic_cast<LogicPlanEnterMsg*>(enterCopy.get());
  ASSERT_NE(loadedEnter, nullptr);
  EXPECT_EQ(loadedEnter->Thing, 7);
  EXPECT_EQ(loadedEnter->Container, 9);
  EXPECT_EQ(loadedEnter->Time, 33u);
  EXPECT_EQ(Save(*loadedEnter), enterBytes);

  LogicPlanPickLock pick(4, 5);
  const Bytes pickBytes = Save(pick);
  auto pickCopy = Load(pickBytes);
  auto* loadedPick = dynamic_cast<LogicPlanPickLock*>(pickCopy.get());
  ASSERT_NE(loadedPick, nullptr);
  EXPECT_EQ(loadedPick->Thief, 4);
  EXPECT_EQ(loadedPick->Building, 5);
  EXPECT_EQ(Save(*loadedPick), pickBytes);

  char text[32];
  loadedEnter->GetRecordString(text, sizeof text);
  EXPECT_STREQ(text, " 33: enter msg");
  loadedPick->GetRecordString(text, sizeof text);
  EXPECT_STREQ(text, "  0: pick lock");
}

TEST_F(ThingContainersTest, ItemsWithIdsThatNameNothingDoNothing) {
  YLUnit* unit = UnitAt(3, 3, 1);
  logic.InsertPlan(new LogicPlanEnterMsg(unit->GetTid(), 999), 1);
  logic.InsertPlan(new LogicPlanPickLock(999, unit->GetTid()), 1);
  logic.InsertPlan(new LogicPlanPickLock(unit->GetTid(), unit->GetTid()), 1);
  Run(2);
  EXPECT_TRUE(listener.entries.empty());
  EXPECT_EQ(logic.GetPlayer(1)->GetParam(ParamBurglaries), 0);
  EXPECT_EQ(logic.Map->GetThingIDAt(3, 3), unit->GetTid());
}

}  // namespace
