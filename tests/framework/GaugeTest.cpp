#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "SpriteFixture.h"
#include "framework/LumoGauge.h"

namespace framework_testing {
namespace {

constexpr sRGB kBar{0, 248, 0};

class GaugeTest : public SpriteFixture {
 protected:
  void SetUp() override {
    SpriteFixture::SetUp();
    StartWithLevel();
    level->SetBackgroundColour(sRGB{});
  }
};

TEST_F(GaugeTest, BoundsProgressAndTheirScaledValues) {
  constexpr int32_t kLarge = 1 << 30;
  struct Row {
    std::string name;
    std::function<void(LumoGauge&)> act;
    // Minimum, Maximum, Progress, ScaledMinimum, ScaledMaximum,
    // ScaledProgress, percentage, percentage the layout shows
    std::vector<int32_t> expected;
  };
  const std::vector<Row> rows = {
      {"a new gauge", [](LumoGauge&) {}, {0, 100, 0, 0, 100, 0, 0, 0}},
      {"no minimum at the maximum, no maximum at the minimum",
       [](LumoGauge& g) {
         g.SetMinimum(100);
         g.SetMaximum(0);
       },
       {0, 100, 0, 0, 100, 0, 0, 0}},
      {"progress is clamped and a new maximum resets it",
       [](LumoGauge& g) {
         g.SetProgress(500);
         g.SetMaximum(50);
       },
       {0, 50, 0, 0, 50, 0, 0, 0}},
      {"progress above the maximum stores the maximum", [](LumoGauge& g) { g.SetProgress(500); },
       {0, 100, 100, 0, 100, 100, 100, 100}},
      {"200,000 at half: shifted by 3, 50 %",
       [](LumoGauge& g) {
         g.SetMaximum(200000);
         g.SetProgress(100000);
       },
       {0, 200000, 100000, 0, 25000, 12500, 50, 50}},
      {"a minimum set after the maximum rescales the maximum too",
       [](LumoGauge& g) {
         g.SetMaximum(1000);
         g.SetMinimum(-200000);
         g.SetProgress(-99500);
       },
       {-200000, 1000, -99500, -25000, 125, -12437, 50, 50}},
      {"a negative minimum counts the bits of its magnitude",
       [](LumoGauge& g) {
         g.SetMinimum(-100);
         g.SetProgress(0);
       },
       {-100, 100, 0, -100, 100, 0, 50, 50}},
      {"two close large bounds: the unscaled percentage",
       [](LumoGauge& g) {
         g.SetMaximum(kLarge + 10);
         g.SetMinimum(kLarge);
         g.SetProgress(kLarge + 5);
       },
       {kLarge, kLarge + 10, kLarge + 5, 1 << 14, 1 << 14, 1 << 14, 50, 50}},
      {"the widest bounds",
       [](LumoGauge& g) {
         g.SetMaximum(INT32_MAX);
         g.SetMinimum(INT32_MIN);
         g.SetProgress(0);
       },
       {INT32_MIN, INT32_MAX, 0, -(1 << 14), (1 << 14) - 1, 0, 50, 50}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    auto* gauge = new LumoGauge;
    level->Append(gauge);
    row.act(*gauge);
    EXPECT_EQ((std::vector<int32_t>{gauge->Minimum, gauge->Maximum, gauge->Progress, gauge->ScaledMinimum,
                                    gauge->ScaledMaximum, gauge->ScaledProgress, gauge->GetPercentage(),
                                    gauge->ScaledPercentage()}),
              row.expected);
    DestroyObject(gauge);
  }
}

TEST_F(GaugeTest, TheIndicatorShowsTheProgress) {
  auto* gauge = new LumoGauge;
  level->Append(gauge);
  gauge->Define(100, 100, 100, 10, 0, 1000, kBar, LumoGauge::FromLeft);
  ASSERT_NE(gauge->Indicator, nullptr);
  ASSERT_NE(gauge->IndicatorGraphic, nullptr);
  gauge->StartAnimation();
  const uint32_t bar = ConvertRGB(kBar);
  struct Step {
    int32_t progress;
    int32_t indicatorLeft;
    int32_t lastShown;  // the last screen column showing the bar, 99 for none
  };
  for (const Step& step : {Step{0, -100, 99}, Step{500, -50, 149}, Step{1000, 0, 199}, Step{250, -75, 124}}) {
    SCOPED_TRACE(step.progress);
    gauge->SetProgress(step.progress);
    ASSERT_TRUE(Pulse());
    ASSERT_TRUE(Pulse());
    EXPECT_EQ(gauge->Indicator->Left, step.indicatorLeft);
    if (step.lastShown >= 100) {
      EXPECT_EQ(Presented(100, 105), bar);
      EXPECT_EQ(Presented(step.lastShown, 105), bar);
    }
    EXPECT_NE(Presented(step.lastShown + 1, 105), bar);
  }
  // The other directions place the indicator on their side.
  struct Way {
    int32_t direction;
    int32_t left;
    int32_t top;
  };
  gauge->SetProgress(250);
  for (const Way& way : {Way{LumoGauge::FromRight, 75, 0}, Way{LumoGauge::FromTop, 0, -8},
                         Way{LumoGauge::FromBottom, 0, 8}, Way{7, 0, 8}}) {
    SCOPED_TRACE(way.direction);
    gauge->SetDirection(way.direction);
    ASSERT_TRUE(Pulse());
    EXPECT_EQ((std::vector<int32_t>{gauge->Indicator->Left, gauge->Indicator->Top}),
              (std::vector<int32_t>{way.left, way.top}));
  }
}

}  // namespace
}  // namespace framework_testing
