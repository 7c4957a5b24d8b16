#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "base/LumoObject.h"
#include "framework/LumoBody.h"
#include "framework/LumoGraphicNode.h"
#include "framework/LumoPart.h"
#include "framework/LumoSequenceList.h"
#include "framework/LumoSequenceNode.h"
#include "framework/LumoSprite.h"

namespace {

using SpriteOwner = std::unique_ptr<LumoSprite, tObjectDestroyer>;

// Counts its destruction.
class CountedSprite : public LumoSprite {
 public:
  explicit CountedSprite(int* destroyed) : destroyed(destroyed) {}
  ~CountedSprite() override { ++*destroyed; }
  int* destroyed;
};

TEST(BodyTest, AttachingRefusesWhatWouldShareOrCloseABody) {
  SpriteOwner owner(new LumoSprite);
  SpriteOwner part(new LumoSprite);
  SpriteOwner other(new LumoSprite);
  SpriteOwner child(new LumoSprite);
  LumoBody& body = *owner->Body;

  LumoPart* first = body.AttachSprite(part.get());
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(part->OwnerBody, &body);
  ASSERT_NE(part->Body->AttachSprite(child.get()), nullptr);

  struct Case {
    const char* name;
    LumoBody* body;
    LumoSprite* sprite;
    LumoPart* expected;
  };
  const Case cases[] = {
      {"none", &body, nullptr, nullptr},
      {"twice gives the same part", &body, part.get(), first},
      {"a sprite of another body", other->Body.get(), part.get(), nullptr},
      {"the body's own sprite", &body, owner.get(), nullptr},
      {"the sprite it is attached to", part->Body.get(), owner.get(), nullptr},
      {"two bodies up", child->Body.get(), owner.get(), nullptr},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    EXPECT_EQ(test.body->AttachSprite(test.sprite), test.expected);
  }
  EXPECT_EQ(body.Count, 1);
  EXPECT_EQ(owner->OwnerBody, nullptr);

  // A part never changes sprite.
  EXPECT_EQ(first->SetData(reinterpret_cast<uintptr_t>(other.get())), 0u);
  EXPECT_EQ(LumoBody::SpriteOf(first), part.get());
}

TEST(BodyTest, DetachingKeepsTheSpriteAndDeletingItElsewhereTakesItsPart) {
  int destroyed = 0;
  SpriteOwner owner(new LumoSprite);
  SpriteOwner kept(new LumoSprite);
  auto* deleted = new CountedSprite(&destroyed);
  owner->Body->AttachSprite(kept.get());
  owner->Body->AttachSprite(deleted);

  owner->Body->DetachSprite(kept.get());
  EXPECT_EQ(kept->OwnerBody, nullptr);
  EXPECT_EQ(owner->Body->Count, 1);
  EXPECT_FALSE(kept->HasReferrers());

  DestroyObject(deleted);
  EXPECT_EQ(destroyed, 1);
  EXPECT_EQ(owner->Body->Count, 0);
}

TEST(BodyTest, ClearingOrFreeingTheSpriteDestroysItsAttachedSprites) {
  int destroyed = 0;
  SpriteOwner owner(new LumoSprite);
  owner->Body->AttachSprite(new CountedSprite(&destroyed));
  owner->Body->AttachSprite(new CountedSprite(&destroyed));
  owner->Clear();
  EXPECT_EQ(destroyed, 2);
  EXPECT_EQ(owner->Body->Count, 0);

  owner->Body->AttachSprite(new CountedSprite(&destroyed));
  owner.reset();
  EXPECT_EQ(destroyed, 3);
}

TEST(BodyTest, AttachedSpritesMoveWithTheirSprite) {
  SpriteOwner owner(new LumoSprite);
  SpriteOwner part(new LumoSprite);
  SpriteOwner child(new LumoSprite);
  owner->Body->AttachSprite(part.get());
  part->Body->AttachSprite(child.get());
  part->SetPosition(5, 6);
  child->MoveRelativeToOwner(1, 2);
  EXPECT_EQ(child->Left, 6);
  EXPECT_EQ(child->Top, 8);

  owner->SetPosition(10, -10);
  EXPECT_EQ(std::vector<int32_t>({part->Left, part->Top, child->Left, child->Top}),
            std::vector<int32_t>({15, -4, 16, -2}));

  part->SetActualBounds(0, 0, 0, 0);
  child->SetActualBounds(0, 0, 0, 0);
  owner->SetPosition(10, -10);
  EXPECT_FALSE(part->Changed);
  EXPECT_FALSE(child->Changed);

  // A sprite attached to none stays where it is.
  owner->MoveRelativeToOwner(100, 100);
  EXPECT_EQ(owner->Left, 10);
}

// A sequence of one frame of a nameless graphic of that size.
void AppendOneFrame(LumoSprite& sprite, int32_t width, int32_t height) {
  LumoSequenceList* sequence = sprite.AppendSequence(0, -1);
  auto* frame = static_cast<LumoSequenceNode*>(sequence->CreateItem());
  auto* graphic = new LumoGraphicNode;
  graphic->Width = width;
  graphic->Height = height;
  frame->SetGraphic(graphic);
  sequence->Append(frame);
}

TEST(BodyTest, BoundsWithTheBodyEncloseTheAttachedSprites) {
  SpriteOwner owner(new LumoSprite);
  SpriteOwner part(new LumoSprite);
  owner->Body->AttachSprite(part.get());
  part->SetPosition(50, 60);
  AppendOneFrame(*part, 10, 4);
  AppendOneFrame(*owner, 8, 8);

  int32_t box[4] = {0, 0, 0, 0};
  owner->GetBounds(box[0], box[1], box[2], box[3], false, false);
  EXPECT_EQ(std::vector<int32_t>(box, box + 4), (std::vector<int32_t>{0, 0, 8, 8}));
  box[2] = 0;
  owner->GetBounds(box[0], box[1], box[2], box[3], true, false);
  EXPECT_EQ(std::vector<int32_t>(box, box + 4), (std::vector<int32_t>{0, 0, 60, 64}));
}

}  // namespace
