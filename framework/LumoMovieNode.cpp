#include "framework/LumoMovieNode.h"

#include <algorithm>

#include "base/DebugFormat.h"
#include "base/LumoClass.h"
#include "base/LumoStream.h"
#include "framework/LumoEngine.h"
#include "framework/LumoGraphicList.h"
#include "framework/LumoGraphicNode.h"
#include "framework/LumoLevel.h"
#include "framework/LumoMovieList.h"
#include "framework/LumoSprite.h"
#include "runtime/Movies.h"

namespace {

LumoClassOf<LumoMovieNode> classOfLumoMovieNode(kVersion_1_4_0_0, "LumoMovieNode", "LumoMediaNode");
LUMO_FIELD_PROPERTY(kVersion_1_4_0_0, LumoMovieNode, Data, PropertyPointer, "tPointer");

MovieHandle HandleOf(uintptr_t data) { return reinterpret_cast<MovieHandle>(data); }
}  // namespace

LumoMovieNode::LumoMovieNode() = default;

const char* LumoMovieNode::GetClassName() const { return "LumoMovieNode"; }

void LumoMovieNode::DoFree() {
  SetMaster(nullptr);
  if (Display != nullptr) {
    RemoveReference(Display);
    Display = nullptr;
  }
  LumoMediaNode::DoFree();
}

void LumoMovieNode::OnAbortReferenceTo(LumoObject* other) {
  LumoMediaNode::OnAbortReferenceTo(other);
  if (other == nullptr) {
    return;
  }
  const void* gone = other;
  if (gone == static_cast<const void*>(Master)) {
    Master = nullptr;
  }
  const bool shown = gone == static_cast<const void*>(Display) || gone == static_cast<const void*>(DrawnInto);
  if (gone == static_cast<const void*>(Display)) {
    Display = nullptr;
  }
  if (gone == static_cast<const void*>(DrawnInto)) {
    DrawnInto = nullptr;
  }
  if (shown) {
    Unload();
  }
}

void LumoMovieNode::KeepDrawnInto(LumoGraphicNode* graphic) {
  if (graphic == DrawnInto) {
    return;
  }
  if (DrawnInto != nullptr) {
    RemoveReference(DrawnInto);
    DrawnInto = nullptr;
  }
  if (graphic != nullptr && AddReference(graphic) != nullptr) {
    DrawnInto = graphic;
  }
}

void LumoMovieNode::DebugDumpFields() {
  LumoMediaNode::DebugDumpFields();
  DebugPrint(", Display=%p, Master=%p, Width=%i, Height=%i, FrameTime=%i", static_cast<const void*>(Display),
             static_cast<const void*>(Master), MovieWidth, MovieHeight, FrameTime);
}

// ---- Device ----

uintptr_t LumoMovieNode::Load() {
  Reset();
  if (Name == nullptr) {
    return Data;
  }
  int32_t width = 0;
  int32_t height = 0;
  int32_t frameTime = 0;
  const MovieHandle movie = OpenMovie(Name, width, height, frameTime);
  if (movie == nullptr) {
    return Data;
  }
  MovieWidth = width;
  MovieHeight = height;
  FrameTime = frameTime;
  SetData(reinterpret_cast<uintptr_t>(movie));
  // A movie opened again (after its level was frozen) is drawn where it was.
  if (Display != nullptr && (Display->Data == 0 || !SetMovieDisplay(movie, Display->Graphic()))) {
    RemoveReference(Display);
    Display = nullptr;
  }
  KeepDrawnInto(Display);
  return Data;
}

void LumoMovieNode::Unload() {
  if (Data != 0) {
    const MovieHandle movie = HandleOf(Data);
    StopMovie(movie);
    CloseMovie(movie);
  }
  KeepDrawnInto(nullptr);
  SetData(0);
}

bool LumoMovieNode::IsMediaPlaying() { return Data != 0 && PlayingMovie(HandleOf(Data)); }
bool LumoMovieNode::DoPlay() { return PlayMovie(HandleOf(Data), Repeats); }
bool LumoMovieNode::DoStop() { return StopMovie(HandleOf(Data)); }
bool LumoMovieNode::DoPause() { return PauseMovie(HandleOf(Data)); }
bool LumoMovieNode::DoResume() { return ResumeMovie(HandleOf(Data)); }
int32_t LumoMovieNode::DoPosition() { return Data != 0 ? GetMoviePosition(HandleOf(Data)) : -1; }
int32_t LumoMovieNode::DoSetPosition(int32_t position) {
  return Data != 0 ? SetMoviePosition(HandleOf(Data), position) : -1;
}
int32_t LumoMovieNode::DoSize() { return Data != 0 ? GetMovieDuration(HandleOf(Data)) : 0; }

