#pragma once

#include <cstdint>

#include "base/LumoExport.h"
#include "base/TextUtils.h"
#include "logic/core/ContainerInfo.h"

// The record of a building: a container with money and, for sex shops and
// suit hangouts, the girls or suits it still has to offer.
class BuildingInfo : public ContainerInfo {
 public:
  static constexpr int32_t kDefaultBuildingType = 8;
  static constexpr int32_t kDefaultSuitChick = 5;

  BuildingInfo();
  BuildingInfo(int32_t x, int32_t y, int32_t z, uint8_t ori, int32_t owner);

  const char* GetClassName() const override;
  bool IsBuilding() const override;
  // A shop when it sells to units (status bit 26).
  bool IsShop() const override;
  void DebugPrint(tString& text) const override;

  virtual bool LoadMoney(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveMoney(LumoStream* stream, const LumoProperty* property);
  // Stored behind the text "suit:", which older streams lack.
  virtual bool LoadSuitChick(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveSuitChick(LumoStream* stream, const LumoProperty* property);

  int32_t Money = 0;
  int32_t SuitChick = kDefaultSuitChick;
};

// The record of a pub: a shop with recruits for six unit types, beer for the
// supporters and a name.
class PubInfo : public BuildingInfo {
 public:
  static constexpr uint8_t kMaxRecruits = 10;

  PubInfo();
  PubInfo(int32_t x, int32_t y, int32_t z, uint8_t ori, int32_t owner);
  ~PubInfo() override;

  const char* GetClassName() const override;
  bool IsShop() const override;
  // Frees the name.
  void DoFree() override;
  void DebugPrint(tString& text) const override;

  virtual bool LoadSupporterBeer(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveSupporterBeer(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadHCRatjes(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveHCRatjes(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadHCGabbers(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveHCGabbers(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadHCYobbozers(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveHCYobbozers(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadHCBikers(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveHCBikers(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadHCSkins(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveHCSkins(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadHCBulches(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveHCBulches(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadName(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveName(LumoStream* stream, const LumoProperty* property);

  // Frees the old name and keeps a copy of the new one (null leaves none).
  COGITO_API void SetName(const char* name);
  // The recruits available of a unit type (1, 2, 7, 8, 9 or 12); 0 for any
  // other type.
  COGITO_API unsigned char CountAvailableHC(int32_t unitType) const;
  // Takes one recruit of the type; false when there is none or the pub has
  // no recruits of that type.
  bool TakeAvailableHC(int32_t unitType);
  // One recruit more of the type, at most 10.
  void AddAvailableHC(int32_t unitType);

  // Recruits per unit type, 0-10.
  uint8_t HCRatjes = 0;     // rats (1)
  uint8_t HCGabbers = 0;    // ravers (2)
  uint8_t HCYobbozers = 0;  // yobbozers (12)
  uint8_t HCBikers = 0;     // bikers (7)
  uint8_t HCSkins = 0;      // skins (8)
  uint8_t HCBulches = 0;    // bulches (9)
  int32_t SupporterBeer = 0;  // beer available to supporters
  tCharStr Name = nullptr;

 private:
  // The counter of a unit type; null for a type the pub has no recruits of.
  uint8_t* RecruitCounter(int32_t unitType);
  const uint8_t* RecruitCounter(int32_t unitType) const;
};
