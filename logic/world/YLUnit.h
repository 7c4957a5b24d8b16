#pragma once

#include <cstdint>
#include <memory>

#include "base/LumoExport.h"
#include "logic/core/UnitInfo.h"
#include "logic/world/LumoBrain.h"
#include "logic/world/MoveInfo.h"
#include "logic/world/PsychicPlanItem.h"
#include "logic/world/YLThing.h"

class LumoObjects;
class YLTCar;
class YLTContainerThing;
class YLWeapon;

// The base of every person on the map: a thing whose state lives in its
// unit record, and a brain that decides each frame which move it makes. It
// owns the unit's plan (a tree of plan steps under an embedded root), the
// copy of the step it carries out now, and the routing of orders into the
// plan. The unit kinds supply the steering (going, entering, leaving,
// stepping aside, fleeing) and the brain's choice of a move.
//
// Ownership: every plan step handed to the unit (an order, a trigger's step,
// an offered copy) is the unit's from then on; a step it does not keep is
// deleted.
class YLUnit : public YLThing, public LumoBrain {
 public:
  static constexpr uint32_t kStatusNewUnit = StatusAlive | StatusUpright;
  // Status bits of a unit's record.
  static constexpr uint32_t kStatusNoShopping = 1u << 9;      // set by the shopping trigger
  static constexpr uint32_t kStatusArrested = 1u << 10;       // held by a policeman
  static constexpr uint32_t kStatusCarriesCup = 1u << 11;
  static constexpr uint32_t kStatusPlanReplaced = 1u << 17;   // the plan was torn down
  static constexpr uint32_t kStatusSwitchedOff = 1u << 21;    // no evolution at all

  // Codes of the unit move table that the plan's steps answer.
  static constexpr int32_t kMoveRest = 0;
  static constexpr int32_t kMoveAmbient = 1;
  static constexpr int32_t kMoveWalk = 2;
  static constexpr int32_t kMoveRun = 3;
  static constexpr int32_t kMoveRunOtherLeg = 4;
  static constexpr int32_t kMoveTurnClockwise = 5;
  static constexpr int32_t kMoveTurnCounterClockwise = 6;
  static constexpr int32_t kMoveTurnClockwiseAgain = 7;
  static constexpr int32_t kMoveTurnCounterClockwiseAgain = 8;
  static constexpr int32_t kMoveEnter = 9;
  static constexpr int32_t kMoveLeave = 10;
  static constexpr int32_t kMoveFall = 15;
  static constexpr int32_t kMoveChant = 16;
  static constexpr int32_t kMoveOut = 18;
  static constexpr int32_t kMoveHurt = 20;
  static constexpr int32_t kUnitMoveCount = 32;
  // The answer of a step that is done.
  static constexpr int32_t kReached = PsychicPlanItem::kReached;
  // Ids from here on are blocked-direction codes, not things.
  static constexpr int32_t kDirectionCodes = 0xFFF0;

  YLUnit();
  // Deletes the current step and leaves its container first, so no
  // container keeps its address.
  ~YLUnit() override;

  const char* GetClassName() const override;
  // The current step and the plan go, then the thing.
  void DoFree() override;

  // ---- The unit move table ----

  // Builds the 32 moves every unit plays, indexed by move code; a second
  // call refills the same move objects, so records keep valid moves.
  static void InitMoveTable();
  // Null until it is built.
  static LumoObjects* GetUnitMoveTable();
  // Entry `number` of the unit move table; null outside it.
  MoveInfo* GetMoveInfo(int32_t number) const override;

  // ---- Thing slots ----

  // The container the unit is in; none on the map.
  YLThing* GetContainer() const override;
  YLUnit* AsUnit() override { return this; }
  const YLUnit* AsUnit() const override { return this; }
  // The unit record's Situation.
  int32_t GetSituation() const override;
  // The fighting power: health plus consciousness damage of the unit's
  // weapon (its type at its weapon grade).
  float GetDamage() const override;
  // Takes the unit off: every feeling, its ammunition and hit points 0,
  // off the map (status bit 0 cleared), then the logic's death handling.
  void Destroy() override;
  // The current step and the plan, one line per step.
  void GetDebugText(tString& text) const override;

