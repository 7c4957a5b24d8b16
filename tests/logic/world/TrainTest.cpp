// The train: its conductor's timetable at the station, the passengers it
// brings and the state it keeps in a saved game.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "VehicleFixture.h"
#include "base/LumoMemoryStream.h"
#include "logic/world/YLTTrain.h"

namespace vehicle_testing {
namespace {

using Bytes = std::vector<uint8_t>;

constexpr int32_t kStationX = 12;

Bytes SaveObject(LumoObject& object) {
  LumoMemoryStream stream;
  EXPECT_TRUE(stream.OpenNew(16, 1, 0));
  EXPECT_EQ(stream.SetGrowth(256), 256u);
  EXPECT_TRUE(object.SaveObject(&stream, 0));
  return Bytes(stream.buffer, stream.buffer + stream.position);
}

std::unique_ptr<LumoObject, tObjectDestroyer> LoadBytes(Bytes bytes) {
  bytes.push_back(0);  // a stream needs a block; the spare byte stays unread
  LumoMemoryStream stream;
  EXPECT_TRUE(stream.OpenBuffer(bytes.data(), static_cast<uint32_t>(bytes.size() - 1), 1, 0));
  return std::unique_ptr<LumoObject, tObjectDestroyer>(LoadObject(&stream, nullptr));
}

Bytes::iterator FindMarker(Bytes& bytes, const std::string& text) {
  Bytes pattern = {0, 0, 0, static_cast<uint8_t>(text.size())};
  pattern.insert(pattern.end(), text.begin(), text.end());
  return std::search(bytes.begin(), bytes.end(), pattern.begin(), pattern.end());
}

class TrainTest : public VehicleTest {
 protected:
  void SetUp() override {
    VehicleTest::SetUp();
    StopTraffic();
    train = MakeAs<YLTTrain>("TransTrain", 0, 0, 0, 1);
    ASSERT_NE(train, nullptr);
    conducter = dynamic_cast<YLTTrainConducter*>(train->GetDriver());
    ASSERT_NE(conducter, nullptr);
    conducter->StationX = kStationX;
    conducter->StationTime = 360;
    station = Make("Obst01", 14, 30);
    ASSERT_NE(station, nullptr);
    Bring(4, 20);
  }
  // Puts the train on the map at (x, y), heading east.
  void Bring(int32_t x, int32_t y) { ASSERT_TRUE(MoveThing(train->Info.get(), x, y, 0, 2)); }
  bool DoorsOpen() const { return (train->Info->Status & YLTCar::kStatusDoorsClosed) == 0; }
  // Runs until the train stands at the station column with open doors;
  // false when it does not within the frames.
  bool RunToStation(int32_t frames) {
    for (int32_t frame = 0; frame < frames; ++frame) {
      Run(1);
      if (train->Info->X == kStationX && train->Info->MoveNumber == 0) {
        return true;
      }
    }
    return false;
  }
  std::vector<int32_t> UnitTypesMade(size_t from) const {
    std::vector<int32_t> types;
    for (size_t index = from; index < listener.things.size(); ++index) {
      if (auto* unit = dynamic_cast<YLUnit*>(TheLogic()->GetThing(listener.things[index]))) {
        types.push_back(unit->Info->Gfx);
      }
    }
    return types;
  }

