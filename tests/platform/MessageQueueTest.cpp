#include <gtest/gtest.h>

#include <thread>

#include "platform/Backend.h"
#include "platform/Clock.h"
#include "platform/MessageQueue.h"
#include "platform/Testing.h"

namespace {

using platform::GameQueue;
using platform::Message;
using platform::MessageKind;

class MessageQueueTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::testing::Reset();
    platform::testing::UseBackend("headless");
  }
  void TearDown() override { platform::testing::Reset(); }
};

TEST_F(MessageQueueTest, PeekCopiesWithoutRemovingAndTakeKeepsTheOrder) {
  GameQueue().Post({MessageKind::KeyDown, 65});
  platform::testing::InjectMessage({MessageKind::KeyUp, 65});

  Message message;
  ASSERT_TRUE(GameQueue().Peek(message));
  EXPECT_EQ(message.kind, MessageKind::KeyDown);
  ASSERT_TRUE(GameQueue().Take(message));
  EXPECT_EQ(message.kind, MessageKind::KeyDown);
  ASSERT_TRUE(GameQueue().Take(message));
  EXPECT_EQ(message.kind, MessageKind::KeyUp);
  EXPECT_EQ(message.value, 65u);
  EXPECT_FALSE(GameQueue().Peek(message));
  EXPECT_FALSE(GameQueue().Take(message));
}

TEST_F(MessageQueueTest, TimedWaitOnAnEmptyQueueLetsTheHeldClockRunOut) {
  platform::testing::SetClock(0xFFFFFFF0u);
  EXPECT_FALSE(GameQueue().Wait(50));
  // The wait crossed the clock's wrap and still ended after 50 ms.
  EXPECT_EQ(platform::UpTimeMilliseconds(), 0xFFFFFFF0u + 50u);
}

TEST_F(MessageQueueTest, BlockingGetWaitsForAnEventInjectedWhileIdle) {
  int idleCalls = 0;
  platform::testing::SetIdleHandler([&] {
    if (++idleCalls == 2) {
      platform::testing::InjectMessage({MessageKind::Character, 'x'});
    }
  });
  const Message message = GameQueue().Get();
  EXPECT_EQ(message.kind, MessageKind::Character);
  EXPECT_EQ(message.value, static_cast<uint32_t>('x'));
  EXPECT_EQ(idleCalls, 2);
}

TEST_F(MessageQueueTest, MessagePostedByAnotherThreadWakesABlockedWait) {
  platform::GetBackend();
  std::thread poster([] { GameQueue().Post({MessageKind::User, 7}); });
  EXPECT_TRUE(GameQueue().Wait(-1));
  poster.join();
  const Message message = GameQueue().Get();
  EXPECT_EQ(message.kind, MessageKind::User);
  EXPECT_EQ(message.value, 7u);
}

}  // namespace
