#include "framework/LumoMouseNode.h"

#include "base/DebugFormat.h"

LumoMouseNode::LumoMouseNode() = default;

const char* LumoMouseNode::GetClassName() const { return "LumoMouseNode"; }

uintptr_t LumoMouseNode::Load() {
  Reset();
  if (Name != nullptr) {
    SetData(reinterpret_cast<uintptr_t>(LoadCursor(Name)));
  }
  return Data;
}

void LumoMouseNode::Unload() {
  if (Data != 0) {
    DestroyCursor(Cursor());
  }
  SetData(0);
}

void LumoMouseNode::DebugDumpFields() {
  LumoNode::DebugDumpFields();
  DebugPrint(", OffsetX=%u, OffsetY=%u", OffsetX, OffsetY);
}

void LumoMouseNode::Select() {
  if (Data == 0) {
    return;
  }
  SelectCursor(Cursor());
  SetCursorOffset(static_cast<int32_t>(OffsetX), static_cast<int32_t>(OffsetY));
}

void LumoMouseNode::SetOffset(uint32_t x, uint32_t y) {
  OffsetX = x;
  OffsetY = y;
}

void LumoMouseNode::GetOffset(uint32_t& x, uint32_t& y) const {
  x = OffsetX;
  y = OffsetY;
}
