#include "framework/LumoLevel.h"

#include <new>
#include <set>

#include "base/DebugFormat.h"
#include "base/LumoFileStream.h"
#include "framework/LumoCell.h"
#include "framework/LumoEngine.h"
#include "framework/LumoFontNode.h"
#include "framework/LumoControl.h"
#include "framework/LumoGauge.h"
#include "framework/LumoSequenceList.h"
#include "framework/LumoSprite.h"
#include "framework/LumoMouseNode.h"
#include "framework/LumoSoundNode.h"
#include "runtime/Background.h"
#include "runtime/Blit.h"
#include "runtime/CdAudio.h"
#include "runtime/DebugLog.h"
#include "runtime/RTS.h"

LumoLevel::LumoLevel() : MemoryBackup(new (std::nothrow) tGraphicList) {}

namespace {

// The source lists some level owns. Only looked up, never iterated.
std::set<const LumoList*>& OwnedSources() {
  static std::set<const LumoList*> owned;
  return owned;
}

}  // namespace

template <typename List>
void LumoLevel::AdoptSource(std::unique_ptr<List, tObjectDestroyer>& field, List* made, bool& owned) {
  field.reset(made);
  owned = made == nullptr || OwnedSources().count(made) == 0;
  if (made == nullptr) {
    return;
  }
  if (owned) {
    OwnedSources().insert(made);
  } else if (AddReference(made) == nullptr) {
    // Without the reference this level would not hear of the list's end.
    static_cast<void>(field.release());
  }
}

template <typename List>
void LumoLevel::LetGoOfSource(std::unique_ptr<List, tObjectDestroyer>& field, bool owned) {
  List* list = field.get();
  if (list == nullptr) {
    return;
  }
  if (owned) {
    OwnedSources().erase(list);
    field.reset();
    return;
  }
  RemoveReference(list);
  static_cast<void>(field.release());
}

const char* LumoLevel::GetClassName() const { return "LumoLevel"; }

void LumoLevel::ReportLevelFault(const char* operation) const {
  DebugPrint("%s (Level=%p:%s)\n", operation, DebugAddress(this), DebugClassName(this));
}

void LumoLevel::DoFree() {
  MemoryBackup.reset();
  LetGoOfSource(MovieList, OwnsMovieList);
  LetGoOfSource(SoundList, OwnsSoundList);
  LetGoOfSource(GraphicList, OwnsGraphicList);
  LumoAnimator::DoFree();
  if (Engine != nullptr) {
    if (Engine->Level == this) {
      Engine->Level = nullptr;
    }
    if (Engine->NewLevel == this) {
      Engine->NewLevel = nullptr;
    }
  }
}

void LumoLevel::DebugDump(bool deep) {
  if (GetDebugMode() == DebugModeOff) {
    return;
  }
  RunGuarded(
      [&] {
        LumoAnimator::DebugDump(deep);
        if (GraphicList) {
          GraphicList->DebugDump(deep);
        }
        if (SoundList) {
          SoundList->DebugDump(deep);
        }
        if (MovieList) {
          MovieList->DebugDump(deep);
        }
      },
             [&] { ReportLevelFault("LumoLevel::DebugDump() Unhandled exception"); });
}

void LumoLevel::DoClear() {
  StopBackground();
  ClearSources();
  LumoAnimator::DoClear();
}

void LumoLevel::DoPopulate() {
  LumoAnimator::DoPopulate();
  if (!GraphicList) {
    AdoptSource(GraphicList, CreateGraphicList(), OwnsGraphicList);
  }
  if (!SoundList) {
    AdoptSource(SoundList, CreateSoundList(), OwnsSoundList);
  }
  if (!MovieList) {
    AdoptSource(MovieList, CreateMovieList(), OwnsMovieList);
  }
  // A lent movie list keeps showing into its owner's graphics.
  if (MovieList && OwnsMovieList) {
    MovieList->SetGraphicList(GraphicList.get());
  }
}

LumoGraphicList* LumoLevel::CreateGraphicList() { return new (std::nothrow) LumoGraphicList; }
LumoSoundList* LumoLevel::CreateSoundList() { return new (std::nothrow) LumoSoundList; }
LumoMovieList* LumoLevel::CreateMovieList() { return new (std::nothrow) LumoMovieList; }

