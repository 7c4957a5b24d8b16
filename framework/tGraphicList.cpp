#include "framework/tGraphicList.h"

#include <new>

tGraphicNode::~tGraphicNode() { DropCopy(); }

const char* tGraphicNode::GetClassName() const { return "tGraphicNode"; }

void tGraphicNode::DropCopy() {
  if (Copy != nullptr) {
    DestroyGraphic(Copy);
    Copy = nullptr;
  }
  Live = nullptr;
}

void tGraphicNode::Free() {
  DropCopy();
  tNode::Free();
}

tGraphicList::~tGraphicList() { DeleteAll(); }

const char* tGraphicList::GetClassName() const { return "tGraphicList"; }

tNode* tGraphicList::CreateNode() { return new (std::nothrow) tGraphicNode; }
