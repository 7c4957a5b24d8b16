#include "framework/LumoEngine.h"

#include "framework/LumoSprite.h"

#include <initializer_list>
#include <new>
#include <utility>

#include "base/DebugFormat.h"
#include "base/Random.h"
#include "framework/LumoJoystickNode.h"
#include "framework/LumoLevel.h"
#include "framework/LumoMouseNode.h"
#include "framework/LumoSprite.h"
#include "runtime/Cursor.h"
#include "runtime/DebugLog.h"
#include "runtime/Display.h"
#include "runtime/FileTypes.h"
#include "runtime/RTS.h"

LumoEngine* Engine = nullptr;

// ---- Construction and freeing ----

LumoEngine::LumoEngine() {
  StyleColours.fill(sRGB{});
  Engine = this;
  SetRandomSeed(GetSystemUpTime());
  ScreenWidth = ::ScreenWidth();
  ScreenHeight = ::ScreenHeight();
  BitsPerPixel = ::BitsPerPixel();
  FramesPerPulse = kDefaultFramesPerPulse;
  PulseDuration = kDefaultPulseDuration;
  SetStyleDefaults();
  InputHandlers = {ForwardKeyDown,   ForwardKeyUp,     ForwardKeyPress,  ForwardMouseClick, ForwardMouseDoubleClick,
                   ForwardMouseDown, ForwardMouseUp,   ForwardMouseMove, ForwardMouseEnter, ForwardMouseLeave,
                   ForwardJoyDown,   ForwardJoyUp,     ForwardJoyMove};
  SetInputHandlers(&InputHandlers);
  ScreenViewport = CreateViewport(0, 0, ScreenWidth, ScreenHeight);
  GraphicList.reset(new (std::nothrow) LumoGraphicList);
  MouseList.reset(new (std::nothrow) LumoMouseList);
  if (GetMouse("Mouse") == nullptr) {
    GetMouse("_Cursor");
  }
  FontList.reset(new (std::nothrow) LumoFontList);
  JoystickList.reset(new (std::nothrow) LumoJoystickList);
  if (JoystickList) {
    JoystickList->Populate();
  }
  FrameTimer = CreateTimer(EnginePulse, FramesPerPulse, PulseDuration);
  DisposalList.reset(new (std::nothrow) LumoList);
}

LumoEngine::~LumoEngine() {
  if (Engine == this) {
    Engine = nullptr;
  }
}

const char* LumoEngine::GetClassName() const { return "LumoEngine"; }

void LumoEngine::DoFree() {
  PreventAnimation();
  // Freeing cleared the animator's fields before this hook ran, so the
  // prevention may have found nothing to stop: input goes off here in any
  // case, before the callbacks lose their engine.
  StopInput();
  DisposalList.reset();
  if (FrameTimer != nullptr) {
    DestroyTimer(FrameTimer);
    FrameTimer = nullptr;
  }
  JoystickList.reset();
  ReferFont(Font, nullptr);
  ReferFont(DefaultFont, nullptr);
  FontList.reset();
  // The selected mouse goes with its list: the cursor is switched off and
  // forgotten as the node is freed.
  MouseList.reset();
  ForgetFileIcons();
  GraphicList.reset();
  if (ScreenViewport != nullptr) {
    DestroyViewport(ScreenViewport);
    ScreenViewport = nullptr;
  }
  LumoAnimator::DoFree();
}

void LumoEngine::OnAbortReferenceTo(LumoObject* other) {
  LumoAnimator::OnAbortReferenceTo(other);
  if (other != nullptr && static_cast<const void*>(other) == static_cast<const void*>(Mouse)) {
    CursorCount = 0;
    DisableCursor();
    Mouse = nullptr;
  }
  if (other != nullptr && static_cast<const void*>(other) == static_cast<const void*>(Font)) {
    Font = nullptr;
  }
  // The built-in font is referenced too: it must not outlive its node here.
  if (other != nullptr && static_cast<const void*>(other) == static_cast<const void*>(DefaultFont)) {
    DefaultFont = nullptr;
  }
}

LumoNode* LumoEngine::CreateItem() { return new (std::nothrow) LumoLevel; }

void LumoEngine::DoPopulate() {
  LumoAnimator::DoPopulate();
  SetFramesPerPulse(0);
  SetPulseDuration(0);
}

void LumoEngine::DoActivate() {
  LumoAnimator::DoActivate();
  StartAnimation();
}

// ---- Animation hooks: the engine's state drives the timer and input ----

void LumoEngine::StartTimerAndInput() {
  StartTimer(FrameTimer);
  StartInput();
}

void LumoEngine::DoStartAnimation() {
  if (Level != nullptr) {
    Level->StartAnimation();
  } else if (NewLevel == nullptr) {
    return;
  }
  if (!Busy) {
    StartTimerAndInput();
  }
}

