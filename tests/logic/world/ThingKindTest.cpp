#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "base/LumoObjects.h"
#include "logic/core/CLogic.h"
#include "logic/core/LogicLifecycle.h"
#include "logic/core/UnitInfo.h"
#include "logic/world/YLTCar.h"
#include "logic/world/YLThing.h"
#include "logic/world/YLUnit.h"

namespace logic_world_testing {
namespace {

// Every kind of thing the factory makes, the drivers and the conductor it
// makes with their vehicles among them.
constexpr const char* kKeywords[] = {
    "UnitRat",          "UnitRaver",       "UnitSupporter",         "UnitSuit",        "UnitPolice",
    "UnitRiot",         "UnitBiker",       "UnitSkin",              "UnitRozav",       "UnitLeader",
    "UnitChick",        "UnitYobbozer",    "OwnerShop01",           "InnocentDriver",  "Innocent01",
    "Pub01",            "Shop01",          "Home01",                "Weapon01",        "Dope01",
    "Girls01",          "PDept",           "Hotel01",               "Bank01",          "Public01",
    "Shack01",          "Push01-Crate",    "Move01-bin",            "Obst001-tree",    "Scene01-lamp",
    "Brick01",          "Cup01",           "Vehicle022-Manta",      "Vehicle025-golf", "Vehicle021-spelersbus",
    "Vehicle038-bus2",  "Vehicle026-truck", "Vehicle020-mebus",     "Vehicle023-Tram", "TransTrain"};

class ThingKindTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(LogicStart());
    ASSERT_TRUE(LogicCreate(64, 64));
    ASSERT_TRUE(LogicPlayer(1));
  }
  void TearDown() override {
    LogicStop();
    YLThing::SetLogicContext(nullptr, nullptr);
  }
  CLogic& Logic() { return *TheLogic(); }
};

// The kind queries and the thing table answer what a dynamic_cast answers,
// for every class of thing, asked once and again.
TEST_F(ThingKindTest, KindQueriesAnswerAsTheCastsDo) {
  int32_t x = 2;
  for (const char* keyword : kKeywords) {
    ASSERT_NE(CreateThing(keyword, x, 30, 0, 1, 1), nullptr) << keyword;
    x += 1;
  }
  // An entry that is no thing.
  const int32_t stranger = Logic().Things->count;
  ASSERT_TRUE(Logic().Things->SetCount(stranger + 1));
  (*Logic().Things)[stranger] = new LumoObjects;

  int32_t units = 0;
  int32_t cars = 0;
  for (int32_t round = 0; round < 2; ++round) {
    for (int32_t id = 0; id < Logic().Things->count; ++id) {
      LumoObject* entry = Logic().Things->At(id);
      YLThing* thing = Logic().GetThing(id);
      ASSERT_EQ(thing, dynamic_cast<YLThing*>(entry)) << id;
      if (thing == nullptr) {
        continue;
      }
      const std::string name = thing->GetClassName();
      const YLThing* constant = thing;
      EXPECT_EQ(UnitOf(thing), dynamic_cast<YLUnit*>(thing)) << name;
      EXPECT_EQ(UnitOf(constant), dynamic_cast<const YLUnit*>(constant)) << name;
      EXPECT_EQ(CarOf(thing), dynamic_cast<YLTCar*>(thing)) << name;
      EXPECT_EQ(CarOf(constant), dynamic_cast<const YLTCar*>(constant)) << name;
      EXPECT_EQ(thing->Info->AsUnitInfo(), dynamic_cast<UnitInfo*>(thing->Info.get())) << name;
      if (YLUnit* unit = UnitOf(thing)) {
        EXPECT_EQ(unit->GetUnitInfo(), dynamic_cast<UnitInfo*>(thing->Info.get())) << name;
        units += round == 0 ? 1 : 0;
      }
      cars += round == 0 && CarOf(thing) != nullptr ? 1 : 0;
    }
  }
  EXPECT_EQ(Logic().GetThing(stranger), nullptr);
  EXPECT_GE(units, 15);
  EXPECT_GE(cars, 7);
  EXPECT_EQ(UnitOf(static_cast<YLThing*>(nullptr)), nullptr);
  EXPECT_EQ(CarOf(static_cast<const YLThing*>(nullptr)), nullptr);
}

}  // namespace
}  // namespace logic_world_testing
