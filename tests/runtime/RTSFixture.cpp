#include "RTSFixture.h"

#include "platform/Testing.h"
#include "platform/Version.h"
#include "runtime/RTS.h"

// The test program carries a version record, as the game program does.
LUMO_PROGRAM_VERSION_RECORD(1, 7, 8, 0);

namespace rts_testing {
namespace {

bool TimerIsRunning() { return FakeTimer::running; }

int32_t TimerUntilDue(uint32_t now) {
  return FakeTimer::armed ? static_cast<int32_t>(FakeTimer::next - now) : 0;
}

void TimerRunIfDue(uint32_t now) {
  if (FakeTimer::armed && static_cast<int32_t>(now - FakeTimer::next) < 0) {
    return;
  }
  FakeTimer::armed = true;
  FakeTimer::next = now + FakeTimer::period;
  ++FakeTimer::ticks;
  if (FakeTimer::onTick) {
    FakeTimer::onTick(FakeTimer::ticks);
  }
}

}  // namespace

const tLoopTimer FakeTimer::kLoopTimer = {TimerIsRunning, TimerUntilDue, TimerRunIfDue};

void FakeTimer::Start() {
  running = true;
  armed = false;
  SetLoopTimer(&kLoopTimer);
}

bool FakeGame::Construct() {
  ++constructed;
  return constructResult;
}

void FakeGame::Destruct() {
  ++destructed;
  if (onDestruct) {
    onDestruct();
  }
}

bool FakeGame::TerminateQuery() {
  ++queries;
  return agreeToTerminate;
}

void FakeGame::Restore() { ++restored; }

int CountOf(const std::string& text, const std::string& part) {
  int count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) {
    ++count;
  }
  return count;
}

const tStartRecord RTSTest::kStartRecord = {
    nullptr, "", 1, "Yobbozers", "Yobbozers - Terrace rampage", "LumoYobbieDemo.ini", DebugModeOverwrite,
};

void RTSTest::SetUp() {
  platform::testing::Reset();
  platform::testing::UseBackend("headless");
  platform::testing::SetClock(1000);
  testing_support::UseProfileInMemory();
  FakeTimer::running = false;
  FakeTimer::armed = false;
  FakeTimer::period = 40;
  FakeTimer::ticks = 0;
  FakeTimer::onTick = nullptr;
  SetLoopTimer(nullptr);
  FakeGame::constructed = 0;
  FakeGame::destructed = 0;
  FakeGame::restored = 0;
  FakeGame::queries = 0;
  FakeGame::agreeToTerminate = true;
  FakeGame::constructResult = true;
  FakeGame::onDestruct = nullptr;
  information_ = {sizeof(tInformation), kInformationSignature, 0x01070800, "English",
                  FakeGame::TerminateQuery, "release", nullptr, FakeGame::Restore};
  InformRTS(&information_);
}

void RTSTest::TearDown() {
  // A test that left the system started shuts it down, releasing the lock.
  if (RTS().mainWindow || RTS().instanceLock) {
    ShutdownRTS("", RTSSuccess);
  }
  SetLoopTimer(nullptr);
  testing_support::UseProfileFile();
  platform::testing::Reset();
}

tRTSResult RTSTest::Start() { return InitializeRTS(&kStartRecord, FakeGame::Construct, FakeGame::Destruct); }

}  // namespace rts_testing
