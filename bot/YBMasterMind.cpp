#include "bot/YBMasterMind.h"

#include <cmath>
#include <cstdlib>

#include "base/LumoClass.h"
#include "base/LumoStream.h"
#include "base/TextUtils.h"
#include "bot/BotSupport.h"
#include "bot/YBBot.h"
#include "bot/YBBotList.h"
#include "bot/YBCommandGroup.h"
#include "bot/YBCrew.h"
#include "bot/YBCrewAssignment.h"
#include "bot/YBCriminal.h"
#include "bot/YBIdentifierList.h"
#include "bot/YBObjective.h"
#include "bot/YBSector.h"
#include "bot/YBSituation.h"
#include "bot/YBTask.h"
#include "bot/YBThing.h"
#include "logic/core/LogicQueries.h"
#include "logic/core/ThingInfo.h"
#include "logic/core/UnitInfo.h"
#include "navigation/YLKnowledgeMap.h"
#include "navigation/YLPathFinder.h"
#include "navigation/YLSectors.h"
#include "runtime/Timer.h"

namespace {

LumoClassOf<YBMasterMind> classOfYBMasterMind(kVersion_1_6_0_6, "YBMasterMind", "LumoObject");
LUMO_FIELD_PROPERTY(kVersion_1_6_0_6, YBMasterMind, Objectives, PropertyPointer, "tPointer");
LUMO_FIELD_PROPERTY(kVersion_1_6_0_7, YBMasterMind, Criminals, PropertyPointer, "tPointer");

YBMasterMind* currentController = nullptr;

// Thing identifiers index the records and the criminal records; the
// logic's thing table never comes near this, so a larger identifier from a
// damaged stream is refused rather than allocated.
constexpr int32_t kMaxThingId = 1 << 20;

constexpr int32_t kBuildingTypePoliceDepartment = 13;
constexpr int32_t kBuildingTypeSpecial = 14;
constexpr uint32_t kVehicleKindPoliceBase = 2;
constexpr uint32_t kMarkedNodeFlag = 1u << 31;

uint32_t VehicleKind(const ThingInfo* info) {
  return (info->Status & StatusVehicleTypeMask) >> kStatusVehicleTypeShift;
}

// The units of a crew: types below 15 of the four players.
bool IsCrewType(const YBUnit* unit) { return unit->Info->Gfx < kFirstNonCrewType; }

}  // namespace

YBMasterMind::YBMasterMind() : Objectives(new LumoList) { currentController = this; }

YBMasterMind::~YBMasterMind() {
  if (currentController == this) {
    currentController = nullptr;
  }
}

YBMasterMind* YBMasterMind::GetCurrent() { return currentController; }

void YBMasterMind::MakeCurrent() { currentController = this; }

void YBMasterMind::OnFree() {
  StopAllTasks();
  ResetSearch();
  ReleaseKnowledge();
  Objectives.reset();
  Criminals.reset();
  PathFinder.reset();
  Distances.clear();
  SetBots(nullptr);
  Map = nullptr;
  SectorMap = nullptr;
  if (currentController == this) {
    currentController = nullptr;
  }
}

void YBMasterMind::DoAbortReferenceTo(LumoObject* other) {
  if (other == Bots) {
    Bots = nullptr;
  }
  LumoObject::DoAbortReferenceTo(other);
}

void YBMasterMind::SetBots(YBBotList* bots) {
  if (bots == Bots) {
    return;
  }
  RemoveReference(Bots);
  Bots = bots;
  AddReference(bots);
}

// ---- Stream form ----

bool YBMasterMind::LoadObjectives(LumoStream* stream, const LumoProperty*) {
  LumoObject* loaded = LoadObject(stream, nullptr);
  auto* list = dynamic_cast<LumoList*>(loaded);
  if (list == nullptr) {
    DebugPrint("(BOT) YBMasterMind::LoadObjectives() could not read the objectives\n");
    DestroyObject(loaded);
    return false;
  }
  list->VisitItems([](LumoNode* item) {
    if (dynamic_cast<YBObjective*>(item) == nullptr) {
      DebugPrint("(BOT) YBMasterMind::LoadObjectives() dropped a %s that is no objective\n", item->GetClassName());
      DestroyObject(item);
    }
    return false;
  });
  Objectives.reset(list);
  return true;
}

