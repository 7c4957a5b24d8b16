#pragma once

#include <cstdint>

#include "base/LumoNode.h"
#include "runtime/Cursor.h"

// A mouse pointer: Data is the run-time cursor loaded from the node's name,
// drawn with its hot spot at the offset. Not stored.
class LumoMouseNode : public LumoNode {
 public:
  LumoMouseNode();

  const char* GetClassName() const override;
  // LoadCursor of the name, when the node has one (a cursor held before is
  // let go first).
  uintptr_t Load() override;
  void Unload() override;
  void DebugDumpFields() override;

  // Makes the cursor the run-time cursor with the node's hot spot; nothing
  // without a cursor.
  void Select();
  void SetOffset(uint32_t x, uint32_t y);
  void GetOffset(uint32_t& x, uint32_t& y) const;

  CursorHandle Cursor() const { return reinterpret_cast<CursorHandle>(Data); }

  uint32_t OffsetX = 0;
  uint32_t OffsetY = 0;
};
