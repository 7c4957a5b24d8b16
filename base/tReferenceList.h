#pragma once

#include <cstdint>
#include <map>
#include <utility>

#include "base/tList.h"

class LumoObject;

// Who refers to whom: every LumoObject that takes part in a reference keeps
// one of these lists, with one node per reference it holds and one per
// reference held on it.

constexpr uint8_t kReferenceKind = 0;     // the list's owner refers to `object`
constexpr uint8_t kNotificationKind = 1;  // `object` refers to the list's owner

class tReferenceNode : public tNode {
 public:
  const char* GetClassName() const override;

  LumoObject* object = nullptr;
  uint8_t kind = kReferenceKind;
};

class tReferenceList : public tList {
 public:
  const char* GetClassName() const override;
  // A node of a non-zero kind counts as a notification while it is linked.
  void NodeAttached(tNode* node) override;
  void NodeDetached(tNode* node) override;
  // A free tReferenceNode with no object and kind 0.
  tNode* CreateNode() override;

  // Appends a node for object and kind; null for a null object.
  tReferenceNode* Add(LumoObject* object, uint8_t kind);
  // The node for object and kind (the last linked of equal ones); null if
  // none. Logarithmic in the list's length.
  tReferenceNode* Find(const LumoObject* object, uint8_t kind) const;
  // Destroys the node for object and kind; false when there is none.
  bool Remove(const LumoObject* object, uint8_t kind);
  using tList::Remove;

  int32_t notificationCount = 0;

 private:
  // The linked reference nodes by object and kind, kept by the attach and
  // detach hooks, so that dropping one of many references (every sprite of
  // a level refers to its sound list) does not walk the list. Only looked
  // up, never iterated, so the pointer order decides nothing.
  using Key = std::pair<const LumoObject*, uint8_t>;
  std::multimap<Key, tReferenceNode*> index;
};