void LumoEngine::DoStopAnimation() {
  StopInput();
  StopTimer(FrameTimer);
  if (Level != nullptr) {
    Level->StopAnimation();
  }
}

void LumoEngine::DoPauseAnimation() {
  StopInput();
  StopTimer(FrameTimer);
  if (Level != nullptr) {
    Level->PauseAnimation();
  }
}

void LumoEngine::DoResumeAnimation() {
  if (!Busy) {
    StartTimerAndInput();
  }
  if (Level != nullptr) {
    Level->ResumeAnimation();
  }
}

void LumoEngine::DoSelectFrame() {
  if (Level != nullptr) {
    Level->SelectFrame();
  }
}

void LumoEngine::DoAnimateFrame() {
  if (Level != nullptr) {
    Level->AnimateFrame();
  }
}

// ---- The pass ----

void LumoEngine::ReportEngineFault(const char* operation) const {
  DebugPrint("%s (Engine=%p:%s)\n", operation, DebugAddress(this), DebugClassName(this));
}

void LumoEngine::DoTimer() {
  const auto step = [&](const char* report, auto&& body) {
    RunGuarded(body, [&] { ReportEngineFault(report); });
  };
  if (NewLevel != nullptr) {
    step("LumoEngine::DoTimer() Unhandled exception during Select()", [&] { Select(); });
  }
  if (Level == nullptr) {
    step("LumoEngine::DoTimer() Unhandled exception during Terminate()", [&] { Terminate(); });
  }
  if (PostPopulating) {
    step("LumoEngine::DoTimer() Unhandled exception during PostPopulate()", [&] { PostPopulate(); });
  }
  if (Animating) {
    step("LumoEngine::DoTimer() Unhandled exception during Animate()", [&] { Animate(); });
  }
}

void LumoEngine::Animate() {
  const auto frameStep = [&](const char* stepName, auto&& body) {
    RunGuarded(body, [&] {
      DebugPrint("LumoEngine::Animate() Unhandled exception during %s (FrameCounter=%i, Engine=%p:%s)\n", stepName,
                 static_cast<int>(FrameCounter), DebugAddress(this), DebugClassName(this));
    });
  };
  frameStep("BeginScreenUpdate()", [] { BeginScreenUpdate(); });
  if (LumoLevel* level = Level) {
    RunGuarded([&] { level->Timer(); }, [&] {
      DebugPrint("LumoEngine::Animate() Unhandled exception during %s::Timer() (FrameCounter=%i, Engine=%p:%s)\n",
                 DebugClassName(Level), static_cast<int>(FrameCounter), DebugAddress(this), DebugClassName(this));
    });
  }
  frameStep("SelectFrame()", [&] { SelectFrame(); });
  frameStep("AnimateFrame()", [&] { AnimateFrame(); });
  frameStep("EndScreenUpdate()", [] { EndScreenUpdate(); });
  if (DisposalList && DisposalList->Count > 0) {
    DisposalList->Clear();
  }
}

void LumoEngine::Terminate() {
  RunGuarded([&] { DebugSystem(); },
             [&] { ReportEngineFault("LumoEngine::Terminate() Unhandled exception during DebugSystem()"); });
  ExitRTS();
}

namespace {

void DropReferrersOfTree(LumoNode* node) {
  if (auto* list = dynamic_cast<LumoList*>(node)) {
    list->VisitItemsBackwards([](LumoNode* item) {
      DropReferrersOfTree(item);
      return false;
    });
  }
  node->DropReferrers();
}

}  // namespace

void LumoEngine::DisposeObject(LumoNode* node) {
  if (node == nullptr || !DisposalList || node->parent == DisposalList.get()) {
    return;
  }
  if (auto* animator = dynamic_cast<LumoAnimator*>(node)) {
    animator->StopAnimation();
  }
  if (node->parent != nullptr) {
    node->parent->Remove(node);
  }
  // Only the references on the object and its items end now. Those they
  // hold stay until the deletion after the frame, so a frame, page or caret
  // still finds the nameless graphic it owns and destroys it then (a full
  // dereference here made them forget it, and it leaked).
  DropReferrersOfTree(node);
  DisposalList->Append(node);
}

// ---- Level switching ----

void LumoEngine::ReportSelectFault(const char* step) const {
  DebugPrint("LumoEngine::Select() Unhandled exception during %s (Level=%p", step, DebugAddress(Level));
  if (Level != nullptr) {
    DebugPrint(":%s", DebugClassName(Level));
  }
  DebugPrint(", Engine=%p:%s)\n", DebugAddress(this), DebugClassName(this));
}

LumoLevel* LumoEngine::RequestLevel(LumoLevel* level) {
  if (level == nullptr || level == Level) {
    return nullptr;
  }
  Flags |= kLevelRequestedFlag;
  StopInput();
  NewLevel = level;
  return level;
}

