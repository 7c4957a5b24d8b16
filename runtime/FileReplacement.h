#pragma once

#include <functional>

#include "runtime/Files.h"

// Writing a file so that a failure never destroys the file it replaces.

// What became of a replacing write.
enum class tReplaceResult {
  Written,         // the new file is in place
  NotCreated,      // the temporary file could not be made; nothing changed
  NotWritten,      // writing or closing failed; the temporary file is gone
  NotRenamed,      // the rename failed; the temporary file is gone
};

// Creates "<name>.tmp", lets write fill it, closes it and renames it over
// name in one step; the old file of that name stays whole until then.
tReplaceResult WriteFileReplacing(const char* name, const std::function<bool(FileHandle file)>& write);
