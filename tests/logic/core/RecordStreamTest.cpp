#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/LumoMemoryStream.h"
#include "logic/core/BuildingInfo.h"
#include "logic/core/ContainerInfo.h"
#include "logic/core/ThingInfo.h"
#include "logic/core/UnitInfo.h"
#include "logic/core/YLWeapon.h"
#include "runtime/DebugLog.h"
#include "support/DebugLogReader.h"

namespace {

using Bytes = std::vector<uint8_t>;
using ObjectOwner = std::unique_ptr<LumoObject, tObjectDestroyer>;

// ---- Byte building ----

void AddInteger(Bytes& bytes, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) {
    bytes.push_back(static_cast<uint8_t>(value >> shift));
  }
}
void AddSingle(Bytes& bytes, float value) {
  const auto bits = std::bit_cast<uint32_t>(value);
  for (int shift = 0; shift < 32; shift += 8) {
    bytes.push_back(static_cast<uint8_t>(bits >> shift));
  }
}
void AddText(Bytes& bytes, const std::string& text) {
  AddInteger(bytes, static_cast<uint32_t>(text.size()));
  bytes.insert(bytes.end(), text.begin(), text.end());
}
void AddHeader(Bytes& bytes, const std::string& className) {
  for (char letter : {'L', 'u', 'm', 'o'}) {
    bytes.push_back(static_cast<uint8_t>(letter));
  }
  AddInteger(bytes, kVersion_1_6_0_6);
  AddText(bytes, className);
}

// ---- Streams ----

Bytes Save(LumoObject& object) {
  LumoMemoryStream stream;
  EXPECT_TRUE(stream.OpenNew(16, 1, 0));
  EXPECT_EQ(stream.SetGrowth(256), 256u);
  EXPECT_TRUE(object.SaveObject(&stream, 0));
  return Bytes(stream.buffer, stream.buffer + stream.position);
}

// Loads one record from the bytes; the stream's position afterwards goes to
// *position when asked for.
ObjectOwner Load(Bytes bytes, int32_t* position = nullptr) {
  bytes.push_back(0);  // a stream needs a block; the spare byte stays unread
  LumoMemoryStream stream;
  EXPECT_TRUE(stream.OpenBuffer(bytes.data(), static_cast<uint32_t>(bytes.size() - 1), 1, 0));
  ObjectOwner object(LoadObject(&stream, nullptr));
  if (position != nullptr) {
    *position = stream.GetPosition();
  }
  return object;
}

template <typename Record>
std::unique_ptr<Record, tObjectDestroyer> Loaded(const Bytes& bytes) {
  ObjectOwner object = Load(bytes);
  auto* record = dynamic_cast<Record*>(object.get());
  if (record != nullptr) {
    object.release();
  }
  return std::unique_ptr<Record, tObjectDestroyer>(record);
}

// ---- Records with every field away from its default ----

void FillThing(ThingInfo& info) {
  info.X = -3;
  info.Y = 70000;
  info.Z = 2;
  info.Status = 0x80000005u;
  info.Ori = 200;
  info.Hp = 0.25f;
  info.Armor = 0.125f;
  info.Tid = 4095;
  info.Owner = 3;
  info.Gfx = 17;
  info.Time = -1;
  info.BuildingType = 14;
  info.SetMove(nullptr, 9);
  info.AddWall(info.X + 1, info.Y - 1, false);
}

void FillUnit(UnitInfo& info) {
  FillThing(info);
  float value = 0.5f;
  for (float* field : {&info.Cons, &info.Fear, &info.Carefulness, &info.Anger, &info.Boredom, &info.Loyalty,
                       &info.Beer, &info.Dope, &info.Stamina, &info.Flirt}) {
    *field = value;
    value += 0.25f;
  }
  info.Weapon = 3;
  info.Ammo = 40;
  info.Leader = 12;
  info.Situation = 7;
}

void FillContainer(ContainerInfo& info) {
  FillThing(info);
  info.AddContainedID(5);
  info.AddContainedID(-6);
  info.MaxCarry = 3;
  info.SetEntranceRel(-1, 2);
}

void FillBuilding(BuildingInfo& info) {
  FillContainer(info);
  info.Money = 1234;
  info.SuitChick = 0;
}

using Filler = std::function<void(ThingInfo&)>;