void LumoMovieNode::DoUpdate() {
  if (Master == nullptr || Master->Receiver == nullptr) {
    return;
  }
  const uint32_t frames = Engine != nullptr ? Engine->FramesPerPulse : LumoEngine::kDefaultFramesPerPulse;
  const uint32_t interval = std::max<uint32_t>(1, frames / 2);
  if (Master->Receiver->FrameCounter % interval != 0 || !Master->IsPlaying()) {
    return;
  }
  SetPosition(Master->Position());
}

void LumoMovieNode::OnPlay() {
  TellReceiver("LumoMovieNode", "Play", "Movie", &LumoSprite::DoPlayMovie, &LumoSprite::OnPlayMovie);
}
void LumoMovieNode::OnStop() {
  TellReceiver("LumoMovieNode", "Stop", "Movie", &LumoSprite::DoStopMovie, &LumoSprite::OnStopMovie);
}
void LumoMovieNode::OnPause() {
  TellReceiver("LumoMovieNode", "Pause", "Movie", &LumoSprite::DoPauseMovie, &LumoSprite::OnPauseMovie);
}
void LumoMovieNode::OnResume() {
  TellReceiver("LumoMovieNode", "Resume", "Movie", &LumoSprite::DoResumeMovie, &LumoSprite::OnResumeMovie);
}

// ---- Stored form ----

bool LumoMovieNode::SaveData(LumoStream* stream, const LumoProperty*) { return SaveMediaData(stream); }

bool LumoMovieNode::LoadData(LumoStream* stream, const LumoProperty*) {
  bool named = false;
  if (!ReadMediaData(stream, named)) {
    return false;
  }
  if (!named) {
    return true;
  }
  if (Engine == nullptr || Engine->Level == nullptr || !Engine->Level->MovieList) {
    DebugPrint("LumoMovieNode::LoadData() There is no movie list to load into (Name=%s, Node=%p)\n", DebugText(Name),
               DebugAddress(this));
    return false;
  }
  LumoNode* known = Engine->Level->MovieList->FindByName(Name);
  if (known != nullptr && known != this) {
    return true;
  }
  return Load() != 0;
}

// ---- Display and master ----

LumoGraphicNode* LumoMovieNode::SetDisplay(LumoGraphicNode* graphic) {
  if (Display != nullptr) {
    RemoveReference(Display);
    Display = nullptr;
  }
  if (graphic == nullptr || Data == 0 || graphic->Data == 0) {
    return nullptr;
  }
  if (!SetMovieDisplay(HandleOf(Data), graphic->Graphic())) {
    return nullptr;
  }
  KeepDrawnInto(graphic);
  if (AddReference(graphic) != nullptr) {
    Display = graphic;
  }
  return Display;
}

LumoGraphicNode* LumoMovieNode::CreateDisplay(bool stretch) {
  LumoMovieList* list = List();
  if (list == nullptr || list->GraphicList == nullptr) {
    return nullptr;
  }
  LumoGraphicNode* graphic = list->GraphicList->GetBlankGraphic(MovieWidth, MovieHeight);
  if (graphic == nullptr) {
    return nullptr;
  }
  if (SetDisplay(graphic) == nullptr) {
    DestroyObject(graphic);
    return nullptr;
  }
  graphic->SetStretch(stretch);
  return graphic;
}

LumoMediaNode* LumoMovieNode::SetMaster(LumoMediaNode* master) {
  if (master == Master) {
    return Master;
  }
  if (Master != nullptr) {
    RemoveReference(Master);
  }
  Master = nullptr;
  if (master != nullptr && master != this && AddReference(master) != nullptr) {
    Master = master;
  }
  return Master;
}

uint32_t LumoMovieNode::GetFramesPerPulse() const {
  if (FrameTime <= 0) {
    return 0;
  }
  const uint32_t pulse = Engine != nullptr ? Engine->PulseDuration : LumoEngine::kDefaultPulseDuration;
  return pulse / static_cast<uint32_t>(FrameTime);
}

LumoMovieList* LumoMovieNode::List() const { return dynamic_cast<LumoMovieList*>(parent); }
