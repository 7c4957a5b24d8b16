#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "base/LumoMemoryStream.h"
#include "framework/LumoGraphicList.h"
#include "framework/LumoSequenceList.h"
#include "framework/LumoSequenceNode.h"
#include "fuzz/FuzzDisplay.h"
#include "fuzz/seeds/SeedRecords.h"
#include "fuzz/seeds/Seeds.h"

namespace {

// A frame of a named graphic of the list (the fuzz target's level finds
// "walk1.bmp" and "walk2.bmp" by name).
LumoSequenceNode* FrameOf(LumoGraphicList& graphics, const char* name, int32_t left, int32_t top,
                          uint32_t duration) {
  auto* frame = new LumoSequenceNode;
  frame->SetGraphic(graphics.ProvideGraphicAt(name, 0, 0));
  frame->SetOffset(left, top);
  frame->SetDuration(duration);
  return frame;
}

}  // namespace

void WriteSequenceSeeds(const std::filesystem::path& folder) {
  StartFuzzDisplay();
  LumoGraphicList graphics;
  LumoSequenceList walk;
  walk.SetFramesPerPulse(6);
  walk.SetRepeats(3);
  walk.Append(FrameOf(graphics, "walk1.bmp", 2, -3, 4));
  walk.Append(new LumoSequenceNode);  // a frame saved without a graphic
  walk.Append(FrameOf(graphics, "walk2.bmp", 0, 0, 1));
  const std::string written = SeedRecordOf(walk);
  WriteSeed(folder, "written-walk.lmq", written);

  LumoSequenceList empty;
  WriteSeed(folder, "written-empty.lmq", SeedRecordOf(empty));

  LumoSequenceList missing;
  missing.Append(FrameOf(graphics, "absent.bmp", 0, 0, 1));
  WriteSeed(folder, "damaged-missing-graphic.lmq", SeedRecordOf(missing));

  LumoSequenceList foreign;
  foreign.Append(FrameOf(graphics, "walk1.bmp", 0, 0, 1));
  foreign.Append(new LumoNode);
  WriteSeed(folder, "damaged-foreign-item.lmq", SeedRecordOf(foreign));

  // The sound's stored form stands before the rate and the repeat count.
  const size_t dataAt = written.size() - 9;
  WriteSeed(folder, "damaged-unknown-sound-form.lmq",
            written.substr(0, dataAt) + std::string("\x01\x01", 2) + written.substr(dataAt + 1));
  WriteSeed(folder, "damaged-cut-short.lmq", written.substr(0, written.size() / 2));
}
