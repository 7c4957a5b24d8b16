#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "framework/LumoGraphicList.h"
#include "framework/LumoSequenceList.h"
#include "framework/LumoSequenceNode.h"
#include "framework/LumoSoundNode.h"
#include "fuzz/FuzzDisplay.h"
#include "fuzz/seeds/SeedRecords.h"
#include "fuzz/seeds/Seeds.h"
#include "game/YGColorMask.h"
#include "game/YGResourceMove.h"
#include "game/YGResourceNode.h"
#include "game/YGResourceList.h"
#include "game/YGResourceSet.h"
#include "game/YGThingResource.h"

namespace {

// A list of frames of named graphics (the fuzz target's level holds "walk1"
// and "walk2").
LumoSequenceList* ListOf(LumoGraphicList& graphics, const std::vector<const char*>& names) {
  auto* list = new LumoSequenceList;
  list->SetFramesPerPulse(12);
  int32_t offset = 0;
  for (const char* name : names) {
    auto* frame = new LumoSequenceNode;
    frame->SetGraphic(graphics.ProvideGraphicAt(name, 0, 0));
    frame->SetOffset(offset, -offset);
    offset += 2;
    list->Append(frame);
  }
  return list;
}

YGColorMask* MaskOf(std::vector<uint8_t> data) {
  auto* mask = new YGColorMask;
  mask->Data = std::move(data);
  return mask;
}

}  // namespace

void WriteThingResourceSeeds(const std::filesystem::path& folder) {
  StartFuzzDisplay();
  LumoGraphicList graphics;
  LumoSoundNode shout;
  shout.SetName("shout");

  // A body-part resource: a masked walk of eight colours with a sound, and
  // a plain stand of five colours (widened to eight when read).
  YGThingResource bloke("Bloke", 5);
  auto* walk = new YGResourceMove(0, 2, 8, -2, true);
  walk->MaskColor = true;
  walk->SetSound(&shout);
  bloke.AddMove(walk);
  bloke.SetSequence(0, 0, 0, ListOf(graphics, {"walk1", "walk2"}));
  bloke.SetSequence(0, 1, 0, ListOf(graphics, {"walk2"}));
  for (int32_t sequence = 0; sequence < 2; ++sequence) {
    for (LumoNode* frame = walk->GetStoredSequence(sequence, 0)->first; frame != nullptr; frame = frame->next) {
      walk->SetMask(static_cast<LumoSequenceNode*>(frame), MaskOf({0, 3, 2, 255, 0, 40, 0, 0}));
    }
  }
  auto* stand = new YGResourceMove(3, 4, 5, 1, false);
  bloke.AddMove(stand);
  for (int32_t sequence = 0; sequence < 4; ++sequence) {
    bloke.SetSequence(3, sequence, sequence % 5, ListOf(graphics, {"walk1"}));
  }
  const std::string written = SeedRecordOf(bloke);
  WriteSeed(folder, "written-bloke.ygt", written);

  // A directional resource without masks: its variants are dithered.
  YGThingResource car("Car", 2);
  auto* drive = new YGResourceMove(1, 8, 8, 0, true);
  car.AddMove(drive);
  for (int32_t direction = 0; direction < 8; ++direction) {
    car.SetSequence(1, direction, 0, ListOf(graphics, {direction % 2 == 0 ? "walk1" : "walk2"}));
  }
  WriteSeed(folder, "written-car.ygt", SeedRecordOf(car));
  WriteSeed(folder, "written-move.ygt", SeedRecordOf(*drive));

  // Damaged: cut short, and a mask whose runs reach past the frame.
  WriteSeed(folder, "damaged-cut-short.ygt", written.substr(0, written.size() / 2));
  YGThingResource overrun("Overrun", 6);
  auto* big = new YGResourceMove(0, 1, 8, 0, false);
  big->MaskColor = true;
  overrun.AddMove(big);
  overrun.SetSequence(0, 0, 0, ListOf(graphics, {"walk1"}));
  big->SetMask(static_cast<LumoSequenceNode*>(big->GetStoredSequence(0, 0)->first),
               MaskOf({0, 255, 0, 255, 0, 255, 0, 0}));
  WriteSeed(folder, "damaged-long-mask-runs.ygt", SeedRecordOf(overrun));
}

void WriteColorMaskApplySeeds(const std::filesystem::path& folder) {
  const std::vector<std::pair<const char*, std::string>> seeds = {
      {"written-leading-mask.bin", std::string("\x00\x01\x01\x01\x00\x00", 6)},
      {"written-long-run.bin", std::string("\x00\xff\x00\x2d\x00\x00", 6)},
      {"written-empty.bin", std::string("\x00\x00", 2)},
      {"damaged-no-terminator.bin", std::string("\x03\x07\x02", 3)},
  };
  for (const auto& [name, bytes] : seeds) {
    WriteSeed(folder, name, bytes);
  }
}

void WriteResourceSetSeeds(const std::filesystem::path& folder) {
  StartFuzzDisplay();
  LumoGraphicList graphics;
  LumoSoundNode shout;
  shout.SetName("shout");

  // The originals "Bloke" and "Car" are read from the target's archive; the
  // duplicate "Bloke1" is stored inline. Both are in use, so the stored
  // Graphics and Sounds name what they show and play.
  YGResourceSet set;
  auto* bloke = new YGThingResource("Bloke", 6);
  auto* walk = new YGResourceMove(0, 1, 1, 2, true);
  walk->SetSound(&shout);
  bloke->AddMove(walk);
  bloke->SetSequence(0, 0, 0, ListOf(graphics, {"walk1", "walk2"}));
  auto* car = new YGThingResource("Car", 6);
  car->AddMove(new YGResourceMove(0, 1, 1, 0, false));
  car->SetSequence(0, 0, 0, ListOf(graphics, {"walk2"}));
  auto* blokeNode = static_cast<YGResourceNode*>(set.Things->FindOrCreate("Bloke"));
  blokeNode->SetResource(bloke);
  static_cast<YGResourceNode*>(set.Things->FindOrCreate("Car"))->SetResource(car);
  YGThingResource* copy = set.DuplicateResource(bloke);
  set.GetResource(car);
  const std::string written = SeedRecordOf(set);
  WriteSeed(folder, "written-set.bin", written);
  // A set whose originals are missing from the archive.
  set.ReleaseResource(copy);
  set.FindNode("Car")->SetName("Lorry");
  WriteSeed(folder, "written-missing-original.bin", SeedRecordOf(set));
  WriteSeed(folder, "damaged-cut-short.bin", written.substr(0, written.size() * 2 / 3));
}