LumoCell* LumoLevel::CreateCell() { return new (std::nothrow) LumoCell; }
LumoLoaderButton* LumoLevel::CreateLoaderButton() { return new (std::nothrow) LumoLoaderButton; }
LumoGauge* LumoLevel::CreateLoaderGauge() { return new (std::nothrow) LumoGauge; }

bool LumoLevel::HasControls() {
  for (LumoNode* item = first; item != nullptr; item = item->next) {
    auto* list = dynamic_cast<LumoList*>(item);
    for (LumoNode* inner = list != nullptr ? list->first : nullptr; inner != nullptr; inner = inner->next) {
      if (dynamic_cast<LumoControl*>(inner) != nullptr) {
        return true;
      }
    }
  }
  return false;
}

// ---- Pre-loading ----

void LumoLevel::PreLoadSource(const char* splash, const char* background, int32_t gaugeLeft, int32_t gaugeTop,
                              const char* gauge, int32_t gaugeDirection, const char* sound) {
  PreLoadSource(splash, -1, -1, background, gaugeLeft, gaugeTop, gauge, gaugeDirection, sound, 0, 0, nullptr,
                nullptr, nullptr, nullptr, nullptr);
}

void LumoLevel::PreLoadSource(const char* splash, int32_t left, int32_t top, const char* background,
                              int32_t gaugeLeft, int32_t gaugeTop, const char* gauge, int32_t gaugeDirection,
                              const char* sound) {
  PreLoadSource(splash, left, top, background, gaugeLeft, gaugeTop, gauge, gaugeDirection, sound, 0, 0, nullptr,
                nullptr, nullptr, nullptr, nullptr);
}

void LumoLevel::PreLoadSource(const char* splash, const char* background, int32_t gaugeLeft, int32_t gaugeTop,
                              const char* gauge, int32_t gaugeDirection, const char* sound, int32_t buttonLeft,
                              int32_t buttonTop, const char* buttonNormal, const char* buttonHot,
                              const char* buttonDisabled, const char* buttonPressed, const char* buttonClick) {
  PreLoadSource(splash, -1, -1, background, gaugeLeft, gaugeTop, gauge, gaugeDirection, sound, buttonLeft,
                buttonTop, buttonNormal, buttonHot, buttonDisabled, buttonPressed, buttonClick);
}

void LumoLevel::ShowLoaderBackground(const char* background, int32_t left, int32_t top) {
  if (background == nullptr || *background == '\0' || !GraphicList || LoaderCell == nullptr || Engine == nullptr) {
    return;
  }
  LumoGraphicNode* graphic = GraphicList->FindGraphic(background);
  if (graphic == nullptr || graphic->Graphic() == nullptr) {
    return;
  }
  const int32_t screenWidth = Engine->ScreenWidth;
  const int32_t screenHeight = Engine->ScreenHeight;
  const int32_t x = left >= 0 ? left : screenWidth / 2 - graphic->Width / 2;
  const int32_t y = top >= 0 ? top : screenHeight / 2 - graphic->Height / 2;
  // A graphic larger than the screen is shown from the screen's edge in a
  // screen-wide cell, shifted by the overhang.
  const int32_t cellLeft = x >= 0 ? x : 0;
  const int32_t cellWidth = x >= 0 ? graphic->Width : screenWidth;
  const int32_t spriteX = x >= 0 ? 0 : x;
  const int32_t cellTop = y >= 0 ? y : 0;
  const int32_t cellHeight = y >= 0 ? graphic->Height : screenHeight;
  const int32_t spriteY = y >= 0 ? 0 : y;
  LoaderCell->SetViewport(cellLeft, cellTop, cellWidth, cellHeight);
  if (LumoSprite* sprite = LoaderCell->AddSpriteAt(spriteX, spriteY)) {
    if (LumoSequenceList* sequence = sprite->AppendSequence(1, -1)) {
      sequence->AppendFrame(graphic, 0, 0, 1);
    }
    sprite->ResetSequence(false);
  }
}

void LumoLevel::ForgetLoader() {
  const auto forget = [&](auto*& field) {
    if (field != nullptr) {
      RemoveReference(field);
      field = nullptr;
    }
  };
  forget(LoaderCell);
  forget(LoaderGauge);
  forget(LoaderButton);
}

