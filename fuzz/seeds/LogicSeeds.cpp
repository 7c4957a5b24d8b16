#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "base/LumoMemoryStream.h"
#include "fuzz/seeds/SeedRecords.h"
#include "fuzz/seeds/Seeds.h"
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

// The offset of the first copy of the text in the record.
size_t OffsetOf(const std::string& record, const std::string& text) {
  const size_t found = record.find(text);
  return found == std::string::npos ? record.size() : found;
}

void SetCommonFields(ThingInfo& info, int32_t tid) {
  info.Tid = tid;
  info.Gfx = 40 + tid;
  info.Hp = 0.5f;
  info.Time = 3;
  info.SetMove(nullptr, 6);
}

// A thing of class T with its default record at (x, y), its move started.
template <typename T>
T* MadeThing(int32_t tid, int32_t moveNumber, int32_t x, int32_t y) {
  auto* thing = new T;
  thing->CreateInfo(moveNumber);
  thing->Info->Tid = tid;
  thing->Info->X = x;
  thing->Info->Y = y;
  return thing;
}

using ThingOwner = std::unique_ptr<YLThing, tObjectDestroyer>;

class SeedBrain final : public LumoBrain {
 public:
  int32_t Move() override { return 0; }
  int32_t OnBrainMove(int32_t) override { return 0; }
};

// The things that carry a record, written in the context of a logic with the
// plain things' move table, as the logic saves them; and a brain's stream
// form, read from the same inputs.
void WriteThingSeeds(const std::filesystem::path& folder) {
  CLogic logic;
  logic.Things.reset(new LumoObjects(true));
  logic.Listeners.reset(new LumoList);
  YLThing::SetLogicContext(nullptr, &logic);
  YLTPushableThing::InitMoveTable();

  ThingOwner plain(MadeThing<YLThing>(1, YLThing::kMoveAmbient, 4, 5));
  plain->Info->Gfx = 3;
  WriteSeed(folder, "written-thing.bin", SeedRecordOf(*plain));

  auto* barricade = MadeThing<YLTBaricade>(2, YLThing::kMoveRest, 6, 7);
  ThingOwner barricadeOwner(barricade);
  barricade->Cleaned = true;
  barricade->SetBorder(77);
  const std::string barricadeRecord = SeedRecordOf(*barricade);
  WriteSeed(folder, "written-barricade.bin", barricadeRecord);
  // A record that ends before the border's marker, as older saves do.
  const size_t border = OffsetOf(barricadeRecord, "border:");
  WriteSeed(folder, "damaged-barricade-without-border.bin",
            border >= 4 && border < barricadeRecord.size() ? barricadeRecord.substr(0, border - 4)
                                                           : barricadeRecord);

  auto* crate = MadeThing<YLTPushableThing>(3, YLThing::kMovePushFirst + 2, 10, 12);
  ThingOwner crateOwner(crate);
  crate->PushCounter = 6;
  crate->Pusher = 5;
  WriteSeed(folder, "written-pushable.bin", SeedRecordOf(*crate));

  auto* container = MadeThing<YLTContainerThing>(4, YLThing::kMoveRest, 20, 20);
  ThingOwner containerOwner(container);
  if (auto* info = container->GetContainerInfo()) {
    info->AddContainedID(9);
    info->SetEntranceRel(1, 1);
  }
  WriteSeed(folder, "written-container-thing.bin", SeedRecordOf(*container));

  auto* fence = MadeThing<YLTLvl11Fence>(5, YLThing::kMoveRest, 30, 31);
  ThingOwner fenceOwner(fence);
  fence->Info->Ori = 7;
  fence->SetBorder(12);
  const std::string fenceRecord = SeedRecordOf(*fence);
  WriteSeed(folder, "written-fence.bin", fenceRecord);
  WriteSeed(folder, "damaged-fence-cut-short.bin", fenceRecord.substr(0, fenceRecord.size() - 3));

  SeedBrain brain;
  brain.SetActive(9);
  brain.AddNeighbour(4);
  brain.AddNeighbour(12);
  brain.AddPressure(0.75f);
  brain.AddStimulus(3, 2, 0.5f);
  brain.AddStimulus(8, 1, 1.25f);
  LumoMemoryStream stream;
  if (stream.OpenNew(64, 1, 0) && stream.SetGrowth(256) != 0 && brain.SaveBrain(&stream)) {
    WriteSeed(folder, "written-brain.bin", std::string(reinterpret_cast<const char*>(stream.buffer), stream.position));
  } else {
    std::fprintf(stderr, "Cannot save the seed brain\n");
  }

  YLThing::SetLogicContext(nullptr, nullptr);
}

// A unit's plan as a tree of steps: a Goto with two waypoints, a chant, a
// barricade and a lying step; and the same without the barricade's "down:"
// field, as older saves store it.
void WritePlanSeeds(const std::filesystem::path& folder) {
  std::unique_ptr<PsychicPlanItem, tObjectDestroyer> root(new PsychicPlanItem);
  auto* going = new PsychicPlanGoto(12, 30, 0.75f, true);
  going->Expandable = false;
  going->AddChild(new PsychicPlanGoto(10, 20, 0.75f, true));
  going->AddChild(new PsychicPlanGoto(12, 30, 0.75f, true));
  auto* chant = new PsychicPlanChant(0, 0, 2.0f, true);
  chant->Period = 5;
  auto* barricade = new PsychicPlanBaricade(7, 8, 0.5f, false);
  barricade->Down = 0;
  auto* out = new PsychicPlanOut(0, 0, 1.0f, false);
  out->Period = 40;
  root->AddChild(going);
  root->AddChild(chant);
  root->AddChild(barricade);
  root->AddChild(out);
  const std::string record = SeedRecordOf(*root);
  WriteSeed(folder, "written-plan.bin", record);
  const size_t down = OffsetOf(record, "down:");
  if (down >= 4 && down + 9 <= record.size()) {
    WriteSeed(folder, "written-plan-without-down.bin", record.substr(0, down - 4) + record.substr(down + 9));
  }
}

}  // namespace

