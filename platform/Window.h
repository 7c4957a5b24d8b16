#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/Backend.h"
#include "platform/Message.h"

namespace platform {

// ---- The main window ----
// The game's one window, shown through the back end. Its messages arrive in
// the game thread's queue (GameQueue()); the window only forwards to it.
class Window {
 public:
  // Opens the window hidden; null when the back end cannot open it.
  static std::unique_ptr<Window> Create(const WindowSettings& settings);
  ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  void Show();
  void Hide();
  bool IsVisible() const { return visible_; }

  void SetTitle(const std::string& title);
  const std::string& Title() const { return settings_.title; }
  bool IsWindowed() const { return settings_.windowed; }

  // Outer left and top in screen pixels (kept up to date by Move messages
  // through NoteMoved) and the client size.
  void SetPosition(int32_t left, int32_t top);
  void NoteMoved(int32_t left, int32_t top);
  int32_t Left() const { return settings_.left; }
  int32_t Top() const { return settings_.top; }
  int32_t ClientWidth() const { return settings_.width; }
  int32_t ClientHeight() const { return settings_.height; }

  void Present(const FrameView& frame);

  // Names this window to other threads and libraries: never 0, never
  // given to another window.
  uint32_t Serial() const { return serial_; }

  // The queue of the game thread, as the window's own.
  void Post(const Message& message);
  Message Get();
  bool Peek(Message& message);
  bool Take(Message& message);
  bool Wait(int32_t timeoutMilliseconds);

 private:
  explicit Window(const WindowSettings& settings);

  WindowSettings settings_;
  bool visible_ = false;
  uint32_t serial_ = 0;
};

// ---- The open window, from any thread ----

// The serial of the open window with exactly this title; 0 when none is.
uint32_t FindOpenWindow(const std::string& title);
// Runs the action while the window with this serial stays open (it cannot
// close meanwhile); false, without running it, when that window is not
// open. The action must not open or close a window.
bool WithOpenWindow(uint32_t serial, const std::function<void()>& action);

}  // namespace platform
