#pragma once

#include <cstdint>

#include <memory>

#include "framework/LumoAnimator.h"
#include "framework/LumoGraphicList.h"
#include "framework/LumoMovieList.h"
#include "framework/LumoSoundList.h"
#include "framework/tGraphicList.h"
#include "runtime/Graphics.h"

class LumoCell;
class LumoGauge;
class LumoLoaderButton;
class LumoMouseNode;
class LumoFontNode;

// One screen of the program (the menus, the running game). A level is an
// item of the engine, which switches between levels; its own items are cells,
// sprites and controls. It owns its sources (graphic, sound and movie
// lists), sets the screen background, watches its CD audio play-back, and
// keeps the engine settings it had when it was paused or frozen, so it
// resumes as it was.
class LumoLevel : public LumoAnimator {
 public:
  LumoLevel();

  const char* GetClassName() const override;
  // Releases the level's own parts, frees the animator, then makes the
  // engine forget this level (current or requested).
  void DoFree() override;
  // The level and its items, then its sources (only while the debug log is
  // on).
  void DebugDump(bool deep) override;
  // Stops the background, empties the sources, then the animator's fields.
  void DoClear() override;
  // Makes the missing source lists.
  void DoPopulate() override;
  // A plain cell.
  LumoNode* CreateItem() override;
  // The level's timer pass: the sounds' and then the movies' update and
  // check, the CD audio check while it plays, then the items.
  void DoTimer() override;
  // The items' frame, then the window messages (HandleMessages), so input
  // arrives inside every frame.
  void DoAnimateFrame() override;
  // Forgets a kept font or mouse that is being freed.
  void OnAbortReferenceTo(LumoObject* other) override;
  // Only a level that is an item of an engine may animate.
  bool CanStartAnimation() override;

  virtual void DoPopulateLoader();
  virtual void DoPreLoadSource();
  virtual void DoPostPopulate();
  // Checks the CD play-back twice a pulse and starts the range again while
  // repeats are left.
  virtual void DoUpdateAudio();
  // The factories of the level's source lists.
  virtual LumoGraphicList* CreateGraphicList();
  virtual LumoSoundList* CreateSoundList();
  virtual LumoMovieList* CreateMovieList();
  // Copies every volatile graphic of the level's and the engine's graphic
  // lists outside display memory.
  virtual void DoStoreMemory();
  // Copies the kept graphics back into those that were lost, then drops the
  // copies.
  virtual void DoRestoreMemory();
  // The factory of the level's cells (the pre-loader's too): a plain cell.
  virtual LumoCell* CreateCell();
  // The pre-loader's button and gauge.
  virtual LumoLoaderButton* CreateLoaderButton();
  virtual LumoGauge* CreateLoaderGauge();
  // Asked by the engine's terminate query; true.
  virtual bool CanQuit();
  // Whether some item of a cell (any item of the level) is a control.
  virtual bool HasControls();
  // The source operations, each over the movie, sound and graphic lists.
  virtual void UnloadSources();
  virtual void ClearSources();
  virtual void IncrementSourceTags();
  virtual void DecrementSourceTags();
  virtual void ClearTaggedSource();
  virtual void LoadSources();
  // The pre-loader: a loading screen of the level (the splash drawn at
  // once, a cell with the background graphic, a gauge of the named graphic
  // and, with a normal look name, a button that starts disabled) shows
  // while DoPreLoadSource and OnPreLoadSource load the sources, moving the
  // gauge and running engine passes. Then the screen is enabled, the sound
  // plays, and the level is post-populated at once, or when the button is
  // pressed; post-populating deletes the loading screen and the sources
  // not taken up again. Nothing at all happens without a gauge graphic.
  // Centred background (left and top -1), no button.
  virtual void PreLoadSource(const char* splash, const char* background, int32_t gaugeLeft, int32_t gaugeTop,
                             const char* gauge, int32_t gaugeDirection, const char* sound);
  // Placed background, no button.
  virtual void PreLoadSource(const char* splash, int32_t left, int32_t top, const char* background,
                             int32_t gaugeLeft, int32_t gaugeTop, const char* gauge, int32_t gaugeDirection,
                             const char* sound);
  // Centred background with a button.
  virtual void PreLoadSource(const char* splash, const char* background, int32_t gaugeLeft, int32_t gaugeTop,
                             const char* gauge, int32_t gaugeDirection, const char* sound, int32_t buttonLeft,
                             int32_t buttonTop, const char* buttonNormal, const char* buttonHot,
                             const char* buttonDisabled, const char* buttonPressed, const char* buttonClick);
  // The full form: a negative left or top centres the background.
  virtual void PreLoadSource(const char* splash, int32_t left, int32_t top, const char* background,
                             int32_t gaugeLeft, int32_t gaugeTop, const char* gauge, int32_t gaugeDirection,
                             const char* sound, int32_t buttonLeft, int32_t buttonTop, const char* buttonNormal,
                             const char* buttonHot, const char* buttonDisabled, const char* buttonPressed,
                             const char* buttonClick);
  // The switch's close query: CanCloseFlag. May change the close mode.
  virtual bool CanClose(uint32_t& mode);
  virtual bool SetCanClose(bool flag);
  virtual uint32_t SetCloseMode(uint32_t mode);
  // Plays CD tracks first to last, repeats times in all (negative: for
  // ever); answers whether it plays.
  virtual bool PlayAudio(uint32_t firstTrack, uint32_t lastTrack, int32_t repeats);
  virtual void StopAudio();
  virtual void PauseAudio();
  virtual void ResumeAudio();
  virtual void OnPopulateLoader();
  virtual void OnPreLoadSource();
  virtual void OnPostPopulate();
  virtual void OnDestroy();
  virtual void OnEmpty();
  // Runs OnPause.
  virtual void OnFreeze();
  // Keeps the engine's cursor, font, frame rate, pulse and frame counters.
  virtual void OnPause();
  // Gives the kept engine settings back.
  virtual void OnContinue();
  // The engine's cursor count becomes 0.
  virtual void OnReset();
  virtual void OnPlayAudio();
  virtual void OnStopAudio();
  virtual void OnPauseAudio();
  virtual void OnResumeAudio();
  virtual void OnStoreMemory();
  virtual void OnRestoreMemory();

