#include "runtime/FileReplacement.h"

#include <string>

#include "runtime/Compound.h"
#include "runtime/FileNames.h"

tReplaceResult WriteFileReplacing(const char* name, const std::function<bool(FileHandle file)>& write) {
  const std::string temporaryName = std::string(name) + ".tmp";
  FileHandle file = OpenFile(temporaryName.c_str(), FileModeWrite, OpenModeCreate, ShareModeExclusive);
  if (file == nullptr) {
    return tReplaceResult::NotCreated;
  }
  const bool written = write(file);
  if (!CloseFile(file) || !written) {
    RemoveFile(temporaryName.c_str());
    return tReplaceResult::NotWritten;
  }
  if (!ReplaceFileWith(temporaryName.c_str(), name)) {
    RemoveFile(temporaryName.c_str());
    return tReplaceResult::NotRenamed;
  }
  return tReplaceResult::Written;
}
