#include "logic/core/YLWeapon.h"

#include <bit>

#include "logic/core/RecordFields.h"

namespace {

// Registration order is the stream order: the fields in their order.
LumoClassOf<YLWeapon> classOfYLWeapon(kVersion_1_6_0_6, "YLWeapon", "LumoObject");
LOGIC_FIELD_PROPERTY(YLWeapon, HealthDamage, PropertySingle, "tSingle");
LOGIC_FIELD_PROPERTY(YLWeapon, ConsDamage, PropertySingle, "tSingle");
LOGIC_FIELD_PROPERTY(YLWeapon, SplatRange, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(YLWeapon, ExecutionTime, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(YLWeapon, ImpactTime, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(YLWeapon, AttackRange, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(YLWeapon, Price, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(YLWeapon, Ammo, PropertyBool, "tBool");
LOGIC_FIELD_PROPERTY(YLWeapon, SplatType, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(YLWeapon, ProjectileType, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(YLWeapon, Name, PropertyCharStr, "tCharStr");

}  // namespace

YLWeapon::YLWeapon() = default;

YLWeapon::YLWeapon(float healthDamage, float consDamage, int32_t executionTime, int32_t impactTime,
                   float splatRange, int32_t attackRange, bool ammo, int32_t price, int32_t projectileType,
                   int32_t splatType)
    : HealthDamage(healthDamage),
      ConsDamage(consDamage),
      SplatRange(splatRange),
      ExecutionTime(executionTime),
      ImpactTime(impactTime),
      AttackRange(attackRange),
      Price(price),
      Ammo(ammo),
      SplatType(splatType),
      ProjectileType(projectileType) {}

YLWeapon::~YLWeapon() { FreeCharStr(Name); }

const char* YLWeapon::GetClassName() const { return "YLWeapon"; }

void YLWeapon::DoFree() {
  FreeCharStr(Name);
  LumoObject::DoFree();
}

void YLWeapon::SetName(const char* name) { SetCharStr(Name, name); }

LUMO_GENERIC_FIELD(YLWeapon, HealthDamage)
LUMO_GENERIC_FIELD(YLWeapon, ConsDamage)
LUMO_GENERIC_FIELD(YLWeapon, ExecutionTime)
LUMO_GENERIC_FIELD(YLWeapon, ImpactTime)
LUMO_GENERIC_FIELD(YLWeapon, AttackRange)
LUMO_GENERIC_FIELD(YLWeapon, Ammo)
LUMO_GENERIC_FIELD(YLWeapon, Price)
LUMO_GENERIC_FIELD(YLWeapon, Name)
LUMO_GENERIC_FIELD(YLWeapon, ProjectileType)
LUMO_GENERIC_FIELD(YLWeapon, SplatType)

bool YLWeapon::LoadSplatRange(LumoStream* stream, const LumoProperty* property) {
  // A field the stream is too old for is skipped and keeps its value.
  auto bits = std::bit_cast<int32_t>(SplatRange);
  if (!LoadPropertyFrom(stream, property, &bits)) {
    return false;
  }
  SplatRange = std::bit_cast<float>(bits);
  return true;
}

bool YLWeapon::SaveSplatRange(LumoStream* stream, const LumoProperty* property) {
  auto bits = std::bit_cast<int32_t>(SplatRange);
  return SavePropertyTo(stream, property, &bits);
}
