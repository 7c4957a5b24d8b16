#pragma once

#include <cstdint>

#include "base/LumoNode.h"

class LumoSequenceList;
class YGDynamicResourceController;
class YGResourceMove;

// One colour variant made on demand: its sequence list (the node's Data,
// referenced), the move, sequence index and colour it was made for, and a
// reference count; -1234 marks a node whose last reference was dropped.
class YGCachedSequence : public LumoNode {
 public:
  static constexpr int32_t kUnused = -1234;

  const char* GetClassName() const override;
  // Resets the variant's entry in its move, which deletes the list.
  void DoFree() override;
  void OnAbortReferenceTo(LumoObject* other) override;

  // Keeps (move, sequence, colour) and refers to the move and the list.
  void Bind(LumoSequenceList* list, YGResourceMove* move, int32_t sequence, int32_t colour);
  // One more user: the node goes to the end of the controller's list.
  void Reference();
  // One user less; the last one leaves the count at kUnused and the node
  // before the first unused one. More than referenced is logged and ignored.
  void Dereference();

  LumoSequenceList* Sequence() const { return reinterpret_cast<LumoSequenceList*>(Data); }
  YGDynamicResourceController* Controller() const;

  YGResourceMove* Move = nullptr;
  int32_t SequenceIndex = 0;
  int32_t Color = 0;
  int32_t Count = 0;
};
