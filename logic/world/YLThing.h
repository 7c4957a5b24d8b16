#pragma once

#include <cstdint>
#include <memory>

#include "base/LumoNode.h"
#include "base/LumoObjects.h"
#include "base/tString.h"
#include "logic/core/ThingInfo.h"

class CLogic;
class CMap;
class MoveInfo;
class PsychicPlanItem;
class YLTCar;
class YLTDriver;
class YLUnit;

// The logic-side object of everything that stands on the level map. It owns
// the thing's information record, advances the thing's current move once
// per logic tick, takes damage and dies, and answers what the logic, the
// triggers and the units ask of any thing.
class YLThing : public LumoNode {
 public:
  // The plain things' move table: rest, trashed, the eight pushes, falling
  // and lying forward and back, and the idle animation.
  static constexpr int32_t kMoveRest = 0;
  static constexpr int32_t kMoveTrashed = 1;
  static constexpr int32_t kMovePushFirst = 2;
  static constexpr int32_t kMoveFallForward = 10;
  static constexpr int32_t kMoveDownForward = 11;
  static constexpr int32_t kMoveFallBack = 12;
  static constexpr int32_t kMoveDownBack = 13;
  static constexpr int32_t kMoveAmbient = 14;
  static constexpr int32_t kPlainMoveCount = 15;

  YLThing();
  ~YLThing() override;

  const char* GetClassName() const override;
  // Frees the record, then the node.
  void DoFree() override;

  // The logic map and the logic object that every thing works with; set
  // when a logic is created or loaded.
  static void SetLogicContext(CMap* map, CLogic* logic);
  static CLogic* GetLogic();
  static CMap* GetMap();
  // The plain things' move table; null until it is built.
  static LumoObjects* GetPlainMoveTable();

  // After creation or loading: the stored move number becomes the move
  // again, and the type name sets the scenery and obstacle bits.
  virtual void InitFromType();
  // One logic tick; false asks the logic to remove the thing.
  virtual bool Propagate();
  // True when this damage destroyed the thing.
  virtual bool TakeDamage(float amount);
  virtual void Frighten(float amount, int32_t sourceId);
  virtual int32_t GetX() const;
  virtual int32_t GetY() const;
  virtual int32_t GetSituation() const;
  // The container the thing is in; none for anything but a unit.
  virtual YLThing* GetContainer() const;
  // The thing as a unit or as a vehicle, null when it is none: what a
  // dynamic_cast answers, without its walk of the class tree, which the
  // frame would otherwise take for every neighbour of every unit.
  virtual YLUnit* AsUnit();
  virtual const YLUnit* AsUnit() const;
  virtual YLTCar* AsCar();
  virtual const YLTCar* AsCar() const;
  virtual float GetDamage() const;
  virtual void SetX(int32_t x);
  virtual void SetY(int32_t y);
  virtual void SetZ(int32_t z);
  virtual void SetOrientation(uint8_t orientation);
  virtual void SetType(int32_t type);
  // Starts a move from its first frame; answers its length in frames.
  virtual int32_t StartMove(MoveInfo* move);
  // Ends the thing's life.
  virtual void Destroy();
  virtual int32_t GetOwner() const;
  virtual void SetOwner(int32_t owner);
  // A plain thing takes no commands: logged, nothing else happens (the
  // caller keeps the command).
  virtual void GiveCommand(PsychicPlanItem* command);
  virtual void AddCommand(PsychicPlanItem* command);
  // A new default record as Info, replacing any, starting the move of that
  // number.
  virtual void CreateInfo(int32_t moveNumber);
  virtual void BuildGroundMap();
  // Whether the map takes the thing as one of its own kind; plain things no.
  virtual bool OnAddToMap(CMap* map);
  // A query of one argument that every kind of thing answers with false.
  virtual bool CanTake(int32_t value) const;
  // The units a player may select.
  virtual bool IsSelectable() const;
  virtual bool IsPolice() const;
  // The kind's line of the thing's debug text; empty for a plain thing.
  virtual void GetDebugText(tString& text) const;
  virtual YLTDriver* AsDriver();
  // Entry `number` of the class's move table; null outside it.
  virtual MoveInfo* GetMoveInfo(int32_t number) const;
  // The record as an embedded object.
  virtual bool LoadInfo(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveInfo(LumoStream* stream, const LumoProperty* property);

  void SetStatusBit9();
  void SetStatusBit28();

  // The thing's id (its record's Tid); 0 without a record.
  int32_t GetTid() const { return Info != nullptr ? Info->Tid : 0; }
  // The grade of a building's record (its money); 0, and nothing written,
  // for a record of any other kind.
  int32_t GetInfoGrade() const;
  void SetInfoGrade(int32_t grade);

  // Frames spent in the current move, 0-255, staying at 255: the record
  // keeps them in a signed byte.
  uint8_t GetTime() const;
  void SetTime(uint8_t frames);
  // Tells the logic's listeners which move the thing starts now.
  void ReportAction();
  // The number a record stores for a move of this class: its place in the
  // class's move table (its code when that entry is the move itself).
  int32_t MoveNumberOf(const MoveInfo* move) const;

  // The thing's information record (owned); none after construction.
  std::unique_ptr<ThingInfo, tObjectDestroyer> Info;

 protected:
  // Makes the default record of this kind; CreateInfo then starts the move.
  virtual ThingInfo* MakeInfo() const;
  // The owner of the plain things' move table.
  static std::unique_ptr<LumoObjects, tObjectDestroyer>& PlainMoveTableSlot();
};

// The thing as a unit or as a vehicle; null for none or for a null thing.
inline YLUnit* UnitOf(YLThing* thing) { return thing != nullptr ? thing->AsUnit() : nullptr; }
inline const YLUnit* UnitOf(const YLThing* thing) { return thing != nullptr ? thing->AsUnit() : nullptr; }
inline YLTCar* CarOf(YLThing* thing) { return thing != nullptr ? thing->AsCar() : nullptr; }
inline const YLTCar* CarOf(const YLThing* thing) { return thing != nullptr ? thing->AsCar() : nullptr; }
