#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "runtime/DebugLog.h"
#include "support/DebugLogReader.h"

namespace {

using testing_support::ReadDebugLogBytes;

// Bytes of the log that reached the file so far.
uintmax_t BytesOnDisk() { return std::filesystem::file_size("Debug.txt"); }

class DebugLogTest : public ::testing::Test {
 protected:
  void TearDown() override { CloseDebugLog(); }
};

TEST_F(DebugLogTest, FlushSettingDecidesAfterWhichMessagesTheFileIsWritten) {
  struct Case {
    const char* flush;
    int32_t policy;
    const char* flushedAfter;  // for messages 1 to 8: '+' when the file holds all of them
  };
  const Case cases[] = {
      {"3", 3, "---+---+"},      {"", -1, "++++++++"},     {"Always", -1, "++++++++"},
      {"always", -1, "++++++++"}, {"-4", -1, "++++++++"},   {"1", 1, "-+-+-+-+"},
      {"0", 0, "--------"},      {"Off", 0, "--------"},   {"FALSE", 0, "--------"},
      {"True", 0, "--------"},
  };
  for (const Case& setting : cases) {
    SCOPED_TRACE(setting.flush);
    StartDebugLog({setting.flush, "", "Overwrite"}, DebugModeOff);
    EXPECT_EQ(GetDebugFlushPolicy(), setting.policy);
    std::string seen;
    for (int message = 1; message <= 8; ++message) {
      DebugMessage("line\n");
      seen += BytesOnDisk() == static_cast<uintmax_t>(message) * 6 ? '+' : '-';
    }
    EXPECT_EQ(seen, setting.flushedAfter);
    CloseDebugLog();
    EXPECT_EQ(BytesOnDisk(), 8u * 6u);
  }
}

TEST_F(DebugLogTest, LineFeedsAreWrittenAsCarriageReturnAndLineFeed) {
  StartDebugLog({}, DebugModeOverwrite);
  DebugMessage("a\nb");
  DebugMessage("\n\nc\n");
  CloseDebugLog();
  EXPECT_EQ(ReadDebugLogBytes(), "a\r\nb\r\n\r\nc\r\n");
}

TEST_F(DebugLogTest, ModeNamesAreCaseInsensitiveAndOthersTakeTheDefault) {
  struct Case {
    const char* mode;
    tDebugMode defaultMode;
    tDebugMode expected;
    const char* contents;  // after "old" was in the file and "new" was logged
  };
  const Case cases[] = {
      {"append", DebugModeOverwrite, DebugModeAppend, "oldnew"},
      {"APPEND", DebugModeOff, DebugModeAppend, "oldnew"},
      {"overwrite", DebugModeAppend, DebugModeOverwrite, "new"},
      {"", DebugModeAppend, DebugModeAppend, "oldnew"},
      {"sometimes", DebugModeOverwrite, DebugModeOverwrite, "new"},
      {"", DebugModeOff, DebugModeOff, "old"},
  };
  for (const Case& setting : cases) {
    SCOPED_TRACE(setting.mode);
    std::FILE* old = std::fopen("Debug.txt", "wb");
    std::fputs("old", old);
    std::fclose(old);
    StartDebugLog({"", "", setting.mode}, setting.defaultMode);
    EXPECT_EQ(GetDebugMode(), setting.expected);
    DebugMessage("new");
    CloseDebugLog();
    EXPECT_EQ(ReadDebugLogBytes(), setting.contents);
  }
}

TEST_F(DebugLogTest, LevelNamesAreCaseInsensitiveAndOthersGiveStandard) {
  struct Case {
    const char* level;
    tDebugLevel expected;
  };
  const Case cases[] = {
      {"Minimum", DebugLevelMinimum}, {"standard", DebugLevelStandard}, {"MEDIUM", DebugLevelMedium},
      {"Extended", DebugLevelExtended}, {"maximum", DebugLevelMaximum}, {"", DebugLevelStandard},
      {"4", DebugLevelStandard},
  };
  for (const Case& setting : cases) {
    StartDebugLog({"", setting.level, ""}, DebugModeOff);
    EXPECT_EQ(GetDebugLevel(), setting.expected) << setting.level;
  }
}

TEST_F(DebugLogTest, NothingIsWrittenWithoutALogOrAfterItClosed) {
  StartDebugLog({}, DebugModeOff);
  DebugMessage("lost\n");
  EXPECT_FALSE(std::filesystem::exists("Debug.txt"));

  StartDebugLog({}, DebugModeOverwrite);
  DebugMessage("kept\n");
  CloseDebugLog();
  DebugMessage("lost\n");
  EXPECT_EQ(GetDebugMode(), DebugModeOff);
  EXPECT_EQ(ReadDebugLogBytes(), "kept\r\n");
}

TEST_F(DebugLogTest, SettingTheSameModeAgainKeepsTheFileOpen) {
  StartDebugLog({}, DebugModeOverwrite);
  DebugMessage("one\n");
  EXPECT_EQ(SetDebugMode(DebugModeOverwrite), DebugModeOverwrite);
  DebugMessage("two\n");
  CloseDebugLog();
  EXPECT_EQ(ReadDebugLogBytes(), "one\r\ntwo\r\n");
}

TEST_F(DebugLogTest, LogThatCannotBeOpenedTurnsTheModeOff) {
  std::filesystem::create_directory("Debug.txt");
  EXPECT_EQ(SetDebugMode(DebugModeAppend), DebugModeOff);
  DebugMessage("lost\n");
}

}  // namespace
