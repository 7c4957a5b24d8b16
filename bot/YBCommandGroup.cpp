#include "bot/YBCommandGroup.h"

#include <algorithm>

#include "bot/YBThing.h"
#include "logic/core/COrderPackage.h"

void YBCommandGroup::OnFree() {
  ReleaseMembers();
  if (Package != nullptr) {
    DeleteOrderPackage(Package);
    Package = nullptr;
  }
  if (FollowUpPackage != nullptr) {
    DeleteOrderPackage(FollowUpPackage);
    FollowUpPackage = nullptr;
  }
}

void YBCommandGroup::AddMember(YBUnit* unit) {
  if (unit == nullptr) {
    return;
  }
  if (unit->Group != nullptr && unit->Group != this) {
    unit->Group->RemoveMember(unit);
  }
  Members.push_back(unit);
  unit->Group = this;
}

void YBCommandGroup::RemoveMember(YBUnit* unit) {
  Members.erase(std::remove(Members.begin(), Members.end(), unit), Members.end());
  if (unit != nullptr && unit->Group == this) {
    unit->Group = nullptr;
  }
}

void YBCommandGroup::ReleaseMembers() {
  for (YBUnit* unit : Members) {
    if (unit->Group == this) {
      unit->Group = nullptr;
    }
  }
  Members.clear();
}

YBUnit* YBCommandGroup::GetMember(int32_t index) const {
  return index >= 0 && index < GetMemberCount() ? Members[static_cast<size_t>(index)] : nullptr;
}
