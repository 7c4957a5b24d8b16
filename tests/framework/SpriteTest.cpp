#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "base/LumoObject.h"
#include "framework/LumoCell.h"
#include "framework/LumoCommandList.h"
#include "framework/LumoCommandNode.h"
#include "framework/LumoGraphicNode.h"
#include "framework/LumoSequenceList.h"
#include "framework/LumoSequenceNode.h"
#include "framework/LumoSprite.h"

namespace {

using SpriteOwner = std::unique_ptr<LumoSprite, tObjectDestroyer>;

// A frame of a nameless graphic of that size, at the offset.
LumoSequenceNode* AddFrame(LumoSequenceList& sequence, int32_t left, int32_t top, int32_t width, int32_t height,
                           uint32_t duration) {
  auto* frame = static_cast<LumoSequenceNode*>(sequence.CreateItem());
  auto* graphic = new LumoGraphicNode;
  graphic->Width = width;
  graphic->Height = height;
  frame->SetGraphic(graphic);
  frame->SetOffset(left, top);
  frame->SetDuration(duration);
  sequence.Append(frame);
  return frame;
}

TEST(SpriteTest, TheFirstSequenceBecomesCurrentAndDetachingItMovesOn) {
  SpriteOwner sprite(new LumoSprite);
  LumoSequenceList* first = sprite->AppendSequence(0, 3);
  ASSERT_NE(first, nullptr);
  AddFrame(*first, 0, 0, 4, 4, 5);
  LumoSequenceList* second = sprite->AppendSequence(2, -1);
  LumoSequenceNode* secondFrame = AddFrame(*second, 0, 0, 4, 4, 2);
  EXPECT_EQ(sprite->SequenceList, first);
  EXPECT_EQ(first->FramesPerPulse, 1u);  // the sprite's default rate
  EXPECT_EQ(second->FramesPerPulse, 2u);

  DestroyObject(first);
  EXPECT_EQ(sprite->SequenceList, second);
  EXPECT_EQ(sprite->SequenceNode, secondFrame);
  EXPECT_EQ(sprite->DurationCounter, 2);
  EXPECT_EQ(sprite->SequenceCounter, -1);

  sprite->SetActualBounds(1, 2, 3, 4);
  EXPECT_FALSE(sprite->Changed);
  DestroyObject(second);
  EXPECT_EQ(sprite->SequenceList, nullptr);
  EXPECT_EQ(sprite->SequenceNode, nullptr);
  EXPECT_TRUE(sprite->Changed);
}

TEST(SpriteTest, ResetSequenceStartsTheCurrentSequenceOrTheFirstAgain) {
  SpriteOwner sprite(new LumoSprite);
  LumoSequenceList* first = sprite->AppendSequence(0, 3);
  LumoSequenceNode* firstFrame = AddFrame(*first, 0, 0, 4, 4, 5);
  LumoSequenceList* second = sprite->AppendSequence(0, 2);
  LumoSequenceNode* secondStart = AddFrame(*second, 0, 0, 4, 4, 7);
  LumoSequenceNode* secondNext = AddFrame(*second, 0, 0, 4, 4, 1);

  sprite->SetSequence(second);
  sprite->SetSequenceNode(secondNext);
  sprite->SetSequenceCounters(-9, 0);
  EXPECT_EQ(sprite->SequenceCounter, -1);
  sprite->ResetSequence(false);
  EXPECT_EQ(sprite->SequenceList, second);
  EXPECT_EQ(sprite->SequenceNode, secondStart);
  EXPECT_EQ(sprite->SequenceCounter, 2);
  EXPECT_EQ(sprite->DurationCounter, 7);

  sprite->ResetSequence(true);
  EXPECT_EQ(sprite->SequenceList, first);
  EXPECT_EQ(sprite->SequenceNode, firstFrame);
  EXPECT_EQ(sprite->SequenceCounter, 3);

  // Clearing the current sequence leaves the sprite without a frame.
  sprite->SetActualBounds(0, 0, 0, 0);
  first->Clear();
  EXPECT_EQ(sprite->SequenceList, first);
  EXPECT_EQ(sprite->SequenceNode, nullptr);
  EXPECT_TRUE(sprite->Changed);
  // Clearing another sequence leaves the frame alone.
  sprite->SetSequence(second);
  first->Clear();
  EXPECT_EQ(sprite->SequenceNode, secondStart);

  sprite->Clear();
  EXPECT_EQ(sprite->SequenceList, nullptr);
  EXPECT_EQ(sprite->Count, 0);
}

TEST(SpriteTest, BoundsEncloseTheFramesAndTheSpritesPoint) {
  SpriteOwner sprite(new LumoSprite);
  sprite->SetPosition(100, 100);
  LumoSequenceList* sequence = sprite->AppendSequence(0, -1);
  AddFrame(*sequence, 10, 10, 20, 20, 1);

  struct Case {
    const char* name;
    int32_t start[4];
    int32_t expected[4];
  };
  const Case cases[] = {
      {"empty rectangle", {0, 0, 0, 0}, {100, 100, 30, 30}},
      {"zero width starts from the frames", {-50, -50, 0, 500}, {100, 100, 30, 30}},
      {"a rectangle is widened", {90, 120, 5, 40}, {90, 100, 40, 60}},
      {"a rectangle already enclosing stays", {0, 0, 500, 500}, {0, 0, 500, 500}},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    int32_t box[4] = {test.start[0], test.start[1], test.start[2], test.start[3]};
    sprite->GetBounds(box[0], box[1], box[2], box[3], false, false);
    EXPECT_EQ(std::vector<int32_t>(box, box + 4), std::vector<int32_t>(test.expected, test.expected + 4));
  }

  // Every sequence with allSequences, the current one only without.
  LumoSequenceList* other = sprite->AppendSequence(0, -1);
  AddFrame(*other, -20, 0, 5, 5, 1);
  int32_t box[4] = {0, 0, 0, 0};
  sprite->GetBounds(box[0], box[1], box[2], box[3], false, false);
  EXPECT_EQ(box[0], 100);
  sprite->GetBounds(box[0], box[1], box[2], box[3], false, true);
  EXPECT_EQ(std::vector<int32_t>(box, box + 4), (std::vector<int32_t>{80, 100, 50, 30}));

  int32_t width = -1;
  int32_t height = -1;
  sprite->GetSequenceSize(width, height);
  EXPECT_EQ(width, 20);
  EXPECT_EQ(height, 20);

  // A list outside a sprite leaves the rectangle alone.
  std::unique_ptr<LumoSequenceList, tObjectDestroyer> loose(new LumoSequenceList);
  AddFrame(*loose, 10, 10, 20, 20, 1);
  int32_t same[4] = {1, 2, 3, 4};
  loose->GetBounds(same[0], same[1], same[2], same[3]);
  EXPECT_EQ(std::vector<int32_t>(same, same + 4), (std::vector<int32_t>{1, 2, 3, 4}));
}

TEST(SpriteTest, OnlyAChangedPositionMovesTheSprite) {
  SpriteOwner sprite(new LumoSprite);
  sprite->SetActualBounds(0, 0, 0, 0);
  sprite->SetPosition(0, 0);
  EXPECT_FALSE(sprite->Changed);
  sprite->MoveBy(3, -4);
  EXPECT_TRUE(sprite->Changed);
  EXPECT_EQ(sprite->Left, 3);
  EXPECT_EQ(sprite->Top, -4);
  EXPECT_EQ(sprite->SetDefaultFramesPerPulse(0), 1u);
}

TEST(SpriteTest, SequenceAndSpriteCommandsDriveTheSprite) {
  // Only a sprite of a cell may animate.
  std::unique_ptr<LumoCell, tObjectDestroyer> cell(new LumoCell);
  SpriteOwner sprite(new LumoSprite);
  cell->Append(sprite.get());
  LumoSequenceList* first = sprite->AppendSequence(0, -1);
  AddFrame(*first, 0, 0, 4, 4, 1);
  LumoSequenceList* second = sprite->AppendSequence(0, -1);
  LumoSequenceNode* secondFrame = AddFrame(*second, 0, 0, 4, 4, 1);

  std::unique_ptr<LumoCommandList, tObjectDestroyer> list(new LumoCommandList);
  list->AddSequence(1, second);
  list->AddSprite(2, sprite.get(), 4);
  list->Check(1);
  EXPECT_EQ(sprite->SequenceList, second);
  EXPECT_EQ(sprite->SequenceNode, secondFrame);
  EXPECT_FALSE(sprite->Animating);
  list->Check(2);
  EXPECT_EQ(second->Repeats, 4);
  EXPECT_TRUE(sprite->Animating);

  // The commands forget a sprite that is freed first.
  LumoCommandNode* command = list->FindByFrame(2);
  sprite.reset();
  EXPECT_EQ(command->Sprite, nullptr);
}

}  // namespace
