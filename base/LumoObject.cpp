#include "base/LumoObject.h"

#include <memory>

#include "base/DebugFormat.h"
#include "base/LumoClass.h"
#include "base/LumoList.h"
#include "base/LumoStream.h"
#include "base/tBuffer.h"
#include "base/tString.h"

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
    DebugPrint("LumoObject::RegisterObject() Unhandled exception during deletion of an object (Owner=%p:%s)\n",
               DebugAddress(this), DebugClassName(this));
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
  const LumoClass* const* chain = nullptr;
  size_t count = 0;
  if (!GetClassChain(className, chain, count)) {
    return false;
  }
  for (size_t index = count; index-- > 0;) {
    const LumoClass* record = chain[index];
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

namespace {

// Writes the report of a throwing per-field step; the texts are the system's
// own, down to the line break after the field's name.
void ReportPropertyFault(const char* operation, const LumoObject* object, const LumoStream* stream,
                         const LumoProperty* property, const char* pointerLabel, const void* pointer) {
  DebugPrint("%s (Object%p:%s, Stream=%p", operation, DebugAddress(object), DebugClassName(object),
             static_cast<const void*>(stream));
  if (stream != nullptr) {
    DebugPrint(":%s", DebugClassName(stream));
  }
  DebugPrint(", Property=%p", static_cast<const void*>(property));
  if (property != nullptr) {
    DebugPrint(", Type=%s, Name=%s\n", DebugText(property->typeName), DebugText(property->fieldName));
  }
  DebugPrint(", %s=%p)\n", pointerLabel, pointer);
}

// An embedded object field owns what it holds: a newly loaded object
// replaces (and ends) the one the field held before.
bool LoadObjectField(LumoStream* stream, LumoObject** field) {
  LumoObject* loaded = *field;
  if (!stream->ReadObject(loaded, nullptr)) {
    return false;
  }
  if (loaded != *field) {
    DestroyObject(*field);
    *field = loaded;
  }
  return true;
}

}  // namespace

bool LumoObject::DoLoadPropertyFrom(LumoStream* stream, const LumoProperty* property, void* destination) {
  if (stream == nullptr || property == nullptr || destination == nullptr) {
    return false;
  }
  switch (property->typeCode & 0xFF) {
    case PropertyObject:
      return LoadObjectField(stream, static_cast<LumoObject**>(destination));
    case PropertyBool:
    case PropertyBoolByte:
      return stream->ReadBool(*static_cast<bool*>(destination));
    case PropertyCharStr:
      return stream->ReadCharStr(*static_cast<tCharStr*>(destination));
    case PropertySignedByte:
      return stream->ReadSignedByte(*static_cast<int8_t*>(destination));
    case PropertyShort:
      return stream->ReadShortInt(*static_cast<int16_t*>(destination));
    case PropertyInteger:
      return stream->ReadInteger(*static_cast<int32_t*>(destination));
    case PropertyLong64:
      return stream->ReadLong64(*static_cast<int64_t*>(destination));
    case PropertySingle:
      return stream->ReadSingle(*static_cast<float*>(destination));
    case PropertyDouble:
      return stream->ReadDouble(*static_cast<double*>(destination));
    case PropertyString:
      return stream->ReadString(*static_cast<tString*>(destination));
    case PropertyBuffer:
      return stream->ReadBuffer(*static_cast<tBuffer*>(destination));
    case PropertyByte:
      return stream->ReadByte(*static_cast<uint8_t*>(destination));
    case PropertyWord:
      return stream->ReadWord(*static_cast<uint16_t*>(destination));
    case PropertySet:
      return stream->ReadCardinal(*static_cast<uint32_t*>(destination));
    case PropertyFourBytes:
      return stream->Read4Bytes(destination);
    default:  // "tPointer" and unknown codes have no generic form
      return false;
  }
}

bool LumoObject::DoSavePropertyTo(LumoStream* stream, const LumoProperty* property, const void* source) {
  if (stream == nullptr || property == nullptr || source == nullptr) {
    return false;
  }
  switch (property->typeCode & 0xFF) {
    case PropertyObject:
      return stream->WriteObject(*static_cast<LumoObject* const*>(source));
    case PropertyBool:
    case PropertyBoolByte:
      return stream->WriteBool(*static_cast<const bool*>(source));
    case PropertyCharStr:
      return stream->WriteCharStr(*static_cast<const tCharStr*>(source));
    case PropertySignedByte:
      return stream->WriteSignedByte(*static_cast<const int8_t*>(source));
    case PropertyShort:
      return stream->WriteShortInt(*static_cast<const int16_t*>(source));
    case PropertyInteger:
      return stream->WriteInteger(*static_cast<const int32_t*>(source));
    case PropertyLong64:
      return stream->WriteLong64(*static_cast<const int64_t*>(source));
    case PropertySingle:
      return stream->WriteSingle(*static_cast<const float*>(source));
    case PropertyDouble:
      return stream->WriteDouble(*static_cast<const double*>(source));
    case PropertyString:
      return stream->WriteString(*static_cast<const tString*>(source));
    case PropertyBuffer:
      return stream->WriteBuffer(*static_cast<const tBuffer*>(source));
    case PropertyByte:
      return stream->WriteByte(*static_cast<const uint8_t*>(source));
    case PropertyWord:
      return stream->WriteWord(*static_cast<const uint16_t*>(source));
    case PropertySet:
      return stream->WriteCardinal(*static_cast<const uint32_t*>(source));
    case PropertyFourBytes:
      return stream->Write4Bytes(source);
    default:
      return false;
  }
}

bool LumoObject::LoadPropertyFrom(LumoStream* stream, const LumoProperty* property, void* destination) {
  if (property != nullptr && property->IsNewerThan(stream)) {
    return true;
  }
  return RunGuarded([&] { return DoLoadPropertyFrom(stream, property, destination); }, [&] {
    ReportPropertyFault("LumoObject::LoadPropertyFrom() Unhandled exception during DoLoadPropertyFrom()", this,
                        stream, property, "Dest", destination);
  });
}

bool LumoObject::SavePropertyTo(LumoStream* stream, const LumoProperty* property, const void* source) {
  if (property != nullptr && property->IsNewerThan(stream)) {
    return true;
  }
  return RunGuarded([&] { return DoSavePropertyTo(stream, property, source); }, [&] {
    ReportPropertyFault("LumoObject::SavePropertyTo() Unhandled exception during DoSavePropertyTo()", this, stream,
                        property, "Source", source);
  });
}

// ---- Object records ----

namespace {

// Puts the stream's version back when a record has been read or written,
// whichever way that ends.
class StreamVersionKeeper {
 public:
  explicit StreamVersionKeeper(LumoStream* stream) : stream_(stream), version_(stream->version) {}
  StreamVersionKeeper(const StreamVersionKeeper&) = delete;
  StreamVersionKeeper& operator=(const StreamVersionKeeper&) = delete;
  ~StreamVersionKeeper() { stream_->SetVersion(version_); }

 private:
  LumoStream* stream_;
  uint32_t version_;
};

void ReportSaveFault(const char* reason, const LumoObject* object, const LumoStream* stream) {
  DebugPrint("LumoObject::SaveObject() %s (Object=%p:%s, Stream=%p)\n", reason, DebugAddress(object),
             DebugClassName(object), static_cast<const void*>(stream));
}

// Ends an object whose load failed. An owner that took it lets go of it
// first, so it holds no pointer to the ended object, and the object ends
// exactly once here (an owning collection does not end it on letting go).
void DiscardLoaded(LumoObject* owner, LumoObject* object) {
  if (owner != nullptr) {
    RunGuarded([&] { owner->DoUnregisterObject(object); }, [&] {
      DebugPrint("LoadObject() Unhandled exception during DoUnregisterObject() (Owner=%p:%s, Object=%p:%s)\n",
                 DebugAddress(owner), DebugClassName(owner), DebugAddress(object), DebugClassName(object));
    });
  }
  DestroyObject(object);
}

// Records nest through embedded objects and list items, and each level of
// nesting is a level of recursion: a damaged or hostile stream of a few
// hundred kilobytes could nest records until the stack runs out. Loading
// refuses records nested deeper than this, far beyond any tree the game saves
// (a BSP tree of 512 levels inside a level's lists among them).
constexpr int32_t kMaxRecordNesting = 1024;

// Counts the records being loaded on this thread, one inside the other.
class RecordNesting {
 public:
  RecordNesting() { ++Depth(); }
  ~RecordNesting() { --Depth(); }
  RecordNesting(const RecordNesting&) = delete;
  RecordNesting& operator=(const RecordNesting&) = delete;
  bool TooDeep() const { return Depth() > kMaxRecordNesting; }

 private:
  static int32_t& Depth() {
    thread_local int32_t depth = 0;
    return depth;
  }
};

LumoObject* LoadRecord(LumoStream* stream, LumoObject* owner, LumoObject*& unowned) {
  if (!stream->ReadHeader()) {
    DebugPrint("LoadObject() Not a LumoObject stream (Stream=%p)\n", static_cast<const void*>(stream));
    return nullptr;
  }
  tCharStr name = nullptr;
  if (!stream->ReadCharStr(name)) {
    DebugPrint("LoadObject() Cannot read the object name (Stream=%p)\n", static_cast<const void*>(stream));
    return nullptr;
  }
  std::unique_ptr<char, void (*)(char*)> nameOwner(name, [](char* text) { FreeCharStr(text); });
  const LumoClass* record = FindClass(name);
  unowned = record != nullptr ? record->Create() : nullptr;
  LumoObject* object = unowned;
  if (object != nullptr && owner != nullptr) {
    // A refused object has been ended by the hand-over.
    object = HandOverToOwner(owner, object);
    unowned = nullptr;
  }
  if (object == nullptr) {
    DebugPrint("LoadObject() Invalid object name (Name=%s, Stream=%p)\n", DebugText(name),
               static_cast<const void*>(stream));
    return nullptr;
  }
  bool loaded = object->LoadFrom(stream);
  if (loaded && owner != nullptr) {
    loaded = owner->Prepare(object);
  }
  if (!loaded) {
    unowned = nullptr;
    DiscardLoaded(owner, object);
    DebugPrint("LoadObject() Cannot load the object from the stream (Name=%s, Stream=%p)\n", DebugText(name),
               static_cast<const void*>(stream));
    return nullptr;
  }
  unowned = nullptr;
  return object;
}

}  // namespace

LumoObject* LoadObject(LumoStream* stream, LumoObject* owner) {
  if (stream == nullptr) {
    return nullptr;
  }
  const RecordNesting nesting;
  if (nesting.TooDeep()) {
    DebugPrint("LoadObject() Object records nested more than %d deep (Stream=%p)\n", kMaxRecordNesting,
               static_cast<const void*>(stream));
    return nullptr;
  }
  StreamVersionKeeper keeper(stream);
  // An object made but not yet handed to an owner ends with an exception.
  LumoObject* unowned = nullptr;
  try {
    return LoadRecord(stream, owner, unowned);
  } catch (...) {
    DebugPrint("LoadObject() Unhandled exception (Stream=%p)\n", static_cast<const void*>(stream));
    if (unowned != nullptr) {
      try {
        DestroyObject(unowned);
      } catch (...) {
      }
    }
    throw;
  }
}

bool LumoObject::SaveObject(LumoStream* stream, uint32_t headerVersion) {
  if (stream == nullptr) {
    return false;
  }
  const LumoClass* record = FindClass(GetClassName());
  if (record == nullptr) {
    ReportSaveFault("Cannot save an unregistered object", this, stream);
    return false;
  }
  StreamVersionKeeper keeper(stream);
  return RunGuarded(
      [&] {
        if (!stream->WriteHeader(headerVersion != 0 ? headerVersion : record->version)) {
          ReportSaveFault("Cannot write the version", this, stream);
          return false;
        }
        if (!stream->WriteCharStr(record->name)) {
          ReportSaveFault("Cannot write the object name", this, stream);
          return false;
        }
        if (!SaveTo(stream)) {
          ReportSaveFault("Cannot save the object to the stream", this, stream);
          return false;
        }
        return true;
      },
      [&] {
        DebugPrint("LumoObject::SaveObject() Unhandled exception (Stream=%p)\n", static_cast<const void*>(stream));
      });
}

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

void LumoObject::DropReferrers() {
  while (references != nullptr && references->notificationCount > 0) {
    tReferenceNode* node = nullptr;
    for (tNode* walker = references->last; walker != nullptr && node == nullptr; walker = walker->previous) {
      auto* reference = dynamic_cast<tReferenceNode*>(walker);
      if (reference != nullptr && reference->kind != kReferenceKind) {
        node = reference;
      }
    }
    if (node == nullptr) {
      return;
    }
    references->Remove(static_cast<tNode*>(node));
    std::unique_ptr<tReferenceNode, tObjectDestroyer> held(node);
    AbortReferrer(node->object);
    held.reset();
    DropIfEmpty(references);
  }
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
