#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "LogicWorldFixture.h"
#include "logic/world/LumoBrain.h"

namespace logic_world_testing {
namespace {

// A brain that writes down each step it runs; a step named in `failing`
// throws.
class TestBrain : public LumoBrain {
 public:
  void ComputeUpdateModel() override { Run("ComputeUpdateModel"); }
  void ComputeReflexes() override { Run("ComputeReflexes"); }
  void ComputeIntentions() override { Run("ComputeIntentions"); }
  void ComputePlanning() override { Run("ComputePlanning"); }
  void ClearMove() override { Run("ClearMove"); }
  int32_t Move() override {
    Run("Move");
    return nextMove;
  }
  int32_t OnBrainMove(int32_t move) override {
    Run("OnBrainMove(" + std::to_string(move) + ")");
    return countdown;
  }

  void Run(const std::string& step) {
    steps.push_back(step);
    if (step.rfind(failing, 0) == 0 && !failing.empty()) {
      throw std::runtime_error(step);
    }
  }

  std::vector<std::string> steps;
  std::string failing;
  int32_t nextMove = 2;
  int32_t countdown = 0;
};

class BrainTest : public LogicWorldTest {};

TEST_F(BrainTest, FourthStimulusIsDropped) {
  TestBrain brain;
  brain.AddStimulus(4, 0x104, 0.5f);
  brain.AddStimulus(5, 2, 0.25f);
  brain.AddStimulus(6, 3, 1.0f);
  brain.AddStimulus(7, 4, 2.0f);
  EXPECT_EQ(brain.GetStimulusCount(), 3);
  ASSERT_NE(brain.GetStimulus(0), nullptr);
  EXPECT_EQ(brain.GetStimulus(0)->source, 4);
  EXPECT_EQ(brain.GetStimulus(0)->kind, 4);  // only the low byte
  EXPECT_EQ(brain.GetStimulus(2)->source, 6);
  EXPECT_EQ(brain.GetStimulus(3), nullptr);
  EXPECT_EQ(brain.GetStimulus(-1), nullptr);
  brain.ClearPerception();
  EXPECT_EQ(brain.GetStimulusCount(), 3);
  brain.ResetStimuli();
  EXPECT_EQ(brain.GetStimulus(0), nullptr);
}

TEST_F(BrainTest, NeighboursEndWithZero) {
  TestBrain brain;
  for (int32_t id = 1; id <= 20; ++id) {
    brain.AddNeighbour(id * 3);
  }
  EXPECT_EQ(brain.GetNeighbour(19), 60);
  EXPECT_EQ(brain.GetNeighbour(20), 0);
  EXPECT_EQ(brain.GetNeighbour(-1), 0);
  brain.AddPressure(1.5f);
  brain.ClearPerception();
  EXPECT_EQ(brain.GetNeighbour(0), 0);
  EXPECT_FLOAT_EQ(brain.Pressure, 0.0f);
}

TEST_F(BrainTest, ComputeCountsDownWithoutSteps) {
  TestBrain brain;
  brain.SetActive(1);
  EXPECT_EQ(brain.Compute(), 0);
  EXPECT_TRUE(brain.steps.empty());
  brain.nextMove = 7;
  brain.countdown = 0x105;  // only the low byte is kept
  EXPECT_EQ(brain.Compute(), 5);
  EXPECT_EQ(brain.steps,
            (std::vector<std::string>{"ComputeUpdateModel", "ComputeReflexes", "Move", "OnBrainMove(7)"}));
  EXPECT_EQ(brain.Busy, 5);
}

TEST_F(BrainTest, ThrowingStepIsLoggedAndTheNextOneRuns) {
  const struct {
    const char* failing;
    bool evolve;
    const char* line;
    std::vector<std::string> steps;
  } cases[] = {
      {"ClearMove", true, "LumoBrain::Evolve() exception in ClearMove()\n",
       {"ClearMove", "ComputeIntentions", "ComputePlanning"}},
      {"ComputeIntentions", true, "LumoBrain::Evolve() exception in ComputeIntentions()\n",
       {"ClearMove", "ComputeIntentions", "ComputePlanning"}},
      {"ComputePlanning", true, "LumoBrain::Evolve() exception in ComputePlanning()\n",
       {"ClearMove", "ComputeIntentions", "ComputePlanning"}},
      {"ComputeUpdateModel", false, "LumoBrain::Compute() exception in ComputeUpdateModel()\n",
       {"ComputeUpdateModel", "ComputeReflexes", "Move", "OnBrainMove(2)"}},
      {"ComputeReflexes", false, "LumoBrain::Compute() exception in ComputeReflexes()\n",
       {"ComputeUpdateModel", "ComputeReflexes", "Move", "OnBrainMove(2)"}},
      {"Move", false, "LumoBrain::Compute() exception in Move()\n",
       {"ComputeUpdateModel", "ComputeReflexes", "Move", "OnBrainMove(0)"}},
      {"OnBrainMove", false, "LumoBrain::Compute() exception in OnBrainMove(2)\n",
       {"ComputeUpdateModel", "ComputeReflexes", "Move", "OnBrainMove(2)"}},
  };
  for (const auto& entry : cases) {
    TestBrain brain;
    brain.failing = entry.failing;
    brain.countdown = 9;
    uint8_t busy = 0;
    const std::string log = Logged([&] {
      if (entry.evolve) {
        brain.Evolve();
      } else {
        busy = brain.Compute();
      }
    });
    EXPECT_NE(log.find(entry.line), std::string::npos) << entry.failing << ": " << log;
    EXPECT_EQ(brain.steps, entry.steps) << entry.failing;
    if (!entry.evolve) {
      EXPECT_EQ(busy, std::string(entry.failing) == "OnBrainMove" ? 0 : 9) << entry.failing;
    }
  }
}

Bytes SaveBrain(const LumoBrain& brain) {
  LumoMemoryStream stream;
  EXPECT_TRUE(stream.OpenNew(16, 1, 0));
  stream.SetGrowth(256);
  EXPECT_TRUE(brain.SaveBrain(&stream));
  return Bytes(stream.buffer, stream.buffer + stream.position);
}

bool LoadBrain(LumoBrain& brain, Bytes bytes) {
  bytes.push_back(0);
  LumoMemoryStream stream;
  EXPECT_TRUE(stream.OpenBuffer(bytes.data(), static_cast<uint32_t>(bytes.size() - 1), 1, 0));
  return brain.LoadBrain(&stream);
}

void PutInteger(Bytes& bytes, size_t at, int32_t value) {
  for (int shift = 0; shift < 4; ++shift) {
    bytes[at + static_cast<size_t>(shift)] = static_cast<uint8_t>(static_cast<uint32_t>(value) >> (24 - 8 * shift));
  }
}

TEST_F(BrainTest, SaveAndLoadRoundTripInFieldOrder) {
  TestBrain brain;
  brain.SetActive(17);
  brain.Memory.AppendInt(-5);
  brain.AddNeighbour(11);
  brain.AddNeighbour(0xFFF3);
  brain.AddPressure(0.75f);
  brain.AddStimulus(8, 1, 0.5f);
  brain.AddStimulus(9, 4, 2.0f);
  const Bytes bytes = SaveBrain(brain);
  const Bytes expected = {0, 0, 0, 17,    0, 0, 0, 1,    0xFF, 0xFF, 0xFF, 0xFB, 0,    0,    0, 2,
                          0, 0, 0, 11,    0, 0, 0xFF, 0xF3, 0,   0,    0x40, 0x3F, 0,    0,    0, 2,
                          0, 0, 0, 0x3F,  0, 0, 0, 1,    0,    0,    0,    8,    0,    0,    0, 0x40,
                          0, 0, 0, 4,     0, 0, 0, 9};
  EXPECT_EQ(bytes, expected);

  TestBrain copy;
  copy.AddNeighbour(99);
  ASSERT_TRUE(LoadBrain(copy, bytes));
  EXPECT_EQ(copy.Busy, 17);
  EXPECT_EQ(copy.Memory.count, 1);
  EXPECT_EQ(copy.Memory[0], -5);
  EXPECT_EQ(copy.GetNeighbourCount(), 2);
  EXPECT_EQ(copy.GetNeighbour(1), 0xFFF3);
  EXPECT_FLOAT_EQ(copy.Pressure, 0.75f);
  ASSERT_EQ(copy.GetStimulusCount(), 2);
  EXPECT_EQ(copy.GetStimulus(1)->source, 9);
  EXPECT_EQ(copy.GetStimulus(1)->kind, 4);
  EXPECT_FLOAT_EQ(copy.GetStimulus(1)->strength, 2.0f);
  EXPECT_EQ(SaveBrain(copy), bytes);
}

// The stimulus block holds three records and counts must fit what the
// stream still holds; anything else is refused before it is used.
TEST_F(BrainTest, LoadRefusesCountsThatDoNotFit) {
  TestBrain brain;
  brain.AddNeighbour(11);
  brain.AddStimulus(8, 1, 0.5f);
  const Bytes bytes = SaveBrain(brain);
  // Offsets: countdown 0, memory count 4, neighbour count 8, neighbour 12,
  // pressure 16, stimulus count 20.
  const struct {
    size_t at;
    int32_t value;
    const char* line;
  } cases[] = {
      {20, 4, "stimulus count 4"},          {20, -1, "stimulus count -1"},
      {20, 255, "stimulus count 255"},      {4, 0x7FFFFFFF, "memory count"},
      {4, -2, "memory count"},              {8, 1000, "neighbour count"},
      {0, 256, "countdown 256"},            {0, -1, "countdown -1"},
  };
  for (const auto& entry : cases) {
    Bytes damaged = bytes;
    PutInteger(damaged, entry.at, entry.value);
    TestBrain copy;
    bool loaded = true;
    const std::string log = Logged([&] { loaded = LoadBrain(copy, damaged); });
    EXPECT_FALSE(loaded) << entry.line;
    EXPECT_NE(log.find(entry.line), std::string::npos) << entry.line << ": " << log;
    EXPECT_LE(copy.GetStimulusCount(), LumoBrain::kStimulusLimit);
  }
  // A stream cut anywhere fails without a fault.
  for (size_t length = 1; length < bytes.size(); ++length) {
    TestBrain copy;
    EXPECT_FALSE(LoadBrain(copy, Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length))))
        << length;
  }
}

}  // namespace
}  // namespace logic_world_testing
