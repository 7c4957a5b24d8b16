#pragma once

#include <cstdint>
#include <vector>

#include "base/LumoNode.h"
#include "base/tCollection.h"
#include "logic/core/YLEventListener.h"

class COrder;
class LumoProperty;
class LumoStream;
class YLThing;
class YLUnit;

// The indexes of a player's parameter table.
constexpr ParamEnum ParamMoney = 1;
constexpr ParamEnum ParamFrags = 2;
constexpr ParamEnum ParamUnitsLost = 3;
constexpr ParamEnum ParamTeamKills = 4;
constexpr ParamEnum ParamBuildingsBroken = 5;
constexpr ParamEnum ParamBuildingsLost = 6;
constexpr ParamEnum ParamBeerDrunk = 7;
constexpr ParamEnum ParamDopeUsed = 8;
constexpr ParamEnum ParamWhoresFucked = 9;
constexpr ParamEnum ParamMoneySpent = 10;
constexpr ParamEnum ParamArrests = 11;
constexpr ParamEnum ParamPubs = 12;
constexpr ParamEnum ParamScore = 13;
constexpr ParamEnum ParamState = 14;
constexpr ParamEnum ParamLeaders = 15;
constexpr ParamEnum ParamLivingLeaders = 16;
constexpr ParamEnum ParamThings = 17;
constexpr ParamEnum ParamSelectable = 18;
constexpr ParamEnum ParamRats = 19;
constexpr ParamEnum ParamRavers = 20;
constexpr ParamEnum ParamBikers = 21;
constexpr ParamEnum ParamBulches = 22;
constexpr ParamEnum ParamChicks = 23;
constexpr ParamEnum ParamSuits = 24;
constexpr ParamEnum ParamYobbozers = 25;
constexpr ParamEnum ParamThingsDestroyed = 26;
constexpr ParamEnum ParamCarsDestroyed = 27;
constexpr ParamEnum ParamHomesWrecked = 28;
constexpr ParamEnum ParamOtherBuildingsWrecked = 29;
constexpr ParamEnum ParamPubsWrecked = 30;
constexpr ParamEnum ParamWeaponShopsWrecked = 31;
constexpr ParamEnum ParamDopeHousesWrecked = 32;
constexpr ParamEnum ParamGirlsShopsWrecked = 33;
constexpr ParamEnum ParamScoreCorrection = 34;
constexpr ParamEnum ParamBurglaries = 35;

// One side of a game: its id, its parameter table (money, counters of its
// units, its result), the units it has selected and its numbered leaders.
// Every change of a parameter or of the selection is reported at once to the
// listeners of the logic that the things share.
class CPlayer : public LumoNode {
 public:
  // The table holds exactly this many parameters.
  static constexpr int32_t kParamCount = 36;
  static constexpr int32_t kMaxLeaders = 10;
  // The group number that stands for every unit of the player.
  static constexpr int32_t kAllGroups = 255;
  // The game states of ParamState.
  static constexpr int32_t kStateLost = 0;
  static constexpr int32_t kStateWon = 1;
  static constexpr int32_t kStatePlaying = 2;
  static constexpr int32_t kStatePolice = 3;

  CPlayer();
  ~CPlayer() override;

  const char* GetClassName() const override;
  void DoFree() override;
  // After loading: the table is 36 long, old money is moved into ParamMoney,
  // a table older than the game state starts playing, the counters that the
  // loaded things raise again are cleared, and nothing stays selected.
  bool OnLoadFrom(LumoStream* stream) override;
  // After the loaded things have registered: the counters take back the
  // values the saved table held, which are the running game's (a building
  // taken over by a unit that entered it is not counted with its new owner,
  // while registering counts it). A stream whose table lacked them keeps
  // what the registration counted.
  void RestoreLoadedCounters();

