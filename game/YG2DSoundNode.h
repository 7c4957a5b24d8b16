#pragma once

#include <cstdint>

#include "framework/LumoSoundNode.h"

class YG2DSoundNode;

// A sprite that wants to know which positional sound ended (the speech
// controller): a 2-D sound node's stop hook hands it the node. Any other
// receiver hears the plain sprite sound hooks.
class YG2DSoundReceiver {
 public:
  virtual ~YG2DSoundReceiver() = default;
  virtual void OnStopSound(YG2DSoundNode* node) = 0;
};

// A sound effect placed on the level's map: its volume and stereo pan follow
// its distance from the listener (the centre of the view) of the
// YG2DSoundController it belongs to. A node can be a duplicate of another
// node of the same controller, so one sound plays several times at once.
class YG2DSoundNode : public LumoSoundNode {
 public:
  YG2DSoundNode();

  const char* GetClassName() const override;
  // A duplicate lets go of its source (lowering the source's copy count).
  void DoFree() override;
  // Forgets a source that is freed first: ending this copy then touches
  // nothing.
  void OnAbortReferenceTo(LumoObject* other) override;
  // Guarded: a device fault is logged and ignored (the play fails).
  bool DoPlay() override;
  // Guarded: a fault is logged and ignored. A node without a device handle
  // counts as ended.
  void DoCheck() override;
  // Guarded: a fault is logged and ignored. A YG2DSoundReceiver hears which
  // node ended; any other receiver gets the plain sprite hooks.
  void OnStop() override;

  // Stores the place and the factor, plays for the receiver, then sets the
  // volume and pan against the listener. Answers what Play answers.
  bool PlayAt(int32_t x, int32_t y, float factor, LumoSprite* receiver);
  // Store, then set the volume and pan again.
  void SetPosition2D(int32_t x, int32_t y);
  void SetFactor(float factor);
  // Volume and pan as heard from the node's own place (the nearest a sound
  // can be: centred, at full level). This is not the media list's per-frame
  // update, which goes through LumoMediaNode::Update and leaves the
  // positional mix alone.
  void Update();
  // Volume and pan against a listener at (listenerX, listenerY), with the
  // level's effects scale (0 to 1). Worked in 64-bit floats: a vertical
  // pixel counts twice, the level falls with the distance to the power 0.9
  // and is silent (-100) from about 1,803 pixels on; the gain is at most 1,
  // reached up to about 673 pixels. Volume and pan are cut toward zero.
  void ApplyPosition(int32_t listenerX, int32_t listenerY, double effectsScale);
  // The volume and pan ApplyPosition gives; volume -100 with the pan
  // unchanged (answered as 0) when the sound is out of hearing.
  struct Mix {
    int32_t volume = -100;
    int32_t pan = 0;
    bool audible = false;
  };
  static Mix PositionalMix(double dx, double dy, double factor, double effectsScale);

  // Makes this node a duplicate of source (referenced, its copy count up
  // by one); null lets the source go, lowering its count.
  void SetSource(YG2DSoundNode* source);

  // ---- Fields ----

  int32_t PositionX = 0;  // map pixels
  int32_t PositionY = 0;
  float Factor = 1.0f;     // volume factor; 1.0 for speech
  uint32_t CopyCount = 0;  // duplicates of this node that play
  YG2DSoundNode* Source = nullptr;  // the node this one duplicates; referenced
  // Made as a duplicate: stays set when the source goes first, so the
  // controller still disposes of the copy once it ends.
  bool Duplicate = false;

 private:
  // ApplyPosition against the controller's listener and scale; a node
  // outside a controller is heard from its own place at full scale.
  void Reapply();
};
