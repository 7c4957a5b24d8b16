#include <cmath>
#include <limits>

#include "ResourceFixture.h"
#include "game/YGGoreResource.h"
#include "game/YGGoreResourceSet.h"
#include "game/YGSelectionResource.h"
#include "game/YGTile.h"
#include "game/YGTileSet.h"

namespace resource_testing {
namespace {

class ResourceTablesTest : public ResourceTest {
 protected:
  // "circ" + step (two digits) + colour + size, each 8 x 6.
  void AddCircles(int32_t colours, int32_t sizes, int32_t steps) {
    for (int32_t size = 0; size < sizes; ++size) {
      for (int32_t colour = 0; colour < colours; ++colour) {
        for (int32_t step = 0; step < steps; ++step) {
          const std::string name = "circ" + std::to_string(step / 10) + std::to_string(step % 10) +
                                   std::to_string(colour) + std::to_string(size);
          AddGraphic(name.c_str(), 8, 6, Rgb(0, 200, 0));
        }
      }
    }
  }
  void AddGore() {
    for (const char* kind : {"B", "D"}) {
      for (int32_t step = 0; step < 10; ++step) {
        const std::string name = "Gore0" + std::to_string(step) + kind;
        AddGraphic(name.c_str(), 3, 3, Rgb(150, 0, 0));
      }
    }
  }
  static const char* NameOf(const LumoSequenceList* list) {
    const auto* frame = list != nullptr ? dynamic_cast<const LumoSequenceNode*>(list->first) : nullptr;
    return frame != nullptr && frame->Graphic() != nullptr ? frame->Graphic()->Name : "(none)";
  }
  static const char* NameOf(const LumoGraphicNode* graphic) { return graphic != nullptr ? graphic->Name : "(none)"; }
};

TEST_F(ResourceTablesTest, SelectionCirclesAreNamedByStepColourAndSize) {
  AddCircles(2, 1, 8);
  auto* circles = Keep(new YGSelectionResource);
  circles->Create(2, 1, 8);
  EXPECT_EQ(circles->count, 16);
  // Sizes outermost, then colours, steps innermost.
  EXPECT_STREQ(NameOf(dynamic_cast<LumoSequenceList*>(circles->At(0))), "circ0000");
  EXPECT_STREQ(NameOf(dynamic_cast<LumoSequenceList*>(circles->At(9))), "circ0110");
  auto* list = dynamic_cast<LumoSequenceList*>(circles->At(9));
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->FramesPerPulse, 24u);
  auto* frame = dynamic_cast<LumoSequenceNode*>(list->first);
  EXPECT_EQ(frame->Left, -4);
  EXPECT_EQ(frame->Top, -3);
}

TEST_F(ResourceTablesTest, SelectionFractionPicksTheStep) {
  AddCircles(2, 1, 8);
  auto* circles = Keep(new YGSelectionResource);
  circles->Create(2, 1, 8);
  struct Case {
    float fraction;
    const char* name;
  };
  const Case cases[] = {{0.5f, "circ0410"},  {1.0f, "circ0710"}, {1.5f, "circ0710"},
                        {0.0f, "circ0010"},  {-0.5f, "circ0010"}, {0.99f, "circ0710"},
                        {std::numeric_limits<float>::quiet_NaN(), "circ0010"}};
  for (const Case& c : cases) {
    EXPECT_STREQ(NameOf(circles->GetSequence(1, 0, c.fraction)), c.name) << c.fraction;
  }
  EXPECT_EQ(circles->GetSequence(2, 0, 0.5f), nullptr);
  EXPECT_EQ(circles->GetSequence(0, 1, 0.5f), nullptr);
}

TEST_F(ResourceTablesTest, GoreIsPickedByKindAndAmount) {
  AddGore();
  auto* gore = Keep(new YGGoreResourceSet);
  gore->Create();
  EXPECT_EQ(gore->count, 20);
  EXPECT_STREQ(NameOf(dynamic_cast<YGGoreResource*>(gore->At(0))->Graphic()), "Gore00B");
  struct Case {
    int32_t kind;
    float amount;
    const char* name;
  };
  const Case cases[] = {
      {1, 1.0f, "Gore09B"},  {1, 2.0f, "Gore09B"},  {2, 0.5f, "Gore04D"}, {1, -1.0f, "Gore00B"},
      {1, std::numeric_limits<float>::quiet_NaN(), "Gore00B"}, {0, 0.5f, "(none)"}, {3, 0.5f, "(none)"},
  };
  for (const Case& c : cases) {
    EXPECT_STREQ(NameOf(gore->GetGore(c.kind, c.amount)), c.name) << c.kind << " at " << c.amount;
  }
}

TEST_F(ResourceTablesTest, FreeingTheGoreSetLetsItsGraphicsGo) {
  AddGore();
  auto* gore = new YGGoreResourceSet;
  gore->Create();
  LumoGraphicNode* first = gore->GetGore(1, 0.0f);
  ASSERT_NE(first, nullptr);
  EXPECT_TRUE(first->HasReferrers());
  DestroyObject(gore);
  EXPECT_FALSE(first->HasReferrers());
}

TEST_F(ResourceTablesTest, TilesAreNamedByNumber) {
  for (const char* name : {"TILE0000", "TILE0001", "TILE0002"}) {
    AddGraphic(name, 40, 40, Rgb(0, 0, 90));
  }
  auto* tiles = Keep(new YGTileSet);
  tiles->Create(3);
  EXPECT_EQ(tiles->count, 3);
  EXPECT_STREQ(NameOf(tiles->GetTile(0)), "TILE0000");
  EXPECT_STREQ(NameOf(tiles->GetTile(2)), "TILE0002");
  EXPECT_EQ(tiles->GetTile(3), nullptr);
}

}  // namespace
}  // namespace resource_testing
