#include "runtime/Regions.h"

#include <memory>
#include <new>
#include <unordered_set>
#include <vector>

#include "base/DebugFormat.h"
#include "runtime/DebugLevelGate.h"

namespace {

struct ListDestroyer {
  void operator()(tList* list) const { DestroyObject(list); }
};

struct RegionState {
  std::unique_ptr<tList, ListDestroyer> list;
  // The regions of the list, for a handle check that does not read through
  // a stale handle and does not walk the list: leaving a level destroys
  // every sprite's region, and a walk per handle made that quadratic. Only
  // looked up, never iterated.
  std::unordered_set<const void*> members;
  bool initialized = false;  // every region has had its first mouse move
  int32_t walkDepth = 0;
  uint32_t generation = 0;
  bool cursorKnown = false;
  int32_t cursorX = 0;
  int32_t cursorY = 0;
};

RegionState& State() {
  static RegionState state;
  return state;
}

// The list, or null after the function's "No region list" line.
tList* ListFor(const char* prefix) {
  tList* list = State().list.get();
  if (list == nullptr) {
    DebugPrint("%s No region list\n", prefix);
  }
  return list;
}

// Whether the handle is a region of the list, found without reading through
// the handle (it may be stale).
bool IsListed(RegionHandle region) {
  return region != nullptr && State().members.count(region) != 0;
}

// Deletes a region of the list.
void DeleteRegion(LumoRegion* region) {
  State().members.erase(region);
  DestroyObject(region);
}

// The first region from node on (following next, or previous when
// backwards) that is not waiting for deletion.
LumoRegion* Visible(tNode* node, bool backwards) {
  while (node != nullptr && static_cast<LumoRegion*>(node)->PendingDeletion) {
    node = backwards ? node->previous : node->next;
  }
  return static_cast<LumoRegion*>(node);
}

void LogRegionDestroyed(const LumoRegion& region) {
  if (DebugLevelAtLeast(3)) {
    DebugPrint(
        "DestroyRegion() Region destroyed (Region=%p, Left=%i, Top=%i, Width=%i, Height=%i)\n",
        static_cast<const void*>(&region), region.Left, region.Top, region.Width, region.Height);
  }
}

void DeletePendingRegions() {
  tList* list = State().list.get();
  if (list == nullptr) {
    return;
  }
  std::vector<LumoRegion*> pending;
  for (tNode* node = list->first; node != nullptr; node = node->next) {
    if (static_cast<LumoRegion*>(node)->PendingDeletion) {
      pending.push_back(static_cast<LumoRegion*>(node));
    }
  }
  for (LumoRegion* region : pending) {
    DeleteRegion(region);
  }
}

bool CursorInside(const LumoRegion& region) {
  const RegionState& state = State();
  return !state.cursorKnown || RegionContains(region, state.cursorX, state.cursorY);
}

}  // namespace

LumoRegion::~LumoRegion() = default;

// ---- The list ----

bool CreateRegionList() {
  RegionState& state = State();
  if (state.list) {
    return true;
  }
  state.list.reset(new (std::nothrow) tList);
  if (!state.list) {
    DebugPrint("Not enough memory to create region list\n");
    return false;
  }
  state.initialized = false;
  ++state.generation;
  DebugPrint("Region list created\n");
  return true;
}

void DeleteRegionList() {
  RegionState& state = State();
  if (!state.list) {
    return;
  }
  state.list.reset();
  state.members.clear();
  state.walkDepth = 0;
  // What the input of this list knew of the mouse goes with it: a later
  // list must not take a position from a window that is gone for the
  // cursor's (regions moved under it would be entered).
  state.cursorKnown = false;
  state.initialized = false;
  ++state.generation;
  DebugPrint("Region list deleted\n");
}

bool RegionListExists() {
  return State().list != nullptr;
}

uint32_t RegionListGeneration() {
  return State().generation;
}

int32_t RegionCount() {
  return State().list ? State().list->count : 0;
}

bool RegionsInitialized() {
  return State().initialized;
}

void SetRegionsInitialized(bool initialized) {
  State().initialized = initialized;
}

bool RegionContains(const LumoRegion& region, int32_t x, int32_t y) {
  return x >= region.Left && y >= region.Top && int64_t{x} < int64_t{region.Left} + region.Width &&
         int64_t{y} < int64_t{region.Top} + region.Height;
}

void SetRegionCursor(int32_t x, int32_t y) {
  RegionState& state = State();
  state.cursorKnown = true;
  state.cursorX = x;
  state.cursorY = y;
}

void ForgetRegionCursor() {
  State().cursorKnown = false;
}

tRegionWalk::tRegionWalk() {
  ++State().walkDepth;
}

tRegionWalk::~tRegionWalk() {
  RegionState& state = State();
  if (state.walkDepth > 0 && --state.walkDepth == 0) {
    DeletePendingRegions();
  }
}

// ---- Regions ----

