#include <gtest/gtest.h>

#include <strings.h>

#include <cstdio>
#include <memory>
#include <string>

#include "FrameworkFixture.h"
#include "framework/LumoGraphicList.h"
#include "platform/Testing.h"
#include "runtime/Display.h"
#include "runtime/FileTypes.h"

namespace framework_testing {
namespace {

constexpr sRGB kWhite{255, 255, 255};
constexpr sRGB kRed{0, 0, 255};
constexpr sRGB kBlue{255, 0, 0};

class GraphicListTest : public FrameworkTest {
 protected:
  void SetUp() override {
    FrameworkTest::SetUp();
    ASSERT_TRUE(Start());
  }

  // The list's graphics go before the run-time system stops.
  void TearDown() override {
    owner.reset();
    FrameworkTest::TearDown();
  }

  std::unique_ptr<LumoGraphicList, tObjectDestroyer> owner{new LumoGraphicList};
  LumoGraphicList& list = *owner;
};

TEST_F(GraphicListTest, SharedFillsAreFoundByTheirKeyAndUnsharedOnesAreNew) {
  LumoGraphicNode* first = list.GetGeneratedGraphic(8, 8, kWhite, true);
  ASSERT_NE(first, nullptr);
  EXPECT_STREQ(first->Name, "=00080008ffffff00000000");
  EXPECT_EQ(list.GetGeneratedGraphic(8, 8, kWhite, true), first);
  EXPECT_EQ(list.FindGeneratedGraphic('=', 8, 8, kWhite), first);
  EXPECT_EQ(list.FindGeneratedGraphic('$', 8, 8, kWhite), nullptr);
  EXPECT_NE(list.GetGeneratedGraphic(8, 9, kWhite, true), first);
  EXPECT_NE(list.GetGeneratedGraphic(8, 8, kRed, true), first);
  EXPECT_EQ(first->GetPixel(7, 7), ConvertRGB(kWhite));
  EXPECT_NE(first->Flags & LumoGraphicNode::kMadeFlag, 0u);

  LumoGraphicNode* unshared = list.GetGeneratedGraphic(8, 8, kWhite, false);
  LumoGraphicNode* another = list.GetGeneratedGraphic(8, 8, kWhite, false);
  EXPECT_NE(unshared, another);
  EXPECT_NE(unshared, first);
  EXPECT_EQ(unshared->Name, nullptr);
  LumoGraphicNode* blank = list.GetBlankGraphic(2, 3);
  EXPECT_EQ(blank->GetPixel(1, 2), ConvertRGB(sRGB{}));
  EXPECT_EQ(blank->Width, 2);
  EXPECT_EQ(blank->Height, 3);
}

TEST_F(GraphicListTest, KeysAreFoundByBinarySearchAmongAThousandNames) {
  for (int index = 999; index >= 0; --index) {
    char name[16];
    std::snprintf(name, sizeof name, "name%04d", index);
    list.ProvideGraphicAt(name, index, 0);
  }
  LumoGraphicNode* shared = list.GetGeneratedGraphic(4, 4, kBlue, true);
  ASSERT_EQ(list.index->count, 1001);
  for (int index = 1; index < list.index->count; ++index) {
    const auto* before = static_cast<const LumoNode*>(list.index->items[index - 1]);
    const auto* after = static_cast<const LumoNode*>(list.index->items[index]);
    EXPECT_LT(strcasecmp(before->Name, after->Name), 0);
  }

  EXPECT_EQ(list.FindGeneratedGraphic('=', 4, 4, kBlue), shared);
  EXPECT_EQ(list.ProvideGraphicAt("NAME0500", 1, 2)->Left, 1);
  EXPECT_EQ(list.Count, 1001);
}

TEST_F(GraphicListTest, ScratchGraphicsAreReusedWhenBigEnough) {
  list.ProvideGraphicAt("named", 0, 0);
  LumoGraphicNode* big = list.AcquireScratchGraphic(20, 20);
  ASSERT_NE(big, nullptr);
  EXPECT_EQ(list.first, big);  // scratch graphics stand first
  list.ReleaseScratchGraphic(big);
  EXPECT_EQ(big->Flags & LumoGraphicNode::kInUseFlag, 0u);

  EXPECT_EQ(list.AcquireScratchGraphic(10, 10), big);
  LumoGraphicNode* small = list.AcquireScratchGraphic(10, 10);
  EXPECT_NE(small, big);
  EXPECT_EQ(small->Width, 10);
  EXPECT_EQ(list.ScratchCount(), 2);

  // A node of another list comes back as a scratch graphic of this one.
  {
    LumoGraphicList other;
    LumoGraphicNode* handed = other.GetGeneratedGraphic(5, 5, kRed, true);
    list.ReleaseScratchGraphic(handed);
    EXPECT_EQ(handed->parent, &list);
    EXPECT_EQ(handed->Name, nullptr);
    EXPECT_EQ(other.FindGeneratedGraphic('=', 5, 5, kRed), nullptr);
  }
  EXPECT_EQ(list.ScratchCount(), 3);

  // Without a graphic a released node is destroyed.
  auto* empty = new LumoGraphicNode;
  list.Append(empty);
  const int32_t count = list.Count;
  list.ReleaseScratchGraphic(empty);
  EXPECT_EQ(list.Count, count - 1);

  list.DeleteScratch();
  EXPECT_EQ(list.ScratchCount(), 0);
  EXPECT_EQ(list.Count, 1);
  EXPECT_STREQ(list.first->Name, "named");
}

TEST_F(GraphicListTest, NamedLookupsLoadOnlyWhenAsked) {
  EXPECT_EQ(list.ProvideGraphic(nullptr), nullptr);
  LumoGraphicNode* placed = list.ProvideGraphicAt("missing.bmp", 3, 4);
  ASSERT_NE(placed, nullptr);
  EXPECT_EQ(placed->Data, 0u);
  EXPECT_EQ(placed->Top, 4);
  // An unknown name still gives a node; its graphic could not be loaded.
  LumoGraphicNode* found = list.FindGraphic("other.bmp", 1, 1);
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(found->Data, 0u);
  EXPECT_EQ(list.FindGraphic("other.bmp"), found);
  EXPECT_EQ(list.ProvideGraphic("other.bmp"), found);
}

TEST_F(GraphicListTest, RemovingTheBackgroundGraphicKeepsTheBackgroundColour) {
  TestLevel* level = AppendLevel(*Engine, "level");
  Engine->RequestLevel(level);
  Engine->StartAnimation();
  ASSERT_TRUE(Pulse());
  ASSERT_TRUE(level->GraphicList);
  LumoGraphicNode* picture = level->GraphicList->GetGeneratedGraphic(10, 10, kBlue, true);

  level->SetBackgroundColour(kRed);
  level->SetBackgroundGraphic(picture, 5, 5);
  EXPECT_EQ(level->BackgroundKind, 3u);
  ASSERT_TRUE(Pulse());
  auto frame = platform::testing::LastPresentedFrame();
  EXPECT_EQ(platform::testing::PresentedPixel(frame, 6, 6), ConvertRGB(kBlue));
  EXPECT_EQ(platform::testing::PresentedPixel(frame, 1, 1), ConvertRGB(kRed));

  level->SetBackgroundGraphic(nullptr, 0, 0);

  EXPECT_EQ(level->BackgroundKind, 1u);
  BeginScreenUpdate();
  FillViewport(Engine->ScreenViewport, kWhite);  // what the last frame left
  EndScreenUpdate();
  ASSERT_TRUE(Pulse());
  frame = platform::testing::LastPresentedFrame();
  EXPECT_EQ(platform::testing::PresentedPixel(frame, 6, 6), ConvertRGB(kRed));

  level->ClearBackground();
  EXPECT_EQ(level->BackgroundKind, 0u);
}

TEST_F(GraphicListTest, CentredGraphicShowsOnlyWhileBusy) {
  LumoGraphicNode* splash = Engine->GraphicList->ProvideGraphicAt("Splash", 0, 0);
  splash->SetData(reinterpret_cast<uintptr_t>(CreateGraphic(10, 20, kRed)));

  EXPECT_EQ(Engine->ShowCentredGraphic("Splash"), nullptr);
  Engine->SetBusy(true);
  EXPECT_EQ(Engine->ShowCentredGraphic("Unknown"), nullptr);
  EXPECT_EQ(Engine->ShowCentredGraphicOnFill("Splash", kWhite), splash);
  Engine->SetBusy(false);

  const auto frame = platform::testing::LastPresentedFrame();
  EXPECT_EQ(platform::testing::PresentedPixel(frame, 395, 290), ConvertRGB(kRed));
  EXPECT_EQ(platform::testing::PresentedPixel(frame, 404, 309), ConvertRGB(kRed));
  EXPECT_EQ(platform::testing::PresentedPixel(frame, 405, 310), ConvertRGB(kWhite));
  EXPECT_EQ(platform::testing::PresentedPixel(frame, 394, 290), ConvertRGB(kWhite));
}

}  // namespace
}  // namespace framework_testing

