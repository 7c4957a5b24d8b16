#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "FrameworkFixture.h"
#include "base/LumoMemoryStream.h"
#include "framework/LumoGraphicList.h"
#include "platform/Display.h"
#include "platform/Testing.h"
#include "runtime/Alpha.h"
#include "runtime/AlphaFile.h"
#include "runtime/Display.h"
#include "runtime/Graphics.h"
#include "support/DebugLogReader.h"

namespace framework_testing {
namespace {

constexpr sRGB kBlack{0, 0, 0};
constexpr sRGB kRed{0, 0, 255};
constexpr sRGB kGreen{0, 255, 0};
constexpr sRGB kWhite{255, 255, 255};
constexpr sRGB kMagenta{255, 0, 255};

// A running engine (no level) whose engine-wide graphic list holds the
// test's nodes; frames are drawn by hand between BeginScreenUpdate and
// EndScreenUpdate onto a black screen.
class GraphicNodeTest : public FrameworkTest {
 protected:
  void StartWith(bool videoDrawing) {
    Profile()["DirectDraw/VideoDrawing"] = videoDrawing ? "True" : "False";
    ASSERT_TRUE(Start());
    list = Engine->GraphicList.get();
    ASSERT_NE(list, nullptr);
  }

  // A node of the engine's list holding a new graphic of one colour.
  LumoGraphicNode* MakeNode(const char* name, int32_t width, int32_t height, const sRGB& colour) {
    LumoGraphicNode* node = list->ProvideGraphicAt(name, 0, 0);
    node->SetData(reinterpret_cast<uintptr_t>(CreateGraphic(width, height, colour)));
    return node;
  }

  template <typename Draw>
  platform::testing::PresentedFrame DrawFrame(Draw&& draw) {
    BeginScreenUpdate();
    FillViewport(Engine->ScreenViewport, kBlack);
    draw();
    EndScreenUpdate();
    return platform::testing::LastPresentedFrame();
  }

  static uint32_t At(const platform::testing::PresentedFrame& frame, int32_t x, int32_t y) {
    return platform::testing::PresentedPixel(frame, x, y);
  }

