#pragma once

#include <cstdint>

#include "base/LumoExport.h"
#include "base/tCollection.h"
#include "logic/core/ThingInfo.h"

// The record of a thing that holds units: the identifiers of what it holds,
// how many fit and where its entrance is.
class ContainerInfo : public ThingInfo {
 public:
  static constexpr int32_t kDefaultMaxCarry = 20;

  ContainerInfo();
  ContainerInfo(int32_t x, int32_t y, int32_t z, uint8_t ori, int32_t owner);

  const char* GetClassName() const override;
  bool IsContainer() const override;
  void DebugPrint(tString& text) const override;

  virtual bool LoadExitX(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveExitX(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadExitY(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveExitY(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadMaxCarry(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveMaxCarry(LumoStream* stream, const LumoProperty* property);
  // The contained identifiers as their count and the identifiers.
  virtual bool LoadContainedThing(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveContainedThing(LumoStream* stream, const LumoProperty* property);

  COGITO_API int32_t GetMaxItems() const;
  COGITO_API void SetMaxItems(int32_t maxItems);
  COGITO_API int32_t GetContainedCount() const;
  // The entrance relative to the thing's own cell.
  COGITO_API void SetEntranceRel(int32_t x, int32_t y);
  COGITO_API const tCollection<int32_t>& GetContainedIDs() const;
  // The n-th contained identifier; 0 when n is out of range.
  COGITO_API int32_t GetContainedID(int32_t n) const;

  bool IsFull() const;
  void GetEntranceRel(int32_t& x, int32_t& y) const;
  // The entrance as an absolute map cell.
  void GetEntrance(int32_t& x, int32_t& y) const;
  void AddContainedID(int32_t id);
  // Removes the first entry equal to id; nothing when there is none.
  void RemoveContainedID(int32_t id);

  tCollection<int32_t> ContainedThing;
  int32_t MaxCarry = kDefaultMaxCarry;  // how many units fit
  int32_t ExitX = 0;                    // entrance relative to X, Y
  int32_t ExitY = 0;
};

// The record of a vehicle: a container with a driver.
class VehicleInfo : public ContainerInfo {
 public:
  VehicleInfo();
  VehicleInfo(int32_t x, int32_t y, int32_t z, uint8_t ori, int32_t owner);

  const char* GetClassName() const override;
  bool IsVehicle() const override;
  bool IsVehicleContainer() const override;

  virtual bool LoadDriverID(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveDriverID(LumoStream* stream, const LumoProperty* property);

  int32_t DriverID = 0;  // Tid of the driver, 0 for none
};

// The record of a weapon shack: a container (not a building) with its stock.
class ShackInfo : public ContainerInfo {
 public:
  ShackInfo();
  ShackInfo(int32_t x, int32_t y, int32_t z, uint8_t ori, int32_t owner);

  const char* GetClassName() const override;
  void DebugPrint(tString& text) const override;

  virtual bool LoadWeaponGrade(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveWeaponGrade(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadWeaponCount(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveWeaponCount(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadGuns(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveGuns(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadMolotovs(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveMolotovs(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadAmmo(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveAmmo(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadDope(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveDope(LumoStream* stream, const LumoProperty* property);

  int32_t WeaponGrade = 2;
  int32_t WeaponCount = 6;
  int32_t Guns = 1;
  int32_t Molotovs = 5;
  int32_t Ammo = 13;
  int32_t Dope = 35;
};
