#include "game/YGDynamicResourceController.h"

#include <new>

#include "framework/LumoGraphicList.h"
#include "framework/LumoGraphicNode.h"
#include "framework/LumoSequenceList.h"
#include "game/ResourceForms.h"
#include "game/YGCachedSequence.h"

namespace {

YGDynamicResourceController* currentController = nullptr;

}  // namespace

YGDynamicResourceController::YGDynamicResourceController() : GraphicList(new LumoGraphicList) {}

YGDynamicResourceController::~YGDynamicResourceController() {
  if (currentController == this) {
    currentController = nullptr;
  }
}

const char* YGDynamicResourceController::GetClassName() const { return "YGDynamicResourceController"; }

void YGDynamicResourceController::DoFree() {
  if (currentController == this) {
    currentController = nullptr;
  }
  Clear();
  GraphicList.reset();
  LumoList::DoFree();
}

void YGDynamicResourceController::OnClear() {
  LumoList::OnClear();
  SequenceBytes = 0;
  GraphicBytes = 0;
}

void YGDynamicResourceController::DoDetach(LumoNode* item) {
  if (item != nullptr && item == FirstUnused) {
    FirstUnused = dynamic_cast<YGCachedSequence*>(item->next);
  }
  LumoList::DoDetach(item);
}

YGDynamicResourceController* YGDynamicResourceController::Current() { return currentController; }

void YGDynamicResourceController::MakeCurrent() { currentController = this; }

LumoGraphicNode* YGDynamicResourceController::CreateGraphic(int32_t width, int32_t height) {
  if (!GraphicList || width <= 0 || height <= 0) {
    return nullptr;
  }
  LumoGraphicNode* graphic = GraphicList->GetBlankGraphic(width, height);
  if (graphic == nullptr) {
    return nullptr;
  }
  if (graphic->Data == 0) {
    DestroyObject(graphic);
    return nullptr;
  }
  GraphicBytes += static_cast<int64_t>(width) * height * 2;
  return graphic;
}

YGCachedSequence* YGDynamicResourceController::CreateCachedSequence(LumoSequenceList* list, YGResourceMove* move,
                                                                    int32_t sequence, int32_t colour) {
  auto* node = new YGCachedSequence;
  Append(node);
  node->Bind(list, move, sequence, colour);
  SequenceBytes += ::SequenceBytes(list);
  return node;
}

YGCachedSequence* YGDynamicResourceController::FindCachedSequence(const LumoSequenceList* list) {
  if (list == nullptr) {
    return nullptr;
  }
  return dynamic_cast<YGCachedSequence*>(FindByData(reinterpret_cast<uintptr_t>(list)));
}

void YGDynamicResourceController::Trim() {}

void YGDynamicResourceController::RowRemoved(const YGResourceMove* move, int32_t sequence) {
  VisitItems([&](LumoNode* item) {
    auto* cached = dynamic_cast<YGCachedSequence*>(item);
    if (cached != nullptr && cached->Move == move && cached->SequenceIndex > sequence) {
      --cached->SequenceIndex;
    }
    return false;
  });
}
