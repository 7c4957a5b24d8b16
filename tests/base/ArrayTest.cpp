#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "base/ElementCallbacks.h"
#include "base/tBuffer.h"
#include "base/tCollection.h"
#include "base/tList.h"
#include "base/tString.h"

namespace {

// Pointer elements take the host's pointer width; 32-bit values stay 32 bits.
static_assert(tObjects::kElementSize == sizeof(void*));
static_assert(tCollection<int32_t, 4>::kElementSize == 4);

using Ints = tCollection<int32_t, 4>;

// What the recording destroy callback saw, in order.
std::vector<int32_t> destroyed;

void RecordDestroy(void* storage, int32_t index, int32_t elementSize) {
  int32_t value = 0;
  std::memcpy(&value, static_cast<char*>(storage) + index * elementSize, sizeof(value));
  destroyed.push_back(value);
}

class ArrayTest : public ::testing::Test {
 protected:
  void SetUp() override { destroyed.clear(); }

  // An array holding 0, 1, ... count - 1.
  static void Fill(Ints& array, int32_t count) {
    ASSERT_TRUE(array.SetCount(count));
    for (int32_t index = 0; index < count; ++index) {
      array[index] = index;
    }
  }

  static std::vector<int32_t> Values(const Ints& array) { return {array.items, array.items + array.count}; }

