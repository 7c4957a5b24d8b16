#include "logic/world/YLUnitSupporter.h"

#include <cstdio>

#include "base/DebugFormat.h"
#include "base/LumoClass.h"
#include "base/LumoStream.h"
#include "base/tString.h"
#include "logic/core/CLogic.h"
#include "logic/core/CPlayer.h"
#include "logic/core/RecordFields.h"
#include "logic/core/WeaponCatalog.h"
#include "logic/core/YLWeapon.h"
#include "logic/world/YLUnitLeader.h"

namespace {

LumoClassOf<YLUnitSupporter> classOfYLUnitSupporter(kVersion_1_6_0_6, "YLUnitSupporter", "YLUnit");
LOGIC_FIELD_PROPERTY(YLUnitSupporter, LastThrower, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(YLUnitSupporter, FollowLeader, PropertyInteger, "tInteger");
LumoClassOf<YLUnitHardCore> classOfYLUnitHardCore(kVersion_1_6_0_6, "YLUnitHardCore", "YLUnitSupporter");
LumoClassOf<YLUnitRat> classOfYLUnitRat(kVersion_1_6_0_6, "YLUnitRat", "YLUnitHardCore");
LumoClassOf<YLUnitRaver> classOfYLUnitRaver(kVersion_1_6_0_6, "YLUnitRaver", "YLUnitHardCore");
LumoClassOf<YLUnitRozav> classOfYLUnitRozav(kVersion_1_6_0_6, "YLUnitRozav", "YLUnitHardCore");
LumoClassOf<YLUnitYobb> classOfYLUnitYobb(kVersion_1_6_0_6, "YLUnitYobb", "YLUnitHardCore");

// Markers of the state that decides later moves, stored after the fields.
constexpr const char* kGotoMarker = "goto:";
constexpr const char* kRaverMarker = "raver:";
constexpr const char* kRozavMarker = "rozav:";
constexpr const char* kYobbMarker = "yobb:";

constexpr float kLoyaltyFade = 0.0003f;
constexpr float kFlirtFade = 0.0005f;
constexpr float kStartLoyalty = 1.1f;
constexpr float kOverdose = 1.15f;
// The molotovs of a yobb's grades follow this catalogue slot.
constexpr int32_t kYobbWeaponSlot = 61;

CPlayer* PlayerOf(int32_t owner) {
  CLogic* logic = YLThing::GetLogic();
  return logic != nullptr && owner != 0 ? logic->GetPlayer(owner) : nullptr;
}

}  // namespace

// ---- The plain fan ----

YLUnitSupporter::YLUnitSupporter() = default;
const char* YLUnitSupporter::GetClassName() const { return "YLUnitSupporter"; }

Temperament YLUnitSupporter::GetTemperament() const { return {1.0f, 1.5f, 1.4f, 1.5f, 1.0f}; }
float YLUnitSupporter::GetNeutralFactor() const { return GetTemperament().neutral; }
float YLUnitSupporter::GetFrightFactor() const { return GetTemperament().fright; }
float YLUnitSupporter::GetBeerFactor() const { return GetTemperament().beer; }
float YLUnitSupporter::GetDoubleFactor() const { return GetTemperament().doubled; }
float YLUnitSupporter::GetStaminaRate() const { return GetTemperament().stamina; }

void YLUnitSupporter::UpdateFeelings() {
  YLUnit::UpdateFeelings();
  UnitInfo* info = GetUnitInfo();
  if (info == nullptr || !HasStatus(StatusAlive)) {
    return;  // an overdose took the unit off
  }
  info->Loyalty -= kLoyaltyFade;
  if (info->Loyalty < 0.0f) {
    info->Loyalty = 0.0f;
  }
  info->Flirt -= kFlirtFade;
  if (info->Flirt < 1.0f) {
    ClearStatus(kStatusCharmed);
    info->Flirt = 0.0f;
  }
}

YLUnit* YLUnitSupporter::FindLivingUnit(int32_t id) {
  const CLogic* logic = GetLogic();
  if (logic == nullptr || id <= 0 || id >= kDirectionCodes) {
    return nullptr;
  }
  auto* unit = UnitOf(logic->GetThing(id));
  if (unit == nullptr || unit->Info == nullptr || (unit->Info->Status & StatusAlive) == 0) {
    return nullptr;
  }
  return unit;
}

YLUnitLeader* YLUnitSupporter::GetGroupLeader() const {
  const UnitInfo* info = GetUnitInfo();
  return info != nullptr ? dynamic_cast<YLUnitLeader*>(FindLivingUnit(info->Leader)) : nullptr;
}

LUMO_GENERIC_FIELD(YLUnitSupporter, LastThrower)
LUMO_GENERIC_FIELD(YLUnitSupporter, FollowLeader)

bool YLUnitSupporter::OnLoadFrom(LumoStream* stream) {
  if (!YLUnit::OnLoadFrom(stream)) {
    return false;
  }
  if (!ReadMarker(stream, kGotoMarker)) {
    return true;
  }
  if (!stream->ReadInteger(GotoTarget)) {
    DebugPrint("YLUnitSupporter: cannot read the value behind \"%s\"\n", kGotoMarker);
    return false;
  }
  return true;
}

bool YLUnitSupporter::OnSaveTo(LumoStream* stream) {
  return YLUnit::OnSaveTo(stream) && WriteMarker(stream, kGotoMarker) && stream->WriteInteger(GotoTarget);
}

// ---- The hard-core fan ----

YLUnitHardCore::YLUnitHardCore() = default;
const char* YLUnitHardCore::GetClassName() const { return "YLUnitHardCore"; }
bool YLUnitHardCore::IsSelectable() const { return true; }

void YLUnitHardCore::SetType(int32_t type) {
  YLUnitSupporter::SetType(type);
  if (UnitInfo* info = GetUnitInfo()) {
    info->Loyalty = kStartLoyalty;
    ApplyTypeArmor(*info);
  }
}

void YLUnitHardCore::SetLeader(int32_t leader) {
  UnitInfo* info = GetUnitInfo();
  if (info == nullptr) {
    return;
  }
  if (info->Leader != leader && info->Leader != info->Tid) {
    LeaveGroup();
  }
  info->Leader = leader;
}

bool YLUnitHardCore::LeaveGroup() {
  YLUnitLeader* leader = GetGroupLeader();
  if (leader == nullptr || leader == this) {
    return true;
  }
  return leader->RemoveGroupMember(this);
}

void YLUnitHardCore::Destroy() {
  if (!LeaveGroup()) {
    DebugPrint("exception in leader->removegroupmember\n");
  }
  YLUnitSupporter::Destroy();
}

void YLUnitHardCore::UpdateFeelings() {
  UnitInfo* info = GetUnitInfo();
  const float loyalty = info != nullptr ? info->Loyalty : 0.0f;
  YLUnitSupporter::UpdateFeelings();
  if (info != nullptr && HasStatus(StatusAlive)) {
    info->Loyalty = loyalty;
  }
}

void YLUnitHardCore::DrinkBeer(int32_t glasses) {
  if (CPlayer* player = PlayerOf(GetOwner())) {
    player->AddParam(ParamBeerDrunk, glasses);
  }
  YLUnitSupporter::DrinkBeer(glasses);
}

void YLUnitHardCore::TakeDope(int32_t doses) {
  UnitInfo* info = GetUnitInfo();
  if (info == nullptr) {
    return;
  }
  const int32_t owner = GetOwner();
  info->Dope += static_cast<float>(doses) * GetDoubleFactor() * 0.33f;
  if (info->Dope >= kOverdose) {
    Destroy();
    if (CPlayer* player = PlayerOf(owner)) {
      player->AddParam(ParamUnitsLost, 1);
      player->AddParam(ParamTeamKills, 1);
    }
  }
  if (CPlayer* player = PlayerOf(owner)) {
    player->AddParam(ParamDopeUsed, doses);
  }
}

void YLUnitHardCore::VisitSexShop() {
  UnitInfo* info = GetUnitInfo();
  if (info == nullptr) {
    return;
  }
  info->Hp = info->Hp > 0.92f ? 1.0f : info->Hp + 0.6f * (1.0f - info->Hp);
  info->Cons = 1.0f;
  info->Stamina = 0.2f;
  info->Fear *= 0.5f;
  info->Anger *= 0.5f;
  if (CPlayer* player = PlayerOf(GetOwner())) {
    player->AddParam(ParamWhoresFucked, 1);
  }
}

// ---- The gang kinds ----

YLUnitRat::YLUnitRat() = default;
const char* YLUnitRat::GetClassName() const { return "YLUnitRat"; }
Temperament YLUnitRat::GetTemperament() const { return {2.0f, 1.0f, 1.5f, 1.5f, 1.5f}; }

YLUnitRaver::YLUnitRaver() = default;
const char* YLUnitRaver::GetClassName() const { return "YLUnitRaver"; }
Temperament YLUnitRaver::GetTemperament() const { return {1.75f, 1.0f, 1.75f, 0.5f, 1.25f}; }

bool YLUnitRaver::Rave() {
  CLogic* logic = GetLogic();
  if (logic == nullptr) {
    return false;
  }
  Raving = true;
  return logic->DoRave(this, kRaveCall, 1.0f);
}

bool YLUnitRaver::OnLoadFrom(LumoStream* stream) {
  if (!YLUnitHardCore::OnLoadFrom(stream)) {
    return false;
  }
  if (!ReadMarker(stream, kRaverMarker)) {
    return true;
  }
  if (!stream->ReadBool(Raving) || !stream->ReadInteger(RaveID) || !stream->ReadInteger(RaveCounter)) {
    DebugPrint("YLUnitRaver: cannot read the values behind \"%s\"\n", kRaverMarker);
    return false;
  }
  return true;
}

bool YLUnitRaver::OnSaveTo(LumoStream* stream) {
  return YLUnitHardCore::OnSaveTo(stream) && WriteMarker(stream, kRaverMarker) && stream->WriteBool(Raving) &&
         stream->WriteInteger(RaveID) && stream->WriteInteger(RaveCounter);
}

YLUnitRozav::YLUnitRozav() = default;
const char* YLUnitRozav::GetClassName() const { return "YLUnitRozav"; }
Temperament YLUnitRozav::GetTemperament() const { return {0.85f, 1.5f, 0.5f, 1.5f, 0.5f}; }

bool YLUnitRozav::OnLoadFrom(LumoStream* stream) {
  if (!YLUnitHardCore::OnLoadFrom(stream)) {
    return false;
  }
  if (!ReadMarker(stream, kRozavMarker)) {
    return true;
  }
  if (!stream->ReadInteger(BarricadeX) || !stream->ReadInteger(BarricadeY)) {
    DebugPrint("YLUnitRozav: cannot read the values behind \"%s\"\n", kRozavMarker);
    return false;
  }
  return true;
}

bool YLUnitRozav::OnSaveTo(LumoStream* stream) {
  return YLUnitHardCore::OnSaveTo(stream) && WriteMarker(stream, kRozavMarker) && stream->WriteInteger(BarricadeX) &&
         stream->WriteInteger(BarricadeY);
}

YLUnitYobb::YLUnitYobb() = default;
const char* YLUnitYobb::GetClassName() const { return "YLUnitYobb"; }
Temperament YLUnitYobb::GetTemperament() const { return {0.9f, 0.8f, 1.25f, 1.0f, 1.25f}; }
int32_t YLUnitYobb::GetAttackMove(int32_t move) const { return move == 11 ? 12 : move; }

YLWeapon* YLUnitYobb::GetMolotovWeapon() const {
  const UnitInfo* info = GetUnitInfo();
  const CLogic* logic = GetLogic();
  if (info == nullptr || info->Ammo < 1 || logic == nullptr || logic->Weapons == nullptr) {
    return nullptr;
  }
  return logic->Weapons->GetSlot(kYobbWeaponSlot + info->Weapon);
}

void YLUnitYobb::GetDebugText(tString& text) const {
  const UnitInfo* info = GetUnitInfo();
  const int32_t ammo = info != nullptr ? info->Ammo : 0;
  const char* name = "throwing things";
  if (ammo != 0) {
    const CLogic* logic = GetLogic();
    const YLWeapon* weapon = logic != nullptr && logic->Weapons != nullptr && info != nullptr
                                 ? logic->Weapons->GetSlot(kYobbWeaponSlot + info->Weapon)
                                 : nullptr;
    name = weapon != nullptr && weapon->GetName() != nullptr ? weapon->GetName() : "";
  }
  char line[96];
  std::snprintf(line, sizeof(line), "Yobbozer with %d %s\n", static_cast<int>(ammo), name);
  text = line;
}

bool YLUnitYobb::OnLoadFrom(LumoStream* stream) {
  if (!YLUnitHardCore::OnLoadFrom(stream)) {
    return false;
  }
  if (!ReadMarker(stream, kYobbMarker)) {
    return true;
  }
  if (!stream->ReadBool(ThrowPending) || !stream->ReadInteger(ThrowX) || !stream->ReadInteger(ThrowY)) {
    DebugPrint("YLUnitYobb: cannot read the values behind \"%s\"\n", kYobbMarker);
    return false;
  }
  return true;
}

bool YLUnitYobb::OnSaveTo(LumoStream* stream) {
  return YLUnitHardCore::OnSaveTo(stream) && WriteMarker(stream, kYobbMarker) && stream->WriteBool(ThrowPending) &&
         stream->WriteInteger(ThrowX) && stream->WriteInteger(ThrowY);
}
