#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/FileSystem.h"
#include "runtime/FileNames.h"
#include "runtime/FileTypes.h"
#include "runtime/Files.h"

namespace {

namespace fs = std::filesystem;

void Touch(const fs::path& path, const std::string& text = "x") {
  std::ofstream(path, std::ios::binary) << text;
}

std::string ReadText(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream contents;
  contents << file.rdbuf();
  return contents.str();
}

struct JoinCase {
  const char* first;
  const char* second;
  bool result;
  const char* expected;
};

TEST(FileNamesTest, AppendToPathJoinsWithOneBackslash) {
  const std::string folder250 = "C:\\" + std::string(247, 'f');
  const JoinCase cases[] = {
      {"C:\\game", "house.bmp", true, "C:\\game\\house.bmp"},
      {"C:\\game\\", "house.bmp", true, "C:\\game\\house.bmp"},
      {"C:\\game\\\\", "\\house.bmp", true, "C:\\game\\house.bmp"},
      {"", "house.bmp", true, "house.bmp"},
      {folder250.c_str(), "12345678", true, nullptr},  // 259 characters: 258 at most
      {folder250.c_str(), "1234567", true, nullptr},
  };
  for (const JoinCase& testCase : cases) {
    char buffer[kMaxPathSize] = "";
    const bool result = AppendToPath(testCase.first, testCase.second, buffer);
    if (testCase.expected != nullptr) {
      EXPECT_TRUE(result);
      EXPECT_STREQ(buffer, testCase.expected);
    }
  }
  char buffer[kMaxPathSize];
  EXPECT_FALSE(AppendToPath(folder250.c_str(), "12345678", buffer));
  EXPECT_TRUE(AppendToPath(folder250.c_str(), "1234567", buffer));
  EXPECT_EQ(std::string(buffer).size(), 258u);
  EXPECT_FALSE(AppendToPath(nullptr, "a", buffer));
}

struct SplitCase {
  const char* name;
  bool result;
  const char* folder;
  const char* file;
};

TEST(FileNamesTest, SplitNamesTakesTheFolderUpToTheLastBackslash) {
  const std::string tooLong = "C:\\" + std::string(257, 'a');
  const SplitCase cases[] = {
      {"C:\\game\\house.bmp", true, "C:\\game\\", "house.bmp"},
      {"C:\\game\\levels\\  ", true, "C:\\game\\", "levels"},
      {"data\\x", true, "data\\", "x"},
      {"C:\\", false, "", ""},  // the backslash is dropped first
      {"house.bmp", false, "", ""},
      {tooLong.c_str(), false, "", ""},
  };
  for (const SplitCase& testCase : cases) {
    char folder[kMaxPathSize] = "";
    char file[kMaxPathSize] = "";
    EXPECT_EQ(SplitNames(testCase.name, folder, file), testCase.result) << testCase.name;
    if (testCase.result) {
      EXPECT_STREQ(folder, testCase.folder);
      EXPECT_STREQ(file, testCase.file);
    }
  }
  char folder[kMaxPathSize];
  char file[kMaxPathSize];
  int32_t kind = -1;
  EXPECT_TRUE(ExtractNames("C:\\a\\b.WAV", folder, file, kind));
  EXPECT_EQ(kind, 7);
}

struct RelativeCase {
  const char* name;
  int32_t kind;
  const char* expected;
};

TEST(FileNamesTest, RelativeFileNameKeepsRelativeNamesAndSetsTheKindsExtension) {
  const RelativeCase cases[] = {
      {"C:\\game\\House.BMP", -1, "House.BMP"},
      {"C:\\game\\House.BMP", 0, "House.BMP"},
      {"levels\\town", 12, "levels\\town.lml"},
      {"C:\\game\\town.lmd", 12, "town.lml"},
      {"\\\\server\\share\\a.txt", -1, "a.txt"},
      {"levels.d\\town", 6, "levels.d\\town.bmp"},
      {"town.lml", 200, "town.lml"},  // no such type
      {"town", 256, "town"},
  };
  for (const RelativeCase& testCase : cases) {
    char buffer[kMaxPathSize] = "";
    EXPECT_TRUE(RelativeFileName(testCase.name, testCase.kind, buffer)) << testCase.name;
    EXPECT_STREQ(buffer, testCase.expected);
  }
}

TEST(FileNamesTest, RootPathAndFileParts) {
  char buffer[kMaxPathSize];
  EXPECT_TRUE(GetRootName("c:\\game\\a.bmp", buffer));
  EXPECT_STREQ(buffer, "c:\\");
  EXPECT_TRUE(GetRootName("\\\\server\\share\\a.bmp", buffer));
  EXPECT_STREQ(buffer, "\\\\server\\share\\");
  EXPECT_FALSE(GetRootName("game\\a.bmp", buffer));
  EXPECT_TRUE(GetPathName("C:\\game\\a.bmp", buffer));
  EXPECT_STREQ(buffer, "C:\\game\\");
  EXPECT_TRUE(GetFileName("C:\\game\\a.bmp", buffer));
  EXPECT_STREQ(buffer, "a.bmp");
  EXPECT_TRUE(GetFileName("C:a.bmp", buffer));
  EXPECT_STREQ(buffer, "a.bmp");
  EXPECT_FALSE(GetFileName("C:\\game\\", buffer));
}

struct ValidateCase {
  int32_t kind;
  const char* name;
  const char* expected;  // null: refused
};

TEST(FileNamesTest, ValidateFileNameKeepsTheNameRules) {
  const ValidateCase cases[] = {
      {-1, "  c:\\game\\House.BMP  ", "C:\\game\\House.bmp"},
      {6, "C:\\game\\house", "C:\\game\\house.bmp"},
      {0, "C:\\game\\house", "C:\\game\\house"},  // "*" is no extension to add
      {2, "C:\\game\\run", "C:\\game\\run"},
      {-1, "C:\\game\\run.EXE", "C:\\game\\run.exe"},
      {-1, "C:\\game\\two words.txt", "C:\\game\\two words.txt"},
      {-1, "C:\\game\\house.xyz", nullptr},  // unknown extension
      {256, "C:\\game\\house", nullptr},
      {-1, "C:a.txt", nullptr},
      {-1, "C:\\", nullptr},
      {-1, "E:\\game\\a.txt", nullptr},  // no such drive
      {-1, "D:\\game\\a.txt", nullptr},  // no CD
      {-1, "C:\\game\\\\a.txt", nullptr},
      {-1, "C:\\game\\.a.txt", nullptr},
      {-1, "C:\\game.\\a.txt", nullptr},
      {-1, "C:\\game\\..\\a.txt", nullptr},
      {-1, "C:\\game\\", nullptr},
      {-1, "C:\\game\\a.", nullptr},
      {-1, "C:\\game\\a;b.txt", nullptr},
      {-1, "C:\\game\\a/b.txt", nullptr},
      {-1, "C:\\game\\a:b.txt", nullptr},
      {-1, "C:\\game\\a\tb.txt", nullptr},
      {-1, "C:\\game\\a\x7f.txt", nullptr},
  };
  for (const ValidateCase& testCase : cases) {
    char buffer[kMaxPathSize] = "";
    const bool result = ValidateFileName(testCase.kind, false, testCase.name, buffer);
    EXPECT_EQ(result, testCase.expected != nullptr) << testCase.name;
    if (result && testCase.expected != nullptr) {
      EXPECT_STREQ(buffer, testCase.expected);
    }
  }
}

TEST(FileNamesTest, ValidateFileNameTakesTheStoredSpellingOfAFileThatMustExist) {
  fs::create_directories("Data");
  Touch("Data/House.BMP");
  const std::string folder = platform::CurrentFolderName();
  char buffer[kMaxPathSize];
  ASSERT_TRUE(ValidateFileName(-1, true, (folder + "DATA\\house.bmp").c_str(), buffer));
  EXPECT_EQ(std::string(buffer), folder + "DATA\\House.BMP");
  EXPECT_FALSE(ValidateFileName(-1, true, (folder + "Data\\missing.bmp").c_str(), buffer));
}

struct MakeCase {
  std::string folder;
  const char* name;
  std::string expected;  // empty: refused
};

TEST(FileNamesTest, MakeFileNamePutsBareNamesIntoTheFolder) {
  const std::string folder = platform::CurrentFolderName();  // "C:\...\"
  std::string lowerDrive = folder;
  lowerDrive[0] = 'c';
  const MakeCase cases[] = {
      {lowerDrive, "house.bmp", folder + "house.bmp"},
      {lowerDrive + "  ", "house.bmp", folder + "house.bmp"},
      {folder, "c:\\other\\house.bmp", "C:\\other\\house.bmp"},
      {folder, "c:house.bmp", folder + "house.bmp"},
      {folder, "levels\\house.bmp", ""},  // a relative folder part
      {"C:\\game|x", "house.bmp", ""},
      {"E:\\game", "house.bmp", ""},
  };
  for (const MakeCase& testCase : cases) {
    char buffer[kMaxPathSize] = "";
    const bool result = MakeFileName(testCase.folder.c_str(), testCase.name, buffer);
    EXPECT_EQ(result, !testCase.expected.empty()) << testCase.folder << " + " << testCase.name;
    if (result) {
      EXPECT_EQ(std::string(buffer), testCase.expected);
    }
  }
}

TEST(FileNamesTest, KindComesFromTheExtensionIgnoringCase) {
  const struct {
    const char* name;
    int32_t kind;
  } cases[] = {
      {"house.BMP", 6}, {"C:\\x\\pack.Lmp", 1}, {"run.EXE", 2}, {"go.bat", 2}, {"a.???", 2},
      {"noext", 0},     {"dir.d\\file", 0},     {"a.unknown", 0}, {"town.LML", 12}, {nullptr, 0},
  };
  for (const auto& testCase : cases) {
    EXPECT_EQ(ExtractFileInfo(testCase.name), testCase.kind)
        << (testCase.name != nullptr ? testCase.name : "null");
  }
}

TEST(FileNamesTest, BackupTakesTheFirstFreeNumberAndNeverReplaces) {
  Touch("save.lmd", "game");
  Touch("SAVE_0000.lmd");
  Touch("save_0001.LMD");
  char buffer[kMaxPathSize];
  ASSERT_TRUE(BackupFileName("save.lmd", 5, buffer));
  EXPECT_STREQ(buffer, "save_0002.lmd");
  ASSERT_TRUE(BackupFileName("save.lmd", 0, buffer));  // "*": the name's own extension
  EXPECT_STREQ(buffer, "save_0002.lmd");
  ASSERT_TRUE(BackupFileName("save.lmd", 4, buffer));
  EXPECT_STREQ(buffer, "save_0000.txt");
  EXPECT_TRUE(BackupFile("save.lmd", 5));
  EXPECT_EQ(ReadText("save_0002.lmd"), "game");
  EXPECT_TRUE(BackupFile("SAVE.LMD", 5));
  EXPECT_EQ(ReadText("SAVE_0003.lmd"), "game");
  EXPECT_FALSE(BackupFile("missing.lmd", 5));
}

TEST(FileNamesTest, RenameAndRemoveFindFilesInAnyCase) {
  Touch("Old.txt", "one");
  Touch("other.txt", "two");
  EXPECT_FALSE(RenameFile("old.TXT", "OTHER.txt"));  // never replaces
  EXPECT_TRUE(RenameFile("old.TXT", "OLD.txt"));      // a change of case
  EXPECT_TRUE(fs::exists("OLD.txt"));
  EXPECT_FALSE(fs::exists("Old.txt"));
  EXPECT_TRUE(RenameFile("old.txt", "new.txt"));
  EXPECT_EQ(ReadText("new.txt"), "one");
  EXPECT_TRUE(RemoveFile("NEW.TXT"));
  EXPECT_FALSE(fs::exists("new.txt"));
  EXPECT_FALSE(RemoveFile("new.txt"));
  EXPECT_FALSE(RenameFile("missing.txt", "x.txt"));
}

}  // namespace

TEST(FileNamesTest, DefaultExtensionIsAddedOnlyWhenTheLastComponentHasNone) {
  const struct {
    const char* name;
    const char* withDefault;
  } cases[] = {
      {"boom", "boom.wav"},
      {"boom.snd", "boom.snd"},
      {"C:\\sounds.old\\boom", "C:\\sounds.old\\boom.wav"},  // the dot is in a folder
      {"sounds.old/boom", "sounds.old/boom.wav"},
      {"boom.", "boom..wav"},  // an empty extension is none
      {"C:.x", "C:.x"},
      {"", ".wav"},
  };
  for (const auto& test : cases) {
    EXPECT_EQ(WithDefaultExtension(test.name, ".wav"), test.withDefault) << test.name;
  }
}
