#include "base/LumoList.h"

#include <memory>
#include <new>

#include "base/DebugFormat.h"
#include "base/LumoClass.h"
#include "base/LumoStream.h"

namespace {

LumoClassOf<LumoList> classOfLumoList(kVersion_1_4_0_0, "LumoList", "LumoNode");
LumoFieldProperty<LumoList, &LumoList::LoadCount, &LumoList::SaveCount> lumoListCount(kVersion_1_4_0_0,
                                                                                      PropertyPointer,
                                                                                      "tPointer", "Count");

const char* LinkingName(int operation) {
  static const char* const names[] = {"Append", "InsertBefore", "InsertAfter"};
  return names[operation];
}

}  // namespace

LumoList::LumoList() = default;

LumoList::~LumoList() {
  while (last != nullptr) {
    DestroyObject(last);
  }
}

const char* LumoList::GetClassName() const { return "LumoList"; }

// ---- Walks ----

template <typename Test>
void LumoList::DeleteItems(Test&& test) {
  WalkItems(Direction::LastToFirst, [&](LumoNode* item) {
    if (test(item)) {
      DestroyObject(item);
    }
    return false;
  });
}

// ---- Linking ----

bool LumoList::IsSelfOrAncestor(const LumoNode* node) const {
  for (const LumoNode* walker = this; walker != nullptr; walker = walker->parent) {
    if (walker == node) {
      return true;
    }
  }
  return false;
}

LumoNode* LumoList::Link(LumoNode* before, LumoNode* item, LumoNode* after, Linking operation, LumoNode* marker) {
  item->previous = before;
  item->next = after;
  item->parent = this;
  (before != nullptr ? before->next : first) = item;
  (after != nullptr ? after->previous : last) = item;
  ++Count;
  auto report = [&](const char* hook) {
    DebugPrint("LumoList::%s() Unhandled exception during %s (List=%p:%s", LinkingName(static_cast<int>(operation)),
               hook, DebugAddress(this), DebugClassName(this));
    if (operation != Linking::Append) {
      DebugPrint(", Marker=%p:%s", DebugAddress(marker), DebugClassName(marker));
    }
    DebugPrint(", Node=%p:%s)\n", DebugAddress(item), DebugClassName(item));
  };
  RunGuarded([&] { DoAttach(item); }, [&] { report("DoAttach()"); });
  RunGuarded([&] { OnAttach(item); }, [&] { report("OnAttach()"); });
  return item;
}

void LumoList::Unlink(LumoNode* item) {
  for (Walk* walk = walks; walk != nullptr; walk = walk->outer) {
    if (walk->pending == item) {
      walk->pending = walk->backwards ? item->previous : item->next;
    }
  }
  (item->previous != nullptr ? item->previous->next : first) = item->next;
  (item->next != nullptr ? item->next->previous : last) = item->previous;
  item->previous = nullptr;
  item->next = nullptr;
  item->parent = nullptr;
  --Count;
}

LumoNode* LumoList::Append(LumoNode* item) {
  if (item == nullptr || item->parent != nullptr) {
    return item;
  }
  // A list inside itself would destroy itself while clearing.
  if (IsSelfOrAncestor(item)) {
    return nullptr;
  }
  return Link(last, item, nullptr, Linking::Append, nullptr);
}

LumoNode* LumoList::Insert(LumoNode* marker, LumoNode* item, Linking operation) {
  if (item == nullptr || item->parent != nullptr || IsSelfOrAncestor(item)) {
    return nullptr;
  }
  if (marker == nullptr || marker->parent != this) {
    return first == nullptr ? Link(nullptr, item, nullptr, operation, marker) : nullptr;
  }
  if (operation == Linking::InsertBefore) {
    return Link(marker->previous, item, marker, operation, marker);
  }
  return Link(marker, item, marker->next, operation, marker);
}

LumoNode* LumoList::InsertBefore(LumoNode* marker, LumoNode* item) {
  return Insert(marker, item, Linking::InsertBefore);
}

