#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "SpriteFixture.h"
#include "base/LumoMemoryStream.h"
#include "framework/LumoCommandList.h"
#include "framework/LumoCommandNode.h"
#include "framework/LumoEngine.h"
#include "runtime/Regions.h"

namespace framework_testing {
namespace {

constexpr sRGB kRed{0, 0, 255};

using SpriteOwner = std::unique_ptr<LumoSprite, tObjectDestroyer>;
using CellOwner = std::unique_ptr<LumoCell, tObjectDestroyer>;

class SpriteFrameTest : public SpriteFixture {};

// The index of the sprite's frame in its sequence, -1 once it stopped.
int FrameIndex(const LumoSprite& sprite) {
  if (!sprite.Animating || sprite.SequenceList == nullptr) {
    return -1;
  }
  int index = 0;
  for (LumoNode* node = sprite.SequenceList->first; node != nullptr; node = node->next, ++index) {
    if (node == sprite.SequenceNode) {
      return index;
    }
  }
  return -2;
}

struct FrameCase {
  const char* name;
  int32_t repeats;
  std::vector<uint32_t> durations;
  uint32_t sequenceRate;  // under an engine at 24 frames per pulse
  std::vector<int> trace;  // the frame after each pass; -1 stopped
};

TEST_F(SpriteFrameTest, FramesAdvanceByDurationRateAndRepeats) {
  const FrameCase cases[] = {
      {"repeats -1 loops", -1, {1, 1}, 24, {1, 0, 1, 0, 1, 0}},
      {"repeats 2 plays twice and stops", 2, {1, 1}, 24, {1, 0, 1, -1, -1}},
      {"duration 3 holds three due frames", -1, {3, 1}, 24, {0, 0, 1, 0, 0, 0, 1}},
      {"6 per pulse under 24 advances every 4th tick", -1, {1, 1}, 6, {0, 0, 0, 1, 1, 1, 1, 0, 0, 0, 0, 1}},
  };
  StartWithLevel();
  Engine->SetFramesPerPulse(24);
  for (const FrameCase& c : cases) {
    SCOPED_TRACE(c.name);
    LumoCell* cell = AddCell(0, 0, 100, 100);
    auto* sprite = new LumoSprite;
    cell->Append(sprite);
    LumoSequenceList* sequence = sprite->AppendSequence(c.sequenceRate, c.repeats);
    for (uint32_t duration : c.durations) {
      AddFrame(*sequence, MadeGraphic(2, 2, kRed), 0, 0, duration);
    }
    cell->StartAnimation();
    ASSERT_TRUE(sprite->Animating);
    EXPECT_EQ(FrameIndex(*sprite), 0);
    std::vector<int> trace;
    for (size_t i = 0; i < c.trace.size(); ++i) {
      ASSERT_TRUE(Pulse());
      trace.push_back(FrameIndex(*sprite));
    }
    EXPECT_EQ(trace, c.trace);
    DestroyObject(cell);
  }
}

TEST_F(SpriteFrameTest, ASequenceWithoutRepeatsCannotStart) {
  StartWithLevel();
  LumoCell* cell = AddCell(0, 0, 100, 100);
  auto* sprite = new LumoSprite;
  cell->Append(sprite);
  LumoSequenceList* sequence = sprite->AppendSequence(0, 0);
  AddFrame(*sequence, MadeGraphic(2, 2, kRed));
  sprite->StartAnimation();
  EXPECT_FALSE(sprite->Animating);
  EXPECT_TRUE(LogHas(Line("LumoSprite::CanStartAnimation() No repeat behaviour set (Sprite=%p:LumoSprite, ", sprite)));

  SpriteOwner loose(new LumoSprite);
  loose->StartAnimation();
  EXPECT_FALSE(loose->Animating);
  EXPECT_TRUE(
      LogHas(Line("LumoSprite::CanStartAnimation() The sprite is not appended to a cell (Sprite=%p:LumoSprite)\n",
                  loose.get())));
}

TEST_F(SpriteFrameTest, TheFrameLandsAtTheCellsPlaceAndAnInvisibleSpriteKeepsItsRegion) {
  StartWithLevel();
  LumoCell* cell = AddCell(100, 50, 200, 150);
  cell->SetVirtualSize(400, 300);
  cell->SetOffsetXY(10, 5);
  LumoGraphicNode* graphic = MadeGraphic(4, 4, kRed);
  graphic->SetOrigin(1, 2);
  auto* sprite = new LumoSprite;
  cell->Append(sprite);
  sprite->SetPosition(30, 20);
  AddFrame(*sprite->AppendSequence(Engine->FramesPerPulse, -1), graphic, 3, 4);
  sprite->SetInput(true);
  cell->StartAnimation();
  ASSERT_TRUE(Pulse());

  // viewport left + Left + frame Left + graphic Left - offset
  const int32_t x = 100 + 30 + 3 + 1 - 10;
  const int32_t y = 50 + 20 + 4 + 2 - 5;
  const uint32_t red = ConvertRGB(kRed);
  EXPECT_EQ(Presented(x, y), red);
  EXPECT_EQ(Presented(x + 3, y + 3), red);
  EXPECT_NE(Presented(x - 1, y), red);
  EXPECT_NE(Presented(x + 4, y + 3), red);
  EXPECT_EQ((std::vector<int32_t>{sprite->ActualLeft, sprite->ActualTop, sprite->ActualWidth, sprite->ActualHeight}),
            (std::vector<int32_t>{34, 26, 4, 4}));
  int32_t left = 0, top = 0, width = 0, height = 0;
  GetRegionBounds(sprite->Region(), left, top, width, height);
  EXPECT_EQ((std::vector<int32_t>{left, top, width, height}), (std::vector<int32_t>{x, y, 4, 4}));

  sprite->SetInvisible(true);
  sprite->MoveBy(20, 0);
  ASSERT_TRUE(Pulse());
  EXPECT_NE(Presented(x + 20, y), red);
  GetRegionBounds(sprite->Region(), left, top, width, height);
  EXPECT_EQ(left, x + 20);
}

// ---- Stored sprites ----

std::string RecordOf(LumoObject& object, uint32_t version = 0) {
  LumoMemoryStream stream;
  EXPECT_TRUE(stream.OpenNew(64, 1, 0));
  stream.SetGrowth(4096);
  if (!object.SaveObject(&stream, version)) {
    return {};
  }
  return std::string(reinterpret_cast<const char*>(stream.buffer), stream.position);
}

LumoObject* LoadRecord(const std::string& record) {
  LumoMemoryStream stream;
  EXPECT_TRUE(stream.OpenNew(static_cast<uint32_t>(record.size()) + 1, 1, 0));
  EXPECT_TRUE(stream.WriteBlock(record.data(), static_cast<uint32_t>(record.size())));
  stream.SetPosition(0);
  return LoadObject(&stream, nullptr);
}

// A sprite that stores one of its pointer fields in a forged form, under the
// sprite's own class name.
class ForgingSprite : public LumoSprite {
 public:
  enum Forgery { None, SequencePastChildren, FramePastSequence, LongBodyCount, LongMovieName };
  explicit ForgingSprite(Forgery forgery) : forgery(forgery) {}
  const char* GetClassName() const override { return "LumoSprite"; }
  bool SaveSequenceList(LumoStream* stream, const LumoProperty* property) override {
    return forgery == SequencePastChildren ? stream->WriteInteger(2) : LumoSprite::SaveSequenceList(stream, property);
  }
  bool SaveSequenceNode(LumoStream* stream, const LumoProperty* property) override {
    return forgery == FramePastSequence ? stream->WriteInteger(1) : LumoSprite::SaveSequenceNode(stream, property);
  }
  bool SaveBody(LumoStream* stream, const LumoProperty* property) override {
    return forgery == LongBodyCount ? stream->WriteCardinal(100000) : LumoSprite::SaveBody(stream, property);
  }
  bool SaveMovie(LumoStream* stream, const LumoProperty* property) override {
    return forgery == LongMovieName
               ? stream->WriteBool(true) && stream->WriteBool(false) && stream->WriteCardinal(100000)
               : LumoSprite::SaveMovie(stream, property);
  }
  Forgery forgery;
};

void Fill(LumoSprite& sprite) {
  LumoSequenceList* walk = sprite.AppendSequence(0, -1);
  AddFrame(*walk, nullptr, 1, 2, 3);
  LumoSequenceList* run = sprite.AppendSequence(0, 4);
  AddFrame(*run, nullptr, 0, 0, 1);
  AddFrame(*run, nullptr, 5, 6, 2);
  sprite.SetSequence(run);
  sprite.SetSequenceNode(static_cast<LumoSequenceNode*>(run->last));
  sprite.SetPosition(7, 8);
  sprite.SetMotion(2, -3);
  sprite.SetMotionDuration(9);
  sprite.SetMotionDelay(1);
  sprite.SetTransparencyCheck(false);
  sprite.SetDefaultInputResult(true);
}

TEST_F(SpriteFrameTest, ASpriteWithBodyAndSequencesLoadsBackEqual) {
  StartWithLevel();
  SpriteOwner sprite(new LumoSprite);
  Fill(*sprite);
  for (int i = 0; i < 2; ++i) {
    auto* part = new LumoSprite;
    AddFrame(*part->AppendSequence(0, -1), nullptr, i, i, 1);
    part->SetPosition(10 + i, 20);
    ASSERT_NE(sprite->Body->AttachSprite(part), nullptr);
  }
  const std::string record = RecordOf(*sprite);
  ASSERT_FALSE(record.empty());
  SpriteOwner loaded(dynamic_cast<LumoSprite*>(LoadRecord(record)));
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(loaded->SequenceList, loaded->last);
  EXPECT_EQ(loaded->SequenceNode, loaded->SequenceList->last);
  EXPECT_EQ(loaded->Body->Count, 2);
  EXPECT_EQ(loaded->MotionHorizontal, 2);
  EXPECT_FALSE(loaded->TransparencyCheck);
  EXPECT_EQ(RecordOf(*loaded), record);
}

TEST_F(SpriteFrameTest, ForgedOrOlderRecordsAndAFrameWithoutSequenceAreRefused) {
  StartWithLevel();
  struct Case {
    const char* name;
    ForgingSprite::Forgery forgery;
    const char* log;
  };
  const Case cases[] = {
      {"sequence past the children", ForgingSprite::SequencePastChildren,
       "LumoSprite::LoadSequenceList() No sequence list at the index (Index=2, "},
      {"frame past the sequence", ForgingSprite::FramePastSequence,
       "LumoSprite::LoadSequenceNode() No frame at the index (Index=1, "},
      {"body count past the stream", ForgingSprite::LongBodyCount,
       "LumoSprite::LoadBody() The count is larger than the stream (Count=100000, "},
      {"movie name past the stream", ForgingSprite::LongMovieName,
       "LumoSprite::LoadMovie() The movie's name cannot be read ("},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SpriteOwner sprite(new ForgingSprite(c.forgery));
    AddFrame(*sprite->AppendSequence(0, -1), nullptr);
    AddFrame(*sprite->AppendSequence(0, -1), nullptr);
    const std::string record = RecordOf(*sprite);
    ASSERT_FALSE(record.empty());
    EXPECT_EQ(LoadRecord(record), nullptr);
    EXPECT_TRUE(LogHas(c.log));
  }

  // A record of an older stream: the sprite's fields cannot be read from it.
  SpriteOwner sprite(new LumoSprite);
  std::string record = RecordOf(*sprite);
  ASSERT_GE(record.size(), 8u);
  record[4] = 1;  // the header's version, big-endian: 1.3.0.0
  record[5] = 3;
  record[6] = 0;
  record[7] = 0;
  EXPECT_EQ(LoadRecord(record), nullptr);
  EXPECT_TRUE(LogHas("LumoSprite::LoadSequenceList() The stream is older than the property (Version=01030000, "));

  // A current frame without a current sequence cannot be saved.
  LumoSequenceList* sequence = sprite->AppendSequence(0, -1);
  LumoSequenceNode* frame = AddFrame(*sequence, nullptr);
  sprite->SetSequence(nullptr);
  sprite->SetSequenceNode(frame);
  EXPECT_TRUE(RecordOf(*sprite).empty());
}

// ---- Motion ----

class CountingSprite : public LumoSprite {
 public:
  void OnMotion() override { ++steps; }
  void OnStopMotion() override { ++stops; }
  int steps = 0;
  int stops = 0;
};

TEST_F(SpriteFrameTest, AMotionWaitsItsDelayThenStepsOncePerDueFrame) {
  struct Case {
    const char* name;
    int32_t duration;
    uint32_t delay;
    std::vector<int32_t> lefts;  // after each pass
    bool moving;                 // at the end
  };
  const Case cases[] = {
      {"delay 2, then 3 steps", 3, 2, {10, 10, 12, 14, 16, 16, 16}, false},
      {"duration -1 runs on", -1, 0, {12, 14, 16, 18, 20}, true},
      {"duration 0 never moves", 0, 0, {10, 10, 10}, false},
  };
  StartWithLevel();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LumoCell* cell = AddCell(0, 0, 100, 100);
    auto* sprite = AddSprite<CountingSprite>(*cell, 10, 0, MadeGraphic(2, 2, kRed));
    sprite->SetMotion(2, 1);
    sprite->SetMotionDuration(c.duration);
    sprite->SetMotionDelay(c.delay);
    cell->StartAnimation();
    sprite->StartMotion();
    std::vector<int32_t> lefts;
    for (size_t i = 0; i < c.lefts.size(); ++i) {
      ASSERT_TRUE(Pulse());
      lefts.push_back(sprite->Left);
    }
    EXPECT_EQ(lefts, c.lefts);
    EXPECT_EQ(sprite->Moving, c.moving);
    EXPECT_EQ(sprite->Top - 0, (sprite->Left - 10) / 2);
    if (c.moving) {
      sprite->StopMotion();
      EXPECT_FALSE(sprite->Moving);
      ASSERT_TRUE(Pulse());
      EXPECT_EQ(sprite->Left, c.lefts.back());
    }
    EXPECT_EQ(sprite->stops, c.duration == 0 ? 0 : 1);
    DestroyObject(cell);
  }
}

TEST_F(SpriteFrameTest, TheMotionCommandStartsAMotionAtItsFrame) {
  StartWithLevel();
  LumoCell* cell = AddCell(0, 0, 100, 100);
  LumoSprite* sprite = AddSprite(*cell, 0, 0, MadeGraphic(2, 2, kRed));
  ASSERT_NE(cell->CommandList->AddMotion(3, sprite, 3, 0, 2), nullptr);
  cell->StartAnimation();
  // (the cell's frame counter, the sprite's Left) after each pass: the
  // motion starts in the pass that reaches frame 3 and makes its first step
  // in the same frame.
  std::vector<std::vector<int32_t>> trace;
  for (int i = 0; i < 5; ++i) {
    ASSERT_TRUE(Pulse());
    trace.push_back({static_cast<int32_t>(cell->FrameCounter), sprite->Left});
  }
  EXPECT_EQ(trace, (std::vector<std::vector<int32_t>>{{1, 0}, {2, 0}, {3, 3}, {4, 6}, {5, 6}}));
  EXPECT_FALSE(sprite->Moving);
}

}  // namespace
}  // namespace framework_testing
