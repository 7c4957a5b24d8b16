#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "CompoundArchiveSupport.h"
#include "platform/FileSystem.h"
#include "runtime/Alpha.h"
#include "runtime/AlphaFile.h"
#include "runtime/Compound.h"
#include "runtime/DebugLog.h"
#include "runtime/Folders.h"
#include "support/DebugLogReader.h"

namespace {

using Bytes = std::vector<uint8_t>;

void PutBig(Bytes& bytes, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) {
    bytes.push_back(static_cast<uint8_t>(value >> shift));
  }
}

// An alpha file laid out field by field, right or wrong as a test asks.
struct AlphaFileSpec {
  std::string signature = "AILM";
  uint32_t version = 0x01030000;
  uint32_t headerSize = 24;
  uint32_t width = 3;
  uint32_t height = 2;
  int64_t dataSizeChange = 0;  // added to width * height in the header
  Bytes data = {1, 2, 3, 4, 5, 6};
  size_t cutTo = SIZE_MAX;  // the file is cut to this many bytes
};

Bytes BuildAlphaFile(const AlphaFileSpec& spec) {
  Bytes bytes(spec.signature.begin(), spec.signature.end());
  PutBig(bytes, spec.version);
  PutBig(bytes, spec.headerSize);
  PutBig(bytes, static_cast<uint32_t>(int64_t{spec.width} * spec.height + spec.dataSizeChange));
  PutBig(bytes, spec.width);
  PutBig(bytes, spec.height);
  bytes.resize(std::max<size_t>(bytes.size(), spec.headerSize), 0xEE);  // filler between header and data
  bytes.insert(bytes.end(), spec.data.begin(), spec.data.end());
  if (spec.cutTo < bytes.size()) {
    bytes.resize(spec.cutTo);
  }
  return bytes;
}

class AlphaFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetDebugMode(DebugModeOverwrite);
    ASSERT_TRUE(SetFolderName(FolderGraphic, folder.c_str()));
  }
  void TearDown() override {
    CloseGlobalCompound();
    StopFolders();
    SetDebugMode(DebugModeOff);
  }

  static bool LogHas(const std::string& text) {
    return testing_support::ReadDebugLog().find(text) != std::string::npos;
  }

  // The map's bytes, and the map destroyed; "<none>" as one byte list when
  // nothing loaded.
  static Bytes LoadedBytes(const char* name) {
    AlphaHandle alpha = LoadAlpha(name);
    if (alpha == nullptr) {
      return {};
    }
    const tAlphaBytes view = GetAlphaBytes(alpha);
    Bytes bytes(view.Data, view.Data + view.Size);
    DestroyAlpha(alpha);
    return bytes;
  }

  std::string folder = platform::CurrentFolderName();
};

uint32_t VersionWord(uint32_t major, uint32_t minor, uint32_t release, uint32_t build) {
  return (major << 24) | (minor << 16) | (release << 8) | build;
}

struct HeaderCase {
  const char* what;
  AlphaFileSpec spec;
  bool loads;
  const char* logText;
};

TEST_F(AlphaFileTest, LoadAlphaChecksTheHeaderAndTheSizesBeforeReading) {
  AlphaFileSpec plain;
  auto with = [&plain](auto change) {
    AlphaFileSpec spec = plain;
    change(spec);
    return spec;
  };
  const uint32_t own = AlphaLibraryVersion();
  ASSERT_EQ(own, VersionWord(1, 7, 8, 0));
  const HeaderCase cases[] = {
      {"version 1.3.0.0", plain, true, nullptr},
      {"the library's own version", with([own](AlphaFileSpec& s) { s.version = own; }), true, nullptr},
      {"version 1.2.0.0", with([](AlphaFileSpec& s) { s.version = VersionWord(1, 2, 0, 0); }), false,
       "Wrong file version (Name=mask, Version=1.2.0.0)"},
      {"one above the library's version", with([own](AlphaFileSpec& s) { s.version = own + 1; }), false,
       "Wrong file version (Name=mask, Version=1.7.8.1)"},
      {"header size 32", with([](AlphaFileSpec& s) { s.headerSize = 32; }), true, nullptr},
      {"header size 20", with([](AlphaFileSpec& s) { s.headerSize = 20; }), false, "Wrong file offset (Name=mask, Offset=20)"},
      {"header size past the end", with([](AlphaFileSpec& s) { s.headerSize = 4000; s.cutTo = 100; }), false,
       "Wrong file offset (Name=mask, Offset=4000)"},
      {"data size one too large", with([](AlphaFileSpec& s) { s.dataSizeChange = 1; s.data.push_back(7); }), false,
       "File contains the wrong amount of data (Name=mask, Offset=24, Size=7)"},
      {"width x height wrapping to the data size",
       with([](AlphaFileSpec& s) { s.width = 0x10000; s.height = 0x10000; s.data.clear(); }), false,
       "File contains the wrong amount of data (Name=mask, Offset=24, Size=0)"},
      {"data cut short", with([](AlphaFileSpec& s) { s.cutTo = 24 + 5; }), false,
       "File contains the wrong amount of data (Name=mask, Offset=24, Size=6)"},
      {"wrong signature", with([](AlphaFileSpec& s) { s.signature = "AILX"; }), false, "Wrong file type (Name=mask)"},
      {"header cut short", with([](AlphaFileSpec& s) { s.cutTo = 10; }), false,
       "Cannot read the alpha information header (Name=mask)"},
  };
  for (const HeaderCase& test : cases) {
    compound_test::StoreBytes("mask.lma", BuildAlphaFile(test.spec));
    const Bytes loaded = LoadedBytes("mask");
    EXPECT_EQ(!loaded.empty(), test.loads) << test.what;
    if (test.loads) {
      EXPECT_EQ(loaded, test.spec.data) << test.what;
    } else {
      EXPECT_TRUE(LogHas(std::string("LoadAlpha() ") + test.logText)) << test.what;
    }
  }
  EXPECT_EQ(LiveAlphaCount(), 0);
}

