#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "BSPTestTree.h"
#include "StreamBytes.h"
#include "base/LumoClass.h"
#include "base/LumoStream.h"

namespace bsp_testing {
namespace {

using stream_testing::ByteReader;
using stream_testing::Bytes;
using stream_testing::ByteWriter;

// The BSP templates have no class records of their own: a tree that is
// stored registers its node and object classes, with the box, the object
// list and the children as fields of their own stream forms.
class StoredNode : public Node {
 public:
  const char* GetClassName() const override { return "BSPTestStoredNode"; }
  Node* CreateChildNode(const IntPoint& childOrigin, const IntPoint& childSize) override {
    auto* child = new StoredNode;
    child->origin = childOrigin;
    child->size = childSize;
    return child;
  }
};

class StoredObject : public Object {
 public:
  StoredObject() = default;
  StoredObject(int32_t objectLabel, const Box& box) : label(objectLabel) { SetBox(*this, box); }
  const char* GetClassName() const override { return "BSPTestStoredObject"; }
  bool LoadLabel(LumoStream* stream, const LumoProperty*) { return stream->ReadInteger(label); }
  bool SaveLabel(LumoStream* stream, const LumoProperty*) { return stream->WriteInteger(label); }
  int32_t label = 0;
};

class StoredFloatNode : public LumoBSPNode<2, float> {
 public:
  const char* GetClassName() const override { return "BSPTestStoredFloatNode"; }
};

using FloatBounds = LumoBSPBounds<2, float>;
using PosField = LumoFieldProperty<Bounds, &Bounds::LoadOrigin, &Bounds::SaveOrigin>;
using SizeField = LumoFieldProperty<Bounds, &Bounds::LoadSize, &Bounds::SaveSize>;

LumoClassOf<StoredNode> storedNodeClass(kVersion_1_4_0_0, "BSPTestStoredNode", "LumoObject");
PosField storedNodePos(kVersion_1_4_0_0, PropertyPointer, "tPointer", "Pos");
SizeField storedNodeSize(kVersion_1_4_0_0, PropertyPointer, "tPointer", "Size");
LumoFieldProperty<Node, &Node::LoadObjects, &Node::SaveObjects> storedNodeObjects(kVersion_1_4_0_0, PropertyPointer,
                                                                                   "tPointer", "Objects");
LumoFieldProperty<Node, &Node::LoadFirstChild, &Node::SaveFirstChild> storedNodeA(kVersion_1_4_0_0, PropertyPointer,
                                                                                   "tPointer", "A");
LumoFieldProperty<Node, &Node::LoadSecondChild, &Node::SaveSecondChild> storedNodeB(kVersion_1_4_0_0,
                                                                                     PropertyPointer, "tPointer", "B");

LumoClassOf<StoredObject> storedObjectClass(kVersion_1_4_0_0, "BSPTestStoredObject", "LumoObject");
PosField storedObjectPos(kVersion_1_4_0_0, PropertyPointer, "tPointer", "Pos");
SizeField storedObjectSize(kVersion_1_4_0_0, PropertyPointer, "tPointer", "Size");
LumoFieldProperty<StoredObject, &StoredObject::LoadLabel, &StoredObject::SaveLabel> storedObjectLabel(
    kVersion_1_4_0_0, PropertyInteger, "tInteger", "Label");

LumoClassOf<StoredFloatNode> storedFloatNodeClass(kVersion_1_4_0_0, "BSPTestStoredFloatNode", "LumoObject");
LumoFieldProperty<FloatBounds, &FloatBounds::LoadOrigin, &FloatBounds::SaveOrigin> storedFloatPos(
    kVersion_1_4_0_0, PropertyPointer, "tPointer", "Pos");
LumoFieldProperty<FloatBounds, &FloatBounds::LoadSize, &FloatBounds::SaveSize> storedFloatSize(
    kVersion_1_4_0_0, PropertyPointer, "tPointer", "Size");

using NodeOwner = std::unique_ptr<Node, tObjectDestroyer>;

// Two trees have the same shape: the same boxes, the same objects (by label)
// in the same order, the same children.
void ExpectSameTree(const Node& expected, const Node& actual) {
  EXPECT_EQ(BoxOf(actual), BoxOf(expected));
  std::vector<int32_t> expectedLabels, actualLabels;
  for (const Object* object = expected.objects; object != nullptr; object = object->next) {
    expectedLabels.push_back(dynamic_cast<const StoredObject&>(*object).label);
  }
  for (const Object* object = actual.objects; object != nullptr; object = object->next) {
    const auto* stored = dynamic_cast<const StoredObject*>(object);
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(BoxOf(*stored), BoxOf(*object));
    actualLabels.push_back(stored->label);
  }
  EXPECT_EQ(actualLabels, expectedLabels);
  const Node* pairs[2][2] = {{expected.firstChild, actual.firstChild}, {expected.secondChild, actual.secondChild}};
  for (const auto& pair : pairs) {
    ASSERT_EQ(pair[0] == nullptr, pair[1] == nullptr);
    if (pair[0] != nullptr) {
      ExpectSameTree(*pair[0], *pair[1]);
    }
  }
}

class BSPStreamTest : public ::testing::Test {
 protected:
  // A 64 x 64 tree with objects at the root and at several depths.
  static NodeOwner BuildTree() {
    NodeOwner root(new StoredNode);
    SetBox(*root, {0, 0, 64, 64});
    const Box boxes[] = {{30, 30, 4, 4}, {1, 1, 2, 2}, {1, 1, 2, 2}, {40, 10, 20, 5}, {50, 50, 1, 1}, {-5, 0, 3, 3}};
    int32_t label = 1;
    for (const Box& box : boxes) {
      root->Insert(new StoredObject(label++, box));
    }
    return root;
  }

