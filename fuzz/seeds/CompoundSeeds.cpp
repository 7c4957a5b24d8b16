#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "fuzz/seeds/Seeds.h"
#include "platform/FileSystem.h"
#include "runtime/Compound.h"
#include "runtime/Files.h"
#include "tests/runtime/CompoundArchiveSupport.h"

namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

bool AddEntry(CompoundHandle compound, const std::string& name, const std::string& bytes) {
  uint32_t offset = 0;
  const FileHandle file = AppendCompound(compound, name.c_str(), offset);
  uint32_t written = 0;
  return file != nullptr && (bytes.empty() || WriteFile(file, bytes.data(), static_cast<uint32_t>(bytes.size()), written)) &&
         UpdateCompound(compound, static_cast<uint32_t>(bytes.size()));
}

// An archive written through the archive's own functions.
void WriteArchive(const std::filesystem::path& folder, const std::string& fileName, const Entries& entries) {
  const std::filesystem::path path = folder / fileName;
  std::filesystem::remove(path);
  const std::string name = platform::GameFileName(path.string());
  const CompoundHandle compound = CreateCompound(name.c_str());
  bool written = compound != nullptr;
  for (const auto& [entryName, bytes] : entries) {
    written = written && AddEntry(compound, entryName, bytes);
  }
  if (compound == nullptr || !CloseCompound(compound) || !written) {
    std::fprintf(stderr, "Cannot write the seed %s\n", fileName.c_str());
  }
}

std::string AsText(const compound_test::Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

std::string WithWord(std::string bytes, size_t at, uint32_t value) {
  for (size_t index = 0; index < 4 && at + index < bytes.size(); ++index) {
    bytes[at + index] = static_cast<char>(value >> (8 * index));
  }
  return bytes;
}

}  // namespace

void WriteCompoundSeeds(const std::filesystem::path& folder) {
  WriteArchive(folder, "written-three.lmp", {{"b.dat", "second entry"}, {"A.dat", "first"}, {"c.dat", "third"}});
  WriteArchive(folder, "written-empty.lmp", {});
  WriteArchive(folder, "written-long-name.lmp", {{std::string(55, 'n'), "x"}, {"empty.dat", ""}});
  const std::string two = AsText(compound_test::BuildArchive({{"one.dat", "11"}, {"two.dat", "2222"}}));
  // The directory starts at byte 18 and its first entry's offset and size
  // follow the 56-byte name.
  WriteSeed(folder, "damaged-directory-past-end.lmp", WithWord(two, 4, 0x7FFFFFF0));
  WriteSeed(folder, "damaged-directory-size.lmp", WithWord(two, 8, 0xFFFFFFC0));
  WriteSeed(folder, "damaged-directory-size-odd.lmp", WithWord(two, 8, 65));
  WriteSeed(folder, "damaged-entry-past-end.lmp", WithWord(two, 18 + 60, 0xFFFFFFFF));
  WriteSeed(folder, "damaged-entry-in-header.lmp", WithWord(two, 18 + 56, 2));
  WriteSeed(folder, "damaged-cut-short.lmp", two.substr(0, two.size() - 10));
  WriteSeed(folder, "damaged-signature.lmp", "PACX" + two.substr(4));
  WriteSeed(folder, "damaged-header-only.lmp", "PACK");
  WriteSeed(folder, "damaged-same-names.lmp",
            AsText(compound_test::BuildArchive({{"same.dat", "1"}, {"SAME.DAT", "2"}, {"", "3"}})));
  std::string unterminated = two;
  for (size_t at = 18; at < 18 + 56; ++at) {
    unterminated[at] = 'z';
  }
  WriteSeed(folder, "damaged-name-unterminated.lmp", unterminated);
}
