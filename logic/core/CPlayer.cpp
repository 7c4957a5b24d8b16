#include "logic/core/CPlayer.h"

#include <iterator>
#include <limits>

#include "base/DebugFormat.h"
#include "base/ElementCallbacks.h"
#include "base/LumoClass.h"
#include "base/LumoStream.h"
#include "logic/core/CLogic.h"
#include "logic/core/RecordFields.h"
#include "logic/core/UnitInfo.h"
#include "logic/world/YLThing.h"
#include "logic/world/YLUnit.h"
#include "logic/world/YLUnitLeader.h"

namespace {

// A player is a node: its chain streams the node's fields (with the
// player's id in place of the node's) before its own.
LumoClassOf<CPlayer> classOfCPlayer(kVersion_1_6_0_6, "CPlayer", "LumoNode");
LOGIC_FIELD_PROPERTY(CPlayer, Params, PropertyPointer, "tPointer");
LOGIC_FIELD_PROPERTY(CPlayer, Selection, PropertyPointer, "tPointer");
LOGIC_FIELD_PROPERTY(CPlayer, ID, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(CPlayer, Money, PropertyInteger, "tInteger");

constexpr const char* kParamsMarker = "params:";
constexpr int32_t kStartMoney = 1000;
constexpr int32_t kGrowth = 16;
// Tables older than the game state held fewer entries than this.
constexpr int32_t kTableWithState = 14;
// The counters that the loaded things raise again as they register.
constexpr ParamEnum kRegisteredCounters[] = {ParamPubs,  ParamLeaders, ParamLivingLeaders, ParamThings,
                                             ParamSelectable, ParamRats, ParamRavers, ParamBikers,
                                             ParamBulches, ParamChicks, ParamSuits, ParamYobbozers};

int32_t SaturatingAdd(int32_t value, int64_t delta) {
  const int64_t sum = int64_t{value} + delta;
  if (sum > std::numeric_limits<int32_t>::max()) {
    return std::numeric_limits<int32_t>::max();
  }
  if (sum < std::numeric_limits<int32_t>::min()) {
    return std::numeric_limits<int32_t>::min();
  }
  return static_cast<int32_t>(sum);
}

// The counter of a unit type; 0 for types that count nowhere.
ParamEnum TypeCounter(int32_t type) {
  switch (type) {
    case 1:
      return ParamRats;
    case 2:
      return ParamRavers;
    case 4:
      return ParamSuits;
    case 7:
      return ParamBikers;
    case 9:
      return ParamBulches;
    case 11:
      return ParamChicks;
    case 12:
      return ParamYobbozers;
    default:
      return 0;
  }
}

bool IsAlive(const YLThing* thing) { return thing->Info != nullptr && (thing->Info->Status & StatusAlive) != 0; }

}  // namespace

CPlayer::CPlayer() : Selection(nullptr, CompareIntElements, nullptr, kGrowth), Params(nullptr, nullptr, nullptr, kGrowth) {
  Params.SetCount(kParamCount);
  for (int32_t index = 0; index < kParamCount; ++index) {
    Params[index] = 0;
  }
}

CPlayer::~CPlayer() = default;

const char* CPlayer::GetClassName() const { return "CPlayer"; }

void CPlayer::DoFree() {
  Reserved = 0;
  Selection.Clear();
  Params.Clear();
  LumoNode::DoFree();
}

// ---- Reports ----

void CPlayer::Report(ParamEnum index, int32_t value) const {
  if (CLogic* logic = YLThing::GetLogic()) {
    logic->NotifyParameter(ID, index, value);
  }
}

void CPlayer::ReportSelection(int32_t id, bool selected) const {
  if (CLogic* logic = YLThing::GetLogic()) {
    logic->NotifySelection(ID, id, selected ? 1 : 0);
  }
}

// ---- Parameters ----

int32_t CPlayer::GetParam(ParamEnum index) const { return Params.At(index); }

// The table has exactly 36 entries: a write elsewhere would grow it without
// bound (or before its start), so it is refused.
void CPlayer::SetParam(ParamEnum index, int32_t value) {
  if (index < 0 || index >= Params.count) {
    DebugPrint("CPlayer::SetParam: player %d has no parameter %d\n", ID, index);
    return;
  }
  if (Params[index] == value) {
    return;
  }
  Params[index] = value;
  Report(index, value);
}

void CPlayer::AddParam(ParamEnum index, int32_t delta) {
  if (index < 0 || index >= Params.count) {
    DebugPrint("CPlayer::AddParam: player %d has no parameter %d\n", ID, index);
    return;
  }
  if (delta == 0) {
    return;
  }
  Params[index] = SaturatingAdd(Params[index], delta);
  Report(index, Params[index]);
}

void CPlayer::AddMoney(int32_t amount) {
  if (amount == 0) {
    return;
  }
  AddParam(ParamMoney, amount);
  if (amount < 0) {
    const int64_t spent = -int64_t{amount};
    AddParam(ParamMoneySpent, static_cast<int32_t>(std::min<int64_t>(spent, std::numeric_limits<int32_t>::max())));
  }
}

// ---- Set-up and ownership ----

void CPlayer::OnCreated(int32_t id) {
  ID = id;
  AddParam(ParamMoney, kStartMoney);
  SetParam(ParamState, kStatePlaying);
}

void CPlayer::EmptyHook() {}

bool CPlayer::IsGroupNumber(int32_t number) const { return number >= 1 && number <= GetLeaderCount(); }

YLUnit* CPlayer::LeaderAt(int32_t number) const {
  if (number < 1 || number > kMaxLeaders) {
    return nullptr;
  }
  const CLogic* logic = YLThing::GetLogic();
  auto* unit = logic != nullptr ? UnitOf(logic->GetThing(Leaders[number - 1])) : nullptr;
  if (unit == nullptr || unit->Info == nullptr || !unit->Info->IsLeader() || unit->GetOwner() != ID) {
    return nullptr;
  }
  return unit;
}

int32_t CPlayer::GetLeaderID(int32_t number) const {
  const YLUnit* leader = IsGroupNumber(number) ? LeaderAt(number) : nullptr;
  return leader != nullptr ? leader->Info->Tid : 0;
}

bool CPlayer::GiveUnitToLeader(YLUnit* unit, int32_t number) {
  auto* leader = IsGroupNumber(number) ? dynamic_cast<YLUnitLeader*>(LeaderAt(number)) : nullptr;
  return leader != nullptr && leader->AddGroupMember(unit);
}

int32_t CPlayer::FreeLeaderNumber(int32_t wanted) const {
  if (wanted >= 1 && wanted <= kMaxLeaders && LeaderAt(wanted) == nullptr) {
    return wanted;
  }
  for (int32_t number = 1; number <= kMaxLeaders; ++number) {
    if (LeaderAt(number) == nullptr) {
      return number;
    }
  }
  return 0;
}

void CPlayer::OnThingOwned(bool added, YLThing* thing) {
  if (thing == nullptr || thing->Info == nullptr) {
    return;
  }
  ThingInfo& info = *thing->Info;
  if (added) {
    AddParam(ParamThings, 1);
    if (!thing->IsSelectable()) {
      return;
    }
    AddParam(ParamSelectable, 1);
    if (!info.IsLeader()) {
      if (TypeCounter(info.Gfx) != 0) {
        AddParam(TypeCounter(info.Gfx), 1);
      }
      return;
    }
    if (GetParam(ParamLeaders) >= kMaxLeaders) {
      return;  // counted as a unit, without a number
    }
    // A loaded leader takes back its number when it is free, so numbers do
    // not depend on the order in which the loaded things register.
    auto& leader = static_cast<LeaderInfo&>(info);
    const int32_t number = FreeLeaderNumber(leader.GroupID);
    if (number == 0) {
      return;
    }
    Leaders[number - 1] = info.Tid;
    AddParam(ParamLivingLeaders, 1);
    AddParam(ParamLeaders, 1);
    leader.GroupID = static_cast<uint8_t>(number);
    return;
  }
  Deselect(info.Tid);
  if (GetParam(ParamThings) > 0) {
    AddParam(ParamThings, -1);
  }
  if (!thing->IsSelectable()) {
    return;
  }
  if (GetParam(ParamSelectable) > 0) {
    AddParam(ParamSelectable, -1);
  }
  if (!info.IsLeader()) {
    if (TypeCounter(info.Gfx) != 0) {
      AddParam(TypeCounter(info.Gfx), -1);
    }
    // Every leader of the player drops the unit, so no group keeps an id
    // that a later thing may take.
    for (int32_t number = 1; number <= kMaxLeaders; ++number) {
      if (auto* leader = dynamic_cast<YLUnitLeader*>(LeaderAt(number))) {
        leader->RemoveGroupMemberID(info.Tid);
      }
    }
    return;
  }
  // Only a numbered leader counted among the living ones.
  bool numbered = false;
  for (const int32_t leader : Leaders) {
    numbered = numbered || leader == info.Tid;
  }
  if (numbered && GetParam(ParamLivingLeaders) > 0) {
    AddParam(ParamLivingLeaders, -1);
  }
}

// ---- Selection ----

bool CPlayer::IsSelected(int32_t id) const {
  int32_t index = 0;
  return Selection.Search(id, index);
}

bool CPlayer::InsertSelected(int32_t id) {
  int32_t index = 0;
  if (Selection.Search(id, index) || !Selection.Insert(index, id)) {
    return false;
  }
  ReportSelection(id, true);
  return true;
}

bool CPlayer::SelectThing(int32_t id) {
  const CLogic* logic = YLThing::GetLogic();
  YLThing* thing = logic != nullptr ? logic->GetThing(id) : nullptr;
  if (thing == nullptr || !thing->IsSelectable() || thing->GetOwner() != ID || !IsAlive(thing)) {
    return false;
  }
  InsertSelected(id);
  return true;
}

bool CPlayer::Deselect(int32_t id) {
  int32_t index = 0;
  if (!Selection.Search(id, index)) {
    return false;
  }
  ReportSelection(id, false);
  Selection.DeleteAt(index);
  return true;
}

void CPlayer::DeselectAll() {
  for (int32_t index = 0; index < Selection.count; ++index) {
    ReportSelection(Selection[index], false);
  }
  Selection.Clear();
}

void CPlayer::SelectOnly(int32_t id) {
  DeselectAll();
  if (id != 0) {
    SelectThing(id);
  }
}

YLUnit* CPlayer::GetSelectedUnit(int32_t index) const {
  const CLogic* logic = YLThing::GetLogic();
  if (logic == nullptr || index < 0 || index >= Selection.count) {
    return nullptr;
  }
  return UnitOf(logic->GetThing(Selection[index]));
}

// The whole player: every id of the thing table (not only as many as the
// logic counts, which falls as things die while their ids stay in use),
// from the highest down.
void CPlayer::AddGroupToSelection(int32_t leader) {
  if (leader == kAllGroups) {
    const CLogic* logic = YLThing::GetLogic();
    const int32_t last = logic != nullptr && logic->Things != nullptr ? logic->Things->count - 1 : 0;
    for (int32_t id = last; id >= 1; --id) {
      if (UnitOf(logic->GetThing(id)) != nullptr) {
        SelectThing(id);
      }
    }
    return;
  }
  if (!IsGroupNumber(leader)) {
    return;
  }
  YLUnit* unit = LeaderAt(leader);
  if (unit == nullptr) {
    return;
  }
  SelectThing(unit->Info->Tid);
  // A stale member id may name another player's unit or a dead one: each
  // member is selected only as SelectThing accepts it.
  const auto& group = static_cast<const LeaderInfo&>(*unit->Info);
  const int32_t size = std::min<int32_t>(group.GroupSize, LeaderInfo::kMaxGroupSize);
  for (int32_t member = 0; member < size; ++member) {
    SelectThing(group.Group[member]);
  }
}

void CPlayer::SelectGroup(int32_t leader) {
  if (leader != kAllGroups && !IsGroupNumber(leader)) {
    return;
  }
  DeselectAll();
  AddGroupToSelection(leader);
}

void CPlayer::DeselectGroup(int32_t leader) {
  if (leader == kAllGroups) {
    DeselectAll();
    return;
  }
  YLUnit* unit = IsGroupNumber(leader) ? LeaderAt(leader) : nullptr;
  if (unit == nullptr) {
    return;
  }
  const int32_t leaderId = unit->Info->Tid;
  InsertSelected(leaderId);
  const auto& group = static_cast<const LeaderInfo&>(*unit->Info);
  const int32_t size = std::min<int32_t>(group.GroupSize, LeaderInfo::kMaxGroupSize);
  for (int32_t member = 0; member < size; ++member) {
    Deselect(group.Group[member]);
  }
  Deselect(leaderId);
}

void CPlayer::ReportAll() {
  for (int32_t index = 0; index < Selection.count; ++index) {
    ReportSelection(Selection[index], false);
  }
  for (int32_t index = 0; index < Selection.count; ++index) {
    ReportSelection(Selection[index], true);
  }
  for (int32_t index = 1; index < Params.count; ++index) {
    Report(index, Params[index]);
  }
}

void CPlayer::CopyFrom(const CPlayer& other) {
  ID = other.ID;
  Money = other.Money;
  Params.SetCount(other.Params.count);
  for (int32_t index = 0; index < other.Params.count; ++index) {
    Params[index] = other.Params[index];
  }
  for (int32_t index = 0; index < other.Selection.count; ++index) {
    int32_t place = 0;
    if (!Selection.Search(other.Selection[index], place)) {
      Selection.Insert(place, other.Selection[index]);
    }
  }
}

// ---- Stream form ----

bool CPlayer::SaveParams(LumoStream* stream, const LumoProperty*) {
  return WriteMarker(stream, kParamsMarker) && WriteCountedValues(stream, Params);
}

bool CPlayer::LoadParams(LumoStream* stream, const LumoProperty*) {
  if (!ReadMarker(stream, kParamsMarker)) {
    return true;
  }
  int32_t count = 0;
  if (!ReadValueCount(stream, *this, "Params", false, count)) {
    return false;
  }
  // Values past the 36 the table holds are read and dropped.
  for (int32_t index = 0; index < kParamCount; ++index) {
    Params[index] = 0;
  }
  for (int32_t index = 0; index < count; ++index) {
    int32_t value = 0;
    if (!stream->ReadInteger(value)) {
      return false;
    }
    if (index < kParamCount) {
      Params[index] = value;
    }
  }
  loadedParamCount = count;
  return true;
}

bool CPlayer::SaveSelection(LumoStream* stream, const LumoProperty*) { return WriteCountedValues(stream, Selection); }

bool CPlayer::LoadSelection(LumoStream* stream, const LumoProperty*) {
  int32_t count = 0;
  return ReadValueCount(stream, *this, "Selection", false, count) && ReadValues(stream, Selection, count);
}

void CPlayer::RestoreLoadedCounters() {
  if (loadedCounters.size() != std::size(kRegisteredCounters)) {
    return;
  }
  for (size_t index = 0; index < loadedCounters.size(); ++index) {
    Params[kRegisteredCounters[index]] = loadedCounters[index];
  }
  loadedCounters.clear();
}

LUMO_GENERIC_FIELD(CPlayer, Money)
LUMO_GENERIC_FIELD(CPlayer, ID)

bool CPlayer::OnLoadFrom(LumoStream* stream) {
  if (!LumoNode::OnLoadFrom(stream)) {
    return false;
  }
  if (Params.count != kParamCount) {
    Params.SetCount(kParamCount);
  }
  if (Money != 0) {
    Params[ParamMoney] = SaturatingAdd(Params[ParamMoney], Money);
    Money = 0;
  }
  if (loadedParamCount >= 0 && loadedParamCount < kTableWithState) {
    Params[ParamState] = kStatePlaying;
  }
  loadedCounters.clear();
  if (loadedParamCount > ParamYobbozers) {
    for (const ParamEnum index : kRegisteredCounters) {
      loadedCounters.push_back(Params[index]);
    }
  }
  for (const ParamEnum index : kRegisteredCounters) {
    Params[index] = 0;
  }
  for (int32_t& leader : Leaders) {
    leader = 0;
  }
  Selection.Clear();
  loadedParamCount = -1;
  return true;
}