void LumoEngine::Select() {
  const char* step = "an unknown operation";
  LumoLevel* requested = NewLevel;
  // The open step starts a level without items and resumes one with items.
  const bool startingRequested = requested != nullptr && requested->Count == 0;
  bool oldLevelGone = false;
  try {
    RunGuarded(
        [&] {
          PauseAnimation();
          if (Level != nullptr) {
            step = "CanClose() interrogation";
            uint32_t mode = Level->CloseMode;
            if (!Level->CanClose(mode)) {
              NewLevel = nullptr;
              ResumeAnimation();
              Flags &= ~kLevelRequestedFlag;
              return;
            }
            step = "DebugSystem()";
            DebugSystem();
            CloseLevel(mode, step, oldLevelGone);
          }
          Level = NewLevel;
          NewLevel = nullptr;
          if (Level != nullptr) {
            OpenLevel(step);
          }
          Flags &= ~kLevelRequestedFlag;
        },
        [&] { ReportSelectFault(step); });
  } catch (...) {
    RecoverFromFailedSwitch(requested, startingRequested, oldLevelGone);
    throw;
  }
}

// The switch paused the engine (timer and input off) before its first step;
// a fault left it there, and then no pass would ever run again. The old
// level stays current unless it is gone already, the failed request is
// dropped so that a later one can be made, and the engine runs again.
void LumoEngine::RecoverFromFailedSwitch(LumoLevel* requested, bool startingRequested, bool oldLevelGone) {
  if (oldLevelGone && Level != requested) {
    Level = requested;
  }
  NewLevel = nullptr;
  Flags &= ~kLevelRequestedFlag;
  if (Level == nullptr) {
    return;
  }
  try {
    if (Busy) {
      SetBusy(false);
    }
    if (!Animating) {
      // A new level is started, as its open step would have; one that ran
      // before (the old one, or a resumed one) takes up where it paused.
      if (Level == requested && startingRequested) {
        StartAnimation();
      } else {
        ResumeAnimation();
      }
    }
    // A fault after the level's own start may have come before the timer's.
    if (Animating && !Busy) {
      StartTimerAndInput();
    }
  } catch (...) {
    DebugPrint("LumoEngine::Select() Unhandled exception while recovering from a failed switch (Engine=%p:%s)\n",
               DebugAddress(this), DebugClassName(this));
  }
}

void LumoEngine::StopMedia(LumoLevel* level) {
  if (level->SoundList) {
    level->SoundList->StopAll();
  }
  if (level->MovieList) {
    level->MovieList->StopAll();
  }
}

void LumoEngine::PauseMedia(LumoLevel* level) {
  if (level->SoundList) {
    level->SoundList->PauseAll();
  }
  if (level->MovieList) {
    level->MovieList->PauseAll();
  }
}

void LumoEngine::CloseLevel(uint32_t mode, const char*& step, bool& levelGone) {
  LumoLevel* level = Level;
  switch (mode) {
    case CloseDestroy:
      step = "destroying a level";
      DebugPrint("LumoEngine::Select() Destroying level... (Level=%p:%s)\n", DebugAddress(level),
                 DebugClassName(level));
      step = "OnDestroy()";
      level->OnDestroy();
      step = "destroying a level";
      StopMedia(level);
      levelGone = true;
      DestroyObject(level);
      DebugPrint("LumoEngine::Select() Level destroyed\n");
      break;
    case CloseEmpty:
      step = "Emptying a level";
      DebugPrint("LumoEngine::Select() Emptying level... (Level=%p:%s)\n", DebugAddress(level),
                 DebugClassName(level));
      step = "OnEmpty()";
      level->OnEmpty();
      step = "Emptying a level";
      StopMedia(level);
      level->Clear();
      level->ClearSources();
      DebugPrint("LumoEngine::Select() Level Emptied\n");
      break;
    case CloseFreeze:
      step = "freezing a level";
      DebugPrint("LumoEngine::Select() Freezing level... (Level=%p:%s)\n", DebugAddress(level),
                 DebugClassName(level));
      step = "OnFreeze()";
      level->OnFreeze();
      step = "freezing a level";
      PauseMedia(level);
      level->UnloadSources();
      DebugPrint("LumoEngine::Select() Level frozen\n");
      break;
    case ClosePause:
      step = "pause a level";
      DebugPrint("LumoEngine::Select() Pausing level... (Level=%p:%s)\n", DebugAddress(level),
                 DebugClassName(level));
      step = "OnPause()";
      level->OnPause();
      step = "pause a level";
      PauseMedia(level);
      DebugPrint("LumoEngine::Select() Level paused\n");
      break;
    default:
      // Any other mode leaves the old level as it is (paused by the switch).
      break;
  }
}

