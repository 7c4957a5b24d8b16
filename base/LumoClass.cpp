#include "base/LumoClass.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <vector>

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

// A lookup table over the registry: every name once, with the record the
// walk from the head meets first (the one registered last), sorted by name,
// and each class's chain up to its farthest registered ancestor. It is made
// at the first lookup and made again when the registry has a new head, so a
// record registered later is found too.
struct tClassEntry {
  const char* name;
  const LumoClass* record;
  std::vector<const LumoClass*> chain;
};

struct tClassIndex {
  const LumoClass* indexedHead = nullptr;
  std::vector<tClassEntry> entries;
};

bool NameBefore(const char* first, const char* second) { return std::strcmp(first, second) < 0; }

// The walk of the registry from the head: the first record of the name.
const LumoClass* WalkForClass(const char* className) {
  for (const LumoClass* record = registryHead; record != nullptr; record = record->next) {
    if (record->name != nullptr && std::strcmp(record->name, className) == 0) {
      return record;
    }
  }
  return nullptr;
}

// From the class up its base names; a base name that leads back into the
// chain ends it, as it would never end the walk.
std::vector<const LumoClass*> WalkForChain(const LumoClass* record) {
  std::vector<const LumoClass*> chain;
  while (record != nullptr && std::find(chain.begin(), chain.end(), record) == chain.end()) {
    chain.push_back(record);
    record = record->baseName != nullptr ? WalkForClass(record->baseName) : nullptr;
  }
  return chain;
}

std::unique_ptr<tClassIndex> BuildIndex() {
  auto index = std::make_unique<tClassIndex>();
  index->indexedHead = registryHead;
  for (const LumoClass* record = registryHead; record != nullptr; record = record->next) {
    if (record->name != nullptr) {
      index->entries.push_back({record->name, record, {}});
    }
  }
  // Stable, so of equal names the record nearest the head stays first.
  std::stable_sort(index->entries.begin(), index->entries.end(),
                   [](const tClassEntry& first, const tClassEntry& second) {
                     return NameBefore(first.name, second.name);
                   });
  index->entries.erase(std::unique(index->entries.begin(), index->entries.end(),
                                   [](const tClassEntry& first, const tClassEntry& second) {
                                     return std::strcmp(first.name, second.name) == 0;
                                   }),
                       index->entries.end());
  for (tClassEntry& entry : index->entries) {
    entry.chain = WalkForChain(entry.record);
  }
  return index;
}

// The entry of a name; null when no record has it. Entries stay valid for
// the life of the process: an index replaced by a newer one is kept, since
// a chain handed out may still be walked.
const tClassEntry* FindEntry(const char* className) {
  static std::mutex guard;
  static std::vector<std::unique_ptr<tClassIndex>> indexes;
  const std::lock_guard<std::mutex> lock(guard);
  if (indexes.empty() || indexes.back()->indexedHead != registryHead) {
    indexes.push_back(BuildIndex());
  }
  const std::vector<tClassEntry>& entries = indexes.back()->entries;
  const auto found = std::lower_bound(
      entries.begin(), entries.end(), className,
      [](const tClassEntry& entry, const char* name) { return NameBefore(entry.name, name); });
  return found != entries.end() && std::strcmp(found->name, className) == 0 ? &*found : nullptr;
}

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
  const tClassEntry* entry = FindEntry(className);
  return entry != nullptr ? entry->record : nullptr;
}

bool GetClassChain(const char* className, const LumoClass* const*& first, size_t& count) {
  first = nullptr;
  count = 0;
  if (className == nullptr) {
    return false;
  }
  if (const tClassEntry* entry = FindEntry(className)) {
    first = entry->chain.data();
    count = entry->chain.size();
  }
  return true;
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
