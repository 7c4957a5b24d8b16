// Front-end calls one player makes on its own: searches, a client's start,
// the comms object's life. Calls that start the network run in a child
// process, since the front end's state is global.

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>

#include "CommsFixture.h"
#include "FrontEndProcesses.h"
#include "OrderTestSupport.h"
#include "game/CommsFrontEnd.h"
#include "game/YServerComms.h"
#include "game/YSinglePlayerComms.h"
#include "game/YClientComms.h"
#include "network/ServerData.h"
#include <netinet/in.h>

namespace {

using namespace comms_testing;

int ThreadCount() {
  int count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/task")) {
    ++count;
  }
  return count;
}

// Runs the body in a child with the run-time system and network started.
int InChild(const std::function<bool()>& body) { return Reap(Spawn("child", body), 30000ms); }

TEST(FrontEndCallsTest, SearchesBeyondTheTableAreClosedAndAPollLeavesNoSearchThread) {
  EXPECT_EQ(InChild([] {
              CommsStartClient(nullptr, nullptr, nullptr, nullptr);
              ycServerRecord record;
              std::strcpy(record.address, "127.0.0.1");
              record.port = 9;  // nobody answers
              // One search opened and polled first: a sanitizer's runtime
              // starts a thread of its own with the process's first thread.
              CommsQueryServer(&record);
              CommsPollServers();
              std::this_thread::sleep_for(100ms);
              const int before = ThreadCount();
              for (int search = 0; search < 300; ++search) {
                CommsQueryServer(&record);
              }
              const bool capped = CommsOpenSearchCount() == kMostOpenSearches;
              CommsPollServers();
              int after = ThreadCount();
              for (int wait = 0; wait < 500 && after != before; ++wait) {
                std::this_thread::sleep_for(10ms);
                after = ThreadCount();
              }
              return capped && CommsOpenSearchCount() == 0 && after == before;
            }),
            0);
}

std::vector<ycServerRecord> found;
void Found(ycServerRecord* record) { found.push_back(*record); }

TEST(FrontEndCallsTest, AFoundServerWithLongNamesIsCutToItsRecord) {
  EXPECT_EQ(InChild([] {
              ServerData* server = CreateServerEx(std::string(40, 'N').c_str(), std::string(20, 'I').c_str(), nullptr,
                                                  nullptr, 0);
              if (server == nullptr) {
                return false;
              }
              static ycSearchCallBacks search = {Found, nullptr};
              CommsStartClient(&search, nullptr, nullptr, nullptr);
              ycServerRecord record;
              std::strcpy(record.address, "127.0.0.1");
              record.port = server->port;
              for (int attempt = 0; attempt < 20 && found.empty(); ++attempt) {
                CommsQueryServer(&record);
                std::this_thread::sleep_for(100ms);
                CommsPollServers();
              }
              const bool cut = found.size() == 1 && std::string(found[0].name) == std::string(31, 'N') &&
                               std::string(found[0].info) == std::string(13, 'I') &&
                               std::string(found[0].address) == "127.0.0.1" && found[0].port == server->port &&
                               found[0].host != nullptr;
              DestroyServer(server);
              return cut;
            }),
            0);
}

TEST(FrontEndCallsTest, AServerThatCannotStartMakesNoCommsObject) {
  EXPECT_EQ(InChild([] {
              // Every port the server could take is held.
              setenv("YOB_NET_PORT_BASE", "24813", 1);
              std::vector<int> held;
              for (int index = 0; index < 19; ++index) {
                const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
                sockaddr_in address{};
                address.sin_family = AF_INET;
                address.sin_port = htons(static_cast<uint16_t>(24813 + index));
                bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
                held.push_back(fd);
              }
              ycServerRecord record;
              const bool started = CommsStartServer(nullptr, &record, 2);
              const bool none = CommsObject() == nullptr && CommsServer() == nullptr;
              for (const int fd : held) {
                close(fd);
              }
              return !started && none;
            }),
            0);
}

std::string clientLog;
void LatencyStart() { AppendLine(Shared("client.log"), "start"); }
void NoAccept(COrderPackage*, uint32_t) {}

