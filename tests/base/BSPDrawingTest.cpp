#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <set>
#include <utility>

#include "BSPTestTree.h"
#include "platform/Testing.h"
#include "runtime/Display.h"
#include "runtime/Graphics.h"

namespace bsp_testing {
namespace {

using Pixel = std::pair<int32_t, int32_t>;
using Pixels = std::set<Pixel>;

constexpr int32_t kWidth = 24;
constexpr int32_t kHeight = 16;
constexpr uint32_t kInk = 0xF81F;

// The outline of the pixel box from (left, top) to (right, bottom), both
// included, without the sides named in `open` ("l", "r", "t", "b").
Pixels Outline(int32_t left, int32_t top, int32_t right, int32_t bottom, const std::string& open = "") {
  Pixels pixels;
  for (int32_t x = left; x <= right; ++x) {
    if (open.find('t') == std::string::npos) {
      pixels.insert({x, top});
    }
    if (open.find('b') == std::string::npos) {
      pixels.insert({x, bottom});
    }
  }
  for (int32_t y = top; y <= bottom; ++y) {
    if (open.find('l') == std::string::npos) {
      pixels.insert({left, y});
    }
    if (open.find('r') == std::string::npos) {
      pixels.insert({right, y});
    }
  }
  return pixels;
}

// A 16-bit headless display and a locked, black 24 x 16 graphic to draw on.
class BSPDrawingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::testing::Reset();
    platform::testing::ResetDisplaySettings();
    tDisplaySettings settings;
    settings.Windowed = false;
    settings.BackBlitting = true;
    settings.BitsPerPixel = 16;
    ASSERT_TRUE(StartDisplay(settings));
    graphic = CreateGraphic(kWidth, kHeight, sRGB{});
    ASSERT_NE(graphic, nullptr);
    drawer.graphic = LockGraphic(graphic);
    ASSERT_NE(drawer.graphic, nullptr);
    drawer.width = kWidth;
    drawer.height = kHeight;
    drawer.colour = kInk;
  }

  void TearDown() override {
    if (drawer.graphic != nullptr) {
      UnlockGraphic(drawer.graphic);
    }
    if (graphic != nullptr) {
      DestroyGraphic(graphic);
    }
    StopDisplay();
    platform::testing::ResetDisplaySettings();
    ResetGraphicMemory();
  }

  // The pixels of the given colour.
  Pixels PixelsOf(uint32_t colour) const {
    Pixels pixels;
    for (int32_t y = 0; y < kHeight; ++y) {
      for (int32_t x = 0; x < kWidth; ++x) {
        if (GetGraphicPixel(graphic, x, y) == colour) {
          pixels.insert({x, y});
        }
      }
    }
    return pixels;
  }

  void Clear() { FillGraphic(graphic, sRGB{}); }

  GraphicHandle graphic = nullptr;
  LumoBSPDrawer drawer;
};

TEST_F(BSPDrawingTest, BoxOutlineIsScaledAndClippedSideBySide) {
  struct Case {
    const char* what;
    Box box;
    float scale;
    int32_t axisX, axisY;
    Pixels drawn;
  };
  const Case cases[] = {
      {"inside", {2, 3, 5, 4}, 1.0f, 0, 1, Outline(2, 3, 7, 7)},
      {"scaled", {1, 1, 2, 3}, 2.0f, 0, 1, Outline(2, 2, 6, 8)},
      {"scaled down and truncated", {3, 3, 7, 9}, 0.5f, 0, 1, Outline(1, 1, 5, 6)},
      {"past the left edge", {-3, 2, 6, 4}, 1.0f, 0, 1, Outline(0, 2, 3, 6, "l")},
      {"past the right and bottom edges", {20, 12, 10, 10}, 1.0f, 0, 1, Outline(20, 12, 23, 15, "rb")},
      {"covering the whole target", {-1, -1, 30, 30}, 1.0f, 0, 1, {}},
      {"wholly outside", {30, 2, 5, 5}, 1.0f, 0, 1, {}},
      {"on swapped axes", {2, 5, 1, 3}, 1.0f, 1, 0, Outline(5, 2, 8, 3)},
      {"on an axis the box lacks", {2, 3, 5, 4}, 1.0f, 0, 2, {}},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.what);
    Clear();
    Object object;
    SetBox(object, test.box);
    object.DrawClipped(drawer, test.scale, test.axisX, test.axisY);
    EXPECT_EQ(PixelsOf(kInk), test.drawn);
    EXPECT_EQ(drawer.colour, kInk) << "a box draws in the drawer's colour";
  }
}

TEST_F(BSPDrawingTest, RelativeDrawingPlacesTheBoxInTheViewAndClipsToIt) {
  Object view;
  SetBox(view, {10, 20, 8, 6});
  struct Case {
    const char* what;
    Box box;
    Pixels drawn;
  };
  const Case cases[] = {
      {"inside the view", {12, 22, 2, 2}, Outline(2, 2, 4, 4)},
      {"past the view's right side", {15, 21, 10, 2}, Outline(5, 1, 8, 3, "r")},
      {"above the view", {11, 10, 2, 12}, Outline(1, 0, 3, 2, "t")},
      {"outside the view", {30, 21, 2, 2}, {}},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.what);
    Clear();
    Object object;
    SetBox(object, test.box);
    object.DrawRelative(drawer, view, 1.0f, 0, 1);
    EXPECT_EQ(PixelsOf(kInk), test.drawn);
  }
}

TEST_F(BSPDrawingTest, NodeDrawsItsBoxChildrenAndObjectsInTheirColours) {
  std::unique_ptr<Node, tObjectDestroyer> root(new Node);
  SetBox(*root, {0, 0, 16, 8});
  auto* object = new Object;
  SetBox(*object, {1, 1, 2, 2});
  root->Insert(object);  // into (0, 0, 4, 4), below (0, 0, 4, 8) and (0, 0, 8, 8)
  ASSERT_EQ(BoxOf(*object->node), (Box{0, 0, 4, 4}));

  root->DrawClipped(drawer, 1.0f, 0, 1);
  const uint32_t grey = ConvertRGB(sRGB{64, 64, 64});
  const uint32_t objectColour = ConvertRGB(sRGB{32, 240, 240});
  EXPECT_EQ(drawer.colour, kInk) << "the caller's colour comes back";
  EXPECT_EQ(PixelsOf(objectColour), Outline(1, 1, 3, 3));
  Pixels nodes;
  for (const Node* node = object->node; node != nullptr; node = node->parent) {
    const Box box = BoxOf(*node);
    const Pixels outline = Outline(box.x, box.y, box.x + box.width, box.y + box.height);
    nodes.insert(outline.begin(), outline.end());
  }
  for (const Pixel& pixel : Outline(1, 1, 3, 3)) {
    nodes.erase(pixel);  // drawn over by the object
  }
  EXPECT_EQ(PixelsOf(grey), nodes);

  // Relative to a view away from the object, only the nodes that overlap the
  // view and no object are drawn.
  Clear();
  Object view;
  SetBox(view, {8, 0, 8, 8});
  root->DrawRelative(drawer, view, 1.0f, 0, 1);
  EXPECT_TRUE(PixelsOf(objectColour).empty());
  EXPECT_FALSE(PixelsOf(grey).empty());
}

}  // namespace
}  // namespace bsp_testing
