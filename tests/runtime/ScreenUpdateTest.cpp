#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "DisplayFixture.h"
#include "platform/Display.h"
#include "platform/Surface.h"
#include "runtime/Graphics.h"

namespace {

using platform::SurfaceResult;

// A pixel of the frame the back end showed last.
uint32_t ShownFramePixel(int32_t x, int32_t y) {
  return platform::testing::PresentedPixel(platform::testing::LastPresentedFrame(), x, y);
}

TEST(ScreenSizeTest, SnapsToTheLargestModeTheSizeReaches) {
  struct Case {
    int32_t width;
    int32_t height;
    int32_t snappedWidth;
    int32_t snappedHeight;
  };
  const Case cases[] = {
      {700, 500, 640, 480},     {1000, 700, 960, 720},    {1100, 700, 1024, 768}, {1024, 700, 1024, 768},
      {2000, 100, 1600, 1200},  {0, 0, 640, 480},         {100, 960, 1280, 960},  {1279, 959, 1152, 864},
      {800, 599, 800, 600},     {799, 599, 640, 480},     {1280, 100, 1280, 1024}, {-5, 1200, 1600, 1200},
  };
  for (const Case& test : cases) {
    int32_t width = test.width;
    int32_t height = test.height;
    SnapScreenSize(width, height);
    EXPECT_EQ(width, test.snappedWidth) << test.width << "x" << test.height;
    EXPECT_EQ(height, test.snappedHeight) << test.width << "x" << test.height;
  }
}

class ScreenUpdateTest : public DisplayFixture {};

TEST_F(ScreenUpdateTest, DepthChoices) {
  struct Case {
    const char* name;
    int32_t requested;
    std::vector<int32_t> offered;
    bool fiveFiveFive;
    bool windowed;
    int32_t result;
  };
  const Case cases[] = {
      {"8 becomes 16", 8, {16, 24, 32}, false, false, 16},
      {"5/5/5 reports 15", 16, {16, 24, 32}, true, false, 15},
      {"24 falls back to 32", 24, {16, 32}, false, false, 32},
      {"32 falls back to 24", 32, {16, 24}, false, false, 24},
      {"a window takes the desktop's 32", 16, {16, 24, 32}, false, true, 32},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    platform::testing::ResetDisplaySettings();
    platform::testing::SetDisplayDepths(test.offered);
    if (test.fiveFiveFive) {
      platform::testing::SetSixteenBitFormat(platform::Format555());
    }
    ASSERT_TRUE(StartDisplay(Settings(test.windowed, true, test.requested)));
    EXPECT_EQ(BitsPerPixel(), test.result);
    EXPECT_EQ(ScreenWidth(), 640);
    EXPECT_EQ(ScreenHeight(), 480);
    StopDisplay();
  }
  EXPECT_TRUE(LogHas("DirectDraw HAL does not support 24-bits per pixel - trying 32-bits per pixel\n"));
  EXPECT_TRUE(LogHas("DirectDraw HAL does not support 32-bits per pixel - trying 24-bits per pixel\n"));
  EXPECT_TRUE(LogHas("Number of bits per pixel changed (Old=16, New=15)"));
}

TEST_F(ScreenUpdateTest, SetUpFailuresAreReported) {
  platform::testing::FailDisplayCreation(true);
  EXPECT_FALSE(StartDisplay(Settings(false, true)));
  EXPECT_TRUE(LogHas("Cannot create DirectDraw (Error="));
  platform::testing::ResetDisplaySettings();
  platform::testing::SetDisplayDepths({24, 32});
  EXPECT_FALSE(StartDisplay(Settings(false, true, 16)));
  EXPECT_TRUE(LogHas("Cannot select DirectDraw display mode (Width=640, Height=480, BitsPerPixel=16, Error=80004001)"));
  EXPECT_FALSE(IsDisplayStarted());
  StopDisplay();
  EXPECT_TRUE(LogHas("DirectDraw released\n"));
}

TEST_F(ScreenUpdateTest, SetUpAndReleaseLogTheirSteps) {
  tDisplaySettings settings = Settings(false, false);
  settings.FastFlipping = true;
  ASSERT_TRUE(StartDisplay(settings));
  StopDisplay();
  const char* expected[] = {
      "DirectDraw created\n",
      "DirectDraw HAL supports system memory DMA blitting\n",
      "DirectDraw page locking not required for DMA blitting\n",
      "DirectDraw page locking disabled\n",
      "DirectDraw asynchronous DMA blitting enabled\n",
      "DirectDraw exclusive mode set\n",
      "DirectDraw HAL supports fast flipping\nDirectDraw fast flipping enabled\n",
      "DirectDraw display mode selected (Width=640, Height=480, BitsPerPixel=16)\n",
      "DirectDraw primary surface created (Memory=Video)\n",
      "DirectDraw pixel format retrieved (Count=16, Unused=0, Red=F800:11:5, Green=7E0:5:6, Blue=1F:0:5)\n",
      "DirectDraw back buffer retrieved (Memory=Video)\n",
      "DirectDraw off-screen render surface created (Memory=System)\n",
      "DirectDraw initialized (Total=1228800b, Available=0b, Used=1228800b)\n",
      "DirectDraw off-screen render surface released\n",
      "DirectDraw primary surface released\n",
      "DirectDraw released\n",
  };
  const std::string log = testing_support::ReadDebugLog();
  size_t position = 0;
  for (const char* line : expected) {
    const size_t found = log.find(line, position);
    ASSERT_NE(found, std::string::npos) << line;
    position = found;
  }
}

TEST_F(ScreenUpdateTest, AWindowNeverFlipsAndIgnoresFastFlipping) {
  tDisplaySettings settings = Settings(true, true);
  settings.FastFlipping = true;
  ASSERT_TRUE(StartDisplay(settings));
  EXPECT_FALSE(LogHas("fast flipping"));
  EXPECT_TRUE(LogHas("DirectDraw clipper created for the primary surface\n"));
  EXPECT_TRUE(LogHas("DirectDraw back buffer created (Memory=Video)\n"));
}

// A frame drawn into the render buffer is what the back end shows, by every
// presentation path.
TEST_F(ScreenUpdateTest, FrameDrawnIsTheFrameShown) {
  struct Case {
    const char* name;
    bool windowed;
    bool backBlitting;
    bool backBufferInSystemMemory;
  };
  const Case cases[] = {
      {"full screen, flip", false, true, false},
      {"full screen, off-screen render surface", false, false, false},
      {"full screen, system-memory back buffer", false, true, true},
      {"windowed, back buffer blitted", true, true, false},
      {"windowed, off-screen render surface", true, false, false},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    platform::testing::Reset();
    platform::testing::ResetDisplaySettings();
    platform::testing::PutBackBufferInSystemMemory(test.backBufferInSystemMemory);
    ASSERT_TRUE(StartDisplay(Settings(test.windowed, test.backBlitting)));
    // Two frames, so a flip that showed the older buffer would be seen.
    for (const sRGB& color : {sRGB{0, 0, 255}, sRGB{255, 0, 0}}) {
      BeginScreenUpdate();
      FillGraphic(GetBackground(), color);
      SetGraphicPixel(GetBackground(), 0, 0, GetColor(0, 255, 0));
      SetGraphicPixel(GetBackground(), 639, 479, GetColor(255, 255, 255));
      EndScreenUpdate();
    }
    const platform::testing::PresentedFrame frame = platform::testing::LastPresentedFrame();
    EXPECT_EQ(static_cast<int32_t>(frame.bitsPerPixel), BitsPerPixel());
    EXPECT_EQ(frame.width, 640);
    EXPECT_EQ(frame.height, 480);
    EXPECT_EQ(ShownFramePixel(0, 0), GetColor(0, 255, 0));
    EXPECT_EQ(ShownFramePixel(1, 0), GetColor(0, 0, 255));
    EXPECT_EQ(ShownFramePixel(320, 240), GetColor(0, 0, 255));
    EXPECT_EQ(ShownFramePixel(639, 479), GetColor(255, 255, 255));
    StopDisplay();
  }
}

TEST_F(ScreenUpdateTest, BackgroundColourIsLaidBeforeTheFrame) {
  ASSERT_TRUE(StartDisplay(Settings(false, true)));
  BackgroundState().Kind = BackgroundFill;
  BackgroundState().Color = sRGB{0, 255, 0};
  BeginScreenUpdate();
  EndScreenUpdate();
  EXPECT_EQ(ShownFramePixel(100, 100), GetColor(0, 255, 0));
  BackgroundState() = tBackgroundState{};
}

TEST_F(ScreenUpdateTest, LostPrimaryIsRestoredAtEndScreenUpdate) {
  for (bool backBlitting : {true, false}) {
    SCOPED_TRACE(backBlitting ? "flip" : "off-screen render surface");
    ASSERT_TRUE(StartDisplay(Settings(false, backBlitting)));
    platform::Surface* primary = PrimarySurface();
    FillGraphic(GetBackground(), sRGB{255, 255, 255});
    platform::testing::MakeSurfaceLost(*primary);
    platform::testing::ReportSurfaceBusy(*primary, 3, SurfaceResult::WasStillDrawing);
    EndScreenUpdate();
    EXPECT_EQ(primary->IsLost(), SurfaceResult::Ok);
    EXPECT_EQ(ShownFramePixel(5, 5), 0xFFFFu);
    StopDisplay();
  }
  EXPECT_FALSE(LogHas("EndScreenUpdate()"));
}

TEST_F(ScreenUpdateTest, LostBackBufferIsRestoredAndTheBlitRetried) {
  ASSERT_TRUE(StartDisplay(Settings(false, false)));
  platform::Surface* back = platform::testing::ActiveDisplay()->BackBuffer();
  FillGraphic(GetBackground(), sRGB{255, 255, 255});
  platform::testing::MakeSurfaceLost(*back);
  EndScreenUpdate();
  EXPECT_EQ(back->IsLost(), SurfaceResult::Ok);
  EXPECT_EQ(ShownFramePixel(5, 5), 0xFFFFu);
}

TEST_F(ScreenUpdateTest, PresentationGivesUpAfterTheRetryCap) {
  struct Case {
    const char* name;
    bool backBlitting;
    bool staysLost;
    const char* logLine;
  };
  const Case cases[] = {
      {"flip busy", true, false, "EndScreenUpdate() Cannot flip surfaces (Error=887601AE)\n"},
      {"flip lost", true, true, "EndScreenUpdate() Cannot flip surfaces (Error=887601C2)\n"},
      {"render blit busy", false, false,
       "EndScreenUpdate() Cannot blit the off-screen render surface to back buffer (Error=887601AE)\n"},
      {"render flip lost", false, true, "EndScreenUpdate() Cannot flip the back buffer (Error=887601C2)\n"},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    ASSERT_TRUE(StartDisplay(Settings(false, test.backBlitting)));
    platform::Display* display = platform::testing::ActiveDisplay();
    if (test.staysLost) {
      platform::testing::MakeSurfaceLost(*display->Primary());
      platform::testing::SetSurfaceRestore(*display->Primary(), platform::RestoreBehaviour::ReportsSuccessButStaysLost);
    } else {
      platform::testing::ReportSurfaceBusy(*display->BackBuffer(), 1000000);
    }
    EndScreenUpdate();
    EXPECT_TRUE(LogHas(test.logLine));
    StopDisplay();
  }
}

TEST_F(ScreenUpdateTest, RestoreAfterReactivationMakesTheSurfacesUsable) {
  ASSERT_TRUE(StartDisplay(Settings(false, true)));
  SetDisplayActive(false);
  EXPECT_TRUE(LostGraphic(GetBackground()));
  EXPECT_NE(RestoreDisplaySurfaces(), 0u);
  SetDisplayActive(true);
  EXPECT_EQ(RestoreDisplaySurfaces(), 0u);
  EXPECT_FALSE(LostGraphic(GetBackground()));
}

}  // namespace

