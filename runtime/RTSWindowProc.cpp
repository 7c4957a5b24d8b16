#include "runtime/RTSWindowProc.h"

#include "platform/MessageQueue.h"
#include "runtime/DebugLog.h"
#include "runtime/GameWindow.h"
#include "runtime/Display.h"
#include "runtime/RTSState.h"

namespace {

using platform::Message;
using platform::MessageKind;

bool InputReady() {
  const RTSState& state = RTS();
  return state.surfacesValid && state.inputOn;
}

// Hands an input message to the input device; true when it was handled.
bool DeliverInput(const Message& message) {
  const tInputMessageHandler handler = RTS().inputHandler;
  return handler != nullptr && handler(message);
}

// The terminate query decides; without one the game ends.
void AskToTerminate() {
  RTSState& state = RTS();
  const tTerminateQuery query = state.informed ? state.information.terminateQuery : nullptr;
  state.keepRunning = query != nullptr && !query();
}

void OnDestroy() {
  RTS().destroyed = true;
  RunGameDestruction();
  FinalizeRTS();
  platform::GameQueue().Post({MessageKind::Quit, 0});
}

// True when the message was consumed; false leaves it to the default handling.
bool WindowProcedure(const Message& message) {
  RTSState& state = RTS();
  switch (message.kind) {
    case MessageKind::Activate:
      state.surfacesValid = false;
      state.active = message.value != 0;
      SetDisplayActive(state.active);
      return false;
    case MessageKind::KeyDown:
    case MessageKind::KeyUp:
    case MessageKind::Character:
    case MessageKind::LeftButtonDown:
    case MessageKind::LeftButtonUp:
    case MessageKind::RightButtonDown:
    case MessageKind::RightButtonUp:
    case MessageKind::MiddleButtonDown:
    case MessageKind::MiddleButtonUp:
      if (InputReady()) {
        DeliverInput(message);
      }
      return true;
    case MessageKind::SystemKeyDown:
    case MessageKind::SystemKeyUp:
      return InputReady() && DeliverInput(message);
    case MessageKind::MouseMove:
      state.mouseX = message.x;
      state.mouseY = message.y;
      if (InputReady()) {
        DeliverInput(message);
      }
      return true;
    case MessageKind::SetCursor:
      return DeliverInput(message);
    case MessageKind::Move:
      if (state.windowed && state.mainWindow) {
        state.mainWindow->NoteMoved(message.x, message.y);
        // The window has no frame of its own: the client area starts at
        // the window's corner.
        SetDisplayClientPosition(message.x, message.y);
      }
      return true;
    case MessageKind::SystemClose:
      DebugMessage("System request to terminate the game\n");
      AskToTerminate();
      return true;
    case MessageKind::Close:
      if (!state.keepRunning) {
        return false;
      }
      DebugMessage("External request to terminate the game\n");
      AskToTerminate();
      return true;
    case MessageKind::Destroy:
      OnDestroy();
      return true;
    default:
      return false;
  }
}

// What the window does with a message its procedure left: a close that the
// game agreed to destroys the window.
void DefaultHandling(const Message& message) {
  if (message.kind == MessageKind::Close && RTS().mainWindow) {
    WindowProcedure({MessageKind::Destroy});
    RTS().mainWindow.reset();
  }
}

}  // namespace

void DispatchRTSMessage(const Message& message) {
  if (message.kind == MessageKind::Quit) {
    RTS().looping = false;
    return;
  }
  DispatchToWindowProcedure(message);
}

void RunRTSWindowProcedure(const Message& message) {
  if (!WindowProcedure(message)) {
    DefaultHandling(message);
  }
}
