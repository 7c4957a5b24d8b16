#include <gtest/gtest.h>

#include <string>

#include "DisplayFixture.h"
#include "platform/Testing.h"
#include "runtime/Graphics.h"
#include "runtime/Movies.h"
#include "runtime/RTSState.h"
#include "runtime/Sounds.h"
#include "support/MediaWriters.h"

namespace media = testing_support;
namespace hooks = platform::testing;

namespace {

// A started display and movie list; movies are written into the test's
// folder. The held clock decides which frame is due.
class MoviesTest : public DisplayFixture {
 protected:
  void SetUp() override {
    hooks::Reset();
    hooks::UseBackend("headless");
    DisplayFixture::SetUp();
    hooks::SetClock(1000);
    ASSERT_TRUE(StartDisplay(Settings(false, true)));
    ASSERT_TRUE(StartMovieList());
  }

  void TearDown() override {
    StopMovieList();
    if (graphic_ != nullptr) {
      DestroyGraphic(graphic_);
    }
    StopSoundDevice();
    RTS().startRecord = nullptr;
    DisplayFixture::TearDown();
    hooks::Reset();
  }

  // Three frames of a tenth of a second: red, green, blue.
  static media::TestMovie ThreeColours() {
    media::TestMovie movie;
    movie.frames = {media::SolidFrame(4, 2, 255, 0, 0), media::SolidFrame(4, 2, 0, 255, 0),
                    media::SolidFrame(4, 2, 0, 0, 255)};
    return movie;
  }

  // Opens a written movie and attaches a graphic of its size.
  MovieHandle OpenWithDisplay(const media::TestMovie& written) {
    media::WriteBytes("movie.avi", media::AviFile(written));
    int32_t width = 0;
    int32_t height = 0;
    int32_t duration = 0;
    MovieHandle movie = OpenMovie("movie.avi", width, height, duration);
    EXPECT_NE(movie, nullptr);
    if (movie == nullptr) return nullptr;
    EXPECT_EQ(width, written.width);
    EXPECT_EQ(height, written.height);
    EXPECT_EQ(duration, static_cast<int32_t>(written.frames.size() * 1000 / written.rate));
    graphic_ = CreateGraphic(width, height, sRGB{});
    EXPECT_TRUE(SetMovieDisplay(movie, graphic_));
    return movie;
  }

  // Steps the clock and runs the screen update that draws the due frame.
  static void Frame(uint32_t milliseconds) {
    hooks::StepClock(milliseconds);
    BeginScreenUpdate();
  }

  uint32_t Shown() const { return GetGraphicPixel(graphic_, 1, 1); }

