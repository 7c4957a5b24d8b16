#pragma once

#include <cstdint>
#include <vector>

#include "base/LumoObject.h"

struct COrderPackage;
class YBBot;
class YBTask;
class YBUnit;

// The unit of command of a task: a prepared order and the units that carry
// it out. This is the part every kind shares (members, packages, owner);
// the kinds and their issuing build on it. Never saved: a task rebuilds its
// groups after a load.
class YBCommandGroup : public LumoObject {
 public:
  YBCommandGroup(YBBot* bot, YBTask* task) : Bot(bot), Task(task) {}

  const char* GetClassName() const override { return "YBCommandGroup"; }
  // Releases the members and deletes both packages.
  void OnFree() override;

  // The group's aim point; -1 in the base.
  virtual int32_t GetX() const { return -1; }
  virtual int32_t GetY() const { return -1; }

  // Puts the unit into this group, taking it out of its previous one.
  void AddMember(YBUnit* unit);
  // Removes every occurrence and clears the unit's group.
  void RemoveMember(YBUnit* unit);
  // Clears the group of every member and empties the members.
  void ReleaseMembers();
  YBUnit* GetMember(int32_t index) const;
  int32_t GetMemberCount() const { return static_cast<int32_t>(Members.size()); }
  // Tasks call it just before they release a group they give up.
  virtual void Cancel() {}

  YBBot* Bot = nullptr;
  COrderPackage* Package = nullptr;          // owned
  COrderPackage* FollowUpPackage = nullptr;  // owned
  std::vector<YBUnit*> Members;
  YBTask* Task = nullptr;
  bool LeaveContainers = true;
};
