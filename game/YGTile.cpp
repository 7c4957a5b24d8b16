#include "game/YGTile.h"

#include "base/LumoClass.h"

namespace {

LumoClassOf<YGTile> classOfYGTile(kVersion_1_4_0_0, "YGTile", "LumoObject");
LUMO_FIELD_PROPERTY(kVersion_1_4_0_0, YGTile, Graph, PropertyPointer, "tPointer");

}  // namespace

const char* YGTile::GetClassName() const { return "YGTile"; }

bool YGTile::LoadGraph(LumoStream* stream, const LumoProperty*) { return LoadGraphic(stream); }

bool YGTile::SaveGraph(LumoStream* stream, const LumoProperty*) { return SaveGraphic(stream); }
