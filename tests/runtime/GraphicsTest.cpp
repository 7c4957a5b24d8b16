#include <gtest/gtest.h>

#include "DisplayFixture.h"
#include "platform/Surface.h"
#include "runtime/Graphics.h"

namespace {

using platform::SurfaceResult;

class GraphicsTest : public DisplayFixture {
 protected:
  void Start(int32_t bitsPerPixel = 16) { ASSERT_TRUE(StartDisplay(Settings(false, true, bitsPerPixel))); }
};

constexpr sRGB kWhite{255, 255, 255};
constexpr sRGB kBlue{255, 0, 0};

TEST_F(GraphicsTest, CreateGraphicFillsItAndReportsWhatItGot) {
  Start();
  SetGraphicMemory(MemoryVideo);
  GraphicHandle graphic = CreateGraphic(5, 3, kBlue);
  ASSERT_NE(graphic, nullptr);
  int32_t width = 0;
  int32_t height = 0;
  GetGraphicSize(graphic, width, height);
  EXPECT_EQ(width, 5);
  EXPECT_EQ(height, 3);
  EXPECT_EQ(GetGraphicPixel(graphic, 4, 2), GetColor(0, 0, 255));
  // Video memory is granted as system memory, and said so.
  EXPECT_FALSE(VolatileGraphic(graphic));
  EXPECT_TRUE(LogHas("Memory=System, Width=5, Height=3)"));
  DestroyGraphic(graphic);
  EXPECT_EQ(LiveGraphicCount(), 0);
}

TEST_F(GraphicsTest, CreateGraphicRefusesEmptySizesAndAMissingDisplay) {
  EXPECT_EQ(CreateGraphic(4, 4, kWhite), nullptr);
  EXPECT_TRUE(LogHas("CreateGraphic() Cannot create graphic (Error=887600FF)"));
  Start();
  EXPECT_EQ(CreateGraphic(0, 4, kWhite), nullptr);
  EXPECT_TRUE(LogHas("CreateGraphic() Invalid size (Width=0, Height=4)"));
}

TEST_F(GraphicsTest, PixelsOutsideReadZeroQuietlyAndAreNotWritten) {
  Start();
  GraphicHandle graphic = CreateGraphic(4, 4, kWhite);
  const std::string before = testing_support::ReadDebugLog();
  EXPECT_EQ(GetGraphicPixel(graphic, 4, 0), 0u);
  EXPECT_EQ(GetGraphicPixel(graphic, -1, 2), 0u);
  EXPECT_EQ(testing_support::ReadDebugLog(), before);

  EXPECT_EQ(SetGraphicPixel(graphic, 2, 9, 0x1234), 0u);
  EXPECT_TRUE(LogHas("Invalid coordinate (Item=") && LogHas("X=2, Y=9, Width=4, Height=4)"));
  EXPECT_EQ(SetGraphicPixel(graphic, 2, 3, 0x1234), 0x1234u);
  EXPECT_EQ(GetGraphicPixel(graphic, 2, 3), 0x1234u);
  DestroyGraphic(graphic);
}

TEST_F(GraphicsTest, ThirtyTwoBitPixelsLoseTheirUnusedTopByte) {
  Start(32);
  GraphicHandle graphic = CreateGraphic(2, 2, kWhite);
  EXPECT_EQ(SetGraphicPixel(graphic, 1, 1, 0xFF123456), 0x123456u);
  EXPECT_EQ(GetGraphicPixel(graphic, 1, 1), 0x123456u);
  DestroyGraphic(graphic);
}

TEST_F(GraphicsTest, RenderBufferCannotBeDestroyedAndStaysUsable) {
  Start();
  GraphicHandle background = GetBackground();
  ASSERT_NE(background, nullptr);
  DestroyGraphic(background);
  EXPECT_TRUE(LogHas("DestroyGraphic() The DirectDraw render buffer should not be destroyed"));
  FillGraphic(background, kWhite);
  EXPECT_EQ(GetGraphicPixel(background, 639, 479), 0xFFFFu);
}

TEST_F(GraphicsTest, DestroyForgetsTheBackgroundGraphicAndRefusesASecondDestroy) {
  Start();
  GraphicHandle graphic = CreateGraphic(2, 2, kWhite);
  BackgroundState().Graphic = graphic;
  DestroyGraphic(graphic);
  EXPECT_EQ(BackgroundState().Graphic, nullptr);
  DestroyGraphic(graphic);
  EXPECT_TRUE(LogHas("DestroyGraphic() Unknown graphic specified"));
  DestroyGraphic(nullptr);
  EXPECT_TRUE(LogHas("DestroyGraphic() Null pointer to the graphic specified"));
}

TEST_F(GraphicsTest, UnlockAfterDestroyIsRefused) {
  Start();
  GraphicHandle graphic = CreateGraphic(2, 2, kWhite);
  LockedGraphic* locked = LockGraphic(graphic);
  ASSERT_NE(locked, nullptr);
  DestroyGraphic(graphic);
  UnlockGraphic(locked);
  EXPECT_TRUE(LogHas("UnlockGraphic() Null pointer to the locked graphic specified"));
}

TEST_F(GraphicsTest, CursorWalksTheLockedGraphic) {
  Start();
  GraphicHandle graphic = CreateGraphic(4, 3, sRGB{});
  LockedGraphic* locked = LockGraphic(graphic);
  ASSERT_NE(locked, nullptr);
  EXPECT_EQ(locked->Pixel, locked->Description.Memory);
  SelectPixelAt(locked, 1, 1);
  SetPixelColor(locked, 0x1111);
  NextPixelX(locked);
  SetPixelRGB(locked, 255, 0, 0);
  NextPixelLine(locked, 0);
  SetPixelColor(locked, 0x3333);
  EXPECT_EQ(GetPixelX(locked), 0);
  EXPECT_EQ(GetPixelY(locked), 2);
  MovePixelXY(locked, 3, -2);
  SetPixelColor(locked, 0x4444);
  EXPECT_EQ(GetPixelAddress(locked, 3, 0), locked->Pixel);
  SelectPixelY(locked, 1);
  MovePixelX(locked, -1);
  EXPECT_EQ(GetPixelColor(locked), 0xF800u);
  NextPixelY(locked);
  EXPECT_EQ(GetPixelY(locked), 2);
  EXPECT_EQ(GetPixelColor(locked), 0u);
  EXPECT_EQ(GetPixelColorAt(locked, 1, 1), 0x1111u);
  SelectPixelX(locked, 2);
  uint32_t red = 0;
  uint32_t green = 0;
  uint32_t blue = 0;
  GetPixelRGB(locked, red, green, blue);
  EXPECT_EQ(red, 248u);
  EXPECT_EQ(green + blue, 0u);
  UnlockGraphic(locked);

  EXPECT_EQ(GetGraphicPixel(graphic, 1, 1), 0x1111u);
  EXPECT_EQ(GetGraphicPixel(graphic, 0, 2), 0x3333u);
  EXPECT_EQ(GetGraphicPixel(graphic, 3, 0), 0x4444u);
  DestroyGraphic(graphic);
}

TEST_F(GraphicsTest, PixelFormatReportsFifteenBitsForFiveFiveFive) {
  struct Case {
    int32_t depth;
    bool fiveFiveFive;
    uint32_t bits;
    uint32_t alpha;
  };
  const Case cases[] = {{16, false, 16, 0}, {16, true, 15, 0}, {24, false, 24, 0}, {32, false, 32, 0xFF000000}};
  for (const Case& test : cases) {
    if (test.fiveFiveFive) {
      platform::testing::SetSixteenBitFormat(platform::Format555());
    }
    Start(test.depth);
    LockedGraphic* locked = LockGraphic(GetBackground());
    ASSERT_NE(locked, nullptr);
    uint32_t red = 0, green = 0, blue = 0, alpha = 1, bits = 0, origin = 0, pitch = 0;
    GetPixelFormat(locked, red, green, blue, alpha, bits, origin, pitch);
    EXPECT_EQ(bits, test.bits);
    EXPECT_EQ(alpha, test.alpha);
    EXPECT_EQ(origin, 2u);
    EXPECT_EQ(pitch, static_cast<uint32_t>(locked->Description.Pitch));
    UnlockGraphic(locked);
    StopDisplay();
    platform::testing::ResetDisplaySettings();
  }
}

TEST_F(GraphicsTest, FillOfALostRenderBufferRestoresAndRetries) {
  Start();
  platform::Surface* render = SurfaceOf(GetBackground());
  platform::testing::MakeSurfaceLost(*render);
  EXPECT_TRUE(LostGraphic(GetBackground()));
  platform::testing::ReportSurfaceBusy(*render, 5, SurfaceResult::WasStillDrawing);
  FillGraphic(GetBackground(), kWhite);
  EXPECT_FALSE(LostGraphic(GetBackground()));
  EXPECT_EQ(GetGraphicPixel(GetBackground(), 3, 3), 0xFFFFu);
}

TEST_F(GraphicsTest, FillGivesUpOnASurfaceThatStaysBusyOrLost) {
  Start();
  platform::Surface* render = SurfaceOf(GetBackground());
  platform::testing::ReportSurfaceBusy(*render, 1000000, SurfaceResult::SurfaceBusy);
  FillGraphic(GetBackground(), kWhite);
  EXPECT_TRUE(LogHas("FillGraphic() Cannot fill the graphic (Item=") && LogHas("Error=887601AE)"));

  platform::testing::ReportSurfaceBusy(*render, 0, SurfaceResult::SurfaceBusy);
  platform::testing::MakeSurfaceLost(*render);
  platform::testing::SetSurfaceRestore(*render, platform::RestoreBehaviour::ReportsSuccessButStaysLost);
  FillGraphic(GetBackground(), kWhite);
  EXPECT_TRUE(LogHas("Error=887601C2)"));
  EXPECT_EQ(GetGraphicPixel(GetBackground(), 0, 0), 0u);
}

TEST_F(GraphicsTest, SafeToLockFollowsTheDrawingSettings) {
  struct Case {
    bool videoDrawing;
    bool directBlending;
    bool graphic;
    bool safe;
  };
  const Case cases[] = {{true, false, false, true},
                        {false, false, true, false},
                        {false, true, false, false},
                        {false, true, true, true}};
  for (const Case& test : cases) {
    tDisplaySettings settings = Settings(false, true);
    settings.VideoDrawing = test.videoDrawing;
    settings.DirectBlending = test.directBlending;
    ASSERT_TRUE(StartDisplay(settings));
    GraphicHandle graphic = test.graphic ? CreateGraphic(1, 1, kWhite) : nullptr;
    EXPECT_EQ(SafeToLockGraphic(graphic), test.safe);
    if (graphic != nullptr) {
      DestroyGraphic(graphic);
    }
  }
  // The back buffer lies in video memory: direct blending may not lock it.
  EXPECT_FALSE(SafeToLockGraphic(GetBackground()));
}

TEST_F(GraphicsTest, PageLockedGraphicsNeedPageLockingInForce) {
  Start();
  GraphicHandle graphic = CreateGraphic(1, 1, kWhite);
  EXPECT_EQ(SelectGraphic(graphic), nullptr);
  DestroyGraphic(graphic);

  platform::DisplayCapabilities capabilities;
  capabilities.pageLockRequired = true;
  platform::testing::SetDisplayCapabilities(capabilities);
  tDisplaySettings settings = Settings(false, true);
  settings.PageLocking = true;
  ASSERT_TRUE(StartDisplay(settings));
  SetGraphicMemory(MemoryPageLocked);
  graphic = CreateGraphic(1, 1, kWhite);
  EXPECT_TRUE(LogHas("Memory=Locked"));
  EXPECT_EQ(SelectGraphic(graphic), graphic);
  EXPECT_EQ(UnselectGraphic(graphic), graphic);
  DestroyGraphic(graphic);
}

}  // namespace
