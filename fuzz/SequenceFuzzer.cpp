// Stored sequence lists (icon files): the input is the bytes of one object
// record, read while a level runs whose graphic list finds two picture files
// by name. It is read from a loose file and from an entry of the global
// compound archive with another entry behind it; both must agree on whether
// it loads and on the frames it gives. A loaded sequence holds only frames,
// each with a duration of at least 1 and a graphic that has a picture, its
// rate is never 0 and its repeat count never below -1; a refused load leaves
// no node behind in the level's graphic list.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "base/LumoObjectFiles.h"
#include "framework/LumoEngine.h"
#include "framework/LumoGraphicList.h"
#include "framework/LumoLevel.h"
#include "framework/LumoSequenceList.h"
#include "framework/LumoSequenceNode.h"
#include "fuzz/FuzzArchive.h"
#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzDisplay.h"
#include "fuzz/FuzzFiles.h"
#include "platform/FileSystem.h"
#include "runtime/Compound.h"
#include "runtime/Folders.h"
#include "runtime/GraphicFiles.h"
#include "runtime/Graphics.h"

namespace {

using ObjectOwner = std::unique_ptr<LumoObject, tObjectDestroyer>;

constexpr const char* kEntryName = "Entry.lmq";

void WritePicture(const char* name, int32_t width, int32_t height) {
  GraphicHandle graphic = CreateGraphic(width, height, sRGB{0, 0, 255});
  FuzzRequire(graphic != nullptr && SaveGraphic(graphic, FuzzFileName(name).c_str()), "a picture file is written");
  DestroyGraphic(graphic);
}

// An engine with one running level whose graphic list loads from the
// scratch folder, made once.
LumoLevel* RunningLevel() {
  static LumoLevel* const level = [] {
    StartFuzzDisplay();
    const std::string folder = platform::GameFileName(FuzzFilePath(""));
    const std::string withSeparator = folder.empty() || folder.back() == '\\' ? folder : folder + "\\";
    FuzzRequire(SetFolderName(FolderGraphic, withSeparator.c_str()), "the scratch folder is the graphics folder");
    WritePicture("walk1.bmp", 6, 4);
    WritePicture("walk2.bmp", 3, 9);
    auto* engine = new LumoEngine;
    auto* made = new LumoLevel;
    engine->Append(made);
    made->Populate();
    engine->Level = made;
    FuzzRequire(made->GraphicList != nullptr, "the level has a graphic list");
    return made;
  }();
  return level;
}

int32_t EmptyNodes(const LumoGraphicList& list) {
  int32_t count = 0;
  for (const LumoNode* item = list.first; item != nullptr; item = item->next) {
    count += item->Data == 0 ? 1 : 0;
  }
  return count;
}

// What loaded: nothing, or the sequence's rate, repeats and frames.
std::string OutcomeOf(LumoObject* object) {
  ObjectOwner owner(object);
  if (owner == nullptr) {
    return "";
  }
  auto* sequence = dynamic_cast<LumoSequenceList*>(owner.get());
  if (sequence == nullptr) {
    return std::string("object:") + owner->GetClassName();
  }
  FuzzRequire(sequence->FramesPerPulse != 0 && sequence->Repeats >= -1, "a sequence's rate and repeats are kept in range");
  std::string outcome =
      "sequence:" + std::to_string(sequence->FramesPerPulse) + "," + std::to_string(sequence->Repeats);
  for (const LumoNode* item = sequence->first; item != nullptr; item = item->next) {
    const auto* frame = dynamic_cast<const LumoSequenceNode*>(item);
    FuzzRequire(frame != nullptr, "a sequence holds only frames");
    FuzzRequire(frame->Duration >= 1, "a frame lasts at least one frame");
    FuzzRequire(frame->Graphic() == nullptr || frame->Graphic()->Data != 0, "a frame's graphic has a picture");
    outcome += "|" + std::to_string(frame->Duration) + "," + std::to_string(frame->Left) + "," +
               std::to_string(frame->Top) + "," + (frame->Graphic() != nullptr ? frame->Graphic()->Name : "-");
  }
  return outcome;
}

std::string FromLooseFile(const uint8_t* data, size_t size) {
  WriteFuzzFile("Loose.lmq", data, size);
  return OutcomeOf(LoadObjectFromFile(FolderGraphic, "Loose.lmq", -1, nullptr));
}

std::string FromArchiveEntry(const uint8_t* data, size_t size) {
  return OutcomeOfGlobalArchiveEntry(data, size, kEntryName, FolderGraphic, OutcomeOf);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  LumoLevel* level = RunningLevel();
  const int32_t emptyBefore = EmptyNodes(*level->GraphicList);
  FuzzRequire(FromLooseFile(data, size) == FromArchiveEntry(data, size),
              "an archive entry loads as the same bytes in a loose file do");
  FuzzRequire(EmptyNodes(*level->GraphicList) == emptyBefore, "a load leaves no empty graphic node behind");
  return 0;
}