bool YBMasterMind::SaveObjectives(LumoStream* stream, const LumoProperty*) {
  return Objectives->SaveObject(stream, 0);
}

bool YBMasterMind::LoadCriminals(LumoStream* stream, const LumoProperty*) {
  std::unique_ptr<LumoObject, tObjectDestroyer> loaded(LoadObject(stream, nullptr));
  auto* stored = dynamic_cast<LumoObjects*>(loaded.get());
  if (stored == nullptr) {
    DebugPrint("(BOT) YBMasterMind::LoadCriminals() could not read the criminal records\n");
    return false;
  }
  // Each record goes to the slot of its own identifier, whatever slot the
  // stream gave it, so a lookup by thing identifier finds it.
  std::unique_ptr<LumoObjects, tObjectDestroyer> criminals(new LumoObjects(true));
  for (int32_t slot = 0; slot < stored->count; ++slot) {
    LumoObject* element = (*stored)[slot];
    if (element == nullptr) {
      continue;
    }
    auto* criminal = dynamic_cast<YBCriminal*>(element);
    const int32_t id = criminal != nullptr ? static_cast<int32_t>(criminal->ID) : -1;
    if (criminal == nullptr || id < 0 || id >= kMaxThingId || criminals->At(id) != nullptr) {
      DebugPrint("(BOT) YBMasterMind::LoadCriminals() dropped a %s at slot %d\n", element->GetClassName(), slot);
      continue;
    }
    (*stored)[slot] = nullptr;
    if (criminals->count <= id) {
      criminals->SetCount(id + 1);
    }
    (*criminals)[id] = criminal;
  }
  Criminals = std::move(criminals);
  return true;
}

bool YBMasterMind::SaveCriminals(LumoStream* stream, const LumoProperty*) {
  if (Criminals == nullptr) {
    LumoObjects empty(true);
    return empty.SaveObject(stream, 0);
  }
  return Criminals->SaveObject(stream, 0);
}

// ---- Knowledge ----

void YBMasterMind::StopAllTasks() {
  if (Bots == nullptr) {
    return;
  }
  for (LumoNode* node = Bots->first; node != nullptr; node = node->next) {
    auto* bot = dynamic_cast<YBBot*>(node);
    if (bot == nullptr || bot->Tasks == nullptr) {
      continue;
    }
    for (LumoNode* item = bot->Tasks->first; item != nullptr; item = item->next) {
      if (auto* task = dynamic_cast<YBTask*>(item); task != nullptr) {
        task->Stop();
      }
    }
  }
}

void YBMasterMind::ResetSearch() {
  for (auto& list : OpenLists) {
    list.clear();
  }
  ViewedSituation = nullptr;
  YBSituation* root = Root;
  Root = nullptr;
  DestroyObject(root);
  CallCounter = 0;
}

void YBMasterMind::ReleaseRecord(YBThing* record) {
  // Started tasks hold records in their command groups: stopping them lets
  // every group go before the record does.
  StopAllTasks();
  if (auto* unit = dynamic_cast<YBUnit*>(record); unit != nullptr) {
    if (unit->Group != nullptr) {
      unit->Group->RemoveMember(unit);
    }
    if (unit->Assignment != nullptr) {
      unit->Assignment->RemoveUnit(unit);
    }
  }
  for (YBSector* sector : Sectors) {
    if (sector != nullptr) {
      sector->Forget(record);
    }
  }
  if (PoliceBase == record) {
    PoliceBase = nullptr;
  }
  DestroyObject(record);
}

void YBMasterMind::ReleaseKnowledge() {
  for (YBCrewAssignment* assignment : Assignments) {
    DestroyObject(assignment);
  }
  Assignments.clear();
  for (YBSector* sector : Sectors) {
    DestroyObject(sector);
  }
  Sectors.clear();
  PoliceBase = nullptr;
  for (YBThing* record : Things) {
    if (auto* unit = dynamic_cast<YBUnit*>(record); unit != nullptr && unit->Group != nullptr) {
      unit->Group->RemoveMember(unit);
    }
    DestroyObject(record);
  }
  Things.clear();
}

