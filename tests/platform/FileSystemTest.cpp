#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/Testing.h"
#include "support/TempFolder.h"

namespace {

namespace fs = std::filesystem;

void Touch(const fs::path& path) { std::ofstream(path) << "x"; }

std::string Contents(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

class FileSystemTest : public ::testing::Test {
 protected:
  void TearDown() override {
    platform::SetCdFolder("");
    platform::testing::SetSyncObserver(nullptr);
  }
  // The test folder as a game name with a final backslash ("C:\tmp\lumo-test-x\").
  std::string Folder() const { return platform::GameFileName(testing_support::TestFolder()) + "\\"; }
};

TEST_F(FileSystemTest, MixedCaseNamesReachTheFilesOnDisk) {
  fs::create_directories("Media/Graphics");
  Touch("Media/Graphics/House.BMP");
  const std::string expected = (testing_support::TestFolder() / "Media/Graphics/House.BMP").string();
  EXPECT_EQ(platform::MapFileName((Folder() + "MEDIA\\graphics\\house.bmp").c_str()), expected);
  EXPECT_EQ(platform::MapFileName((Folder() + "media/GRAPHICS/house.bmp").c_str()), expected);
  EXPECT_EQ(platform::MapFileName("media\\graphics\\HOUSE.bmp"), "Media/Graphics/House.BMP");
  // A component that does not exist keeps the spelling given.
  EXPECT_EQ(platform::MapFileName("media\\New.txt"), "Media/New.txt");
}

TEST_F(FileSystemTest, ExactSpellingWinsAmongNamesDifferingInCase) {
  Touch("readme");
  Touch("README");
  Touch("ReadMe");
  EXPECT_EQ(platform::MapFileName("ReadMe"), "ReadMe");
  EXPECT_EQ(platform::MapFileName("rEADME"), "README");  // first in byte order
}

TEST_F(FileSystemTest, DrivesOtherThanRootAndCdAreAbsent) {
  EXPECT_EQ(platform::MapFileName("c:\\"), "/");
  EXPECT_EQ(platform::MapFileName("C:\\tmp\\..\\..\\tmp"), "/tmp");
  EXPECT_EQ(platform::MapFileName("\\tmp"), "/tmp");
  EXPECT_FALSE(platform::MapFileName("E:\\game"));
  EXPECT_FALSE(platform::MapFileName("\\\\server\\share\\x"));
  EXPECT_FALSE(platform::MapFileName("D:\\"));  // no CD folder configured
  EXPECT_EQ(platform::GetDriveKind('c'), platform::DriveKind::Fixed);
  EXPECT_EQ(platform::GetDriveKind('D'), platform::DriveKind::Absent);

  fs::create_directories("disc/MEDIA");
  platform::SetCdFolder("disc/");
  EXPECT_EQ(platform::GetDriveKind('d'), platform::DriveKind::Cd);
  const std::string disc = (testing_support::TestFolder() / "disc").string();
  EXPECT_EQ(platform::MapFileName("d:\\media\\x.wav"), disc + "/MEDIA/x.wav");
  EXPECT_EQ(platform::MapFileName("D:\\..\\.."), disc);  // never above the disc
  EXPECT_EQ(platform::GameFileName(disc + "/MEDIA"), "D:\\MEDIA");
}

TEST_F(FileSystemTest, NamesLongerThanTheLimitAreRefused) {
  const std::string longest(platform::kMaxFileNameLength, 'a');
  EXPECT_TRUE(platform::MapFileName(longest.c_str()));
  EXPECT_FALSE(platform::MapFileName((longest + "a").c_str()));
  EXPECT_FALSE(platform::MapFileName(nullptr));
}

TEST_F(FileSystemTest, CurrentFolderIsAGameNameWithFinalBackslash) {
  const std::string name = platform::CurrentFolderName();
  ASSERT_GE(name.size(), 4u);
  EXPECT_EQ(name.substr(0, 3), "C:\\");
  EXPECT_EQ(name.back(), '\\');
  EXPECT_EQ(platform::MapFileName(name.c_str()), testing_support::TestFolder().string());
}

// The replacing file reaches the disk while the old one still stands under
// the name, and the folder after the rename, so a power cut leaves one whole
// file or the other.
TEST_F(FileSystemTest, ReplaceFileSyncsTheFileBeforeTheRenameAndTheFolderAfterIt) {
  const std::string folder = testing_support::TestFolder().string();
  std::ofstream(folder + "/game.ini") << "old";
  std::ofstream(folder + "/game.ini.tmp") << "new";
  std::vector<std::pair<std::string, std::string>> synced;  // path, the name's bytes then
  platform::testing::SetSyncObserver(
      [&](const std::string& path) { synced.emplace_back(path, Contents(folder + "/game.ini")); });
  ASSERT_TRUE(platform::ReplaceFile(folder + "/game.ini.tmp", folder + "/game.ini"));
  EXPECT_EQ(synced, (std::vector<std::pair<std::string, std::string>>{{folder + "/game.ini.tmp", "old"},
                                                                      {folder, "new"}}));
  EXPECT_EQ(Contents(folder + "/game.ini"), "new");
  EXPECT_FALSE(fs::exists(folder + "/game.ini.tmp"));
}

}  // namespace
