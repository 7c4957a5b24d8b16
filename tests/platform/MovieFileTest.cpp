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

TEST(MovieFileTest, LengthOfFramesThatAreNoWholeNumberOfTicks) {
  media::TestMovie written = ThreeColourMovie();
  written.rate = 12;
  for (int frame = 0; frame < 9; ++frame) {
    written.frames.push_back(media::SolidFrame(4, 2, 1, 2, 3));
  }
  std::string failure;
  const auto movie = OpenWritten(written, failure);
  ASSERT_NE(movie, nullptr) << failure;
  EXPECT_EQ(movie->Duration(), 10000000u);  // one second in 100 ns
  EXPECT_EQ(movie->FrameAt(0), 0u);
  EXPECT_EQ(movie->FrameAt(833333), 0u);
  EXPECT_EQ(movie->FrameAt(833334), 1u);
  EXPECT_EQ(movie->FrameAt(9999999), 11u);
  EXPECT_EQ(movie->FrameAt(10000000), 12u);
}

// An index chunk after the frames, which the reader skips, cut short by the
// end of the file; a cut in the frames list is still refused.
TEST(MovieFileTest, TrailingChunkCutShortIsSkippedButCutFramesAreRefused) {
  media::Bytes bytes = media::AviFile(ThreeColourMovie());
  const media::Bytes index(3 * 16, 0);
  media::Bytes indexChunk = media::Chunk("idx1", index);
  bytes.insert(bytes.end(), indexChunk.begin(), indexChunk.end());
  const uint32_t riffSize = static_cast<uint32_t>(bytes.size() - 8);
  for (int shift = 0; shift < 32; shift += 8) {
    bytes[4 + shift / 8] = static_cast<uint8_t>(riffSize >> shift);
  }
  struct Case {
    const char* name;
    size_t cut;  // bytes taken off the end
    bool opens;
  };
  const Case cases[] = {
      {"whole", 0, true},
      {"index data cut", 20, true},
      {"index header cut", index.size() + 4, true},
      {"last frame cut", index.size() + 8 + 4, false},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    media::WriteBytes("movie.avi", media::Bytes(bytes.begin(), bytes.end() - static_cast<std::ptrdiff_t>(test.cut)));
    std::string failure;
    const auto movie = Movie::Open("movie.avi", failure);
    EXPECT_EQ(movie != nullptr, test.opens) << failure;
    if (movie != nullptr) {
      EXPECT_EQ(movie->FrameCount(), 3u);
    }
  }
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
