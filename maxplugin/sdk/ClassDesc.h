#pragma once

// Our own stand-in of the modelling tool's class descriptor: the record
// through which the tool learns of a plug-in class and makes its objects. A
// plug-in library hands out its descriptors from its entry points (see
// PluginEntryPoints.h).

#include "maxplugin/sdk/MaxTypes.h"

class ReferenceTarget;

class ClassDesc {
 public:
  ClassDesc(const ClassDesc&) = delete;
  ClassDesc& operator=(const ClassDesc&) = delete;

  // ---- What every plug-in class says of itself ----
  // 1 when the tool offers the class to the user; 0 keeps it for the tool's own use.
  virtual int IsPublic() = 0;
  // A new object of the class, owned by the caller (freed with its DeleteThis).
  // loading: the tool is about to fill the object from a saved scene.
  virtual ReferenceTarget* Create(bool loading = false) = 0;
  // Around the user's interactive creation of an object: a non-zero answer
  // means the class runs the creation itself.
  virtual int BeginCreate(Interface* tool) = 0;
  virtual int EndCreate(Interface* tool) = 0;
  virtual const char* ClassName() = 0;
  virtual SClass_ID SuperClassID() = 0;
  virtual Class_ID ClassID() = 0;
  // The group the tool lists the class under.
  virtual const char* Category() = 0;

  // ---- Later questions, with the answers a plug-in keeps unless it says otherwise ----
  // Whether the tool may create an object of the class now.
  virtual int OkToCreate(Interface*) { return 1; }
  // The class's name in the tool's scripts; null when it has none.
  virtual const char* InternalName() { return nullptr; }

 protected:
  constexpr ClassDesc() = default;
  // Descriptors are static objects of their plug-in libraries and are never
  // deleted through this base. Keeping the destructor trivial (and not
  // virtual) lets a descriptor be built when its library loads and stay
  // whole until the library is unloaded, however the process orders its
  // static destructors.
  ~ClassDesc() = default;
};
