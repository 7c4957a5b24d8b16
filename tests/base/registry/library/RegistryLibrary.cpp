// A small shared library with one registered class, named by the build.

#include <memory>

#include "base/LumoClass.h"
#include "base/LumoExport.h"
#include "base/LumoNode.h"

namespace {

class RegistryClass : public LumoNode {
 public:
  const char* GetClassName() const override { return REGISTRY_CLASS_NAME; }
};

LumoClassOf<RegistryClass> classOfRegistryClass(kVersion_1_4_0_0, REGISTRY_CLASS_NAME, "LumoNode");

}  // namespace

// The record this library's registry finds under the name.
extern "C" LUMO_VISIBLE const void* RegistryFindClass(const char* name) { return FindClass(name); }

// The class name of an object this library creates by name; null when it
// cannot create one.
extern "C" LUMO_VISIBLE const char* RegistryCreatedClassName(const char* name) {
  std::unique_ptr<LumoObject, tObjectDestroyer> object(CreateObject(name, nullptr));
  return object != nullptr ? object->GetClassName() : nullptr;
}
