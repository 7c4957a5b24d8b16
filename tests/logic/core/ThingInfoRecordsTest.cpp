#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "base/LumoClass.h"
#include "logic/core/BuildingInfo.h"
#include "logic/core/ContainerInfo.h"
#include "logic/core/ThingInfo.h"
#include "logic/core/UnitInfo.h"

namespace {

struct InfoDestroyer {
  void operator()(ThingInfo* info) const { DestroyThingInfo(info); }
};
using InfoOwner = std::unique_ptr<ThingInfo, InfoDestroyer>;

InfoOwner Create(const char* kind, int32_t x = 0, int32_t y = 0, uint8_t ori = 0, int32_t owner = 0) {
  return InfoOwner(CreateThingInfo(x, y, 0, ori, owner, kind));
}

// ---- The record a keyword makes ----

TEST(ThingInfoRecords, CreateThingInfoPicksTheClassByKeywordPrefix) {
  const struct {
    const char* kind;
    const char* className;
  } cases[] = {
      {nullptr, "ThingInfo"},
      {"UnitRat", "UnitInfo"},
      {"UnitLeader", "LeaderInfo"},
      {"UnitLeaderBoss", "LeaderInfo"},
      {"UnitLeade", "UnitInfo"},
      {"Unit", "UnitInfo"},
      {"Shop01", "BuildingInfo"},
      {"Home12", "BuildingInfo"},
      {"Pub", "PubInfo"},
      {"PubRedLion", "PubInfo"},
      {"Weapon01", "BuildingInfo"},
      {"Dope01", "BuildingInfo"},
      {"Girls01", "BuildingInfo"},
      {"SuitHangout", "BuildingInfo"},
      {"Suit", "ThingInfo"},
      {"Vehicle021", "VehicleInfo"},
      {"Shack", "ShackInfo"},
      {"unitRat", "ThingInfo"},
      {"Scene01", "ThingInfo"},
      {"", "ThingInfo"},
  };
  for (const auto& entry : cases) {
    InfoOwner info = Create(entry.kind, 3, 4, 5, 2);
    ASSERT_NE(info, nullptr);
    EXPECT_STREQ(info->GetClassName(), entry.className) << (entry.kind ? entry.kind : "(null)");
    EXPECT_EQ(info->X, 3);
    EXPECT_EQ(info->Y, 4);
    EXPECT_EQ(info->Ori, 5);
    EXPECT_FLOAT_EQ(info->Hp, 1.0f);
  }
}

TEST(ThingInfoRecords, TypeTestsAnswerPerClass) {
  const struct {
    const char* kind;
    bool unit, leader, container, vehicle, building, shop, vehicleContainer;
  } cases[] = {
      {nullptr, false, false, false, false, false, false, false},
      {"UnitRat", true, false, false, false, false, false, false},
      {"UnitLeader", true, true, false, false, false, false, false},
      {"Home", false, false, true, false, true, false, false},
      {"Pub", false, false, true, false, true, true, false},
      {"Vehicle", false, false, true, true, false, false, true},
      {"Shack", false, false, true, false, false, false, false},
  };
  for (const auto& entry : cases) {
    InfoOwner info = Create(entry.kind);
    SCOPED_TRACE(info->GetClassName());
    EXPECT_EQ(info->IsUnit(), entry.unit);
    EXPECT_EQ(info->IsLeader(), entry.leader);
    EXPECT_EQ(info->IsContainer(), entry.container);
    EXPECT_EQ(info->IsVehicle(), entry.vehicle);
    EXPECT_EQ(info->IsBuilding(), entry.building);
    EXPECT_EQ(info->IsShop(), entry.shop);
    EXPECT_EQ(info->IsVehicleContainer(), entry.vehicleContainer);
  }
}

TEST(ThingInfoRecords, ABuildingIsAShopOnlyWhileItSellsToUnits) {
  InfoOwner info = Create("Shop");
  EXPECT_FALSE(info->IsShop());
  info->Status |= StatusSellsToUnits;
  EXPECT_TRUE(info->IsShop());
}

TEST(ThingInfoRecords, NewRecordsStartWithTheirClassDefaults) {
  ThingInfo plain;
  EXPECT_EQ(plain.Status, 1u);
  EXPECT_EQ(plain.Ori, 7);
  EXPECT_FLOAT_EQ(plain.Hp, 1.0f);
  EXPECT_EQ(plain.Ground, nullptr);
  EXPECT_EQ(plain.BuildingType, 0);

  InfoOwner unit = Create("UnitRat");
  auto* unitInfo = dynamic_cast<UnitInfo*>(unit.get());
  EXPECT_EQ(unitInfo->Status, 0x1001u);
  EXPECT_FLOAT_EQ(unitInfo->Cons, 1.0f);
  EXPECT_FLOAT_EQ(unitInfo->Loyalty, 0.75f);
  EXPECT_FLOAT_EQ(unitInfo->Stamina, 1.0f);
  EXPECT_EQ(unitInfo->Situation, 1);

  InfoOwner leader = Create("UnitLeader");
  auto* leaderInfo = dynamic_cast<LeaderInfo*>(leader.get());
  EXPECT_EQ(leaderInfo->Status, 0x1001u);
  EXPECT_FLOAT_EQ(leaderInfo->Leadership, 0.5f);
  EXPECT_STREQ(leaderInfo->LeaderName, "<name>");
  EXPECT_EQ(leaderInfo->Leader, leaderInfo->Tid);
  EXPECT_EQ(leaderInfo->GroupSize, 0);

  InfoOwner building = Create("Home", 0, 0, 0, 4);
  auto* buildingInfo = dynamic_cast<BuildingInfo*>(building.get());
  EXPECT_EQ(buildingInfo->Status, 1u);
  EXPECT_EQ(buildingInfo->Owner, 4);
  EXPECT_EQ(buildingInfo->MaxCarry, 20);
  EXPECT_EQ(buildingInfo->Money, 0);
  EXPECT_EQ(buildingInfo->SuitChick, 5);
  EXPECT_EQ(buildingInfo->BuildingType, 8);
  EXPECT_FLOAT_EQ(buildingInfo->Armor, 0.9f);

  InfoOwner pub = Create("Pub", 0, 0, 0, 4);
  auto* pubInfo = dynamic_cast<PubInfo*>(pub.get());
  EXPECT_EQ(pubInfo->Status, 1u | StatusSellsToUnits);
  EXPECT_EQ(pubInfo->Owner, 0);
  EXPECT_STREQ(pubInfo->Name, "bla");

  InfoOwner vehicle = Create("Vehicle");
  auto* vehicleInfo = dynamic_cast<VehicleInfo*>(vehicle.get());
  EXPECT_EQ(vehicleInfo->MaxCarry, 7);
  EXPECT_FLOAT_EQ(vehicleInfo->Armor, 0.32f);
  EXPECT_EQ(vehicleInfo->DriverID, 0);
  EXPECT_EQ(vehicleInfo->BuildingType, 0);

  InfoOwner shack = Create("Shack");
  auto* shackInfo = dynamic_cast<ShackInfo*>(shack.get());
  EXPECT_EQ(std::vector<int32_t>({shackInfo->WeaponGrade, shackInfo->WeaponCount, shackInfo->Guns,
                                  shackInfo->Molotovs, shackInfo->Ammo, shackInfo->Dope}),
            std::vector<int32_t>({2, 6, 1, 5, 13, 35}));
}

TEST(ThingInfoRecords, DestroyThingInfoIgnoresNull) { DestroyThingInfo(nullptr); }

// ---- Registration: the stream order of every class ----

std::vector<std::string> Properties(const char* className) {
  std::vector<std::string> names;
  const LumoClass* record = FindClass(className);
  if (record == nullptr) {
    return names;
  }
  for (const LumoProperty* property = record->firstProperty; property != nullptr; property = property->next) {
    EXPECT_EQ(property->version, kVersion_1_6_0_6) << property->fieldName;
    names.push_back(std::string(property->fieldName) + ":" + property->typeName);
  }
  return names;
}

TEST(ThingInfoRecords, EveryClassRegistersItsFieldsInStreamOrder) {
  const struct {
    const char* className;
    const char* baseName;
    std::vector<std::string> properties;
  } cases[] = {
      {"ThingInfo",
       "LumoObject",
       {"X:tInteger", "Y:tInteger", "Z:tInteger", "Status:tCardinal", "Ori:tByte", "Hp:tSingle", "Armor:tSingle",
        "Tid:tInteger", "Owner:tInteger", "Gfx:tInteger", "Time:tSignedByte", "BuildingType:tInteger",
        "References:tPointer", "GroundMap:tUnknown"}},
      {"UnitInfo",
       "ThingInfo",
       {"Anger:tSingle", "Beer:tSingle", "Boredom:tSingle", "Carefulness:tSingle", "Cons:tSingle", "Dope:tSingle",
        "Flirt:tSingle", "Fear:tSingle", "Leader:tInteger", "Stamina:tSingle", "Ammo:tInteger", "Loyalty:tSingle",
        "Situation:tInteger", "Weapon:tInteger"}},
      {"LeaderInfo",
       "UnitInfo",
       {"DopeDoses:tInteger", "GroupID:tInteger", "Leadership:tSingle", "LeaderName:tCharStr", "Group:tPointer"}},
      {"ContainerInfo",
       "ThingInfo",
       {"ExitX:tInteger", "ExitY:tInteger", "MaxCarry:tInteger", "ContainedThing:tPointer"}},
      {"BuildingInfo", "ContainerInfo", {"Money:tInteger", "SuitChick:tPointer"}},
      {"PubInfo",
       "BuildingInfo",
       {"SupporterBeer:tInteger", "HCRatjes:tInteger", "HCGabbers:tInteger", "HCYobbozers:tInteger",
        "HCBikers:tInteger", "HCSkins:tInteger", "HCBulches:tInteger", "Name:tCharStr"}},
      {"VehicleInfo", "ContainerInfo", {"DriverID:tInteger"}},
      {"ShackInfo",
       "ContainerInfo",
       {"WeaponGrade:tInteger", "WeaponCount:tInteger", "Guns:tInteger", "Molotovs:tInteger", "Ammo:tInteger",
        "Dope:tInteger"}},
      {"GroundMap", "LumoObject", {"Data:tPointer"}},
  };
  for (const auto& entry : cases) {
    SCOPED_TRACE(entry.className);
    const LumoClass* record = FindClass(entry.className);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->version, kVersion_1_6_0_6);
    EXPECT_STREQ(record->baseName, entry.baseName);
    EXPECT_EQ(Properties(entry.className), entry.properties);
  }
}

