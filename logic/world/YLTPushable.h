#pragma once

#include <cstdint>

#include "logic/world/YLThing.h"

class LumoStream;

// What a thing that units and trams can push carries: the ticks left of the
// running push and who pushes.
class YLTPushable {
 public:
  // The vehicle type of the tram, the one vehicle that pushes things.
  static constexpr int32_t kPushingVehicleType = 4;

  YLTPushable();
  virtual ~YLTPushable();

  // The thing that carries the push state.
  virtual YLThing* GetThing() = 0;
  // Counts a running push down; at its end the thing rests (or lies
  // trashed when it no longer lives).
  virtual void TickPush();
  // A tram pushes the thing in its own driving direction.
  virtual bool PushedByVehicle(YLThing* vehicle);
  // A unit pushes the thing in its facing direction; false while a push
  // runs or when the map refuses the move.
  virtual bool Push(YLThing* pusher);

  // The counter, the text "push:" and the pusher; a stream without the text
  // keeps the pusher as it is.
  bool SavePushState(LumoStream* stream) const;
  bool LoadPushState(LumoStream* stream);

  int32_t PushCounter = 0;  // ticks left of the running push, 0 when none
  int32_t Pusher = 0;       // Tid of the thing that pushes

 private:
  // Starts the push move in a direction with its length; both pushes share it.
  bool StartPush(int32_t direction, int32_t lengthType, uint8_t lengthOrientation, int32_t pusherId);
};

// A plain thing that can be pushed.
class YLTPushableThing : public YLThing, public YLTPushable {
 public:
  YLTPushableThing();

  const char* GetClassName() const override;
  YLThing* GetThing() override;
  // The thing's tick, then the push's.
  bool Propagate() override;
  // A default record with the pushable footprint and building type 11.
  void CreateInfo(int32_t moveNumber) override;
  void GetDebugText(tString& text) const override;
  bool DoLoadFrom(LumoStream* stream) override;
  bool DoSaveTo(LumoStream* stream) override;

  // Builds the plain things' move table. A second call refills the same
  // move objects, so no record's move is left pointing at a freed one.
  static void InitMoveTable();
};
