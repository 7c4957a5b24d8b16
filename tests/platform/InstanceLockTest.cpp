#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/InstanceLock.h"
#include "support/TempFolder.h"

namespace {

TEST(InstanceLockTest, SecondHolderIsRefusedUntilTheFirstReleases) {
  auto first = std::make_unique<platform::InstanceLock>("DirectLumo");
  ASSERT_EQ(first->Result(), platform::LockResult::Acquired);
  EXPECT_TRUE(std::filesystem::exists(testing_support::TestFolder() / "DirectLumo.lock"));

  platform::InstanceLock second("DirectLumo");
  EXPECT_EQ(second.Result(), platform::LockResult::AlreadyHeld);
  platform::InstanceLock other("OtherName");
  EXPECT_TRUE(other.Held());

  first.reset();
  platform::InstanceLock third("DirectLumo");
  EXPECT_TRUE(third.Held());
}

TEST(InstanceLockTest, LockInAFolderThatDoesNotExistCannotBeCreated) {
  setenv("YOB_RUNTIME_DIR", "/nonexistent-folder-of-the-lock-test", 1);
  platform::InstanceLock lock("DirectLumo");
  EXPECT_EQ(lock.Result(), platform::LockResult::CannotCreate);
  setenv("YOB_RUNTIME_DIR", testing_support::TestFolder().c_str(), 1);
}

TEST(InstanceLockTest, RuntimeFolderComesFromTheEnvironmentInOrder) {
  struct Case {
    const char* yobFolder;  // null: unset
    const char* xdgFolder;
    const char* expected;
  };
  const Case cases[] = {
      {"/one", "/two", "/one"},
      {nullptr, "/two", "/two"},
      {"", "/two", "/two"},
      {nullptr, nullptr, "/tmp"},
  };
  const char* savedXdg = std::getenv("XDG_RUNTIME_DIR");
  const std::string xdg = savedXdg != nullptr ? savedXdg : "";
  for (const Case& folders : cases) {
    folders.yobFolder != nullptr ? setenv("YOB_RUNTIME_DIR", folders.yobFolder, 1) : unsetenv("YOB_RUNTIME_DIR");
    folders.xdgFolder != nullptr ? setenv("XDG_RUNTIME_DIR", folders.xdgFolder, 1) : unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(platform::RuntimeFolder(), folders.expected);
  }
  savedXdg != nullptr ? setenv("XDG_RUNTIME_DIR", xdg.c_str(), 1) : unsetenv("XDG_RUNTIME_DIR");
  setenv("YOB_RUNTIME_DIR", testing_support::TestFolder().c_str(), 1);
}

}  // namespace
