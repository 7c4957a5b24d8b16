#pragma once

#include <cstdint>

#include "framework/LumoMediaNode.h"

// A media node on a sound of the run-time system: its Data is the sound's
// handle, loaded from the node's name. The receiver sprite hears of play,
// stop, pause and resume through its sound hooks.
class LumoSoundNode : public LumoMediaNode {
 public:
  LumoSoundNode();

  const char* GetClassName() const override;
  // LoadSound of the name, when the node has one (any sound held before is
  // let go first).
  uintptr_t Load() override;
  // Stops the sound before destroying it.
  void Unload() override;
  bool IsMediaPlaying() override;
  bool DoPlay() override;
  bool DoStop() override;
  bool DoPause() override;
  bool DoResume() override;
  int32_t DoPosition() override;
  int32_t DoSetPosition(int32_t position) override;
  int32_t DoSize() override;
  int32_t DoVolume() override;
  int32_t DoSetVolume(int32_t volume) override;
  int32_t DoPan() override;
  int32_t DoSetPan(int32_t pan) override;
  // The receiver's Do and On hooks of the same name, in that order.
  void OnPlay() override;
  void OnStop() override;
  void OnPause() override;
  void OnResume() override;

  // Stored form: whether a named sound was loaded (node Flags bit 0 clear),
  // then whether one was loaded with bit 0 set. Loading the first loads the
  // sound again; that needs a running level with a sound list.
  virtual bool LoadData(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveData(LumoStream* stream, const LumoProperty* property);
};
