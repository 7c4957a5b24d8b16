#include "runtime/GameWindow.h"

#include <mutex>
#include <string>

#include "platform/MessageQueue.h"
#include "platform/Window.h"
#include "runtime/RTSWindowProc.h"

namespace {

// Constant-initialised, never destroyed: other libraries' threads may call
// in while the process ends.
std::mutex procedureMutex;
tWindowProcedure replacement = nullptr;
tWindowHandle replacedWindow = 0;

// The run-time system's own procedure in the form other procedures pass
// messages on to: its own messages carry their record; any other number is
// left alone.
intptr_t RTSWindowProcedure(tWindowHandle, uint32_t message, uintptr_t, intptr_t longParameter) {
  if (message < platform::kFirstUserMessage && longParameter != 0) {
    RunRTSWindowProcedure(*reinterpret_cast<const platform::Message*>(longParameter));
  }
  return 0;
}

}  // namespace

tWindowHandle FindGameWindow(const char* title) {
  if (title == nullptr) {
    return 0;
  }
  return platform::FindOpenWindow(title);
}

bool PostGameWindowMessage(tWindowHandle window, uint32_t message, uintptr_t wordParameter,
                           intptr_t longParameter) {
  if (message < platform::kFirstUserMessage || window > UINT32_MAX) {
    return false;
  }
  platform::Message posted;
  posted.kind = static_cast<platform::MessageKind>(message);
  posted.wordParameter = wordParameter;
  posted.longParameter = longParameter;
  return platform::WithOpenWindow(static_cast<uint32_t>(window), [&] { platform::GameQueue().Post(posted); });
}

tWindowProcedure ReplaceWindowProcedure(tWindowHandle window, tWindowProcedure procedure) {
  if (procedure == nullptr || window > UINT32_MAX) {
    return nullptr;
  }
  tWindowProcedure replaced = nullptr;
  platform::WithOpenWindow(static_cast<uint32_t>(window), [&] {
    std::lock_guard lock(procedureMutex);
    // A replacement set for a window that has closed is gone with it.
    replaced = replacement != nullptr && replacedWindow == window ? replacement : RTSWindowProcedure;
    replacement = procedure == RTSWindowProcedure ? nullptr : procedure;
    replacedWindow = window;
  });
  return replaced;
}

void DispatchToWindowProcedure(const platform::Message& message) {
  tWindowProcedure procedure = nullptr;
  tWindowHandle window = 0;
  {
    std::lock_guard lock(procedureMutex);
    procedure = replacement;
    window = replacedWindow;
  }
  const uint32_t number = static_cast<uint32_t>(message.kind);
  if (procedure != nullptr && platform::WithOpenWindow(static_cast<uint32_t>(window), [] {})) {
    if (number < platform::kFirstUserMessage) {
      procedure(window, number, 0, reinterpret_cast<intptr_t>(&message));
    } else {
      procedure(window, number, message.wordParameter, message.longParameter);
    }
    return;
  }
  RTSWindowProcedure(0, number, 0, reinterpret_cast<intptr_t>(&message));
}