TEST_F(AlphaFileTest, SavedMapLoadsBackIdenticalFromAFileWrittenAsTheFormatSays) {
  const uint8_t source[6] = {9, 8, 7, 6, 5, 4};
  AlphaHandle alpha = CreateAlpha(3, 2, source, 3, AlphaKindBytes, kAlphaOriginTopDown);
  ASSERT_TRUE(SaveAlpha(alpha, "mask"));
  AlphaFileSpec expected;
  expected.data = Bytes(source, source + 6);
  EXPECT_EQ(compound_test::LoadBytes("mask.lma"), BuildAlphaFile(expected));
  EXPECT_FALSE(std::filesystem::exists("mask.lma.tmp"));
  EXPECT_EQ(LoadedBytes("mask"), expected.data);
  // A full path is used as given.
  EXPECT_EQ(LoadedBytes((folder + "mask.lma").c_str()), expected.data);
  DestroyAlpha(alpha);
}

TEST_F(AlphaFileTest, FailedSavesKeepTheOldFile) {
  const uint8_t source[6] = {1, 1, 1, 1, 1, 1};
  AlphaHandle alpha = CreateAlpha(3, 2, source, 3, AlphaKindBytes, kAlphaOriginTopDown);
  ASSERT_TRUE(SaveAlpha(alpha, "mask"));
  const Bytes before = compound_test::LoadBytes("mask.lma");

  // A map without data (a file of width 0) is refused before any file is made.
  AlphaFileSpec empty;
  empty.width = 0;
  empty.data.clear();
  compound_test::StoreBytes("empty.lma", BuildAlphaFile(empty));
  AlphaHandle emptyMap = LoadAlpha("empty");
  ASSERT_NE(emptyMap, nullptr);
  EXPECT_FALSE(SaveAlpha(emptyMap, "mask"));
  EXPECT_TRUE(LogHas("SaveAlpha() No alpha information (Name=mask"));
  EXPECT_EQ(compound_test::LoadBytes("mask.lma"), before);

  // The temporary file cannot be made: the old file stays whole.
  std::filesystem::create_directory("mask.lma.tmp");
  EXPECT_FALSE(SaveAlpha(alpha, "mask"));
  EXPECT_TRUE(LogHas("SaveAlpha() Cannot create the file"));
  EXPECT_EQ(compound_test::LoadBytes("mask.lma"), before);

  EXPECT_FALSE(SaveAlpha(nullptr, "mask"));
  EXPECT_TRUE(LogHas("SaveAlpha() Null pointer to the alpha information specified (Name=mask)"));
  EXPECT_FALSE(SaveAlpha(alpha, nullptr));
  EXPECT_TRUE(LogHas("SaveAlpha() Null pointer to the name specified"));
  DestroyAlpha(emptyMap);
  DestroyAlpha(alpha);
}

TEST_F(AlphaFileTest, LoadAlphaReadsTheGlobalArchiveBeforeTheFolder) {
  AlphaFileSpec loose;
  loose.data = {1, 1, 1, 1, 1, 1};
  compound_test::StoreBytes("mask.lma", BuildAlphaFile(loose));
  AlphaFileSpec packed;
  packed.headerSize = 32;  // read from the entry's start plus 32
  packed.data = {2, 3, 4, 5, 6, 7};
  AlphaFileSpec overlong;  // its data would run into the next entry
  overlong.dataSizeChange = 0;
  overlong.width = 4;
  overlong.data = {8, 8, 8, 8, 8, 8};
  const Bytes packedBytes = BuildAlphaFile(packed);
  const Bytes overlongBytes = BuildAlphaFile(overlong);
  compound_test::StoreBytes(
      "global.lmp",
      compound_test::BuildArchive({{"mask.lma", std::string(packedBytes.begin(), packedBytes.end())},
                                   {"over.lma", std::string(overlongBytes.begin(), overlongBytes.end())},
                                   {"tail", std::string(64, 'x')}}));
  CompoundHandle compound = OpenCompound((folder + "global.lmp").c_str(), false);
  ASSERT_NE(compound, nullptr);
  SetCompound(compound);

  EXPECT_EQ(LoadedBytes("mask"), packed.data);
  EXPECT_EQ(LoadedBytes((folder + "MASK.LMA").c_str()), packed.data);  // by the file part
  EXPECT_TRUE(LoadedBytes("over").empty());
  EXPECT_TRUE(LogHas("LoadAlpha() File contains the wrong amount of data (Name=over"));

  CloseGlobalCompound();
  EXPECT_EQ(LoadedBytes("mask"), loose.data);
}

}  // namespace
