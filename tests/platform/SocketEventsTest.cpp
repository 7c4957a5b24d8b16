#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "platform/Net.h"

namespace {

using namespace std::chrono_literals;
using platform::SocketChannel;
using platform::SocketEvents;

struct PostedEvent {
  uint32_t message;
  uint32_t serial;
  uint32_t event;
  uint32_t error;
};

// Every event posted, in order, as the game window's queue would hold them.
struct PostedEvents {
  std::mutex mutex;
  std::condition_variable posted;
  std::deque<PostedEvent> events;
};

PostedEvents& Posted() {
  static PostedEvents posted;
  return posted;
}

void RecordEvent(uint32_t message, uint32_t serial, uint32_t event, uint32_t error) {
  {
    std::lock_guard lock(Posted().mutex);
    Posted().events.push_back({message, serial, event, error});
  }
  Posted().posted.notify_all();
}

std::optional<PostedEvent> NextEvent(std::chrono::milliseconds wait = 2000ms) {
  std::unique_lock lock(Posted().mutex);
  if (!Posted().posted.wait_for(lock, wait, [] { return !Posted().events.empty(); })) {
    return std::nullopt;
  }
  const PostedEvent event = Posted().events.front();
  Posted().events.pop_front();
  return event;
}

// A connected socket pair: the channel's end is registered, the test writes
// and reads at the other.
class SocketEventsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    {
      std::lock_guard lock(Posted().mutex);
      Posted().events.clear();
    }
    ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends_), 0);
    channel_ = std::make_shared<SocketChannel>(ends_[0]);
  }
  void TearDown() override {
    events_.Clear();
    close(ends_[0]);
    if (ends_[1] >= 0) {
      close(ends_[1]);
    }
  }

  void Register() { ASSERT_TRUE(events_.Register(channel_, 1030, 7, RecordEvent)); }
  void Send(const std::string& text) {
    ASSERT_EQ(send(ends_[1], text.data(), text.size(), MSG_NOSIGNAL), static_cast<ssize_t>(text.size()));
  }
  std::string Receive(size_t size) {
    std::string text(size, '\0');
    return channel_->Receive(text.data(), size, 200ms) == SocketChannel::ReceiveResult::Complete ? text : "";
  }

  int ends_[2] = {-1, -1};
  std::shared_ptr<SocketChannel> channel_;
  SocketEvents events_;
};

TEST_F(SocketEventsTest, BytesWaitingAtRegistrationRaiseOneReadEvent) {
  Send("early");
  Register();
  const auto event = NextEvent();
  ASSERT_TRUE(event);
  EXPECT_EQ(event->message, 1030u);
  EXPECT_EQ(event->serial, 7u);
  EXPECT_EQ(event->event, platform::kSocketReadEvent);
  // More bytes while the event is outstanding raise no second one.
  Send("more");
  EXPECT_FALSE(NextEvent(100ms));
  EXPECT_EQ(Receive(9), "earlymore");
}

TEST_F(SocketEventsTest, AnotherReadEventFollowsTheHandlerWhileBytesRemain) {
  Register();
  Send("abcdef");
  ASSERT_TRUE(NextEvent());
  EXPECT_EQ(Receive(2), "ab");
  events_.HandlerDone(*channel_);
  const auto again = NextEvent();
  ASSERT_TRUE(again);
  EXPECT_EQ(again->event, platform::kSocketReadEvent);
  EXPECT_EQ(Receive(4), "cdef");
  events_.HandlerDone(*channel_);
  EXPECT_FALSE(NextEvent(100ms));
}

TEST_F(SocketEventsTest, AHandlerThatReadNothingGetsTheNextEventOnlyWhenNewBytesCome) {
  Register();
  Send("abc");
  ASSERT_TRUE(NextEvent());
  events_.HandlerDone(*channel_);
  EXPECT_FALSE(NextEvent(100ms));
  Send("d");
  const auto event = NextEvent();
  ASSERT_TRUE(event);
  EXPECT_EQ(event->event, platform::kSocketReadEvent);
  EXPECT_EQ(Receive(4), "abcd");
}