LumoNode* LumoList::InsertAfter(LumoNode* marker, LumoNode* item) {
  return Insert(marker, item, Linking::InsertAfter);
}

LumoNode* LumoList::InsertAt(int32_t index, LumoNode* item) {
  if (item == nullptr || item->parent != nullptr) {
    return nullptr;
  }
  if (index >= 0 && index < Count) {
    return InsertBefore(At(index), item);
  }
  return Append(item);
}

LumoNode* LumoList::Remove(LumoNode* item) {
  if (item == nullptr || item->parent != this) {
    return nullptr;
  }
  auto report = [&](const char* hook) {
    DebugPrint("LumoList::Remove() Unhandled exception during %s (List=%p:%s, Node=%p:%s)\n", hook,
               DebugAddress(this), DebugClassName(this), DebugAddress(item), DebugClassName(item));
  };
  RunGuarded([&] { DoDetach(item); }, [&] { report("DoDetach()"); });
  RunGuarded([&] { OnDetach(item); }, [&] { report("OnDetach()"); });
  // A hook may have taken the item out already; unlink only once.
  if (item->parent == this) {
    Unlink(item);
  }
  return item;
}

LumoNode* LumoList::RemoveAt(int32_t index) { return Remove(At(index)); }

LumoNode* LumoList::MoveBefore(LumoNode* marker, LumoNode* item) {
  if (!Contains(marker) || !Contains(item)) {
    return nullptr;
  }
  if (marker == item) {
    return marker;
  }
  return InsertBefore(marker, Remove(item));
}

LumoNode* LumoList::MoveAfter(LumoNode* marker, LumoNode* item) {
  if (!Contains(marker) || !Contains(item)) {
    return nullptr;
  }
  if (marker == item) {
    return marker;
  }
  return InsertAfter(marker, Remove(item));
}

LumoNode* LumoList::At(int32_t index) const {
  if (index < 0 || index >= Count) {
    return nullptr;
  }
  if (index < Count / 2) {
    LumoNode* item = first;
    for (int32_t position = 0; position < index; ++position) {
      item = item->next;
    }
    return item;
  }
  LumoNode* item = last;
  for (int32_t position = Count - 1; position > index; --position) {
    item = item->previous;
  }
  return item;
}

int32_t LumoList::IndexOf(const LumoNode* item) const {
  if (!Contains(item)) {
    return -1;
  }
  int32_t position = 0;
  for (const LumoNode* walker = first; walker != nullptr; walker = walker->next, ++position) {
    if (walker == item) {
      return position;
    }
  }
  return -1;
}

bool LumoList::Contains(const LumoNode* item) const { return item != nullptr && item->parent == this; }

bool LumoList::IsUnique() const { return (Flags & kUniqueFlag) != 0; }

// ---- Hooks and factories ----

void LumoList::DoClear() {}
void LumoList::DoAttach(LumoNode*) {}
void LumoList::DoDetach(LumoNode*) {}
void LumoList::DoPopulate() {}
void LumoList::DoActivate() {}
void LumoList::OnClear() {}
void LumoList::OnAttach(LumoNode*) {}
void LumoList::OnDetach(LumoNode*) {}
void LumoList::OnPopulate() {}
void LumoList::OnActivate() {}

bool LumoList::SetUnique(bool flag) {
  if (flag) {
    Flags |= kUniqueFlag;
  }
  return IsUnique();
}

LumoNode* LumoList::FindByName(const char* name) {
  if (name == nullptr) {
    return nullptr;
  }
  for (LumoNode* item = first; item != nullptr; item = item->next) {
    if (item->CompareKey(name) == 0) {
      return item;
    }
  }
  return nullptr;
}

LumoNode* LumoList::FindByData(uintptr_t value) {
  for (LumoNode* item = first; item != nullptr; item = item->next) {
    if (item->Data == value) {
      return item;
    }
  }
  return nullptr;
}

LumoNode* LumoList::FindByID(uint32_t id) {
  for (LumoNode* item = first; item != nullptr; item = item->next) {
    if (item->ID == id) {
      return item;
    }
  }
  return nullptr;
}

