#pragma once

// The root of every polymorphic type. The order of the virtual operations is
// fixed: classes derived from it cross library boundaries and are used there
// only through these slots.
class tList;

class tObject {
 public:
  tObject() = default;
  tObject(const tObject&) = delete;
  tObject& operator=(const tObject&) = delete;

  // The object was linked into a list.
  virtual void Attached(tList* list);
  // The object was unlinked from a list.
  virtual void Detached(tList* list);
  // Destructors never unlink: DestroyObject frees (and so detaches) first.
  virtual ~tObject();
  // The run-time class name as a bare identifier, for logs.
  virtual const char* GetClassName() const;
  // Releases what the object owns and detaches it; runs before deletion.
  virtual void Free();
  // Compares the object with an untyped key: negative, 0 or positive.
  virtual int CompareKey(const void* key) const;
  // Compares the object with another object: negative, 0 or positive.
  virtual int Compare(const tObject* other) const;
  // Copies another object into this one; true on success.
  virtual bool Assign(const tObject* other);
};

// The one way framework objects end: Free, then deletion. Null is ignored.
void DestroyObject(tObject* object);