void WriteLogicRecordSeeds(const std::filesystem::path& folder) {
  WritePlanSeeds(folder);
  // A thing with a footprint of three cells in its facing, and a move.
  ThingInfo thing(10, 12, 0, 2, 1);
  SetCommonFields(thing, 1);
  thing.AddWall(11, 12, false);
  thing.AddWall(10, 13, false);
  const std::string thingRecord = SeedRecordOf(thing);
  WriteSeed(folder, "written-thing-ground-map.bin", thingRecord);

  GroundMap map;
  map.AddPoint(0, 1, 1);
  map.AddPoint(7, -1, 2);
  WriteSeed(folder, "written-ground-map.bin", SeedRecordOf(map));

  UnitInfo unit(3, 4, 0, 5, 2);
  SetCommonFields(unit, 2);
  unit.Leader = 9;
  unit.Weapon = 2;
  WriteSeed(folder, "written-unit.bin", SeedRecordOf(unit));

  LeaderInfo leader(5, 5, 0, 1, 2);
  SetCommonFields(leader, 9);
  leader.SetName("Boss");
  leader.GroupSize = 3;
  leader.Group[0] = 2;
  leader.Group[1] = 4;
  leader.Group[2] = 6;
  leader.DopeDoses = 12;
  const std::string leaderRecord = SeedRecordOf(leader);
  WriteSeed(folder, "written-leader-group.bin", leaderRecord);

  YLWeapon weapon(0.25f, 0.5f, 8, 4, 2.5f, 15, true, 300, 3, 1);
  weapon.SetName("Molotov");
  WriteSeed(folder, "written-weapon-splat-range.bin", SeedRecordOf(weapon));

  ContainerInfo container(20, 20, 0, 0, 1);
  SetCommonFields(container, 20);
  container.AddContainedID(2);
  container.AddContainedID(4);
  container.SetEntranceRel(1, -1);
  const std::string containerRecord = SeedRecordOf(container);
  WriteSeed(folder, "written-container.bin", containerRecord);

  VehicleInfo vehicle(30, 30, 0, 4, 2);
  SetCommonFields(vehicle, 30);
  vehicle.DriverID = 2;
  vehicle.AddContainedID(2);
  WriteSeed(folder, "written-vehicle.bin", SeedRecordOf(vehicle));

  ShackInfo shack(40, 40, 0, 0, 0);
  SetCommonFields(shack, 40);
  WriteSeed(folder, "written-shack.bin", SeedRecordOf(shack));

  BuildingInfo building(50, 50, 0, 0, 3);
  SetCommonFields(building, 50);
  building.Money = 1200;
  building.SuitChick = 2;
  building.AddWall(51, 50, false);
  const std::string buildingRecord = SeedRecordOf(building);
  WriteSeed(folder, "written-building-suit.bin", buildingRecord);

  PubInfo pub(60, 60, 0, 0, 0);
  SetCommonFields(pub, 60);
  pub.SetName("The Crown");
  pub.HCRatjes = 3;
  pub.HCBulches = 10;
  pub.SupporterBeer = 40;
  WriteSeed(folder, "written-pub.bin", SeedRecordOf(pub));

  // Damaged forms: a group larger than a leader's record, counts beyond the
  // stream, an odd count of ground map values, a building without its
  // "suit:" field, records cut short.
  const size_t groupSize = OffsetOf(leaderRecord, std::string("\x03\x00\x00\x00\x02", 5));
  std::string bigGroup = leaderRecord;
  if (groupSize < bigGroup.size()) {
    bigGroup[groupSize] = 17;
  }
  WriteSeed(folder, "damaged-leader-group-17.bin", bigGroup);
  const size_t containedCount = OffsetOf(containerRecord, std::string("\x00\x00\x00\x02\x00\x00\x00\x02", 8));
  WriteSeed(folder, "damaged-contained-count.bin", PatchedBigEndian(containerRecord, containedCount, 0x7FFFFFF0u));
  const size_t mapCount = OffsetOf(thingRecord, std::string("\x00\x00\x00\x02\x00\x00\x00\x00", 8));
  WriteSeed(folder, "damaged-ground-map-odd-count.bin", PatchedBigEndian(thingRecord, mapCount, 3));
  const size_t suit = OffsetOf(buildingRecord, "suit:");
  if (suit >= 4 && suit < buildingRecord.size()) {
    std::string withoutSuit = buildingRecord;
    withoutSuit.erase(suit - 4, 4 + 5 + 4);
    WriteSeed(folder, "damaged-building-without-suit.bin", withoutSuit);
  }
  WriteSeed(folder, "damaged-thing-cut-short.bin", thingRecord.substr(0, thingRecord.size() - 5));
  WriteSeed(folder, "damaged-leader-cut-short.bin", leaderRecord.substr(0, leaderRecord.size() / 2));

  WriteThingSeeds(folder);
}
