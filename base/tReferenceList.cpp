#include "base/tReferenceList.h"

#include <new>

const char* tReferenceNode::GetClassName() const { return "tReferenceNode"; }

const char* tReferenceList::GetClassName() const { return "tReferenceList"; }

namespace {

bool IsNotification(const tNode* node) {
  const auto* reference = dynamic_cast<const tReferenceNode*>(node);
  return reference != nullptr && reference->kind != kReferenceKind;
}

}  // namespace

// The count follows linking and unlinking, so it stays true however a node
// leaves the list (Remove, DestroyObject, DeleteAll).
void tReferenceList::NodeAttached(tNode* node) {
  if (IsNotification(node)) {
    ++notificationCount;
  }
}

void tReferenceList::NodeDetached(tNode* node) {
  if (IsNotification(node)) {
    --notificationCount;
  }
}

tNode* tReferenceList::CreateNode() { return new (std::nothrow) tReferenceNode; }

tReferenceNode* tReferenceList::Add(LumoObject* object, uint8_t kind) {
  if (object == nullptr) {
    return nullptr;
  }
  tNode* created = CreateNode();
  auto* node = dynamic_cast<tReferenceNode*>(created);
  if (node == nullptr) {
    DestroyObject(created);
    return nullptr;
  }
  node->object = object;
  node->kind = kind;
  Append(node);
  return node;
}

tReferenceNode* tReferenceList::Find(const LumoObject* object, uint8_t kind) const {
  for (tNode* walker = last; walker != nullptr; walker = walker->previous) {
    auto* node = dynamic_cast<tReferenceNode*>(walker);
    if (node != nullptr && node->object == object && node->kind == kind) {
      return node;
    }
  }
  return nullptr;
}

bool tReferenceList::Remove(const LumoObject* object, uint8_t kind) {
  tReferenceNode* node = Find(object, kind);
  if (node == nullptr) {
    return false;
  }
  DestroyObject(node);
  return true;
}
