#include "runtime/Cursor.h"

#include <algorithm>
#include <memory>
#include <new>
#include <vector>

#include "base/DebugFormat.h"
#include "platform/Backend.h"
#include "runtime/Display.h"
#include "runtime/DisplaySeams.h"
#include "runtime/GraphicFiles.h"
#include "runtime/Input.h"
#include "runtime/Joystick.h"
#include "runtime/RTSState.h"

namespace {

struct CursorState {
  // Every cursor made and not yet destroyed; handles are checked against it,
  // so a cursor destroyed twice is refused instead of freed twice.
  std::vector<std::unique_ptr<tCursor>> cursors;
  tCursor* selected = nullptr;
  bool enabled = false;
};

CursorState& Cursors() {
  static CursorState state;
  return state;
}

auto Find(const tCursor* cursor) {
  auto& cursors = Cursors().cursors;
  return std::find_if(
      cursors.begin(), cursors.end(),
      [cursor](const std::unique_ptr<tCursor>& owned) { return owned.get() == cursor; });
}

tCursor* Selected(const char* caller) {
  tCursor* selected = Cursors().selected;
  if (selected == nullptr) {
    DebugPrint("%s No mouse cursor selected\n", caller);
  }
  return selected;
}

}  // namespace

CursorHandle MakeCursor(GraphicHandle graphic) {
  std::unique_ptr<tCursor> cursor(new (std::nothrow) tCursor);
  if (!cursor) {
    return nullptr;
  }
  cursor->Graphic = graphic;
  cursor->DrawData.Key.Mode = KeyColor;
  Cursors().cursors.push_back(std::move(cursor));
  return Cursors().cursors.back().get();
}

// The image comes through the graphic loader (archive entry or BMP file),
// whose failures are logged under this function's name; the hot spot is 0, 0.
CursorHandle LoadCursor(const char* fileName) {
  GraphicHandle graphic = LoadGraphicFor("LoadCursor()", fileName);
  if (graphic == nullptr) {
    return nullptr;
  }
  CursorHandle cursor = MakeCursor(graphic);
  if (cursor == nullptr) {
    DebugPrint("LoadCursor() Out of memory (Name=%s)\n", fileName);
    DestroyGraphic(graphic);
  }
  return cursor;
}

void DestroyCursor(CursorHandle cursor) {
  const auto found = Find(cursor);
  if (cursor == nullptr || found == Cursors().cursors.end()) {
    DebugPrint("DestroyCursor() Null pointer to the cursor specified\n");
    return;
  }
  if (Cursors().selected == cursor) {
    Cursors().selected = nullptr;
  }
  DestroyGraphic(cursor->Graphic);
  Cursors().cursors.erase(found);
}

void DestroyAllCursors() {
  while (!Cursors().cursors.empty()) {
    DestroyCursor(Cursors().cursors.back().get());
  }
  Cursors().enabled = false;
}

void SelectCursor(CursorHandle cursor) {
  // A handle that is no live cursor selects none.
  Cursors().selected =
      cursor != nullptr && Find(cursor) != Cursors().cursors.end() ? cursor : nullptr;
}

void EnableCursor() {
  if (Selected("EnableCursor()") != nullptr) {
    Cursors().enabled = true;
  }
}

void DisableCursor() {
  Cursors().enabled = false;
}

void GetCursorOffset(int32_t& x, int32_t& y) {
  x = -1;
  y = -1;
  if (const tCursor* cursor = Selected("GetCursorOffset()")) {
    x = cursor->HotSpotX;
    y = cursor->HotSpotY;
  }
}

void SetCursorOffset(int32_t x, int32_t y) {
  if (tCursor* cursor = Selected("SetCursorOffset()")) {
    cursor->HotSpotX = x;
    cursor->HotSpotY = y;
  }
}

void SetCursorPosition(int32_t x, int32_t y) {
  NoteMousePosition(x, y);
  platform::GetBackend().WarpMouse(x, y);
}

void GetCursorPosition(int32_t& x, int32_t& y) {
  if (MouseEmulation() && EmulatedCursorPosition(x, y)) {
    return;
  }
  if (RTS().windowed && !CursorAboveClient()) {
    x = -1;
    y = -1;
    return;
  }
  x = LastMouseX();
  y = LastMouseY();
}

void DrawSoftwareCursor() {
  const CursorState& state = Cursors();
  if (!state.enabled || state.selected == nullptr || state.selected->Graphic == nullptr) {
    return;
  }
  int32_t x = 0;
  int32_t y = 0;
  GetCursorPosition(x, y);
  if (x < 0 && y < 0 && RTS().windowed) {
    return;
  }
  tBlitData data = state.selected->DrawData;
  data.Left = x - state.selected->HotSpotX;
  data.Top = y - state.selected->HotSpotY;
  GraphicToGraphic(state.selected->Graphic, GetBackground(), &data);
}
