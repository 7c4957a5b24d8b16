#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "LogicWorldFixture.h"
#include "logic/core/CPlayer.h"
#include "logic/core/UnitInfo.h"
#include "logic/core/YLPlayerPolice.h"

namespace logic_world_testing {
namespace {

// A unit a player may select (a hard-core kind).
class SelectableUnit : public TestUnit {
 public:
  bool IsSelectable() const override { return true; }
};

// A leader: selectable, with a leader's record.
class LeaderUnit : public SelectableUnit {
 protected:
  ThingInfo* MakeInfo() const override {
    auto* info = new LeaderInfo;
    info->Status = kStatusNewUnit;
    return info;
  }
};

// A police officer; its record's type tells plain police (5) from the riot
// squad (6).
class PoliceUnit : public SelectableUnit {
 public:
  bool IsPolice() const override { return true; }
};

// Writes down every parameter and selection report.
class ReportListener : public YLEventListener {
 public:
  void EventParameter(int32_t player, ParamEnum parameter, int32_t value) override {
    lines.push_back("p" + std::to_string(player) + " " + std::to_string(parameter) + "=" + std::to_string(value));
  }
  void EventSelection(int32_t player, int32_t id, int32_t selected) override {
    lines.push_back("s" + std::to_string(player) + " " + std::to_string(id) + (selected != 0 ? "+" : "-"));
  }
  std::vector<std::string> Take() {
    std::vector<std::string> taken;
    taken.swap(lines);
    return taken;
  }
  std::vector<std::string> lines;
};

class PlayerTest : public LogicWorldTest {
 protected:
  void SetUp() override {
    LogicWorldTest::SetUp();
    ASSERT_TRUE(logic.AddListener(&reports));
    player.ID = 2;
  }

  // A unit of class T at id owned by owner.
  template <typename T>
  T* Own(int32_t id, int32_t owner, int32_t type = 3) {
    T* unit = Add<T>(id);
    unit->Info->Owner = owner;
    unit->Info->Gfx = type;
    return unit;
  }

  // A leader of the player at id, registered; its group members given.
  LeaderUnit* Leader(int32_t id, const std::vector<int32_t>& group = {}) {
    LeaderUnit* leader = Own<LeaderUnit>(id, player.ID, 10);
    auto& info = static_cast<LeaderInfo&>(*leader->Info);
    for (int32_t member : group) {
      info.Group[info.GroupSize++] = member;
    }
    player.OnThingOwned(true, leader);
    return leader;
  }

  std::vector<int32_t> Selected() const {
    return std::vector<int32_t>(player.Selection.items, player.Selection.items + player.Selection.count);
  }

