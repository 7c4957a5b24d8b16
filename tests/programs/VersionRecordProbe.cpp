// A program of its own (not a test of a test program), since the version
// record is looked up among the running program's exported symbols: it
// answers 0 when it finds the record it declares.

#include <cstdio>

#include "platform/Version.h"

LUMO_PROGRAM_VERSION_RECORD(3, 1, 4, 15);

int main() {
  platform::FileVersion version;
  if (!platform::ProgramVersion(version)) {
    std::printf("The program's version record was not found\n");
    return 1;
  }
  if (version.major != 3 || version.minor != 1 || version.release != 4 || version.build != 15) {
    std::printf("Wrong version record %u.%u.%u.%u\n", version.major, version.minor, version.release,
                version.build);
    return 1;
  }
  std::printf("Version record %u.%u.%u.%u\n", version.major, version.minor, version.release, version.build);
  return 0;
}
