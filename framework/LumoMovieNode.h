#pragma once

#include <cstdint>

#include "framework/LumoMediaNode.h"

class LumoGraphicNode;
class LumoMovieList;

// A media node on a movie of the run-time system: its Data is the movie's
// handle, opened from the node's name. The movie is drawn into a display
// graphic, and may follow the position of another media node (its master).
// The receiver sprite hears of play, stop, pause and resume through its
// movie hooks.
class LumoMovieNode : public LumoMediaNode {
 public:
  LumoMovieNode();

  const char* GetClassName() const override;
  // Lets go of the display and the master, then frees the node.
  void DoFree() override;
  // A display freed elsewhere takes the movie down with it (unloaded); a
  // master freed elsewhere is forgotten.
  void OnAbortReferenceTo(LumoObject* other) override;
  // OpenMovie of the name, when the node has one; the display kept from
  // before is given to the new movie.
  uintptr_t Load() override;
  // Stops the movie before closing it.
  void Unload() override;
  bool IsMediaPlaying() override;
  bool DoPlay() override;
  bool DoStop() override;
  bool DoPause() override;
  bool DoResume() override;
  int32_t DoPosition() override;
  int32_t DoSetPosition(int32_t position) override;
  // The movie's duration in milliseconds.
  int32_t DoSize() override;
  // Follows the master's position while the master plays, every half pulse
  // of frames of the master's receiver.
  void DoUpdate() override;
  void OnPlay() override;
  void OnStop() override;
  void OnPause() override;
  void OnResume() override;
  void DebugDumpFields() override;

  // Stored form: as a sound node's. A movie whose name the running level's
  // movie list already holds is not opened again.
  virtual bool LoadData(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveData(LumoStream* stream, const LumoProperty* property);
  // The movie is drawn into the graphic from now on (referenced); null, or a
  // graphic the movie cannot be drawn into, leaves it without one. Answers
  // the display in force.
  virtual LumoGraphicNode* SetDisplay(LumoGraphicNode* graphic);
  // A new black graphic of the movie's size from the movie list's graphic
  // list becomes the display, stretched or not; null (the graphic destroyed)
  // when it cannot be made or taken.
  virtual LumoGraphicNode* CreateDisplay(bool stretch);
  // The media node whose position the movie follows (referenced).
  virtual LumoMediaNode* SetMaster(LumoMediaNode* master);

  // The engine's pulse divided by the movie's frame time (the third value
  // OpenMovie gave); 0 when that is 0.
  uint32_t GetFramesPerPulse() const;
  // The movie list holding the node, or null.
  LumoMovieList* List() const;

  // ---- Fields ----

  LumoGraphicNode* Display = nullptr;  // referenced
  LumoMediaNode* Master = nullptr;     // referenced
  int32_t MovieWidth = 0;
  int32_t MovieHeight = 0;
  int32_t FrameTime = 0;  // milliseconds, as OpenMovie reports it

 private:
  // Moves the reference kept on the graphic the run-time movie draws into.
  void KeepDrawnInto(LumoGraphicNode* graphic);

  // The graphic the run-time movie draws into (referenced). The run-time
  // movie cannot be told to stop drawing, so a display the node lets go of
  // (none asked for, or a new graphic refused) stays here until another
  // takes its place or the movie is closed: when it is freed meanwhile, the
  // movie is unloaded, as for the display itself.
  LumoGraphicNode* DrawnInto = nullptr;
};