  static Bytes Save(Node& root) {
    ByteWriter writer;
    EXPECT_TRUE(root.SaveObject(&writer.stream, 0));
    return writer.Written();
  }

  static NodeOwner Load(const Bytes& bytes) {
    ByteReader reader(bytes);
    LumoObject* loaded = LoadObject(&reader.stream, nullptr);
    auto* node = dynamic_cast<Node*>(loaded);
    if (node == nullptr) {
      DestroyObject(loaded);
    }
    return NodeOwner(node);
  }
};

TEST_F(BSPStreamTest, TreeRoundTripsWithParentsAndLinks) {
  NodeOwner built = BuildTree();
  ASSERT_GE(built->GetStatistic(BSPStatisticDepth), 4);
  NodeOwner loaded = Load(Save(*built));
  ASSERT_NE(loaded, nullptr);
  ExpectSameTree(*built, *loaded);
  // Every child names its parent and every object its node.
  EXPECT_EQ(ExpectConsistent(*loaded), 6);
  for (int32_t code = BSPStatisticNodes; code <= BSPStatisticDepth; ++code) {
    EXPECT_EQ(loaded->GetStatistic(code), built->GetStatistic(code)) << "code " << code;
  }
  // The loaded tree takes new objects where the built one would.
  auto* more = new StoredObject(7, {1, 1, 2, 2});
  auto* twin = new StoredObject(7, {1, 1, 2, 2});
  loaded->Insert(more);
  built->Insert(twin);
  EXPECT_EQ(BoxOf(*more->node), BoxOf(*twin->node));
  EXPECT_EQ(ExpectConsistent(*loaded), 7);
  // And a loaded tree saves again byte for byte.
  EXPECT_EQ(Save(*loaded), Save(*built));
}

TEST_F(BSPStreamTest, NodeRecordHoldsBoxCountAndPresenceFlags) {
  NodeOwner node(new StoredNode);
  SetBox(*node, {1, -2, 300, 4});
  const Bytes name = stream_testing::BytesOfText("BSPTestStoredNode");
  Bytes expected = stream_testing::Join(stream_testing::BytesOfText("Lumo"), stream_testing::BytesOf({1, 4, 0, 0}));
  expected = stream_testing::Join(expected, stream_testing::BytesOf({0, 0, 0, static_cast<int>(name.size())}));
  expected = stream_testing::Join(expected, name);
  expected = stream_testing::Join(expected, stream_testing::BytesOf({0, 0, 0, 1, 0xFF, 0xFF, 0xFF, 0xFE,  // origin
                                                                     0, 0, 1, 0x2C, 0, 0, 0, 4,            // size
                                                                     0, 0, 0, 0,                           // no objects
                                                                     0, 0}));                              // no children
  EXPECT_EQ(Save(*node), expected);
}

TEST_F(BSPStreamTest, FloatBoxesAreStoredAsRawFloats) {
  std::unique_ptr<StoredFloatNode, tObjectDestroyer> node(new StoredFloatNode);
  node->origin.Set(4.5f, -1.0f);
  node->size.Set(0.25f, 1e6f);
  ByteWriter writer;
  ASSERT_TRUE(node->SaveObject(&writer.stream, 0));
  ByteReader reader(writer.Written());
  LumoObject* loaded = LoadObject(&reader.stream, nullptr);
  auto* copy = dynamic_cast<StoredFloatNode*>(loaded);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->origin, node->origin);
  EXPECT_EQ(copy->size, node->size);
  DestroyObject(copy);
  EXPECT_EQ(writer.Written().size(), 8u + 4u + 22u + 16u);
}

// Every damaged form of a stored tree fails to load, with nothing leaked and
// nothing read past the end.
TEST_F(BSPStreamTest, EveryTruncationOfAStoredTreeFailsCleanly) {
  NodeOwner built = BuildTree();
  const Bytes bytes = Save(*built);
  for (size_t length = 0; length < bytes.size(); ++length) {
    SCOPED_TRACE("length " + std::to_string(length));
    EXPECT_EQ(Load(Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length))), nullptr);
  }
}

