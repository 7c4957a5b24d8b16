#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "../../navigation/PathMapDrawing.h"
#include "LogicWorldFixture.h"
#include "base/LumoClass.h"
#include "base/LumoMemoryStream.h"
#include "base/Random.h"
#include "logic/core/CLogic.h"
#include "logic/core/CMap.h"
#include "logic/core/CPlayer.h"
#include "logic/core/LogicLifecycle.h"
#include "logic/core/RecordFields.h"
#include "logic/core/ThingInfo.h"
#include "logic/triggers/GameOverTimeLimit.h"
#include "logic/triggers/LogicPlanItem.h"
#include "logic/triggers/LogicPlanNotifyGameOver.h"
#include "logic/world/YLTContainerThing.h"
#include "logic/world/YLTPushable.h"
#include "navigation/YLKnowledgeMap.h"
#include "navigation/YLSectors.h"

namespace logic_world_testing {
namespace {

// A unit kind that can be stored.
class LifecycleUnit : public TestUnit {
 public:
  const char* GetClassName() const override { return "LifecycleTestUnit"; }
};

LumoClassOf<LifecycleUnit> classOfLifecycleUnit(kVersion_1_6_0_6, "LifecycleTestUnit", "YLThing");

// A plan item that speaks when it runs, stored with the game.
class SpeakingItem : public LogicPlanItem {
 public:
  const char* GetClassName() const override { return "LifecycleSpeakingItem"; }
  void Execute(CLogic* logic) override { logic->NotifySpeech(9, 9, 9, 9); }
};

LumoClassOf<SpeakingItem> classOfSpeakingItem(kVersion_1_6_0_6, "LifecycleSpeakingItem", "LogicPlanItem");

// Writes down every event it hears as one line, and throws on the events
// whose line starts with `failing`.
class EventLog : public YLEventListener {
 public:
  void EventMap(const void* grid) override { Hear(grid != nullptr ? "Map grid" : "Map none"); }
  void EventThing(ThingInfo* info, const char* name) override {
    Hear("Thing " + std::to_string(info != nullptr ? info->Tid : -1) + " " + (name != nullptr ? name : "(null)"));
  }
  void EventEnter(int32_t unit, int32_t container) override {
    Hear("Enter " + std::to_string(unit) + " " + std::to_string(container));
  }
  void EventSpeech(int32_t kind, int32_t subject, int32_t message, int32_t value) override {
    Hear("Speech " + std::to_string(kind) + " " + std::to_string(subject) + " " + std::to_string(message) + " " +
         std::to_string(value));
  }
  void EventSelection(int32_t player, int32_t id, int32_t selected) override {
    Hear("Selection " + std::to_string(player) + " " + std::to_string(id) + " " + std::to_string(selected));
  }
  void EventParameter(int32_t player, ParamEnum parameter, int32_t value) override {
    Hear("Parameter " + std::to_string(player) + " " + std::to_string(parameter) + " " + std::to_string(value));
  }
  void EventGameOver(int32_t player, int32_t won, void* passThrough) override {
    Hear("GameOver " + std::to_string(player) + " " + std::to_string(won));
    gameOverTables.push_back(passThrough);
  }
  void EventTimer(int32_t player, int32_t frames, const char* label) override {
    Hear("Timer " + std::to_string(player) + " " + std::to_string(frames) + " " + (label != nullptr ? label : ""));
  }

  std::vector<std::string> lines;
  std::vector<void*> gameOverTables;
  std::string failing;

