#pragma once

#include <cstdint>

#include "base/LumoList.h"
#include "runtime/Graphics.h"

class LumoGraphicList;
class LumoGraphicNode;
class LumoSequenceNode;
class LumoSoundNode;

// One animation of a sprite: its frames (sequence nodes, the list's items)
// with the speed in frames per pulse and the repeat count. Frames are built
// from the graphic list of the level that was current when the list was
// made. Stored as an object; loading one is untrusted: a foreign item, an
// unknown stored form or a name that yields nothing refuses the whole load.
class LumoSequenceList : public LumoList {
 public:
  LumoSequenceList();

  const char* GetClassName() const override;
  // A sequence node.
  LumoNode* CreateItem() override;
  // Takes only sequence nodes as items; anything else is refused (logged).
  bool DoRegisterObject(LumoObject* object) override;
  // Forgets a graphic list (or sound) that is being freed.
  void OnAbortReferenceTo(LumoObject* other) override;
  // Lets go of the graphic list and the sound (a nameless sound is disposed
  // of), then frees the frames.
  void DoFree() override;
  // The sound played with the sequence (a sound node's address, or 0).
  uintptr_t SetData(uintptr_t value) override;
  // The sprite showing a frame of this list shows none.
  void DoClear() override;
  // ", FramesPerPulse=%i, Repeat=%p" (the repeat count in the second).
  void DebugDumpFields() override;

  // The sound played with the sequence: stored as whether there is one, a
  // flag always false, then the sound's name, which is loaded from the
  // running level's sound list (a name that yields no sound refuses the
  // load). A nameless sound is stored as none.
  virtual bool LoadData(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveData(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadFramesPerPulse(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveFramesPerPulse(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadRepeats(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveRepeats(LumoStream* stream, const LumoProperty* property);
  // 0 takes the engine's frames per pulse.
  virtual uint32_t SetFramesPerPulse(uint32_t frames);
  // A negative count is stored as -1 (for ever).
  virtual int32_t SetRepeats(int32_t repeats);
  // The largest width and the largest height of the frames' graphics.
  virtual void GetMaximumSize(int32_t& width, int32_t& height);
  // Grows the rectangle to enclose every frame as placed by the sprite that
  // holds the list, and the sprite's own point. A rectangle of width or
  // height 0 starts at the frames' top-left corner. Nothing outside a
  // sprite.
  virtual void GetBounds(int32_t& left, int32_t& top, int32_t& width, int32_t& height);

  // ---- Frame builders: each appends a frame and answers it; null without
  // a graphic list or for a graphic that cannot be had ----

  // A new graphic of its own, filled with the colour.
  LumoSequenceNode* AppendFilledFrame(int32_t width, int32_t height, const sRGB& colour, uint32_t duration);
  // A new black graphic of its own, for one pulse.
  LumoSequenceNode* AppendBlankFrame(int32_t width, int32_t height);
  LumoSequenceNode* AppendFrame(LumoGraphicNode* graphic, int32_t left, int32_t top, uint32_t duration);
  // A new empty node of that size in the graphic list, at (0, 0).
  LumoSequenceNode* AppendCanvasFrame(int32_t width, int32_t height, uint32_t duration);
  // A new drawable graphic of its own, filled with the colour.
  LumoSequenceNode* AppendGeneratedFrame(int32_t width, int32_t height, const sRGB& colour, uint32_t duration);
  LumoSequenceNode* AppendBlankDrawableFrame(int32_t width, int32_t height);
  // The named graphic of the graphic list (with its alpha map when asked).
  LumoSequenceNode* AppendNamedFrameAt(const char* name, int32_t left, int32_t top, uint32_t duration, bool alpha);
  LumoSequenceNode* AppendNamedFrame(const char* name, uint32_t duration);

  // The previous sound loses its receiver and is stopped; the new one is
  // referenced.
  void SetSound(LumoSoundNode* sound);
  LumoSoundNode* Sound() const { return SoundNode; }

  // ---- Fields ----

  LumoSoundNode* SoundNode = nullptr;  // typed view of Data

  LumoGraphicList* GraphicList = nullptr;  // referenced; null outside a level
  uint32_t FramesPerPulse = 0;
  int32_t Repeats = -1;

 private:
  // Appends a frame of the graphic; a graphic made for it and not taken is
  // destroyed when owned is set.
  LumoSequenceNode* AppendFrameOf(LumoGraphicNode* graphic, int32_t left, int32_t top, uint32_t duration,
                                  bool owned);
};
