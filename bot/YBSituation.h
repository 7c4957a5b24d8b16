#pragma once

#include <cstdint>
#include <vector>

#include "base/LumoList.h"

class YBCrew;

// A predicted situation of the search: its items are the child situations,
// its parent list is the parent situation. This holds what the controller
// needs of it (its time, its ply and its crews); the search's tables and
// operations build on it.
class YBSituation : public LumoList {
 public:
  const char* GetClassName() const override { return "YBSituation"; }
  // Destroys the crews this situation made, then the children.
  void OnFree() override;

  virtual void SetTime(int32_t value) { Time = value; }
  virtual bool LoadTime(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveTime(LumoStream* stream, const LumoProperty* property);
  virtual void SetPly(int32_t value) { Ply = value; }
  virtual bool LoadPly(LumoStream* stream, const LumoProperty* property);
  virtual bool SavePly(LumoStream* stream, const LumoProperty* property);

  // Appends a crew; a crew that no situation made yet becomes this one's.
  void AddCrew(YBCrew* crew);
  // The first crew of that identifier; null when none.
  YBCrew* FindCrew(uint32_t crewId) const;
  int32_t GetCrewCount() const { return static_cast<int32_t>(Crews.size()); }
  YBCrew* GetCrew(int32_t index) const;

  int32_t Time = 0;
  int32_t Ply = 0;
  std::vector<YBCrew*> Crews;
};
