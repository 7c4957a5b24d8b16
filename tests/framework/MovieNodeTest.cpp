#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "MediaFixture.h"
#include "framework/LumoCell.h"
#include "framework/LumoGraphicList.h"
#include "framework/LumoGraphicNode.h"
#include "framework/LumoMovieList.h"
#include "framework/LumoMovieNode.h"
#include "framework/LumoSequenceList.h"
#include "framework/LumoSequenceNode.h"
#include "runtime/Graphics.h"

namespace framework_testing {
namespace {

namespace media = testing_support;
using Hooks = std::vector<std::string>;
using ListOwner = std::unique_ptr<LumoList, tObjectDestroyer>;

// Movies of 4 x 2 pixels at ten frames a second in the test's folder:
// "colours.avi" shows red, green and blue (300 ms), "long.avi" twelve frames
// (1.2 s).
class MovieNodeTest : public MediaTest {
 protected:
  void SetUp() override {
    MediaTest::SetUp();
    media::TestMovie colours;
    colours.frames = {media::SolidFrame(4, 2, 255, 0, 0), media::SolidFrame(4, 2, 0, 255, 0),
                      media::SolidFrame(4, 2, 0, 0, 255)};
    media::WriteBytes("colours.avi", media::AviFile(colours));
    media::TestMovie longer;
    for (int frame = 0; frame < 12; ++frame) {
      longer.frames.push_back(media::SolidFrame(4, 2, static_cast<uint8_t>(frame * 20), 0, 0));
    }
    media::WriteBytes("long.avi", media::AviFile(longer));
    holder.reset(new LumoList);
    sprite = new ListeningSprite;
    holder->Append(sprite);
  }

  void TearDown() override {
    holder.reset();
    MediaTest::TearDown();
  }

  LumoMovieList& Movies() { return *level->MovieList; }

