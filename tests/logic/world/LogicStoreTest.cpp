#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "LogicMapFixture.h"
#include "base/LumoClass.h"
#include "base/Random.h"
#include "logic/core/CPlayer.h"
#include "logic/core/RecordFields.h"
#include "logic/core/UnitInfo.h"
#include "logic/core/WeaponCatalog.h"
#include "logic/core/YLConfig.h"
#include "logic/core/YLPlayerPolice.h"
#include "logic/triggers/ConditionTrigger.h"
#include "logic/triggers/LogicPlanWarpZ.h"
#include "logic/world/YLTBaricade.h"
#include "logic/world/YLTBuilding.h"
#include "logic/world/YLTLvl11Fence.h"

namespace logic_world_testing {
namespace {

// A unit kind that can be stored: a player may select it.
class StoredUnit : public TestUnit {
 public:
  const char* GetClassName() const override { return "LogicStoreTestUnit"; }
  bool IsSelectable() const override { return true; }
};

LumoClassOf<StoredUnit> classOfStoredUnit(kVersion_1_6_0_6, "LogicStoreTestUnit", "YLThing");

CLogic* AsLogic(const std::unique_ptr<LumoObject, tObjectDestroyer>& object) {
  return dynamic_cast<CLogic*>(object.get());
}

class LogicStoreTest : public LogicMapTest {
 protected:
  void SetUp() override {
    LogicMapTest::SetUp();
    logic.Players.reset(new LumoObjects(true));
    logic.Propagators.reset(new LumoObjects(true));
    logic.Players->SetCount(4);
    AddPlayer(1, new CPlayer);
    AddPlayer(CLogic::kPolicePlayer, new YLPlayerPolice);
  }

  void TearDown() override {
    loaded.reset();
    YLThing::SetLogicContext(nullptr, &logic);
    LogicMapTest::TearDown();
  }

  void AddPlayer(int32_t id, CPlayer* player) {
    (*logic.Players)[id] = player;
    player->OnCreated(id);
  }

  // A thing placed at (x, y), owned by player 1 and registered with it.
  template <typename T>
  T* Owned(int32_t id, int32_t x, int32_t y) {
    T* thing = Put<T>(id, x, y);
    thing->ID = static_cast<uint32_t>(id);
    thing->SetOwner(1);
    logic.GetPlayer(1)->OnThingOwned(true, thing);
    return thing;
  }

  // Loads the bytes as the logic under test; null when the load failed.
  CLogic* LoadLogic(const Bytes& bytes) {
    const std::string log = Logged([&] { loaded = Load(bytes); });
    EXPECT_NE(AsLogic(loaded), nullptr) << log;
    return AsLogic(loaded);
  }