  // The logic sets the player up: its id, 1000 money, playing.
  virtual void OnCreated(int32_t id);
  // An operation that no kind of player fills.
  virtual void EmptyHook();
  // A thing gets this owner (added) or loses it, or dies.
  virtual void OnThingOwned(bool added, YLThing* thing);
  // Group selection by leader number (1 to ParamLeaders) or kAllGroups;
  // any other number does nothing.
  virtual void AddGroupToSelection(int32_t leader);
  virtual void SelectGroup(int32_t leader);
  virtual void DeselectGroup(int32_t leader);
  // The table as "params:", its count and values; a stream without the
  // text keeps the table.
  virtual bool LoadParams(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveParams(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadSelection(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveSelection(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadMoney(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveMoney(LumoStream* stream, const LumoProperty* property);
  // The player's own id stands in for the node's.
  bool LoadID(LumoStream* stream, const LumoProperty* property) override;
  bool SaveID(LumoStream* stream, const LumoProperty* property) override;

  // ---- Parameters ----

  // 0 for an index outside the table.
  int32_t GetParam(ParamEnum index) const;
  const tCollection<int32_t>& GetParams() const { return Params; }
  // Reports only a change. An index outside 0-35 is refused with a log line.
  void SetParam(ParamEnum index, int32_t value);
  // Nothing for 0; the sum stops at the 32-bit limits; reports the new value.
  void AddParam(ParamEnum index, int32_t delta);
  // A negative amount also counts as money spent.
  void AddMoney(int32_t amount);
  int32_t GetMoney() const { return GetParam(ParamMoney); }

  // ---- Leaders ----

  int32_t GetLeaderCount() const { return GetParam(ParamLeaders); }
  // The id of leader n (1 to the leader count) while it names a leader of
  // this player; 0 otherwise.
  int32_t GetLeaderID(int32_t number) const;
  // Leader n (1 to the leader count) takes the unit into its group; nothing
  // for another number. True when the unit is in that group afterwards.
  bool GiveUnitToLeader(YLUnit* unit, int32_t number);

  // ---- Selection ----

  // Selects a living, selectable thing of this player; true when it is
  // selected afterwards.
  bool SelectThing(int32_t id);
  // True when the id was selected.
  bool Deselect(int32_t id);
  // Deselects everything, then selects id when it is not 0.
  void SelectOnly(int32_t id);
  // Reports each selected id as deselected, then empties the selection.
  void DeselectAll();
  // The i-th selected thing as a unit; null when it is none.
  YLUnit* GetSelectedUnit(int32_t index) const;
  bool IsSelected(int32_t id) const;

  // ---- Orders ----

  // Every selected unit replaces its plan with a plan step of its own built
  // by the order. The selection is walked as it stood, since taking an
  // order may change it. A failure is logged and swallowed: the order ends.
  void NewOrder(const COrder& order);
  // Every selected unit appends a plan step of its own built by the order.
  // A failure is logged and passed on.
  void AddToOrderQueue(const COrder& order);

  // Every selected id as deselected, then each as selected, then every
  // parameter from index 1.
  void ReportAll();
  // Takes the other's id, money and table, and adds its selection.
  void CopyFrom(const CPlayer& other);

  int32_t Reserved = 0;  // cleared at construction and when freed; no use
  tCollection<int32_t> Selection;  // sorted, without duplicates
  int32_t ID = 0;
  int32_t Money = 0;  // money of older saves, moved into ParamMoney on loading
  // The leaders' ids by number - 1; an id counts only while it names a
  // leader of this player.
  int32_t Leaders[kMaxLeaders] = {};
  tCollection<int32_t> Params;

 protected:
  // Inserts the id in sorted place when absent, reporting it; true when
  // inserted.
  bool InsertSelected(int32_t id);
  // The unit numbered n when the number is in use; null otherwise.
  YLUnit* LeaderAt(int32_t number) const;
  bool IsGroupNumber(int32_t number) const;
  void Report(ParamEnum index, int32_t value) const;
  void ReportSelection(int32_t id, bool selected) const;

 private:
  // The number a newly registered leader takes: its record's group number
  // when that is free, else the lowest free one; 0 when none is free.
  int32_t FreeLeaderNumber(int32_t wanted) const;
  // The table's count as loaded; -1 when the stream held no table.
  int32_t loadedParamCount = -1;
  // The counters of the loaded table until RestoreLoadedCounters; empty
  // when the table did not hold them.
  std::vector<int32_t> loadedCounters;
};
