#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "base/LumoMemoryStream.h"
#include "logic/triggers/ConditionTrigger.h"
#include "logic/triggers/LogicPlanItem.h"
#include "logic/triggers/YLEditableObject.h"

namespace {

using Bytes = std::vector<uint8_t>;
using Loaded = std::unique_ptr<LumoObject, tObjectDestroyer>;

Bytes Save(LumoObject& object, uint32_t growth = 256) {
  LumoMemoryStream stream;
  EXPECT_TRUE(stream.OpenNew(16, 1, 0));
  EXPECT_EQ(stream.SetGrowth(growth), growth);
  EXPECT_TRUE(object.SaveObject(&stream, 0));
  return Bytes(stream.buffer, stream.buffer + stream.position);
}

Loaded Load(Bytes bytes) {
  bytes.push_back(0);  // a stream needs a block; the spare byte stays unread
  LumoMemoryStream stream;
  EXPECT_TRUE(stream.OpenBuffer(bytes.data(), static_cast<uint32_t>(bytes.size() - 1), 1, 0));
  return Loaded(LoadObject(&stream, nullptr));
}

TEST(PlanItemStream, AChainIsStoredNestedAndLoadedWhole) {
  ConditionTrigger first(24);
  first.Time = 7;
  first.Next = new LogicPlanItem;
  first.Next->Time = 9;
  first.Next->Next = new ConditionTrigger(0);
  const Bytes bytes = Save(first);
  DestroyObject(first.Next);
  first.Next = nullptr;

  Loaded loaded = Load(bytes);
  auto* trigger = dynamic_cast<ConditionTrigger*>(loaded.get());
  ASSERT_NE(trigger, nullptr);
  EXPECT_EQ(trigger->Time, 7u);
  EXPECT_EQ(trigger->Frequency, 24u);
  ASSERT_NE(trigger->Next, nullptr);
  EXPECT_EQ(trigger->Next->Time, 9u);
  auto* last = dynamic_cast<ConditionTrigger*>(trigger->Next->Next);
  ASSERT_NE(last, nullptr);
  // A stored frequency of 0 is kept.
  EXPECT_EQ(last->Frequency, 0u);
  EXPECT_EQ(last->Next, nullptr);
  EXPECT_EQ(Save(*loaded), bytes);
}

TEST(PlanItemStream, ATriggerWithoutTheFrequencyTagKeepsTen) {
  ConditionTrigger trigger(3);
  trigger.Time = 5;
  Bytes bytes = Save(trigger);
  // With the tag the frequency is read, also when the tagged value ends the
  // stream.
  Loaded tagged = Load(bytes);
  ASSERT_NE(dynamic_cast<ConditionTrigger*>(tagged.get()), nullptr);
  EXPECT_EQ(dynamic_cast<ConditionTrigger*>(tagged.get())->Frequency, 3u);

  const Bytes tag = {0, 0, 0, 5, 'f', 'r', 'e', 'q', ':', 0, 0, 0, 3};
  auto found = std::search(bytes.begin(), bytes.end(), tag.begin(), tag.end());
  ASSERT_NE(found, bytes.end());
  bytes.erase(found, found + static_cast<std::ptrdiff_t>(tag.size()));

  Loaded loaded = Load(bytes);
  auto* untagged = dynamic_cast<ConditionTrigger*>(loaded.get());
  ASSERT_NE(untagged, nullptr);
  EXPECT_EQ(untagged->Frequency, ConditionTrigger::kDefaultFrequency);
  EXPECT_EQ(untagged->Time, 5u);
}

TEST(PlanItemStream, ANextOfAnotherClassFailsTheLoad) {
  LogicPlanItem item;
  const Bytes plain = Save(item);
  YLEditableObject stranger;
  const Bytes strangerBytes = Save(stranger);
  // The item's record ends with the next item's presence byte and the time;
  // the stranger's record goes where the next item would.
  Bytes bytes = plain;
  const size_t presence = bytes.size() - 5;
  ASSERT_EQ(bytes[presence], 0);
  bytes[presence] = 1;
  bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(presence) + 1, strangerBytes.begin(), strangerBytes.end());
  EXPECT_EQ(Load(bytes), nullptr);
  // The same bytes with a plan item there load.
  Bytes chained = plain;
  chained[presence] = 1;
  chained.insert(chained.begin() + static_cast<std::ptrdiff_t>(presence) + 1, plain.begin(), plain.end());
  Loaded loaded = Load(chained);
  ASSERT_NE(loaded, nullptr);
  EXPECT_NE(dynamic_cast<LogicPlanItem*>(loaded.get())->Next, nullptr);
  // And a chain of two items is written in exactly that nested form.
  item.Next = new LogicPlanItem;
  EXPECT_EQ(Save(item), chained);
  DestroyObject(item.Next);
  item.Next = nullptr;
}

// A chain of n items: times 1 to n, every third a trigger of frequency 3.
LogicPlanItem* Chain(uint32_t n) {
  LogicPlanItem* first = nullptr;
  for (uint32_t time = n; time > 0; --time) {
    LogicPlanItem* item = time % 3 == 0 ? new ConditionTrigger(time) : new LogicPlanItem;
    item->Time = time;
    item->Next = first;
    first = item;
  }
  return first;
}

// A list is stored as one nested chain; it is written and read in a loop,
// so a list far longer than the records the object stream lets nest (and
// long enough to overflow the stack if written by recursion) saves, loads
// whole and saves to the same bytes again.
TEST(PlanItemStream, ALongChainSavesAndLoadsInTheNestedForm) {
  constexpr uint32_t kItems = 30000;
  constexpr uint32_t kGrowth = 1u << 20;
  Loaded chain(Chain(kItems));
  const Bytes bytes = Save(*chain, kGrowth);
  Loaded loaded = Load(bytes);
  ASSERT_NE(loaded, nullptr);
  uint32_t count = 0;
  for (auto* item = dynamic_cast<LogicPlanItem*>(loaded.get()); item != nullptr; item = item->Next) {
    ++count;
    ASSERT_EQ(item->Time, count);
    auto* trigger = dynamic_cast<ConditionTrigger*>(item);
    ASSERT_EQ(trigger != nullptr, count % 3 == 0);
    if (trigger != nullptr) {
      ASSERT_EQ(trigger->Frequency, count);
    }
  }
  EXPECT_EQ(count, kItems);
  EXPECT_EQ(Save(*loaded, kGrowth), bytes);
}

// A long chain cut short, or holding a record of an unknown class deep
// inside, fails its load and frees what it read (the sanitizer build reports a
// leak).
TEST(PlanItemStream, ADamagedLongChainFailsWhole) {
  Loaded chain(Chain(3000));
  const Bytes bytes = Save(*chain, 1u << 16);
  for (const size_t keep : {bytes.size() / 2, bytes.size() - 1, size_t{40}}) {
    EXPECT_EQ(Load(Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(keep))), nullptr) << keep;
  }
  // The 2000th plan item's class name becomes one of the same length that
  // no class has.
  const std::string name = "LogicPlanItem";
  const std::string other = "LumoSortedLis";
  Bytes damaged = bytes;
  size_t seen = 0;
  for (auto at = damaged.begin(); (at = std::search(at, damaged.end(), name.begin(), name.end())) != damaged.end();
       ++at) {
    if (++seen == 2000) {
      std::copy(other.begin(), other.end(), at);
      break;
    }
  }
  ASSERT_EQ(seen, 2000u);
  EXPECT_EQ(Load(damaged), nullptr);
}

}  // namespace
