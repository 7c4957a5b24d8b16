#include "game/YGCachedSequence.h"

#include "base/DebugFormat.h"
#include "framework/LumoSequenceList.h"
#include "game/YGDynamicResourceController.h"
#include "game/YGResourceMove.h"

const char* YGCachedSequence::GetClassName() const { return "YGCachedSequence"; }

YGDynamicResourceController* YGCachedSequence::Controller() const {
  return dynamic_cast<YGDynamicResourceController*>(parent);
}

void YGCachedSequence::Bind(LumoSequenceList* list, YGResourceMove* move, int32_t sequence, int32_t colour) {
  if (list != nullptr && AddReference(list) != nullptr) {
    Data = reinterpret_cast<uintptr_t>(list);
  }
  if (move != nullptr && AddReference(move) != nullptr) {
    Move = move;
  }
  SequenceIndex = sequence;
  Color = colour;
  Count = 0;
}

void YGCachedSequence::DoFree() {
  LumoSequenceList* list = Sequence();
  YGResourceMove* move = Move;
  // The entry is reset only while it still holds this node's list: a row
  // the move dropped or replaced belongs to someone else now.
  if (move != nullptr && list != nullptr && move->GetStoredSequence(SequenceIndex, Color) == list) {
    move->ResetSequence(SequenceIndex, Color);
  }
  if (Sequence() != nullptr) {
    RemoveReference(Sequence());
  }
  if (Move != nullptr) {
    RemoveReference(Move);
  }
  Data = 0;
  Move = nullptr;
  LumoNode::DoFree();
}

void YGCachedSequence::OnAbortReferenceTo(LumoObject* other) {
  LumoNode::OnAbortReferenceTo(other);
  if (other != nullptr && reinterpret_cast<uintptr_t>(other) == Data) {
    Data = 0;
  }
  if (other != nullptr && other == Move) {
    Move = nullptr;
  }
}

void YGCachedSequence::Reference() {
  Count = Count > 0 ? Count + 1 : 1;
  YGDynamicResourceController* controller = Controller();
  if (controller == nullptr) {
    return;
  }
  if (controller->FirstUnused == this) {
    controller->FirstUnused = dynamic_cast<YGCachedSequence*>(next);
  }
  MoveToBack();
  if (controller->FirstUnused == nullptr) {
    controller->FirstUnused = this;
  }
}

void YGCachedSequence::Dereference() {
  if (Count < 1) {
    DebugPrint("(RES) Cached sequence dereferenced more than referenced\n");
    return;
  }
  --Count;
  if (Count != 0) {
    return;
  }
  Count = kUnused;
  YGDynamicResourceController* controller = Controller();
  if (controller == nullptr) {
    return;
  }
  if (controller->FirstUnused == nullptr) {
    controller->FirstUnused = this;
  } else if (controller->FirstUnused != this) {
    MoveBefore(controller->FirstUnused);
  }
  controller->Trim();
}
