#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "BSPTestTree.h"

namespace bsp_testing {
namespace {

using Strings = std::vector<std::string>;
using NodeOwner = std::unique_ptr<Node, tObjectDestroyer>;

class BSPTreeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Calls().clear();
    DestroyedProbes() = 0;
  }

  static NodeOwner MakeRoot(const Box& box) {
    NodeOwner root(new Node);
    SetBox(*root, box);
    return root;
  }

  // A probe placed in the tree, which owns it from then on.
  static Probe* Add(Node& root, const std::string& name, const Box& box) {
    auto* probe = new Probe(name, box);
    root.Insert(probe);
    return probe;
  }
};

// ---- Boxes ----

TEST(BSPBoundsTest, OverlapAndContainmentIncludeTheEdges) {
  struct Case {
    const char* what;
    Box a, b;
    bool overlaps, aInsideB;
  };
  const Case cases[] = {
      {"apart on x", {0, 0, 4, 4}, {5, 0, 4, 4}, false, false},
      {"apart on y only", {0, 0, 4, 4}, {0, 5, 4, 4}, false, false},
      {"touching at an edge", {0, 0, 4, 4}, {4, 0, 4, 4}, true, false},
      {"touching at a corner", {0, 0, 4, 4}, {4, 4, 4, 4}, true, false},
      {"crossing", {2, 2, 4, 4}, {0, 0, 4, 4}, true, false},
      {"inside with shared edges", {0, 0, 2, 4}, {0, 0, 4, 4}, true, true},
      {"the same box", {1, 1, 3, 3}, {1, 1, 3, 3}, true, true},
      {"surrounding", {0, 0, 9, 9}, {1, 1, 2, 2}, true, false},
      {"a point on the far edge", {4, 2, 0, 0}, {0, 0, 4, 4}, true, true},
      // The far corner is computed wide, so it does not wrap round.
      {"near the top of the range", {INT32_MAX - 1, 0, 10, 10}, {INT32_MIN, 0, 10, 10}, false, false},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.what);
    Object a, b;
    SetBox(a, test.a);
    SetBox(b, test.b);
    EXPECT_EQ(Bounds::Overlaps(a, b), test.overlaps);
    EXPECT_EQ(Bounds::Overlaps(b, a), test.overlaps);
    EXPECT_EQ(Bounds::IsInside(a, b), test.aInsideB);
  }
}

TEST(BSPBoundsTest, PointsSetScaleAndAddressTheirComponents) {
  IntPoint point;
  EXPECT_EQ(point, IntPoint(0, 0));
  point.Set(-7, 9);
  point /= 2;  // truncates towards zero
  EXPECT_EQ(point, IntPoint(-3, 4));
  point *= 3;
  point += IntPoint(1, 1);
  point -= IntPoint(0, 3);
  EXPECT_EQ(point, IntPoint(-8, 10));
  point /= 0;  // refused, not a crash
  EXPECT_EQ(point, IntPoint(-8, 10));
  EXPECT_EQ(point.Component(1), &point.y);
  EXPECT_EQ(point.Component(2), nullptr);
  EXPECT_EQ(point.Component(-1), nullptr);

  IntPoint wrapping(INT32_MAX, INT32_MIN);
  wrapping += IntPoint(1, -1);
  EXPECT_EQ(wrapping, IntPoint(INT32_MIN, INT32_MAX));

  LumoPoint<6, int32_t> six;
  six.Set(1, 2, 3);
  EXPECT_EQ(six.component[2], 3);
  EXPECT_EQ(six.component[3], 0);
  six.Set(9, 8, 7, 6, 5, 4);
  EXPECT_EQ(*six.Component(5), 4);
  EXPECT_EQ(six.Component(6), nullptr);
}

// ---- Splitting and placing ----

