#include "logic/world/Police.h"

#include "base/LumoClass.h"

namespace {

LumoClassOf<Police> classOfPolice(kVersion_1_6_0_6, "Police", "YLUnit");
LumoClassOf<MEUnit> classOfMEUnit(kVersion_1_6_0_6, "MEUnit", "Police");

}  // namespace

Police::Police() = default;
const char* Police::GetClassName() const { return "Police"; }
bool Police::IsSelectable() const { return true; }
bool Police::IsPolice() const { return true; }

MEUnit::MEUnit() = default;
const char* MEUnit::GetClassName() const { return "MEUnit"; }
YLTDriver* MEUnit::AsDriver() { return this; }
int32_t MEUnit::GetDriverTid() const { return GetTid(); }