  LumoGraphicList* list = nullptr;
};

TEST_F(GraphicNodeTest, KeyedNodeLeavesItsKeyColourOut) {
  StartWith(false);
  LumoGraphicNode* node = MakeNode("keyed", 4, 4, kRed);
  node->SetPixel(1, 1, ConvertRGB(kMagenta));
  node->SetTransparent();
  node->SetOrigin(2, 3);

  const auto frame = DrawFrame([&] { node->RenderTo(Engine->ScreenViewport, 10, 10); });

  EXPECT_EQ(At(frame, 12, 13), ConvertRGB(kRed));
  EXPECT_EQ(At(frame, 13, 14), ConvertRGB(kBlack));  // the key pixel
  EXPECT_EQ(At(frame, 15, 16), ConvertRGB(kRed));
  EXPECT_EQ(At(frame, 16, 17), ConvertRGB(kBlack));  // past the node
}

// Blending must give the same frame whether it locks the render buffer
// (video drawing on) or works on a scratch copy of the target block.
class GraphicNodeBlendTest : public GraphicNodeTest, public ::testing::WithParamInterface<bool> {};

TEST_P(GraphicNodeBlendTest, BlendedNodeHalfOutsideItsViewportDrawsTheShiftedInside) {
  StartWith(GetParam());
  EXPECT_EQ(SafeToLockGraphic(GetBackground()), GetParam());
  // Left half red, right half green.
  LumoGraphicNode* node = MakeNode("halves", 20, 10, kRed);
  for (int32_t y = 0; y < 10; ++y) {
    for (int32_t x = 10; x < 20; ++x) {
      node->SetPixel(x, y, ConvertRGB(kGreen));
    }
  }
  node->SetAlphaFactor(255);
  ViewportHandle viewport = CreateViewport(100, 100, 50, 50);

  const auto frame = DrawFrame([&] { node->RenderTo(viewport, -10, 0); });

  // Only the right half shows, from the viewport's left edge on.
  EXPECT_GT(GetGreen(At(frame, 100, 100)), 200u);
  EXPECT_LT(GetRed(At(frame, 100, 100)), 16u);
  EXPECT_GT(GetGreen(At(frame, 109, 109)), 200u);
  EXPECT_EQ(At(frame, 110, 105), ConvertRGB(kBlack));
  EXPECT_EQ(At(frame, 99, 105), ConvertRGB(kBlack));
  EXPECT_EQ(list->ScratchCount(), GetParam() ? 0 : 1);
  DestroyViewport(viewport);
}

TEST_P(GraphicNodeBlendTest, BlendModesMixTheNodeIntoTheScreen) {
  StartWith(GetParam());
  struct Case {
    const char* name;
    int mode;  // 0 plain, 1 key colour, 2 key range (blended plain), 3 alpha map
    uint32_t expectedAtKey;  // what the pixel of the key colour becomes
  };
  LumoGraphicNode* node = MakeNode("blended", 4, 4, kWhite);
  node->SetPixel(0, 0, ConvertRGB(kMagenta));
  const std::vector<uint8_t> half(16, 128);
  const Case cases[] = {{"plain", 0, 1}, {"keyed", 1, 0}, {"range keyed", 2, 1}, {"alpha map", 3, 1}};
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    node->ClearSourceKey();
    node->DisableAlpha();
    node->SetAlphaFactor(128);
    if (test.mode == 1) {
      node->SetSourceKey(kMagenta);
    } else if (test.mode == 2) {
      node->SetSourceKeyRange(kMagenta, kMagenta);
    } else if (test.mode == 3) {
      node->SetAlpha(CreateAlpha(4, 4, half.data(), 4, 0, 0));
    }

    const auto frame = DrawFrame([&] { node->RenderTo(Engine->ScreenViewport, 0, 0); });

    // Half of white over black.
    EXPECT_NEAR(static_cast<int>(GetRed(At(frame, 1, 1))), 128, 12);
    EXPECT_NEAR(static_cast<int>(GetGreen(At(frame, 3, 3))), 128, 12);
    EXPECT_EQ(At(frame, 4, 4), ConvertRGB(kBlack));
    EXPECT_EQ(At(frame, 0, 0) != ConvertRGB(kBlack), test.expectedAtKey == 1u);
  }
}

INSTANTIATE_TEST_SUITE_P(BothLockPaths, GraphicNodeBlendTest, ::testing::Bool());

TEST_F(GraphicNodeTest, BlendedBlockStaysInsideAGraphicSmallerThanItsAlphaMap) {
  StartWith(false);
  LumoGraphicNode* node = MakeNode("small", 8, 8, kWhite);
  const std::vector<uint8_t> opaque(16 * 16, 255);
  node->SetAlpha(CreateAlpha(16, 16, opaque.data(), 16, 0, 0));
  node->Width = 16;  // as a stored node or the alpha's size would say
  node->Height = 16;

  const auto frame = DrawFrame([&] { node->RenderTo(Engine->ScreenViewport, 100, 100); });

  EXPECT_GT(GetRed(At(frame, 107, 107)), 200u);
  EXPECT_EQ(At(frame, 108, 108), ConvertRGB(kBlack));
  // The scratch copy of the target was only as big as the graphic.
  LumoGraphicNode* scratch = list->AcquireScratchGraphic(1, 1);
  ASSERT_NE(scratch, nullptr);
  EXPECT_EQ(scratch->Width, 8);
  EXPECT_EQ(scratch->Height, 8);
  list->ReleaseScratchGraphic(scratch);
}

TEST_F(GraphicNodeTest, CopyHandsOverTheSourcesBlitData) {
  StartWith(false);
  LumoGraphicNode* target = MakeNode("target", 10, 10, kBlack);
  LumoGraphicNode* source = MakeNode("source", 3, 3, kRed);
  source->SetPixel(1, 1, ConvertRGB(kMagenta));
  source->SetTransparent();
  source->SetOrigin(1, 2);

  EXPECT_TRUE(target->Copy(source, 4, 4));

  EXPECT_EQ(target->GetPixel(5, 6), ConvertRGB(kRed));
  EXPECT_EQ(target->GetPixel(6, 7), ConvertRGB(kBlack));  // the key
  EXPECT_EQ(target->GetPixel(4, 4), ConvertRGB(kBlack));
  EXPECT_FALSE(target->Copy(list->ProvideGraphicAt("empty", 0, 0), 0, 0));
  EXPECT_TRUE(target->CopyPart(source, 0, 0, 0, 0, 2, 2));
  EXPECT_EQ(target->GetPixel(1, 1), ConvertRGB(kMagenta));
}

TEST_F(GraphicNodeTest, PenDrawingNeedsALockAndUsesThePenColour) {
  StartWith(false);
  LumoGraphicNode* node = MakeNode("canvas", 10, 10, kBlack);
  node->DrawBox(3, 3);  // no lock: nothing
  EXPECT_EQ(node->GetPixel(0, 0), ConvertRGB(kBlack));

  LockedGraphic* lock = node->CreateLock();
  ASSERT_NE(lock, nullptr);
  EXPECT_EQ(node->PenColor, 0u);
  node->PenColor = ConvertRGB(kWhite);
  SelectPixelAt(lock, 1, 1);
  node->DrawBox(3, 2);
  SelectPixelAt(lock, 6, 6);
  node->FillBox(2, 2);
  node->ReleaseLock();

  EXPECT_EQ(node->GetPixel(1, 1), ConvertRGB(kWhite));
  EXPECT_EQ(node->GetPixel(4, 2), ConvertRGB(kWhite));
  EXPECT_EQ(node->GetPixel(1, 3), ConvertRGB(kWhite));
  EXPECT_EQ(node->GetPixel(2, 2), ConvertRGB(kBlack));  // inside the box
  EXPECT_EQ(node->GetPixel(7, 7), ConvertRGB(kWhite));
  EXPECT_EQ(node->GetPixel(8, 8), ConvertRGB(kBlack));
}

TEST_F(GraphicNodeTest, CanvasSizeAlphaAndRestoreFollowTheirRules) {
  StartWith(false);
  LumoGraphicNode* node = list->ProvideGraphicAt("made", 0, 0);
  node->SetCanvasSize(5, 6);
  node->SetFillColour(kGreen);
  EXPECT_NE(node->Restore(), 0u);
  EXPECT_EQ(node->GetPixel(4, 5), ConvertRGB(kGreen));
  node->SetCanvasSize(9, 9);  // has a graphic: ignored
  EXPECT_EQ(node->Width, 5);
  EXPECT_EQ(node->Height, 6);

  node->SetAlphaFactor(10);
  EXPECT_TRUE(node->AlphaBlending);
  EXPECT_FALSE(node->AlphaInfo);
  node->SetAlpha(nullptr);
  EXPECT_FALSE(node->AlphaBlending);
  node->Unload();
  EXPECT_EQ(node->Data, 0u);
  EXPECT_EQ(node->Width, 0);
}

TEST_F(GraphicNodeTest, StoredFieldsKeepAnAlphaFactorOfAByte) {
  StartWith(false);
  LumoGraphicNode source;
  source.SetAlphaFactor(128);
  source.SetSourceKeyRange(kRed, kGreen);
  source.SetOrigin(-3, 7);
  LumoMemoryStream stream;
  ASSERT_TRUE(stream.OpenNew(16, 1, 0));
  stream.SetGrowth(1024);
  ASSERT_TRUE(source.SaveObject(&stream, 0));
  stream.SetPosition(0);

  LumoObject* loaded = LoadObject(&stream, nullptr);
  auto* node = dynamic_cast<LumoGraphicNode*>(loaded);
  ASSERT_NE(node, nullptr);
  EXPECT_EQ(node->AlphaFactor, 128);
  EXPECT_TRUE(node->AlphaBlending);
  EXPECT_EQ(node->SourceKey.Mode, KeyRange);
  EXPECT_EQ(node->SourceKey.High.Green, 255);
  EXPECT_EQ(node->Left, -3);
  EXPECT_EQ(node->Top, 7);
  DestroyObject(loaded);
}

}  // namespace
}  // namespace framework_testing

