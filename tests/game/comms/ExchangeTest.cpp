// The exchange classes on their own: what Flush answers and delivers for the
// frames and lists they are given. The bytes on the wire are proven by the
// lock-step tests over loopback.

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "OrderTestSupport.h"
#include "game/YClientComms.h"
#include "game/YServerComms.h"
#include "game/YSinglePlayerComms.h"

namespace {

using namespace comms_testing;

std::vector<Applied> applied;
uint32_t flushing = 0;
YCommsBase* sendFromAccept = nullptr;
int started = 0;

void Start() { ++started; }

void Accept(COrderPackage* package, uint32_t frame) {
  applied.push_back(Describe(package, frame, flushing));
  if (sendFromAccept != nullptr) {
    sendFromAccept->Send(MakePackage(9, PlayerPayload(1, "from accept")));
    sendFromAccept = nullptr;
  }
}

ycOrderCallBacks callbacks = {Start, Accept};

class ExchangeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    applied.clear();
    started = 0;
    sendFromAccept = nullptr;
  }
  bool Flush(YCommsBase& comms, uint32_t frame) {
    flushing = frame;
    return comms.Flush(frame);
  }
  // A client connection stand-in: the server only compares and numbers it.
  ConnectionData* Connection(int index) { return reinterpret_cast<ConnectionData*>(&fakeConnections_[index]); }

 private:
  int fakeConnections_[4] = {};
};

TEST_F(ExchangeTest, SinglePlayerAppliesOrdersNextFrameInIssueOrder) {
  YSinglePlayerComms comms;
  comms.Run(&callbacks);
  EXPECT_EQ(started, 1);
  EXPECT_TRUE(comms.Running());
  comms.Send(MakePackage(5, "first"));
  comms.Send(MakePackage(3, "second"));
  EXPECT_TRUE(Flush(comms, 4));
  EXPECT_EQ(applied, (std::vector<Applied>{{5, "first", 4, 4}, {3, "second", 4, 4}}));
  EXPECT_TRUE(Flush(comms, 5));
  EXPECT_EQ(applied.size(), 2u);
}

TEST_F(ExchangeTest, SinglePlayerOrderSentFromAcceptWaitsAFrame) {
  YSinglePlayerComms comms;
  comms.Run(&callbacks);
  comms.Send(MakePackage(5, "first"));
  sendFromAccept = &comms;
  EXPECT_TRUE(Flush(comms, 1));
  ASSERT_EQ(applied.size(), 1u);
  EXPECT_TRUE(Flush(comms, 2));
  ASSERT_EQ(applied.size(), 2u);
  EXPECT_EQ(applied[1].kind, 9);
  EXPECT_EQ(applied[1].appliedAt, 2u);
}

TEST_F(ExchangeTest, ServerWaitsForAMissingContributor) {
  YServerComms server(nullptr, 2);
  ycPlayerRecord client;
  client.connection = Connection(1);
  ASSERT_TRUE(server.AddClient(&client));
  server.Run(&callbacks);
  server.Send(MakePackage(5, PlayerPayload(1, "own")));
  EXPECT_FALSE(Flush(server, 0));
  EXPECT_FALSE(Flush(server, 0));  // asked again: its own orders are not handed in twice
  ycOrderFrame frame = Frame(0, {{7, PlayerPayload(2, "theirs")}});
  EXPECT_TRUE(server.Receive(Connection(1), frame));
  // The first L frames run once list 0 went out; frame L applies it.
  EXPECT_TRUE(Flush(server, 0));
  EXPECT_TRUE(Flush(server, 1));
  EXPECT_TRUE(applied.empty());
  frame = Frame(1, {});
  EXPECT_TRUE(server.Receive(Connection(1), frame));
  EXPECT_TRUE(Flush(server, 2));
  EXPECT_EQ(applied, (std::vector<Applied>{{5, PlayerPayload(1, "own"), 0, 2}, {7, PlayerPayload(2, "theirs"), 0, 2}}));
  // Frame 3 needs list 1, which has the client's part and now the server's.
  EXPECT_TRUE(Flush(server, 3));
  frame = Frame(2, {});
  EXPECT_TRUE(server.Receive(Connection(1), frame));
  EXPECT_TRUE(Flush(server, 4));
  // List 3 has the server's part only: frame 5 waits for the client.
  EXPECT_FALSE(Flush(server, 5));
  EXPECT_FALSE(Flush(server, 5));
}

