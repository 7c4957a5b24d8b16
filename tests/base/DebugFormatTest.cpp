#include <gtest/gtest.h>

#include <string>

#include "base/DebugFormat.h"
#include "runtime/DebugLog.h"
#include "support/DebugLogReader.h"

namespace {

TEST(DebugFormatTest, LongArgumentIsCutToTheBuffer) {
  ASSERT_EQ(SetDebugMode(DebugModeOverwrite), DebugModeOverwrite);
  const std::string huge(10000, 'x');
  DebugPrint("%s%s", huge.c_str(), huge.c_str());
  SetDebugMode(DebugModeOff);
  EXPECT_EQ(testing_support::ReadDebugLog().size(), static_cast<size_t>(kFormatBufferSize - 1));
}

TEST(DebugFormatTest, NothingIsWrittenWhileTheLogIsOff) {
  SetDebugMode(DebugModeOff);
  EXPECT_FALSE(IsDebugMode());
  DebugPrint("%d\n", 42);
  EXPECT_EQ(testing_support::ReadDebugLog(), "");
}

}  // namespace
