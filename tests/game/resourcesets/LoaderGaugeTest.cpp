#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "ResourceSetFixture.h"
#include "framework/LumoGauge.h"

namespace resourceset_testing {
namespace {

using resource_testing::LoadRecord;

// The level loader's gauge starts with this maximum before the set adds its
// Bytes.
constexpr int32_t kLoaderMaximum = 45378642;

// Three originals in the current compound; the loading screen is counted by
// the engine's timer passes.
class LoaderGaugeTest : public ResourceSetTest {
 protected:
  void SetUp() override {
    ResourceSetTest::SetUp();
    set = Keep(new YGResourceSet);
    std::map<std::string, std::string> entries;
    for (const char* name : {"One", "Two", "Three"}) {
      YGThingResource* resource = MakeThing(name, {{red, green, blue}});
      AddNode(*set, name, 0, resource);
      entries[std::string(name) + ".ygt"] = RecordOf(*resource);
    }
    MakeCurrentCompound(entries);
    engine()->afterPass = [this] { ++passes; };
  }

  void TearDown() override {
    if (engine() != nullptr) {
      engine()->afterPass = nullptr;
    }
    if (gauge != nullptr) {
      level->LoaderGauge = nullptr;
      DestroyObject(gauge);
      gauge = nullptr;
    }
    ResourceSetTest::TearDown();
  }

  void UseGauge(int32_t maximum, int32_t progress) {
    gauge = new LumoGauge;
    gauge->SetMaximum(maximum);
    gauge->SetProgress(progress);
    level->LoaderGauge = gauge;
  }

  YGResourceSet* set = nullptr;
  LumoGauge* gauge = nullptr;
  int32_t passes = 0;
};

TEST_F(LoaderGaugeTest, OnePassWhenTheThousandthsGrewWithTheLoadersMaximum) {
  const std::string record = RecordOf(*set);
  ASSERT_GT(set->Bytes, 0);
  const int64_t maximum = static_cast<int64_t>(kLoaderMaximum) + set->Bytes;
  // One below the 999th thousandth: the first node's move crosses it, the
  // other two stay inside it. progress x 1000 does not fit 32 bits here.
  const auto start = static_cast<int32_t>((999 * maximum + 999) / 1000 - 1);
  UseGauge(kLoaderMaximum, start);
  passes = 0;
  YGResourceSet* loaded = dynamic_cast<YGResourceSet*>(Keep(LoadRecord(record)));
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(gauge->Maximum, maximum);
  EXPECT_EQ(gauge->Minimum, 0);
  EXPECT_GT(gauge->Progress, start);
  EXPECT_EQ(passes, 1);
}

TEST_F(LoaderGaugeTest, EveryGrownThousandthDrawsOnce) {
  const std::string record = RecordOf(*set);
  // A gauge so small that every node's move is worth several thousandths.
  UseGauge(1, 0);
  passes = 0;
  ASSERT_NE(Keep(LoadRecord(record)), nullptr);
  EXPECT_EQ(passes, 3);
}

TEST_F(LoaderGaugeTest, ZeroMaximumOrNoGaugeDrawsNothing) {
  // Originals stored without their resources add no Bytes.
  YGResourceSet* bare = Keep(new YGResourceSet);
  for (const char* name : {"One", "Two", "Three"}) {
    AddNode(*bare, name, 0, nullptr);
  }
  const std::string record = RecordOf(*bare);
  ASSERT_EQ(bare->Bytes, 0);
  passes = 0;
  ASSERT_NE(Keep(LoadRecord(record)), nullptr);  // no gauge
  UseGauge(100, 0);
  gauge->Maximum = 0;  // the gauge's own setter refuses it; a loader may not
  ASSERT_NE(Keep(LoadRecord(record)), nullptr);
  EXPECT_EQ(gauge->Maximum, 0);
  EXPECT_EQ(passes, 0);
}

}  // namespace
}  // namespace resourceset_testing