void FillByClass(ThingInfo& info) {
  if (auto* leader = dynamic_cast<LeaderInfo*>(&info)) {
    FillUnit(*leader);
    leader->Leadership = 0.875f;
    leader->SetName("Big Ron");
    leader->GroupSize = 16;
    for (int32_t index = 0; index < LeaderInfo::kMaxGroupSize; ++index) {
      leader->Group[index] = 100 + index;
    }
    leader->GroupID = 255;
    leader->DopeDoses = 99;
  } else if (auto* unit = dynamic_cast<UnitInfo*>(&info)) {
    FillUnit(*unit);
  } else if (auto* pub = dynamic_cast<PubInfo*>(&info)) {
    FillBuilding(*pub);
    pub->HCRatjes = 1;
    pub->HCGabbers = 2;
    pub->HCYobbozers = 3;
    pub->HCBikers = 4;
    pub->HCSkins = 5;
    pub->HCBulches = 10;
    pub->SupporterBeer = -8;
    pub->SetName("Red Lion");
  } else if (auto* building = dynamic_cast<BuildingInfo*>(&info)) {
    FillBuilding(*building);
  } else if (auto* vehicle = dynamic_cast<VehicleInfo*>(&info)) {
    FillContainer(*vehicle);
    vehicle->DriverID = 77;
  } else if (auto* shack = dynamic_cast<ShackInfo*>(&info)) {
    FillContainer(*shack);
    shack->WeaponGrade = 3;
    shack->WeaponCount = 0;
    shack->Guns = 9;
    shack->Molotovs = -1;
    shack->Ammo = 1;
    shack->Dope = 2;
  } else if (auto* container = dynamic_cast<ContainerInfo*>(&info)) {
    FillContainer(*container);
  } else {
    FillThing(info);
  }
}

// Every field of a record, as text, so two records compare field by field.
std::string Describe(const ThingInfo& info) {
  std::string text = std::string(info.GetClassName()) + " " + std::to_string(info.X) + " " +
                     std::to_string(info.Y) + " " + std::to_string(info.Z) + " " + std::to_string(info.Status) + " " +
                     std::to_string(info.Ori) + " " + std::to_string(info.Hp) + " " + std::to_string(info.Armor) +
                     " " + std::to_string(info.Tid) + " " + std::to_string(info.Owner) + " " +
                     std::to_string(info.Gfx) + " " + std::to_string(info.Time) + " " +
                     std::to_string(info.BuildingType) + " move " + std::to_string(info.MoveNumber) + " map";
  if (info.Ground != nullptr) {
    for (const auto& points : info.Ground->Points) {
      text += " |";
      for (int32_t index = 0; index < points.count; ++index) {
        text += " " + std::to_string(points[index]);
      }
    }
  }
  tString dump;
  info.DebugPrint(dump);  // the class parts below the thing's own line
  text += "\n";
  text += dump.text != nullptr ? dump.text : "";
  if (const auto* unit = dynamic_cast<const UnitInfo*>(&info)) {
    text += " cons " + std::to_string(unit->Cons) + " care " + std::to_string(unit->Carefulness) + " bored " +
            std::to_string(unit->Boredom) + " loyal " + std::to_string(unit->Loyalty) + " weapon " +
            std::to_string(unit->Weapon) + " leader " + std::to_string(unit->Leader) + " sit " +
            std::to_string(unit->Situation);
  }
  if (const auto* leader = dynamic_cast<const LeaderInfo*>(&info)) {
    text += " leadership " + std::to_string(leader->Leadership) + " id " + std::to_string(leader->GroupID) +
            " group";
    for (int32_t member : leader->Group) {
      text += " " + std::to_string(member);
    }
  }
  if (const auto* building = dynamic_cast<const BuildingInfo*>(&info)) {
    text += " suit " + std::to_string(building->SuitChick);
  }
  if (const auto* vehicle = dynamic_cast<const VehicleInfo*>(&info)) {
    text += " driver " + std::to_string(vehicle->DriverID);
  }
  return text;
}

// ---- Round trips ----

