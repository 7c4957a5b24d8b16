#include "framework/LumoCommandList.h"

#include <new>
#include <utility>

#include "base/DebugFormat.h"
#include "framework/LumoCommandNode.h"
#include "framework/LumoEngine.h"

LumoCommandList::LumoCommandList() = default;

const char* LumoCommandList::GetClassName() const { return "LumoCommandList"; }

LumoNode* LumoCommandList::CreateItem() { return new (std::nothrow) LumoCommandNode; }

bool LumoCommandList::DoRegisterObject(LumoObject* object) {
  if (dynamic_cast<LumoCommandNode*>(object) == nullptr) {
    DebugPrint("LumoCommandList::DoRegisterObject() The item is not a command node (Item=%p:%s, List=%p:%s)\n",
               DebugAddress(object), DebugClassName(object), DebugAddress(this), DebugClassName(this));
    return false;
  }
  return LumoList::DoRegisterObject(object);
}

void LumoCommandList::DoDetach(LumoNode* item) {
  LumoList::DoDetach(item);
  if (item != nullptr && item == Current) {
    Current = static_cast<LumoCommandNode*>(item->next);
  }
  if (item != nullptr && item == Running) {
    Running = nullptr;
  }
}

void LumoCommandList::DebugDumpFields() {
  LumoList::DebugDumpFields();
  DebugPrint(", Current=%p, DisposeExecuted=%u", static_cast<const void*>(Current),
             static_cast<unsigned>(DisposeExecuted));
}

LumoCommandNode* LumoCommandList::SetCurrent(LumoCommandNode* node) {
  if (node == nullptr || node->parent == this) {
    Current = node;
  }
  return Current;
}

bool LumoCommandList::SetDisposeExecuted(bool flag) {
  DisposeExecuted = flag ? 1 : 0;
  return flag;
}

LumoCommandNode* LumoCommandList::InsertByFrame(uint32_t frame, LumoCommandNode* node) {
  if (node == nullptr || node->parent != nullptr) {
    return nullptr;
  }
  LumoNode* marker = last;
  while (marker != nullptr && static_cast<LumoCommandNode*>(marker)->Frame > frame) {
    marker = marker->previous;
  }
  LumoNode* inserted = marker != nullptr ? InsertAfter(marker, node) : InsertAt(0, node);
  return inserted != nullptr ? node : nullptr;
}

LumoCommandNode* LumoCommandList::InsertAtFrame(uint32_t frame, LumoCommandNode* node) {
  if (InsertByFrame(frame, node) == nullptr) {
    return nullptr;
  }
  node->DefineUser(frame);
  return node;
}

template <typename Define>
LumoCommandNode* LumoCommandList::Add(uint32_t frame, Define&& define) {
  LumoNode* item = CreateItem();
  auto* node = dynamic_cast<LumoCommandNode*>(item);
  if (node == nullptr) {
    if (item != nullptr) {
      DestroyObject(item);
    }
    return nullptr;
  }
  if (InsertByFrame(frame, node) == nullptr) {
    DestroyObject(node);
    return nullptr;
  }
  std::forward<Define>(define)(node);
  return node;
}

LumoCommandNode* LumoCommandList::AddUser(uint32_t frame) {
  return Add(frame, [&](LumoCommandNode* node) { node->DefineUser(frame); });
}

LumoCommandNode* LumoCommandList::AddTerminate(uint32_t frame) {
  return Add(frame, [&](LumoCommandNode* node) { node->DefineTerminate(frame); });
}

LumoCommandNode* LumoCommandList::AddSequence(uint32_t frame, LumoSequenceList* sequence) {
  return Add(frame, [&](LumoCommandNode* node) { node->DefineSequence(frame, sequence); });
}

LumoCommandNode* LumoCommandList::AddSprite(uint32_t frame, LumoSprite* sprite, int32_t repeats) {
  return Add(frame, [&](LumoCommandNode* node) { node->DefineSprite(frame, sprite, repeats); });
}

