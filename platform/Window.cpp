#include "platform/Window.h"

#include "platform/MessageQueue.h"

namespace platform {

std::unique_ptr<Window> Window::Create(const WindowSettings& settings) {
  if (!GetBackend().OpenWindow(settings)) {
    return nullptr;
  }
  return std::unique_ptr<Window>(new Window(settings));
}

Window::~Window() { GetBackend().CloseWindow(); }

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
