#include "bot/YBSector.h"

#include <algorithm>

#include "bot/YBThing.h"
#include "navigation/YLSectors.h"

void YBSector::OnFree() {
  Buildings.clear();
  for (YBVehicle* vehicle : Vehicles) {
    if (vehicle->Sector == this) {
      vehicle->Sector = nullptr;
    }
  }
  Vehicles.clear();
  Special = nullptr;
}

int32_t YBSector::GetID() const { return Sector != nullptr ? static_cast<int32_t>(Sector->ID) : 255; }

void YBSector::AddBuilding(YBBuilding* record) { Buildings.push_back(record); }

YBBuilding* YBSector::GetBuilding(int32_t index) const {
  return index >= 0 && index < GetBuildingCount() ? Buildings[static_cast<size_t>(index)] : nullptr;
}

void YBSector::AddVehicle(YBVehicle* record) {
  Vehicles.push_back(record);
  record->Sector = this;
}

void YBSector::RemoveVehicle(YBVehicle* record) {
  if (record == nullptr || record->Sector != this) {
    return;
  }
  record->Sector = nullptr;
  Vehicles.erase(std::remove(Vehicles.begin(), Vehicles.end(), record), Vehicles.end());
}

YBVehicle* YBSector::GetVehicle(int32_t index) const {
  return index >= 0 && index < GetVehicleCount() ? Vehicles[static_cast<size_t>(index)] : nullptr;
}

bool YBSector::IsNeighbour(const YBSector* other) const {
  return other != nullptr && Sector != nullptr && Sector->FindBorderTo(other->Sector) != nullptr;
}

int32_t YBSector::GetBorderID(const YBSector* other) const {
  if (other == nullptr || Sector == nullptr) {
    return -1;
  }
  YLSectorBorder* border = Sector->FindBorderTo(other->Sector);
  return border != nullptr ? static_cast<int32_t>(border->GetID()) : -1;
}

void YBSector::Forget(const YBThing* record) {
  Buildings.erase(std::remove(Buildings.begin(), Buildings.end(), record), Buildings.end());
  const auto vehicle = std::find(Vehicles.begin(), Vehicles.end(), record);
  if (vehicle != Vehicles.end()) {
    RemoveVehicle(*vehicle);
  }
  if (Special == record) {
    Special = nullptr;
  }
}