  ReportListener reports;
  CPlayer player;
};

// ---- Parameters ----

TEST_F(PlayerTest, ParametersReportTheirChanges) {
  player.OnCreated(2);
  EXPECT_EQ(reports.Take(), (std::vector<std::string>{"p2 1=1000", "p2 14=2"}));
  player.AddMoney(-300);
  EXPECT_EQ(player.GetMoney(), 700);
  EXPECT_EQ(player.GetParam(ParamMoneySpent), 300);
  EXPECT_EQ(reports.Take(), (std::vector<std::string>{"p2 1=700", "p2 10=300"}));
  player.SetParam(ParamMoney, 700);
  player.AddParam(ParamBeerDrunk, 0);
  player.AddMoney(0);
  EXPECT_TRUE(reports.Take().empty());
  EXPECT_EQ(player.GetParam(36), 0);
  EXPECT_EQ(player.GetParam(-1), 0);
}

// The table has exactly 36 entries: writes elsewhere are refused and
// logged, and sums stop at the 32-bit limits.
TEST_F(PlayerTest, ParameterIndexesOutsideTheTableAreRefusedAndSumsSaturate) {
  for (ParamEnum index : {-1, 36, 1000}) {
    const std::string log = Logged([&] {
      player.SetParam(index, 5);
      player.AddParam(index, 5);
    });
    EXPECT_NE(log.find("has no parameter " + std::to_string(index)), std::string::npos) << log;
    EXPECT_EQ(player.GetParams().count, CPlayer::kParamCount);
  }
  EXPECT_TRUE(reports.Take().empty());
  const struct {
    int32_t start;
    int32_t delta;
    int32_t result;
  } cases[] = {
      {INT_MAX - 1, 5, INT_MAX}, {INT_MIN + 1, -5, INT_MIN}, {INT_MAX, INT_MIN, -1}, {10, -20, -10}};
  for (const auto& entry : cases) {
    player.SetParam(ParamScore, entry.start);
    player.AddParam(ParamScore, entry.delta);
    EXPECT_EQ(player.GetParam(ParamScore), entry.result) << entry.start << " + " << entry.delta;
  }
  player.SetParam(ParamMoneySpent, 0);
  player.AddMoney(INT_MIN);
  EXPECT_EQ(player.GetParam(ParamMoneySpent), INT_MAX);
}

TEST_F(PlayerTest, ReportAllSendsTheSelectionTwiceThenEveryParameter) {
  Own<SelectableUnit>(4, 2);
  Own<SelectableUnit>(7, 2);
  ASSERT_TRUE(player.SelectThing(7));
  ASSERT_TRUE(player.SelectThing(4));
  player.SetParam(ParamFrags, 3);
  reports.Take();
  player.ReportAll();
  std::vector<std::string> expected = {"s2 4-", "s2 7-", "s2 4+", "s2 7+"};
  for (int32_t index = 1; index < CPlayer::kParamCount; ++index) {
    expected.push_back("p2 " + std::to_string(index) + "=" + (index == ParamFrags ? "3" : "0"));
  }
  EXPECT_EQ(reports.Take(), expected);
}

// ---- Owned things and leaders ----

TEST_F(PlayerTest, OwnedThingsCountByKind) {
  const struct {
    int32_t type;
    bool selectable;
    ParamEnum counter;
  } cases[] = {{1, true, ParamRats},     {2, true, ParamRavers},   {4, true, ParamSuits},
               {7, true, ParamBikers},   {9, true, ParamBulches},  {11, true, ParamChicks},
               {12, true, ParamYobbozers}, {3, true, 0},           {5, false, 0}};
  int32_t id = 1;
  for (const auto& entry : cases) {
    YLThing* thing = entry.selectable ? static_cast<YLThing*>(Own<SelectableUnit>(id, 2, entry.type))
                                      : Own<TestUnit>(id, 2, entry.type);
    ++id;
    const auto before = player.GetParams().count;
    std::vector<int32_t> params(player.GetParams().items, player.GetParams().items + before);
    player.OnThingOwned(true, thing);
    EXPECT_EQ(player.GetParam(ParamThings), params[ParamThings] + 1) << entry.type;
    EXPECT_EQ(player.GetParam(ParamSelectable), params[ParamSelectable] + (entry.selectable ? 1 : 0)) << entry.type;
    if (entry.counter != 0) {
      EXPECT_EQ(player.GetParam(entry.counter), 1) << entry.type;
    }
    player.OnThingOwned(false, thing);
    EXPECT_EQ(player.GetParam(ParamThings), params[ParamThings]) << entry.type;
    EXPECT_EQ(player.GetParam(ParamSelectable), params[ParamSelectable]) << entry.type;
    if (entry.counter != 0) {
      EXPECT_EQ(player.GetParam(entry.counter), 0) << entry.type;
    }
  }
  // Counters already at 0 stay there.
  player.OnThingOwned(false, Own<SelectableUnit>(id, 2, 1));
  EXPECT_EQ(player.GetParam(ParamThings), 0);
  EXPECT_EQ(player.GetParam(ParamSelectable), 0);
}

TEST_F(PlayerTest, EleventhLeaderCountsWithoutANumber) {
  std::vector<LeaderUnit*> leaders;
  for (int32_t id = 1; id <= 11; ++id) {
    leaders.push_back(Leader(id));
  }
  EXPECT_EQ(player.GetParam(ParamThings), 11);
  EXPECT_EQ(player.GetParam(ParamSelectable), 11);
  EXPECT_EQ(player.GetLeaderCount(), 10);
  EXPECT_EQ(player.GetParam(ParamLivingLeaders), 10);
  for (int32_t number = 1; number <= 10; ++number) {
    EXPECT_EQ(player.GetLeaderID(number), number);
    EXPECT_EQ(static_cast<LeaderInfo&>(*leaders[static_cast<size_t>(number - 1)]->Info).GroupID, number);
  }
  EXPECT_EQ(static_cast<LeaderInfo&>(*leaders[10]->Info).GroupID, 0);
  EXPECT_EQ(player.GetLeaderID(11), 0);
  EXPECT_EQ(player.GetLeaderID(0), 0);
  // The unnumbered leader's loss leaves the living leaders alone; numbered
  // ones count down, never below 0.
  player.OnThingOwned(false, leaders[10]);
  EXPECT_EQ(player.GetParam(ParamLivingLeaders), 10);
  player.OnThingOwned(false, leaders[0]);
  EXPECT_EQ(player.GetParam(ParamLivingLeaders), 9);
  player.SetParam(ParamLivingLeaders, 0);
  player.OnThingOwned(false, leaders[1]);
  EXPECT_EQ(player.GetParam(ParamLivingLeaders), 0);
  // A leader's id that now names another player's unit counts no more.
  leaders[2]->Info->Owner = 1;
  EXPECT_EQ(player.GetLeaderID(3), 0);
}

TEST_F(PlayerTest, PoliceListTakesPlainOfficersOnly) {
  YLPlayerPolice police;
  police.OnCreated(3);
  EXPECT_EQ(police.GetParam(ParamState), CPlayer::kStatePolice);
  EXPECT_EQ(police.GetMoney(), 1000);
  police.OnThingOwned(true, Own<PoliceUnit>(4, 3, 5));
  police.OnThingOwned(true, Own<PoliceUnit>(5, 3, 6));  // riot squad
  police.OnThingOwned(true, Own<SelectableUnit>(6, 3, 5));
  police.OnThingOwned(true, Own<PoliceUnit>(7, 3, 5));
  EXPECT_EQ(std::vector<int32_t>(police.Police.items, police.Police.items + police.Police.count),
            (std::vector<int32_t>{4, 7}));
  reports.Take();
  const struct {
    int32_t index;
    std::vector<int32_t> afterAdd;
  } cases[] = {{0, {}}, {-1, {}}, {3, {}}, {2, {7}}, {1, {4}}};
  for (const auto& entry : cases) {
    police.DeselectAll();
    police.AddGroupToSelection(entry.index);
    EXPECT_EQ(std::vector<int32_t>(police.Selection.items, police.Selection.items + police.Selection.count),
              entry.afterAdd)
        << entry.index;
  }
  police.AddGroupToSelection(2);
  police.SelectGroup(2);
  EXPECT_EQ(police.Selection.count, 1);
  EXPECT_EQ(police.Selection[0], 7);
  police.DeselectGroup(9);
  police.DeselectGroup(0);
  EXPECT_EQ(police.Selection.count, 1);
  police.DeselectGroup(2);
  EXPECT_EQ(police.Selection.count, 0);
}

// ---- Selection ----

TEST_F(PlayerTest, SelectThingTakesOnlyLivingSelectableUnitsOfThePlayer) {
  Own<SelectableUnit>(1, 1);             // another player's
  Own<SelectableUnit>(2, 2)->Info->Status = 0;  // dead
  Own<TestUnit>(3, 2);                   // a plain supporter
  Own<SelectableUnit>(4, 2);
  for (int32_t id : {1, 2, 3, 9, 0, -1}) {
    EXPECT_FALSE(player.SelectThing(id)) << id;
  }
  EXPECT_TRUE(Selected().empty());
  EXPECT_TRUE(reports.Take().empty());
  EXPECT_TRUE(player.SelectThing(4));
  EXPECT_TRUE(player.SelectThing(4));
  EXPECT_EQ(reports.Take(), (std::vector<std::string>{"s2 4+"}));
  EXPECT_EQ(player.GetSelectedUnit(0), logic.GetThing(4));
  EXPECT_EQ(player.GetSelectedUnit(1), nullptr);
  EXPECT_FALSE(player.Deselect(3));
  EXPECT_TRUE(player.Deselect(4));
  EXPECT_EQ(reports.Take(), (std::vector<std::string>{"s2 4-"}));
}

TEST_F(PlayerTest, GroupSelectionSkipsStaleMembers) {
  Own<SelectableUnit>(5, 2);
  Own<SelectableUnit>(6, 2)->Info->Status = 0;  // a dead member
  Own<SelectableUnit>(7, 1);                    // the id now names another player's unit
  Own<SelectableUnit>(8, 2);
  Leader(3, {8, 6, 7, 5, 12});
  Leader(4, {});
  reports.Take();
  player.AddGroupToSelection(1);
  EXPECT_EQ(Selected(), (std::vector<int32_t>{3, 5, 8}));
  EXPECT_EQ(reports.Take(), (std::vector<std::string>{"s2 3+", "s2 8+", "s2 5+"}));
  player.SelectGroup(2);
  EXPECT_EQ(Selected(), (std::vector<int32_t>{4}));
  for (int32_t number : {0, 3, 11, 254, -1}) {
    player.AddGroupToSelection(number);
    player.SelectGroup(number);
    player.DeselectGroup(number);
  }
  EXPECT_EQ(Selected(), (std::vector<int32_t>{4}));
  player.AddGroupToSelection(1);
  reports.Take();
  player.DeselectGroup(1);
  EXPECT_EQ(Selected(), (std::vector<int32_t>{4}));
  EXPECT_EQ(reports.Take(), (std::vector<std::string>{"s2 8-", "s2 5-", "s2 3-"}));
  player.DeselectGroup(CPlayer::kAllGroups);
  EXPECT_TRUE(Selected().empty());
}

// 255 takes every selectable unit of the player in the whole thing table,
// from the highest id down.
TEST_F(PlayerTest, AllGroupsReachesEveryIdOfTheTable) {
  Own<SelectableUnit>(50, 2);
  Own<SelectableUnit>(9, 2);
  Own<SelectableUnit>(10, 1);
  Own<TestUnit>(11, 2);
  Leader(2);
  reports.Take();
  player.SelectGroup(CPlayer::kAllGroups);
  EXPECT_EQ(Selected(), (std::vector<int32_t>{2, 9, 50}));
  EXPECT_EQ(reports.Take(), (std::vector<std::string>{"s2 50+", "s2 9+", "s2 2+"}));
  player.SelectOnly(9);
  EXPECT_EQ(Selected(), (std::vector<int32_t>{9}));
  player.SelectOnly(0);
  EXPECT_TRUE(Selected().empty());
}

// ---- Stream form ----

std::unique_ptr<CPlayer, tObjectDestroyer> LoadPlayer(const Bytes& bytes) {
  auto loaded = Load(bytes);
  auto* player = dynamic_cast<CPlayer*>(loaded.get());
  if (player != nullptr) {
    loaded.release();
  }
  return std::unique_ptr<CPlayer, tObjectDestroyer>(player);
}

void PutInteger(Bytes& bytes, size_t at, int32_t value) {
  for (int shift = 0; shift < 4; ++shift) {
    bytes[at + static_cast<size_t>(shift)] = static_cast<uint8_t>(static_cast<uint32_t>(value) >> (24 - 8 * shift));
  }
}

size_t Find(const Bytes& bytes, const Bytes& pattern) {
  return static_cast<size_t>(std::search(bytes.begin(), bytes.end(), pattern.begin(), pattern.end()) - bytes.begin());
}

// The node's fields travel too, so the player keeps its name; the load hook
// then clears what the loaded things count again.
TEST_F(PlayerTest, RoundTripKeepsTheNodeAndResetsTheCounters) {
  player.SetName("Red");
  for (ParamEnum index = 1; index < CPlayer::kParamCount; ++index) {
    player.SetParam(index, 100 + index);
  }
  player.Money = 25;
  Own<SelectableUnit>(4, 2);
  ASSERT_TRUE(player.SelectThing(4));
  auto loaded = LoadPlayer(Save(player));
  ASSERT_NE(loaded, nullptr);
  EXPECT_STREQ(loaded->Name, "Red");
  EXPECT_EQ(loaded->ID, 2);
  EXPECT_EQ(loaded->Money, 0);
  EXPECT_EQ(loaded->GetMoney(), 101 + 25);
  EXPECT_EQ(loaded->GetParams().count, CPlayer::kParamCount);
  for (ParamEnum index = 2; index < CPlayer::kParamCount; ++index) {
    const bool cleared = index == ParamPubs || (index >= ParamLeaders && index <= ParamYobbozers);
    EXPECT_EQ(loaded->GetParam(index), cleared ? 0 : 100 + index) << index;
  }
  EXPECT_EQ(loaded->Selection.count, 0);

  YLPlayerPolice police;
  police.OnCreated(3);
  police.SetParam(ParamState, 1);
  auto loadedPolice = LoadPlayer(Save(police));
  ASSERT_NE(dynamic_cast<YLPlayerPolice*>(loadedPolice.get()), nullptr);
  EXPECT_EQ(loadedPolice->GetParam(ParamState), CPlayer::kStatePolice);
  EXPECT_EQ(loadedPolice->ID, 3);
}

TEST_F(PlayerTest, LoadedTablesOfOtherLengths) {
  player.SetParam(ParamState, CPlayer::kStateWon);
  player.SetParam(ParamScore, 77);
  const Bytes bytes = Save(player);
  const size_t count = Find(bytes, MarkerBytes("params:")) + 11;
  const size_t values = count + 4;
  {
    // An old table of 13 entries: the game state starts as playing.
    Bytes old(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(values + 13 * 4));
    old.insert(old.end(), bytes.begin() + static_cast<std::ptrdiff_t>(values + 36 * 4), bytes.end());
    PutInteger(old, count, 13);
    auto loaded = LoadPlayer(old);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->GetParam(ParamScore), 0);
    EXPECT_EQ(loaded->GetParam(ParamState), CPlayer::kStatePlaying);
    EXPECT_EQ(loaded->GetParams().count, CPlayer::kParamCount);
  }
  {
    // A longer table keeps its first 36 values.
    Bytes longer(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(values + 36 * 4));
    longer.insert(longer.end(), 8, 0x11);
    longer.insert(longer.end(), bytes.begin() + static_cast<std::ptrdiff_t>(values + 36 * 4), bytes.end());
    PutInteger(longer, count, 38);
    auto loaded = LoadPlayer(longer);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->GetParams().count, CPlayer::kParamCount);
    EXPECT_EQ(loaded->GetParam(ParamScore), 77);
    EXPECT_EQ(loaded->GetParam(ParamState), CPlayer::kStateWon);
  }
  {
    // Without the marker the table keeps what the player had.
    Bytes older = bytes;
    older.erase(older.begin() + static_cast<std::ptrdiff_t>(count - 11),
                older.begin() + static_cast<std::ptrdiff_t>(values + 36 * 4));
    auto loaded = LoadPlayer(older);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->GetParam(ParamScore), 0);
    EXPECT_EQ(loaded->GetParams().count, CPlayer::kParamCount);
  }
}