TEST(RecordStream, EveryRecordClassComesBackFieldForField) {
  for (const char* kind : {(const char*)nullptr, "UnitRat", "UnitLeader", "Home", "Pub", "Vehicle", "Shack"}) {
    std::unique_ptr<ThingInfo, tObjectDestroyer> original(CreateThingInfo(0, 0, 0, 0, 0, kind));
    FillByClass(*original);
    SCOPED_TRACE(original->GetClassName());
    const Bytes bytes = Save(*original);
    std::unique_ptr<ThingInfo, tObjectDestroyer> copy = Loaded<ThingInfo>(bytes);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(Describe(*copy), Describe(*original));
    EXPECT_EQ(copy->Move, nullptr);
    EXPECT_EQ(Save(*copy), bytes);
    std::unique_ptr<ThingInfo, tObjectDestroyer> fresh(CreateThingInfo(0, 0, 0, 0, 0, kind));
    EXPECT_NE(Describe(*fresh), Describe(*original)) << "the filler leaves fields at their defaults";
  }
  ContainerInfo container;
  FillByClass(container);
  std::unique_ptr<ContainerInfo, tObjectDestroyer> copy = Loaded<ContainerInfo>(Save(container));
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(Describe(*copy), Describe(container));
}

TEST(RecordStream, ARecordWithoutGroundMapComesBackWithoutOne) {
  VehicleInfo vehicle;
  std::unique_ptr<VehicleInfo, tObjectDestroyer> copy = Loaded<VehicleInfo>(Save(vehicle));
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->Ground, nullptr);
  EXPECT_EQ(copy->MaxCarry, 7);
}

TEST(RecordStream, WeaponsComeBackWithTheSplatRangeBitPattern) {
  YLWeapon weapon(1.5f, 2.0f, 8, 9, 3.25f, 15, true, 1500, 4, 5);
  weapon.SetName("Grenade");
  const Bytes bytes = Save(weapon);
  Bytes expected;
  AddHeader(expected, "YLWeapon");
  AddSingle(expected, 1.5f);
  AddSingle(expected, 2.0f);
  AddInteger(expected, std::bit_cast<uint32_t>(3.25f));  // big-endian, as a "tInteger"
  AddInteger(expected, 8);
  AddInteger(expected, 9);
  AddInteger(expected, 15);
  AddInteger(expected, 1500);
  expected.push_back(1);
  AddInteger(expected, 5);
  AddInteger(expected, 4);
  AddText(expected, "Grenade");
  EXPECT_EQ(bytes, expected);

  std::unique_ptr<YLWeapon, tObjectDestroyer> copy = Loaded<YLWeapon>(bytes);
  ASSERT_NE(copy, nullptr);
  EXPECT_FLOAT_EQ(copy->GetSplatRange(), 3.25f);
  EXPECT_STREQ(copy->GetName(), "Grenade");
  EXPECT_EQ(Save(*copy), bytes);
}

// The stream order is the registration order, not the field order.
TEST(RecordStream, AUnitRecordIsStoredInRegistrationOrder) {
  UnitInfo unit;
  FillUnit(unit);
  Bytes expected;
  AddHeader(expected, "UnitInfo");
  AddInteger(expected, static_cast<uint32_t>(-3));  // X
  AddInteger(expected, 70000);                      // Y
  AddInteger(expected, 2);                          // Z
  AddInteger(expected, 0x80000005u);                // Status
  expected.push_back(200);                          // Ori
  AddSingle(expected, 0.25f);                       // Hp
  AddSingle(expected, 0.125f);                      // Armor
  AddInteger(expected, 4095);                       // Tid
  AddInteger(expected, 3);                          // Owner
  AddInteger(expected, 17);                         // Gfx
  expected.push_back(0xFF);                         // Time
  AddInteger(expected, 14);                         // BuildingType
  AddInteger(expected, 9);                          // References: the move's number
  expected.push_back(1);                            // GroundMap: present, then its record
  AddHeader(expected, "GroundMap");
  for (int32_t ori = 0; ori < GroundMap::kOrientations; ++ori) {
    // Ori 200 faces 0: its footprint gained the origin again and (1, -1).
    if (ori == 0) {
      AddInteger(expected, 6);
      for (int32_t value : {0, 0, 0, 0, 1, -1}) {
        AddInteger(expected, static_cast<uint32_t>(value));
      }
    } else {
      AddInteger(expected, 2);
      AddInteger(expected, 0);
      AddInteger(expected, 0);
    }
  }
  // Fields were filled from 0.5 in steps of 0.25 in field order: Cons, Fear,
  // Carefulness, Anger, Boredom, Loyalty, Beer, Dope, Stamina, Flirt.
  AddSingle(expected, unit.Anger);
  AddSingle(expected, unit.Beer);
  AddSingle(expected, unit.Boredom);
  AddSingle(expected, unit.Carefulness);
  AddSingle(expected, unit.Cons);
  AddSingle(expected, unit.Dope);
  AddSingle(expected, unit.Flirt);
  AddSingle(expected, unit.Fear);
  AddInteger(expected, 12);  // Leader
  AddSingle(expected, unit.Stamina);
  AddInteger(expected, 40);  // Ammo
  AddSingle(expected, unit.Loyalty);
  AddInteger(expected, 7);  // Situation
  AddInteger(expected, 3);  // Weapon
  EXPECT_EQ(Save(unit), expected);
}