void LumoLevel::PreLoadSource(const char* splash, int32_t left, int32_t top, const char* background,
                              int32_t gaugeLeft, int32_t gaugeTop, const char* gauge, int32_t gaugeDirection,
                              const char* sound, int32_t buttonLeft, int32_t buttonTop, const char* buttonNormal,
                              const char* buttonHot, const char* buttonDisabled, const char* buttonPressed,
                              const char* buttonClick) {
  if (gauge == nullptr || Engine == nullptr) {
    return;
  }
  Engine->SetBusy(true);
  Clear();
  ClearSources();
  ForgetLoader();
  if (splash != nullptr) {
    Engine->ShowCentredGraphic(splash);
  }
  const auto keep = [&](auto*& field, auto* made) {
    if (made != nullptr && Append(made) == nullptr) {
      DestroyObject(made);
      made = nullptr;
    }
    if (made != nullptr && AddReference(made) != nullptr) {
      field = made;
    }
  };
  keep(LoaderCell, CreateCell());
  if (LoaderCell != nullptr) {
    LoaderCell->SetViewport(0, 0, Engine->ScreenWidth, Engine->ScreenHeight);
    LoaderCell->Populate();
    ShowLoaderBackground(background, left, top);
  }
  keep(LoaderGauge, CreateLoaderGauge());
  if (LoaderGauge != nullptr) {
    LoaderGauge->DefineFromGraphic(gaugeLeft, gaugeTop, 0, 100, gauge, gaugeDirection);
  }
  if (buttonNormal != nullptr && LoaderCell != nullptr) {
    LumoLoaderButton* button = CreateLoaderButton();
    if (button != nullptr && LoaderCell->Append(button) == nullptr) {
      DestroyObject(button);
      button = nullptr;
    }
    if (button != nullptr && AddReference(button) != nullptr) {
      LoaderButton = button;
      button->Define(buttonLeft, buttonTop, false, buttonNormal, buttonHot, buttonDisabled, buttonPressed,
                     buttonClick, nullptr);
    }
  }
  LumoSoundNode* soundNode = nullptr;
  if (sound != nullptr && SoundList) {
    soundNode = dynamic_cast<LumoSoundNode*>(SoundList->GetLoaded(sound));
  }
  LevelGuarded("LumoLevel::PreLoadSource() Unhandled exception during DoPopulateLoader()",
               [&] { DoPopulateLoader(); });
  LevelGuarded("LumoLevel::PreLoadSource() Unhandled exception during OnPopulateLoader()",
               [&] { OnPopulateLoader(); });
  for (LumoNode* item = first; item != nullptr; item = item->next) {
    if (auto* cell = dynamic_cast<LumoCell*>(item)) {
      cell->DisableAll();
    }
  }
  // Everything that exists now belongs to the loading screen or was loaded
  // before: marked, it goes at post-populating unless taken up again.
  IncrementTags();
  IncrementSourceTags();
  Engine->StartAnimation();
  Engine->Timer();
  LevelGuarded("LumoLevel::PreloadSource() Unhandled exception during DoPreLoadSource()",
               [&] { DoPreLoadSource(); });
  LevelGuarded("LumoLevel::PreloadSource() Unhandled exception during OnPreLoadSource()",
               [&] { OnPreLoadSource(); });
  for (LumoNode* item = first; item != nullptr; item = item->next) {
    if (auto* cell = dynamic_cast<LumoCell*>(item)) {
      cell->EnableAll(nullptr);
    }
  }
  if (HasControls()) {
    Engine->ShowCursor(true);
  }
  if (soundNode != nullptr) {
    soundNode->Play(nullptr);
  }
  if (LoaderButton == nullptr) {
    Engine->SetPostPopulating(true);
  }
  ForgetLoader();
}

LumoNode* LumoLevel::CreateItem() { return new (std::nothrow) LumoCell; }

void LumoLevel::DoTimer() {
  if (SoundList) {
    SoundList->UpdateAll();
    SoundList->CheckAll();
  }
  if (MovieList) {
    MovieList->UpdateAll();
    MovieList->CheckAll();
  }
  if (AudioPlaying) {
    DoUpdateAudio();
  }
  LumoAnimator::DoTimer();
}

