// A server and two clients side by side in one process, over loopback
// through the network library's events: every player applies the same
// orders in the same frames and the same order.

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "CommsFixture.h"
#include "OrderTestSupport.h"
#include "game/YClientComms.h"
#include "game/YCommsReader.h"
#include "game/YServerComms.h"
#include "network/ConnectionData.h"
#include "network/ServerData.h"
#include "runtime/DebugLog.h"
#include "support/DebugLogReader.h"

namespace {

using namespace comms_testing;

constexpr int kPlayers = 3;  // the server's player and two clients

struct Player {
  YCommsBase* comms = nullptr;
  uint32_t frame = 0;   // the frame the player's game shows next
  int64_t handedIn = -1;  // the last frame whose orders were sent
  std::vector<Applied> applied;
};

struct ReceivedFrame {
  uint32_t frame;
  size_t orders;
  size_t nullOrders;
};

struct Rig {
  ServerData* server = nullptr;
  std::unique_ptr<YServerComms> serverComms;
  std::unique_ptr<YClientComms> clientComms[2];
  Player players[kPlayers];
  std::mutex acceptedLock;
  std::vector<ConnectionData*> accepted;  // server side, in order
  std::map<ConnectionData*, YCommsReader> readers;
  std::map<ConnectionData*, int> clientOfConnection;  // client side: 1 or 2
  std::vector<ReceivedFrame> framesAtClient1;
};

Rig* rig = nullptr;

template <int Index>
void Accept(COrderPackage* package, uint32_t frame) {
  Player& player = rig->players[Index];
  player.applied.push_back(Describe(package, frame, player.frame));
}

ycOrderCallBacks callbacks[kPlayers] = {{nullptr, Accept<0>}, {nullptr, Accept<1>}, {nullptr, Accept<2>}};

bool AcceptConnection(ConnectionData* connection) {
  std::lock_guard lock(rig->acceptedLock);
  rig->accepted.push_back(connection);
  return true;
}

template <typename Handle>
void ReadAll(ConnectionData* connection, Handle handle) {
  YCommsReader& reader = rig->readers[connection];
  reader.StartEvent();
  const YCommsReader::ByteSource next = [connection](uint8_t& byte) { return Read(connection, &byte, 1); };
  for (;;) {
    const YCommsReader::Status status = reader.Pull(next);
    ASSERT_NE(status, YCommsReader::Status::Fault) << reader.Fault();
    if (status == YCommsReader::Status::Pending) {
      return;
    }
    handle(reader.Message());
  }
}

void ServerRead(ConnectionData* connection) {
  ReadAll(connection, [connection](YCommsMessage& message) {
    ASSERT_EQ(message.type, kCommsOrderFrame);
    EXPECT_TRUE(rig->serverComms->Receive(connection, message.frame));
  });
}

void ClientRead(ConnectionData* connection) {
  const int index = rig->clientOfConnection[connection];
  YClientComms& comms = *rig->clientComms[index - 1];
  ReadAll(connection, [&](YCommsMessage& message) {
    if (message.type == kCommsLatency) {
      comms.Run(&callbacks[index]);
      comms.SetLatency(message.latency);
      return;
    }
    ASSERT_EQ(message.type, kCommsOrderFrame);
    if (index == 1) {
      size_t nulls = 0;
      for (const ycReceivedOrder& order : message.frame.orders) {
        nulls += order.payload.empty() ? 1 : 0;
      }
      rig->framesAtClient1.push_back({message.frame.frame, message.frame.orders.size(), nulls});
    }
    EXPECT_TRUE(comms.Receive(connection, message.frame));
  });
}

ConnectionHandlers serverHandlers = {{nullptr, nullptr, ServerRead}};
ConnectionHandlers clientHandlers = {{nullptr, nullptr, ClientRead}};

// Orders a player issues while its game shows a frame.
struct Issue {
  int player;
  uint32_t frame;
  int16_t kind;
};

class LockStepTest : public ::testing::TestWithParam<uint32_t> {
 protected:
  void SetUp() override {
    StartRuntime();
    rig_ = std::make_unique<Rig>();
    rig = rig_.get();
  }
  void TearDown() override {
    rig_->clientComms[0].reset();
    rig_->clientComms[1].reset();
    rig_->serverComms.reset();
    DestroyServer(rig_->server);
    StopRuntime();
    rig = nullptr;
  }

