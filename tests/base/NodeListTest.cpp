#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/tList.h"

namespace {

std::vector<std::string> events;

class RecordingNode : public tNode {
 public:
  explicit RecordingNode(std::string name) : name(std::move(name)) {}
  void Attached(tList*) override { events.push_back(name + ".Attached"); }
  void Detached(tList*) override { events.push_back(name + ".Detached"); }
  void Free() override {
    events.push_back(name + ".Free");
    tNode::Free();
  }
  std::string name;
};

class RecordingList : public tList {
 public:
  void NodeAttached(tNode* node) override {
    events.push_back("list.NodeAttached:" + static_cast<RecordingNode*>(node)->name);
  }
  void NodeDetached(tNode* node) override {
    events.push_back("list.NodeDetached:" + static_cast<RecordingNode*>(node)->name);
  }
};

class NodeListTest : public ::testing::Test {
 protected:
  void SetUp() override { events.clear(); }
  void TearDown() override { list.DeleteAll(); }
  RecordingList list;
};

std::vector<std::string> Names(const tList& list) {
  std::vector<std::string> names;
  for (tNode* node = list.first; node != nullptr; node = node->next) {
    names.push_back(static_cast<RecordingNode*>(node)->name);
  }
  return names;
}

TEST_F(NodeListTest, AttachRunsListHookBeforeNodeHookAndDetachTheReverse) {
  auto* node = new RecordingNode("a");
  list.Append(node);
  list.Remove(node);
  EXPECT_EQ(events, (std::vector<std::string>{"list.NodeAttached:a", "a.Attached", "a.Detached",
                                              "list.NodeDetached:a"}));
  EXPECT_EQ(node->owner, nullptr);
  EXPECT_EQ(list.count, 0);
  DestroyObject(node);
}

TEST_F(NodeListTest, DeleteAllDestroysFromLastToFirst) {
  for (const char* name : {"a", "b", "c"}) {
    list.Append(new RecordingNode(name));
  }
  events.clear();
  list.DeleteAll();
  EXPECT_EQ(events, (std::vector<std::string>{"c.Free", "c.Detached", "list.NodeDetached:c", "b.Free",
                                              "b.Detached", "list.NodeDetached:b", "a.Free",
                                              "a.Detached", "list.NodeDetached:a"}));
  EXPECT_EQ(list.first, nullptr);
  EXPECT_EQ(list.last, nullptr);
  EXPECT_EQ(list.count, 0);
}

// A node whose Free leaves it linked (it does not run tNode::Free).
class StayingNode : public RecordingNode {
 public:
  StayingNode() : RecordingNode("staying") {}
  void Free() override { events.push_back("staying.Free"); }
};

TEST_F(NodeListTest, DeleteAllUnlinksANodeWhoseFreeKeepsItLinkedBeforeDeletingIt) {
  list.Append(new RecordingNode("a"));
  list.Append(new StayingNode);
  events.clear();
  list.DeleteAll();
  EXPECT_EQ(events, (std::vector<std::string>{"staying.Free", "staying.Detached", "list.NodeDetached:staying",
                                              "a.Free", "a.Detached", "list.NodeDetached:a"}));
  EXPECT_EQ(list.first, nullptr);
  EXPECT_EQ(list.last, nullptr);
  EXPECT_EQ(list.count, 0);
}

TEST_F(NodeListTest, AppendOfOwnedNodeChangesNeitherList) {
  RecordingList other;
  auto* node = new RecordingNode("a");
  other.Append(node);
  EXPECT_EQ(list.Append(node), node);
  EXPECT_EQ(node->owner, &other);
  EXPECT_EQ(list.count, 0);
  EXPECT_EQ(other.count, 1);
  other.DeleteAll();
}

TEST_F(NodeListTest, InsertBeforeNullOnlyIntoEmptyList) {
  auto* a = new RecordingNode("a");
  auto* b = new RecordingNode("b");
  EXPECT_EQ(list.InsertBefore(nullptr, a), a);
  EXPECT_EQ(list.InsertBefore(nullptr, b), nullptr);
  EXPECT_EQ(b->owner, nullptr);
  EXPECT_EQ(list.InsertAfter(nullptr, b), nullptr);
  DestroyObject(b);
  EXPECT_EQ(list.count, 1);
}

TEST_F(NodeListTest, InsertMoveAndIndexKeepLinksConsistent) {
  auto* a = new RecordingNode("a");
  auto* b = new RecordingNode("b");
  auto* c = new RecordingNode("c");
  auto* d = new RecordingNode("d");
  list.Append(b);
  list.InsertBefore(b, a);
  list.InsertAfter(b, d);
  list.InsertAt(2, c);
  EXPECT_EQ(Names(list), (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(list.IndexOf(c), 2);
  EXPECT_EQ(list.At(3), d);
  EXPECT_EQ(list.At(4), nullptr);
  EXPECT_EQ(list.At(-1), nullptr);

  EXPECT_EQ(list.MoveBefore(a, d), d);
  EXPECT_EQ(Names(list), (std::vector<std::string>{"d", "a", "b", "c"}));
  EXPECT_EQ(list.MoveAfter(c, d), d);
  EXPECT_EQ(Names(list), (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(list.MoveAfter(d, d), nullptr);
  EXPECT_EQ(list.first->previous, nullptr);
  EXPECT_EQ(list.last->next, nullptr);

  EXPECT_EQ(list.RemoveAt(1), b);
  EXPECT_EQ(list.IndexOf(b), -1);
  EXPECT_EQ(list.RemoveAt(7), nullptr);
  DestroyObject(b);
  EXPECT_EQ(Names(list), (std::vector<std::string>{"a", "c", "d"}));
}

TEST_F(NodeListTest, MoveBesideAReferenceOutsideTheListKeepsTheNodeLinked) {
  RecordingList other;
  auto* stranger = new RecordingNode("s");
  other.Append(stranger);
  auto* a = new RecordingNode("a");
  auto* b = new RecordingNode("b");
  list.Append(a);
  list.Append(b);
  EXPECT_EQ(list.MoveBefore(stranger, a), nullptr);
  EXPECT_EQ(list.MoveAfter(nullptr, b), nullptr);
  EXPECT_EQ(Names(list), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(a->owner, &list);
  other.DeleteAll();
}

TEST_F(NodeListTest, MoveOfNodeFromAnotherListFailsAndLeavesIt) {
  RecordingList other;
  auto* stranger = new RecordingNode("s");
  other.Append(stranger);
  auto* a = new RecordingNode("a");
  list.Append(a);
  EXPECT_EQ(list.MoveBefore(a, stranger), nullptr);
  EXPECT_EQ(stranger->owner, &other);
  other.DeleteAll();
}

TEST(ListAssignTest, CopiesTextsAndRefusesNonLists) {
  tStrList source;
  for (const char* text : {"one", "two"}) {
    tNode* node = source.CreateNode();
    static_cast<tStrNode*>(node)->SetText(text);
    source.Append(node);
  }
  tStrList target;
  target.Append(target.CreateNode());
  ASSERT_TRUE(target.Assign(&source));
  ASSERT_EQ(target.count, 2);
  EXPECT_STREQ(static_cast<tStrNode*>(target.first)->text, "one");
  EXPECT_STREQ(static_cast<tStrNode*>(target.last)->text, "two");
  EXPECT_NE(static_cast<tStrNode*>(target.first)->text, static_cast<tStrNode*>(source.first)->text);

  tDataNode notAList;
  EXPECT_FALSE(target.Assign(&notAList));
  EXPECT_EQ(target.count, 0);
  source.DeleteAll();
}

TEST(StrNodeTest, ComparesCaseInsensitivelyAndRefusesOtherKinds) {
  tStrNode upper, lower, empty;
  upper.SetText("ABC");
  lower.SetText("abc");
  tDataNode data;
  EXPECT_EQ(upper.Compare(&lower), 0);
  EXPECT_EQ(upper.Compare(&data), -1);
  EXPECT_LT(empty.CompareKey("a"), 0);
  EXPECT_GT(upper.CompareKey(nullptr), 0);
  EXPECT_LT(upper.CompareKey("abd"), 0);
  EXPECT_FALSE(upper.Assign(&data));
  upper.Free();
  lower.Free();
}

TEST(DataNodeTest, HoldsPointerSizedValuesAndAssignDoesNotCopyThem) {
  tDataNode a, b;
  int target = 0;
  a.SetData(reinterpret_cast<uintptr_t>(&target));
  EXPECT_EQ(reinterpret_cast<int*>(a.data), &target);
  EXPECT_TRUE(b.Assign(&a));
  EXPECT_EQ(b.data, 0u);
}

TEST(DestroyObjectTest, NullIsIgnoredAndOwnedNodeLeavesItsList) {
  DestroyObject(nullptr);
  tList list;
  tNode* node = list.Append(new tNode);
  DestroyObject(node);
  EXPECT_EQ(list.count, 0);
  EXPECT_EQ(list.first, nullptr);
}

TEST(ListEndTest, ListGoingOutOfScopeUnlinksItsNodesWithoutDestroyingThem) {
  auto* first = new tNode;
  auto* second = new tNode;
  {
    tList list;
    list.Append(first);
    list.Append(second);
  }
  EXPECT_EQ(first->owner, nullptr);
  EXPECT_EQ(first->next, nullptr);
  EXPECT_EQ(second->owner, nullptr);
  EXPECT_EQ(second->previous, nullptr);
  // Neither may write into the dead list.
  DestroyObject(first);
  DestroyObject(second);
}

}  // namespace
