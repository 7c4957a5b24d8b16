#pragma once

// Our own stand-in of the modelling tool's plug-in entry points: the plain C
// functions the tool looks up in every plug-in library it loads, and the
// interface version a plug-in is built against. Every plug-in library
// includes this header for its entry points.

#include <cstdint>

#include "maxplugin/sdk/ClassDesc.h"
#include "maxplugin/sdk/HelpSys.h"

// The version of this plug-in interface, which a plug-in answers from LibVersion.
constexpr uint32_t kPluginInterfaceVersion = 0x0C1C0700;

// A line describing the library, shown by the tool's plug-in list.
using LibDescriptionFunction = const char* (*)();
// How many classes the library offers.
using LibNumberClassesFunction = int (*)();
// The descriptor of class index (0 to count - 1), null for any other index;
// the descriptor belongs to the library and lives as long as it stays loaded.
using LibClassDescFunction = ClassDesc* (*)(int index);
// The interface version the library was built against.
using LibVersionFunction = uint32_t (*)();
