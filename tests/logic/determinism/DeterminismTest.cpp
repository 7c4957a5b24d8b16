// The logic is deterministic: the scenario played twice in one process, and
// in separate processes whose memory is laid out differently, gives the
// same saved state and the same events every frame; a game loaded from the
// bytes of a frame in a process that never ran the scenario goes on as the
// unbroken one.

#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "logic/core/LogicLifecycle.h"
#include "logic/core/LogicQueries.h"
#include "tests/logic/scenario/Scenario.h"
#include "support/TempFolder.h"

extern char** environ;

namespace {

using scenario::FrameHashes;
using scenario::RunResult;

// Frames played by every run, and the frame whose save the loading
// processes start from: one after whose orders every player is deselected,
// a multiple of neither 12 nor 30.
constexpr int32_t kFrames = 300;
constexpr int32_t kLoadFrame = 157;

// What a child process is asked to do, by environment variables.
constexpr const char* kModeVariable = "LUMO_DETERMINISM_CHILD";  // "run" or "load"
constexpr const char* kOutputVariable = "LUMO_DETERMINISM_OUTPUT";
constexpr const char* kSaveVariable = "LUMO_DETERMINISM_SAVE";
constexpr const char* kPaddingVariable = "LUMO_DETERMINISM_PADDING";

// Names the first frame at which two runs differ, and, when the state
// differs, the first differing byte of that frame's saves (the runs are
// played again to that frame to get them).
std::string Mismatch(const std::vector<FrameHashes>& expected, const std::vector<FrameHashes>& actual,
                     int32_t firstFrame) {
  const int32_t index = scenario::FirstDifferentFrame(expected, actual);
  if (index < 0) {
    return {};
  }
  std::ostringstream text;
  text << "first differing frame " << firstFrame + index;
  if (static_cast<size_t>(index) >= expected.size() || static_cast<size_t>(index) >= actual.size()) {
    text << ": " << expected.size() << " frames expected, " << actual.size() << " played";
    return text.str();
  }
  text << (expected[index].state != actual[index].state ? " (state)" : "")
       << (expected[index].events != actual[index].events ? " (events)" : "");
  return text.str();
}

std::string SavesAtFrameOfTwoRuns(int32_t frame) {
  scenario::RunOptions options;
  options.hashEveryFrame = false;
  options.keepSavesAt = {frame};
  const std::string first = scenario::RunScenario(frame + 1, options).saves[0];
  LogicStop();
  const std::string second = scenario::RunScenario(frame + 1, options).saves[0];
  LogicStop();
  return scenario::DescribeFirstDifference(first, second);
}

// The scenario is a game, not a still life: within its frames units walk
// their routes, fight, throw, bleed, enter buildings and vehicles, and the
// triggers make new units and end a player's game. (LUMO_SCENARIO_PRINT
// set prints every event.)
// The first differing byte at a frame between the unbroken run and a game
// loaded from the saved bytes, both played in this process.
std::string SavesAtFrameAfterLoad(const std::string& saved, int32_t frame) {
  scenario::RunOptions options;
  options.hashEveryFrame = false;
  options.keepSavesAt = {frame};
  const std::string unbroken = scenario::RunScenario(frame + 1, options).saves[0];
  LogicStop();
  const std::string continued = scenario::ContinueFromSave(saved, frame + 1, options).saves[0];
  LogicStop();
  return scenario::DescribeFirstDifference(unbroken, continued);
}

TEST(ScenarioScript, TheGameHappens) {
  scenario::RecordingListener listener(true);
  scenario::StartScenario();
  ASSERT_TRUE(LogicListener(&listener));
  std::vector<std::string> lines;
  for (int32_t frame = 0; frame < kFrames; ++frame) {
    scenario::ApplyScriptedOrders(frame);
    ASSERT_TRUE(LogicCompute());
    for (std::string& line : listener.TakeLines()) {
      lines.push_back(std::to_string(frame) + ": " + line);
    }
  }
  LogicStop();
  if (std::getenv("LUMO_SCENARIO_PRINT") != nullptr) {
    for (const std::string& line : lines) {
      std::printf("%s\n", line.c_str());
    }
  }
  const auto count = [&](const std::string& part) {
    int32_t found = 0;
    for (const std::string& line : lines) {
      found += line.find(part) != std::string::npos;
    }
    return found;
  };
  struct Least {
    const char* part;
    int32_t count;
  };
  for (const Least& least : {Least{"[MoveWalk]", 200}, Least{"[MoveRunRight]", 20}, Least{"[MoveFist]", 1},
                             Least{"[MoveMolotov]", 1}, Least{"[MoveEnter]", 1},
                             Least{"[drive]", 100}, Least{": gore ", 10}, Least{": splat ", 1},
                             Least{": projectile ", 2}, Least{": enter ", 10}, Least{": thing ", 60},
                             Least{": selection ", 100}, Least{": objective ", 1}, Least{": parameter 4 14 0", 1}}) {
    EXPECT_GE(count(least.part), least.count) << least.part;
  }
}

// Two games in one process, the logic stopped between them, agree in state
// and events every frame; a third that saves only at its end ends alike.
TEST(Determinism, TwoRunsInOneProcessAgreeEveryFrame) {
  const RunResult first = scenario::RunScenario(kFrames);
  LogicStop();
  // Between the games another one is played and abandoned half-way, after
  // a cheat, and memory stays in use, so the second game starts in a
  // process that did something else before and its things lie elsewhere.
  scenario::StartScenario();
  CheetPlayerParam(2, 1, 123456);
  for (int32_t frame = 0; frame < 77; ++frame) {
    scenario::ApplyScriptedOrders(frame + 13);
    ASSERT_TRUE(LogicCompute());
  }
  LogicStop();
  std::vector<std::unique_ptr<char[]>> padding;
  for (int32_t block = 0; block < 64; ++block) {
    padding.emplace_back(new char[static_cast<size_t>(16 + block * 37)]);
  }
  const RunResult second = scenario::RunScenario(kFrames);
  LogicStop();
  ASSERT_EQ(first.frames.size(), static_cast<size_t>(kFrames));
  const std::string mismatch = Mismatch(first.frames, second.frames, 0);
  if (!mismatch.empty()) {
    const int32_t frame = scenario::FirstDifferentFrame(first.frames, second.frames);
    FAIL() << mismatch << "; " << SavesAtFrameOfTwoRuns(frame);
  }

  scenario::RunOptions onlyAtTheEnd;
  onlyAtTheEnd.hashEveryFrame = false;
  const RunResult third = scenario::RunScenario(kFrames, onlyAtTheEnd);
  LogicStop();
  EXPECT_EQ(third.finalState, first.finalState) << "saving every frame changed the game";
}

// ---- Separate processes ----

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string FormatHashes(const std::vector<FrameHashes>& frames) {
  std::ostringstream text;
  for (const FrameHashes& frame : frames) {
    text << frame.state << ' ' << frame.events << '\n';
  }
  return text.str();
}

std::vector<FrameHashes> ParseHashes(const std::string& text) {
  std::istringstream lines(text);
  std::vector<FrameHashes> frames;
  FrameHashes frame;
  while (lines >> frame.state >> frame.events) {
    frames.push_back(frame);
  }
  return frames;
}

// Runs this test program again as a child with the child test selected and
// the variables set; answers its exit status (-1 when it did not exit).
int RunChild(const std::vector<std::string>& variables) {
  std::vector<std::string> arguments = {"/proc/self/exe", "--gtest_also_run_disabled_tests",
                                        "--gtest_filter=DeterminismChild.DISABLED_PlaysAsTheParentAsks"};
  std::vector<std::string> environment;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    environment.emplace_back(*entry);
  }
  environment.insert(environment.end(), variables.begin(), variables.end());
  std::vector<char*> argv;
  for (std::string& argument : arguments) {
    argv.push_back(argument.data());
  }
  argv.push_back(nullptr);
  std::vector<char*> envp;
  for (std::string& entry : environment) {
    envp.push_back(entry.data());
  }
  envp.push_back(nullptr);
  pid_t child = 0;
  if (posix_spawn(&child, "/proc/self/exe", nullptr, nullptr, argv.data(), envp.data()) != 0) {
    return -1;
  }
  int status = 0;
  if (waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
    return -1;
  }
  return WEXITSTATUS(status);
}

