#include "navigation/YLSectorPath.h"

#include <new>

#include "base/DebugFormat.h"
#include "base/LumoStream.h"
#include "navigation/NavigationFields.h"

namespace {

LumoClassOf<YLSectorPath> classOfYLSectorPath(kVersion_1_6_0_6, "YLSectorPath", "LumoObject");
NAVIGATION_FIELD_PROPERTY(YLSectorPath, Route, PropertyPointer, "tPointer");

}  // namespace

const char* YLSectorPath::GetClassName() const {
  return "YLSectorPath";
}

void YLSectorPath::DoFree() {
  Route.clear();
  Route.shrink_to_fit();
  LumoObject::DoFree();
}

int32_t YLSectorPath::GetRouteAt(int32_t index) const {
  return index >= 0 && index < GetRouteCount() ? Route[static_cast<size_t>(index)] : -1;
}

bool YLSectorPath::SetRoute(const int32_t* sectorIds, int32_t count) {
  Route.clear();
  if (count < 0 || (count > 0 && sectorIds == nullptr)) {
    return false;
  }
  try {
    Route.assign(sectorIds, sectorIds + count);
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

// An exception here is reported and fails the record: a route half read
// would otherwise pass for a whole one.
bool YLSectorPath::LoadRoute(LumoStream* stream, const LumoProperty*) {
  try {
    int32_t count = 0;
    if (!ReadBoundedCount(stream, "YLSectorPath", "Route", count)) {
      Route.clear();
      return false;
    }
    Route.assign(static_cast<size_t>(count), 0);
    for (int32_t& sectorId : Route) {
      if (!stream->ReadInteger(sectorId)) {
        Route.clear();
        return false;
      }
    }
    return true;
  } catch (...) {
    Route.clear();
    DebugPrint("Exception in YLSectorPath::LoadRoute()\n");
    return false;
  }
}

bool YLSectorPath::SaveRoute(LumoStream* stream, const LumoProperty*) {
  try {
    if (!stream->WriteInteger(GetRouteCount())) {
      return false;
    }
    for (const int32_t sectorId : Route) {
      if (!stream->WriteInteger(sectorId)) {
        return false;
      }
    }
    return true;
  } catch (...) {
    DebugPrint("Exception in YLSectorPath::SaveRoute()\n");
    return false;
  }
}
