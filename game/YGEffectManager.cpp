#include "game/YGEffectManager.h"

#include <cstdio>
#include <memory>
#include <new>

#include "base/DebugFormat.h"
#include "framework/LumoCell.h"
#include "framework/LumoEngine.h"
#include "framework/LumoGraphicList.h"
#include "framework/LumoGraphicNode.h"
#include "framework/LumoLevel.h"
#include "framework/LumoSequenceList.h"
#include "framework/LumoSequenceNode.h"
#include "game/YGEffect.h"
#include "game/YGEffectBigBomb.h"
#include "game/YGEffectCrackSafe.h"
#include "game/YGEffectFirework.h"
#include "game/YGEffectGasExplosion.h"
#include "game/YGEffectGrenade.h"
#include "game/YGEffectMolotov.h"
#include "game/YGEffectTearGas.h"

YGEffectManager* EffectManager = nullptr;
int32_t EffectRate = 24;

namespace {

constexpr int32_t kDefaultRate = 24;

// One frame of a shared sequence: the graphic's name and the frame's
// duration in frames.
struct FrameRecipe {
  char name[32];
  uint32_t duration;
};

// The frames of one row of the shared sequences, in order.
int32_t FramesOfRow(int32_t row, FrameRecipe (&frames)[16]) {
  int32_t count = 0;
  const auto add = [&](uint32_t duration, const char* format, int32_t size, int32_t frame) {
    std::snprintf(frames[count].name, sizeof frames[count].name, format, size, frame);
    frames[count].duration = duration;
    ++count;
  };
  if (row <= 2) {
    // Three sizes of explosion: a slow flash, then a quick fade.
    for (int32_t frame = 0; frame < 10; ++frame) {
      add(frame < 4 ? 3 : 1, "explo%d00%02d", row + 1, frame);
    }
  } else if (row <= 6) {
    // Four tear-gas puffs that linger on their middle pictures.
    static constexpr int32_t kOrder[] = {0, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 5, 6};
    for (int32_t frame : kOrder) {
      add(10, "teargas%d00%02d", row - 2, frame);
    }
  } else {
    // The burst of a grenade or safe: a quick flash, then slow smoke.
    for (int32_t frame = 0; frame < 7; ++frame) {
      add(frame < 4 ? 1 : 10, "explo%d00%02d", 4, frame);
    }
  }
  return count;
}

}  // namespace

YGEffectManager::YGEffectManager(LumoCell* layer, int32_t rate) {
  if (EffectManager != nullptr) {
    DebugPrint("(INT) An effect manager exists already; the new one makes no effects\n");
    return;
  }
  Layer = layer;
  if (rate >= 1) {
    EffectRate = rate;
  } else {
    // A rate of 0 would divide by zero, a negative one turn gravity round.
    DebugPrint("(INT) Effect rate %i refused, %i kept\n", rate, kDefaultRate);
    EffectRate = kDefaultRate;
  }
  EffectManager = this;
  BuildSequences();
}

YGEffectManager::~YGEffectManager() {
  // Deleted without DestroyObject: end what Free would have ended.
  DeleteAll();
  ReleaseSequences();
  if (EffectManager == this) {
    EffectManager = nullptr;
  }
}

const char* YGEffectManager::GetClassName() const { return "YGEffectManager"; }

void YGEffectManager::Free() {
  tList::Free();
  ReleaseSequences();
}

void YGEffectManager::DeleteAll() {
  while (first != nullptr) {
    EndEffect(first);
  }
}

void YGEffectManager::OnEffectEnd(YGEffect*) {}

void YGEffectManager::BuildSequences() {
  LumoGraphicList* graphics =
      Engine != nullptr && Engine->Level != nullptr ? Engine->Level->GraphicList.get() : nullptr;
  if (graphics == nullptr) {
    DebugPrint("(INT) The effect sequences have no graphic list to take their frames from\n");
    return;
  }
  graphics->SetAllowStored(true);
  for (LumoSequenceList*& sequence : EffectSequences) {
    sequence = new (std::nothrow) LumoSequenceList;
  }
  // The frames are plain graphics of the level, never stored graphic nodes.
  graphics->SetAllowStored(false);
  for (int32_t row = 0; row < kSequenceCount; ++row) {
    LumoSequenceList* sequence = EffectSequences[row];
    if (sequence == nullptr) {
      continue;
    }
    FrameRecipe frames[16];
    const int32_t count = FramesOfRow(row, frames);
    for (int32_t index = 0; index < count; ++index) {
      LumoGraphicNode* graphic = graphics->ProvideGraphic(frames[index].name);
      LumoSequenceNode* frame = sequence->AppendFrame(graphic, 0, 0, 1);
      if (frame == nullptr) {
        DebugPrint("(INT) Effect frame %s could not be made\n", frames[index].name);
        continue;
      }
      graphic->SetTransparent();
      frame->SetDuration(frames[index].duration);
    }
  }
}

void YGEffectManager::ReleaseSequences() {
  for (LumoSequenceList*& sequence : EffectSequences) {
    if (sequence != nullptr) {
      DestroyObject(sequence);
      sequence = nullptr;
    }
  }
}

LumoSequenceList* YGEffectManager::Sequence(int32_t index) const {
  if (index < 0 || index >= kSequenceCount) {
    return nullptr;
  }
  return EffectSequences[index];
}

YGEffect* YGEffectManager::CreateEffect(int32_t code, int32_t x, int32_t y) {
  if (EffectManager != this) {
    return nullptr;
  }
  std::unique_ptr<YGEffect, tObjectDestroyer> effect;
  switch (code) {
    case 1: effect.reset(new (std::nothrow) YGEffectTearGas); break;
    case 3: effect.reset(new (std::nothrow) YGEffectFirework); break;
    case 4: effect.reset(new (std::nothrow) YGEffectMolotov); break;
    case 5: effect.reset(new (std::nothrow) YGEffectGrenade); break;
    case 6: effect.reset(new (std::nothrow) YGEffectBigBomb); break;
    case 8: effect.reset(new (std::nothrow) YGEffectCrackSafe); break;
    case 9: effect.reset(new (std::nothrow) YGEffectGasExplosion); break;
    default: return nullptr;
  }
  auto entry = std::make_unique<tDataNode>();
  if (effect == nullptr) {
    return nullptr;
  }
  effect->Spawn(Layer);
  effect->OriginX = x;
  effect->OriginY = y;
  entry->SetData(reinterpret_cast<uintptr_t>(effect.get()));
  Append(entry.release());
  return effect.release();
}

void YGEffectManager::EndEffect(tNode* entry) {
  auto* effect = reinterpret_cast<YGEffect*>(static_cast<tDataNode*>(entry)->data);
  if (effect != nullptr) {
    OnEffectEnd(effect);
    effect->CleanUp();
    DestroyObject(effect);
  }
  Remove(entry);
  DestroyObject(entry);
}

bool YGEffectManager::Step() {
  tNode* entry = first;
  while (entry != nullptr) {
    // Taken first: ending this effect unlinks its entry.
    tNode* following = entry->next;
    auto* effect = reinterpret_cast<YGEffect*>(static_cast<tDataNode*>(entry)->data);
    if (effect == nullptr || !effect->Step()) {
      EndEffect(entry);
    }
    entry = following;
  }
  return true;
}