TEST(ThingInfoRecords, TheClassFactoriesMakeTheirRecords) {
  for (const char* className : {"ThingInfo", "UnitInfo", "LeaderInfo", "ContainerInfo", "BuildingInfo", "PubInfo",
                                "VehicleInfo", "ShackInfo", "GroundMap"}) {
    std::unique_ptr<LumoObject, tObjectDestroyer> object(CreateObject(className, nullptr));
    ASSERT_NE(object, nullptr) << className;
    EXPECT_STREQ(object->GetClassName(), className);
  }
}

// ---- Ground maps and walls ----

TEST(ThingInfoRecords, AFreshGroundMapHoldsTheOwnCellInEveryOrientation) {
  GroundMap map;
  for (int32_t ori = 0; ori < GroundMap::kOrientations; ++ori) {
    int32_t x = -1;
    int32_t y = -1;
    EXPECT_TRUE(map.GetPoint(ori, 0, x, y));
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    EXPECT_FALSE(map.GetPoint(ori, 1, x, y));
    EXPECT_FALSE(map.GetPoint(ori, -1, x, y));
  }
  int32_t x = 0;
  int32_t y = 0;
  EXPECT_FALSE(map.GetPoint(-1, 0, x, y));
  EXPECT_FALSE(map.GetPoint(8, 0, x, y));
  EXPECT_EQ(map.AddPoint(8, 1, 1), -1);
  EXPECT_EQ(map.AddPoint(3, 1, 2), 4);
  EXPECT_TRUE(map.GetPoint(3, 1, x, y));
  EXPECT_EQ(x, 1);
  EXPECT_EQ(y, 2);
}

