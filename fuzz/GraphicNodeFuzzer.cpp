// Stored graphic nodes: the input is the bytes of one object record as a
// file stream holds it, usually a graphic node whose picture is embedded as
// a native image file. It is read from a loose file and from an entry of the
// global compound archive, whose entry stream is bounded by the entry (an
// entry of another record follows it, so a picture read past the entry's end
// would find real bytes). Both must agree on whether the record loads and
// on the picture it gives, and a loaded node's size must be its graphic's.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "base/LumoNode.h"
#include "base/LumoObjectFiles.h"
#include "framework/LumoGraphicNode.h"
#include "fuzz/FuzzArchive.h"
#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzDisplay.h"
#include "fuzz/FuzzFiles.h"
#include "platform/FileSystem.h"
#include "runtime/Compound.h"
#include "runtime/Folders.h"
#include "runtime/Graphics.h"

namespace {

using ObjectOwner = std::unique_ptr<LumoObject, tObjectDestroyer>;

constexpr const char* kEntryName = "Entry.lmg";
// Pictures larger than this are compared by their size and a corner.
constexpr int32_t kComparedSide = 32;

void UseScratchFolder() {
  static const bool set = [] {
    const std::string folder = platform::GameFileName(FuzzFilePath(""));
    const std::string withSeparator = folder.empty() || folder.back() == '\\' ? folder : folder + "\\";
    FuzzRequire(SetFolderName(FolderGraphic, withSeparator.c_str()), "the scratch folder is the graphics folder");
    return true;
  }();
  (void)set;
}

// What loaded: nothing, another class, or a graphic node with its picture.
std::string OutcomeOf(LumoObject* object) {
  ObjectOwner owner(object);
  if (owner == nullptr) {
    return "";
  }
  auto* node = dynamic_cast<LumoGraphicNode*>(owner.get());
  if (node == nullptr) {
    return std::string("object:") + owner->GetClassName();
  }
  std::string outcome = "node:" + std::to_string(node->Width) + "x" + std::to_string(node->Height);
  if (node->Data == 0) {
    return outcome + ":none";
  }
  int32_t width = 0;
  int32_t height = 0;
  GetGraphicSize(node->Graphic(), width, height);
  FuzzRequire((width == node->Width && height == node->Height) || node->Alpha != nullptr,
              "a loaded node without an alpha map has its graphic's size");
  for (int32_t y = 0; y < height && y < kComparedSide; ++y) {
    for (int32_t x = 0; x < width && x < kComparedSide; ++x) {
      const uint32_t pixel = GetGraphicPixel(node->Graphic(), x, y);
      outcome.append(reinterpret_cast<const char*>(&pixel), sizeof pixel);
    }
  }
  return outcome;
}

std::string FromLooseFile(const uint8_t* data, size_t size) {
  WriteFuzzFile("Loose.lmg", data, size);
  return OutcomeOf(LoadObjectFromFile(FolderGraphic, "Loose.lmg", -1, nullptr));
}

std::string FromArchiveEntry(const uint8_t* data, size_t size) {
  return OutcomeOfGlobalArchiveEntry(data, size, kEntryName, FolderGraphic, OutcomeOf);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  StartFuzzDisplay();
  UseScratchFolder();
  FuzzRequire(FromLooseFile(data, size) == FromArchiveEntry(data, size),
              "an archive entry loads as the same bytes in a loose file do");
  return 0;
}
