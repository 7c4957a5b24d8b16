#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "CompoundArchiveSupport.h"
#include "RTSFixture.h"
#include "platform/Testing.h"
#include "runtime/Compound.h"
#include "runtime/RTS.h"
#include "support/DebugLogReader.h"

namespace rts_testing {
namespace {

void WriteConfiguration(const std::string& text) {
  std::ofstream("LumoYobbieDemo.ini", std::ios::binary) << text;
}

bool Logged(const std::string& log, std::string line) {
  line.replace(line.size() - 1, 1, "\r\n");
  return log.find(line) != std::string::npos;
}

TEST_F(RTSTest, StartUpOpensTheGlobalArchiveAndShutdownClosesIt) {
  compound_test::StoreBytes("Global.lmp", compound_test::BuildArchive({{"town.dat", "town"}}));
  WriteConfiguration("[Source]\nName=Global\n");

  ASSERT_EQ(Start(), RTSSuccess);
  CompoundHandle global = GetCompound();
  ASSERT_NE(global, nullptr);
  EXPECT_EQ(compound_test::ReadEntry(global, "TOWN.DAT"), "town");
  EXPECT_EQ(GetCompoundFlags(global), 0u);  // read-only
  ShutdownRTS("", RTSSuccess);
  EXPECT_EQ(GetCompound(), nullptr);

  const std::string log = testing_support::ReadDebugLogBytes();
  EXPECT_TRUE(Logged(log, "Global compound file opened (Name=Global)\n"));
  EXPECT_TRUE(Logged(log, "PACK file checked\n"));
  EXPECT_TRUE(Logged(log, "Global compound file closed\n"));
}

TEST_F(RTSTest, GlobalArchiveThatDoesNotOpenFailsTheSystemStartWithCodeSeven) {
  compound_test::StoreBytes("Broken.lmp", {'P', 'A', 'C'});
  const char* names[] = {"Missing", "Broken"};
  for (const char* name : names) {
    SCOPED_TRACE(name);
    platform::testing::Reset();
    platform::testing::UseBackend("headless");
    WriteConfiguration(std::string("[Source]\nName=") + name + "\n");
    EXPECT_EQ(Start(), RTSWindowsFailure);
    const std::string log = testing_support::ReadDebugLogBytes();
    EXPECT_TRUE(Logged(log, std::string("Cannot open the global compound file (Name=") + name + ")\n"));
    EXPECT_EQ(GetCompound(), nullptr);
  }
}

TEST_F(RTSTest, StartUpWithoutArchiveNameUsesNone) {
  WriteConfiguration("[Source]\n");
  ASSERT_EQ(Start(), RTSSuccess);
  EXPECT_EQ(GetCompound(), nullptr);
  ShutdownRTS("", RTSSuccess);
  EXPECT_TRUE(Logged(testing_support::ReadDebugLogBytes(), "No compound file used\n"));
}

}  // namespace
}  // namespace rts_testing
