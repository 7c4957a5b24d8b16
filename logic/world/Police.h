#pragma once

#include <cstdint>

#include "logic/world/YLTDriver.h"
#include "logic/world/YLUnit.h"

// An officer of the police side.
class Police : public YLUnit {
 public:
  Police();
  const char* GetClassName() const override;
  bool IsSelectable() const override;
  bool IsPolice() const override;

  float Threat = 0.0f;      // 0-1
  int32_t WorstUnit = 0;    // the unit the officer deals with
  float WorstValue = 0.0f;
  int32_t CrimeCount = 0;
};

// Riot police: an officer who can drive the riot-police bus.
class MEUnit : public Police, public YLTDriver {
 public:
  MEUnit();
  const char* GetClassName() const override;
  YLTDriver* AsDriver() override;
  int32_t GetDriverTid() const override;
};
