#include "fuzz/StreamProbe.h"

#include "base/LumoClass.h"
#include "base/LumoStream.h"

namespace {

template <auto Field>
using ProbeField = LumoFieldProperty<FuzzProbe, &FuzzProbe::LoadField<Field>, &FuzzProbe::SaveField<Field>>;

LumoClassOf<FuzzProbe> classOfFuzzProbe(kVersion_1_6_0_6, "FuzzProbe", "LumoList");
ProbeField<&FuzzProbe::child> probeChild(kVersion_1_4_0_0, PropertyObject, "tUnknown", "Child");
ProbeField<&FuzzProbe::flag> probeFlag(kVersion_1_4_0_0, PropertyBool, "tBool", "Flag");
ProbeField<&FuzzProbe::byteFlag> probeByteFlag(kVersion_1_4_0_0, PropertyBoolByte, "tBool", "ByteFlag");
ProbeField<&FuzzProbe::small> probeSmall(kVersion_1_4_0_0, PropertySignedByte, "tSignedByte", "Small");
ProbeField<&FuzzProbe::shortValue> probeShort(kVersion_1_4_0_0, PropertyShort, "tShortInt", "Short");
ProbeField<&FuzzProbe::integer> probeInteger(kVersion_1_4_0_0, PropertyInteger, "tInteger", "Integer");
ProbeField<&FuzzProbe::wide> probeWide(kVersion_1_4_0_0, PropertyLong64, "tLong64", "Wide");
ProbeField<&FuzzProbe::single> probeSingle(kVersion_1_4_0_0, PropertySingle, "tSingle", "Single");
ProbeField<&FuzzProbe::precise> probePrecise(kVersion_1_4_0_0, PropertyDouble, "tDouble", "Precise");
ProbeField<&FuzzProbe::string> probeString(kVersion_1_4_0_0, PropertyString, "tString", "String");
ProbeField<&FuzzProbe::bytes> probeBytes(kVersion_1_4_0_0, PropertyBuffer, "tBuffer", "Bytes");
ProbeField<&FuzzProbe::unsignedByte> probeByte(kVersion_1_4_0_0, PropertyByte, "tByte", "Byte");
ProbeField<&FuzzProbe::word> probeWord(kVersion_1_4_0_0, PropertyWord, "tWord", "Word");
ProbeField<&FuzzProbe::set> probeSet(kVersion_1_4_0_0, PropertySet, "tSet", "Set");
ProbeField<&FuzzProbe::four> probeFour(kVersion_1_4_0_0, PropertyFourBytes, "t4Bytes", "Four");
// Newer than the records written at the class's own version before it, so
// older records skip it.
ProbeField<&FuzzProbe::text> probeText(kVersion_1_6_0_6, PropertyCharStr, "tCharStr", "Text");

}  // namespace

FuzzProbe::~FuzzProbe() {
  DestroyObject(child);
  FreeCharStr(text);
}
