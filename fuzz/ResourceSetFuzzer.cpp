// A level's stored resource set: the input is the bytes of its "ResourceSet"
// object record, read with LoadObject as the level loader does, while a
// level runs with a loader gauge (the loader's starting maximum), graphics
// "walk1" and "walk2", sounds "shout" and "thump", and a current compound
// archive holding the resource files "Bloke.ygt" and "Car.ygt". After the
// load every node's resource is null or a thing resource; the loaded set is
// then used as thing views use it (every resource got, crops updated, every
// resource released) and freed.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "base/LumoMemoryStream.h"
#include "framework/LumoEngine.h"
#include "framework/LumoGauge.h"
#include "framework/LumoGraphicList.h"
#include "framework/LumoGraphicNode.h"
#include "framework/LumoLevel.h"
#include "framework/LumoSequenceList.h"
#include "framework/LumoSequenceNode.h"
#include "framework/LumoSoundList.h"
#include "framework/LumoSoundNode.h"
#include "fuzz/FuzzArchive.h"
#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzDisplay.h"
#include "fuzz/FuzzFiles.h"
#include "game/YGResourceList.h"
#include "game/YGResourceMove.h"
#include "game/YGResourceNode.h"
#include "game/YGResourceSet.h"
#include "game/YGThingResource.h"
#include "runtime/Compound.h"
#include "runtime/Graphics.h"

namespace {

using ObjectOwner = std::unique_ptr<LumoObject, tObjectDestroyer>;

constexpr int32_t kLoaderMaximum = 45378642;

LumoGraphicNode* AddGraphic(LumoGraphicList& graphics, const char* name, int32_t width, int32_t height) {
  sRGB colour;
  colour.Red = 90;
  colour.Green = 120;
  colour.Blue = 30;
  auto* node = new LumoGraphicNode;
  node->SetName(name);
  node->SetData(reinterpret_cast<uintptr_t>(CreateGraphic(width, height, colour)));
  graphics.Append(node);
  return node;
}

std::string RecordOf(LumoObject& object) {
  LumoMemoryStream stream;
  FuzzRequire(stream.OpenNew(256, 1, 0) && stream.SetGrowth(4096) != 0, "a memory stream opens");
  FuzzRequire(object.SaveObject(&stream, 0), "a resource is written");
  return std::string(reinterpret_cast<const char*>(stream.buffer), stream.position);
}

std::string ResourceRecord(const char* name, LumoGraphicNode* graphic, LumoSoundNode* sound) {
  YGThingResource resource(name, 6);
  auto* move = new YGResourceMove(0, 1, 1, 1, false);
  move->SetSound(sound);
  resource.AddMove(move);
  auto* list = new LumoSequenceList;
  list->AppendFrame(graphic, 0, 0, 1);
  resource.SetSequence(0, 0, 0, list);
  return RecordOf(resource);
}

// The running level, its gauge and the current archive, made once.
LumoGauge& Gauge() {
  static LumoGauge* const gauge = [] {
    StartFuzzDisplay();
    auto* engine = new LumoEngine;
    auto* level = new LumoLevel;
    engine->Append(level);
    level->Populate();
    engine->Level = level;
    FuzzRequire(level->GraphicList != nullptr && level->SoundList != nullptr, "the level has its sources");
    LumoGraphicNode* walk1 = AddGraphic(*level->GraphicList, "walk1", 6, 4);
    LumoGraphicNode* walk2 = AddGraphic(*level->GraphicList, "walk2", 3, 9);
    auto* shout = new LumoSoundNode;
    shout->SetName("shout");
    level->SoundList->Append(shout);
    auto* thump = new LumoSoundNode;
    thump->SetName("thump");
    level->SoundList->Append(thump);
    const std::string archive = FuzzArchiveOf(
        {{"Bloke.ygt", ResourceRecord("Bloke", walk1, shout)}, {"Car.ygt", ResourceRecord("Car", walk2, thump)}});
    const std::string name =
        WriteFuzzFile("Things.lmp", reinterpret_cast<const uint8_t*>(archive.data()), archive.size());
    CompoundHandle compound = OpenCompound(name.c_str(), false);
    FuzzRequire(compound != nullptr, "the archive of resource files opens");
    SetCompound(compound);
    auto* made = new LumoGauge;
    level->LoaderGauge = made;
    return made;
  }();
  return *gauge;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  LumoGauge& gauge = Gauge();
  gauge.SetMinimum(0);
  gauge.SetMaximum(kLoaderMaximum);
  gauge.SetProgress(kLoaderMaximum - 1000);
  LumoMemoryStream stream;
  FuzzRequire(stream.OpenNew(static_cast<uint32_t>(size) + 1, 1, 0), "a memory stream opens");
  if (size > 0) {
    FuzzRequire(stream.WriteBlock(data, static_cast<uint32_t>(size)), "the input is written");
  }
  stream.SetPosition(0);
  ObjectOwner loaded(LoadObject(&stream, nullptr));
  auto* set = dynamic_cast<YGResourceSet*>(loaded.get());
  if (set == nullptr) {
    return 0;
  }
  FuzzRequire(set->Things != nullptr && set->Graphics != nullptr && set->Sounds != nullptr,
              "a loaded set has its three lists");
  FuzzRequire(set->Things->Owner == set, "the loaded Things list belongs to its set");
  for (LumoNode* item = set->Things->first; item != nullptr; item = item->next) {
    auto* node = dynamic_cast<YGResourceNode*>(item);
    FuzzRequire(node != nullptr, "Things holds only resource nodes");
    FuzzRequire(node->Data == 0 || dynamic_cast<YGThingResource*>(reinterpret_cast<LumoObject*>(node->Data)) != nullptr,
                "a node's resource is null or a thing resource");
  }
  for (LumoNode* item = set->Things->first; item != nullptr; item = item->next) {
    set->GetResource(item->Name);
  }
  set->UpdateCrops();
  for (LumoNode* item = set->Things->first; item != nullptr; item = item->next) {
    set->ReleaseResource(static_cast<YGResourceNode*>(item)->Resource());
  }
  return 0;
}
