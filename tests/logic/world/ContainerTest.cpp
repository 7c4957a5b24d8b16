#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "LogicWorldFixture.h"
#include "logic/world/YLTContainerThing.h"

namespace logic_world_testing {
namespace {

// A container whose kind of place the test chooses.
class TestContainer : public YLTContainerThing {
 public:
  bool PlaceKindA() const override { return kindA; }
  bool PlaceKindB() const override { return kindB; }
  bool PlaceKindC() const override { return kindC; }
  bool PlaceKindD() const override { return kindD; }
  bool kindA = false;
  bool kindB = false;
  bool kindC = false;
  bool kindD = false;
};

// A unit that writes down when it is let go of by its container.
class RecordingUnit : public TestUnit {
 public:
  void SetContainer(YLTContainerThing* container) override {
    if (container == nullptr && released != nullptr && Info != nullptr) {
      released->push_back(Info->Tid);
    }
    TestUnit::SetContainer(container);
  }
  std::vector<int32_t>* released = nullptr;
};

class ContainerTest : public LogicWorldTest {
 protected:
  TestUnit* AddUnit(int32_t id) { return Add<TestUnit>(id); }
};

TEST_F(ContainerTest, SituationAndBitThirteenFollowTheContainersKind) {
  const struct {
    bool a, b, c, d;
    int32_t situation;
  } cases[] = {
      {false, false, true, false, 7}, {true, false, true, true, 7}, {true, false, false, false, 6},
      {false, true, false, true, 6},  {false, false, false, true, 5}, {false, false, false, false, 3},
  };
  auto* container = Add<TestContainer>(1);
  int32_t id = 2;
  for (const auto& entry : cases) {
    container->kindA = entry.a;
    container->kindB = entry.b;
    container->kindC = entry.c;
    container->kindD = entry.d;
    TestUnit* unit = AddUnit(id++);
    unit->GetUnitInfo()->Situation = 3;
    container->Enter(unit);
    EXPECT_EQ(unit->GetSituation(), entry.situation) << entry.a << entry.b << entry.c << entry.d;
    EXPECT_NE(unit->Info->Status & StatusInContainer, 0u);
    EXPECT_EQ(unit->GetContainer(), container);
    container->Leave(unit);
    EXPECT_EQ(unit->GetSituation(), 1);
    EXPECT_EQ(unit->Info->Status & StatusInContainer, 0u);
    EXPECT_EQ(unit->GetContainer(), nullptr);
  }
}

TEST_F(ContainerTest, EnterAndLeaveKeepTheListAndTheRecordTogether) {
  auto* container = Add<TestContainer>(1, 0, 10, 10);
  container->GetContainerInfo()->SetEntranceRel(1, -2);
  EXPECT_EQ(container->GetX(), 11);
  EXPECT_EQ(container->GetY(), 8);
  TestUnit* first = AddUnit(2);
  TestUnit* second = AddUnit(3);
  TestUnit* outsider = AddUnit(4);
  container->Enter(first);
  container->Enter(second);
  container->Enter(second);
  EXPECT_EQ(container->GetContainedCount(), 2);
  EXPECT_EQ(container->GetContainedThing(1), second);
  EXPECT_EQ(container->GetContainedThing(2), nullptr);
  EXPECT_EQ(container->GetContainedID(0), 2);
  EXPECT_EQ(container->GetContainedID(-1), 0);
  EXPECT_EQ(container->GetContainerInfo()->GetContainedCount(), 2);

  outsider->GetUnitInfo()->Situation = 4;
  container->Leave(outsider);
  container->Leave(nullptr);
  EXPECT_EQ(container->GetContainedCount(), 2);
  EXPECT_EQ(container->GetContainerInfo()->GetContainedCount(), 2);
  EXPECT_EQ(outsider->GetSituation(), 4);

  container->Leave(first);
  EXPECT_EQ(container->GetContainedCount(), 1);
  EXPECT_EQ(container->GetContainedThing(0), second);
  EXPECT_EQ(container->GetContainerInfo()->GetContainedID(0), 3);

  container->SetMaxItems(1);
  EXPECT_FALSE(container->CanEnter(first));
  container->SetMaxItems(2);
  EXPECT_TRUE(container->CanEnter(first));
  EXPECT_TRUE(container->CanHold(0));
}

// Ids that name no unit are dropped from the record, each with a line.
TEST_F(ContainerTest, ReloadingDropsIdsThatNameNoUnit) {
  auto* container = Add<TestContainer>(1);
  container->kindC = true;
  TestUnit* unit = AddUnit(2);
  Add<YLThing>(3);
  TestUnit* other = AddUnit(5);
  Place(4, nullptr);
  ContainerInfo* record = container->GetContainerInfo();
  for (int32_t id : {2, 3, 4, 0, -7, 4096, 9999, 5, 2}) {
    record->AddContainedID(id);
  }
  const std::string log = Logged([&] { container->InitFromType(); });
  EXPECT_EQ(container->GetContainedCount(), 2);
  EXPECT_EQ(container->GetContainedThing(0), unit);
  EXPECT_EQ(container->GetContainedThing(1), other);
  ASSERT_EQ(record->GetContainedCount(), 2);
  EXPECT_EQ(record->GetContainedID(0), 2);
  EXPECT_EQ(record->GetContainedID(1), 5);
  EXPECT_EQ(unit->GetContainer(), container);
  EXPECT_EQ(unit->GetSituation(), 7);
  for (int32_t id : {3, 4, 0, -7, 4096, 9999}) {
    EXPECT_NE(log.find("drops contained id " + std::to_string(id) + ","), std::string::npos) << id << log;
  }
}

TEST_F(ContainerTest, FreeingAContainerDetachesTheLastUnitFirst) {
  std::vector<int32_t> released;
  auto* container = Add<TestContainer>(1);
  for (int32_t id : {2, 3, 4}) {
    auto* unit = Add<RecordingUnit>(id);
    unit->released = &released;
    container->Enter(unit);
  }
  auto* stays = dynamic_cast<RecordingUnit*>(logic.GetThing(3));
  Place(1, nullptr);
  DestroyObject(container);
  EXPECT_EQ(released, (std::vector<int32_t>{4, 3, 2}));
  EXPECT_EQ(stays->GetContainer(), nullptr);
  EXPECT_EQ(stays->Info->Status & StatusInContainer, 0u);
}

// A unit freed inside its container leaves it first.
TEST_F(ContainerTest, FreeingAUnitTakesItOutOfItsContainer) {
  auto* container = Add<TestContainer>(1);
  TestUnit* unit = AddUnit(2);
  container->Enter(unit);
  Place(2, nullptr);
  DestroyObject(unit);
  EXPECT_EQ(container->GetContainedCount(), 0);
  EXPECT_EQ(container->GetContainerInfo()->GetContainedCount(), 0);
}

// The entrance of a loaded record, whose position and offset may be any
// 32-bit values: the sums wrap as 32-bit arithmetic does.
TEST_F(ContainerTest, ContainerAnswersItsEntranceForAnyStoredPositionAndOffset) {
  const struct {
    int32_t position;
    int32_t offset;
    int32_t entrance;
  } cases[] = {
      {20, 1, 21},
      {5, -7, -2},
      {INT32_MAX, 1, INT32_MIN},
      {1970497633, 335572335, static_cast<int32_t>(1970497633u + 335572335u)},
      {INT32_MIN, -1, INT32_MAX},
  };
  auto* container = Add<TestContainer>(1);
  ContainerInfo* info = container->GetContainerInfo();
  ASSERT_NE(info, nullptr);
  for (const auto& test : cases) {
    SCOPED_TRACE(test.position);
    info->X = test.position;
    info->Y = test.position;
    info->SetEntranceRel(test.offset, test.offset);
    EXPECT_EQ(container->GetX(), test.entrance);
    EXPECT_EQ(container->GetY(), test.entrance);
    int32_t x = 0;
    int32_t y = 0;
    info->GetEntrance(x, y);
    EXPECT_EQ(x, test.entrance);
    EXPECT_EQ(y, test.entrance);
  }
}

TEST_F(ContainerTest, NewUnitRecordIsUprightOnTheMap) {
  TestUnit* unit = AddUnit(2);
  ASSERT_NE(unit->GetUnitInfo(), nullptr);
  EXPECT_EQ(unit->Info->Status, 0x1001u);
  EXPECT_EQ(unit->GetSituation(), 1);
  auto* container = Add<TestContainer>(1);
  EXPECT_STREQ(container->Info->GetClassName(), "ContainerInfo");
}

}  // namespace
}  // namespace logic_world_testing
