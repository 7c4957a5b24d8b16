#include "ResourceFixture.h"
#include "game/YGCachedSequence.h"
#include "game/YGColorMask.h"
#include "game/YGResourceMove.h"

namespace resource_testing {
namespace {

class ResourceMoveTest : public ResourceTest {
 protected:
  // A move whose entry (s, c) is a one-frame list with frames per pulse
  // 10 x s + c + 1, so each entry is recognisable after a load.
  // With onlyColourZero the other colours are left to be made on demand.
  YGResourceMove* NumberedMove(int32_t sequences, int32_t colours, bool onlyColourZero = false) {
    auto* move = Keep(new YGResourceMove(3, sequences, colours, -2, false));
    LumoGraphicNode* graphic = AddGraphic("dot", 2, 2, Rgb(9, 9, 9));
    for (int32_t s = 0; s < sequences; ++s) {
      for (int32_t c = 0; c < (onlyColourZero ? 1 : colours); ++c) {
        EXPECT_TRUE(move->SetSequence(s, c, MakeList({{graphic}}, static_cast<uint32_t>(10 * s + c + 1))));
      }
    }
    return move;
  }
};

TEST_F(ResourceMoveTest, FiveColourMoveIsWidenedToEightOnLoad) {
  YGResourceMove* stored = NumberedMove(2, 5);
  auto* loaded = Keep(dynamic_cast<YGResourceMove*>(LoadRecord(RecordOf(*stored))));
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(loaded->Colors, 8);
  EXPECT_EQ(loaded->count, 16);
  for (int32_t s = 0; s < 2; ++s) {
    for (int32_t c = 0; c < 5; ++c) {
      ASSERT_NE(loaded->GetStoredSequence(s, c), nullptr) << s << "," << c;
      EXPECT_EQ(loaded->GetStoredSequence(s, c)->FramesPerPulse, static_cast<uint32_t>(10 * s + c + 1));
    }
    for (int32_t c = 5; c < 8; ++c) {
      EXPECT_EQ(loaded->GetStoredSequence(s, c), nullptr) << s << "," << c;
    }
  }
  // Colours 5 to 7 are made on demand from colour 0.
  LumoSequenceList* made = loaded->GetSequence(1, 6);
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(made, loaded->GetStoredSequence(1, 6));
  EXPECT_EQ(made->FramesPerPulse, 11u);
}

TEST_F(ResourceMoveTest, DirectionsMapOntoTheSequencesThereAre) {
  struct Case {
    int32_t sequences;
    int32_t direction;
    int32_t expectedSequence;
  };
  const Case cases[] = {{8, 7, 7}, {4, 7, 3}, {4, 2, 1}, {1, 7, 0}, {2, 5, 0}};
  for (const Case& c : cases) {
    YGResourceMove* move = NumberedMove(c.sequences, 1);
    LumoSequenceList* found = move->GetDirectionalSequence(c.direction, 0);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found, move->GetStoredSequence(c.expectedSequence, 0))
        << c.direction << " on " << c.sequences << " sequences";
  }
}

TEST_F(ResourceMoveTest, ColourOutsideTheMoveGivesColourZero) {
  YGResourceMove* move = NumberedMove(1, 2);
  for (int32_t colour : {2, 9, -1}) {
    EXPECT_EQ(move->GetSequence(0, colour), move->GetStoredSequence(0, 0)) << colour;
  }
  EXPECT_EQ(move->GetSequence(1, 0), nullptr);
  EXPECT_EQ(move->GetStoredSequence(0, 2), nullptr);
}

// A move with more colours than the player colour table has: variants
// beyond the table show colour 0.
TEST_F(ResourceMoveTest, VariantBeyondThePlayerTableGivesColourZero) {
  YGResourceMove* move = NumberedMove(1, 1);
  auto* wide = Keep(new YGResourceMove(4, 1, 10, 0, false));
  ASSERT_TRUE(wide->SetSequence(0, 0, MakeList({{AddGraphic("w", 2, 2, Rgb(1, 2, 3))}})));
  EXPECT_EQ(wide->GetSequence(0, 9), wide->GetStoredSequence(0, 0));
  EXPECT_EQ(wide->GetStoredSequence(0, 9), nullptr);
  EXPECT_NE(move, nullptr);
}

TEST_F(ResourceMoveTest, MaskedVariantTakesThePlayerColourUnderTheMask) {
  // Frame: white, with a black pixel at (1, 0); the mask covers (0, 0) to
  // (2, 0); (3, 1) is white outside the mask.
  LumoGraphicNode* frameGraphic = AddGraphic("bloke", 4, 2, Rgb(255, 255, 255));
  PaintPixel(frameGraphic->Graphic(), 1, 0, sRGB{});
  GraphicHandle maskGraphic = CreateGraphic(4, 2, sRGB{});
  for (int32_t x = 0; x < 3; ++x) {
    PaintPixel(maskGraphic, x, 0, Rgb(255, 255, 255));
  }
  auto* move = Keep(new YGResourceMove(1, 1, 8, 0, false));
  move->MaskColor = true;
  LumoSequenceList* base = MakeList({{frameGraphic}});
  ASSERT_TRUE(move->SetSequence(0, 0, base));
  move->SetMask(FirstFrame(base), new YGColorMask(maskGraphic));
  DestroyGraphic(maskGraphic);
  uint32_t table[kPlayerColourCount] = {};
  table[3] = GetColor(255, 0, 0);
  PublishPlayerColours(table);

  LumoSequenceNode* frame = FirstFrame(move->GetSequence(0, 3));
  ASSERT_NE(frame, nullptr);
  GraphicHandle variant = frame->Graphic()->Graphic();
  EXPECT_EQ(PixelOf(variant, 0, 0), Rgb(254, 0, 0));
  EXPECT_EQ(PixelOf(variant, 1, 0), Rgb(0, 0, 0));
  EXPECT_EQ(PixelOf(variant, 2, 0), Rgb(254, 0, 0));
  EXPECT_EQ(PixelOf(variant, 3, 1), Rgb(255, 255, 255));
  EXPECT_EQ(PixelOf(frameGraphic->Graphic(), 0, 0), Rgb(255, 255, 255)) << "colour 0 is left alone";
}

TEST_F(ResourceMoveTest, UnpublishedTableGivesTheMenuBaseColours) {
  sRGB colour;
  ASSERT_TRUE(GetPlayerMaskColour(1, colour));
  EXPECT_EQ(colour, Rgb(156, 45, 45));
  ASSERT_TRUE(GetPlayerMaskColour(7, colour));
  EXPECT_EQ(colour, Rgb(148, 63, 163));
  EXPECT_FALSE(GetPlayerMaskColour(8, colour));
}

// Without MaskColor a variant is see-through: exactly the pixels with X odd
// and X / 2 + Y even (rounding down), X and Y counted from the thing's point.
TEST_F(ResourceMoveTest, UnmaskedVariantIsDitheredFromTheThingsPoint) {
  const sRGB fill = Rgb(10, 20, 30);
  LumoGraphicNode* graphic = AddGraphic("ghost", 4, 2, fill, -3, 0);
  auto* move = Keep(new YGResourceMove(1, 1, 2, 0, false));
  ASSERT_TRUE(move->SetSequence(0, 0, MakeList({{graphic, 1, 2}})));
  LumoSequenceNode* frame = FirstFrame(move->GetSequence(0, 1));
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->Left, 1);
  EXPECT_EQ(frame->Top, 2);
  EXPECT_EQ(frame->Graphic()->Left, -3);
  // X = 1 - 3 + x, Y = 2 + y: (1, 1) has X -1, Y 3; (3, 0) has X 1, Y 2.
  const sRGB magenta = Rgb(255, 0, 255);
  for (int32_t y = 0; y < 2; ++y) {
    for (int32_t x = 0; x < 4; ++x) {
      const bool dithered = (x == 1 && y == 1) || (x == 3 && y == 0);
      EXPECT_EQ(PixelOf(frame->Graphic()->Graphic(), x, y), dithered ? magenta : fill) << x << "," << y;
    }
  }
}

