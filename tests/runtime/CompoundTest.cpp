#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "CompoundArchiveSupport.h"
#include "support/DebugLogReader.h"
#include "platform/FileSystem.h"
#include "runtime/Compound.h"
#include "runtime/DebugLog.h"
#include "runtime/FileNames.h"
#include "runtime/Files.h"
#include "runtime/Folders.h"

using namespace compound_test;  // the archive builders of this test folder

namespace {

class CompoundTest : public ::testing::Test {
 protected:
  // The game name of a file in the test's own folder.
  std::string GameName(const char* file) const { return folder + file; }

  std::string folder = platform::CurrentFolderName();
};

TEST_F(CompoundTest, EntriesSurviveAppendUpdateDeleteAndPack) {
  const std::string name = GameName("levels.lmp");
  CompoundHandle created = CreateCompound(name.c_str());
  ASSERT_NE(created, nullptr);
  ASSERT_TRUE(AddEntry(created, "b.dat", "second entry"));
  ASSERT_TRUE(AddEntry(created, "A.dat", "first"));
  ASSERT_TRUE(AddEntry(created, "c.dat", std::string(3000, 'c')));
  ASSERT_TRUE(CloseCompound(created));

  CompoundHandle changing = OpenCompound(name.c_str(), true);
  ASSERT_NE(changing, nullptr);
  EXPECT_EQ(GetCompoundCount(changing), 3);
  ASSERT_TRUE(DeleteCompound(changing, "C.DAT"));  // its bytes are the largest
  // Updating an entry: the old one goes, the new one is appended.
  ASSERT_TRUE(DeleteCompound(changing, "a.dat"));
  ASSERT_TRUE(AddEntry(changing, "a.dat", "first, rewritten"));
  ASSERT_TRUE(AddEntry(changing, "d.dat", "fourth"));
  EXPECT_EQ(ReadEntry(changing, "b.dat"), "second entry");
  ASSERT_TRUE(PackCompound(changing));
  EXPECT_EQ(GetCompoundFlags(changing), kCompoundForChanging);
  ASSERT_TRUE(CloseCompound(changing));
  EXPECT_LT(std::filesystem::file_size("levels.lmp"), 3000u);

  CompoundHandle reading = OpenCompound(name.c_str(), false);
  ASSERT_NE(reading, nullptr);
  EXPECT_EQ(GetCompoundCount(reading), 3);
  EXPECT_EQ(ReadEntry(reading, "A.DAT"), "first, rewritten");
  EXPECT_EQ(ReadEntry(reading, "b.dat"), "second entry");
  EXPECT_EQ(ReadEntry(reading, "d.dat"), "fourth");
  EXPECT_EQ(ReadEntry(reading, "c.dat"), "<missing>");
  // The packed directory is sorted by name and the data has no gaps.
  char entryName[kCompoundNameSize] = {};
  uint32_t size = 0;
  EXPECT_EQ(GetCompoundInfo(reading, 0, entryName), 0);
  EXPECT_STREQ(entryName, "a.dat");
  EXPECT_EQ(GetCompoundPosition(reading, 1, size), 12);  // "b.dat" was stored first
  EXPECT_EQ(size, 12u);
  EXPECT_EQ(GetCompoundPosition(reading, 3, size), -1);
  // A read-only archive takes no changes.
  uint32_t offset = 0;
  EXPECT_EQ(AppendCompound(reading, "e.dat", offset), nullptr);
  EXPECT_FALSE(DeleteCompound(reading, "b.dat"));
  EXPECT_TRUE(CloseCompound(reading));
}

TEST_F(CompoundTest, DeletingAnyEntryKeepsTheOthersFindable) {
  const char* names[] = {"alpha", "beta", "gamma", "delta"};
  for (const char* deleted : names) {
    StoreBytes("set.lmp", BuildArchive({{"alpha", "1"}, {"beta", "2"}, {"gamma", "3"}, {"delta", "4"}}));
    CompoundHandle compound = OpenCompound(GameName("set.lmp").c_str(), true);
    ASSERT_NE(compound, nullptr);
    ASSERT_TRUE(DeleteCompound(compound, deleted));
    EXPECT_FALSE(DeleteCompound(compound, deleted));
    for (const char* name : names) {
      const bool kept = std::string(name) != deleted;
      EXPECT_EQ(GetCompoundIndexOf(compound, name) >= 0, kept) << deleted << " / " << name;
      EXPECT_EQ(ReadEntry(compound, name) != "<missing>", kept) << deleted << " / " << name;
    }
    CloseCompound(compound);
  }
}

struct NameCase {
  std::string name;
  bool accepted;
};

TEST_F(CompoundTest, AppendTakesOnlyNewNamesOfOneTo55Characters) {
  const NameCase cases[] = {
      {std::string(55, 'n'), true},
      {std::string(56, 'n'), false},
      {"", false},  // would read as a deleted entry
      {"EXISTING.DAT", false},
      {"existing.dat", false},
      {"other.dat", true},
  };
  for (const NameCase& testCase : cases) {
    StoreBytes("names.lmp", BuildArchive({{"Existing.dat", "x"}}));
    CompoundHandle compound = OpenCompound(GameName("names.lmp").c_str(), true);
    ASSERT_NE(compound, nullptr);
    EXPECT_EQ(AddEntry(compound, testCase.name.c_str(), "data"), testCase.accepted)
        << testCase.name;
    ASSERT_TRUE(CloseCompound(compound));
    compound = OpenCompound(GameName("names.lmp").c_str(), false);
    ASSERT_NE(compound, nullptr);
    EXPECT_EQ(GetCompoundCount(compound), testCase.accepted ? 2 : 1) << testCase.name;
    if (testCase.accepted) {
      EXPECT_EQ(ReadEntry(compound, testCase.name.c_str()), "data");
    }
    CloseCompound(compound);
  }
}

struct MalformedCase {
  const char* what;
  void (*damage)(Bytes& bytes);
};

TEST_F(CompoundTest, MalformedArchivesAreRefused) {
  const MalformedCase cases[] = {
      {"bad signature", [](Bytes& bytes) { bytes[0] = 'Q'; }},
      {"short header", [](Bytes& bytes) { bytes.resize(10); }},
      {"empty file", [](Bytes& bytes) { bytes.clear(); }},
      {"directory past the end", [](Bytes& bytes) { PutWord(bytes, 4, static_cast<uint32_t>(bytes.size()) - 60); }},
      {"directory size past the end", [](Bytes& bytes) { PutWord(bytes, 8, 128); }},
      {"huge directory size", [](Bytes& bytes) { PutWord(bytes, 8, 0xFFFFFFC0u); }},
      {"directory size not a multiple of 64", [](Bytes& bytes) { PutWord(bytes, 8, 63); }},
      {"directory inside the header", [](Bytes& bytes) { PutWord(bytes, 4, 4); }},
      {"entry past the data end", [](Bytes& bytes) { PutWord(bytes, bytes.size() - 4, 6); }},
      {"entry size wrapping", [](Bytes& bytes) { PutWord(bytes, bytes.size() - 4, 0xFFFFFFFFu); }},
      {"entry inside the header", [](Bytes& bytes) { PutWord(bytes, bytes.size() - 8, 2); }},
  };
  for (const MalformedCase& testCase : cases) {
    Bytes bytes = BuildArchive({{"only.dat", "12345"}});
    testCase.damage(bytes);
    StoreBytes("bad.lmp", bytes);
    CompoundHandle compound = OpenCompound(GameName("bad.lmp").c_str(), false);
    EXPECT_EQ(compound, nullptr) << testCase.what;
    CloseCompound(compound);
  }
}

TEST_F(CompoundTest, RefusedDirectoryOffsetsAreLoggedForWhatIsWrong) {
  const struct {
    uint32_t directoryOffset;
    const char* line;
  } cases[] = {
      {4, "OpenCompound() PACK directory lies inside the header"},
      {11, "OpenCompound() PACK directory lies inside the header"},
      {4000, "OpenCompound() PACK directory lies past the end of the file"},
  };
  for (const auto& testCase : cases) {
    SCOPED_TRACE(testCase.directoryOffset);
    Bytes bytes = BuildArchive({{"only.dat", "12345"}});
    PutWord(bytes, 4, testCase.directoryOffset);
    StoreBytes("bad.lmp", bytes);
    SetDebugMode(DebugModeOverwrite);
    EXPECT_EQ(OpenCompound(GameName("bad.lmp").c_str(), false), nullptr);
    SetDebugMode(DebugModeOff);
    const std::string log = testing_support::ReadDebugLog();
    // One line says what is wrong, and only that one.
    EXPECT_NE(log.find(testCase.line), std::string::npos) << log;
    size_t lines = 0;
    for (size_t at = log.find("PACK directory"); at != std::string::npos; at = log.find("PACK directory", at + 1)) {
      ++lines;
    }
    EXPECT_EQ(lines, 1u) << log;
  }
}

TEST_F(CompoundTest, NameWithoutTerminatorIsCutAt55Characters) {
  Bytes bytes = BuildArchive({{std::string(kCompoundNameSize, 'z'), "zz"}});
  StoreBytes("long.lmp", bytes);
  CompoundHandle compound = OpenCompound(GameName("long.lmp").c_str(), false);
  ASSERT_NE(compound, nullptr);
  char name[kCompoundNameSize] = {};
  GetCompoundInfo(compound, 0, name);
  EXPECT_EQ(std::string(name), std::string(55, 'z'));
  EXPECT_EQ(ReadEntry(compound, std::string(55, 'Z').c_str()), "zz");
  CloseCompound(compound);
}

TEST_F(CompoundTest, CreatedArchiveReplacesThePreviousOneOnlyWhenClosed) {
  StoreBytes("save.lmp", BuildArchive({{"old.sav", "old game"}}));
  CompoundHandle created = CreateCompound(GameName("save").c_str());
  ASSERT_NE(created, nullptr);
  ASSERT_TRUE(AddEntry(created, "new.sav", "new game"));
  // Until the close the previous archive is what a reader finds.
  CompoundHandle reading = OpenCompound(GameName("save.lmp").c_str(), false);
  ASSERT_NE(reading, nullptr);
  EXPECT_EQ(ReadEntry(reading, "old.sav"), "old game");
  CloseCompound(reading);

  ASSERT_TRUE(CloseCompound(created));
  reading = OpenCompound(GameName("save.lmp").c_str(), false);
  ASSERT_NE(reading, nullptr);
  EXPECT_EQ(ReadEntry(reading, "old.sav"), "<missing>");
  EXPECT_EQ(ReadEntry(reading, "new.sav"), "new game");
  CloseCompound(reading);
}

TEST_F(CompoundTest, AnUnfinishedAppendLeavesTheStoredArchiveReadable) {
  StoreBytes("live.lmp", BuildArchive({{"kept.dat", "kept bytes"}}));
  CompoundHandle compound = OpenCompound(GameName("live.lmp").c_str(), true);
  ASSERT_NE(compound, nullptr);
  uint32_t offset = 0;
  FileHandle file = AppendCompound(compound, "half.dat", offset);
  ASSERT_NE(file, nullptr);
  const std::string junk(200, '#');
  uint32_t written = 0;
  ASSERT_TRUE(WriteFile(file, junk.data(), static_cast<uint32_t>(junk.size()), written));
  ASSERT_TRUE(FlushFile(file));
  // While the entry is open, lookups and further appends wait.
  EXPECT_EQ(ReadEntry(compound, "kept.dat"), "<missing>");
  EXPECT_EQ(AppendCompound(compound, "other.dat", offset), nullptr);

  // What a crash would leave on disk still opens with every finished entry.
  std::filesystem::copy_file("live.lmp", "crash.lmp");
  CompoundHandle crashed = OpenCompound(GameName("crash.lmp").c_str(), false);
  ASSERT_NE(crashed, nullptr);
  EXPECT_EQ(ReadEntry(crashed, "kept.dat"), "kept bytes");
  CloseCompound(crashed);

  // Abandoning the entry marks the archive changed, so closing packs the bytes away.
  ASSERT_TRUE(UpdateCompound(compound, 0));
  EXPECT_NE(GetCompoundFlags(compound) & kCompoundChanged, 0u);
  EXPECT_EQ(GetCompoundCount(compound), 1);
  ASSERT_TRUE(CloseCompound(compound));
  EXPECT_EQ(LoadBytes("live.lmp"), BuildArchive({{"kept.dat", "kept bytes"}}));
}

TEST_F(CompoundTest, UpdateRefusesASizeBeyondTheBytesWritten) {
  CompoundHandle compound = CreateCompound(GameName("sizes.lmp").c_str());
  ASSERT_NE(compound, nullptr);
  uint32_t offset = 0;
  FileHandle file = AppendCompound(compound, "short.dat", offset);
  ASSERT_NE(file, nullptr);
  uint32_t written = 0;
  ASSERT_TRUE(WriteFile(file, "abc", 3, written));
  EXPECT_FALSE(UpdateCompound(compound, 0xFFFFFFF0u));
  EXPECT_EQ(GetCompoundCount(compound), 0);
  EXPECT_TRUE(AddEntry(compound, "next.dat", "next"));  // the archive takes appends again
  ASSERT_TRUE(CloseCompound(compound));
  compound = OpenCompound(GameName("sizes.lmp").c_str(), false);
  ASSERT_NE(compound, nullptr);
  EXPECT_EQ(GetCompoundCount(compound), 1);
  EXPECT_EQ(ReadEntry(compound, "next.dat"), "next");
  CloseCompound(compound);
}

TEST_F(CompoundTest, IgnoredEntriesAreHiddenFromLookups) {
  std::ofstream("game.ini", std::ios::binary)
      << "[Source]\r\nIgnore=2\r\nIgnore1=SHOWN_LOOSE.dat\r\nIgnore2=absent.dat\r\n";
  StoreBytes("global.lmp", BuildArchive({{"shown_loose.dat", "packed"}, {"plain.dat", "plain"}}));
  CompoundHandle compound = OpenCompound(GameName("global.lmp").c_str(), false);
  ASSERT_NE(compound, nullptr);
  ASSERT_TRUE(CheckCompoundWith(compound, "game"));
  EXPECT_EQ(ReadEntry(compound, "shown_loose.dat"), "<missing>");
  EXPECT_EQ(ReadEntry(compound, "plain.dat"), "plain");
  CloseCompound(compound);
}

TEST_F(CompoundTest, InsertAndExtractCopyLooseFiles) {
  const std::string contents(70000, 'q');  // more than one copy step
  std::ofstream("loose.bin", std::ios::binary) << contents;
  std::ofstream("empty.bin", std::ios::binary);
  CompoundHandle compound = CreateCompound(GameName("files.lmp").c_str());
  ASSERT_NE(compound, nullptr);
  EXPECT_TRUE(InsertCompound(compound, GameName("loose.bin").c_str()));
  EXPECT_FALSE(InsertCompound(compound, GameName("empty.bin").c_str()));
  EXPECT_FALSE(InsertCompound(compound, GameName("missing.bin").c_str()));
  EXPECT_EQ(GetCompoundFlags(compound) & kCompoundEntryOpen, 0u);
  ASSERT_TRUE(CloseCompound(compound));

  compound = OpenCompound(GameName("files.lmp").c_str(), false);
  ASSERT_NE(compound, nullptr);
  std::filesystem::create_directory("out");
  EXPECT_TRUE(ExtractCompound(compound, GameName("out\\LOOSE.BIN").c_str()));
  EXPECT_FALSE(ExtractCompound(compound, GameName("out\\empty.bin").c_str()));
  CloseCompound(compound);
  const Bytes extracted = LoadBytes("out/LOOSE.BIN");
  EXPECT_EQ(std::string(extracted.begin(), extracted.end()), contents);
}

TEST_F(CompoundTest, ClosingTheCurrentArchiveForgetsIt) {
  StoreBytes("current.lmp", BuildArchive({{"a", "1"}}));
  CompoundHandle compound = OpenCompound(GameName("current.lmp").c_str(), false);
  ASSERT_NE(compound, nullptr);
  EXPECT_EQ(SetCompound(compound), compound);
  EXPECT_EQ(GetCompound(), compound);
  EXPECT_TRUE(CloseCompound(compound));
  EXPECT_EQ(GetCompound(), nullptr);
}

TEST_F(CompoundTest, RelativeNamesOpenInTheCompoundFolderWithTheLmpExtension) {
  std::filesystem::create_directory("packs");
  StoreBytes("packs/levels.lmp", BuildArchive({{"a", "1"}}));
  ASSERT_TRUE(SetFolderName(FolderCompound, (folder + "packs").c_str()));
  CompoundHandle compound = OpenCompound("levels", false);
  ASSERT_NE(compound, nullptr);
  char name[kMaxPathSize] = "";
  EXPECT_TRUE(GetCompoundName(compound, name));
  EXPECT_EQ(std::string(name), folder + "packs\\levels.lmp");
  CloseCompound(compound);
  // A name with a drive is used as it stands.
  EXPECT_EQ(OpenCompound(GameName("levels").c_str(), false), nullptr);
  compound = OpenCompound(GameName("packs\\levels").c_str(), false);
  EXPECT_NE(compound, nullptr);
  CloseCompound(compound);
  StopFolders();
}

TEST(CompoundNames, ValidCompoundWantsTheLmpExtension) {
  EXPECT_TRUE(ValidCompound("C:\\game\\Levels.LMP"));
  EXPECT_TRUE(ValidCompound("x.lmp"));
  EXPECT_FALSE(ValidCompound("x.lmpx"));
  EXPECT_FALSE(ValidCompound("C:\\game.lmp\\levels"));
  EXPECT_FALSE(ValidCompound(nullptr));
}

}  // namespace
