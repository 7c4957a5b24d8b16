#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "FrameworkFixture.h"
#include "framework/LumoGraphicList.h"
#include "framework/LumoTurtle.h"

namespace framework_testing {
namespace {

constexpr sRGB kBlack{0, 0, 0};

// Drawing with the pen on locked graphics of a list of the test's own.
class PenDrawingTest : public FrameworkTest {
 protected:
  void SetUp() override {
    FrameworkTest::SetUp();
    ASSERT_TRUE(Start());
    white = GetColor(255, 255, 255);
    red = GetColor(255, 0, 0);
  }

  void TearDown() override {
    owner.reset();
    FrameworkTest::TearDown();
  }

  // A black canvas, locked, with a white pen and the cursor at (x, y).
  LumoGraphicNode* Canvas(int32_t width, int32_t height, int32_t x, int32_t y) {
    LumoGraphicNode* node = list.GetBlankGraphic(width, height);
    node->CreateLock();
    node->PenColor = white;
    SelectPixelAt(node->Lock, x, y);
    return node;
  }

  // The canvas as rows of '#' (pen colour), 'r' (red) and '.' (anything else).
  std::vector<std::string> Picture(LumoGraphicNode* node) {
    node->ReleaseLock();
    std::vector<std::string> rows;
    for (int32_t y = 0; y < node->Height; ++y) {
      std::string row;
      for (int32_t x = 0; x < node->Width; ++x) {
        const uint32_t pixel = node->GetPixel(x, y);
        row += pixel == white ? '#' : pixel == red ? 'r' : '.';
      }
      rows.push_back(row);
    }
    return rows;
  }

