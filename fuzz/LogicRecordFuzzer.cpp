// The logic's records: the input is the bytes of a memory stream, read as one
// object record of any registered class, the logic's own classes among them
// (thing information records with their move numbers and ground maps, units
// and leaders with their groups, containers, vehicles, shacks, buildings,
// pubs, weapons with their splat ranges). A record that loads must keep what
// the record types promise, describe itself in its debug text, save, and
// load again into a record that saves the same bytes.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "base/LumoClass.h"
#include "base/tString.h"
#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzStreams.h"
#include "logic/core/BuildingInfo.h"
#include "logic/core/ContainerInfo.h"
#include "logic/core/GroundMap.h"
#include "logic/core/ThingInfo.h"
#include "logic/core/UnitInfo.h"
#include "logic/core/YLWeapon.h"

namespace {

using ObjectOwner = std::unique_ptr<LumoObject, tObjectDestroyer>;

// The logic's classes live in a static library: naming each one's factory
// here links its class record in, and the check below shows a class that
// went missing anyway.
void RequireLogicClasses() {
  static const bool checked = [] {
    DestroyThingInfo(CreateThingInfo(0, 0, 0, 0, 0, nullptr));
    ObjectOwner weapon(new YLWeapon());
    for (const char* name : {"ThingInfo", "GroundMap", "UnitInfo", "LeaderInfo", "ContainerInfo", "VehicleInfo",
                             "ShackInfo", "BuildingInfo", "PubInfo", "YLWeapon"}) {
      FuzzRequire(FindClass(name) != nullptr, "every class of the logic's records is registered");
    }
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

// What each record type promises after a load, read the way the logic and
// the game program read it.
void CheckRecord(LumoObject& object) {
  if (auto* map = dynamic_cast<GroundMap*>(&object)) {
    CheckGroundMap(*map);
  }
  auto* thing = dynamic_cast<ThingInfo*>(&object);
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
  // A wall added to the footprint makes a ground map when there is none.
  thing->AddWall(thing->X + 1, thing->Y, false);
  FuzzRequire(thing->Ground != nullptr && thing->Ground->HasPoint(thing->GetFacing(), 1, 0),
              "an added wall is in the footprint");
  thing->AddWall(thing->X + 1, thing->Y, true);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  RequireLogicClasses();
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
