#include "logic/core/YLPropagatorFire.h"

#include "logic/core/CLogic.h"
#include "logic/core/CMap.h"
#include "logic/core/RecordFields.h"

namespace {

LumoClassOf<YLPropagatorFire> classOfYLPropagatorFire(kVersion_1_6_0_6, "YLPropagatorFire", "LumoObject");
LumoFieldProperty<YLAreaPropagator, &YLAreaPropagator::LoadDuration, &YLAreaPropagator::SaveDuration> fireDuration(
    kVersion_1_6_0_6, PropertyInteger, "tInteger", "Duration");
LumoFieldProperty<YLAreaPropagator, &YLAreaPropagator::LoadTime, &YLAreaPropagator::SaveTime> fireTime(
    kVersion_1_6_0_6, PropertyInteger, "tInteger", "Time");
LumoFieldProperty<YLAreaPropagator, &YLAreaPropagator::LoadX, &YLAreaPropagator::SaveX> fireX(kVersion_1_6_0_6,
                                                                                               PropertyInteger,
                                                                                               "tInteger", "X");
LumoFieldProperty<YLAreaPropagator, &YLAreaPropagator::LoadY, &YLAreaPropagator::SaveY> fireY(kVersion_1_6_0_6,
                                                                                               PropertyInteger,
                                                                                               "tInteger", "Y");

// Stands before the stored area, behind the properties.
constexpr const char* kAreaMarker = "area:";

}  // namespace

YLPropagatorFire::YLPropagatorFire() : YLAreaPropagator(kDuration) {}

const char* YLPropagatorFire::GetClassName() const { return "YLPropagatorFire"; }

bool YLPropagatorFire::Propagate(CLogic*) {
  // Counted as 32-bit values wrap: a stored clock may hold any value.
  Time = static_cast<int32_t>(static_cast<uint32_t>(Time) + 1u);
  return Time <= Duration;
}

bool YLPropagatorFire::OnLoadFrom(LumoStream* stream) {
  if (!YLAreaPropagator::OnLoadFrom(stream)) {
    return false;
  }
  if (!ReadMarker(stream, kAreaMarker)) {
    return true;
  }
  return ReadArea(stream);
}

bool YLPropagatorFire::OnSaveTo(LumoStream* stream) {
  return YLAreaPropagator::OnSaveTo(stream) && WriteMarker(stream, kAreaMarker) && WriteArea(stream);
}

void YLPropagatorFire::SetMark(CMap& map, int32_t x, int32_t y, bool on) const {
  map.GetStratMap()->SetFire(x, y, on);
}
