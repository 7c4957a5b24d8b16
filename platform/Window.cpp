#include "platform/Window.h"

#include <mutex>

#include "platform/MessageQueue.h"

namespace platform {

namespace {

// The open window as other threads see it. The mutex and serials are
// constant-initialised globals that nothing destroys, so a library posting
// from its own thread while the process ends still finds them.
std::mutex openWindowMutex;
uint32_t openWindowSerial = 0;
uint32_t lastWindowSerial = 0;
std::string openWindowTitle;

void NoteOpenTitle(const std::string& title) { openWindowTitle = title; }

}  // namespace

uint32_t FindOpenWindow(const std::string& title) {
  std::lock_guard lock(openWindowMutex);
  return openWindowSerial != 0 && openWindowTitle == title ? openWindowSerial : 0;
}

bool WithOpenWindow(uint32_t serial, const std::function<void()>& action) {
  std::lock_guard lock(openWindowMutex);
  if (serial == 0 || serial != openWindowSerial) {
    return false;
  }
  action();
  return true;
}

Window::Window(const WindowSettings& settings) : settings_(settings) {
  std::lock_guard lock(openWindowMutex);
  serial_ = ++lastWindowSerial;
  openWindowSerial = serial_;
  NoteOpenTitle(settings_.title);
}

std::unique_ptr<Window> Window::Create(const WindowSettings& settings) {
  if (!GetBackend().OpenWindow(settings)) {
    return nullptr;
  }
  return std::unique_ptr<Window>(new Window(settings));
}

Window::~Window() {
  {
    std::lock_guard lock(openWindowMutex);
    if (openWindowSerial == serial_) {
      openWindowSerial = 0;
    }
  }
  GetBackend().CloseWindow();
}

void Window::Show() {
  GetBackend().ShowWindow(true);
  visible_ = true;
}

void Window::Hide() {
  GetBackend().ShowWindow(false);
  visible_ = false;
}

void Window::SetTitle(const std::string& title) {
  settings_.title = title;
  {
    std::lock_guard lock(openWindowMutex);
    if (openWindowSerial == serial_) {
      NoteOpenTitle(title);
    }
  }
  GetBackend().SetWindowTitle(title);
}

void Window::SetPosition(int32_t left, int32_t top) {
  GetBackend().SetWindowPosition(left, top);
  NoteMoved(left, top);
}

void Window::NoteMoved(int32_t left, int32_t top) {
  settings_.left = left;
  settings_.top = top;
}

void Window::Present(const FrameView& frame) { GetBackend().PresentFrame(frame); }

void Window::Post(const Message& message) { GameQueue().Post(message); }
Message Window::Get() { return GameQueue().Get(); }
bool Window::Peek(Message& message) { return GameQueue().Peek(message); }
bool Window::Take(Message& message) { return GameQueue().Take(message); }
bool Window::Wait(int32_t timeoutMilliseconds) { return GameQueue().Wait(timeoutMilliseconds); }

}  // namespace platform
