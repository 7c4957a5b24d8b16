#include "base/LumoSortedList.h"

#include "base/LumoClass.h"

namespace {

LumoClassOf<LumoSortedList> classOfLumoSortedList(kVersion_1_4_0_0, "LumoSortedList", "LumoList");

}  // namespace

LumoSortedList::LumoSortedList() : index(new (std::nothrow) LumoObjects(false)) {}

const char* LumoSortedList::GetClassName() const { return "LumoSortedList"; }

void LumoSortedList::IndexItem(LumoNode* item) {
  if (index == nullptr || item == nullptr || item->Name == nullptr) {
    return;
  }
  LumoObject* element = item;
  int32_t position = 0;
  const bool found = index->Search(element, position);
  if (found && IsUnique()) {
    return;
  }
  index->Insert(position, element);
}

void LumoSortedList::DoClear() {
  if (index != nullptr) {
    index->Clear();
  }
}

void LumoSortedList::DoAttach(LumoNode* item) {
  if ((Flags & kIndexingFlag) != 0) {
    return;
  }
  IndexItem(item);
}

// The slot is found by pointer whatever the item's name is now, so an item
// renamed while listed never leaves a stale pointer in the index.
void LumoSortedList::DoDetach(LumoNode* item) {
  if (index == nullptr) {
    return;
  }
  const int32_t slot = index->IndexOf(item);
  if (slot >= 0) {
    index->DeleteAt(slot);
  }
}

bool LumoSortedList::DoPrepare(LumoObject* other) {
  auto* item = dynamic_cast<LumoNode*>(other);
  if (item == nullptr || item->parent != this) {
    return false;
  }
  // The item may have been indexed while it was being loaded, under a name
  // its constructor gave it before the stored one was read: index it afresh.
  DoDetach(item);
  IndexItem(item);
  return true;
}

void LumoSortedList::DoFree() {
  index.reset();
  LumoList::DoFree();
}

LumoNode* LumoSortedList::FindByName(const char* name) {
  if (name == nullptr || index == nullptr) {
    return nullptr;
  }
  int32_t position = 0;
  if (!index->SearchKey(name, position)) {
    return nullptr;
  }
  return static_cast<LumoNode*>(index->At(position));
}

LumoNode* LumoSortedList::FindOrCreate(const char* name) {
  if (name == nullptr || index == nullptr) {
    return nullptr;
  }
  int32_t position = 0;
  if (index->SearchKey(name, position) && IsUnique()) {
    return static_cast<LumoNode*>(index->At(position));
  }
  LumoNode* item = CreateNamedItem(name);
  if (item == nullptr) {
    return nullptr;
  }
  Flags |= kIndexingFlag;
  LumoNode* appended = Append(item);
  Flags &= ~kIndexingFlag;
  if (appended != item || item->parent != this) {
    DestroyObject(item);
    return nullptr;
  }
  if (index == nullptr || position > index->count || !index->Insert(position, item)) {
    DestroyObject(item);
    return nullptr;
  }
  return item;
}
