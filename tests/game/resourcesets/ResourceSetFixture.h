#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "ResourceFixture.h"
#include "game/YGGraphicResource.h"
#include "game/YGResourceList.h"
#include "game/YGResourceMove.h"
#include "game/YGResourceNode.h"
#include "game/YGResourceSet.h"
#include "game/YGSoundResource.h"
#include "game/YGThingResource.h"
#include "runtime/Compound.h"
#include "runtime/FileNames.h"
#include "runtime/Files.h"
#include "runtime/Folders.h"

namespace resourceset_testing {

using resource_testing::LogCount;
using resource_testing::LogHas;
using resource_testing::RecordOf;
using resource_testing::Rgb;

// The level of ResourceTest with a few named graphics and sounds, builders
// of thing resources that use them, and the current compound archive and
// loose files of the shared folder made from records.
class ResourceSetTest : public resource_testing::ResourceTest {
 protected:
  void SetUp() override {
    ResourceTest::SetUp();
    red = AddGraphic("Red", 4, 3, Rgb(255, 0, 0));
    green = AddGraphic("Green", 2, 5, Rgb(0, 255, 0));
    blue = AddGraphic("Blue", 6, 1, Rgb(0, 0, 255));
    bang = AddSound("Bang");
    thud = AddSound("Thud");
  }

  void TearDown() override {
    if (compound != nullptr) {
      SetCompound(nullptr);
      CloseCompound(compound);
      compound = nullptr;
    }
    ResourceTest::TearDown();
  }

  // A resource of type 6 (one move slot) whose move 0 has one sequence per
  // graphic list given, colour 0, and the sound.
  YGThingResource* MakeThing(const char* name, const std::vector<std::vector<LumoGraphicNode*>>& sequences,
                             LumoSoundNode* sound = nullptr, int32_t repeats = 1) {
    auto* resource = new YGThingResource(name, 6);
    auto* move = new YGResourceMove(0, static_cast<int32_t>(sequences.size()), 1, repeats, false);
    move->SetSound(sound);
    EXPECT_TRUE(resource->AddMove(move));
    for (size_t index = 0; index < sequences.size(); ++index) {
      std::vector<FramePlacement> frames;
      for (LumoGraphicNode* graphic : sequences[index]) {
        frames.push_back({graphic, 1, 2});
      }
      EXPECT_TRUE(resource->SetSequence(0, static_cast<int32_t>(index), 0, MakeList(frames)));
    }
    return resource;
  }

  // Adds a node of that name and Duplicate holding the resource to the set.
  static YGResourceNode* AddNode(YGResourceSet& set, const char* name, int32_t duplicate, YGThingResource* resource) {
    auto* node = dynamic_cast<YGResourceNode*>(set.Things->FindOrCreate(name));
    EXPECT_NE(node, nullptr);
    node->Duplicate = duplicate;
    node->SetResource(resource);
    return node;
  }

  // A new archive holding the records by entry name, opened for reading and
  // made the current compound.
  void MakeCurrentCompound(const std::map<std::string, std::string>& entries) {
    const std::string name = FolderName(FolderProgram) + "things.lmp";
    CompoundHandle made = CreateCompound(name.c_str());
    ASSERT_NE(made, nullptr);
    for (const auto& [entry, bytes] : entries) {
      uint32_t offset = 0;
      FileHandle file = AppendCompound(made, entry.c_str(), offset);
      ASSERT_NE(file, nullptr);
      ASSERT_TRUE(WriteFileExactly(file, bytes.data(), static_cast<uint32_t>(bytes.size())));
      ASSERT_TRUE(UpdateCompound(made, static_cast<uint32_t>(bytes.size())));
    }
    ASSERT_TRUE(CloseCompound(made));
    compound = OpenCompound(name.c_str(), false);
    ASSERT_NE(compound, nullptr);
    SetCompound(compound);
  }

  static std::string FolderName(tFolderType type) {
    char folder[kMaxPathSize] = "";
    EXPECT_TRUE(GetFolderName(type, folder));
    return folder;
  }

  static std::string SharedFile(const std::string& fileName) { return FolderName(FolderShared) + fileName; }

  // Writes the bytes as a loose file of the shared folder.
  static void WriteShared(const std::string& fileName, const std::string& bytes) {
    FileHandle file = OpenFile(SharedFile(fileName).c_str(), FileModeWrite, OpenModeCreate, ShareModeExclusive);
    ASSERT_NE(file, nullptr);
    ASSERT_TRUE(WriteFileExactly(file, bytes.data(), static_cast<uint32_t>(bytes.size())));
    ASSERT_TRUE(CloseFile(file));
  }

  // The graphic's count in the set, -1 when it has no entry.
  static int64_t GraphicCount(YGResourceSet& set, const char* name) {
    LumoNode* entry = set.Graphics->FindByName(name);
    return entry != nullptr ? static_cast<int64_t>(entry->ID) : -1;
  }
  static int64_t SoundCount(YGResourceSet& set, const char* name) {
    LumoNode* entry = set.Sounds->FindByName(name);
    return entry != nullptr ? static_cast<int64_t>(entry->ID) : -1;
  }

  LumoGraphicNode* red = nullptr;
  LumoGraphicNode* green = nullptr;
  LumoGraphicNode* blue = nullptr;
  LumoSoundNode* bang = nullptr;
  LumoSoundNode* thud = nullptr;
  CompoundHandle compound = nullptr;
};

}  // namespace resourceset_testing
