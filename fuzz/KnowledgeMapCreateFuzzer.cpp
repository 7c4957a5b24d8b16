// The knowledge map built from a level's files. The input holds the three
// files: a byte with the length of the info file's opening (its size lines),
// that opening, two bytes (big-endian) with the property map's length, the
// property map, and the sector shape text as the rest. The info file is the
// opening followed by the names of the other two files, so every name the
// target reads is one of its own. A map that is built must be consistent and
// must save and load back.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzFiles.h"
#include "fuzz/NavigationChecks.h"
#include "navigation/YLKnowledgeMap.h"

namespace {

// Takes count bytes from the front of the input; fewer when it runs out.
std::string Take(const uint8_t*& data, size_t& size, size_t count) {
  const size_t taken = count < size ? count : size;
  std::string part(reinterpret_cast<const char*>(data), taken);
  data += taken;
  size -= taken;
  return part;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string openingLength = Take(data, size, 1);
  const std::string opening =
      Take(data, size, openingLength.empty() ? 0 : uint8_t(openingLength[0]));
  const std::string propertyLength = Take(data, size, 2);
  const size_t propertyBytes =
      propertyLength.size() == 2
          ? size_t{uint8_t(propertyLength[0])} << 8 | uint8_t(propertyLength[1])
          : 0;
  const std::string properties = Take(data, size, propertyBytes);

  const std::string propertyName = WriteFuzzFile(
      "Fuzz.map", reinterpret_cast<const uint8_t*>(properties.data()), properties.size());
  const std::string shapeName = WriteFuzzFile("Fuzz.ase", data, size);
  const std::string info = opening + "\n" + propertyName + "\n" + shapeName + "\n";
  const std::string infoName =
      WriteFuzzFile("Fuzz.inf", reinterpret_cast<const uint8_t*>(info.data()), info.size());

  std::unique_ptr<YLKnowledgeMap, tObjectDestroyer> knowledgeMap(new YLKnowledgeMap);
  if (!knowledgeMap->Create(infoName.c_str())) {
    return 0;
  }
  FuzzRequire(knowledgeMap->GetWidth() >= 32 && knowledgeMap->GetWidth() <= 1024 &&
                  knowledgeMap->GetHeight() >= 32 && knowledgeMap->GetHeight() <= 1024,
              "a built map has the sizes an info file may give");
  RequireConsistentMap(*knowledgeMap->GetSectors());
  RequireConsistentCells(*knowledgeMap);
  std::unique_ptr<LumoObject, tObjectDestroyer> reloaded(
      ReloadedRecord(SavedRecord(*knowledgeMap)));
  return 0;
}
