// Fire, tear gas, the cup and flower fields over frames, on small levels
// built through the logic's own exports.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "LogicWorldFixture.h"
#include "base/LumoMemoryStream.h"
#include "logic/core/CLogic.h"
#include "logic/core/CMap.h"
#include "logic/core/CPlayer.h"
#include "logic/core/LogicLifecycle.h"
#include "logic/core/UnitInfo.h"
#include "logic/core/YLPropagatorFire.h"
#include "logic/core/YLPropagatorTearGas.h"
#include "logic/world/YLTCup.h"
#include "logic/world/YLUnit.h"

namespace logic_world_testing {
namespace {

constexpr int32_t kSize = 24;

class HazardsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(LogicStart());
    ASSERT_TRUE(LogicCreate(kSize, kSize));
    ASSERT_TRUE(LogicPlayer(1));
    ASSERT_TRUE(LogicPlayer(2));
  }
  void TearDown() override { LogicStop(); }

  static CLogic& Logic() { return *TheLogic(); }
  static const YLKnowledgeMap& Grid() { return *Logic().Map->GetStratMap(); }

  static void Run(int32_t frames) {
    for (int32_t frame = 0; frame < frames; ++frame) {
      ASSERT_TRUE(LogicCompute());
    }
  }

  // A unit of the owner made by the thing factory.
  static YLUnit* Unit(const char* keyword, int32_t x, int32_t y, int32_t owner) {
    ThingInfo* info = CreateThing(keyword, x, y, 0, 0, owner);
    return info != nullptr ? dynamic_cast<YLUnit*>(Logic().GetThing(info->Tid)) : nullptr;
  }

  // A propagator started as a weapon's impact starts it: centred at (x, y),
  // its area of that radius marked and the logic running it.
  template <typename T>
  static T* Start(int32_t x, int32_t y, int32_t radius) {
    auto* made = new T;
    made->SetPosition(x, y);
    made->BuildArea(radius);
    made->MarkArea(Logic().Map.get(), true);
    EXPECT_TRUE(Logic().Propagators->Append(made));
    return made;
  }

  // The fires and clouds the logic runs; a new level also runs its highway
  // traffic as a propagator, which these tests leave alone.
  static int32_t Hazards() {
    int32_t count = 0;
    for (int32_t index = 0; index < Logic().Propagators->count; ++index) {
      const auto* each = Logic().Propagators->At(index);
      count += dynamic_cast<const YLPropagatorFire*>(each) != nullptr ||
                       dynamic_cast<const YLPropagatorTearGas*>(each) != nullptr
                   ? 1
                   : 0;
    }
    return count;
  }
  static YLPropagatorFire* FirstFire() {
    for (int32_t index = 0; index < Logic().Propagators->count; ++index) {
      if (auto* fire = dynamic_cast<YLPropagatorFire*>(Logic().Propagators->At(index))) {
        return fire;
      }
    }
    return nullptr;
  }

  static int32_t FireCells() {
    int32_t cells = 0;
    for (int32_t y = 0; y < kSize; ++y) {
      for (int32_t x = 0; x < kSize; ++x) {
        cells += Grid().IsOnFire(x, y) ? 1 : 0;
      }
    }
    return cells;
  }
  static int32_t GasCells() {
    int32_t cells = 0;
    for (int32_t y = 0; y < kSize; ++y) {
      for (int32_t x = 0; x < kSize; ++x) {
        cells += Grid().IsGassed(x, y) ? 1 : 0;
      }
    }
    return cells;
  }

  static Bytes SavedLogic() {
    LumoMemoryStream stream;
    EXPECT_TRUE(stream.OpenNew(64, 1, 0));
    EXPECT_EQ(stream.SetGrowth(4096), 4096u);
    EXPECT_TRUE(LogicSave(&stream));
    return Bytes(stream.buffer, stream.buffer + stream.position);
  }
  static bool LoadLogic(Bytes bytes) {
    bytes.push_back(0);  // a stream needs a block; the spare byte stays unread
    LumoMemoryStream stream;
    EXPECT_TRUE(stream.OpenBuffer(bytes.data(), static_cast<uint32_t>(bytes.size() - 1), 1, 0));
    return LogicLoad(&stream);
  }
};

// ---- Fire ----

