#include "fuzz/BSPProbe.h"

#include <new>

#include "base/LumoClass.h"
#include "base/LumoStream.h"

namespace {

template <typename Coordinate>
using Bounds = LumoBSPBounds<2, Coordinate>;
template <typename Coordinate>
using Node = LumoBSPNode<2, Coordinate>;

template <typename Coordinate>
using OriginField = LumoFieldProperty<Bounds<Coordinate>, &Bounds<Coordinate>::LoadOrigin,
                                      &Bounds<Coordinate>::SaveOrigin>;
template <typename Coordinate>
using SizeField = LumoFieldProperty<Bounds<Coordinate>, &Bounds<Coordinate>::LoadSize, &Bounds<Coordinate>::SaveSize>;
template <typename Coordinate>
using ObjectsField = LumoFieldProperty<Node<Coordinate>, &Node<Coordinate>::LoadObjects,
                                       &Node<Coordinate>::SaveObjects>;
template <typename Coordinate>
using FirstChildField = LumoFieldProperty<Node<Coordinate>, &Node<Coordinate>::LoadFirstChild,
                                          &Node<Coordinate>::SaveFirstChild>;
template <typename Coordinate>
using SecondChildField = LumoFieldProperty<Node<Coordinate>, &Node<Coordinate>::LoadSecondChild,
                                           &Node<Coordinate>::SaveSecondChild>;

// Registration order is the stream order.
LumoClassOf<FuzzBSPNode> classOfFuzzBSPNode(kVersion_1_4_0_0, "FuzzBSPNode", "LumoObject");
OriginField<int32_t> fuzzBSPNodeOrigin(kVersion_1_4_0_0, PropertyPointer, "tPointer", "Pos");
SizeField<int32_t> fuzzBSPNodeSize(kVersion_1_4_0_0, PropertyPointer, "tPointer", "Size");
ObjectsField<int32_t> fuzzBSPNodeObjects(kVersion_1_4_0_0, PropertyPointer, "tPointer", "Objects");
FirstChildField<int32_t> fuzzBSPNodeFirst(kVersion_1_4_0_0, PropertyPointer, "tPointer", "A");
SecondChildField<int32_t> fuzzBSPNodeSecond(kVersion_1_4_0_0, PropertyPointer, "tPointer", "B");

LumoClassOf<FuzzBSPObject> classOfFuzzBSPObject(kVersion_1_4_0_0, "FuzzBSPObject", "LumoObject");
OriginField<int32_t> fuzzBSPObjectOrigin(kVersion_1_4_0_0, PropertyPointer, "tPointer", "Pos");
SizeField<int32_t> fuzzBSPObjectSize(kVersion_1_4_0_0, PropertyPointer, "tPointer", "Size");
LumoFieldProperty<FuzzBSPObject, &FuzzBSPObject::LoadLabel, &FuzzBSPObject::SaveLabel> fuzzBSPObjectLabel(
    kVersion_1_4_0_0, PropertyInteger, "tInteger", "Label");

LumoClassOf<FuzzBSPFloatNode> classOfFuzzBSPFloatNode(kVersion_1_4_0_0, "FuzzBSPFloatNode", "LumoObject");
OriginField<float> fuzzBSPFloatNodeOrigin(kVersion_1_4_0_0, PropertyPointer, "tPointer", "Pos");
SizeField<float> fuzzBSPFloatNodeSize(kVersion_1_4_0_0, PropertyPointer, "tPointer", "Size");
ObjectsField<float> fuzzBSPFloatNodeObjects(kVersion_1_4_0_0, PropertyPointer, "tPointer", "Objects");
FirstChildField<float> fuzzBSPFloatNodeFirst(kVersion_1_4_0_0, PropertyPointer, "tPointer", "A");
SecondChildField<float> fuzzBSPFloatNodeSecond(kVersion_1_4_0_0, PropertyPointer, "tPointer", "B");

LumoClassOf<FuzzBSPFloatObject> classOfFuzzBSPFloatObject(kVersion_1_4_0_0, "FuzzBSPFloatObject", "LumoObject");
OriginField<float> fuzzBSPFloatObjectOrigin(kVersion_1_4_0_0, PropertyPointer, "tPointer", "Pos");
SizeField<float> fuzzBSPFloatObjectSize(kVersion_1_4_0_0, PropertyPointer, "tPointer", "Size");

template <typename Made, typename Coordinate>
Node<Coordinate>* MakeChild(const typename Node<Coordinate>::Point& childOrigin,
                            const typename Node<Coordinate>::Point& childSize) {
  auto* child = new (std::nothrow) Made;
  if (child != nullptr) {
    child->origin = childOrigin;
    child->size = childSize;
  }
  return child;
}

}  // namespace

LumoBSPNode<2, int32_t>* FuzzBSPNode::CreateChildNode(const Point& childOrigin, const Point& childSize) {
  return MakeChild<FuzzBSPNode, int32_t>(childOrigin, childSize);
}

LumoBSPNode<2, float>* FuzzBSPFloatNode::CreateChildNode(const Point& childOrigin, const Point& childSize) {
  return MakeChild<FuzzBSPFloatNode, float>(childOrigin, childSize);
}

FuzzBSPObject::FuzzBSPObject(int32_t objectLabel, int32_t x, int32_t y, int32_t width, int32_t height)
    : label(objectLabel) {
  origin.Set(x, y);
  size.Set(width, height);
}

bool FuzzBSPObject::LoadLabel(LumoStream* stream, const LumoProperty*) { return stream->ReadInteger(label); }
bool FuzzBSPObject::SaveLabel(LumoStream* stream, const LumoProperty*) { return stream->WriteInteger(label); }

bool FuzzBSPObject::OnOverlappedBy(LumoBSPObject*) {
  ++calls;
  return true;
}

bool FuzzBSPObject::OnOverlap(LumoBSPObject*) {
  ++calls;
  return true;
}

bool FuzzBSPObject::OnContain(LumoBSPObject*) {
  ++calls;
  return true;
}
