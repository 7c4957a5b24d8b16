#include "base/LumoObject.h"

#include <memory>

#include "base/DebugFormat.h"
#include "base/LumoClass.h"
#include "base/LumoList.h"

// ---- Helpers ----

const void* DebugAddress(const tObject* object) { return object; }

const char* DebugClassName(const tObject* object) {
  return object != nullptr ? object->GetClassName() : "(null)";
}

const char* DebugText(const char* text) { return text != nullptr ? text : "(null)"; }

namespace {

using ReferenceListOwner = std::unique_ptr<tReferenceList, tObjectDestroyer>;

tReferenceList* EnsureList(ReferenceListOwner& list) {
  if (list == nullptr) {
    list.reset(new (std::nothrow) tReferenceList);
  }
  return list.get();
}

void DropIfEmpty(ReferenceListOwner& list) {
  if (list != nullptr && list->count == 0) {
    list.reset();
  }
}

// Destroys the node for object and kind in list, and the list once empty.
void RemoveNode(ReferenceListOwner& list, const LumoObject* object, uint8_t kind) {
  if (list == nullptr) {
    return;
  }
  list->Remove(object, kind);
  DropIfEmpty(list);
}

// Reports a throwing step that involves two objects.
void ReportPair(const char* operation, const char* firstLabel, const tObject* first, const char* secondLabel,
                const tObject* second) {
  DebugPrint("%s (%s=%p:%s, %s=%p:%s)\n", operation, firstLabel, DebugAddress(first), DebugClassName(first),
             secondLabel, DebugAddress(second), DebugClassName(second));
}

}  // namespace

// ---- Life ----

LumoObject::LumoObject() = default;

LumoObject::~LumoObject() {
  if (references == nullptr) {
    return;
  }
  // Nobody may keep a pointer to an object that is gone. A throwing hook has
  // been reported already; a destructor cannot pass it on.
  try {
    LumoObject::Dereference();
  } catch (...) {
  }
  references.reset();
}

const char* LumoObject::GetClassName() const { return "LumoObject"; }

void LumoObject::ReportFault(const char* operation) const {
  DebugPrint("%s (Object=%p:%s)\n", operation, DebugAddress(this), DebugClassName(this));
}

void LumoObject::Free() {
  RunGuarded([&] { DoDeactivate(); },
             [&] { ReportFault("LumoObject::Free() Unhandled exception during DoDeactivate()"); });
  RunGuarded([&] { OnFree(); }, [&] { ReportFault("LumoObject::Free() Unhandled exception during OnFree()"); });
  RunGuarded([&] { DoFree(); }, [&] { ReportFault("LumoObject::Free() Unhandled exception during DoFree()"); });
}

bool LumoObject::Assign(const tObject* other) {
  const auto* source = dynamic_cast<const LumoObject*>(other);
  if (source == nullptr) {
    return false;
  }
  auto* mutableSource = const_cast<LumoObject*>(source);
  if (!RunGuarded([&] { return DoAssign(mutableSource); },
                  [&] { ReportFault("LumoObject::Assign() Unhandled exception during DoAssign()"); })) {
    return false;
  }
  return RunGuarded([&] { return OnAssign(mutableSource); },
                    [&] { ReportFault("LumoObject::Assign() Unhandled exception during OnAssign()"); });
}

// ---- Default hooks ----

bool LumoObject::DoAssign(LumoObject*) { return true; }
void LumoObject::DoDeactivate() {}
void LumoObject::DoFree() { Dereference(); }
void LumoObject::DoAbortReferenceTo(LumoObject*) {}
bool LumoObject::DoRegisterObject(LumoObject*) { return false; }
bool LumoObject::DoUnregisterObject(LumoObject*) { return false; }
bool LumoObject::DoPrepare(LumoObject*) { return true; }
bool LumoObject::OnAssign(LumoObject*) { return true; }
void LumoObject::OnFree() {}
void LumoObject::OnAbortReferenceTo(LumoObject*) {}
bool LumoObject::OnRegisterObject(LumoObject*, bool registered) { return registered; }
bool LumoObject::OnPrepare(LumoObject*) { return true; }
bool LumoObject::OnLoadFrom(LumoStream*) { return true; }
bool LumoObject::OnSaveTo(LumoStream*) { return true; }

// ---- Registration with an owner ----