 private:
  void Hear(const std::string& line) {
    lines.push_back(line);
    if (!failing.empty() && line.rfind(failing, 0) == 0) {
      throw std::runtime_error(line);
    }
  }
};

Bytes Saved() {
  LumoMemoryStream stream;
  EXPECT_TRUE(stream.OpenNew(64, 1, 0));
  EXPECT_EQ(stream.SetGrowth(4096), 4096u);
  EXPECT_TRUE(LogicSave(&stream));
  return Bytes(stream.buffer, stream.buffer + stream.position);
}

bool LoadBytes(Bytes bytes) {
  bytes.push_back(0);  // a stream needs a block; the spare byte stays unread
  LumoMemoryStream stream;
  EXPECT_TRUE(stream.OpenBuffer(bytes.data(), static_cast<uint32_t>(bytes.size() - 1), 1, 0));
  return LogicLoad(&stream);
}

// Everything a load may change outside the logic object.
struct ProcessView {
  CLogic* logic;
  CMap* map;
  YLSectors* sectors;
  int32_t technologyLevel;
  uint32_t randomState;
  bool operator==(const ProcessView&) const = default;
};

// Runs body with the debug log on and answers what it logged.
std::string Logged(const std::function<void()>& body) {
  EXPECT_EQ(SetDebugMode(DebugModeOverwrite), DebugModeOverwrite);
  body();
  SetDebugMode(DebugModeOff);
  return testing_support::ReadDebugLog();
}

ProcessView Process() {
  return {TheLogic(), YLThing::GetMap(), GetCurrentSectorMap(), CLogic::GetTechnologyLevel(), GetRandomSeed()};
}

class LogicLifecycleTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(LogicStart()); }

  void TearDown() override {
    LogicStop();
    YLThing::SetLogicContext(nullptr, nullptr);
  }

  CLogic& Logic() { return *TheLogic(); }

  // A thing of class T at id, at (x, y), on the map unless it is a unit put
  // into a container later.
  template <typename T>
  T* AddThing(int32_t id, int32_t x, int32_t y, const char* typeName) {
    auto* thing = new T;
    thing->CreateInfo(0);
    thing->Info->Tid = id;
    thing->ID = static_cast<uint32_t>(id);
    thing->Info->X = x;
    thing->Info->Y = y;
    thing->Info->Gfx = typeName != nullptr ? Logic().AddString(typeName) : -1;
    if (Logic().Things->count <= id) {
      Logic().Things->SetCount(id + 1);
    }
    (*Logic().Things)[id] = thing;
    ++Logic().ThingCount;
    Logic().Map->PlaceThing(thing);
    return thing;
  }

  // A small running game: a 16 x 16 map, player 1, a plain thing with a
  // name and one without, a container facing 5 with a unit inside, a
  // countdown 40 frames ahead, two objective ticks and a speaking item.
  void BuildGame() {
    ASSERT_TRUE(LogicCreate(16, 16));
    ASSERT_TRUE(LogicPlayer(1));
    AddThing<YLTPushableThing>(1, 2, 2, "Push01-Crate");
    AddThing<YLTPushableThing>(2, 4, 4, nullptr);
    auto* container = AddThing<YLTContainerThing>(3, 8, 8, "Home01-House");
    container->Info->Ori = 5;
    auto* unit = AddThing<LifecycleUnit>(4, 9, 9, "UnitRat");
    Logic().Map->RemoveThing(unit);
    container->Enter(unit);
    unit->SetOwner(1);
    Logic().GetPlayer(1)->OnThingOwned(true, unit);
    Logic().InsertPlan(new GameOverTimeLimit, 40);
    Logic().InsertPlan(new SpeakingItem, 3);
    Logic().Vinkjes.Append(0);
    Logic().Vinkjes.Append(2);
    Logic().Vinkjes.Append(1);
    CLogic::SetTechnologyLevel(2);
    SetRandomSeed(4242);
  }
};

// A new logic, or one reset, draws from state 0 whatever the process drew
// before, so every machine of a game and every replay draws the same.
TEST_F(LogicLifecycleTest, StartingAgainKeepsTheObjectAndRestartsTheGenerator) {
  CLogic* first = TheLogic();
  ASSERT_NE(first, nullptr);
  ASSERT_TRUE(LogicPlayer(2));
  ASSERT_TRUE(LogicCreate(8, 8));
  Logic().InsertPlan(new LogicPlanItem, 50);
  for (int32_t draw = 0; draw < 5; ++draw) {
    RandomNext();
  }
  ASSERT_TRUE(LogicStart());
  EXPECT_EQ(TheLogic(), first);
  EXPECT_EQ(RandomNext(), 251u);
  EXPECT_EQ(Logic().GetPlayer(2), nullptr);
  EXPECT_NE(Logic().GetPlayer(CLogic::kPolicePlayer), nullptr);
  EXPECT_EQ(Logic().PlanLongTerm.first, nullptr);
  EXPECT_TRUE(Logic().Initialised);

  ASSERT_TRUE(LogicStop());
  EXPECT_EQ(TheLogic(), nullptr);
  ASSERT_TRUE(LogicStart());
  EXPECT_EQ(RandomNext(), 251u);
}