  // Records the container that holds the unit. Entering sets status bit 13
  // and the situation the container's kind gives (7, 6 or 5, else
  // unchanged); leaving (null) clears the bit and puts the unit on foot (1).
  virtual void SetContainer(YLTContainerThing* container);
  // The unit record, or null when the record is of another kind.
  UnitInfo* GetUnitInfo() const;

  // ---- Fixed answers the kinds override ----

  virtual float GetNeutralFactor() const;  // 0.0
  virtual float GetFrightFactor() const;   // 2.0: how much fear a fright adds
  virtual float GetBeerFactor() const;     // 2.0: how much a glass adds
  virtual float GetDoubleFactor() const;   // 2.0
  // The divisor of every stamina cost and the stamina regain rate.
  virtual float GetStaminaRate() const;    // 0.8

  // ---- Orders and the plan ----

  // Being arrested: the owner's player and the police each count an arrest,
  // the mood is reset, status bit 10 is set and the plan cleared.
  virtual void BeArrested();
  // The step reached: when it equals the innermost step, that step goes
  // (a top-level one is announced, kind 2) and the plan goes on.
  virtual void PlanReached(PsychicPlanItem* item);
  // An order that replaces the plan (the unit takes the item over).
  virtual void ExecutePlan(PsychicPlanItem* item);

  // ---- Per-type tables, by unit type modulo 13 ----

  // The weapon of the current weapon grade; null outside the tables.
  virtual YLWeapon* GetWeapon() const;
  // The weapons of the four grades.
  virtual void GetWeaponRow(YLWeapon* (&row)[4]) const;
  // The unit's price.
  virtual int32_t GetPrice() const;
  virtual void GetDestination(int32_t& x, int32_t& y) const;
  virtual void SetWeaponGrade(int32_t grade);
  // 0.7 x Anger + 0.7.
  virtual float GetAngerFactor() const;
  // Anger x 0.8.
  virtual void CalmDown();

  // ---- Action slots the plan steps call ----
  // Each answers the next move code, or 32 when the step is done.

