#pragma once

// A small level made through the logic's exports, with a listener that
// records what the trigger actions tell the game, for the tests of the
// actions that create units, vehicles and plan items.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/LumoMemoryStream.h"
#include "base/LumoObjects.h"
#include "base/Random.h"
#include "logic/core/CLogic.h"
#include "logic/core/LogicLifecycle.h"
#include "logic/core/YLEventListener.h"
#include "logic/triggers/tStrings.h"
#include "logic/world/YLThing.h"
#include "logic/world/YLUnit.h"
#include "runtime/DebugLog.h"
#include "support/DebugLogReader.h"

namespace action_testing {

using Bytes = std::vector<uint8_t>;
using Owned = std::unique_ptr<LumoObject, tObjectDestroyer>;

struct ObjectiveText {
  int32_t objective;
  int32_t value;
  std::string text;
  bool operator==(const ObjectiveText&) const = default;
};

class ActionListener : public YLEventListener {
 public:
  void EventSetObjectiveValue(int32_t objective, int32_t value, const char* text) override {
    objectives.push_back({objective, value, text != nullptr ? text : ""});
  }
  void EventThing(ThingInfo* info, const char*) override { things.push_back(info != nullptr ? info->Tid : -1); }
  void EventSpeech(int32_t kind, int32_t subject, int32_t message, int32_t value) override {
    speech.push_back({kind, subject, message, value});
  }
  std::vector<ObjectiveText> objectives;
  std::vector<int32_t> things;
  std::vector<std::vector<int32_t>> speech;
};

class ActionLevelTest : public ::testing::Test {
 protected:
  static constexpr int32_t kMapSize = 64;
  static constexpr uint32_t kSeed = 4711;

  void SetUp() override {
    ASSERT_TRUE(LogicStart());
    ASSERT_TRUE(LogicCreate(kMapSize, kMapSize));
    ASSERT_TRUE(LogicListener(&listener));
    SetRandomSeed(kSeed);
  }

  void TearDown() override {
    LogicStop();
    YLThing::SetLogicContext(nullptr, nullptr);
  }

  CLogic& Logic() { return *TheLogic(); }

  YLThing* Make(const char* keyword, int32_t x, int32_t y, int32_t owner = 0) {
    ThingInfo* info = CreateThing(keyword, x, y, 0, 0, owner);
    EXPECT_NE(info, nullptr) << keyword;
    return info != nullptr ? Logic().GetThing(info->Tid) : nullptr;
  }
  template <typename Kind>
  Kind* MakeAs(const char* keyword, int32_t x, int32_t y, int32_t owner = 0) {
    auto* made = dynamic_cast<Kind*>(Make(keyword, x, y, owner));
    EXPECT_NE(made, nullptr) << keyword;
    return made;
  }

  // Scenery until the next thing made takes id `next`.
  void FillIdsUpTo(int32_t next) {
    for (int32_t index = 0; Logic().FindFreeThingID() < next; ++index) {
      ASSERT_NE(CreateThing("Obst01", index % kMapSize, kMapSize - 1 - index / kMapSize, 0, 0, 0), nullptr);
    }
  }

  // The units of the thing table with ids from `from` on, in id order.
  std::vector<YLUnit*> UnitsFrom(int32_t from) {
    std::vector<YLUnit*> units;
    for (int32_t id = from; id < Logic().Things->count; ++id) {
      if (auto* unit = dynamic_cast<YLUnit*>(Logic().GetThing(id))) {
        units.push_back(unit);
      }
    }
    return units;
  }

  static void Run(int32_t frames) {
    for (int32_t frame = 0; frame < frames; ++frame) {
      ASSERT_TRUE(LogicCompute());
    }
  }

  static std::string Logged(const std::function<void()>& body) {
    EXPECT_EQ(SetDebugMode(DebugModeOverwrite), DebugModeOverwrite);
    body();
    SetDebugMode(DebugModeOff);
    return testing_support::ReadDebugLog();
  }

  ActionListener listener;
};

// ---- Streams ----

inline Bytes SaveBytes(LumoObject& object) {
  LumoMemoryStream stream;
  EXPECT_TRUE(stream.OpenNew(16, 1, 0));
  EXPECT_EQ(stream.SetGrowth(256), 256u);
  EXPECT_TRUE(object.SaveObject(&stream, 0));
  return Bytes(stream.buffer, stream.buffer + stream.position);
}

// The object read back; null when the load failed.
inline Owned LoadBytes(Bytes bytes) {
  bytes.push_back(0);  // a stream needs a block; the spare byte stays unread
  LumoMemoryStream stream;
  EXPECT_TRUE(stream.OpenBuffer(bytes.data(), static_cast<uint32_t>(bytes.size() - 1), 1, 0));
  return Owned(LoadObject(&stream, nullptr));
}

inline Bytes BigEndian(uint32_t value) {
  return {static_cast<uint8_t>(value >> 24), static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 8),
          static_cast<uint8_t>(value)};
}

// The bytes of a tag text as a stream stores it.
inline Bytes TagBytes(const std::string& text) {
  Bytes bytes = BigEndian(static_cast<uint32_t>(text.size()));
  bytes.insert(bytes.end(), text.begin(), text.end());
  return bytes;
}

// The offset of the first occurrence of pattern; -1 when absent.
inline std::ptrdiff_t Find(const Bytes& bytes, const Bytes& pattern) {
  auto found = std::search(bytes.begin(), bytes.end(), pattern.begin(), pattern.end());
  return found == bytes.end() ? -1 : found - bytes.begin();
}

// Removes the tag text found in the bytes; false when absent.
inline bool CutTag(Bytes& bytes, const std::string& tag) {
  const std::ptrdiff_t at = Find(bytes, TagBytes(tag));
  if (at < 0) {
    return false;
  }
  bytes.erase(bytes.begin() + at, bytes.begin() + at + static_cast<std::ptrdiff_t>(4 + tag.size()));
  return true;
}

// ---- The editor ----

struct EditorLines {
  std::vector<std::string> labels;
  std::vector<std::string> values;
};

template <typename Object>
EditorLines ListOf(Object& object) {
  tStrings labels;
  tStrings values;
  object.ListProperties(labels, values);
  EditorLines lines;
  for (int32_t index = 0; index < labels.count; ++index) {
    lines.labels.emplace_back(labels.Get(index));
    lines.values.emplace_back(values.Get(index));
  }
  return lines;
}

}  // namespace action_testing
