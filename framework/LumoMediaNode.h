#pragma once

#include <cstdint>
#include <utility>

#include "base/LumoNode.h"

class LumoSprite;

// A playable resource of a media list: its Data is a device handle of the
// run-time system (a sound or a movie), 0 while the media is not loaded.
// Every kind of media shares one protocol: play for a receiver sprite,
// stop, pause, resume, position, size, volume, pan, a per-frame update and a
// per-frame check that notices media that ended by itself. Each public
// operation runs a device hook (Do...), which the kind binds to the
// run-time system, and, when the receiver is an item of a list, a hook
// (On...) with which the kind tells the receiver.
class LumoMediaNode : public LumoNode {
 public:
  LumoMediaNode();

  const char* GetClassName() const override;
  // The receiver goes, then the node is freed.
  void DoFree() override;
  // Forgets a receiver that is freed first.
  void OnAbortReferenceTo(LumoObject* other) override;
  // New media: no receiver, not started. Repeats is kept, so a stored
  // repeat count survives the loading of the media.
  uintptr_t SetData(uintptr_t value) override;
  void DebugDumpFields() override;

  virtual bool LoadLastPosition(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveLastPosition(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadRepeats(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveRepeats(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadStarted(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveStarted(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadPaused(LumoStream* stream, const LumoProperty* property);
  virtual bool SavePaused(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadFrozen(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveFrozen(LumoStream* stream, const LumoProperty* property);
  // Started takes the flag; Paused and Frozen are cleared.
  virtual void SetStarted(bool flag);
  // Whether the device plays the media; false here.
  virtual bool IsMediaPlaying();
  // Repeats is not 0.
  virtual bool CanPlay();
  // The device hooks; the base succeeds and does nothing.
  virtual bool DoPlay();
  virtual void OnPlay();
  virtual bool IsStarted();
  virtual bool DoStop();
  virtual void OnStop();
  // Not while paused.
  virtual bool CanPause();
  virtual bool DoPause();
  virtual void OnPause();
  virtual bool IsPaused();
  virtual bool DoResume();
  virtual void OnResume();
  // -1 here.
  virtual int32_t DoPosition();
  virtual int32_t DoSetPosition(int32_t position);
  // 0 here.
  virtual int32_t DoSize();
  virtual int32_t DoVolume();
  virtual int32_t DoSetVolume(int32_t volume);
  virtual int32_t DoPan();
  virtual int32_t DoSetPan(int32_t pan);
  virtual void DoUpdate();
  // Ends a started node whose media stopped by itself (or went) and tells
  // its receiver; a frozen node is left as it is.
  virtual void DoCheck();
  // The sprite told of what the node does (referenced while set).
  virtual LumoSprite* SetReceiver(LumoSprite* receiver);
  // A negative count is stored as -1.
  virtual int32_t SetRepeats(int32_t repeats);

  // ---- Public operations; each is guarded, a fault is logged and passed on ----

  // False without media.
  bool IsPlaying();
  // Stops first; then, with media that may play, the receiver is set and the
  // device plays. Answers the device's answer.
  bool Play(LumoSprite* receiver);
  bool Stop();
  bool Pause();
  bool Resume();
  // Without media -1 (Position, SetPosition) or 0 (Size).
  int32_t Position();
  int32_t SetPosition(int32_t position);
  int32_t Size();
  int32_t Volume();
  int32_t SetVolume(int32_t volume);
  int32_t Pan();
  int32_t SetPan(int32_t pan);
  void Update();
  void Check();

  // ---- Fields ----

  LumoSprite* Receiver = nullptr;  // not stored
  int32_t LastPosition = 0;        // kept by the freeze
  int32_t Repeats = 1;
  bool Started = false;
  bool Paused = false;
  bool Frozen = false;

 protected:
  // True when the receiver is set and is an item of a list: only then is it
  // told.
  bool ReceiverListens() const;
  // Tells the receiver: its Do hook, then (while it is still the receiver)
  // its On hook, each guarded and reported as
  // "<kind>::Do<step>() Unhandled exception during Do<step><media>() ...".
  void TellReceiver(const char* kind, const char* step, const char* media, void (LumoSprite::*doHook)(),
                    void (LumoSprite::*onHook)());
  // "LumoMediaNode::<operation>() Unhandled exception (Name=%s, Object=%p:%s)".
  void ReportMediaFault(const char* operation) const;
  // The stored Data of a sound or a movie: two flags, whether the media was
  // loaded by its name, and whether it was loaded while node Flags bit 0 was
  // set (recorded only: such media is not loaded again).
  bool SaveMediaData(LumoStream* stream) const;
  // Unloads what the node holds, then reads the two flags. True with `named`
  // set when the media is to be loaded again by its name.
  bool ReadMediaData(LumoStream* stream, bool& named);
  // Runs one public operation's body in its guard.
  template <typename Body>
  decltype(auto) Guarded(const char* operation, Body&& body) {
    return RunGuarded(std::forward<Body>(body), [&] { ReportMediaFault(operation); });
  }
};
