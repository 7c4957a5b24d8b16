#include <gtest/gtest.h>

#include <memory>

#include "platform/Display.h"
#include "platform/Testing.h"

namespace {

using platform::CooperativeLevel;
using platform::Display;
using platform::MemoryKind;
using platform::Surface;
using platform::SurfaceResult;

// A pixel of the frame the back end showed last.
uint32_t ShownFramePixel(int32_t x, int32_t y) {
  return platform::testing::PresentedPixel(platform::testing::LastPresentedFrame(), x, y);
}

class DisplayDeviceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::testing::Reset();
    platform::testing::ResetDisplaySettings();
  }
  void TearDown() override {
    platform::testing::ResetDisplaySettings();
    platform::ReleaseBackend();
  }

  std::unique_ptr<Display> MakeDisplay() {
    SurfaceResult result = SurfaceResult::Ok;
    auto display = Display::Create(result);
    EXPECT_EQ(result, SurfaceResult::Ok);
    return display;
  }
};

TEST_F(DisplayDeviceTest, OffersTheStandardSizesAtTheOfferedDepths) {
  auto display = MakeDisplay();
  ASSERT_EQ(display->SetCooperativeLevel(CooperativeLevel::FullScreen), SurfaceResult::Ok);
  struct Case {
    int32_t width;
    int32_t height;
    int32_t depth;
    bool offered;
  };
  const Case cases[] = {{640, 480, 16, true},   {1280, 960, 24, true}, {1600, 1200, 32, true},
                        {700, 500, 16, false},  {640, 480, 8, false},  {640, 480, 15, false}};
  for (const Case& test : cases) {
    EXPECT_EQ(display->SetDisplayMode(test.width, test.height, test.depth) == SurfaceResult::Ok, test.offered)
        << test.width << "x" << test.height << "x" << test.depth;
  }
  platform::testing::SetDisplayDepths({16, 32});
  EXPECT_EQ(display->SetDisplayMode(640, 480, 24), SurfaceResult::Unsupported);
}

TEST_F(DisplayDeviceTest, FullScreenFlipShowsTheBackBuffer) {
  auto display = MakeDisplay();
  display->SetCooperativeLevel(CooperativeLevel::FullScreen);
  ASSERT_EQ(display->SetDisplayMode(640, 480, 16), SurfaceResult::Ok);
  Surface* primary = nullptr;
  ASSERT_EQ(display->CreatePrimarySurface(0, 0, primary), SurfaceResult::Ok);
  ASSERT_NE(primary->AttachedBackBuffer(), nullptr);
  EXPECT_EQ(primary->Memory(), MemoryKind::Video);
  EXPECT_EQ(primary->AttachedBackBuffer()->Memory(), MemoryKind::Video);

  primary->AttachedBackBuffer()->Fill({10, 20, 11, 21}, 0x1234);
  ASSERT_EQ(primary->Flip(0), SurfaceResult::Ok);
  const platform::testing::PresentedFrame frame = platform::testing::LastPresentedFrame();
  EXPECT_EQ(frame.bitsPerPixel, 16u);
  EXPECT_EQ(frame.width, 640);
  EXPECT_EQ(frame.height, 480);
  EXPECT_EQ(ShownFramePixel(10, 20), 0x1234u);
  EXPECT_EQ(ShownFramePixel(11, 20), 0u);
}

TEST_F(DisplayDeviceTest, WindowedPrimaryShowsTheClientAreaAtTheOrigin) {
  auto display = MakeDisplay();
  display->SetCooperativeLevel(CooperativeLevel::Normal);
  Surface* primary = nullptr;
  ASSERT_EQ(display->CreatePrimarySurface(320, 200, primary), SurfaceResult::Ok);
  EXPECT_EQ(primary->Format(), platform::FormatRGB32());
  EXPECT_EQ(primary->AttachedBackBuffer(), nullptr);
  ASSERT_EQ(display->SetClipper({50, 60, 370, 260}), SurfaceResult::Ok);
  Surface* back = nullptr;
  ASSERT_EQ(display->CreateBackBuffer(320, 200, back), SurfaceResult::Ok);
  EXPECT_EQ(back->Memory(), MemoryKind::Video);
  back->Fill({0, 0, 1, 1}, 0xABCDEF);
  ASSERT_EQ(primary->Blit({50, 60, 370, 260}, *back, back->Bounds()), SurfaceResult::Ok);
  EXPECT_EQ(ShownFramePixel(0, 0), 0xABCDEFu);
  EXPECT_EQ(platform::testing::LastPresentedFrame().width, 320);
}

TEST_F(DisplayDeviceTest, OtherSurfacesAreSystemMemoryWhateverWasAsked) {
  auto display = MakeDisplay();
  std::unique_ptr<Surface> surface;
  EXPECT_EQ(display->CreateSurface(8, 8, MemoryKind::Video, surface), SurfaceResult::NotInitialized);
  display->SetCooperativeLevel(CooperativeLevel::FullScreen);
  display->SetDisplayMode(640, 480, 24);
  ASSERT_EQ(display->CreateSurface(8, 8, MemoryKind::Video, surface), SurfaceResult::Ok);
  EXPECT_EQ(surface->Memory(), MemoryKind::System);
  EXPECT_EQ(surface->Format(), platform::FormatRGB24());
}

TEST_F(DisplayDeviceTest, InactiveFullScreenLosesItsSurfacesUntilReactivated) {
  auto display = MakeDisplay();
  display->SetCooperativeLevel(CooperativeLevel::FullScreen);
  display->SetDisplayMode(640, 480, 16);
  Surface* primary = nullptr;
  ASSERT_EQ(display->CreatePrimarySurface(0, 0, primary), SurfaceResult::Ok);
  display->SetActive(false);
  EXPECT_EQ(primary->IsLost(), SurfaceResult::SurfaceLost);
  EXPECT_EQ(primary->AttachedBackBuffer()->IsLost(), SurfaceResult::SurfaceLost);
  EXPECT_NE(primary->Restore(), SurfaceResult::Ok);
  display->SetActive(true);
  EXPECT_EQ(primary->Restore(), SurfaceResult::Ok);
  EXPECT_EQ(primary->AttachedBackBuffer()->IsLost(), SurfaceResult::Ok);
}

TEST_F(DisplayDeviceTest, CapabilitiesTellTheTruthUnlessATestOverrides) {
  auto display = MakeDisplay();
  const platform::DisplayCapabilities own = display->Capabilities();
  EXPECT_TRUE(own.blitsFromSystemMemory);
  EXPECT_FALSE(own.pageLockRequired);
  EXPECT_FALSE(own.queuedSystemToVideoBlits);
  platform::DisplayCapabilities other;
  other.pageLockRequired = true;
  platform::testing::SetDisplayCapabilities(other);
  EXPECT_TRUE(display->Capabilities().pageLockRequired);
}

}  // namespace