std::vector<int32_t> PointsOf(const ThingInfo& info, int32_t ori) {
  std::vector<int32_t> values;
  const tCollection<int32_t>& points = info.Ground->Points[ori];
  for (int32_t index = 0; index < points.count; ++index) {
    values.push_back(points[index]);
  }
  return values;
}

TEST(ThingInfoRecords, AddWallOfTheOwnCellWithoutGroundMapDoublesTheOriginInTheFacing) {
  ThingInfo info(10, 20, 0, 3, 0);
  info.AddWall(10, 20, false);
  ASSERT_NE(info.Ground, nullptr);
  for (int32_t ori = 0; ori < GroundMap::kOrientations; ++ori) {
    EXPECT_EQ(PointsOf(info, ori), ori == 3 ? std::vector<int32_t>({0, 0, 0, 0}) : std::vector<int32_t>({0, 0}))
        << ori;
  }
}

TEST(ThingInfoRecords, AddWallAddsRelativeCellsOnceAndRemovesEveryCopy) {
  ThingInfo info(10, 20, 0, 2, 0);
  info.AddWall(12, 19, false);
  info.AddWall(12, 19, false);
  EXPECT_EQ(PointsOf(info, 2), std::vector<int32_t>({0, 0, 0, 0, 2, -1}));

  info.Ground->AddPoint(2, 2, -1);
  info.Ground->AddPoint(2, 2, -1);
  info.AddWall(12, 19, true);
  EXPECT_EQ(PointsOf(info, 2), std::vector<int32_t>({0, 0, 0, 0}));
  info.AddWall(10, 20, true);
  EXPECT_EQ(PointsOf(info, 2), std::vector<int32_t>());
  EXPECT_EQ(PointsOf(info, 1), std::vector<int32_t>({0, 0}));
}