TEST_F(ExchangeTest, ServerRefusesAFifthPlayerAndIgnoresAnUnknownLeave) {
  YServerComms server(nullptr, 2);
  ycPlayerRecord records[4];
  for (int index = 0; index < 4; ++index) {
    records[index].name[0] = 'p';
    records[index].name[1] = static_cast<char>('0' + index);
    records[index].connection = Connection(index);
  }
  EXPECT_TRUE(server.AddClient(&records[0]));
  EXPECT_TRUE(server.AddClient(&records[1]));
  EXPECT_TRUE(server.AddClient(&records[2]));
  EXPECT_FALSE(server.AddClient(&records[3]));
  EXPECT_EQ(server.PlayerCount(), 4u);
  server.RemoveClient(&records[3]);
  EXPECT_EQ(server.PlayerCount(), 4u);
  ycPlayerRecord renamed = records[1];
  std::strcpy(renamed.name, "someone");
  server.RemoveClient(&renamed);
  EXPECT_EQ(server.PlayerCount(), 4u);
  server.RemoveClient(&records[1]);
  EXPECT_EQ(server.PlayerCount(), 3u);
  EXPECT_STREQ(server.Client(1).name, "p0");
  EXPECT_STREQ(server.Client(2).name, "p2");
}

TEST_F(ExchangeTest, ServerClosesOnARepeatedOrSkippedFrame) {
  YServerComms server(nullptr, 2);
  ycPlayerRecord client;
  client.connection = Connection(1);
  server.AddClient(&client);
  ycOrderFrame skipped = Frame(1, {});
  EXPECT_FALSE(server.Receive(Connection(1), skipped));
  ycOrderFrame first = Frame(0, {});
  EXPECT_TRUE(server.Receive(Connection(1), first));
  ycOrderFrame repeated = Frame(0, {});
  EXPECT_FALSE(server.Receive(Connection(1), repeated));
  ycOrderFrame next = Frame(1, {});
  EXPECT_TRUE(server.Receive(Connection(1), next));
}

int32_t PlayerOfConnection(ConnectionData*) { return 2; }

TEST_F(ExchangeTest, ServerDropsOrdersAClientGivesForAnotherPlayer) {
  YServerComms server(nullptr, 1);
  server.SetPlayerLookup(PlayerOfConnection);
  ycPlayerRecord client;
  client.connection = Connection(1);
  server.AddClient(&client);
  server.Run(&callbacks);
  ycOrderFrame frame = Frame(0, {{5, PlayerPayload(2, "mine")},
                                 {5, PlayerPayload(1, "the host's")},
                                 {60, "ab"},  // too short to name a player
                                 {0, "S 2hello"},
                                 {0, "S 1forged chat"},
                                 {0, "P"},
                                 {99, "beyond the kinds"}});
  EXPECT_TRUE(server.Receive(Connection(1), frame));
  EXPECT_TRUE(Flush(server, 0));
  EXPECT_TRUE(Flush(server, 1));
  EXPECT_EQ(applied, (std::vector<Applied>{{5, PlayerPayload(2, "mine"), 0, 1},
                                           {0, "S 2hello", 0, 1},
                                           {0, "P", 0, 1},
                                           {99, "beyond the kinds", 0, 1}}));
}

TEST_F(ExchangeTest, ServerListOfAQuietFrameHoldsOneNullOrderPerPlayerAndDeliversNothing) {
  YServerComms server(nullptr, 0);
  ycPlayerRecord client;
  client.connection = Connection(1);
  server.AddClient(&client);
  server.Run(&callbacks);
  ycOrderFrame frame = Frame(0, {{5, ""}});  // a payload of 0 bytes is a null order, whatever its kind
  EXPECT_TRUE(server.Receive(Connection(1), frame));
  EXPECT_TRUE(Flush(server, 0));
  EXPECT_TRUE(applied.empty());
}

TEST_F(ExchangeTest, ServerGoesOnWithoutAPlayerWhoLeft) {
  YServerComms server(nullptr, 1);
  ycPlayerRecord first;
  first.connection = Connection(1);
  ycPlayerRecord second;
  second.connection = Connection(2);
  server.AddClient(&first);
  server.AddClient(&second);
  server.Run(&callbacks);
  ycOrderFrame frame = Frame(0, {{5, PlayerPayload(2)}});
  server.Receive(Connection(1), frame);
  EXPECT_FALSE(Flush(server, 0));
  ycPlayerRecord removed;
  EXPECT_TRUE(server.RemoveClientOf(Connection(2), &removed));
  EXPECT_EQ(removed.connection, Connection(2));
  EXPECT_FALSE(server.RemoveClientOf(Connection(2), &removed));
  EXPECT_TRUE(Flush(server, 0));
  EXPECT_TRUE(Flush(server, 1));
  EXPECT_EQ(applied.size(), 1u);
}

