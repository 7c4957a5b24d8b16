#include "bot/YBSituation.h"

#include "base/LumoClass.h"
#include "bot/YBCrew.h"

namespace {

LumoClassOf<YBSituation> classOfYBSituation(kVersion_1_6_0_6, "YBSituation", "LumoList");
LUMO_FIELD_PROPERTY(kVersion_1_6_0_6, YBSituation, Time, PropertyInteger, "tInteger");
LUMO_FIELD_PROPERTY(kVersion_1_6_0_6, YBSituation, Ply, PropertyInteger, "tInteger");

}  // namespace

LUMO_GENERIC_FIELD(YBSituation, Time)
LUMO_GENERIC_FIELD(YBSituation, Ply)

void YBSituation::OnFree() {
  std::vector<YBCrew*> crews;
  crews.swap(Crews);
  for (YBCrew* crew : crews) {
    if (crew->Situation == this) {
      DestroyObject(crew);
    }
  }
}

void YBSituation::AddCrew(YBCrew* crew) {
  if (crew == nullptr) {
    return;
  }
  if (crew->Situation == nullptr) {
    crew->Situation = this;
  }
  Crews.push_back(crew);
}

YBCrew* YBSituation::FindCrew(uint32_t crewId) const {
  for (YBCrew* crew : Crews) {
    if (crew->ID == crewId) {
      return crew;
    }
  }
  return nullptr;
}

YBCrew* YBSituation::GetCrew(int32_t index) const {
  return index >= 0 && index < GetCrewCount() ? Crews[static_cast<size_t>(index)] : nullptr;
}