namespace framework_testing {
namespace {

// Only display surfaces can be lost; the render buffer of a full-screen
// display that draws straight into its back buffer (the default) is one.
class MemoryBackupTest : public FrameworkTest {
 protected:
  void SetUp() override {
    FrameworkTest::SetUp();
    ASSERT_TRUE(Start());
    level = AppendLevel(*Engine, "level");
    Engine->RequestLevel(level);
    Engine->StartAnimation();
    ASSERT_TRUE(Pulse());
  }

  TestLevel* level = nullptr;
};

TEST_F(MemoryBackupTest, VolatileGraphicsAreKeptAndCopiedBackOnceLost) {
  level->GraphicList->GetGeneratedGraphic(4, 4, kRed, true);  // system memory
  level->RestoreMemory();  // nothing stored: nothing to do
  level->StoreMemory();
  EXPECT_EQ(level->MemoryBackup->count, 0);

  ASSERT_TRUE(VolatileGraphic(GetBackground()));
  LumoGraphicNode* screen = Engine->GraphicList->ProvideGraphicAt("screen", 0, 0);
  screen->SetData(reinterpret_cast<uintptr_t>(GetBackground()));
  FillGraphic(GetBackground(), kBlue);
  StoreLevelMemory();
  EXPECT_EQ(level->MemoryBackup->count, 1);
  FillGraphic(GetBackground(), kWhite);
  platform::testing::MakeSurfaceLost(*RenderBuffer());
  ASSERT_TRUE(LostGraphic(GetBackground()));

  RestoreLevelMemory();

  EXPECT_EQ(GetGraphicPixel(GetBackground(), 10, 10), ConvertRGB(kBlue));
  EXPECT_EQ(level->MemoryBackup->count, 0);
  RestoreLevelMemory();  // a second restore finds nothing
  screen->Data = 0;      // the render buffer is the display's, not the node's
}

}  // namespace
}  // namespace framework_testing