TEST_F(PlayerTest, LoadRefusesCountsBeyondTheStream) {
  Own<SelectableUnit>(4, 2);
  ASSERT_TRUE(player.SelectThing(4));
  const Bytes bytes = Save(player);
  const size_t paramsCount = Find(bytes, MarkerBytes("params:")) + 11;
  const size_t selectionCount = paramsCount + 4 + 36 * 4;
  const struct {
    size_t at;
    int32_t value;
    const char* line;
  } cases[] = {{paramsCount, 0x7FFFFFFF, "count 2147483647 of Params"},
               {paramsCount, -4, "count -4 of Params"},
               {selectionCount, 0x10000000, "count 268435456 of Selection"},
               {selectionCount, -1, "count -1 of Selection"}};
  for (const auto& entry : cases) {
    Bytes damaged = bytes;
    PutInteger(damaged, entry.at, entry.value);
    std::unique_ptr<CPlayer, tObjectDestroyer> loaded;
    const std::string log = Logged([&] { loaded = LoadPlayer(damaged); });
    EXPECT_EQ(loaded, nullptr) << entry.line;
    EXPECT_NE(log.find(entry.line), std::string::npos) << entry.line << ": " << log;
  }
}

// After a load the things register in id order; each leader takes back the
// number its record kept.
TEST_F(PlayerTest, LeaderNumbersSurviveALoadWhateverTheIdOrder) {
  LeaderUnit* first = Leader(9);
  LeaderUnit* second = Leader(4);
  LeaderUnit* third = Leader(6);
  ASSERT_EQ(player.GetLeaderID(1), 9);
  ASSERT_EQ(player.GetLeaderID(2), 4);
  auto loaded = LoadPlayer(Save(player));
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(loaded->GetLeaderCount(), 0);
  for (LeaderUnit* leader : {second, third, first}) {
    loaded->OnThingOwned(true, leader);
  }
  EXPECT_EQ(loaded->GetLeaderCount(), 3);
  EXPECT_EQ(loaded->GetLeaderID(1), 9);
  EXPECT_EQ(loaded->GetLeaderID(2), 4);
  EXPECT_EQ(loaded->GetLeaderID(3), 6);
  // A number taken already gives way to the next free one.
  LeaderUnit* newcomer = Own<LeaderUnit>(12, 2, 10);
  static_cast<LeaderInfo&>(*newcomer->Info).GroupID = 2;
  loaded->OnThingOwned(true, newcomer);
  EXPECT_EQ(loaded->GetLeaderID(4), 12);
  EXPECT_EQ(static_cast<LeaderInfo&>(*newcomer->Info).GroupID, 4);
}

TEST_F(PlayerTest, CopyFromTakesIdMoneyTableAndAddsTheSelection) {
  CPlayer other;
  other.ID = 5;
  other.Money = 9;
  other.SetParam(ParamFrags, 4);
  other.Selection.AppendInt(3);
  other.Selection.AppendInt(8);
  player.Selection.AppendInt(5);
  player.Selection.AppendInt(8);
  player.CopyFrom(other);
  EXPECT_EQ(player.ID, 5);
  EXPECT_EQ(player.Money, 9);
  EXPECT_EQ(player.GetParam(ParamFrags), 4);
  EXPECT_EQ(Selected(), (std::vector<int32_t>{3, 5, 8}));
}

}  // namespace
}  // namespace logic_world_testing