void LumoLevel::DoAnimateFrame() {
  LumoAnimator::DoAnimateFrame();
  RunGuarded([] { HandleMessages(); }, [&] {
    DebugPrint("LumoLevel::DoAnimateFrame() Unhandled exception during HandleMessages() (FrameCounter=%i, "
               "Engine=%p:%s)\n",
               Engine != nullptr ? static_cast<int>(Engine->FrameCounter) : 0, DebugAddress(Engine),
               DebugClassName(Engine));
  });
}

void LumoLevel::OnAbortReferenceTo(LumoObject* other) {
  LumoAnimator::OnAbortReferenceTo(other);
  // A lent source list goes with its owner.
  if (other != nullptr && !OwnsGraphicList && static_cast<const void*>(other) == GraphicList.get()) {
    static_cast<void>(GraphicList.release());
  }
  if (other != nullptr && !OwnsSoundList && static_cast<const void*>(other) == SoundList.get()) {
    static_cast<void>(SoundList.release());
  }
  if (other != nullptr && !OwnsMovieList && static_cast<const void*>(other) == MovieList.get()) {
    static_cast<void>(MovieList.release());
  }
  if (other != nullptr && static_cast<const void*>(other) == static_cast<const void*>(SavedFont)) {
    SavedFont = nullptr;
  }
  if (other != nullptr && static_cast<const void*>(other) == static_cast<const void*>(SavedMouse)) {
    SavedMouse = nullptr;
  }
  if (other != nullptr && static_cast<const void*>(other) == static_cast<const void*>(LoaderCell)) {
    LoaderCell = nullptr;
  }
  if (other != nullptr && static_cast<const void*>(other) == static_cast<const void*>(LoaderGauge)) {
    LoaderGauge = nullptr;
  }
  if (other != nullptr && static_cast<const void*>(other) == static_cast<const void*>(LoaderButton)) {
    LoaderButton = nullptr;
  }
}

bool LumoLevel::CanStartAnimation() {
  if (parent != nullptr) {
    return true;
  }
  ReportLevelFault("LumoLevel::CanStartAnimation() The level is not appended to an engine");
  return false;
}

// ---- Hooks with empty defaults ----

void LumoLevel::DoPopulateLoader() {}
void LumoLevel::DoPreLoadSource() {}
void LumoLevel::DoPostPopulate() {}
bool LumoLevel::CanQuit() { return true; }
void LumoLevel::OnPopulateLoader() {}
void LumoLevel::OnPreLoadSource() {}
void LumoLevel::OnPostPopulate() {}
void LumoLevel::OnDestroy() {}
void LumoLevel::OnEmpty() {}
void LumoLevel::OnPlayAudio() {}
void LumoLevel::OnStopAudio() {}
void LumoLevel::OnPauseAudio() {}
void LumoLevel::OnResumeAudio() {}
void LumoLevel::OnStoreMemory() {}
void LumoLevel::OnRestoreMemory() {}

// ---- Sources: the movie, sound and graphic lists ----

template <typename Act>
void LumoLevel::ForEachSource(bool graphicsFirst, Act&& act, bool lentToo) {
  // Only the lists this level owns, unless said otherwise: a lent one is its
  // owner's to empty, unload or re-tag.
  LumoList* const lists[] = {OwnsMovieList || lentToo ? MovieList.get() : nullptr,
                             OwnsSoundList || lentToo ? SoundList.get() : nullptr,
                             OwnsGraphicList || lentToo ? GraphicList.get() : nullptr};
  for (int i = 0; i < 3; ++i) {
    if (LumoList* list = lists[graphicsFirst ? 2 - i : i]) {
      act(*list);
    }
  }
}

void LumoLevel::UnloadSources() {
  ForEachSource(false, [](LumoList& list) { list.UnloadAll(); });
}

void LumoLevel::ClearSources() {
  ForEachSource(false, [](LumoList& list) { list.Clear(); });
}

void LumoLevel::IncrementSourceTags() {
  ForEachSource(false, [](LumoList& list) { list.IncrementTags(); });
}

void LumoLevel::DecrementSourceTags() {
  ForEachSource(false, [](LumoList& list) { list.DecrementTags(); });
}

void LumoLevel::ClearTaggedSource() {
  ForEachSource(false, [](LumoList& list) { list.DeleteTagged(); });
}

