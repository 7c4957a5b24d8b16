#pragma once

#include <cstdint>
#include <vector>

#include "base/LumoObject.h"

// A route through the sector map: the sector ids from start to goal.
class YLSectorPath : public LumoObject {
 public:
  const char* GetClassName() const override;
  void DoFree() override;

  int32_t GetRouteCount() const { return static_cast<int32_t>(Route.size()); }
  // The sector id at a position of the route; -1 outside.
  int32_t GetRouteAt(int32_t index) const;
  // Replaces the route by count ids; false (the route emptied) when memory
  // runs out or the arguments are invalid.
  bool SetRoute(const int32_t* sectorIds, int32_t count);

  // A count, then that many sector ids. A failure while reading or writing,
  // an exception included, fails the record.
  virtual bool LoadRoute(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveRoute(LumoStream* stream, const LumoProperty* property);

  std::vector<int32_t> Route;  // empty in a new path
};
