#include "platform/sdl/SdlBackend.h"

#include <SDL.h>

#include <array>
#include <cstdio>

#include "platform/Joystick.h"
#include "platform/Keyboard.h"
#include "platform/MessageQueue.h"
#include "platform/sdl/SdlKeys.h"

namespace platform::sdl {
namespace {

// Button-state bits of a mouse message from SDL's button mask and the
// keyboard's modifiers.
uint32_t ButtonState(uint32_t sdlButtons) {
  uint32_t buttons = 0;
  if (sdlButtons & SDL_BUTTON_LMASK) buttons |= kButtonLeft;
  if (sdlButtons & SDL_BUTTON_RMASK) buttons |= kButtonRight;
  if (sdlButtons & SDL_BUTTON_MMASK) buttons |= kButtonMiddle;
  const SDL_Keymod modifiers = SDL_GetModState();
  if (modifiers & KMOD_SHIFT) buttons |= kButtonShift;
  if (modifiers & KMOD_CTRL) buttons |= kButtonControl;
  return buttons;
}

// The message of a button going down or up; None for extra buttons.
MessageKind ButtonMessage(uint8_t button, bool down) {
  switch (button) {
    case SDL_BUTTON_LEFT:
      return down ? MessageKind::LeftButtonDown : MessageKind::LeftButtonUp;
    case SDL_BUTTON_RIGHT:
      return down ? MessageKind::RightButtonDown : MessageKind::RightButtonUp;
    case SDL_BUTTON_MIDDLE:
      return down ? MessageKind::MiddleButtonDown : MessageKind::MiddleButtonUp;
    default:
      return MessageKind::None;
  }
}

// Keys that also produce a character of their own (the text-input events
// of SDL leave them out).
uint32_t ControlCharacter(uint32_t virtualKey) {
  switch (virtualKey) {
    case 8:
    case 9:
    case 13:
    case 27:
      return virtualKey;
    default:
      return 0;
  }
}

// Decodes UTF-8 text into code points; malformed bytes are skipped.
template <typename Sink>
void ForEachCodePoint(const char* text, Sink sink) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(text);
  while (*bytes != 0) {
    uint32_t codePoint = *bytes;
    int continuation = 0;
    if (codePoint >= 0xF0) {
      codePoint &= 0x07;
      continuation = 3;
    } else if (codePoint >= 0xE0) {
      codePoint &= 0x0F;
      continuation = 2;
    } else if (codePoint >= 0xC0) {
      codePoint &= 0x1F;
      continuation = 1;
    } else if (codePoint >= 0x80) {
      ++bytes;
      continue;
    }
    ++bytes;
    for (; continuation > 0 && (*bytes & 0xC0) == 0x80; --continuation, ++bytes) {
      codePoint = (codePoint << 6) | (*bytes & 0x3F);
    }
    if (continuation == 0) {
      sink(codePoint);
    }
  }
}

class SdlBackend final : public Backend {
 public:
  SdlBackend() : wakeEvent_(SDL_RegisterEvents(1)) {}

  ~SdlBackend() override {
    CloseAudio();
    CloseWindow();
    for (SDL_Joystick*& joystick : joysticks_) {
      if (joystick != nullptr) {
        SDL_JoystickClose(joystick);
        joystick = nullptr;
      }
    }
    SDL_Quit();
  }

  const char* Name() const override { return "sdl"; }

  bool OpenWindow(const WindowSettings& settings) override {
    CloseWindow();
    Uint32 flags = SDL_WINDOW_HIDDEN;
    int width = settings.width;
    int height = settings.height;
    int left = settings.left;
    int top = settings.top;
    if (!settings.windowed) {
      flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
      left = 0;
      top = 0;
    }
    window_ = SDL_CreateWindow(settings.title.c_str(), left, top, width, height, flags);
    if (window_ == nullptr) {
      std::fprintf(stderr, "SDL_CreateWindow failed: %s\n", SDL_GetError());
      return false;
    }
    SDL_StartTextInput();
    return true;
  }

  void CloseWindow() override {
    if (window_ != nullptr) {
      SDL_StopTextInput();
      SDL_DestroyWindow(window_);
      window_ = nullptr;
    }
  }