TEST_F(LogicLifecycleTest, WithoutALogicTheExportsDoNothing) {
  EventLog log;
  ASSERT_TRUE(LogicStop());
  EXPECT_TRUE(LogicStop());
  EXPECT_FALSE(LogicCreate(8, 8));
  EXPECT_FALSE(LogicResize(8, 8));
  EXPECT_FALSE(LogicPlayer(1));
  EXPECT_FALSE(LogicListener(&log));
  EXPECT_FALSE(LogicCompute());
  LumoMemoryStream stream;
  ASSERT_TRUE(stream.OpenNew(64, 1, 0));
  EXPECT_FALSE(LogicSave(&stream));
  EXPECT_EQ(stream.position, 0u);
  ThingInfo info;
  RenameThing(&info, "Push01");
  EXPECT_EQ(info.Gfx, 0);
  ReplacePathPlanning(&stream);
  EXPECT_EQ(TheLogic(), nullptr);
  EXPECT_EQ(log.parent, nullptr);
}

TEST_F(LogicLifecycleTest, ComputeStepsTheFrameAndTimesIt) {
  ASSERT_TRUE(LogicCreate(8, 8));
  EXPECT_TRUE(LogicCompute());
  EXPECT_TRUE(LogicCompute());
  EXPECT_EQ(Logic().Time, 2u);
  EXPECT_LT(GetLastComputeTime(), 10000u);
}

// A refused or unreadable stream leaves the running logic as it was: the
// same object runs on with its listeners, saves the same bytes, and the
// process-wide state is untouched.
TEST_F(LogicLifecycleTest, AFailedLoadLeavesTheRunningLogicAsItWas) {
  BuildGame();
  EventLog log;
  ASSERT_TRUE(LogicListener(&log));
  const Bytes before = Saved();
  const ProcessView process = Process();
  CLogic* running = TheLogic();

  // Another class's object.
  CPlayer player;
  player.OnCreated(7);
  const Bytes otherClass = Save(player);
  // A hostile count: the string library, whose count stands just before the
  // first name's length, claims two billion texts.
  Bytes hostile = before;
  const std::string firstName = "not_used";
  auto at = std::search(hostile.begin(), hostile.end(), firstName.begin(), firstName.end());
  ASSERT_NE(at, hostile.end());
  *(at - 8) = 0x7F;

  struct Case {
    std::string name;
    Bytes bytes;
  };
  std::vector<Case> cases = {{"another class", otherClass}, {"a hostile count", hostile}};
  for (size_t cut : {size_t{3}, size_t{20}, before.size() / 3, before.size() / 2, before.size() * 3 / 4}) {
    cases.push_back({"cut at " + std::to_string(cut), Bytes(before.begin(), before.begin() + cut)});
  }
  for (const Case& entry : cases) {
    const std::string logged = Logged([&] { EXPECT_FALSE(LoadBytes(entry.bytes)) << entry.name; });
    EXPECT_NE(logged.find("LogicLoad: "), std::string::npos) << entry.name << logged;
    EXPECT_EQ(TheLogic(), running) << entry.name;
    EXPECT_TRUE(Process() == process) << entry.name;
    EXPECT_EQ(Saved(), before) << entry.name;
    EXPECT_EQ(log.parent, Logic().Listeners.get()) << entry.name;
  }

  log.lines.clear();
  for (int32_t frame = 0; frame < 4; ++frame) {
    ASSERT_TRUE(LogicCompute());
  }
  EXPECT_EQ(log.lines, (std::vector<std::string>{"Speech 9 9 9 9"}));
}

// Without a logic a failed load leaves none, and a good one makes one.
TEST_F(LogicLifecycleTest, AFailedLoadWithoutALogicLeavesNone) {
  const Bytes saved = Saved();
  ASSERT_TRUE(LogicStop());
  EXPECT_FALSE(LoadBytes(Bytes(saved.begin(), saved.begin() + saved.size() / 2)));
  EXPECT_EQ(TheLogic(), nullptr);
  EXPECT_TRUE(LoadBytes(saved));
  EXPECT_NE(TheLogic(), nullptr);
}