RegionHandle CreateRegion(void* userValue, int32_t left, int32_t top, int32_t width,
                          int32_t height) {
  tList* list = ListFor("CreateRegion()");
  if (list == nullptr) {
    return nullptr;
  }
  LumoRegion* region = new (std::nothrow) LumoRegion;
  if (region == nullptr) {
    DebugPrint("CreateRegion() Out of memory\n");
    return nullptr;
  }
  region->UserValue = userValue;
  region->Left = left;
  region->Top = top;
  region->Width = width;
  region->Height = height;
  State().members.insert(region);
  list->Append(region);
  State().initialized = false;
  if (DebugLevelAtLeast(3)) {
    DebugPrint("CreateRegion() Region created (Region=%p)\n", static_cast<void*>(region));
  }
  return region;
}

void DestroyRegion(RegionHandle region) {
  tList* list = ListFor("DestroyRegion()");
  if (list == nullptr) {
    return;
  }
  if (region == nullptr) {
    DebugPrint("DestroyRegion() Null pointer to the region specified\n");
    return;
  }
  // A handle that is no region of the list (destroyed twice, or never made)
  // would free memory that is not ours: it is refused.
  if (!IsListed(region) || RegionOf(region)->PendingDeletion) {
    DebugPrint("DestroyRegion() Unknown region specified (Region=%p)\n", region);
    return;
  }
  LogRegionDestroyed(*RegionOf(region));
  if (State().walkDepth > 0) {
    RegionOf(region)->PendingDeletion = true;
    return;
  }
  DeleteRegion(RegionOf(region));
}

void MoveRegion(RegionHandle region, int32_t left, int32_t top, int32_t width, int32_t height) {
  if (ListFor("MoveRegion()") == nullptr) {
    return;
  }
  if (region == nullptr) {
    DebugPrint("MoveRegion() Null pointer to the region specified\n");
    return;
  }
  LumoRegion& moved = *RegionOf(region);
  moved.Left = left;
  moved.Top = top;
  moved.Width = width;
  moved.Height = height;
  if (CursorInside(moved) != (moved.MouseInside != 0)) {
    moved.Initialized = 0;
    State().initialized = false;
  }
}

RegionHandle MoveRegionBefore(RegionHandle reference, RegionHandle region) {
  tList* list = ListFor("MoveRegionBefore()");
  // A node moved next to a reference outside the list would be unlinked and
  // lost, so both must be regions of the list.
  if (list != nullptr && region != nullptr && region != reference && IsListed(reference) &&
      IsListed(region)) {
    list->MoveBefore(RegionOf(reference), RegionOf(region));
  }
  return nullptr;
}

RegionHandle MoveRegionAfter(RegionHandle reference, RegionHandle region) {
  tList* list = ListFor("MoveRegionAfter()");
  if (list != nullptr && region != nullptr && region != reference && IsListed(reference) &&
      IsListed(region)) {
    list->MoveAfter(RegionOf(reference), RegionOf(region));
  }
  return nullptr;
}

void OrderRegion(RegionHandle region) {
  tList* list = ListFor("OrderRegion()");
  if (list == nullptr || region == nullptr || !IsListed(region)) {
    return;
  }
  list->Append(list->Remove(RegionOf(region)));
}

RegionHandle FirstRegion() {
  tList* list = ListFor("FirstRegion()");
  return list == nullptr ? nullptr : Visible(list->first, false);
}

RegionHandle LastRegion() {
  tList* list = ListFor("LastRegion()");
  return list == nullptr ? nullptr : Visible(list->last, true);
}

RegionHandle NextRegion(RegionHandle region) {
  if (ListFor("NextRegion()") == nullptr || region == nullptr) {
    return nullptr;
  }
  return Visible(RegionOf(region)->next, false);
}

RegionHandle PreviousRegion(RegionHandle region) {
  if (ListFor("PreviousRegion()") == nullptr || region == nullptr) {
    return nullptr;
  }
  return Visible(RegionOf(region)->previous, true);
}

void* CompareRegion(RegionHandle a, RegionHandle b) {
  if (ListFor("CompareRegion()") == nullptr || a == nullptr || b == nullptr) {
    return nullptr;
  }
  const LumoRegion& first = *RegionOf(a);
  const LumoRegion& second = *RegionOf(b);
  // Edges are exclusive: regions that only touch do not overlap.
  const bool apart = int64_t{second.Left} >= int64_t{first.Left} + first.Width ||
                     int64_t{first.Left} >= int64_t{second.Left} + second.Width ||
                     int64_t{second.Top} >= int64_t{first.Top} + first.Height ||
                     int64_t{first.Top} >= int64_t{second.Top} + second.Height;
  return apart ? nullptr : first.UserValue;
}

void GetRegionBounds(RegionHandle region, int32_t& left, int32_t& top, int32_t& width,
                     int32_t& height) {
  left = 0;
  top = 0;
  width = 0;
  height = 0;
  if (ListFor("GetRegionBounds()") == nullptr) {
    return;
  }
  if (region == nullptr) {
    DebugPrint("GetRegionBounds() Null pointer to the region specified\n");
    return;
  }
  const LumoRegion& bounds = *RegionOf(region);
  left = bounds.Left;
  top = bounds.Top;
  width = bounds.Width;
  height = bounds.Height;
}
