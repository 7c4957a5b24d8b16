#pragma once

#include <cstdint>

#include "base/TextUtils.h"
#include "base/tObject.h"

// A node of an intrusive doubly linked list. A node is in at most one list;
// it is free when its owner is null.
class tNode : public tObject {
 public:
  const char* GetClassName() const override;
  // Leaves the owning list, when in one.
  void Free() override;
  // Only another node is accepted; this node leaves its list.
  bool Assign(const tObject* other) override;

  tNode* previous = nullptr;  // null at the head
  tNode* next = nullptr;      // null at the tail
  tList* owner = nullptr;     // null while free
};

// An intrusive list of nodes; a list is itself a node, so lists nest.
class tList : public tNode {
 public:
  tList() = default;
  // Unlinks the nodes still in the list, without destroying them.
  ~tList() override;
  tList(const tList&) = delete;
  tList& operator=(const tList&) = delete;

  const char* GetClassName() const override;
  // Deletes every node, then leaves the owning list.
  void Free() override;
  // Empties this list and copies every node of another list into it.
  bool Assign(const tObject* other) override;

  // A node was linked in (runs before the node's Attached).
  virtual void NodeAttached(tNode* node);
  // A node is being unlinked (runs after the node's Detached).
  virtual void NodeDetached(tNode* node);
  // Destroys every node from the last to the first.
  virtual void DeleteAll();
  // A new free node of the list's node type.
  virtual tNode* CreateNode();

  // Links a free node at the end; an owned node is returned unchanged.
  tNode* Append(tNode* node);
  // Links a free node before (after) a node of this list; with a null
  // reference, only an empty list takes the node.
  tNode* InsertBefore(tNode* reference, tNode* node);
  tNode* InsertAfter(tNode* reference, tNode* node);
  // Inserts before the node at index; any other index appends.
  tNode* InsertAt(int32_t index, tNode* node);
  // Unlinks a node of this list; null for any other node.
  tNode* Remove(tNode* node);
  tNode* RemoveAt(int32_t index);
  tNode* MoveBefore(tNode* reference, tNode* node);
  tNode* MoveAfter(tNode* reference, tNode* node);
  // Walks from the first node; null outside 0..count-1.
  tNode* At(int32_t index) const;
  // Zero-based position, -1 when absent.
  int32_t IndexOf(const tNode* node) const;

  tNode* first = nullptr;
  tNode* last = nullptr;
  int32_t count = 0;

 private:
  // Links a free node between two neighbours (either may be null) and runs
  // the attach hooks in their fixed order.
  tNode* Link(tNode* before, tNode* node, tNode* after);
  // Whether a free node can be linked beside the reference.
  bool CanInsert(const tNode* reference, const tNode* node) const;
  // Whether a node of this list can be moved beside the reference.
  bool CanMove(const tNode* reference, const tNode* node) const;
};

// A node holding an owned text.
class tStrNode : public tNode {
 public:
  const char* GetClassName() const override;
  void Free() override;
  // Case-insensitive comparison with a key text; null sorts first.
  int CompareKey(const void* key) const override;
  int Compare(const tObject* other) const override;
  bool Assign(const tObject* other) override;

  // Stores a fresh copy of the text.
  virtual void SetText(const char* newText);

  tCharStr text = nullptr;
};

class tStrList : public tList {
 public:
  const char* GetClassName() const override;
  tNode* CreateNode() override;
};

// A node holding a value. The game stores pointers here, so the value is
// pointer-sized; it is never streamed.
class tDataNode : public tNode {
 public:
  const char* GetClassName() const override;
  bool Assign(const tObject* other) override;

  virtual void SetData(uintptr_t value);

  uintptr_t data = 0;
};

class tDataList : public tList {
 public:
  const char* GetClassName() const override;
  tNode* CreateNode() override;
};
