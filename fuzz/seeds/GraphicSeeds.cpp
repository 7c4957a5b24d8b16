#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "base/LumoFileStream.h"
#include "framework/LumoGraphicList.h"
#include "fuzz/FuzzDisplay.h"
#include "fuzz/seeds/Seeds.h"
#include "platform/FileSystem.h"
#include "runtime/Alpha.h"
#include "runtime/Graphics.h"

namespace {

// The record of the node as the file stream writes it, read back from a
// temporary file beside the seeds.
std::string FileRecordOf(LumoGraphicNode& node, const std::filesystem::path& folder) {
  const std::filesystem::path path = folder / "record.tmp";
  {
    LumoFileStream stream;
    if (!stream.OpenDefault(platform::GameFileName(path.string()).c_str(), 1, 0) || !node.SaveObject(&stream, 0)) {
      std::fprintf(stderr, "Cannot save the seed graphic node %s\n", node.Name != nullptr ? node.Name : "");
      return {};
    }
  }
  std::ifstream file(path, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  file.close();
  std::filesystem::remove(path);
  return bytes;
}

// A picture of two colours, so a shifted read shows.
LumoGraphicNode* PictureNode(LumoGraphicList& list, const char* name, int32_t width, int32_t height) {
  LumoGraphicNode* node = list.ProvideGraphicAt(name, 1, 2);
  node->SetData(reinterpret_cast<uintptr_t>(CreateGraphic(width, height, sRGB{0, 0, 255})));
  node->SetPixel(width - 1, height - 1, ConvertRGB(sRGB{255, 0, 0}));
  node->SetSourceKey(sRGB{255, 255, 255});
  node->SetEmbedded(true);
  return node;
}

std::string Patched(std::string bytes, size_t offset, uint32_t value) {
  if (offset + 4 <= bytes.size()) {
    for (int byte = 0; byte < 4; ++byte) {
      bytes[offset + byte] = static_cast<char>(value >> (8 * byte));
    }
  }
  return bytes;
}

}  // namespace

void WriteGraphicNodeSeeds(const std::filesystem::path& folder) {
  StartFuzzDisplay();
  LumoGraphicList list;
  const std::string plain = FileRecordOf(*PictureNode(list, "plain", 5, 3), folder);
  WriteSeed(folder, "written-embedded.lmg", plain);

  LumoGraphicNode* blended = PictureNode(list, "blended", 4, 4);
  uint8_t alpha[16];
  for (uint8_t index = 0; index < 16; ++index) {
    alpha[index] = static_cast<uint8_t>(index * 16);
  }
  blended->SetAlpha(CreateAlpha(4, 4, alpha, 4, AlphaKindBytes, kAlphaOriginTopDown));
  WriteSeed(folder, "written-embedded-alpha.lmg", FileRecordOf(*blended, folder));

  LumoGraphicList workList;
  workList.SetSaveInWorkFormat(true);
  WriteSeed(folder, "written-embedded-work-format.lmg", FileRecordOf(*PictureNode(workList, "work", 6, 2), folder));

  LumoGraphicNode* named = list.ProvideGraphicAt("named.bmp", 0, 0);
  named->SetData(reinterpret_cast<uintptr_t>(CreateGraphic(2, 2, sRGB{})));
  WriteSeed(folder, "written-file-graphic.lmg", FileRecordOf(*named, folder));

  // The picture's header is the native image file's: "YLM", then words of
  // which the third is the width and the eighth the data size.
  WriteSeed(folder, "damaged-cut-in-picture.lmg", plain.substr(0, plain.size() - 5));
  const size_t header = plain.rfind(std::string("YLM\0", 4));
  if (header != std::string::npos) {
    WriteSeed(folder, "damaged-data-size.lmg", Patched(plain, header + 7 * 4, 0x7FFFFFF0u));
    WriteSeed(folder, "damaged-width.lmg", Patched(plain, header + 2 * 4, 0x10000u));
  }
}