LumoCommandNode* LumoCommandList::AddMotion(uint32_t frame, LumoSprite* sprite, int32_t horizontal, int32_t vertical,
                                            int32_t duration) {
  return Add(frame,
             [&](LumoCommandNode* node) { node->DefineMotion(frame, sprite, horizontal, vertical, duration); });
}

LumoCommandNode* LumoCommandList::AddSound(uint32_t frame, int32_t command, LumoSoundNode* sound,
                                           LumoSprite* sprite) {
  // A sound command without a sound node is never defined: no node is made
  // for one, so no empty command of that frame is left behind.
  if (sound == nullptr) {
    return nullptr;
  }
  return Add(frame, [&](LumoCommandNode* node) { node->DefineSound(frame, command, sound, sprite); });
}

LumoCommandNode* LumoCommandList::AddPrint(uint32_t frame, LumoCell* cell) {
  if (Engine != nullptr && Engine->CommandsLocked) {
    return nullptr;
  }
  return Add(frame, [&](LumoCommandNode* node) { node->DefinePrint(frame, cell); });
}

LumoCommandNode* LumoCommandList::FindByFrame(uint32_t frame) const {
  for (LumoNode* item = first; item != nullptr; item = item->next) {
    if (static_cast<LumoCommandNode*>(item)->Frame == frame) {
      return static_cast<LumoCommandNode*>(item);
    }
  }
  return nullptr;
}

LumoCommandNode* LumoCommandList::FindLastByFrame(uint32_t frame) const {
  for (LumoNode* item = last; item != nullptr; item = item->previous) {
    if (static_cast<LumoCommandNode*>(item)->Frame == frame) {
      return static_cast<LumoCommandNode*>(item);
    }
  }
  return nullptr;
}

void LumoCommandList::Dispose(LumoCommandNode* node) {
  if (node->parent != this) {
    return;
  }
  if (Engine != nullptr) {
    Engine->DisposeObject(node);
  } else {
    DestroyObject(node);
  }
}

void LumoCommandList::Check(uint32_t frameCounter) {
  if (first == nullptr) {
    return;
  }
  const auto movedBack = [&](LumoNode* node) {
    while (node->previous != nullptr && static_cast<LumoCommandNode*>(node->previous)->Frame >= frameCounter) {
      node = node->previous;
    }
    return static_cast<LumoCommandNode*>(node);
  };
  RunGuarded(
      [&] {
        if (Current != nullptr) {
          Current = movedBack(Current);
        } else if (DisposeExecuted == 0) {
          // A list whose last command ran stays exhausted while the
          // counter is past its last node; it does not run that command
          // again at every check.
          if (static_cast<LumoCommandNode*>(last)->Frame >= frameCounter) {
            Current = movedBack(last);
          }
        } else {
          Current = static_cast<LumoCommandNode*>(first);
        }
      },
      [&] {
        DebugPrint(
            "LumoCommandList::Check() Unhandled exception during command node validation (FrameCounter=%i)\n",
            static_cast<int>(frameCounter));
      });
  RunGuarded(
      [&] {
        while (Current != nullptr) {
          LumoCommandNode* node = Current;
          Running = node;
          const bool ran = node->Execute(frameCounter);
          const bool kept = Running == node;
          Running = nullptr;
          if (!ran) {
            break;
          }
          // A command that took itself out (or ended the script) has
          // already handed over, and may be gone: it is not touched again.
          if (!kept) {
            continue;
          }
          if (Current == node) {
            Current = static_cast<LumoCommandNode*>(node->next);
          }
          if (DisposeExecuted != 0) {
            Dispose(node);
          }
        }
      },
      [&] {
        Running = nullptr;
        DebugPrint("LumoCommandList::Check() Unhandled exception during command node checking (FrameCounter=%i)\n",
                   static_cast<int>(frameCounter));
      });
}
