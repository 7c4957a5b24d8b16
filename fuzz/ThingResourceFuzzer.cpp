// Stored thing resources (resource files and the duplicates of a level's
// resource set): the input is the bytes of one object record, read with
// LoadObject while a level runs whose graphic list holds "walk1" and "walk2"
// and whose sound list holds "shout". A loaded thing resource holds only
// moves (or empty slots), each move's grid is exactly Sequences x Colors
// entries of sequence lists (or empty ones) with counts in 0..256, and every
// colour mask ends in two zero bytes. Every animation of every move is then
// asked for in every colour, so the colour variants are made from whatever
// the masks hold.

#include <cstddef>
#include <cstdint>
#include <memory>

#include "base/LumoMemoryStream.h"
#include "framework/LumoEngine.h"
#include "framework/LumoGraphicList.h"
#include "framework/LumoGraphicNode.h"
#include "framework/LumoLevel.h"
#include "framework/LumoSequenceList.h"
#include "framework/LumoSequenceNode.h"
#include "framework/LumoSoundList.h"
#include "framework/LumoSoundNode.h"
#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzDisplay.h"
#include "game/ResourceForms.h"
#include "game/YGColorMask.h"
#include "game/YGDynamicResourceController.h"
#include "game/YGResourceMove.h"
#include "game/YGThingResource.h"
#include "runtime/Graphics.h"

namespace {

using ObjectOwner = std::unique_ptr<LumoObject, tObjectDestroyer>;

void AddGraphic(LumoGraphicList& graphics, const char* name, int32_t width, int32_t height, int32_t originX,
                int32_t originY) {
  sRGB colour;
  colour.Red = 200;
  colour.Green = 180;
  colour.Blue = 160;
  auto* node = new LumoGraphicNode;
  node->SetName(name);
  node->SetData(reinterpret_cast<uintptr_t>(CreateGraphic(width, height, colour)));
  node->SetOrigin(originX, originY);
  graphics.Append(node);
}

// An engine with one running level and a program-wide resource
// controller, made once.
YGDynamicResourceController& Controller() {
  static YGDynamicResourceController* const controller = [] {
    StartFuzzDisplay();
    auto* engine = new LumoEngine;
    auto* level = new LumoLevel;
    engine->Append(level);
    level->Populate();
    engine->Level = level;
    FuzzRequire(level->GraphicList != nullptr && level->SoundList != nullptr, "the level has its sources");
    AddGraphic(*level->GraphicList, "walk1", 6, 4, -3, -4);
    AddGraphic(*level->GraphicList, "walk2", 3, 9, 0, 0);
    auto* sound = new LumoSoundNode;
    sound->SetName("shout");
    level->SoundList->Append(sound);
    auto* made = new YGDynamicResourceController;
    made->MakeCurrent();
    return made;
  }();
  return *controller;
}

void CheckMove(YGResourceMove& move) {
  FuzzRequire(move.Sequences >= 0 && move.Sequences <= kMaxResourceAxis && move.Colors >= 0 &&
                  move.Colors <= kMaxResourceAxis,
              "a loaded move's counts lie in 0..256");
  FuzzRequire(move.count == move.Sequences * move.Colors, "a loaded move's grid is exactly its counts");
  for (int32_t slot = 0; slot < move.count; ++slot) {
    auto* list = dynamic_cast<LumoSequenceList*>(move.items[slot]);
    FuzzRequire(move.items[slot] == nullptr || list != nullptr, "a move holds only sequence lists");
    if (list == nullptr) {
      continue;
    }
    for (LumoNode* item = list->first; item != nullptr; item = item->next) {
      if (YGColorMask* mask = move.GetMask(dynamic_cast<LumoSequenceNode*>(item))) {
        FuzzRequire(YGColorMask::IsWellFormed(mask->Data.data(), mask->Data.size()),
                    "a loaded mask ends in two zero bytes");
      }
    }
  }
  for (int32_t sequence = 0; sequence < move.Sequences && sequence < 8; ++sequence) {
    for (int32_t colour = 0; colour <= 8; ++colour) {
      move.GetSequence(sequence, colour);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  YGDynamicResourceController& controller = Controller();
  {
    LumoMemoryStream stream;
    FuzzRequire(stream.OpenNew(static_cast<uint32_t>(size) + 1, 1, 0), "a memory stream opens");
    if (size > 0) {
      FuzzRequire(stream.WriteBlock(data, static_cast<uint32_t>(size)), "the input is written");
    }
    stream.SetPosition(0);
    ObjectOwner loaded(LoadObject(&stream, nullptr));
    if (auto* resource = dynamic_cast<YGThingResource*>(loaded.get())) {
      for (int32_t slot = 0; slot < resource->count; ++slot) {
        auto* move = dynamic_cast<YGResourceMove*>(resource->items[slot]);
        FuzzRequire(resource->items[slot] == nullptr || move != nullptr, "a thing resource holds only moves");
        if (move != nullptr) {
          CheckMove(*move);
        }
      }
      for (int32_t moveId = 0; moveId < resource->count && moveId < 8; ++moveId) {
        resource->GetAnimation(moveId, 7, 3);
      }
    } else if (auto* move = dynamic_cast<YGResourceMove*>(loaded.get())) {
      CheckMove(*move);
    }
  }
  // What the variants made goes before the next input.
  controller.Clear();
  if (Engine != nullptr && Engine->DisposalList) {
    Engine->DisposalList->Clear();
  }
  return 0;
}
