#include "base/LumoNode.h"

#include "base/DebugFormat.h"
#include "base/LumoClass.h"
#include "base/LumoList.h"

namespace {

// The class record comes first, then its fields in stream order.
LumoClassOf<LumoNode> classOfLumoNode(kVersion_1_4_0_0, "LumoNode", "LumoObject");
LumoFieldProperty<LumoNode, &LumoNode::LoadFlags, &LumoNode::SaveFlags> lumoNodeFlags(kVersion_1_4_0_0, PropertySet,
                                                                                      "tSet", "Flags");
LumoFieldProperty<LumoNode, &LumoNode::LoadName, &LumoNode::SaveName> lumoNodeName(kVersion_1_4_0_0, PropertyCharStr,
                                                                                   "tCharStr", "Name");
LumoFieldProperty<LumoNode, &LumoNode::LoadTag, &LumoNode::SaveTag> lumoNodeTag(kVersion_1_4_0_0, PropertyInteger,
                                                                                "tInteger", "Tag");
LumoFieldProperty<LumoNode, &LumoNode::LoadID, &LumoNode::SaveID> lumoNodeID(kVersion_1_4_0_0, PropertyInteger,
                                                                             "tCardinal", "ID");

}  // namespace

LumoNode::LumoNode() = default;

LumoNode::~LumoNode() {
  if (parent != nullptr) {
    parent->Unlink(this);
  }
  FreeCharStr(Name);
}

const char* LumoNode::GetClassName() const { return "LumoNode"; }

int LumoNode::CompareKey(const void* key) const { return CompareNoCase(Name, static_cast<const char*>(key)); }

int LumoNode::Compare(const tObject* other) const {
  const auto* node = dynamic_cast<const LumoNode*>(other);
  if (node == nullptr) {
    return -1;
  }
  return CompareKey(node->Name);
}

bool LumoNode::DoAssign(LumoObject* other) {
  auto* source = dynamic_cast<LumoNode*>(other);
  if (source == nullptr) {
    return false;
  }
  const bool named = AssignNodeFields(*source);
  SetData(source->Restore());
  return named;
}

bool LumoNode::AssignNodeFields(const LumoNode& source) {
  if (parent != nullptr) {
    parent->Remove(this);
  }
  const bool named = SetCharStr(Name, source.Name) != nullptr || source.Name == nullptr;
  Flags = source.Flags;
  Tag = source.Tag;
  ID = source.ID;
  return named;
}

void LumoNode::DoFree() {
  if (parent != nullptr) {
    parent->Remove(this);
  }
  Unload();
  FreeCharStr(Name);
  LumoObject::DoFree();
}

// ---- Fields ----

bool LumoNode::LoadName(LumoStream* stream, const LumoProperty* property) {
  return LoadPropertyFrom(stream, property, &Name);
}
bool LumoNode::SaveName(LumoStream* stream, const LumoProperty* property) {
  return SavePropertyTo(stream, property, &Name);
}
bool LumoNode::LoadTag(LumoStream* stream, const LumoProperty* property) {
  return LoadPropertyFrom(stream, property, &Tag);
}
bool LumoNode::SaveTag(LumoStream* stream, const LumoProperty* property) {
  return SavePropertyTo(stream, property, &Tag);
}
bool LumoNode::LoadID(LumoStream* stream, const LumoProperty* property) {
  return LoadPropertyFrom(stream, property, &ID);
}
bool LumoNode::SaveID(LumoStream* stream, const LumoProperty* property) {
  return SavePropertyTo(stream, property, &ID);
}
bool LumoNode::LoadFlags(LumoStream* stream, const LumoProperty* property) {
  return LoadPropertyFrom(stream, property, &Flags);
}
bool LumoNode::SaveFlags(LumoStream* stream, const LumoProperty* property) {
  return SavePropertyTo(stream, property, &Flags);
}

const char* LumoNode::SetName(const char* text) { return SetCharStr(Name, text); }

uintptr_t LumoNode::SetData(uintptr_t value) {
  Data = value;
  return Data;
}

uintptr_t LumoNode::Reset() {
  if (Data != 0) {
    Unload();
  }
  return Data;
}

void LumoNode::Unload() { Data = 0; }
uintptr_t LumoNode::Load() { return Reset(); }
uintptr_t LumoNode::Restore() { return 0; }
void LumoNode::SetTag(int32_t value) { Tag = value; }
void LumoNode::SetID(uint32_t value) { ID = value; }

// ---- Place in the tree ----

LumoNode* LumoNode::MoveBefore(LumoNode* item) {
  if (parent == nullptr || parent->MoveBefore(item, this) == nullptr) {
    return nullptr;
  }
  return item;
}

