#include <gtest/gtest.h>

#include <string>

#include "platform/Movie.h"
#include "platform/PixelFormat.h"
#include "platform/Surface.h"
#include "platform/Testing.h"
#include "support/MediaWriters.h"

using platform::Movie;
using platform::Surface;
using platform::SurfaceResult;
namespace media = testing_support;

namespace {

media::TestMovie ThreeColourMovie() {
  media::TestMovie movie;
  movie.frames = {media::SolidFrame(4, 2, 255, 0, 0), media::SolidFrame(4, 2, 0, 255, 0),
                  media::SolidFrame(4, 2, 0, 0, 255)};
  return movie;
}

std::unique_ptr<Movie> OpenWritten(const media::TestMovie& movie, std::string& failure) {
  media::WriteBytes("movie.avi", media::AviFile(movie));
  return Movie::Open("movie.avi", failure);
}

TEST(MovieFileTest, OpensUncompressedVideoWithItsSizeRateAndSound) {
  media::TestMovie written = ThreeColourMovie();
  written.sound = true;
  written.soundData = media::Bytes(2400, 128);
  std::string failure;
  const auto movie = OpenWritten(written, failure);
  ASSERT_NE(movie, nullptr) << failure;
  EXPECT_EQ(movie->Width(), 4);
  EXPECT_EQ(movie->Height(), 2);
  EXPECT_EQ(movie->FrameCount(), 3u);
  EXPECT_EQ(movie->FrameDuration(), 1000000u);  // a tenth of a second in 100 ns
  EXPECT_EQ(movie->Duration(), 3000000u);
  ASSERT_TRUE(movie->HasSound());
  EXPECT_EQ(movie->SoundFormat().samplesPerSecond, 8000u);
  EXPECT_EQ(movie->SoundData().size(), 2400u);
}

TEST(MovieFileTest, FramesAreDecodedIntoTheSurfaceFormat) {
  media::TestMovie written;
  written.width = 2;
  written.height = 2;
  // Bottom-up rows: the stored first row is the picture's bottom row.
  media::Bytes frame = media::SolidFrame(2, 2, 0, 0, 0);
  frame[2] = 255;        // bottom left red
  frame[8 + 3 + 1] = 255;  // top right green
  written.frames = {frame};
  std::string failure;
  auto movie = OpenWritten(written, failure);
  ASSERT_NE(movie, nullptr) << failure;
  Surface surface(2, 2, platform::Format565(), platform::MemoryKind::System);
  ASSERT_EQ(movie->ReadFrame(0, surface), SurfaceResult::Ok);
  EXPECT_EQ(platform::testing::ReadSurfacePixel(surface, 0, 1), 0xF800u);
  EXPECT_EQ(platform::testing::ReadSurfacePixel(surface, 1, 0), 0x07E0u);
  EXPECT_EQ(platform::testing::ReadSurfacePixel(surface, 0, 0), 0u);

  Surface wrongSize(3, 2, platform::Format565(), platform::MemoryKind::System);
  EXPECT_EQ(movie->ReadFrame(0, wrongSize), SurfaceResult::InvalidParameters);
  EXPECT_EQ(movie->ReadFrame(1, surface), SurfaceResult::InvalidParameters);
}

TEST(MovieFileTest, OtherContentIsRefusedWithItsReason) {
  struct Case {
    const char* what;
    void (*change)(media::TestMovie&);
    const char* reason;
  };
  const Case cases[] = {
      {"compressed video", [](media::TestMovie& movie) { movie.compression = 0x47504A4D; }, "compressed"},
      {"8-bit frames", [](media::TestMovie& movie) { movie.bitsPerPixel = 8; }, "16, 24 or 32"},
      {"compressed sound",
       [](media::TestMovie& movie) {
         movie.sound = true;
         movie.soundTag = 2;
         movie.soundData = media::Bytes(100, 0);
       },
       "PCM"},
      {"no frames", [](media::TestMovie& movie) { movie.frames.clear(); }, "no frames"},
      {"short frame", [](media::TestMovie& movie) { movie.frames[1].resize(5); }, "shorter"},
  };
  for (const Case& test : cases) {
    media::TestMovie movie = ThreeColourMovie();
    test.change(movie);
    std::string failure;
    EXPECT_EQ(OpenWritten(movie, failure), nullptr) << test.what;
    EXPECT_NE(failure.find(test.reason), std::string::npos) << test.what << ": " << failure;
  }
}

TEST(MovieFileTest, MissingTruncatedAndForeignFilesAreRefused) {
  std::string failure;
  EXPECT_EQ(Movie::Open("absent.avi", failure), nullptr);
  EXPECT_EQ(failure, "the file cannot be opened");

  media::WriteBytes("sound.wav", media::PcmWave(1, 8000, 8, {1, 2}));
  EXPECT_EQ(Movie::Open("sound.wav", failure), nullptr);
  EXPECT_EQ(failure, "the file is not an AVI file");

  media::Bytes truncated = media::AviFile(ThreeColourMovie());
  truncated.resize(truncated.size() - 30);
  media::WriteBytes("truncated.avi", truncated);
  failure.clear();
  EXPECT_EQ(Movie::Open("truncated.avi", failure), nullptr);
  EXPECT_FALSE(failure.empty());
}

}  // namespace