TEST_F(SocketEventsTest, NothingWaitingFailsAtOnceAndTakesNothing) {
  Register();
  char byte = 0;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(channel_->Receive(&byte, 1, 5000ms), SocketChannel::ReceiveResult::NothingWaiting);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 1000ms);
  Send("x");
  ASSERT_TRUE(NextEvent());
  EXPECT_EQ(Receive(1), "x");
}

TEST_F(SocketEventsTest, APartWhoseRestDoesNotComeIsDroppedAndTheChannelCloses) {
  Register();
  Send("par");
  ASSERT_TRUE(NextEvent());
  char buffer[8];
  EXPECT_EQ(channel_->Receive(buffer, 8, 100ms), SocketChannel::ReceiveResult::Dropped);
  // Later bytes can no longer be read in step with the sender.
  Send("t-rest");
  EXPECT_EQ(channel_->Receive(buffer, 1, 100ms), SocketChannel::ReceiveResult::Closed);
  events_.HandlerDone(*channel_);
  const auto event = NextEvent();
  ASSERT_TRUE(event);
  EXPECT_EQ(event->event, platform::kSocketCloseEvent);
}

TEST_F(SocketEventsTest, TheCloseFollowsTheBytesBeforeIt) {
  Register();
  Send("last words");
  shutdown(ends_[1], SHUT_WR);
  const auto read = NextEvent();
  ASSERT_TRUE(read);
  EXPECT_EQ(read->event, platform::kSocketReadEvent);
  EXPECT_FALSE(NextEvent(100ms));
  EXPECT_EQ(Receive(4), "last");
  events_.HandlerDone(*channel_);
  const auto again = NextEvent();
  ASSERT_TRUE(again);
  EXPECT_EQ(again->event, platform::kSocketReadEvent);
  // This handler reads nothing of what remains: the close comes.
  events_.HandlerDone(*channel_);
  const auto close = NextEvent();
  ASSERT_TRUE(close);
  EXPECT_EQ(close->event, platform::kSocketCloseEvent);
  EXPECT_EQ(close->error, 0u);
}

// Fills the channel's receive buffer and leaves more in the socket behind
// it, so that the peer's end is only reached past bytes nobody took.
constexpr size_t kMoreThanTheBuffer = SocketChannel::kReceiveCapacity + 1000;

// Answers read events with a handler that reads nothing, until an event
// other than a read comes; that event, or none when the time ran out.
std::optional<PostedEvent> FirstEventAfterIdleReads(SocketEvents& events, SocketChannel& channel) {
  for (;;) {
    const auto event = NextEvent();
    if (!event || event->event != platform::kSocketReadEvent) {
      return event;
    }
    events.HandlerDone(channel);
  }
}

TEST_F(SocketEventsTest, AFullBufferStillSeesThePeersEndOnceTheHandlerReadsNothing) {
  Register();
  Send(std::string(kMoreThanTheBuffer, 'a'));
  std::this_thread::sleep_for(100ms);
  shutdown(ends_[1], SHUT_WR);
  const auto close = FirstEventAfterIdleReads(events_, *channel_);
  ASSERT_TRUE(close);
  EXPECT_EQ(close->event, platform::kSocketCloseEvent);
  EXPECT_EQ(close->error, 0u);
}

TEST_F(SocketEventsTest, AFullBufferStillSeesAReset) {
  Register();
  // The peer closes with bytes it never read: the channel's end is reset.
  ASSERT_EQ(channel_->Send("unread", 6), SocketChannel::SendResult::Done);
  Send(std::string(kMoreThanTheBuffer, 'a'));
  // The reset comes after the buffer filled up, not while it still took bytes.
  std::this_thread::sleep_for(100ms);
  close(ends_[1]);
  ends_[1] = -1;
  const auto close = FirstEventAfterIdleReads(events_, *channel_);
  ASSERT_TRUE(close);
  EXPECT_EQ(close->event, platform::kSocketCloseEvent);
  EXPECT_EQ(close->error, 10054u);
}

