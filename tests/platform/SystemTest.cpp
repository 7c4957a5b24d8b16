#include <gtest/gtest.h>

#include <sys/utsname.h>

#include <cstdlib>
#include <string>

#include "platform/System.h"

namespace {

TEST(SystemTest, VersionIsTheRunningKernels) {
  utsname names{};
  ASSERT_EQ(uname(&names), 0);
  const platform::SystemVersion version = platform::GetSystemVersion();
  EXPECT_EQ(version.name, names.sysname);
  EXPECT_EQ(std::to_string(version.major) + "." + std::to_string(version.minor),
            std::string(names.release).substr(0, std::string(names.release).find('.', 2)));
}

TEST(SystemTest, LanguageNameFollowsTheUserLocale) {
  struct Case {
    const char* all;
    const char* lang;
    const char* expected;
  };
  const Case cases[] = {
      {nullptr, "en_GB.UTF-8", "English"}, {nullptr, "nl_NL.UTF-8", "Dutch"},
      {"de_DE", "en_US.UTF-8", "German"},  {nullptr, "C", "English"},
      {nullptr, "xx_YY", "xx_YY"},
  };
  for (const Case& locale : cases) {
    locale.all != nullptr ? setenv("LC_ALL", locale.all, 1) : unsetenv("LC_ALL");
    unsetenv("LC_MESSAGES");
    setenv("LANG", locale.lang, 1);
    EXPECT_EQ(platform::GetLanguageName(), locale.expected) << locale.lang;
  }
  unsetenv("LC_ALL");
}

TEST(SystemTest, MemoryStatusIsConsistent) {
  platform::MemoryStatus memory;
  ASSERT_TRUE(platform::GetMemoryStatus(memory));
  EXPECT_GT(memory.totalPhysical, 0u);
  EXPECT_LE(memory.availablePhysical, memory.totalPhysical);
  EXPECT_LE(memory.availablePaging, memory.totalPaging);
}

}  // namespace
