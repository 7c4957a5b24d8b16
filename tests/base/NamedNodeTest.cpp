#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "RecordingObjects.h"
#include "base/LumoList.h"

namespace object_model_testing {
namespace {

TEST_F(ObjectModelTest, AssigningANodeInAListTakesItOutBeforeCopying) {
  RecordingList list("list");
  RecordingNode* node = list.Add("old");
  node->SetData(42);
  LumoNode source;
  source.SetName("new");
  source.Flags = 0x30;
  source.Tag = -3;
  source.ID = 9;
  source.SetData(77);
  Events().clear();
  EXPECT_TRUE(node->Assign(&source));
  EXPECT_EQ(node->parent, nullptr);
  EXPECT_EQ(list.Count, 0);
  EXPECT_STREQ(node->Name, "new");
  EXPECT_NE(node->Name, source.Name);
  EXPECT_EQ(node->Flags, 0x30u);
  EXPECT_EQ(node->Tag, -3);
  EXPECT_EQ(node->ID, 9u);
  // The data is not shared: the copy takes what the source restores for it.
  EXPECT_EQ(node->Data, 0u);
  EXPECT_EQ(Events(), (std::vector<std::string>{"DoAssign old new", "DoDetach list old", "OnDetach list old",
                                                "OnAssign new new"}));
  DestroyObject(node);
}

TEST_F(ObjectModelTest, NodeComparesByNameWithoutCase) {
  LumoNode alpha;
  alpha.SetName("Alpha");
  LumoNode other;
  other.SetName("ALPHA");
  tNode foreign;
  EXPECT_EQ(alpha.CompareKey("alpha"), 0);
  EXPECT_LT(alpha.CompareKey("beta"), 0);
  EXPECT_EQ(alpha.Compare(&other), 0);
  EXPECT_EQ(alpha.Compare(&foreign), -1);
}

TEST_F(ObjectModelTest, MessagesReachTheTargetWithTheSenderNamed) {
  RecordingNode sender("sender");
  RecordingNode receiver("receiver");
  receiver.handles = true;
  EXPECT_TRUE(sender.SendMessage(5, &receiver));
  // A null target sends the message to the sender itself.
  EXPECT_FALSE(sender.SendMessage(5, nullptr));
  // Without a sender no hook runs.
  EXPECT_FALSE(receiver.HandleMessage(5, nullptr));
  EXPECT_EQ(Events(), (std::vector<std::string>{"DoMessage receiver sender", "OnMessage receiver sender",
                                                "DoMessage sender sender", "OnMessage sender sender"}));
}

TEST_F(ObjectModelTest, DumpWritesOneLineWithTheNodeAndItsNeighbours) {
  LumoList box;
  box.SetName("box");
  auto* before = new LumoNode;
  auto* node = new LumoNode;
  auto* after = new LumoNode;
  after->SetName("after");
  box.Append(before);
  box.Append(node);
  box.Append(after);
  node->SetName("alpha");
  node->SetData(0x1234);
  node->Tag = -2;
  node->ID = 17;
  node->Flags = 0xAB;
  StartLog();
  node->DebugDump(false);
  EXPECT_EQ(StopLog(),
            Format("DUMP: LumoNode (Object=%p, Data=0x1234, Name=alpha, Parent=%p:box, Previous=%p, Next=%p:after, "
                   "Tag=-2, ID=17, Flags=AB)\n",
                   static_cast<void*>(node), static_cast<void*>(&box), static_cast<void*>(before),
                   static_cast<void*>(after)));
}

TEST_F(ObjectModelTest, DumpOfMissingDataListsOnlyNamedNodesWithoutData) {
  struct Case {
    const char* name;
    uintptr_t data;
    bool dumped;
  };
  const Case cases[] = {{nullptr, 0, false}, {"loaded", 5, false}, {"missing", 0, true}};
  for (const Case& test : cases) {
    LumoNode node;
    node.SetName(test.name);
    node.SetData(test.data);
    StartLog();
    node.DebugDump(true);
    const std::string line = StopLog();
    EXPECT_EQ(line.rfind("*** MISSING DATA: LumoNode (Object=", 0) == 0, test.dumped) << line;
    EXPECT_EQ(line.empty(), !test.dumped) << line;
  }
}

TEST_F(ObjectModelTest, ListDumpAddsItsFieldsAndThenEveryItem) {
  LumoList box;
  box.SetName("box");
  box.SetUnique(true);
  auto* first = new LumoNode;
  first->SetName("one");
  auto* second = new LumoNode;
  box.Append(first);
  box.Append(second);
  StartLog();
  box.DebugDump(false);
  const std::string log = StopLog();
  const std::string boxLine = Format(
      "DUMP: LumoList (Object=%p, Data=(nil), Name=box, Parent=(nil), Previous=(nil), Next=(nil), Tag=0, ID=0, "
      "Flags=1, Count=2, First=%p:one, Last=%p, Unique=1)\n",
      static_cast<void*>(&box), static_cast<void*>(first), static_cast<void*>(second));
  const std::string firstLine =
      Format("DUMP: LumoNode (Object=%p, Data=(nil), Name=one, Parent=%p:box, Previous=(nil), Next=%p, Tag=0, ID=0, "
             "Flags=0)\n",
             static_cast<void*>(first), static_cast<void*>(&box), static_cast<void*>(second));
  EXPECT_EQ(log.substr(0, boxLine.size() + firstLine.size()), boxLine + firstLine);
  EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 3);
}

// A tree root [left [a, b], right [c]] for the moves across lists.
struct Tree {
  LumoList root;
  LumoList* left = new LumoList;
  LumoList* right = new LumoList;
  LumoNode* a = new LumoNode;
  LumoNode* b = new LumoNode;
  LumoNode* c = new LumoNode;