  ListOwner holder;
  ListeningSprite* sprite = nullptr;
};

TEST_F(MovieNodeTest, MovieIsFoundOrOpenedOnce) {
  EXPECT_EQ(Movies().GraphicList, level->GraphicList.get());
  LumoMovieNode* movie = Movies().FindOrLoadMovie("colours.avi", nullptr, false);
  ASSERT_NE(movie, nullptr);
  EXPECT_NE(movie->Data, 0u);
  EXPECT_EQ(movie->parent, &Movies());
  EXPECT_EQ(movie->MovieWidth, 4);
  EXPECT_EQ(movie->MovieHeight, 2);
  EXPECT_EQ(movie->FrameTime, 300);  // the run-time gives the whole duration
  EXPECT_EQ(movie->Size(), 300);
  const uintptr_t handle = movie->Data;
  EXPECT_EQ(Movies().FindOrLoadMovie("colours.avi", nullptr, false), movie);
  EXPECT_EQ(movie->Data, handle);
  EXPECT_EQ(Movies().Count, 1);

  // A movie that cannot be opened leaves no node behind.
  EXPECT_EQ(Movies().FindOrLoadMovie("missing.avi", nullptr, false), nullptr);
  EXPECT_EQ(Movies().FindByName("missing.avi"), nullptr);
  EXPECT_EQ(Movies().Count, 1);
}

TEST_F(MovieNodeTest, FramesPerPulseComeFromTheFrameTime) {
  LumoMovieNode* shortMovie = Movies().FindOrLoadMovie("colours.avi", nullptr, false);
  LumoMovieNode* longMovie = Movies().FindOrLoadMovie("long.avi", nullptr, false);
  ASSERT_NE(shortMovie, nullptr);
  ASSERT_NE(longMovie, nullptr);
  EXPECT_EQ(shortMovie->GetFramesPerPulse(), 1000u / 300u);
  // Longer than a pulse: 0, so a sprite takes its own default rate.
  EXPECT_EQ(longMovie->GetFramesPerPulse(), 0u);
  LumoMovieNode unopened;
  EXPECT_EQ(unopened.GetFramesPerPulse(), 0u);
}

TEST_F(MovieNodeTest, DisplayGraphicShowsTheMovieAndItsSpriteHearsOfIt) {
  LumoMovieNode* movie = Movies().FindOrLoadMovie("colours.avi", nullptr, false);
  ASSERT_NE(movie, nullptr);
  LumoGraphicNode* display = movie->CreateDisplay(true);
  ASSERT_NE(display, nullptr);
  EXPECT_EQ(movie->Display, display);
  EXPECT_EQ(display->parent, level->GraphicList.get());
  EXPECT_EQ(display->Width, 4);
  EXPECT_EQ(display->Height, 2);
  EXPECT_TRUE(display->Stretch);

  ASSERT_TRUE(movie->Play(sprite));
  EXPECT_EQ(sprite->heard, (Hooks{"DoPlayMovie", "OnPlayMovie"}));
  // Each pass's screen update draws the frame that is due.
  ASSERT_TRUE(Pulse());
  EXPECT_EQ(GetGraphicPixel(display->Graphic(), 1, 1), GetColor(255, 0, 0));
  ASSERT_TRUE(Pulse());
  EXPECT_EQ(GetGraphicPixel(display->Graphic(), 1, 1), GetColor(0, 255, 0));
  ASSERT_TRUE(Pulse());
  EXPECT_EQ(GetGraphicPixel(display->Graphic(), 3, 0), GetColor(0, 0, 255));
  // The level's check finds it ended and tells the sprite.
  sprite->heard.clear();
  ASSERT_TRUE(Pulse());
  ASSERT_TRUE(Pulse());
  EXPECT_FALSE(movie->Started);
  EXPECT_EQ(sprite->heard, (Hooks{"DoStopMovie", "OnStopMovie"}));

  // A display freed elsewhere takes the movie with it.
  DestroyObject(display);
  EXPECT_EQ(movie->Display, nullptr);
  EXPECT_EQ(movie->Data, 0u);
}

// The run-time movie cannot be told to stop drawing into a graphic, so a
// display the node lets go of (none asked for, or a graphic of the wrong
// size refused) is still watched: when it goes, the movie is closed rather
// than drawn into freed memory. A display that took its place frees the old.
TEST_F(MovieNodeTest, MovieNeverDrawsIntoADisplayItLetGoOf) {
  for (const bool wrongSize : {false, true}) {
    SCOPED_TRACE(wrongSize ? "a refused display" : "no display");
    LumoMovieNode* movie = Movies().FindOrLoadMovie("colours.avi", nullptr, false);
    ASSERT_NE(movie, nullptr);
    LumoGraphicNode* display = movie->CreateDisplay(false);
    ASSERT_NE(display, nullptr);
    LumoGraphicNode* wrong = wrongSize ? level->GraphicList->GetBlankGraphic(5, 5) : nullptr;
    EXPECT_EQ(movie->SetDisplay(wrong), nullptr);
    EXPECT_EQ(movie->Display, nullptr);
    DestroyObject(display);
    EXPECT_EQ(movie->Data, 0u);
    movie->Play(nullptr);
    ASSERT_TRUE(Pulse());
    ASSERT_TRUE(Pulse());
    DestroyObject(movie);
    if (wrong != nullptr) {
      DestroyObject(wrong);
    }
  }

  LumoMovieNode* movie = Movies().FindOrLoadMovie("colours.avi", nullptr, false);
  ASSERT_NE(movie, nullptr);
  LumoGraphicNode* first = movie->CreateDisplay(false);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(movie->SetDisplay(nullptr), nullptr);
  LumoGraphicNode* second = movie->CreateDisplay(false);
  ASSERT_NE(second, nullptr);
  DestroyObject(first);
  EXPECT_NE(movie->Data, 0u);
  EXPECT_EQ(movie->Display, second);
  ASSERT_TRUE(movie->Play(sprite));
  ASSERT_TRUE(Pulse());
  EXPECT_EQ(GetGraphicPixel(second->Graphic(), 1, 1), GetColor(255, 0, 0));
}

TEST_F(MovieNodeTest, FailingDisplayDisposesOfTheNode) {
  LumoGraphicNode* wrong = level->GraphicList->GetBlankGraphic(5, 5);
  ASSERT_NE(wrong, nullptr);
  EXPECT_EQ(Movies().FindOrLoadMovie("colours.avi", wrong, true), nullptr);
  EXPECT_EQ(Movies().FindByName("colours.avi"), nullptr);
  EXPECT_EQ(Movies().Count, 0);
  EXPECT_EQ(Engine->DisposalList->Count, 1);
  EXPECT_TRUE(LogHas("The graphic has not the required size"));
  EXPECT_EQ(Movies().FindOrLoadMovie("colours.avi", nullptr, true), nullptr);

  LumoGraphicNode* right = level->GraphicList->GetBlankGraphic(4, 2);
  LumoMovieNode* movie = Movies().FindOrLoadMovie("colours.avi", right, true);
  ASSERT_NE(movie, nullptr);
  EXPECT_EQ(movie->Display, right);

  // Outside a movie list no display can be made.
  LumoMovieNode loose;
  loose.SetName("colours.avi");
  ASSERT_NE(loose.Load(), 0u);
  EXPECT_EQ(loose.CreateDisplay(false), nullptr);
  EXPECT_EQ(loose.SetDisplay(wrong), nullptr);
}

TEST_F(MovieNodeTest, MovieFollowsItsMasterEveryHalfPulse) {
  LumoMovieNode* master = Movies().FindOrLoadMovie("long.avi", nullptr, false);
  LumoMovieNode* follower = Movies().FindOrLoadMovie("colours.avi", nullptr, false);
  ASSERT_NE(master->CreateDisplay(false), nullptr);
  follower->SetMaster(master);
  EXPECT_EQ(follower->Master, master);
  ASSERT_TRUE(master->Play(sprite));
  Hear(250);
  ASSERT_EQ(master->Position(), 250);
  // At 12 frames a pulse the movie follows on every 6th frame of the
  // master's receiver.
  sprite->FrameCounter = 7;
  follower->Update();
  EXPECT_EQ(follower->Position(), 0);
  sprite->FrameCounter = 12;
  follower->Update();
  EXPECT_EQ(follower->Position(), 250);
  // Not while the master is stopped, and not after the master went.
  master->Stop();
  follower->SetPosition(0);
  follower->Update();
  EXPECT_EQ(follower->Position(), 0);
  DestroyObject(master);
  EXPECT_EQ(follower->Master, nullptr);
  follower->Update();
}

TEST_F(MovieNodeTest, StoredMovieKeepsItsRepeatsAndIsNotOpenedTwice) {
  LumoMovieNode* movie = Movies().FindOrLoadMovie("colours.avi", nullptr, false);
  movie->SetRepeats(3);
  const std::string record = RecordOf(*movie);
  EXPECT_EQ(record.substr(record.size() - 2), std::string("\x01\x00", 2));

  // The movie list holds the name: nothing is opened again.
  std::unique_ptr<LumoObject, tObjectDestroyer> known(LoadRecord(record, nullptr));
  auto* knownMovie = dynamic_cast<LumoMovieNode*>(known.get());
  ASSERT_NE(knownMovie, nullptr);
  EXPECT_EQ(knownMovie->Data, 0u);
  EXPECT_EQ(knownMovie->Repeats, 3);
  EXPECT_FALSE(knownMovie->Play(nullptr));

  // Otherwise the movie is opened.
  DestroyObject(movie);
  std::unique_ptr<LumoObject, tObjectDestroyer> opened(LoadRecord(record, nullptr));
  auto* openedMovie = dynamic_cast<LumoMovieNode*>(opened.get());
  ASSERT_NE(openedMovie, nullptr);
  EXPECT_NE(openedMovie->Data, 0u);
  EXPECT_EQ(openedMovie->Repeats, 3);
  EXPECT_EQ(openedMovie->MovieWidth, 4);
}

}  // namespace
}  // namespace framework_testing