  // DoStoreMemory, then OnStoreMemory (the task-switch callback).
  void StoreMemory();
  // DoRestoreMemory, then OnRestoreMemory (after lost surfaces came back).
  void RestoreMemory();

  // The run-time system's background: a colour fill from now on.
  void SetBackgroundColour(const sRGB& colour);
  // The node's graphic as the background at its origin plus (dx, dy), with
  // its source key; none removes the background graphic and keeps the colour.
  void SetBackgroundGraphic(LumoGraphicNode* node, int32_t dx, int32_t dy);
  // The node centred on the screen.
  void SetCentredBackground(LumoGraphicNode* node);
  // No background at all.
  void ClearBackground();

  // In development mode, writes the pre-loader script of the level's
  // graphics and sounds to the file (lines end in CR LF); nothing without
  // graphics or sounds.
  virtual void GenerateSource(const char* fileName);

  // The CD audio's own answers: the track playing (0 for none) and the
  // number of audio tracks.
  uint32_t IsAudioPlaying() const;
  uint32_t CountAudio() const;

  // ---- Fields ----

  LumoMouseNode* SavedMouse = nullptr;  // referenced while kept
  uint32_t SavedCursorCount = 0;
  LumoFontNode* SavedFont = nullptr;
  uint32_t SavedFramesPerPulse = 0;
  uint32_t SavedPulseDuration = 0;
  uint32_t SavedFrameCounter = 0;
  uint32_t SavedFrame = 0;
  LumoCell* LoaderCell = nullptr;  // set (referenced) only while the pre-loader runs
  LumoGauge* LoaderGauge = nullptr;
  LumoLoaderButton* LoaderButton = nullptr;
  std::unique_ptr<LumoGraphicList, tObjectDestroyer> GraphicList;  // the sources, made when populated
  std::unique_ptr<LumoSoundList, tObjectDestroyer> SoundList;
  std::unique_ptr<LumoMovieList, tObjectDestroyer> MovieList;
  uint32_t AudioFirstTrack = 0;
  uint32_t AudioLastTrack = 0;
  int32_t AudioRepeatCount = 0;  // as given to PlayAudio
  int32_t AudioRepeats = 0;      // plays left; negative: for ever
  uint32_t CloseMode = 0;        // 0 destroy, 1 empty, 2 freeze, 3 pause
  uint32_t BackgroundKind = 0;   // bit 1 colour, bit 2 graphic
  bool CanCloseFlag = true;
  bool AudioPlaying = false;  // CD audio was started and is watched
  // Copies of the volatile graphics while the user is switched away.
  std::unique_ptr<tGraphicList, tObjectDestroyer> MemoryBackup;

 protected:
  // "<operation> (Level=%p:%s)" for this level.
  void ReportLevelFault(const char* operation) const;
  template <typename Hook>
  void LevelGuarded(const char* operation, Hook&& hook) {
    RunGuarded(std::forward<Hook>(hook), [&] { ReportLevelFault(operation); });
  }

 private:
  // The loading screen's background sprite in the loader cell.
  void ShowLoaderBackground(const char* background, int32_t left, int32_t top);
  // Drops the loader's references.
  void ForgetLoader();
  // Calls act on the movie, sound and graphic lists that exist and that
  // this level owns (lentToo: lent ones too), in that order (graphics
  // first: the reverse).
  template <typename Act>
  void ForEachSource(bool graphicsFirst, Act&& act, bool lentToo = false);
  // A factory may hand out a list another level made and owns (the game
  // level uses its loader's). Such a list is only used here: it is never
  // emptied, unloaded, re-tagged or destroyed by this level, and it is
  // forgotten when its owner frees it.
  template <typename List>
  void AdoptSource(std::unique_ptr<List, tObjectDestroyer>& field, List* made, bool& owned);
  template <typename List>
  void LetGoOfSource(std::unique_ptr<List, tObjectDestroyer>& field, bool owned);
  bool OwnsGraphicList = true;
  bool OwnsSoundList = true;
  bool OwnsMovieList = true;
};
