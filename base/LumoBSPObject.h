#pragma once

#include "base/LumoBSPBounds.h"

template <int Dimensions, typename Coordinate>
class LumoBSPNode;

// A query's note that its subject is gone. The subject's destructor marks
// every query running for it (queries nest through callbacks), so a query
// whose callback destroyed the subject stops without reading it again.
struct LumoBSPSubjectWatch {
  bool gone = false;
  LumoBSPSubjectWatch* outer = nullptr;
};

// An object stored in a BSP tree: a box kept in the list of the deepest node
// that wholly contains it. The query hooks answer false here; derived
// classes give them their work. Destroying an object takes it out of its
// node's list, so a tree never keeps a pointer to an object that is gone.
template <int Dimensions, typename Coordinate>
class LumoBSPObject : public LumoBSPBounds<Dimensions, Coordinate> {
 public:
  using Node = LumoBSPNode<Dimensions, Coordinate>;

  LumoBSPObject() = default;
  ~LumoBSPObject() override;

  const char* GetClassName() const override { return "LumoBSPObject"; }
  sRGB GetDebugColour() const override { return sRGB{32, 240, 240}; }

  // Another object's box overlaps (or lies inside) this one's
  // (NotifyOverlapped, NotifyContained on a node).
  virtual bool OnOverlappedBy(LumoBSPObject* other);
  // This object's box overlaps other's (QueryOverlapping on a node).
  virtual bool OnOverlap(LumoBSPObject* other);
  // Other lies inside this object's box (QueryContained on a node).
  virtual bool OnContain(LumoBSPObject* other);

  // The node whose list holds this object, null outside a tree; the list's
  // links. Only the node changes them.
  Node* node = nullptr;
  LumoBSPObject* next = nullptr;
  LumoBSPObject* previous = nullptr;
  // The innermost query running with this object as its subject; null when
  // none. Only the node's queries change it.
  LumoBSPSubjectWatch* subjectWatch = nullptr;
};

template <int Dimensions, typename Coordinate>
LumoBSPObject<Dimensions, Coordinate>::~LumoBSPObject() {
  for (LumoBSPSubjectWatch* watch = subjectWatch; watch != nullptr; watch = watch->outer) {
    watch->gone = true;
  }
  if (node != nullptr) {
    node->RemoveObject(this);
  }
}

template <int Dimensions, typename Coordinate>
bool LumoBSPObject<Dimensions, Coordinate>::OnOverlappedBy(LumoBSPObject*) {
  return false;
}

template <int Dimensions, typename Coordinate>
bool LumoBSPObject<Dimensions, Coordinate>::OnOverlap(LumoBSPObject*) {
  return false;
}

template <int Dimensions, typename Coordinate>
bool LumoBSPObject<Dimensions, Coordinate>::OnContain(LumoBSPObject*) {
  return false;
}
