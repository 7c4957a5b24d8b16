// The stand-in interface's value types and the tool's help operations.

#include <gtest/gtest.h>

#include "maxplugin/sdk/HelpSys.h"
#include "maxplugin/sdk/MaxTypes.h"

namespace {

TEST(MaxTypesTest, ForeverSpansEveryTimeValue) {
  constexpr Interval forever = Interval::Forever();
  EXPECT_EQ(static_cast<uint32_t>(forever.Start()), 0x80000000u);
  EXPECT_EQ(static_cast<uint32_t>(forever.End()), 0x7FFFFFFFu);
  for (TimeValue moment : {kTimeNegativeInfinity, -1, 0, 1, kTimePositiveInfinity}) {
    EXPECT_TRUE(forever.Contains(moment)) << moment;
  }
}

TEST(MaxTypesTest, IntervalOfOneMomentHoldsOnlyIt) {
  constexpr Interval moment(160, 160);
  EXPECT_TRUE(moment.Contains(160));
  EXPECT_FALSE(moment.Contains(159));
  EXPECT_FALSE(moment.Contains(161));
  EXPECT_NE(moment, Interval::Forever());
}

TEST(MaxTypesTest, ClassIdentifiersCompareBothWords) {
  constexpr Class_ID material(0x32E67840, 0x45E12466);
  EXPECT_EQ(material, Class_ID(0x32E67840, 0x45E12466));
  EXPECT_NE(material, Class_ID(0x32E67840, 0));
  EXPECT_NE(material, Class_ID(0, 0x45E12466));
  EXPECT_EQ(material.FirstWord(), 0x32E67840u);
  EXPECT_EQ(material.SecondWord(), 0x45E12466u);
}

TEST(MaxTypesTest, HelpSystemKeepsItsWindowAndClickHelp) {
  int windowStandIn = 0;
  ToolWindow* window = reinterpret_cast<ToolWindow*>(&windowStandIn);
  HelpSys help;
  EXPECT_EQ(help.getHelpHWnd(), nullptr);
  EXPECT_EQ(help.getClickHelp(), 0);
  help.setHelpHWnd(window);
  EXPECT_EQ(help.getHelpHWnd(), window);

  HelpSys copy(nullptr, 1);
  EXPECT_EQ(copy.getClickHelp(), 1);
  copy = help;
  EXPECT_EQ(copy.getHelpHWnd(), window);
  EXPECT_EQ(copy.getClickHelp(), 0);
}

}  // namespace