void LumoLevel::LoadSources() {
  // Loading changes nothing its owner relies on, and a level resumed after
  // its lender was frozen needs the lent graphics back.
  ForEachSource(true, [](LumoList& list) { list.LoadAll(); }, true);
}

// ---- Switching ----

bool LumoLevel::CanClose(uint32_t&) { return CanCloseFlag; }
bool LumoLevel::SetCanClose(bool flag) { return CanCloseFlag = flag; }
uint32_t LumoLevel::SetCloseMode(uint32_t mode) { return CloseMode = mode; }

void LumoLevel::OnFreeze() { OnPause(); }

void LumoLevel::OnPause() {
  if (Engine == nullptr) {
    return;
  }
  // The kept mouse and font are referenced, so one freed while the level
  // waits is forgotten rather than given back.
  if (SavedMouse != Engine->Mouse) {
    if (SavedMouse != nullptr) {
      RemoveReference(SavedMouse);
    }
    SavedMouse = Engine->Mouse;
    if (SavedMouse != nullptr) {
      AddReference(SavedMouse);
    }
  }
  SavedCursorCount = Engine->CursorCount;
  if (SavedFont != Engine->Font) {
    if (SavedFont != nullptr) {
      RemoveReference(SavedFont);
    }
    SavedFont = Engine->Font;
    if (SavedFont != nullptr) {
      AddReference(SavedFont);
    }
  }
  SavedFramesPerPulse = Engine->FramesPerPulse;
  SavedPulseDuration = Engine->PulseDuration;
  SavedFrameCounter = Engine->FrameCounter;
  SavedFrame = Engine->Frame;
}

// The kept frame rate is given back as it was: the engine's own setter never
// lowers the rate, which would leave a level resumed after a faster one at
// the faster rate.
void LumoLevel::OnContinue() {
  if (Engine == nullptr) {
    return;
  }
  Engine->SetMouse(SavedMouse);
  Engine->SetCursorCount(SavedCursorCount);
  Engine->SetFont(SavedFont);
  Engine->RestoreFramesPerPulse(SavedFramesPerPulse);
  Engine->SetPulseDuration(SavedPulseDuration);
  Engine->FrameCounter = SavedFrameCounter;
  Engine->Frame = SavedFrame;
}

void LumoLevel::OnReset() {
  if (Engine != nullptr) {
    Engine->SetCursorCount(0);
  }
}

// ---- Memory ----

void LumoLevel::StoreMemory() {
  LevelGuarded("LumoLevel::StoreMemory() Unhandled exception during DoStoreMemory", [&] { DoStoreMemory(); });
  LevelGuarded("LumoLevel::StoreMemory() Unhandled exception during OnStoreMemory", [&] { OnStoreMemory(); });
}

void LumoLevel::RestoreMemory() {
  LevelGuarded("LumoLevel::RestoreMemory() Unhandled exception during DoRestoreMemory", [&] { DoRestoreMemory(); });
  LevelGuarded("LumoLevel::RestoreMemory() Unhandled exception during OnRestoreMemory", [&] { OnRestoreMemory(); });
}

void LumoLevel::DoStoreMemory() {
  if (!MemoryBackup) {
    return;
  }
  const tMemoryLocation location = GetGraphicMemory();
  ResetGraphicMemory();
  MemoryBackup->DeleteAll();
  const auto keep = [&](LumoGraphicList* list) {
    if (list == nullptr) {
      return;
    }
    list->VisitItems([&](LumoNode* item) {
      auto* node = dynamic_cast<LumoGraphicNode*>(item);
      if (node == nullptr || node->Data == 0 || !VolatileGraphic(node->Graphic())) {
        return false;
      }
      auto* backup = static_cast<tGraphicNode*>(MemoryBackup->CreateNode());
      if (backup == nullptr) {
        return false;
      }
      backup->Live = node->Graphic();
      backup->Copy = CreateGraphic(node->Width, node->Height, node->FillColor);
      const tBlitData origin;
      if (backup->Copy == nullptr || !GraphicToGraphic(backup->Live, backup->Copy, &origin)) {
        DestroyObject(backup);
        return false;
      }
      MemoryBackup->Append(backup);
      return false;
    });
  };
  keep(GraphicList.get());
  keep(Engine != nullptr ? Engine->GraphicList.get() : nullptr);
  SetGraphicMemory(location);
}

