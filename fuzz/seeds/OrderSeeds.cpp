#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "fuzz/seeds/Seeds.h"
#include "logic/core/COrderPackage.h"
#include "logic/core/OrderBuilders.h"

namespace {

// The package in the comms layer's framing: [u16 kind][u32 length][payload],
// little-endian. The builder's package is freed here.
std::string Frame(COrderPackage* package) {
  std::string bytes;
  const auto kind = static_cast<uint16_t>(package->Kind);
  const auto length = static_cast<uint32_t>(package->Length);
  bytes += static_cast<char>(kind & 0xFF);
  bytes += static_cast<char>(kind >> 8);
  for (int32_t shift = 0; shift < 32; shift += 8) {
    bytes += static_cast<char>((length >> shift) & 0xFF);
  }
  if (package->Data != nullptr) {
    bytes.append(reinterpret_cast<const char*>(package->Data.get()),
                 static_cast<size_t>(package->Length));
  }
  DeleteOrderPackage(package);
  return bytes;
}

std::string Frames(std::initializer_list<std::function<COrderPackage*()>> builders) {
  std::string bytes;
  for (const auto& build : builders) {
    bytes += Frame(build());
  }
  return bytes;
}

COrderPackage* Raw(int16_t kind, const std::string& payload) {
  auto* package = new COrderPackage;
  package->Create(kind, payload.data(), static_cast<int32_t>(payload.size()));
  return package;
}

}  // namespace