void LumoEngine::OpenLevel(const char*& step) {
  LumoLevel* level = Level;
  if (level->Count > 0) {
    step = "resuming a level";
    DebugPrint("LumoEngine::Select() Resuming level... (Level=%p:%s)\n", DebugAddress(level), DebugClassName(level));
    level->LoadSources();
    level->ResumeAnimation();
    if (level->SoundList) {
      level->SoundList->ResumeAll();
    }
    if (level->MovieList) {
      level->MovieList->ResumeAll();
    }
    step = "OnContinue()";
    level->OnContinue();
    step = "resuming a level";
    ResumeAnimation();
    step = "DebugDump()";
    level->DebugDump(true);
    DebugPrint("LumoEngine::Select() Level resumed\n");
    return;
  }
  step = "populating a level";
  DebugPrint("LumoEngine::Select() Starting level... (Level=%p:%s)\n", DebugAddress(level), DebugClassName(level));
  step = "OnReset()";
  level->OnReset();
  step = "populating a level";
  level->Populate();
  if (Busy) {
    SetBusy(false);
    if (Animating) {
      StartTimerAndInput();
    }
  } else {
    StartAnimation();
  }
  DebugPrint("LumoEngine::Select() Level started\n");
}

// ---- Post-populating ----

void LumoEngine::ReportPostPopulateFault(const char* step) const {
  DebugPrint("LumoEngine::PostPopulate() Unhandled exception during %s (Level=%p", step, DebugAddress(Level));
  if (Level != nullptr) {
    DebugPrint(":%s", DebugClassName(Level));
  }
  DebugPrint(", Engine=%p:%s)\n", DebugAddress(this), DebugClassName(this));
}

void LumoEngine::PostPopulate() {
  const char* step = "StopAnimation()";
  try {
    RunGuarded(
        [&] {
          StopAnimation();
          step = "SetPostPopulating()";
          SetPostPopulating(false);
          if (Level != nullptr) {
            step = "ClearTagged() of a level";
            Level->DeleteTagged();
            step = "ClearTaggedSource() of a level";
            Level->ClearTaggedSource();
            step = "DoPostPopulate() of a level";
            Level->DoPostPopulate();
            step = "OnPostPopulate() of a level";
            Level->OnPostPopulate();
          }
          step = "StartAnimation()";
          StartAnimation();
        },
        [&] { ReportPostPopulateFault(step); });
  } catch (...) {
    // The step stopped the engine first; left so, no pass would run again.
    if (Level != nullptr && !Animating) {
      try {
        StartAnimation();
      } catch (...) {
        ReportPostPopulateFault("StartAnimation()");
      }
    }
    throw;
  }
}

// ---- Setters ----

bool LumoEngine::SetDeveloping(bool flag) { return Developing = flag; }
bool LumoEngine::SetBusy(bool flag) { return Busy = flag; }
bool LumoEngine::SetPostPopulating(bool flag) { return PostPopulating = flag; }
bool LumoEngine::SetCommandsLocked(bool flag) { return CommandsLocked = flag; }

uint32_t LumoEngine::SetFramesPerPulse(uint32_t frames) {
  if (frames == 0) {
    frames = kDefaultFramesPerPulse;
  } else if (frames <= FramesPerPulse) {
    return FramesPerPulse;
  }
  FramesPerPulse = frames;
  SetTimer(FrameTimer, FramesPerPulse, PulseDuration);
  return FramesPerPulse;
}

void LumoEngine::RestoreFramesPerPulse(uint32_t frames) {
  FramesPerPulse = frames != 0 ? frames : kDefaultFramesPerPulse;
  SetTimer(FrameTimer, FramesPerPulse, PulseDuration);
}

uint32_t LumoEngine::SetPulseDuration(uint32_t milliseconds) {
  PulseDuration = milliseconds != 0 ? milliseconds : kDefaultPulseDuration;
  if (FramesPerPulse != 0) {
    SetTimer(FrameTimer, FramesPerPulse, PulseDuration);
  }
  return PulseDuration;
}

bool LumoEngine::QueryClose() {
  if (Busy || Level == nullptr || Level->parent == nullptr || Level->Count == 0) {
    return true;
  }
  return Level->CanQuit();
}

// ---- Fonts ----

void LumoEngine::ReferFont(LumoFontNode*& field, LumoFontNode* font) {
  if (field == font) {
    return;
  }
  if (field != nullptr) {
    RemoveReference(field);
  }
  field = font;
  if (font != nullptr) {
    AddReference(font);
  }
}

LumoFontNode* LumoEngine::SetFont(LumoFontNode* font) {
  if (font == nullptr && FontList) {
    font = dynamic_cast<LumoFontNode*>(FontList->first);
  }
  ReferFont(Font, font);
  return Font;
}

LumoFontNode* LumoEngine::SetDefaultFont(LumoFontNode* font) {
  ReferFont(DefaultFont, font);
  return DefaultFont;
}