  YLTTrain* train = nullptr;
  YLTTrainConducter* conducter = nullptr;
  YLThing* station = nullptr;
};

TEST_F(TrainTest, ItStandsAtTheStationWithOpenDoorsThenClosesThemAndRollsOn) {
  train->Info->Status |= YLTCar::kStatusDoorsClosed;
  ASSERT_TRUE(RunToStation(100));
  EXPECT_TRUE(DoorsOpen());
  EXPECT_TRUE(conducter->PassedStation);
  int32_t standing = 0;
  while (train->Info->X == kStationX && standing < 1000) {
    Run(1);
    ++standing;
    if (train->Info->X == kStationX && standing < 360) {
      ASSERT_TRUE(DoorsOpen()) << standing;
    }
  }
  EXPECT_GE(standing, 360);
  EXPECT_LE(standing, 365);  // then it takes one roll to leave the column
  EXPECT_FALSE(DoorsOpen());
  EXPECT_GT(train->Info->X, kStationX);
  // The conductor rides along.
  EXPECT_EQ(conducter->Info->X, train->Info->X);
}

TEST_F(TrainTest, ASecondPassDoesNotStopUntilThePassIsReset) {
  ASSERT_TRUE(RunToStation(100));
  Run(400);
  Bring(4, 20);
  EXPECT_FALSE(RunToStation(100));
  EXPECT_GT(train->Info->X, kStationX);
  conducter->ResetPassedStation();
  Bring(4, 20);
  EXPECT_TRUE(RunToStation(100));
}

TEST_F(TrainTest, OffTheMapItWaits) {
  Bring(4, -10);
  conducter->LockTime = 0;
  EXPECT_EQ(conducter->Decide(1), 10);
  EXPECT_EQ(train->Info->X, 4);
}

TEST_F(TrainTest, PassengersAreMadeAtTheStationTheLastListedFirst) {
  train->AddPassengerType(3);
  train->AddPassengerType(1);
  train->AddPassengerType(10);
  train->SetStation(station->GetTid());
  const size_t before = listener.things.size();
  ASSERT_TRUE(RunToStation(100));
  Run(1);
  EXPECT_EQ(UnitTypesMade(before), (std::vector<int32_t>{10, 1, 3}));
  EXPECT_EQ(train->PassengerTypes.count, 0);
}

TEST_F(TrainTest, AMissingStationIsLoggedEachTickAndTheListKept) {
  train->AddPassengerType(3);
  ASSERT_TRUE(RunToStation(100));
  const std::string logged = Logged([&] { Run(3); });
  size_t lines = 0;
  for (size_t at = logged.find("YLTTrain::Propagate station not found\n"); at != std::string::npos;
       at = logged.find("YLTTrain::Propagate station not found\n", at + 1)) {
    ++lines;
  }
  EXPECT_EQ(lines, 3u);
  EXPECT_EQ(train->PassengerTypes.count, 1);
}

TEST_F(TrainTest, APassengerThatCannotBeMadeKeepsTheRestOfTheList) {
  train->AddPassengerType(3);
  train->AddPassengerType(1);
  train->SetStation(station->GetTid());
  ASSERT_TRUE(RunToStation(100));
  train->PassengerTypes.Clear();
  train->AddPassengerType(3);
  train->AddPassengerType(1);
  ASSERT_TRUE(Logic().Things->SetCount(CLogic::kMaxThings));
  for (int32_t id = 1; id < CLogic::kMaxThings - 1; ++id) {
    if ((*Logic().Things)[id] == nullptr) {
      auto* thing = new YLThing;
      thing->CreateInfo(0);
      thing->Info->Tid = id;
      (*Logic().Things)[id] = thing;
    }
  }
  Run(1);  // one id left: the last listed comes, the first waits
  ASSERT_EQ(train->PassengerTypes.count, 1);
  EXPECT_EQ(train->PassengerTypes[0], 3);
}

TEST_F(TrainTest, ASavedTrainStillBringsItsPassengers) {
  train->AddPassengerType(3);
  train->AddPassengerType(1);
  train->SetStation(station->GetTid());
  const int32_t trainId = train->GetTid();
  const int32_t stationId = station->GetTid();
  ASSERT_TRUE(SaveAndLoad());
  train = dynamic_cast<YLTTrain*>(Logic().GetThing(trainId));
  ASSERT_NE(train, nullptr);
  conducter = dynamic_cast<YLTTrainConducter*>(train->GetDriver());
  ASSERT_NE(conducter, nullptr);
  EXPECT_EQ(conducter->StationX, kStationX);
  EXPECT_EQ(conducter->StationTime, 360);
  ASSERT_EQ(train->PassengerTypes.count, 2);
  EXPECT_EQ(train->StationID, stationId);
  const size_t before = listener.things.size();
  ASSERT_TRUE(RunToStation(100));
  Run(1);
  EXPECT_EQ(UnitTypesMade(before), (std::vector<int32_t>{1, 3}));
}

TEST_F(TrainTest, ATrainStoredWithoutItsOwnStateLoadsWithNone) {
  train->AddPassengerType(3);
  train->SetStation(station->GetTid());
  train->Constant87 = 5;
  Bytes bytes = SaveObject(*train);
  auto marker = FindMarker(bytes, "train:");
  ASSERT_NE(marker, bytes.end());
  // The text, the count, one type, the station, the constant and the flag.
  bytes.erase(marker, marker + (4 + 6) + 4 + 4 + 12);
  auto loaded = LoadBytes(bytes);
  auto* copy = dynamic_cast<YLTTrain*>(loaded.get());
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->PassengerTypes.count, 0);
  EXPECT_EQ(copy->StationID, 0);
  EXPECT_EQ(copy->Constant87, 87);
}

TEST_F(TrainTest, AStoredPassengerCountBeyondTheStreamFailsTheLoad) {
  train->AddPassengerType(3);
  Bytes bytes = SaveObject(*train);
  auto marker = FindMarker(bytes, "train:");
  ASSERT_NE(marker, bytes.end());
  marker[4 + 6] = 0x10;  // the count's high byte
  std::string logged = Logged([&] { EXPECT_EQ(LoadBytes(bytes), nullptr); });
  EXPECT_NE(logged.find("passenger count"), std::string::npos) << logged;
}

}  // namespace
}  // namespace vehicle_testing
