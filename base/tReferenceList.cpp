#include "base/tReferenceList.h"

#include <iterator>
#include <new>

const char* tReferenceNode::GetClassName() const { return "tReferenceNode"; }

const char* tReferenceList::GetClassName() const { return "tReferenceList"; }

// The count follows linking and unlinking, so it stays true however a node
// leaves the list (Remove, DestroyObject, DeleteAll).
void tReferenceList::NodeAttached(tNode* node) {
  auto* reference = dynamic_cast<tReferenceNode*>(node);
  if (reference == nullptr) {
    return;
  }
  if (reference->kind != kReferenceKind) {
    ++notificationCount;
  }
  // Equal keys keep their linking order: the last of a range is the newest.
  index.emplace(Key{reference->object, reference->kind}, reference);
}

void tReferenceList::NodeDetached(tNode* node) {
  auto* reference = dynamic_cast<tReferenceNode*>(node);
  if (reference == nullptr) {
    return;
  }
  if (reference->kind != kReferenceKind) {
    --notificationCount;
  }
  auto [begin, end] = index.equal_range(Key{reference->object, reference->kind});
  for (auto entry = begin; entry != end; ++entry) {
    if (entry->second == reference) {
      index.erase(entry);
      return;
    }
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
  auto [begin, end] = index.equal_range(Key{object, kind});
  if (begin == end) {
    return nullptr;
  }
  return std::prev(end)->second;
}

bool tReferenceList::Remove(const LumoObject* object, uint8_t kind) {
  tReferenceNode* node = Find(object, kind);
  if (node == nullptr) {
    return false;
  }
  DestroyObject(node);
  return true;
}
