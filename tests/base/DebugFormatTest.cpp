#include <gtest/gtest.h>

#include <string>

#include "base/DebugFormat.h"
#include "runtime/DebugLog.h"

namespace {

TEST(DebugFormatTest, LongArgumentIsCutToTheBuffer) {
  SetDebugMode(DebugModeOverwrite);
  const std::string huge(10000, 'x');
  ::testing::internal::CaptureStderr();
  DebugPrint("%s%s", huge.c_str(), huge.c_str());
  const std::string written = ::testing::internal::GetCapturedStderr();
  SetDebugMode(DebugModeOff);
  EXPECT_EQ(written.size(), static_cast<size_t>(kFormatBufferSize - 1));
}

TEST(DebugFormatTest, NothingIsWrittenWhileTheLogIsOff) {
  SetDebugMode(DebugModeOff);
  EXPECT_FALSE(IsDebugMode());
  ::testing::internal::CaptureStderr();
  DebugPrint("%d\n", 42);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

}  // namespace
