#pragma once

#include <cstdint>
#include <limits>
#include <new>
#include <type_traits>

#include "base/DebugFormat.h"
#include "base/LumoBSPObject.h"

// Codes of LumoBSPNode::GetStatistic, each over a node's subtree. The sizes
// are the record sizes of the original 32-bit layout (4 bytes of tree
// structure per node, 36 bytes per object), kept as fixed numbers so the
// evaluation report reads the same on every machine.
enum tBSPStatistic : int32_t {
  BSPStatisticNodes = 0,       // number of nodes
  BSPStatisticObjects = 1,     // number of objects
  BSPStatisticTotalSize = 2,   // 4 per node plus 36 per object
  BSPStatisticNodeSize = 3,    // 4 per node
  BSPStatisticObjectSize = 4,  // 36 per object
  BSPStatisticDepth = 5,       // 1 for a leaf, else 1 + the deeper child's depth
};
constexpr int32_t kBSPNodeRecordSize = 4;
constexpr int32_t kBSPObjectRecordSize = 36;

// A node of the BSP tree: a box, the objects it stores, and two halves of
// the box that exist only while something needs them. An object lives in the
// deepest node whose box wholly contains it, so one that straddles a split
// line stays in the node above it.
//
// Ownership: a node owns the objects in its list and its two children; all
// end with the node (OnFree, or the destructor of a node deleted without
// Free). parent is a plain back link.
template <int Dimensions, typename Coordinate>
class LumoBSPNode : public LumoBSPBounds<Dimensions, Coordinate> {
 public:
  using Bounds = LumoBSPBounds<Dimensions, Coordinate>;
  using Object = LumoBSPObject<Dimensions, Coordinate>;
  using Point = typename Bounds::Point;
  using Wide = typename Bounds::Wide;

  LumoBSPNode() = default;
  ~LumoBSPNode() override;

  const char* GetClassName() const override { return "LumoBSPNode"; }
  // Destroys every object of the node, first to last, then both children.
  void OnFree() override;
  // The node's box, then its children's drawings, then its objects', each
  // box in the colour of its GetDebugColour; the relative form draws only
  // the children and objects that overlap the view. The drawer's colour is
  // given back as it was.
  void DrawClipped(LumoBSPDrawer& drawer, float scale, int32_t axisX, int32_t axisY) override;
  void DrawRelative(LumoBSPDrawer& drawer, const Bounds& view, float scale, int32_t axisX, int32_t axisY) override;
  sRGB GetDebugColour() const override { return sRGB{64, 64, 64}; }

