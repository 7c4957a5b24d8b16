#include "logic/world/YLThing.h"

#include <cstring>

#include "base/DebugFormat.h"
#include "base/LumoClass.h"
#include "base/LumoStream.h"
#include "base/Random.h"
#include "logic/core/BuildingInfo.h"
#include "logic/core/CLogic.h"
#include "logic/core/CMap.h"
#include "logic/core/RecordFields.h"
#include "logic/world/MoveInfo.h"

namespace {

LumoClassOf<YLThing> classOfYLThing(kVersion_1_6_0_6, "YLThing", "LumoNode");
LOGIC_FIELD_PROPERTY(YLThing, Info, PropertyObject, "tUnknown");

CMap* sharedMap = nullptr;
CLogic* sharedLogic = nullptr;

// A scenery thing at rest starts its idle animation when a draw exceeds this.
constexpr double kAmbientChance = 0.9985;

bool StartsWith(const char* text, const char* prefix) { return std::strncmp(text, prefix, std::strlen(prefix)) == 0; }

}  // namespace

// The plain things' move table, shared by every thing; filled by
// YLTPushableThing::InitMoveTable.
std::unique_ptr<LumoObjects, tObjectDestroyer>& YLThing::PlainMoveTableSlot() {
  static std::unique_ptr<LumoObjects, tObjectDestroyer> table;
  return table;
}

YLThing::YLThing() = default;
YLThing::~YLThing() = default;

const char* YLThing::GetClassName() const { return "YLThing"; }

void YLThing::DoFree() {
  // A thing freed while still listed on the map leaves the list, so no
  // entry keeps its address.
  if (sharedMap != nullptr) {
    sharedMap->ForgetThing(this);
  }
  Info.reset();
  LumoNode::DoFree();
}

// ---- Shared context ----

void YLThing::SetLogicContext(CMap* map, CLogic* logic) {
  sharedMap = map;
  sharedLogic = logic;
}

CLogic* YLThing::GetLogic() { return sharedLogic; }
CMap* YLThing::GetMap() { return sharedMap; }
LumoObjects* YLThing::GetPlainMoveTable() { return PlainMoveTableSlot().get(); }

// ---- Life ----

// A stored move number that the class's table does not hold (a damaged or
// foreign save) falls back to move 0 rather than leaving the record
// without a move.
void YLThing::InitFromType() {
  if (Info == nullptr) {
    return;
  }
  const int32_t number = Info->MoveNumber;
  MoveInfo* move = GetMoveInfo(number);
  if (move == nullptr) {
    DebugPrint("YLThing::InitFromType: thing %d has no move %d, it rests (move 0)\n", Info->Tid, number);
    move = GetMoveInfo(kMoveRest);
    Info->SetMove(move, kMoveRest);
  } else {
    Info->SetMove(move, number);
  }

  const CLogic* logic = GetLogic();
  const char* typeName = logic != nullptr ? logic->GetString(Info->Gfx) : nullptr;
  if (typeName == nullptr) {
    return;
  }
  if (StartsWith(typeName, "Scene") || StartsWith(typeName, "Obst")) {
    Info->Status |= StatusScenery;
  }
  if (StartsWith(typeName, "Obst78")) {
    const char kind = typeName[6];
    if (kind == '2' || kind == '3' || kind == '4') {
      Info->Status |= StatusExplodes;
    } else {
      Info->Status &= ~static_cast<uint32_t>(StatusExplodes);
    }
  }
  if (StartsWith(typeName, "Brick")) {
    constexpr int32_t kBrickType = 14;
    Info->BuildingType = kBrickType;
  }
}

bool YLThing::Propagate() {
  if (Info == nullptr) {
    return false;
  }
  if (GetTime() != 255) {
    SetTime(static_cast<uint8_t>(GetTime() + 1));
  }
  if ((Info->Status & StatusAlive) == 0) {
    return false;
  }
  if (Info->Hp <= 0.0f) {
    Destroy();
    return false;
  }
  if ((Info->Status & StatusScenery) != 0) {
    bool started = false;
    const MoveInfo* current = Info->Move;
    if (Info->MoveNumber == kMoveAmbient && current != nullptr && GetTime() >= current->GetMoveTime(0, 0)) {
      StartMove(GetMoveInfo(kMoveRest));
      started = true;
    } else if (Info->MoveNumber == kMoveRest && RandomFloat() > kAmbientChance) {
      StartMove(GetMoveInfo(kMoveAmbient));
      started = true;
    }
    if (started) {
      ReportAction();
    }
  }
  return true;
}

bool YLThing::TakeDamage(float amount) {
  if (Info == nullptr || Info->Hp <= 0.0f) {
    return false;
  }
  Info->Hp -= (1.0f - Info->Armor) * amount;
  if (Info->Hp <= 0.0f) {
    Destroy();
    return true;
  }
  return false;
}

void YLThing::Destroy() {
  if (Info == nullptr) {
    return;
  }
  Info->Hp = 0.0f;
  Info->Status &= ~static_cast<uint32_t>(StatusAlive);
  MoveInfo* trashed = GetMoveInfo(kMoveTrashed);
  const LumoObjects* table = GetPlainMoveTable();
  if (trashed != nullptr && table != nullptr && trashed == table->At(kMoveTrashed)) {
    StartMove(trashed);
    ReportAction();
  }
  if (CLogic* logic = GetLogic()) {
    logic->ThingDied(this);
  }
}

