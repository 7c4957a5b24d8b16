#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "LogicWorldFixture.h"
#include "base/Random.h"
#include "logic/world/MoveInfoKinds.h"
#include "logic/world/ThingDebugSource.h"
#include "logic/world/YLTBaricade.h"
#include "logic/world/YLTLvl11Fence.h"

namespace logic_world_testing {
namespace {

class ThingTest : public LogicWorldTest {};

// ---- Ticks, damage and death ----

TEST_F(ThingTest, TicksDamageAndDeath) {
  const struct {
    const char* name;
    float hp;
    float armor;
    float damage;       // taken before the tick; below 0: none
    bool damageAnswer;  // what TakeDamage answers
    bool tickAnswer;    // what the tick answers
    float hpAfter;
  } cases[] = {
      {"hp exactly 0 dies in its tick", 0.0f, 0.0f, -1.0f, false, false, 0.0f},
      {"hp below 0 dies in its tick", -0.5f, 0.0f, -1.0f, false, false, 0.0f},
      {"armour 1.0 takes nothing", 1.0f, 1.0f, 50.0f, false, true, 1.0f},
      {"armour halves the damage", 1.0f, 0.5f, 1.0f, false, true, 0.5f},
      {"a blow that reaches 0 destroys", 0.5f, 0.0f, 0.5f, true, false, 0.0f},
      {"a dead thing takes nothing more", 0.0f, 0.0f, 1.0f, false, false, 0.0f},
  };
  int32_t id = 1;
  for (const auto& entry : cases) {
    auto* thing = Add<YLThing>(id);
    thing->Info->Hp = entry.hp;
    thing->Info->Armor = entry.armor;
    if (entry.damage >= 0.0f) {
      EXPECT_EQ(thing->TakeDamage(entry.damage), entry.damageAnswer) << entry.name;
    }
    EXPECT_EQ(thing->Propagate(), entry.tickAnswer) << entry.name;
    EXPECT_FLOAT_EQ(thing->Info->Hp, entry.hpAfter) << entry.name;
    EXPECT_EQ((thing->Info->Status & StatusAlive) != 0, entry.tickAnswer) << entry.name;
    ++id;
  }
}

TEST_F(ThingTest, SecondBlowOnADeadThingAnswersFalseAndChangesNothing) {
  auto* thing = Add<YLThing>(1);
  ASSERT_TRUE(thing->TakeDamage(2.0f));
  const size_t heard = listener.actions.size();
  EXPECT_FALSE(thing->TakeDamage(2.0f));
  EXPECT_FLOAT_EQ(thing->Info->Hp, 0.0f);
  EXPECT_EQ(listener.actions.size(), heard);
}

TEST_F(ThingTest, DestroyStartsTrashedAndTheListenerHearsIt) {
  auto* thing = Add<YLThing>(7, 0, 12, 13);
  thing->Info->Ori = 3;
  thing->Destroy();
  EXPECT_FLOAT_EQ(thing->Info->Hp, 0.0f);
  EXPECT_EQ(thing->Info->Status & StatusAlive, 0u);
  EXPECT_STREQ(thing->Info->Move->name.text, "ObjectTrashed");
  EXPECT_EQ(thing->Info->MoveNumber, YLThing::kMoveTrashed);
  ASSERT_EQ(listener.actions.size(), 1u);
  const HeardAction& heard = listener.actions[0];
  EXPECT_EQ(heard.id, 7);
  EXPECT_EQ(heard.x, 12);
  EXPECT_EQ(heard.y, 13);
  EXPECT_EQ(heard.facing, 3);
  EXPECT_EQ(heard.move, "ObjectTrashed");
}

// Time counts 0 to 255 and stays there, though the record keeps it in a
// signed byte.
TEST_F(ThingTest, MoveOfLengthOneSetsTimeToTwoFiftyFiveForGood) {
  auto* thing = Add<YLThing>(1);
  EXPECT_EQ(thing->StartMove(thing->GetMoveInfo(YLThing::kMoveRest)), 1);
  EXPECT_EQ(thing->GetTime(), 255);
  for (int tick = 0; tick < 300; ++tick) {
    ASSERT_TRUE(thing->Propagate());
    ASSERT_EQ(thing->GetTime(), 255);
  }
  EXPECT_EQ(thing->StartMove(thing->GetMoveInfo(YLThing::kMoveFallForward)), 10);
  EXPECT_EQ(thing->GetTime(), 0);
  for (int tick = 1; tick <= 300; ++tick) {
    ASSERT_TRUE(thing->Propagate());
    ASSERT_EQ(thing->GetTime(), std::min(tick, 255));
  }
}

// A scenery thing at rest draws once per tick and starts its idle
// animation exactly when the draw exceeds 0.9985; after 50 frames it rests
// again (without a draw while it plays).
TEST_F(ThingTest, SceneryPlaysItsIdleAnimationOnRareDraws) {
  auto* thing = Add<YLThing>(1);
  thing->Info->Status |= StatusScenery;
  SetRandomSeed(4711);
  int starts = 0;
  int returns = 0;
  for (int tick = 0; tick < 20000 && returns < 3; ++tick) {
    const uint32_t before = GetRandomSeed();
    const int32_t moveBefore = thing->Info->MoveNumber;
    const uint8_t timeBefore = thing->GetTime();
    const size_t heard = listener.actions.size();
    ASSERT_TRUE(thing->Propagate());
    if (moveBefore == YLThing::kMoveRest) {
      const uint32_t drawn = static_cast<uint32_t>((uint64_t{before} + 1) * kRandomMultiplier % kRandomModulus);
      ASSERT_EQ(GetRandomSeed(), drawn);
      const bool exceeds = drawn / 16777216.0 > 0.9985;
      ASSERT_EQ(thing->Info->MoveNumber, exceeds ? YLThing::kMoveAmbient : YLThing::kMoveRest) << tick;
      if (exceeds) {
        ++starts;
        ASSERT_EQ(listener.actions.size(), heard + 1);
        EXPECT_EQ(listener.actions.back().move, "ObjectAmbient");
      }
    } else {
      ASSERT_EQ(GetRandomSeed(), before);
      const bool done = timeBefore + 1 >= 50;
      ASSERT_EQ(thing->Info->MoveNumber, done ? YLThing::kMoveRest : YLThing::kMoveAmbient) << tick;
      if (done) {
        ++returns;
        EXPECT_EQ(listener.actions.back().move, "ObjectRest");
      }
    }
  }
  EXPECT_EQ(returns, 3);
  EXPECT_GE(starts, 3);
}

TEST_F(ThingTest, InitFromTypeReadsTheTypeName) {
  const struct {
    const char* name;
    uint32_t statusBefore;
    uint32_t statusAfter;
    int32_t buildingType;
  } cases[] = {
      {"Scene12", StatusAlive, StatusAlive | StatusScenery, 0},
      {"Obst01", StatusAlive, StatusAlive | StatusScenery, 0},
      {"Obst782-barrel", StatusAlive, StatusAlive | StatusScenery | StatusExplodes, 0},
      {"Obst784", StatusAlive, StatusAlive | StatusScenery | StatusExplodes, 0},
      {"Obst785", StatusAlive | StatusExplodes, StatusAlive | StatusScenery, 0},
      {"Brick", StatusAlive, StatusAlive, 14},
      {"Home01", StatusAlive | StatusExplodes, StatusAlive | StatusExplodes, 0},
  };
  int32_t id = 1;
  for (const auto& entry : cases) {
    auto* thing = Add<YLThing>(id++);
    thing->Info->Gfx = logic.AddString(entry.name);
    thing->Info->Status = entry.statusBefore;
    thing->InitFromType();
    EXPECT_EQ(thing->Info->Status, entry.statusAfter) << entry.name;
    EXPECT_EQ(thing->Info->BuildingType, entry.buildingType) << entry.name;
  }
}

// A stored move number the table does not hold falls back to move 0.
TEST_F(ThingTest, StoredMoveOutsideTheTableBecomesMoveZeroWithALogLine) {
  int32_t id = 1;
  for (int32_t number : {15, 99, -1}) {
    auto* thing = Add<YLThing>(id++);
    thing->Info->SetMove(nullptr, number);
    const std::string log = Logged([&] { thing->InitFromType(); });
    EXPECT_EQ(thing->Info->MoveNumber, 0) << number;
    EXPECT_EQ(thing->Info->Move, thing->GetMoveInfo(0)) << number;
    EXPECT_NE(log.find("has no move " + std::to_string(number)), std::string::npos) << log;
  }
  auto* thing = Add<YLThing>(id);
  thing->Info->SetMove(nullptr, YLThing::kMoveAmbient);
  thing->InitFromType();
  EXPECT_EQ(thing->Info->MoveNumber, YLThing::kMoveAmbient);
  EXPECT_STREQ(thing->Info->Move->name.text, "ObjectAmbient");
}

// A class whose table holds moves away from their codes: the molotov (code
// 14) at 2, a second turn (code 5) at 3 besides the first at 1.
class ReusingTableThing : public YLThing {
 public:
  ReusingTableThing() {
    table[1] = &turn;
    table[2] = &molotov;
    table[3] = &turn;
  }
  MoveInfo* GetMoveInfo(int32_t number) const override {
    return number >= 0 && number < 4 ? table[number] : nullptr;
  }
  MoveInfo rest;
  MoveInfoCW turn;
  MoveInfoMolotov molotov;
  MoveInfo* table[4] = {&rest, nullptr, nullptr, nullptr};
};

// The record keeps the move's place in the table, so a reload finds the
// same move again.
TEST_F(ThingTest, StoredMoveNumberIsThePlaceInTheClassTable) {
  auto* thing = Add<ReusingTableThing>(1);
  const struct {
    int32_t started;
    int32_t stored;
  } cases[] = {{2, 2}, {1, 1}, {3, 1}, {0, 0}};
  for (const auto& entry : cases) {
    MoveInfo* move = thing->GetMoveInfo(entry.started);
    thing->StartMove(move);
    EXPECT_EQ(thing->Info->MoveNumber, entry.stored) << entry.started;
    thing->Info->SetMove(nullptr, thing->Info->MoveNumber);
    thing->InitFromType();
    EXPECT_EQ(thing->Info->Move, move) << entry.started;
  }
}

TEST_F(ThingTest, PlainThingsTakeNoCommandsAndAnswerTheDefaults) {
  auto* thing = Add<YLThing>(1);
  const std::string log = Logged([&] {
    thing->GiveCommand(nullptr);
    thing->AddCommand(nullptr);
  });
  EXPECT_NE(log.find(" *** tried to give new command to non-thinking\n"), std::string::npos);
  EXPECT_NE(log.find(" *** tried to add command to non-thinking\n"), std::string::npos);
  EXPECT_EQ(thing->GetSituation(), 1);
  EXPECT_EQ(thing->GetContainer(), nullptr);
  EXPECT_FALSE(thing->IsSelectable());
  EXPECT_FALSE(thing->IsPolice());
  EXPECT_FALSE(thing->CanTake(3));
  EXPECT_FALSE(thing->OnAddToMap(nullptr));
  EXPECT_EQ(thing->AsDriver(), nullptr);
  EXPECT_EQ(thing->GetMoveInfo(15), nullptr);
  EXPECT_EQ(thing->GetMoveInfo(-1), nullptr);
  thing->SetStatusBit9();
  thing->SetStatusBit28();
  EXPECT_EQ(thing->Info->Status, StatusAlive | (1u << 9) | (1u << 28));
  tString text = "old";
  thing->GetDebugText(text);
  EXPECT_EQ(text.length, 0);
}

// ---- The move table ----

TEST_F(ThingTest, PlainMoveTableHoldsItsFifteenMoves) {
  const LumoObjects* table = YLThing::GetPlainMoveTable();
  ASSERT_NE(table, nullptr);
  ASSERT_EQ(table->count, YLThing::kPlainMoveCount);
  const struct {
    int32_t number;
    const char* name;
    int length;
  } cases[] = {
      {0, "ObjectRest", 1},         {1, "ObjectTrashed", 1},      {2, "ObjectMove0", 4},
      {9, "ObjectMove7", 4},        {10, "ObjectFallForward", 10}, {11, "ObjectDownForward", 1},
      {12, "ObjectFallBack", 10},   {13, "ObjectDownBack", 1},    {14, "ObjectAmbient", 50},
  };
  for (const auto& entry : cases) {
    const auto* move = dynamic_cast<const MoveInfo*>(table->At(entry.number));
    ASSERT_NE(move, nullptr) << entry.number;
    EXPECT_STREQ(move->name.text, entry.name);
    EXPECT_EQ(move->code, entry.number) << entry.name;
    EXPECT_EQ(move->GetMoveTime(0, 0), entry.length) << entry.name;
  }
}

// Records point at the shared moves; building the table again refills the
// same objects, so every record's move stays valid (the sanitizer build
// would catch a read of a freed move).
TEST_F(ThingTest, InitMoveTableTwiceKeepsEveryRecordsMoveValid) {
  const LumoObjects* table = YLThing::GetPlainMoveTable();
  std::vector<const LumoObject*> before;
  for (int32_t number = 0; number < table->count; ++number) {
    before.push_back(table->At(number));
  }
  std::vector<YLThing*> things;
  for (int32_t number = 0; number < YLThing::kPlainMoveCount; ++number) {
    things.push_back(Add<YLThing>(number + 1, number));
  }
  // A shared move changed by a performer is put back by the refill.
  auto* fall = things[YLThing::kMoveFallForward]->GetMoveInfo(YLThing::kMoveFallForward);
  fall->SetAllTimes(3);
  fall->name = "changed";

  YLTPushableThing::InitMoveTable();
  ASSERT_EQ(YLThing::GetPlainMoveTable(), table);
  ASSERT_EQ(table->count, YLThing::kPlainMoveCount);
  for (int32_t number = 0; number < YLThing::kPlainMoveCount; ++number) {
    EXPECT_EQ(table->At(number), before[static_cast<size_t>(number)]);
    const ThingInfo& info = *things[static_cast<size_t>(number)]->Info;
    ASSERT_NE(info.Move, nullptr);
    EXPECT_EQ(info.Move->code, number);
    EXPECT_GT(info.Move->name.length, 0);
  }
  EXPECT_STREQ(fall->name.text, "ObjectFallForward");
  EXPECT_EQ(fall->GetMoveTime(0, 0), 10);
}

// ---- Pushes ----

class PushTest : public LogicWorldTest {
 protected:
  void SetUp() override {
    LogicWorldTest::SetUp();
    crate = Add<YLTPushableThing>(2, 0, 10, 10);
    pusher = Add<YLThing>(3, 0, 9, 10);
    pusher->Info->Ori = 2;
  }