  // A node whose longest side is not above this size is never split.
  virtual Coordinate MinimumSize() const { return 1; }
  // Per-field load and save of the object list and of each child, for the
  // field records of derived classes.
  virtual bool LoadObjects(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveObjects(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadFirstChild(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveFirstChild(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadSecondChild(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveSecondChild(LumoStream* stream, const LumoProperty* property);
  // A new node over the box, null when memory runs out; derived trees make
  // their own node type.
  virtual LumoBSPNode* CreateChildNode(const Point& childOrigin, const Point& childSize);

  // Stores the object in the deepest node below this one whose box wholly
  // contains it, making halves on the way as needed. An object already in a
  // tree leaves its old node first.
  void Insert(Object* object);
  // Unlinks the object from this node's list; a walk over the list that was
  // about to visit it moves on to the next object. An object of another node
  // is left alone (and logged).
  void RemoveObject(Object* object);
  // True when the node stores no object and has no child.
  bool IsEmpty() const { return objects == nullptr && firstChild == nullptr && secondChild == nullptr; }
  // Destroys the child when it is one of the two and clears that link.
  void DeleteChild(LumoBSPNode* child);
  // The same as OnFree: the node keeps its box and nothing else.
  void Clear();
  // The first (second) half of the box as this node's child: the existing
  // child, or a new one when the box can be split; null otherwise.
  LumoBSPNode* CreateFirstChild();
  LumoBSPNode* CreateSecondChild();
  // Moves every object of this node that fits wholly in a half down into it
  // (and on down as far as it fits), as Insert would have placed it. Objects
  // that stay keep their order; no new half is left empty. Answers the number
  // of objects moved.
  int32_t Subdivide();

  // Queries for the subject over this subtree. Each visits the objects of a
  // node, then each child whose box overlaps the subject's; the subject
  // itself is skipped, every matching callback runs, and the answer is the OR
  // of theirs. A callback may remove (or destroy) any object of the tree;
  // once the subject is destroyed, the query stops and answers what the
  // callbacks so far answered.
  // Every overlapping X hears X->OnOverlappedBy(subject).
  bool NotifyOverlapped(Object* subject);
  // Every X inside the subject's box hears X->OnOverlappedBy(subject).
  bool NotifyContained(Object* subject);
  // subject->OnOverlap(X) for every overlapping X.
  bool QueryOverlapping(Object* subject);
  // subject->OnContain(X) for every X inside the subject's box.
  bool QueryContained(Object* subject);

  // A tBSPStatistic over the subtree; -1 for any other code.
  int32_t GetStatistic(int32_t code) const;

  Object* objects = nullptr;  // head of the list, linked through the objects
  Object* cursor = nullptr;   // the object the current walk visits next
  LumoBSPNode* parent = nullptr;
  LumoBSPNode* firstChild = nullptr;
  LumoBSPNode* secondChild = nullptr;

 private:
  // A walk's predecessor in the cursor while it runs, so a query started
  // from inside another query's callback hands the outer walk its place
  // back, kept up to date by removals.
  struct SavedCursor {
    Object* cursor;
    SavedCursor* outer;
  };
  class WalkScope;
  class SubjectScope;

  void ClearContents();
  void LinkAtHead(Object* object);
  bool FindSplitAxis(int& axis) const;
  LumoBSPNode* CreateHalf(bool second);
  LumoBSPNode* HalfFor(const Object* object, bool second);
  LumoBSPNode* ChildFor(const Object* object);
  template <typename Visit>
  bool Walk(Object* subject, const LumoBSPSubjectWatch& watch, const Visit& visit);
  // Runs a walk for the subject with a watch on it.
  template <typename Visit>
  bool Query(Object* subject, const Visit& visit);
  int32_t CountNodes() const;
  int32_t CountObjects() const;
  int32_t Depth() const;

  SavedCursor* savedCursors = nullptr;
};

// ---- Life ----

template <int Dimensions, typename Coordinate>
LumoBSPNode<Dimensions, Coordinate>::~LumoBSPNode() {
  ClearContents();
}

template <int Dimensions, typename Coordinate>
void LumoBSPNode<Dimensions, Coordinate>::OnFree() {
  ClearContents();
  Bounds::OnFree();
}

template <int Dimensions, typename Coordinate>
void LumoBSPNode<Dimensions, Coordinate>::Clear() {
  ClearContents();
}

template <int Dimensions, typename Coordinate>
void LumoBSPNode<Dimensions, Coordinate>::ClearContents() {
  // Each object leaves the list before it is destroyed, so its destructor
  // finds nothing to unlink and the loop always advances.
  while (objects != nullptr) {
    Object* object = objects;
    RemoveObject(object);
    DestroyObject(object);
  }
  DeleteChild(firstChild);
  DeleteChild(secondChild);
}

template <int Dimensions, typename Coordinate>
void LumoBSPNode<Dimensions, Coordinate>::DeleteChild(LumoBSPNode* child) {
  if (child == nullptr) {
    return;
  }
  if (child == firstChild) {
    firstChild = nullptr;
  } else if (child == secondChild) {
    secondChild = nullptr;
  } else {
    return;
  }
  DestroyObject(child);
}

// ---- The object list ----

template <int Dimensions, typename Coordinate>
void LumoBSPNode<Dimensions, Coordinate>::LinkAtHead(Object* object) {
  object->node = this;
  object->previous = nullptr;
  object->next = objects;
  // The old head must point back at the new one, or a later removal of the
  // old head would cut the new one out of the list.
  if (objects != nullptr) {
    objects->previous = object;
  }
  objects = object;
}

template <int Dimensions, typename Coordinate>
void LumoBSPNode<Dimensions, Coordinate>::RemoveObject(Object* object) {
  if (object == nullptr) {
    return;
  }
  if (object->node != this) {
    DebugPrint("LumoBSPNode::RemoveObject() object %p:%s is not stored in node %p\n", DebugAddress(object),
               DebugClassName(object), static_cast<const void*>(this));
    return;
  }
  if (cursor == object) {
    cursor = object->next;
  }
  for (SavedCursor* saved = savedCursors; saved != nullptr; saved = saved->outer) {
    if (saved->cursor == object) {
      saved->cursor = object->next;
    }
  }
  if (object->previous != nullptr) {
    object->previous->next = object->next;
  } else if (objects == object) {
    objects = object->next;
  }
  if (object->next != nullptr) {
    object->next->previous = object->previous;
  }
  object->node = nullptr;
  object->next = nullptr;
  object->previous = nullptr;
}

// ---- Splitting ----

template <int Dimensions, typename Coordinate>
bool LumoBSPNode<Dimensions, Coordinate>::FindSplitAxis(int& axis) const {
  axis = 0;
  for (int other = 1; other < Dimensions; ++other) {
    if (*this->size.Component(other) > *this->size.Component(axis)) {
      axis = other;
    }
  }
  const Coordinate longest = *this->size.Component(axis);
  // A half of size zero would leave the other half as big as the node, and
  // splitting would never end (a derived tree may lower the minimum size).
  return longest > MinimumSize() && longest / 2 > 0;
}

template <int Dimensions, typename Coordinate>
LumoBSPNode<Dimensions, Coordinate>* LumoBSPNode<Dimensions, Coordinate>::CreateHalf(bool second) {
  LumoBSPNode*& slot = second ? secondChild : firstChild;
  if (slot != nullptr) {
    return slot;
  }
  int axis = 0;
  if (!FindSplitAxis(axis)) {
    return nullptr;
  }
  Point childOrigin = this->origin;
  Point childSize = this->size;
  const Coordinate whole = *this->size.Component(axis);
  const Coordinate half = whole / 2;  // truncated for integer boxes
  const Coordinate firstPart = whole - half;
  if (second) {
    const Wide start = static_cast<Wide>(*this->origin.Component(axis)) + static_cast<Wide>(firstPart);
    if constexpr (std::is_integral_v<Coordinate>) {
      if (start > static_cast<Wide>(std::numeric_limits<Coordinate>::max())) {
        DebugPrint("LumoBSPNode::CreateSecondChild() box of node %p reaches past the coordinate range\n",
                   static_cast<const void*>(this));
        return nullptr;
      }
    }
    *childOrigin.Component(axis) = static_cast<Coordinate>(start);
    *childSize.Component(axis) = half;
  } else {
    *childSize.Component(axis) = firstPart;
  }
  LumoBSPNode* child = CreateChildNode(childOrigin, childSize);
  if (child == nullptr) {
    DebugPrint("LumoBSPNode::CreateChildNode() made no node for node %p\n", static_cast<const void*>(this));
    return nullptr;
  }
  child->parent = this;
  slot = child;
  return child;
}

template <int Dimensions, typename Coordinate>
LumoBSPNode<Dimensions, Coordinate>* LumoBSPNode<Dimensions, Coordinate>::CreateFirstChild() {
  return CreateHalf(false);
}

template <int Dimensions, typename Coordinate>
LumoBSPNode<Dimensions, Coordinate>* LumoBSPNode<Dimensions, Coordinate>::CreateSecondChild() {
  return CreateHalf(true);
}

template <int Dimensions, typename Coordinate>
LumoBSPNode<Dimensions, Coordinate>* LumoBSPNode<Dimensions, Coordinate>::CreateChildNode(const Point& childOrigin,
                                                                                          const Point& childSize) {
  auto* child = new (std::nothrow) LumoBSPNode;
  if (child != nullptr) {
    child->origin = childOrigin;
    child->size = childSize;
  }
  return child;
}

// The half (existing or made now) that wholly contains the object; a half
// made for it that does not is deleted again.
template <int Dimensions, typename Coordinate>
LumoBSPNode<Dimensions, Coordinate>* LumoBSPNode<Dimensions, Coordinate>::HalfFor(const Object* object, bool second) {
  const bool existed = (second ? secondChild : firstChild) != nullptr;
  LumoBSPNode* half = CreateHalf(second);
  if (half == nullptr) {
    return nullptr;
  }
  if (Bounds::IsInside(*object, *half)) {
    return half;
  }
  if (!existed) {
    DeleteChild(half);
  }
  return nullptr;
}

template <int Dimensions, typename Coordinate>
LumoBSPNode<Dimensions, Coordinate>* LumoBSPNode<Dimensions, Coordinate>::ChildFor(const Object* object) {
  if (LumoBSPNode* half = HalfFor(object, false)) {
    return half;
  }
  return HalfFor(object, true);
}

template <int Dimensions, typename Coordinate>
void LumoBSPNode<Dimensions, Coordinate>::Insert(Object* object) {
  if (object == nullptr) {
    DebugPrint("LumoBSPNode::Insert() no object for node %p\n", static_cast<const void*>(this));
    return;
  }
  // Linking an object that is still in a list would corrupt both lists.
  if (object->node != nullptr) {
    object->node->RemoveObject(object);
  }
  LumoBSPNode* target = this;
  while (LumoBSPNode* child = target->ChildFor(object)) {
    target = child;
  }
  target->LinkAtHead(object);
}

template <int Dimensions, typename Coordinate>
int32_t LumoBSPNode<Dimensions, Coordinate>::Subdivide() {
  Object* last = objects;
  while (last != nullptr && last->next != nullptr) {
    last = last->next;
  }
  // From the tail, so the objects moved into a child keep their order there.
  int32_t moved = 0;
  for (Object* object = last; object != nullptr;) {
    Object* earlier = object->previous;
    if (LumoBSPNode* half = ChildFor(object)) {
      RemoveObject(object);
      half->Insert(object);
      ++moved;
    }
    object = earlier;
  }
  return moved;
}

// ---- Queries ----

template <int Dimensions, typename Coordinate>
class LumoBSPNode<Dimensions, Coordinate>::WalkScope {
 public:
  explicit WalkScope(LumoBSPNode& walkedNode) : node(walkedNode), saved{walkedNode.cursor, walkedNode.savedCursors} {
    node.savedCursors = &saved;
    node.cursor = node.objects;
  }
  // Also when a callback throws, so the node never keeps a pointer into a
  // finished walk.
  ~WalkScope() {
    node.cursor = saved.cursor;
    node.savedCursors = saved.outer;
  }
  WalkScope(const WalkScope&) = delete;
  WalkScope& operator=(const WalkScope&) = delete;

 private:
  LumoBSPNode& node;
  SavedCursor saved;
};

// Puts a watch on the subject for one query and takes it off again, unless
// the subject is gone by then.
template <int Dimensions, typename Coordinate>
class LumoBSPNode<Dimensions, Coordinate>::SubjectScope {
 public:
  explicit SubjectScope(Object& watched) : subject(watched) {
    watch.outer = subject.subjectWatch;
    subject.subjectWatch = &watch;
  }
  ~SubjectScope() {
    if (!watch.gone) {
      subject.subjectWatch = watch.outer;
    }
  }
  SubjectScope(const SubjectScope&) = delete;
  SubjectScope& operator=(const SubjectScope&) = delete;

  LumoBSPSubjectWatch watch;

 private:
  Object& subject;
};

template <int Dimensions, typename Coordinate>
template <typename Visit>
bool LumoBSPNode<Dimensions, Coordinate>::Walk(Object* subject, const LumoBSPSubjectWatch& watch,
                                               const Visit& visit) {
  bool answer = false;
  {
    WalkScope scope(*this);
    while (cursor != nullptr && !watch.gone) {
      Object* item = cursor;
      cursor = item->next;
      if (item != subject && visit(item)) {
        answer = true;
      }
    }
  }
  // Each child is read only now: a callback may have changed the tree, or
  // destroyed the subject.
  if (!watch.gone && firstChild != nullptr && Bounds::Overlaps(*firstChild, *subject) &&
      firstChild->Walk(subject, watch, visit)) {
    answer = true;
  }
  if (!watch.gone && secondChild != nullptr && Bounds::Overlaps(*secondChild, *subject) &&
      secondChild->Walk(subject, watch, visit)) {
    answer = true;
  }
  return answer;
}

template <int Dimensions, typename Coordinate>
template <typename Visit>
bool LumoBSPNode<Dimensions, Coordinate>::Query(Object* subject, const Visit& visit) {
  if (subject == nullptr) {
    return false;
  }
  SubjectScope scope(*subject);
  return Walk(subject, scope.watch, visit);
}

template <int Dimensions, typename Coordinate>
bool LumoBSPNode<Dimensions, Coordinate>::NotifyOverlapped(Object* subject) {
  return Query(subject, [subject](Object* item) {
    return Bounds::Overlaps(*item, *subject) && item->OnOverlappedBy(subject);
  });
}

template <int Dimensions, typename Coordinate>
bool LumoBSPNode<Dimensions, Coordinate>::NotifyContained(Object* subject) {
  return Query(subject, [subject](Object* item) {
    return Bounds::IsInside(*item, *subject) && item->OnOverlappedBy(subject);
  });
}

template <int Dimensions, typename Coordinate>
bool LumoBSPNode<Dimensions, Coordinate>::QueryOverlapping(Object* subject) {
  return Query(subject, [subject](Object* item) {
    return Bounds::Overlaps(*item, *subject) && subject->OnOverlap(item);
  });
}

template <int Dimensions, typename Coordinate>
bool LumoBSPNode<Dimensions, Coordinate>::QueryContained(Object* subject) {
  return Query(subject, [subject](Object* item) {
    return Bounds::IsInside(*item, *subject) && subject->OnContain(item);
  });
}

// ---- Statistics ----

template <int Dimensions, typename Coordinate>
int32_t LumoBSPNode<Dimensions, Coordinate>::CountNodes() const {
  int32_t count = 1;
  if (firstChild != nullptr) {
    count += firstChild->CountNodes();
  }
  if (secondChild != nullptr) {
    count += secondChild->CountNodes();
  }
  return count;
}

template <int Dimensions, typename Coordinate>
int32_t LumoBSPNode<Dimensions, Coordinate>::CountObjects() const {
  int32_t count = 0;
  for (const Object* object = objects; object != nullptr; object = object->next) {
    ++count;
  }
  if (firstChild != nullptr) {
    count += firstChild->CountObjects();
  }
  if (secondChild != nullptr) {
    count += secondChild->CountObjects();
  }
  return count;
}

template <int Dimensions, typename Coordinate>
int32_t LumoBSPNode<Dimensions, Coordinate>::Depth() const {
  const int32_t first = firstChild != nullptr ? firstChild->Depth() : 0;
  const int32_t second = secondChild != nullptr ? secondChild->Depth() : 0;
  return 1 + (first > second ? first : second);
}

template <int Dimensions, typename Coordinate>
int32_t LumoBSPNode<Dimensions, Coordinate>::GetStatistic(int32_t code) const {
  switch (code) {
    case BSPStatisticNodes:
      return CountNodes();
    case BSPStatisticObjects:
      return CountObjects();
    case BSPStatisticTotalSize:
      return kBSPNodeRecordSize * CountNodes() + kBSPObjectRecordSize * CountObjects();
    case BSPStatisticNodeSize:
      return kBSPNodeRecordSize * CountNodes();
    case BSPStatisticObjectSize:
      return kBSPObjectRecordSize * CountObjects();
    case BSPStatisticDepth:
      return Depth();
    default:
      return -1;
  }
}
