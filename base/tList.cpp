#include "base/tList.h"

#include <new>

// ---- tNode ----

const char* tNode::GetClassName() const { return "tNode"; }

void tNode::Free() {
  if (owner != nullptr) {
    owner->Remove(this);
  }
}

bool tNode::Assign(const tObject* other) {
  if (dynamic_cast<const tNode*>(other) == nullptr) {
    return false;
  }
  if (owner != nullptr) {
    owner->Remove(this);
  }
  return true;
}

// ---- tList ----

// The nodes outlive the list: each is unlinked quietly, without hooks (the
// derived parts of the list are gone already), so no node keeps a pointer to
// the dead list that a later DestroyObject of the node would write through.
tList::~tList() {
  tNode* node = first;
  while (node != nullptr) {
    tNode* following = node->next;
    node->previous = nullptr;
    node->next = nullptr;
    node->owner = nullptr;
    node = following;
  }
  first = nullptr;
  last = nullptr;
  count = 0;
}

const char* tList::GetClassName() const { return "tList"; }

void tList::Free() {
  DeleteAll();
  tNode::Free();
}

bool tList::Assign(const tObject* other) {
  DeleteAll();
  if (dynamic_cast<const tNode*>(other) == nullptr) {
    return false;
  }
  if (owner != nullptr) {
    owner->Remove(this);
  }
  const tList* source = dynamic_cast<const tList*>(other);
  if (source == nullptr) {
    return false;
  }
  for (const tNode* sourceNode = source->first; sourceNode != nullptr; sourceNode = sourceNode->next) {
    tNode* copy = CreateNode();
    if (copy == nullptr) {
      DeleteAll();
      return false;
    }
    copy->Assign(sourceNode);
    if (copy->owner == nullptr) {
      Link(last, copy, nullptr);
    }
  }
  return true;
}

void tList::NodeAttached(tNode*) {}
void tList::NodeDetached(tNode*) {}

void tList::DeleteAll() {
  while (last != nullptr) {
    tNode* victim = last;
    victim->Free();
    // A Free override that does not unlink the node would leave the list
    // pointing at freed memory (and stall this loop): unlink it first.
    if (victim->owner != nullptr) {
      victim->owner->Remove(victim);
    }
    delete victim;
  }
}

tNode* tList::CreateNode() { return new (std::nothrow) tNode; }

tNode* tList::Link(tNode* before, tNode* node, tNode* after) {
  node->previous = before;
  node->next = after;
  node->owner = this;
  if (before != nullptr) {
    before->next = node;
  } else {
    first = node;
  }
  if (after != nullptr) {
    after->previous = node;
  } else {
    last = node;
  }
  ++count;
  NodeAttached(node);
  node->Attached(this);
  return node;
}

tNode* tList::Append(tNode* node) {
  if (node == nullptr) {
    return nullptr;
  }
  if (node->owner != nullptr) {
    return node;
  }
  return Link(last, node, nullptr);
}

bool tList::CanInsert(const tNode* reference, const tNode* node) const {
  if (node == nullptr || node->owner != nullptr) {
    return false;
  }
  // Without a reference only an empty list takes the node.
  return reference != nullptr ? reference->owner == this : first == nullptr;
}

tNode* tList::InsertBefore(tNode* reference, tNode* node) {
  if (!CanInsert(reference, node)) {
    return nullptr;
  }
  return reference != nullptr ? Link(reference->previous, node, reference) : Link(nullptr, node, nullptr);
}

tNode* tList::InsertAfter(tNode* reference, tNode* node) {
  if (!CanInsert(reference, node)) {
    return nullptr;
  }
  return reference != nullptr ? Link(reference, node, reference->next) : Link(nullptr, node, nullptr);
}

tNode* tList::InsertAt(int32_t index, tNode* node) {
  if (node == nullptr) {
    return nullptr;
  }
  if (index >= 0 && index < count) {
    return InsertBefore(At(index), node);
  }
  return Append(node);
}

tNode* tList::Remove(tNode* node) {
  if (node == nullptr || node->owner != this) {
    return nullptr;
  }
  node->Detached(this);
  NodeDetached(node);
  // A hook may already have unlinked the node; unlink only once.
  if (node->owner != this) {
    return node;
  }
  if (node->previous != nullptr) {
    node->previous->next = node->next;
  } else {
    first = node->next;
  }
  if (node->next != nullptr) {
    node->next->previous = node->previous;
  } else {
    last = node->previous;
  }
  node->previous = nullptr;
  node->next = nullptr;
  node->owner = nullptr;
  --count;
  return node;
}

tNode* tList::RemoveAt(int32_t index) { return Remove(At(index)); }

bool tList::CanMove(const tNode* reference, const tNode* node) const {
  if (node == nullptr || node == reference || node->owner != this) {
    return false;
  }
  // The node is only taken out when it can go back in: a reference of
  // another list, or none while other nodes remain, would leave it unlinked.
  return reference != nullptr ? reference->owner == this : count == 1;
}

tNode* tList::MoveBefore(tNode* reference, tNode* node) {
  if (!CanMove(reference, node)) {
    return nullptr;
  }
  return InsertBefore(reference, Remove(node));
}

tNode* tList::MoveAfter(tNode* reference, tNode* node) {
  if (!CanMove(reference, node)) {
    return nullptr;
  }
  return InsertAfter(reference, Remove(node));
}

tNode* tList::At(int32_t index) const {
  if (index < 0 || index >= count) {
    return nullptr;
  }
  tNode* node = first;
  for (int32_t position = 0; position < index && node != nullptr; ++position) {
    node = node->next;
  }
  return node;
}

int32_t tList::IndexOf(const tNode* node) const {
  if (node == nullptr || node->owner != this) {
    return -1;
  }
  int32_t position = 0;
  for (const tNode* walker = first; walker != nullptr; walker = walker->next, ++position) {
    if (walker == node) {
      return position;
    }
  }
  return -1;
}

// ---- tStrNode, tStrList ----

const char* tStrNode::GetClassName() const { return "tStrNode"; }

void tStrNode::Free() {
  FreeCharStr(text);
  tNode::Free();
}

int tStrNode::CompareKey(const void* key) const {
  const char* keyText = static_cast<const char*>(key);
  // Unlike CompareNoCase, a node without text sorts first.
  if (text == nullptr || keyText == nullptr) {
    return (text == nullptr ? 0 : 1) - (keyText == nullptr ? 0 : 1);
  }
  return CompareNoCase(text, keyText);
}

int tStrNode::Compare(const tObject* other) const {
  const tStrNode* otherNode = dynamic_cast<const tStrNode*>(other);
  if (otherNode == nullptr) {
    return -1;
  }
  return CompareKey(otherNode->text);
}

bool tStrNode::Assign(const tObject* other) {
  tNode::Assign(other);
  const tStrNode* source = dynamic_cast<const tStrNode*>(other);
  if (source == nullptr) {
    return false;
  }
  SetCharStr(text, source->text);
  return true;
}

void tStrNode::SetText(const char* newText) { SetCharStr(text, newText); }

const char* tStrList::GetClassName() const { return "tStrList"; }
tNode* tStrList::CreateNode() { return new (std::nothrow) tStrNode; }

// ---- tDataNode, tDataList ----

const char* tDataNode::GetClassName() const { return "tDataNode"; }

bool tDataNode::Assign(const tObject* other) { return tNode::Assign(other); }

void tDataNode::SetData(uintptr_t value) { data = value; }

const char* tDataList::GetClassName() const { return "tDataList"; }
tNode* tDataList::CreateNode() { return new (std::nothrow) tDataNode; }
