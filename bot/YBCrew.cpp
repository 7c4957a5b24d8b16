#include "bot/YBCrew.h"

#include <cstdio>

#include "base/LumoClass.h"
#include "base/LumoStream.h"
#include "bot/BotSupport.h"
#include "bot/YBCriminal.h"
#include "bot/YBCrewAssignment.h"
#include "bot/YBMasterMind.h"
#include "bot/YBObjective.h"
#include "bot/YBProposition.h"
#include "bot/YBSector.h"
#include "bot/YBTask.h"
#include "bot/YBThing.h"
#include "logic/core/LogicQueries.h"
#include "logic/core/UnitInfo.h"

namespace {

LumoClassOf<YBCrew> classOfYBCrew(kVersion_1_6_0_6, "YBCrew", "LumoObject");
#define YB_CREW_RECORD(Field, code, typeName) \
  LUMO_FIELD_PROPERTY(kVersion_1_6_0_6, YBCrew, Field, code, typeName)
YB_CREW_RECORD(Player, PropertyInteger, "tInteger");
YB_CREW_RECORD(X, PropertyShort, "tShortInt");
YB_CREW_RECORD(Y, PropertyShort, "tShortInt");
YB_CREW_RECORD(ID, PropertyInteger, "tCardinal");
YB_CREW_RECORD(Health, PropertySingle, "tSingle");
YB_CREW_RECORD(Consciousness, PropertySingle, "tSingle");
YB_CREW_RECORD(Stamina, PropertySingle, "tSingle");
YB_CREW_RECORD(Intoxication, PropertySingle, "tSingle");
YB_CREW_RECORD(Dope, PropertySingle, "tSingle");
YB_CREW_RECORD(Anger, PropertySingle, "tSingle");
YB_CREW_RECORD(Fear, PropertySingle, "tSingle");
YB_CREW_RECORD(Damage, PropertySingle, "tSingle");
YB_CREW_RECORD(Speed, PropertySingle, "tSingle");
YB_CREW_RECORD(Loyalty, PropertySingle, "tSingle");
YB_CREW_RECORD(Support, PropertySingle, "tSingle");
YB_CREW_RECORD(Crime, PropertySingle, "tSingle");
YB_CREW_RECORD(Specials, PropertyInteger, "tCardinal");
YB_CREW_RECORD(Sector, PropertyShort, "tShortInt");
YB_CREW_RECORD(Destination, PropertyShort, "tShortInt");
YB_CREW_RECORD(FinalDestination, PropertyShort, "tShortInt");
YB_CREW_RECORD(Flags, PropertyInteger, "tCardinal");
YB_CREW_RECORD(SystemFlags, PropertyInteger, "tCardinal");
#undef YB_CREW_RECORD

// The walking speed of each unit type 0-13, in cells per frame; type 14
// does not walk.
constexpr float kTypeSpeeds[15] = {1 / 8.0f,  1 / 8.5f, 1 / 9.0f, 1 / 8.0f,  1 / 9.5f, 1 / 10.5f, 1 / 8.5f, 1 / 8.5f,
                                   1 / 8.0f,  1 / 9.0f, 1 / 8.5f, 1 / 11.0f, 1 / 8.5f, 1 / 8.0f,  0.0f};

// Police, riot squads and the types 10 and 12 fight at weapon level 0.
bool FightsUnarmed(int32_t type) { return type == 5 || type == 6 || type == 10 || type == 12; }

}  // namespace

LUMO_GENERIC_FIELD(YBCrew, Player)
LUMO_GENERIC_FIELD(YBCrew, X)
LUMO_GENERIC_FIELD(YBCrew, Y)
LUMO_GENERIC_FIELD(YBCrew, ID)
LUMO_GENERIC_FIELD(YBCrew, Health)
LUMO_GENERIC_FIELD(YBCrew, Consciousness)
LUMO_GENERIC_FIELD(YBCrew, Stamina)
LUMO_GENERIC_FIELD(YBCrew, Intoxication)
LUMO_GENERIC_FIELD(YBCrew, Dope)
LUMO_GENERIC_FIELD(YBCrew, Anger)
LUMO_GENERIC_FIELD(YBCrew, Fear)
LUMO_GENERIC_FIELD(YBCrew, Damage)
LUMO_GENERIC_FIELD(YBCrew, Speed)
LUMO_GENERIC_FIELD(YBCrew, Loyalty)
LUMO_GENERIC_FIELD(YBCrew, Support)
LUMO_GENERIC_FIELD(YBCrew, Crime)
LUMO_GENERIC_FIELD(YBCrew, Specials)
LUMO_GENERIC_FIELD(YBCrew, Sector)
LUMO_GENERIC_FIELD(YBCrew, Destination)
LUMO_GENERIC_FIELD(YBCrew, FinalDestination)
LUMO_GENERIC_FIELD(YBCrew, Flags)
LUMO_GENERIC_FIELD(YBCrew, SystemFlags)