void YBMasterMind::SetMap(YLKnowledgeMap* map) {
  StopAllTasks();
  ResetSearch();
  ReleaseKnowledge();
  Map = map;
  SectorMap = map != nullptr ? map->GetSectors() : nullptr;
  int32_t count = SectorMap != nullptr ? SectorMap->GetSectorCount() : 0;
  if (count > kMaxSectors) {
    // A cell names sectors 0-254 only; more would only make the distance
    // table grow with the square of the count.
    DebugPrint("(BOT) YBMasterMind::SetMap() keeps %d of the map's %d sectors\n", kMaxSectors, count);
    count = kMaxSectors;
  }
  Sectors.assign(static_cast<size_t>(count), nullptr);
  for (int32_t index = 0; index < count; ++index) {
    YLSector* sector = SectorMap->GetSector(index);
    if (sector == nullptr) {
      continue;
    }
    int32_t x = 0;
    int32_t y = 0;
    sector->GetCentre(x, y);
    Sectors[static_cast<size_t>(index)] = new YBSector(sector, x, y);
  }
  PathFinder.reset();
  if (map != nullptr) {
    PathFinder = std::make_unique<YLPathFinder>();
    PathFinder->Attach(map);
  }
  if (Criminals == nullptr) {
    Criminals.reset(new LumoObjects(true));
  }
  BuildDistances();
  const double width = map != nullptr ? map->GetWidth() : 0;
  const double height = map != nullptr ? map->GetHeight() : 0;
  MapDiagonal = static_cast<float>(std::sqrt(width * width + height * height));
}

void YBMasterMind::BuildDistances() {
  const size_t count = Sectors.size();
  Distances.assign(count * (count + 1) / 2, 0);
  for (size_t row = 0; row < count; ++row) {
    for (size_t column = 0; column < row; ++column) {
      const YBSector* first = Sectors[row];
      const YBSector* second = Sectors[column];
      uint16_t distance = kMissingSectorDistance;
      if (first != nullptr && second != nullptr) {
        const double dx = static_cast<double>(first->X) - second->X;
        const double dy = static_cast<double>(first->Y) - second->Y;
        const double length = std::sqrt(dx * dx + dy * dy);
        // Held below the missing mark, so a far sector never reads as none.
        distance = length >= kMissingSectorDistance - 1 ? static_cast<uint16_t>(kMissingSectorDistance - 1)
                                                        : static_cast<uint16_t>(length);
      }
      Distances[row * (row + 1) / 2 + column] = distance;
    }
  }
}

int32_t YBMasterMind::GetSectorDistance(int32_t a, int32_t b) const {
  const int32_t count = GetSectorCount();
  // 255 is no sector; an identifier past the table (a new assignment's -1,
  // a level's list) would read outside it.
  if (a < 0 || b < 0 || a >= count || b >= count || a == kMaxSectors || b == kMaxSectors) {
    return kNoSectorDistance;
  }
  const size_t row = static_cast<size_t>(a > b ? a : b);
  const size_t column = static_cast<size_t>(a > b ? b : a);
  return static_cast<int16_t>(Distances[row * (row + 1) / 2 + column]);
}

float YBMasterMind::GetSectorCloseness(int32_t a, int32_t b) const {
  return 1.0f - static_cast<float>(GetSectorDistance(a, b)) / MapDiagonal;
}

