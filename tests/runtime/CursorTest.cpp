#include <gtest/gtest.h>

#include "DisplayFixture.h"
#include "platform/FileSystem.h"
#include "platform/MessageQueue.h"
#include "runtime/Cursor.h"
#include "runtime/DisplaySeams.h"
#include "runtime/GraphicFiles.h"
#include "runtime/Graphics.h"
#include "runtime/Input.h"
#include "runtime/RTSState.h"
#include "runtime/RTSWindowProc.h"
#include "support/TempFolder.h"

namespace {

class CursorTest : public DisplayFixture {
 protected:
  void TearDown() override {
    DestroyAllCursors();
    RTS().windowed = false;
    NoteMousePosition(0, 0);
    DisplayFixture::TearDown();
  }

  // A 4 x 4 red cursor whose top-left pixel is black, the transparent colour.
  static CursorHandle RedCursor() {
    GraphicHandle graphic = CreateGraphic(4, 4, sRGB{0, 0, 255});
    SetGraphicPixel(graphic, 0, 0, GetColor(0, 0, 0));
    return MakeCursor(graphic);
  }
};

TEST_F(CursorTest, CursorIsDrawnAtThePositionLessItsHotSpot) {
  ASSERT_TRUE(StartDisplay(Settings(false, true)));
  const uint32_t blue = GetColor(0, 0, 255);
  const uint32_t red = GetColor(255, 0, 0);
  FillGraphic(GetBackground(), sRGB{255, 0, 0});
  CursorHandle cursor = RedCursor();
  ASSERT_NE(cursor, nullptr);
  SelectCursor(cursor);
  SetCursorOffset(1, 2);
  NoteMousePosition(10, 10);
  // Not drawn until enabled.
  DrawSoftwareCursor();
  EXPECT_EQ(GetGraphicPixel(GetBackground(), 10, 10), blue);
  EnableCursor();
  DrawSoftwareCursor();
  struct Case {
    int32_t x, y;
    bool covered;
  };
  const Case cases[] = {
      {9, 8, false},  // the transparent corner
      {10, 8, true}, {12, 11, true}, {9, 11, true}, {8, 8, false}, {13, 11, false}, {12, 12, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(GetGraphicPixel(GetBackground(), c.x, c.y), c.covered ? red : blue)
        << c.x << "," << c.y;
  }
  int32_t x = 0;
  int32_t y = 0;
  GetCursorOffset(x, y);
  EXPECT_EQ(x, 1);
  EXPECT_EQ(y, 2);
}

TEST_F(CursorTest, ScreenUpdateShowsTheCursorOverTheFrame) {
  ASSERT_TRUE(StartDisplay(Settings(false, true)));
  CursorHandle cursor = RedCursor();
  ASSERT_NE(cursor, nullptr);
  SelectCursor(cursor);
  EnableCursor();
  NoteMousePosition(10, 10);
  BeginScreenUpdate();
  FillGraphic(GetBackground(), sRGB{255, 0, 0});
  EndScreenUpdate();
  const platform::testing::PresentedFrame frame = platform::testing::LastPresentedFrame();
  EXPECT_EQ(platform::testing::PresentedPixel(frame, 11, 11), GetColor(255, 0, 0));
  EXPECT_EQ(platform::testing::PresentedPixel(frame, 9, 9), GetColor(0, 0, 255));
}

TEST_F(CursorTest, CallsWithoutASelectedCursorAreLoggedAndRefused) {
  ASSERT_TRUE(StartDisplay(Settings(false, true)));
  EnableCursor();
  EXPECT_TRUE(LogHas("EnableCursor() No mouse cursor selected\n"));
  int32_t x = 5;
  int32_t y = 5;
  GetCursorOffset(x, y);
  EXPECT_EQ(x, -1);
  EXPECT_EQ(y, -1);
  EXPECT_TRUE(LogHas("GetCursorOffset() No mouse cursor selected\n"));
  SetCursorOffset(1, 1);
  EXPECT_TRUE(LogHas("SetCursorOffset() No mouse cursor selected\n"));
  // Destroying the selected cursor deselects it; a second destroy is refused.
  CursorHandle cursor = RedCursor();
  SelectCursor(cursor);
  EnableCursor();
  DestroyCursor(cursor);
  DrawSoftwareCursor();
  GetCursorOffset(x, y);
  EXPECT_EQ(x, -1);
  DestroyCursor(cursor);
  EXPECT_TRUE(LogHas("DestroyCursor() Null pointer to the cursor specified\n"));
  EXPECT_EQ(LoadCursor("C:\\missing.bmp"), nullptr);
}

TEST_F(CursorTest, LoadCursorReadsABitmapWithItsHotSpotAtTheCorner) {
  ASSERT_TRUE(StartDisplay(Settings(false, true)));
  GraphicHandle picture = CreateGraphic(3, 2, sRGB{0, 0, 255});
  const uint32_t pixel = GetGraphicPixel(picture, 2, 1);
  ASSERT_TRUE(SaveGraphic(picture, "arrow.bmp"));
  DestroyGraphic(picture);
  const std::string name = platform::GameFileName((testing_support::TestFolder() / "arrow").string());

  CursorHandle cursor = LoadCursor(name.c_str());
  ASSERT_NE(cursor, nullptr);
  EXPECT_EQ(GetGraphicPixel(cursor->Graphic, 2, 1), pixel);
  SelectCursor(cursor);
  int32_t x = -1;
  int32_t y = -1;
  GetCursorOffset(x, y);
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 0);
  EXPECT_EQ(LoadCursor((name + "-missing").c_str()), nullptr);
  EXPECT_TRUE(LogHas("LoadCursor() Cannot open the bitmap file (Name=" + name + "-missing.bmp)\n"));
}

TEST_F(CursorTest, PositionFollowsTheMouseAndTheClientArea) {
  SetCursorPosition(30, 40);
  int32_t x = 0;
  int32_t y = 0;
  GetCursorPosition(x, y);
  EXPECT_EQ(x, 30);
  EXPECT_EQ(y, 40);
  // The move arrives as the system would report it.
  platform::Message moved;
  ASSERT_TRUE(platform::GameQueue().Take(moved));
  EXPECT_EQ(moved.kind, platform::MessageKind::MouseMove);
  EXPECT_EQ(moved.x, 30);
  // Input is off here: the move is not delivered, but it still moves the
  // cursor, as the window remembers it.
  DispatchRTSMessage({platform::MessageKind::MouseMove, 0, 50, 60, 0});
  GetCursorPosition(x, y);
  EXPECT_EQ(x, 50);
  EXPECT_EQ(y, 60);
  SetCursorPosition(30, 40);
  platform::GameQueue().Clear();
  // A windowed game's cursor outside the client area has no position.
  RTS().windowed = true;
  HandleInputMessage({platform::MessageKind::SetCursor, 0});
  GetCursorPosition(x, y);
  EXPECT_EQ(x, -1);
  EXPECT_EQ(y, -1);
  HandleInputMessage({platform::MessageKind::SetCursor, 1});
  GetCursorPosition(x, y);
  EXPECT_EQ(x, 30);
}

}  // namespace
