#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "LogicWorldFixture.h"
#include "logic/world/MoveInfoKinds.h"

namespace logic_world_testing {
namespace {

class MoveInfoTest : public LogicWorldTest {};

// ---- Durations ----

TEST_F(MoveInfoTest, GetMoveTimeOfWalkRunAndPlainMoves) {
  MoveInfoWalk walk;
  MoveInfoRun run;
  MoveInfoCW turn;
  MoveInfoBurgle burgle;
  const struct {
    const MoveInfo* move;
    int32_t type;
    int32_t flags;
    int expected;
  } cases[] = {
      {&walk, 5, 0, 10},    {&walk, 5, 1, 11},  {&walk, 20, 0, 8},   {&walk, 20, 1, 8},   {&walk, -1, 0, 8},
      {&walk, -1, 1, 8},    {&walk, 11, 1, 12}, {&walk, 12, 2, 8},   {&run, 1, 0, 3},     {&run, 0, 1, 6},
      {&turn, 4, 0, 0},     {&turn, 13, 0, 0},  {&burgle, 1, 0, 80}, {&burgle, 1, 1, 80}, {&burgle, 2, 1, 1},
  };
  for (const auto& entry : cases) {
    EXPECT_EQ(entry.move->GetMoveTime(entry.type, entry.flags), entry.expected)
        << entry.move->GetClassName() << " type " << entry.type << " flags " << entry.flags;
  }
}

// Vehicle moves (codes from 15) read the vehicle's type name.
TEST_F(MoveInfoTest, VehicleMoveTimeFollowsTheTypeName) {
  CarMoveCWInfo drive;
  for (int32_t entry = 0; entry < 4; ++entry) {
    drive.SetTime(entry, static_cast<uint8_t>(40 + entry));
  }
  const struct {
    const char* name;
    int expected;
  } cases[] = {
      {"Vehicle025-golf", 41},       {"Vehicle031-car", 42}, {"Vehicle03", 42},
      {"Vehicle038-bus2", 40},       {"Vehicle0318", 42},    {"Vehicle021-spelersbus", 43},
      {"Vehicle022-Manta", 40},      {"vehicle025", 40},
  };
  for (const auto& entry : cases) {
    const int32_t type = logic.AddString(entry.name);
    ASSERT_GE(type, CLogic::kUnitTypeNames);
    EXPECT_EQ(drive.GetMoveTime(type, 0), entry.expected) << entry.name;
  }
}

// A type with no name in the library, a negative one included, answers
// entry 0 with the handled-fault line; a move below code 15 never asks.
TEST_F(MoveInfoTest, VehicleMoveTimeOfATypeWithoutNameIsEntryZeroAndLogged) {
  CarMoveCWInfo drive;
  drive.SetTime(0, 33);
  for (int32_t type : {logic.GetStringCount(), 5000, -1, -200}) {
    uint8_t time = 0;
    const std::string log = Logged([&] { time = drive.GetMoveTime(type, 0); });
    EXPECT_EQ(time, 33) << type;
    EXPECT_NE(log.find("MoveInfo::GetMoveTime handled exception\n"), std::string::npos) << type;
  }
  MoveInfoWalk walk;
  const std::string log = Logged([&] { EXPECT_EQ(walk.GetMoveTime(-7, 0), 8); });
  EXPECT_EQ(log.find("MoveInfo::GetMoveTime"), std::string::npos);
}

// Setters and the time of a type outside the table never reach before or
// past it: entry 0 stands in.
TEST_F(MoveInfoTest, SettersClampTypesOutsideTheTableToEntryZero) {
  MoveInfoWalk walk;
  walk.SetTime(-3, 21);
  walk.SetTime(13, 22);
  walk.SetDiagonalTime(-1, 23);
  walk.SetDiagonalTime(40, 24);
  walk.SetTime(4, 25);
  EXPECT_EQ(walk.times[0], 22);
  EXPECT_EQ(walk.diagonalTimes[0], 24);
  EXPECT_EQ(walk.times[4], 25);
  EXPECT_EQ(walk.GetMoveTime(-100, 0), 22);
  EXPECT_EQ(walk.GetMoveTime(-100, 1), 24);
  walk.SetAllTimes(3);
  walk.SetAllDiagonalTimes(4);
  for (int32_t type = 0; type < kMoveTimeTypes; ++type) {
    EXPECT_EQ(walk.GetMoveTime(type, 0), 3);
    EXPECT_EQ(walk.GetMoveTime(type, 1), 4);
  }
}

TEST_F(MoveInfoTest, BaricadeMoveTakesTheBuilderTimeForPushableTypes) {
  MoveInfoBaricade baricade;
  const int32_t pushable = logic.AddString("Move01-crate");
  const int32_t scenery = logic.AddString("Scene01");
  EXPECT_EQ(baricade.GetMoveTime(pushable, 0), 24);
  EXPECT_EQ(baricade.GetMoveTime(pushable, 1), 24);
  EXPECT_EQ(baricade.GetMoveTime(scenery, 0), 1);
  EXPECT_EQ(baricade.GetMoveTime(9, 1), 24);
  EXPECT_EQ(baricade.GetMoveTime(4, 0), 1);
}

// ---- Displacements and turns ----

TEST_F(MoveInfoTest, CarDisplacementsWrapTheirDirections) {
  CarMoveCWInfo driveCW;
  CarMoveCCWInfo driveCCW;
  CarReverseCWInfo reverseCW;
  CarReverseCCWInfo reverseCCW;
  const struct {
    const MoveInfo* move;
    int32_t facing;
    int32_t dx;
    int32_t dy;
  } cases[] = {
      {&driveCW, 1, 2, -1},    {&driveCW, 2, 2, 0},     {&driveCW, 7, -1, -2},  {&driveCW, 0, 0, -2},
      {&driveCCW, 3, 1, 1},    {&driveCCW, 6, -1, 0},   {&reverseCW, 7, 0, 1},  {&reverseCW, 2, -1, -1},
      {&reverseCW, 3, 0, -1},  {&reverseCCW, 0, 1, 2},  {&reverseCCW, 1, 0, 2}, {&reverseCCW, 2, -2, 1},
      {&reverseCCW, 3, -2, 0}, {&reverseCCW, 4, -1, -2}, {&reverseCCW, 9, 0, 2},
  };
  for (const auto& entry : cases) {
    EXPECT_EQ(entry.move->GetDeltaX(entry.facing), entry.dx) << entry.move->GetClassName() << " " << entry.facing;
    EXPECT_EQ(entry.move->GetDeltaY(entry.facing), entry.dy) << entry.move->GetClassName() << " " << entry.facing;
  }
}

TEST_F(MoveInfoTest, StepsTurnAcrossNorthAndMoveByTheStep) {
  MoveInfoCW clockwise;
  MoveInfoCCW counterClockwise;
  MoveInfoWalk walk;
  MoveStep step = clockwise.MakeStep(4, 4, 7);
  EXPECT_EQ(step.facing, 0);
  EXPECT_EQ(step.x, 4);
  EXPECT_EQ(step.y, 4);
  step = counterClockwise.MakeStep(4, 4, 0);
  EXPECT_EQ(step.facing, 7);
  step = walk.MakeStep(4, 4, 5);
  EXPECT_EQ(step.x, 3);
  EXPECT_EQ(step.y, 5);
  EXPECT_EQ(step.facing, 5);
  EXPECT_EQ(step.move, &walk);
}

TEST_F(MoveInfoTest, PushVariantThreeIsObjectMoveThree) {
  MoveInfoPush push(3);
  EXPECT_STREQ(push.name.text, "ObjectMove3");
  EXPECT_EQ(push.code, 5);
  EXPECT_EQ(push.GetMoveTime(0, 0), 4);
  EXPECT_EQ(push.GetMoveTime(9, 0), 24);
  EXPECT_EQ(push.GetMoveTime(5, 0), 1);
  for (int32_t facing = 0; facing < 8; ++facing) {
    EXPECT_EQ(push.GetDeltaX(facing), 1) << facing;
    EXPECT_EQ(push.GetDeltaY(facing), 1) << facing;
  }
}

// ---- The kinds' fields and their answers ----

TEST_F(MoveInfoTest, KindsCarryTheirNamesCodesAndAnswers) {
  auto thing = std::make_unique<TestUnit>();
  thing->CreateInfo(0);
  const struct {
    std::shared_ptr<MoveInfo> move;
    const char* name;
    int32_t code;
    int32_t step;
    int32_t turn;
    float stamina;
    bool performs;
  } cases[] = {
      {std::make_shared<MoveInfo>(), "MoveRest", 0, 0, 0, -0.01f, true},
      {std::make_shared<MoveInfoDiagonal>(), "MoveRest", 0, 0, 0, -0.01f, true},
      {std::make_shared<MoveInfoChant>(), "MoveChant", 16, 0, 0, 0.0f, true},
      {std::make_shared<MoveInfoAmbient>(), "Ambient", 1, 0, 0, 0.0f, true},
      {std::make_shared<MoveInfoPickUp>(), "MovePickUp", 19, 0, 0, 0.02f, false},
      {std::make_shared<MoveInfoFlirt>(), "MoveFlirt", 21, 0, 0, 0.24f, false},
      {std::make_shared<MoveInfoBurgle>(), "MoveBurgle", 22, 0, 0, -0.005f, false},
      {std::make_shared<MoveInfoBaricade>(), "MoveBaricade", 23, 1, 0, 0.12f, false},
      {std::make_shared<MoveInfoRave>(), "MoveRave", 24, 0, 0, 0.0f, false},
      {std::make_shared<MoveInfoBomb>(), "MoveBomb", 25, 0, 0, 0.0f, false},
      {std::make_shared<MoveInfoMolotov>(), "MoveMolotov", 14, 0, 0, 0.1f, false},
      {std::make_shared<MoveInfoDrawGun>(), "MoveDrawGun", 29, 0, 0, -0.01f, false},
      {std::make_shared<MoveInfoArrest>(), "Arrest", 30, 0, 0, 0.1f, false},
      {std::make_shared<MoveInfoEnter>(), "MoveEnter", 9, 1, 0, -0.005f, false},
      {std::make_shared<MoveInfoLeave>(), "MoveExit", 10, 1, 0, -0.005f, false},
      {std::make_shared<CarMoveCCWInfo>(), "drive CCW", 17, 0, -1, 0.0f, false},
      {std::make_shared<CarReverseCWInfo>(), "reverse CW", 19, 0, 1, 0.0f, false},
  };
  for (const auto& entry : cases) {
    const MoveInfo& move = *entry.move;
    EXPECT_STREQ(move.name.text, entry.name);
    EXPECT_EQ(move.code, entry.code) << entry.name;
    EXPECT_EQ(move.step, entry.step) << entry.name;
    EXPECT_EQ(move.turn, entry.turn) << entry.name;
    EXPECT_FLOAT_EQ(move.stamina, entry.stamina) << entry.name;
    EXPECT_EQ(entry.move->Perform(thing.get(), &logic), entry.performs) << entry.name;
  }
  // Each type's exceptional duration.
  EXPECT_EQ(MoveInfoFlirt().GetMoveTime(11, 0), 46);
  EXPECT_EQ(MoveInfoMolotov().GetMoveTime(12, 0), 10);
  EXPECT_EQ(MoveInfoDrawGun().GetMoveTime(6, 0), 20);
  EXPECT_EQ(MoveInfoDrawGun().GetMoveTime(10, 0), 12);
  EXPECT_EQ(MoveInfoArrest().GetMoveTime(5, 0), 20);
  EXPECT_EQ(MoveInfoArrest().GetMoveTime(4, 0), 0);
  EXPECT_EQ(MoveInfoAmbient().GetMoveTime(7, 0), 99);
  EXPECT_EQ(MoveInfoWeapon().GetMoveTime(10, 0), 15);
}

// Moving kinds go through the logic map; a logic without one refuses.
TEST_F(MoveInfoTest, MovingKindsAskTheLogicToMoveTheThing) {
  auto* thing = Add<YLThing>(3);
  MoveInfoWalk walk;
  EXPECT_FALSE(walk.Perform(thing, &logic));
  EXPECT_FALSE(walk.Perform(thing, nullptr));
  EXPECT_FALSE(walk.Perform(nullptr, &logic));
  EXPECT_EQ(thing->Info->X, 5);
  EXPECT_EQ(thing->Info->Y, 5);
}

}  // namespace
}  // namespace logic_world_testing