LumoNode* LumoList::CreateItem() { return new (std::nothrow) LumoNode; }

LumoNode* LumoList::CreateNamedItem(const char* name) {
  if (name == nullptr) {
    return nullptr;
  }
  std::unique_ptr<LumoNode, tObjectDestroyer> item(CreateItem());
  if (item == nullptr || item->SetName(name) == nullptr) {
    return nullptr;
  }
  return item.release();
}

LumoNode* LumoList::FindOrCreate(const char* name) {
  if (IsUnique()) {
    if (LumoNode* found = FindByName(name)) {
      return found;
    }
  }
  std::unique_ptr<LumoNode, tObjectDestroyer> item(CreateNamedItem(name));
  if (item == nullptr || Append(item.get()) == nullptr) {
    return nullptr;
  }
  return item.release();
}

// ---- Object hooks ----

bool LumoList::DoAssign(LumoObject* other) {
  Clear();
  if (!LumoNode::DoAssign(other)) {
    return false;
  }
  auto* source = dynamic_cast<LumoList*>(other);
  if (source == nullptr) {
    return false;
  }
  bool copied = true;
  source->WalkItems(Direction::FirstToLast, [&](LumoNode* sourceItem) {
    LumoNode* copy = CreateItem();
    if (copy == nullptr) {
      copied = false;
      return true;
    }
    copy->Assign(sourceItem);
    Append(copy);
    return false;
  });
  if (!copied) {
    Clear();
  }
  return copied;
}

void LumoList::DoDeactivate() { Clear(); }

bool LumoList::DoRegisterObject(LumoObject* object) {
  auto* item = dynamic_cast<LumoNode*>(object);
  if (item == nullptr) {
    return false;
  }
  if (Contains(item)) {
    return true;
  }
  // Append answers an item of another list unchanged; that is not taken.
  return Append(item) != nullptr && Contains(item);
}

bool LumoList::DoUnregisterObject(LumoObject* object) {
  return Remove(dynamic_cast<LumoNode*>(object)) != nullptr;
}

void LumoList::Dereference() {
  LumoNode* inHand = nullptr;
  RunGuarded(
      [&] {
        WalkItems(Direction::LastToFirst, [&](LumoNode* item) {
          inHand = item;
          item->Dereference();
          return false;
        });
        inHand = nullptr;
      },
      [&] {
        DebugPrint("LumoList::Dereference() Unhandled exception (Object=%p:%s", DebugAddress(this),
                   DebugClassName(this));
        if (inHand != nullptr) {
          DebugPrint(", Item=%p:%s", DebugAddress(inHand), DebugClassName(inHand));
        }
        DebugPrint(")\n");
      });
  LumoNode::Dereference();
}

// ---- Bulk operations ----

void LumoList::Clear() {
  RunGuarded([&] { OnClear(); }, [&] { ReportFault("LumoList::Clear() Unhandled exception during OnClear()"); });
  RunGuarded([&] { DoClear(); }, [&] { ReportFault("LumoList::Clear() Unhandled exception during DoClear()"); });
  RunGuarded(
      [&] {
        while (last != nullptr) {
          DestroyObject(last);
        }
      },
      [&] {
        DebugPrint("LumoList::Clear() Unhandled exception during DestroyObject() (Object=%p:%s", DebugAddress(this),
                   DebugClassName(this));
        if (last != nullptr) {
          DebugPrint(", Item=%p", DebugAddress(last));
        }
        DebugPrint(")\n");
      });
}

void LumoList::Populate() {
  const char* step = "during an unknown operation";
  RunGuarded(
      [&] {
        step = "during Clear()";
        Clear();
        step = "during parameter handling";
        step = "during DoPopulate()";
        DoPopulate();
        step = "during OnPopulate()";
        OnPopulate();
        step = "before activation";
        step = "during OnActivate()";
        OnActivate();
        step = "during DoActivate()";
        DoActivate();
      },
      [&] {
        DebugPrint("LumoList::Populate() Unhandled exception %s (Object=%p:%s)\n", step, DebugAddress(this),
                   DebugClassName(this));
      });
}

