#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <system_error>
#include <unistd.h>

namespace testing_support {
namespace {

std::filesystem::path currentFolder;
std::filesystem::path startFolder;

// Gives every test its own empty working folder, also used as the runtime
// folder for the single-instance lock, and removes it afterwards.
class TempFolderListener : public ::testing::EmptyTestEventListener {
 public:
  void OnTestStart(const ::testing::TestInfo&) override {
    std::string pattern = (std::filesystem::temp_directory_path() / "lumo-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
      std::abort();
    }
    currentFolder = pattern;
    startFolder = std::filesystem::current_path();
    std::filesystem::current_path(currentFolder);
    setenv("YOB_RUNTIME_DIR", currentFolder.c_str(), 1);
  }

  void OnTestEnd(const ::testing::TestInfo&) override {
    std::error_code ignored;
    std::filesystem::current_path(startFolder, ignored);
    if (std::getenv("LUMO_KEEP_TEST_FOLDERS") == nullptr) {
      std::filesystem::remove_all(currentFolder, ignored);
    }
  }
};

}  // namespace

const std::filesystem::path& TestFolder() { return currentFolder; }

void InstallTempFolderListener() {
  ::testing::UnitTest::GetInstance()->listeners().Append(new TempFolderListener);
}

}  // namespace testing_support
