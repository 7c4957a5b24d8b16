#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>

#include "bot/BotSupport.h"
#include "runtime/DebugLog.h"
#include "support/DebugLogReader.h"

namespace {

TEST(BotSupportTest, SquashingFunctionsMapOntoZeroToOne) {
  struct Case {
    float x, unsignedValue, signedValue;
  };
  const Case cases[] = {{0.0f, 0.0f, 0.5f}, {1.0f, 0.5f, 0.75f}, {-1.0f, -0.5f, 0.25f}, {1e30f, 1.0f, 1.0f}};
  for (const Case& c : cases) {
    EXPECT_NEAR(SquashUnsigned(c.x), c.unsignedValue, 1e-6f) << c.x;
    EXPECT_NEAR(SquashSigned(c.x), c.signedValue, 1e-6f) << c.x;
  }
  EXPECT_EQ(kLowestScore, std::numeric_limits<float>::lowest());
}

TEST(BotSupportTest, GuardLogsItsLineAndPassesTheExceptionOn) {
  SetDebugMode(DebugModeOverwrite);
  EXPECT_EQ(BotGuard("(BOT)never\n", [] { return 7; }), 7);
  EXPECT_THROW(BotGuard("(BOT)Unhandled exception during YBTest::Run()\n",
                        []() -> int { throw std::runtime_error("fault"); }),
               std::runtime_error);
  SetDebugMode(DebugModeOff);
  EXPECT_EQ(testing_support::ReadDebugLog().find("(BOT)never"), std::string::npos);
  EXPECT_NE(testing_support::ReadDebugLog().find("(BOT)Unhandled exception during YBTest::Run()\n"),
            std::string::npos);
}

}  // namespace
