#include "game/YGGoreResourceSet.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "base/DebugFormat.h"
#include "base/LumoClass.h"
#include "framework/LumoGraphicList.h"
#include "framework/LumoGraphicNode.h"
#include "game/ResourceForms.h"
#include "game/YGGoreResource.h"

namespace {

LumoClassOf<YGGoreResourceSet> classOfYGGoreResourceSet(kVersion_1_4_0_0, "YGGoreResourceSet", "LumoObjects");

}  // namespace

YGGoreResourceSet::YGGoreResourceSet(int32_t kinds) : KindCount(std::clamp(kinds, 0, kMaxKinds)) {}

const char* YGGoreResourceSet::GetClassName() const { return "YGGoreResourceSet"; }

bool YGGoreResourceSet::DoRegisterObject(LumoObject* object) {
  if (dynamic_cast<YGGoreResource*>(object) == nullptr) {
    DebugPrint("(RES) YGGoreResourceSet::DoRegisterObject() Entry %p:%s is not a YGGoreResource\n",
               DebugAddress(object), DebugClassName(object));
    return false;
  }
  return LumoObjects::DoRegisterObject(object);
}

bool YGGoreResourceSet::OnLoadFrom(LumoStream* stream) {
  if (!LumoObjects::OnLoadFrom(stream)) {
    return false;
  }
  KindCount = count / kSteps;
  return true;
}

void YGGoreResourceSet::OnFree() {
  try {
    for (int32_t slot = 0; slot < count; ++slot) {
      if (auto* entry = dynamic_cast<YGGoreResource*>(items[slot])) {
        entry->SetGraphic(nullptr);
      }
    }
    Clear();
    LumoObjects::OnFree();
  } catch (...) {
    DebugPrint("(INT) Unhandled exception during YGGoreResourceSet::OnFree()\n");
    throw;
  }
}

void YGGoreResourceSet::Create() {
  try {
    Clear();
    LumoGraphicList* graphics = CurrentGraphicList();
    for (int32_t kind = 0; kind < KindCount; ++kind) {
      for (int32_t step = 0; step < kSteps; ++step) {
        char name[32];
        std::snprintf(name, sizeof name, "Gore%02d%c", step, static_cast<char>('B' + 2 * kind));
        LumoGraphicNode* graphic = graphics != nullptr ? graphics->ProvideGraphic(name) : nullptr;
        if (graphic == nullptr) {
          DebugPrint("(INT) YGGoreResourceSet::Create() No graphic %s\n", name);
        }
        Append(new YGGoreResource(graphic));
      }
    }
  } catch (...) {
    DebugPrint("(INT) Unhandled exception during YGGoreResourceSet::Create()\n");
    throw;
  }
}

LumoGraphicNode* YGGoreResourceSet::GetGore(int32_t kind, float amount) const {
  // A NaN amount would pass the clamp and make the step undefined; decals
  // carry their size from the save game, so it is untrusted.
  if (std::isnan(amount)) {
    amount = 0.0f;
  }
  amount = std::clamp(amount, 0.0f, 1.0f);
  if (kind < 1 || kind > KindCount) {
    return nullptr;
  }
  const int32_t index = (kind - 1) * kSteps + static_cast<int32_t>(std::trunc(9.0f * amount));
  auto* entry = dynamic_cast<YGGoreResource*>(At(index));
  return entry != nullptr ? entry->Graphic() : nullptr;
}
