#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "base/tCollection.h"
#include "logic/core/YLPropagator.h"

class LumoProperty;
class LumoStream;
class YLThing;

// Civilian cars flowing along the level's diagonal highway: each lane sends
// a car from its start to its end now and then, and cars past the end leave
// the road to be sent again later.
class YLHighwayTraffic : public YLPropagator {
 public:
  // One lane: where its cars appear and the direction they face, where
  // their drivers go, how long they run under the bridge, the frames since
  // the last car (kStopped: the lane is closed) and the ids of its cars.
  struct YLHighwayLane {
    static constexpr int32_t kStopped = -1;
    // Values stored per lane before its cars.
    static constexpr int32_t kStoredValues = 7;

    int32_t StartX = 0;
    int32_t StartY = 0;
    int32_t Direction = 0;
    int32_t EndX = 0;
    int32_t EndY = 0;
    int32_t Delay = 0;
    int32_t SpawnTimer = 0;
    tCollection<int32_t> Cars;

    // Where a car of the lane last stood and for how many frames it has
    // stood there.
    struct Standing {
      int32_t x = 0;
      int32_t y = 0;
      int32_t frames = 0;
    };
    // By car id; only cars of the lane are watched.
    std::map<int32_t, Standing> StandingCars;
  };

  // Frames a lane waits after a car before it may send the next.
  static constexpr int32_t kSpawnPause = 14;
  // Cars off the road that are sent again before new ones are made.
  static constexpr int32_t kReuseAbove = 5;
  // A car that has stood this many frames on its lane (a blocked street, a
  // start the car cannot leave) leaves the road to be sent again, as a car
  // past the end does.
  static constexpr int32_t kStuckFrames = 600;

  // The six lanes of the highway, three each way, every timer at 0.
  YLHighwayTraffic();

  const char* GetClassName() const override;

  // One frame of every open lane: its clock runs, its cars past the end
  // or stuck for kStuckFrames leave the road, and after the pause a car is
  // due with a chance of one in 15, unless a car still stands on the
  // lane's start. Always true: the traffic runs for the whole level.
  bool Propagate(CLogic* logic) override;
  // Whether a car or a wreck stands on the lane's start: one the map holds
  // there, or one whose record stands there (the start may lie off the map).
  bool StartHoldsCar(const CLogic& logic, const YLHighwayLane& lane) const;
  // Closes every lane of that direction.
  void StopLane(int32_t direction);

  // The ids of the cars off the road: their count, then the ids.
  virtual bool LoadOffTheRoad(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveOffTheRoad(LumoStream* stream, const LumoProperty* property);
  // The lane count, then per lane its seven values, its car count and ids.
  virtual bool LoadCarLanes(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveCarLanes(LumoStream* stream, const LumoProperty* property);
  // After the stored properties: "still:", the lane count, then per lane
  // its standing cars as a count of values and (id, x, y, frames) each. A
  // stream without the marker loads with no car counted as standing.
  bool OnLoadFrom(LumoStream* stream) override;
  bool OnSaveTo(LumoStream* stream) override;

  tCollection<int32_t> OffTheRoad;
  std::vector<std::unique_ptr<YLHighwayLane>> CarLanes;

  // A car is due on the lane: the lane's pause starts again, and a car is
  // sent from the lane's start (one off the road when more than five wait
  // there, else a new one of a model drawn 0-7), with a civilian driver
  // heading for the lane's end. It sinks under the bridge after delay/2
  // frames and comes up again at (delay + 38)/2. An id off the road that no
  // longer names a living car is dropped for a new car; when no car or
  // driver can be made, nothing is sent.
  void SpawnCar(CLogic& logic, YLHighwayLane& lane);

 private:
  // Counts the frame for a car of the lane: true once it has stood on one
  // cell for kStuckFrames.
  static bool StoodTooLong(YLHighwayLane& lane, const YLThing& car);
};