  void ShowWindow(bool visible) override {
    if (window_ == nullptr) {
      return;
    }
    if (visible) {
      SDL_ShowWindow(window_);
    } else {
      SDL_HideWindow(window_);
    }
  }

  void SetWindowTitle(const std::string& title) override {
    if (window_ != nullptr) {
      SDL_SetWindowTitle(window_, title.c_str());
    }
  }

  void SetWindowPosition(int32_t left, int32_t top) override {
    if (window_ != nullptr) {
      SDL_SetWindowPosition(window_, left, top);
    }
  }

  void PresentFrame(const FrameView& frame) override {
    if (window_ == nullptr || frame.pixels == nullptr || frame.width <= 0 || frame.height <= 0) {
      return;
    }
    SDL_Surface* target = SDL_GetWindowSurface(window_);
    if (target == nullptr) {
      return;
    }
    const int depth = frame.bitsPerPixel == 15 ? 16 : static_cast<int>(frame.bitsPerPixel);
    // SDL only reads the pixels; the surface does not own them.
    SDL_Surface* source = SDL_CreateRGBSurfaceFrom(
        const_cast<uint8_t*>(frame.pixels), frame.width, frame.height, depth, frame.pitch,
        frame.redMask, frame.greenMask, frame.blueMask, 0);
    if (source == nullptr) {
      return;
    }
    SDL_BlitScaled(source, nullptr, target, nullptr);
    SDL_FreeSurface(source);
    SDL_UpdateWindowSurface(window_);
  }

  void PumpEvents(MessageQueue& queue) override {
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) {
      Translate(event, queue);
    }
  }

  // SDL axes run from -32768 to 32767; the game reads them as 0 to 65535.
  bool JoystickCapabilities(int32_t slot, platform::JoystickCapabilities& capabilities) override {
    SDL_Joystick* joystick = OpenJoystick(slot);
    if (joystick == nullptr) {
      return false;
    }
    const int axes = SDL_JoystickNumAxes(joystick);
    if (axes < 2) {
      return false;
    }
    capabilities = {};
    capabilities.maximumX = 65535;
    capabilities.maximumY = 65535;
    capabilities.axes = axes >= 3 ? 3 : 2;
    capabilities.maximumZ = capabilities.axes == 3 ? 65535 : 0;
    const int buttons = SDL_JoystickNumButtons(joystick);
    capabilities.buttons = buttons < 0 ? 0 : buttons > 32 ? 32 : buttons;
    return true;
  }

  bool ReadJoystick(int32_t slot, JoystickState& state) override {
    SDL_Joystick* joystick = OpenJoystick(slot);
    if (joystick == nullptr) {
      return false;
    }
    SDL_JoystickUpdate();
    if (SDL_JoystickGetAttached(joystick) != SDL_TRUE) {
      return false;
    }
    const auto axis = [joystick](int index) {
      return index < SDL_JoystickNumAxes(joystick) ? SDL_JoystickGetAxis(joystick, index) + 32768 : 0;
    };
    state.x = axis(0);
    state.y = axis(1);
    state.z = axis(2);
    state.buttons = 0;
    const int buttons = SDL_JoystickNumButtons(joystick);
    for (int button = 0; button < buttons && button < 32; ++button) {
      if (SDL_JoystickGetButton(joystick, button) != 0) {
        state.buttons |= 1u << button;
      }
    }
    return true;
  }

  void WarpMouse(int32_t x, int32_t y) override {
    if (window_ != nullptr) {
      SDL_WarpMouseInWindow(window_, x, y);
    }
  }

  void WaitForEvents(int32_t timeoutMilliseconds) override {
    if (timeoutMilliseconds < 0) {
      SDL_WaitEvent(nullptr);
    } else {
      SDL_WaitEventTimeout(nullptr, timeoutMilliseconds);
    }
  }

  void Wake() override {
    SDL_Event event{};
    event.type = wakeEvent_;
    SDL_PushEvent(&event);
  }