bool LumoList::BroadcastMessage(int32_t message, LumoNode* sender) {
  LumoNode* from = sender != nullptr ? sender : this;
  return RunGuarded(
      [&] {
        return WalkItems(Direction::LastToFirst,
                         [&](LumoNode* item) { return item->HandleMessage(message, from); });
      },
      [&] {
        DebugPrint("LumoList::BroadcastMessage() Unhandled exception (Message=%i, Sender=%p:%s, Object=%p:%s)\n",
                   message, DebugAddress(from), DebugClassName(from), DebugAddress(this), DebugClassName(this));
      });
}

// ---- Resources ----

LumoNode* LumoList::GetLoaded(const char* name) {
  LumoNode* item = FindOrCreate(name);
  if (item == nullptr) {
    return nullptr;
  }
  if (item->Data == 0) {
    item->Load();
  }
  if (item->Data == 0) {
    DestroyObject(item);
    return nullptr;
  }
  return item;
}

void LumoList::LoadAll() {
  WalkItems(Direction::FirstToLast, [](LumoNode* item) {
    if (item->Name != nullptr && item->Data == 0) {
      item->Load();
    }
    return false;
  });
}

void LumoList::ReloadAll() {
  WalkItems(Direction::FirstToLast, [](LumoNode* item) {
    if (item->Name != nullptr) {
      item->Load();
    }
    return false;
  });
}

void LumoList::UnloadAll() {
  WalkItems(Direction::LastToFirst, [](LumoNode* item) {
    if (item->Name != nullptr) {
      item->Unload();
    }
    return false;
  });
}

void LumoList::IncrementTags() {
  WalkItems(Direction::FirstToLast, [](LumoNode* item) {
    item->SetTag(item->Tag + 1);
    return false;
  });
}

void LumoList::DecrementTags() {
  WalkItems(Direction::FirstToLast, [](LumoNode* item) {
    item->SetTag(item->Tag - 1);
    return false;
  });
}

void LumoList::DeleteTagged() {
  DeleteItems([](const LumoNode* item) { return item->Tag != 0; });
}

void LumoList::DeleteUntagged() {
  DeleteItems([](const LumoNode* item) { return item->Tag == 0; });
}

void LumoList::DeleteUnreferenced() {
  DeleteItems([](const LumoNode* item) { return !item->HasReferrers(); });
}

// ---- Debug dump ----

void LumoList::DebugDumpFields() {
  DebugPrint(", Count=%i, First=%p", Count, DebugAddress(first));
  if (first != nullptr && first->Name != nullptr) {
    DebugPrint(":%s", first->Name);
  }
  DebugPrint(", Last=%p", DebugAddress(last));
  if (last != nullptr && last->Name != nullptr) {
    DebugPrint(":%s", last->Name);
  }
  DebugPrint(", Unique=%i", IsUnique() ? 1 : 0);
}

void LumoList::DebugDump(bool missingOnly) {
  if (!IsDebugMode()) {
    return;
  }
  LumoNode::DebugDump(missingOnly);
  WalkItems(Direction::FirstToLast, [&](LumoNode* item) {
    item->DebugDump(missingOnly);
    return false;
  });
}

// ---- Stream form ----

// The count, then every item as a whole object record of its own class and
// version; loading registers (appends) each item in stream order.
bool LumoList::LoadCount(LumoStream* stream, const LumoProperty*) {
  int32_t storedCount = 0;
  if (stream == nullptr || !stream->ReadInteger(storedCount) || storedCount < 0) {
    return false;
  }
  for (int32_t index = 0; index < storedCount; ++index) {
    if (LoadObject(stream, this) == nullptr) {
      return false;
    }
  }
  return true;
}

bool LumoList::SaveCount(LumoStream* stream, const LumoProperty*) {
  if (stream == nullptr || !stream->WriteInteger(Count)) {
    return false;
  }
  for (LumoNode* item = first; item != nullptr; item = item->next) {
    if (!item->SaveObject(stream, 0)) {
      return false;
    }
  }
  return true;
}