// Each process runs the scenario from the start and gives the parent's
// hashes; each process that loads the parent's save of a frame, having
// never run the scenario, goes on with the unbroken run's hashes.
TEST(Determinism, SeparateProcessesAgreeWithTheUnbrokenRun) {
  scenario::RunOptions options;
  options.keepSavesAt = {kLoadFrame};
  const RunResult unbroken = scenario::RunScenario(kFrames, options);
  LogicStop();
  ASSERT_TRUE(scenario::AllDeselected(kLoadFrame));
  ASSERT_FALSE(unbroken.saves[0].empty());
  const std::string folder = testing_support::TestFolder().string();
  const std::string savePath = folder + "/frame.sav";
  WriteFile(savePath, unbroken.saves[0]);
  const std::vector<FrameHashes> continued(unbroken.frames.begin() + kLoadFrame + 1, unbroken.frames.end());

  struct Child {
    const char* mode;
    int32_t padding;
  };
  for (const Child& child : {Child{"run", 1}, Child{"run", 7}, Child{"load", 3}, Child{"load", 11}}) {
    SCOPED_TRACE(std::string(child.mode) + " with padding " + std::to_string(child.padding));
    const std::string output = folder + "/" + child.mode + std::to_string(child.padding) + ".txt";
    ASSERT_EQ(RunChild({std::string(kModeVariable) + "=" + child.mode, std::string(kOutputVariable) + "=" + output,
                        std::string(kSaveVariable) + "=" + savePath,
                        std::string(kPaddingVariable) + "=" + std::to_string(child.padding)}),
              0);
    const std::vector<FrameHashes> heard = ParseHashes(ReadFile(output));
    if (std::string(child.mode) == "run") {
      EXPECT_EQ(Mismatch(unbroken.frames, heard, 0), "");
    } else {
      const std::string mismatch = Mismatch(continued, heard, kLoadFrame + 1);
      if (!mismatch.empty()) {
        const int32_t frame = kLoadFrame + 1 + scenario::FirstDifferentFrame(continued, heard);
        ADD_FAILURE() << mismatch << "; in this process: " << SavesAtFrameAfterLoad(unbroken.saves[0], frame);
      }
    }
  }
}