LumoObject::Registration LumoObject::Register(LumoObject* object) {
  const bool registered = RunGuarded([&] { return DoRegisterObject(object); }, [&] {
    ReportPair("LumoObject::RegisterObject() Unhandled exception during DoRegisterObject()", "Owner", this,
               "Object", object);
  });
  const bool kept = RunGuarded([&] { return OnRegisterObject(object, registered); }, [&] {
    ReportPair("LumoObject::RegisterObject() Unhandled exception during OnRegisterObject()", "Owner", this,
               "Object", object);
  });
  if (kept) {
    return Registration::Kept;
  }
  if (!registered) {
    return Registration::Refused;
  }
  RunGuarded([&] { DoUnregisterObject(object); }, [&] {
    ReportPair("LumoObject::RegisterObject() Unhandled exception during DoUnregisterObject()", "Owner", this,
               "Object", object);
  });
  RunGuarded([&] { DestroyObject(object); }, [&] {
    ReportFault("LumoObject::RegisterObject() Unhandled exception during deletion of an object");
  });
  return Registration::Destroyed;
}

bool LumoObject::RegisterObject(LumoObject* object) { return Register(object) == Registration::Kept; }

LumoObject* HandOverToOwner(LumoObject* owner, LumoObject* object) {
  if (owner == nullptr || object == nullptr) {
    return object;
  }
  switch (owner->Register(object)) {
    case LumoObject::Registration::Kept:
      return object;
    case LumoObject::Registration::Refused:
      // Held by nobody: without this it would be lost.
      DestroyObject(object);
      return nullptr;
    case LumoObject::Registration::Destroyed:
      return nullptr;
  }
  return nullptr;
}

bool LumoObject::Prepare(LumoObject* other) {
  auto report = [&](const char* operation) {
    DebugPrint("%s (Object=%p:%s, Owner=%p)\n", operation, DebugAddress(other), DebugClassName(other),
               DebugAddress(this));
  };
  if (!RunGuarded([&] { return DoPrepare(other); },
                  [&] { report("LumoObject::Prepare() Unhandled exception during DoPrepare()"); })) {
    return false;
  }
  return RunGuarded([&] { return OnPrepare(other); },
                    [&] { report("LumoObject::Prepare() Unhandled exception during OnPrepare()"); });
}

// ---- Loading and saving the registered fields ----

namespace {

// Runs Load (or Save) of every property of every class in the chain, from the
// farthest registered ancestor down to the object's own class.
bool ForEachPropertyFromRoot(const char* className, bool (*step)(const LumoProperty*, void*), void* context) {
  std::unique_ptr<LumoList, tObjectDestroyer> chain(BuildClassChain(className));
  if (chain == nullptr) {
    return false;
  }
  for (LumoNode* item = chain->last; item != nullptr; item = item->previous) {
    const auto* record = reinterpret_cast<const LumoClass*>(item->Data);
    for (const LumoProperty* property = record->firstProperty; property != nullptr; property = property->next) {
      if (!step(property, context)) {
        return false;
      }
    }
  }
  return true;
}

struct PropertyPass {
  LumoStream* stream;
  LumoObject* object;
};

}  // namespace

bool LumoObject::DoLoadFrom(LumoStream* stream) {
  PropertyPass pass{stream, this};
  return ForEachPropertyFromRoot(
      GetClassName(),
      [](const LumoProperty* property, void* context) {
        auto* load = static_cast<PropertyPass*>(context);
        return property->Load(load->stream, load->object);
      },
      &pass);
}

bool LumoObject::DoSaveTo(LumoStream* stream) {
  PropertyPass pass{stream, this};
  return ForEachPropertyFromRoot(
      GetClassName(),
      [](const LumoProperty* property, void* context) {
        auto* save = static_cast<PropertyPass*>(context);
        return property->Save(save->stream, save->object);
      },
      &pass);
}

bool LumoObject::LoadFrom(LumoStream* stream) {
  auto report = [&](const char* operation) {
    DebugPrint("%s (Object=%p:%s, Stream=%p)\n", operation, DebugAddress(this), DebugClassName(this),
               static_cast<const void*>(stream));
  };
  if (!RunGuarded([&] { return DoLoadFrom(stream); },
                  [&] { report("LumoObject::LoadFrom() Unhandled exception during DoLoadFrom()"); })) {
    return false;
  }
  return RunGuarded([&] { return OnLoadFrom(stream); },
                    [&] { report("LumoObject::LoadFrom() Unhandled exception during OnLoadFrom()"); });
}