// ---- The "suit:" chunk ----

Bytes WithoutSuitChunk(const Bytes& bytes) {
  const uint8_t marker[] = {0, 0, 0, 5, 's', 'u', 'i', 't', ':'};
  auto at = std::search(bytes.begin(), bytes.end(), std::begin(marker), std::end(marker));
  EXPECT_NE(at, bytes.end());
  Bytes older(bytes.begin(), at);
  older.insert(older.end(), at + sizeof marker + 4, bytes.end());
  return older;
}

TEST(RecordStream, AMissingSuitChunkRewindsAndKeepsTheDefault) {
  // A building record of an older stream ends where the chunk would start;
  // a pub record goes on with its own fields.
  BuildingInfo building;
  FillBuilding(building);
  PubInfo pub;
  FillByClass(pub);
  for (ThingInfo* record : {static_cast<ThingInfo*>(&building), static_cast<ThingInfo*>(&pub)}) {
    SCOPED_TRACE(record->GetClassName());
    Bytes older = WithoutSuitChunk(Save(*record));
    const int32_t recordSize = static_cast<int32_t>(older.size());
    AddInteger(older, 0xCAFEu);  // whatever the stream holds next stays for its reader
    int32_t position = -1;
    ObjectOwner object = Load(older, &position);
    auto* copy = dynamic_cast<BuildingInfo*>(object.get());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(position, recordSize);
    EXPECT_EQ(copy->SuitChick, BuildingInfo::kDefaultSuitChick);
    EXPECT_EQ(copy->Money, 1234);
    BuildingInfo& expected = *dynamic_cast<BuildingInfo*>(record);
    expected.SuitChick = BuildingInfo::kDefaultSuitChick;
    EXPECT_EQ(Describe(*copy), Describe(expected));
  }
}

// ---- Damaged counts ----

// Replaces the 4 bytes at offset with a big-endian value.
Bytes Patched(Bytes bytes, size_t offset, uint32_t value) {
  Bytes replacement;
  AddInteger(replacement, value);
  std::copy(replacement.begin(), replacement.end(), bytes.begin() + static_cast<std::ptrdiff_t>(offset));
  return bytes;
}

