#include "fuzz/FuzzArchive.h"

#include <cstdint>

#include "base/LumoObjectFiles.h"
#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzFiles.h"
#include "runtime/Compound.h"
#include "runtime/Folders.h"

namespace {

void AppendLittle32(std::string& bytes, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) {
    bytes.push_back(static_cast<char>(value >> shift));
  }
}

}  // namespace

std::string FuzzArchiveOf(const std::vector<std::pair<std::string, std::string>>& entries) {
  std::string bytes = "PACK";
  AppendLittle32(bytes, 0);
  AppendLittle32(bytes, 0);
  std::vector<uint32_t> offsets;
  for (const auto& entry : entries) {
    offsets.push_back(static_cast<uint32_t>(bytes.size()));
    bytes += entry.second;
  }
  const auto directory = static_cast<uint32_t>(bytes.size());
  for (size_t index = 0; index < entries.size(); ++index) {
    std::string slot = entries[index].first;
    slot.resize(kCompoundNameSize, '\0');
    bytes += slot;
    AppendLittle32(bytes, offsets[index]);
    AppendLittle32(bytes, static_cast<uint32_t>(entries[index].second.size()));
  }
  std::string header;
  AppendLittle32(header, directory);
  AppendLittle32(header, static_cast<uint32_t>(entries.size() * kCompoundEntrySize));
  bytes.replace(4, 8, header);
  return bytes;
}

std::string OutcomeOfGlobalArchiveEntry(const uint8_t* data, size_t size, const char* entryName, int32_t folder,
                                        const std::function<std::string(LumoObject*)>& outcomeOf) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::string archive = FuzzArchiveOf({{entryName, input}, {"After.dat", input}});
  const std::string name =
      WriteFuzzFile("Global.lmp", reinterpret_cast<const uint8_t*>(archive.data()), archive.size());
  CompoundHandle compound = OpenCompound(name.c_str(), false);
  FuzzRequire(compound != nullptr, "an archive of two entries opens");
  SetCompound(compound);
  std::string outcome = outcomeOf(LoadObjectFromFile(static_cast<tFolderType>(folder), entryName, -1, nullptr));
  SetCompound(nullptr);
  CloseCompound(compound);
  return outcome;
}