  // Steers toward (x, y): turns, walks or runs a step, asks resting units
  // in the way to make room, or waits. Done there or within the arrival
  // distance.
  virtual int32_t DoGoto(float motivation, int32_t x, int32_t y, bool fast, int32_t arrivalDistance);
  // Goes to the thing (its nearest cell within 9); done when it is gone.
  virtual int32_t DoGotoThing(float motivation, int32_t id, bool fast);
  // Fights back within 3 cells of the threat, otherwise flees.
  virtual int32_t DoFlee(float motivation, int32_t threatId, bool fast);
  // Goes to the container's entrance and answers the enter move there.
  virtual int32_t DoEnter(float motivation, int32_t id, bool fast);
  virtual int32_t DoLoot(float motivation, int32_t id, bool fast);  // 32
  // Faces the freest side of the container and answers the leave move.
  virtual int32_t DoLeave(float motivation, int32_t id, bool fast);
  virtual int32_t DoAttack(float motivation, int32_t targetId, bool fast);  // 32
  virtual int32_t DoChant(float motivation);                                // 32
  virtual int32_t DoThrow(float motivation, int32_t target, int32_t param2, bool fast);  // 32
  virtual int32_t DoSubLoot(float motivation, int32_t id);                              // 32
  virtual int32_t DoPatroll(float motivation, int32_t x, int32_t y, bool fast, int32_t arrivalDistance);  // 32
  virtual int32_t DoPickUp(float motivation, int32_t id, bool fast);  // 32
  // Steps aside, away from (x, y), while within 4 cells of it.
  virtual int32_t DoFuckOff(float motivation, int32_t x, int32_t y);
  // Led away by the policeman policeId.
  virtual int32_t DoLedAway(float motivation, int32_t policeId, bool fast);
  virtual int32_t DoJailed(float motivation, int32_t id, bool fast);
  // Idles: rests or plays its ambient move until bored enough.
  virtual int32_t DoIdle();
  // Inside the building: its grade grows by 10 to 55.
  virtual int32_t DoShop(int32_t buildingId);
  // Runs toward (x, y); there, leaves the game.
  virtual int32_t DoRunAway(int32_t x, int32_t y);
  // What the ambient move does to a unit; nothing in the base.
  virtual void DoAmbient();
  // The danger reflexes of the slow step: a car coming at the unit makes it
  // step off the car's way (a Goto two cells to the side farther from the
  // car, 2.0 - 0.15 x distance, fast within 4 cells); then the nearest
  // enemy within 10 cells makes it flee ((11 - distance) x Fear x 0.1).
  virtual void DangerReflexes();
  // Whether the car is a danger to step away from: the tram heading at the
  // unit, or another side's car on the move that the unit's innermost
  // Attack does not aim at.
  bool IsCarDanger(const YLTCar& car);
  // Offers the Goto that steps off the car's way.
  void DodgeCar(const YLTCar& car);
  // Expands the innermost step; false when it cannot be carried out. The
  // cancel, hold, spawn, arrest, jail, ambient and pass-out steps need
  // nothing.
  virtual bool MakePlan();
  // Offers a step copy as the current step: taken when its motivation is at
  // least the current one's (never when negative), otherwise deleted.
  virtual bool OfferStep(PsychicPlanItem* step);
  // Fights back against the threat.
  virtual int32_t StandGround(float motivation, int32_t threatId, bool fast);
  // Runs from the threat.
  virtual int32_t FleeFrom(float motivation, int32_t threatId, bool fast);

  // ---- Brain ----

  // Executes the current step; a reached step is handed to PlanReached.
  int32_t Move() override;
  // Deletes the current step.
  void ClearMove() override;
  // Reads the eight neighbour cells of the unit (or of its container) into
  // the obstacle map.
  void ComputeUpdateModel() override;
  // Offers the innermost step, steps aside when an own unit asks it to, and
  // leaves a container that left the map. The stimuli are forgotten.
  void ComputeReflexes() override;
  // Plays the chosen move and answers the frames it lasts.
  int32_t OnBrainMove(int32_t move) override;

  // ---- Steering model ----

  // How much each of the eight directions leads toward (x, y).
  void GetDesire(float (&desire)[kDirectionCount], int32_t x, int32_t y) const;
  // 1 for a thing of the unit's owner, -1 for another owner's, 0 for a
  // thing without owner, a direction code or an id naming no thing.
  int32_t GetRelation(int32_t id) const;
  // The distance to the thing's nearest cell; 1 for a direction code;
  // kNoThingDistance when the id names no thing.
  int32_t GetDistanceTo(int32_t id) const;
  // The direction to the thing's nearest cell (or of a direction code)
  // relative to a facing, -4..4; 0 when the id names no thing.
  int32_t GetDirectionTo(int32_t id, int32_t facing) const;
  // The owned fighting power around the cell at (dx, dy) from the unit:
  // own owner's added, other owners' taken off.
  float GetLocalForce(int32_t dx, int32_t dy) const;
  // The answer of GetDistanceTo for an id that names no thing any more.
  static constexpr int32_t kNoThingDistance = 10000;

  // ---- The plan ----

