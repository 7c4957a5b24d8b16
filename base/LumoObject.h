#pragma once

#include <cstdint>
#include <memory>
#include <utility>

#include "base/tObject.h"
#include "base/tReferenceList.h"

class LumoObject;
class LumoProperty;
class LumoStream;
enum tFolderType : int32_t;  // the run-time system's folders

// ---- Helpers of the guarded framework operations ----

// Destroys a framework object through DestroyObject (Free, then delete), for
// std::unique_ptr owners.
struct tObjectDestroyer {
  void operator()(tObject* object) const { DestroyObject(object); }
};

// Runs one hook of a framework operation. When the hook throws, report()
// writes the operation's log line (DebugPrint, so only while the debug log
// is on) and the same exception goes on to the caller, so every enclosing
// guarded operation adds its own line.
template <typename Hook, typename Report>
decltype(auto) RunGuarded(Hook&& hook, Report&& report) {
  try {
    return std::forward<Hook>(hook)();
  } catch (...) {
    report();
    throw;
  }
}

// Printable forms for the "%p:%s" pairs and names of the fault reports: a
// null object or text prints as "(null)".
const void* DebugAddress(const tObject* object);
const char* DebugClassName(const tObject* object);
const char* DebugText(const char* text);

// ---- LumoObject ----

// The root of the reflected object model: guarded Do/On hook pairs,
// symmetric references between objects, registration with an owner, and
// loading and saving of the registered fields. The order of the virtual
// operations is part of the interface between the deliverables.
class LumoObject : public tObject {
 public:
  LumoObject();
  // An object deleted without DestroyObject still leaves no reference behind.
  ~LumoObject() override;

  const char* GetClassName() const override;
  // DoDeactivate, OnFree, DoFree, each guarded.
  void Free() override;
  // False unless other is a LumoObject; DoAssign, then OnAssign when true.
  bool Assign(const tObject* other) override;

  // Assignment may ask the source for a fresh copy of its data (a resource
  // node restores its graphic on demand), so the hooks take a mutable source.
  virtual bool DoAssign(LumoObject* other);
  // Stops activity before the object is freed.
  virtual void DoDeactivate();
  // Releases what the object owns; derived classes end with the base DoFree,
  // which dereferences.
  virtual void DoFree();
  // The object this one referred to (or that referred to this) goes away.
  virtual void DoAbortReferenceTo(LumoObject* other);
  // Takes an object into this owner; the base refuses.
  virtual bool DoRegisterObject(LumoObject* object);
  // Lets go of a registered object; true when it was held.
  virtual bool DoUnregisterObject(LumoObject* object);
  // Runs on the owner with an object just loaded for it.
  virtual bool DoPrepare(LumoObject* other);
  // Loads (saves) the registered fields of every class of this object, from
  // the farthest registered ancestor down; an unregistered class answers true.
  virtual bool DoLoadFrom(LumoStream* stream);
  virtual bool DoSaveTo(LumoStream* stream);
  // The generic reader (writer) of one field by its type code.
  virtual bool DoLoadPropertyFrom(LumoStream* stream, const LumoProperty* property, void* destination);
  virtual bool DoSavePropertyTo(LumoStream* stream, const LumoProperty* property, const void* source);
  // Ends every reference held by or on this object, telling both sides.
  virtual void Dereference();
  virtual bool OnAssign(LumoObject* other);
  virtual void OnFree();
  virtual void OnAbortReferenceTo(LumoObject* other);
  // Answers whether the owner keeps the object; the base keeps what
  // DoRegisterObject took.
  virtual bool OnRegisterObject(LumoObject* object, bool registered);
  virtual bool OnPrepare(LumoObject* other);
  virtual bool OnLoadFrom(LumoStream* stream);
  virtual bool OnSaveTo(LumoStream* stream);

  // On the owner: DoRegisterObject, then OnRegisterObject with its answer.
  // When OnRegisterObject vetoes an object that DoRegisterObject took, the
  // object is unregistered and destroyed here. An object DoRegisterObject
  // refused is left as it is, to its caller.
  bool RegisterObject(LumoObject* object);
  // On the owner, with an object just loaded: DoPrepare, then OnPrepare.
  bool Prepare(LumoObject* other);
  // DoLoadFrom (DoSaveTo), then OnLoadFrom (OnSaveTo) when it succeeded.
  bool LoadFrom(LumoStream* stream);
  bool SaveTo(LumoStream* stream);
  // One field, unless it is newer than the stream's data (skipped: true).
  bool LoadPropertyFrom(LumoStream* stream, const LumoProperty* property, void* destination);
  bool SavePropertyTo(LumoStream* stream, const LumoProperty* property, const void* source);

  // Writes this object as one object record: the stream header with the
  // version (0: the class record's), the class name, then the registered
  // fields. The stream's version is set back afterwards. False for a class
  // that is not registered.
  bool SaveObject(LumoStream* stream, uint32_t headerVersion);
  // SaveObject into the global compound archive's entry of that name when the
  // archive is open for changing, else into the loose file in the folder. The
  // previous entry or file stays whole when the save fails. Defined with the
  // loaders by file name (base/LumoObjectFiles.cpp).
  bool SaveObjectToFile(tFolderType folder, const char* name, int32_t kind, uint32_t headerVersion);

  // Records that this object refers to other, so that each hears of the
  // other's end; one pair of nodes per call. Answers other, null on failure.
  LumoObject* AddReference(LumoObject* other);
  // Drops one such reference; a null other or a missing side is ignored.
  void RemoveReference(LumoObject* other);
  // True while another object refers to this one.
  bool HasReferrers() const;
  // Ends only the references other objects hold on this one, telling each;
  // the references this object holds stay until it is freed. Used for an
  // object queued for deletion: nobody may reach it any more, but it still
  // frees the graphics it owns when it goes.
  void DropReferrers();

  // Created on the first reference and destroyed when it becomes empty.
  std::unique_ptr<tReferenceList, tObjectDestroyer> references;

 protected:
  // Writes "<operation> (Object=%p:%s)\n" for this object to the debug log.
  void ReportFault(const char* operation) const;

 private:
  enum class Registration { Kept, Refused, Destroyed };
  Registration Register(LumoObject* object);
  friend LumoObject* HandOverToOwner(LumoObject* owner, LumoObject* object);
  // The two halves of Dereference for one node taken from this list.
  void AbortReferrer(LumoObject* referrer);
  void AbortReferent(LumoObject* referent);
};

// Reads one object record: header, class name, a new object of that class
// (handed to owner when given), its fields, then the owner's Prepare. Null on
// any failure, with the object destroyed (taken back from the owner first).
// The stream's version is the same afterwards as before.
LumoObject* LoadObject(LumoStream* stream, LumoObject* owner);

// Hands a newly made object to its owner (RegisterObject). Answers the object
// when the owner keeps it; otherwise the object has been destroyed exactly
// once, either by the owner's veto or here when the owner never took it, and
// null is answered, so no caller is left holding it.
LumoObject* HandOverToOwner(LumoObject* owner, LumoObject* object);