struct ClientReadiness {
  uint32_t latency;
  uint32_t lastFrameRunsAlone;  // the last frame that runs with no list received
};

class ClientReadinessTest : public ExchangeTest, public ::testing::WithParamInterface<uint32_t> {};

TEST_P(ClientReadinessTest, RunsAheadOfTheLastListByFewerThanTheLatency) {
  const uint32_t latency = GetParam();
  YClientComms client(nullptr);
  client.Run(&callbacks);
  client.SetLatency(latency);
  uint32_t frame = 0;
  while (frame < 100 && Flush(client, frame)) {
    ++frame;
  }
  if (latency == 0) {
    EXPECT_EQ(frame, 100u);  // always ready
    return;
  }
  EXPECT_EQ(frame, latency);
  ycOrderFrame list = Frame(0, {{5, PlayerPayload(1, "x")}});
  EXPECT_TRUE(client.Receive(nullptr, list));
  EXPECT_TRUE(Flush(client, frame));
  EXPECT_EQ(applied, (std::vector<Applied>{{5, PlayerPayload(1, "x"), 0, latency}}));
  ++frame;
  // Past the last list received (0) by L: it waits until list 1 comes.
  EXPECT_FALSE(Flush(client, frame));
  list = Frame(1, {});
  EXPECT_TRUE(client.Receive(nullptr, list));
  EXPECT_TRUE(Flush(client, frame));
}

INSTANTIATE_TEST_SUITE_P(Latencies, ClientReadinessTest, ::testing::Values(0u, 2u, 6u, 12u));

TEST_F(ExchangeTest, ClientRefusesFramesOutOfOrder) {
  YClientComms client(nullptr);
  client.Run(&callbacks);
  client.SetLatency(2);
  ycOrderFrame frame = Frame(1, {});
  EXPECT_FALSE(client.Receive(nullptr, frame));
  frame = Frame(0, {});
  EXPECT_TRUE(client.Receive(nullptr, frame));
  frame = Frame(0, {});
  EXPECT_FALSE(client.Receive(nullptr, frame));
}

}  // namespace

namespace {

TEST_F(ExchangeTest, ServerGoesOnWhenAPlayerWhoRanAheadLeaves) {
  YServerComms server(nullptr, 2);
  ycPlayerRecord ahead;
  ahead.connection = Connection(1);
  ycPlayerRecord behind;
  behind.connection = Connection(2);
  server.AddClient(&ahead);
  server.AddClient(&behind);
  server.Run(&callbacks);
  for (uint32_t frame = 0; frame < 4; ++frame) {
    ycOrderFrame list = Frame(frame, {{5, PlayerPayload(2, "ahead " + std::to_string(frame))}});
    EXPECT_TRUE(server.Receive(Connection(1), list));
  }
  for (uint32_t frame = 0; frame < 2; ++frame) {
    ycOrderFrame list = Frame(frame, {});
    EXPECT_TRUE(server.Receive(Connection(2), list));
  }
  EXPECT_TRUE(Flush(server, 0));
  EXPECT_TRUE(Flush(server, 1));
  server.RemoveClientOf(Connection(1), nullptr);
  // Lists 2 and 3 hold the leaver's part, but still wait for the others.
  EXPECT_TRUE(Flush(server, 2));
  EXPECT_TRUE(Flush(server, 3));
  EXPECT_FALSE(Flush(server, 4));
  for (uint32_t frame = 2; frame < 6; ++frame) {
    ycOrderFrame list = Frame(frame, {});
    EXPECT_TRUE(server.Receive(Connection(2), list));
  }
  for (uint32_t frame = 4; frame < 8; ++frame) {
    EXPECT_TRUE(Flush(server, frame)) << frame;
  }
  ASSERT_EQ(applied.size(), 4u);
  EXPECT_EQ(applied[3], (Applied{5, PlayerPayload(2, "ahead 3"), 3, 5}));
}

}  // namespace
