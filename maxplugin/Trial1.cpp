#include "maxplugin/Trial1.h"

#include <type_traits>

#include "maxplugin/FontMaterialWexelClassDesc.h"

static_assert(std::is_same_v<decltype(&LibDescription), LibDescriptionFunction>);
static_assert(std::is_same_v<decltype(&LibNumberClasses), LibNumberClassesFunction>);
static_assert(std::is_same_v<decltype(&LibClassDesc), LibClassDescFunction>);
static_assert(std::is_same_v<decltype(&LibVersion), LibVersionFunction>);

const char* LibDescription() {
  return "ZaruVozizuru Zaro";
}

int LibNumberClasses() {
  return 1;
}

ClassDesc* LibClassDesc(int index) {
  return index == 0 ? GetFontMaterialWexelDesc() : nullptr;
}

uint32_t LibVersion() {
  return kPluginInterfaceVersion;
}