TEST_F(BSPTreeTest, SplitHalvesTheLongerSideFirstHalfTakingTheOddUnit) {
  struct Case {
    const char* what;
    Box root;
    bool splits;
    Box first, second;
  };
  const Case cases[] = {
      {"10 x 4 along x", {0, 0, 10, 4}, true, {0, 0, 5, 4}, {5, 0, 5, 4}},
      {"9 x 9 along x on a tie", {0, 0, 9, 9}, true, {0, 0, 5, 9}, {5, 0, 4, 9}},
      {"4 x 10 along y", {0, 0, 4, 10}, true, {0, 0, 4, 5}, {0, 5, 4, 5}},
      {"away from the origin", {-7, 3, 9, 2}, true, {-7, 3, 5, 2}, {-2, 3, 4, 2}},
      {"2 x 1 just above the minimum", {0, 0, 2, 1}, true, {0, 0, 1, 1}, {1, 0, 1, 1}},
      {"1 x 1 at the minimum", {0, 0, 1, 1}, false, {}, {}},
      {"empty", {0, 0, 0, 0}, false, {}, {}},
      {"negative", {0, 0, -8, -8}, false, {}, {}},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.what);
    NodeOwner root = MakeRoot(test.root);
    Node* first = root->CreateFirstChild();
    Node* second = root->CreateSecondChild();
    ASSERT_EQ(first != nullptr, test.splits);
    ASSERT_EQ(second != nullptr, test.splits);
    if (!test.splits) {
      continue;
    }
    EXPECT_EQ(BoxOf(*first), test.first);
    EXPECT_EQ(BoxOf(*second), test.second);
    EXPECT_EQ(first->parent, root.get());
    EXPECT_EQ(second->parent, root.get());
    EXPECT_EQ(root->firstChild, first);
    EXPECT_EQ(root->CreateFirstChild(), first) << "an existing half is answered again";
  }
}

TEST_F(BSPTreeTest, SecondHalfPastTheCoordinateRangeIsNotMade) {
  NodeOwner root = MakeRoot({INT32_MAX - 2, 0, 10, 4});
  EXPECT_NE(root->CreateFirstChild(), nullptr);
  EXPECT_EQ(root->CreateSecondChild(), nullptr);
}

TEST_F(BSPTreeTest, ObjectGoesToTheDeepestNodeThatHoldsIt) {
  NodeOwner root = MakeRoot({0, 0, 16, 16});
  Probe* corner = Add(*root, "corner", {0, 0, 1, 1});
  // 16x16, 8x16, 8x8, 4x8, 4x4, 2x4, 2x2, 1x2, 1x1: the 1x1 box holds the
  // object (both ends included) and is not split further.
  EXPECT_EQ(BoxOf(*corner->node), (Box{0, 0, 1, 1}));
  EXPECT_EQ(root->GetStatistic(BSPStatisticDepth), 9);
  int depth = 0;
  for (const Node* node = corner->node; node != nullptr; node = node->parent) {
    EXPECT_TRUE(node->secondChild == nullptr) << "no half is made where nothing went";
    ++depth;
  }
  EXPECT_EQ(depth, 9);
  EXPECT_EQ(ExpectConsistent(*root), 1);
}

TEST_F(BSPTreeTest, ObjectInAOneByOneRootStaysInTheRoot) {
  NodeOwner root = MakeRoot({0, 0, 1, 1});
  Probe* probe = Add(*root, "only", {0, 0, 1, 1});
  EXPECT_EQ(probe->node, root.get());
  EXPECT_EQ(root->firstChild, nullptr);
  EXPECT_EQ(root->secondChild, nullptr);
}

TEST_F(BSPTreeTest, StraddlingObjectStaysInTheParentAndLeavesNoEmptyChild) {
  NodeOwner root = MakeRoot({0, 0, 100, 100});
  Probe* middle = Add(*root, "middle", {45, 10, 10, 10});
  EXPECT_EQ(middle->node, root.get());
  EXPECT_EQ(root->firstChild, nullptr);
  EXPECT_EQ(root->secondChild, nullptr);
  EXPECT_EQ(root->GetStatistic(BSPStatisticNodes), 1);

  // One that fits a half takes only the halves it needs.
  Probe* right = Add(*root, "right", {60, 60, 30, 30});
  EXPECT_EQ(root->firstChild, nullptr);
  ASSERT_NE(root->secondChild, nullptr);
  EXPECT_EQ(BoxOf(*right->node), (Box{50, 50, 50, 50}));  // it straddles x = 75 below
  EXPECT_EQ(right->node->parent, root->secondChild);
  EXPECT_EQ(root->secondChild->firstChild, nullptr);
  EXPECT_EQ(middle->node, root.get());
  ExpectConsistent(*root);
}

TEST_F(BSPTreeTest, ObjectOutsideTheRootStaysInTheRoot) {
  NodeOwner root = MakeRoot({0, 0, 100, 100});
  Probe* outside = Add(*root, "outside", {500, 500, 5, 5});
  EXPECT_EQ(outside->node, root.get());
  EXPECT_TRUE(root->firstChild == nullptr && root->secondChild == nullptr);
}