int32_t YLThing::StartMove(MoveInfo* move) {
  if (Info == nullptr) {
    return 0;
  }
  SetTime(0);
  Info->SetMove(move, MoveNumberOf(move));
  if (move == nullptr) {
    return 0;
  }
  // Bit 0 of the orientation marks a diagonal facing, as the move's flags.
  const uint8_t length = move->GetMoveTime(Info->Gfx, Info->Ori);
  if (length == 1) {
    SetTime(255);
  }
  return length;
}

// The record stores the move's place in the class's table. A table may hold
// a move away from its code (a kind reused under another number, or two
// numbers sharing a kind), so the code is taken only when it names this very
// move; otherwise the first place that holds it.
int32_t YLThing::MoveNumberOf(const MoveInfo* move) const {
  if (move == nullptr) {
    return 0;
  }
  if (GetMoveInfo(move->code) == move) {
    return move->code;
  }
  for (int32_t number = 0;; ++number) {
    const MoveInfo* entry = GetMoveInfo(number);
    if (entry == nullptr) {
      break;
    }
    if (entry == move) {
      return number;
    }
  }
  return move->code;
}

void YLThing::ReportAction() {
  CLogic* logic = GetLogic();
  if (logic == nullptr || Info == nullptr) {
    return;
  }
  MoveStep action;
  action.x = Info->X;
  action.y = Info->Y;
  action.facing = Info->Ori;
  action.move = Info->Move;
  logic->NotifyAction(Info->Tid, &action);
}

uint8_t YLThing::GetTime() const { return Info != nullptr ? static_cast<uint8_t>(Info->Time) : 0; }

void YLThing::SetTime(uint8_t frames) {
  if (Info != nullptr) {
    Info->Time = static_cast<int8_t>(frames);
  }
}

// ---- Queries and setters ----

void YLThing::Frighten(float, int32_t) {}
int32_t YLThing::GetX() const { return Info != nullptr ? Info->X : 0; }
int32_t YLThing::GetY() const { return Info != nullptr ? Info->Y : 0; }
int32_t YLThing::GetSituation() const { return 1; }
YLThing* YLThing::GetContainer() const { return nullptr; }
YLUnit* YLThing::AsUnit() { return nullptr; }
const YLUnit* YLThing::AsUnit() const { return nullptr; }
YLTCar* YLThing::AsCar() { return nullptr; }
const YLTCar* YLThing::AsCar() const { return nullptr; }
float YLThing::GetDamage() const { return 0.0f; }

void YLThing::SetX(int32_t x) {
  if (Info != nullptr) {
    Info->X = x;
  }
}

void YLThing::SetY(int32_t y) {
  if (Info != nullptr) {
    Info->Y = y;
  }
}

void YLThing::SetZ(int32_t z) {
  if (Info != nullptr) {
    Info->Z = z;
  }
}

void YLThing::SetOrientation(uint8_t orientation) {
  if (Info != nullptr) {
    Info->Ori = orientation;
  }
}

void YLThing::SetType(int32_t type) {
  if (Info != nullptr) {
    Info->Gfx = type;
  }
}

int32_t YLThing::GetOwner() const { return Info != nullptr ? Info->Owner : 0; }

void YLThing::SetOwner(int32_t owner) {
  if (Info != nullptr) {
    Info->Owner = owner;
  }
}

void YLThing::GiveCommand(PsychicPlanItem*) { DebugPrint(" *** tried to give new command to non-thinking\n"); }
void YLThing::AddCommand(PsychicPlanItem*) { DebugPrint(" *** tried to add command to non-thinking\n"); }

ThingInfo* YLThing::MakeInfo() const { return new ThingInfo; }

void YLThing::CreateInfo(int32_t moveNumber) {
  Info.reset(MakeInfo());
  StartMove(GetMoveInfo(moveNumber));
}

void YLThing::BuildGroundMap() {}
bool YLThing::OnAddToMap(CMap*) { return false; }
bool YLThing::CanTake(int32_t) const { return false; }
bool YLThing::IsSelectable() const { return false; }
bool YLThing::IsPolice() const { return false; }
void YLThing::GetDebugText(tString& text) const { text = ""; }
YLTDriver* YLThing::AsDriver() { return nullptr; }

MoveInfo* YLThing::GetMoveInfo(int32_t number) const {
  const LumoObjects* table = GetPlainMoveTable();
  if (table == nullptr) {
    return nullptr;
  }
  return dynamic_cast<MoveInfo*>(table->At(number));
}

void YLThing::SetStatusBit9() {
  if (Info != nullptr) {
    Info->Status |= 1u << 9;
  }
}

void YLThing::SetStatusBit28() {
  if (Info != nullptr) {
    Info->Status |= 1u << 28;
  }
}

int32_t YLThing::GetInfoGrade() const {
  const auto* building = dynamic_cast<const BuildingInfo*>(Info.get());
  return building != nullptr ? building->Money : 0;
}

void YLThing::SetInfoGrade(int32_t grade) {
  if (auto* building = dynamic_cast<BuildingInfo*>(Info.get())) {
    building->Money = grade;
  }
}

// ---- Stream form ----

bool YLThing::LoadInfo(LumoStream* stream, const LumoProperty*) {
  LumoObject* loaded = nullptr;
  if (!stream->ReadObject(loaded)) {
    DebugPrint("YLThing: cannot read the record of a %s\n", GetClassName());
    return false;
  }
  auto* info = dynamic_cast<ThingInfo*>(loaded);
  if (loaded != nullptr && info == nullptr) {
    DebugPrint("YLThing: a %s holds a %s where its record belongs\n", GetClassName(), loaded->GetClassName());
    DestroyObject(loaded);
    return false;
  }
  Info.reset(info);
  return true;
}

bool YLThing::SaveInfo(LumoStream* stream, const LumoProperty*) { return stream->WriteObject(Info.get()); }