  YLTPushableThing* crate = nullptr;
  YLThing* pusher = nullptr;
};

// The push takes its length and pusher before the map is asked; a logic
// without a map refuses the move, so the crate stays where it is.
TEST_F(PushTest, PushDuringAPushAnswersFalseAndKeepsTheCounter) {
  EXPECT_FALSE(crate->Push(pusher));
  EXPECT_EQ(crate->PushCounter, 4);
  EXPECT_EQ(crate->Pusher, 3);
  EXPECT_EQ(crate->Info->X, 10);
  YLThing* other = Add<YLThing>(4, 0, 10, 11);
  other->Info->Ori = 0;
  other->Info->Gfx = 9;
  EXPECT_FALSE(crate->Push(other));
  EXPECT_EQ(crate->PushCounter, 4);
  EXPECT_EQ(crate->Pusher, 3);
}

TEST_F(PushTest, TickPushEndsInRestOrTrashed) {
  crate->Push(pusher);
  crate->StartMove(crate->GetMoveInfo(YLThing::kMovePushFirst + 2));
  for (int tick = 0; tick < 3; ++tick) {
    ASSERT_TRUE(crate->Propagate());
    EXPECT_EQ(crate->Info->MoveNumber, YLThing::kMovePushFirst + 2);
    EXPECT_EQ(crate->Pusher, 3);
  }
  ASSERT_TRUE(crate->Propagate());
  EXPECT_EQ(crate->PushCounter, 0);
  EXPECT_EQ(crate->Pusher, 0);
  EXPECT_EQ(crate->Info->MoveNumber, YLThing::kMoveRest);

  crate->Push(pusher);
  crate->Info->Status &= ~static_cast<uint32_t>(StatusAlive);
  for (int tick = 0; tick < 4; ++tick) {
    crate->TickPush();
  }
  EXPECT_EQ(crate->Info->MoveNumber, YLThing::kMoveTrashed);
  EXPECT_EQ(crate->Pusher, 0);
}

TEST_F(PushTest, OnlyATramPushes) {
  YLThing* vehicle = Add<YLThing>(5, 0, 10, 9);
  vehicle->Info->Ori = 4;
  for (uint32_t type : {0u, 3u, 5u, 15u}) {
    vehicle->Info->Status = StatusAlive | (type << kStatusVehicleTypeShift);
    EXPECT_FALSE(crate->PushedByVehicle(vehicle)) << type;
    EXPECT_EQ(crate->PushCounter, 0) << type;
    EXPECT_EQ(crate->Pusher, 0) << type;
  }
  vehicle->Info->Status = StatusAlive | (4u << kStatusVehicleTypeShift);
  crate->PushedByVehicle(vehicle);
  EXPECT_EQ(crate->PushCounter, 4);  // graphic 0's time of the push move
  EXPECT_EQ(crate->Pusher, 5);
  EXPECT_FALSE(crate->PushedByVehicle(vehicle));
}

TEST_F(PushTest, PushableRecordHasItsFootprintAndType) {
  const GroundMap* ground = crate->Info->Ground.get();
  ASSERT_NE(ground, nullptr);
  EXPECT_EQ(crate->Info->BuildingType, 11);
  const int expectedPoints[8] = {5, 9, 5, 9, 5, 9, 5, 9};
  for (int32_t ori = 0; ori < 8; ++ori) {
    EXPECT_EQ(ground->GetPointCount(ori), expectedPoints[ori]) << ori;
  }
  int32_t x = 0;
  int32_t y = 0;
  ASSERT_TRUE(ground->GetPoint(3, 8, x, y));
  EXPECT_EQ(x, 1);
  EXPECT_EQ(y, 2);
  tString text;
  crate->GetDebugText(text);
  EXPECT_STREQ(text.text, "pushable\n");
}

// ---- Stream forms behind markers ----

TEST_F(ThingTest, BarricadeBorderTravelsBehindItsMarker) {
  auto* barricade = Add<YLTBaricade>(1);
  barricade->Cleaned = true;
  barricade->BorderID = 77;
  Bytes bytes = Save(*barricade);
  {
    auto loaded = Load(bytes);
    auto* copy = dynamic_cast<YLTBaricade*>(loaded.get());
    ASSERT_NE(copy, nullptr);
    EXPECT_TRUE(copy->Cleaned);
    EXPECT_EQ(copy->BorderID, 77);
    ASSERT_NE(copy->Info, nullptr);
    EXPECT_EQ(copy->Info->Tid, 1);
  }
  ASSERT_TRUE(Cut(bytes, "border:", 4));
  auto loaded = Load(bytes);
  auto* copy = dynamic_cast<YLTBaricade*>(loaded.get());
  ASSERT_NE(copy, nullptr);
  EXPECT_TRUE(copy->Cleaned);
  EXPECT_EQ(copy->BorderID, 0);
}

TEST_F(PushTest, PushStateTravelsBehindItsMarker) {
  crate->PushCounter = 6;
  crate->Pusher = 3;
  Bytes bytes = Save(*crate);
  {
    auto loaded = Load(bytes);
    auto* copy = dynamic_cast<YLTPushableThing*>(loaded.get());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->PushCounter, 6);
    EXPECT_EQ(copy->Pusher, 3);
    ASSERT_NE(copy->Info, nullptr);
    EXPECT_EQ(copy->Info->X, 10);
  }
  ASSERT_TRUE(Cut(bytes, "push:", 4));
  auto loaded = Load(bytes);
  auto* copy = dynamic_cast<YLTPushableThing*>(loaded.get());
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->PushCounter, 6);
  EXPECT_EQ(copy->Pusher, 0);
}