  // Slots from count to capacity - 1 hold zeros.
  static ::testing::AssertionResult TailIsZero(const Ints& array) {
    for (int32_t index = array.count; index < array.capacity; ++index) {
      if (array.items[index] != 0) {
        return ::testing::AssertionFailure() << "slot " << index << " holds " << array.items[index];
      }
    }
    return ::testing::AssertionSuccess();
  }
};

// ---- Count ----

TEST_F(ArrayTest, SetCountGrowsByTheStepAndShrinksFromTheLast) {
  Ints array(RecordDestroy, CompareIntElements);
  Fill(array, 17);
  EXPECT_EQ(array.capacity, 32);
  EXPECT_TRUE(TailIsZero(array));
  ASSERT_TRUE(array.SetCount(3));
  std::vector<int32_t> expected;
  for (int32_t value = 16; value >= 3; --value) {
    expected.push_back(value);
  }
  EXPECT_EQ(destroyed, expected);
  EXPECT_EQ(array.count, 3);
  EXPECT_EQ(array.capacity, 16);
  EXPECT_TRUE(TailIsZero(array));
  // Growing again brings zero-filled elements, never the old values.
  ASSERT_TRUE(array.SetCount(20));
  EXPECT_EQ(array.capacity, 32);
  EXPECT_EQ(Values(array), (std::vector<int32_t>{0, 1, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_TRUE(TailIsZero(array));
}

TEST_F(ArrayTest, SetCountToZeroEmptiesButAnswersFalse) {
  Ints array(RecordDestroy);
  Fill(array, 3);
  destroyed.clear();
  EXPECT_FALSE(array.SetCount(0));
  EXPECT_EQ(destroyed, (std::vector<int32_t>{2, 1, 0}));
  EXPECT_EQ(array.items, nullptr);
  EXPECT_EQ(array.count, 0);
  EXPECT_EQ(array.capacity, 0);
  EXPECT_FALSE(array.SetCount(-5));
}

TEST_F(ArrayTest, ShrinkingWithALargerStepNeverOverstatesTheStorage) {
  Ints array;
  Fill(array, 16);  // a block of exactly 16 slots
  array.growth = 64;
  ASSERT_TRUE(array.SetCount(10));
  EXPECT_LE(array.capacity, 16);
  // Had the capacity claimed 64, this would write past the 16-slot block.
  ASSERT_TRUE(array.SetCount(40));
  EXPECT_EQ(array.capacity, 64);
  array[39] = 39;
  EXPECT_TRUE(TailIsZero(array));
}

TEST_F(ArrayTest, SetCountInCapacityKeepsTheStorage) {
  Ints array(RecordDestroy);
  Fill(array, 5);
  int32_t* storage = array.items;
  destroyed.clear();
  EXPECT_TRUE(array.SetCountInCapacity(0));
  EXPECT_EQ(destroyed, (std::vector<int32_t>{4, 3, 2, 1, 0}));
  EXPECT_EQ(array.items, storage);
  EXPECT_EQ(array.capacity, 16);
  EXPECT_TRUE(array.SetCountInCapacity(16));
  EXPECT_EQ(array.items, storage);
  EXPECT_EQ(array.count, 16);
  EXPECT_TRUE(array.SetCountInCapacity(17));  // beyond the capacity: an ordinary SetCount
  EXPECT_EQ(array.capacity, 32);
}

// ---- Search ----

// The elements the comparison was asked about, in order.
std::vector<int32_t> probes;
const int32_t* probedStorage = nullptr;

int RecordingCompare(const void* key, const void* element) {
  probes.push_back(static_cast<int32_t>(static_cast<const int32_t*>(element) - probedStorage));
  return CompareIntElements(key, element);
}

TEST_F(ArrayTest, SearchAnswersTheInsertionPosition) {
  const int32_t values[] = {10, 20, 30, 40, 50};
  tCollectionHelper helper(nullptr, CompareIntElements);
  struct Case {
    int32_t key;
    bool found;
    int32_t position;
  };
  const Case cases[] = {{5, false, 0},  {10, true, 0},  {15, false, 1}, {25, false, 2}, {30, true, 2},
                        {35, false, 3}, {45, false, 4}, {50, true, 4},  {55, false, 5}};
  for (const Case& testCase : cases) {
    int32_t position = -1;
    EXPECT_EQ(helper.Search(&testCase.key, values, 5, 4, position), testCase.found) << testCase.key;
    EXPECT_EQ(position, testCase.position) << testCase.key;
  }
}

TEST_F(ArrayTest, SearchPositionKeepsTheOrderForEveryCount) {
  tCollectionHelper helper(nullptr, CompareIntElements);
  for (int32_t count = 1; count <= 12; ++count) {
    std::vector<int32_t> values;
    for (int32_t index = 0; index < count; ++index) {
      values.push_back(index * 10);
    }
    for (int32_t key = -5; key <= count * 10; key += 5) {
      int32_t position = -1;
      const bool found = helper.Search(&key, values.data(), count, 4, position);
      const auto expected = std::lower_bound(values.begin(), values.end(), key) - values.begin();
      EXPECT_EQ(found, key % 10 == 0 && key < count * 10) << count << "/" << key;
      EXPECT_EQ(position, expected) << count << "/" << key;
    }
  }
}

TEST_F(ArrayTest, SearchProbesTheMiddleRoundingDown) {
  int32_t values[10];
  for (int32_t index = 0; index < 10; ++index) {
    values[index] = index * 10;
  }
  probedStorage = values;
  tCollectionHelper helper(nullptr, RecordingCompare);
  struct Case {
    int32_t count;
    int32_t key;
    std::vector<int32_t> probes;
  };
  const Case cases[] = {
      {10, -1, {4, 1, 0}},   {10, 1000, {4, 7, 8, 9}}, {10, 60, {4, 7, 5, 6}},
      {7, 25, {3, 1, 2}},    {2, 15, {0, 1}},          {1, 0, {0}},
  };
  for (const Case& testCase : cases) {
    probes.clear();
    int32_t position = 0;
    helper.Search(&testCase.key, values, testCase.count, 4, position);
    EXPECT_EQ(probes, testCase.probes) << testCase.count << "/" << testCase.key;
  }
}

TEST_F(ArrayTest, SearchRefusesBadArgumentsWithPositionZero) {
  const int32_t values[] = {1, 2, 3};
  const int32_t key = 9;
  const tCollectionHelper withCompare(nullptr, CompareIntElements);
  const tCollectionHelper without;
  struct Case {
    const char* name;
    const tCollectionHelper* helper;
    const int32_t* key;
    const int32_t* storage;
    int32_t count;
    int32_t elementSize;
  };
  const Case cases[] = {{"null key", &withCompare, nullptr, values, 3, 4},
                        {"null storage", &withCompare, &key, nullptr, 3, 4},
                        {"count 0", &withCompare, &key, values, 0, 4},
                        {"size 0", &withCompare, &key, values, 3, 0},
                        {"no callback", &without, &key, values, 3, 4}};
  for (const Case& testCase : cases) {
    int32_t position = -1;
    EXPECT_FALSE(testCase.helper->Search(testCase.key, testCase.storage, testCase.count, testCase.elementSize,
                                         position))
        << testCase.name;
    EXPECT_EQ(position, 0) << testCase.name;
  }
}

TEST_F(ArrayTest, LinearSearchFindsTheFirstMatchOrAnswersCount) {
  Ints array(nullptr, CompareIntElements);
  for (int32_t value : {7, 3, 9, 3}) {
    ASSERT_TRUE(array.Append(value));
  }
  int32_t position = -1;
  EXPECT_TRUE(array.SearchLinear(3, position));
  EXPECT_EQ(position, 1);
  EXPECT_FALSE(array.SearchLinear(4, position));
  EXPECT_EQ(position, 4);
}

// ---- Sort ----

TEST_F(ArrayTest, SortOrdersAnyInput) {
  tCollectionHelper helper(nullptr, CompareIntElements);
  uint32_t seed = 12345;
  for (int32_t count : {1, 2, 3, 8, 9, 10, 33, 100, 1000}) {
    for (int32_t range : {3, 1000000}) {  // many duplicates, then few
      std::vector<int32_t> values;
      for (int32_t index = 0; index < count; ++index) {
        seed = seed * 1103515245u + 12345u;
        values.push_back(static_cast<int32_t>((seed >> 8) % static_cast<uint32_t>(range)));
      }
      std::vector<int32_t> expected = values;
      std::sort(expected.begin(), expected.end());
      ASSERT_TRUE(helper.Sort(values.data(), count, 4));
      EXPECT_EQ(values, expected) << count << "/" << range;
    }
  }
  std::vector<int32_t> descending(50);
  for (int32_t index = 0; index < 50; ++index) {
    descending[index] = 50 - index;
  }
  ASSERT_TRUE(helper.Sort(descending.data(), 50, 4));
  EXPECT_TRUE(std::is_sorted(descending.begin(), descending.end()));
  int32_t one = 1;
  EXPECT_FALSE(helper.Sort(nullptr, 3, 4));
  EXPECT_FALSE(helper.Sort(&one, 0, 4));
  EXPECT_FALSE(tCollectionHelper().Sort(&one, 1, 4));
}

TEST_F(ArrayTest, IntegerComparisonKeepsTheSignAtTheExtremes) {
  const int32_t low = INT32_MIN;
  const int32_t high = INT32_MAX;
  const int32_t one = 1;
  EXPECT_LT(CompareIntElements(&low, &one), 0);
  EXPECT_GT(CompareIntElements(&high, &low), 0);
  EXPECT_EQ(CompareIntElements(&one, &one), 0);
}

// ---- Insertion and deletion ----

TEST_F(ArrayTest, InsertAtFullCapacityStaysInsideTheStorage) {
  Ints array;
  array.growth = 4;
  Fill(array, 4);
  ASSERT_EQ(array.capacity, 4);
  ASSERT_TRUE(array.InsertAt(1, 2));
  EXPECT_EQ(array.count, 6);
  EXPECT_EQ(array.capacity, 8);
  EXPECT_EQ(Values(array), (std::vector<int32_t>{0, 0, 0, 1, 2, 3}));
  EXPECT_TRUE(TailIsZero(array));
  // Filling the capacity exactly, then inserting at the very end.
  ASSERT_TRUE(array.InsertAt(6, 2));
  EXPECT_EQ(array.count, 8);
  EXPECT_EQ(array.capacity, 8);
  ASSERT_TRUE(array.Insert(8, 99));
  EXPECT_EQ(array.count, 9);
  EXPECT_EQ(array.capacity, 12);
  EXPECT_EQ(array.items[8], 99);
  EXPECT_TRUE(TailIsZero(array));
}

TEST_F(ArrayTest, AppendingAnOwnElementSurvivesTheStorageMoving) {
  Ints array;
  array.growth = 4;
  Fill(array, 4);
  ASSERT_TRUE(array.Append(array[3]));  // the storage grows under the argument
  EXPECT_EQ(Values(array), (std::vector<int32_t>{0, 1, 2, 3, 3}));
}

TEST_F(ArrayTest, InsertAtWithinCapacityMovesOnlyTheUsedSlots) {
  Ints array;
  Fill(array, 5);
  int32_t* storage = array.items;
  ASSERT_TRUE(array.Insert(0, 42));
  EXPECT_EQ(array.items, storage);
  EXPECT_EQ(Values(array), (std::vector<int32_t>{42, 0, 1, 2, 3, 4}));
  EXPECT_TRUE(TailIsZero(array));
}

TEST_F(ArrayTest, InsertAtRefusesBadArgumentsWithoutChange) {
  Ints array;
  Fill(array, 3);
  struct Case {
    int32_t index;
    int32_t n;
  };
  const Case cases[] = {{0, 0}, {1, -2}, {-1, 1}, {4, 1}, {INT32_MAX, 1}};
  for (const Case& testCase : cases) {
    EXPECT_FALSE(array.InsertAt(testCase.index, testCase.n)) << testCase.index << "/" << testCase.n;
    EXPECT_EQ(Values(array), (std::vector<int32_t>{0, 1, 2}));
  }
}

TEST_F(ArrayTest, DeleteAtDestroysFromTheLastAndClosesTheGap) {
  Ints array(RecordDestroy);
  Fill(array, 5);
  ASSERT_TRUE(array.DeleteAt(2, 2));
  EXPECT_EQ(destroyed, (std::vector<int32_t>{3, 2}));
  EXPECT_EQ(Values(array), (std::vector<int32_t>{0, 1, 4}));
  EXPECT_EQ(array.capacity, 16);
  EXPECT_TRUE(TailIsZero(array));
}

TEST_F(ArrayTest, DeleteAtAndClearAtRefuseRangesOutsideTheCount) {
  Ints array(RecordDestroy);
  Fill(array, 5);
  struct Case {
    int32_t index;
    int32_t n;
  };
  const Case cases[] = {{0, 0}, {-1, 1}, {4, 2}, {5, 1}, {0, 6}, {1, INT32_MAX}};
  for (const Case& testCase : cases) {
    EXPECT_FALSE(array.DeleteAt(testCase.index, testCase.n)) << testCase.index << "/" << testCase.n;
    EXPECT_FALSE(array.ClearAt(testCase.index, testCase.n)) << testCase.index << "/" << testCase.n;
  }
  EXPECT_TRUE(destroyed.empty());
  EXPECT_EQ(Values(array), (std::vector<int32_t>{0, 1, 2, 3, 4}));
}

TEST_F(ArrayTest, ClearAtEmptiesSlotsInPlace) {
  Ints array(RecordDestroy);
  Fill(array, 5);
  ASSERT_TRUE(array.ClearAt(1, 3));
  EXPECT_EQ(destroyed, (std::vector<int32_t>{3, 2, 1}));
  EXPECT_EQ(Values(array), (std::vector<int32_t>{0, 0, 0, 0, 4}));
}

// ---- Ready-made element callbacks ----

int liveObjects = 0;

class CountedNode : public tStrNode {
 public:
  explicit CountedNode(const char* name) {
    SetText(name);
    ++liveObjects;
  }
  // Nodes on the stack end without DestroyObject, so the text goes here.
  ~CountedNode() override {
    FreeCharStr(text);
    --liveObjects;
  }
};

TEST_F(ArrayTest, OwningObjectCollectionDestroysItsObjects) {
  liveObjects = 0;
  {
    tObjects objects(DestroyObjectElement, CompareObjectElements, CompareKeyToObjectElement);
    for (const char* name : {"c", "a", "b"}) {
      ASSERT_TRUE(objects.Append(new CountedNode(name)));
    }
    ASSERT_TRUE(objects.Append(nullptr));
    ASSERT_TRUE(objects.DeleteAt(0));
    EXPECT_EQ(liveObjects, 2);
    EXPECT_EQ(objects.count, 3);
  }
  EXPECT_EQ(liveObjects, 0);
}

TEST_F(ArrayTest, ObjectElementsSortByTheirCompareWithNullsLast) {
  CountedNode a("a"), b("B"), c("c");
  tObjects objects(nullptr, CompareObjectElements, CompareKeyToObjectElement);
  for (tObject* object : {static_cast<tObject*>(&c), static_cast<tObject*>(nullptr), static_cast<tObject*>(&a),
                          static_cast<tObject*>(nullptr), static_cast<tObject*>(&b)}) {
    ASSERT_TRUE(objects.Append(object));
  }
  ASSERT_TRUE(objects.Sort());
  EXPECT_EQ(objects[0], &a);
  EXPECT_EQ(objects[1], &b);
  EXPECT_EQ(objects[2], &c);
  EXPECT_EQ(objects[3], nullptr);
  EXPECT_EQ(objects[4], nullptr);
  // The key comparison reads as "key against element", so a binary search
  // by name lands where the name belongs.
  int32_t position = -1;
  EXPECT_TRUE(objects.SearchKey("b", position));
  EXPECT_EQ(position, 1);
  EXPECT_FALSE(objects.SearchKey("bb", position));
  EXPECT_EQ(position, 2);
  EXPECT_FALSE(objects.SearchKey("0", position));
  EXPECT_EQ(position, 0);
}

TEST_F(ArrayTest, KeyComparisonHandlesNullsOnEitherSide) {
  CountedNode node("m");
  tObject* present = &node;
  tObject* absent = nullptr;
  EXPECT_EQ(CompareKeyToObjectElement(nullptr, &present), -1);
  EXPECT_EQ(CompareKeyToObjectElement(nullptr, &absent), 0);
  EXPECT_EQ(CompareKeyToObjectElement("m", &absent), 1);
  EXPECT_GT(CompareKeyToObjectElement("z", &present), 0);
  EXPECT_LT(CompareKeyToObjectElement("a", &present), 0);
  EXPECT_EQ(CompareObjectElements(&absent, &present), 1);
  EXPECT_EQ(CompareObjectElements(&present, &absent), -1);
  EXPECT_EQ(CompareObjectElements(&absent, &absent), 0);
}

TEST_F(ArrayTest, StringElementsSortIgnoringCaseWithEmptyLastAndAreFreed) {
  using Strings = tCollection<tString, sizeof(tString)>;
  Strings strings(DestroyStringElement, CompareStringElements);
  for (const char* text : {"delta", "", "Alpha", "charlie", "BRAVO"}) {
    ASSERT_TRUE(strings.Append(tString(text)));
  }
  ASSERT_TRUE(strings.Sort());
  std::vector<std::string> order;
  for (int32_t index = 0; index < strings.count; ++index) {
    order.push_back(strings[index].text == nullptr ? "" : strings[index].text);
  }
  EXPECT_EQ(order, (std::vector<std::string>{"Alpha", "BRAVO", "charlie", "delta", ""}));
  // Deleting frees the texts; the leak checker of the sanitizer build notices otherwise.
  ASSERT_TRUE(strings.DeleteAt(0, 2));
  EXPECT_EQ(std::string(strings[0].text), "charlie");
  EXPECT_EQ(strings[3].text, nullptr);
}

TEST_F(ArrayTest, BufferElementsCompareOverTheShorterLengthWithEmptyLast) {
  const tBuffer abc("abc", 3);
  const tBuffer ab("ab", 2);
  const tBuffer b("b", 1);
  const tBuffer empty;
  EXPECT_EQ(CompareBufferElements(&abc, &ab), 0);
  EXPECT_LT(CompareBufferElements(&abc, &b), 0);
  EXPECT_EQ(CompareBufferElements(&empty, &abc), 1);
  EXPECT_EQ(CompareBufferElements(&abc, &empty), -1);
  tBuffer owned[2] = {tBuffer("xyz", 3), tBuffer("q", 1)};
  DestroyBufferElement(owned, 1, sizeof(tBuffer));
  EXPECT_EQ(owned[1].data, nullptr);
  EXPECT_EQ(owned[1].length, 0);
  EXPECT_EQ(owned[0].length, 3);
}

}  // namespace
