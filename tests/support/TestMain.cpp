#include <gtest/gtest.h>

#include <cstdlib>

namespace testing_support {
void InstallTempFolderListener();
}

int main(int argc, char** argv) {
  // Tests never need a display or a sound card.
  setenv("YOB_HEADLESS", "1", 0);
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::GTEST_FLAG(death_test_style) = "threadsafe";
  testing_support::InstallTempFolderListener();
  return RUN_ALL_TESTS();
}
