#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "base/LumoClass.h"
#include "base/LumoMemoryStream.h"
#include "logic/core/CLogic.h"
#include "logic/triggers/ConditionTrigger.h"
#include "logic/triggers/YLEditableObject.h"
#include "runtime/DebugLog.h"
#include "support/DebugLogReader.h"

namespace {

using Bytes = std::vector<uint8_t>;

// A stored plan item that writes down its time when it resolves its
// references after a load.
class ResolvingItem : public LogicPlanItem {
 public:
  const char* GetClassName() const override { return "ResolvingPlanTestItem"; }
  void ResolveReferences() override { resolved.push_back(Time); }
  static inline std::vector<uint32_t> resolved;
};

LumoClassOf<ResolvingItem> classOfResolvingItem(kVersion_1_6_0_6, "ResolvingPlanTestItem", "LogicPlanItem");

// Writes with write into a new memory stream and answers the bytes.
Bytes Written(const std::function<bool(LumoStream&)>& write) {
  LumoMemoryStream stream;
  EXPECT_TRUE(stream.OpenNew(16, 1, 0));
  EXPECT_EQ(stream.SetGrowth(256), 256u);
  EXPECT_TRUE(write(stream));
  return Bytes(stream.buffer, stream.buffer + stream.position);
}

// Reads the bytes with read; answers its result.
bool ReadFrom(Bytes bytes, const std::function<bool(LumoStream&)>& read) {
  bytes.push_back(0);  // a stream needs a block; the spare byte stays unread
  LumoMemoryStream stream;
  EXPECT_TRUE(stream.OpenBuffer(bytes.data(), static_cast<uint32_t>(bytes.size() - 1), 1, 0));
  return read(stream);
}

std::string Logged(const std::function<void()>& body) {
  EXPECT_EQ(SetDebugMode(DebugModeOverwrite), DebugModeOverwrite);
  body();
  SetDebugMode(DebugModeOff);
  return testing_support::ReadDebugLog();
}

Bytes SavedPlan(CLogic& logic) {
  return Written([&](LumoStream& stream) {
    return logic.SavePlan(&stream, nullptr) && logic.SavePlanLongTerm(&stream, nullptr);
  });
}

bool LoadPlan(CLogic& logic, const Bytes& bytes) {
  return ReadFrom(bytes, [&](LumoStream& stream) {
    return logic.LoadPlan(&stream, nullptr) && logic.LoadPlanLongTerm(&stream, nullptr);
  });
}

LogicPlanItem* Item(uint32_t time) {
  auto* item = new LogicPlanItem;
  item->Time = time;
  return item;
}

TEST(PlanStream, SaveLoadSaveGivesTheSameBytes) {
  CLogic logic;
  logic.Time = 100;
  logic.InsertPlan(new ConditionTrigger(24), 5);
  logic.InsertPlan(new LogicPlanItem, 5);
  logic.InsertPlan(new LogicPlanItem, 20);
  logic.InsertPlan(new ConditionTrigger(45), 100);
  logic.InsertPlan(new LogicPlanItem, 40);
  const Bytes saved = SavedPlan(logic);

  CLogic loaded;
  loaded.Time = 100;
  ASSERT_TRUE(LoadPlan(loaded, saved));
  loaded.ResolvePlanReferences();
  EXPECT_EQ(SavedPlan(loaded), saved);

  LogicPlanItem* first = loaded.Plan[15].first;
  ASSERT_NE(first, nullptr);
  ASSERT_NE(first->Next, nullptr);
  EXPECT_STREQ(first->GetClassName(), "LogicPlanItem");
  auto* trigger = dynamic_cast<ConditionTrigger*>(first->Next);
  ASSERT_NE(trigger, nullptr);
  EXPECT_EQ(trigger->Frequency, 24u);
  EXPECT_EQ(trigger->Time, 105u);
  EXPECT_EQ(trigger->PlanSlot, 15);
  ASSERT_NE(loaded.PlanLongTerm.first, nullptr);
  EXPECT_EQ(loaded.PlanLongTerm.first->Time, 140u);
  EXPECT_EQ(loaded.PlanLongTerm.first->PlanSlot, LogicPlanItem::kLongTermSlot);

  // A loaded item is planned like any other: the plan finds and moves it.
  loaded.RemovePlan(trigger);
  EXPECT_EQ(loaded.Plan[15].first->Next, nullptr);
  DestroyObject(trigger);
}

TEST(PlanStream, APlanOfAnotherSizeKeepsEveryEntry) {
  CLogic logic;
  const Bytes bytes = Written([](LumoStream& stream) {
    if (!stream.WriteInteger(31)) {
      return false;
    }
    for (int32_t entry = 0; entry < 31; ++entry) {
      LogicPlanItem* item = entry == 0 || entry == 30 ? Item(static_cast<uint32_t>(entry + 1)) : nullptr;
      const bool written = stream.WriteObject(item);
      DestroyObject(item);
      if (!written) {
        return false;
      }
    }
    return stream.WriteObject(nullptr);
  });
  bool loaded = false;
  const std::string log = Logged([&] { loaded = LoadPlan(logic, bytes); });
  EXPECT_TRUE(loaded);
  EXPECT_NE(log.find("CLogic::LoadPlan : LogicPlanSize not same as loaded game\n"), std::string::npos) << log;
  // The surplus entry joins bucket 0 behind the one it has.
  ASSERT_NE(logic.Plan[0].first, nullptr);
  EXPECT_EQ(logic.Plan[0].first->Time, 1u);
  ASSERT_NE(logic.Plan[0].first->Next, nullptr);
  EXPECT_EQ(logic.Plan[0].first->Next->Time, 31u);
  EXPECT_EQ(logic.Plan[0].first->Next->PlanSlot, 0);
}

TEST(PlanStream, AnObjectOfAnotherClassIsDroppedAndTheRestLoads) {
  CLogic logic;
  const Bytes bytes = Written([](LumoStream& stream) {
    YLEditableObject stranger;
    LogicPlanItem* item = Item(2);
    const bool written = stream.WriteInteger(CLogic::kPlanSize) && stream.WriteObject(&stranger) &&
                         stream.WriteObject(item) && stream.WriteRepeated(0, CLogic::kPlanSize - 2) &&
                         stream.WriteObject(nullptr);
    DestroyObject(item);
    return written;
  });
  bool loaded = false;
  const std::string log = Logged([&] { loaded = LoadPlan(logic, bytes); });
  EXPECT_TRUE(loaded);
  EXPECT_NE(log.find("entry 0 is a YLEditableObject, not a plan item"), std::string::npos) << log;
  EXPECT_EQ(logic.Plan[0].first, nullptr);
  ASSERT_NE(logic.Plan[1].first, nullptr);
  EXPECT_EQ(logic.Plan[1].first->Time, 2u);
}

TEST(PlanStream, RefusesBucketCountsLargerThanTheStream) {
  for (const Bytes& bytes : {Bytes{0x7F, 0xFF, 0xFF, 0xFF, 0}, Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0}, Bytes{0, 0, 0, 30, 0}}) {
    CLogic logic;
    bool loaded = true;
    Logged([&] { loaded = ReadFrom(bytes, [&](LumoStream& stream) { return logic.LoadPlan(&stream, nullptr); }); });
    EXPECT_FALSE(loaded);
  }
}