bool LumoObject::SaveTo(LumoStream* stream) {
  auto report = [&](const char* operation) {
    DebugPrint("%s (Object=%p:%s, Stream=%p)\n", operation, DebugAddress(this), DebugClassName(this),
               static_cast<const void*>(stream));
  };
  if (!RunGuarded([&] { return DoSaveTo(stream); },
                  [&] { report("LumoObject::SaveTo() Unhandled exception during DoSaveTo()"); })) {
    return false;
  }
  return RunGuarded([&] { return OnSaveTo(stream); },
                    [&] { report("LumoObject::SaveTo() Unhandled exception during OnSaveTo()"); });
}

// The object stream (LumoStream, with its readers, writers and version) is not
// part of the build yet. Until it is, no stream can exist, and reading or
// writing one field fails rather than pretending to succeed.
bool LumoObject::DoLoadPropertyFrom(LumoStream*, const LumoProperty*, void*) { return false; }
bool LumoObject::DoSavePropertyTo(LumoStream*, const LumoProperty*, const void*) { return false; }
bool LumoObject::LoadPropertyFrom(LumoStream*, const LumoProperty*, void*) { return false; }
bool LumoObject::SavePropertyTo(LumoStream*, const LumoProperty*, const void*) { return false; }

// ---- References ----

LumoObject* LumoObject::AddReference(LumoObject* other) {
  if (other == nullptr) {
    return nullptr;
  }
  tReferenceList* ownList = EnsureList(references);
  tReferenceNode* reference = ownList != nullptr ? ownList->Add(other, kReferenceKind) : nullptr;
  if (reference == nullptr) {
    DropIfEmpty(references);
    return nullptr;
  }
  tReferenceList* otherList = EnsureList(other->references);
  if (otherList == nullptr || otherList->Add(this, kNotificationKind) == nullptr) {
    DestroyObject(reference);
    DropIfEmpty(references);
    DropIfEmpty(other->references);
    return nullptr;
  }
  return other;
}

void LumoObject::RemoveReference(LumoObject* other) {
  if (other == nullptr) {
    return;
  }
  RemoveNode(other->references, this, kNotificationKind);
  RemoveNode(references, other, kReferenceKind);
}

bool LumoObject::HasReferrers() const { return references != nullptr && references->notificationCount > 0; }

// The referrer's own node for this object goes first: the referrer's hooks
// may then destroy the referrer itself without leaving this walk a dangling
// pointer to touch afterwards.
void LumoObject::AbortReferrer(LumoObject* referrer) {
  RunGuarded([&] { RemoveNode(referrer->references, this, kReferenceKind); }, [&] {
    ReportPair("LumoObject::Dereference() Unhandled exception during removing a reference", "Receiver", referrer,
               "Sender", this);
  });
  RunGuarded([&] { referrer->OnAbortReferenceTo(this); }, [&] {
    ReportPair("LumoObject::Dereference() Unhandled exception during OnAbortReferenceTo()", "Receiver", referrer,
               "Sender", this);
  });
  RunGuarded([&] { referrer->DoAbortReferenceTo(this); }, [&] {
    ReportPair("LumoObject::Dereference() Unhandled exception during DoAbortReferenceTo()", "Receiver", referrer,
               "Sender", this);
  });
}

void LumoObject::AbortReferent(LumoObject* referent) {
  RunGuarded([&] { RemoveNode(referent->references, this, kNotificationKind); }, [&] {
    ReportPair("LumoObject::Dereference() Unhandled exception during removing a notification", "Receiver",
               referent, "Sender", this);
  });
  RunGuarded([&] { OnAbortReferenceTo(referent); },
             [&] { ReportFault("LumoObject::Dereference() Unhandled exception during OnAbortReferenceTo()"); });
  RunGuarded([&] { DoAbortReferenceTo(referent); },
             [&] { ReportFault("LumoObject::Dereference() Unhandled exception during DoAbortReferenceTo()"); });
}

void LumoObject::Dereference() {
  while (references != nullptr) {
    auto* node = dynamic_cast<tReferenceNode*>(references->last);
    if (node == nullptr) {
      DestroyObject(references->last);
      DropIfEmpty(references);
      continue;
    }
    // The node in hand leaves the list first, so hooks that drop references
    // meanwhile cannot destroy it under this walk.
    references->Remove(static_cast<tNode*>(node));
    std::unique_ptr<tReferenceNode, tObjectDestroyer> held(node);
    if (node->kind != kReferenceKind) {
      AbortReferrer(node->object);
    } else {
      AbortReferent(node->object);
    }
    held.reset();
    DropIfEmpty(references);
  }
}
