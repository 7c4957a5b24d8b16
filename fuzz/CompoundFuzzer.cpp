// Compound archives: the input is the archive file. An archive that opens
// has every entry looked up by the name its directory gives and read whole
// (opening checked that every entry lies inside the file). Opened for
// changing, it takes a new entry and a deletion and is packed on closing;
// the packed archive must open again with the entries it kept.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzFiles.h"
#include "runtime/Compound.h"
#include "runtime/Files.h"

namespace {

// The entries' names in directory order, each read whole.
std::vector<std::string> ReadEveryEntry(CompoundHandle compound) {
  std::vector<std::string> names;
  const int32_t count = GetCompoundCount(compound);
  std::vector<uint8_t> data;
  for (int32_t index = 0; index < count; ++index) {
    char name[kCompoundNameSize] = {};
    GetCompoundInfo(compound, index, name);
    names.emplace_back(name);
    uint32_t offset = 0;
    uint32_t size = 0;
    const FileHandle file = LookupCompound(compound, name, offset, size);
    if (file == nullptr) {
      continue;  // a later entry of the same name in another case, or an empty name
    }
    data.resize(size);
    uint32_t read = 0;
    FuzzRequire(size == 0 || (ReadFile(file, data.data(), size, read) && read == size),
                "an entry of an opened archive reads whole");
  }
  return names;
}

void ReadArchive(const std::string& name) {
  const CompoundHandle compound = OpenCompound(name.c_str(), false);
  if (compound == nullptr) {
    return;
  }
  ReadEveryEntry(compound);
  CloseCompound(compound);
}

// Appends an entry, deletes the first one and packs by closing.
bool ChangeArchive(const std::string& name) {
  const CompoundHandle compound = OpenCompound(name.c_str(), true);
  if (compound == nullptr) {
    return false;
  }
  uint32_t offset = 0;
  const FileHandle file = AppendCompound(compound, "fuzz-added.dat", offset);
  if (file != nullptr) {
    const char bytes[] = "added";
    uint32_t written = 0;
    WriteFile(file, bytes, sizeof bytes, written);
    UpdateCompound(compound, written);
  }
  char first[kCompoundNameSize] = {};
  if (GetCompoundCount(compound) > 0 && GetCompoundInfo(compound, 0, first) >= 0 && first[0] != '\0') {
    DeleteCompound(compound, first);
  }
  FuzzRequire(CloseCompound(compound), "a changed archive closes");
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string name = WriteFuzzFile("Fuzz.lmp", data, size);
  ReadArchive(name);
  if (ChangeArchive(name)) {
    const CompoundHandle packed = OpenCompound(name.c_str(), false);
    FuzzRequire(packed != nullptr, "a packed archive opens");
    ReadEveryEntry(packed);
    CloseCompound(packed);
  }
  return 0;
}