YBThing* YBMasterMind::AddThing(ThingInfo* info) {
  if (info == nullptr) {
    return nullptr;
  }
  const int32_t id = info->Tid;
  if (id < 0 || id >= kMaxThingId) {
    DebugPrint("(BOT) YBMasterMind::AddThing() refused the thing identifier %d\n", id);
    return nullptr;
  }
  YBThing* record = nullptr;
  if (info->IsUnit()) {
    record = new YBUnit(info);
  } else if (info->IsBuilding()) {
    record = new YBBuilding(info);
  } else if (info->IsVehicle()) {
    record = new YBVehicle(info);
  } else {
    record = new YBThing(info);
  }
  if (Things.size() <= static_cast<size_t>(id)) {
    Things.resize(static_cast<size_t>(id) + 1, nullptr);
  }
  if (YBThing* old = Things[static_cast<size_t>(id)]; old != nullptr) {
    Things[static_cast<size_t>(id)] = nullptr;
    ReleaseRecord(old);
  }
  Things[static_cast<size_t>(id)] = record;
  YBSector* sector = GetSector(record);
  if (auto* unit = dynamic_cast<YBUnit*>(record); unit != nullptr) {
    AddUnit(unit);
  } else if (auto* building = dynamic_cast<YBBuilding*>(record); building != nullptr) {
    if (sector != nullptr) {
      sector->AddBuilding(building);
    }
    const bool baseIsDepartment = PoliceBase != nullptr && PoliceBase->Info->BuildingType == kBuildingTypePoliceDepartment &&
                                  dynamic_cast<YBBuilding*>(PoliceBase) != nullptr;
    if (info->BuildingType == kBuildingTypePoliceDepartment && !baseIsDepartment) {
      PoliceBase = building;
    }
  } else if (auto* vehicle = dynamic_cast<YBVehicle*>(record); vehicle != nullptr) {
    if (sector != nullptr) {
      sector->AddVehicle(vehicle);
    }
    if (PoliceBase == nullptr && VehicleKind(info) == kVehicleKindPoliceBase) {
      PoliceBase = vehicle;
    }
  } else if (info->BuildingType == kBuildingTypeSpecial && sector != nullptr) {
    sector->Special = record;
  }
  return record;
}

bool YBMasterMind::HasValidOwner(const YBUnit* unit) {
  const int32_t owner = unit->Info->Owner;
  if (owner >= 0 && owner < kPlayers) {
    return true;
  }
  if (!loggedBadOwner_) {
    loggedBadOwner_ = true;
    DebugPrint("(BOT) YBMasterMind: unit %d of player %d stays out of the crews\n", unit->GetID(), owner);
  }
  return false;
}

YBCrewAssignment* YBMasterMind::NewAssignment(int32_t player, int32_t sector, YBObjective* objective) {
  auto* assignment = new YBCrewAssignment;
  auto* crew = new YBCrew;
  crew->Player = player;
  crew->ID = NextCrewID();
  if (objective != nullptr) {
    crew->SystemFlags |= YBCrew::kObjectiveFlag;
  }
  assignment->SetCrew(crew);
  assignment->Sector = static_cast<int16_t>(sector);
  assignment->Objective = objective;
  Assignments.push_back(assignment);
  return assignment;
}

uint32_t YBMasterMind::NextCrewID() const {
  int64_t largest = -1;
  for (const YBCrewAssignment* assignment : Assignments) {
    if (assignment->Crew != nullptr) {
      largest = std::max<int64_t>(largest, static_cast<int32_t>(assignment->Crew->ID));
    }
  }
  if (Root != nullptr) {
    for (int32_t index = 0; index < Root->GetCrewCount(); ++index) {
      largest = std::max<int64_t>(largest, static_cast<int32_t>(Root->GetCrew(index)->ID));
    }
  }
  return static_cast<uint32_t>(largest + 1);
}

void YBMasterMind::AddUnit(YBUnit* unit) {
  BotGuard("(BOT) Unhandled exception during YBMasterMind::AddUnit( )\n", [&] {
    if (unit == nullptr || !IsCrewType(unit) || !HasValidOwner(unit)) {
      return;
    }
    const int32_t owner = unit->Info->Owner;
    const int32_t sector = GetSectorID(unit);
    YBCrewAssignment* chosen = nullptr;
    YBObjective* wanting = nullptr;
    for (LumoNode* node = Objectives->first; node != nullptr && wanting == nullptr; node = node->next) {
      auto* objective = static_cast<YBObjective*>(node);
      if (objective->Priority >= 0.0f && objective->IsAssigned(unit->GetID())) {
        wanting = objective;
      }
    }
    for (YBCrewAssignment* assignment : Assignments) {
      if (assignment->Crew != nullptr && assignment->Crew->Player == owner && assignment->Objective == wanting &&
          assignment->Sector == sector) {
        chosen = assignment;
        break;
      }
    }
    if (chosen == nullptr) {
      chosen = NewAssignment(owner, sector, wanting);
    }
    chosen->Crew->Player = owner;
    if (unit->Assignment != nullptr && unit->Assignment != chosen) {
      unit->Assignment->RemoveUnit(unit);
    }
    chosen->AddUnit(unit);
  });
}