// A good load replaces the logic, hands it the listeners and tells them,
// in order: the map, the things with type names, the units inside
// containers, every player, the countdown and the set ticks.
TEST_F(LogicLifecycleTest, AGoodLoadTellsTheListenersWhatTheGameHolds) {
  BuildGame();
  const Bytes saved = Saved();
  EventLog log;
  ASSERT_TRUE(LogicStart());
  ASSERT_TRUE(LogicListener(&log));
  CLogic* before = TheLogic();

  ASSERT_TRUE(LoadBytes(saved));
  ASSERT_NE(TheLogic(), nullptr);
  EXPECT_NE(TheLogic(), before);
  EXPECT_EQ(log.parent, Logic().Listeners.get());
  EXPECT_EQ(YLThing::GetMap(), Logic().Map.get());
  EXPECT_EQ(GetCurrentSectorMap(), Logic().Map->GetStratMap()->GetSectors());
  EXPECT_EQ(GetRandomSeed(), 4242u);
  EXPECT_EQ(Saved(), saved);

  std::vector<std::string> expected = {"Map grid", "Thing 1 Push01-Crate", "Thing 3 Home01-House",
                                       "Thing 4 UnitRat", "Enter 4 3"};
  for (int32_t id : {1, 3}) {
    for (int32_t parameter = 1; parameter < CPlayer::kParamCount; ++parameter) {
      expected.push_back("Parameter " + std::to_string(id) + " " + std::to_string(parameter) + " " +
                         std::to_string(Logic().GetPlayer(id)->GetParam(parameter)));
    }
  }
  expected.push_back("Timer 1 40 time limit");
  expected.push_back("Speech 0 1 21 1");
  expected.push_back("Speech 0 2 21 0");
  EXPECT_EQ(log.lines, expected);

  // The loaded game runs on with the listener.
  log.lines.clear();
  for (int32_t frame = 0; frame < 4; ++frame) {
    ASSERT_TRUE(LogicCompute());
  }
  EXPECT_EQ(log.lines, (std::vector<std::string>{"Speech 9 9 9 9"}));
}

// A listener that throws is logged; the others still hear the event, and
// the frame goes on.
TEST_F(LogicLifecycleTest, AThrowingListenerStopsNeitherTheOthersNorTheFrame) {
  ASSERT_TRUE(LogicCreate(8, 8));
  EventLog failing;
  EventLog quiet;
  failing.SetName("failing");
  failing.failing = "Speech";
  ASSERT_TRUE(LogicListener(&failing));
  ASSERT_TRUE(LogicListener(&quiet));
  Logic().InsertPlan(new SpeakingItem, 1);
  const std::string logged = Logged([&] {
    for (int32_t frame = 0; frame < 3; ++frame) {
      EXPECT_NO_THROW(EXPECT_TRUE(LogicCompute()));
    }
  });
  EXPECT_EQ(Logic().Time, 3u);
  EXPECT_EQ(quiet.lines, (std::vector<std::string>{"Speech 9 9 9 9"}));
  EXPECT_NE(logged.find("CLogic exception in failing->EventSpeech\n"), std::string::npos) << logged;
}

// A unit that enters a container turns to the container's facing first.
TEST_F(LogicLifecycleTest, AnEnteringUnitTurnsToTheContainer) {
  ASSERT_TRUE(LogicCreate(16, 16));
  EventLog log;
  ASSERT_TRUE(LogicListener(&log));
  auto* container = AddThing<YLTContainerThing>(3, 8, 8, "Home01-House");
  container->Info->Ori = 0x0D;  // facing 5
  auto* unit = AddThing<LifecycleUnit>(4, 9, 9, "UnitRat");
  unit->Info->Ori = 2;
  Logic().NotifyEnter(4, 3);
  EXPECT_EQ(unit->Info->Ori, 5);
  Logic().NotifyEnter(4, 77);
  Logic().NotifyEnter(77, 3);
  EXPECT_EQ(unit->Info->Ori, 5);
  EXPECT_EQ(log.lines, (std::vector<std::string>{"Enter 4 3", "Enter 4 77", "Enter 77 3"}));
}

