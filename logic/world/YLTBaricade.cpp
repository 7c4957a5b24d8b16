#include "logic/world/YLTBaricade.h"

#include <cstdio>

#include "base/LumoClass.h"
#include "base/LumoStream.h"
#include "logic/core/CMap.h"
#include "logic/core/RecordFields.h"
#include "logic/world/MoveInfo.h"

namespace {

LumoClassOf<YLTBaricade> classOfYLTBaricade(kVersion_1_6_0_6, "YLTBaricade", "YLThing");
LOGIC_FIELD_PROPERTY(YLTBaricade, Cleaned, PropertyBool, "tBool");

constexpr const char* kBorderMarker = "border:";

}  // namespace

YLTBaricade::YLTBaricade() = default;

const char* YLTBaricade::GetClassName() const { return "YLTBaricade"; }

bool YLTBaricade::Propagate() {
  if (Info != nullptr && Info->Move != nullptr) {
    const bool done = GetTime() >= Info->Move->GetMoveTime(Info->Gfx, Info->Ori);
    if (done && (Info->MoveNumber == kMoveFallForward || Info->MoveNumber == kMoveFallBack)) {
      const int32_t lying = Info->MoveNumber == kMoveFallForward ? kMoveDownForward : kMoveDownBack;
      SetZ(-1);
      StartMove(GetMoveInfo(lying));
      ReportAction();
    }
  }
  return YLThing::Propagate();
}

void YLTBaricade::GetDebugText(tString& text) const {
  char line[64];
  std::snprintf(line, sizeof line, "baricade : border %d\n", BorderID);
  text = line;
}

// A routed path may run through the border, so the cached routes go when
// its passability changes.
void YLTBaricade::SetBorder(int32_t borderId) {
  BorderID = borderId;
  CMap* map = GetMap();
  if (BorderID != 0 && map != nullptr && map->SetBorderPassable(BorderID, Cleaned)) {
    map->ResetPaths();
  }
}

void YLTBaricade::Toggle(YLThing* pusher) {
  if (Info == nullptr) {
    return;
  }
  CMap* map = GetMap();
  if (Cleaned) {
    if (BorderID != 0 && map != nullptr) {
      map->SetBorderPassable(BorderID, false);
    }
    SetZ(0);
    if (map != nullptr) {
      map->PlaceThing(this);
      map->ResetPaths();
    }
    Cleaned = false;
    StartMove(GetMoveInfo(kMoveRest));
  } else {
    if (BorderID != 0 && map != nullptr) {
      map->SetBorderPassable(BorderID, true);
    }
    if (map != nullptr) {
      map->RemoveThing(this);
      map->ResetPaths();
    }
    Cleaned = true;
    const bool sameWay = pusher != nullptr && pusher->Info != nullptr && pusher->Info->Ori % 8 == Info->Ori % 8;
    StartMove(GetMoveInfo(sameWay ? kMoveFallForward : kMoveFallBack));
  }
  ReportAction();
}

bool YLTBaricade::LoadCleaned(LumoStream* stream, const LumoProperty* property) {
  if (!LoadPropertyFrom(stream, property, &Cleaned)) {
    return false;
  }
  if (!ReadMarker(stream, kBorderMarker)) {
    return true;
  }
  return stream->ReadInteger(BorderID);
}

bool YLTBaricade::SaveCleaned(LumoStream* stream, const LumoProperty* property) {
  return SavePropertyTo(stream, property, &Cleaned) && WriteMarker(stream, kBorderMarker) &&
         stream->WriteInteger(BorderID);
}
