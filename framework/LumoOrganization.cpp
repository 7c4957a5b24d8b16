#include "framework/LumoOrganization.h"

#include <new>

const char* LumoMember::GetClassName() const { return "LumoMember"; }

uintptr_t LumoMember::SetData(uintptr_t value) {
  if (Data != 0 && value != 0) {
    return 0;
  }
  return LumoNode::SetData(value);
}

const char* LumoOrganization::GetClassName() const { return "LumoOrganization"; }

LumoNode* LumoOrganization::CreateItem() { return new (std::nothrow) LumoMember; }

LumoObject* LumoOrganization::ObjectOf(const LumoNode* member) {
  return member != nullptr ? reinterpret_cast<LumoObject*>(member->Data) : nullptr;
}

LumoMember* LumoOrganization::FindMember(const LumoObject* object) const {
  if (object == nullptr) {
    return nullptr;
  }
  for (LumoNode* item = first; item != nullptr; item = item->next) {
    if (ObjectOf(item) == object) {
      return static_cast<LumoMember*>(item);
    }
  }
  return nullptr;
}

LumoMember* LumoOrganization::AddMember(LumoObject* object) {
  if (object == nullptr || FindMember(object) != nullptr) {
    return nullptr;
  }
  auto* member = dynamic_cast<LumoMember*>(CreateItem());
  if (member == nullptr) {
    return nullptr;
  }
  if (Append(member) == nullptr || AddReference(object) == nullptr) {
    DestroyObject(member);
    return nullptr;
  }
  member->SetData(reinterpret_cast<uintptr_t>(object));
  return member;
}

bool LumoOrganization::RemoveMember(LumoObject* object) {
  LumoMember* member = FindMember(object);
  if (member == nullptr) {
    return false;
  }
  member->Data = 0;
  RemoveReference(object);
  DestroyObject(member);
  return true;
}

void LumoOrganization::DoClear() {
  LumoList::DoClear();
  for (LumoNode* item = first; item != nullptr; item = item->next) {
    if (LumoObject* object = ObjectOf(item)) {
      item->Data = 0;
      RemoveReference(object);
    }
  }
}

void LumoOrganization::DoAbortReferenceTo(LumoObject* other) {
  LumoList::DoAbortReferenceTo(other);
  if (LumoMember* member = FindMember(other)) {
    member->Data = 0;
    DestroyObject(member);
  }
}
