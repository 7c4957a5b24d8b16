#pragma once

#include <filesystem>

namespace testing_support {

// The temporary working folder of the running test; each test starts in a
// fresh one, so tests that write files, logs or locks can run in parallel.
const std::filesystem::path& TestFolder();

}  // namespace testing_support
