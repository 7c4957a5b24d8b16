#pragma once

// The entry points of the material plug-in library, which the modelling tool
// looks up by name.

#include <cstdint>

#include "base/LumoExport.h"
#include "maxplugin/sdk/PluginEntryPoints.h"

extern "C" {
TRIAL1_API const char* LibDescription();
TRIAL1_API int LibNumberClasses();
TRIAL1_API ClassDesc* LibClassDesc(int index);
TRIAL1_API uint32_t LibVersion();
}
