#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "runtime/Files.h"

namespace {

void WriteText(const char* name, const std::string& text) {
  std::ofstream(name, std::ios::binary) << text;
}

std::string ReadText(const char* name) {
  std::ifstream file(name, std::ios::binary);
  std::ostringstream contents;
  contents << file.rdbuf();
  return contents.str();
}

struct OpenModeCase {
  tFileMode fileMode;
  tOpenMode openMode;
  bool fileExists;
  bool opens;
  const char* contentsAfterClose;  // null: the file does not exist afterwards
};

TEST(FilesTest, OpenModesCreateKeepOrEmpty) {
  const OpenModeCase cases[] = {
      {FileModeRead, OpenModeExisting, true, true, "old"},
      {FileModeRead, OpenModeExisting, false, false, nullptr},
      {FileModeWrite, OpenModeCreate, true, true, ""},  // mode 1 empties
      {FileModeWrite, OpenModeCreate, false, true, ""},
      {FileModeReadWrite, OpenModeAlways, true, true, "old"},  // mode 2 keeps
      {FileModeReadWrite, OpenModeAlways, false, true, ""},
      {FileModeWrite, OpenModeExisting, false, false, nullptr},
  };
  for (const OpenModeCase& testCase : cases) {
    std::filesystem::remove("case.dat");
    if (testCase.fileExists) {
      WriteText("case.dat", "old");
    }
    FileHandle file = OpenFile("case.dat", testCase.fileMode, testCase.openMode, ShareModeDenyNone);
    EXPECT_EQ(file != nullptr, testCase.opens) << testCase.fileMode << "/" << testCase.openMode;
    CloseFile(file);
    EXPECT_EQ(std::filesystem::exists("case.dat"), testCase.contentsAfterClose != nullptr);
    if (testCase.contentsAfterClose != nullptr) {
      EXPECT_EQ(ReadText("case.dat"), testCase.contentsAfterClose);
    }
  }
}

TEST(FilesTest, ReadingAtTheEndGivesFalseAndZero) {
  WriteText("data.bin", "abc");
  FileHandle file = OpenFile("data.bin", FileModeRead, OpenModeExisting, ShareModeDenyWrite);
  ASSERT_NE(file, nullptr);
  char buffer[8] = {};
  uint32_t countRead = 99;
  EXPECT_TRUE(ReadFile(file, buffer, sizeof buffer, countRead));
  EXPECT_EQ(countRead, 3u);
  EXPECT_EQ(std::string(buffer, 3), "abc");
  EXPECT_FALSE(ReadFile(file, buffer, sizeof buffer, countRead));
  EXPECT_EQ(countRead, 0u);
  EXPECT_TRUE(CloseFile(file));
}

TEST(FilesTest, ExactReadsNeedEveryByte) {
  WriteText("data.bin", "abcdef");
  FileHandle file = OpenFile("data.bin", FileModeRead, OpenModeExisting, ShareModeDenyWrite);
  ASSERT_NE(file, nullptr);
  char buffer[8] = {};
  EXPECT_TRUE(ReadFileExactly(file, buffer, 4));
  EXPECT_EQ(std::string(buffer, 4), "abcd");
  EXPECT_FALSE(ReadFileExactly(file, buffer, 3));  // only two are left
  EXPECT_TRUE(ReadFileExactly(file, buffer, 0));
  EXPECT_FALSE(WriteFileExactly(file, "x", 1));  // opened for reading
  EXPECT_TRUE(CloseFile(file));
  EXPECT_FALSE(ReadFileExactly(nullptr, buffer, 1));
}

TEST(FilesTest, BufferKeepsWritesUntilFlushedAndIsSetOnlyBeforeTheFirstTransfer) {
  FileHandle file = OpenFile("buffered.txt", FileModeWrite, OpenModeCreate, ShareModeDenyNone);
  ASSERT_NE(file, nullptr);
  EXPECT_FALSE(SetFileBuffer(file, 0));
  ASSERT_TRUE(SetFileBuffer(file, 8192));
  EXPECT_TRUE(WriteFileExactly(file, "kept", 4));
  EXPECT_FALSE(SetFileBuffer(file, 8192));
  EXPECT_EQ(ReadText("buffered.txt"), "");
  EXPECT_TRUE(FlushFile(file));
  EXPECT_EQ(ReadText("buffered.txt"), "kept");
  EXPECT_TRUE(CloseFile(file));
  EXPECT_FALSE(SetFileBuffer(nullptr, 8192));
}

TEST(FilesTest, SeekFromTheEndGivesTheLengthAndWritesMixWithReads) {
  FileHandle file = OpenFile("mixed.bin", FileModeReadWrite, OpenModeCreate, ShareModeExclusive);
  ASSERT_NE(file, nullptr);
  uint32_t count = 0;
  EXPECT_TRUE(WriteFile(file, "hello world", 11, count));
  EXPECT_EQ(count, 11u);
  EXPECT_EQ(SeekFile(file, 0, SeekModeEnd), 11);
  EXPECT_EQ(SeekFile(file, 6, SeekModeStart), 6);
  char buffer[5] = {};
  EXPECT_TRUE(ReadFile(file, buffer, 2, count));
  EXPECT_EQ(std::string(buffer, 2), "wo");
  // A write straight after a read lands at the current position.
  EXPECT_TRUE(WriteFile(file, "RL", 2, count));
  EXPECT_EQ(SeekFile(file, -3, SeekModeCurrent), 7);
  EXPECT_EQ(SeekFile(file, -20, SeekModeCurrent), -1);
  EXPECT_TRUE(FlushFile(file));
  EXPECT_EQ(ReadText("mixed.bin"), "hello woRLd");
  EXPECT_TRUE(CloseFile(file));
}

// Asking for the position and the end and going back, as a reader does to
// learn how much is left, moves nothing: reading goes on where it stood, a
// seek before the start is refused, and a reader at the end sees what another
// handle appended once it seeks.
TEST(FilesTest, PositionQueriesKeepTheReadingPlaceAndEndOfFileIsNotSticky) {
  WriteText("grow.bin", "abcdef");
  FileHandle reader = OpenFile("grow.bin", FileModeRead, OpenModeExisting, ShareModeDenyNone);
  ASSERT_NE(reader, nullptr);
  char buffer[8] = {};
  ASSERT_TRUE(ReadFileExactly(reader, buffer, 2));
  EXPECT_EQ(SeekFile(reader, 0, SeekModeCurrent), 2);
  EXPECT_EQ(SeekFile(reader, 0, SeekModeEnd), 6);
  EXPECT_EQ(SeekFile(reader, 2, SeekModeStart), 2);
  EXPECT_EQ(SeekFile(reader, -3, SeekModeCurrent), -1);
  EXPECT_EQ(SeekFile(reader, 0, SeekModeCurrent), 2);
  ASSERT_TRUE(ReadFileExactly(reader, buffer, 4));
  EXPECT_EQ(std::string(buffer, 4), "cdef");
  uint32_t count = 9;
  EXPECT_FALSE(ReadFile(reader, buffer, 1, count));
  EXPECT_EQ(count, 0u);

  FileHandle writer = OpenFile("grow.bin", FileModeReadWrite, OpenModeExisting, ShareModeDenyNone);
  ASSERT_NE(writer, nullptr);
  EXPECT_EQ(SeekFile(writer, 0, SeekModeEnd), 6);
  EXPECT_TRUE(WriteFileExactly(writer, "gh", 2));
  EXPECT_TRUE(FlushFile(writer));
  EXPECT_EQ(SeekFile(reader, 0, SeekModeCurrent), 6);
  EXPECT_TRUE(ReadFile(reader, buffer, 4, count));
  EXPECT_EQ(std::string(buffer, count), "gh");
  // A seek to a place away from the stream's moves it.
  EXPECT_EQ(SeekFile(reader, 1, SeekModeStart), 1);
  ASSERT_TRUE(ReadFileExactly(reader, buffer, 3));
  EXPECT_EQ(std::string(buffer, 3), "bcd");
  CloseFile(writer);
  CloseFile(reader);
}

// Looks ahead and back, as a reader comparing a marker before taking it does:
// back inside what was read, to the buffer's first byte, forward over bytes
// not yet read and past the end read, each read after a seek answering the
// bytes at that place.
TEST(FilesTest, SeeksBackAndForthReadTheBytesAtEachPlace) {
  std::string text;
  for (int32_t index = 0; index < 20000; ++index) {
    text += static_cast<char>('a' + index % 23);
  }
  WriteText("marks.bin", text);
  FileHandle reader = OpenFile("marks.bin", FileModeRead, OpenModeExisting, ShareModeDenyNone);
  ASSERT_NE(reader, nullptr);
  char buffer[16] = {};
  const int32_t places[] = {0, 5, 3, 0, 4090, 4100, 4093, 9, 12000, 11990, 19990, 2, 19996, 19998};
  for (const int32_t place : places) {
    ASSERT_EQ(SeekFile(reader, place, SeekModeStart), place);
    uint32_t count = 0;
    ASSERT_TRUE(ReadFile(reader, buffer, 6, count)) << place;
    EXPECT_EQ(std::string(buffer, count), text.substr(static_cast<size_t>(place), 6)) << place;
    EXPECT_EQ(SeekFile(reader, 0, SeekModeCurrent), place + static_cast<int32_t>(count));
    ASSERT_EQ(SeekFile(reader, -static_cast<int32_t>(count) + 1, SeekModeCurrent), place + 1);
    ASSERT_TRUE(ReadFileExactly(reader, buffer, 1));
    EXPECT_EQ(buffer[0], text[static_cast<size_t>(place) + 1]) << place;
  }
  CloseFile(reader);
}

// A file cut shorter through a handle that only read it answers its new
// length when the end is asked for again.
TEST(FilesTest, TruncatedFileAnswersItsNewEnd) {
  WriteText("cut.bin", "abcdefgh");
  FileHandle file = OpenFile("cut.bin", FileModeReadWrite, OpenModeExisting, ShareModeDenyNone);
  ASSERT_NE(file, nullptr);
  char buffer[4] = {};
  ASSERT_TRUE(ReadFileExactly(file, buffer, 2));
  EXPECT_EQ(SeekFile(file, 0, SeekModeEnd), 8);
  EXPECT_EQ(SeekFile(file, 2, SeekModeStart), 2);
  ASSERT_TRUE(TruncateFile(file, 3));
  EXPECT_EQ(SeekFile(file, 0, SeekModeEnd), 3);
  CloseFile(file);
  EXPECT_EQ(ReadText("cut.bin"), "abc");
}

TEST(FilesTest, NullHandlesFail) {
  uint32_t count = 5;
  char buffer[1];
  EXPECT_FALSE(ReadFile(nullptr, buffer, 1, count));
  EXPECT_EQ(count, 0u);
  EXPECT_FALSE(WriteFile(nullptr, buffer, 1, count));
  EXPECT_EQ(SeekFile(nullptr, 0, SeekModeStart), -1);
  EXPECT_FALSE(FlushFile(nullptr));
  EXPECT_FALSE(CloseFile(nullptr));
  EXPECT_EQ(OpenFile(nullptr, FileModeRead, OpenModeExisting, ShareModeDenyNone), nullptr);
}

TEST(FilesTest, ExclusiveHandleExcludesOtherSharingHandles) {
  FileHandle first = OpenFile("shared.bin", FileModeWrite, OpenModeCreate, ShareModeExclusive);
  ASSERT_NE(first, nullptr);
  uint32_t count = 0;
  WriteFile(first, "keep", 4, count);
  FlushFile(first);
  // Refused before the file is emptied.
  EXPECT_EQ(OpenFile("shared.bin", FileModeWrite, OpenModeCreate, ShareModeDenyWrite), nullptr);
  EXPECT_EQ(ReadText("shared.bin"), "keep");
  FileHandle reader = OpenFile("shared.bin", FileModeRead, OpenModeExisting, ShareModeDenyNone);
  EXPECT_NE(reader, nullptr);
  CloseFile(reader);
  CloseFile(first);
  FileHandle second = OpenFile("shared.bin", FileModeRead, OpenModeExisting, ShareModeDenyWrite);
  FileHandle third = OpenFile("shared.bin", FileModeRead, OpenModeExisting, ShareModeDenyRead);
  EXPECT_NE(second, nullptr);
  EXPECT_NE(third, nullptr);
  CloseFile(second);
  CloseFile(third);
}

TEST(FilesTest, CreateReusesAFileNamedInAnotherCase) {
  WriteText("Save.DAT", "old");
  FileHandle file = OpenFile("save.dat", FileModeWrite, OpenModeCreate, ShareModeDenyNone);
  ASSERT_NE(file, nullptr);
  uint32_t count = 0;
  WriteFile(file, "new", 3, count);
  CloseFile(file);
  EXPECT_EQ(ReadText("Save.DAT"), "new");
  EXPECT_FALSE(std::filesystem::exists("save.dat") &&
               !std::filesystem::equivalent("save.dat", "Save.DAT"));
  EXPECT_TRUE(CheckFile("SAVE.dat"));
  EXPECT_TRUE(CheckFile("."));
  EXPECT_FALSE(CheckFile("missing.dat"));
  EXPECT_FALSE(CheckFile(nullptr));
}

}  // namespace