TEST_F(ResourceMoveTest, EmptyFrameIsLoggedAndSkipped) {
  auto* hollow = new LumoGraphicNode;
  hollow->SetName("hollow");
  level->GraphicList->Append(hollow);
  auto* move = Keep(new YGResourceMove(1, 1, 2, 0, false));
  ASSERT_TRUE(move->SetSequence(0, 0, MakeList({{hollow}, {AddGraphic("solid", 2, 2, Rgb(5, 5, 5))}})));
  LumoSequenceList* made = move->GetSequence(0, 1);
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(made->Count, 1);
  EXPECT_TRUE(LogHas("Graphic hollow has no pixels to translucate\n"));
}

TEST_F(ResourceMoveTest, VariantIsMadeOnceAndReferencedByEachUse) {
  YGResourceMove* move = NumberedMove(1, 2, true);
  LumoSequenceList* first = move->GetSequence(0, 1);
  ASSERT_NE(first, nullptr);
  const int32_t graphicsMade = controller->GraphicList->Count;
  EXPECT_EQ(move->GetSequence(0, 1), first);
  EXPECT_EQ(controller->GraphicList->Count, graphicsMade);
  YGCachedSequence* cached = controller->FindCachedSequence(first);
  ASSERT_NE(cached, nullptr);
  EXPECT_EQ(cached->Count, 2);
  EXPECT_EQ(cached->Move, move);
  EXPECT_EQ(cached->SequenceIndex, 0);
  EXPECT_EQ(cached->Color, 1);
  EXPECT_EQ(controller->Count, 1);
  EXPECT_EQ(controller->SequenceBytes, 1 * 56 + 64);
  EXPECT_EQ(controller->GraphicBytes, 2 * 2 * 2);
}