  MessageBoxAnswer ShowMessageBox(const std::string& caption, const std::string& text,
                                  MessageBoxKind kind) override {
    const SDL_MessageBoxButtonData yesNo[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 1, "Yes"},
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 0, "No"},
    };
    const SDL_MessageBoxButtonData ok[] = {{SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 1, "OK"}};
    const bool question = kind == MessageBoxKind::Question;
    SDL_MessageBoxData box{};
    box.flags = question ? SDL_MESSAGEBOX_WARNING : SDL_MESSAGEBOX_ERROR;
    box.title = caption.c_str();
    box.message = text.c_str();
    box.numbuttons = question ? 2 : 1;
    box.buttons = question ? yesNo : ok;
    int chosen = 0;
    if (SDL_ShowMessageBox(&box, &chosen) != 0) {
      // No box can be shown (no display server): the text goes to standard
      // error and a question is answered No, so the game goes on.
      std::fprintf(stderr, "[%s] %s\n", caption.c_str(), text.c_str());
      return question ? MessageBoxAnswer::No : MessageBoxAnswer::Ok;
    }
    if (!question) {
      return MessageBoxAnswer::Ok;
    }
    return chosen == 1 ? MessageBoxAnswer::Yes : MessageBoxAnswer::No;
  }

  // SDL pulls the mix on its own audio thread; the rate may be changed to
  // one the device offers, the channel count may not.
  bool OpenAudio(AudioOutputSpec& spec, AudioSource& source) override {
    CloseAudio();
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
      std::fprintf(stderr, "SDL audio cannot start: %s\n", SDL_GetError());
      return false;
    }
    SDL_AudioSpec wanted{};
    wanted.freq = spec.samplesPerSecond;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = static_cast<Uint8>(spec.channels == 1 ? 1 : 2);
    wanted.samples = 1024;
    wanted.callback = PullAudio;
    pull_.source = &source;
    wanted.userdata = &pull_;
    SDL_AudioSpec obtained{};
    audioDevice_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
    if (audioDevice_ == 0) {
      std::fprintf(stderr, "SDL audio output cannot open: %s\n", SDL_GetError());
      SDL_QuitSubSystem(SDL_INIT_AUDIO);
      return false;
    }
    spec.samplesPerSecond = obtained.freq;
    spec.channels = obtained.channels;
    pull_.channels = obtained.channels;
    SDL_PauseAudioDevice(audioDevice_, 0);
    return true;
  }

  void CloseAudio() override {
    if (audioDevice_ != 0) {
      SDL_CloseAudioDevice(audioDevice_);
      audioDevice_ = 0;
      SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
  }

  void UpdateAudio() override {}

 private:
  // What SDL's audio thread reads; set before the device starts pulling.
  struct AudioPull {
    AudioSource* source = nullptr;
    uint32_t channels = 2;
  };

  static void SDLCALL PullAudio(void* userdata, Uint8* stream, int length) {
    const auto* pull = static_cast<const AudioPull*>(userdata);
    const uint32_t bytesPerFrame = static_cast<uint32_t>(sizeof(int16_t)) * pull->channels;
    pull->source->FillAudio(reinterpret_cast<int16_t*>(stream), static_cast<uint32_t>(length) / bytesPerFrame);
  }

  void Translate(const SDL_Event& event, MessageQueue& queue) {
    switch (event.type) {
      case SDL_QUIT:
        queue.Deliver({MessageKind::SystemClose});
        break;
      case SDL_WINDOWEVENT:
        TranslateWindowEvent(event.window, queue);
        break;
      case SDL_KEYDOWN:
      case SDL_KEYUP:
        TranslateKey(event.key, queue);
        break;
      case SDL_TEXTINPUT:
        ForEachCodePoint(event.text.text, [&queue](uint32_t codePoint) {
          if (codePoint < 256) {
            queue.Deliver({MessageKind::Character, codePoint});
          }
        });
        break;
      case SDL_MOUSEMOTION:
        queue.Deliver({MessageKind::SetCursor, 1});
        queue.Deliver({MessageKind::MouseMove, 0, event.motion.x, event.motion.y,
                       ButtonState(event.motion.state)});
        break;
      case SDL_MOUSEBUTTONDOWN:
      case SDL_MOUSEBUTTONUP: {
        const bool down = event.type == SDL_MOUSEBUTTONDOWN;
        const MessageKind kind = ButtonMessage(event.button.button, down);
        if (kind != MessageKind::None) {
          const Message message{kind, 0, event.button.x, event.button.y,
                                ButtonState(SDL_GetMouseState(nullptr, nullptr))};
          NoteDeviceMessage(message);
          queue.Deliver(message);
        }
        break;
      }
      default:
        break;
    }
  }

  void TranslateWindowEvent(const SDL_WindowEvent& event, MessageQueue& queue) {
    switch (event.event) {
      case SDL_WINDOWEVENT_FOCUS_GAINED:
        queue.Deliver({MessageKind::Activate, 1});
        break;
      case SDL_WINDOWEVENT_FOCUS_LOST:
        // Window managers take the task-switch keys before the game sees
        // them; the keyboard hook learns of the switch from the lost focus.
        NoteDeviceMessage({MessageKind::Activate, 0});
        queue.Deliver({MessageKind::Activate, 0});
        break;
      case SDL_WINDOWEVENT_MOVED: {
        // SDL reports the client area's corner; the game keeps the outer one.
        int top = 0;
        int left = 0;
        if (window_ != nullptr) {
          SDL_GetWindowBordersSize(window_, &top, &left, nullptr, nullptr);
        }
        queue.Deliver({MessageKind::Move, 0, event.data1 - left, event.data2 - top});
        break;
      }
      case SDL_WINDOWEVENT_LEAVE:
        queue.Deliver({MessageKind::SetCursor, 0});
        break;
      default:
        break;
    }
  }

  // Keys pressed with Alt, and F10, are system keys, as the game expects.
  static void TranslateKey(const SDL_KeyboardEvent& event, MessageQueue& queue) {
    const uint32_t virtualKey = VirtualKeyFromScancode(event.keysym.scancode);
    if (virtualKey == 0) {
      return;
    }
    const bool down = event.type == SDL_KEYDOWN;
    const bool system = (event.keysym.mod & KMOD_ALT) != 0 || virtualKey == 121;
    MessageKind kind = down ? MessageKind::KeyDown : MessageKind::KeyUp;
    if (system) {
      kind = down ? MessageKind::SystemKeyDown : MessageKind::SystemKeyUp;
    }
    const Message message{kind, virtualKey};
    NoteDeviceMessage(message);
    queue.Deliver(message);
    const uint32_t character = ControlCharacter(virtualKey);
    if (down && !system && character != 0) {
      queue.Deliver({MessageKind::Character, character});
    }
  }

  // The joystick of a slot, opened at its first use; null without one. A
  // joystick that was unplugged is opened again when it returns.
  SDL_Joystick* OpenJoystick(int32_t slot) {
    if (!joystickSystem_) {
      joystickSystem_ = SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0;
      if (!joystickSystem_) {
        return nullptr;
      }
    }
    SDL_Joystick*& joystick = joysticks_[static_cast<size_t>(slot)];
    if (joystick != nullptr && SDL_JoystickGetAttached(joystick) != SDL_TRUE) {
      SDL_JoystickClose(joystick);
      joystick = nullptr;
    }
    if (joystick == nullptr && slot < SDL_NumJoysticks()) {
      joystick = SDL_JoystickOpen(slot);
    }
    return joystick;
  }

  SDL_Window* window_ = nullptr;
  uint32_t wakeEvent_;
  SDL_AudioDeviceID audioDevice_ = 0;
  AudioPull pull_;
  bool joystickSystem_ = false;
  std::array<SDL_Joystick*, kJoystickSlots> joysticks_{};
};

}  // namespace

std::unique_ptr<Backend> CreateSdlBackend() {
  // Frames are copied into the window's plain framebuffer: an accelerated
  // one would load an OpenGL stack (a software one on the off-screen
  // driver) for a single copy per frame.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
    std::fprintf(stderr, "SDL_Init failed: %s\n", SDL_GetError());
    return nullptr;
  }
  return std::make_unique<SdlBackend>();
}

}  // namespace platform::sdl