// A won game stops the frames, counts a single player's final score and
// tells the listeners with the player's table.
TEST_F(LogicLifecycleTest, AWonGameStopsTheFramesScoresAndTells) {
  ASSERT_TRUE(LogicCreate(8, 8));
  ASSERT_TRUE(LogicPlayer(1));
  EventLog log;
  ASSERT_TRUE(LogicListener(&log));
  CPlayer* player = Logic().GetPlayer(1);
  player->SetParam(ParamMoney, 100);
  player->SetParam(ParamCarsDestroyed, 2);
  Logic().InsertPlan(new LogicPlanNotifyGameOver(1, true), 2);
  log.lines.clear();
  const std::string logged = Logged([&] {
    for (int32_t frame = 0; frame < 5; ++frame) {
      ASSERT_TRUE(LogicCompute());
    }
  });
  EXPECT_EQ(Logic().Time, 3u);
  EXPECT_FALSE(Logic().Initialised);
  EXPECT_EQ(player->GetParam(ParamScore), 100 * 50 + 2 * 50000);
  EXPECT_NE(logged.find(" -> player1 won!!!\n"), std::string::npos) << logged;
  ASSERT_FALSE(log.lines.empty());
  EXPECT_EQ(log.lines.back(), "GameOver 1 1");
  EXPECT_EQ(log.gameOverTables, (std::vector<void*>{&player->Params}));
}

// A notice for a missing player passes no table; only the low byte of the
// stored flag tells a win; a multi-player game or a score of 4,000,000
// counts nothing at the end.
TEST_F(LogicLifecycleTest, GameOverNoticesByTheirStoredValues) {
  ASSERT_TRUE(LogicPlayer(1));
  EventLog log;
  ASSERT_TRUE(LogicListener(&log));
  CPlayer* player = Logic().GetPlayer(1);
  player->SetParam(ParamMoney, 10);
  player->SetParam(ParamScore, 4000000);

  LogicPlanNotifyGameOver missing(9, true);
  LogicPlanNotifyGameOver highByte;
  highByte.Player = 1;
  highByte.Victory = 0x100;
  log.lines.clear();
  const std::string logged = Logged([&] {
    missing.Execute(&Logic());
    Logic().Initialised = true;
    highByte.Execute(&Logic());
  });
  EXPECT_EQ(log.lines, (std::vector<std::string>{"GameOver 9 1", "GameOver 1 0"}));
  EXPECT_EQ(log.gameOverTables, (std::vector<void*>{nullptr, &player->Params}));
  EXPECT_TRUE(Logic().Initialised);
  EXPECT_EQ(player->GetParam(ParamScore), 4000000);
  EXPECT_NE(logged.find(" -> player1 lost...\n"), std::string::npos) << logged;

  player->SetParam(ParamScore, 0);
  Logic().SinglePlayer = 0;
  Logic().NotifyGameOver(1, false, nullptr);
  EXPECT_EQ(player->GetParam(ParamScore), 0);
}

// Resizing keeps the cells inside both sizes and places again what the
// running game keeps on the map; a size the grid refuses changes nothing.
TEST_F(LogicLifecycleTest, ResizeAndCreateRefuseASizeTheGridCannotHave) {
  ASSERT_TRUE(LogicCreate(8, 8));
  EventLog log;
  ASSERT_TRUE(LogicListener(&log));
  AddThing<YLTPushableThing>(1, 2, 3, "Push01-Crate");
  auto* unit = AddThing<LifecycleUnit>(2, 5, 5, "UnitRat");
  Logic().Map->RemoveThing(unit);
  unit->Info->Status &= ~static_cast<uint32_t>(StatusAlive);
  YLKnowledgeMap* grid = Logic().Map->GetStratMap();

  ASSERT_TRUE(LogicResize(12, 10));
  EXPECT_EQ(Logic().Map->GetStratMap(), grid);
  EXPECT_EQ(grid->GetWidth(), 12);
  EXPECT_EQ(grid->GetHeight(), 10);
  EXPECT_EQ(Logic().Map->GetThingIDAt(2, 3), 1);
  EXPECT_EQ(Logic().Map->GetThingIDAt(5, 5), 0);
  EXPECT_TRUE(Logic().Map->IsListed(Logic().GetThing(1)));
  EXPECT_FALSE(Logic().Map->IsListed(unit));

  const std::string logged = Logged([&] {
    EXPECT_FALSE(LogicResize(-1, 4));
    EXPECT_FALSE(LogicCreate(4, -1));
  });
  EXPECT_NE(logged.find("CLogic::ResizeMap: the map cannot have -1 x 4 cells"), std::string::npos) << logged;
  EXPECT_NE(logged.find("CLogic::CreateMap: the map cannot have 4 x -1 cells"), std::string::npos) << logged;
  EXPECT_EQ(Logic().Map->GetStratMap(), grid);
  EXPECT_EQ(grid->GetWidth(), 12);
  EXPECT_EQ(Logic().Map->GetThingIDAt(2, 3), 1);
  EXPECT_EQ(log.lines, (std::vector<std::string>{"Map grid"}));

  // A new map keeps the things the game keeps on it.
  ASSERT_TRUE(LogicCreate(6, 6));
  EXPECT_NE(Logic().Map->GetStratMap(), grid);
  EXPECT_EQ(YLThing::GetMap(), Logic().Map.get());
  EXPECT_EQ(Logic().Map->GetThingIDAt(2, 3), 1);
}

