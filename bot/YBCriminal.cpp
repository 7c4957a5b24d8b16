#include "bot/YBCriminal.h"

#include "base/LumoClass.h"

namespace {

LumoClassOf<YBCriminal> classOfYBCriminal(kVersion_1_6_0_7, "YBCriminal", "LumoNode");
LUMO_FIELD_PROPERTY(kVersion_1_6_0_7, YBCriminal, Crime, PropertySingle, "tSingle");
LUMO_FIELD_PROPERTY(kVersion_1_6_0_7, YBCriminal, Time, PropertyInteger, "tInteger");

}  // namespace

LUMO_GENERIC_FIELD(YBCriminal, Crime)
LUMO_GENERIC_FIELD(YBCriminal, Time)
