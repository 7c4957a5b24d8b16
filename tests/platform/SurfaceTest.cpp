#include <gtest/gtest.h>

#include <memory>

#include "platform/PixelFormat.h"
#include "platform/Surface.h"
#include "platform/Testing.h"

namespace {

using platform::MemoryKind;
using platform::PixelFormat;
using platform::Surface;
using platform::SurfaceRect;
using platform::SurfaceResult;
using platform::testing::ReadSurfacePixel;

std::unique_ptr<Surface> MakeSurface(int32_t width, int32_t height, const PixelFormat& format,
                                     MemoryKind memory = MemoryKind::System) {
  SurfaceResult result = SurfaceResult::Ok;
  auto surface = Surface::Create(width, height, format, memory, result);
  EXPECT_EQ(result, SurfaceResult::Ok);
  return surface;
}

struct FormatCase {
  const char* name;
  PixelFormat format;
  uint32_t pixel;  // a value whose bytes differ, so a byte-wise fill would show
};

const FormatCase kFormats[] = {
    {"565", platform::Format565(), 0xF81F},
    {"555", platform::Format555(), 0x7C1E},
    {"rgb24", platform::FormatRGB24(), 0x123456},
    {"rgb32", platform::FormatRGB32(), 0x00ABCDEF},
};

TEST(SurfaceTest, FillSetsExactlyTheRectangleInEveryFormat) {
  for (const FormatCase& test : kFormats) {
    SCOPED_TRACE(test.name);
    auto surface = MakeSurface(7, 5, test.format);
    ASSERT_EQ(surface->Fill({2, 1, 6, 4}, test.pixel), SurfaceResult::Ok);
    for (int32_t y = 0; y < 5; ++y) {
      for (int32_t x = 0; x < 7; ++x) {
        const bool inside = x >= 2 && x < 6 && y >= 1 && y < 4;
        EXPECT_EQ(ReadSurfacePixel(*surface, x, y), inside ? test.pixel : 0u) << x << "," << y;
      }
    }
  }
}

TEST(SurfaceTest, FillRefusesRectanglesOutsideTheSurface) {
  auto surface = MakeSurface(4, 4, platform::Format565());
  const SurfaceRect bad[] = {{-1, 0, 2, 2}, {0, 0, 5, 1}, {2, 2, 2, 3}, {0, 3, 4, 5}};
  for (const SurfaceRect& rectangle : bad) {
    EXPECT_EQ(surface->Fill(rectangle, 1), SurfaceResult::InvalidRectangle);
  }
}

TEST(SurfaceTest, CreateRefusesEmptyHugeAndOneByteSurfaces) {
  struct Case {
    int32_t width;
    int32_t height;
    PixelFormat format;
    SurfaceResult expected;
  };
  const Case cases[] = {
      {0, 10, platform::Format565(), SurfaceResult::InvalidParameters},
      {10, -1, platform::Format565(), SurfaceResult::InvalidParameters},
      {10, 10, PixelFormat{8, 0xE0, 0x1C, 0x03}, SurfaceResult::InvalidParameters},
      {100000, 10, platform::Format565(), SurfaceResult::OutOfMemory},
      {16384, 16384, platform::FormatRGB32(), SurfaceResult::OutOfMemory},
  };
  for (const Case& test : cases) {
    SurfaceResult result = SurfaceResult::Ok;
    EXPECT_EQ(Surface::Create(test.width, test.height, test.format, MemoryKind::System, result), nullptr);
    EXPECT_EQ(result, test.expected);
  }
}

TEST(SurfaceTest, BlitCopiesAndSkipsKeyedPixels) {
  for (const FormatCase& test : kFormats) {
    SCOPED_TRACE(test.name);
    auto source = MakeSurface(2, 2, test.format);
    source->Fill({0, 0, 1, 1}, test.pixel);
    source->Fill({1, 0, 2, 1}, 1);
    auto destination = MakeSurface(6, 4, test.format);
    destination->Fill(3);

    ASSERT_EQ(destination->Blit({1, 1, 3, 3}, *source, source->Bounds()), SurfaceResult::Ok);
    EXPECT_EQ(ReadSurfacePixel(*destination, 1, 1), test.pixel);
    EXPECT_EQ(ReadSurfacePixel(*destination, 2, 1), 1u);
    EXPECT_EQ(ReadSurfacePixel(*destination, 1, 2), 0u);
    EXPECT_EQ(ReadSurfacePixel(*destination, 0, 0), 3u);

    // The key (value 0) leaves the destination's 3 where the source is 0.
    destination->Fill(3);
    source->SetSourceColorKey(platform::ColorKey{0, 0});
    ASSERT_EQ(destination->Blit({2, 2, 4, 4}, *source, source->Bounds(), true), SurfaceResult::Ok);
    EXPECT_EQ(ReadSurfacePixel(*destination, 2, 2), test.pixel);
    EXPECT_EQ(ReadSurfacePixel(*destination, 3, 2), 1u);
    EXPECT_EQ(ReadSurfacePixel(*destination, 2, 3), 3u);
    EXPECT_EQ(ReadSurfacePixel(*destination, 3, 3), 3u);
  }
}

TEST(SurfaceTest, BlitBetweenRectanglesOfDifferentSizesIsUnsupported) {
  auto source = MakeSurface(2, 2, kFormats[0].format);
  auto destination = MakeSurface(6, 4, kFormats[0].format);
  destination->Fill(3);
  EXPECT_EQ(destination->Blit({2, 2, 6, 4}, *source, source->Bounds()), SurfaceResult::Unsupported);
  EXPECT_EQ(destination->Blit({2, 2, 3, 3}, *source, source->Bounds()), SurfaceResult::Unsupported);
  EXPECT_EQ(ReadSurfacePixel(*destination, 2, 2), 3u);
}

TEST(SurfaceTest, BlitRefusesBadRectanglesAndMixedFormats) {
  auto source = MakeSurface(4, 4, platform::Format565());
  auto destination = MakeSurface(4, 4, platform::Format565());
  auto wide = MakeSurface(4, 4, platform::FormatRGB32());
  EXPECT_EQ(destination->Blit({0, 0, 4, 4}, *source, {0, 0, 5, 4}), SurfaceResult::InvalidRectangle);
  EXPECT_EQ(destination->Blit({1, 1, 5, 5}, *source, {0, 0, 4, 4}), SurfaceResult::InvalidRectangle);
  EXPECT_EQ(destination->Blit({0, 0, 0, 4}, *source, {0, 0, 4, 4}), SurfaceResult::InvalidRectangle);
  EXPECT_EQ(destination->Blit({0, 0, 4, 4}, *wide, {0, 0, 4, 4}), SurfaceResult::InvalidPixelFormat);
}

TEST(SurfaceTest, BlitWithinOneSurfaceHandlesOverlap) {
  auto surface = MakeSurface(4, 1, platform::Format565());
  for (int32_t x = 0; x < 4; ++x) {
    surface->Fill({x, 0, x + 1, 1}, static_cast<uint32_t>(x + 1));
  }
  ASSERT_EQ(surface->Blit({1, 0, 4, 1}, *surface, {0, 0, 3, 1}), SurfaceResult::Ok);
  const uint32_t expected[] = {1, 1, 2, 3};
  for (int32_t x = 0; x < 4; ++x) {
    EXPECT_EQ(ReadSurfacePixel(*surface, x, 0), expected[x]);
  }
}

TEST(SurfaceTest, ClipperTakesScreenCoordinatesAndCutsToItsArea) {
  auto source = MakeSurface(4, 4, platform::Format565());
  source->Fill(9);
  auto window = MakeSurface(4, 4, platform::Format565(), MemoryKind::Video);
  window->SetClipRectangle({100, 50, 104, 54});
  // Half of the source lies left of the client area.
  ASSERT_EQ(window->Blit({98, 50, 102, 54}, *source, source->Bounds()), SurfaceResult::Ok);
  EXPECT_EQ(ReadSurfacePixel(*window, 0, 0), 9u);
  EXPECT_EQ(ReadSurfacePixel(*window, 1, 3), 9u);
  EXPECT_EQ(ReadSurfacePixel(*window, 2, 0), 0u);
}

TEST(SurfaceTest, OnlyVideoMemoryIsLostAndRestoreKeepsThePixels) {
  auto system = MakeSurface(2, 2, platform::Format565());
  system->MarkLost();
  EXPECT_EQ(system->IsLost(), SurfaceResult::Ok);

  auto video = MakeSurface(2, 2, platform::Format565(), MemoryKind::Video);
  video->Fill(5);
  platform::testing::MakeSurfaceLost(*video);
  EXPECT_EQ(video->Fill(6), SurfaceResult::SurfaceLost);
  platform::SurfaceLock lock;
  EXPECT_EQ(video->Lock(lock), SurfaceResult::SurfaceLost);
  EXPECT_EQ(system->Blit({0, 0, 2, 2}, *video, {0, 0, 2, 2}), SurfaceResult::SurfaceLost);
  EXPECT_EQ(video->Restore(), SurfaceResult::Ok);
  EXPECT_EQ(video->IsLost(), SurfaceResult::Ok);
  EXPECT_EQ(ReadSurfacePixel(*video, 1, 1), 5u);
}

TEST(SurfaceTest, RestoreBehavioursSetByTests) {
  auto video = MakeSurface(2, 2, platform::Format565(), MemoryKind::Video);
  platform::testing::MakeSurfaceLost(*video);
  platform::testing::SetSurfaceRestore(*video, platform::RestoreBehaviour::Fails);
  EXPECT_NE(video->Restore(), SurfaceResult::Ok);
  platform::testing::SetSurfaceRestore(*video, platform::RestoreBehaviour::ReportsSuccessButStaysLost);
  EXPECT_EQ(video->Restore(), SurfaceResult::Ok);
  EXPECT_EQ(video->IsLost(), SurfaceResult::SurfaceLost);
}

TEST(SurfaceTest, BusyReportsRunOutAndOwnLocksNeverMakeBusy) {
  auto surface = MakeSurface(2, 2, platform::Format565());
  platform::testing::ReportSurfaceBusy(*surface, 2, SurfaceResult::WasStillDrawing);
  EXPECT_EQ(surface->Fill(1), SurfaceResult::WasStillDrawing);
  EXPECT_EQ(surface->Fill(1), SurfaceResult::WasStillDrawing);
  EXPECT_EQ(surface->Fill(1), SurfaceResult::Ok);

  platform::SurfaceLock lock;
  ASSERT_EQ(surface->Lock(lock), SurfaceResult::Ok);
  ASSERT_EQ(surface->Lock(lock), SurfaceResult::Ok);
  EXPECT_EQ(surface->Fill(2), SurfaceResult::Ok);
  EXPECT_EQ(surface->Unlock(), SurfaceResult::Ok);
  EXPECT_EQ(surface->Unlock(), SurfaceResult::Ok);
  EXPECT_EQ(surface->Unlock(), SurfaceResult::NotLocked);
}

TEST(SurfaceTest, FlipExchangesThePixelsWithTheBackBuffer) {
  auto primary = MakeSurface(2, 2, platform::Format565(), MemoryKind::Video);
  auto back = MakeSurface(2, 2, platform::Format565(), MemoryKind::Video);
  EXPECT_EQ(primary->Flip(0), SurfaceResult::NotFlippable);
  primary->AttachBackBuffer(back.get());
  primary->Fill(1);
  back->Fill(2);
  ASSERT_EQ(primary->Flip(0), SurfaceResult::Ok);
  EXPECT_EQ(ReadSurfacePixel(*primary, 0, 0), 2u);
  EXPECT_EQ(ReadSurfacePixel(*back, 0, 0), 1u);
  back->MarkLost();
  EXPECT_EQ(primary->Flip(0), SurfaceResult::SurfaceLost);
  // Restoring the primary restores its attached back buffer.
  EXPECT_EQ(primary->Restore(), SurfaceResult::Ok);
  EXPECT_EQ(back->IsLost(), SurfaceResult::Ok);
}

TEST(SurfaceTest, DeviceContextsAreCountedUntilReleased) {
  const int32_t before = Surface::OpenDeviceContexts();
  {
    auto surface = MakeSurface(2, 2, platform::Format565());
    ASSERT_EQ(surface->AcquireDeviceContext(), SurfaceResult::Ok);
    ASSERT_EQ(surface->AcquireDeviceContext(), SurfaceResult::Ok);
    EXPECT_EQ(Surface::OpenDeviceContexts(), before + 2);
    EXPECT_EQ(surface->ReleaseDeviceContext(), SurfaceResult::Ok);
    EXPECT_EQ(Surface::OpenDeviceContexts(), before + 1);
  }
  EXPECT_EQ(Surface::OpenDeviceContexts(), before);
}

}  // namespace