LumoNode* LumoNode::MoveAfter(LumoNode* item) {
  if (parent == nullptr || parent->MoveAfter(item, this) == nullptr) {
    return nullptr;
  }
  return item;
}

LumoNode* LumoNode::MoveToFront() { return parent != nullptr ? MoveBefore(parent->first) : nullptr; }

LumoNode* LumoNode::MoveToBack() { return parent != nullptr ? MoveAfter(parent->last) : nullptr; }

namespace {

// Moves node out of its parent into target, when target is a list that takes it.
LumoList* MoveInto(LumoNode* node, LumoNode* targetItem) {
  auto* target = dynamic_cast<LumoList*>(targetItem);
  if (target == nullptr) {
    return nullptr;
  }
  node->parent->Remove(node);
  target->Append(node);
  return target;
}

}  // namespace

LumoList* LumoNode::MoveToFirstParentSibling() {
  if (parent == nullptr || parent->parent == nullptr) {
    return nullptr;
  }
  return MoveInto(this, parent->parent->first);
}

LumoList* LumoNode::MoveToLastParentSibling() {
  if (parent == nullptr || parent->parent == nullptr) {
    return nullptr;
  }
  return MoveInto(this, parent->parent->last);
}

void LumoNode::MoveTo(LumoList* list) {
  if (parent == nullptr || list == nullptr) {
    return;
  }
  parent->Remove(this);
  list->Append(this);
}

LumoNode* LumoNode::GetPreviousAcross() const {
  if (previous != nullptr) {
    return previous;
  }
  const auto* neighbour = parent != nullptr ? dynamic_cast<const LumoList*>(parent->previous) : nullptr;
  return neighbour != nullptr ? neighbour->last : nullptr;
}

LumoNode* LumoNode::GetNextAcross() const {
  if (next != nullptr) {
    return next;
  }
  const auto* neighbour = parent != nullptr ? dynamic_cast<const LumoList*>(parent->next) : nullptr;
  return neighbour != nullptr ? neighbour->first : nullptr;
}

// ---- Messages ----

bool LumoNode::DoMessage(int32_t, LumoNode*) { return false; }
bool LumoNode::OnMessage(int32_t, LumoNode*) { return false; }

bool LumoNode::HandleMessage(int32_t message, LumoNode* sender) {
  if (sender == nullptr) {
    return false;
  }
  auto report = [&](const char* hook) {
    DebugPrint("LumoNode::HandleMessage() Unhandled exception during %s (Message=%i, Sender=%p:%s, Receiver=%p:%s)\n",
               hook, message, DebugAddress(sender), DebugClassName(sender), DebugAddress(this),
               DebugClassName(this));
  };
  const bool done = RunGuarded([&] { return DoMessage(message, sender); }, [&] { report("DoMessage()"); });
  const bool heard = RunGuarded([&] { return OnMessage(message, sender); }, [&] { report("OnMessage()"); });
  return done || heard;
}

bool LumoNode::SendMessage(int32_t message, LumoNode* target) {
  return (target != nullptr ? target : this)->HandleMessage(message, this);
}

// ---- Debug dump ----

void LumoNode::DebugDumpBegin() {}
void LumoNode::DebugDumpFields() {}
void LumoNode::DebugDumpEnd() {}

void LumoNode::DumpLink(const char* label, const LumoNode* node) {
  DebugPrint(", %s=%p", label, static_cast<const void*>(node));
  if (node != nullptr && node->Name != nullptr) {
    DebugPrint(":%s", node->Name);
  }
}

void LumoNode::DumpLine(bool missingOnly) {
  if (missingOnly && (Name == nullptr || Data != 0)) {
    return;
  }
  DebugPrint("%s: %s (Object=%p", missingOnly ? "*** MISSING DATA" : "DUMP", GetClassName(), DebugAddress(this));
  DebugDumpBegin();
  DebugPrint(", Data=%p", reinterpret_cast<const void*>(Data));
  if (Name != nullptr) {
    DebugPrint(", Name=%s", Name);
  }
  DumpLink("Parent", parent);
  DumpLink("Previous", previous);
  DumpLink("Next", next);
  DebugPrint(", Tag=%i, ID=%i, Flags=%X", Tag, static_cast<int32_t>(ID), Flags);
  DebugDumpFields();
  DebugDumpEnd();
  DebugPrint(")\n");
}

void LumoNode::DebugDump(bool missingOnly) {
  if (!IsDebugMode()) {
    return;
  }
  RunGuarded([&] { DumpLine(missingOnly); }, [&] {
    DebugPrint("\nLumoNode::DebugDump() Unhandled exception (Object=%p:%s)\n", DebugAddress(this),
               DebugClassName(this));
  });
}