  std::unique_ptr<LumoGraphicList, tObjectDestroyer> owner{new LumoGraphicList};
  LumoGraphicList& list = *owner;
  uint32_t white = 0;
  uint32_t red = 0;
};

using Rows = std::vector<std::string>;

TEST_F(PenDrawingTest, EllipsesMatchTheirHandDrawnPixels) {
  LumoGraphicNode* circle = Canvas(9, 9, 4, 4);
  circle->DrawEllipse(2, -2);
  EXPECT_EQ(GetPixelX(circle->Lock), 4);
  EXPECT_EQ(GetPixelY(circle->Lock), 4);
  EXPECT_EQ(Picture(circle), (Rows{".........", ".........", "...###...", "..#...#..", "..#...#..", "..#...#..",
                                   "...###...", ".........", "........."}));

  LumoGraphicNode* wide = Canvas(11, 9, 5, 4);
  wide->DrawEllipse(4, 2);
  EXPECT_EQ(Picture(wide), (Rows{"...........", "...........", "...#####...", ".###...###.", ".#.......#.",
                                 ".###...###.", "...#####...", "...........", "..........."}));

  LumoGraphicNode* filled = Canvas(9, 9, 4, 4);
  filled->FillEllipse(2, 2);
  EXPECT_EQ(Picture(filled), (Rows{".........", ".........", "...###...", "..#####..", "..#####..", "..#####..",
                                   "...###...", ".........", "........."}));
}

// The run-time's point setter does not check its point: an ellipse across
// the edge sets only its points inside the graphic.
TEST_F(PenDrawingTest, EllipseAcrossTheEdgeSetsOnlyItsInsidePoints) {
  LumoGraphicNode* node = Canvas(5, 5, 0, 0);
  node->DrawEllipse(2, 2);
  EXPECT_EQ(Picture(node), (Rows{"..#..", "..#..", "##...", ".....", "....."}));
  LumoGraphicNode* far = Canvas(4, 4, 1000, -1000);
  far->DrawEllipse(30, 30);
  far->FillEllipse(30, 30);
  EXPECT_EQ(Picture(far), (Rows{"....", "....", "....", "...."}));
}

TEST_F(PenDrawingTest, FloodFillStopsAtThePenColour) {
  LumoGraphicNode* node = Canvas(8, 6, 1, 1);
  node->DrawBox(4, 3);
  SelectPixelAt(node->Lock, 3, 3);
  node->FillBox(1, 1);  // a pen pixel inside: an island
  node->FloodFill(2, 2, red);
  node->FloodFill(1, 1, red);         // a pixel of the pen colour: nothing
  node->FloodFill(2, 2, red);         // already the fill colour: nothing
  node->FloodFill(8, 2, red);         // outside: nothing
  node->FloodFill(-1, -1, red);

  // The run-time's lines leave the box's far corner open; the inside is
  // still closed to its four neighbours.
  EXPECT_EQ(Picture(node), (Rows{"........", ".#####..", ".#rrr#..", ".#r#r#..", ".####...", "........"}));
}

TEST_F(PenDrawingTest, FloodFillOfAMillionPixelsUsesItsOwnStack) {
  LumoGraphicNode* node = Canvas(1000, 1000, 0, 0);
  node->FloodFill(500, 500, red);
  node->ReleaseLock();
  EXPECT_EQ(node->GetPixel(0, 0), red);
  EXPECT_EQ(node->GetPixel(999, 999), red);
  EXPECT_EQ(node->GetPixel(123, 877), red);
}

TEST_F(PenDrawingTest, TurtleDrawsOnlyWithItsPenDownAndTurnsRoundToItsHeading) {
  LumoTurtle* turtle = list.GetBlankTurtleGraphic(10, 10);
  ASSERT_NE(turtle, nullptr);
  EXPECT_FALSE(turtle->PenDown);
  turtle->CreateLock();
  turtle->PenColor = white;
  turtle->MoveTo(1, 1);
  turtle->Forward(5);  // pen up
  EXPECT_DOUBLE_EQ(turtle->X, 6);
  turtle->Reset();
  EXPECT_TRUE(turtle->PenDown);
  EXPECT_DOUBLE_EQ(turtle->X, 0);
  turtle->MoveTo(1, 1);
  turtle->Rectangle(4, 3);
  EXPECT_NEAR(turtle->Heading, 0, 1e-9);
  EXPECT_NEAR(turtle->X, 1, 1e-9);
  EXPECT_NEAR(turtle->Y, 1, 1e-9);
  // Backwards by 2.5 from (8, 8): rounded half away from zero to -3.
  turtle->MoveTo(8, 8);
  turtle->Forward(-2.5);
  EXPECT_EQ(LumoTurtle::Round(-2.5), -3);
  EXPECT_EQ(LumoTurtle::Round(2.5), 3);

  EXPECT_EQ(Picture(turtle), (Rows{"..........", ".#####....", ".#...#....", ".#...#....", ".####.....",
                                   "..........", "..........", "..........", ".....###..", ".........."}));
}

TEST_F(PenDrawingTest, TurtlePointsOutsideItsGraphicAreSkipped) {
  LumoTurtle* turtle = list.GetBlankTurtleGraphic(4, 4);
  turtle->CreateLock();
  turtle->Reset();
  turtle->PenColor = white;
  turtle->MoveTo(2, 2);
  turtle->Plot();
  EXPECT_EQ(turtle->Peek(), white);
  turtle->MoveTo(-1, 2);
  turtle->Plot();
  EXPECT_EQ(turtle->Peek(), 0u);
  turtle->MoveTo(4, 100);
  turtle->Plot();
  EXPECT_EQ(turtle->Peek(), 0u);
  turtle->Turn(-90);
  EXPECT_DOUBLE_EQ(turtle->Heading, 270);
  turtle->Turn(450);
  EXPECT_DOUBLE_EQ(turtle->Heading, 0);
  EXPECT_EQ(Picture(turtle), (Rows{"....", "....", "..#.", "...."}));
  EXPECT_NE(list.GetTurtleGraphic(4, 4, kBlack, true), list.GetGeneratedGraphic(4, 4, kBlack, true));
}

}  // namespace
}  // namespace framework_testing
