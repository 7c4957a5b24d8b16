#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/LumoList.h"
#include "base/LumoObject.h"
#include "base/LumoObjects.h"
#include "logic/core/YLEventListener.h"

class CMap;
class YLThing;

// The simulation: the thing table, the string library of type names and the
// listeners that hear what happens. Thing ids index the thing table; id 0 is
// never used.
class CLogic : public LumoObject {
 public:
  // The unit-type names the string library starts with; a unit type is the
  // index of its name.
  static constexpr int32_t kUnitTypeNames = 16;
  // Thing ids stay below this.
  static constexpr int32_t kMaxThings = 4096;

  // Empty: no thing table and no listener list until the logic is set up;
  // the string library holds the unit-type names.
  CLogic();
  // Lets go of the listeners (they belong to the game program), then frees
  // what the logic owns.
  ~CLogic() override;

  const char* GetClassName() const override;

  // ---- Things ----

  // The thing with that id; null when the id is outside the table or its
  // slot is empty.
  YLThing* GetThing(int32_t id) const;
  // Moves a thing's footprint on the logic map to (x, y) with a new
  // orientation (the map's MoveThing); false when the map refuses. A logic
  // without a map refuses every move.
  bool UpdateThingOnMap(YLThing* thing, int32_t x, int32_t y, uint8_t orientation);
  // Asked by the map when a cell that a moving thing is to take holds the
  // thing idInWay: true lets the move go on. A thing always passes its own
  // cells, and a pushed thing the cells of whoever pushes it; otherwise only
  // a car, or a thing pushed (through a chain of pushes) by a car, could run
  // over what stands there, and what that does belongs to the vehicles'
  // collisions: until then the car is refused too.
  bool RunOver(YLThing* moving, int32_t idInWay, int32_t x, int32_t y);

  // ---- The string library ----

  // The index of the text, appended when the library does not hold it yet
  // (compared exactly); -1 for a null text.
  int32_t AddString(const char* text);
  // The text at index; null outside the library.
  const char* GetString(int32_t index) const;
  int32_t GetStringCount() const { return static_cast<int32_t>(StringLibrary.size()); }

  // ---- Listeners ----

  // Appends a listener at the end of the list; false without a list or for
  // a null listener or one in another list.
  bool AddListener(YLEventListener* listener);
  // Takes every listener out of the list without freeing it.
  void DetachListeners();

  // ---- Dispatchers: each calls its event on every listener in list order ----
  // A listener that throws is logged with its name and the event, and the
  // exception goes on to the caller; later listeners miss that event.

  void NotifyMap(const void* grid);
  void NotifyAction(int32_t id, const MoveStep* action);
  void NotifyExit(int32_t unitId, int32_t containerId);
  void NotifySpeech(int32_t kind, int32_t subjectId, int32_t message, int32_t value);
  void NotifySelection(int32_t player, int32_t id, int32_t selected);
  void NotifyGore(int32_t x, int32_t y, float amount, int32_t kind);
  void NotifySplat(int32_t x, int32_t y, float amount, int32_t kind);
  void NotifyParameter(int32_t player, ParamEnum parameter, int32_t value);
  void NotifyProjectile(int32_t fromX, int32_t fromY, int32_t toX, int32_t toY, int32_t kind);
  void NotifyTimer(int32_t player, int32_t framesLeft, const char* label);
  void NotifyUnknownOrder(int32_t length, const void* payload);
  void NotifySetObjectiveValue(int32_t objective, int32_t value, const char* text);
  void NotifyNewTask(int32_t task, const char* text);

  // The things, indexed by id (owning; index 0 and free ids hold null).
  std::unique_ptr<LumoObjects, tObjectDestroyer> Things;
  // The listeners, in registration order. The list never frees them.
  std::unique_ptr<LumoList, tObjectDestroyer> Listeners;
  // Type names: the unit types first, then the things' type keywords.
  std::vector<std::string> StringLibrary;
  // The logic map (owned); null until the logic is set up.
  std::unique_ptr<CMap, tObjectDestroyer> Map;

 protected:
  // Calls one event on every listener; faultFormat is the log line of a
  // listener that throws, with %s for its name.
  template <typename Call>
  void Dispatch(const char* faultFormat, Call&& call);
};
