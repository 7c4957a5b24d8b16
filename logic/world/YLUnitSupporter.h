#pragma once

#include <cstdint>

#include "logic/world/YLUnit.h"

class YLUnitLeader;

// The five constant temperament factors of a unit kind, in the order of the
// unit's fixed answers: neutral (scales the anger a kind gains), fright,
// beer, double and stamina rate.
struct Temperament {
  float neutral;
  float fright;
  float beer;
  float doubled;
  float stamina;
};

// A player's plain fan: follows a leader and answers whoever threw at it.
class YLUnitSupporter : public YLUnit {
 public:
  static constexpr uint32_t kStatusHoldsBrick = 1u << 18;
  static constexpr uint32_t kStatusCharmed = 1u << 20;

  YLUnitSupporter();
  const char* GetClassName() const override;

  // The kind's temperament; every fixed answer reads it.
  virtual Temperament GetTemperament() const;
  float GetNeutralFactor() const override;
  float GetFrightFactor() const override;
  float GetBeerFactor() const override;
  float GetDoubleFactor() const override;
  float GetStaminaRate() const override;

  // After the unit's own update: loyalty fades by 0.0003 (not below 0) and
  // a charm by 0.0005; a charm that falls below 1 ends (bit 20 cleared,
  // Flirt 0).
  void UpdateFeelings() override;

  // After the unit's own handling, while alive and upright: a blow makes
  // it angry (2.8 x neutral factor x amount of what is left to anger).
  void Frighten(float amount, int32_t sourceId) override;
  // The same with 2.0; the unit nearest to (x, y) becomes the last thrower.
  void HitByThrow(float amount, int32_t x, int32_t y) override;
  // After the unit's own perception, the group's anger.
  void UpdatePerception() override;
  // Nothing while arrested or switched off; otherwise the danger reflexes,
  // the idle chance, then the attack, chant, imitation (the plain fan only)
  // and follow choices.
  void ComputeIntentions() override;
  // Whether the kind copies the unit it follows.
  virtual bool Imitates() const;
  // A call (kind 1) from an own unit makes a fan that is no leader more
  // loyal (0.15, up to 1) and it follows the caller; then the unit's own
  // reflexes; a fan without a current step stands in a Hold (0.2).
  void ComputeReflexes() override;
  // What a fan does with nothing planned (an empty plan, or only the Hold
  // of standing still): now and then it idles (Ambient, 0.25), otherwise it
  // walks to where the units around it stand, one cell further the way most
  // of them walk (Goto, 0.25, fast from 4 cells on); with nowhere to go it
  // stands still. Nothing inside a container.
  virtual void ChooseIdle();
  // Standing still: a Hold (0.35) is planned and the answer is a turn
  // clockwise (7, below 0.45), the ambient move (1, from 0.9) or a turn
  // counter-clockwise (8).
  int32_t ChooseStandStill();
  // Calls the own units it perceives (kind 1), which then follow it.
  void CallGroupTogether(float strength);

  // Anger moves a fifth of the way to what the friends around feel and the
  // enemies' pressure gives; a follower without loyalty stops following.
  void ApplyGroupAnger();
  // Attacks (or throws a brick at) the best perceived enemy when angry
  // enough, otherwise the last thrower.
  void ChooseAttack();
  // A drunk fan now and then chants, a very drunk one passes out.
  void ChooseChant();
  // Copies the innermost step of the unit it follows.
  void Imitate();
  // Carries out a follow order: leaves its container, or goes to GotoTarget.
  void ChooseFollow();

  // After the unit's own planning failed, for the innermost expandable
  // step: Attack routes to its target (to the end of a fence with the
  // shorter route, the first on a tie), ThrowBrick picks the nearest brick
  // source, PickUpBrick routes to one, Chant needs nothing.
  bool MakePlan() override;
  // The nearest thing within 20 cells that gives bricks; 0 for none.
  int32_t FindBrickSource() const;