  Tree() {
    root.Append(left);
    root.Append(right);
    left->Append(a);
    left->Append(b);
    right->Append(c);
  }
};

TEST_F(ObjectModelTest, NeighboursAcrossListsAreTheNearestItemsOfTheNextLists) {
  Tree tree;
  EXPECT_EQ(tree.c->GetPreviousAcross(), tree.b);
  EXPECT_EQ(tree.b->GetNextAcross(), tree.c);
  EXPECT_EQ(tree.a->GetNextAcross(), tree.b);
  EXPECT_EQ(tree.a->GetPreviousAcross(), nullptr);
  EXPECT_EQ(tree.c->GetNextAcross(), nullptr);
}

TEST_F(ObjectModelTest, NodeMovesIntoTheFirstOrLastListBesideItsParent) {
  Tree tree;
  EXPECT_EQ(tree.c->MoveToFirstParentSibling(), tree.left);
  EXPECT_EQ(tree.left->last, tree.c);
  EXPECT_EQ(tree.right->Count, 0);
  EXPECT_EQ(tree.a->MoveToLastParentSibling(), tree.right);
  EXPECT_EQ(tree.right->first, tree.a);
  // An item that is not a list takes nothing: the node stays where it was.
  auto* plain = new LumoNode;
  tree.root.InsertBefore(tree.left, plain);
  EXPECT_EQ(tree.b->MoveToFirstParentSibling(), nullptr);
  EXPECT_EQ(tree.b->parent, tree.left);
  LumoNode freeNode;
  EXPECT_EQ(freeNode.MoveToFirstParentSibling(), nullptr);
}

TEST_F(ObjectModelTest, NodeMovesWithinItsList) {
  Tree tree;
  auto* d = new LumoNode;
  tree.left->Append(d);  // left: a, b, d
  EXPECT_EQ(d->MoveToFront(), tree.a);
  EXPECT_EQ(tree.left->first, d);
  EXPECT_EQ(d->MoveAfter(tree.b), tree.b);
  EXPECT_EQ(tree.left->last, d);
  EXPECT_EQ(tree.a->MoveToBack(), d);
  EXPECT_EQ(tree.left->IndexOf(tree.a), 2);
  EXPECT_EQ(tree.a->MoveBefore(tree.c), nullptr);  // c is in another list
  LumoNode freeNode;
  EXPECT_EQ(freeNode.MoveToFront(), nullptr);
  tree.a->MoveTo(tree.right);
  EXPECT_EQ(tree.right->last, tree.a);
  freeNode.MoveTo(tree.right);
  EXPECT_EQ(freeNode.parent, nullptr);
}

}  // namespace
}  // namespace object_model_testing
