// The logic's class record, its stored properties and what a load sets up
// again afterwards.

#include <algorithm>
#include <memory>
#include <vector>

#include "base/DebugFormat.h"
#include "base/LumoClass.h"
#include "base/LumoStream.h"
#include "base/Random.h"
#include "base/tString.h"
#include "logic/core/CLogic.h"
#include "logic/core/CMap.h"
#include "logic/core/CPlayer.h"
#include "logic/core/RecordFields.h"
#include "logic/core/ThingInfo.h"
#include "logic/core/WeaponCatalog.h"
#include "logic/core/YLConfig.h"
#include "logic/core/YLPlayerPolice.h"
#include "logic/core/YLPropagator.h"
#include "logic/world/YLTBaricade.h"
#include "logic/world/YLTBuilding.h"
#include "logic/world/YLTLvl11Fence.h"
#include "logic/world/YLTPushable.h"
#include "logic/world/YLThing.h"
#include "logic/world/YLTCar.h"
#include "logic/world/YLUnit.h"

namespace {

LumoClassOf<CLogic> classOfCLogic(kVersion_1_6_0_6, "CLogic", "LumoObject");
LOGIC_FIELD_PROPERTY(CLogic, Map, PropertyObject, "tUnknown");
LOGIC_FIELD_PROPERTY(CLogic, Plan, PropertyPointer, "tPointer");
LOGIC_FIELD_PROPERTY(CLogic, PlanLongTerm, PropertyObject, "tUnknown");
LOGIC_FIELD_PROPERTY(CLogic, Players, PropertyObject, "tUnknown");
LOGIC_FIELD_PROPERTY(CLogic, Things, PropertyObject, "tUnknown");
LOGIC_FIELD_PROPERTY(CLogic, ThingCount, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(CLogic, Initialised, PropertyBool, "tBool");
LOGIC_FIELD_PROPERTY(CLogic, Time, PropertyInteger, "tCardinal");
LOGIC_FIELD_PROPERTY(CLogic, StringLibrary, PropertyPointer, "tPointer");
LOGIC_FIELD_PROPERTY(CLogic, Propagators, PropertyPointer, "tPointer");
LOGIC_FIELD_PROPERTY(CLogic, Vinkjes, PropertyPointer, "tPointer");

constexpr const char* kVinkjesMarker = "vinkjes:";
constexpr const char* kRandomMarker = "random:";
constexpr const char* kSinglePlayerMarker = "single:";
// A unit set aside from its player's count.
constexpr uint32_t kStatusInactive = 0x200000;

// Reads one embedded object of class T into field; an object of another
// class is destroyed and fails the load.
template <typename T>
bool LoadOwned(LumoStream* stream, std::unique_ptr<T, tObjectDestroyer>& field, const char* name) {
  LumoObject* loaded = nullptr;
  if (!stream->ReadObject(loaded)) {
    DebugPrint("CLogic: cannot read %s\n", name);
    return false;
  }
  std::unique_ptr<LumoObject, tObjectDestroyer> owner(loaded);
  T* typed = dynamic_cast<T*>(loaded);
  if (loaded != nullptr && typed == nullptr) {
    DebugPrint("CLogic: %s holds a %s\n", name, loaded->GetClassName());
    return false;
  }
  owner.release();
  field.reset(typed);
  return true;
}

// True when every entry of the table is null or of class T (and, for things,
// carries its record).
template <typename T>
bool EntriesAre(const LumoObjects& table, const char* name) {
  for (int32_t index = 0; index < table.count; ++index) {
    LumoObject* entry = table.At(index);
    if (entry == nullptr) {
      continue;
    }
    auto* typed = dynamic_cast<T*>(entry);
    bool fits = typed != nullptr;
    if constexpr (std::is_same_v<T, YLThing>) {
      fits = fits && typed->Info != nullptr;
    }
    if (!fits) {
      DebugPrint("CLogic: entry %d of %s is a %s\n", index, name, entry->GetClassName());
      return false;
    }
  }
  return true;
}

// Some older saves hold a stray police player's text where the type names
// begin: the stream is searched forward, kSearchStep bytes at a time, for
// the first type name, and reading resumes at the count stored 8 bytes
// before it. A stream that ends first fails.
constexpr const char* kStrayMarker = "YLPoliceBot";
constexpr const char kFirstTypeName[] = "not_used";
constexpr uint32_t kSearchStep = 240;

bool SkipToTypeNames(LumoStream* stream) {
  const size_t length = sizeof(kFirstTypeName) - 1;
  std::vector<uint8_t> window;
  int32_t windowStart = stream->GetPosition();
  uint8_t chunk[kSearchStep];
  for (;;) {
    uint32_t count = 0;
    if (!stream->Read(chunk, kSearchStep, count) || count == 0) {
      DebugPrint("CLogic: no type names follow the stray police player\n");
      return false;
    }
    window.insert(window.end(), chunk, chunk + count);
    const auto found = std::search(window.begin(), window.end(), kFirstTypeName, kFirstTypeName + length);
    if (found != window.end()) {
      const int32_t at = windowStart + static_cast<int32_t>(found - window.begin());
      return stream->SetPosition(at - 8) == at - 8;
    }
    // The tail that could start a match that the next read completes.
    const size_t keep = std::min(window.size(), length - 1);
    windowStart += static_cast<int32_t>(window.size() - keep);
    window.erase(window.begin(), window.end() - static_cast<std::ptrdiff_t>(keep));
  }
}

bool IsAlive(const YLThing& thing) { return (thing.Info->Status & StatusAlive) != 0; }

}  // namespace

// What the running game keeps on the map: every thing not inside a
// container, but for a barricade cleared away, a fence brought down and a
// unit that died (its death took it off the map, and nothing puts it back).
bool CLogic::StaysOnMap(YLThing& thing) {
  if ((thing.Info->Status & StatusInContainer) != 0) {
    return false;
  }
  if (UnitOf(&thing) != nullptr) {
    return IsAlive(thing);
  }
  // A bus's driver sits in its bus, off the map.
  if (thing.AsDriver() != nullptr) {
    return false;
  }
  if (auto* barricade = dynamic_cast<YLTBaricade*>(&thing)) {
    return !barricade->Cleaned;
  }
  if (dynamic_cast<YLTLvl11Fence*>(&thing) != nullptr) {
    return IsAlive(thing);
  }
  return true;
}

// ---- Players ----

CPlayer* CLogic::GetPlayer(int32_t id) const {
  if (Players == nullptr || id < 1 || id >= Players->count) {
    return nullptr;
  }
  return dynamic_cast<CPlayer*>(Players->At(id));
}

int32_t CLogic::GetPlayerCount() const { return Players != nullptr && Players->count > 0 ? Players->count - 1 : 0; }

// ---- Stored properties ----

bool CLogic::LoadMap(LumoStream* stream, const LumoProperty*) {
  // The things leave the old map before it goes.
  if (Things != nullptr && Map != nullptr) {
    for (int32_t id = 1; id < Things->count; ++id) {
      if (auto* thing = GetThing(id)) {
        Map->ForgetThing(thing);
      }
    }
  }
  return LoadOwned(stream, Map, "Map");
}

bool CLogic::SaveMap(LumoStream* stream, const LumoProperty*) { return stream->WriteObject(Map.get()); }

bool CLogic::LoadPlayers(LumoStream* stream, const LumoProperty*) {
  std::unique_ptr<LumoObjects, tObjectDestroyer> loaded;
  if (!LoadOwned(stream, loaded, "Players") || (loaded != nullptr && !EntriesAre<CPlayer>(*loaded, "Players"))) {
    return false;
  }
  Players = std::move(loaded);
  return true;
}

bool CLogic::SavePlayers(LumoStream* stream, const LumoProperty*) { return stream->WriteObject(Players.get()); }

bool CLogic::LoadThings(LumoStream* stream, const LumoProperty*) {
  std::unique_ptr<LumoObjects, tObjectDestroyer> loaded;
  if (!LoadOwned(stream, loaded, "Things")) {
    return false;
  }
  if (loaded != nullptr) {
    if (loaded->count > kMaxThings) {
      DebugPrint("CLogic: a thing table of %d entries (ids stay below %d)\n", loaded->count, kMaxThings);
      return false;
    }
    if (!EntriesAre<YLThing>(*loaded, "Things")) {
      return false;
    }
  }
  if (Map != nullptr && Things != nullptr) {
    for (int32_t id = 1; id < Things->count; ++id) {
      if (auto* thing = GetThing(id)) {
        Map->ForgetThing(thing);
      }
    }
  }
  Things = std::move(loaded);
  return true;
}

bool CLogic::SaveThings(LumoStream* stream, const LumoProperty*) { return stream->WriteObject(Things.get()); }

bool CLogic::LoadThingCount(LumoStream* stream, const LumoProperty*) { return stream->ReadInteger(ThingCount); }
bool CLogic::SaveThingCount(LumoStream* stream, const LumoProperty*) { return stream->WriteInteger(ThingCount); }
bool CLogic::LoadInitialised(LumoStream* stream, const LumoProperty*) { return stream->ReadBool(Initialised); }
bool CLogic::SaveInitialised(LumoStream* stream, const LumoProperty*) { return stream->WriteBool(Initialised); }
bool CLogic::LoadTime(LumoStream* stream, const LumoProperty*) { return stream->ReadCardinal(Time); }
bool CLogic::SaveTime(LumoStream* stream, const LumoProperty*) { return stream->WriteCardinal(Time); }

bool CLogic::LoadStringLibrary(LumoStream* stream, const LumoProperty*) {
  if (ReadMarker(stream, kStrayMarker) && !SkipToTypeNames(stream)) {
    return false;
  }
  int32_t count = 0;
  // Each text takes at least its 4-byte length, so the count is bounded by
  // what the stream has left.
  if (!ReadValueCount(stream, *this, "StringLibrary", false, count)) {
    return false;
  }
  std::vector<std::string> library;
  library.reserve(static_cast<size_t>(count));
  tString text;
  for (int32_t index = 0; index < count; ++index) {
    if (!stream->ReadString(text)) {
      DebugPrint("CLogic: cannot read text %d of the string library\n", index);
      return false;
    }
    library.emplace_back(text.text != nullptr ? text.text : "");
  }
  StringLibrary = std::move(library);
  return true;
}

bool CLogic::SaveStringLibrary(LumoStream* stream, const LumoProperty*) {
  if (!stream->WriteInteger(static_cast<int32_t>(StringLibrary.size()))) {
    return false;
  }
  for (const std::string& text : StringLibrary) {
    if (!stream->WriteCharStr(text.c_str())) {
      return false;
    }
  }
  return true;
}

bool CLogic::LoadPropagators(LumoStream* stream, const LumoProperty*) {
  int32_t count = 0;
  // Each entry takes at least its presence byte; ReadValueCount bounds by
  // 4 bytes an entry, so the count is checked against the bytes left here.
  if (!stream->ReadInteger(count) || count < 0 || count > stream->GetBytesRemaining()) {
    DebugPrint("CLogic: the stored count %d of Propagators is not a valid count\n", count);
    return false;
  }
  std::unique_ptr<LumoObjects, tObjectDestroyer> loaded(new LumoObjects(true));
  for (int32_t index = 0; index < count; ++index) {
    bool present = false;
    if (!stream->ReadBool(present)) {
      DebugPrint("CLogic: cannot read propagator %d\n", index);
      return false;
    }
    if (!present) {
      continue;
    }
    LumoObject* object = LoadObject(stream, nullptr);
    std::unique_ptr<LumoObject, tObjectDestroyer> owner(object);
    if (dynamic_cast<YLPropagator*>(object) == nullptr) {
      DebugPrint("CLogic: propagator %d is a %s\n", index, object != nullptr ? object->GetClassName() : "nothing");
      return false;
    }
    if (!loaded->Append(object)) {
      return false;
    }
    owner.release();
  }
  Propagators = std::move(loaded);
  return true;
}

bool CLogic::SavePropagators(LumoStream* stream, const LumoProperty*) {
  const int32_t count = Propagators != nullptr ? Propagators->count : 0;
  if (!stream->WriteInteger(count)) {
    return false;
  }
  for (int32_t index = 0; index < count; ++index) {
    LumoObject* propagator = Propagators->At(index);
    if (!stream->WriteBool(propagator != nullptr)) {
      return false;
    }
    if (propagator != nullptr && !propagator->SaveObject(stream, 0)) {
      return false;
    }
  }
  return true;
}

bool CLogic::LoadVinkjes(LumoStream* stream, const LumoProperty*) {
  if (ReadMarker(stream, kVinkjesMarker)) {
    int32_t count = 0;
    if (!ReadValueCount(stream, *this, "Vinkjes", false, count) || !ReadValues(stream, Vinkjes, count)) {
      return false;
    }
  }
  if (ReadMarker(stream, kRandomMarker)) {
    uint32_t state = 0;
    if (!stream->ReadCardinal(state)) {
      DebugPrint("CLogic: cannot read the random generator's state\n");
      return false;
    }
    SetRandomSeed(state);
    randomStateLoaded = true;
  }
  // Whether the game is a single-player one decides how it ends (who is told
  // of a loss, the final score count), so a loaded multi-player game must not
  // fall back to the constructor's single-player default.
  if (ReadMarker(stream, kSinglePlayerMarker)) {
    bool single = true;
    if (!stream->ReadBool(single)) {
      DebugPrint("CLogic: cannot read whether the game is a single-player one\n");
      return false;
    }
    SinglePlayer = single ? 1 : 0;
  }
  return true;
}

bool CLogic::SaveVinkjes(LumoStream* stream, const LumoProperty*) {
  return WriteMarker(stream, kVinkjesMarker) && WriteCountedValues(stream, Vinkjes) &&
         WriteMarker(stream, kRandomMarker) && stream->WriteCardinal(GetRandomSeed()) &&
         WriteMarker(stream, kSinglePlayerMarker) && stream->WriteBool(SinglePlayer != 0);
}

// ---- After a load ----

bool CLogic::OnLoadFrom(LumoStream* stream) {
  if (!LumoObject::OnLoadFrom(stream)) {
    return false;
  }
  if (Things == nullptr) {
    Things.reset(new LumoObjects(true));
  }
  if (Players == nullptr) {
    Players.reset(new LumoObjects(true));
  }
  if (Propagators == nullptr) {
    Propagators.reset(new LumoObjects(true));
  }
  if (Listeners == nullptr) {
    Listeners.reset(new LumoList);
  }
  MakeCurrent();
  if (!randomStateLoaded) {
    SetRandomSeed(0);
  }
  // Neither is stored: a loaded game arms and prices its units from the same
  // catalogue and configuration as a game set up afresh.
  Weapons = std::make_unique<WeaponCatalog>();
  Config = std::make_unique<YLConfig>();
  Config->Init("config.txt");
  YLTPushableThing::InitMoveTable();
  YLUnit::InitMoveTable();
  YLTCar::InitMoveTable();
  YLTBuilding::InitMoveTable();

  if (dynamic_cast<YLPlayerPolice*>(GetPlayer(kPolicePlayer)) == nullptr) {
    std::unique_ptr<YLPlayerPolice, tObjectDestroyer> police(new YLPlayerPolice);
    if (CPlayer* old = GetPlayer(kPolicePlayer)) {
      police->CopyFrom(*old);
    } else {
      police->OnCreated(kPolicePlayer);
    }
    if (Players->count <= kPolicePlayer) {
      Players->SetCount(kPolicePlayer + 1);
    }
    LumoObject* replaced = (*Players)[kPolicePlayer];
    (*Players)[kPolicePlayer] = police.release();
    if (replaced != nullptr) {
      DestroyObject(replaced);
    }
  }

  // The things the saved map had listed go back on it; a record without the
  // listing places what the running game normally keeps there.
  std::vector<int32_t> listedIds;
  const bool listing = Map != nullptr && Map->TakeLoadedListing(listedIds);
  std::vector<bool> listed(static_cast<size_t>(Things->count), false);
  for (const int32_t id : listedIds) {
    if (id > 0 && id < Things->count) {
      listed[static_cast<size_t>(id)] = true;
    }
  }
  for (int32_t id = 1; id < Things->count; ++id) {
    YLThing* thing = GetThing(id);
    if (thing == nullptr) {
      continue;
    }
    thing->Info->Tid = id;
    thing->ID = static_cast<uint32_t>(id);
    if (Map != nullptr && (listing ? listed[static_cast<size_t>(id)] : StaysOnMap(*thing))) {
      Map->PlaceThing(thing);
    }
    // Registered as the running game has it: a unit that died or was set
    // inactive no longer counts with its player.
    if (CPlayer* owner = GetPlayer(thing->GetOwner())) {
      owner->OnThingOwned(true, thing);
      if (UnitOf(thing) != nullptr && (!IsAlive(*thing) || (thing->Info->Status & kStatusInactive) != 0)) {
        owner->OnThingOwned(false, thing);
      }
    }
  }
  for (int32_t id = 1; id < Things->count; ++id) {
    if (YLThing* thing = GetThing(id)) {
      thing->InitFromType();
    }
  }
  for (int32_t id = 1; id < Players->count; ++id) {
    if (CPlayer* player = GetPlayer(id)) {
      player->RestoreLoadedCounters();
    }
  }
  RelinkThings();
  // The frame counter is read by now, so the long list can be put in order.
  ResolvePlanReferences();
  return true;
}
