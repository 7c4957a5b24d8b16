#pragma once

// A small logic for the thing, move and brain tests: a thing table, a
// listener list, the plain things' move table and the shared context, and
// helpers that put things into the table and record what listeners hear.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/LumoMemoryStream.h"
#include "base/LumoObjects.h"
#include "logic/core/CLogic.h"
#include "logic/core/YLEventListener.h"
#include "logic/world/MoveInfo.h"
#include "logic/world/YLTPushable.h"
#include "logic/world/YLThing.h"
#include "logic/world/YLUnit.h"
#include "runtime/DebugLog.h"
#include "support/DebugLogReader.h"

namespace logic_world_testing {

using Bytes = std::vector<uint8_t>;

// A unit kind for the tests: the brain's choice of a move waits and every
// steering step is done at once.
class TestUnit : public YLUnit {
 public:
  int32_t OnBrainMove(int32_t) override { return 0; }
  int32_t DoGoto(float, int32_t, int32_t, bool, int32_t) override { return kReached; }
  int32_t DoGotoThing(float, int32_t, bool) override { return kReached; }
  int32_t DoEnter(float, int32_t, bool) override { return kReached; }
  int32_t DoLeave(float, int32_t, bool) override { return kReached; }
  int32_t DoFuckOff(float, int32_t, int32_t) override { return kReached; }
  void DangerReflexes() override {}
  int32_t StandGround(float, int32_t, bool) override { return kReached; }
  int32_t FleeFrom(float, int32_t, bool) override { return kReached; }
};

// One action that a listener heard.
struct HeardAction {
  int32_t id;
  int32_t x;
  int32_t y;
  int32_t facing;
  std::string move;
  int32_t code;
};

class RecordingListener : public YLEventListener {
 public:
  void EventAction(int32_t id, const MoveStep* action) override {
    ASSERT_NE(action, nullptr);
    ASSERT_NE(action->move, nullptr);
    actions.push_back({id, action->x, action->y, action->facing,
                       action->move->name.text != nullptr ? action->move->name.text : "", action->move->code});
  }
  std::vector<HeardAction> actions;
};

class LogicWorldTest : public ::testing::Test {
 protected:
  void SetUp() override {
    logic.Things.reset(new LumoObjects(true));
    logic.Listeners.reset(new LumoList);
    YLThing::SetLogicContext(nullptr, &logic);
    YLTPushableThing::InitMoveTable();
    ASSERT_TRUE(logic.AddListener(&listener));
  }

  void TearDown() override {
    logic.DetachListeners();
    YLThing::SetLogicContext(nullptr, nullptr);
  }

  // A thing of class T at id, with its default record, at (x, y).
  template <typename T>
  T* Add(int32_t id, int32_t moveNumber = 0, int32_t x = 5, int32_t y = 5) {
    auto* thing = new T;
    thing->CreateInfo(moveNumber);
    thing->Info->Tid = id;
    thing->Info->X = x;
    thing->Info->Y = y;
    Place(id, thing);
    return thing;
  }

  void Place(int32_t id, LumoObject* thing) {
    if (logic.Things->count <= id) {
      logic.Things->SetCount(id + 1);
    }
    (*logic.Things)[id] = thing;
  }

  // Runs body with the debug log on and answers what it logged.
  static std::string Logged(const std::function<void()>& body) {
    EXPECT_EQ(SetDebugMode(DebugModeOverwrite), DebugModeOverwrite);
    body();
    SetDebugMode(DebugModeOff);
    return testing_support::ReadDebugLog();
  }

  CLogic logic;
  RecordingListener listener;
};

inline Bytes Save(LumoObject& object) {
  LumoMemoryStream stream;
  EXPECT_TRUE(stream.OpenNew(16, 1, 0));
  EXPECT_EQ(stream.SetGrowth(256), 256u);
  EXPECT_TRUE(object.SaveObject(&stream, 0));
  return Bytes(stream.buffer, stream.buffer + stream.position);
}

inline std::unique_ptr<LumoObject, tObjectDestroyer> Load(Bytes bytes) {
  bytes.push_back(0);  // a stream needs a block; the spare byte stays unread
  LumoMemoryStream stream;
  EXPECT_TRUE(stream.OpenBuffer(bytes.data(), static_cast<uint32_t>(bytes.size() - 1), 1, 0));
  return std::unique_ptr<LumoObject, tObjectDestroyer>(LoadObject(&stream, nullptr));
}

// The bytes of a marker text as a stream stores it.
inline Bytes MarkerBytes(const std::string& text) {
  Bytes bytes = {0, 0, 0, static_cast<uint8_t>(text.size())};
  bytes.insert(bytes.end(), text.begin(), text.end());
  return bytes;
}

// Removes the marker and the count bytes behind it; false when absent.
inline bool Cut(Bytes& bytes, const std::string& marker, size_t valueBytes) {
  const Bytes pattern = MarkerBytes(marker);
  auto found = std::search(bytes.begin(), bytes.end(), pattern.begin(), pattern.end());
  if (found == bytes.end()) {
    return false;
  }
  bytes.erase(found, found + static_cast<std::ptrdiff_t>(pattern.size() + valueBytes));
  return true;
}

}  // namespace logic_world_testing
