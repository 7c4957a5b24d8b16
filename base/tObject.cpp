#include "base/tObject.h"

void tObject::Attached(tList*) {}
void tObject::Detached(tList*) {}
tObject::~tObject() = default;
const char* tObject::GetClassName() const { return "tObject"; }
void tObject::Free() {}
int tObject::CompareKey(const void*) const { return 0; }
int tObject::Compare(const tObject*) const { return 0; }
bool tObject::Assign(const tObject*) { return true; }

void DestroyObject(tObject* object) {
  if (object == nullptr) {
    return;
  }
  object->Free();
  delete object;
}
