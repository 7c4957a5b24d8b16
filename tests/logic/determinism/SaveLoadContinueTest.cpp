// A game saved at a frame, loaded into a fresh logic and run on with the same
// orders plays exactly as the game that was never interrupted: the same
// saved state and the same events every frame after the save.

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/Random.h"
#include "logic/core/CLogic.h"
#include "logic/core/LogicLifecycle.h"
#include "logic/core/LogicQueries.h"
#include "logic/core/OrderKinds.h"
#include "logic/core/YLPropagatorFire.h"
#include "logic/world/YLUnit.h"
#include "tests/logic/scenario/Scenario.h"

namespace {

using scenario::FrameHashes;

constexpr int32_t kFrames = 300;
// The frames whose saves are loaded: each one after whose orders every
// player is deselected (selections are not saved), most of them multiples
// of neither 12 nor 30, so the perception cycle and the plan's buckets stand
// anywhere in their rounds.
const std::vector<int32_t> kSaveFrames = {7, 57, 107, 157, 180, 232, 282};

// What the running game holds at a saved frame, so the save has something
// to lose: units in the middle of a move and of a route, a fire burning,
// plan items waiting in the long list, and draws made from the generator.
struct Held {
  bool moving = false;
  bool routed = false;
  bool burning = false;
  bool longList = false;
  bool drawn = false;
};

Held WhatTheGameHolds(uint32_t startState) {
  Held held;
  const CLogic& logic = *TheLogic();
  for (int32_t id = 1; id < logic.Things->count; ++id) {
    const auto* unit = dynamic_cast<const YLUnit*>(logic.GetThing(id));
    if (unit == nullptr || (unit->Info->Status & StatusAlive) == 0) {
      continue;
    }
    const int32_t move = unit->Info->MoveNumber;
    held.moving = held.moving || move == YLUnit::kMoveWalk || move == YLUnit::kMoveRun ||
                  move == YLUnit::kMoveRunOtherLeg;
    const PsychicPlanItem* step = unit->Plan.child;
    held.routed = held.routed || (step != nullptr && step->Action == OrderKind::kGoto && step->child != nullptr &&
                                  step->child->queue != nullptr);
  }
  for (int32_t index = 0; index < logic.Propagators->count; ++index) {
    held.burning = held.burning || dynamic_cast<const YLPropagatorFire*>(logic.Propagators->At(index)) != nullptr;
  }
  held.longList = logic.PlanLongTerm.first != nullptr;
  held.drawn = GetRandomSeed() != startState;
  return held;
}

// No weapon of the catalogue starts a fire (the molotov's impact is a
// blast), so the unbroken game has one lit after this frame's compute,
// where player 2's yobbozers threw their molotovs, as a weapon's fire impact
// starts one; it burns its 60 frames across two of the saved frames.
constexpr int32_t kFireFrame = 130;

void LightFire() {
  CLogic& logic = *TheLogic();
  std::unique_ptr<YLPropagatorFire, tObjectDestroyer> fire(new YLPropagatorFire);
  fire->SetPosition(28, 36);
  fire->BuildArea(3);
  fire->MarkArea(logic.Map.get(), true);
  ASSERT_TRUE(logic.Propagators->Append(fire.get()));
  fire.release();
}

struct Unbroken {
  std::vector<FrameHashes> frames;  // frame f at index f
  std::vector<std::string> saves;   // the saves of the frames asked for
};

// The scenario played from its start until the frame counter reaches
// endFrame, keeping the saves of the frames asked for.
Unbroken PlayUnbroken(int32_t endFrame, const std::vector<int32_t>& keep, scenario::RecordingListener& listener) {
  Unbroken run;
  run.saves.resize(keep.size());
  scenario::StartScenario();
  EXPECT_TRUE(LogicListener(&listener));
  listener.TakeFrameHash();
  for (int32_t frame = 0; frame < endFrame; ++frame) {
    scenario::ApplyScriptedOrders(frame);
    EXPECT_TRUE(LogicCompute());
    if (frame == kFireFrame) {
      LightFire();
    }
    const std::string bytes = scenario::SavedBytes();
    run.frames.push_back({scenario::HashBytes(bytes.data(), bytes.size()), listener.TakeFrameHash()});
    for (size_t index = 0; index < keep.size(); ++index) {
      if (keep[index] == frame) {
        run.saves[index] = bytes;
      }
    }
  }
  LogicStop();
  return run;
}

class LogicSaveLoadContinue : public ::testing::Test {
 protected:
  // The logic lets its listeners go when it stops.
  void TearDown() override { LogicStop(); }

