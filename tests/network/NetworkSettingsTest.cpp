#include <arpa/inet.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "NetworkFixture.h"
#include "network/NetworkSettings.h"

namespace network_testing {
namespace {

struct SettingsCase {
  const char* broadcast;  // null: not set
  const char* portBase;
  const char* expectedBroadcast;
  uint16_t expectedPortBase;
  bool logged;
};

TEST_F(NetworkTest, SettingsAreReadEachTimeAndBadValuesGiveTheDefaults) {
  const SettingsCase cases[] = {
      {nullptr, nullptr, "255.255.255.255", 13013, false},
      {"127.255.255.255", "20000", "127.255.255.255", 20000, false},
      {"", "", "255.255.255.255", 13013, false},
      {"127.255.255", "20000x", "255.255.255.255", 13013, true},
      {"localhost", "0", "255.255.255.255", 13013, true},
      {"10.0.0.255", "65517", "10.0.0.255", 65517, false},
      {"10.0.0.255", "65518", "10.0.0.255", 13013, true},
      {"10.0.0.255", "-5", "10.0.0.255", 13013, true},
  };
  for (const SettingsCase& one : cases) {
    SCOPED_TRACE(std::string(one.broadcast ? one.broadcast : "(unset)") + " " + (one.portBase ? one.portBase : "(unset)"));
    one.broadcast ? setenv("YOB_NET_BROADCAST", one.broadcast, 1) : unsetenv("YOB_NET_BROADCAST");
    one.portBase ? setenv("YOB_NET_PORT_BASE", one.portBase, 1) : unsetenv("YOB_NET_PORT_BASE");
    const size_t logBefore = DebugLog().size();
    const NetworkSettings settings = ReadNetworkSettings();
    char broadcast[16];
    inet_ntop(AF_INET, &settings.broadcast, broadcast, sizeof broadcast);
    EXPECT_STREQ(broadcast, one.expectedBroadcast);
    EXPECT_EQ(settings.portBase, one.expectedPortBase);
    EXPECT_EQ(DebugLog().size() > logBefore, one.logged);
  }
  unsetenv("YOB_NET_BROADCAST");
  unsetenv("YOB_NET_PORT_BASE");
}

}  // namespace
}  // namespace network_testing