TEST(ThingInfoRecords, RemovingAWallWithoutGroundMapDoesNothing) {
  ThingInfo info(1, 1, 0, 0, 0);
  info.AddWall(1, 1, true);
  EXPECT_EQ(info.Ground, nullptr);
}

TEST(ThingInfoRecords, AddWallUsesTheFacingInTheLowBitsOfOri) {
  ThingInfo info(0, 0, 0, 0xFA, 0);
  info.AddWall(1, 0, false);
  EXPECT_EQ(PointsOf(info, 2), std::vector<int32_t>({0, 0, 0, 0, 1, 0}));
}

// ---- Containers ----

TEST(ThingInfoRecords, ContainerAccessorsKeepIdsAndEntrance) {
  ContainerInfo info(5, 6, 0, 0, 0);
  info.SetMaxItems(2);
  info.SetEntranceRel(-1, 2);
  EXPECT_EQ(info.GetMaxItems(), 2);
  info.AddContainedID(7);
  info.AddContainedID(9);
  info.AddContainedID(7);
  EXPECT_TRUE(info.IsFull());
  info.RemoveContainedID(7);
  info.RemoveContainedID(42);
  ASSERT_EQ(info.GetContainedCount(), 2);
  EXPECT_EQ(info.GetContainedID(0), 9);
  EXPECT_EQ(info.GetContainedID(1), 7);
  EXPECT_EQ(info.GetContainedID(-1), 0);
  EXPECT_EQ(info.GetContainedID(2), 0);
  EXPECT_EQ(&info.GetContainedIDs(), &info.ContainedThing);
  int32_t x = 0;
  int32_t y = 0;
  info.GetEntranceRel(x, y);
  EXPECT_EQ(x, -1);
  EXPECT_EQ(y, 2);
  info.GetEntrance(x, y);
  EXPECT_EQ(x, 4);
  EXPECT_EQ(y, 8);
}

// ---- Pubs and names ----