namespace framework_testing {
namespace {

class FileIconTest : public FrameworkTest {};

TEST_F(FileIconTest, FileTypesTakeTheirIconsFromTheEnginesGraphics) {
  ASSERT_TRUE(Start());
  LumoGraphicNode* unknown = Engine->GraphicList->ProvideGraphicAt("_UnknownFile", 0, 0);
  unknown->SetData(reinterpret_cast<uintptr_t>(CreateGraphic(16, 16, kRed)));
  LumoGraphicNode* text = Engine->GraphicList->ProvideGraphicAt("_TextFile", 0, 0);
  text->SetData(reinterpret_cast<uintptr_t>(CreateGraphic(16, 16, kBlue)));

  Engine->LoadFileIcons(false);

  EXPECT_EQ(GetIconData(0), unknown->Graphic());
  EXPECT_EQ(GetIconData(4), text->Graphic());
  EXPECT_EQ(GetIconData(1), nullptr);  // "_CompoundFile" could not be loaded
  EXPECT_EQ(text->SourceKey.Mode, KeyColor);
  EXPECT_EQ(text->SourceKey.Low.Red, 255);
  EXPECT_EQ(text->SourceKey.Low.Green, 0);

  SetIconData(4, nullptr);
  Engine->LoadFileIcons(false);  // the first type has its icon: nothing
  EXPECT_EQ(GetIconData(4), nullptr);
  Engine->LoadFileIcons(true);
  EXPECT_EQ(GetIconData(4), text->Graphic());

  DestroyEngine();
  EXPECT_EQ(GetIconData(0), nullptr);
  EXPECT_EQ(GetIconData(4), nullptr);
}

}  // namespace
}  // namespace framework_testing
