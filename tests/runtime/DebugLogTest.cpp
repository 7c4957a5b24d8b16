#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

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

// The log's text cut at every carriage return and line feed; a line torn by
// another thread's text shows as a line that no thread wrote.
std::vector<std::string> LogLines() {
  std::vector<std::string> lines;
  const std::string bytes = ReadDebugLogBytes();
  size_t start = 0;
  for (size_t end = bytes.find("\r\n"); end != std::string::npos; end = bytes.find("\r\n", start)) {
    lines.push_back(bytes.substr(start, end - start));
    start = end + 2;
  }
  if (start < bytes.size()) {
    lines.push_back(bytes.substr(start));
  }
  return lines;
}

std::string ThreadLine(int thread, int line) {
  std::ostringstream text;
  text << "thread " << thread << " line " << line;
  return text.str();
}

// Each message is two lines, so a message torn between its text and its
// line feeds shows too.
void LogFromThread(int thread, int line) {
  const std::string message = ThreadLine(thread, line) + "\n" + ThreadLine(thread, line) + " again\n";
  DebugMessage(message.c_str());
}

TEST_F(DebugLogTest, ThreadsLoggingAtOnceWriteWholeMessages) {
  constexpr int kThreads = 4;
  constexpr int kMessages = 400;
  StartDebugLog({"Off", "", "Overwrite"}, DebugModeOff);
  std::vector<std::thread> threads;
  for (int thread = 0; thread < kThreads; ++thread) {
    threads.emplace_back([thread] {
      for (int line = 0; line < kMessages; ++line) {
        LogFromThread(thread, line);
      }
    });
  }
  for (std::thread& thread : threads) {
    thread.join();
  }
  CloseDebugLog();

  std::vector<std::string> lines = LogLines();
  ASSERT_EQ(lines.size(), static_cast<size_t>(2 * kThreads * kMessages));
  // Every message's two lines follow each other.
  for (size_t index = 0; index + 1 < lines.size(); index += 2) {
    ASSERT_EQ(lines[index] + " again", lines[index + 1]) << "at line " << index;
  }
  std::vector<std::string> expected;
  for (int thread = 0; thread < kThreads; ++thread) {
    for (int line = 0; line < kMessages; ++line) {
      expected.push_back(ThreadLine(thread, line));
      expected.push_back(ThreadLine(thread, line) + " again");
    }
  }
  std::sort(lines.begin(), lines.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(lines, expected);
}

TEST_F(DebugLogTest, MessagesFromOtherThreadsAfterTheLogClosedAreDropped) {
  StartDebugLog({}, DebugModeOverwrite);
  std::atomic<bool> closed{false};
  std::atomic<int> started{0};
  std::vector<std::thread> threads;
  for (int thread = 0; thread < 3; ++thread) {
    threads.emplace_back([&, thread] {
      ++started;
      int line = 0;
      // Logs while the log closes, then a good many messages more.
      for (int afterClose = 0; afterClose < 200; ++line) {
        LogFromThread(thread, line);
        if (closed) {
          ++afterClose;
        }
      }
    });
  }
  while (started < 3) {
    std::this_thread::yield();
  }
  while (!std::filesystem::exists("Debug.txt") || std::filesystem::file_size("Debug.txt") < 2000) {
    std::this_thread::yield();
  }
  CloseDebugLog();
  const std::string atClose = ReadDebugLogBytes();
  closed = true;
  for (std::thread& thread : threads) {
    thread.join();
  }

  EXPECT_EQ(ReadDebugLogBytes(), atClose);
  const std::vector<std::string> lines = LogLines();
  ASSERT_EQ(lines.size() % 2, 0u);
  for (size_t index = 0; index + 1 < lines.size(); index += 2) {
    ASSERT_EQ(lines[index] + " again", lines[index + 1]) << "at line " << index;
  }
}

}  // namespace
