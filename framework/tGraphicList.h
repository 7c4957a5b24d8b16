#pragma once

#include "base/tList.h"
#include "runtime/Graphics.h"

// One graphic kept safe while display memory may be lost: the live graphic
// (not owned) and a copy of it (owned).
class tGraphicNode : public tNode {
 public:
  ~tGraphicNode() override;
  const char* GetClassName() const override;
  // Destroys the copy and forgets the live graphic, then leaves the list.
  void Free() override;

  GraphicHandle Live = nullptr;
  GraphicHandle Copy = nullptr;

 private:
  void DropCopy();
};

// A plain list of tGraphicNode.
class tGraphicList : public tList {
 public:
  ~tGraphicList() override;
  const char* GetClassName() const override;
  tNode* CreateNode() override;
};
