#include "framework/LumoSoundList.h"

#include <new>

#include "base/DebugFormat.h"
#include "base/LumoClass.h"
#include "framework/LumoSoundNode.h"
#include "runtime/Sounds.h"

namespace {

LumoClassOf<LumoSoundList> classOfLumoSoundList(kVersion_1_4_0_0, "LumoSoundList", "LumoMediaList");

}  // namespace

LumoSoundList::LumoSoundList() = default;

const char* LumoSoundList::GetClassName() const { return "LumoSoundList"; }

LumoNode* LumoSoundList::CreateItem() { return new (std::nothrow) LumoSoundNode; }

bool LumoSoundList::DoRegisterObject(LumoObject* object) {
  if (dynamic_cast<LumoSoundNode*>(object) == nullptr) {
    DebugPrint("LumoSoundList::DoRegisterObject() The item is not a sound node (Item=%p:%s, List=%p:%s)\n",
               DebugAddress(object), DebugClassName(object), DebugAddress(this), DebugClassName(this));
    return false;
  }
  return LumoMediaList::DoRegisterObject(object);
}

LumoSoundNode* LumoSoundList::DuplicateSound(LumoSoundNode* node) {
  if (node == nullptr || node->parent != this || node->Data == 0) {
    return nullptr;
  }
  auto* copy = dynamic_cast<LumoSoundNode*>(CreateItem());
  if (copy == nullptr) {
    return nullptr;
  }
  const SoundHandle sound = ::DuplicateSound(reinterpret_cast<SoundHandle>(node->Data));
  if (sound == nullptr || (node->Name != nullptr && copy->SetName(node->Name) == nullptr)) {
    if (sound != nullptr) {
      DestroySound(sound);
    }
    DestroyObject(copy);
    return nullptr;
  }
  copy->SetData(reinterpret_cast<uintptr_t>(sound));
  if (Append(copy) == nullptr) {
    DestroyObject(copy);
    return nullptr;
  }
  return copy;
}
