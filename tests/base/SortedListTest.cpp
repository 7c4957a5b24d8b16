#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "StreamBytes.h"
#include "base/LumoClass.h"
#include "base/LumoSortedList.h"

namespace stream_testing {
namespace {

LumoNode* Named(const char* name) {
  auto* node = new LumoNode;
  node->SetName(name);
  return node;
}

std::vector<std::string> IndexNames(const LumoSortedList& list) {
  std::vector<std::string> names;
  for (int32_t slot = 0; slot < list.index->count; ++slot) {
    names.push_back(static_cast<LumoNode*>(list.index->At(slot))->Name);
  }
  return names;
}

TEST(SortedListTest, IndexKeepsNamedItemsSortedIgnoringCase) {
  LumoSortedList list;
  for (const char* name : {"delta", "Alpha", "charlie", "BRAVO"}) {
    list.Append(Named(name));
  }
  list.Append(new LumoNode);  // no name: not indexed
  EXPECT_EQ(IndexNames(list), (std::vector<std::string>{"Alpha", "BRAVO", "charlie", "delta"}));
  for (const char* name : {"alpha", "Bravo", "CHARLIE", "delta"}) {
    LumoNode* found = list.FindByName(name);
    ASSERT_NE(found, nullptr) << name;
    EXPECT_EQ(CompareNoCase(found->Name, name), 0);
  }
  EXPECT_EQ(list.FindByName("echo"), nullptr);
  EXPECT_EQ(list.FindByName(nullptr), nullptr);
}

TEST(SortedListTest, UniqueListIndexesOnlyTheFirstItemOfAName) {
  LumoSortedList list;
  list.SetUnique(true);
  LumoNode* indexed = list.Append(Named("Tile"));
  LumoNode* twin = list.Append(Named("TILE"));
  EXPECT_EQ(list.Count, 2);
  EXPECT_EQ(list.index->count, 1);
  EXPECT_EQ(list.FindOrCreate("tile"), indexed);
  EXPECT_EQ(list.FindOrCreate("TILE"), indexed);
  EXPECT_EQ(list.Count, 2);
  EXPECT_NE(twin, indexed);
}

TEST(SortedListTest, FindOrCreateAppendsAndIndexesNewItems) {
  LumoSortedList list;
  LumoNode* first = list.FindOrCreate("b");
  LumoNode* second = list.FindOrCreate("a");
  LumoNode* again = list.FindOrCreate("b");  // not unique: a second "b"
  ASSERT_NE(first, nullptr);
  ASSERT_NE(again, nullptr);
  EXPECT_NE(again, first);
  EXPECT_EQ(list.Count, 3);
  EXPECT_EQ(list.last, again);
  EXPECT_EQ(IndexNames(list), (std::vector<std::string>{"a", "b", "b"}));
  EXPECT_EQ(list.FindByName("a"), second);
  EXPECT_EQ(list.FindOrCreate(nullptr), nullptr);
  EXPECT_EQ(list.Flags & LumoSortedList::kIndexingFlag, 0u);
}

TEST(SortedListTest, ItemsLeaveTheIndexWithTheListEvenWhenRenamed) {
  LumoSortedList list;
  LumoNode* kept = list.Append(Named("kept"));
  LumoNode* removed = list.Append(Named("removed"));
  LumoNode* renamed = list.Append(Named("renamed"));
  DestroyObject(removed);
  renamed->SetName(nullptr);
  DestroyObject(renamed);
  EXPECT_EQ(IndexNames(list), (std::vector<std::string>{"kept"}));
  EXPECT_EQ(list.FindByName("removed"), nullptr);
  list.Clear();
  EXPECT_EQ(list.index->count, 0);
  (void)kept;
}

TEST(SortedListTest, ItemLoadedFromAStreamIsIndexedOnceItsNameIsKnown) {
  LumoSortedList original;
  original.SetUnique(true);
  for (const char* name : {"zulu", "Mike", "alpha"}) {
    original.Append(Named(name));
  }
  ByteWriter writer;
  ASSERT_TRUE(original.SaveObject(&writer.stream, 0));
  ByteReader reader(writer.Written());
  auto* copy = dynamic_cast<LumoSortedList*>(LoadObject(&reader.stream, nullptr));
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(IndexNames(*copy), (std::vector<std::string>{"alpha", "Mike", "zulu"}));
  ASSERT_NE(copy->FindByName("MIKE"), nullptr);
  EXPECT_EQ(copy->FindByName("MIKE"), copy->At(1));
  DestroyObject(copy);
}

// An item whose class gives it a name as it is made, so the list indexes
// it under that name while the load registers it, before the stored name
// is read.
class SelfNamedItem : public LumoNode {
 public:
  SelfNamedItem() { SetName("unnamed"); }
  const char* GetClassName() const override { return "SelfNamedItem"; }
};

LumoClassOf<SelfNamedItem> classOfSelfNamedItem(kVersion_1_4_0_0, "SelfNamedItem", "LumoNode");

TEST(SortedListTest, ItemNamedByItsConstructorIsFoundByItsStoredNameAfterALoad) {
  LumoSortedList original;
  for (const char* name : {"tank", "jeep"}) {
    auto* item = new SelfNamedItem;
    item->SetName(name);
    original.Append(item);
  }
  ByteWriter writer;
  ASSERT_TRUE(original.SaveObject(&writer.stream, 0));
  ByteReader reader(writer.Written());
  auto* copy = dynamic_cast<LumoSortedList*>(LoadObject(&reader.stream, nullptr));
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(IndexNames(*copy), (std::vector<std::string>{"jeep", "tank"}));
  EXPECT_EQ(copy->FindByName("tank"), copy->At(0));
  EXPECT_EQ(copy->FindByName("JEEP"), copy->At(1));
  EXPECT_EQ(copy->FindByName("unnamed"), nullptr);
  DestroyObject(copy);
}

TEST(SortedListTest, PrepareRefusesWhatIsNotAnItemOfTheList) {
  LumoSortedList list;
  LumoSortedList other;
  LumoNode* stranger = other.Append(Named("stranger"));
  EXPECT_FALSE(list.Prepare(stranger));
  LumoNode* item = list.Append(Named("item"));
  EXPECT_TRUE(list.Prepare(item));
  EXPECT_EQ(list.index->count, 1);  // not indexed twice
}

}  // namespace
}  // namespace stream_testing
