#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "fuzz/seeds/Seeds.h"
#include "platform/FileSystem.h"
#include "runtime/Alpha.h"
#include "runtime/AlphaFile.h"

namespace {

// Saves a width x height map of a pattern through the run-time's writer and
// answers the bytes written ("" on failure).
std::string SaveMapSeed(const std::filesystem::path& folder, const std::string& name, int32_t width,
                        int32_t height) {
  std::string source(static_cast<size_t>(width) * static_cast<size_t>(height), '\0');
  for (size_t index = 0; index < source.size(); ++index) {
    source[index] = static_cast<char>(index * 29 + 3);
  }
  AlphaHandle alpha = CreateAlpha(width, height, reinterpret_cast<const uint8_t*>(source.data()), width,
                                  AlphaKindBytes, kAlphaOriginTopDown);
  const std::string gameName = platform::GameFileName((folder / name).string());
  const bool saved = SaveAlpha(alpha, gameName.c_str());
  DestroyAlpha(alpha);
  if (!saved) {
    std::fprintf(stderr, "Cannot write the seed %s\n", name.c_str());
    return "";
  }
  std::ifstream file(folder / name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::string WithBigWord(std::string bytes, size_t at, uint32_t value) {
  for (size_t index = 0; index < 4 && at + index < bytes.size(); ++index) {
    bytes[at + index] = static_cast<char>(value >> (24 - 8 * index));
  }
  return bytes;
}

}  // namespace

void WriteAlphaSeeds(const std::filesystem::path& folder) {
  const std::string written = SaveMapSeed(folder, "written-5x3.lma", 5, 3);
  SaveMapSeed(folder, "written-1x1.lma", 1, 1);
  if (written.size() < 24) {
    return;
  }
  // A header of 32 bytes: 8 bytes of filler before the data.
  std::string longHeader = WithBigWord(written.substr(0, 24), 8, 32) + std::string(8, '\x55') + written.substr(24);
  WriteSeed(folder, "foreign-header-32.lma", longHeader);
  // The fields: version at 4, header size at 8, data size at 12, width at 16, height at 20.
  WriteSeed(folder, "damaged-version-too-new.lma", WithBigWord(written, 4, 0x7F000000));
  WriteSeed(folder, "damaged-header-size.lma", WithBigWord(written, 8, 0x7FFFFFF0));
  WriteSeed(folder, "damaged-data-size.lma", WithBigWord(written, 12, 0xFFFFFFFF));
  WriteSeed(folder, "damaged-size-wraps.lma",
            WithBigWord(WithBigWord(WithBigWord(written, 12, 0), 16, 0x10000), 20, 0x10000));
  WriteSeed(folder, "damaged-cut-short.lma", written.substr(0, written.size() - 4));
  WriteSeed(folder, "damaged-header-only.lma", "AILM");
}