namespace framework_testing {
namespace {

TEST_F(GraphicNodeTest, ReplacementsWorkInTheRectangleCutToTheGraphic) {
  StartWith(false);
  LumoGraphicNode* node = MakeNode("inks", 6, 4, kBlack);
  node->SetPixel(5, 3, ConvertRGB(kRed));
  node->SetPixel(0, 0, ConvertRGB(kRed));

  node->ReplaceInkAndPaper(3, 2, 10, 10, kRed, kGreen, kBlack, kWhite);

  EXPECT_EQ(node->GetPixel(5, 3), ConvertRGB(kGreen));
  EXPECT_EQ(node->GetPixel(3, 2), ConvertRGB(kWhite));
  EXPECT_EQ(node->GetPixel(2, 2), ConvertRGB(kBlack));  // outside the rectangle
  EXPECT_EQ(node->GetPixel(0, 0), ConvertRGB(kRed));

  node->ReplacePaper(-5, -5, 7, 7, kRed, kMagenta, kBlack);

  EXPECT_EQ(node->GetPixel(0, 0), ConvertRGB(kMagenta));
  EXPECT_EQ(node->GetPixel(1, 1), ConvertRGB(kBlack));
  EXPECT_EQ(node->GetPixel(3, 2), ConvertRGB(kWhite));  // outside the cut rectangle
  node->ReplacePaper(6, 0, 3, 3, kRed, kMagenta, kBlack);  // empty once cut: nothing
}

TEST_F(GraphicNodeTest, SavingWritesPictureFilesAndRefusesWithoutAGraphic) {
  StartWith(false);
  LumoGraphicNode* node = MakeNode("part.bmp", 8, 8, kRed);
  EXPECT_TRUE(node->Save("whole.bmp"));
  EXPECT_TRUE(node->SavePart(2, 2, 4, 4));
  EXPECT_TRUE(node->SavePartAs("other.bmp", 0, 0, 2, 2));
  EXPECT_STREQ(node->Name, "other.bmp");
  EXPECT_EQ(list->FindByName("other.bmp"), node);
  EXPECT_EQ(list->FindByName("part.bmp"), nullptr);
  for (const char* file : {"whole.bmp", "part.bmp", "other.bmp"}) {
    EXPECT_TRUE(std::ifstream(file).good()) << file;
  }
  LumoGraphicNode* empty = list->ProvideGraphicAt("empty", 0, 0);
  EXPECT_FALSE(empty->Save("never.bmp"));
  EXPECT_FALSE(empty->Print());
  EXPECT_FALSE(std::ifstream("never.bmp").good());
}

// ---- Assignment ----

std::string Text(const sRGB& colour) {
  return std::to_string(colour.Red) + "," + std::to_string(colour.Green) + "," + std::to_string(colour.Blue);
}

std::string Text(const tKeyData& key) {
  return std::to_string(key.Mode) + ":" + Text(key.Low) + "-" + Text(key.High);
}

TEST_F(GraphicNodeTest, AnAssignedNodeKeepsItsOwnGraphicAndEachGraphicIsDestroyedOnce) {
  StartWith(false);
  const int32_t before = LiveGraphicCount();
  LumoGraphicNode* source = MakeNode("source", 3, 2, kRed);
  LumoGraphicNode* target = MakeNode("target", 5, 4, kGreen);
  const GraphicHandle sourceGraphic = source->Graphic();
  const GraphicHandle targetGraphic = target->Graphic();
  ASSERT_EQ(LiveGraphicCount(), before + 2);

  ASSERT_TRUE(target->Assign(source));

  EXPECT_EQ(source->Graphic(), sourceGraphic);
  EXPECT_EQ(target->Graphic(), targetGraphic);
  EXPECT_EQ(target->Width, 5);  // the size of the graphic it holds
  EXPECT_EQ(target->Height, 4);
  EXPECT_EQ(target->parent, nullptr);  // it left its list to be renamed
  EXPECT_EQ(LiveGraphicCount(), before + 2);

  DestroyObject(source);
  EXPECT_EQ(LiveGraphicCount(), before + 1);
  EXPECT_EQ(target->GetPixel(4, 3), ConvertRGB(kGreen));
  DestroyObject(target);
  EXPECT_EQ(LiveGraphicCount(), before);
  EXPECT_EQ(testing_support::ReadDebugLog().find("DestroyGraphic() Unknown graphic specified"), std::string::npos);
}

TEST_F(GraphicNodeTest, AssignmentCopiesTheNodeAndDrawingFieldsOfTheSource) {
  StartWith(false);
  LumoGraphicNode* source = MakeNode("source", 3, 2, kRed);
  source->Tag = 5;
  source->ID = 6;
  source->SetEmbedded(true);
  source->SetOrigin(-3, 4);
  source->SetSourceKeyRange(kRed, kGreen);
  source->SetDestKey(kMagenta);
  source->SetFillColour(kGreen);
  source->PenColor = 7;
  source->SetAlphaFactor(90);
  source->SetStretch(true);
  LumoGraphicNode* target = MakeNode("target", 5, 4, kGreen);
  target->SetTransparent();
  target->SetOrigin(1, 1);

  struct Field {
    const char* name;
    std::function<std::string(const LumoGraphicNode&)> value;
  };
  const Field fields[] = {
      {"name", [](const LumoGraphicNode& node) { return std::string(node.Name); }},
      {"flags", [](const LumoGraphicNode& node) { return std::to_string(node.Flags); }},
      {"tag", [](const LumoGraphicNode& node) { return std::to_string(node.Tag); }},
      {"ID", [](const LumoGraphicNode& node) { return std::to_string(node.ID); }},
      {"origin", [](const LumoGraphicNode& node) { return std::to_string(node.Left) + "," + std::to_string(node.Top); }},
      {"source key", [](const LumoGraphicNode& node) { return Text(node.SourceKey); }},
      {"destination key", [](const LumoGraphicNode& node) { return Text(node.DestKey); }},
      {"fill colour", [](const LumoGraphicNode& node) { return Text(node.FillColor); }},
      {"pen colour", [](const LumoGraphicNode& node) { return std::to_string(node.PenColor); }},
      {"blending",
       [](const LumoGraphicNode& node) {
         return std::to_string(node.AlphaBlending) + std::to_string(node.AlphaInfo) + "/" +
                std::to_string(node.AlphaFactor);
       }},
      {"stretch", [](const LumoGraphicNode& node) { return std::to_string(node.Stretch); }},
  };
  for (const Field& field : fields) {
    ASSERT_NE(field.value(*target), field.value(*source)) << field.name;
  }

  ASSERT_TRUE(target->Assign(source));

  for (const Field& field : fields) {
    EXPECT_EQ(field.value(*target), field.value(*source)) << field.name;
  }
  DestroyObject(target);
}

TEST_F(GraphicNodeTest, ANodeWithoutAGraphicTakesTheSizeAndLoadsTheAlphaMapByName) {
  StartWith(false);
  const std::vector<uint8_t> values(6 * 5, 200);
  AlphaHandle saved = CreateAlpha(6, 5, values.data(), 6, 0, 0);
  ASSERT_TRUE(SaveAlpha(saved, "mask"));
  LumoGraphicNode* source = MakeNode("mask", 3, 3, kRed);
  source->SetAlpha(saved);
  LumoGraphicNode* sized = MakeNode("sized", 9, 8, kRed);
  sized->SetAlphaFactor(10);

  struct Case {
    const char* what;
    LumoGraphicNode* from;
    int32_t width;
    int32_t height;
  };
  // The alpha map's size counts; without one, a node holding no graphic
  // takes the source's size as its canvas size.
  for (const Case& test : {Case{"alpha map", source, 6, 5}, Case{"canvas", sized, 9, 8}}) {
    SCOPED_TRACE(test.what);
    LumoGraphicNode* target = list->ProvideGraphicAt(test.what, 0, 0);
    ASSERT_TRUE(target->Assign(test.from));
    EXPECT_EQ(target->Data, 0u);
    EXPECT_EQ(target->Width, test.width);
    EXPECT_EQ(target->Height, test.height);
    EXPECT_EQ(target->AlphaInfo, test.from->AlphaInfo);
    EXPECT_EQ(target->Alpha != nullptr, test.from->AlphaInfo);
    if (target->Alpha != nullptr) {
      EXPECT_NE(target->Alpha, test.from->Alpha);  // a map of its own
    }
    DestroyObject(target);
  }

  // From a node that is no graphic node only the node's fields are taken.
  LumoNode plain;
  plain.SetName("plain");
  plain.Tag = 3;
  LumoGraphicNode* target = MakeNode("target", 4, 4, kGreen);
  const GraphicHandle graphic = target->Graphic();
  ASSERT_TRUE(target->Assign(&plain));
  EXPECT_STREQ(target->Name, "plain");
  EXPECT_EQ(target->Tag, 3);
  EXPECT_EQ(target->Graphic(), graphic);
  EXPECT_EQ(target->Width, 4);
  DestroyObject(target);
}

TEST_F(GraphicNodeTest, AssignmentSelectsTheOwnGraphicExactlyWhenTheSourcesIsSelected) {
  platform::DisplayCapabilities capabilities;
  capabilities.pageLockRequired = true;
  platform::testing::SetDisplayCapabilities(capabilities);
  Profile()["DirectDraw/PageLocking"] = "1";
  StartWith(false);

  struct Case {
    bool sourceSelected;
    bool targetSelected;
  };
  for (const Case& test : {Case{true, false}, Case{true, true}, Case{false, true}, Case{false, false}}) {
    SCOPED_TRACE(std::to_string(test.sourceSelected) + std::to_string(test.targetSelected));
    LumoGraphicNode* source = MakeNode("source", 3, 3, kRed);
    LumoGraphicNode* target = MakeNode("target", 4, 4, kGreen);
    if (test.sourceSelected) {
      source->Select();
      ASSERT_EQ(source->Selection, source->Graphic());
    }
    if (test.targetSelected) {
      target->Select();
    }

    ASSERT_TRUE(target->Assign(source));

    EXPECT_EQ(target->Selection, test.sourceSelected ? target->Graphic() : nullptr);
    EXPECT_EQ(SurfaceOf(target->Graphic())->PageLockCount(), test.sourceSelected ? 1 : 0);
    EXPECT_EQ(SurfaceOf(source->Graphic())->PageLockCount(), test.sourceSelected ? 1 : 0);
    DestroyObject(target);
    DestroyObject(source);
  }
}

}  // namespace
}  // namespace framework_testing
