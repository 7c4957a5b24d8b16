#include <cstddef>
#include <cstdint>

#include "platform/Clock.h"
#include "runtime/DisplaySeams.h"
#include "runtime/Input.h"
#include "runtime/RTSState.h"
#include "runtime/RegionSnapshot.h"
#include "runtime/Regions.h"

// The mouse dispatch: button presses and releases, clicks and double clicks
// made from them, and the leave, enter and move passes of a mouse move.

namespace {

using Order = tRegionSnapshot::Order;

tInputEvent MouseEvent(int32_t button, uint32_t flags, int32_t x, int32_t y) {
  tInputEvent event;
  event.Code = button;
  event.Flags = flags;
  event.X = x;
  event.Y = y;
  return event;
}

bool HoldsCursor(const LumoRegion& region, int32_t x, int32_t y) {
  return region.MouseInside != 0 && RegionContains(region, x, y);
}

void ForgetPresses(LumoRegion& region) {
  region.LastButton = 0;
  region.PreviousButton = 0;
  region.LastPressTime = 0;
  region.PreviousPressTime = 0;
}

void NotePress(LumoRegion& region, int32_t button, uint32_t now) {
  region.PreviousButton = region.LastButton;
  region.PreviousPressTime = region.LastPressTime;
  region.LastButton = button;
  region.LastPressTime = now;
}

// The earlier of the region's two presses was this button, at most the
// double-click time before now (the wrapping clock subtracts safely).
bool MakesDoubleClick(const LumoRegion& region, int32_t button, uint32_t now) {
  return region.PreviousButton == button &&
         now - region.PreviousPressTime <= DoubleClickMilliseconds;
}

// Leave for the region when it lost the cursor, enter when it gained it.
void UpdateInside(LumoRegion& region, const tInputEvent& event, bool leaving) {
  const bool contains = RegionContains(region, event.X, event.Y);
  if (leaving && !contains && region.MouseInside != 0) {
    region.MouseInside = 0;
    CallRegion(tInputKind::MouseLeave, event, region);
  } else if (!leaving && contains && region.MouseInside == 0) {
    region.MouseInside = 1;
    CallRegion(tInputKind::MouseEnter, event, region);
  }
}

void InsidePass(const tInputEvent& event, bool leaving) {
  const tRegionSnapshot regions(Order::BottomUp);
  for (size_t index = 0; index < regions.Size() && !regions.ListGone(); ++index) {
    if (LumoRegion* region = regions.Live(index)) {
      UpdateInside(*region, event, leaving);
    }
  }
}

}  // namespace

bool DispatchButtonDown(int32_t button, uint32_t flags, int32_t x, int32_t y) {
  const uint32_t now = platform::UpTimeMilliseconds();
  const tInputEvent event = MouseEvent(button, flags, x, y);
  const tRegionSnapshot regions(Order::TopDown);
  bool handled = false;
  for (size_t index = 0; index < regions.Size() && !regions.ListGone(); ++index) {
    LumoRegion* region = regions.Live(index);
    if (region == nullptr) {
      continue;
    }
    // Regions the press did not reach (it was handled above them, or the
    // cursor is elsewhere) forget their presses, so a later release cannot
    // make a click of a press they never had.
    if (handled || !RegionContains(*region, x, y)) {
      ForgetPresses(*region);
      continue;
    }
    if (region->MouseInside == 0) {
      continue;
    }
    NotePress(*region, button, now);
    handled = CallRegion(tInputKind::ButtonDown, event, *region);
  }
  return handled;
}

bool DispatchButtonUp(int32_t button, uint32_t flags, int32_t x, int32_t y) {
  const tInputEvent event = MouseEvent(button, flags, x, y);
  const bool handled = DeliverToRegions(tInputKind::ButtonUp, event);
  // Clicks follow whether or not the release was handled.
  const uint32_t now = platform::UpTimeMilliseconds();
  const tRegionSnapshot regions(Order::TopDown);
  for (size_t index = 0; index < regions.Size() && !regions.ListGone(); ++index) {
    const LumoRegion* region = regions.Live(index);
    if (region == nullptr || !HoldsCursor(*region, x, y) || region->LastButton != button) {
      continue;
    }
    if (MakesDoubleClick(*region, button, now) &&
        CallRegion(tInputKind::DoubleClick, event, *region)) {
      return true;
    }
    // The double click's callback may have destroyed the region.
    region = regions.Live(index);
    if (region != nullptr && CallRegion(tInputKind::Click, event, *region)) {
      return true;
    }
  }
  return handled;
}

bool DispatchMouseMove(int32_t x, int32_t y, uint32_t flags) {
  NoteMousePosition(x, y);
  SetRegionCursor(x, y);
  if (!RegionListExists()) {
    return false;
  }
  const tInputEvent event = MouseEvent(0, flags, x, y);
  InsidePass(event, true);
  InsidePass(event, false);
  const tRegionSnapshot regions(Order::TopDown);
  for (size_t index = 0; index < regions.Size() && !regions.ListGone(); ++index) {
    const LumoRegion* region = regions.Live(index);
    if (region != nullptr && HoldsCursor(*region, x, y) &&
        CallRegion(tInputKind::MouseMove, event, *region)) {
      return true;
    }
  }
  return false;
}

// New regions, and regions moved across the cursor, learn where the cursor
// is: each gets the leave or enter it is owed and a move, as a mouse move at
// the cursor would give it.
void InitializeRegionsAtCursor() {
  if (!RegionListExists() || RegionsInitialized()) {
    return;
  }
  SetRegionsInitialized(true);
  int32_t x = LastMouseX();
  int32_t y = LastMouseY();
  if (RTS().windowed && !CursorAboveClient()) {
    x = 0;
    y = 0;
  }
  const tInputEvent event = MouseEvent(0, 0, x, y);
  const tRegionSnapshot regions(Order::BottomUp);
  for (size_t index = 0; index < regions.Size() && !regions.ListGone(); ++index) {
    LumoRegion* region = regions.Live(index);
    if (region == nullptr || region->Initialized != 0) {
      continue;
    }
    region->Initialized = 1;
    UpdateInside(*region, event, true);
    UpdateInside(*region, event, false);
    region = regions.Live(index);
    if (region != nullptr && HoldsCursor(*region, x, y)) {
      CallRegion(tInputKind::MouseMove, event, *region);
    }
  }
}
