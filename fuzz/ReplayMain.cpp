// Replays fuzz inputs without libFuzzer: every file named on the command line
// (a folder stands for the files in it, in name order) is fed once to the
// target's entry point. The normal sanitizer build runs each target's corpus
// this way, so an input that once crashed a reader keeps failing the tests
// until the reader is mended, and no clang is needed for it.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) __attribute__((weak));

// A reader that allocates this much for an input of a few kilobytes has
// trusted a size it read; the sanitizer reports such an allocation as a fault.
extern "C" const char* __asan_default_options() { return "max_allocation_size_mb=256"; }

namespace {

// Inputs are kept small in the corpus; anything larger is a mistake.
constexpr std::uintmax_t kMaximumInputSize = 16 * 1024 * 1024;

bool AddInputs(const std::filesystem::path& path, std::vector<std::filesystem::path>& inputs) {
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(path, error)) {
      if (entry.is_regular_file()) {
        files.push_back(entry.path());
      }
    }
    std::sort(files.begin(), files.end());
    inputs.insert(inputs.end(), files.begin(), files.end());
    return !error;
  }
  if (std::filesystem::is_regular_file(path, error)) {
    inputs.push_back(path);
    return true;
  }
  std::fprintf(stderr, "No such input: %s\n", path.c_str());
  return false;
}

bool Replay(const std::filesystem::path& path) {
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (error || size > kMaximumInputSize) {
    std::fprintf(stderr, "Cannot use the input %s\n", path.c_str());
    return false;
  }
  std::ifstream file(path, std::ios::binary);
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                                   std::istreambuf_iterator<char>());
  if (!file && !file.eof()) {
    std::fprintf(stderr, "Cannot read the input %s\n", path.c_str());
    return false;
  }
  std::printf("Running %s (%zu bytes)\n", path.c_str(), bytes.size());
  std::fflush(stdout);
  // An empty input still comes with a valid pointer, as under libFuzzer.
  static const uint8_t kNoBytes = 0;
  LLVMFuzzerTestOneInput(bytes.empty() ? &kNoBytes : bytes.data(), bytes.size());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (LLVMFuzzerInitialize != nullptr) {
    LLVMFuzzerInitialize(&argc, &argv);
  }
  std::vector<std::filesystem::path> inputs;
  bool usable = true;
  for (int index = 1; index < argc; ++index) {
    usable = AddInputs(argv[index], inputs) && usable;
  }
  if (!usable || inputs.empty()) {
    std::fprintf(stderr, "Usage: %s <input file or folder>...\n", argv[0]);
    return 2;
  }
  for (const std::filesystem::path& input : inputs) {
    if (!Replay(input)) {
      return 1;
    }
  }
  std::printf("Replayed %zu inputs\n", inputs.size());
  return 0;
}
