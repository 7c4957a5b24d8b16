// The logic's records: the input is the bytes of a memory stream, read as one
// object record of any registered class, the logic's own classes among them
// (thing information records with their move numbers and ground maps, units
// and leaders with their groups, containers, vehicles, shacks, buildings,
// pubs, weapons with their splat ranges, the things that carry such a
// record: plain things, barricades, pushables, containers and the fence, and
// units' plans: trees of plan steps of every kind, each link rebuilt). A
// record that loads must keep what the record types promise, describe itself
// in its debug text, save, and load again into a record that saves the same
// bytes; a loaded thing takes up its stored move as the logic has it do. The
// same bytes are read once more as a brain's stream form, which must save
// what it loaded.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/LumoClass.h"
#include "base/tString.h"
#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzStreams.h"
#include "logic/core/BuildingInfo.h"
#include "logic/core/CLogic.h"
#include "logic/core/ContainerInfo.h"
#include "logic/core/GroundMap.h"
#include "logic/core/ThingInfo.h"
#include "logic/core/UnitInfo.h"
#include "logic/core/YLWeapon.h"
#include "logic/world/LumoBrain.h"
#include "logic/world/PsychicPlanKinds.h"
#include "logic/world/YLTBaricade.h"
#include "logic/world/YLTContainerThing.h"
#include "logic/world/YLTLvl11Fence.h"
#include "logic/world/YLTPushable.h"
#include "logic/world/YLThing.h"