TEST_F(BSPTreeTest, StatisticsCountTheSubtreeInFixedRecordSizes) {
  NodeOwner root = MakeRoot({0, 0, 8, 8});
  Add(*root, "a", {0, 0, 1, 1});  // 8x8, 4x8, 4x4, 2x4, 2x2, 1x2, 1x1: 7 nodes
  Add(*root, "b", {3, 3, 2, 2});  // straddles the first split: the root
  Add(*root, "c", {0, 0, 1, 1});  // beside "a"
  struct Case {
    int32_t code;
    int32_t expected;
  };
  const Case cases[] = {
      {BSPStatisticNodes, 7},      {BSPStatisticObjects, 3},    {BSPStatisticTotalSize, 7 * 4 + 3 * 36},
      {BSPStatisticNodeSize, 28},  {BSPStatisticObjectSize, 108}, {BSPStatisticDepth, 7},
      {6, -1},                     {-1, -1},
  };
  for (const Case& test : cases) {
    EXPECT_EQ(root->GetStatistic(test.code), test.expected) << "code " << test.code;
  }
  EXPECT_EQ(root->firstChild->GetStatistic(BSPStatisticObjects), 2);
}

TEST_F(BSPTreeTest, InsertingAStoredObjectMovesItWithoutBreakingEitherList) {
  NodeOwner root = MakeRoot({0, 0, 64, 64});
  NodeOwner other = MakeRoot({0, 0, 64, 64});
  Probe* a = Add(*root, "a", {30, 30, 4, 4});
  Probe* b = Add(*root, "b", {30, 30, 4, 4});
  Add(*root, "c", {30, 30, 4, 4});
  root->Insert(b);  // again, into the same tree
  EXPECT_EQ(NamesIn(*root), (Strings{"b", "c", "a"}));
  other->Insert(a);  // into another tree
  EXPECT_EQ(NamesIn(*root), (Strings{"b", "c"}));
  EXPECT_EQ(a->node, other.get());
  EXPECT_EQ(ExpectConsistent(*root), 2);
  EXPECT_EQ(ExpectConsistent(*other), 1);
  root->Insert(nullptr);  // ignored
}

// ---- Removal and destruction ----

TEST_F(BSPTreeTest, RemovingAnyObjectKeepsTheOthersLinked) {
  struct Case {
    const char* removed;
    Strings left;
  };
  // Inserted a, b, c: the list reads c, b, a. Removing the old head "a"
  // needs the back link set when "b" and "c" went in ahead of it.
  const Case cases[] = {{"a", {"c", "b"}}, {"b", {"c", "a"}}, {"c", {"b", "a"}}};
  for (const Case& test : cases) {
    SCOPED_TRACE(test.removed);
    NodeOwner root = MakeRoot({0, 0, 10, 10});
    std::vector<Probe*> probes;
    for (const char* name : {"a", "b", "c"}) {
      probes.push_back(Add(*root, name, {4, 4, 2, 2}));
    }
    Probe* removed = probes[test.removed[0] - 'a'];
    root->RemoveObject(removed);
    EXPECT_EQ(NamesIn(*root), test.left);
    EXPECT_TRUE(removed->node == nullptr && removed->next == nullptr && removed->previous == nullptr);
    ExpectConsistent(*root);
    delete removed;
  }
}

TEST_F(BSPTreeTest, DestroyingAnObjectUnlinksItFromItsNode) {
  NodeOwner root = MakeRoot({0, 0, 10, 10});
  Add(*root, "a", {4, 4, 2, 2});
  Probe* b = Add(*root, "b", {4, 4, 2, 2});
  Add(*root, "c", {4, 4, 2, 2});
  DestroyObject(b);
  EXPECT_EQ(NamesIn(*root), (Strings{"c", "a"}));
  delete root->objects;  // a plain delete unlinks too
  EXPECT_EQ(NamesIn(*root), (Strings{"a"}));
  ExpectConsistent(*root);
}

TEST_F(BSPTreeTest, RemovingAnObjectOfAnotherNodeChangesNothing) {
  NodeOwner root = MakeRoot({0, 0, 10, 10});
  NodeOwner other = MakeRoot({0, 0, 10, 10});
  Probe* a = Add(*root, "a", {4, 4, 2, 2});
  Probe stray("stray");
  other->RemoveObject(a);
  root->RemoveObject(&stray);
  root->RemoveObject(nullptr);
  EXPECT_EQ(a->node, root.get());
  EXPECT_EQ(NamesIn(*root), (Strings{"a"}));
}

