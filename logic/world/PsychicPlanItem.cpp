#include "logic/world/PsychicPlanItem.h"

#include <vector>

#include "base/DebugFormat.h"
#include "base/LumoStream.h"
#include "logic/core/RecordFields.h"

namespace {

LumoClassOf<PsychicPlanItem> classOfPsychicPlanItem(kVersion_1_6_0_6, "PsychicPlanItem", "LumoObject");
LOGIC_FIELD_PROPERTY(PsychicPlanItem, queue, PropertyPointer, "tPointer");
LOGIC_FIELD_PROPERTY(PsychicPlanItem, child, PropertyPointer, "tPointer");
LOGIC_FIELD_PROPERTY(PsychicPlanItem, Action, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(PsychicPlanItem, Param1, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(PsychicPlanItem, Param2, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(PsychicPlanItem, Motivation, PropertySingle, "tSingle");
LOGIC_FIELD_PROPERTY(PsychicPlanItem, Fast, PropertyBool, "tBool");
LOGIC_FIELD_PROPERTY(PsychicPlanItem, Expandable, PropertyBool, "tBool");

}  // namespace

PsychicPlanItem::PsychicPlanItem() = default;

PsychicPlanItem::PsychicPlanItem(int32_t param1, int32_t param2, float motivation, bool fast)
    : Param1(param1), Param2(param2), Motivation(motivation), Fast(fast) {}

PsychicPlanItem::~PsychicPlanItem() { ClearChildren(); }

const char* PsychicPlanItem::GetClassName() const { return "PsychicPlanItem"; }

void PsychicPlanItem::DoFree() {
  ClearChildren();
  LumoObject::DoFree();
}

// Every step taken off the pending list has its links cut before it is
// destroyed, so its own destruction finds nothing left to delete; what it
// linked joins the list instead. The walk keeps no stack of its own beyond
// the list, however long the queues or deep the tree.
void PsychicPlanItem::DeleteTree(PsychicPlanItem* first) {
  if (first == nullptr) {
    return;
  }
  std::vector<PsychicPlanItem*> pending{first};
  while (!pending.empty()) {
    PsychicPlanItem* item = pending.back();
    pending.pop_back();
    if (item->queue != nullptr) {
      pending.push_back(item->queue);
    }
    if (item->child != nullptr) {
      pending.push_back(item->child);
    }
    item->queue = nullptr;
    item->child = nullptr;
    item->parent = nullptr;
    DestroyObject(item);
  }
}

void PsychicPlanItem::ClearChildren() {
  PsychicPlanItem* children = child;
  PsychicPlanItem* rest = queue;
  child = nullptr;
  queue = nullptr;
  DeleteTree(children);
  DeleteTree(rest);
}

// ---- Running ----

int32_t PsychicPlanItem::Execute(YLUnit*) { return 0; }

PsychicPlanItem* PsychicPlanItem::Clone() const {
  auto* copy = new PsychicPlanItem;
  CopyTo(*copy);
  return copy;
}

// The step keeps its own sub-plan, so deleting the unlinked step deletes it
// too rather than leaving it with no owner.
PsychicPlanItem* PsychicPlanItem::Unlink() {
  PsychicPlanItem* owner = parent;
  if (owner != nullptr && owner->child == this) {
    owner->child = queue;
  }
  parent = nullptr;
  queue = nullptr;
  return owner;
}

// ---- The tree ----

PsychicPlanItem* PsychicPlanItem::GetLeaf() {
  PsychicPlanItem* leaf = this;
  while (leaf->child != nullptr) {
    leaf = leaf->child;
  }
  return leaf;
}

PsychicPlanItem* PsychicPlanItem::AppendToQueue(PsychicPlanItem* item) {
  if (item == nullptr) {
    return nullptr;
  }
  PsychicPlanItem* last = this;
  while (last->queue != nullptr) {
    last = last->queue;
  }
  last->queue = item;
  SetQueueParent(item, parent);
  return item;
}

void PsychicPlanItem::InsertAfter(PsychicPlanItem* item) {
  if (item == nullptr) {
    return;
  }
  item->queue = queue;
  item->parent = parent;
  queue = item;
}

void PsychicPlanItem::AddChild(PsychicPlanItem* item) {
  if (item == nullptr) {
    return;
  }
  if (child == nullptr) {
    child = item;
    SetQueueParent(item, this);
    return;
  }
  child->AppendToQueue(item);
}

void PsychicPlanItem::PushChild(PsychicPlanItem* item) {
  if (item == nullptr) {
    return;
  }
  PsychicPlanItem* old = child;
  child = item;
  SetQueueParent(item, this);
  if (old != nullptr) {
    item->AppendToQueue(old);
  }
}

void PsychicPlanItem::CopyTo(PsychicPlanItem& other) const {
  other.Action = Action;
  other.Param1 = Param1;
  other.Param2 = Param2;
  other.Motivation = Motivation;
  other.Fast = Fast;
}

bool PsychicPlanItem::Equals(const PsychicPlanItem& other) const {
  return Action == other.Action && Param1 == other.Param1 && Param2 == other.Param2;
}

void PsychicPlanItem::SetQueueParent(PsychicPlanItem* first, PsychicPlanItem* owner) {
  for (PsychicPlanItem* item = first; item != nullptr; item = item->queue) {
    item->parent = owner;
  }
}

// ---- Stream form ----

bool PsychicPlanItem::LoadLink(LumoStream* stream, const char* field, PsychicPlanItem*& link) {
  int32_t present = 0;
  if (!stream->ReadInteger(present)) {
    DebugPrint("PsychicPlanItem: cannot read the %s flag\n", field);
    return false;
  }
  if (present == 0) {
    return true;
  }
  LumoObject* loaded = LoadObject(stream, nullptr);
  if (loaded == nullptr) {
    DebugPrint("PsychicPlanItem: cannot read the %s step\n", field);
    return false;
  }
  auto* item = dynamic_cast<PsychicPlanItem*>(loaded);
  if (item == nullptr) {
    DebugPrint("PsychicPlanItem: the %s holds a %s, not a plan step\n", field, loaded->GetClassName());
    DestroyObject(loaded);
    return false;
  }
  DeleteTree(link);
  link = item;
  return true;
}

bool PsychicPlanItem::SaveLink(LumoStream* stream, PsychicPlanItem* link) {
  if (!stream->WriteInteger(link != nullptr ? 1 : 0)) {
    return false;
  }
  return link == nullptr || link->SaveObject(stream, 0);
}

bool PsychicPlanItem::Loadqueue(LumoStream* stream, const LumoProperty*) {
  if (!LoadLink(stream, "queue", queue)) {
    return false;
  }
  SetQueueParent(queue, parent);
  return true;
}

bool PsychicPlanItem::Savequeue(LumoStream* stream, const LumoProperty*) { return SaveLink(stream, queue); }

bool PsychicPlanItem::Loadchild(LumoStream* stream, const LumoProperty*) {
  if (!LoadLink(stream, "child", child)) {
    return false;
  }
  SetQueueParent(child, this);
  return true;
}

bool PsychicPlanItem::Savechild(LumoStream* stream, const LumoProperty*) { return SaveLink(stream, child); }

LUMO_GENERIC_FIELD(PsychicPlanItem, Action)
LUMO_GENERIC_FIELD(PsychicPlanItem, Param1)
LUMO_GENERIC_FIELD(PsychicPlanItem, Param2)
LUMO_GENERIC_FIELD(PsychicPlanItem, Motivation)
LUMO_GENERIC_FIELD(PsychicPlanItem, Fast)
LUMO_GENERIC_FIELD(PsychicPlanItem, Expandable)
