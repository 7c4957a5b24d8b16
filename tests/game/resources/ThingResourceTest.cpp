#include "ResourceFixture.h"
#include "game/YGResourceMove.h"
#include "game/YGThingResource.h"

namespace resource_testing {
namespace {

using ThingResourceTest = ResourceTest;

TEST_F(ThingResourceTest, TypePresetsColouringPartsAndMoveSlots) {
  struct Case {
    int32_t type;
    int32_t colorMode;
    bool parts;
    int32_t moveSlots;
  };
  const Case cases[] = {{0, 0, false, 0}, {1, 1, false, 32}, {2, 0, false, 32}, {3, 0, false, 21},
                        {4, 0, false, 0}, {5, 2, true, 8},   {6, 0, false, 1},  {7, 2, true, 1},
                        {8, 0, false, 21}, {9, 4, true, 1},  {10, 0, false, 0}, {-1, 0, false, 0}};
  for (const Case& c : cases) {
    YGThingResource resource("Thing", c.type);
    EXPECT_EQ(resource.Type, c.type);
    EXPECT_EQ(resource.ColorMode, c.colorMode) << "type " << c.type;
    EXPECT_EQ(resource.Parts, c.parts) << "type " << c.type;
    EXPECT_EQ(resource.count, c.moveSlots) << "type " << c.type;
    EXPECT_STREQ(resource.Name, "Thing");
    EXPECT_EQ(resource.MinX, 0x7FFFFFFF);
    EXPECT_EQ(resource.MaxY, static_cast<int32_t>(0x80000000u));
  }
}

TEST_F(ThingResourceTest, AddMoveStoresByMoveIdAndLogsAReplacement) {
  auto* resource = Keep(new YGThingResource("Bloke", 2));
  auto* first = new YGResourceMove(40, 1, 1, 0, false);
  ASSERT_TRUE(resource->AddMove(first));
  EXPECT_EQ(resource->count, 41);
  EXPECT_EQ(resource->GetMove(40), first);
  EXPECT_FALSE(LogHas("Replaced move resource"));
  auto* second = new YGResourceMove(40, 1, 1, 0, true);
  ASSERT_TRUE(resource->AddMove(second));
  EXPECT_EQ(resource->GetMove(40), second);
  EXPECT_TRUE(LogHas("(INT) Replaced move resource 40\n"));
  EXPECT_EQ(resource->GetMove(41), nullptr);
  EXPECT_EQ(resource->GetMove(-1), nullptr);
}

TEST_F(ThingResourceTest, MoveSoundIsTheMovesSound) {
  auto* resource = Keep(new YGThingResource("Bloke", 2));
  auto* move = new YGResourceMove(4, 1, 1, 0, false);
  LumoSoundNode* sound = AddSound("shout");
  move->SetSound(sound);
  resource->AddMove(move);
  EXPECT_EQ(resource->GetMoveSound(4), sound);
  EXPECT_EQ(resource->GetMoveSound(5), nullptr);
}

TEST_F(ThingResourceTest, PartCountIsMoveZerosSequencesWithParts) {
  YGThingResource plain("Car", 2);
  EXPECT_EQ(plain.GetPartCount(), 1);
  YGThingResource parts("Bloke", 5);
  EXPECT_EQ(parts.GetPartCount(), 0);
  parts.AddMove(new YGResourceMove(0, 3, 1, 0, false));
  EXPECT_EQ(parts.GetPartCount(), 3);
}

TEST_F(ThingResourceTest, MissingPartSequenceComesFromMoveZero) {
  auto* resource = Keep(new YGThingResource("Bloke", 5));
  LumoGraphicNode* graphic = AddGraphic("limb", 2, 2, Rgb(3, 3, 3));
  resource->AddMove(new YGResourceMove(0, 3, 1, 0, false));
  resource->AddMove(new YGResourceMove(4, 3, 1, 0, false));
  for (int32_t part = 0; part < 3; ++part) {
    ASSERT_TRUE(resource->SetSequence(0, part, 0, MakeList({{graphic}})));
  }
  ASSERT_TRUE(resource->SetSequence(4, 0, 0, MakeList({{graphic}})));
  EXPECT_EQ(resource->GetAnimation(4, 0, 0), resource->GetMove(4)->GetStoredSequence(0, 0));
  EXPECT_EQ(resource->GetAnimation(4, 1, 0), resource->GetMove(0)->GetStoredSequence(1, 0));
  EXPECT_EQ(resource->GetAnimation(7, 1, 0), nullptr) << "a missing move gives nothing";
}

TEST_F(ThingResourceTest, DirectionalAnimationWithoutParts) {
  auto* resource = Keep(new YGThingResource("Car", 2));
  resource->AddMove(new YGResourceMove(1, 4, 1, 0, false));
  for (int32_t sequence = 0; sequence < 4; ++sequence) {
    ASSERT_TRUE(resource->SetSequence(1, sequence, 0, MakeList({{AddGraphic("car", 2, 2, Rgb(1, 2, 3))}})));
  }
  EXPECT_EQ(resource->GetAnimation(1, 7, 0), resource->GetMove(1)->GetStoredSequence(3, 0));
}

// The box is the union of every frame's graphic placed at the frame's
// offset plus the graphic's origin.
TEST_F(ThingResourceTest, SetSequenceRecomputesTheBoxOverFramesWithOrigins) {
  auto* resource = Keep(new YGThingResource("Bloke", 2));
  resource->AddMove(new YGResourceMove(0, 1, 1, 0, false));
  resource->AddMove(new YGResourceMove(3, 2, 1, 0, false));
  LumoGraphicNode* tall = AddGraphic("tall", 10, 6, Rgb(1, 1, 1), -5, -6);
  LumoGraphicNode* small = AddGraphic("small", 4, 4, Rgb(1, 1, 1));
  ASSERT_TRUE(resource->SetSequence(0, 0, 0, MakeList({{tall, 0, 0}})));
  EXPECT_EQ(resource->MinX, -5);
  EXPECT_EQ(resource->MinY, -6);
  EXPECT_EQ(resource->MaxX, 5);
  EXPECT_EQ(resource->MaxY, 0);
  ASSERT_TRUE(resource->SetSequence(3, 1, 0, MakeList({{small, 7, 2}})));
  EXPECT_EQ(resource->MinX, -5);
  EXPECT_EQ(resource->MinY, -6);
  EXPECT_EQ(resource->MaxX, 11);
  EXPECT_EQ(resource->MaxY, 6);
  // Dropping rows shrinks it again, down to the empty box.
  ASSERT_TRUE(resource->SetSequence(3, 1, 0, nullptr));
  EXPECT_EQ(resource->MaxX, 5);
  ASSERT_TRUE(resource->SetSequence(0, 0, 0, nullptr));
  EXPECT_EQ(resource->MinX, 0x7FFFFFFF);
  EXPECT_EQ(resource->MaxX, static_cast<int32_t>(0x80000000u));
  EXPECT_FALSE(resource->SetSequence(9, 0, 0, nullptr)) << "a missing move is refused";
}

}  // namespace
}  // namespace resource_testing