TEST(FrontEndCallsTest, ALatencyMessageStartsAWaitingClientOnlyOnce) {
  RawServer server;
  const pid_t client = Spawn("client", [&server] {
    static ycOrderCallBacks orders = {LatencyStart, NoAccept};
    ycPlayerRecord own;
    std::strcpy(own.name, "fourteen chars");
    CommsStartClient(nullptr, nullptr, &orders, &own);
    HostData host = LoopbackHost(server.Port());
    ycServerRecord record;
    record.host = &host;
    CommsJoinServer(&orders, &record);
    PumpUntil([] { return FlagSet("stop"); }, 10000ms);
    auto* comms = dynamic_cast<YClientComms*>(CommsObject());
    const bool latencyKept = comms != nullptr && comms->Latency() == 6;
    CommsCloseClient();
    CommsDestroy();
    return latencyKept;
  });
  ASSERT_TRUE(server.AcceptClient());
  const Bytes join = server.Receive(500ms);
  ASSERT_EQ(join.size(), 38u);
  EXPECT_EQ(join[0], 0);
  EXPECT_EQ(std::string(join.begin() + 1, join.begin() + 15), "fourteen chars");
  server.Send(LengthFieldMessage(4, 6));
  ASSERT_TRUE(WaitForText("client.log", "start"));
  server.Send(LengthFieldMessage(4, 12));
  std::this_thread::sleep_for(300ms);
  SetFlag("stop");
  EXPECT_EQ(Reap(client), 0);
  EXPECT_EQ(CountOf(ReadText("client.log"), "start"), 1);
}

// The calls below touch no network and leave the front end as they found it.

TEST(FrontEndCallsTest, CreatingASecondServerObjectReplacesTheFirst) {
  CommsCreateServer(nullptr, 2);
  CommsCreateServer(nullptr, 6);
  auto* server = dynamic_cast<YServerComms*>(CommsObject());
  ASSERT_NE(server, nullptr);
  EXPECT_EQ(server->Latency(), 6u);
  CommsCreateClient(nullptr);
  EXPECT_NE(dynamic_cast<YClientComms*>(CommsObject()), nullptr);
  CommsDestroy();
  EXPECT_EQ(CommsObject(), nullptr);
}

std::vector<Applied> applied;
void Accept(COrderPackage* package, uint32_t frame) { applied.push_back(Describe(package, frame, frame)); }

TEST(FrontEndCallsTest, SinglePlayerRunsWithoutAnyCommsObjectMade) {
  applied.clear();
  EXPECT_FALSE(CommsFlush(0));
  CommsSend(MakePackage(5, "before any object"));  // freed, not kept
  ycOrderCallBacks callbacks = {nullptr, Accept};
  CommsRun(&callbacks);
  ASSERT_NE(dynamic_cast<YSinglePlayerComms*>(CommsObject()), nullptr);
  CommsSend(MakePackage(5, "one"));
  CommsSend(MakePackage(6, "two"));
  EXPECT_TRUE(CommsFlush(3));
  CommsDestroy();
  EXPECT_EQ(applied, (std::vector<Applied>{{5, "one", 3, 3}, {6, "two", 3, 3}}));
}

TEST(FrontEndCallsTest, AJoinWithoutAFoundServerDoesNothing) {
  ycServerRecord record;
  CommsJoinServer(nullptr, &record);
  CommsJoinServer(nullptr, nullptr);
  EXPECT_EQ(CommsConnection(), nullptr);
  EXPECT_EQ(CommsObject(), nullptr);
}

TEST(PlayerRecordTest, FullNameAndAddressRoundTripWithoutTheirNul) {
  ycPlayerRecord record;
  std::strcpy(record.name, "fourteen chars");
  std::strcpy(record.address, "255.255.255.255");
  record.port = 0x12345678;
  uint8_t wire[kPlayerRecordWireSize];
  EncodePlayerRecord(record, 7, wire);
  EXPECT_EQ(std::memcmp(wire, "fourteen chars255.255.255.255", 29), 0);
  EXPECT_EQ(LoadU32(wire + 29), 0x12345678u);
  EXPECT_EQ(LoadU32(wire + 33), 7u);
  const ycPlayerRecord back = DecodePlayerRecord(wire);
  EXPECT_STREQ(back.name, "fourteen chars");
  EXPECT_STREQ(back.address, "255.255.255.255");
  EXPECT_EQ(back.port, record.port);
  EXPECT_EQ(back.connection, nullptr);
}

TEST(PlayerRecordTest, FieldsStopAtTheirFirstNulAndCopiesAreCut) {
  uint8_t wire[kPlayerRecordWireSize];
  std::memset(wire, 'x', sizeof wire);
  wire[3] = 0;
  ycPlayerRecord record = DecodePlayerRecord(wire);
  EXPECT_STREQ(record.name, "xxx");
  EXPECT_EQ(std::string(record.address), std::string(15, 'x'));
  char field[16];
  CopyField(field, sizeof field, "0123456789abcdefghij");
  EXPECT_STREQ(field, "0123456789abcde");
  CopyField(field, sizeof field, nullptr);
  EXPECT_STREQ(field, "");
}

}  // namespace