TEST_F(SocketEventsTest, AReaderThatMakesRoomGetsEveryByteBeforeTheEnd) {
  Register();
  Send(std::string(kMoreThanTheBuffer, 'a'));
  shutdown(ends_[1], SHUT_WR);
  size_t taken = 0;
  std::optional<PostedEvent> event;
  while ((event = NextEvent()) && event->event == platform::kSocketReadEvent) {
    // A slow reader: a few bytes per event, so the buffer is full again
    // each time the thread receives the rest.
    char chunk[4096];
    const size_t wanted = std::min(sizeof chunk, kMoreThanTheBuffer - taken);
    if (wanted > 0 && channel_->Receive(chunk, wanted, 1000ms) == SocketChannel::ReceiveResult::Complete) {
      taken += wanted;
    }
    events_.HandlerDone(*channel_);
  }
  ASSERT_TRUE(event);
  EXPECT_EQ(event->event, platform::kSocketCloseEvent);
  EXPECT_EQ(taken, kMoreThanTheBuffer);
}

TEST_F(SocketEventsTest, QueuedBytesAreSentInOrderAfterWhatFitAtOnce) {
  Register();
  std::string large(4 * 1024 * 1024 / 8, '\0');
  for (size_t index = 0; index < large.size(); ++index) {
    large[index] = static_cast<char>('a' + index % 26);
  }
  // More than a socket buffer: part is queued; nothing blocks.
  for (int round = 0; round < 2; ++round) {
    EXPECT_EQ(channel_->Send(large.data(), large.size()), SocketChannel::SendResult::Done);
  }
  std::string received;
  char chunk[65536];
  while (received.size() < 2 * large.size()) {
    const ssize_t got = recv(ends_[1], chunk, sizeof chunk, 0);
    ASSERT_GT(got, 0);
    received.append(chunk, static_cast<size_t>(got));
  }
  EXPECT_EQ(received, large + large);
}

TEST_F(SocketEventsTest, AShutdownChannelSendsItsQueueThenShutsAndClosesWithoutReadEvents) {
  Register();
  EXPECT_EQ(channel_->Send("bye", 3), SocketChannel::SendResult::Done);
  channel_->Shutdown(150ms);
  Send("ignored");
  char buffer[8] = {};
  EXPECT_EQ(recv(ends_[1], buffer, sizeof buffer, 0), 3);
  EXPECT_EQ(recv(ends_[1], buffer, sizeof buffer, 0), 0);  // the sending side was shut
  const auto start = std::chrono::steady_clock::now();
  const auto close = NextEvent();
  ASSERT_TRUE(close);
  EXPECT_EQ(close->event, platform::kSocketCloseEvent);
  EXPECT_GE(std::chrono::steady_clock::now() - start, 50ms);
  EXPECT_EQ(channel_->Send("x", 1), SocketChannel::SendResult::Closed);
}

TEST_F(SocketEventsTest, TheThreadRunsOnlyWhileSocketsAreRegistered) {
  EXPECT_FALSE(events_.ThreadRunning());
  Register();
  EXPECT_TRUE(events_.ThreadRunning());
  events_.Unregister(7);
  EXPECT_FALSE(events_.ThreadRunning());
  EXPECT_EQ(events_.Count(), 0u);
}

TEST_F(SocketEventsTest, SendingToAClosedPeerFailsWithoutASignal) {
  close(ends_[1]);
  ends_[1] = -1;
  EXPECT_EQ(channel_->Send("data", 4), SocketChannel::SendResult::Failed);
  EXPECT_EQ(channel_->ErrorCode(), 10054u);
  EXPECT_EQ(channel_->Send("data", 4), SocketChannel::SendResult::Closed);
}

TEST(SocketErrorCodeTest, ErrnoValuesMapToTheServiceNumbers) {
  struct Case {
    int error;
    int32_t code;
  };
  const Case cases[] = {{0, 0}, {EADDRINUSE, 10048}, {ECONNRESET, 10054}, {EMFILE, 10024},
                        {ENOBUFS, 10055}, {EAFNOSUPPORT, 10047}, {ETIMEDOUT, 10060}, {ENOENT, 10100}};
  for (const Case& one : cases) {
    EXPECT_EQ(platform::SocketErrorCode(one.error), one.code) << one.error;
  }
}

}  // namespace