void LumoLevel::DoRestoreMemory() {
  if (!MemoryBackup) {
    return;
  }
  for (tNode* item = MemoryBackup->first; item != nullptr; item = item->next) {
    auto* backup = static_cast<tGraphicNode*>(item);
    if (backup->Live != nullptr && LostGraphic(backup->Live)) {
      const tBlitData origin;
      GraphicToGraphic(backup->Copy, backup->Live, &origin);
    }
  }
  MemoryBackup->DeleteAll();
}

// ---- Background ----

void LumoLevel::SetBackgroundColour(const sRGB& colour) {
  BackgroundKind |= 1;
  SetBackgroundColor(colour);
  StartBackground(BackgroundKind);
}

// Removing the graphic drops only its own kind bit, so a background colour
// set before still clears the screen.
void LumoLevel::SetBackgroundGraphic(LumoGraphicNode* node, int32_t dx, int32_t dy) {
  if (node != nullptr && node->Data != 0) {
    BackgroundKind |= 2;
    const tBlitData data = node->BlitData(dx, dy);
    ::SetBackgroundGraphic(node->Graphic(), &data);
  } else {
    BackgroundKind &= ~2u;
    ::SetBackgroundGraphic(nullptr, nullptr);
  }
  if (BackgroundKind != 0) {
    StartBackground(BackgroundKind);
  } else {
    StopBackground();
  }
}

void LumoLevel::SetCentredBackground(LumoGraphicNode* node) {
  if (node == nullptr || Engine == nullptr) {
    SetBackgroundGraphic(nullptr, 0, 0);
    return;
  }
  SetBackgroundGraphic(node, Engine->ScreenWidth / 2 - node->Width / 2, Engine->ScreenHeight / 2 - node->Height / 2);
}

void LumoLevel::ClearBackground() {
  BackgroundKind = 0;
  StopBackground();
}

// ---- CD audio ----

bool LumoLevel::PlayAudio(uint32_t firstTrack, uint32_t lastTrack, int32_t repeats) {
  if (AudioPlaying) {
    StopCDAudio();
    AudioPlaying = false;
  }
  AudioFirstTrack = firstTrack;
  AudioLastTrack = lastTrack;
  AudioPlaying = PlayCDAudio(firstTrack, lastTrack);
  if (AudioPlaying) {
    AudioRepeats = AudioRepeatCount = repeats;
    LevelGuarded("LumoLevel::PlayAudio() Unhandled exception during OnPlayAudio()", [&] { OnPlayAudio(); });
  }
  return AudioPlaying;
}

void LumoLevel::StopAudio() {
  if (!AudioPlaying) {
    return;
  }
  AudioPlaying = false;
  AudioRepeats = AudioRepeatCount = 0;
  StopCDAudio();
  LevelGuarded("LumoLevel::StopAudio() Unhandled exception during OnStopAudio()", [&] { OnStopAudio(); });
}

void LumoLevel::PauseAudio() {
  if (!AudioPlaying) {
    return;
  }
  AudioPlaying = false;
  PauseCDAudio();
  LevelGuarded("LumoLevel::PauseAudio() Unhandled exception during OnPauseAudio()", [&] { OnPauseAudio(); });
}

void LumoLevel::ResumeAudio() {
  if (AudioPlaying) {
    return;
  }
  AudioPlaying = ResumeCDAudio();
  if (AudioPlaying) {
    LevelGuarded("LumoLevel::ResumeAudio() Unhandled exception during OnResumeAudio()", [&] { OnResumeAudio(); });
  }
}

uint32_t LumoLevel::IsAudioPlaying() const { return PlayingCDAudio(); }

uint32_t LumoLevel::CountAudio() const { return CountCDAudio(); }