TEST_F(BSPTreeTest, FreeingANodeDestroysItsObjectsAndChildren) {
  NodeOwner root = MakeRoot({0, 0, 64, 64});
  Add(*root, "root", {30, 30, 4, 4});
  Add(*root, "deep", {1, 1, 2, 2});
  Add(*root, "other", {40, 40, 2, 2});
  root->Clear();
  EXPECT_EQ(DestroyedProbes(), 3);
  EXPECT_TRUE(root->IsEmpty());
  EXPECT_EQ(BoxOf(*root), (Box{0, 0, 64, 64})) << "the box stays";

  Add(*root, "again", {1, 1, 2, 2});
  root.reset();  // DestroyObject
  EXPECT_EQ(DestroyedProbes(), 4);

  // A node deleted without Free still takes its objects with it.
  auto* plain = new Node;
  SetBox(*plain, {0, 0, 64, 64});
  Add(*plain, "plain", {1, 1, 2, 2});
  delete plain;
  EXPECT_EQ(DestroyedProbes(), 5);
}

TEST_F(BSPTreeTest, DeleteChildTakesOnlyAChildOfThisNode) {
  NodeOwner root = MakeRoot({0, 0, 64, 64});
  Add(*root, "deep", {1, 1, 2, 2});
  Node* first = root->firstChild;
  ASSERT_NE(first, nullptr);
  root->DeleteChild(first->firstChild);  // a grandchild: ignored
  EXPECT_NE(first->firstChild, nullptr);
  root->DeleteChild(first);
  EXPECT_EQ(root->firstChild, nullptr);
  EXPECT_EQ(DestroyedProbes(), 1);
}

// ---- Subdivision and derived trees ----

// A node type whose minimum size the test sets; its halves are of its type.
class TunableNode : public Node {
 public:
  Node* CreateChildNode(const IntPoint& childOrigin, const IntPoint& childSize) override {
    auto* child = new TunableNode;
    child->origin = childOrigin;
    child->size = childSize;
    child->minimum = minimum;
    return child;
  }
  int32_t MinimumSize() const override { return minimum; }
  int32_t minimum = 1;
};

TEST_F(BSPTreeTest, SubdivideMovesDownWhatFitsAndKeepsTheOrder) {
  std::unique_ptr<TunableNode, tObjectDestroyer> root(new TunableNode);
  SetBox(*root, {0, 0, 16, 16});
  root->minimum = 100;  // nothing splits yet
  for (const char* name : {"a", "b", "c", "d"}) {
    const bool straddles = name[0] == 'b' || name[0] == 'd';
    Add(*root, name, straddles ? Box{7, 0, 2, 2} : Box{0, 0, 1, 1});
  }
  EXPECT_EQ(NamesIn(*root), (Strings{"d", "c", "b", "a"}));
  EXPECT_EQ(root->Subdivide(), 0);

  root->minimum = 4;  // 16x16, 8x16, 8x8, 4x8, 4x4: the halves stop at 4
  EXPECT_EQ(root->Subdivide(), 2);
  EXPECT_EQ(NamesIn(*root), (Strings{"d", "b"}));
  const Node* deepest = root->firstChild;
  while (deepest->firstChild != nullptr) {
    EXPECT_NE(dynamic_cast<const TunableNode*>(deepest), nullptr);
    deepest = deepest->firstChild;
  }
  EXPECT_EQ(BoxOf(*deepest), (Box{0, 0, 4, 4}));
  EXPECT_EQ(NamesIn(*deepest), (Strings{"c", "a"}));
  EXPECT_EQ(root->secondChild, nullptr);
  EXPECT_EQ(ExpectConsistent(*root), 4);
}

TEST_F(BSPTreeTest, NodeWithoutAMinimumSizeStillStopsSplitting) {
  std::unique_ptr<TunableNode, tObjectDestroyer> root(new TunableNode);
  SetBox(*root, {0, 0, 4, 4});
  root->minimum = -5;
  Probe* point = Add(*root, "point", {0, 0, 0, 0});
  EXPECT_EQ(BoxOf(*point->node), (Box{0, 0, 1, 1}));
}

