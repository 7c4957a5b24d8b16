// The sprite's input events and its drag-and-drop protocol.
#include <new>

#include "framework/LumoCell.h"
#include "framework/LumoEngine.h"
#include "framework/LumoLevel.h"
#include "framework/LumoSprite.h"
#include "runtime/Cursor.h"

// Each event runs its Do hook, then its On hook, both always; a fault in
// either is reported under the event's name and passed on.
#define LUMO_SPRITE_EVENT(Name)                                                                  \
  bool LumoSprite::Name(tInputEvent* event) {                                                   \
    const bool done = SpriteGuarded(#Name, "Do" #Name, [&] { return Do##Name(event); });       \
    const bool also = SpriteGuarded(#Name, "On" #Name, [&] { return On##Name(event); });       \
    return done || also;                                                                         \
  }                                                                                              \
  bool LumoSprite::Do##Name(tInputEvent*) { return DefaultInputResult; }                         \
  bool LumoSprite::On##Name(tInputEvent*) { return false; }

LUMO_SPRITE_EVENTS(LUMO_SPRITE_EVENT)
#undef LUMO_SPRITE_EVENT

// ---- Drag and drop ----

void LumoSprite::DoDragging(int32_t, int32_t) {}
bool LumoSprite::CanDrag(int32_t, int32_t) { return true; }
void LumoSprite::DoDrag() {}
LumoSprite* LumoSprite::CanDrop() { return DropTarget; }
void LumoSprite::DoDrop() {}
void LumoSprite::SetDragging(bool on) { Dragging = on; }
void LumoSprite::DoCatch(LumoSprite*) {}
void LumoSprite::OnDrag() {}
void LumoSprite::OnDragging(int32_t, int32_t) {}
void LumoSprite::OnAbortDrop() {}
void LumoSprite::OnDrop() {}
void LumoSprite::OnCatch(LumoSprite*) {}

void LumoSprite::Drag(int32_t x, int32_t y) {
  GrabOffsetX = static_cast<int32_t>(static_cast<uint32_t>(ScreenToCellX(x)) - static_cast<uint32_t>(Left));
  GrabOffsetY = static_cast<int32_t>(static_cast<uint32_t>(ScreenToCellY(y)) - static_cast<uint32_t>(Top));
  try {
    SetDragging(SpriteGuarded("Drag", "CanDrag", [&] { return CanDrag(x, y); }));
    if (Dragging) {
      SpriteGuarded("Drag", "DoStartDrag", [&] { DoStartDrag(); });
      SpriteGuarded("Drag", "DoDrag", [&] { DoDrag(); });
      SpriteGuarded("Drag", "OnDrag", [&] { OnDrag(); });
    }
  } catch (...) {
    Dragging = false;
    throw;
  }
}

void LumoSprite::DragTo() {
  int32_t x = 0;
  int32_t y = 0;
  GetCursorPosition(x, y);
  GrabOffsetX = 0;
  GrabOffsetY = 0;
  try {
    SetDragging(SpriteGuarded("Drag", "CanDrag", [&] { return CanDrag(x, y); }));
    if (Dragging) {
      SpriteGuarded("Drag", "DoStartDrag", [&] { DoStartDrag(); });
      SpriteGuarded("Drag", "DoDrag", [&] { DoDrag(); });
    }
  } catch (...) {
    Dragging = false;
    throw;
  }
  if (Dragging) {
    SetPosition(ScreenToCellX(x), ScreenToCellY(y));
  }
}

void LumoSprite::Drop() {
  if (!Dragging) {
    return;
  }
  LumoSprite* target = nullptr;
  try {
    target = SpriteGuarded("Drop", "CanDrop", [&] { return CanDrop(); });
  } catch (...) {
    Dragging = false;
    throw;
  }
  SetDragging(false);
  if (target == nullptr) {
    SpriteGuarded("Drop", "DoAbortDrop", [&] { DoAbortDrop(); });
    SpriteGuarded("Drop", "OnAbortDrop", [&] { OnAbortDrop(); });
  } else {
    SpriteGuarded("Drop", "DoEndDrag", [&] { DoEndDrag(target); });
    SpriteGuarded("Drop", "DoDrop", [&] { DoDrop(); });
    SpriteGuarded("Drop", "OnDrop", [&] { OnDrop(); });
    SpriteGuarded("Drop", "DoCatch", [&] { target->DoCatch(this); });
    SpriteGuarded("Drop", "OnCatch", [&] { target->OnCatch(this); });
  }
  Keep(SavedCell, static_cast<LumoCell*>(nullptr));
}

namespace {

// Whether the node is a sprite attached to the sprite, directly or through
// other attached sprites.
bool IsCarriedBy(const LumoNode* node, const LumoSprite* sprite) {
  for (const auto* part = dynamic_cast<const LumoSprite*>(node); part != nullptr && part->OwnerBody != nullptr;) {
    part = part->OwnerBody->Sprite;
    if (part == sprite) {
      return true;
    }
  }
  return false;
}

}  // namespace

void LumoSprite::DoStartDrag() {
  LumoCell* cell = Cell();
  SavedLeft = Left;
  SavedTop = Top;
  // The place to come back to is before the first sibling that stays: the
  // attached sprites that follow the sprite go into the drag cell with it.
  LumoNode* neighbour = next;
  while (neighbour != nullptr && IsCarriedBy(neighbour, this)) {
    neighbour = neighbour->next;
  }
  Keep(SavedNeighbour, neighbour);
  Keep(SavedCell, cell);
  auto* level = cell != nullptr ? dynamic_cast<LumoList*>(cell->parent) : nullptr;
  if (level == nullptr) {
    return;
  }
  auto* dragCell = new (std::nothrow) LumoCell;
  if (dragCell == nullptr) {
    return;
  }
  if (level->Append(dragCell) == nullptr) {
    DestroyObject(dragCell);
    return;
  }
  dragCell->SetViewport(0, 0, Engine != nullptr ? Engine->ScreenWidth : 0, Engine != nullptr ? Engine->ScreenHeight : 0);
  Keep(DragCell, dragCell);
  MoveToCell(dragCell);
  dragCell->StartAnimation();
}

// The drag cell goes to the engine's deferred disposal: it is freed after
// the frame.
void LumoSprite::DisposeDragCell() {
  LumoCell* dragCell = DragCell;
  Keep(DragCell, static_cast<LumoCell*>(nullptr));
  if (dragCell != nullptr && Engine != nullptr) {
    Engine->DisposeObject(dragCell);
  }
}

void LumoSprite::DoAbortDrop() {
  // Without the saved cell (freed during the drag) the sprite stays in the
  // drag cell, which is then kept.
  if (SavedCell != nullptr) {
    MoveToCell(SavedCell);
    Keep(SavedCell, static_cast<LumoCell*>(nullptr));
    DisposeDragCell();
    if (SavedNeighbour != nullptr && SavedNeighbour->parent == parent) {
      MoveBefore(SavedNeighbour);
    }
  }
  Keep(SavedNeighbour, static_cast<LumoNode*>(nullptr));
  SetPosition(SavedLeft, SavedTop);
}

void LumoSprite::DoEndDrag(LumoSprite* target) {
  if (auto* cell = target != nullptr ? target->Cell() : nullptr) {
    MoveToCell(cell);
  }
  // A target outside any cell leaves the sprite in the drag cell, which is
  // then kept: disposing of it would free the sprite with it.
  if (DragCell == nullptr || Cell() != DragCell) {
    DisposeDragCell();
  }
  Keep(SavedNeighbour, static_cast<LumoNode*>(nullptr));
}
