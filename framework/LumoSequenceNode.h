#pragma once

#include <cstdint>

#include "base/LumoNode.h"

class LumoGraphicNode;

// One frame of an animation sequence: shows a graphic node at an offset for
// a number of frames. The frame refers to its graphic; a named graphic is
// shared through a graphic list, a nameless one (made by a frame builder)
// belongs to the frame and goes with it.
class LumoSequenceNode : public LumoNode {
 public:
  LumoSequenceNode();

  const char* GetClassName() const override;
  // Drops the reference to the old graphic and refers to the new one (a
  // graphic node's address, or 0).
  uintptr_t SetData(uintptr_t value) override;
  // The frame's graphic is cleared first: a named one is only let go, a
  // nameless one is disposed of (at once without an engine).
  void DoFree() override;
  void OnAbortReferenceTo(LumoObject* other) override;
  // Lets the graphic go (the reference with it).
  void Unload() override;
  void DebugDumpFields() override;

  // Stored form of the graphic: whether there is one, a flag always false,
  // then the graphic's name, looked up in the running level's graphic list.
  virtual bool LoadData(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveData(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadDuration(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveDuration(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadLeft(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveLeft(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadTop(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveTop(LumoStream* stream, const LumoProperty* property);
  // 0 is stored as 1.
  virtual uint32_t SetDuration(uint32_t frames);
  virtual int32_t SetLeft(int32_t left);
  virtual int32_t SetTop(int32_t top);
  virtual void SetOffset(int32_t left, int32_t top);

  // The graphic as a graphic node (null when there is none).
  LumoGraphicNode* Graphic() const { return GraphicNode; }
  void SetGraphic(LumoGraphicNode* graphic);

  LumoGraphicNode* GraphicNode = nullptr;  // typed view of Data
  uint32_t Duration = 1;                   // frames
  int32_t Left = 0;
  int32_t Top = 0;
};