  scenario::RecordingListener listener;
};

// Saved at frame k, loaded into a fresh logic (stopped and started again,
// the listener attached before the load, as the game program keeps its
// listeners) and run on with the script's orders from frame k + 1: the
// loaded game saves the very bytes it was loaded from, and every frame from
// k + 1 on has the unbroken run's state hash and event hash. The only
// events left out are those delivered during LogicLoad itself (the map, the
// things, the units inside containers, the players' parameters, the
// countdown and the objective ticks told again to the listeners): from the
// first order of frame k + 1 on, every event counts.
TEST_F(LogicSaveLoadContinue, SaveLoadContinueEqualsTheUnbrokenRun) {
  scenario::StartScenario();
  const uint32_t startState = GetRandomSeed();
  LogicStop();
  const Unbroken unbroken = PlayUnbroken(kFrames, kSaveFrames, listener);
  ASSERT_EQ(unbroken.frames.size(), static_cast<size_t>(kFrames));

  Held seen;
  for (size_t index = 0; index < kSaveFrames.size(); ++index) {
    const int32_t k = kSaveFrames[index];
    SCOPED_TRACE("saved at frame " + std::to_string(k));
    ASSERT_TRUE(scenario::AllDeselected(k));
    const std::string& saved = unbroken.saves[index];
    ASSERT_FALSE(saved.empty());

    ASSERT_TRUE(LogicStop());
    ASSERT_TRUE(LogicStart());
    ASSERT_TRUE(LogicListener(&listener));
    ASSERT_TRUE(scenario::LoadBytes(saved));
    EXPECT_EQ(GetFrame(), static_cast<uint32_t>(k + 1));
    EXPECT_EQ(scenario::DescribeFirstDifference(saved, scenario::SavedBytes()), "");
    const Held held = WhatTheGameHolds(startState);
    seen.moving = seen.moving || held.moving;
    seen.routed = seen.routed || held.routed;
    seen.burning = seen.burning || held.burning;
    EXPECT_TRUE(held.longList);
    EXPECT_TRUE(held.drawn);
    listener.TakeFrameHash();  // what the load told again

    for (int32_t frame = k + 1; frame < kFrames; ++frame) {
      scenario::ApplyScriptedOrders(frame);
      ASSERT_TRUE(LogicCompute());
      if (frame == kFireFrame) {
        LightFire();
      }
      const FrameHashes expected = unbroken.frames[static_cast<size_t>(frame)];
      const uint64_t events = listener.TakeFrameHash();
      const std::string bytes = scenario::SavedBytes();
      if (scenario::HashBytes(bytes.data(), bytes.size()) != expected.state) {
        scenario::RecordingListener again;
        const std::string wanted = PlayUnbroken(frame + 1, {frame}, again).saves[0];
        FAIL() << "the state differs first at frame " << frame << ": "
               << scenario::DescribeFirstDifference(wanted, bytes);
      }
      ASSERT_EQ(events, expected.events) << "the events differ first at frame " << frame;
    }
  }
  EXPECT_TRUE(seen.moving);
  EXPECT_TRUE(seen.routed);
  EXPECT_TRUE(seen.burning);
}

}  // namespace