TEST_F(ThingTest, FenceBorderRoundTripsAndItsEndsFollowItsOrientation) {
  auto* fence = Add<YLTLvl11Fence>(1, 0, 20, 30);
  fence->SetBorder(12);
  auto loaded = Load(Save(*fence));
  auto* copy = dynamic_cast<YLTLvl11Fence*>(loaded.get());
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->BorderID, 12);
  int32_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  fence->Info->Ori = 7;
  YLTLvl11Fence::GetEnds(*fence, x1, y1, x2, y2);
  EXPECT_EQ((std::vector<int32_t>{x1, y1, x2, y2}), (std::vector<int32_t>{21, 31, 19, 29}));
  fence->Info->Ori = 3;
  YLTLvl11Fence::GetEnds(*fence, x1, y1, x2, y2);
  EXPECT_EQ((std::vector<int32_t>{x1, y1, x2, y2}), (std::vector<int32_t>{21, 29, 19, 31}));
  tString text;
  fence->GetDebugText(text);
  EXPECT_STREQ(text.text, "lvl11 border: 12\n");
}

// ---- Barricades ----

TEST_F(ThingTest, BarricadeFallsTowardOrAwayFromItsPusherAndComesToLie) {
  auto* barricade = Add<YLTBaricade>(1);
  barricade->Info->Ori = 2;
  YLThing* pusher = Add<YLThing>(2);
  pusher->Info->Ori = 10;  // 2 modulo 8
  barricade->Toggle(pusher);
  EXPECT_TRUE(barricade->Cleaned);
  EXPECT_EQ(barricade->Info->MoveNumber, YLThing::kMoveFallForward);
  for (int tick = 0; tick < 10; ++tick) {
    ASSERT_TRUE(barricade->Propagate());
  }
  EXPECT_EQ(barricade->Info->MoveNumber, YLThing::kMoveFallForward);
  ASSERT_TRUE(barricade->Propagate());
  EXPECT_EQ(barricade->Info->MoveNumber, YLThing::kMoveDownForward);
  EXPECT_EQ(barricade->Info->Z, -1);

  barricade->Toggle(pusher);
  EXPECT_FALSE(barricade->Cleaned);
  EXPECT_EQ(barricade->Info->Z, 0);
  EXPECT_EQ(barricade->Info->MoveNumber, YLThing::kMoveRest);

  pusher->Info->Ori = 5;
  barricade->Toggle(pusher);
  EXPECT_EQ(barricade->Info->MoveNumber, YLThing::kMoveFallBack);
  for (int tick = 0; tick < 11; ++tick) {
    barricade->Propagate();
  }
  EXPECT_EQ(barricade->Info->MoveNumber, YLThing::kMoveDownBack);
  std::vector<std::string> heard;
  for (const HeardAction& action : listener.actions) {
    heard.push_back(action.move);
  }
  EXPECT_EQ(heard, (std::vector<std::string>{"ObjectFallForward", "ObjectDownForward", "ObjectRest",
                                             "ObjectFallBack", "ObjectDownBack"}));
  tString text;
  barricade->SetBorder(4);
  barricade->GetDebugText(text);
  EXPECT_STREQ(text.text, "baricade : border 4\n");
}