// Orders for the fuzz target's logic: players 1 and 2, units 1-4 and leader
// 5 of player 1, units 6-8 and leader 9 of player 2, a civilian at 12, the
// buildings 10 and 11.
void WriteOrderSeeds(const std::filesystem::path& folder) {
  WriteSeed(folder, "units",
            Frames({[] { return GenerateSelectionOrder(1, 1, false, true); },
                    [] { return GenerateSelectionOrder(1, 2, true, true); },
                    [] { return GenerateGotoOrder(1, 15, 5, false, false); },
                    [] { return GenerateGotoOrder(1, 25, 3, true, true); },
                    [] { return GenerateAttackOrder(1, 7, true, false); },
                    [] { return GenerateEnterOrder(1, 10, false, true); },
                    [] { return GenerateLeaveOrder(1, false, false); },
                    [] { return GenerateHijackOrder(1, 11, true, true); },
                    [] { return GenerateChantOrder(1, false, true); },
                    [] { return GenerateCancelOrder(1, false); },
                    [] { return GeneratePatrollOrder(1, 5, 5, false, false); },
                    [] { return GenerateBaricadeOrder(1, 11, 4, true, false); },
                    [] { return GenerateSurrenderOrder(2); }}));
  WriteSeed(folder, "selections",
            Frames({[] { return GenerateGroupSelectionOrder(1, 1, false, true); },
                    [] { return GenerateGroupSelectionOrder(2, 255, true, true); },
                    [] { return GenerateSelectionOrder(1, 7, true, true); },
                    [] { return GenerateSelectionOrder(1, 12, true, true); },
                    [] { return GenerateSelectionOrder(1, 3, true, false); },
                    [] { return GenerateAddToGroupOrder(1, 5); },
                    [] { return GenerateAddToGroupOrder(1, 9); },
                    [] { return GenerateGroupSelectionOrder(1, 1, false, false); },
                    [] { return GenerateSelectionOrder(1, 0, false, true); }}));
  WriteSeed(folder, "shops",
            Frames({[] { return GenerateSelectionOrder(1, 4, false, true); },
                    [] { return GenerateBuyOrder(1, 10, 1); },
                    [] { return GenerateGiveBeerOrder(1, 10, 300); },
                    [] { return GenerateBuyWhoreOrder(1, 10, 2); },
                    [] { return GenerateBuySuitOrder(1, 11); },
                    [] { return GenerateBuyDopeSelectionOrder(1, 10); },
                    [] { return GenerateBuyDopeLeaderOrder(1, 10, 5, 3); },
                    [] { return GenerateBuyPleasureSelectionOrder(1, 10); },
                    [] { return GenerateBuyPleasureUnitOrder(1, 10, 4); },
                    [] { return GenerateUpgradeSelectionOrder(1, 11); },
                    [] { return GenerateUpgradeUnitOrder(1, 11, 6); },
                    [] { return GenerateBuyAmmoUnitOrder(2, 11, 6); }}));
  WriteSeed(folder, "actions",
            Frames({[] { return GenerateSelectionOrder(1, 3, false, true); },
                    [] { return GenerateBombOrder(1, 12, 6, false, false); },
                    [] { return GenerateCordonOrder(1, 18, 9, false, false); },
                    [] { return GenerateChargeOrder(1, 20, 4, true, false); },
                    [] { return GenerateTearGasOrder(1, 8, 8, false, true); },
                    [] { return GenerateArrestOrder(1, 9, 3, false, false); },
                    [] { return GenerateThrowMolotovPlaceOrder(1, 14, 7, false, false); },
                    [] { return GenerateGotoThingOrder(1, 10, false, false); },
                    [] { return GenerateAttackShootOrder(1, 6, false, true); },
                    [] { return GenerateThrowBrickOrder(1, 7, true, false); },
                    [] { return GenerateThrowMolotovOrder(1, 8, false, false); },
                    [] { return GenerateLootOrder(1, 11, false, false); },
                    [] { return GenerateGetDopeOrder(1, 10, false, true); },
                    [] { return GenerateBurgleOrder(1, 11, true, false); },
                    [] { return GenerateFlirtOrder(1, 12, false, false); },
                    [] { return GenerateInvestigateAlarmOrder(1, 11, false, false); },
                    [] { return GenerateInvestigateUnitOrder(1, 6, false, false); },
                    [] { return GenerateAssistanceOrder(1, 2, false, true); },
                    [] { return GenerateThrowTurretOrder(1, 9, false, false); },
                    [] { return GenerateRaveOrder(1, false, false); }}));
  // The shared scenario at frame 60: player 1's crew is 2-7 (leader 2),
  // player 2's 8-13 (leader 8); the pub is 14, the shop 15, a home 16, the
  // weapon shop 17, the bank 22, the players' bus 35, player 4's leader 40,
  // a police officer 48 and a civilian 51.
  WriteSeed(folder, "scenario",
            Frames({[] { return GenerateGroupSelectionOrder(1, 255, false, true); },
                    [] { return GenerateSelectionOrder(1, 3, true, true); },
                    [] { return GenerateSelectionOrder(1, 4, true, true); },
                    [] { return GenerateGotoOrder(1, 20, 20, false, false); },
                    [] { return GenerateAttackOrder(1, 9, true, false); },
                    [] { return GenerateThrowBrickOrder(1, 10, false, false); },
                    [] { return GenerateLootOrder(1, 15, false, false); },
                    [] { return GenerateEnterOrder(1, 14, false, true); },
                    [] { return GenerateBuyOrder(1, 14, 2); },
                    [] { return GenerateChantOrder(1, false, false); },
                    [] { return GenerateAddToGroupOrder(1, 2); },
                    [] { return GenerateGroupSelectionOrder(2, 255, false, true); },
                    [] { return GenerateHijackOrder(2, 35, false, false); },
                    [] { return GenerateBurgleOrder(2, 16, false, false); },
                    [] { return GenerateThrowMolotovOrder(2, 48, false, true); },
                    [] { return GenerateBombOrder(2, 30, 30, false, false); },
                    [] { return GenerateFlirtOrder(2, 51, false, false); },
                    [] { return GenerateBuySuitOrder(2, 17); },
                    [] { return GenerateUpgradeSelectionOrder(2, 17); },
                    [] { return GenerateSelectionOrder(4, 40, false, true); },
                    [] { return GenerateAttackShootOrder(4, 2, false, false); },
                    [] { return GenerateSelectionOrder(3, 48, false, true); },
                    [] { return GenerateArrestOrder(3, 8, 8, false, false); },
                    [] { return GenerateTearGasOrder(3, 40, 40, false, false); },
                    [] { return GenerateSurrenderOrder(4); },
                    [] { return GenerateGroupSelectionOrder(1, 255, false, false); }}));
  WriteSeed(folder, "frames",
            Frames({[] { return Raw(0, ""); }, [] { return Raw(0, "hello"); },
                    [] { return Raw(61, std::string(6, '\1')); }, [] { return Raw(-1, ""); },
                    [] { return Raw(5, std::string("\1\0\0\0\x0f\0\0\0\x05\0\0\0\2\1", 14)); },
                    [] { return Raw(3, std::string("\1\0\0\0\x80\0\0\0\0\1", 10)); }}));
  // A frame whose length claims more than the input holds.
  WriteSeed(folder, "cut", std::string("\x05\0\xff\xff\xff\x7f\1\0\0\0", 10));
}