namespace {

using ObjectOwner = std::unique_ptr<LumoObject, tObjectDestroyer>;

// The logic's classes live in a static library: naming each one's factory
// here links its class record in, and the check below shows a class that
// went missing anyway. The things work in the context of a logic (its thing
// table) and with the plain things' move table, made once as the logic makes
// them.
void RequireLogicClasses() {
  static CLogic logic;
  static const bool checked = [] {
    DestroyThingInfo(CreateThingInfo(0, 0, 0, 0, 0, nullptr));
    ObjectOwner weapon(new YLWeapon());
    ObjectOwner steps[] = {ObjectOwner(new PsychicPlanChant), ObjectOwner(new PsychicPlanOut),
                           ObjectOwner(new PsychicPlanBaricade)};
    ObjectOwner things[] = {ObjectOwner(new YLThing), ObjectOwner(new YLTBaricade), ObjectOwner(new YLTPushableThing),
                            ObjectOwner(new YLTContainerThing), ObjectOwner(new YLTLvl11Fence)};
    for (const char* name : {"ThingInfo", "GroundMap", "UnitInfo", "LeaderInfo", "ContainerInfo", "VehicleInfo",
                             "ShackInfo", "BuildingInfo", "PubInfo", "YLWeapon", "YLThing", "YLTBaricade",
                             "YLTPushableThing", "YLTContainerThing", "YLTLvl11Fence", "PsychicPlanItem",
                             "PsychicPlanGoto", "PsychicPlanChant", "PsychicPlanOut", "PsychicPlanBaricade"}) {
      FuzzRequire(FindClass(name) != nullptr, "every class of the logic's records is registered");
    }
    logic.Things.reset(new LumoObjects(true));
    logic.Listeners.reset(new LumoList);
    YLThing::SetLogicContext(nullptr, &logic);
    YLTPushableThing::InitMoveTable();
    return true;
  }();
  (void)checked;
}

void CheckGroundMap(const GroundMap& map) {
  for (int32_t ori = 0; ori < GroundMap::kOrientations; ++ori) {
    FuzzRequire(map.Points[ori].count % 2 == 0, "a ground map holds whole points");
    const int32_t points = map.GetPointCount(ori);
    for (int32_t n = 0; n < points; ++n) {
      int32_t x = 0;
      int32_t y = 0;
      FuzzRequire(map.GetPoint(ori, n, x, y) && map.HasPoint(ori, x, y), "every stored point is found");
    }
  }
}

void CheckThingInfo(ThingInfo& info);

// A loaded thing, as the logic takes it up after a load: its record is
// checked as any record, then the stored move becomes its move again (a
// move number outside the thing's table falls back to its rest).
void CheckThing(YLThing& thing) {
  tString text;
  thing.GetDebugText(text);
  if (thing.Info == nullptr) {
    return;
  }
  thing.InitFromType();
  FuzzRequire(thing.Info->Move == thing.GetMoveInfo(thing.Info->MoveNumber),
              "a loaded thing takes up the move of its stored number, or rests");
  thing.GetX();
  thing.GetY();
  CheckThingInfo(*thing.Info);
}

// What each record type promises after a load, read the way the logic and
// the game program read it.
// Every step of a loaded plan hangs under the step whose queue holds it.
void CheckPlan(const PsychicPlanItem& root) {
  std::vector<const PsychicPlanItem*> pending{&root};
  while (!pending.empty()) {
    const PsychicPlanItem* step = pending.back();
    pending.pop_back();
    for (const PsychicPlanItem* child = step->child; child != nullptr; child = child->queue) {
      FuzzRequire(child->parent == step, "a loaded plan step knows the step it belongs to");
      pending.push_back(child);
    }
  }
  FuzzRequire(root.parent == nullptr, "a loaded plan's root belongs to nothing");
}

void CheckRecord(LumoObject& object) {
  if (auto* plan = dynamic_cast<PsychicPlanItem*>(&object)) {
    CheckPlan(*plan);
  }
  if (auto* map = dynamic_cast<GroundMap*>(&object)) {
    CheckGroundMap(*map);
  }
  if (auto* thing = dynamic_cast<YLThing*>(&object)) {
    CheckThing(*thing);
  }
  if (auto* info = dynamic_cast<ThingInfo*>(&object)) {
    CheckThingInfo(*info);
  }
}

void CheckThingInfo(ThingInfo& info) {
  ThingInfo* thing = &info;
  if (thing == nullptr) {
    return;
  }
  if (thing->Ground != nullptr) {
    CheckGroundMap(*thing->Ground);
  }
  if (auto* leader = dynamic_cast<LeaderInfo*>(thing)) {
    FuzzRequire(leader->GroupSize <= LeaderInfo::kMaxGroupSize, "a leader's group fits its record");
  }
  if (auto* container = dynamic_cast<ContainerInfo*>(thing)) {
    const int32_t count = container->GetContainedCount();
    FuzzRequire(count >= 0, "a container holds a count of things");
    for (int32_t n = 0; n < count; ++n) {
      container->GetContainedID(n);
    }
  }
  tString text;
  thing->DebugPrint(text);
  // A wall added to the footprint makes a ground map when there is none; it
  // goes beside the thing on the side that stays inside the coordinates.
  const int32_t beside = thing->X < INT32_MAX ? 1 : -1;
  thing->AddWall(thing->X + beside, thing->Y, false);
  FuzzRequire(thing->Ground != nullptr && thing->Ground->HasPoint(thing->GetFacing(), beside, 0),
              "an added wall is in the footprint");
  thing->AddWall(thing->X + beside, thing->Y, true);
}

// The brain's stream form (a unit's decision state), read from the same
// bytes. A load keeps only the low byte of a stimulus's kind, so what loads
// must save a form that loads again, read to its end, and saves the same.
class FuzzBrain final : public LumoBrain {
 public:
  int32_t Move() override { return 0; }
  int32_t OnBrainMove(int32_t) override { return 0; }
};

std::string SavedBrain(const LumoBrain& brain) {
  LumoMemoryStream saved;
  FuzzRequire(saved.OpenNew(64, 1, 0) && saved.SetGrowth(1024) != 0 && brain.SaveBrain(&saved),
              "a loaded brain saves");
  return std::string(reinterpret_cast<const char*>(saved.buffer), saved.position);
}

void CheckBrain(const uint8_t* data, size_t size) {
  FuzzInputStream input(data, size);
  FuzzBrain brain;
  if (!input.Usable() || !brain.LoadBrain(&input.stream)) {
    return;
  }
  const std::string saved = SavedBrain(brain);
  FuzzInputStream again(reinterpret_cast<const uint8_t*>(saved.data()), saved.size());
  FuzzBrain reloaded;
  FuzzRequire(again.Usable() && reloaded.LoadBrain(&again.stream) &&
                  again.stream.position == static_cast<uint32_t>(saved.size()),
              "a saved brain loads again, read to its end");
  FuzzRequire(SavedBrain(reloaded) == saved, "a reloaded brain saves the same bytes");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  RequireLogicClasses();
  CheckBrain(data, size);
  FuzzInputStream input(data, size);
  if (!input.Usable()) {
    return 0;
  }
  ObjectOwner loaded(LoadObject(&input.stream, nullptr));
  if (loaded == nullptr) {
    return 0;
  }
  const std::string record = SavedRecord(*loaded);
  ObjectOwner reloaded(ReloadRecord(record, *loaded));
  FuzzRequire(SavedRecord(*reloaded) == record, "a reloaded record saves the same bytes");
  CheckRecord(*loaded);
  return 0;
}

