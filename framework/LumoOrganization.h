#pragma once

#include <cstdint>

#include "base/LumoList.h"

// The node by which an organization holds one object (its Data). A member
// stands for one object for its whole life: once it holds one, setting
// another is refused.
class LumoMember : public LumoNode {
 public:
  const char* GetClassName() const override;
  // Answers 0 (refused) while the member already holds an object.
  uintptr_t SetData(uintptr_t value) override;
};

// A plain list of references to other objects, one member each. The
// organization refers to every object it holds, so an object freed
// elsewhere takes its member along and no member ever points at a freed
// object. The objects themselves are never owned: clearing or freeing the
// organization only lets go of them.
class LumoOrganization : public LumoList {
 public:
  const char* GetClassName() const override;
  // Lets go of every member's object; the list then destroys the members.
  void DoClear() override;
  // The member of a vanished object is destroyed.
  void DoAbortReferenceTo(LumoObject* other) override;
  // A member.
  LumoNode* CreateItem() override;

  // Appends a member for the object and refers to it; null for a null
  // object, for one already held and when the member cannot be made.
  LumoMember* AddMember(LumoObject* object);
  // Destroys the object's member and lets go of the object; false when no
  // member holds it.
  bool RemoveMember(LumoObject* object);
  // The member holding the object, or null.
  LumoMember* FindMember(const LumoObject* object) const;
  // The object a member stands for.
  static LumoObject* ObjectOf(const LumoNode* member);
};
