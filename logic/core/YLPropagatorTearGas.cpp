#include "logic/core/YLPropagatorTearGas.h"

#include "base/DebugFormat.h"
#include "base/LumoStream.h"
#include "logic/core/CLogic.h"
#include "logic/core/CMap.h"
#include "logic/core/RecordFields.h"
#include "logic/world/YLUnit.h"

namespace {

LumoClassOf<YLPropagatorTearGas> classOfYLPropagatorTearGas(kVersion_1_6_0_6, "YLPropagatorTearGas", "LumoObject");
LOGIC_FIELD_PROPERTY(YLPropagatorTearGas, Groundmap, PropertyObject, "tUnknown");
LumoFieldProperty<YLAreaPropagator, &YLAreaPropagator::LoadDuration, &YLAreaPropagator::SaveDuration> gasDuration(
    kVersion_1_6_0_6, PropertyInteger, "tInteger", "Duration");
LumoFieldProperty<YLAreaPropagator, &YLAreaPropagator::LoadTime, &YLAreaPropagator::SaveTime> gasTime(
    kVersion_1_6_0_6, PropertyInteger, "tInteger", "Time");
LumoFieldProperty<YLAreaPropagator, &YLAreaPropagator::LoadX, &YLAreaPropagator::SaveX> gasX(kVersion_1_6_0_6,
                                                                                              PropertyInteger,
                                                                                              "tInteger", "X");
LumoFieldProperty<YLAreaPropagator, &YLAreaPropagator::LoadY, &YLAreaPropagator::SaveY> gasY(kVersion_1_6_0_6,
                                                                                              PropertyInteger,
                                                                                              "tInteger", "Y");

}  // namespace

YLPropagatorTearGas::YLPropagatorTearGas() : YLAreaPropagator(kDuration) {}

const char* YLPropagatorTearGas::GetClassName() const { return "YLPropagatorTearGas"; }

bool YLPropagatorTearGas::Propagate(CLogic* logic) {
  CMap* map = logic != nullptr ? logic->Map.get() : nullptr;
  // Counted as 32-bit values wrap: a stored clock may hold any value.
  Time = static_cast<int32_t>(static_cast<uint32_t>(Time) + 1u);
  if (Time > Duration) {
    MarkArea(map, false);
    return false;
  }
  if (map == nullptr || Area == nullptr) {
    return true;
  }
  const int32_t cells = Area->GetPointCount(0);
  for (int32_t n = 0; n < cells; ++n) {
    int32_t dx = 0;
    int32_t dy = 0;
    Area->GetPoint(0, n, dx, dy);
    const int32_t x = static_cast<int32_t>(static_cast<uint32_t>(X) + static_cast<uint32_t>(dx));
    const int32_t y = static_cast<int32_t>(static_cast<uint32_t>(Y) + static_cast<uint32_t>(dy));
    auto* unit = UnitOf(logic->GetThing(map->GetThingIDAt(x, y)));
    // The police do not suffer their own gas; any other unit wears out as
    // its kind does (a prisoner is spared, dope protects).
    if (unit != nullptr && unit->GetOwner() != CLogic::kPolicePlayer) {
      unit->WearOut();
    }
  }
  return true;
}

void YLPropagatorTearGas::SetMark(CMap& map, int32_t x, int32_t y, bool on) const {
  map.GetStratMap()->SetGas(x, y, on);
}

bool YLPropagatorTearGas::LoadGroundmap(LumoStream* stream, const LumoProperty*) { return ReadArea(stream); }

bool YLPropagatorTearGas::SaveGroundmap(LumoStream* stream, const LumoProperty*) { return WriteArea(stream); }