TEST_F(HazardsTest, AFireBurnsItsDurationThenClearsExactlyItsCells) {
  const struct {
    int32_t radius;
    int32_t cells;
  } cases[] = {{1, 1}, {2, 9}, {3, 25}};
  for (const auto& entry : cases) {
    auto* fire = Start<YLPropagatorFire>(8, 8, entry.radius);
    EXPECT_EQ(FireCells(), entry.cells) << entry.radius;
    // A cell marked by something else stays marked.
    Logic().Map->GetStratMap()->SetFire(20, 20, true);
    for (int32_t advance = 1; advance <= YLPropagatorFire::kDuration; ++advance) {
      EXPECT_TRUE(fire->Propagate(&Logic())) << advance;
    }
    fire->Time = 0;
    Run(YLPropagatorFire::kDuration);
    EXPECT_EQ(Hazards(), 1);
    EXPECT_EQ(FireCells(), entry.cells + 1);
    Run(1);
    EXPECT_EQ(Hazards(), 0);
    EXPECT_EQ(FireCells(), 1) << entry.radius;
    EXPECT_TRUE(Grid().IsOnFire(20, 20));
    Logic().Map->GetStratMap()->SetFire(20, 20, false);
  }
}

// Saved mid-burn, the fire keeps its cells: loaded, it burns out in the
// frame it would have and leaves no cell on fire.
TEST_F(HazardsTest, AFireSavedMidBurnStillClearsItsCells) {
  Start<YLPropagatorFire>(5, 6, 3);
  Run(30);
  const Bytes saved = SavedLogic();
  ASSERT_TRUE(LoadLogic(saved));
  auto* fire = FirstFire();
  ASSERT_NE(fire, nullptr);
  ASSERT_NE(fire->GetArea(), nullptr);
  EXPECT_EQ(fire->GetArea()->GetPointCount(0), 25);
  EXPECT_EQ(FireCells(), 25);
  Run(YLPropagatorFire::kDuration - 30);
  EXPECT_EQ(FireCells(), 25);
  Run(1);
  EXPECT_EQ(Hazards(), 0);
  EXPECT_EQ(FireCells(), 0);
}

// A record stored before the area was kept loads as a fire without cells,
// and the record behind it still loads.
TEST_F(HazardsTest, AFireRecordWithoutItsAreaStillLoads) {
  YLPropagatorFire fire;
  fire.SetPosition(3, 4);
  fire.BuildArea(2);
  fire.Time = 12;
  Bytes record = Save(fire);
  const Bytes marker = {0, 0, 0, 5, 'a', 'r', 'e', 'a', ':'};
  auto found = std::search(record.begin(), record.end(), marker.begin(), marker.end());
  ASSERT_NE(found, record.end());
  record.erase(found, record.end());
  YLPropagatorTearGas gas;
  gas.SetPosition(7, 7);
  gas.BuildArea(3);
  const Bytes gasRecord = Save(gas);
  record.insert(record.end(), gasRecord.begin(), gasRecord.end());

  record.push_back(0);
  LumoMemoryStream stream;
  ASSERT_TRUE(stream.OpenBuffer(record.data(), static_cast<uint32_t>(record.size() - 1), 1, 0));
  std::unique_ptr<LumoObject, tObjectDestroyer> first(LoadObject(&stream, nullptr));
  std::unique_ptr<LumoObject, tObjectDestroyer> second(LoadObject(&stream, nullptr));
  auto* oldFire = dynamic_cast<YLPropagatorFire*>(first.get());
  ASSERT_NE(oldFire, nullptr);
  EXPECT_EQ(oldFire->Time, 12);
  EXPECT_EQ(oldFire->X, 3);
  EXPECT_EQ(oldFire->GetArea(), nullptr);
  auto* nextGas = dynamic_cast<YLPropagatorTearGas*>(second.get());
  ASSERT_NE(nextGas, nullptr);
  EXPECT_EQ(nextGas->X, 7);
  ASSERT_NE(nextGas->GetArea(), nullptr);
  EXPECT_EQ(nextGas->GetArea()->GetPointCount(0), 25);
}

// ---- Tear gas ----

TEST_F(HazardsTest, TearGasWearsOutTheUnitsOfPlayersInTheCloud) {
  auto* sober = Unit("UnitSupporter", 10, 10, 1);
  auto* doped = Unit("UnitSupporter", 11, 10, 1);
  auto* held = Unit("UnitSupporter", 9, 10, 1);
  auto* police = Unit("UnitPolice", 10, 11, CLogic::kPolicePlayer);
  auto* outside = Unit("UnitSupporter", 10, 14, 1);
  for (YLUnit* unit : {sober, doped, held, police, outside}) {
    ASSERT_NE(unit, nullptr);
    unit->GetUnitInfo()->Cons = 1.0f;
  }
  sober->GetUnitInfo()->Dope = 0.25f;
  doped->GetUnitInfo()->Dope = 1.0f;
  held->Info->Status |= YLUnit::kStatusArrested;

  auto* gas = Start<YLPropagatorTearGas>(10, 10, 3);
  ASSERT_TRUE(gas->Propagate(&Logic()));
  EXPECT_FLOAT_EQ(sober->GetUnitInfo()->Cons, 1.0f - 0.75f * 0.02f);
  for (YLUnit* unit : {doped, held, police, outside}) {
    EXPECT_EQ(unit->GetUnitInfo()->Cons, 1.0f) << unit->GetTid();
  }
}

