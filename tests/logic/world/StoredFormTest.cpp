// Records written byte by byte from the stored forms, as another writer of
// the same files would: a unit's plan tree and a whole logic. They load, come
// back with what the bytes say, run on, and every shorter cut of them fails
// without a crash or a leak.

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "LogicWorldFixture.h"
#include "base/LumoClass.h"
#include "base/Random.h"
#include "logic/core/CPlayer.h"
#include "logic/core/WeaponCatalog.h"
#include "logic/core/YLConfig.h"
#include "logic/core/YLPlayerPolice.h"
#include "logic/triggers/ConditionTrigger.h"
#include "logic/world/PsychicPlanKinds.h"

namespace logic_world_testing {
namespace {

// Appends stream fields as a stream stores them.
class Writer {
 public:
  Writer& U32(uint32_t value) {
    for (int32_t shift = 24; shift >= 0; shift -= 8) {
      bytes.push_back(static_cast<uint8_t>(value >> shift));
    }
    return *this;
  }
  Writer& I32(int32_t value) { return U32(static_cast<uint32_t>(value)); }
  // Floats alone are stored in the machine's little-endian order.
  Writer& F32(float value) {
    uint32_t raw = 0;
    std::memcpy(&raw, &value, sizeof raw);
    for (int32_t shift = 0; shift < 32; shift += 8) {
      bytes.push_back(static_cast<uint8_t>(raw >> shift));
    }
    return *this;
  }
  Writer& U8(uint8_t value) {
    bytes.push_back(value);
    return *this;
  }
  Writer& Text(const std::string& text) {
    U32(static_cast<uint32_t>(text.size()));
    bytes.insert(bytes.end(), text.begin(), text.end());
    return *this;
  }
  // The head of a record: signature, version, class name.
  Writer& Head(const std::string& name) {
    bytes.insert(bytes.end(), {'L', 'u', 'm', 'o'});
    U32(kVersion_1_6_0_6);
    return Text(name);
  }
  // A plan step's own fields after its two links.
  Writer& Step(int32_t action, int32_t p1, int32_t p2, float motivation, bool fast, bool expandable) {
    return I32(action).I32(p1).I32(p2).F32(motivation).U8(fast ? 1 : 0).U8(expandable ? 1 : 0);
  }

  Bytes bytes;
};

// root Goto (5; 10, 11) -> child Baricade (19; "down:" 0), whose queue holds
// a Chant (18, Period 6); the Goto's queue holds an Out (58, Period 3).
Bytes WrittenPlan() {
  Writer w;
  w.Head("PsychicPlanGoto");
  w.U32(1);  // queue present
  {
    w.Head("PsychicPlanOut").U32(0).U32(0).Step(58, 0, 0, 0.5f, false, true).I32(3);
  }
  w.U32(1);  // child present
  {
    w.Head("PsychicPlanBaricade");
    w.U32(1);  // queue present
    w.Head("PsychicPlanChant").U32(0).U32(0).Step(18, 7, 8, 2.0f, true, false).I32(6);
    w.U32(0);  // no child
    w.Step(19, 4, 5, 0.25f, true, true);
    w.Text("down:").U32(0);
  }
  w.Step(5, 10, 11, 0.75f, false, false);
  return w.bytes;
}

using StoredFormTest = LogicWorldTest;

TEST_F(StoredFormTest, APlanTreeWrittenByHandLoadsWithEveryFieldAndParent) {
  auto loaded = Load(WrittenPlan());
  auto* root = dynamic_cast<PsychicPlanGoto*>(loaded.get());
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->Action, 5);
  EXPECT_EQ(root->Param1, 10);
  EXPECT_EQ(root->Param2, 11);
  EXPECT_EQ(root->Motivation, 0.75f);
  EXPECT_FALSE(root->Fast);
  EXPECT_FALSE(root->Expandable);
  EXPECT_EQ(root->parent, nullptr);

  auto* out = dynamic_cast<PsychicPlanOut*>(root->queue);
  ASSERT_NE(out, nullptr);
  EXPECT_EQ(out->Period, 3);
  EXPECT_EQ(out->parent, nullptr);

  auto* barricade = dynamic_cast<PsychicPlanBaricade*>(root->child);
  ASSERT_NE(barricade, nullptr);
  EXPECT_EQ(barricade->parent, root);
  EXPECT_EQ(barricade->Down, 0);
  EXPECT_EQ(barricade->Param1, 4);
  EXPECT_TRUE(barricade->Fast);
  auto* chant = dynamic_cast<PsychicPlanChant*>(barricade->queue);
  ASSERT_NE(chant, nullptr);
  EXPECT_EQ(chant->parent, root);
  EXPECT_EQ(chant->Period, 6);
  EXPECT_EQ(chant->Motivation, 2.0f);
  EXPECT_EQ(root->GetLeaf(), barricade);

  // Our own writer gives the same bytes back.
  EXPECT_EQ(Save(*root), WrittenPlan());
}

// Every record cut short fails whole and leaves nothing behind (the
// sanitizer build checks the leaks).
TEST_F(StoredFormTest, EveryCutOfAWrittenPlanFails) {
  const Bytes whole = WrittenPlan();
  for (size_t size = 1; size < whole.size(); ++size) {
    const Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size));
    std::unique_ptr<LumoObject, tObjectDestroyer> loaded;
    Logged([&] { loaded = Load(cut); });
    EXPECT_EQ(loaded, nullptr) << "cut at " << size;
  }
}

