#include "logic/core/YLPlayerPolice.h"

#include "base/LumoClass.h"
#include "logic/world/YLThing.h"

namespace {

LumoClassOf<YLPlayerPolice> classOfYLPlayerPolice(kVersion_1_6_0_6, "YLPlayerPolice", "CPlayer");

}  // namespace

YLPlayerPolice::YLPlayerPolice() : Police(nullptr, nullptr, nullptr, 16) {}

const char* YLPlayerPolice::GetClassName() const { return "YLPlayerPolice"; }

void YLPlayerPolice::DoFree() {
  Police.Clear();
  CPlayer::DoFree();
}

bool YLPlayerPolice::OnLoadFrom(LumoStream* stream) {
  if (!CPlayer::OnLoadFrom(stream)) {
    return false;
  }
  Params[ParamState] = kStatePolice;
  return true;
}

void YLPlayerPolice::OnCreated(int32_t id) {
  CPlayer::OnCreated(id);
  SetParam(ParamState, kStatePolice);
}

void YLPlayerPolice::OnThingOwned(bool added, YLThing* thing) {
  CPlayer::OnThingOwned(added, thing);
  if (added && thing != nullptr && thing->Info != nullptr && thing->IsPolice() && thing->Info->Gfx == kPoliceType) {
    Police.AppendInt(thing->Info->Tid);
  }
}

int32_t YLPlayerPolice::GetOfficer(int32_t n) const { return n >= 1 && n <= Police.count ? Police[n - 1] : 0; }

void YLPlayerPolice::AddGroupToSelection(int32_t n) {
  if (const int32_t officer = GetOfficer(n)) {
    SelectThing(officer);
  }
}

void YLPlayerPolice::SelectGroup(int32_t n) {
  if (const int32_t officer = GetOfficer(n)) {
    SelectOnly(officer);
  }
}

void YLPlayerPolice::DeselectGroup(int32_t n) {
  if (const int32_t officer = GetOfficer(n)) {
    Deselect(officer);
  }
}
