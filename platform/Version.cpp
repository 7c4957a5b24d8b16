#include "platform/Version.h"

#include <dlfcn.h>

namespace platform {

FileVersion LibraryVersion() {
  return {LUMO_VERSION_MAJOR, LUMO_VERSION_MINOR, LUMO_VERSION_PATCH, LUMO_VERSION_TWEAK};
}

bool ProgramVersion(FileVersion& version) {
  // The program exports its record; the global scope of the process holds it.
  const void* symbol = dlsym(RTLD_DEFAULT, "LumoProgramVersionRecord");
  if (symbol == nullptr) {
    return false;
  }
  const auto* record = static_cast<const LumoVersionRecord*>(symbol);
  version = {record->parts[0], record->parts[1], record->parts[2], record->parts[3]};
  return true;
}

}  // namespace platform