YBCrew::YBCrew(const YBCrew& other)
    : LumoObject(),
      Player(other.Player),
      ID(other.ID),
      Sector(other.Sector),
      Destination(other.Destination),
      FinalDestination(other.FinalDestination),
      X(other.X),
      Y(other.Y),
      Objective(other.Objective),
      Health(other.Health),
      Consciousness(other.Consciousness),
      Stamina(other.Stamina),
      Damage(other.Damage),
      Anger(other.Anger),
      Fear(other.Fear),
      Intoxication(other.Intoxication),
      Dope(other.Dope),
      Speed(other.Speed),
      Support(other.Support),
      Loyalty(other.Loyalty),
      Specials(other.Specials),
      Flags(other.Flags),
      Crime(other.Crime),
      SystemFlags(other.SystemFlags),
      Situation(other.Situation) {}

void YBCrew::OnFree() {
  try {
    SpecialsList.reset();
  } catch (...) {
    DebugPrint("Unhandled exception in YBCrew::OnFree() (Path)\n");
  }
  try {
    SetProposition(nullptr);
  } catch (...) {
    DebugPrint("Unhandled exception in YBCrew::OnFree() (Proposition)\n");
  }
}

void YBCrew::SetProposition(YBProposition* proposition) {
  if (proposition == Proposition) {
    return;
  }
  YBProposition* old = Proposition;
  Proposition = proposition;
  DestroyObject(old);
}

void YBCrew::UpdateFrom(const YBCrewAssignment* assignment) {
  Health = Consciousness = Stamina = Damage = Anger = Fear = Intoxication = Dope = Speed = Support = Loyalty = 0.0f;
  Specials = 0;
  Crime = 0.0f;
  Player = -1;
  const YBMasterMind* controller = YBMasterMind::GetCurrent();
  int64_t sumX = 0;
  int64_t sumY = 0;
  int32_t counted = 0;
  int32_t supporters = 0;
  for (int32_t index = 0; index < assignment->count; ++index) {
    YBUnit* unit = assignment->GetUnit(index);
    const UnitInfo* info = unit->GetUnitInfo();
    const int32_t type = unit->Info->Gfx;
    if (type >= kFirstNonCrewType || info == nullptr) {
      Speed += 0.1f;
      continue;
    }
    sumX += unit->GetX();
    sumY += unit->GetY();
    if (counted == 0) {
      Player = info->Owner;
    } else if (info->Owner != Player) {
      DebugPrint("(BOT)Warning: group of mixed owner is not supported\n");
    }
    Health += info->Hp;
    Consciousness += info->Cons;
    Stamina += info->Stamina;
    Anger += info->Anger;
    Fear += info->Fear;
    Dope += info->Dope;
    Intoxication += info->Beer;
    Specials |= 1u << static_cast<uint32_t>(type < 0 ? 0 : type);
    if (const YBCriminal* criminal = controller != nullptr ? controller->GetCriminal(unit->GetID()) : nullptr) {
      // Counted twice per unit, as the crime weight of a crew expects.
      Crime += criminal->Crime;
      Crime += criminal->Crime;
    }
    if (type == 0 || type == 3) {
      ++supporters;
      Loyalty += info->Loyalty;
    }
    if (type >= 0) {
      Speed += kTypeSpeeds[type];
    }
    const int32_t level = FightsUnarmed(type) ? 0 : info->Weapon;
    Damage += GetWeaponHealthDamage(type, level) + GetWeaponConsDamage(type, level);
    ++counted;
  }
  if (counted == 0) {
    Sector = Destination = FinalDestination = -1;
  } else {
    const float count = static_cast<float>(counted);
    Support = static_cast<float>(supporters) / count;
    Stamina /= count;
    Anger /= count;
    Fear /= count;
    Intoxication /= count;
    Dope /= count;
    Damage /= count;
    Speed /= count;
    Loyalty = supporters > 0 ? Loyalty / static_cast<float>(supporters) : 1.0f;
    X = static_cast<int16_t>(sumX / counted);
    Y = static_cast<int16_t>(sumY / counted);
  }
  Sector = assignment->Sector;
  Destination = FinalDestination = assignment->DestinationSector;
  Objective = assignment->Objective;
}

bool YBCrew::CanReach(int32_t sector) const {
  if (sector == Sector) {
    return true;
  }
  const YBMasterMind* controller = YBMasterMind::GetCurrent();
  return controller != nullptr &&
         10.0f * GetMight() > static_cast<float>(controller->GetSectorDistance(Sector, sector));
}

bool YBCrew::SetSector(int32_t sector) {
  const YBMasterMind* controller = YBMasterMind::GetCurrent();
  const YBSector* record = controller != nullptr ? controller->GetSector(sector) : nullptr;
  if (record == nullptr) {
    return false;
  }
  Sector = static_cast<int16_t>(sector);
  X = static_cast<int16_t>(record->X);
  Y = static_cast<int16_t>(record->Y);
  return true;
}

std::string YBCrew::GetDebugText() const {
  char text[256];
  const YBCrewAssignment* assignment = nullptr;
  if (const YBMasterMind* controller = YBMasterMind::GetCurrent(); controller != nullptr) {
    assignment = controller->FindAssignment(static_cast<int32_t>(ID));
  }
  YBTask* task = assignment != nullptr ? assignment->Task : nullptr;
  const std::string taskText = task != nullptr ? task->GetText() : "idle";
  std::snprintf(text, sizeof text, "ID %d P:%d S:%d->%d(%d) M:%f T=%s O=%s", static_cast<int32_t>(ID), Player,
                Sector, Destination, FinalDestination, static_cast<double>(GetMight()), taskText.c_str(),
                Objective != nullptr ? Objective->Describe().c_str() : "free");
  return text;
}
