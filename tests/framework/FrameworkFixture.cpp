#include "FrameworkFixture.h"

#include <fstream>
#include <map>
#include <new>

#include "platform/Clock.h"
#include "platform/Testing.h"
#include "platform/Version.h"
#include "runtime/RTS.h"
#include "runtime/RTSState.h"
#include "runtime/Regions.h"
#include "runtime/Timer.h"

// The test program carries a version record, as the game program does.
LUMO_PROGRAM_VERSION_RECORD(1, 7, 8, 0);

namespace framework_testing {

std::vector<std::string>& HookLog() {
  static std::vector<std::string> log;
  return log;
}

std::vector<std::string> HooksOf(const std::string& label) {
  std::vector<std::string> hooks;
  const std::string prefix = label + ":";
  for (const std::string& entry : HookLog()) {
    if (entry.rfind(prefix, 0) == 0) {
      hooks.push_back(entry.substr(prefix.size()));
    }
  }
  return hooks;
}

void TestEngine::DoPopulate() {
  LumoEngine::DoPopulate();
  if (populate) {
    populate(*this);
  }
}

void TestEngine::DoTimer() {
  struct AfterPass {
    TestEngine* engine;
    ~AfterPass() {
      if (engine->afterPass) {
        engine->afterPass();
      }
    }
  } after{this};
  LumoEngine::DoTimer();
}

bool TestEngine::OnKeyDown(tInputEvent* event) {
  return keyDown ? keyDown(event) : LumoEngine::OnKeyDown(event);
}

namespace {

std::function<void(TestEngine&)> pendingPopulate;

bool ConstructEngine() {
  auto* engine = new (std::nothrow) TestEngine;
  if (engine == nullptr) {
    return false;
  }
  engine->populate = pendingPopulate;
  return PopulateObject(engine);
}

void DestructEngine() {
  if (Engine != nullptr) {
    DestroyEngine();
  }
}

}  // namespace

const tStartRecord FrameworkTest::kStartRecord = {
    nullptr, "", 1, "Yobbozers", "Yobbozers - Terrace rampage", "LumoYobbieDemo.ini", DebugModeOverwrite,
};

void FrameworkTest::SetUp() {
  platform::testing::Reset();
  platform::testing::UseBackend("headless");
  platform::testing::SetClock(1000);
  testing_support::UseProfileInMemory();
  Profile()["DirectDraw/ScreenWidth"] = "800";
  Profile()["DirectDraw/ScreenHeight"] = "600";
  Profile()["DirectDraw/BitsPerPixel"] = "16";
  Profile()["Debug/Mode"] = "Overwrite";
  HookLog().clear();
  InformRTS(&EngineInformation);
}

void FrameworkTest::TearDown() {
  if (Engine != nullptr) {
    DestroyEngine();
  }
  // What the engine made, it released: the one timer can be made again, and
  // no input region is left.
  if (TimerHandle probe = CreateTimer(EnginePulse, 1, 1000)) {
    DestroyTimer(probe);
  } else {
    ADD_FAILURE() << "a timer was left behind";
  }
  if (RegionListExists()) {
    EXPECT_EQ(RegionCount(), 0) << "input regions were left behind";
  }
  if (RTS().mainWindow || RTS().instanceLock) {
    ShutdownRTS("", RTSSuccess);
  }
  testing_support::UseProfileFile();
  platform::testing::Reset();
  pendingPopulate = nullptr;
}

// The start-up reads the debug and polling sections through its profile
// seam, and the other sections (display, sound) through the configuration
// module from the file: the same settings go to both.
namespace {

void WriteConfigurationFile(const char* fileName, const std::map<std::string, std::string>& settings) {
  std::map<std::string, std::string> sections;
  for (const auto& [key, value] : settings) {
    const size_t slash = key.find('/');
    sections[key.substr(0, slash)] += key.substr(slash + 1) + "=" + value + "\n";
  }
  std::ofstream file(fileName, std::ios::binary);
  for (const auto& [section, entries] : sections) {
    file << "[" << section << "]\n" << entries;
  }
}

}  // namespace

bool FrameworkTest::Start() {
  WriteConfigurationFile(kStartRecord.configurationName, Profile());
  pendingPopulate = populate;
  const tRTSResult result = InitializeRTS(&kStartRecord, ConstructEngine, DestructEngine);
  return result == RTSSuccess && engine() != nullptr;
}

TestEngine* FrameworkTest::engine() const { return dynamic_cast<TestEngine*>(Engine); }

uint32_t FrameworkTest::Period() const {
  if (Engine == nullptr || Engine->FramesPerPulse == 0) {
    return 0;
  }
  return Engine->PulseDuration / Engine->FramesPerPulse;
}

uint32_t FrameworkTest::Now() { return platform::UpTimeMilliseconds(); }

bool FrameworkTest::Pulse() {
  platform::testing::StepClock(Period());
  return PollTimer(Now());
}

tRTSResult FrameworkTest::RunFor(uint32_t milliseconds) {
  const uint32_t end = Now() + milliseconds;
  bool closing = false;
  const auto closeOnce = [&closing] {
    if (!closing) {
      closing = true;
      platform::testing::InjectMessage({platform::MessageKind::SystemClose});
    }
  };
  if (TestEngine* running = engine()) {
    running->afterPass = [end, closeOnce] {
      if (static_cast<int32_t>(Now() - end) >= 0) {
        closeOnce();
      }
    };
  }
  platform::testing::SetIdleHandler([end, closeOnce] {
    if (static_cast<int32_t>(Now() - end) < 0) {
      platform::testing::SetClock(end);
    }
    closeOnce();
  });
  const tRTSResult result = RunRTS();
  platform::testing::SetIdleHandler({});
  if (TestEngine* running = engine()) {
    running->afterPass = nullptr;
  }
  return result;
}

TestLevel* AppendLevel(LumoEngine& engine, const std::string& label) {
  auto* level = new TestLevel(label);
  engine.Append(level);
  return level;
}

}  // namespace framework_testing
