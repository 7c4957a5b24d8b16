#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/FileSystem.h"
#include "runtime/Config.h"
#include "runtime/FileNames.h"
#include "runtime/FileTypes.h"
#include "runtime/Folders.h"
#include "support/TempFolder.h"

namespace {

namespace fs = std::filesystem;

void Touch(const fs::path& path) { std::ofstream(path) << "x"; }

void WriteIni(const std::string& text) { std::ofstream("game.ini", std::ios::binary) << text; }

std::string Folder(tFolderType type) {
  char buffer[kMaxPathSize] = "";
  return GetFolderName(type, buffer) ? buffer : "<none>";
}

class FoldersTest : public ::testing::Test {
 protected:
  void TearDown() override {
    StopFolders();
    StopFileTypes();
  }
  std::string program = platform::CurrentFolderName();
};

struct CdCase {
  const char* source;  // the [Source] section's lines
  bool makeDisc;
  const char* failure;  // null: the start succeeds
};

TEST_F(FoldersTest, MissingCdFailsOnlyWhereMediaOrAudioNeedIt) {
  const CdCase cases[] = {
      {"Graphic=CDROM\n", false, "Cannot detect the CD-ROM drive\n"},
      {"Movie=cdrom\nAudio=CD\n", false, "Cannot detect the CD-ROM drive\n"},
      {"Audio=cd\n", false, "Cannot detect CD-audio\n"},
      {"Compound=CDROM\n", false, nullptr},
      {"Audio=None\n", false, nullptr},
      {"Graphic=CDROM\nAudio=CD\nCDFolder=disc\n", true, nullptr},
      {"Sound=CDROM\nCDFolder=disc\n", false, "Cannot detect the CD-ROM drive\n"},
  };
  for (const CdCase& testCase : cases) {
    SCOPED_TRACE(testCase.source);
    fs::remove_all("disc");
    if (testCase.makeDisc) {
      fs::create_directories("disc/Media");
    }
    WriteIni(std::string("[Source]\n") + testCase.source);
    std::string failure;
    EXPECT_EQ(StartFolders("game", failure), testCase.failure == nullptr);
    EXPECT_EQ(failure, testCase.failure == nullptr ? "" : testCase.failure);
    StopFolders();
  }
}

TEST_F(FoldersTest, MediaFoldersFollowTheSourceSection) {
  fs::create_directories("disc/MEDIA");
  fs::create_directories("common");
  WriteIni(
      "[Source]\nGraphic=CDROM\nSound=Shared\nMovie=\nShared=" + program +
      "common\nDefault=C:\\no\\such\\folder\nCDFolder=disc\nName=Global.lmp\n");
  std::string failure;
  ASSERT_TRUE(StartFolders("game", failure));
  EXPECT_EQ(Folder(FolderProgram), program);
  EXPECT_EQ(Folder(FolderCdRom), "D:\\");
  EXPECT_EQ(Folder(FolderGraphic), "D:\\Media\\");
  EXPECT_EQ(Folder(FolderShared), program + "common\\");
  EXPECT_EQ(Folder(FolderSound), program + "common\\");
  EXPECT_EQ(Folder(FolderMovie), program);
  EXPECT_EQ(Folder(FolderCompound), program);
  EXPECT_EQ(Folder(FolderDefault), program);  // a folder that does not exist is dropped
  EXPECT_EQ(Folder(FolderRoot), "C:\\");
  EXPECT_EQ(GetGlobalCompoundName(), "Global.lmp");
  EXPECT_EQ(platform::MapFileName("D:\\media"),
            (testing_support::TestFolder() / "disc/MEDIA").string());
}

TEST_F(FoldersTest, OnlyTheDefaultAndMediaFoldersCanBeSet) {
  WriteIni("[Source]\n");
  std::string failure;
  ASSERT_TRUE(StartFolders("game", failure));
  EXPECT_FALSE(SetFolderName(FolderShared, "C:\\x"));
  EXPECT_FALSE(SetFolderName(FolderProgram, "C:\\x"));
  EXPECT_FALSE(SetFolderName(FolderGraphic, nullptr));
  EXPECT_TRUE(SetFolderName(FolderSound, "C:\\sounds"));
  EXPECT_EQ(Folder(FolderSound), "C:\\sounds\\");
  EXPECT_TRUE(SetFolderName(FolderDefault, "C:\\saves\\"));
  EXPECT_EQ(Folder(FolderDefault), "C:\\saves\\");
  ConfigurationHandle configuration = OpenConfiguration("game", false);
  char value[kMaxPathSize];
  EXPECT_TRUE(ReadConfigurationStr(configuration, "Source", "Default", value, sizeof value));
  EXPECT_STREQ(value, "C:\\saves\\");
  CloseConfiguration(configuration);
  char name[kMaxPathSize];
  EXPECT_TRUE(AbsoluteFileName(FolderSound, "bang.wav", 7, name));
  EXPECT_STREQ(name, "C:\\sounds\\bang.wav");
}

TEST_F(FoldersTest, ListingsAreSortedMaskedAndCarryKindAndFlags) {
  WriteIni("[Source]\n");
  std::string failure;
  ASSERT_TRUE(StartFolders("game", failure));
  fs::create_directories("art/sub");
  Touch("art/c.bmp");
  Touch("art/B.BMP");
  Touch("art/a.wav");
  char name[kMaxPathSize];
  SetFileMask(6);
  FolderHandle listing = OpenFolder(FolderProgram, "ART", name);
  ASSERT_NE(listing, nullptr);
  EXPECT_STREQ(name, "B.BMP");
  EXPECT_EQ(GetFileInfo(listing), 6);
  EXPECT_EQ(GetFileFlags(listing) & kFileFlagFolder, 0u);
  EXPECT_TRUE(ReadFolder(listing, name));
  EXPECT_STREQ(name, "c.bmp");
  EXPECT_FALSE(ReadFolder(listing, name));
  CloseFolder(listing);

  // The mask applied to one listing only.
  listing = OpenFolder(FolderProgram, "art\\", name);
  ASSERT_NE(listing, nullptr);
  std::string names = name;
  while (ReadFolder(listing, name)) {
    names += std::string(",") + name;
    if (std::string(name) == "sub") {
      EXPECT_NE(GetFileFlags(listing) & kFileFlagFolder, 0u);
    }
  }
  EXPECT_EQ(names, "a.wav,B.BMP,c.bmp,sub");
  CloseFolder(listing);

  SetFileMask(12);
  EXPECT_EQ(OpenFolder(FolderProgram, "art", name), nullptr);
  EXPECT_EQ(OpenFolder(FolderProgram, "art", nullptr), nullptr);
  EXPECT_FALSE(ReadFolder(nullptr, name));
  CloseFolder(nullptr);
}

TEST_F(FoldersTest, CreateFolderFindsExistingFoldersInAnyCase) {
  fs::create_directories("Saves");
  const std::string program = platform::CurrentFolderName();
  EXPECT_FALSE(CreateFolder((program + "SAVES").c_str()));
  EXPECT_TRUE(CreateFolder((program + "saves\\Slot1").c_str()));
  EXPECT_TRUE(fs::is_directory("Saves/Slot1"));
}

TEST_F(FoldersTest, VolumesAreTheRootAndTheConfiguredCd) {
  char root[kMaxPathSize];
  EXPECT_EQ(GetVolumeCount(), 26);
  EXPECT_EQ(GetVolumeName(2, root), VolumeFixed);
  EXPECT_STREQ(root, "C:\\");
  EXPECT_EQ(GetVolumeName(3, root), VolumeNoRoot);
  EXPECT_EQ(GetVolumeName(0, root), VolumeNoRoot);
  EXPECT_EQ(GetVolumeName(26, root), VolumeUnknown);
  fs::create_directories("disc");
  platform::SetCdFolder("disc");
  EXPECT_EQ(GetVolumeName(3, root), VolumeCdRom);
  EXPECT_STREQ(root, "D:\\");
  EXPECT_EQ(GetDefaultVolumeName(root), VolumeFixed);
}

TEST_F(FoldersTest, CustomFileTypesComeFromTheConfiguration) {
  EXPECT_EQ(GetCustomFileInfoCount(), 0);
  EXPECT_EQ(GetFirstCustomFileInfo(), 0);
  EXPECT_EQ(GetLastCustomFileInfo(), 0);
  WriteIni(
      "[Extensions]\nMovie=MPG\n255=ABC\n254=def\n253=ghi\n"
      "[Names]\n255=Thing\n"
      "[Icons]\n255=_Icon\n254=_Other\n"
      "[Descriptions]\n255=Things\n254=Others\n253=No icon\n");
  StartFileTypes("game");
  EXPECT_EQ(GetCustomFileInfoCount(), 2);
  EXPECT_EQ(GetFirstCustomFileInfo(), 254);
  EXPECT_EQ(GetLastCustomFileInfo(), 255);
  EXPECT_EQ(ExtractFileInfo("x.Abc"), 255);
  EXPECT_EQ(ExtractFileInfo("x.ghi"), 0);  // 253 lacks an icon: the list ends before it
  EXPECT_EQ(ExtractFileInfo("clip.mpg"), 8);
  EXPECT_EQ(ExtractFileInfo("clip.avi"), 0);
  char text[kMaxPathSize];
  EXPECT_TRUE(GetFileDescription(255, text));
  EXPECT_STREQ(text, "Things");
  EXPECT_TRUE(GetIconName(255, text));
  EXPECT_STREQ(text, "_icon");
  Touch("thing1.abc");
  EXPECT_TRUE(GetDefaultName(255, platform::CurrentFolderName().c_str(), text));
  EXPECT_STREQ(text, "thing2.abc");
  EXPECT_TRUE(GetDefaultName(254, platform::CurrentFolderName().c_str(), text));
  EXPECT_STREQ(text, "File1.def");
  EXPECT_FALSE(GetFileDescription(253, text));
  EXPECT_FALSE(GetFileDescription(256, text));
  EXPECT_FALSE(GetIconName(-1, text));

  int icon = 0;
  EXPECT_TRUE(SetIconData(6, &icon));
  EXPECT_EQ(GetIconData(6), &icon);
  EXPECT_FALSE(SetIconData(256, &icon));
  StopFileTypes();
  EXPECT_EQ(GetIconData(6), nullptr);
  EXPECT_EQ(GetCustomFileInfoCount(), 0);

  WriteIni("[Extensions]\n255=one\nMovie=wmv\n[Icons]\n255=i\n[Descriptions]\n255=d\n");
  StartFileTypes("game");
  EXPECT_EQ(GetFirstCustomFileInfo(), 255);
  EXPECT_EQ(GetLastCustomFileInfo(), 255);
  EXPECT_EQ(ExtractFileInfo("clip.avi"), 8);  // only the listed movie extensions replace it
}

}  // namespace
