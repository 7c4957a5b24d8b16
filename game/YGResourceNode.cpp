#include "game/YGResourceNode.h"

#include "base/DebugFormat.h"
#include "base/LumoClass.h"
#include "base/LumoStream.h"
#include "framework/LumoSequenceList.h"
#include "framework/LumoSequenceNode.h"
#include "game/ResourceForms.h"
#include "game/YGGraphicResource.h"
#include "game/YGResourceList.h"
#include "game/YGResourceMove.h"
#include "game/YGResourceSet.h"
#include "game/YGSoundResource.h"
#include "game/YGThingResource.h"

namespace {

LumoClassOf<YGResourceNode> classOfYGResourceNode(kVersion_1_5_1_6, "YGResourceNode", "LumoNode");
LUMO_FIELD_PROPERTY(kVersion_1_5_1_6, YGResourceNode, Duplicate, PropertyInteger, "tInteger");
LUMO_FIELD_PROPERTY(kVersion_1_5_1_6, YGResourceNode, Data, PropertyPointer, "tPointer");

}  // namespace

YGResourceNode::YGResourceNode() = default;

YGResourceNode::~YGResourceNode() { SetResource(nullptr); }

const char* YGResourceNode::GetClassName() const { return "YGResourceNode"; }

void YGResourceNode::Unload() { SetResource(nullptr); }

void YGResourceNode::SetResource(YGThingResource* resource) {
  YGThingResource* old = Resource();
  Data = reinterpret_cast<uintptr_t>(resource);
  if (old != nullptr && old != resource) {
    DestroyObject(old);
  }
}

YGResourceSet* YGResourceNode::Set() const {
  auto* list = dynamic_cast<YGResourceList*>(parent);
  return list != nullptr ? list->Owner : nullptr;
}

LUMO_GENERIC_FIELD(YGResourceNode, Duplicate)

bool YGResourceNode::LoadData(LumoStream* stream, const LumoProperty*) {
  const int64_t before = LoaderGaugeShare(1000);
  YGThingResource* resource = nullptr;
  if (Duplicate <= 0) {
    DebugPrint("Loading resource %s\n", DebugText(Name));
    resource = YGResourceSet::LoadResourceFile(Name);
  } else {
    LumoObject* object = LoadObject(stream, nullptr);
    resource = dynamic_cast<YGThingResource*>(object);
    if (object != nullptr && resource == nullptr) {
      DebugPrint("(RES) Duplicate %s holds a %s, not a YGThingResource\n", DebugText(Name),
                 DebugClassName(object));
      DestroyObject(object);
    }
    if (resource == nullptr) {
      DebugPrint("(RES) Couldn't read duplicate %s from resource\n", DebugText(Name));
    }
  }
  SetResource(resource);
  DrawLoaderGaugeIfGrown(before, 1000);
  return true;
}

bool YGResourceNode::SaveData(LumoStream* stream, const LumoProperty*) {
  if (Duplicate <= 0) {
    return true;
  }
  // The reader expects an object record here; writing none would shift
  // every field after it.
  if (Resource() == nullptr) {
    DebugPrint("(RES) Duplicate %s has no resource to save\n", DebugText(Name));
    return false;
  }
  return Resource()->SaveObject(stream, 0);
}

void YGResourceNode::WalkResources(Walk walk) {
  YGThingResource* resource = Resource();
  YGResourceSet* set = Set();
  if (resource == nullptr || set == nullptr) {
    return;
  }
  for (int32_t moveIndex = 0; moveIndex < resource->count; ++moveIndex) {
    YGResourceMove* move = resource->GetMove(moveIndex);
    if (move == nullptr) {
      continue;
    }
    if (move->Sound != nullptr && set->Sounds != nullptr) {
      if (walk == Walk::Reference) {
        set->Sounds->AddSound(move->Sound);
      } else {
        set->Sounds->RemoveSound(move->Sound);
      }
    }
    for (int32_t sequence = 0; sequence < move->Sequences; ++sequence) {
      for (int32_t colour = 0; colour < move->Colors; ++colour) {
        LumoSequenceList* list = move->GetStoredSequence(sequence, colour);
        if (list == nullptr || set->Graphics == nullptr) {
          continue;
        }
        list->VisitItems([&](LumoNode* item) {
          auto* frame = dynamic_cast<LumoSequenceNode*>(item);
          if (frame != nullptr && frame->Graphic() != nullptr) {
            if (walk == Walk::Reference) {
              set->Graphics->AddGraphic(frame->Graphic());
            } else {
              set->Graphics->RemoveGraphic(frame->Graphic());
            }
          }
          return false;
        });
      }
    }
  }
}

bool YGResourceNode::AddReference() {
  ++ID;
  if (ID != 1) {
    return false;
  }
  WalkResources(Walk::Reference);
  return true;
}

bool YGResourceNode::RemoveReference() {
  // An unbalanced release must not wrap the count round to four billion
  // users, which would hold the graphics for the life of the set.
  if (ID == 0) {
    return false;
  }
  --ID;
  if (ID != 0) {
    return false;
  }
  WalkResources(Walk::Dereference);
  return true;
}

void YGResourceNode::RestoreReferences() {
  if (ID != 0) {
    WalkResources(Walk::Reference);
  }
}