  std::unique_ptr<LumoObject, tObjectDestroyer> loaded;
};

TEST_F(LogicStoreTest, SaveLoadSaveGivesTheSameBytesAndRestoresTheRunningState) {
  Owned<YLTPushableThing>(2, 3, 3);
  Owned<StoredUnit>(5, 6, 6);
  StoredUnit* dead = Owned<StoredUnit>(6, 8, 8);
  dead->Info->Status &= ~static_cast<uint32_t>(StatusAlive);
  logic.GetPlayer(1)->OnThingOwned(false, dead);
  logic.ThingCount = 3;
  logic.Initialised = true;
  logic.Time = 77;
  logic.AddString("Obst01-Bench");
  logic.Vinkjes.Append(1);
  logic.Vinkjes.Append(2);
  logic.InsertPlan(new ConditionTrigger(24), 5);
  logic.InsertPlan(new LogicPlanItem, 100);
  SetRandomSeed(4242);

  const Bytes saved = Save(logic);
  CLogic* copy = LoadLogic(saved);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(Save(*copy), saved);

  EXPECT_EQ(copy->Time, 77u);
  EXPECT_TRUE(copy->Initialised);
  EXPECT_EQ(copy->ThingCount, 3);
  EXPECT_EQ(copy->GetString(CLogic::kUnitTypeNames), std::string("Obst01-Bench"));
  EXPECT_EQ(YLThing::GetLogic(), copy);
  EXPECT_EQ(copy->Map->GetThingIDAt(3, 3), 2);
  EXPECT_EQ(copy->Map->GetThingIDAt(6, 6), 5);
  EXPECT_EQ(copy->GetThing(5)->ID, 5u);
  EXPECT_EQ(copy->GetPlayer(1)->GetParams().At(ParamThings), logic.GetPlayer(1)->GetParam(ParamThings));
  EXPECT_EQ(copy->GetPlayer(1)->GetParam(ParamSelectable), 1);
  ASSERT_NE(copy->PlanLongTerm.first, nullptr);
  EXPECT_EQ(copy->PlanLongTerm.first->Time, 177u);
}

// The logic's random generator is stored with the game, so a loaded game
// draws what the saved one would have drawn.
TEST_F(LogicStoreTest, ALoadedGameDrawsWhatTheSavedOneWould) {
  SetRandomSeed(99);
  const Bytes saved = Save(logic);
  const uint32_t next[] = {RandomNext(), RandomNext()};
  ASSERT_NE(LoadLogic(saved), nullptr);
  EXPECT_EQ(RandomNext(), next[0]);
  EXPECT_EQ(RandomNext(), next[1]);
}

// The weapon catalogue and the unit costs are not stored: a loaded game has
// them as a game set up afresh does, so its units fight and cost the same.
TEST_F(LogicStoreTest, ALoadedGameArmsAndPricesItsUnitsAsTheRunningOne) {
  logic.Weapons = std::make_unique<WeaponCatalog>();
  logic.Config = std::make_unique<YLConfig>();
  logic.Config->Init("config.txt");
  StoredUnit* unit = Owned<StoredUnit>(5, 6, 6);
  auto* info = dynamic_cast<UnitInfo*>(unit->Info.get());
  ASSERT_NE(info, nullptr);
  info->Gfx = 3;
  info->Weapon = 2;
  const float damage = unit->GetDamage();
  const int32_t price = unit->GetPrice();
  ASSERT_GT(damage, 0.0f);
  ASSERT_GT(price, 0);

  CLogic* copy = LoadLogic(Save(logic));
  ASSERT_NE(copy, nullptr);
  ASSERT_NE(copy->Weapons, nullptr);
  ASSERT_NE(copy->Config, nullptr);
  auto* loadedUnit = dynamic_cast<YLUnit*>(copy->GetThing(5));
  ASSERT_NE(loadedUnit, nullptr);
  EXPECT_EQ(loadedUnit->GetDamage(), damage);
  EXPECT_EQ(loadedUnit->GetPrice(), price);
}

// The plan's property as the logic writes it.
Bytes SavedPlan(CLogic& logic) {
  LumoMemoryStream stream;
  EXPECT_TRUE(stream.OpenNew(16, 1, 0));
  EXPECT_EQ(stream.SetGrowth(256), 256u);
  EXPECT_TRUE(logic.SavePlan(&stream, nullptr));
  return Bytes(stream.buffer, stream.buffer + stream.position);
}

// A stored game whose plan has 31 buckets loads whole: the 31st joins
// bucket 0 behind what it holds, and the game saves again with 30.
TEST_F(LogicStoreTest, AGameWithAPlanOf31BucketsLoadsEveryItem) {
  logic.Initialised = true;
  logic.Time = 40;
  logic.InsertPlan(new ConditionTrigger(24), 20);
  logic.InsertPlan(new LogicPlanItem, 3);
  const Bytes plan = SavedPlan(logic);
  Bytes saved = Save(logic);
  auto found = std::search(saved.begin(), saved.end(), plan.begin(), plan.end());
  ASSERT_NE(found, saved.end());

  // The same plan with a 31st entry: one item due in frame 60.
  LogicPlanItem extra;
  extra.Time = 60;
  LumoMemoryStream stream;
  ASSERT_TRUE(stream.OpenNew(16, 1, 0));
  ASSERT_NE(stream.SetGrowth(256), 0u);
  ASSERT_TRUE(stream.WriteInteger(31));
  ASSERT_TRUE(stream.WriteBlock(plan.data() + 4, static_cast<uint32_t>(plan.size() - 4)));
  ASSERT_TRUE(stream.WriteObject(&extra));
  const Bytes longer(stream.buffer, stream.buffer + stream.position);
  const auto at = found - saved.begin();
  saved.erase(found, found + static_cast<std::ptrdiff_t>(plan.size()));
  saved.insert(saved.begin() + at, longer.begin(), longer.end());

  const std::string log = Logged([&] { loaded = Load(saved); });
  CLogic* copy = AsLogic(loaded);
  ASSERT_NE(copy, nullptr) << log;
  EXPECT_NE(log.find("CLogic::LoadPlan : LogicPlanSize not same as loaded game\n"), std::string::npos) << log;
  ASSERT_NE(copy->Plan[0].first, nullptr);
  ASSERT_NE(copy->Plan[0].first->Next, nullptr);
  EXPECT_STREQ(copy->Plan[0].first->GetClassName(), "ConditionTrigger");
  EXPECT_STREQ(copy->Plan[0].first->Next->GetClassName(), "LogicPlanItem");
  EXPECT_EQ(copy->Plan[0].first->Next->Time, 60u);
  EXPECT_EQ(copy->Plan[0].first->Next->PlanSlot, 0);
  // Saved again: 30 buckets, bucket 0 holding both items.
  auto* joined = new LogicPlanItem;
  joined->Time = 60;
  joined->PlanSlot = 0;
  logic.Plan[0].first->Next = joined;
  YLThing::SetLogicContext(copy->Map.get(), copy);
  EXPECT_EQ(Save(*copy), Save(logic));
  // Both run in frame 60.
  while (copy->Time <= 60) {
    copy->Compute();
  }
  EXPECT_EQ(copy->Plan[0].first, nullptr);
}

// A game whose plan lists are far longer than the object records may nest
// saves, loads and saves again to the same bytes, and runs on.
TEST_F(LogicStoreTest, AGameWithLongPlanListsLoadsAndRunsOn) {
  logic.Initialised = true;
  for (uint32_t index = 0; index < 2500; ++index) {
    logic.InsertPlan(new LogicPlanItem, 100 + index % 7);
    logic.InsertPlan(new ConditionTrigger(30), 12);
  }
  const Bytes saved = Save(logic);
  CLogic* copy = LoadLogic(saved);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(Save(*copy), saved);
  int32_t longItems = 0;
  for (LogicPlanItem* item = copy->PlanLongTerm.first; item != nullptr; item = item->Next) {
    ++longItems;
  }
  EXPECT_EQ(longItems, 2500);
  // The single items run in frames 100 to 106; the triggers run on.
  for (int32_t frame = 0; frame < 110; ++frame) {
    ASSERT_TRUE(copy->Compute());
  }
  int32_t triggers = 0;
  for (LogicPlanItem* item = copy->PlanLongTerm.first; item != nullptr; item = item->Next) {
    triggers += dynamic_cast<ConditionTrigger*>(item) != nullptr ? 1 : 0;
    ASSERT_EQ(item->Time, 132u);
  }
  EXPECT_EQ(triggers, 2500);
}

// Older streams end the ticks' property early: what is not there is kept.
TEST_F(LogicStoreTest, StreamsWithoutTicksOrGeneratorKeepWhatTheyLack) {
  struct Case {
    const char* name;
    Bytes bytes;
    std::vector<int32_t> ticks;
    uint32_t seed;
  };
  Bytes ticksOnly = MarkerBytes("vinkjes:");
  for (const uint8_t byte : {0, 0, 0, 1, 0, 0, 0, 2}) {
    ticksOnly.push_back(byte);
  }
  const Case cases[] = {{"something else", {0, 0, 0, 9}, {7}, 5}, {"ticks only", ticksOnly, {2}, 5}};
  for (const Case& entry : cases) {
    logic.Vinkjes.Clear();
    logic.Vinkjes.Append(7);
    SetRandomSeed(5);
    Bytes bytes = entry.bytes;
    bytes.push_back(0);
    LumoMemoryStream stream;
    ASSERT_TRUE(stream.OpenBuffer(bytes.data(), static_cast<uint32_t>(bytes.size() - 1), 1, 0));
    EXPECT_TRUE(logic.LoadVinkjes(&stream, nullptr)) << entry.name;
    std::vector<int32_t> ticks;
    for (int32_t index = 0; index < logic.Vinkjes.count; ++index) {
      ticks.push_back(logic.Vinkjes[index]);
    }
    EXPECT_EQ(ticks, entry.ticks) << entry.name;
    EXPECT_EQ(GetRandomSeed(), entry.seed) << entry.name;
  }
}

// The map holds after a load what the running game holds there.
TEST_F(LogicStoreTest, ALoadPlacesWhatTheRunningGameKeepsOnTheMap) {
  YLThing* wreck = Put<YLTPushableThing>(2, 2, 2);
  wreck->Info->Status &= ~static_cast<uint32_t>(StatusAlive);
  Add<StoredUnit>(3, 0, 4, 4)->Info->Status |= StatusInContainer;
  Add<YLTBaricade>(4, 0, 6, 6)->Cleaned = true;
  Put<YLTBaricade>(5, 8, 8);
  Add<YLTLvl11Fence>(6, 0, 10, 10)->Info->Status &= ~static_cast<uint32_t>(StatusAlive);
  Put<YLTLvl11Fence>(7, 12, 12);
  CLogic* copy = LoadLogic(Save(logic));
  ASSERT_NE(copy, nullptr);
  const struct {
    int32_t x;
    int32_t y;
    int32_t id;
  } expected[] = {{2, 2, 2}, {4, 4, 0}, {6, 6, 0}, {8, 8, 5}, {10, 10, 0}, {12, 12, 7}};
  for (const auto& cell : expected) {
    EXPECT_EQ(copy->Map->GetThingIDAt(cell.x, cell.y), cell.id) << cell.x;
  }
}

// A thing lifted off the map (a car under the highway's bridge) is not
// listed, so it cannot move until it is set down again; the loaded game
// keeps it off the list. A record without the listing places what the
// running game normally keeps on the map.
TEST_F(LogicStoreTest, AThingLiftedOffTheMapStaysOffTheLoadedList) {
  Put<YLTPushableThing>(2, 3, 3)->ID = 2;
  Put<YLTPushableThing>(3, 5, 5)->ID = 3;
  LogicPlanWarpZ(2, -3).Execute(&logic);
  ASSERT_FALSE(Map().IsListed(logic.GetThing(2)));
  const Bytes saved = Save(logic);

  CLogic* copy = LoadLogic(saved);
  ASSERT_NE(copy, nullptr);
  EXPECT_FALSE(copy->Map->IsListed(copy->GetThing(2)));
  EXPECT_TRUE(copy->Map->IsListed(copy->GetThing(3)));
  EXPECT_EQ(Save(*copy), saved);

  Bytes older = saved;
  ASSERT_TRUE(Cut(older, "listed:", 8));  // the count and the one id
  copy = LoadLogic(older);
  ASSERT_NE(copy, nullptr);
  EXPECT_TRUE(copy->Map->IsListed(copy->GetThing(2)));
  EXPECT_TRUE(copy->Map->IsListed(copy->GetThing(3)));
}

// A building that a unit enters takes the unit's owner, and the running
// game does not count it among that player's things; the loaded game keeps
// the player's counters as the running game had them.
TEST_F(LogicStoreTest, ALoadedGameKeepsThePlayersCountersAsTheRunningGameHadThem) {
  StoredUnit* unit = Owned<StoredUnit>(5, 6, 6);
  auto* building = Put<YLTBuilding>(2, 10, 10);
  building->ID = 2;
  Map().RemoveThing(unit);
  building->Enter(unit);
  ASSERT_EQ(building->GetOwner(), 1);
  const std::vector<int32_t> running(logic.GetPlayer(1)->GetParams().items,
                                     logic.GetPlayer(1)->GetParams().items + CPlayer::kParamCount);
  const Bytes saved = Save(logic);

  CLogic* copy = LoadLogic(saved);
  ASSERT_NE(copy, nullptr);
  const tCollection<int32_t>& loaded = copy->GetPlayer(1)->GetParams();
  EXPECT_EQ(std::vector<int32_t>(loaded.items, loaded.items + loaded.count), running);
  EXPECT_EQ(Save(*copy), saved);
}

// A unit that died left the map in the running game; the loaded game does
// not put it back.
TEST_F(LogicStoreTest, AUnitThatDiedStaysOffTheLoadedMap) {
  StoredUnit* dead = Owned<StoredUnit>(5, 6, 6);
  Owned<StoredUnit>(6, 9, 9);
  dead->Destroy();
  ASSERT_EQ(Map().GetThingIDAt(6, 6), 0);
  const std::vector<uint32_t> running = Cells();
  CLogic* copy = LoadLogic(Save(logic));
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->Map->GetThingIDAt(6, 6), 0);
  EXPECT_EQ(copy->Map->GetThingIDAt(9, 9), 6);
  std::vector<uint32_t> loadedCells;
  for (int32_t y = 0; y < copy->Map->GetStratMap()->GetHeight(); ++y) {
    for (int32_t x = 0; x < copy->Map->GetStratMap()->GetWidth(); ++x) {
      loadedCells.push_back(copy->Map->GetStratMap()->GetCell(x, y));
    }
  }
  EXPECT_EQ(loadedCells, running);
}

// A game without a police player, or with a plain player in its slot, gets
// a police player; the plain one's state is taken over and it is freed.
TEST_F(LogicStoreTest, APoliceSlotWithoutPoliceGetsAFreshPolicePlayer) {
  for (const bool plain : {false, true}) {
    DestroyObject(logic.Players->At(CLogic::kPolicePlayer));
    (*logic.Players)[CLogic::kPolicePlayer] = nullptr;
    if (plain) {
      AddPlayer(CLogic::kPolicePlayer, new CPlayer);
      logic.GetPlayer(CLogic::kPolicePlayer)->AddMoney(234);
    }
    Owned<StoredUnit>(5, 6, 6)->SetOwner(CLogic::kPolicePlayer);
    CLogic* copy = LoadLogic(Save(logic));
    ASSERT_NE(copy, nullptr) << plain;
    auto* police = dynamic_cast<YLPlayerPolice*>(copy->GetPlayer(CLogic::kPolicePlayer));
    ASSERT_NE(police, nullptr) << plain;
    EXPECT_EQ(police->GetMoney(), plain ? 1234 : 1000) << plain;
    EXPECT_EQ(police->GetParam(ParamThings), 1) << plain;
    loaded.reset();
    YLThing::SetLogicContext(logic.Map.get(), &logic);
    logic.Map->RemoveThing(logic.GetThing(5));
    DestroyObject(logic.Things->At(5));
    (*logic.Things)[5] = nullptr;
  }
}

// Hostile thing tables and players fail the load.
TEST_F(LogicStoreTest, RefusesForeignEntriesAndOversizedThingTables) {
  struct Case {
    const char* name;
    bool things;
    int32_t slot;
    LumoObject* entry;
  };
  const Case cases[] = {{"a player among the things", true, 1, new CPlayer},
                        {"a thing past the id limit", true, CLogic::kMaxThings, new YLTPushableThing},
                        {"a thing among the players", false, 1, new YLTPushableThing}};
  for (const Case& entry : cases) {
    std::unique_ptr<LumoObjects, tObjectDestroyer> table(new LumoObjects(true));
    table->SetCount(entry.slot + 1);
    if (auto* thing = dynamic_cast<YLThing*>(entry.entry)) {
      thing->CreateInfo(0);
    }
    (*table)[entry.slot] = entry.entry;
    const Bytes bytes = Save(*table);
    Bytes stored = {1};
    stored.insert(stored.end(), bytes.begin(), bytes.end());
    stored.push_back(0);
    LumoMemoryStream stream;
    ASSERT_TRUE(stream.OpenBuffer(stored.data(), static_cast<uint32_t>(stored.size() - 1), 1, 0));
    std::string log = Logged([&] {
      EXPECT_FALSE(entry.things ? logic.LoadThings(&stream, nullptr) : logic.LoadPlayers(&stream, nullptr))
          << entry.name;
    });
    EXPECT_NE(log.find("CLogic:"), std::string::npos) << entry.name;
  }
  EXPECT_EQ(logic.GetPlayer(1)->GetClassName(), std::string("CPlayer"));
}

// Older saves with a stray police player's text before the type names: the
// names are found however the search's reads cut them, and a stream without
// them fails.
TEST_F(LogicStoreTest, TypeNamesAreFoundBehindAStrayPolicePlayer) {
  LumoMemoryStream saved;
  ASSERT_TRUE(saved.OpenNew(16, 1, 0));
  ASSERT_EQ(saved.SetGrowth(256), 256u);
  logic.AddString("Obst01");
  ASSERT_TRUE(logic.SaveStringLibrary(&saved, nullptr));
  const Bytes names(saved.buffer, saved.buffer + saved.position);
  // 15 marker bytes, the junk, then count and length: 213 puts "not_used"
  // across the first read's end.
  for (const int32_t junk : {0, 213, 600, -1}) {
    Bytes bytes = MarkerBytes("YLPoliceBot");
    bytes.insert(bytes.end(), static_cast<size_t>(junk < 0 ? 20 : junk), 0x55);
    if (junk >= 0) {
      bytes.insert(bytes.end(), names.begin(), names.end());
    }
    bytes.push_back(0);
    LumoMemoryStream stream;
    ASSERT_TRUE(stream.OpenBuffer(bytes.data(), static_cast<uint32_t>(bytes.size() - 1), 1, 0));
    CLogic other;
    other.StringLibrary.clear();
    EXPECT_EQ(other.LoadStringLibrary(&stream, nullptr), junk >= 0) << junk;
    if (junk >= 0) {
      EXPECT_EQ(other.StringLibrary, logic.StringLibrary) << junk;
    }
  }
}

}  // namespace
}  // namespace logic_world_testing