// Writes node records by hand, for forms the templates never write.
class RecordWriter {
 public:
  void Node(const Box& box) {
    Header("BSPTestStoredNode");
    Box4(box);
  }
  void Object(int32_t label, const Box& box) {
    Header("BSPTestStoredObject");
    Box4(box);
    writer.stream.WriteInteger(label);
  }
  void Integer(int32_t value) { writer.stream.WriteInteger(value); }
  void Flag(uint8_t value) { writer.stream.WriteByte(value); }
  Bytes Written() const { return writer.Written(); }

 private:
  void Header(const char* name) {
    writer.stream.WriteHeader(kVersion_1_4_0_0);
    writer.stream.WriteCharStr(name);
  }
  void Box4(const Box& box) {
    for (int32_t value : {box.x, box.y, box.width, box.height}) {
      writer.stream.WriteInteger(value);
    }
  }
  ByteWriter writer;
};

TEST_F(BSPStreamTest, DamagedCountsFlagsAndRecordsAreRefused) {
  struct Case {
    const char* what;
    void (*write)(RecordWriter& records);
  };
  const Case cases[] = {
      {"a negative object count",
       [](RecordWriter& records) {
         records.Node({0, 0, 8, 8});
         records.Integer(-1);
       }},
      {"an object count beyond what remains",
       [](RecordWriter& records) {
         records.Node({0, 0, 8, 8});
         records.Integer(0x7FFFFFFF);
         records.Object(1, {0, 0, 1, 1});
         records.Flag(0);
         records.Flag(0);
       }},
      {"a node where an object belongs",
       [](RecordWriter& records) {
         records.Node({0, 0, 8, 8});
         records.Integer(1);
         records.Node({0, 0, 1, 1});
         records.Integer(0);
         records.Flag(0);
         records.Flag(0);
         records.Flag(0);
         records.Flag(0);
       }},
      {"an object where a child belongs",
       [](RecordWriter& records) {
         records.Node({0, 0, 8, 8});
         records.Integer(0);
         records.Flag(1);
         records.Object(1, {0, 0, 1, 1});
         records.Flag(0);
       }},
      {"a child promised with too little left",
       [](RecordWriter& records) {
         records.Node({0, 0, 8, 8});
         records.Integer(0);
         records.Flag(0);
         records.Flag(1);
         records.Integer(0);
       }},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.what);
    RecordWriter records;
    test.write(records);
    EXPECT_EQ(Load(records.Written()), nullptr);
  }
}

TEST_F(BSPStreamTest, TooDeeplyNestedChildrenAreRefused) {
  RecordWriter records;
  const int levels = 2000;
  for (int level = 0; level < levels; ++level) {
    records.Node({0, 0, 8, 8});
    records.Integer(0);
    records.Flag(1);
  }
  records.Node({0, 0, 8, 8});
  records.Integer(0);
  records.Flag(0);
  records.Flag(0);
  for (int level = 0; level < levels; ++level) {
    records.Flag(0);
  }
  EXPECT_EQ(Load(records.Written()), nullptr);
}

}  // namespace
}  // namespace bsp_testing