TEST_F(ResourceMoveTest, DereferencingMoreThanReferencedLogsOnceAndStaysUnused) {
  YGResourceMove* move = NumberedMove(1, 2, true);
  YGCachedSequence* cached = controller->FindCachedSequence(move->GetSequence(0, 1));
  ASSERT_NE(cached, nullptr);
  cached->Dereference();
  EXPECT_EQ(cached->Count, YGCachedSequence::kUnused);
  cached->Dereference();
  EXPECT_EQ(cached->Count, -1234);
  EXPECT_EQ(LogCount("(RES) Cached sequence dereferenced more than referenced\n"), 1u);
  // Used again, it counts from 1.
  cached->Reference();
  EXPECT_EQ(cached->Count, 1);
}

// Freeing the controller frees the variants, and their entries in the move
// are reset; the move keeps colour 0.
TEST_F(ResourceMoveTest, FreeingTheControllerResetsTheVariantEntries) {
  YGResourceMove* move = NumberedMove(1, 2, true);
  ASSERT_NE(move->GetSequence(0, 1), nullptr);
  controller.reset();
  EXPECT_EQ(move->GetStoredSequence(0, 1), nullptr);
  EXPECT_NE(move->GetStoredSequence(0, 0), nullptr);
  // Without a controller no variant is made: colour 0 is shown.
  EXPECT_EQ(move->GetSequence(0, 1), move->GetStoredSequence(0, 0));
}

// Freeing a move first leaves the controller's node without its list, and
// freeing the node later touches nothing.
TEST_F(ResourceMoveTest, FreeingTheMoveFirstLeavesTheControllerSound) {
  auto* move = new YGResourceMove(2, 1, 2, 0, false);
  ASSERT_TRUE(move->SetSequence(0, 0, MakeList({{AddGraphic("g", 2, 2, Rgb(1, 1, 1))}})));
  LumoSequenceList* variant = move->GetSequence(0, 1);
  YGCachedSequence* cached = controller->FindCachedSequence(variant);
  ASSERT_NE(cached, nullptr);
  DestroyObject(move);
  EXPECT_EQ(cached->Move, nullptr);
  EXPECT_EQ(cached->Sequence(), nullptr);
  controller.reset();
}

TEST_F(ResourceMoveTest, SetSequenceGrowsTheGridAndKeepsTheByteCount) {
  auto* move = Keep(new YGResourceMove(5, 1, 2, 0, false));
  LumoGraphicNode* graphic = AddGraphic("g", 2, 2, Rgb(1, 1, 1));
  ASSERT_TRUE(move->SetSequence(3, 1, MakeList({{graphic}, {graphic}})));
  EXPECT_EQ(move->Sequences, 4);
  EXPECT_EQ(move->count, 8);
  EXPECT_EQ(move->Bytes, 2 * 56 + 64);
  ASSERT_TRUE(move->SetSequence(3, 1, MakeList({{graphic}})));
  EXPECT_EQ(move->Bytes, 1 * 56 + 64);
  EXPECT_FALSE(move->SetSequence(0, 2, nullptr)) << "a colour beyond Colors is refused";
  EXPECT_FALSE(move->SetSequence(-1, 0, nullptr));
}

// Removing a row (a null list for an existing sequence) shrinks Sequences
// by one; later rows move down and keep their colours.
TEST_F(ResourceMoveTest, NullListRemovesItsRow) {
  YGResourceMove* move = NumberedMove(3, 2);
  LumoSequenceList* rowTwoColourOne = move->GetStoredSequence(2, 1);
  ASSERT_TRUE(move->SetSequence(1, 0, nullptr));
  EXPECT_EQ(move->Sequences, 2);
  EXPECT_EQ(move->count, 4);
  EXPECT_EQ(move->GetStoredSequence(0, 0)->FramesPerPulse, 1u);
  EXPECT_EQ(move->GetStoredSequence(1, 0)->FramesPerPulse, 21u);
  EXPECT_EQ(move->GetStoredSequence(1, 1), rowTwoColourOne);
  EXPECT_EQ(move->Bytes, 4 * (56 + 64));
}

TEST_F(ResourceMoveTest, RemovedRowRenumbersTheVariantsAfterIt) {
  YGResourceMove* move = NumberedMove(3, 2, true);
  LumoSequenceList* variant = move->GetSequence(2, 1);
  ASSERT_TRUE(move->SetSequence(0, 0, nullptr));
  YGCachedSequence* cached = controller->FindCachedSequence(variant);
  ASSERT_NE(cached, nullptr);
  EXPECT_EQ(cached->SequenceIndex, 1);
  EXPECT_EQ(move->GetStoredSequence(1, 1), variant);
}

TEST_F(ResourceMoveTest, ConstructorRefusesCountsOutOfRange) {
  EXPECT_THROW(YGResourceMove(1, 257, 1, 0, false), std::invalid_argument);
  EXPECT_THROW(YGResourceMove(1, 1, -1, 0, false), std::invalid_argument);
  EXPECT_TRUE(LogHas("(RES) Unhandled exception during YGResourceMove::YGResourceMove(1,257,1)\n"));
}

}  // namespace
}  // namespace resource_testing
