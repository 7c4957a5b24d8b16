#pragma once

#include <cstdint>
#include <memory>

#include "framework/LumoAnimator.h"
#include "framework/LumoBody.h"

class LumoMovieNode;
class LumoSequenceList;
class LumoSequenceNode;
class LumoSoundList;

// The base of every visible object: a screen object that lives in a cell and
// shows one frame at a time out of its sequences (its items). Positions and
// the actual rectangle are in the coordinates of the cell's virtual area.
class LumoSprite : public LumoAnimator {
 public:
  LumoSprite();

  const char* GetClassName() const override;
  // Frees the body first (freeing clears the sprite, which has destroyed
  // the attached sprites already).
  void DoFree() override;
  // Forgets a body (its own or the one it belongs to) or the sound list,
  // freed elsewhere.
  void OnAbortReferenceTo(LumoObject* other) override;
  // Also destroys the attached sprites and sets no current sequence.
  void DoClear() override;
  // The first sequence attached becomes current.
  void DoAttach(LumoNode* item) override;
  // Detaching the current sequence makes the first other one current; with
  // none left there is no current sequence nor frame.
  void DoDetach(LumoNode* item) override;
  // A sequence list.
  LumoNode* CreateItem() override;

  // Sets Changed; the list becomes current and is reset (none also clears
  // the current frame). While the sprite animates, a sequence with another
  // sound stops the old sound and plays its own for the sprite.
  virtual void SetSequence(LumoSequenceList* sequence);
  // With toFirst the first item becomes current; else the current sequence
  // starts again: its repeats counted down from its Repeats, its first frame.
  virtual void ResetSequence(bool toFirst);
  // Sets Changed; a frame loads DurationCounter with its Duration.
  virtual void SetSequenceNode(LumoSequenceNode* node);
  // A negative repeat count is stored as -1.
  virtual void SetSequenceCounters(int32_t repeats, int32_t duration);
  // Moves the sprite and its attached sprites by the same distance; an
  // unchanged position moves nothing.
  virtual void SetPosition(int32_t left, int32_t top);
  // The largest frame size of the current sequence (0 x 0 without one).
  virtual void GetSequenceSize(int32_t& width, int32_t& height);
  // Widens the rectangle by the frames of the current sequence, or of every
  // sequence with allSequences, and with withBody by every attached sprite.
  virtual void GetBounds(int32_t& left, int32_t& top, int32_t& width, int32_t& height, bool withBody,
                         bool allSequences);
  // Stores the rectangle the last drawn frame covered; clears Changed.
  virtual void SetActualBounds(int32_t left, int32_t top, int32_t width, int32_t height);
  // 0 is stored as 1.
  virtual uint32_t SetDefaultFramesPerPulse(uint32_t frames);

  // Receiver hooks of the sprite's sound and movie nodes; empty here.
  virtual void DoPlaySound();
  virtual void DoStopSound();
  virtual void DoPauseSound();
  virtual void DoResumeSound();
  virtual void DoPlayMovie();
  virtual void DoStopMovie();
  virtual void DoPauseMovie();
  virtual void DoResumeMovie();
  virtual void OnPlaySound();
  virtual void OnStopSound();
  virtual void OnPauseSound();
  virtual void OnResumeSound();
  virtual void OnPlayMovie();
  virtual void OnStopMovie();
  virtual void OnPauseMovie();
  virtual void OnResumeMovie();

  // A new sequence (CreateItem) with the rate (0: DefaultFramesPerPulse)
  // and the repeats, appended; null when it could not be made.
  LumoSequenceList* AppendSequence(uint32_t framesPerPulse, int32_t repeats);
  // The same, named; with a sound list the sequence plays the sound of that
  // name (loaded on demand), given soundRepeats.
  LumoSequenceList* AppendSequenceWithSound(const char* name, int32_t soundRepeats, uint32_t framesPerPulse,
                                            int32_t repeats);
  void MoveBy(int32_t dx, int32_t dy);
  // Places the sprite at the distance from the sprite it is attached to;
  // nothing when it is attached to none.
  void MoveRelativeToOwner(int32_t dx, int32_t dy);

  // ---- Fields ----

  LumoSequenceList* SequenceList = nullptr;  // the current sequence, an item
  LumoSequenceNode* SequenceNode = nullptr;  // the current frame of it
  LumoMovieNode* Movie = nullptr;
  uint32_t DefaultFramesPerPulse = 1;
  int32_t SequenceCounter = -1;
  int32_t DurationCounter = 1;
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t ActualLeft = 0;
  int32_t ActualTop = 0;
  int32_t ActualWidth = 0;
  int32_t ActualHeight = 0;
  int32_t MotionHorizontal = 1;
  int32_t MotionVertical = 1;
  int32_t MotionDuration = 1;
  int32_t MotionCounter = 1;
  uint32_t MotionDelay = 0;
  uint32_t MotionDelayCounter = 0;
  bool Moving = false;
  bool Input = false;
  bool TransparencyCheck = true;
  bool MouseInput = true;
  bool KeyboardInput = true;
  bool JoystickInput = true;
  bool Invisible = false;
  bool Modal = false;
  bool DefaultInputResult = false;

  // ---- Transient ----

  LumoSoundList* SoundList = nullptr;  // the current level's at construction; referenced
  std::unique_ptr<LumoBody, tObjectDestroyer> Body;  // the attached sprites
  LumoBody* OwnerBody = nullptr;  // the body this sprite is attached to
  int32_t GrabOffsetX = 0;
  int32_t GrabOffsetY = 0;
  int32_t SavedLeft = 0;
  int32_t SavedTop = 0;
  LumoNode* SavedNeighbour = nullptr;
  LumoNode* SavedCell = nullptr;
  LumoSprite* DropTarget = nullptr;
  bool Dragging = false;
  bool MouseOver = false;
  bool Changed = true;  // frame, sequence or position changed since SetActualBounds
};
