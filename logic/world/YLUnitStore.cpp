// The unit's class record and the stored form of its own fields.

#include <algorithm>
#include <iterator>

#include "base/DebugFormat.h"
#include "base/LumoClass.h"
#include "base/LumoStream.h"
#include "logic/core/RecordFields.h"
#include "logic/world/YLUnit.h"

namespace {

LumoClassOf<YLUnit> classOfYLUnit(kVersion_1_6_0_6, "YLUnit", "YLThing");
LOGIC_FIELD_PROPERTY(YLUnit, Alreadythere, PropertyPointer, "tPointer");
LOGIC_FIELD_PROPERTY(YLUnit, Frustration, PropertySingle, "tSingle");
LOGIC_FIELD_PROPERTY(YLUnit, LumoBrain, PropertyPointer, "tPointer");
LOGIC_FIELD_PROPERTY(YLUnit, Plan, PropertyPointer, "tPointer");
LOGIC_FIELD_PROPERTY(YLUnit, AvoidMap, PropertyPointer, "tPointer");
LOGIC_FIELD_PROPERTY(YLUnit, ObstacleMap, PropertyPointer, "tPointer");
LOGIC_FIELD_PROPERTY(YLUnit, CurrentMove, PropertyObject, "tUnknown");

bool ReadDirections(LumoStream* stream, float (&values)[kDirectionCount]) {
  float read[kDirectionCount] = {};
  for (float& value : read) {
    if (!stream->ReadSingle(value)) {
      return false;
    }
  }
  std::copy(std::begin(read), std::end(read), std::begin(values));
  return true;
}

bool WriteDirections(LumoStream* stream, const float (&values)[kDirectionCount]) {
  for (const float value : values) {
    if (!stream->WriteSingle(value)) {
      return false;
    }
  }
  return true;
}

}  // namespace

// Only a plan step can be the current step: anything else in its place
// fails the load rather than being taken for one.
bool YLUnit::LoadCurrentMove(LumoStream* stream, const LumoProperty*) {
  LumoObject* loaded = nullptr;
  if (!stream->ReadObject(loaded)) {
    DebugPrint("YLUnit: cannot read the current step of unit %d\n", GetTid());
    return false;
  }
  auto* step = dynamic_cast<PsychicPlanItem*>(loaded);
  if (loaded != nullptr && step == nullptr) {
    DebugPrint("YLUnit: unit %d holds a %s where its current step belongs\n", GetTid(), loaded->GetClassName());
    DestroyObject(loaded);
    return false;
  }
  CurrentMove.reset(step);
  return true;
}

bool YLUnit::SaveCurrentMove(LumoStream* stream, const LumoProperty*) { return stream->WriteObject(CurrentMove.get()); }

bool YLUnit::LoadAlreadythere(LumoStream* stream, const LumoProperty*) { return stream->ReadByte(Alreadythere); }
bool YLUnit::SaveAlreadythere(LumoStream* stream, const LumoProperty*) { return stream->WriteByte(Alreadythere); }

bool YLUnit::LoadPlan(LumoStream* stream, const LumoProperty* property) { return Plan.Loadchild(stream, property); }
bool YLUnit::SavePlan(LumoStream* stream, const LumoProperty* property) { return Plan.Savechild(stream, property); }

bool YLUnit::LoadAvoidMap(LumoStream* stream, const LumoProperty*) { return ReadDirections(stream, AvoidMap); }
bool YLUnit::SaveAvoidMap(LumoStream* stream, const LumoProperty*) { return WriteDirections(stream, AvoidMap); }
bool YLUnit::LoadObstacleMap(LumoStream* stream, const LumoProperty*) { return ReadDirections(stream, ObstacleMap); }
bool YLUnit::SaveObstacleMap(LumoStream* stream, const LumoProperty*) { return WriteDirections(stream, ObstacleMap); }

LUMO_GENERIC_FIELD(YLUnit, Frustration)

bool YLUnit::LoadLumoBrain(LumoStream* stream, const LumoProperty*) { return LoadBrain(stream); }
bool YLUnit::SaveLumoBrain(LumoStream* stream, const LumoProperty*) { return SaveBrain(stream); }