namespace framework_testing {
namespace {

TEST_F(MovieNodeTest, ASpritePlaysAMovieAsItsOnlySequence) {
  auto* cell = new LumoCell;
  level->Append(cell);
  cell->SetViewport(0, 0, 100, 100);
  auto* player = new ListeningSprite;
  cell->Append(player);
  player->AppendSequence(0, -1);  // replaced by the movie's
  LumoMovieNode* movie = player->PlayMovie("colours.avi", sRGB{0, 0, 255}, 1);
  ASSERT_NE(movie, nullptr);
  EXPECT_EQ(player->Movie, movie);
  EXPECT_EQ(player->Count, 1);
  ASSERT_NE(player->SequenceNode, nullptr);
  EXPECT_EQ(player->SequenceNode->Graphic(), movie->Display);
  EXPECT_TRUE(movie->Display->Stretch);
  EXPECT_EQ(movie->Display->SourceKey.Mode, 1u);
  EXPECT_EQ(player->SequenceList->Repeats, -1);
  EXPECT_TRUE(player->Animating);
  EXPECT_EQ(movie->Receiver, player);
  EXPECT_EQ(player->heard, (Hooks{"DoPlayMovie", "OnPlayMovie"}));

  // A movie that cannot be opened leaves neither node nor movie behind.
  EXPECT_EQ(player->AttachMovie("missing.avi", sRGB{}, 0, true), nullptr);
  EXPECT_EQ(player->Movie, nullptr);
  EXPECT_EQ(Movies().FindByName("missing.avi"), nullptr);
  EXPECT_EQ(Movies().FindByName("colours.avi"), nullptr);  // disposed of as asked
  DestroyObject(cell);
}

TEST_F(MovieNodeTest, ASpriteShowsTheSameMovieAgain) {
  auto* cell = new LumoCell;
  level->Append(cell);
  cell->SetViewport(0, 0, 100, 100);
  auto* player = new ListeningSprite;
  cell->Append(player);
  cell->StartAnimation();
  for (int time = 0; time < 2; ++time) {
    SCOPED_TRACE(time == 0 ? "first" : "again");
    LumoMovieNode* movie = player->PlayMovie("colours.avi");
    ASSERT_NE(movie, nullptr);
    ASSERT_NE(movie->Display, nullptr);
    EXPECT_NE(movie->Data, 0u);
    ASSERT_NE(player->SequenceNode, nullptr);
    EXPECT_EQ(player->SequenceNode->Graphic(), movie->Display);
    // The pass draws the movie's first frame into its display, and the
    // sprite shows it.
    ASSERT_TRUE(Pulse());
    ASSERT_NE(movie->Display, nullptr);
    EXPECT_EQ(player->SequenceNode->Graphic(), movie->Display);
    EXPECT_EQ(GetGraphicPixel(movie->Display->Graphic(), 1, 1), GetColor(255, 0, 0));
    EXPECT_EQ(platform::testing::PresentedPixel(platform::testing::LastPresentedFrame(), 1, 1), GetColor(255, 0, 0));
  }
  DestroyObject(cell);
}

}  // namespace
}  // namespace framework_testing