namespace {

// The built-in font's glyph tops (the glyph's vertical origin in the line):
// each row gives a top and the code ranges that use it.
struct tGlyphTops {
  int32_t top;
  std::initializer_list<std::pair<uint8_t, uint8_t>> ranges;
};

const tGlyphTops kDefaultGlyphTops[] = {
    {3, {{33, 35},   {37, 42},   {47, 57},   {63, 93},   {98, 98},   {100, 100}, {102, 102}, {104, 108},
         {123, 126}, {145, 146}, {161, 161}, {163, 170}, {174, 174}, {176, 176}, {178, 179}, {182, 182},
         {185, 186}, {188, 191}, {198, 199}, {208, 208}, {216, 216}, {222, 223}, {227, 227}, {236, 238},
         {240, 241}, {245, 245}, {254, 254}}},
    {2, {{36, 36}, {94, 94}, {96, 96}, {180, 180}, {224, 226}, {232, 234}, {242, 244}, {249, 251}, {253, 253}}},
    {6, {{43, 43},
         {61, 61},
         {97, 97},
         {99, 99},
         {101, 101},
         {103, 103},
         {109, 115},
         {117, 122},
         {162, 162},
         {215, 215},
         {230, 231},
         {247, 248}}},
    {12, {{44, 44}, {46, 46}, {184, 184}}},
    {8, {{45, 45}, {171, 171}, {173, 173}, {183, 183}, {187, 187}}},
    {7, {{58, 59}, {172, 172}, {181, 181}}},
    {4, {{60, 60}, {62, 62}, {116, 116}, {127, 144}, {147, 159}, {228, 228}, {235, 235}, {239, 239},
         {246, 246}, {252, 252}, {255, 255}}},
    {15, {{95, 95}}},
    {0, {{175, 175}, {192, 195}, {197, 197}, {200, 202}, {204, 206}, {209, 213}, {217, 219}, {221, 221}}},
    {5, {{177, 177}}},
    {1, {{196, 196}, {203, 203}, {207, 207}, {214, 214}, {220, 220}, {229, 229}}},
};

}  // namespace

LumoFontNode* LumoEngine::CreateDefaultFont() {
  if (!FontList) {
    return nullptr;
  }
  SetDefaultFont(FontList->ConfigureFont("Font", 16, 6, 3, 14));
  if (DefaultFont != nullptr) {
    for (const tGlyphTops& row : kDefaultGlyphTops) {
      for (const auto& [first, last] : row.ranges) {
        for (uint32_t code = first; code <= last; ++code) {
          DefaultFont->LoadFontAtTop(row.top, code, 0);
        }
      }
    }
  }
  if (Font == nullptr) {
    SetFont(DefaultFont);
  }
  return DefaultFont;
}

// ---- Cursor ----

void LumoEngine::ShowCursor(bool show) {
  if (show) {
    if (CursorCount++ == 0 && Mouse != nullptr) {
      Mouse->Select();
      EnableCursor();
    }
    return;
  }
  if (CursorCount > 0 && --CursorCount == 0 && Mouse != nullptr) {
    DisableCursor();
  }
}

void LumoEngine::SetCursorCount(uint32_t count) {
  CursorCount = count;
  if (Mouse == nullptr) {
    return;
  }
  if (count > 0) {
    EnableCursor();
  } else {
    DisableCursor();
  }
}

LumoMouseNode* LumoEngine::SetMouse(LumoMouseNode* mouse) {
  if (mouse == nullptr || mouse == Mouse || mouse->Data == 0 || !MouseList || mouse->parent != MouseList.get()) {
    return nullptr;
  }
  if (Mouse != nullptr) {
    RemoveReference(Mouse);
    Mouse = nullptr;
  }
  if (AddReference(mouse) == nullptr) {
    return nullptr;
  }
  Mouse = mouse;
  Mouse->Select();
  return Mouse;
}

LumoMouseNode* LumoEngine::GetMouse(const char* name) {
  if (!MouseList) {
    return nullptr;
  }
  // A node whose cursor cannot be loaded is destroyed by the lookup.
  auto* mouse = dynamic_cast<LumoMouseNode*>(MouseList->GetLoaded(name));
  if (mouse != nullptr && Mouse == nullptr) {
    SetMouse(mouse);
  }
  return mouse;
}

LumoMouseNode* LumoEngine::GetFirstMouse() const {
  return MouseList ? dynamic_cast<LumoMouseNode*>(MouseList->first) : nullptr;
}

int32_t LumoEngine::GetJoystickCount() const { return JoystickList ? JoystickList->Count : 0; }

LumoJoystickNode* LumoEngine::FindJoystick(uint32_t id) const {
  return JoystickList ? dynamic_cast<LumoJoystickNode*>(JoystickList->FindByID(id)) : nullptr;
}

template <typename Visit>
void LumoEngine::ForEachFileType(Visit&& visit) {
  for (int32_t id = GetFirstStandardFileInfo(); id <= GetLastStandardFileInfo(); ++id) {
    visit(id);
  }
  const int32_t lastCustom = GetLastCustomFileInfo();
  if (lastCustom != 0) {
    for (int32_t id = GetFirstCustomFileInfo(); id <= lastCustom; ++id) {
      visit(id);
    }
  }
}

