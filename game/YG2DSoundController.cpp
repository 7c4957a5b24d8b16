#include "game/YG2DSoundController.h"

#include <new>
#include <vector>

#include "framework/LumoEngine.h"
#include "game/YG2DSoundNode.h"

YG2DSoundController::YG2DSoundController() = default;

const char* YG2DSoundController::GetClassName() const { return "YG2DSoundController"; }

LumoNode* YG2DSoundController::CreateItem() { return new (std::nothrow) YG2DSoundNode; }

void YG2DSoundController::SetListener(int32_t x, int32_t y) {
  ListenerX = x;
  ListenerY = y;
  VisitItems([&](LumoNode* item) {
    auto* node = dynamic_cast<YG2DSoundNode*>(item);
    if (node != nullptr && node->IsPlaying()) {
      node->ApplyPosition(ListenerX, ListenerY, EffectsScale);
    }
    return false;
  });
}

void YG2DSoundController::SetEffectsScale(double scale) {
  // Outside 0..1 the volume formula leaves the device's range; NaN is 0.
  EffectsScale = scale > 1.0 ? 1.0 : (scale > 0.0 ? scale : 0.0);
}

YG2DSoundNode* YG2DSoundController::DuplicateSound(YG2DSoundNode* node) {
  auto* copy = dynamic_cast<YG2DSoundNode*>(LumoSoundList::DuplicateSound(node));
  if (copy == nullptr) {
    return nullptr;
  }
  copy->SetSource(node);
  copy->SetRepeats(node->Repeats);
  return copy;
}

void YG2DSoundController::Step() {
  CheckAll();
  // Collected first: disposing of a copy takes it out of this list.
  std::vector<YG2DSoundNode*> ended;
  VisitItems([&](LumoNode* item) {
    auto* node = dynamic_cast<YG2DSoundNode*>(item);
    if (node != nullptr && node->Duplicate && !node->IsPlaying()) {
      ended.push_back(node);
    }
    return false;
  });
  for (YG2DSoundNode* copy : ended) {
    copy->Stop();
    copy->SetSource(nullptr);
    if (Engine != nullptr) {
      Engine->DisposeObject(copy);
    } else {
      DestroyObject(copy);
    }
  }
}
