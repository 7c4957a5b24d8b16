#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "SpriteFixture.h"
#include "framework/LumoEditBox.h"
#include "framework/LumoGraphicList.h"
#include "framework/LumoPage.h"

namespace framework_testing {
namespace {

// A graphic node that says when it is deleted.
class WatchedGraphic : public LumoGraphicNode {
 public:
  explicit WatchedGraphic(bool& deleted) : deleted_(deleted) {
    SetData(reinterpret_cast<uintptr_t>(CreateGraphic(4, 4, sRGB{0, 0, 255})));
  }
  ~WatchedGraphic() override { deleted_ = true; }

 private:
  bool& deleted_;
};

// An object that refers to another and records when it hears of its end.
class Referrer : public LumoObject {
 public:
  void OnAbortReferenceTo(LumoObject* other) override {
    LumoObject::OnAbortReferenceTo(other);
    aborted.push_back(other);
  }
  std::vector<LumoObject*> aborted;
};

class DisposalTest : public SpriteFixture {
 protected:
  void SetUp() override {
    SpriteFixture::SetUp();
    StartWithLevel();
    cell = AddCell(0, 0, 320, 200);
  }

 public:
  LumoSprite* AddSpriteTo(LumoCell& owner, LumoGraphicNode* graphic) { return AddSprite(owner, 0, 0, graphic); }
  LumoCell* AddCellTo(int32_t left, int32_t top, int32_t width, int32_t height) {
    return AddCell(left, top, width, height);
  }

 protected:
  LumoCell* cell = nullptr;
};

// One kind of object that owns a nameless graphic: builds it in the cell
// with the graphic and answers the object to dispose of.
struct Owner {
  const char* name;
  std::function<LumoNode*(DisposalTest&, LumoCell&, LumoGraphicNode*)> build;
};

class DisposedOwnerTest : public DisposalTest, public ::testing::WithParamInterface<Owner> {};

TEST_P(DisposedOwnerTest, DestroysItsNamelessGraphicWhenDeletedAfterTheFrame) {
  bool graphicDeleted = false;
  LumoNode* owner = GetParam().build(*this, *cell, new WatchedGraphic(graphicDeleted));

  Engine->DisposeObject(owner);
  EXPECT_FALSE(graphicDeleted);  // the object still exists until the frame ends
  ASSERT_TRUE(Pulse());

  EXPECT_TRUE(graphicDeleted);
  EXPECT_EQ(Engine->DisposalList->Count, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Owners, DisposedOwnerTest,
    ::testing::Values(
        Owner{"SpriteFrame",
              [](DisposalTest& test, LumoCell& cell, LumoGraphicNode* graphic) -> LumoNode* {
                return test.AddSpriteTo(cell, graphic);
              }},
        Owner{"PageDrawingGraphic",
              [](DisposalTest&, LumoCell& cell, LumoGraphicNode* graphic) -> LumoNode* {
                auto* page = new LumoPage;
                cell.Append(page);
                page->SetGraphic(graphic);
                return page;
              }},
        Owner{"EditBoxCaret",
              [](DisposalTest&, LumoCell& cell, LumoGraphicNode* graphic) -> LumoNode* {
                auto* box = new LumoEditBox;
                cell.Append(box);
                box->SetCaretGraphic(graphic);
                return box;
              }},
        // The owner is an item of the disposed object, a level further down.
        Owner{"SpriteOfADisposedCell",
              [](DisposalTest& test, LumoCell&, LumoGraphicNode* graphic) -> LumoNode* {
                LumoCell* inner = test.AddCellTo(0, 0, 100, 100);
                test.AddSpriteTo(*inner, graphic);
                return inner;
              }}),
    [](const ::testing::TestParamInfo<Owner>& info) { return std::string(info.param.name); });

TEST_F(DisposalTest, ANamedGraphicStaysWithItsListAndWhoReferredToTheObjectForgetsItAtOnce) {
  bool namedDeleted = false;
  auto* named = new WatchedGraphic(namedDeleted);
  named->SetName("Shared");
  Engine->GraphicList->Append(named);
  LumoSprite* sprite = AddSpriteTo(*cell, named);
  Referrer referrer;
  ASSERT_NE(referrer.AddReference(sprite), nullptr);

  Engine->DisposeObject(sprite);

  EXPECT_EQ(referrer.aborted, std::vector<LumoObject*>{sprite});
  EXPECT_FALSE(sprite->HasReferrers());
  ASSERT_TRUE(Pulse());
  EXPECT_FALSE(namedDeleted);
  EXPECT_FALSE(named->HasReferrers());
  EXPECT_EQ(Engine->GraphicList->FindByName("Shared"), named);
}

}  // namespace
}  // namespace framework_testing