YBCrewAssignment* YBMasterMind::AddAssigment(const YBIdentifierList* list, YBObjective* objective) {
  YBCrewAssignment* assignment = NewAssignment(-1, -1, nullptr);
  int32_t player = -1;
  bool found = false;
  if (list != nullptr) {
    for (int32_t id : list->Values) {
      YBUnit* unit = GetUnit(id);
      if (unit == nullptr) {
        DebugPrint("(BOT) YBMasterMind::AddAssigment(...) with thing %d that is NOT a unit.\n", id);
        continue;
      }
      if (!IsCrewType(unit) || !HasValidOwner(unit)) {
        continue;
      }
      if (!found) {
        player = unit->Info->Owner;
        found = true;
      } else if (unit->Info->Owner != player) {
        DebugPrint("(BOT) YBMasterMind::AddAssigment(...) with units owner by different players (%d and %d)\n",
                   player, unit->Info->Owner);
      }
      if (unit->Assignment != nullptr && unit->Assignment != assignment) {
        unit->Assignment->RemoveUnit(unit);
      }
      assignment->AddUnit(unit);
    }
  }
  assignment->Crew->Player = player;
  if (objective != nullptr) {
    assignment->Crew->SystemFlags |= YBCrew::kObjectiveFlag;
    assignment->Objective = objective;
  }
  assignment->Update();
  return assignment;
}

void YBMasterMind::RemoveAssignment(YBCrewAssignment* assignment) {
  const auto found = std::find(Assignments.begin(), Assignments.end(), assignment);
  if (found == Assignments.end()) {
    return;
  }
  Assignments.erase(found);
  DestroyObject(assignment);
}

YBCriminal* YBMasterMind::AddCriminal(YBUnit* unit, float amount) {
  const int32_t id = unit != nullptr ? unit->GetID() : -1;
  if (id < 0 || id >= kMaxThingId) {
    return nullptr;
  }
  if (Criminals == nullptr) {
    Criminals.reset(new LumoObjects(true));
  }
  if (Criminals->count <= id) {
    Criminals->SetCount(id + 1);
  }
  auto* criminal = static_cast<YBCriminal*>((*Criminals)[id]);
  if (criminal == nullptr) {
    criminal = new YBCriminal;
    criminal->SetID(static_cast<uint32_t>(id));
    (*Criminals)[id] = criminal;
  }
  criminal->SetCrime(criminal->Crime + amount);
  criminal->SetTime(CallCounter);
  return criminal;
}

YBCriminal* YBMasterMind::GetCriminal(int32_t id) const {
  return Criminals != nullptr ? dynamic_cast<YBCriminal*>(Criminals->At(id)) : nullptr;
}

bool YBMasterMind::Compute() {
  return BotGuard("(BOT)Unhandled exception during YBMasterMind::Compute()\n", [&] {
    const uint32_t start = GetSystemUpTime();
    // The search itself (the first step's root, the realisation every 16th
    // call and the expansions within the budget) runs here.
    ++CallCounter;
    SearchBudget = 8 * (16 - CallCounter % 16);
    ComputeTime = static_cast<int32_t>(GetSystemUpTime() - start);
    return true;
  });
}

// ---- Lookups ----