TEST(RecordStream, DamagedCountsFailTheLoad) {
  GroundMap map;
  const Bytes mapBytes = Save(map);
  const size_t firstMapCount = 8 + 4 + std::strlen("GroundMap");
  ContainerInfo container;
  const Bytes containerBytes = Save(container);  // ends with the contained count
  const size_t containedCount = containerBytes.size() - 4;
  PubInfo pub;
  const Bytes pubBytes = Save(pub);
  const size_t firstCounter = pubBytes.size() - (4 + std::strlen("bla")) - 6 * 4;  // HCRatjes

  // Each refusal names its reason in the debug log.
  const struct {
    const char* what;
    Bytes bytes;
    const char* logged;  // null: the record loads
  } cases[] = {
      {"ground map as saved", mapBytes, nullptr},
      {"ground map count negative", Patched(mapBytes, firstMapCount, static_cast<uint32_t>(-2)),
       "GroundMap: the stored count -2 of Data is not a valid count"},
      {"ground map count odd", Patched(mapBytes, firstMapCount, 1),
       "GroundMap: the stored count 1 of Data is not a valid count"},
      {"ground map count past the stream", Patched(mapBytes, firstMapCount, 1000),
       "GroundMap: the stored count 1000 of Data exceeds the 92 bytes left"},
      {"ground map count at the integer limit", Patched(mapBytes, firstMapCount, 0x7FFFFFFE),
       "GroundMap: the stored count 2147483646 of Data exceeds"},
      {"contained count negative", Patched(containerBytes, containedCount, static_cast<uint32_t>(-1)),
       "ContainerInfo: the stored count -1 of ContainedThing is not a valid count"},
      {"contained count past the stream", Patched(containerBytes, containedCount, 1),
       "ContainerInfo: the stored count 1 of ContainedThing exceeds the 0 bytes left"},
      {"contained count huge", Patched(containerBytes, containedCount, 0x40000000),
       "ContainerInfo: the stored count 1073741824 of ContainedThing exceeds"},
      {"recruit counter above a byte", Patched(pubBytes, firstCounter, 256),
       "PubInfo: the stored HCRatjes 256 does not fit its 8-bit field"},
      {"recruit counter negative", Patched(pubBytes, firstCounter, static_cast<uint32_t>(-1)),
       "PubInfo: the stored HCRatjes -1 does not fit"},
      {"recruit counter of a byte", Patched(pubBytes, firstCounter, 255), nullptr},
  };
  ASSERT_EQ(SetDebugMode(DebugModeOverwrite), DebugModeOverwrite);
  for (const auto& entry : cases) {
    EXPECT_EQ(Load(entry.bytes) != nullptr, entry.logged == nullptr) << entry.what;
    if (entry.logged != nullptr) {
      const std::string log = testing_support::ReadDebugLog();
      EXPECT_NE(log.find(entry.logged), std::string::npos) << entry.what << "\n" << log;
    }
  }
  SetDebugMode(DebugModeOff);
}

TEST(RecordStream, AGroupOfMoreThanSixteenFailsTheLoad) {
  LeaderInfo leader;
  Bytes saved = Save(leader);  // ends with the group size 0
  ASSERT_EQ(saved.back(), 0);
  saved.pop_back();
  const struct {
    int size;
    bool loads;
  } cases[] = {{16, true}, {17, false}, {255, false}};
  for (const auto& entry : cases) {
    Bytes bytes = saved;
    bytes.push_back(static_cast<uint8_t>(entry.size));
    for (int member = 0; member < entry.size; ++member) {
      AddInteger(bytes, static_cast<uint32_t>(member + 1));
    }
    ASSERT_EQ(SetDebugMode(DebugModeOverwrite), DebugModeOverwrite);
    std::unique_ptr<LeaderInfo, tObjectDestroyer> copy = Loaded<LeaderInfo>(bytes);
    SetDebugMode(DebugModeOff);
    EXPECT_EQ(copy != nullptr, entry.loads) << entry.size;
    const std::string refusal = "stores a group of " + std::to_string(entry.size) + ", more than 16";
    EXPECT_EQ(testing_support::ReadDebugLog().find(refusal) != std::string::npos, !entry.loads) << entry.size;
    if (copy != nullptr) {
      EXPECT_EQ(copy->GroupSize, entry.size);
      EXPECT_EQ(copy->Group[15], 16);
    }
  }
}

TEST(RecordStream, AGroundMapWhereAnotherObjectStandsFailsTheLoad) {
  ThingInfo info;
  info.AddWall(0, 0, false);
  const Bytes bytes = Save(info);
  // The ground map is the record's last field: its embedded record (header,
  // class name, data) is replaced by a whole weapon record.
  const std::string name = "GroundMap";
  auto at = std::search(bytes.begin(), bytes.end(), name.begin(), name.end());
  ASSERT_NE(at, bytes.end());
  Bytes damaged(bytes.begin(), at - 4 - 8);
  YLWeapon weapon;
  const Bytes weaponBytes = Save(weapon);
  damaged.insert(damaged.end(), weaponBytes.begin(), weaponBytes.end());
  EXPECT_EQ(Load(damaged), nullptr);

  Bytes intact(bytes.begin(), at - 4 - 8);
  const Bytes mapBytes = Save(*info.Ground);
  intact.insert(intact.end(), mapBytes.begin(), mapBytes.end());
  EXPECT_NE(Load(intact), nullptr);
}

}  // namespace