  GraphicHandle graphic_ = nullptr;
};

TEST_F(MoviesTest, FramesReachTheGraphicInOrderAsTheClockMoves) {
  MovieHandle movie = OpenWithDisplay(ThreeColours());
  EXPECT_TRUE(LogHas("OpenMovie() Movie opened (Name=movie.avi, Width=4, Height=2, Duration=300)\n"));
  ASSERT_TRUE(PlayMovie(movie, 1));
  Frame(0);
  EXPECT_EQ(Shown(), GetColor(255, 0, 0));
  // No new frame is due yet: the graphic keeps its frame and the movie plays on.
  Frame(60);
  EXPECT_EQ(Shown(), GetColor(255, 0, 0));
  EXPECT_TRUE(PlayingMovie(movie));
  Frame(40);
  EXPECT_EQ(Shown(), GetColor(0, 255, 0));
  EXPECT_EQ(GetMoviePosition(movie), 100);
  Frame(100);
  EXPECT_EQ(Shown(), GetColor(0, 0, 255));
  // After the last frame the movie ends without a message.
  Frame(100);
  EXPECT_FALSE(PlayingMovie(movie));
  EXPECT_EQ(Shown(), GetColor(0, 0, 255));
  EXPECT_EQ(GetMoviePosition(movie), 300);
  EXPECT_FALSE(LogHas("Cannot update the movie"));
}

TEST_F(MoviesTest, PauseHoldsThePositionAndStopGoesBackToTheStart) {
  MovieHandle movie = OpenWithDisplay(ThreeColours());
  ASSERT_TRUE(PlayMovie(movie, 1));
  Frame(120);
  EXPECT_TRUE(PauseMovie(movie));
  Frame(500);
  EXPECT_EQ(GetMoviePosition(movie), 120);
  EXPECT_EQ(Shown(), GetColor(0, 255, 0));
  EXPECT_TRUE(ResumeMovie(movie));
  Frame(100);
  EXPECT_EQ(Shown(), GetColor(0, 0, 255));
  EXPECT_TRUE(StopMovie(movie));
  EXPECT_FALSE(PlayingMovie(movie));
  EXPECT_EQ(GetMoviePosition(movie), 0);
  EXPECT_EQ(SetMoviePosition(movie, 150), 150);
  ASSERT_TRUE(PlayMovie(movie, 1));
  Frame(0);
  EXPECT_EQ(Shown(), GetColor(0, 255, 0));
  EXPECT_EQ(SetMoviePosition(movie, 301), -1);
  EXPECT_TRUE(LogHas("SetMoviePosition() Cannot set the position (Name=movie.avi, Position=301, Error=80070057)\n"));
}

TEST_F(MoviesTest, LengthComesFromTheFrameCountAndRateInOneStep) {
  // A frame of a twelfth of a second is no whole number of 100 ns units; the
  // twelve frames still last exactly one second.
  media::TestMovie written;
  written.rate = 12;
  for (int frame = 0; frame < 12; ++frame) {
    written.frames.push_back(media::SolidFrame(4, 2, static_cast<uint8_t>(frame * 20), 0, 0));
  }
  MovieHandle movie = OpenWithDisplay(written);
  EXPECT_EQ(GetMovieDuration(movie), 1000);
  EXPECT_EQ(SetMoviePosition(movie, 1000), 1000);
  EXPECT_EQ(SetMoviePosition(movie, 1001), -1);
  // Half a second in, the seventh frame is shown.
  EXPECT_EQ(SetMoviePosition(movie, 500), 500);
  ASSERT_TRUE(PlayMovie(movie, 1));
  Frame(0);
  EXPECT_EQ(Shown(), GetColor(120, 0, 0));
}

TEST_F(MoviesTest, PlayNeedsADisplayAndAPlayFlag) {
  media::WriteBytes("movie.avi", media::AviFile(ThreeColours()));
  int32_t width = 0;
  int32_t height = 0;
  int32_t duration = 0;
  MovieHandle movie = OpenMovie("movie.avi", width, height, duration);
  ASSERT_NE(movie, nullptr);
  EXPECT_FALSE(PlayMovie(movie, 1));
  EXPECT_TRUE(LogHas("PlayMovie() No display attached to the movie (Name=movie.avi)\n"));

  GraphicHandle wrongSize = CreateGraphic(4, 3, sRGB{});
  EXPECT_FALSE(SetMovieDisplay(movie, wrongSize));
  EXPECT_TRUE(LogHas("SetMovieDisplay() The graphic has not the required size (Movie=movie.avi:4*2, Graphic=4*3)\n"));
  DestroyGraphic(wrongSize);
  EXPECT_FALSE(SetMovieDisplay(movie, nullptr));
  EXPECT_TRUE(LogHas("SetMovieDisplay() NULL pointer to the display specified (Name=movie.avi)\n"));

  graphic_ = CreateGraphic(4, 2, sRGB{});
  ASSERT_TRUE(SetMovieDisplay(movie, graphic_));
  EXPECT_FALSE(PlayMovie(movie, 0));
  Frame(150);
  EXPECT_FALSE(PlayingMovie(movie));
  EXPECT_EQ(GetMoviePosition(movie), 0);
  EXPECT_EQ(Shown(), 0u);
  ASSERT_TRUE(PlayMovie(movie, 1));
  EXPECT_TRUE(ResumeMovie(movie));
  EXPECT_TRUE(LogHas("ResumeMovie() Movie already playing (Name=movie.avi)\n"));
  CloseMovie(movie);
  EXPECT_TRUE(LogHas("CloseMovie() Movie closed (Name=movie.avi)\n"));
}

TEST_F(MoviesTest, MissingAndRefusedMoviesGiveNullWithTheReason) {
  int32_t width = 0;
  int32_t height = 0;
  int32_t duration = 0;
  EXPECT_EQ(OpenMovie("absent.avi", width, height, duration), nullptr);
  EXPECT_TRUE(LogHas("OpenMovie() Cannot open the movie (Name=absent.avi, Error=80070002)\n"));

  media::TestMovie compressed = ThreeColours();
  compressed.compression = 0x47504A4D;
  media::WriteBytes("packed.avi", media::AviFile(compressed));
  EXPECT_EQ(OpenMovie("packed.avi", width, height, duration), nullptr);
  EXPECT_TRUE(LogHas("OpenMovie() Cannot open the movie (Name=packed.avi, Error=80040265)\n"));
  EXPECT_TRUE(LogHas("OpenMovie() The movie cannot be played: the video is compressed"));
  EXPECT_EQ(OpenMovie(nullptr, width, height, duration), nullptr);
  EXPECT_TRUE(LogHas("OpenMovie() NULL pointer to the name specified\n"));

  EXPECT_EQ(GetMoviePosition(nullptr), -1);
  EXPECT_FALSE(PlayingMovie(nullptr));
  EXPECT_TRUE(LogHas("PlayingMovie() Null pointer to the movie specified\n"));
}

TEST_F(MoviesTest, SoundOfAMoviePlaysThroughTheMixer) {
  static const tStartRecord record = {nullptr, "", 1, "Yobbozers", "Yobbozers", "Sound.ini", DebugModeOverwrite};
  RTS().startRecord = &record;
  const std::string settings = "[DirectSound]\nSamplesPerSec=8000\nChannels=1\nBitsPerSample=16\n";
  media::WriteBytes("Sound.ini", media::Bytes(settings.begin(), settings.end()));
  ASSERT_TRUE(StartSoundDevice());
  hooks::CaptureAudio(true);
  media::TestMovie written = ThreeColours();
  written.sound = true;
  written.soundData = media::Bytes(2400, 192);  // 300 ms of 8-bit samples
  MovieHandle movie = OpenWithDisplay(written);
  ASSERT_TRUE(PlayMovie(movie, 1));
  Frame(50);
  const std::vector<int16_t> heard = hooks::TakeCapturedAudio();
  ASSERT_FALSE(heard.empty());
  EXPECT_EQ(heard.back(), 64 * 256);
  PauseMovie(movie);
  hooks::StepClock(10);
  EXPECT_EQ(hooks::TakeCapturedAudio().back(), 0);
}

}  // namespace
