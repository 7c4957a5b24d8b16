#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "StreamBytes.h"
#include "base/LumoClass.h"
#include "base/LumoObjects.h"
#include "base/LumoStream.h"

namespace stream_testing {
namespace {

// Counts its ends, to prove that every element ends exactly once.
int& EndedElements() {
  static int ended = 0;
  return ended;
}

class CollectedNode : public LumoNode {
 public:
  ~CollectedNode() override { ++EndedElements(); }
  const char* GetClassName() const override { return "CollectedNode"; }
};

LumoClassOf<CollectedNode> classOfCollectedNode(kVersion_1_4_0_0, "CollectedNode", "LumoNode");

CollectedNode* Element(const char* name) {
  auto* node = new CollectedNode;
  node->SetName(name);
  return node;
}

Bytes Saved(LumoObject& object) {
  ByteWriter writer;
  EXPECT_TRUE(object.SaveObject(&writer.stream, 0));
  return writer.Written();
}

Bytes Integer(int32_t value) {
  const auto bits = static_cast<uint32_t>(value);
  return BytesOf({static_cast<int>(bits >> 24), static_cast<int>((bits >> 16) & 0xFF),
                  static_cast<int>((bits >> 8) & 0xFF), static_cast<int>(bits & 0xFF)});
}

// The opening of a collection's record: header, class name and growth.
Bytes CollectionOpening(int32_t growth = 16) {
  return Join(BytesOf({'L', 'u', 'm', 'o', 1, 4, 0, 0, 0, 0, 0, 11}),
              Join(BytesOfText("LumoObjects"), Integer(growth)));
}

class ObjectCollectionTest : public ::testing::Test {
 protected:
  void SetUp() override { EndedElements() = 0; }
};

TEST_F(ObjectCollectionTest, SparseLayoutSavesSlotIndexesFromTheHighestAndReloadsTheSame) {
  CollectedNode* first = Element("first");
  CollectedNode* second = Element("second");
  Bytes expected = Join(CollectionOpening(), Join(Integer(5), Integer(2)));
  expected = Join(expected, Join(Saved(*first), Saved(*second)));
  expected = Join(expected, Join(Integer(4), Integer(1)));
  {
    LumoObjects collection;
    ASSERT_TRUE(collection.SetCount(5));
    collection[1] = first;
    collection[4] = second;
    EXPECT_EQ(Saved(collection), expected);
  }
  EXPECT_EQ(EndedElements(), 2);  // an owning collection ends its elements

  ByteReader reader(expected);
  auto* copy = dynamic_cast<LumoObjects*>(LoadObject(&reader.stream, nullptr));
  ASSERT_NE(copy, nullptr);
  ASSERT_EQ(copy->count, 5);
  const char* names[] = {nullptr, "first", nullptr, nullptr, "second"};
  for (int32_t slot = 0; slot < 5; ++slot) {
    auto* node = dynamic_cast<LumoNode*>(copy->At(slot));
    if (names[slot] == nullptr) {
      EXPECT_EQ(copy->At(slot), nullptr) << slot;
    } else {
      ASSERT_NE(node, nullptr) << slot;
      EXPECT_STREQ(node->Name, names[slot]);
    }
  }
  EXPECT_TRUE(copy->OwnsElements());
  DestroyObject(copy);
  EXPECT_EQ(EndedElements(), 4);
}

TEST_F(ObjectCollectionTest, EmptyCollectionRoundTrips) {
  LumoObjects collection;
  const Bytes record = Saved(collection);
  EXPECT_EQ(record, Join(CollectionOpening(), Join(Integer(0), Integer(0))));
  ByteReader reader(record);
  auto* copy = dynamic_cast<LumoObjects*>(LoadObject(&reader.stream, nullptr));
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->count, 0);
  DestroyObject(copy);
}

// Stored slot indexes, read for the element loaded last first: each must lie
// inside the count and name a free slot or the element's own.
TEST_F(ObjectCollectionTest, CorruptSlotIndexesAreRefusedAndEveryElementEndsOnce) {
  CollectedNode first;
  first.SetName("first");
  CollectedNode second;
  second.SetName("second");
  const struct {
    const char* name;
    int32_t lastIndex;
    int32_t firstIndex;
    bool accepted;
  } cases[] = {
      {"as saved", 4, 1, true},
      {"own slots", 1, 0, true},
      {"beyond the count", 5, 1, false},
      {"negative", -1, 1, false},
      {"onto a placed element", 4, 4, false},
      {"onto an element not yet placed", 0, 1, false},
  };
  for (const auto& test : cases) {
    SCOPED_TRACE(test.name);
    EndedElements() = 0;
    Bytes record = Join(CollectionOpening(), Join(Integer(5), Integer(2)));
    record = Join(record, Join(Saved(first), Saved(second)));
    record = Join(record, Join(Integer(test.lastIndex), Integer(test.firstIndex)));
    ByteReader reader(record);
    LumoObject* loaded = LoadObject(&reader.stream, nullptr);
    EXPECT_EQ(loaded != nullptr, test.accepted);
    DestroyObject(loaded);
    EXPECT_EQ(EndedElements(), 2);
  }
}

TEST_F(ObjectCollectionTest, ImplausibleCountsAreRefusedBeforeLoading) {
  CollectedNode element;
  const Bytes elementRecord = Saved(element);
  const struct {
    const char* name;
    int32_t slots;
    int32_t stored;
  } cases[] = {
      {"negative slot count", -1, 0},
      {"negative element count", 1, -1},
      {"fewer slots than elements", 0, 1},
      {"more elements than bytes", 100, 50},
      {"huge element count", INT32_MAX, INT32_MAX},
      {"huge slot count", INT32_MAX, 1},
  };
  for (const auto& test : cases) {
    SCOPED_TRACE(test.name);
    EndedElements() = 0;
    Bytes record = Join(CollectionOpening(), Join(Integer(test.slots), Integer(test.stored)));
    record = Join(Join(record, elementRecord), Integer(0));
    ByteReader reader(record);
    EXPECT_EQ(LoadObject(&reader.stream, nullptr), nullptr);
    EXPECT_EQ(EndedElements(), 0);  // refused before any element was made
  }
}

TEST_F(ObjectCollectionTest, GrowthStepOutsideTwoToTheCapIsRefused) {
  const struct {
    int32_t growth;
    bool accepted;
  } cases[] = {{32, true}, {2, true}, {LumoObjects::kMaxGrowth, true}, {1, false}, {0, false}, {-4, false},
               {LumoObjects::kMaxGrowth + 1, false}, {INT32_MAX, false}};
  for (const auto& test : cases) {
    SCOPED_TRACE(test.growth);
    ByteReader reader(Join(CollectionOpening(test.growth), Join(Integer(0), Integer(0))));
    auto* loaded = dynamic_cast<LumoObjects*>(LoadObject(&reader.stream, nullptr));
    EXPECT_EQ(loaded != nullptr, test.accepted);
    if (loaded != nullptr) {
      EXPECT_EQ(loaded->growth, test.growth);
    }
    DestroyObject(loaded);
  }
}

TEST_F(ObjectCollectionTest, AnyGrowthStepIsSavedAsOneItsLoadAccepts) {
  const struct {
    int32_t set;
    int32_t reloaded;
  } cases[] = {{1, 2}, {0, 2}, {-7, 2}, {40, 40}, {LumoObjects::kMaxGrowth + 1, LumoObjects::kMaxGrowth}};
  for (const auto& test : cases) {
    SCOPED_TRACE(test.set);
    LumoObjects collection;
    collection.growth = test.set;
    ByteReader reader(Saved(collection));
    auto* loaded = dynamic_cast<LumoObjects*>(LoadObject(&reader.stream, nullptr));
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->growth, test.reloaded);
    DestroyObject(loaded);
  }
}

