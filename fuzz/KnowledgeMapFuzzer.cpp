// The knowledge map's stream form: the input is the bytes of a memory stream,
// read as one object record (a knowledge map, a sector map or any of their
// parts). A map that loads must be consistent, must save, and its saved
// record must load again.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "base/LumoMemoryStream.h"
#include "fuzz/FuzzCheck.h"
#include "fuzz/NavigationChecks.h"
#include "navigation/YLKnowledgeMap.h"
#include "navigation/YLSectorPath.h"
#include "navigation/YLSectors.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) {
    return 0;
  }
  // A current map of its own for records that are parts of one (a border, a
  // sector), as when the parts load inside their map.
  std::unique_ptr<YLSectors, tObjectDestroyer> context(new YLSectors);
  context->AppendSector(new YLSector);
  std::vector<uint8_t> bytes(data, data + size);
  LumoMemoryStream stream;
  FuzzRequire(stream.OpenBuffer(bytes.data(), static_cast<uint32_t>(size), 1, 0),
              "a memory stream opens");
  std::unique_ptr<LumoObject, tObjectDestroyer> loaded(LoadObject(&stream, nullptr));
  auto* knowledgeMap = dynamic_cast<YLKnowledgeMap*>(loaded.get());
  auto* map =
      knowledgeMap != nullptr ? knowledgeMap->GetSectors() : dynamic_cast<YLSectors*>(loaded.get());
  if (map == nullptr && dynamic_cast<YLSectorPath*>(loaded.get()) == nullptr) {
    return 0;
  }
  if (map != nullptr) {
    FuzzRequire(GetCurrentSectorMap() == map, "a loaded map is the current one");
    RequireConsistentMap(*map);
  }
  if (knowledgeMap != nullptr) {
    FuzzRequire(int64_t{knowledgeMap->GetWidth()} * knowledgeMap->GetHeight() <= int64_t(size),
                "a loaded grid has no more cells than its record has bytes");
  }
  std::unique_ptr<LumoObject, tObjectDestroyer> reloaded(ReloadedRecord(SavedRecord(*loaded)));
  return 0;
}