TEST(ThingInfoRecords, PubRecruitCountersFollowTheirUnitTypes) {
  PubInfo pub;
  const int32_t recruitTypes[] = {1, 2, 7, 8, 9, 12};
  for (int32_t type : recruitTypes) {
    for (int32_t step = 0; step < 12; ++step) {
      pub.AddAvailableHC(type);
    }
    EXPECT_EQ(pub.CountAvailableHC(type), 10) << type;
    EXPECT_TRUE(pub.TakeAvailableHC(type));
    EXPECT_EQ(pub.CountAvailableHC(type), 9) << type;
  }
  EXPECT_EQ(std::vector<int>({pub.HCRatjes, pub.HCGabbers, pub.HCYobbozers, pub.HCBikers, pub.HCSkins,
                              pub.HCBulches}),
            std::vector<int>({9, 9, 9, 9, 9, 9}));
  for (int32_t type : {0, 3, 4, 5, 6, 10, 11, 13, -1}) {
    pub.AddAvailableHC(type);
    EXPECT_EQ(pub.CountAvailableHC(type), 0) << type;
    EXPECT_FALSE(pub.TakeAvailableHC(type)) << type;
  }
  PubInfo empty;
  EXPECT_FALSE(empty.TakeAvailableHC(1));
  EXPECT_EQ(empty.HCRatjes, 0);
}

TEST(ThingInfoRecords, SetNameKeepsACopyAndNullLeavesNone) {
  PubInfo pub;
  LeaderInfo leader;
  std::string text = "Red Lion";
  pub.SetName(text.c_str());
  leader.SetName(text.c_str());
  text[0] = 'X';
  EXPECT_STREQ(pub.Name, "Red Lion");
  EXPECT_STREQ(leader.LeaderName, "Red Lion");
  pub.SetName(pub.Name);
  EXPECT_STREQ(pub.Name, "Red Lion");
  pub.SetName(nullptr);
  leader.SetName(nullptr);
  EXPECT_EQ(pub.Name, nullptr);
  EXPECT_EQ(leader.LeaderName, nullptr);
}

// ---- Debug texts ----

class FixedDebugSource final : public ThingInfoDebugSource {
 public:
  void AppendThingText(const ThingInfo&, tString& text) const override { text += "[own]\n"; }
  const char* GetTypeName(int32_t) const override { return "UnitRat"; }
  const char* GetMoveName(const ThingInfo&) const override { return "MoveRest"; }
  int32_t GetMoveLength(const ThingInfo&) const override { return 4; }
};

TEST(ThingInfoRecords, DebugTextsAppendEachClassPartBaseFirst) {
  FixedDebugSource source;
  ThingInfo::SetDebugSource(&source);
  LeaderInfo leader(3, 4, 0, 2, 1);
  leader.Tid = 9;
  leader.Gfx = 10;
  leader.Time = 2;
  leader.Ammo = 6;
  leader.GroupSize = 3;
  leader.DopeDoses = 1;
  tString text("> ");
  leader.DebugPrint(text);
  ThingInfo::SetDebugSource(nullptr);
  EXPECT_STREQ(text.text,
               "> [own]\n"
               "thing9, UnitRat(10) hp=1.000, (3,4,0,2) 0x00001001\n"
               "action=MoveRest 2/4, type=0 armor=0.000\n"
               "unit: f=0.000 a=0.000 st=1.000 dope=0.000 dr=0.000 flirt=0.000000\n"
               "leader <name> gsize=3, dope=1 ammo=6\n");

  PubInfo pub;
  pub.ContainedThing.AppendInt(4);
  pub.ContainedThing.AppendInt(8);
  pub.Money = 12;
  pub.SupporterBeer = 3;
  pub.HCRatjes = 1;
  pub.HCGabbers = 2;
  pub.HCYobbozers = 3;
  pub.HCBikers = 4;
  pub.HCSkins = 5;
  pub.HCBulches = 6;
  tString pubText;
  pub.DebugPrint(pubText);
  const std::string pubDump = pubText.text;
  EXPECT_NE(pubDump.find("action= 0/0, type=8 armor=0.900\n"
                         "door(0,0), cont(2od20)  4 8\n"
                         "building: money=12\n"
                         "PUB bla\n: owner=0 beer=3\n 1 rats, 2 gabs, 3 yobbs\n 5 skins, 4 biks, 6 fats"),
            std::string::npos)
      << pubDump;

  ShackInfo shack;
  tString shackText;
  shack.DebugPrint(shackText);
  EXPECT_NE(std::string(shackText.text).find("grade=2 weapons=6, guns=1 ammo=13 molotovs=5 dope=35\n"),
            std::string::npos);
}

}  // namespace
