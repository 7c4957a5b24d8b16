#include "logic/world/ThingDebugSource.h"

#include "logic/core/CLogic.h"
#include "logic/world/MoveInfo.h"
#include "logic/world/YLThing.h"

// Only the thing that owns this very record adds its line: a record that is
// not (or no longer) in the thing table has no thing to ask.
void ThingDebugSource::AppendThingText(const ThingInfo& info, tString& text) const {
  const CLogic* logic = YLThing::GetLogic();
  const YLThing* thing = logic != nullptr ? logic->GetThing(info.Tid) : nullptr;
  if (thing == nullptr || thing->Info.get() != &info) {
    return;
  }
  tString line;
  thing->GetDebugText(line);
  text += line;
}

const char* ThingDebugSource::GetTypeName(int32_t gfx) const {
  const CLogic* logic = YLThing::GetLogic();
  return logic != nullptr ? logic->GetString(gfx) : nullptr;
}

const char* ThingDebugSource::GetMoveName(const ThingInfo& info) const {
  return info.Move != nullptr ? info.Move->name.text : nullptr;
}

int32_t ThingDebugSource::GetMoveLength(const ThingInfo& info) const {
  return info.Move != nullptr ? info.Move->GetMoveTime(info.Gfx, info.Ori) : 0;
}

const ThingDebugSource& ThingDebugSource::Instance() {
  static const ThingDebugSource instance;
  return instance;
}
