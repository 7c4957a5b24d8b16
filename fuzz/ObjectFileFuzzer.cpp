// Objects loaded through the file stream: the input is the bytes of one
// object record. They are read three ways: from a memory stream, from a loose
// file through the file stream, and from an entry of the global compound
// archive, whose entry stream is bounded by the entry (an entry of another
// record follows it, so a read past the end would find real data). All three
// must agree on whether the record loads and, when it does, load objects that
// save the same bytes.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "base/LumoObjectFiles.h"
#include "base/LumoNode.h"
#include "fuzz/FuzzArchive.h"
#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzFiles.h"
#include "fuzz/FuzzStreams.h"
#include "platform/FileSystem.h"
#include "runtime/Compound.h"
#include "runtime/Folders.h"

namespace {

using ObjectOwner = std::unique_ptr<LumoObject, tObjectDestroyer>;

constexpr const char* kEntryName = "Entry.dat";

// A whole record of another object, stored behind the input's entry.
const std::string& NeighbourRecord() {
  static const std::string record = [] {
    LumoNode node;
    node.SetName("neighbour");
    node.Tag = 7;
    return SavedRecord(node);
  }();
  return record;
}

// The loader looks in the graphics folder, which is the scratch folder.
void UseScratchFolder() {
  static const bool set = [] {
    const std::string folder = platform::GameFileName(FuzzFilePath(""));
    const std::string withSeparator = folder.empty() || folder.back() == '\\' ? folder : folder + "\\";
    FuzzRequire(SetFolderName(FolderGraphic, withSeparator.c_str()), "the scratch folder is the graphics folder");
    return true;
  }();
  (void)set;
}

// The saved record of what loaded, or nothing.
struct Outcome {
  bool loaded = false;
  std::string record;
};

Outcome OutcomeOf(LumoObject* object) {
  ObjectOwner owner(object);
  Outcome outcome;
  if (owner != nullptr) {
    outcome.loaded = true;
    outcome.record = SavedRecord(*owner);
  }
  return outcome;
}

Outcome FromMemory(const uint8_t* data, size_t size) {
  FuzzInputStream input(data, size);
  return input.Usable() ? OutcomeOf(LoadObject(&input.stream, nullptr)) : Outcome{};
}

Outcome FromLooseFile(const uint8_t* data, size_t size) {
  WriteFuzzFile("Loose.dat", data, size);
  return OutcomeOf(LoadObjectFromFile(FolderGraphic, "Loose.dat", -1, nullptr));
}

Outcome FromArchiveEntry(const uint8_t* data, size_t size) {
  const std::string archive = FuzzArchiveOf({{"Before.dat", "before the entry"},
                                         {kEntryName, std::string(reinterpret_cast<const char*>(data), size)},
                                         {"After.dat", NeighbourRecord()}});
  const std::string name =
      WriteFuzzFile("Global.lmp", reinterpret_cast<const uint8_t*>(archive.data()), archive.size());
  CompoundHandle compound = OpenCompound(name.c_str(), false);
  FuzzRequire(compound != nullptr, "an archive of three entries opens");
  SetCompound(compound);
  Outcome outcome = OutcomeOf(LoadObjectFromFile(FolderGraphic, kEntryName, -1, nullptr));
  SetCompound(nullptr);
  CloseCompound(compound);
  return outcome;
}

void RequireSame(const Outcome& expected, const Outcome& actual, const char* what) {
  FuzzRequire(expected.loaded == actual.loaded && expected.record == actual.record, what);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  UseScratchFolder();
  const Outcome memory = FromMemory(data, size);
  RequireSame(memory, FromLooseFile(data, size), "a loose file loads as the same bytes in memory do");
  RequireSame(memory, FromArchiveEntry(data, size), "an archive entry loads as the same bytes in memory do");
  return 0;
}
