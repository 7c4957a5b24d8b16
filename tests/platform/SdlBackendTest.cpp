#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "platform/Backend.h"
#include "platform/MessageQueue.h"
#include "platform/Testing.h"
#include "platform/Window.h"
#include "platform/sdl/SdlKeys.h"

namespace {

// Runs the real SDL back end on SDL's off-screen video driver.
TEST(SdlBackendTest, OffscreenWindowOpensPresentsAndPassesMessages) {
  setenv("SDL_VIDEODRIVER", "offscreen", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  platform::testing::UseBackend("sdl");
  ASSERT_STREQ(platform::GetBackend().Name(), "sdl");

  auto window = platform::Window::Create({"Smoke", true, 0, 0, 320, 240});
  ASSERT_NE(window, nullptr);
  window->Show();
  std::vector<uint32_t> pixels(320 * 240, 0x00FF00u);
  window->Present({reinterpret_cast<const uint8_t*>(pixels.data()), 320, 240, 320 * 4, 32, 0xFF0000,
                   0xFF00, 0xFF});

  window->Post({platform::MessageKind::User, 5});
  platform::Message message;
  bool found = false;
  while (!found && window->Wait(1000)) {
    found = window->Take(message) && message.kind == platform::MessageKind::User;
  }
  EXPECT_TRUE(found);
  EXPECT_EQ(message.value, 5u);

  window.reset();
  platform::testing::UseBackend("headless");
}

TEST(SdlBackendTest, ScancodesBecomeTheGamesKeyCodes) {
  struct Case {
    SDL_Scancode scancode;
    uint32_t key;
  };
  const Case cases[] = {
      {SDL_SCANCODE_A, 'A'},      {SDL_SCANCODE_Z, 'Z'},       {SDL_SCANCODE_1, '1'},
      {SDL_SCANCODE_9, '9'},      {SDL_SCANCODE_0, '0'},       {SDL_SCANCODE_ESCAPE, 27},
      {SDL_SCANCODE_RETURN, 13},  {SDL_SCANCODE_TAB, 9},       {SDL_SCANCODE_F1, 112},
      {SDL_SCANCODE_F8, 119},     {SDL_SCANCODE_F12, 123},     {SDL_SCANCODE_KP_0, 96},
      {SDL_SCANCODE_KP_9, 105},   {SDL_SCANCODE_LSHIFT, 16},   {SDL_SCANCODE_RCTRL, 17},
      {SDL_SCANCODE_LGUI, 91},    {SDL_SCANCODE_UNKNOWN, 0},
  };
  for (const Case& key : cases) {
    EXPECT_EQ(platform::sdl::VirtualKeyFromScancode(key.scancode), key.key) << key.scancode;
  }
}

}  // namespace
