#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "CompoundArchiveSupport.h"
#include "base/LumoNode.h"
#include "platform/FileSystem.h"
#include "platform/Testing.h"
#include "runtime/Compound.h"
#include "runtime/Config.h"
#include "runtime/Folders.h"
#include "support/TempFolder.h"

using namespace compound_test;  // the archive builders of this test folder

// Every writer that replaces a file through a finished temporary puts the
// temporary on the disk before the rename and the folder after it.
namespace {

std::string GameName(const char* file) { return platform::CurrentFolderName() + file; }

// A path as it is on the disk, however the writer named it (a writer given
// a relative name syncs ".").
std::string Resolved(const std::string& path) { return std::filesystem::weakly_canonical(path).string(); }

struct ReplacingWriter {
  const char* what;
  // The temporary's name in the test folder; a trailing "*" stands for the
  // six characters a unique temporary ends with.
  const char* temporary;
  std::function<bool()> write;
};

TEST(ReplacedFilesTest, EveryReplacingWriterSyncsItsTemporaryThenTheFolder) {
  const std::string folder = Resolved(testing_support::TestFolder().string());
  StoreBytes("source.lmp", BuildArchive({{"inside.dat", "inside"}}));
  const ReplacingWriter writers[] = {
      {"configuration", "game.ini.*",
       [] {
         ConfigurationHandle configuration = OpenConfiguration("game", true);
         const bool written = configuration != nullptr && WriteConfigurationStr(configuration, "Test", "Key", "1");
         CloseConfiguration(configuration);
         return written;
       }},
      {"object file", "node.dat.tmp",
       [] {
         LumoNode node;
         node.SetName("saved");
         return SetFolderName(FolderGraphic, platform::CurrentFolderName().c_str()) &&
                node.SaveObjectToFile(FolderGraphic, "node.dat", -1, 0);
       }},
      {"created archive", "made.lmp.new",
       [] {
         CompoundHandle compound = CreateCompound(GameName("made.lmp").c_str());
         return compound != nullptr && AddEntry(compound, "a.dat", "a") && CloseCompound(compound);
       }},
      {"extracted entry", "inside.dat.tmp",
       [] {
         CompoundHandle compound = OpenCompound(GameName("source.lmp").c_str(), false);
         const bool extracted = compound != nullptr && ExtractCompound(compound, GameName("inside.dat").c_str());
         CloseCompound(compound);
         return extracted;
       }},
  };
  for (const ReplacingWriter& writer : writers) {
    SCOPED_TRACE(writer.what);
    std::vector<std::string> synced;
    platform::testing::SetSyncObserver([&](const std::string& path) { synced.push_back(Resolved(path)); });
    EXPECT_TRUE(writer.write());
    platform::testing::SetSyncObserver(nullptr);
    ASSERT_EQ(synced.size(), 2u);
    const std::string temporary = folder + "/" + writer.temporary;
    if (temporary.back() == '*') {
      EXPECT_EQ(synced[0].substr(0, temporary.size() - 1), temporary.substr(0, temporary.size() - 1));
      EXPECT_EQ(synced[0].size(), temporary.size() + 5);
    } else {
      EXPECT_EQ(synced[0], temporary);
    }
    EXPECT_EQ(synced[1], folder);
  }
  StopFolders();
}

}  // namespace
