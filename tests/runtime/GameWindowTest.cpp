#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "RTSFixture.h"
#include "platform/MessageQueue.h"
#include "runtime/GameWindow.h"
#include "runtime/RTSWindowProc.h"

namespace rts_testing {
namespace {

using platform::Message;
using platform::MessageKind;

struct SeenMessage {
  tWindowHandle window;
  uint32_t number;
  uintptr_t wordParameter;
  intptr_t longParameter;
};

std::vector<SeenMessage>& Seen() {
  static std::vector<SeenMessage> seen;
  return seen;
}
tWindowProcedure passOn = nullptr;

// Sees every message first and passes on what it does not handle.
intptr_t Replacement(tWindowHandle window, uint32_t number, uintptr_t wordParameter, intptr_t longParameter) {
  Seen().push_back({window, number, wordParameter, longParameter});
  if (number >= platform::kFirstUserMessage) {
    return 0;
  }
  return passOn(window, number, wordParameter, longParameter);
}

void DispatchWaiting() {
  Message message;
  while (platform::GameQueue().Take(message)) {
    DispatchRTSMessage(message);
  }
}

class GameWindowTest : public RTSTest {
 protected:
  void SetUp() override {
    RTSTest::SetUp();
    Seen().clear();
    passOn = nullptr;
  }
};

TEST_F(GameWindowTest, TheWindowIsFoundByItsExactTitleOnly) {
  EXPECT_EQ(FindGameWindow("Yobbozers - Terrace rampage"), 0u);
  ASSERT_EQ(Start(), RTSSuccess);
  const tWindowHandle window = FindGameWindow("Yobbozers - Terrace rampage");
  EXPECT_NE(window, 0u);
  EXPECT_EQ(FindGameWindow("Yobbozers"), 0u);
  EXPECT_EQ(FindGameWindow(nullptr), 0u);
  ShutdownRTS("", RTSSuccess);
  EXPECT_EQ(FindGameWindow("Yobbozers - Terrace rampage"), 0u);
  // A closed window's handle reaches nothing.
  EXPECT_FALSE(PostGameWindowMessage(window, 1024, 0, 0));
  EXPECT_EQ(ReplaceWindowProcedure(window, Replacement), nullptr);
}

TEST_F(GameWindowTest, MessagesPostedFromAnotherThreadReachTheReplacementInOrder) {
  ASSERT_EQ(Start(), RTSSuccess);
  const tWindowHandle window = FindGameWindow("Yobbozers - Terrace rampage");
  passOn = ReplaceWindowProcedure(window, Replacement);
  ASSERT_NE(passOn, nullptr);
  std::thread poster([window] {
    for (uint32_t index = 0; index < 10; ++index) {
      EXPECT_TRUE(PostGameWindowMessage(window, 1024 + index, index * 2, -static_cast<intptr_t>(index)));
    }
  });
  poster.join();
  // The run-time system's own numbers are not for others to post.
  EXPECT_FALSE(PostGameWindowMessage(window, 5, 0, 0));
  DispatchWaiting();
  // The run-time system's own messages (activation at start) pass by too.
  std::vector<SeenMessage> posted;
  for (const SeenMessage& seen : Seen()) {
    if (seen.number >= platform::kFirstUserMessage) {
      posted.push_back(seen);
    }
  }
  ASSERT_EQ(posted.size(), 10u);
  for (uint32_t index = 0; index < 10; ++index) {
    EXPECT_EQ(posted[index].window, window);
    EXPECT_EQ(posted[index].number, 1024 + index);
    EXPECT_EQ(posted[index].wordParameter, index * 2);
    EXPECT_EQ(posted[index].longParameter, -static_cast<intptr_t>(index));
  }
}

TEST_F(GameWindowTest, TheReplacementPassesTheRunTimeMessagesOnToTheOldProcedure) {
  ASSERT_EQ(Start(), RTSSuccess);
  const tWindowHandle window = FindGameWindow("Yobbozers - Terrace rampage");
  passOn = ReplaceWindowProcedure(window, Replacement);
  ASSERT_NE(passOn, nullptr);
  platform::GameQueue().Post({MessageKind::Move, 0, 30, 40});
  platform::GameQueue().Post({MessageKind::SystemClose});
  DispatchWaiting();
  int moves = 0;
  for (const SeenMessage& seen : Seen()) {
    moves += seen.number == static_cast<uint32_t>(MessageKind::Move) ? 1 : 0;
  }
  EXPECT_EQ(moves, 1);
  // The old procedure handled the close request: the terminate query ran.
  EXPECT_EQ(FakeGame::queries, 1);
  // Giving the old procedure back ends the replacement.
  EXPECT_EQ(ReplaceWindowProcedure(window, passOn), Replacement);
  Seen().clear();
  platform::GameQueue().Post({MessageKind::SystemClose});
  DispatchWaiting();
  EXPECT_TRUE(Seen().empty());
  EXPECT_EQ(FakeGame::queries, 2);
}

}  // namespace
}  // namespace rts_testing
