#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "SpriteFixture.h"
#include "framework/LumoEngine.h"
#include "framework/LumoLevel.h"

namespace framework_testing {
namespace {

constexpr sRGB kRed{0, 0, 255};
constexpr sRGB kBlue{255, 0, 0};

// A sprite that records what reaches it and throws from a hook when told.
class InputSprite : public LumoSprite {
 public:
  const char* GetClassName() const override { return "InputSprite"; }
  bool DoMouseDown(tInputEvent* event) override {
    presses.push_back(MouseOver);
    if (throwing == "DoMouseDown") {
      throw std::runtime_error("press");
    }
    return LumoSprite::DoMouseDown(event);
  }
  void DoStartMotion() override {
    if (throwing == "DoStartMotion") {
      throw std::runtime_error("motion");
    }
  }
  bool CanDrag(int32_t x, int32_t y) override {
    if (throwing == "CanDrag") {
      throw std::runtime_error("drag");
    }
    return LumoSprite::CanDrag(x, y);
  }
  void OnDrag() override { ++drags; }
  void DoCatch(LumoSprite* dropped) override { caught.push_back(dropped); }
  void OnCatch(LumoSprite* dropped) override { caught.push_back(dropped); }
  std::vector<bool> presses;  // MouseOver at each press
  std::vector<LumoSprite*> caught;
  std::string throwing;
  int drags = 0;
};

class SpriteInputTest : public SpriteFixture {
 protected:
  InputSprite* AddInputSprite(LumoCell& cell, int32_t x, int32_t y, LumoGraphicNode* graphic) {
    auto* sprite = AddSprite<InputSprite>(cell, x, y, graphic);
    sprite->SetInput(true);
    sprite->SetDefaultInputResult(true);
    return sprite;
  }
};

TEST_F(SpriteInputTest, ThePressGoesToTheSpriteDrawnLastThatTakesInput) {
  StartWithLevel();
  LumoCell* cell = AddCell(0, 0, 400, 300);
  InputSprite* below = AddInputSprite(*cell, 10, 10, MadeGraphic(20, 20, kRed));
  InputSprite* above = AddInputSprite(*cell, 15, 15, MadeGraphic(20, 20, kBlue));
  cell->StartAnimation();
  ASSERT_TRUE(Pulse());
  Press(20, 20);
  EXPECT_EQ(above->presses.size(), 1u);
  EXPECT_TRUE(below->presses.empty());

  above->MoveToFront();  // drawn first from now on
  ASSERT_TRUE(Pulse());
  Press(20, 20);
  EXPECT_EQ(below->presses.size(), 1u);
  EXPECT_EQ(above->presses.size(), 1u);

  // Input off: the press falls to the sprite below.
  below->SetInput(false);
  Press(20, 20);
  EXPECT_EQ(above->presses.size(), 2u);
  EXPECT_EQ(below->presses.size(), 1u);

  // A sprite of a cell that does not animate lets it fall too.
  LumoCell* top = AddCell(0, 0, 400, 300);
  InputSprite* covering = AddInputSprite(*top, 0, 0, MadeGraphic(50, 50, kRed));
  top->StartAnimation();
  ASSERT_TRUE(Pulse());
  Press(20, 20);
  EXPECT_EQ(covering->presses.size(), 1u);
  top->PauseAnimation();
  Press(20, 20);
  EXPECT_EQ(covering->presses.size(), 1u);
  EXPECT_EQ(above->presses.size(), 3u);
}

TEST_F(SpriteInputTest, APressOnAKeyColouredPixelReachesTheHooksWithMouseOverFalse) {
  StartWithLevel();
  LumoCell* cell = AddCell(0, 0, 400, 300);
  LumoGraphicNode* graphic = MadeGraphic(20, 20, kRed);
  graphic->SetSourceKey(kRed);
  InputSprite* keyed = AddInputSprite(*cell, 10, 10, graphic);
  cell->StartAnimation();
  ASSERT_TRUE(Pulse());
  Press(20, 20);
  EXPECT_EQ(keyed->presses, (std::vector<bool>{false}));
}

TEST_F(SpriteInputTest, DefaultInputResultAnswersEveryEvent) {
  using Event = bool (LumoSprite::*)(tInputEvent*);
  const Event events[] = {&LumoSprite::KeyDown,   &LumoSprite::KeyUp,      &LumoSprite::KeyPress,
                          &LumoSprite::MouseClick, &LumoSprite::MouseDoubleClick, &LumoSprite::MouseDown,
                          &LumoSprite::MouseUp,   &LumoSprite::MouseMove,  &LumoSprite::MouseEnter,
                          &LumoSprite::MouseLeave, &LumoSprite::JoyDown,   &LumoSprite::JoyUp,
                          &LumoSprite::JoyMove};
  std::unique_ptr<LumoSprite, tObjectDestroyer> sprite(new LumoSprite);
  tInputEvent event;
  for (const Event e : events) {
    sprite->SetDefaultInputResult(false);
    EXPECT_FALSE((sprite.get()->*e)(&event));
    sprite->SetDefaultInputResult(true);
    EXPECT_TRUE((sprite.get()->*e)(&event));
  }
}

TEST_F(SpriteInputTest, HitTestCases) {
  struct Case {
    const char* name;
    bool transparencyCheck;
    uint32_t keyMode;  // 0 none, 1 the red key, 2 the range black to red
    int32_t x, y;      // cell point
    bool hit;
  };
  // The sprite's frame is 4 x 4 at (5, 5) of a cell whose viewport is 50 x 50:
  // red, with a blue pixel at its (1, 1).
  const Case cases[] = {
      {"no key: a point on the picture", true, 0, 6, 6, true},
      {"no key: any point of the viewport", true, 0, 40, 40, true},
      {"no key: outside the viewport", true, 0, 50, 10, false},
      {"key: a key-coloured pixel", true, 1, 5, 5, false},
      {"key: another pixel", true, 1, 6, 6, true},
      {"key: outside the graphic", true, 1, 20, 20, false},
      {"range: a pixel inside the range", true, 2, 7, 7, false},
      {"no check: on the picture", false, 1, 5, 5, true},
      {"no check: beside the picture", false, 0, 9, 5, false},
  };
  StartWithLevel();
  LumoCell* cell = AddCell(10, 10, 50, 50);
  LumoGraphicNode* graphic = MadeGraphic(4, 4, kRed);
  graphic->SetPixel(1, 1, ConvertRGB(kBlue));
  LumoSprite* sprite = AddSprite(*cell, 5, 5, graphic);
  cell->StartAnimation();
  ASSERT_TRUE(Pulse());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    sprite->SetTransparencyCheck(c.transparencyCheck);
    if (c.keyMode == 0) {
      graphic->ClearSourceKey();
    } else if (c.keyMode == 1) {
      graphic->SetSourceKey(kRed);
    } else {
      graphic->SetSourceKeyRange(sRGB{0, 0, 0}, kRed);
    }
    EXPECT_EQ(sprite->HitTest(c.x, c.y), c.hit);
    EXPECT_EQ(sprite->MouseOver, c.hit);
  }
}

// ---- Drag and drop ----

TEST_F(SpriteInputTest, ADraggedSpriteFollowsTheCursorAndAnAbortedDropRestoresIt) {
  StartWithLevel();
  LumoCell* cell = AddCell(100, 100, 200, 200);
  cell->SetVirtualSize(400, 400);
  cell->SetOffsetXY(20, 10);
  LumoSprite* first = AddSprite(*cell, 0, 0, MadeGraphic(4, 4, kBlue));
  InputSprite* dragged = AddInputSprite(*cell, 40, 30, MadeGraphic(6, 6, kRed));
  LumoSprite* last = AddSprite(*cell, 0, 0, MadeGraphic(4, 4, kBlue));
  // An attached sprite comes along, kept at its place on the screen once.
  LumoSprite* part = AddSprite(*cell, 50, 30, MadeGraphic(2, 2, kBlue));
  ASSERT_NE(dragged->Body->AttachSprite(part), nullptr);
  cell->StartAnimation();
  ASSERT_TRUE(Pulse());
  const int32_t items = level->Count;

  // Its corner on the screen is (120, 120); it is taken 2 pixels inside.
  MouseTo(122, 122);
  dragged->Drag(122, 122);
  ASSERT_TRUE(dragged->Dragging);
  EXPECT_EQ(dragged->drags, 1);
  LumoCell* dragCell = dragged->Cell();
  ASSERT_NE(dragCell, cell);
  EXPECT_EQ(level->last, dragCell);
  EXPECT_EQ((std::vector<int32_t>{dragCell->Left, dragCell->Top, dragCell->Width, dragCell->Height}),
            (std::vector<int32_t>{0, 0, 800, 600}));
  EXPECT_EQ(part->Cell(), dragCell);
  EXPECT_EQ((std::vector<int32_t>{dragged->Left, dragged->Top, part->Left, part->Top}),
            (std::vector<int32_t>{120, 120, 130, 120}));
  const uint32_t red = ConvertRGB(kRed);
  for (const auto& [x, y] : std::vector<std::pair<int32_t, int32_t>>{{300, 200}, {500, 400}}) {
    MouseTo(x, y);
    ASSERT_TRUE(Pulse());
    EXPECT_EQ(Presented(x - 2, y - 2), red);
    EXPECT_EQ(Presented(x + 3, y + 3), red);
    EXPECT_NE(Presented(x - 3, y - 2), red);
  }

  dragged->Drop();
  EXPECT_FALSE(dragged->Dragging);
  EXPECT_EQ(dragged->Cell(), cell);
  EXPECT_EQ(dragged->previous, first);
  EXPECT_EQ(dragged->next, part);  // its part follows it directly
  EXPECT_EQ(part->next, last);
  EXPECT_EQ(dragged->Left, 40);
  EXPECT_EQ(dragged->Top, 30);
  EXPECT_EQ(part->Cell(), cell);
  EXPECT_EQ(part->Left, 50);
  EXPECT_EQ(part->Top, 30);
  EXPECT_EQ(dragged->SavedCell, nullptr);
  // The drag cell is gone after the frame.
  ASSERT_TRUE(Pulse());
  EXPECT_EQ(level->Count, items);
  EXPECT_EQ(Presented(120, 120), red);
}

TEST_F(SpriteInputTest, AnAbortedDropPutsASpriteFollowedByItsPartsBackAtItsPlace) {
  StartWithLevel();
  LumoCell* cell = AddCell(0, 0, 200, 200);
  LumoSprite* first = AddSprite(*cell, 0, 0, MadeGraphic(4, 4, kBlue));
  InputSprite* dragged = AddInputSprite(*cell, 40, 30, MadeGraphic(6, 6, kRed));
  // Its part directly after it, and that part's own part after that, as
  // the drawing order keeps attached sprites.
  LumoSprite* part = AddSprite(*cell, 50, 30, MadeGraphic(2, 2, kBlue));
  LumoSprite* partOfPart = AddSprite(*cell, 60, 30, MadeGraphic(2, 2, kBlue));
  LumoSprite* last = AddSprite(*cell, 0, 0, MadeGraphic(4, 4, kBlue));
  ASSERT_NE(dragged->Body->AttachSprite(part), nullptr);
  ASSERT_NE(part->Body->AttachSprite(partOfPart), nullptr);
  cell->StartAnimation();
  ASSERT_TRUE(Pulse());

  MouseTo(42, 32);
  dragged->Drag(42, 32);
  ASSERT_EQ(partOfPart->Cell(), dragged->Cell());
  MouseTo(150, 100);
  ASSERT_TRUE(Pulse());
  dragged->Drop();
  const std::vector<LumoNode*> order{first, dragged, part, partOfPart, last};
  EXPECT_EQ(cell->first, first);
  for (size_t i = 1; i < order.size(); ++i) {
    EXPECT_EQ(order[i - 1]->next, order[i]) << "after item " << i - 1;
  }
  EXPECT_EQ((std::vector<int32_t>{dragged->Left, part->Left, partOfPart->Left}), (std::vector<int32_t>{40, 50, 60}));
  ASSERT_TRUE(Pulse());
}

TEST_F(SpriteInputTest, ADropOntoATargetLandsInItsCellAndTheTargetCatchesOnce) {
  StartWithLevel();
  LumoCell* from = AddCell(0, 0, 200, 200);
  LumoCell* to = AddCell(300, 0, 200, 200);
  InputSprite* dragged = AddInputSprite(*from, 10, 10, MadeGraphic(6, 6, kRed));
  InputSprite* target = AddInputSprite(*to, 50, 50, MadeGraphic(20, 20, kBlue));
  from->StartAnimation();
  to->StartAnimation();
  ASSERT_TRUE(Pulse());
  MouseTo(10, 10);
  dragged->Drag(10, 10);
  MouseTo(360, 60);
  ASSERT_TRUE(Pulse());
  dragged->SetDropTarget(target);
  dragged->Drop();
  EXPECT_EQ(dragged->Cell(), to);
  EXPECT_EQ(dragged->Left, 60);
  EXPECT_EQ(dragged->Top, 60);
  EXPECT_EQ(target->caught, (std::vector<LumoSprite*>{dragged, dragged}));
  ASSERT_TRUE(Pulse());
  EXPECT_EQ(level->Count, 2);
}

TEST_F(SpriteInputTest, ADropOntoATargetOutsideAnyCellKeepsTheSpriteInItsDragCell) {
  StartWithLevel();
  LumoCell* from = AddCell(0, 0, 200, 200);
  InputSprite* dragged = AddInputSprite(*from, 10, 10, MadeGraphic(6, 6, kRed));
  std::unique_ptr<InputSprite, tObjectDestroyer> target(new InputSprite);
  from->StartAnimation();
  ASSERT_TRUE(Pulse());
  MouseTo(10, 10);
  dragged->Drag(10, 10);
  LumoCell* dragCell = dragged->Cell();
  MouseTo(300, 250);
  ASSERT_TRUE(Pulse());
  dragged->SetDropTarget(target.get());
  dragged->Drop();
  EXPECT_EQ(target->caught, (std::vector<LumoSprite*>{dragged, dragged}));
  // The frame after the drop: the sprite lives on where it was dropped.
  ASSERT_TRUE(Pulse());
  ASSERT_TRUE(Pulse());
  EXPECT_EQ(dragged->Cell(), dragCell);
  EXPECT_EQ(level->last, dragCell);
  EXPECT_EQ(Presented(300, 250), ConvertRGB(kRed));
}

TEST_F(SpriteInputTest, DragToPutsTheCornerOnTheCursorWithoutOnDrag) {
  StartWithLevel();
  LumoCell* cell = AddCell(50, 50, 200, 200);
  InputSprite* dragged = AddInputSprite(*cell, 10, 10, MadeGraphic(6, 6, kRed));
  cell->StartAnimation();
  ASSERT_TRUE(Pulse());
  MouseTo(400, 300);
  dragged->DragTo();
  ASSERT_TRUE(dragged->Dragging);
  EXPECT_EQ(dragged->drags, 0);
  EXPECT_EQ(dragged->CellToScreenX(dragged->Left), 400);
  EXPECT_EQ(dragged->CellToScreenY(dragged->Top), 300);
  ASSERT_TRUE(Pulse());
  EXPECT_EQ(Presented(400, 300), ConvertRGB(kRed));
  dragged->Drop();
}

TEST_F(SpriteInputTest, ASiblingFreedDuringTheDragIsForgotten) {
  StartWithLevel();
  LumoCell* cell = AddCell(0, 0, 200, 200);
  InputSprite* dragged = AddInputSprite(*cell, 10, 10, MadeGraphic(6, 6, kRed));
  LumoSprite* sibling = AddSprite(*cell, 0, 0, MadeGraphic(4, 4, kBlue));
  LumoSprite* other = AddSprite(*cell, 0, 0, MadeGraphic(4, 4, kBlue));
  cell->StartAnimation();
  ASSERT_TRUE(Pulse());
  MouseTo(12, 12);
  dragged->Drag(12, 12);
  ASSERT_EQ(dragged->SavedNeighbour, sibling);
  DestroyObject(sibling);
  EXPECT_EQ(dragged->SavedNeighbour, nullptr);
  dragged->Drop();
  EXPECT_EQ(dragged->Cell(), cell);
  EXPECT_EQ(dragged->previous, other);
  EXPECT_EQ(cell->last, dragged);
  ASSERT_TRUE(Pulse());
}

TEST_F(SpriteInputTest, ACellFreedDuringTheDragLeavesTheSpriteInItsDragCell) {
  StartWithLevel();
  LumoCell* cell = AddCell(0, 0, 200, 200);
  InputSprite* dragged = AddInputSprite(*cell, 10, 10, MadeGraphic(6, 6, kRed));
  AddSprite(*cell, 0, 0, MadeGraphic(4, 4, kBlue));
  cell->StartAnimation();
  ASSERT_TRUE(Pulse());
  MouseTo(10, 10);
  dragged->Drag(10, 10);
  LumoCell* dragCell = dragged->Cell();
  MouseTo(100, 80);
  ASSERT_TRUE(Pulse());
  DestroyObject(cell);  // with the sibling that followed the sprite
  EXPECT_EQ(dragged->SavedCell, nullptr);
  EXPECT_EQ(dragged->SavedNeighbour, nullptr);
  dragged->Drop();
  ASSERT_TRUE(Pulse());
  ASSERT_TRUE(Pulse());
  EXPECT_EQ(dragged->Cell(), dragCell);
  EXPECT_EQ(level->first, dragCell);
  EXPECT_EQ(level->Count, 1);
}

// ---- Faults ----

TEST_F(SpriteInputTest, AThrowingHookIsReportedAndPassedOn) {
  struct Case {
    const char* hook;
    void (*run)(InputSprite&);
    const char* line;
  };
  const Case cases[] = {
      {"DoStartMotion", [](InputSprite& s) { s.StartMotion(); },
       "LumoSprite::StartMotion() Unhandled exception during DoStartMotion() (Sprite=%p:InputSprite)\n"},
      {"CanDrag", [](InputSprite& s) { s.Drag(1, 1); },
       "LumoSprite::Drag() Unhandled exception during CanDrag() (Sprite=%p:InputSprite)\n"},
      {"DoMouseDown",
       [](InputSprite& s) {
         tInputEvent event;
         s.MouseDown(&event);
       },
       "LumoSprite::MouseDown() Unhandled exception during DoMouseDown() (Sprite=%p:InputSprite)\n"},
  };
  StartWithLevel();
  LumoCell* cell = AddCell(0, 0, 200, 200);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.hook);
    InputSprite* sprite = AddInputSprite(*cell, 10, 10, MadeGraphic(6, 6, kRed));
    sprite->throwing = c.hook;
    EXPECT_THROW(c.run(*sprite), std::runtime_error);
    EXPECT_FALSE(sprite->Dragging);
    EXPECT_TRUE(LogHas(Line(c.line, sprite)));
  }
}

