#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ControlFixture.h"
#include "framework/LumoCell.h"
#include "framework/LumoGauge.h"
#include "runtime/GraphicFiles.h"

namespace framework_testing {
namespace {

constexpr sRGB kBackground{200, 0, 0};
constexpr sRGB kGaugeColour{0, 200, 0};
constexpr sRGB kLook{0, 0, 200};
constexpr sRGB kDimLook{90, 90, 90};

// A level that pre-loads with a loading screen and then builds a cell with
// a control of its own; while "loading" it moves the gauge to half and
// runs a pass, writing down what the screen showed.
class LoadingLevel : public TestLevel {
 public:
  const char* GetClassName() const override { return "LoadingLevel"; }
  void DoPreLoadSource() override {
    TestLevel::DoPreLoadSource();
    if (LoaderGauge == nullptr) {
      return;
    }
    LoaderGauge->SetProgress(50);
    Engine->Timer();
    Engine->Timer();
    gaugeAtHalf = {platform::testing::PresentedPixel(platform::testing::LastPresentedFrame(), 239, 305),
                   platform::testing::PresentedPixel(platform::testing::LastPresentedFrame(), 240, 305)};
    buttonWhileLoading = LoaderButton;
    buttonEnabledWhileLoading = LoaderButton != nullptr && LoaderButton->Enabled;
    background = platform::testing::PresentedPixel(platform::testing::LastPresentedFrame(), probeX, probeY);
  }
  std::vector<uint32_t> gaugeAtHalf;
  LumoLoaderButton* buttonWhileLoading = nullptr;
  bool buttonEnabledWhileLoading = true;
  uint32_t background = 0;
  int32_t probeX = 15;  // a point of the background on the screen
  int32_t probeY = 65;
};

class PreLoaderTest : public ControlFixture {
 protected:
  static void WritePicture(const char* name, int32_t width, int32_t height, const sRGB& colour) {
    GraphicHandle graphic = CreateGraphic(width, height, colour);
    ASSERT_NE(graphic, nullptr);
    ASSERT_TRUE(SaveGraphic(graphic, name));
    DestroyGraphic(graphic);
  }

  // Starts the engine with a loading level whose populate step is given.
  void StartLoading(std::function<void(LoadingLevel&)> preload) {
    populate = [this, preload](TestEngine& engine) {
      WritePicture("bg.bmp", 100, 50, kBackground);
      WritePicture("gauge.bmp", 80, 10, kGaugeColour);
      WritePicture("look.bmp", 20, 20, kLook);
      WritePicture("dim.bmp", 20, 20, kDimLook);
      loading = new LoadingLevel;
      engine.Append(loading);
      loading->populate = [this, preload](TestLevel&) {
        preload(*loading);
        // The level's own contents, made after the loading screen.
        content = new LumoCell;
        loading->Append(content);
        content->SetViewport(0, 0, 100, 100);
      };
      engine.RequestLevel(loading);
    };
    ASSERT_TRUE(Start());
    ASSERT_TRUE(Pulse());
    ASSERT_EQ(Engine->Level, loading);
    Send({platform::MessageKind::Activate, 1});
    RTS().surfacesValid = true;
  }

  bool Has(const LumoNode* item) const { return loading->Contains(item); }

  LoadingLevel* loading = nullptr;
  LumoCell* content = nullptr;
};

TEST_F(PreLoaderTest, TheLoaderButtonEndsTheLoadingScreen) {
  StartLoading([](LoadingLevel& level) {
    // The button at (40, 10) of the loader cell, which shows the background
    // at (10, 20): on the screen at (50, 30).
    level.PreLoadSource(nullptr, 10, 20, "bg.bmp", 200, 300, "gauge.bmp", LumoGauge::FromLeft, nullptr, 40, 10,
                        "look.bmp", "look.bmp", "dim.bmp", "look.bmp", nullptr);
  });
  // While loading: the background, the gauge at half, the button disabled.
  EXPECT_EQ(loading->background, ConvertRGB(kBackground));
  EXPECT_EQ(loading->gaugeAtHalf, (std::vector<uint32_t>{ConvertRGB(kGaugeColour), 0}));
  ASSERT_NE(loading->buttonWhileLoading, nullptr);
  EXPECT_FALSE(loading->buttonEnabledWhileLoading);
  // Loading done: the loader's fields are forgotten, the button is enabled,
  // the cursor shown for it, and the level waits for the button.
  EXPECT_EQ(loading->LoaderButton, nullptr);
  EXPECT_EQ(loading->LoaderGauge, nullptr);
  EXPECT_EQ(loading->LoaderCell, nullptr);
  LumoLoaderButton* button = loading->buttonWhileLoading;
  EXPECT_TRUE(button->Enabled);
  EXPECT_EQ(Engine->CursorCount, 1u);
  EXPECT_FALSE(Engine->Busy);
  EXPECT_FALSE(Engine->PostPopulating);
  ASSERT_TRUE(Pulse());
  ASSERT_TRUE(Pulse());
  EXPECT_EQ(loading->Count, 3);
  EXPECT_EQ(Presented(55, 35), ConvertRGB(kLook));

  // The click hides the cursor once; the next pass post-populates: the
  // loading screen goes, the level's contents stay.
  Press(55, 35);
  Release(55, 35);
  EXPECT_EQ(Engine->CursorCount, 0u);
  EXPECT_TRUE(Engine->PostPopulating);
  ASSERT_TRUE(Pulse());
  EXPECT_FALSE(Engine->PostPopulating);
  EXPECT_EQ(loading->Count, 1);
  EXPECT_TRUE(Has(content));
  EXPECT_EQ(Engine->CursorCount, 0u);
}

TEST_F(PreLoaderTest, WithoutAButtonTheNextPassPostPopulates) {
  StartLoading([](LoadingLevel& level) {
    // Centred: the 100 x 50 background stands at (350, 275).
    level.probeX = 350;
    level.probeY = 275;
    level.PreLoadSource(nullptr, "bg.bmp", 200, 300, "gauge.bmp", LumoGauge::FromLeft, nullptr);
  });
  EXPECT_EQ(loading->buttonWhileLoading, nullptr);
  EXPECT_EQ(loading->gaugeAtHalf, (std::vector<uint32_t>{ConvertRGB(kGaugeColour), 0}));
  EXPECT_EQ(loading->background, ConvertRGB(kBackground));
  EXPECT_EQ(Engine->CursorCount, 0u);  // no control on the loading screen
  // The pass that started the level post-populated it at once.
  EXPECT_FALSE(Engine->PostPopulating);
  EXPECT_EQ(loading->Count, 1);
  EXPECT_TRUE(Has(content));
}

TEST_F(PreLoaderTest, NoGaugeGraphicDoesNothing) {
  StartLoading([](LoadingLevel& level) {
    level.Append(new LumoCell);
    level.PreLoadSource("bg.bmp", "bg.bmp", 200, 300, nullptr, LumoGauge::FromLeft, nullptr);
    EXPECT_FALSE(Engine->Busy);
    EXPECT_EQ(level.Count, 1);
  });
  EXPECT_FALSE(Engine->PostPopulating);
  EXPECT_EQ(loading->Count, 2);
}

}  // namespace
}  // namespace framework_testing
