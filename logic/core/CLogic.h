#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/LumoList.h"
#include "base/LumoObject.h"
#include "base/LumoObjects.h"
#include "base/tCollection.h"
#include "logic/core/PlanList.h"
#include "logic/core/YLEventListener.h"

class CMap;
class CPlayer;
class YLTBuilding;
class YLWeapon;
class WeaponCatalog;
class YLConfig;
class LogicPlanItem;
class YLCustomTrigger;
class ThingInfo;
class YLTCup;
class YLThing;
class YLUnit;

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
  // what the logic owns; the current logic is cleared when it is this one.
  ~CLogic() override;

  const char* GetClassName() const override;

  // ---- Life ----

  // Sets the logic up to run: empty tables of players, things and
  // propagators, a listener list, the weapon catalogue, the unit costs, a
  // map bound to this logic (it becomes the current logic), the police
  // player. Answers true.
  bool Init();
  // Leaves the object as constructed: everything Init made is gone (the
  // listeners are let go, not freed), the plan is empty, the frame counter
  // 0, no ticks, single-player, the type names back to the unit types.
  void Reset();
  // One frame: the plan's items due now, then every thing (units perceive
  // and evolve every 12th frame, spread by id), then the propagators; a
  // propagator that answers false is removed. Nothing until Init. Every
  // failing step is logged and its exception passed on. Answers true.
  bool Compute();
  // A new player at id (police at kPolicePlayer, else a plain one); the
  // table grows as needed and a player it replaces is freed.
  CPlayer* CreatePlayer(int32_t id);
  // A thing has just died: one thing fewer, it leaves its container or the
  // map (a car keeps its footprint), and a unit stops counting with its
  // player. It stays in the thing table.
  void ThingDied(YLThing* thing);
  // Makes this the current logic that things and exports reach, and lets
  // the things' records find their debug texts' type and move names in it.
  void MakeCurrent();
  // The framework's free of the object: Reset. (The logic's reseed that
  // follows it in the game does nothing.)
  void OnFree() override;

  // ---- The technology level ----
  // One value for the whole library (weapon shops' stock); every new or
  // reset logic sets it to kDefaultTechLevel.
  static constexpr int32_t kDefaultTechLevel = 3;
  static int32_t GetTechnologyLevel();
  static void SetTechnologyLevel(int32_t level);

  // ---- Game over ----
  // Parameter ParamState of a player is its game state (playing, won, lost;
  // the police stand apart). Notices go out kGameOverNoticeDelay frames
  // after the decision.
  static constexpr uint32_t kGameOverNoticeDelay = 60;

  // A player's game ends. Won: it wins and its units celebrate, the plan is
  // cleared (see ClearPlan), it is told it won and every other player still
  // playing loses and is told so. Lost: it loses (in a single-player game
  // it is told so); when at most one player is still playing the plan is
  // cleared and every player (ids from 1 up to the first missing one) is
  // told: the one still playing wins and celebrates, the others lost.
  void EndGameForPlayer(int32_t player, bool won, const LogicPlanItem* spared);
  // Deletes every game-over trigger in the plan but the spared one, then
  // plans the player's win delay frames from now.
  void ScheduleGameOver(int32_t player, const LogicPlanItem* spared, uint32_t delay);

  // After a load: the map and the things find this logic, the loaded long
  // list is put in due order and the plan items resolve their references,
  // every thing takes its id from its slot, the things the saved map listed
  // (for an older record without the listing: the things the running game
  // keeps on the map) are placed there again and every owned thing registers
  // with its owner, after which the players' counters take back their saved
  // values. A missing or foreign police player (id 3) is replaced
  // by a fresh one.
  bool OnLoadFrom(LumoStream* stream) override;

  // ---- Players ----

  static constexpr int32_t kPolicePlayer = 3;
  // The player with that id; null when the id is not between 1 and the
  // table length - 1 or the slot is empty.
  CPlayer* GetPlayer(int32_t id) const;
  int32_t GetPlayerCount() const;

  // ---- Orders ----
  // Runs a decoded order for the player its payload names. False, with a
  // log line and nothing changed, when the logic has no such player or the
  // order is refused for it (COrder::Refusal); true once it ran.
  bool ApplyOrder(class COrder& order);

  // ---- Things ----

  // The thing with that id; null when the id is outside the table or its
  // slot is empty.
  YLThing* GetThing(int32_t id) const;
  // Moves a thing's footprint on the logic map to (x, y) with a new
  // orientation (the map's MoveThing); false when the map refuses. A logic
  // without a map refuses every move.
  bool UpdateThingOnMap(YLThing* thing, int32_t x, int32_t y, uint8_t orientation);
  // Gives the unit with that id one stimulus from the thing `from` (its id
  // as the source; 0 without one): kind and strength. False, with nothing
  // given, when the id names no unit.
  bool SendUnitMessage(const YLThing* from, int32_t id, int32_t kind, float strength);
  // Asked by the map when a cell that a moving thing is to take holds the
  // thing idInWay at (x, y): true lets the move go on. A thing always passes
  // its own cells, and a pushed thing the cells of whoever pushes it;
  // otherwise only a car, or a thing pushed (through a chain of pushes) by a
  // car, may go on: a car runs a unit over (the unit dies, the sides count
  // it, and a car other than the tram shouts and takes a little damage); the
  // tram hurts and pushes a pushable thing or a car and goes on when that
  // moves; two cars that meet are both hurt by their own strength and stop.
  // Anything else in the way stops the move.
  bool RunOver(YLThing* moving, int32_t idInWay, int32_t x, int32_t y);

  // ---- Thing creation and bookkeeping ----
  // Every factory takes the first free id (FindFreeThingID) and makes
  // nothing, leaving nothing behind, when none is free. A new thing is
  // stored at its id, counted, placed on the map unless it starts inside a
  // container, registered with its owner's player and announced to the
  // listeners (EventThing, then EventEnter for one that starts inside).

  // The factory for a level's type keyword (compared by prefix, first match
  // wins): units, buildings, the shack, vehicles, the cup and obstacles.
  // Answers the new thing's record; null when nothing was made.
  ThingInfo* CreateThing(const char* keyword, int32_t x, int32_t y, int32_t z, uint8_t orientation, int32_t owner);
  // A vehicle by its resource name; the train comes with its conductor and
  // every bus with its driver, or nothing is made at all.
  YLThing* CreateVehicle(int32_t x, int32_t y, int32_t z, uint8_t orientation, int32_t owner, const char* keyword);
  // A building by its keyword (a shack for "Shack"); type is the keyword's
  // string-library index.
  YLThing* CreateBuilding(int32_t x, int32_t y, int32_t z, uint8_t orientation, int32_t owner, int32_t type,
                          const char* keyword);
  // A unit of that type (a unit type, or any string-library index) inside a
  // container. The owner's player is made when missing.
  YLUnit* CreateUnit(int32_t type, int32_t owner, YLThing* container);
  // A unit at a map position. Id 0 takes the first free id. A leader (type
  // 10) takes name as its name; for any other type a name given stands for
  // the type (its string-library index), so "InnocentDriver" makes a
  // civilian driver. The owner's player is made when missing.
  YLUnit* CreateUnitAt(int32_t x, int32_t y, int32_t z, int32_t id, int32_t type, int32_t owner, const char* name,
                       uint8_t orientation = 0);
  // A leader with that name at a map position.
  YLUnit* CreateLeader(int32_t x, int32_t y, int32_t z, const char* name, int32_t owner);
  // A leader with that name inside a building or train.
  YLUnit* SpawnLeaderInBuilding(const char* name, int32_t owner, YLThing* container);
  // Stores the thing at its record's Tid, counts it, places it on the map
  // unless it is inside a container and registers it with its owner's
  // player. An id outside 1-4095 or a taken slot is refused with a log
  // line, and the caller keeps the thing.
  bool AddThing(YLThing* thing);
  // The first empty slot from 1, else the table length (1 for an empty
  // table); 0 when that is kMaxThings or more.
  int32_t FindFreeThingID() const;
  // The thing the map records on the cell; null when none.
  YLThing* GetThingAt(int32_t x, int32_t y) const;
  // The thing of the highest id whose record stands exactly at (x, y).
  YLThing* FindThingAtPosition(int32_t x, int32_t y) const;
  // The level's cup; null when it has none.
  YLTCup* GetCup() const;
  // The start crews of a player in a game of several: crews (1-8) leaders,
  // each with a rat, a raver, a biker, a rozav and a yobbozer of its group,
  // on the free walkable cells of a square around (x, y), column by column.
  // Units that find no cell are not made. Other crew counts make nothing.
  void CreateStartCrew(int32_t crews, int32_t x, int32_t y, int32_t player);
  // The player gives up: it loses, each of its units runs for a border of
  // the level's edge drawn at random (in id order), its game-over triggers
  // due within the near buckets are dropped and a new one is planned.
  void RunAway(int32_t player);

  // Takes the thing off the map, sets its place through its own operations
  // and places it again; a thing inside a container only takes the place.
  // False when the record's id names no thing with that record.
  bool MoveThing(ThingInfo* info, int32_t x, int32_t y, int32_t z, uint8_t orientation);
  // A unit on the map goes into a container that accepts it: off the map,
  // in, and EventEnter. False for a unit already inside something.
  bool EnterThing(ThingInfo* unit, ThingInfo* container);
  // Places a unit inside a container that takes it without asking its
  // admission (a shop owner placed at its own shop): off the map, inside,
  // the enter event told. False for no unit, no container or one already inside.
  bool PlaceInside(ThingInfo* unitInfo, ThingInfo* containerInfo);
  // A unit leaves its container for (x, y): false when it is in none, or
  // when z is 0 and the cell is taken by anything but the container itself
  // (its door); else it is placed there and EventExit is sent.
  bool LeaveThing(ThingInfo* unit, int32_t x, int32_t y, int32_t z, uint8_t orientation);
  // Removes the thing from the game and frees it: a container's things go
  // first (the last first), a contained thing leaves its container, and a
  // thing its player still counts is counted out.
  void DestroyThing(ThingInfo* info);
  // Binds a barricade or a fence to a border of the navigation map; any
  // other thing is left alone.
  void ConnectBorderToBaricade(int32_t id, int32_t border);
  // The enter move: the unit goes into the container at the cell, leaving
  // the map, and the listeners hear of it once the move has played.
  bool EnterContainer(YLUnit* unit, int32_t x, int32_t y);
  // The leave move: the unit comes out of its container onto the cell when
  // it is free.
  bool ExitContainer(YLUnit* unit, int32_t x, int32_t y);
  // A unit going into a container leaves the map: its steering state is
  // cleared and its place becomes (-6, -6, -6).
  void MoveThingOffMap(YLUnit* unit);
  // A rat starts picking the lock of the building at the cell.
  bool StartBurgle(YLUnit* unit, int32_t x, int32_t y);
  // The lock is picked: the thief's player takes the building's money and
  // one burglary more, and the thief goes in.
  void FinishBurgle(int32_t buildingId, int32_t thiefId);
  // A chick flirts: every unit around it (inside containers too) feels it.
  bool DoFlirt(YLThing* chick);
  // A leader chants: every unit around it hears it.
  bool DoChant(YLThing* leader);
  // A raver raves: every unit around it gets the stimulus.
  bool DoRave(YLThing* raver, int32_t kind, float strength);

  // After a load: the level's cup is found again (the first in the table),
  // and every vehicle whose record names a driver that can drive is driven
  // by it again.
  void RelinkThings();

  // The id of the level's cup; 0 for none.
  int32_t CupID = 0;

  // ---- The string library ----

  // The index of the text, appended when the library does not hold it yet
  // (compared exactly); -1 for a null text.
  int32_t AddString(const char* text);
  // The text at index; null outside the library.
  const char* GetString(int32_t index) const;
  int32_t GetStringCount() const { return static_cast<int32_t>(StringLibrary.size()); }

  // ---- Damage and weapons ----
  // A side is a player looked up by a thing's owner: owner 0 (the
  // civilians) and owners without a player have none, count nothing, and
  // two sides that are both missing are never the same side.

  // The thing `target` takes damage from the attacker, whose blow comes from
  // (x, y). A kill counts for the sides (units lost, team kills and frags;
  // buildings lost and broken; cars and other things destroyed) and a thing
  // that explodes when destroyed goes off where it stood. A unit is then
  // stunned, frightened and bleeds (gore of damage x 2.37, at most 1.0); it
  // drops the cup when hit from within reach. Any other thing is frightened;
  // a container passes a share of the blow to everything inside it, by what
  // its armour lets through, and bleeds over its whole footprint. Nothing
  // for an id that names no thing.
  void HurtThing(int32_t target, float damage, float stun, int32_t x, int32_t y, int32_t attacker);
  // The cell a thing fires from: its own, or for a unit inside a building or
  // vehicle the entrance of its container (its own record is off the map).
  void GetFiringCell(const YLThing& thing, int32_t& x, int32_t& y) const;
  // The unit attacks (x, y) with the weapon: refused (false) when the target
  // is out of the weapon's attack range or the weapon needs a round the unit
  // lacks (a round is spent otherwise); the weapon is fired after its
  // execution time.
  bool UseWeapon(YLUnit* unit, YLWeapon* weapon, int32_t x, int32_t y);
  // Fires the attacker's weapon at (x, y): a thrown or shot projectile is
  // shown and lands after one frame per cell of the distance; the bomb is
  // shown and goes off after its impact time; a gun or a blow lands after
  // the impact time unseen. Nothing when the id names no thing.
  void FireWeapon(YLWeapon* weapon, int32_t attacker, int32_t x, int32_t y);
  // What the weapon does where it lands, by its splat type: a blow to the
  // thing on the cell, a tear gas cloud or a fire over the splat range, a
  // blast that reaches everything within the splat range one frame per cell
  // later, or the suit's safe-cracker at work on a bank. Nothing without a
  // weapon or when the attacker's id names no thing.
  void ApplyWeaponImpact(YLWeapon* weapon, int32_t attacker, int32_t x, int32_t y);
  // A unit inside a building kicks it: when the building gives way, the
  // unit's side takes its money and counts the wreck by building type.
  void ApplyKick(YLUnit* unit, YLTBuilding* building);
  // Stops (or restarts) the highway lanes of that direction; direction 1
  // also plans the end of the ambient highway cars 200 frames ahead.
  void StopHighwayTraffic(int32_t direction);
  // The side of an owner; null for owner 0 and an owner without a player.
  CPlayer* GetSide(int32_t owner) const;

  // ---- Listeners ----

  // Appends a listener at the end of the list; false without a list or for
  // a null listener or one in another list.
  bool AddListener(YLEventListener* listener);
  // Takes every listener out of the list without freeing it.
  void DetachListeners();

  // ---- Dispatchers: each calls its event on every listener in list order ----
  // A listener that throws is logged with its name and the event; the event
  // still goes to the listeners after it, and nothing passes into the logic.

  void NotifyMap(const void* grid);
  void NotifyAction(int32_t id, const MoveStep* action);
  void NotifyExit(int32_t unitId, int32_t containerId);
  void NotifySpeech(int32_t kind, int32_t subjectId, int32_t message, int32_t value);
  // A unit says something: EventSpeech with the unit's owner and id, the
  // message and its value. Nothing for a thing without a record.
  void UnitSpeech(const YLThing* unit, int32_t message, int32_t value);
  void NotifySelection(int32_t player, int32_t id, int32_t selected);
  void NotifyGore(int32_t x, int32_t y, float amount, int32_t kind);
  void NotifySplat(int32_t x, int32_t y, float amount, int32_t kind);
  void NotifyParameter(int32_t player, ParamEnum parameter, int32_t value);
  void NotifyProjectile(int32_t fromX, int32_t fromY, int32_t toX, int32_t toY, int32_t kind);
  void NotifyTimer(int32_t player, int32_t framesLeft, const char* label);
  void NotifyUnknownOrder(int32_t length, const void* payload);
  void NotifySetObjectiveValue(int32_t objective, int32_t value, const char* text);
  void NotifyNewTask(int32_t task, const char* text);

  // ---- Life from outside, events with behaviour, the multi-player set-up ----

  // A thing appeared or changed; the type name "0" goes out as null.
  void NotifyThing(ThingInfo* info, const char* typeName);
  // A unit went into a container: when both exist the unit first takes the
  // container's facing, then every listener hears of it.
  void NotifyEnter(int32_t unitId, int32_t containerId);
  // A player's game is over. A win stops the frames; a single-player game
  // whose player 1 scored below 4,000,000 counts its final score once; the
  // log gets " -> player%d won!!!" or " -> player%d lost...", and every
  // listener hears of it with passThrough.
  void NotifyGameOver(int32_t player, bool won, void* passThrough);
  // Objective tick n is done or not (kVinkjeDone or kVinkjeNotDone) and the
  // listeners hear it as speech (0, n, 21, done). The table grows to n + 1
  // entries; a tick outside 0 to kMaxVinkje is refused with a log line.
  static constexpr int32_t kMaxVinkje = 255;
  static constexpr int32_t kVinkjeNotDone = 1;
  static constexpr int32_t kVinkjeDone = 2;
  bool SetVinkje(int32_t tick, bool done);
  // A building's message: speech (3, building, 8, 0).
  void SayBuildingMessage(int32_t building);
  // EventEnter as it is, without turning the unit (a load re-sends where
  // units are).
  void SendEnter(int32_t unitId, int32_t containerId);

  // A new map grid of width x height cells, sent to the listeners. False,
  // logged, with the map as it was, for a size the grid refuses.
  bool CreateMap(int32_t width, int32_t height);
  // The grid takes the new size (cells inside both sizes keep their words),
  // every thing the running game keeps on the map is placed again and the
  // listeners get the grid. False, logged, map kept, for a refused size or
  // a logic without a grid.
  bool ResizeMap(int32_t width, int32_t height);
  // What the running game keeps on the map: every thing outside containers
  // but a barricade cleared away, and a unit or fence that died.
  static bool StaysOnMap(YLThing& thing);

  // Takes the listeners out of this logic, in order, into a list of their
  // own (never null).
  std::unique_ptr<LumoList, tObjectDestroyer> TakeListeners();
  // After a load: the listeners become this logic's, then hear the map, the
  // things with type names, the units inside containers, every player, the
  // countdown and every set objective tick.
  void RestoreAfterLoad(std::unique_ptr<LumoList, tObjectDestroyer> listeners);

  // The kinds of multi-player game.
  enum GameType : int32_t {
    GameScore = 0,
    GameCup = 1,
    GameBeer = 2,
    GameWhores = 3,
    GameDope = 4,
    GamePubs = 5,
    GameStrategic = 6,
  };
  // Settings: crews per player, starting money, time limit in minutes (0
  // none), score limit (0 none); positions: (x, y) cell pairs, pair i - 1
  // the i-th player's start, pair `players` the cup's. Players are the lobby's
  // seats (ids 1, 2, 4, 5; 3 is the police). False, logged, with nothing
  // changed, for fewer than four settings or players outside 0-4.
  static constexpr int32_t kMaxSeats = 4;
  static constexpr int32_t kFramesPerMinute = 720;
  bool SetupMultiPlayerGame(int32_t type, int32_t players, const tCollection<int32_t>* settings,
                            const tCollection<int32_t>* positions);
  // The player id of lobby seat i (from 1): 1, 2, then i + 1 past the police.
  static int32_t SeatPlayer(int32_t seat) { return seat < kPolicePlayer ? seat : seat + 1; }
  // Pair number pair of the flattened (x, y) positions; false when the
  // positions do not hold it.
  static bool PositionPair(const tCollection<int32_t>* positions, int32_t pair, int32_t& x, int32_t& y);
  // The set-up's crews of one player at its start position.
  void PlaceStartCrews(int32_t player, int32_t crews, int32_t x, int32_t y);
  // The cup game's cup at positions pair `pair`; none without that pair or
  // without a free thing id.
  void PlaceCup(int32_t pair, const tCollection<int32_t>* positions);

  // The players, indexed by id (owning; index 0 stays empty).
  std::unique_ptr<LumoObjects, tObjectDestroyer> Players;
  // The things, indexed by id (owning; index 0 and free ids hold null).
  std::unique_ptr<LumoObjects, tObjectDestroyer> Things;
  // The listeners, in registration order. The list never frees them.
  std::unique_ptr<LumoList, tObjectDestroyer> Listeners;
  // Type names: the unit types first, then the things' type keywords.
  std::vector<std::string> StringLibrary;
  // The logic map (owned); null until the logic is set up.
  std::unique_ptr<CMap, tObjectDestroyer> Map;
  // What spreads over the map by itself (fire, gas, traffic), run once per
  // frame; the collection does not own them.
  std::unique_ptr<LumoObjects, tObjectDestroyer> Propagators;
  // The frame does nothing until the logic is set up.
  bool Initialised = false;
  // Things created less things died: only the figure GetThingCount shows.
  // It bounds nothing (a died thing's slot stays taken until it is freed, so
  // ids reach past it); the thing table's length bounds the ids.
  int32_t ThingCount = 0;
  // The objective ticks of the level: 0 unset, 1 not done, 2 done.
  tCollection<int32_t> Vinkjes;
  // Cleared for a game of several players.
  uint8_t SinglePlayer = 1;
  // Made by Init and by a load.
  std::unique_ptr<WeaponCatalog> Weapons;
  std::unique_ptr<YLConfig> Config;

  // ---- Stored properties (besides the plan's) ----
  // Map, Players and Things are embedded objects; a stored object of
  // another class, a thing table of kMaxThings entries or more, or a table
  // entry of the wrong class fails the load.
  bool LoadMap(LumoStream* stream, const LumoProperty* property);
  bool SaveMap(LumoStream* stream, const LumoProperty* property);
  bool LoadPlayers(LumoStream* stream, const LumoProperty* property);
  bool SavePlayers(LumoStream* stream, const LumoProperty* property);
  bool LoadThings(LumoStream* stream, const LumoProperty* property);
  bool SaveThings(LumoStream* stream, const LumoProperty* property);
  bool LoadThingCount(LumoStream* stream, const LumoProperty* property);
  bool SaveThingCount(LumoStream* stream, const LumoProperty* property);
  bool LoadInitialised(LumoStream* stream, const LumoProperty* property);
  bool SaveInitialised(LumoStream* stream, const LumoProperty* property);
  bool LoadTime(LumoStream* stream, const LumoProperty* property);
  bool SaveTime(LumoStream* stream, const LumoProperty* property);
  // The count, then each text.
  bool LoadStringLibrary(LumoStream* stream, const LumoProperty* property);
  bool SaveStringLibrary(LumoStream* stream, const LumoProperty* property);
  // The count, then per entry a presence byte and the propagator's record.
  bool LoadPropagators(LumoStream* stream, const LumoProperty* property);
  bool SavePropagators(LumoStream* stream, const LumoProperty* property);
  // "vinkjes:", the count and the ticks, then "random:" and the logic's
  // random generator state, then "single:" and the single-player flag. A
  // stream without one of the texts keeps what is there (older saves lack
  // them).
  bool LoadVinkjes(LumoStream* stream, const LumoProperty* property);
  bool SaveVinkjes(LumoStream* stream, const LumoProperty* property);

  // ---- The plan ----
  // Items due within 29 frames wait in the near bucket of their frame
  // modulo kPlanSize, last inserted first; later ones wait in the long list,
  // ordered by frames until due (due minus now, unsigned), and move to the
  // buckets once every kPlanSize frames. An item's Execute may insert,
  // remove, re-time or delete items, itself too, or clear the plan: the
  // running item stays linked while it runs, and one that leaves the plan
  // meanwhile is left to its taker or deleted after its run.

  static constexpr int32_t kPlanSize = 30;

  // Plans the item delay frames from now (the plan takes it over); it is
  // taken out of the plan first when it is planned already. Delay 0 runs it
  // at once and then plans it again after its frequency, or deletes it.
  void InsertPlan(LogicPlanItem* item, uint32_t delay);
  // Takes the item out of whichever plan list holds it and hands it to the
  // caller; an item in no list is left alone.
  void RemovePlan(LogicPlanItem* item);
  // Takes the item out of the plan and deletes it (after its run, when it
  // is running).
  void DeletePlanItem(LogicPlanItem* item);
  // Runs the items due in this frame; at the last bucket moves the long
  // list's items due within kPlanSize frames into the buckets. An item whose
  // Execute throws is logged, taken out and deleted, and the exception goes
  // on.
  void PropagatePlan();
  // Tells the listeners the countdown of the first item that shows one
  // (buckets 0 to 29 front to back, then the long list); nothing without.
  void UpdateTimer();
  // The first custom trigger with that id, in the same search order.
  YLCustomTrigger* FindTrigger(int32_t id) const;
  // The plan's clearing at the end of a game: deletes every plan item but
  // the spared one and the thing warps (which put lifted things back).
  void ClearPlan(const LogicPlanItem* spared);
  // Deletes every plan item.
  void EmptyPlan();
  // After a load: puts the long list in due order and runs every item's
  // ResolveReferences (buckets in order, then the long list).
  void ResolvePlanReferences();
  // The buckets: the count, then per bucket a presence byte and the first
  // item's record with its chain nested. A count other than kPlanSize is
  // read all the same, entry i joining bucket i modulo kPlanSize.
  bool LoadPlan(LumoStream* stream, const LumoProperty* property);
  bool SavePlan(LumoStream* stream, const LumoProperty* property);
  // The long list as one embedded object, its chain nested.
  bool LoadPlanLongTerm(LumoStream* stream, const LumoProperty* property);
  bool SavePlanLongTerm(LumoStream* stream, const LumoProperty* property);

  // The current frame.
  uint32_t Time = 0;
  PlanList Plan[kPlanSize];
  PlanList PlanLongTerm;

 private:
  // An item whose Execute is running: whether it left the plan to a taker
  // or was deleted meanwhile.
  struct PlanRun {
    LogicPlanItem* item;
    bool taken;
    bool doomed;
  };
  // Executes an item inserted with delay 0.
  void RunNow(LogicPlanItem* item);
  // The innermost record of the item's running Execute; null when none.
  PlanRun* FindRun(const LogicPlanItem* item);
  PlanRun PopRun();
  // Unlinks the item from its list; false when it is in none.
  bool Unlink(LogicPlanItem* item);
  // Deletes an unlinked item, or marks it for deletion after its run.
  void Dispose(LogicPlanItem* item);
  // After a throwing Execute: the plan's item is deleted, a taken one left.
  void DiscardAfterFault(LogicPlanItem* item, const PlanRun& run);
  void LinkFront(int32_t bucket, LogicPlanItem* item);
  void LinkLongTerm(LogicPlanItem* item);
  // Records which list holds each item of a chain.
  static void MarkChain(LogicPlanItem* first, int32_t slot);
  // Deletes every plan item for which keep answers false (after its run,
  // when it is running).
  void DeletePlanItemsBut(const std::function<bool(const LogicPlanItem*)>& keep);
  // Plans the player's game-over notice.
  void PlanGameOverNotice(int32_t player, bool won);
  // Sets the player's game state when it has a player.
  void SetGameState(int32_t player, int32_t state);
  // Whether the player is still playing.
  bool IsPlaying(int32_t player) const;
  // Walks the winner's units; each is to be given its own chant step here
  // once units take plan steps (the body marks the place).
  void CelebrateVictory(int32_t player);
  PlanList& ListOf(int32_t slot);

  std::vector<PlanRun> planRuns;
  // The stream held the generator's state; not stored. A load without it
  // starts the generator from 0, so an older save plays on the same way
  // whatever the process ran before.
  bool randomStateLoaded = false;

 protected:
  // Calls one event on every listener; faultFormat is the log line of a
  // listener that throws, with %s for its name (CLogicDispatch.h).
  template <typename Call>
  void Dispatch(const char* faultFormat, Call&& call);
};

// The current logic (the one things and exports work on); null while none
// exists.
CLogic* TheLogic();
