#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/LumoObject.h"

class YBCrewAssignment;
class YBObjective;
class YBProposition;
class YBSituation;
class YBUnit;

// The predicted state of one crew in a situation of the search. A crew
// owns its proposition and its specials list.
class YBCrew : public LumoObject {
 public:
  // SystemFlags bit 0: a crew bound to an objective.
  static constexpr uint32_t kObjectiveFlag = 1;

  YBCrew() = default;
  // Copies every value and the objective. The proposition and the specials
  // list are the crew's own, so the copy starts without them and its maker
  // gives it its own copies.
  explicit YBCrew(const YBCrew& other);

  const char* GetClassName() const override { return "YBCrew"; }
  void OnFree() override;

#define YB_CREW_PROPERTY(Type, Field)                                         \
  virtual void Set##Field(Type value) { Field = value; }                      \
  virtual bool Load##Field(LumoStream* stream, const LumoProperty* property); \
  virtual bool Save##Field(LumoStream* stream, const LumoProperty* property);
  YB_CREW_PROPERTY(int32_t, Player)
  YB_CREW_PROPERTY(int16_t, X)
  YB_CREW_PROPERTY(int16_t, Y)
  YB_CREW_PROPERTY(uint32_t, ID)
  YB_CREW_PROPERTY(float, Health)
  YB_CREW_PROPERTY(float, Consciousness)
  YB_CREW_PROPERTY(float, Stamina)
  YB_CREW_PROPERTY(float, Intoxication)
  YB_CREW_PROPERTY(float, Dope)
  YB_CREW_PROPERTY(float, Anger)
  YB_CREW_PROPERTY(float, Fear)
  YB_CREW_PROPERTY(float, Damage)
  YB_CREW_PROPERTY(float, Speed)
  YB_CREW_PROPERTY(float, Loyalty)
  YB_CREW_PROPERTY(float, Support)
  YB_CREW_PROPERTY(float, Crime)
  YB_CREW_PROPERTY(uint32_t, Specials)
  YB_CREW_PROPERTY(int16_t, Sector)
  YB_CREW_PROPERTY(int16_t, Destination)
  YB_CREW_PROPERTY(int16_t, FinalDestination)
  YB_CREW_PROPERTY(uint32_t, Flags)
  YB_CREW_PROPERTY(uint32_t, SystemFlags)
#undef YB_CREW_PROPERTY

  // (Health + Consciousness) x Damage.
  float GetMight() const { return (Health + Consciousness) * Damage; }
  // Sets the crew from the units of a crew assignment.
  void UpdateFrom(const YBCrewAssignment* assignment);
  // True for its own sector, or when ten times its might exceeds the
  // distance to the sector.
  bool CanReach(int32_t sector) const;
  // Sector becomes the identifier and X, Y that sector's centre. An
  // identifier that names no sector changes nothing and answers false.
  bool SetSector(int32_t sector);
  // The crew takes the proposition (owned; the old one is destroyed).
  void SetProposition(YBProposition* proposition);
  YBProposition* GetProposition() const { return Proposition; }
  void SetSpecialsList(std::unique_ptr<std::vector<YBUnit*>> list) { SpecialsList = std::move(list); }
  std::string GetDebugText() const;

  int32_t Player = 0;
  uint32_t ID = 0;
  int16_t Sector = -1;
  int16_t Destination = -1;
  int16_t FinalDestination = -1;
  int16_t X = 0;
  int16_t Y = 0;
  YBObjective* Objective = nullptr;
  float Health = 0.0f;
  float Consciousness = 0.0f;
  float Stamina = 0.0f;
  float Damage = 0.0f;
  float Anger = 0.0f;
  float Fear = 0.0f;
  float Intoxication = 0.0f;
  float Dope = 0.0f;
  float Speed = 0.0f;
  float Support = 0.0f;
  float Loyalty = 0.0f;
  uint32_t Specials = 0;
  uint32_t Flags = 0;
  float Crime = 0.0f;
  uint32_t SystemFlags = 0;
  // The unit records the crew stands for (not owned), or none.
  std::unique_ptr<std::vector<YBUnit*>> SpecialsList;
  // The situation that made the crew; none for a crew of a crew assignment
  // that no situation took yet.
  YBSituation* Situation = nullptr;

 private:
  YBProposition* Proposition = nullptr;  // owned
};