void LumoEngine::LoadFileIcons(bool reload) {
  if (!GraphicList || (!reload && GetIconData(GetFirstStandardFileInfo()) != nullptr)) {
    return;
  }
  ForEachFileType([&](int32_t id) {
    char name[260] = "";
    if (!GetIconName(id, name) || name[0] == '\0') {
      return;
    }
    LumoGraphicNode* node = GraphicList->FindGraphic(name);
    const bool found = node != nullptr && node->Data != 0;
    SetIconData(id, found ? node->Graphic() : nullptr);
    if (found) {
      node->SetTransparent();
    }
  });
}

// The icons are graphics of the engine's list: the file types must not keep
// them once the list is gone.
void LumoEngine::ForgetFileIcons() {
  if (!GraphicList) {
    return;
  }
  ForEachFileType([&](int32_t id) {
    void* icon = GetIconData(id);
    if (icon != nullptr && GraphicList->FindByData(reinterpret_cast<uintptr_t>(icon)) != nullptr) {
      SetIconData(id, nullptr);
    }
  });
}

LumoGraphicNode* LumoEngine::ShowCentredGraphic(const char* name) {
  if (!Busy || !GraphicList) {
    return nullptr;
  }
  LumoGraphicNode* node = GraphicList->FindGraphic(name);
  if (node == nullptr || node->Data == 0) {
    return nullptr;
  }
  BeginScreenUpdate();
  node->RenderTo(ScreenViewport, ScreenWidth / 2 - node->Width / 2, ScreenHeight / 2 - node->Height / 2);
  EndScreenUpdate();
  return node;
}

LumoGraphicNode* LumoEngine::ShowCentredGraphicOnFill(const char* name, const sRGB& colour) {
  if (!Busy) {
    return nullptr;
  }
  FillViewport(ScreenViewport, colour);
  return ShowCentredGraphic(name);
}

void LumoEngine::QueryCursorPosition(int32_t& x, int32_t& y) { GetCursorPosition(x, y); }

void LumoEngine::SetCursorPosition(int32_t x, int32_t y) { ::SetCursorPosition(x, y); }

// ---- Input ----

bool LumoEngine::HandleInput(const char* handler, tInputKind kind, tInputEvent* event) {
  return RunGuarded([&] { return DeliverToSprite(kind, event); }, [&] {
    const auto* sprite = static_cast<const tObject*>(event != nullptr ? event->User : nullptr);
    DebugPrint("LumoEngine::%s() Unhandled exception (Key=%X, Flags=%08X, X=%i, Y=%i, Z=%i, Sprite=%p:%s)\n", handler,
               event != nullptr ? static_cast<unsigned>(event->Code) : 0u, event != nullptr ? event->Flags : 0u,
               event != nullptr ? event->X : 0, event != nullptr ? event->Y : 0, event != nullptr ? event->Z : 0,
               DebugAddress(sprite), DebugClassName(sprite));
  });
}

// Regions of the framework carry their sprite (as an object) as the user
// value. The sprite must take input and have the event's gate flag on; mouse
// and joystick events first hit-test the point in cell coordinates (stored
// in MouseOver) and are delivered whatever the result, and a mouse leaving
// clears MouseOver.
bool LumoEngine::DeliverToSprite(tInputKind kind, tInputEvent* event) {
  if (event == nullptr || event->User == nullptr) {
    return false;
  }
  auto* sprite = dynamic_cast<LumoSprite*>(static_cast<tObject*>(event->User));
  if (sprite == nullptr || !sprite->CanReceiveInput()) {
    return false;
  }
  bool gate = false;
  bool hitTest = false;
  switch (kind) {
    case tInputKind::KeyDown:
    case tInputKind::KeyUp:
    case tInputKind::Character:
      gate = sprite->KeyboardInput;
      break;
    case tInputKind::MouseLeave:
      gate = sprite->MouseInput;
      break;
    case tInputKind::JoystickButtonDown:
    case tInputKind::JoystickButtonUp:
    case tInputKind::JoystickMove:
      gate = sprite->JoystickInput;
      hitTest = true;
      break;
    default:
      gate = sprite->MouseInput;
      hitTest = true;
      break;
  }
  if (!gate) {
    return false;
  }
  if (hitTest) {
    sprite->HitTest(sprite->ScreenToCellX(event->X), sprite->ScreenToCellY(event->Y));
  } else if (kind == tInputKind::MouseLeave) {
    sprite->MouseOver = false;
  }
  switch (kind) {
    case tInputKind::KeyDown:
      return sprite->KeyDown(event);
    case tInputKind::KeyUp:
      return sprite->KeyUp(event);
    case tInputKind::Character:
      return sprite->KeyPress(event);
    case tInputKind::Click:
      return sprite->MouseClick(event);
    case tInputKind::DoubleClick:
      return sprite->MouseDoubleClick(event);
    case tInputKind::ButtonDown:
      return sprite->MouseDown(event);
    case tInputKind::ButtonUp:
      return sprite->MouseUp(event);
    case tInputKind::MouseMove:
      return sprite->MouseMove(event);
    case tInputKind::MouseEnter:
      return sprite->MouseEnter(event);
    case tInputKind::MouseLeave:
      return sprite->MouseLeave(event);
    case tInputKind::JoystickButtonDown:
      return sprite->JoyDown(event);
    case tInputKind::JoystickButtonUp:
      return sprite->JoyUp(event);
    case tInputKind::JoystickMove:
      return sprite->JoyMove(event);
  }
  return false;
}