// A loaded multi-player game stays one: how a game ends (who is told of a
// loss, the final score count) depends on it.
TEST_F(LogicLifecycleTest, ALoadedGameKeepsItsNumberOfPlayers) {
  ASSERT_TRUE(LogicCreate(8, 8));
  for (uint8_t single : {uint8_t{0}, uint8_t{1}}) {
    Logic().SinglePlayer = single;
    ASSERT_TRUE(LoadBytes(Saved()));
    EXPECT_EQ(Logic().SinglePlayer, single);
  }
}

TEST_F(LogicLifecycleTest, RenameStoresTheKeywordsIndex) {
  ThingInfo info;
  RenameThing(&info, "Push07-Barrel");
  EXPECT_STREQ(Logic().GetString(info.Gfx), "Push07-Barrel");
  const int32_t first = info.Gfx;
  RenameThing(&info, "UnitRat");
  EXPECT_EQ(info.Gfx, 1);
  RenameThing(&info, "Push07-Barrel");
  EXPECT_EQ(info.Gfx, first);
  RenameThing(&info, nullptr);
  EXPECT_EQ(info.Gfx, first);
}

// Path-planning data read from a stream replaces the map's, which then
// saves with it. A record that is no knowledge map, or one cut short, is
// dropped, and the running map keeps its sector map current: its borders
// need it to be saved.
TEST_F(LogicLifecycleTest, PathPlanningIsReplacedOnlyByAKnowledgeMap) {
  ASSERT_TRUE(LogicCreate(30, 20));
  EventLog log;
  ASSERT_TRUE(LogicListener(&log));
  YLSectors* const running = GetCurrentSectorMap();
  Bytes grid;
  Bytes bare;
  int32_t borders = 0;
  {
    path_testing::DrawnMap drawn = path_testing::DrawMap({"ABC", ".D."}, 10);
    borders = drawn.Sectors().GetBorderCount();
    grid = Save(*drawn.knowledge);
    YLSectors sectors;
    bare = Save(sectors);
  }
  SetCurrentSectorMap(running);
  auto replace = [](Bytes bytes) {
    bytes.push_back(0);  // a stream needs a block; the spare byte stays unread
    LumoMemoryStream stream;
    ASSERT_TRUE(stream.OpenBuffer(bytes.data(), static_cast<uint32_t>(bytes.size() - 1), 1, 0));
    ReplacePathPlanning(&stream);
  };

  replace(grid);
  YLKnowledgeMap* taken = Logic().Map->GetStratMap();
  ASSERT_GT(borders, 0);
  EXPECT_EQ(taken->GetSectors()->GetBorderCount(), borders);
  EXPECT_EQ(GetCurrentSectorMap(), taken->GetSectors());
  EXPECT_EQ(log.lines, (std::vector<std::string>{"Map grid"}));
  const Bytes saved = Saved();
  ASSERT_FALSE(saved.empty());

  for (const Bytes& dropped : {bare, Bytes(grid.begin(), grid.begin() + grid.size() / 2)}) {
    replace(dropped);
    EXPECT_EQ(Logic().Map->GetStratMap(), taken);
    EXPECT_EQ(GetCurrentSectorMap(), taken->GetSectors());
    EXPECT_EQ(Saved(), saved);
  }
  EXPECT_EQ(log.lines.size(), 1u);
}