namespace {

TEST(DisplaySettingsTest, ReadsTheDirectDrawSectionAndSnapsTheSize) {
  {
    std::ofstream file("Game.ini");
    file << "[DirectDraw]\nScreenWidth=1000\nScreenHeight=700\nBitsPerPixel=24\nBackBlitting=Off\n"
            "Windowed=True\nScreenLeft=12\nDirectBlending=on\n";
  }
  const tDisplaySettings& settings = LoadDisplaySettings("Game.ini");
  EXPECT_EQ(settings.ScreenWidth, 960);
  EXPECT_EQ(settings.ScreenHeight, 720);
  EXPECT_EQ(settings.BitsPerPixel, 24);
  EXPECT_FALSE(settings.BackBlitting);
  EXPECT_TRUE(settings.Windowed);
  EXPECT_EQ(settings.ScreenLeft, 12);
  EXPECT_EQ(settings.ScreenTop, 0);
  // A missing switch whose default is on stays on.
  EXPECT_TRUE(settings.AsyncBlitting);
  EXPECT_TRUE(settings.DirectBlending);
  EXPECT_FALSE(settings.FastFlipping);
}

TEST(DisplaySettingsTest, WritesTheDefaultSizeAndDepthIntoANewFile) {
  const tDisplaySettings& settings = LoadDisplaySettings("Fresh");
  EXPECT_EQ(settings.ScreenWidth, 640);
  EXPECT_TRUE(settings.BackBlitting);
  std::ifstream file("Fresh.ini");
  std::stringstream contents;
  contents << file.rdbuf();
  EXPECT_NE(contents.str().find("ScreenWidth=640"), std::string::npos);
  EXPECT_NE(contents.str().find("BitsPerPixel=16"), std::string::npos);
  EXPECT_EQ(contents.str().find("BackBlitting"), std::string::npos);
}

}  // namespace