TEST_F(BSPTreeTest, FloatTreeHalvesExactlyAndAnswersQueries) {
  using FloatNode = LumoBSPNode<2, float>;
  using FloatObject = LumoBSPObject<2, float>;
  std::unique_ptr<FloatNode, tObjectDestroyer> root(new FloatNode);
  root->size.Set(9.0f, 9.0f);
  FloatNode* second = root->CreateSecondChild();
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->origin.x, 4.5f);
  EXPECT_EQ(second->size.x, 4.5f);

  auto* inside = new FloatObject;
  inside->origin.Set(5.0f, 1.0f);
  inside->size.Set(0.5f, 0.5f);
  root->Insert(inside);
  EXPECT_NE(inside->node, root.get());
  FloatObject probe;
  probe.origin.Set(5.25f, 1.25f);
  EXPECT_FALSE(root->QueryOverlapping(&probe));  // the base hook answers false
  EXPECT_EQ(root->GetStatistic(BSPStatisticObjects), 1);
}

// ---- Queries ----

// A subject S with neighbours in several nodes of a 64x64 tree: B overlaps
// S, C lies inside S, D is far away, E touches S at a corner.
class BSPQueryTest : public BSPTreeTest {
 protected:
  void SetUp() override {
    BSPTreeTest::SetUp();
    root = MakeRoot({0, 0, 64, 64});
    subject = Add(*root, "S", {8, 8, 16, 16});
    Add(*root, "B", {20, 20, 10, 10});
    Add(*root, "C", {10, 10, 2, 2});
    Add(*root, "D", {50, 50, 4, 4});
    Add(*root, "E", {24, 24, 1, 1});
  }

  Probe* Find(const std::string& name) {
    std::vector<Node*> pending{root.get()};
    while (!pending.empty()) {
      Node* node = pending.back();
      pending.pop_back();
      for (Object* object = node->objects; object != nullptr; object = object->next) {
        if (NameOf(object) == name) {
          return dynamic_cast<Probe*>(object);
        }
      }
      for (Node* child : {node->firstChild, node->secondChild}) {
        if (child != nullptr) {
          pending.push_back(child);
        }
      }
    }
    return nullptr;
  }

  static std::set<std::string> Heard() { return {Calls().begin(), Calls().end()}; }

  NodeOwner root;
  Probe* subject = nullptr;
};

enum class Query { NotifyOverlapped, NotifyContained, QueryOverlapping, QueryContained };

bool RunQuery(Node& root, Query query, Object* subject) {
  switch (query) {
    case Query::NotifyOverlapped:
      return root.NotifyOverlapped(subject);
    case Query::NotifyContained:
      return root.NotifyContained(subject);
    case Query::QueryOverlapping:
      return root.QueryOverlapping(subject);
    case Query::QueryContained:
      return root.QueryContained(subject);
  }
  return false;
}

struct QueryCase {
  const char* what;
  Query query;
  std::set<std::string> heard;
  const char* answering;  // the probe that answers true
};

const QueryCase kQueryCases[] = {
    {"NotifyOverlapped", Query::NotifyOverlapped,
     {"OnOverlappedBy B S", "OnOverlappedBy C S", "OnOverlappedBy E S"}, "C"},
    // Contained objects hear OnOverlappedBy too.
    {"NotifyContained", Query::NotifyContained, {"OnOverlappedBy C S"}, "C"},
    {"QueryOverlapping", Query::QueryOverlapping, {"OnOverlap S B", "OnOverlap S C", "OnOverlap S E"}, "S"},
    {"QueryContained", Query::QueryContained, {"OnContain S C"}, "S"},
};

TEST_F(BSPQueryTest, QueriesCallTheirHookForEveryMatchButTheSubject) {
  ASSERT_NE(Find("C")->node, root.get()) << "the fixture spreads the objects over several nodes";
  for (const QueryCase& test : kQueryCases) {
    SCOPED_TRACE(test.what);
    Calls().clear();
    EXPECT_FALSE(RunQuery(*root, test.query, subject));
    EXPECT_EQ(Heard(), test.heard);
    EXPECT_EQ(Calls().size(), test.heard.size()) << "each match is heard once";
  }
}

TEST_F(BSPQueryTest, QueryAnswerIsTheOrOfAllCallbacksAndAllRun) {
  for (const QueryCase& test : kQueryCases) {
    SCOPED_TRACE(test.what);
    Probe* answering = Find(test.answering);
    answering->answer = true;
    Calls().clear();
    EXPECT_TRUE(RunQuery(*root, test.query, subject));
    EXPECT_EQ(Heard(), test.heard) << "a true answer stops no other callback";
    answering->answer = false;
  }
}

