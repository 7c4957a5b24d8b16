#include "game/YGResourceList.h"

#include "base/DebugFormat.h"
#include "base/LumoClass.h"
#include "game/YGResourceNode.h"

namespace {

LumoClassOf<YGResourceList> classOfYGResourceList(kVersion_1_5_1_6, "YGResourceList", "LumoSortedList");

}  // namespace

YGResourceList::YGResourceList() { SetUnique(true); }

const char* YGResourceList::GetClassName() const { return "YGResourceList"; }

bool YGResourceList::DoRegisterObject(LumoObject* object) {
  if (dynamic_cast<YGResourceNode*>(object) == nullptr) {
    DebugPrint("(RES) YGResourceList::DoRegisterObject() Entry %p:%s is not a YGResourceNode\n",
               DebugAddress(object), DebugClassName(object));
    return false;
  }
  return LumoSortedList::DoRegisterObject(object);
}

LumoNode* YGResourceList::CreateItem() { return new YGResourceNode; }
