#pragma once

#include "logic/core/CPlayer.h"

// The computer-controlled police side: a player that also lists its plain
// police officers, and whose group selection picks officers from that list.
class YLPlayerPolice : public CPlayer {
 public:
  YLPlayerPolice();

  const char* GetClassName() const override;
  void DoFree() override;
  // The police side's state is always 3.
  bool OnLoadFrom(LumoStream* stream) override;
  void OnCreated(int32_t id) override;
  // A plain officer (unit type 5, not the riot squad) joins the list.
  void OnThingOwned(bool added, YLThing* thing) override;
  // n is a 1-based index into the police list; any other n does nothing.
  void AddGroupToSelection(int32_t n) override;
  void SelectGroup(int32_t n) override;
  void DeselectGroup(int32_t n) override;

  // The officer at a 1-based index; 0 outside the list.
  int32_t GetOfficer(int32_t n) const;

  static constexpr int32_t kPoliceType = 5;

  tCollection<int32_t> Police;
};