  // The next move of an attack: walks to the target, then kicks one lying
  // down, uses its weapon or punches; 32 once the target is gone, dead or
  // idling.
  int32_t DoAttack(float motivation, int32_t targetId, bool fast) override;
  // The move a kind makes for the weapon (11), fist (12) or kick (13) of an
  // attack; the fan makes that move.
  virtual int32_t GetAttackMove(int32_t move) const;
  // Chants alone, or beside the unit it follows once three own units chant
  // around it; otherwise walks to the followed unit.
  int32_t DoChant(float motivation) override;

  // Takes a brick in hand (bit 18).
  void PickUp() { SetStatus(kStatusHoldsBrick); }
  // The pick-up choice: 32 while a brick is in hand or the source is gone;
  // otherwise walks to the source and, there, picks a brick up (19).
  int32_t DoPickUp(float motivation, int32_t id, bool fast) override;
  // A brick at a living, busy unit: without a brick in hand it fetches one
  // from the source (param2); with one it comes within 15 cells, turns to
  // the target and throws (14), remembering the target's cell. The marker
  // (Frustration) paces the throws: while it is 0.1 or more each call takes
  // 0.1 off and waits (0).
  int32_t DoThrow(float motivation, int32_t target, int32_t param2, bool fast) override;
  // After the unit's own planning: a step towards a thing in another
  // sector within 3 cells is routed again; a PickUpBrick step ends once a
  // brick is in hand, routes to within 14 cells of a source farther than
  // 15, and looks for a new source when its own is gone.
  void ComputePlanning() override;

  // The unit a kept id names, or null: ids are reused, so one counts only
  // while it names a living unit.
  static YLUnit* FindLivingUnit(int32_t id);
  // The unit it follows and the last thrower, looked up now.
  YLUnit* GetFollowedUnit() const { return FindLivingUnit(FollowLeader); }
  YLUnit* GetLastThrower() const { return FindLivingUnit(LastThrower); }
  // The leader of its record, when that names a living leader.
  YLUnitLeader* GetGroupLeader() const;

