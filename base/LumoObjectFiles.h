#pragma once

#include <cstdint>

#include "base/LumoObject.h"
#include "runtime/Folders.h"

// Objects loaded by file name: from the entry of that name in the global
// compound archive when it has one, else from the loose file in the folder.
// The logic library's build has no loading or saving by file name; these
// live in an object file of their own, so a build that never calls them does
// not pull in the file and archive streams.
//
// Null for a null name, a missing file or a record that does not load.
LumoObject* LoadObjectFromFile(tFolderType folder, const char* name, int32_t kind,
                               LumoObject* owner);