TEST(PlanStream, ALoadedLongListIsOrderedByFramesUntilDueAndResolvedInPlanOrder) {
  ResolvingItem::resolved.clear();
  // As an older game stored it: an item of the past at the head.
  const Bytes bytes = Written([](LumoStream& stream) {
    auto* past = new ResolvingItem;
    past->Time = 50;
    auto* later = new ResolvingItem;
    later->Time = 160;
    auto* sooner = new ResolvingItem;
    sooner->Time = 140;
    past->Next = later;
    later->Next = sooner;
    auto* near = new ResolvingItem;
    near->Time = 103;
    bool written = stream.WriteInteger(CLogic::kPlanSize);
    for (int32_t bucket = 0; bucket < CLogic::kPlanSize; ++bucket) {
      written = written && stream.WriteObject(bucket == 13 ? near : nullptr);
    }
    written = written && stream.WriteObject(past);
    DestroyObject(past);
    DestroyObject(near);
    return written;
  });
  CLogic logic;
  logic.Time = 100;
  ASSERT_TRUE(LoadPlan(logic, bytes));
  logic.ResolvePlanReferences();
  EXPECT_EQ(ResolvingItem::resolved, (std::vector<uint32_t>{103, 140, 160, 50}));
  std::vector<uint32_t> order;
  for (LogicPlanItem* item = logic.PlanLongTerm.first; item != nullptr; item = item->Next) {
    order.push_back(item->Time);
  }
  EXPECT_EQ(order, (std::vector<uint32_t>{140, 160, 50}));
}

}  // namespace
