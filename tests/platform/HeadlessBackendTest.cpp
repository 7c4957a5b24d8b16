#include <gtest/gtest.h>

#include "platform/Backend.h"
#include "platform/MessageQueue.h"
#include "platform/Testing.h"
#include "platform/Window.h"

namespace {

using platform::MessageBoxAnswer;
using platform::MessageBoxKind;
using platform::MessageKind;

class HeadlessBackendTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::testing::Reset();
    platform::testing::UseBackend("headless");
  }
  void TearDown() override { platform::testing::Reset(); }
};

TEST_F(HeadlessBackendTest, EnvironmentChoosesTheHeadlessBackEnd) {
  platform::testing::UseBackend(nullptr);
  EXPECT_STREQ(platform::GetBackend().Name(), "headless");
}

TEST_F(HeadlessBackendTest, MessageBoxesAnswerPresetsInOrderThenDefaults) {
  platform::testing::PresetMessageBoxAnswer(MessageBoxAnswer::Yes);
  platform::testing::PresetMessageBoxAnswer(MessageBoxAnswer::No);
  platform::Backend& backend = platform::GetBackend();

  EXPECT_EQ(backend.ShowMessageBox("Game", "first?", MessageBoxKind::Question), MessageBoxAnswer::Yes);
  EXPECT_EQ(backend.ShowMessageBox("Game", "second?", MessageBoxKind::Question), MessageBoxAnswer::No);
  EXPECT_EQ(backend.ShowMessageBox("Game", "third?", MessageBoxKind::Question), MessageBoxAnswer::No);
  EXPECT_EQ(backend.ShowMessageBox("Game", "broken", MessageBoxKind::Error), MessageBoxAnswer::Ok);
  const auto shown = platform::testing::ShownMessageBoxes();
  ASSERT_EQ(shown.size(), 4u);
  EXPECT_EQ(shown[3].text, "broken");
  EXPECT_EQ(shown[3].kind, MessageBoxKind::Error);
}

TEST_F(HeadlessBackendTest, ShowingAndHidingTheWindowChangesActivation) {
  auto window = platform::Window::Create({"Title", true, 10, 20, 640, 480});
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(platform::testing::HeadlessWindowOpen());
  window->Show();
  window->Show();
  window->Hide();
  window->SetTitle("Other");
  window->SetPosition(5, 6);

  platform::Message message;
  ASSERT_TRUE(window->Take(message));
  EXPECT_EQ(message.kind, MessageKind::Activate);
  EXPECT_EQ(message.value, 1u);
  ASSERT_TRUE(window->Take(message));
  EXPECT_EQ(message.kind, MessageKind::Activate);
  EXPECT_EQ(message.value, 0u);
  EXPECT_FALSE(window->Take(message));
  const platform::WindowSettings settings = platform::testing::HeadlessWindowSettings();
  EXPECT_EQ(settings.title, "Other");
  EXPECT_EQ(settings.left, 5);
  EXPECT_EQ(window->Top(), 6);
  window.reset();
  EXPECT_FALSE(platform::testing::HeadlessWindowOpen());
}

TEST_F(HeadlessBackendTest, PresentedFrameIsKeptWithoutRowPadding) {
  const uint8_t pixels[] = {
      1, 2, 3, 4, 5, 6, 7, 8, 0xEE, 0xEE,  // two 32-bit pixels and two bytes of padding
      9, 10, 11, 12, 13, 14, 15, 16, 0xEE, 0xEE,
  };
  platform::FrameView frame{pixels, 2, 2, 10, 32, 0xFF0000, 0xFF00, 0xFF};
  platform::GetBackend().PresentFrame(frame);

  const platform::testing::PresentedFrame kept = platform::testing::LastPresentedFrame();
  EXPECT_EQ(kept.width, 2);
  EXPECT_EQ(kept.height, 2);
  ASSERT_EQ(kept.pixels.size(), 16u);
  EXPECT_EQ(kept.pixels[8], 9);
  EXPECT_EQ(kept.pixels[15], 16);
}

TEST_F(HeadlessBackendTest, FrameWithAPitchShorterThanItsRowsIsRefused) {
  const uint8_t pixels[8] = {};
  platform::GetBackend().PresentFrame({pixels, 2, 2, 4, 32, 0, 0, 0});
  EXPECT_TRUE(platform::testing::LastPresentedFrame().pixels.empty());
}

}  // namespace