TEST_F(HazardsTest, TheGasMarksGoWithTheGas) {
  Start<YLPropagatorTearGas>(1, 1, 3);  // reaches over the map's corner
  EXPECT_EQ(GasCells(), 16);
  Run(YLPropagatorTearGas::kDuration);
  EXPECT_EQ(GasCells(), 16);
  EXPECT_EQ(Hazards(), 1);
  Run(1);
  EXPECT_EQ(GasCells(), 0);
  EXPECT_EQ(Hazards(), 0);
}

// ---- The cup ----

class CupTest : public HazardsTest {
 protected:
  void SetUp() override {
    HazardsTest::SetUp();
    ThingInfo* info = CreateThing("Cup", 10, 10, 0, 0, 0);
    ASSERT_NE(info, nullptr);
    cup = dynamic_cast<YLTCup*>(Logic().GetThing(info->Tid));
    ASSERT_NE(cup, nullptr);
    ASSERT_EQ(Logic().GetCup(), cup);
  }
  int32_t Score(int32_t player) const { return Logic().GetPlayer(player)->GetParam(ParamScore); }

  YLTCup* cup = nullptr;
};

// The neighbours are searched north first, then clockwise: the police, a
// falling unit and an arrested one are passed over.
TEST_F(CupTest, TheFirstEligibleNeighbourPicksTheCupUp) {
  auto* police = Unit("UnitPolice", 10, 9, CLogic::kPolicePlayer);
  auto* falling = Unit("UnitSupporter", 11, 9, 2);
  auto* held = Unit("UnitSupporter", 11, 10, 2);
  auto* taker = Unit("UnitSupporter", 11, 11, 1);
  auto* later = Unit("UnitSupporter", 10, 11, 2);
  for (YLUnit* unit : {police, falling, held, taker, later}) {
    ASSERT_NE(unit, nullptr);
  }
  falling->StartMove(falling->GetMoveInfo(YLUnit::kMoveFall));
  held->Info->Status |= YLUnit::kStatusArrested;
  tString text;
  cup->GetDebugText(text);
  EXPECT_STREQ(text.text, "cup on ground (10,10)\n");

  Run(1);
  cup->GetDebugText(text);
  EXPECT_EQ(std::string(text.text), "cup carried by " + std::to_string(taker->GetTid()) + "\n");
  EXPECT_EQ(cup->GetCarrier(), taker);
  EXPECT_TRUE(taker->CarriesCup());
  EXPECT_FALSE(later->CarriesCup());
  EXPECT_EQ(cup->Info->X, -1);
  EXPECT_EQ(cup->Info->Y, -1);
  EXPECT_EQ(cup->Info->Status & StatusAlive, 0u);
  EXPECT_FALSE(Logic().Map->IsListed(cup));
  EXPECT_EQ(Logic().Map->GetThingIDAt(10, 10), 0);

  // Carried, the cup lives on.
  EXPECT_TRUE(cup->Propagate());
  cup->PossesionTimer = 0;
  Run(YLTCup::kTicksPerScore - 1);
  EXPECT_EQ(Score(1), 0);
  Run(YLTCup::kTicksPerScore + 1);
  EXPECT_EQ(Score(1), 2);
  EXPECT_EQ(Score(2), 0);
  EXPECT_EQ(Logic().GetThing(cup->GetTid()), cup);
}

TEST_F(CupTest, AFallingCarrierLeavesTheCupAtItsCell) {
  auto* carrier = Unit("UnitSupporter", 9, 10, 1);
  ASSERT_NE(carrier, nullptr);
  Run(1);
  ASSERT_EQ(cup->GetCarrier(), carrier);
  carrier->StartMove(carrier->GetMoveInfo(YLUnit::kMoveFall));
  const int32_t x = carrier->Info->X;
  const int32_t y = carrier->Info->Y;
  Run(1);
  EXPECT_EQ(cup->GetCarrier(), nullptr);
  EXPECT_FALSE(carrier->CarriesCup());
  EXPECT_EQ(cup->Info->Owner, 0);
  EXPECT_EQ(cup->Info->X, x);
  EXPECT_EQ(cup->Info->Y, y);
  EXPECT_NE(cup->Info->Status & StatusAlive, 0u);
  EXPECT_TRUE(Logic().Map->IsListed(cup));
  EXPECT_EQ(cup->PossesionTimer, 0);
}