  // Appends the item to the plan with the unit's loyalty as motivation, and
  // plans it when it became the innermost step. An arrested or switched-off
  // unit deletes the item.
  void InsertPlanItem(PsychicPlanItem* item);
  // Makes the item the first step of the plan and plans it.
  void PushPlanItem(PsychicPlanItem* item);
  // Deletes the plan (status bit 17 set).
  void ClearPlan();
  // The innermost step; the plan root (action 0) when the plan is empty.
  PsychicPlanItem* GetPlanLeaf() { return Plan.GetLeaf(); }
  const PsychicPlanItem* GetCurrentMove() const { return CurrentMove.get(); }
  // Plans a path from (x, y) to (tx, ty) under the step: one waypoint child
  // per path node after the first. limit > 0 asks the limited search. False
  // when there is no path.
  bool PlanPath(int32_t x, int32_t y, int32_t tx, int32_t ty, PsychicPlanItem* step, int32_t limit);
  // Announces something the unit says: the logic's speech event with the
  // unit's owner and id.
  void Speak(int32_t message, int32_t value) const;

  // ---- Geometry ----

  // The direction from (x1, y1) to (x2, y2) relative to a facing, -4..4
  // (facing 0 gives the absolute direction).
  static int32_t GetDirection(int32_t x1, int32_t y1, int32_t facing, int32_t x2, int32_t y2);
  // The truncated straight-line distance.
  static int32_t IntDistance(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
  // The cell of the thing's footprint nearest to (x, y) (the middle one of
  // three equally near, one of the others drawn at random); its position
  // without a footprint or without a cell nearer than 15.
  static void GetNearestPoint(const YLThing* thing, int32_t x, int32_t y, int32_t& px, int32_t& py);

  // ---- Feelings, perception and consciousness ----

  // Damage reaches the thing as amount x (1 - Armor) x (2 - Dope) x 0.5.
  bool TakeDamage(float amount) override;
  // An upright unit on the map grows afraid by the fright factor x
  // (1 - Fear) x amount; a source other than 0 makes it speak (kind 5).
  void Frighten(float amount, int32_t sourceId) override;
  // Every frame: the thing's tick, then the consciousness cycle (regain,
  // knocked out, falling and lying, getting up) and the brain's step. False
  // while the unit falls and lies dead.
  bool Propagate() override;
  // The slow step: nothing while switched off; otherwise the feelings, the
  // perception, then the brain's slow step.
  void Evolve() override;
  // A unit released again (by a vehicle): no destination, no frustration,
  // loyalty 1.1 and the armour of its type.
  virtual void Reinitialise();
  // Sets the armour that units of the record's type start with; types
  // without one keep the record's armour.
  static void ApplyTypeArmor(UnitInfo& info);
  // The armour ApplyTypeArmor gives a unit of that type; negative where
  // the type keeps its own (and for a type outside the table).
  static float GetTypeArmor(int32_t type);
  // The slow update of fear, anger, beer, consciousness, stamina and dope;
  // dope of 1.15 or more is an overdose that takes the unit off.
  virtual void UpdateFeelings();
  // Fear and carefulness from the perceived units.
  virtual void UpdatePerception();
  // Beer grows by glasses x 0.02 x the beer factor, not above 1.
  virtual void DrinkBeer(int32_t glasses);
  // A blow to the consciousness; a hard one stops an upright unit that is
  // not walking or running in its hurt move.
  virtual void Stun(float amount);
  virtual void SetLeader(int32_t leader);  // nothing in the base
  virtual bool HasActivePlan() const;      // false in the base
  // Something thrown at the unit from (x, y): frightened without speaking.
  virtual void HitByThrow(float amount, int32_t x, int32_t y);
  // The 2 % chance per slow step that a unit on the map idles a while.
  virtual void MaybeIdle();
  // Takes (1 - Dope) x 0.02 from the consciousness, not while arrested.
  virtual void WearOut();
  void AddAmmo(int32_t count);
  void SetAmmo(int32_t count);
  // Takes one round; false when there is none.
  bool UseAmmo();
  bool CarriesCup() const { return HasStatus(kStatusCarriesCup); }
  void TakeCup() { SetStatus(kStatusCarriesCup); }
  void DropCup() { ClearStatus(kStatusCarriesCup); }
  // Whether the knowledge-map cell under the unit has bit 22.
  bool IsOnBit22Cell() const;

  // ---- A civilian's choices ----

  // Idles now and then; with an empty plan grows frustrated and, unless it
  // waits in a neutral building or the shopping trigger forbids it, goes
  // shopping in a building chosen at random.
  void ComputeIntentions() override;
  // A building that refuses the unit makes it try the first perceived
  // building that admits it.
  void ComputePlanning() override;

  // ---- Stored form ----
  // The flag as one byte; the plan as its child chain (a presence flag and
  // the first step's record); each map as eight floats; the brain in its own
  // form; the current step as an embedded object, which must be a plan step.
  virtual bool LoadCurrentMove(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveCurrentMove(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadAlreadythere(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveAlreadythere(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadPlan(LumoStream* stream, const LumoProperty* property);
  virtual bool SavePlan(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadAvoidMap(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveAvoidMap(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadObstacleMap(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveObstacleMap(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadFrustration(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveFrustration(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadLumoBrain(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveLumoBrain(LumoStream* stream, const LumoProperty* property);

  // ---- Fields ----

  // The copy of the step being carried out (owned); none between steps.
  std::unique_ptr<PsychicPlanItem, tObjectDestroyer> CurrentMove;
  uint8_t Alreadythere = 0;
  // The root of the plan (action 0): its child queue is the plan.
  PsychicPlanItem Plan;
  float AvoidMap[kDirectionCount] = {};
  // 1.0 where the neighbour cell in that direction is free.
  float ObstacleMap[kDirectionCount] = {};
  float Frustration = 0.0f;
  int32_t DestinationX = 0;
  int32_t DestinationY = 0;

 protected:
  // A unit record: on the map and upright.
  ThingInfo* MakeInfo() const override;
  bool HasStatus(uint32_t bits) const { return Info != nullptr && (Info->Status & bits) != 0; }
  void SetStatus(uint32_t bits) {
    if (Info != nullptr) {
      Info->Status |= bits;
    }
  }
  void ClearStatus(uint32_t bits) {
    if (Info != nullptr) {
      Info->Status &= ~bits;
    }
  }
  // Switches the unit to rest when it plays its ambient move, the brain busy
  // for the rest move.
  void StopAmbient();
  // Whether the innermost step is a run away or lies under one.
  bool IsRunningAway();
  // Whether the unit sits in a car whose driver, another unit, carries out
  // the same innermost step (the driver brings it there).
  bool RidesAlong();
  // One frame of going down: the fall starts, and once it has run its
  // course the unit lies.
  void FallDown();

 private:
  void LeaveContainer();
  // The thing of that id in the running logic; none without a logic, for an
  // id that names no thing (any more) or for a thing that was destroyed.
  static YLThing* FindThing(int32_t id);
  // The cell of that thing nearest to the unit (GetNearestPoint); false,
  // drawing nothing, when the id names no thing.
  bool NearestCellOf(int32_t id, int32_t& x, int32_t& y) const;
  static std::unique_ptr<LumoObjects, tObjectDestroyer>& UnitMoveTableSlot();

  YLTContainerThing* Container = nullptr;
};

// Exported for the game program, with C linkage as the logic's other
// functions; both do nothing.
extern "C" {
COGITO_API void SetLogicRandomSeed();
COGITO_API void ChangeTeam(ThingInfo* info, int32_t team);
}

// Gives every unit the player owns its own copy of the order (ExecutePlan),
// in thing-id order.
void GiveOrderToUnitsOf(CLogic& logic, int32_t owner, const PsychicPlanItem& order);
// The winners' celebration: every unit of the player chants (motivation 2.0,
// fast), each with a step of its own.
void CelebrateWin(CLogic& logic, int32_t owner);