TEST_F(BSPQueryTest, ObjectsMayRemoveOrDestroyThemselvesAndOthersDuringAQuery) {
  // B, C and E (every object S overlaps) each run the case's action when
  // they hear S.
  struct Case {
    const char* what;
    std::function<void(Probe* self, Object* other)> action;
    int destroyed;
    int left;        // objects still in the tree afterwards
    bool takenOut;   // the test deletes the objects the action took out
  };
  const Case cases[] = {
      {"remove itself", [](Probe* self, Object*) { self->node->RemoveObject(self); }, 0, 2, true},
      {"destroy itself", [](Probe* self, Object*) { DestroyObject(self); }, 3, 2, false},
      {"move itself back into the tree",
       [](Probe* self, Object*) {
         Node* top = self->node;
         while (top->parent != nullptr) {
           top = top->parent;
         }
         top->Insert(self);
       },
       0, 5, false},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.what);
    root.reset();
    SetUp();
    std::vector<Probe*> actors;
    for (const char* name : {"B", "C", "E"}) {
      Probe* probe = Find(name);
      probe->action = test.action;
      actors.push_back(probe);
    }
    EXPECT_FALSE(root->NotifyOverlapped(subject));
    EXPECT_EQ(Heard(), kQueryCases[0].heard);
    EXPECT_EQ(Calls().size(), 3u) << "no object is heard twice";
    EXPECT_EQ(DestroyedProbes(), test.destroyed);
    EXPECT_EQ(ExpectConsistent(*root), test.left);
    if (test.takenOut) {
      for (Probe* probe : actors) {
        delete probe;
      }
    }
  }
}

TEST_F(BSPQueryTest, QueryStopsOnceItsSubjectIsDestroyed) {
  // The first callback of each query destroys S (a projectile ending on its
  // first hit); nothing may read S after that, and the tree stays sound.
  for (const QueryCase& test : kQueryCases) {
    SCOPED_TRACE(test.what);
    root.reset();
    SetUp();
    Probe* target = subject;
    const auto destroySubject = [target](Probe*, Object*) { DestroyObject(target); };
    for (const char* name : {"S", "B", "C", "E"}) {
      Find(name)->action = destroySubject;
    }
    Find(test.answering)->answer = true;
    EXPECT_TRUE(RunQuery(*root, test.query, target)) << "the answer given before the end counts";
    EXPECT_EQ(Calls().size(), 1u);
    EXPECT_EQ(DestroyedProbes(), 1);
    EXPECT_EQ(Find("S"), nullptr);
    EXPECT_EQ(ExpectConsistent(*root), 4);
  }
}

TEST_F(BSPQueryTest, QueryForASubjectInsideAQueryForItStopsBoth) {
  // The first object heard starts a second query for S; the first object
  // heard there destroys S. Both queries end at once.
  Probe* target = subject;
  bool nested = false;
  const auto action = [&](Probe*, Object*) {
    if (!nested) {
      nested = true;
      root->NotifyOverlapped(target);
    } else {
      DestroyObject(target);
    }
  };
  for (const char* name : {"B", "C", "E"}) {
    Find(name)->action = action;
  }
  root->NotifyOverlapped(target);
  EXPECT_EQ(Calls().size(), 2u);
  EXPECT_EQ(DestroyedProbes(), 1);
  EXPECT_EQ(ExpectConsistent(*root), 4);
}

TEST_F(BSPQueryTest, RemovingTheObjectAboutToBeVisitedSkipsIt) {
  // Three objects in one list: a callback removes the one the walk would
  // visit next.
  NodeOwner flat = MakeRoot({0, 0, 1, 1});
  Probe* first = Add(*flat, "first", {0, 0, 1, 1});
  Probe* second = Add(*flat, "second", {0, 0, 1, 1});
  Add(*flat, "third", {0, 0, 1, 1});
  Probe query("query", {0, 0, 1, 1});
  // The list reads third, second, first: third's callback destroys second.
  dynamic_cast<Probe*>(flat->objects)->action = [second](Probe*, Object*) { DestroyObject(second); };
  flat->NotifyOverlapped(&query);
  EXPECT_EQ(Calls(), (Strings{"OnOverlappedBy third query", "OnOverlappedBy first query"}));
  EXPECT_EQ(NamesIn(*flat), (Strings{"third", "first"}));
  EXPECT_EQ(first->node, flat.get());
  ExpectConsistent(*flat);
}