YBThing* YBMasterMind::GetThing(int32_t id) const {
  return id >= 0 && static_cast<size_t>(id) < Things.size() ? Things[static_cast<size_t>(id)] : nullptr;
}
YBUnit* YBMasterMind::GetUnit(int32_t id) const { return dynamic_cast<YBUnit*>(GetThing(id)); }
YBBuilding* YBMasterMind::GetBuilding(int32_t id) const { return dynamic_cast<YBBuilding*>(GetThing(id)); }
YBContainer* YBMasterMind::GetContainer(int32_t id) const { return dynamic_cast<YBContainer*>(GetThing(id)); }
YBVehicle* YBMasterMind::GetVehicle(int32_t id) const { return dynamic_cast<YBVehicle*>(GetThing(id)); }

YBContainer* YBMasterMind::GetContainerOf(const YBThing* record) const {
  if (record == nullptr) {
    return nullptr;
  }
  for (YBThing* thing : Things) {
    auto* container = dynamic_cast<YBContainer*>(thing);
    if (container != nullptr && container->Contains(record)) {
      return container;
    }
  }
  return nullptr;
}

YBUnit* YBMasterMind::GetUnitAt(int32_t x, int32_t y) const {
  const int32_t id = Map != nullptr ? Map->GetUnit(x, y) : 0;
  return id > 0 ? GetUnit(id) : nullptr;
}

YBSector* YBMasterMind::GetSector(int32_t index) const {
  return index >= 0 && index < GetSectorCount() ? Sectors[static_cast<size_t>(index)] : nullptr;
}

YBSector* YBMasterMind::GetSectorAt(int32_t x, int32_t y) const {
  return Map != nullptr ? GetSector(Map->GetSector(x, y)) : nullptr;
}

YBSector* YBMasterMind::GetSectorNearestCentre(int32_t x, int32_t y) const {
  YBSector* nearest = nullptr;
  int64_t nearestDistance = 0;
  for (YBSector* sector : Sectors) {
    if (sector == nullptr) {
      continue;
    }
    const int64_t dx = int64_t{sector->X} - x;
    const int64_t dy = int64_t{sector->Y} - y;
    const int64_t distance = dx * dx + dy * dy;
    if (nearest == nullptr || distance < nearestDistance) {
      nearest = sector;
      nearestDistance = distance;
    }
  }
  return nearest;
}

YBSector* YBMasterMind::GetNearestSector(int32_t x, int32_t y) const {
  YBSector* sector = GetSectorAt(x, y);
  return sector != nullptr ? sector : GetSectorNearestCentre(x, y);
}

YBSector* YBMasterMind::GetSector(const YBThing* record) const {
  return record != nullptr ? GetSectorAt(record->GetX(), record->GetY()) : nullptr;
}

int32_t YBMasterMind::GetSectorID(const YBThing* record) const {
  const YBSector* sector = GetSector(record);
  return sector != nullptr ? static_cast<uint8_t>(sector->GetID()) : 0;
}

YBCrewAssignment* YBMasterMind::FindAssignment(int32_t crewId) const {
  for (YBCrewAssignment* assignment : Assignments) {
    if (assignment->GetCrewID() == crewId) {
      return assignment;
    }
  }
  return nullptr;
}

YBCrewAssignment* YBMasterMind::GetAssignment(int32_t index) const {
  return index >= 0 && index < GetAssignmentCount() ? Assignments[static_cast<size_t>(index)] : nullptr;
}

int32_t YBMasterMind::IndexOfAssignment(const YBCrewAssignment* assignment) const {
  const auto found = std::find(Assignments.begin(), Assignments.end(), assignment);
  return found != Assignments.end() ? static_cast<int32_t>(found - Assignments.begin()) : -1;
}

YBBot* YBMasterMind::GetBot(int32_t player) const { return Bots != nullptr ? Bots->GetBot(player) : nullptr; }