// The carrier's id given to another unit: that unit carries nothing and
// scores nothing.
TEST_F(CupTest, AReusedCarrierIdNeverScores) {
  auto* carrier = Unit("UnitSupporter", 9, 10, 1);
  ASSERT_NE(carrier, nullptr);
  const int32_t id = carrier->GetTid();
  Run(1);
  ASSERT_EQ(cup->GetCarrier(), carrier);
  DestroyThing(carrier->Info.get());
  auto* stranger = Unit("UnitSupporter", 3, 3, 2);
  ASSERT_NE(stranger, nullptr);
  ASSERT_EQ(stranger->GetTid(), id);
  Run(3 * YLTCup::kTicksPerScore);
  EXPECT_EQ(cup->GetCarrier(), nullptr);
  EXPECT_EQ(Score(2), 0);
  EXPECT_EQ(Score(1), 0);
}

// ---- Flower fields ----

class FlowerFieldTest : public HazardsTest {
 protected:
  static YLTBloemBollen* Field(const char* name, int32_t x, int32_t y, uint8_t orientation) {
    ThingInfo* info = CreateThing(name, x, y, 0, orientation, 0);
    return info != nullptr ? dynamic_cast<YLTBloemBollen*>(Logic().GetThing(info->Tid)) : nullptr;
  }
  static bool Intact(const YLThing* field) { return (field->Info->Status & StatusAlive) != 0; }
};

TEST_F(FlowerFieldTest, AUnitOnAListedCellTramplesTheField) {
  YLTBloemBollen* field = Field("Obst777-flowerfield", 10, 10, 2);
  ASSERT_NE(field, nullptr);
  // Under orientation 2 the footprint is the field's own cell, where its
  // own id stands: nothing tramples it.
  Run(3);
  EXPECT_TRUE(Intact(field));
  ASSERT_NE(Unit("UnitSupporter", 10, 9, 1), nullptr);
  Run(1);
  EXPECT_FALSE(Intact(field));
  tString text;
  field->GetDebugText(text);
  EXPECT_STREQ(text.text, "bloembollen trashed\n");
}

TEST_F(FlowerFieldTest, TheFieldsOwnCellNeverTramplesIt) {
  YLTBloemBollen* field = Field("Obst776-flowerfield", 10, 10, 2);
  ASSERT_NE(field, nullptr);
  auto* unit = Unit("UnitSupporter", 12, 12, 1);
  ASSERT_NE(unit, nullptr);
  Logic().Map->GetStratMap()->SetUnit(10, 10, unit->GetTid());
  Run(2);
  EXPECT_TRUE(Intact(field));
  tString text;
  field->GetDebugText(text);
  EXPECT_STREQ(text.text, "bloembollen intact\n");
}

// Under orientation 0 the field's own footprint covers its listed cells with
// its own id, so its first tick tramples it.
TEST_F(FlowerFieldTest, AnOrientationZeroFieldTramplesItself) {
  YLTBloemBollen* field = Field("Obst763_flowerfield", 6, 6, 0);
  ASSERT_NE(field, nullptr);
  EXPECT_EQ(Grid().GetUnit(8, 7), field->GetTid());
  EXPECT_TRUE(Intact(field));
  Run(1);
  EXPECT_FALSE(Intact(field));
}

TEST_F(FlowerFieldTest, AFieldOfAnyOtherNameIsNeverTrampled) {
  auto* field = new YLTBloemBollen;
  field->CreateInfo(0);
  field->Info->X = 10;
  field->Info->Y = 10;
  field->Info->Gfx = Logic().AddString("Obst760-pond");
  field->BuildGroundMap();
  ASSERT_EQ(field->Info->Ground->GetPointCount(0), 1);
  const int32_t id = Logic().FindFreeThingID();
  field->Info->Tid = id;
  field->ID = static_cast<uint32_t>(id);
  ASSERT_TRUE(Logic().AddThing(field));
  Logic().Map->PlaceThing(field);
  for (int32_t direction = 0; direction < kDirectionCount; ++direction) {
    ASSERT_NE(Unit("UnitSupporter", 10 + kDirectionX[direction], 10 + kDirectionY[direction], 1), nullptr);
  }
  Run(3);
  EXPECT_TRUE(Intact(field));
  // Any damage trashes it.
  EXPECT_TRUE(field->TakeDamage(0.001f));
  EXPECT_FALSE(Intact(field));
}

}  // namespace
}  // namespace logic_world_testing
