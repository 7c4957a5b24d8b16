#include "base/LumoClass.h"

#include <cstring>
#include <memory>
#include <new>

#include "base/LumoList.h"
#include "base/LumoObject.h"
#include "base/LumoObjects.h"
#include "base/LumoSortedList.h"
#include "base/LumoStream.h"

namespace {

// The registry of this build. Both pointers are constant-initialised, so
// records in any translation unit may register during static initialisation.
constinit LumoClass* registryHead = nullptr;
// The property registered last since the most recent class record, if any.
constinit LumoProperty* lastProperty = nullptr;

}  // namespace

// A class registers itself from its own file, and a program links a file of
// the base library only when its code names something in it. A stream may
// name these classes although no code of the program does, so the registry
// names their factories here: every program that can look a class up links
// their files, and with them their records and properties. (The other
// persistent base classes are named by this file's own code.)
extern LumoObject* (*const kClassesNamedOnlyByStreams[])();
LumoObject* (*const kClassesNamedOnlyByStreams[])() = {
    []() -> LumoObject* { return new (std::nothrow) LumoObjects; },
    []() -> LumoObject* { return new (std::nothrow) LumoSortedList; },
};

LumoClass::LumoClass(uint32_t classVersion, const char* className, const char* baseClassName)
    : version(classVersion), name(className), baseName(baseClassName), next(registryHead) {
  registryHead = this;
  lastProperty = nullptr;
}

LumoObject* LumoClass::Create() const { return nullptr; }

LumoProperty::LumoProperty(uint32_t propertyVersion, uint32_t propertyType, const char* propertyTypeName,
                           const char* propertyFieldName)
    : version(propertyVersion), typeCode(propertyType), typeName(propertyTypeName), fieldName(propertyFieldName) {
  // A property registered before any class record belongs to no class.
  if (registryHead == nullptr) {
    return;
  }
  if (lastProperty != nullptr) {
    lastProperty->next = this;
  } else if (registryHead->firstProperty == nullptr) {
    registryHead->firstProperty = this;
  }
  lastProperty = this;
}

bool LumoProperty::Load(LumoStream*, LumoObject*) const { return false; }
bool LumoProperty::Save(LumoStream*, LumoObject*) const { return false; }

bool LumoProperty::IsNewerThan(const LumoStream* stream) const {
  return stream != nullptr && version > stream->version;
}

const LumoClass* FindClass(const char* className) {
  if (className == nullptr) {
    return nullptr;
  }
  for (const LumoClass* record = registryHead; record != nullptr; record = record->next) {
    if (record->name != nullptr && std::strcmp(record->name, className) == 0) {
      return record;
    }
  }
  return nullptr;
}

LumoObject* CreateObject(const char* className, LumoObject* owner) {
  const LumoClass* record = FindClass(className);
  if (record == nullptr) {
    return nullptr;
  }
  LumoObject* object = record->Create();
  if (object == nullptr || owner == nullptr) {
    return object;
  }
  return HandOverToOwner(owner, object);
}

LumoList* BuildClassChain(const char* className) {
  if (className == nullptr) {
    return nullptr;
  }
  std::unique_ptr<LumoList, tObjectDestroyer> chain(new (std::nothrow) LumoList);
  if (chain == nullptr) {
    return nullptr;
  }
  for (const LumoClass* record = FindClass(className); record != nullptr; record = FindClass(record->baseName)) {
    const auto recordData = reinterpret_cast<uintptr_t>(record);
    // A base name that leads back into the chain would never end the walk.
    if (chain->FindByData(recordData) != nullptr) {
      break;
    }
    std::unique_ptr<LumoNode, tObjectDestroyer> item(chain->CreateItem());
    if (item == nullptr || item->SetName(record->name) == nullptr) {
      return nullptr;
    }
    item->SetData(recordData);
    chain->Append(item.release());
  }
  return chain.release();
}