// The child's side: not run by itself (disabled), only when the parent
// starts this program with the variables set.
TEST(DeterminismChild, DISABLED_PlaysAsTheParentAsks) {
  const char* mode = std::getenv(kModeVariable);
  const char* output = std::getenv(kOutputVariable);
  const char* save = std::getenv(kSaveVariable);
  const char* padding = std::getenv(kPaddingVariable);
  if (mode == nullptr || output == nullptr || save == nullptr || padding == nullptr) {
    GTEST_SKIP() << "run by the separate-processes test only";
  }
  // Blocks of sizes that differ from child to child, kept while the game
  // runs, so its objects lie at other addresses than in any other process.
  const int32_t seed = std::atoi(padding);
  std::vector<std::unique_ptr<char[]>> blocks;
  for (int32_t block = 0; block < 40 * seed; ++block) {
    blocks.emplace_back(new char[static_cast<size_t>(8 + (block * 131 + seed * 17) % 3000)]);
  }
  RunResult result;
  if (std::string(mode) == "run") {
    result = scenario::RunScenario(kFrames);
  } else {
    const std::string saved = ReadFile(save);
    ASSERT_FALSE(saved.empty());
    result = scenario::ContinueFromSave(saved, kFrames);
  }
  LogicStop();
  WriteFile(output, FormatHashes(result.frames));
}

}  // namespace
