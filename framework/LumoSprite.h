#pragma once

#include <cstdint>
#include <memory>

#include "framework/LumoAnimator.h"
#include "framework/LumoBody.h"
#include "runtime/Blit.h"
#include "runtime/Input.h"
#include "runtime/Regions.h"

class LumoCell;
class LumoMovieNode;
class LumoSequenceList;
class LumoSequenceNode;
class LumoSoundList;
class LumoStream;
class LumoProperty;

// The thirteen input events of a sprite, for declaring and defining each
// event's public operation and its two hooks alike.
#define LUMO_SPRITE_EVENTS(X) \
  X(KeyDown) \
  X(KeyUp) \
  X(KeyPress) \
  X(MouseClick) \
  X(MouseDoubleClick) \
  X(MouseDown) \
  X(MouseUp) \
  X(MouseMove) \
  X(MouseEnter) \
  X(MouseLeave) \
  X(JoyDown) \
  X(JoyUp) \
  X(JoyMove)

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
  // Forgets a body (its own or the one it belongs to), the sound list, the
  // drop target, the movie, or the drag's saved neighbour and cells, freed
  // elsewhere.
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
  // Makes the input region (destroying an old one first).
  uintptr_t Reset() override;
  // Destroys the input region.
  void Unload() override;
  // Attached sprites follow the sprite directly, in body order.
  LumoNode* MoveBefore(LumoNode* item) override;
  LumoNode* MoveAfter(LumoNode* item) override;
  // To the start of the cell (drawn first, under the others), the body after it.
  LumoNode* MoveToFront() override;
  // To the end of the cell (drawn last, on top), the body after it.
  LumoNode* MoveToBack() override;
  // The body's parts, last to first (each its own parts first), before the
  // target itself.
  bool SendMessage(int32_t message, LumoNode* target) override;

  // ---- Stored properties, in stream order ----

  virtual bool LoadSequenceList(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveSequenceList(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadSequenceNode(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveSequenceNode(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadBody(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveBody(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadMovie(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveMovie(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadDefaultFramesPerPulse(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveDefaultFramesPerPulse(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadSequenceCounter(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveSequenceCounter(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadDurationCounter(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveDurationCounter(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadLeft(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveLeft(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadTop(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveTop(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadActualLeft(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveActualLeft(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadActualTop(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveActualTop(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadActualWidth(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveActualWidth(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadActualHeight(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveActualHeight(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadMotionHorizontal(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveMotionHorizontal(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadMotionVertical(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveMotionVertical(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadMotionDuration(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveMotionDuration(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadMotionCounter(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveMotionCounter(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadMotionDelay(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveMotionDelay(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadMotionDelayCounter(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveMotionDelayCounter(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadMoving(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveMoving(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadInput(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveInput(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadTransparencyCheck(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveTransparencyCheck(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadMouseInput(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveMouseInput(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadKeyboardInput(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveKeyboardInput(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadJoystickInput(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveJoystickInput(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadInvisible(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveInvisible(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadModal(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveModal(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadDefaultInputResult(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveDefaultInputResult(LumoStream* stream, const LumoProperty* property);

  // ---- Animation ----

  void DoTimer() override;
  void DoSelectFrame() override;
  // Every engine frame divided by the rate quotient; a rate of 0 or above
  // the engine's makes every frame due.
  bool IsFrameDue() override;
  // The motion step, then following the cursor while dragged.
  void DoPrepareFrame() override;
  // Draws the current frame and brings the region to the top.
  void DoAnimateFrame() override;
  // Motion bookkeeping, then the frame's duration and the sequence's repeats.
  void DoNextFrame() override;
  bool CanStartAnimation() override;
  void DoStartAnimation() override;
  // Starts the body, then plays the sequence's sound for the sprite.
  void AfterStartAnimation() override;
  bool CanStopAnimation() override;
  // Stops the sequence's sound, then the body.
  void DoStopAnimation() override;
  void DoPauseAnimation() override;
  void DoResumeAnimation() override;
  void DoPreventAnimation() override;
  void DoForceAnimation() override;

  // ---- Input events (each: Do hook, then On hook; handled when either is) ----

#define LUMO_SPRITE_EVENT(Name)                 \
  virtual bool Name(tInputEvent* event);        \
  virtual bool Do##Name(tInputEvent* event);    \
  virtual bool On##Name(tInputEvent* event);
  LUMO_SPRITE_EVENTS(LUMO_SPRITE_EVENT)
#undef LUMO_SPRITE_EVENT

  // ---- Motion and drag hooks ----

  virtual void DoMove();
  virtual void DoMoved();
  virtual void DoStartMotion();
  virtual void DoStopMotion();
  virtual void DoDragging(int32_t x, int32_t y);
  // Lifts the sprite into a full-screen cell at the top of its level.
  virtual void DoStartDrag();
  virtual bool CanDrag(int32_t x, int32_t y);
  virtual void DoDrag();
  // The drop target set by SetDropTarget.
  virtual LumoSprite* CanDrop();
  // Puts the sprite back where the drag began.
  virtual void DoAbortDrop();
  // Moves the sprite into the target's cell.
  virtual void DoEndDrag(LumoSprite* target);
  virtual void DoDrop();
  virtual void SetDragging(bool on);
  virtual void DoCatch(LumoSprite* dropped);
  virtual void SetModal(bool on);
  // Input on, a region, and the sprite, engine, cell and level animating.
  virtual bool CanReceiveInput();
  virtual void SetTransparencyCheck(bool on);
  // Makes, moves or keeps the input region as the flag says.
  virtual void SetInput(bool on);
  virtual void SetKeyboardInput(bool on);
  virtual void SetMouseInput(bool on);
  virtual void SetJoystickInput(bool on);
  virtual void SetDropTarget(LumoSprite* target);
  virtual bool AcceptsDrop(LumoSprite* dragged);
  virtual void SetMotion(int32_t horizontal, int32_t vertical);
  virtual void SetMotionDuration(int32_t steps);
  virtual void SetMotionDelay(uint32_t frames);
  virtual void SetInvisible(bool on);
  virtual void SetMovie(LumoMovieNode* movie);
  virtual void SetDefaultInputResult(bool on);
  virtual void OnStartMotion();
  virtual void OnStopMotion();
  virtual void OnMotion();
  virtual void OnDrag();
  virtual void OnDragging(int32_t x, int32_t y);
  virtual void OnAbortDrop();
  virtual void OnDrop();
  virtual void OnCatch(LumoSprite* dropped);

  void StartMotion();
  void StopMotion();
  void Move();
  void Moved();
  // Starts a drag from a screen point; DragTo from the cursor, with the
  // top-left corner on it; Drop ends a drag.
  void Drag(int32_t x, int32_t y);
  void DragTo();
  void Drop();

  // The parent cell, or null.
  LumoCell* Cell() const;
  int32_t ScreenToCellX(int32_t x) const;
  int32_t ScreenToCellY(int32_t y) const;
  int32_t CellToScreenX(int32_t x) const;
  int32_t CellToScreenY(int32_t y) const;
  // Whether a cell point hits the sprite; stored in MouseOver.
  bool HitTest(int32_t x, int32_t y);
  // The colour-key tests of the current frame's graphic at a cell point.
  bool IsTransparentAt(int32_t x, int32_t y);
  bool IsDestKeyAt(int32_t x, int32_t y);
  // The pixel of the current frame's graphic at a cell point (0 without one).
  uint32_t PixelAt(int32_t x, int32_t y);
  // Whether the actual rectangles overlap on the screen (touching edges do not).
  bool Overlaps(LumoSprite* other, bool withBody);
  // Shows the movie of that name (found or opened in the running level's
  // movie list) as the sprite's only sequence, drawn into a new display
  // graphic (stretched with flag bit 0) keyed with the colour unless it is
  // black; an old movie is unloaded first, and with dispose destroyed.
  // Null when there is no level or the movie cannot be opened.
  LumoMovieNode* AttachMovie(const char* name, const sRGB& key, uint32_t flags, bool dispose);
  // AttachMovie, then the sprite animates and the movie plays for it.
  LumoMovieNode* PlayMovie(const char* name, const sRGB& key = sRGB{}, uint32_t flags = 0);
  // Into another cell (with the body), keeping the place on the screen.
  void MoveToCell(LumoCell* cell);
  // The region handle kept in Data.
  RegionHandle Region() const { return reinterpret_cast<RegionHandle>(Data); }

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
  // Both referenced, so a neighbour or cell freed during the drag is forgotten.
  LumoNode* SavedNeighbour = nullptr;
  LumoCell* SavedCell = nullptr;
  LumoCell* DragCell = nullptr;  // the full-screen cell of a running drag
  LumoSprite* DropTarget = nullptr;
  bool Dragging = false;
  bool MouseOver = false;
  bool Changed = true;  // frame, sequence or position changed since SetActualBounds


 protected:
  // Sets a referenced field: the old object's reference dropped, the new one's taken.
  template <typename T>
  void Keep(T*& field, T* value) {
    if (field == value) {
      return;
    }
    if (field != nullptr) {
      RemoveReference(field);
    }
    field = nullptr;
    if (value != nullptr && AddReference(value) != nullptr) {
      field = value;
    }
  }

 private:
  // Runs a hook; a fault is reported as "LumoSprite::<operation>() Unhandled
  // exception during <hook>() (Sprite=%p:%s)" and passed on.
  template <typename Hook>
  decltype(auto) SpriteGuarded(const char* operation, const char* hook, Hook&& body) {
    return RunGuarded(std::forward<Hook>(body), [&] { ReportSpriteFault(operation, hook); });
  }
  void ReportSpriteFault(const char* operation, const char* hook) const;
  // A screen rectangle of the actual bounds through the sprite's own cell.
  void ScreenBounds(int32_t& left, int32_t& top) const;
  // Places the body's parts directly after the sprite, in body order.
  void FollowWithBody();
  // The same after a given node; answers the last node placed.
  LumoNode* FollowWithBodyFrom(LumoNode* after);
  void DisposeDragCell();
  bool KeyTest(const tKeyData& key, int32_t x, int32_t y);
};
