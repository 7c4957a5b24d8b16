#pragma once

#include <cstdint>

#include "base/LumoNode.h"

class LumoCell;
class LumoSequenceList;
class LumoSoundNode;
class LumoSprite;

// One command of a command list: due at a frame, it ends the program, sets
// a sprite's sequence, starts a sprite's animation or motion, drives a sound,
// prints a cell, or runs a user command that a subclass defines. The objects
// a command names are referenced and forgotten when they are freed first.
class LumoCommandNode : public LumoNode {
 public:
  enum Kind : int32_t {
    kUser = 0,
    kTerminate = 1,
    kSequence = 2,
    kSprite = 3,
    kMotion = 4,
    kSound = 5,
    kPrint = 6,
  };
  enum MediaCommand : int32_t { kPlay = 0, kStop = 1, kPause = 2, kResume = 3 };

  LumoCommandNode();

  const char* GetClassName() const override;
  // Lets go of every object the command names.
  void DoFree() override;
  void OnAbortReferenceTo(LumoObject* other) override;
  void DebugDumpFields() override;

  virtual uint32_t SetFrame(uint32_t frame);
  virtual int32_t SetKind(int32_t kind);
  // Runs the command of its kind.
  virtual void DoExecute(uint32_t frameCounter);
  // Nothing here; subclasses override it.
  virtual void DoUserCommand();
  virtual void DoTerminateCommand();
  // The list's sprite shows the list, when the list belongs to a sprite.
  virtual void DoSequenceCommand();
  virtual LumoSequenceList* SetSequence(LumoSequenceList* sequence);
  // Gives the sprite's current sequence the repeats (unless 0) and starts
  // the sprite's animation.
  virtual void DoSpriteCommand();
  virtual void SetSprite(LumoSprite* sprite, int32_t repeats);
  // A negative duration is stored as 1.
  virtual void SetMotion(LumoSprite* sprite, int32_t horizontal, int32_t vertical, int32_t duration);
  // The motion command runs nothing in this build: the framework has no
  // motion yet. The sound command plays, stops, pauses or resumes its sound,
  // for its sprite.
  virtual void DoMotionCommand();
  virtual LumoSoundNode* SetSoundNode(LumoSoundNode* sound);
  virtual int32_t SetSoundCommand(int32_t command);
  virtual void DoSoundCommand();
  virtual LumoCell* SetPrintA(LumoCell* cell);
  virtual int32_t SetPrintB(int32_t value);
  // Prints the cell at once.
  virtual void DoPrint();
  // Each Define sets the kind, the frame and the kind's fields.
  virtual void DefineUser(uint32_t frame);
  virtual void DefineTerminate(uint32_t frame);
  virtual void DefineSequence(uint32_t frame, LumoSequenceList* sequence);
  virtual void DefineSprite(uint32_t frame, LumoSprite* sprite, int32_t repeats);
  virtual void DefineMotion(uint32_t frame, LumoSprite* sprite, int32_t horizontal, int32_t vertical,
                            int32_t duration);
  // Does nothing without a sound node.
  virtual void DefineSound(uint32_t frame, int32_t command, LumoSoundNode* sound, LumoSprite* sprite);
  virtual void DefinePrint(uint32_t frame, LumoCell* cell);

  // False while the counter is below the frame; else runs the command
  // (DoExecute) and answers true. A fault is logged with the command's
  // values and passed on.
  bool Execute(uint32_t frameCounter);

  // ---- Fields ----

  uint32_t Frame = 0;
  int32_t Kind = kUser;
  LumoSequenceList* SequenceList = nullptr;  // referenced
  LumoSprite* Sprite = nullptr;              // referenced; also a sound's receiver
  int32_t Repeats = 0;
  int32_t Horizontal = 0;
  int32_t Vertical = 0;
  int32_t Duration = 0;
  LumoSoundNode* SoundNode = nullptr;  // referenced
  int32_t SoundCommand = kPlay;
  LumoCell* PrintA = nullptr;  // the cell printed; referenced
  int32_t PrintB = 0;

 private:
  // Replaces a referenced field's object.
  template <typename T>
  T* Refer(T*& field, T* object);
  void ReportExecuteFault(uint32_t frameCounter);
};