// A map size the grid refuses leaves the running game as it was, down to
// the sector map its borders are saved against.
TEST_F(LogicLifecycleTest, ARefusedMapSizeLeavesTheGameAbleToSave) {
  ASSERT_TRUE(LogicCreate(30, 20));
  Bytes grid;
  {
    path_testing::DrawnMap drawn = path_testing::DrawMap({"ABC", ".D."}, 10);
    ASSERT_GT(drawn.Sectors().GetBorderCount(), 0);
    grid = Save(*drawn.knowledge);
  }
  grid.push_back(0);  // a stream needs a block; the spare byte stays unread
  LumoMemoryStream stream;
  ASSERT_TRUE(stream.OpenBuffer(grid.data(), static_cast<uint32_t>(grid.size() - 1), 1, 0));
  ReplacePathPlanning(&stream);
  YLSectors* const running = GetCurrentSectorMap();
  ASSERT_EQ(running, Logic().Map->GetStratMap()->GetSectors());
  const Bytes saved = Saved();
  ASSERT_FALSE(saved.empty());

  EXPECT_FALSE(LogicCreate(4, -1));
  EXPECT_EQ(GetCurrentSectorMap(), running);
  EXPECT_EQ(Saved(), saved);
}

// A level file may place a thing at any position: things with a footprint
// placed at the ends of the 32-bit range lie wholly off the grid and touch
// none of its cells.
TEST_F(LogicLifecycleTest, ThingsWithAFootprintAtExtremePositionsLeaveTheGridAlone) {
  ASSERT_TRUE(LogicCreate(16, 16));
  YLKnowledgeMap* grid = Logic().Map->GetStratMap();
  const auto cells = [grid] {
    std::vector<uint32_t> words;
    for (int32_t y = 0; y < grid->GetHeight(); ++y) {
      for (int32_t x = 0; x < grid->GetWidth(); ++x) {
        words.push_back(grid->GetCell(x, y));
      }
    }
    return words;
  };
  const std::vector<uint32_t> before = cells();
  constexpr int32_t kLow = std::numeric_limits<int32_t>::min();
  constexpr int32_t kHigh = std::numeric_limits<int32_t>::max();
  const std::pair<int32_t, int32_t> positions[] = {{kHigh, kHigh}, {kLow, kLow}, {kHigh, kLow}, {kLow, kHigh}};
  for (const char* keyword : {"Vehicle021-spelersbus", "Bank1", "Push2"}) {
    for (const auto& [x, y] : positions) {
      for (uint8_t orientation = 0; orientation < 8; ++orientation) {
        ThingInfo* info = CreateThing(keyword, x, y, 0, orientation, 0);
        if (info != nullptr) {
          DestroyThing(info);
        }
        EXPECT_EQ(cells(), before) << keyword << " at " << x << "," << y << " facing " << int{orientation};
      }
    }
  }
}

// A player id indexes the players table, which grows to hold it: an id it
// cannot hold is refused, whether the game names it or a level's thing has
// it as its owner, and the thing is made without a player.
TEST_F(LogicLifecycleTest, PlayerIdsTheTableCannotHoldAreRefused) {
  ASSERT_TRUE(LogicCreate(8, 8));
  const int32_t players = Logic().GetPlayerCount();
  for (const int32_t id : {0, -5, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()}) {
    EXPECT_FALSE(LogicPlayer(id)) << id;
  }
  ThingInfo* unit = CreateThing("UnitRat", 2, 2, 0, 0, std::numeric_limits<int32_t>::max());
  ASSERT_NE(unit, nullptr);
  EXPECT_EQ(unit->Owner, std::numeric_limits<int32_t>::max());
  EXPECT_EQ(Logic().GetPlayerCount(), players);
  EXPECT_TRUE(LogicPlayer(2));
  EXPECT_NE(Logic().GetPlayer(2), nullptr);
}

}  // namespace
}  // namespace logic_world_testing