  void Connect(uint32_t latency) {
    rig->server = CreateServerEx("lock step", "", AcceptConnection, &serverHandlers, 0);
    ASSERT_NE(rig->server, nullptr);
    rig->serverComms = std::make_unique<YServerComms>(rig->server, latency);
    rig->players[0].comms = rig->serverComms.get();
    for (int index = 1; index <= 2; ++index) {
      HostData host = LoopbackHost(rig->server->port);
      ConnectionData* connection = OpenConnection(&host, &clientHandlers);
      ASSERT_NE(connection, nullptr);
      rig->clientOfConnection[connection] = index;
      rig->clientComms[index - 1] = std::make_unique<YClientComms>(connection);
      rig->players[index].comms = rig->clientComms[index - 1].get();
      ASSERT_TRUE(PumpUntil([&] {
        std::lock_guard lock(rig->acceptedLock);
        return rig->accepted.size() == static_cast<size_t>(index);
      }));
      ycPlayerRecord record;
      record.connection = rig->accepted.back();
      ASSERT_TRUE(rig->serverComms->AddClient(&record));
    }
    rig->serverComms->Run(&callbacks[0]);
    ASSERT_TRUE(PumpUntil([] { return rig->clientComms[0]->Running() && rig->clientComms[1]->Running(); }));
  }

  // Every player steps its game as far as its comms let it, issuing the
  // scripted orders before it hands in a frame, until all reach `frames`.
  void Play(uint32_t frames, const std::vector<Issue>& script) {
    const bool done = PumpUntil(
        [&] {
          bool all = true;
          for (int index = 0; index < kPlayers; ++index) {
            Player& player = rig->players[index];
            while (player.frame < frames) {
              if (player.handedIn != static_cast<int64_t>(player.frame)) {
                for (const Issue& issue : script) {
                  if (issue.player == index && issue.frame == player.frame) {
                    player.comms->Send(MakePackage(issue.kind, PlayerPayload(index + 1, "at " + std::to_string(issue.frame))));
                  }
                }
                player.handedIn = player.frame;
              }
              if (!player.comms->Flush(player.frame)) {
                break;
              }
              ++player.frame;
            }
            all = all && player.frame >= frames;
          }
          return all;
        },
        10000ms);
    ASSERT_TRUE(done);
  }

  std::unique_ptr<Rig> rig_;
};

TEST_P(LockStepTest, EveryPlayerAppliesFrameFOrdersAtFPlusLatencyInOneOrder) {
  const uint32_t latency = GetParam();
  Connect(latency);
  const std::vector<Issue> script = {{0, 0, 5}, {1, 0, 3}, {2, 0, 7}, {1, 3, 8}, {1, 3, 9},
                                     {2, 5, 10}, {0, 5, 11}, {0, 9, 12}, {2, 14, 14}};
  const uint32_t frames = 16 + latency;
  Play(frames, script);
  const std::vector<Applied>& reference = rig->players[0].applied;
  ASSERT_EQ(reference.size(), script.size());
  for (int index = 1; index < kPlayers; ++index) {
    EXPECT_EQ(rig->players[index].applied, reference) << "player " << index;
  }
  for (const Applied& order : reference) {
    EXPECT_EQ(order.appliedAt, order.issued + latency);
    EXPECT_EQ(order.payload.substr(4), "at " + std::to_string(order.issued));
  }
  // Each player's orders of one frame keep their issue order.
  for (size_t at = 0; at + 1 < reference.size(); ++at) {
    if (reference[at].payload == reference[at + 1].payload && reference[at].kind == 8) {
      EXPECT_EQ(reference[at + 1].kind, 9);
    }
  }
  // A quiet frame carries one null order per player.
  bool sawQuiet = false;
  for (const ReceivedFrame& frame : rig->framesAtClient1) {
    if (frame.frame == 1) {
      sawQuiet = true;
      EXPECT_EQ(frame.orders, 3u);
      EXPECT_EQ(frame.nullOrders, 3u);
    }
  }
  EXPECT_TRUE(sawQuiet);
}

TEST_F(LockStepTest, TraceLinesAreWrittenOnlyAtTheMaximumDebugLevel) {
  SetDebugLevel(DebugLevelExtended);
  Connect(2);
  Play(4, {{0, 0, 5}, {1, 1, 3}});
  EXPECT_EQ(testing_support::ReadDebugLog().find("*MP*"), std::string::npos);
  SetDebugLevel(DebugLevelMaximum);
  Play(8, {{0, 5, 5}, {1, 5, 3}});
  const std::string log = testing_support::ReadDebugLog();
  EXPECT_NE(log.find("*MP* ServerComms::Flush() (frame = 5, previousFrame = 4)\n"), std::string::npos);
  EXPECT_NE(log.find("*MP* ClientComms::Send() (COrderPackage*, type = 3, length = 8)\n"), std::string::npos);
  EXPECT_NE(log.find("*MP*            - flush first list (frame = 7, list->Frame = 5, latency = 2)\n"),
            std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Latencies, LockStepTest, ::testing::Values(2u, 6u, 12u));

}  // namespace