void LumoLevel::DoUpdateAudio() {
  if (AudioRepeats == 0 || Engine == nullptr || Engine->FramesPerPulse == 0) {
    return;
  }
  // At one frame per pulse the half pulse is 0 frames: every frame checks.
  const uint32_t halfPulse = Engine->FramesPerPulse / 2;
  if (halfPulse != 0 && Engine->FrameCounter % halfPulse != 0) {
    return;
  }
  const uint32_t track = PlayingCDAudio();
  if (track != 0 && AudioFirstTrack <= track && track <= AudioLastTrack) {
    return;
  }
  bool ended = false;
  if (AudioRepeats >= 0) {
    --AudioRepeats;
    if (AudioRepeats == 0) {
      AudioPlaying = false;
      ended = true;
    }
  }
  if (!ended) {
    AudioPlaying = PlayCDAudio(AudioFirstTrack, AudioLastTrack);
  }
  if (!AudioPlaying) {
    AudioRepeats = 0;
    LevelGuarded("LumoLevel::DoUpdateAudio() Unhandled exception during OnStopAudio()", [&] { OnStopAudio(); });
  }
}

// ---- Pre-loader script ----

void LumoLevel::GenerateSource(const char* fileName) {
  if (Engine == nullptr || !Engine->Developing || fileName == nullptr || !GraphicList || !SoundList ||
      GraphicList->Count == 0 || SoundList->Count == 0) {
    return;
  }
  std::unique_ptr<LumoFileStream, tObjectDestroyer> stream(new (std::nothrow) LumoFileStream);
  if (!stream || !stream->Open(fileName, FileModeWrite, OpenModeCreate, ShareModeExclusive, 1, 0)) {
    return;
  }
  try {
    DebugPrint("LumoLevel::GenerateSource() (Source=%s, Level=%p:%s)\n", fileName, DebugAddress(this),
               DebugClassName(this));
    stream->Print("// %s: level pre-loader\n", fileName);
    stream->Print("// Generated by LumoLevel::GenerateSource()\n//\n");
    stream->WriteRepeated('/', 70);
    stream->Print("\n\n");
    stream->Print("LoaderGauge()->SetMinimum(0);\n");
    // Sizes are summed in 64 bits; the script holds them as the gauge's
    // 32-bit values.
    const int64_t bytesPerPixel = (Engine->BitsPerPixel + 7) / 8;
    const auto graphicBytes = [&](const LumoNode* item) -> int64_t {
      const auto* graphic = dynamic_cast<const LumoGraphicNode*>(item);
      return graphic != nullptr ? int64_t{graphic->Width} * graphic->Height * bytesPerPixel : 0;
    };
    const auto soundBytes = [](LumoNode* item) -> int64_t {
      auto* sound = dynamic_cast<LumoSoundNode*>(item);
      return sound != nullptr ? sound->Size() : 0;
    };
    int64_t total = 0;
    for (const LumoNode* item = GraphicList->first; item != nullptr; item = item->next) {
      if (item->Name != nullptr) {
        total += graphicBytes(item);
      }
    }
    for (LumoNode* item = SoundList->first; item != nullptr; item = item->next) {
      total += soundBytes(item);
    }
    stream->Print("LoaderGauge()->SetMaximum(%lld);\n", static_cast<long long>(total));
    const int64_t step = total / (GraphicList->Count + SoundList->Count);
    int64_t progress = 0;
    int64_t chunk = 0;
    const auto advance = [&](int64_t bytes, bool last) {
      chunk += bytes;
      if (chunk >= step || last) {
        progress += chunk;
        stream->Print("LoaderGauge()->SetProgress(%lld);\n", static_cast<long long>(progress));
        stream->Print("Engine->Timer();\n");
        chunk = 0;
      }
    };
    for (const LumoNode* item = GraphicList->first; item != nullptr; item = item->next) {
      const auto* graphic = dynamic_cast<const LumoGraphicNode*>(item);
      if (graphic == nullptr || graphic->Name == nullptr) {
        continue;
      }
      stream->Print("GraphicSource()->Load(\"%s\",%i,%i);\n", graphic->Name, graphic->Left, graphic->Top);
      advance(graphicBytes(graphic), item->next == nullptr);
    }
    for (LumoNode* item = SoundList->first; item != nullptr; item = item->next) {
      stream->Print("SoundSource()->Load(\"%s\");\n", item->Name != nullptr ? item->Name : "");
      advance(soundBytes(item), item->next == nullptr);
    }
    stream->Close();
  } catch (...) {
    stream.reset();
    ReportLevelFault("LumoLevel::GenerateSource() Unhandled exception");
    throw;
  }
}