std::unique_ptr<LumoObjects, tObjectDestroyer> YBMasterMind::FindRoute(int32_t x, int32_t y, const YBSector* target,
                                                                       bool vehicle) {
  std::unique_ptr<LumoObjects, tObjectDestroyer> route;
  if (target == nullptr || PathFinder == nullptr || GetSectorAt(x, y) == target) {
    return route;
  }
  const YLPathPlanNode* node = vehicle ? PathFinder->FindVehiclePath(x, y, target->X, target->Y)
                                       : PathFinder->FindPath(x, y, target->X, target->Y);
  if (node == nullptr) {
    return route;
  }
  route.reset(new LumoObjects(false));
  for (; node != nullptr; node = node->next.get()) {
    // A crossing counts for the sector it leads into; the start for the
    // sector it stands in; the goal is the target.
    YBSector* sector = nullptr;
    if (node->next == nullptr) {
      sector = const_cast<YBSector*>(target);
    } else if (node->border != nullptr) {
      const YLSector* next = node->NextSector();
      sector = next != nullptr ? GetSector(static_cast<int32_t>(next->ID)) : nullptr;
    } else {
      sector = GetSectorAt(node->x, node->y);
    }
    if (sector != nullptr) {
      route->Append(sector);
    }
  }
  return route;
}

float YBMasterMind::GetMight(const YBIdentifierList* list) const {
  float might = 0.0f;
  if (list == nullptr) {
    return might;
  }
  for (int32_t id : list->Values) {
    const YBUnit* unit = GetUnit(id);
    const UnitInfo* info = unit != nullptr ? unit->GetUnitInfo() : nullptr;
    if (info == nullptr) {
      continue;
    }
    might += (GetWeaponHealthDamage(info->Gfx, info->Weapon) + GetWeaponConsDamage(info->Gfx, info->Weapon)) *
             (info->Hp + info->Cons);
  }
  return might;
}

// ---- Objective values ----

void YBMasterMind::SetObjectiveValue(int32_t objectiveId, int32_t code, const char* text) {
  const char* value = text != nullptr ? text : "";
  Objectives->VisitItems([&](LumoNode* node) {
    auto* objective = static_cast<YBObjective*>(node);
    if (objective->GetObjectiveID() != objectiveId) {
      return false;
    }
    if (code == 0 || code == 1) {
      DebugPrint("(BOT) External change of Objective ID or Objective Player is not allowed\n");
    } else if (code == 2) {
      objective->ChangePriority(CompareNoCase(value, "Off") == 0 ? YBObjective::kOff
                                                                 : static_cast<float>(std::atof(value) * 0.01));
    } else if (code == 3) {
      const std::unique_ptr<YBIdentifierList> list = YBIdentifierList::FromText(value);
      objective->SetAssignment(list.get());
    } else {
      objective->SetProperty(code, value);
    }
    return false;
  });
}

void YBMasterMind::MarkCriminal(YBUnit* unit) {
  AddCriminal(unit, 1.0f);
  AddSectorCrime(GetSector(unit), 1.0f);
}

void YBMasterMind::SetGlobalValue(int32_t code, int32_t player, const char* text) {
  if (code < 1 || code > 3) {
    return;
  }
  const std::unique_ptr<YBIdentifierList> list = YBIdentifierList::FromText(text);
  for (YBThing* record : Things) {
    auto* unit = dynamic_cast<YBUnit*>(record);
    if (unit == nullptr || (player != -1 && unit->Info->Owner != player)) {
      continue;
    }
    bool marked = false;
    if (code == 1) {
      const YBSector* sector = GetSector(unit);
      marked = sector != nullptr && list->Contains(sector->GetID());
    } else if (code == 2) {
      marked = list->Contains(unit->GetID());
    } else {
      marked = (unit->Info->Status & kStatusCriminal) != 0;
    }
    if (marked) {
      MarkCriminal(unit);
    }
  }
}

void YBMasterMind::AddSectorCrime(YBSector* sector, float amount) {
  if (sector != nullptr) {
    sector->Crime += amount;
  }
}

void YBMasterMind::MarkNode(LumoNode* node) {
  if (node != nullptr) {
    node->Flags |= kMarkedNodeFlag;
  }
}

int32_t YBMasterMind::GetMoney(int32_t player) const {
  return player >= 0 && player < kPlayers ? Money[player] : 0;
}

void YBMasterMind::SetMoney(int32_t player, int32_t value) {
  if (player >= 0 && player < kPlayers) {
    Money[player] = value;
  }
}
