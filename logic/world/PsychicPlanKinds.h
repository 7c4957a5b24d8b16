#pragma once

// The kinds of plan step. Each fixes its action (an order kind) in its
// constructor and turns itself, in Execute, into a call of one of the unit's
// action slots, which answers the next move code or 32 when the step is
// done. A kind that only one unit class can carry out ends at once (32) on
// any other unit.

#include <cstdint>

#include "logic/world/PsychicPlanItem.h"

#define PSYCHIC_PLAN_KIND_COMMON(Kind)                                \
  Kind();                                                             \
  Kind(int32_t param1, int32_t param2, float motivation, bool fast); \
  const char* GetClassName() const override;                          \
  int32_t Execute(YLUnit* unit) override;                             \
  PsychicPlanItem* Clone() const override;

#define PSYCHIC_PLAN_KIND(Kind)          \
  class Kind : public PsychicPlanItem {  \
   public:                               \
    PSYCHIC_PLAN_KIND_COMMON(Kind)       \
  };

PSYCHIC_PLAN_KIND(PsychicPlanHold)
PSYCHIC_PLAN_KIND(PsychicPlanFuckOff)
PSYCHIC_PLAN_KIND(PsychicPlanGotoThing)
PSYCHIC_PLAN_KIND(PsychicPlanAttack)
PSYCHIC_PLAN_KIND(PsychicPlanAttackShoot)
PSYCHIC_PLAN_KIND(PsychicPlanThrowBrick)
PSYCHIC_PLAN_KIND(PsychicPlanThrowMolotov)
PSYCHIC_PLAN_KIND(PsychicPlanPickUpBrick)
PSYCHIC_PLAN_KIND(PsychicPlanShop)
PSYCHIC_PLAN_KIND(PsychicPlanSubThrow)
PSYCHIC_PLAN_KIND(PsychicPlanEnter)
PSYCHIC_PLAN_KIND(PsychicPlanLoot)
PSYCHIC_PLAN_KIND(PsychicPlanSubLoot)
PSYCHIC_PLAN_KIND(PsychicPlanLeave)
PSYCHIC_PLAN_KIND(PsychicPlanGetDope)
PSYCHIC_PLAN_KIND(PsychicPlanBurgle)
PSYCHIC_PLAN_KIND(PsychicPlanBomb)
PSYCHIC_PLAN_KIND(PsychicPlanBerserk)
PSYCHIC_PLAN_KIND(PsychicPlanFlirt)
PSYCHIC_PLAN_KIND(PsychicPlanHijack)
PSYCHIC_PLAN_KIND(PsychicPlanRave)
PSYCHIC_PLAN_KIND(PsychicPlanSpawn)
PSYCHIC_PLAN_KIND(PsychicPlanGroup)
PSYCHIC_PLAN_KIND(PsychicPlanFlee)
PSYCHIC_PLAN_KIND(PsychicPlanPanic)
PSYCHIC_PLAN_KIND(PsychicPlanBored)
PSYCHIC_PLAN_KIND(PsychicPlanArrest)
PSYCHIC_PLAN_KIND(PsychicPlanJailed)
PSYCHIC_PLAN_KIND(PsychicPlanAmbient)
PSYCHIC_PLAN_KIND(PsychicPlanInvestigateAlarm)
PSYCHIC_PLAN_KIND(PsychicPlanInvestigateUnit)
PSYCHIC_PLAN_KIND(PsychicPlanCordon)
PSYCHIC_PLAN_KIND(PsychicPlanStandBy)
PSYCHIC_PLAN_KIND(PsychicPlanCharge)
PSYCHIC_PLAN_KIND(PsychicPlanAssistance)
PSYCHIC_PLAN_KIND(PsychicPlanTearGas)
PSYCHIC_PLAN_KIND(PsychicPlanJoinRave)
PSYCHIC_PLAN_KIND(PsychicPlanRunAway)
PSYCHIC_PLAN_KIND(PsychicPlanThrowMolotovPlace)
PSYCHIC_PLAN_KIND(PsychicPlanThrowTurret)
PSYCHIC_PLAN_KIND(PsychicPlanBringIn)

// Go to a cell; reached within ArrivalDistance.
class PsychicPlanGoto : public PsychicPlanItem {
 public:
  PSYCHIC_PLAN_KIND_COMMON(PsychicPlanGoto)
  int32_t ArrivalDistance = 0;  // cells; not stored
};

// Patrol to a cell; reached within ArrivalDistance.
class PsychicPlanPatroll : public PsychicPlanItem {
 public:
  PSYCHIC_PLAN_KIND_COMMON(PsychicPlanPatroll)
  int32_t ArrivalDistance = 0;  // cells; not stored
};

// Chant: goes on while Period is not 0 (a new step chants until something
// else ends it).
class PsychicPlanChant : public PsychicPlanItem {
 public:
  PSYCHIC_PLAN_KIND_COMMON(PsychicPlanChant)
  virtual bool LoadPeriod(LumoStream* stream, const LumoProperty* property);
  virtual bool SavePeriod(LumoStream* stream, const LumoProperty* property);
  int32_t Period = -1;
};

// Lying knocked out: falls, then lies while the plan's own step counts its
// Period down.
class PsychicPlanOut : public PsychicPlanItem {
 public:
  PSYCHIC_PLAN_KIND_COMMON(PsychicPlanOut)
  virtual bool LoadPeriod(LumoStream* stream, const LumoProperty* property);
  virtual bool SavePeriod(LumoStream* stream, const LumoProperty* property);
  int32_t Period = 0;
};

// Build (Down set) or clear a barricade.
class PsychicPlanBaricade : public PsychicPlanItem {
 public:
  PSYCHIC_PLAN_KIND_COMMON(PsychicPlanBaricade)
  // Stored behind the text "down:" as a 32-bit value; a stream without the
  // text (an older one) keeps the field and is left where it stood.
  virtual bool LoadDown(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveDown(LumoStream* stream, const LumoProperty* property);
  uint8_t Down = 1;
};

#undef PSYCHIC_PLAN_KIND
#undef PSYCHIC_PLAN_KIND_COMMON