  virtual bool LoadLastThrower(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveLastThrower(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadFollowLeader(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveFollowLeader(LumoStream* stream, const LumoProperty* property);
  // After the stored properties: "goto:" and GotoTarget. A stream without
  // the marker keeps no target.
  bool OnLoadFrom(LumoStream* stream) override;
  bool OnSaveTo(LumoStream* stream) override;

  int32_t LastThrower = 0;   // the last enemy unit that threw at it
  // The chick that charmed it last; kept while the game runs (a charm
  // lasts a minute of ticks at most), not stored.
  int32_t CharmedBy = 0;
  int32_t FollowLeader = 0;  // the unit it follows
  int32_t GotoTarget = 0;    // what a follow order named

 protected:
  // The length of the route on foot from the unit to (x, y); -1 when there
  // is none.
  int32_t GetPathLength(int32_t x, int32_t y) const;
  // Whether the marker (Frustration) still makes the thrower wait; each
  // such call takes 0.1 off it.
  bool ThrowPaced();
  // Walks within 15 cells of (x, y), turns to it, and throws (14) at it;
  // the marker is then base + scale x r.
  int32_t ThrowAt(float motivation, int32_t x, int32_t y, bool fast, float base, float scale);
};

// A hard-core fan: one a player selects and a leader takes into its group.
class YLUnitHardCore : public YLUnitSupporter {
 public:
  YLUnitHardCore();
  const char* GetClassName() const override;
  bool IsSelectable() const override;
  // The type's start values: loyalty 1.1 and the armour of the type.
  void SetType(int32_t type) override;
  // The record's leader becomes that unit's id; a unit given to another
  // leader leaves its old leader's group first.
  void SetLeader(int32_t leader) override;
  // Leaves the leader's group, then goes as any unit.
  void Destroy() override;
  // The fan's update, with its loyalty put back: hard-core fans keep it.
  void UpdateFeelings() override;
  bool Imitates() const override;
  // With nothing planned and its group leader within 7 cells, it goes
  // there (Goto, 0.25, arriving within 2 cells); nothing otherwise.
  void ChooseIdle() override;
  // After the fan's planning failed: Loot of a building expands into going
  // there, leaving and taking the money (dropped for the unit's own pub);
  // Patroll routes to its cell; ThrowTurret routes to a brick source (any
  // other target makes it a GetDope); GetDope routes to its thing; SubLoot
  // needs nothing.
  bool MakePlan() override;
  // A SubThrow step throws at the nearest enemy around, paced as a brick
  // (r + 0.4 after a throw); any other throw is the fan's.
  int32_t DoThrow(float motivation, int32_t target, int32_t param2, bool fast) override;
  // The nearest living enemy unit within 20 cells, upright ones first; an
  // enemy car met on the way is taken at once. 0 for none.
  int32_t FindThrowTarget() const;
  // Looting a building that is no bank, not trashed (bit 29) and open:
  // enters it and, inside, kicks it (13); 32 otherwise.
  int32_t DoLoot(float motivation, int32_t id, bool fast) override;
  int32_t DoSubLoot(float motivation, int32_t id) override;
  // Asked to join the leader's group: joins and answers the dope move (17)
  // once; 32 when it has answered already for this step.
  int32_t AnswerJoin(YLUnitLeader* leader);
  // Asked to hurt bystanders: an alarm (speech 7) about every perceived
  // living unit of another owner.
  void HurtBystanders();
  // The GetDope step: walks to the thing and there answers once (17); an
  // own leader takes the unit into its group then and, while it holds a
  // dose, uses one on the unit, which takes it.
  virtual int32_t DoGetDope(float motivation, int32_t id, bool fast);
  // The ThrowTurret step: at a brick source it fetches bricks and throws
  // them at the nearest enemy around, paced as a SubThrow; waits (0) with
  // no enemy in sight. Any other thing makes it a GetDope.
  virtual int32_t DoThrowTurret(float motivation, int32_t id, bool fast);
  // The owner's player counts the glasses, then they are drunk.
  void DrinkBeer(int32_t glasses) override;
  // Dope grows by doses x the double factor x 0.33; 1.15 or more is an
  // overdose that takes the unit off (its player counts a lost unit and a
  // team kill). The owner's player counts the doses.
  virtual void TakeDope(int32_t doses);
  // Served by a sex shop: healed, fully conscious, tired, half the fear and
  // anger; the owner's player counts the visit.
  virtual void VisitSexShop();

 private:
  // Takes the unit out of its leader's group; false when that fails.
  bool LeaveGroup();
};

// Burgles buildings.
class YLUnitRat : public YLUnitHardCore {
 public:
  YLUnitRat();
  const char* GetClassName() const override;
  Temperament GetTemperament() const override;
  // The rat's answer for a building: 32 for the one it is in; the enter
  // move (9) within 2 cells of another's entrance, else it burgles (22).
  // 32 for anything but a building.
  int32_t DoBurgle(float motivation, int32_t id, bool fast);
};

// Joins raves.
class YLUnitRaver : public YLUnitHardCore {
 public:
  YLUnitRaver();
  const char* GetClassName() const override;
  Temperament GetTemperament() const override;
  // After the fan's fields: "raver:", the flag, the rave and the counter.
  bool OnLoadFrom(LumoStream* stream) override;
  bool OnSaveTo(LumoStream* stream) override;

  // The stimulus kind with which a rave calls the units around.
  static constexpr int32_t kRaveCall = 9;
  // Raves: marks itself raving and calls every unit around.
  bool Rave();
  // A rave's call ends a running Rave step; the raver then joins the rave
  // that called (JoinRave, motivation 0.5).
  void ComputeReflexes() override;
  // Switching the brain to a move from outside (a blow, a stopped idle)
  // ends a running Rave step.
  void SetActive(uint8_t frames) override;
  // Every frame: a running rave is counted and stops after 35 frames.
  bool Propagate() override;
  // Walks to the rave now and then, otherwise dances (31) or turns.
  int32_t DoJoinRave(float motivation, int32_t raveId);
  // Raves (24) until something ends the step.
  int32_t DoRaveStep(float motivation);
  // A Rave step needs no planning; nothing else the raver plans itself.
  bool MakePlan() override;

  bool Raving = false;
  int32_t RaveID = 0;
  int32_t RaveCounter = 0;
};

// Builds barricades.
class YLUnitRozav : public YLUnitHardCore {
 public:
  static constexpr int32_t kNoCell = 10000;

  YLUnitRozav();
  const char* GetClassName() const override;
  Temperament GetTemperament() const override;
  // After the fan's fields: "rozav:" and the barricade cell.
  bool OnLoadFrom(LumoStream* stream) override;
  bool OnSaveTo(LumoStream* stream) override;

  // After the hard-core planning: an expandable Baricade step names a cell
  // (Param1, Param2); it takes the barricade or pushable standing there
  // (none: Param1 0, nothing planned, the step ends). On a barricade it
  // routes to the nearer reachable side of it (Param2 the way to face it
  // there, Down the barricade's state), on a pushable to the cell beside it
  // on the rozav's side. The step stops being expandable even with no route.
  bool MakePlan() override;
  // The barricade move chooser: 32 once the barricade's state differs from
  // the step's; walks to the remembered cell, asks a unit standing on it
  // to make way (kind 3), turns to face `side`, waits while too tired, and
  // answers the barricade move (23) at the cell in front.
  int32_t DoBaricade(float motivation, int32_t id, int32_t side, bool fast, bool down);

  int32_t BarricadeX = kNoCell;
  int32_t BarricadeY = kNoCell;

 private:
  // The thing on the step's cell that a rozav works (a barricade or a
  // pushable): the step's Param1 becomes its id and Param2 the direction
  // from the rozav to it. Null, with Param1 0, for anything else.
  const YLThing* TakeBarricadeAt(PsychicPlanItem& step);
};

// Throws molotovs.
class YLUnitYobb : public YLUnitHardCore {
 public:
  YLUnitYobb();
  const char* GetClassName() const override;
  Temperament GetTemperament() const override;
  // Punches where a fan would use its weapon.
  int32_t GetAttackMove(int32_t move) const override;
  // The weapon its molotov move fires: none while it has no round, else
  // the catalogue's molotov of its grade.
  YLWeapon* GetMolotovWeapon() const;
  // The molotov at a cell: walks within 16 cells, turns to face it, then
  // throws (27) once; 32 after the throw.
  int32_t DoMolotovPlace(float motivation, int32_t x, int32_t y, bool fast);
  // The molotov at a thing: 32 after the throw; otherwise (a brick in
  // hand, bit 18) the fan's throw at the thing's cell, where the throw
  // (14) becomes the molotov (27) with the throw pending.
  int32_t DoMolotovThing(float motivation, int32_t id, bool fast);
  // Always the catalogue's entry 61, whatever the grade.
  YLWeapon* GetWeapon() const override;
  // Molotov steps route to within the molotov's range of their target when
  // the yobb has a molotov; otherwise they cannot be carried out.
  bool MakePlan() override;
  // Plays the move. A weapon or fist move (11, 12) calms the yobb by 3 x
  // the total damage of entry 61 (not below 0) and strikes the cell in
  // front with it; a molotov thrown at the pending place is spent: the
  // weapon grade goes back to 0.
  int32_t OnBrainMove(int32_t move) override;
  // "Yobbozer with <ammo> <weapon name>", or "throwing things" without ammo.
  void GetDebugText(tString& text) const override;
  // After the fan's fields: "yobb:", the pending flag and the target cell.
  bool OnLoadFrom(LumoStream* stream) override;
  bool OnSaveTo(LumoStream* stream) override;

  bool ThrowPending = false;
  int32_t ThrowX = 0;
  int32_t ThrowY = 0;
};
