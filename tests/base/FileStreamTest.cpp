#include <gtest/gtest.h>

#include <string>

#include "base/LumoFileStream.h"
#include "platform/FileSystem.h"
#include "runtime/Compound.h"
#include "tests/runtime/CompoundArchiveSupport.h"

namespace {

using compound_test::BuildArchive;
using compound_test::ReadEntry;
using compound_test::StoreBytes;

class FileStreamTest : public ::testing::Test {
 protected:
  std::string GameName(const char* file) const { return folder + file; }

  // An archive of two neighbouring entries, "first" looked up.
  CompoundHandle OpenWithFirstLookedUp(bool forChanging) {
    StoreBytes("pair.lmp", BuildArchive({{"first", "hello"}, {"second", "world"}}));
    CompoundHandle compound = OpenCompound(GameName("pair.lmp").c_str(), forChanging);
    uint32_t offset = 0;
    uint32_t size = 0;
    if (compound == nullptr || LookupCompound(compound, "first", offset, size) == nullptr) {
      ADD_FAILURE() << "the archive fixture does not open";
    }
    entryStart = static_cast<int32_t>(offset);
    return compound;
  }

  std::string folder = platform::CurrentFolderName();
  int32_t entryStart = 0;
};

TEST_F(FileStreamTest, PlainFileKeepsWhatWasWritten) {
  const std::string name = GameName("values.bin");
  {
    LumoFileStream stream;
    ASSERT_TRUE(stream.OpenDefault(name.c_str(), 1, 0));
    EXPECT_TRUE(stream.WriteInteger(-5));
    EXPECT_TRUE(stream.WriteCharStr("text"));
    EXPECT_TRUE(stream.Close());
  }
  LumoFileStream stream;
  ASSERT_TRUE(stream.Open(name.c_str(), FileModeRead, OpenModeExisting, ShareModeDenyWrite, 1, 0));
  int32_t value = 0;
  tCharStr text = nullptr;
  EXPECT_TRUE(stream.ReadInteger(value));
  EXPECT_TRUE(stream.ReadCharStr(text));
  EXPECT_EQ(value, -5);
  EXPECT_STREQ(text, "text");
  FreeCharStr(text);
  // The modes change only while the stream is closed.
  EXPECT_EQ(stream.SetFileMode(FileModeWrite), FileModeRead);
  EXPECT_FALSE(stream.Open(GameName("absent.bin").c_str(), FileModeRead, OpenModeExisting,
                           ShareModeDenyWrite, 1, 0));
}

TEST_F(FileStreamTest, EntryStreamStopsAtTheEntrysEnd) {
  CompoundHandle compound = OpenWithFirstLookedUp(false);
  ASSERT_NE(compound, nullptr);
  LumoFileStream stream;
  ASSERT_EQ(stream.OpenCompoundEntry(compound), compound);
  char buffer[32] = {};
  uint32_t read = 0;
  EXPECT_TRUE(stream.Read(buffer, sizeof buffer, read));
  EXPECT_EQ(std::string(buffer, read), "hello");
  EXPECT_TRUE(stream.Read(buffer, sizeof buffer, read));
  EXPECT_EQ(read, 0u);
  EXPECT_EQ(stream.Seek(0, SeekFromEnd), entryStart + 5);
  EXPECT_EQ(stream.Seek(1, SeekFromEnd), -1);
  EXPECT_EQ(stream.Seek(entryStart - 1, SeekFromStart), -1);
  EXPECT_EQ(stream.Seek(entryStart, SeekFromStart), entryStart);
  // A length that reaches into the next entry is refused before reading.
  tCharStr text = nullptr;
  EXPECT_FALSE(stream.ReadCharStr(text));
  EXPECT_EQ(text, nullptr);
  EXPECT_TRUE(stream.Close());
  // The archive keeps its file and answers further lookups.
  EXPECT_NE(GetCompoundFile(compound), nullptr);
  EXPECT_EQ(ReadEntry(compound, "second"), "world");
  EXPECT_TRUE(CloseCompound(compound));
}

TEST_F(FileStreamTest, WritingPastAnExistingEntryFailsAndSparesItsNeighbour) {
  CompoundHandle compound = OpenWithFirstLookedUp(true);
  ASSERT_NE(compound, nullptr);
  LumoFileStream stream;
  ASSERT_EQ(stream.OpenCompoundEntry(compound), compound);
  EXPECT_TRUE(stream.WriteBlock("HELLO", 5));
  EXPECT_FALSE(stream.WriteBlock("!", 1));
  EXPECT_TRUE(stream.Close());
  EXPECT_EQ(ReadEntry(compound, "first"), "HELLO");
  EXPECT_EQ(ReadEntry(compound, "second"), "world");
  EXPECT_TRUE(CloseCompound(compound));
}

TEST_F(FileStreamTest, AppendedEntryTakesWhatTheStreamWrote) {
  CompoundHandle compound = CreateCompound(GameName("new.lmp").c_str());
  ASSERT_NE(compound, nullptr);
  uint32_t offset = 0;
  ASSERT_NE(AppendCompound(compound, "record", offset), nullptr);
  LumoFileStream stream;
  ASSERT_EQ(stream.OpenCompoundEntry(compound), compound);
  EXPECT_TRUE(stream.WriteCharStr("a record of some length"));
  const int32_t end = stream.GetPosition();
  ASSERT_GT(end, static_cast<int32_t>(offset));
  EXPECT_TRUE(stream.Close());
  ASSERT_TRUE(UpdateCompound(compound, static_cast<uint32_t>(end) - offset));

  uint32_t size = 0;
  ASSERT_NE(LookupCompound(compound, "record", offset, size), nullptr);
  ASSERT_EQ(stream.OpenCompoundEntry(compound), compound);
  tCharStr text = nullptr;
  EXPECT_TRUE(stream.ReadCharStr(text));
  EXPECT_STREQ(text, "a record of some length");
  FreeCharStr(text);
  EXPECT_TRUE(stream.Close());
  EXPECT_TRUE(CloseCompound(compound));
}

TEST_F(FileStreamTest, EntryStreamNeedsACurrentEntry) {
  StoreBytes("pair.lmp", BuildArchive({{"first", "hello"}}));
  CompoundHandle compound = OpenCompound(GameName("pair.lmp").c_str(), false);
  ASSERT_NE(compound, nullptr);
  LumoFileStream stream;
  EXPECT_EQ(stream.OpenCompoundEntry(compound), nullptr);
  EXPECT_EQ(stream.OpenCompoundEntry(nullptr), nullptr);
  EXPECT_EQ(stream.compound, nullptr);
  EXPECT_EQ(stream.file, nullptr);
  CloseCompound(compound);
}

}  // namespace
