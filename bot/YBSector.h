#pragma once

#include <cstdint>
#include <vector>

#include "base/LumoObject.h"

class YBBuilding;
class YBThing;
class YBVehicle;
class YLSector;

// The controller's record of one navigation sector: its centre, the
// buildings and vehicles in it, the crime counted there since the last
// realisation and its special thing. Never saved.
class YBSector : public LumoObject {
 public:
  YBSector(YLSector* sector, int32_t x, int32_t y) : Sector(sector), X(x), Y(y) {}

  const char* GetClassName() const override { return "YBSector"; }
  // Empties both lists; the records belong to the controller.
  void OnFree() override;

  // The navigation sector's identifier; 255 without one.
  int32_t GetID() const;

  void AddBuilding(YBBuilding* record);
  // Null outside 0..count - 1.
  YBBuilding* GetBuilding(int32_t index) const;
  int32_t GetBuildingCount() const { return static_cast<int32_t>(Buildings.size()); }
  // Appends the vehicle and makes this its sector.
  void AddVehicle(YBVehicle* record);
  // Only for a vehicle of this sector: clears its sector and removes it.
  void RemoveVehicle(YBVehicle* record);
  YBVehicle* GetVehicle(int32_t index) const;
  int32_t GetVehicleCount() const { return static_cast<int32_t>(Vehicles.size()); }

  // Whether the navigation sectors share a border.
  bool IsNeighbour(const YBSector* other) const;
  // The identifier of the border between the two; -1 when none.
  int32_t GetBorderID(const YBSector* other) const;

  // Forgets a record that is about to be destroyed, wherever it is held.
  void Forget(const YBThing* record);

  YLSector* Sector = nullptr;
  int32_t X = 0;
  int32_t Y = 0;
  std::vector<YBBuilding*> Buildings;
  std::vector<YBVehicle*> Vehicles;
  float Crime = 0.0f;
  YBThing* Special = nullptr;
};
