#include "game/YGGraphicResource.h"

#include <algorithm>
#include <limits>

#include "base/DebugFormat.h"
#include "base/LumoClass.h"
#include "base/LumoStream.h"
#include "framework/LumoGraphicList.h"
#include "framework/LumoGraphicNode.h"
#include "game/ResourceForms.h"

namespace {

LumoClassOf<YGResourceGraphic> classOfYGResourceGraphic(kVersion_1_5_1_6, "YGResourceGraphic", "LumoNode");
LumoClassOf<YGGraphicResource> classOfYGGraphicResource(kVersion_1_5_1_6, "YGGraphicResource", "LumoSortedList");
LUMO_FIELD_PROPERTY(kVersion_1_5_1_6, YGGraphicResource, Pixels, PropertyPointer, "tPointer");

int64_t AreaOf(const LumoGraphicNode* graphic) {
  return static_cast<int64_t>(std::max(graphic->Width, 0)) * std::max(graphic->Height, 0);
}

void AddClamped(int32_t& sum, int64_t amount) {
  sum = static_cast<int32_t>(std::clamp<int64_t>(static_cast<int64_t>(sum) + amount, std::numeric_limits<int32_t>::min(),
                                                 std::numeric_limits<int32_t>::max()));
}

}  // namespace

YGResourceGraphic::YGResourceGraphic() = default;

const char* YGResourceGraphic::GetClassName() const { return "YGResourceGraphic"; }

bool YGResourceGraphic::OnLoadFrom(LumoStream* stream) {
  if (!LumoNode::OnLoadFrom(stream)) {
    return false;
  }
  const int64_t before = LoaderGaugeShare(100);
  LumoGraphicList* graphics = CurrentGraphicList();
  LumoGraphicNode* graphic = graphics != nullptr && Name != nullptr ? graphics->ProvideGraphic(Name) : nullptr;
  Data = reinterpret_cast<uintptr_t>(graphic);
  if (graphic == nullptr) {
    DebugPrint("(RES)Couldn't load graphic %s from resource\n", DebugText(Name));
    return true;
  }
  const int64_t area = AreaOf(graphic);
  AdvanceLoaderGauge(area * 2);
  if (auto* list = dynamic_cast<YGGraphicResource*>(parent)) {
    AddClamped(list->Pixels, area);
  }
  DrawLoaderGaugeIfGrown(before, 100);
  return true;
}

YGGraphicResource::YGGraphicResource() { SetUnique(true); }

const char* YGGraphicResource::GetClassName() const { return "YGGraphicResource"; }

bool YGGraphicResource::DoRegisterObject(LumoObject* object) {
  if (dynamic_cast<YGResourceGraphic*>(object) == nullptr) {
    DebugPrint("(RES) YGGraphicResource::DoRegisterObject() Entry %p:%s is not a YGResourceGraphic\n",
               DebugAddress(object), DebugClassName(object));
    return false;
  }
  return LumoSortedList::DoRegisterObject(object);
}

LumoNode* YGGraphicResource::CreateItem() { return new YGResourceGraphic; }

bool YGGraphicResource::LoadPixels(LumoStream* stream, const LumoProperty*) {
  int32_t stored = 0;
  return stream != nullptr && stream->ReadInteger(stored);
}

bool YGGraphicResource::SavePixels(LumoStream* stream, const LumoProperty*) {
  return stream != nullptr && stream->WriteInteger(Pixels);
}

bool YGGraphicResource::AddGraphic(LumoGraphicNode* graphic) {
  if (graphic == nullptr || graphic->Name == nullptr || graphic->Name[0] == '\0') {
    return false;
  }
  LumoNode* entry = FindByName(graphic->Name);
  if (entry != nullptr) {
    ++entry->ID;
    return true;
  }
  entry = FindOrCreate(graphic->Name);
  if (entry == nullptr) {
    return false;
  }
  entry->Data = reinterpret_cast<uintptr_t>(graphic);
  AddClamped(Pixels, AreaOf(graphic));
  entry->ID = 1;
  return true;
}

bool YGGraphicResource::RemoveGraphic(LumoGraphicNode* graphic) {
  if (graphic == nullptr || graphic->Name == nullptr) {
    return false;
  }
  LumoNode* entry = FindByName(graphic->Name);
  if (entry == nullptr) {
    return false;
  }
  if (entry->ID > 0) {
    --entry->ID;
  }
  return true;
}