// ---- Overlap ----

TEST_F(SpriteInputTest, TouchingRectanglesDoNotOverlapAndScrolledCellsCompareOnScreen) {
  StartWithLevel();
  LumoCell* cell = AddCell(0, 0, 200, 200);
  LumoSprite* a = AddSprite(*cell, 10, 10, MadeGraphic(10, 10, kRed));
  LumoSprite* touching = AddSprite(*cell, 20, 10, MadeGraphic(10, 10, kRed));
  LumoSprite* inside = AddSprite(*cell, 19, 19, MadeGraphic(10, 10, kRed));
  // Another cell, placed and scrolled so its sprite at (110, 60) shows at
  // (15, 15) on the screen: over a, although its own coordinates are not.
  LumoCell* scrolled = AddCell(5, 5, 100, 100);
  scrolled->SetVirtualSize(400, 400);
  scrolled->SetOffsetXY(100, 50);
  LumoSprite* far = AddSprite(*scrolled, 110, 60, MadeGraphic(10, 10, kRed));
  LumoSprite* near = AddSprite(*scrolled, 10, 10, MadeGraphic(10, 10, kRed));
  cell->StartAnimation();
  scrolled->StartAnimation();
  ASSERT_TRUE(Pulse());
  EXPECT_FALSE(a->Overlaps(touching, false));
  EXPECT_TRUE(a->Overlaps(inside, false));
  EXPECT_FALSE(a->Overlaps(a, false));
  EXPECT_TRUE(a->Overlaps(far, false));
  EXPECT_TRUE(far->Overlaps(a, false));
  EXPECT_FALSE(a->Overlaps(near, false));
}

}  // namespace
}  // namespace framework_testing