TEST_F(ObjectCollectionTest, LoadFailingPartWayKeepsTheElementsLoadedSoFar) {
  LumoObjects original;
  for (const char* name : {"a", "b", "c"}) {
    original.Append(Element(name));
  }
  const Bytes record = Saved(original);
  ByteReader reader(Bytes(record.begin(), record.end() - 14));  // into the third element
  char header[8];
  ASSERT_TRUE(reader.stream.ReadBlock(header, sizeof header));
  tCharStr name = nullptr;
  ASSERT_TRUE(reader.stream.ReadCharStr(name));
  FreeCharStr(name);

  EndedElements() = 0;
  LumoObjects target;
  EXPECT_FALSE(target.LoadFrom(&reader.stream));
  ASSERT_EQ(target.count, 2);
  EXPECT_STREQ(static_cast<LumoNode*>(target[0])->Name, "a");
  EXPECT_STREQ(static_cast<LumoNode*>(target[1])->Name, "b");
  EXPECT_EQ(EndedElements(), 1);  // the third, taken back and ended
}

TEST_F(ObjectCollectionTest, UnregisteringLetsGoWithoutEndingTheObject) {
  LumoObjects collection;
  CollectedNode* kept = Element("kept");
  CollectedNode* dropped = Element("dropped");
  ASSERT_TRUE(collection.RegisterObject(dropped));
  ASSERT_TRUE(collection.RegisterObject(kept));
  EXPECT_TRUE(collection.DoUnregisterObject(dropped));
  EXPECT_FALSE(collection.DoUnregisterObject(dropped));
  EXPECT_EQ(collection.count, 1);
  EXPECT_EQ(collection[0], kept);
  EXPECT_EQ(EndedElements(), 0);
  DestroyObject(dropped);
}

// An owning collection whose reaction hook turns every object away.
class VetoingCollection : public LumoObjects {
 public:
  bool OnRegisterObject(LumoObject*, bool) override { return false; }
};

TEST_F(ObjectCollectionTest, VetoedObjectIsTakenBackAndEndsOnce) {
  VetoingCollection collection;
  EXPECT_FALSE(collection.RegisterObject(Element("vetoed")));
  EXPECT_EQ(collection.count, 0);
  EXPECT_EQ(EndedElements(), 1);
}

TEST_F(ObjectCollectionTest, AssignSharesTheObjectsAndTakesAUsableGrowth) {
  LumoObjects source;
  source.Append(Element("x"));
  source.Append(nullptr);
  source.growth = 1;
  LumoObjects copy(false);
  copy.Append(Element("replaced"));  // not owned: ended by hand below
  LumoObject* replaced = copy[0];
  EXPECT_TRUE(copy.Assign(&source));
  ASSERT_EQ(copy.count, 2);
  EXPECT_EQ(copy[0], source[0]);
  EXPECT_EQ(copy[1], nullptr);
  EXPECT_EQ(copy.growth, 16);
  LumoNode notCollection;
  EXPECT_FALSE(copy.Assign(&notCollection));
  DestroyObject(replaced);
}

TEST_F(ObjectCollectionTest, OnlyAnOwningCollectionEndsItsElements) {
  CollectedNode* shared = Element("shared");
  {
    LumoObjects borrowing(false);
    borrowing.Append(shared);
  }
  EXPECT_EQ(EndedElements(), 0);
  auto* owning = new LumoObjects(true);
  owning->Append(shared);
  DestroyObject(owning);
  EXPECT_EQ(EndedElements(), 1);
}

}  // namespace
}  // namespace stream_testing
