#include "logic/core/CLogic.h"
#include "logic/core/CLogicDispatch.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <typeinfo>

#include "base/DebugFormat.h"
#include "logic/core/CMap.h"
#include "logic/core/WeaponCatalog.h"
#include "logic/core/YLConfig.h"
#include "logic/world/YLThing.h"
#include "logic/world/YLUnit.h"

namespace {

constexpr const char* kUnitTypeNameTable[CLogic::kUnitTypeNames] = {
    "not_used",   "UnitRat",  "UnitRaver", "UnitSupporter", "UnitSuit",     "UnitPolice", "UnitRiotsquad", "UnitBiker",
    "UnitSkin", "UnitRozav", "UnitLeader", "UnitChick", "UnitYobbozer", "Innocent1", "Innocent2", "Innocent3"};

// Whether the objects of a class are things, remembered per class. The
// thing table is read for every neighbour of every unit in every frame, and
// a dynamic_cast compares class names along the class tree on each call; the
// answer depends on the class alone, so remembering it changes no result.
// The class's type record picks a slot by its address; a slot holding
// another class is simply cast again and taken over, so the address decides
// only how fast the answer comes, never what it is. A class is remembered as
// a thing only when its thing and its table entry are the same object
// address, as for every thing class (each holds one LumoObject, the thing's
// own), so the entry converts to the thing directly.
class ThingClasses {
 public:
  YLThing* Cast(LumoObject* object) {
    if (object == nullptr) {
      return nullptr;
    }
    const std::type_info* type = &typeid(*object);
    Known& slot = known[(reinterpret_cast<uintptr_t>(type) >> 4) % known.size()];
    if (slot.type == type) {
      return slot.thing ? static_cast<YLThing*>(object) : nullptr;
    }
    YLThing* thing = dynamic_cast<YLThing*>(object);
    if (thing == nullptr || static_cast<LumoObject*>(thing) == object) {
      slot = {type, thing != nullptr};
    }
    return thing;
  }

 private:
  struct Known {
    const std::type_info* type;
    bool thing;
  };
  std::array<Known, 256> known{};
};

ThingClasses thingClasses;

}  // namespace

CLogic::CLogic() {
  StringLibrary.assign(std::begin(kUnitTypeNameTable), std::end(kUnitTypeNameTable));
  SetTechnologyLevel(kDefaultTechLevel);
}

CLogic::~CLogic() {
  if (YLThing::GetLogic() == this) {
    YLThing::SetLogicContext(nullptr, nullptr);
  }
  DetachListeners();
  Listeners.reset();
  // The things leave the map before it goes.
  Things.reset();
  Map.reset();
}

const char* CLogic::GetClassName() const { return "CLogic"; }

// ---- Things ----

YLThing* CLogic::GetThing(int32_t id) const {
  if (Things == nullptr) {
    return nullptr;
  }
  return thingClasses.Cast(Things->At(id));
}

bool CLogic::UpdateThingOnMap(YLThing* thing, int32_t x, int32_t y, uint8_t orientation) {
  return Map != nullptr && Map->MoveThing(thing, x, y, orientation);
}

// ---- The string library ----

int32_t CLogic::AddString(const char* text) {
  if (text == nullptr) {
    return -1;
  }
  for (size_t index = 0; index < StringLibrary.size(); ++index) {
    if (StringLibrary[index] == text) {
      return static_cast<int32_t>(index);
    }
  }
  StringLibrary.emplace_back(text);
  return static_cast<int32_t>(StringLibrary.size() - 1);
}

const char* CLogic::GetString(int32_t index) const {
  if (index < 0 || static_cast<size_t>(index) >= StringLibrary.size()) {
    return nullptr;
  }
  return StringLibrary[static_cast<size_t>(index)].c_str();
}

// ---- Listeners ----

bool CLogic::AddListener(YLEventListener* listener) {
  if (Listeners == nullptr || listener == nullptr || listener->parent != nullptr) {
    return false;
  }
  return Listeners->Append(listener) == listener && listener->parent == Listeners.get();
}

void CLogic::DetachListeners() {
  if (Listeners == nullptr) {
    return;
  }
  while (Listeners->last != nullptr) {
    Listeners->Remove(Listeners->last);
  }
}

void CLogic::NotifyMap(const void* grid) {
  Dispatch("CLogic exception in %s->EventMap()\n", [&](YLEventListener& listener) { listener.EventMap(grid); });
}

void CLogic::NotifyAction(int32_t id, const MoveStep* action) {
  Dispatch("CLogic exception in %s->EventAction()\n",
           [&](YLEventListener& listener) { listener.EventAction(id, action); });
}

void CLogic::NotifyExit(int32_t unitId, int32_t containerId) {
  Dispatch("CLogic exception in %s->EventExit\n",
           [&](YLEventListener& listener) { listener.EventExit(unitId, containerId); });
}

void CLogic::NotifySpeech(int32_t kind, int32_t subjectId, int32_t message, int32_t value) {
  Dispatch("CLogic exception in %s->EventSpeech\n",
           [&](YLEventListener& listener) { listener.EventSpeech(kind, subjectId, message, value); });
}

void CLogic::NotifySelection(int32_t player, int32_t id, int32_t selected) {
  Dispatch("CLogic exception in %s->EventSelection()\n",
           [&](YLEventListener& listener) { listener.EventSelection(player, id, selected); });
}

void CLogic::NotifyGore(int32_t x, int32_t y, float amount, int32_t kind) {
  Dispatch("CLogic exception in %s->EventGore()\n",
           [&](YLEventListener& listener) { listener.EventGore(x, y, amount, kind); });
}

void CLogic::NotifySplat(int32_t x, int32_t y, float amount, int32_t kind) {
  Dispatch("CLogic exception in %s->EventSplat()\n",
           [&](YLEventListener& listener) { listener.EventSplat(x, y, amount, kind); });
}

void CLogic::NotifyParameter(int32_t player, ParamEnum parameter, int32_t value) {
  Dispatch("CLogic exception in %s->EventParameter\n",
           [&](YLEventListener& listener) { listener.EventParameter(player, parameter, value); });
}

void CLogic::NotifyProjectile(int32_t fromX, int32_t fromY, int32_t toX, int32_t toY, int32_t kind) {
  Dispatch("CLogic exception in %s->EventProjectile\n",
           [&](YLEventListener& listener) { listener.EventProjectile(fromX, fromY, toX, toY, kind); });
}

void CLogic::NotifyTimer(int32_t player, int32_t framesLeft, const char* label) {
  Dispatch("CLogic exception in %s->EventTimer\n",
           [&](YLEventListener& listener) { listener.EventTimer(player, framesLeft, label); });
}

void CLogic::NotifyUnknownOrder(int32_t length, const void* payload) {
  Dispatch("CLogic exception in %s->EventUnknownOrder()\n",
           [&](YLEventListener& listener) { listener.EventUnknownOrder(length, payload); });
}

void CLogic::NotifySetObjectiveValue(int32_t objective, int32_t value, const char* text) {
  Dispatch("CLogic exception in %s->EventSetObjectiveValue\n",
           [&](YLEventListener& listener) { listener.EventSetObjectiveValue(objective, value, text); });
}

void CLogic::NotifyNewTask(int32_t task, const char* text) {
  Dispatch("CLogic exception in %s->EventNewTask\n",
           [&](YLEventListener& listener) { listener.EventNewTask(task, text); });
}