// ---- The record's debug text ----

TEST_F(ThingTest, DebugSourceGivesTheThingsLineTypeNameAndMove) {
  auto* barricade = Add<YLTBaricade>(3);
  barricade->SetBorder(9);
  barricade->Info->Gfx = logic.AddString("Push01");
  barricade->StartMove(barricade->GetMoveInfo(YLThing::kMoveFallBack));
  ThingInfo::SetDebugSource(&ThingDebugSource::Instance());
  tString text;
  barricade->Info->DebugPrint(text);
  ThingInfo::SetDebugSource(nullptr);
  const std::string dump = text.text;
  EXPECT_EQ(dump.rfind("baricade : border 9\nthing3, Push01(", 0), 0u) << dump;
  EXPECT_NE(dump.find("action=ObjectFallBack 0/10"), std::string::npos) << dump;

  // A record that is not its thing's gets no thing line.
  ThingInfo stray;
  stray.Tid = 3;
  tString strayText;
  ThingInfo::SetDebugSource(&ThingDebugSource::Instance());
  stray.DebugPrint(strayText);
  ThingInfo::SetDebugSource(nullptr);
  EXPECT_EQ(std::string(strayText.text).rfind("thing3, not_used(0)", 0), 0u) << strayText.text;
}

}  // namespace
}  // namespace logic_world_testing
