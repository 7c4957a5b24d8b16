#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "SpriteFixture.h"
#include "framework/LumoGraphicList.h"
#include "framework/LumoSoundList.h"

namespace framework_testing {
namespace {

// A level whose factories hand out another level's graphic and sound lists,
// as the game level does with its loader's.
class BorrowingLevel : public LumoLevel {
 public:
  explicit BorrowingLevel(LumoLevel& lender) : lender_(lender) {}
  LumoGraphicList* CreateGraphicList() override { return lender_.GraphicList.get(); }
  LumoSoundList* CreateSoundList() override { return lender_.SoundList.get(); }

 private:
  LumoLevel& lender_;
};

// The current level lends its lists to a populated borrower; the lender's
// graphic list holds one named, loaded graphic and its sound list one node.
class LentSourcesTest : public SpriteFixture {
 protected:
  void SetUp() override {
    SpriteFixture::SetUp();
    StartWithLevel();
    graphic = MadeGraphic(4, 4, sRGB{0, 255, 0});
    graphic->SetName("Lent");
    graphic->SetTag(1);
    level->GraphicList->Append(graphic);
    level->SoundList->Append(level->SoundList->CreateNamedItem("LentSound"));
    borrower = new BorrowingLevel(*level);
    Engine->Append(borrower);
    borrower->Populate();
    ASSERT_EQ(borrower->GraphicList.get(), level->GraphicList.get());
    ASSERT_EQ(borrower->SoundList.get(), level->SoundList.get());
  }

  // The lender's lists hold what they held.
  void ExpectLenderIntact() {
    ASSERT_TRUE(level->GraphicList);
    ASSERT_TRUE(level->SoundList);
    EXPECT_EQ(level->GraphicList->FindByName("Lent"), graphic);
    EXPECT_NE(graphic->Data, 0u);
    EXPECT_EQ(graphic->Tag, 1);
    EXPECT_NE(level->SoundList->FindByName("LentSound"), nullptr);
  }

  LumoGraphicNode* graphic = nullptr;
  BorrowingLevel* borrower = nullptr;
};

TEST_F(LentSourcesTest, WhatTheBorrowerDoesToItsSourcesLeavesTheLentListsAlone) {
  struct Case {
    const char* name;
    std::function<void(LumoLevel&)> act;
  };
  const Case cases[] = {
      {"ClearSources", [](LumoLevel& borrowing) { borrowing.ClearSources(); }},
      {"UnloadSources", [](LumoLevel& borrowing) { borrowing.UnloadSources(); }},
      {"IncrementSourceTags", [](LumoLevel& borrowing) { borrowing.IncrementSourceTags(); }},
      {"DecrementSourceTags", [](LumoLevel& borrowing) { borrowing.DecrementSourceTags(); }},
      {"ClearTaggedSource", [](LumoLevel& borrowing) { borrowing.ClearTaggedSource(); }},
      {"Clear (emptied)", [](LumoLevel& borrowing) { borrowing.Clear(); }},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    test.act(*borrower);
    ExpectLenderIntact();
    EXPECT_EQ(borrower->GraphicList.get(), level->GraphicList.get());
  }
}

TEST_F(LentSourcesTest, DestroyingTheBorrowerLeavesTheListsToTheirOwner) {
  DestroyObject(borrower);

  ExpectLenderIntact();
  // The owner still frees them, once.
  level->GraphicList->Clear();
  EXPECT_EQ(level->GraphicList->Count, 0);
}

TEST_F(LentSourcesTest, ABorrowerLeftByItsLenderForgetsTheListsAndGoesSafely) {
  // With an item the borrower is resumed, not populated again.
  borrower->Append(new LumoCell);
  Engine->RequestLevel(borrower);
  level->SetCloseMode(LumoEngine::CloseDestroy);
  ASSERT_TRUE(Pulse());

  ASSERT_EQ(Engine->Level, borrower);
  EXPECT_FALSE(borrower->GraphicList);
  EXPECT_FALSE(borrower->SoundList);
  EXPECT_TRUE(borrower->MovieList);  // its own, made by its own factory
  DestroyObject(borrower);
}

}  // namespace
}  // namespace framework_testing
