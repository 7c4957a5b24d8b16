// The comms front end as players meet it: a served game and its clients in
// processes of their own, over loopback.

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "CommsFixture.h"
#include "FrontEndProcesses.h"
#include "game/CommsBytes.h"

namespace {

using namespace comms_testing;

class FrontEndTest : public ::testing::Test {
 protected:
  void TearDown() override {
    SetFlag("stop");
    for (const pid_t child : children_) {
      EXPECT_EQ(Reap(child), 0);
    }
  }
  pid_t Keep(pid_t child) {
    children_.push_back(child);
    return child;
  }
  int StartServer(const ServerScript& script = {}) {
    Keep(SpawnServer(script));
    const int port = ServerPort();
    EXPECT_NE(port, 0);
    return port;
  }

 private:
  std::vector<pid_t> children_;
};

TEST_F(FrontEndTest, PlayersMeetInTheLobbyAndTheServerStartsTheirGame) {
  const int port = StartServer();
  SetFlag("text");
  ASSERT_TRUE(WaitForText("server.log", "text 11 hello lobby"));  // the server's own text comes back to it
  Keep(SpawnClient("alice", port));
  ASSERT_TRUE(WaitForText("server.log", "join alice"));
  // A client that joins after a lobby text gets the last one at once.
  EXPECT_TRUE(WaitForText("alice.log", "text 11 hello lobby"));
  Keep(SpawnClient("bob", port));
  ASSERT_TRUE(WaitForText("alice.log", "join bob"));
  ASSERT_TRUE(WaitForText("server.log", "join bob"));
  // A text of length 0 arrives as an empty block.
  SetFlag("empty-text");
  EXPECT_TRUE(WaitForText("alice.log", "text 0 \n"));
  EXPECT_TRUE(WaitForText("bob.log", "text 0 \n"));
  // A client leaves: the server confirms it by the echo, which closes it.
  SetFlag("alice-leave");
  EXPECT_TRUE(WaitForText("alice.log", "closed"));
  EXPECT_TRUE(WaitForText("server.log", "leave alice"));
  EXPECT_TRUE(WaitForText("bob.log", "leave alice"));
  SetFlag("run");
  EXPECT_TRUE(WaitForText("server.log", "start"));
  EXPECT_TRUE(WaitForText("bob.log", "start"));
  EXPECT_TRUE(WaitForText("server.frame", "5"));
  // No client hears its own join, and the texts have their NUL after them.
  EXPECT_EQ(ReadText("alice.log").find("join alice"), std::string::npos);
  EXPECT_EQ(ReadText("bob.log").find("join bob"), std::string::npos);
  EXPECT_EQ(ReadText("alice.log").find("(no NUL)"), std::string::npos);
  EXPECT_EQ(CountOf(ReadText("server.log"), "leave alice"), 1);
}

TEST_F(FrontEndTest, EveryMessageWrittenByteByByteArrivesWholeAndOnce) {
  const int port = StartServer();
  RawPeer peer;
  ASSERT_TRUE(peer.Connect(port));
  // Before any lobby text, the greeting is an empty text: 5 bytes.
  EXPECT_EQ(peer.Receive(300ms), (Bytes{3, 0, 0, 0, 0}));
  Bytes messages = JoinMessage(0, "slow", "127.0.0.1", 0);
  const Bytes text = TextMessageBytes("piece by piece");
  messages.insert(messages.end(), text.begin(), text.end());
  const Bytes emptyText = TextMessageBytes("");
  messages.insert(messages.end(), emptyText.begin(), emptyText.end());
  peer.SendSlowly(messages, 3ms);
  ASSERT_TRUE(WaitForText("server.log", "text 0 \n"));
  const std::string log = ReadText("server.log");
  EXPECT_EQ(CountOf(log, "join slow"), 1);
  EXPECT_EQ(CountOf(log, "text 14 piece by piece"), 1);
  EXPECT_FALSE(peer.ClosedWithin(100ms));
}

TEST_F(FrontEndTest, AFifthPlayerIsClosedWithoutCallback) {
  const int port = StartServer();
  RawPeer peers[4];
  for (int index = 0; index < 4; ++index) {
    ASSERT_TRUE(peers[index].Connect(port));
    peers[index].Send(JoinMessage(0, "p" + std::to_string(index), "127.0.0.1", 0));
    if (index < 3) {
      ASSERT_TRUE(WaitForText("server.log", "join p" + std::to_string(index)));
    }
  }
  EXPECT_TRUE(peers[3].ClosedWithin(3s));
  EXPECT_EQ(ReadText("server.log").find("join p3"), std::string::npos);
}

TEST_F(FrontEndTest, AJoinAfterTheGameStartedIsClosedWithoutCallback) {
  const int port = StartServer();
  SetFlag("run");
  ASSERT_TRUE(WaitForText("server.log", "start"));
  RawPeer late;
  ASSERT_TRUE(late.Connect(port));
  late.Send(JoinMessage(0, "late", "127.0.0.1", 0));
  EXPECT_TRUE(late.ClosedWithin(3s));
  EXPECT_EQ(ReadText("server.log").find("join late"), std::string::npos);
}

TEST_F(FrontEndTest, AClientDroppedMidGameLeavesOnceAndTheOthersPlayOn) {
  const int port = StartServer({2, 10000ms});
  RawPeer dropper;
  ASSERT_TRUE(dropper.Connect(port));
  dropper.Send(JoinMessage(0, "dropper", "127.0.0.1", 0));
  ASSERT_TRUE(WaitForText("server.log", "join dropper"));
  SetFlag("run");
  ASSERT_TRUE(WaitForText("server.log", "start"));
  for (uint32_t frame = 0; frame < 4; ++frame) {
    dropper.Send(FrameBytes(frame, {{0, ""}}));
  }
  // Frames up to 3 + latency run; the next waits for the dropper.
  ASSERT_TRUE(WaitForText("server.frame", "6"));
  std::this_thread::sleep_for(200ms);
  EXPECT_EQ(ReadText("server.frame"), "6");
  dropper.Close();
  EXPECT_TRUE(WaitForText("server.log", "leave dropper"));
  EXPECT_TRUE(WaitForText("server.frame", "10"));
  std::this_thread::sleep_for(200ms);
  EXPECT_EQ(CountOf(ReadText("server.log"), "leave dropper"), 1);
}

// ---- Hostile peers ----

struct HostileCase {
  const char* name;
  bool joinFirst;            // the hostile peer joins as "hostile" first
  bool closed;               // the server closes the hostile connection
  std::function<Bytes(const RawPeer& good, const RawPeer& hostile)> bytes;
  const char* neverLogged;   // a server log line that must not appear
};

void PrintTo(const HostileCase& hostileCase, std::ostream* out) { *out << hostileCase.name; }

class FrontEndHostileTest : public FrontEndTest, public ::testing::WithParamInterface<HostileCase> {};

TEST_P(FrontEndHostileTest, ClosesOrIgnoresWhileTheOthersPlayOn) {
  const HostileCase& hostileCase = GetParam();
  const bool silent = std::string(hostileCase.name) == "SilentAfterGreeting";
  const int port = StartServer({2, silent ? 300ms : 10000ms});
  RawPeer good;
  ASSERT_TRUE(good.Connect(port));
  good.Send(JoinMessage(0, "good", "127.0.0.1", 0));
  ASSERT_TRUE(WaitForText("server.log", "join good"));
  RawPeer hostile;
  ASSERT_TRUE(hostile.Connect(port));
  if (hostileCase.joinFirst) {
    hostile.Send(JoinMessage(0, "hostile", "127.0.0.1", 0));
    ASSERT_TRUE(WaitForText("server.log", "join hostile"));
  }
  hostile.Send(hostileCase.bytes(good, hostile));
  if (hostileCase.closed) {
    EXPECT_TRUE(hostile.ClosedWithin(3s));
  } else {
    EXPECT_FALSE(hostile.ClosedWithin(500ms));
  }
  // The good player plays on.
  good.Send(TextMessageBytes("still here"));
  EXPECT_TRUE(WaitForText("server.log", "text 10 still here"));
  EXPECT_FALSE(good.ClosedWithin(100ms));
  const std::string log = ReadText("server.log");
  EXPECT_EQ(log.find(hostileCase.neverLogged), std::string::npos) << log;
  EXPECT_LE(CountOf(log, "join hostile"), 1);
}

Bytes FrameWithPayloadLength(uint32_t length) {
  Bytes bytes = FrameBytes(0, {{5, ""}});
  StoreU32(bytes.data() + 11, length);
  return bytes;
}

Bytes Concatenate(Bytes first, const Bytes& second) {
  first.insert(first.end(), second.begin(), second.end());
  return first;
}

INSTANTIATE_TEST_SUITE_P(
    Peers, FrontEndHostileTest,
    ::testing::Values(
        HostileCase{"TextLengthAllOnes", true, true,
                    [](const RawPeer&, const RawPeer&) { return LengthFieldMessage(3, 0xFFFFFFFFu); },
                    "text 4294967295"},
        HostileCase{"CountOfABillion", true, true,
                    [](const RawPeer&, const RawPeer&) {
                      Bytes bytes = FrameBytes(0, {});
                      StoreU32(bytes.data() + 5, 1000000000u);
                      return bytes;
                    },
                    "order"},
        HostileCase{"PayloadOfTwoGigabytes", true, true,
                    [](const RawPeer&, const RawPeer&) { return FrameWithPayloadLength(0x80000000u); }, "order"},
        HostileCase{"RepeatedFrame", true, true,
                    [](const RawPeer&, const RawPeer&) {
                      return Concatenate(FrameBytes(0, {}), FrameBytes(0, {}));
                    },
                    "order"},
        HostileCase{"SkippedFrame", true, true, [](const RawPeer&, const RawPeer&) { return FrameBytes(1, {}); },
                    "order"},
        HostileCase{"SecondJoin", true, false,
                    [](const RawPeer&, const RawPeer&) { return JoinMessage(0, "hostile", "127.0.0.1", 0); },
                    "join hostile\njoin hostile"},
        // A frame taken before the join would make the same frame after it
        // a repeat, and the connection would close.
        HostileCase{"FrameBeforeJoining", false, false,
                    [](const RawPeer&, const RawPeer&) {
                      return Concatenate(Concatenate(FrameBytes(0, {{5, "xxxx"}}),
                                                     JoinMessage(0, "hostile", "127.0.0.1", 0)),
                                         FrameBytes(0, {}));
                    },
                    "order"},
        HostileCase{"TextBeforeJoining", false, false,
                    [](const RawPeer&, const RawPeer&) { return TextMessageBytes("sneaky"); }, "sneaky"},
        HostileCase{"LatencyToServer", true, false,
                    [](const RawPeer&, const RawPeer&) {
                      return Concatenate(LengthFieldMessage(4, 6), TextMessageBytes("after latency"));
                    },
                    "leave"},
        HostileCase{"LeaveNamingAnotherClient", true, false,
                    [](const RawPeer& good, const RawPeer&) {
                      return JoinMessage(1, "good", "127.0.0.1", static_cast<uint32_t>(good.LocalPort()));
                    },
                    "leave good"},
        HostileCase{"SilentAfterGreeting", false, true, [](const RawPeer&, const RawPeer&) { return Bytes{}; },
                    "join hostile"}),
    [](const ::testing::TestParamInfo<HostileCase>& info) { return std::string(info.param.name); });

}  // namespace
