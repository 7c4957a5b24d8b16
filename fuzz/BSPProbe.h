#pragma once

#include <cstdint>

#include "base/LumoBSP.h"

class LumoProperty;
class LumoStream;

// Registered classes for the BSP tree target: the tree's templates have no
// class records of their own, so a stored tree registers its node and object
// classes, with the box, the object list and the children as fields. One
// pair each for the integer and the float tree.

class FuzzBSPNode : public LumoBSPNode<2, int32_t> {
 public:
  const char* GetClassName() const override { return "FuzzBSPNode"; }
  LumoBSPNode* CreateChildNode(const Point& childOrigin, const Point& childSize) override;
};

class FuzzBSPObject : public LumoBSPObject<2, int32_t> {
 public:
  FuzzBSPObject() = default;
  FuzzBSPObject(int32_t objectLabel, int32_t x, int32_t y, int32_t width, int32_t height);
  const char* GetClassName() const override { return "FuzzBSPObject"; }
  bool LoadLabel(LumoStream* stream, const LumoProperty* property);
  bool SaveLabel(LumoStream* stream, const LumoProperty* property);
  // Every hook counts its calls and answers true.
  bool OnOverlappedBy(LumoBSPObject* other) override;
  bool OnOverlap(LumoBSPObject* other) override;
  bool OnContain(LumoBSPObject* other) override;

  int32_t label = 0;
  int32_t calls = 0;
};

class FuzzBSPFloatNode : public LumoBSPNode<2, float> {
 public:
  const char* GetClassName() const override { return "FuzzBSPFloatNode"; }
  LumoBSPNode* CreateChildNode(const Point& childOrigin, const Point& childSize) override;
};

class FuzzBSPFloatObject : public LumoBSPObject<2, float> {
 public:
  const char* GetClassName() const override { return "FuzzBSPFloatObject"; }
};