bool LumoEngine::OnKeyDown(tInputEvent* event) { return HandleInput("OnKeyDown", tInputKind::KeyDown, event); }
bool LumoEngine::OnKeyUp(tInputEvent* event) { return HandleInput("OnKeyUp", tInputKind::KeyUp, event); }
bool LumoEngine::OnKeyPress(tInputEvent* event) { return HandleInput("OnKeyPress", tInputKind::Character, event); }
bool LumoEngine::OnMouseClick(tInputEvent* event) { return HandleInput("OnMouseClick", tInputKind::Click, event); }
bool LumoEngine::OnMouseDoubleClick(tInputEvent* event) {
  return HandleInput("OnMouseDoubleClick", tInputKind::DoubleClick, event);
}
bool LumoEngine::OnMouseDown(tInputEvent* event) { return HandleInput("OnMouseDown", tInputKind::ButtonDown, event); }
bool LumoEngine::OnMouseUp(tInputEvent* event) { return HandleInput("OnMouseUp", tInputKind::ButtonUp, event); }
bool LumoEngine::OnMouseMove(tInputEvent* event) { return HandleInput("OnMouseMove", tInputKind::MouseMove, event); }
bool LumoEngine::OnMouseEnter(tInputEvent* event) {
  return HandleInput("OnMouseEnter", tInputKind::MouseEnter, event);
}
bool LumoEngine::OnMouseLeave(tInputEvent* event) {
  return HandleInput("OnMouseLeave", tInputKind::MouseLeave, event);
}
bool LumoEngine::OnJoyDown(tInputEvent* event) {
  return HandleInput("OnJoyDown", tInputKind::JoystickButtonDown, event);
}
bool LumoEngine::OnJoyUp(tInputEvent* event) { return HandleInput("OnJoyUp", tInputKind::JoystickButtonUp, event); }
bool LumoEngine::OnJoyMove(tInputEvent* event) { return HandleInput("OnJoyMove", tInputKind::JoystickMove, event); }

// ---- Dumps ----

void LumoEngine::DebugDump(bool deep) {
  if (GetDebugMode() == DebugModeOff) {
    return;
  }
  RunGuarded(
      [&] {
        DebugPrint("DUMP: Dumping the engine data...\n");
        DebugPrint("DUMP: %s (Level=%p, NewLevel=%p, Mouse=%p", GetClassName(), DebugAddress(Level),
                   DebugAddress(NewLevel), static_cast<const void*>(Mouse));
        if (Mouse != nullptr) {
          DebugPrint(":%s", Mouse->GetClassName());
        }
        DebugPrint(", Font=%p", static_cast<const void*>(Font));
        if (Font != nullptr) {
          DebugPrint(":%s", Font->GetClassName());
        }
        DebugPrint(", FramesPerPulse=%i, PulseDuration=%i, Developing=%i, FrameCounter=%i)\n",
                   static_cast<int>(FramesPerPulse), static_cast<int>(PulseDuration), Developing ? 1 : 0,
                   static_cast<int>(FrameCounter));
        if (GraphicList) {
          GraphicList->DebugDump(deep);
        }
        if (MouseList) {
          MouseList->DebugDump(deep);
        }
        if (FontList) {
          FontList->DebugDump(deep);
        }
        if (JoystickList) {
          JoystickList->DebugDump(deep);
        }
        if (DisposalList) {
          DisposalList->DebugDump(deep);
        }
        DebugPrint("DUMP: End of the engine data \n");
        DebugPrint("DUMP: Continuing to dump the level list...\n");
        VisitItems([&](LumoNode* level) {
          level->DebugDump(deep);
          return false;
        });
        DebugPrint("DUMP: End of the level list\n");
      },
      [&] { ReportEngineFault("LumoEngine::DebugDump() Unhandled exception"); });
}

void LumoEngine::DebugSystem() {
  if (GetDebugMode() == DebugModeOff || Level == nullptr) {
    return;
  }
  RunGuarded(
      [&] {
        Level->DebugDump(true);
        if (GetDebugLevel() != DebugLevelMaximum) {
          return;
        }
        const bool wasAnimating = Animating;
        const bool cursorShown = CursorCount > 0;
        if (wasAnimating) {
          PauseAnimation();
        }
        if (cursorShown) {
          HideCursor();
        }
        SetBusy(true);
        ShowCentredGraphic("Debug");
        DebugDump(false);
        SetBusy(false);
        if (cursorShown) {
          ShowCursor(true);
        }
        if (wasAnimating) {
          ResumeAnimation();
        }
      },
      [&] { ReportEngineFault("LumoEngine::DebugSystem() Unhandled exception"); });
}

