#pragma once

#include "base/LumoSortedList.h"

class LumoMediaNode;

// Media nodes by unique name, acted on all at once: the level updates and
// checks them every frame, stops them when it goes, and freezes and thaws
// them when it is paused and resumed. Only media nodes are taken as items.
class LumoMediaList : public LumoSortedList {
 public:
  LumoMediaList();

  const char* GetClassName() const override;
  // Refuses (logged) anything that is not a media node.
  bool DoRegisterObject(LumoObject* object) override;

  // Update (Check) of every node, first to last.
  void UpdateAll();
  void CheckAll();
  // Every node is no longer started; loaded media are stopped on the device
  // without telling the receivers.
  void StopAll();
  // The freeze: every loaded node remembers whether it played (Frozen), is
  // paused on the device when it did, and keeps its position.
  void PauseAll();
  // The thaw: every loaded node goes back to its kept position; those the
  // freeze found playing play on.
  void ResumeAll();

 private:
  // Calls visit on every media node, first to last.
  template <typename Visit>
  void ForEachMedia(Visit&& visit);
};
