#include "game/YGGoreResource.h"

#include "base/LumoClass.h"

namespace {

LumoClassOf<YGGoreResource> classOfYGGoreResource(kVersion_1_4_0_0, "YGGoreResource", "LumoObject");
LUMO_FIELD_PROPERTY(kVersion_1_4_0_0, YGGoreResource, Graph, PropertyPointer, "tPointer");

}  // namespace

const char* YGGoreResource::GetClassName() const { return "YGGoreResource"; }

bool YGGoreResource::LoadGraph(LumoStream* stream, const LumoProperty*) { return LoadGraphic(stream); }

bool YGGoreResource::SaveGraph(LumoStream* stream, const LumoProperty*) { return SaveGraphic(stream); }
