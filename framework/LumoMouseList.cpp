#include "framework/LumoMouseList.h"

#include <new>

#include "framework/LumoMouseNode.h"

LumoMouseList::LumoMouseList() { SetUnique(true); }

const char* LumoMouseList::GetClassName() const { return "LumoMouseList"; }

LumoNode* LumoMouseList::CreateItem() { return new (std::nothrow) LumoMouseNode; }
