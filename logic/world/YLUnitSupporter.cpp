#include "logic/world/YLUnitSupporter.h"

#include "base/LumoClass.h"

namespace {

LumoClassOf<YLUnitSupporter> classOfYLUnitSupporter(kVersion_1_6_0_6, "YLUnitSupporter", "YLUnit");
LumoClassOf<YLUnitHardCore> classOfYLUnitHardCore(kVersion_1_6_0_6, "YLUnitHardCore", "YLUnitSupporter");
LumoClassOf<YLUnitRat> classOfYLUnitRat(kVersion_1_6_0_6, "YLUnitRat", "YLUnitHardCore");
LumoClassOf<YLUnitRaver> classOfYLUnitRaver(kVersion_1_6_0_6, "YLUnitRaver", "YLUnitHardCore");
LumoClassOf<YLUnitRozav> classOfYLUnitRozav(kVersion_1_6_0_6, "YLUnitRozav", "YLUnitHardCore");
LumoClassOf<YLUnitYobb> classOfYLUnitYobb(kVersion_1_6_0_6, "YLUnitYobb", "YLUnitHardCore");

}  // namespace

YLUnitSupporter::YLUnitSupporter() = default;
const char* YLUnitSupporter::GetClassName() const { return "YLUnitSupporter"; }

YLUnitHardCore::YLUnitHardCore() = default;
const char* YLUnitHardCore::GetClassName() const { return "YLUnitHardCore"; }
bool YLUnitHardCore::IsSelectable() const { return true; }

void YLUnitHardCore::SetLeader(int32_t leader) {
  if (UnitInfo* info = GetUnitInfo()) {
    info->Leader = leader;
  }
}

YLUnitRat::YLUnitRat() = default;
const char* YLUnitRat::GetClassName() const { return "YLUnitRat"; }

YLUnitRaver::YLUnitRaver() = default;
const char* YLUnitRaver::GetClassName() const { return "YLUnitRaver"; }

YLUnitRozav::YLUnitRozav() = default;
const char* YLUnitRozav::GetClassName() const { return "YLUnitRozav"; }

YLUnitYobb::YLUnitYobb() = default;
const char* YLUnitYobb::GetClassName() const { return "YLUnitYobb"; }