// ---- Free functions ----

namespace {

// Ends a fault that the guards of a callback from the run-time system
// reported and passed on: nothing above the callback would catch it, and
// a failing frame or event must not end the program.
void ReportCallbackFault(const char* callback) {
  DebugPrint("%s Unhandled exception, ignored (Engine=%p:%s)\n", callback, DebugAddress(Engine),
             DebugClassName(Engine));
}

template <bool (LumoEngine::*Handler)(tInputEvent*)>
bool Forward(const char* callback, tInputEvent* event) {
  if (Engine == nullptr) {
    return false;
  }
  try {
    return (Engine->*Handler)(event);
  } catch (...) {
    ReportCallbackFault(callback);
    return false;
  }
}

}  // namespace

void EnginePulse() {
  if (Engine == nullptr) {
    return;
  }
  try {
    Engine->Timer();
  } catch (...) {
    ReportCallbackFault("EnginePulse()");
  }
}

bool QueryGameTermination() {
  if (Engine == nullptr) {
    return true;
  }
  try {
    return Engine->QueryClose();
  } catch (...) {
    // A query that failed keeps the game: closing on a fault could lose it.
    ReportCallbackFault("QueryGameTermination()");
    return false;
  }
}

void StoreLevelMemory() {
  if (Engine == nullptr || Engine->Level == nullptr) {
    return;
  }
  try {
    Engine->Level->StoreMemory();
  } catch (...) {
    ReportCallbackFault("StoreLevelMemory()");
  }
}

void RestoreLevelMemory() {
  if (Engine == nullptr || Engine->Level == nullptr) {
    return;
  }
  try {
    Engine->Level->RestoreMemory();
  } catch (...) {
    ReportCallbackFault("RestoreLevelMemory()");
  }
}

bool ForwardKeyDown(tInputEvent* event) { return Forward<&LumoEngine::OnKeyDown>("ForwardKeyDown()", event); }
bool ForwardKeyUp(tInputEvent* event) { return Forward<&LumoEngine::OnKeyUp>("ForwardKeyUp()", event); }
bool ForwardKeyPress(tInputEvent* event) { return Forward<&LumoEngine::OnKeyPress>("ForwardKeyPress()", event); }
bool ForwardMouseClick(tInputEvent* event) {
  return Forward<&LumoEngine::OnMouseClick>("ForwardMouseClick()", event);
}
bool ForwardMouseDoubleClick(tInputEvent* event) {
  return Forward<&LumoEngine::OnMouseDoubleClick>("ForwardMouseDoubleClick()", event);
}
bool ForwardMouseDown(tInputEvent* event) { return Forward<&LumoEngine::OnMouseDown>("ForwardMouseDown()", event); }
bool ForwardMouseUp(tInputEvent* event) { return Forward<&LumoEngine::OnMouseUp>("ForwardMouseUp()", event); }
bool ForwardMouseMove(tInputEvent* event) { return Forward<&LumoEngine::OnMouseMove>("ForwardMouseMove()", event); }
bool ForwardMouseEnter(tInputEvent* event) {
  return Forward<&LumoEngine::OnMouseEnter>("ForwardMouseEnter()", event);
}
bool ForwardMouseLeave(tInputEvent* event) {
  return Forward<&LumoEngine::OnMouseLeave>("ForwardMouseLeave()", event);
}
bool ForwardJoyDown(tInputEvent* event) { return Forward<&LumoEngine::OnJoyDown>("ForwardJoyDown()", event); }
bool ForwardJoyUp(tInputEvent* event) { return Forward<&LumoEngine::OnJoyUp>("ForwardJoyUp()", event); }
bool ForwardJoyMove(tInputEvent* event) { return Forward<&LumoEngine::OnJoyMove>("ForwardJoyMove()", event); }

bool PopulateObject(LumoList* list) {
  if (list == nullptr) {
    return false;
  }
  list->Populate();
  return true;
}

void DestroyEngine() {
  LumoEngine* engine = Engine;
  DestroyObject(engine);
  Engine = nullptr;
}

tInformation EngineInformation = {sizeof(tInformation), kInformationSignature, 0x01070800, nullptr, nullptr,
                                  nullptr, nullptr, nullptr};

void InitInformation() {
  EngineInformation.language = "English";
  EngineInformation.terminateQuery = QueryGameTermination;
  EngineInformation.buildKind = "release";
  EngineInformation.taskSwitch = StoreLevelMemory;
  EngineInformation.restore = RestoreLevelMemory;
}

namespace {
const bool informationInitialised = (InitInformation(), true);
}  // namespace
