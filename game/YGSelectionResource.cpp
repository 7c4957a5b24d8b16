#include "game/YGSelectionResource.h"

#include <cmath>
#include <cstdio>
#include <stdexcept>

#include "base/DebugFormat.h"
#include "base/LumoClass.h"
#include "framework/LumoGraphicList.h"
#include "framework/LumoGraphicNode.h"
#include "framework/LumoSequenceList.h"
#include "framework/LumoSequenceNode.h"
#include "game/ResourceForms.h"

namespace {

LumoClassOf<YGSelectionResource> classOfYGSelectionResource(kVersion_1_4_0_0, "YGSelectionResource",
                                                            "LumoObjects");
LUMO_FIELD_PROPERTY(kVersion_1_4_0_0, YGSelectionResource, Colors, PropertyInteger, "tInteger");
LUMO_FIELD_PROPERTY(kVersion_1_4_0_0, YGSelectionResource, Sizes, PropertyInteger, "tInteger");
LUMO_FIELD_PROPERTY(kVersion_1_4_0_0, YGSelectionResource, Steps, PropertyInteger, "tInteger");

}  // namespace

const char* YGSelectionResource::GetClassName() const { return "YGSelectionResource"; }

bool YGSelectionResource::DoRegisterObject(LumoObject* object) {
  if (dynamic_cast<LumoSequenceList*>(object) == nullptr) {
    DebugPrint("(RES) YGSelectionResource::DoRegisterObject() Entry %p:%s is not a LumoSequenceList\n",
               DebugAddress(object), DebugClassName(object));
    return false;
  }
  return LumoObjects::DoRegisterObject(object);
}

bool YGSelectionResource::OnLoadFrom(LumoStream* stream) {
  if (!LumoObjects::OnLoadFrom(stream)) {
    return false;
  }
  return CheckResourceAxis("YGSelectionResource", "Colors", Colors) &&
         CheckResourceAxis("YGSelectionResource", "Sizes", Sizes) &&
         CheckResourceAxis("YGSelectionResource", "Steps", Steps) &&
         CheckResourceSlots("YGSelectionResource", *this, static_cast<int64_t>(Colors) * Sizes * Steps);
}

LUMO_GENERIC_FIELD(YGSelectionResource, Colors)
LUMO_GENERIC_FIELD(YGSelectionResource, Sizes)
LUMO_GENERIC_FIELD(YGSelectionResource, Steps)

void YGSelectionResource::Create(int32_t colours, int32_t sizes, int32_t steps) {
  try {
    if (!CheckResourceAxis("YGSelectionResource", "Colors", colours) ||
        !CheckResourceAxis("YGSelectionResource", "Sizes", sizes) ||
        !CheckResourceAxis("YGSelectionResource", "Steps", steps)) {
      throw std::invalid_argument("YGSelectionResource: count out of range");
    }
    Clear();
    Colors = colours;
    Sizes = sizes;
    Steps = steps;
    LumoGraphicList* graphics = CurrentGraphicList();
    for (int32_t size = 0; size < sizes; ++size) {
      for (int32_t colour = 0; colour < colours; ++colour) {
        for (int32_t step = 0; step < steps; ++step) {
          auto* list = new LumoSequenceList;
          Append(list);
          list->SetFramesPerPulse(24);
          char name[16];
          std::snprintf(name, sizeof name, "circ%d%d%d%d", step / 10 % 10, step % 10, colour % 10, size % 10);
          LumoGraphicNode* graphic = graphics != nullptr ? graphics->ProvideGraphic(name) : nullptr;
          if (graphic == nullptr) {
            DebugPrint("(INT) YGSelectionResource::Create() No graphic %s\n", name);
            continue;
          }
          auto* frame = static_cast<LumoSequenceNode*>(list->CreateItem());
          frame->SetGraphic(graphic);
          frame->SetOffset(-graphic->Width / 2, -graphic->Height / 2);
          list->Append(frame);
        }
      }
    }
  } catch (...) {
    DebugPrint("(INT) Unhandled exception during YGSelectionResource::Create(%i,%i,%i)\n", colours, sizes, steps);
    throw;
  }
}

LumoSequenceList* YGSelectionResource::GetSequence(int32_t colour, int32_t size, float fraction) const {
  if (colour < 0 || colour >= Colors || size < 0 || size >= Sizes || Steps <= 0) {
    return nullptr;
  }
  int32_t step = 0;
  if (fraction >= 1.0f) {
    step = Steps - 1;
  } else if (fraction > 0.0f) {  // NaN fails both tests and stays at step 0
    step = static_cast<int32_t>(std::trunc(static_cast<float>(Steps) * fraction));
  }
  const int64_t index = (static_cast<int64_t>(size) * Colors + colour) * Steps + step;
  return dynamic_cast<LumoSequenceList*>(At(static_cast<int32_t>(index)));
}