TEST_F(BSPQueryTest, QueryInsideACallbackLeavesTheOuterWalkItsPlace) {
  NodeOwner flat = MakeRoot({0, 0, 1, 1});
  Add(*flat, "first", {0, 0, 1, 1});
  Probe* second = Add(*flat, "second", {0, 0, 1, 1});
  Probe* third = Add(*flat, "third", {0, 0, 1, 1});
  Probe outer("outer", {0, 0, 1, 1});
  Probe inner("inner", {0, 0, 1, 1});
  // While the outer walk stands at "second", the inner query removes it.
  third->action = [&](Probe*, Object* other) {
    if (other == &outer) {
      flat->NotifyOverlapped(&inner);
    }
  };
  second->action = [&](Probe* self, Object* other) {
    if (other == &inner) {
      flat->RemoveObject(self);
    }
  };
  flat->NotifyOverlapped(&outer);
  EXPECT_EQ(Calls(), (Strings{"OnOverlappedBy third outer", "OnOverlappedBy third inner",
                              "OnOverlappedBy second inner", "OnOverlappedBy first inner",
                              "OnOverlappedBy first outer"}));
  EXPECT_EQ(NamesIn(*flat), (Strings{"third", "first"}));
  ExpectConsistent(*flat);
  delete second;
}

TEST_F(BSPQueryTest, ThrowingCallbackLeavesNoCursorBehind) {
  Find("B")->action = [](Probe*, Object*) { throw std::runtime_error("callback"); };
  EXPECT_THROW(root->NotifyOverlapped(subject), std::runtime_error);
  ExpectConsistent(*root);
}

// ---- Many changes in random order ----

// The answers of every query agree with a plain scan over all live objects,
// and every link stays sound, through inserts, moves, removals and
// destructions in random order.
TEST_F(BSPTreeTest, RandomChangesKeepTheTreeSoundAndQueriesAgreeWithAScan) {
  std::mt19937 random(20240601u);
  auto draw = [&](uint32_t bound) { return static_cast<int32_t>(random() % bound); };
  NodeOwner root = MakeRoot({0, 0, 1000, 700});
  std::vector<Probe*> live;
  int named = 0;

  auto randomBox = [&] {
    // Mostly inside the root, some crossing its edge.
    return Box{draw(1100) - 50, draw(800) - 50, draw(120), draw(120)};
  };
  class Collector : public Probe {
   public:
    using Probe::Probe;
    bool OnOverlap(Object* other) override {
      seen.insert(NameOf(other));
      return true;
    }
    std::set<std::string> seen;
  };

  for (int step = 0; step < 3000; ++step) {
    const int32_t choice = draw(10);
    if (choice < 5 || live.empty()) {
      live.push_back(Add(*root, "p" + std::to_string(named++), randomBox()));
    } else if (choice < 7) {
      Probe* moved = live[draw(static_cast<uint32_t>(live.size()))];
      SetBox(*moved, randomBox());
      root->Insert(moved);
    } else {
      const size_t index = static_cast<size_t>(draw(static_cast<uint32_t>(live.size())));
      Probe* gone = live[index];
      live.erase(live.begin() + static_cast<std::ptrdiff_t>(index));
      if (choice == 7) {
        gone->node->RemoveObject(gone);
        delete gone;
      } else {
        DestroyObject(gone);
      }
    }
    if (step % 100 != 99) {
      continue;
    }
    SCOPED_TRACE("step " + std::to_string(step));
    ASSERT_EQ(ExpectConsistent(*root), static_cast<int>(live.size()));
    ASSERT_EQ(root->GetStatistic(BSPStatisticObjects), static_cast<int32_t>(live.size()));
    for (int probeIndex = 0; probeIndex < 5; ++probeIndex) {
      Collector collector("probe", randomBox());
      std::set<std::string> expected;
      for (const Probe* probe : live) {
        if (Bounds::Overlaps(*probe, collector)) {
          expected.insert(probe->name);
        }
      }
      EXPECT_EQ(root->QueryOverlapping(&collector), !expected.empty());
      EXPECT_EQ(collector.seen, expected);
    }
  }
}

}  // namespace
}  // namespace bsp_testing