// A logic written from its eleven properties: no map, an empty plan, one
// long-term trigger, no players or things, then the counters, the type
// names, no propagators, the ticks and the generator.
Bytes WrittenLogic(bool withTicks) {
  Writer w;
  w.Head("CLogic");
  w.U8(0);  // Map absent
  w.I32(30);
  for (int32_t bucket = 0; bucket < 30; ++bucket) {
    w.U8(0);
  }
  w.U8(1);  // PlanLongTerm: one condition trigger due in frame 130
  w.Head("ConditionTrigger").U8(0).I32(130).Text("freq:").U32(20);
  w.U8(0);        // Players absent
  w.U8(0);        // Things absent
  w.I32(4);       // ThingCount
  w.U8(1);        // Initialised
  w.U32(100);     // Time
  w.I32(2).Text("not_used").Text("UnitRat");
  w.I32(0);  // no propagators
  if (withTicks) {
    w.Text("vinkjes:").I32(2).I32(1).I32(2);
    w.Text("random:").U32(777);
  }
  return w.bytes;
}

TEST_F(StoredFormTest, ALogicWrittenByHandLoadsAndRunsOn) {
  std::unique_ptr<LumoObject, tObjectDestroyer> loaded;
  const std::string log = Logged([&] { loaded = Load(WrittenLogic(true)); });
  auto* written = dynamic_cast<CLogic*>(loaded.get());
  ASSERT_NE(written, nullptr) << log;
  EXPECT_EQ(written->Time, 100u);
  EXPECT_EQ(written->ThingCount, 4);
  EXPECT_TRUE(written->Initialised);
  EXPECT_EQ(written->GetString(1), std::string("UnitRat"));
  ASSERT_EQ(written->Vinkjes.count, 2);
  EXPECT_EQ(written->Vinkjes[1], 2);
  EXPECT_EQ(GetRandomSeed(), 777u);
  EXPECT_NE(dynamic_cast<YLPlayerPolice*>(written->GetPlayer(CLogic::kPolicePlayer)), nullptr);
  EXPECT_NE(written->Weapons, nullptr);
  EXPECT_NE(written->Config, nullptr);
  EXPECT_EQ(YLThing::GetLogic(), written);

  // The trigger runs in frame 130 and every 20 frames after.
  auto* trigger = dynamic_cast<ConditionTrigger*>(written->PlanLongTerm.first);
  ASSERT_NE(trigger, nullptr);
  while (written->Time < 131) {
    written->Compute();
  }
  EXPECT_EQ(trigger->Time, 150u);
  EXPECT_EQ(written->Plan[0].first, trigger);
  YLThing::SetLogicContext(nullptr, &logic);
}

// An older save without the generator's state plays on the same way
// whatever the process drew before: the generator starts from 0.
TEST_F(StoredFormTest, ALogicWithoutTheGeneratorStartsItFromZero) {
  const Bytes withTicks = WrittenLogic(true);
  const size_t generatorChunk = 4 + 7 + 4;  // the tag's length, its text, the state
  const Bytes ticksOnly(withTicks.begin(), withTicks.end() - static_cast<std::ptrdiff_t>(generatorChunk));
  for (const Bytes& older : {WrittenLogic(false), ticksOnly}) {
    for (const uint32_t before : {5u, 0xDEADBEEFu}) {
      SetRandomSeed(before);
      std::unique_ptr<LumoObject, tObjectDestroyer> loaded;
      const std::string log = Logged([&] { loaded = Load(older); });
      ASSERT_NE(loaded, nullptr) << log;
      EXPECT_EQ(GetRandomSeed(), 0u) << before;
    }
  }
  YLThing::SetLogicContext(nullptr, &logic);
}

TEST_F(StoredFormTest, EveryCutOfAWrittenLogicFailsOrLacksOnlyItsTail) {
  const Bytes whole = WrittenLogic(true);
  const size_t withoutTicks = WrittenLogic(false).size();
  for (size_t size = 1; size < whole.size(); ++size) {
    const Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size));
    std::unique_ptr<LumoObject, tObjectDestroyer> loaded;
    Logged([&] { loaded = Load(cut); });
    // An older stream ends before the ticks or before the generator, and a
    // tag cut inside reads as absent; any other cut fails.
    const size_t vinkjesTag = 4 + 8;
    const size_t afterTicks = withoutTicks + vinkjesTag + 4 + 2 * 4;
    const size_t randomTag = 4 + 7;
    const bool older = (size >= withoutTicks && size < withoutTicks + vinkjesTag) ||
                       (size >= afterTicks && size < afterTicks + randomTag);
    if (older) {
      EXPECT_NE(loaded, nullptr);
    } else {
      EXPECT_EQ(loaded, nullptr) << "cut at " << size;
    }
  }
  YLThing::SetLogicContext(nullptr, &logic);
}

}  // namespace
}  // namespace logic_world_testing
