#include "framework/LumoSprite.h"

#include <new>
#include <vector>

#include "base/DebugFormat.h"
#include "base/LumoClass.h"
#include "base/LumoStream.h"
#include "framework/LumoCell.h"
#include "framework/LumoDesktop.h"
#include "framework/LumoEngine.h"
#include "framework/LumoLevel.h"
#include "framework/LumoSequenceList.h"
#include "framework/LumoSequenceNode.h"
#include "framework/LumoSoundList.h"
#include "framework/LumoMovieList.h"
#include "framework/LumoMovieNode.h"
#include "framework/LumoSoundNode.h"
#include "runtime/Cursor.h"
#include "runtime/Graphics.h"

LumoSprite::LumoSprite() : Body(new LumoBody) {
  Body->Sprite = this;
  // The sound list is referenced: a sprite may outlive its level's sources.
  if (Engine != nullptr && Engine->Level != nullptr && Engine->Level->SoundList &&
      AddReference(Engine->Level->SoundList.get()) != nullptr) {
    SoundList = Engine->Level->SoundList.get();
  }
}

const char* LumoSprite::GetClassName() const { return "LumoSprite"; }

void LumoSprite::DoFree() {
  Body.reset();
  LumoAnimator::DoFree();
}

void LumoSprite::OnAbortReferenceTo(LumoObject* other) {
  LumoAnimator::OnAbortReferenceTo(other);
  if (other != nullptr && other == OwnerBody) {
    OwnerBody = nullptr;
  }
  if (other == nullptr) {
    return;
  }
  if (other == SoundList) {
    SoundList = nullptr;
  }
  if (other == DropTarget) {
    DropTarget = nullptr;
  }
  if (other == Movie) {
    Movie = nullptr;
  }
  if (other == SavedNeighbour) {
    SavedNeighbour = nullptr;
  }
  if (other == SavedCell) {
    SavedCell = nullptr;
  }
  if (other == DragCell) {
    DragCell = nullptr;
  }
}

void LumoSprite::DoClear() {
  LumoAnimator::DoClear();
  if (Body) {
    Body->Clear();
  }
  SetSequence(nullptr);
}

void LumoSprite::DoAttach(LumoNode* item) {
  LumoAnimator::DoAttach(item);
  if (SequenceList == nullptr) {
    if (auto* sequence = dynamic_cast<LumoSequenceList*>(item)) {
      SetSequence(sequence);
    }
  }
}

void LumoSprite::DoDetach(LumoNode* item) {
  LumoAnimator::DoDetach(item);
  if (item == nullptr || item != SequenceList) {
    return;
  }
  for (LumoNode* other = first; other != nullptr; other = other->next) {
    if (other != item) {
      if (auto* sequence = dynamic_cast<LumoSequenceList*>(other)) {
        SetSequence(sequence);
        return;
      }
    }
  }
  SequenceList = nullptr;
  SequenceNode = nullptr;
  Changed = true;
}

LumoNode* LumoSprite::CreateItem() { return new (std::nothrow) LumoSequenceList; }

void LumoSprite::SetSequence(LumoSequenceList* sequence) {
  Changed = true;
  if (sequence != nullptr) {
    // An animating sprite changes sounds with its sequence: the old sound
    // stops and the new one plays for this sprite.
    if (Animating && SequenceList != nullptr && SequenceList->Sound() != sequence->Sound()) {
      if (LumoSoundNode* old = SequenceList->Sound()) {
        old->Stop();
      }
      SequenceList = sequence;
      ResetSequence(false);
      if (LumoSoundNode* sound = SequenceList != nullptr ? SequenceList->Sound() : nullptr) {
        sound->Play(this);
      }
      return;
    }
    SequenceList = sequence;
    ResetSequence(false);
  } else {
    SequenceList = nullptr;
    SetSequenceNode(nullptr);
  }
}

void LumoSprite::ResetSequence(bool toFirst) {
  if (toFirst) {
    SetSequence(dynamic_cast<LumoSequenceList*>(first));
  } else if (SequenceList != nullptr) {
    SequenceCounter = SequenceList->Repeats;
    SetSequenceNode(static_cast<LumoSequenceNode*>(SequenceList->first));
  }
}

void LumoSprite::SetSequenceNode(LumoSequenceNode* node) {
  Changed = true;
  if (node != nullptr) {
    DurationCounter = static_cast<int32_t>(node->Duration);
  }
  SequenceNode = node;
}

void LumoSprite::SetSequenceCounters(int32_t repeats, int32_t duration) {
  SequenceCounter = repeats < 0 ? -1 : repeats;
  DurationCounter = duration;
}

void LumoSprite::SetPosition(int32_t left, int32_t top) {
  if (left == Left && top == Top) {
    return;
  }
  if (Body) {
    // Positions are kept in 32 bits: a distance wraps as the positions do.
    const int32_t dx = static_cast<int32_t>(static_cast<uint32_t>(left) - static_cast<uint32_t>(Left));
    const int32_t dy = static_cast<int32_t>(static_cast<uint32_t>(top) - static_cast<uint32_t>(Top));
    Body->VisitItems([&](LumoNode* part) {
      if (LumoSprite* sprite = LumoBody::SpriteOf(part)) {
        sprite->MoveBy(dx, dy);
      }
      return false;
    });
  }
  Changed = true;
  Left = left;
  Top = top;
}

void LumoSprite::MoveBy(int32_t dx, int32_t dy) {
  SetPosition(static_cast<int32_t>(static_cast<uint32_t>(Left) + static_cast<uint32_t>(dx)),
              static_cast<int32_t>(static_cast<uint32_t>(Top) + static_cast<uint32_t>(dy)));
}

void LumoSprite::MoveRelativeToOwner(int32_t dx, int32_t dy) {
  if (OwnerBody == nullptr || OwnerBody->Sprite == nullptr) {
    return;
  }
  const LumoSprite* owner = OwnerBody->Sprite;
  SetPosition(static_cast<int32_t>(static_cast<uint32_t>(owner->Left) + static_cast<uint32_t>(dx)),
              static_cast<int32_t>(static_cast<uint32_t>(owner->Top) + static_cast<uint32_t>(dy)));
}

void LumoSprite::GetSequenceSize(int32_t& width, int32_t& height) {
  width = 0;
  height = 0;
  if (SequenceList != nullptr) {
    SequenceList->GetMaximumSize(width, height);
  }
}

void LumoSprite::GetBounds(int32_t& left, int32_t& top, int32_t& width, int32_t& height, bool withBody,
                           bool allSequences) {
  if (!allSequences) {
    if (SequenceList != nullptr) {
      SequenceList->GetBounds(left, top, width, height);
    }
  } else {
    for (LumoNode* item = first; item != nullptr; item = item->next) {
      if (auto* sequence = dynamic_cast<LumoSequenceList*>(item)) {
        sequence->GetBounds(left, top, width, height);
      }
    }
  }
  if (withBody && Body) {
    Body->VisitItems([&](LumoNode* part) {
      if (LumoSprite* sprite = LumoBody::SpriteOf(part)) {
        sprite->GetBounds(left, top, width, height, true, allSequences);
      }
      return false;
    });
  }
}

void LumoSprite::SetActualBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
  ActualLeft = left;
  ActualTop = top;
  ActualWidth = width;
  ActualHeight = height;
  // The region follows the new rectangle.
  SetInput(Input);
  Changed = false;
}

uint32_t LumoSprite::SetDefaultFramesPerPulse(uint32_t frames) {
  return DefaultFramesPerPulse = frames != 0 ? frames : 1;
}

LumoSequenceList* LumoSprite::AppendSequence(uint32_t framesPerPulse, int32_t repeats) {
  auto* sequence = dynamic_cast<LumoSequenceList*>(CreateItem());
  if (sequence == nullptr) {
    return nullptr;
  }
  sequence->SetFramesPerPulse(framesPerPulse != 0 ? framesPerPulse : DefaultFramesPerPulse);
  sequence->SetRepeats(repeats);
  if (Append(sequence) == nullptr) {
    DestroyObject(sequence);
    return nullptr;
  }
  return sequence;
}

LumoSequenceList* LumoSprite::AppendSequenceWithSound(const char* name, int32_t soundRepeats, uint32_t framesPerPulse,
                                                      int32_t repeats) {
  LumoSequenceList* sequence = AppendSequence(framesPerPulse, repeats);
  if (sequence == nullptr || SoundList == nullptr) {
    return sequence;
  }
  sequence->SetName(name);
  if (auto* sound = dynamic_cast<LumoSoundNode*>(SoundList->GetLoaded(name))) {
    sequence->SetSound(sound);
    sound->SetRepeats(soundRepeats);
  }
  return sequence;
}

void LumoSprite::DoPlaySound() {}
void LumoSprite::DoStopSound() {}
void LumoSprite::DoPauseSound() {}
void LumoSprite::DoResumeSound() {}
void LumoSprite::DoPlayMovie() {}
void LumoSprite::DoStopMovie() {}
void LumoSprite::DoPauseMovie() {}
void LumoSprite::DoResumeMovie() {}
void LumoSprite::OnPlaySound() {}
void LumoSprite::OnStopSound() {}
void LumoSprite::OnPauseSound() {}
void LumoSprite::OnResumeSound() {}
void LumoSprite::OnPlayMovie() {}
void LumoSprite::OnStopMovie() {}
void LumoSprite::OnPauseMovie() {}
void LumoSprite::OnResumeMovie() {}

// ---- Helpers ----

namespace {

// Positions are kept in 32 bits and wrap as they do.
int32_t Add(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}
int32_t Sub(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}

// The attached sprites of a body, in body order.
std::vector<LumoSprite*> PartsOf(LumoBody* body) {
  std::vector<LumoSprite*> parts;
  if (body != nullptr) {
    body->VisitItems([&](LumoNode* part) {
      if (LumoSprite* sprite = LumoBody::SpriteOf(part)) {
        parts.push_back(sprite);
      }
      return false;
    });
  }
  return parts;
}

}  // namespace

void LumoSprite::ReportSpriteFault(const char* operation, const char* hook) const {
  DebugPrint("LumoSprite::%s() Unhandled exception during %s() (Sprite=%p:%s)\n", operation, hook,
             DebugAddress(this), DebugClassName(this));
}

LumoCell* LumoSprite::Cell() const { return dynamic_cast<LumoCell*>(parent); }

int32_t LumoSprite::ScreenToCellX(int32_t x) const {
  const LumoCell* cell = Cell();
  return cell != nullptr ? Sub(Add(x, cell->OffsetX), cell->Left) : x;
}
int32_t LumoSprite::ScreenToCellY(int32_t y) const {
  const LumoCell* cell = Cell();
  return cell != nullptr ? Sub(Add(y, cell->OffsetY), cell->Top) : y;
}
int32_t LumoSprite::CellToScreenX(int32_t x) const {
  const LumoCell* cell = Cell();
  return cell != nullptr ? Add(Sub(x, cell->OffsetX), cell->Left) : x;
}
int32_t LumoSprite::CellToScreenY(int32_t y) const {
  const LumoCell* cell = Cell();
  return cell != nullptr ? Add(Sub(y, cell->OffsetY), cell->Top) : y;
}

// ---- Animation ----

void LumoSprite::DoTimer() {}
void LumoSprite::DoSelectFrame() {}

bool LumoSprite::IsFrameDue() {
  if (SequenceList == nullptr) {
    return false;
  }
  const uint32_t engineRate = Engine != nullptr ? Engine->FramesPerPulse : LumoEngine::kDefaultFramesPerPulse;
  const uint32_t rate = SequenceList->FramesPerPulse;
  const uint32_t quotient = rate != 0 ? engineRate / rate : 0;
  // A rate of 0 stands for the engine's, and one above it cannot be
  // reached: every frame is due.
  return quotient == 0 || Frame % quotient == 0;
}

void LumoSprite::DoPrepareFrame() {
  Move();
  if (!Dragging) {
    return;
  }
  int32_t x = 0;
  int32_t y = 0;
  GetCursorPosition(x, y);
  SetPosition(Sub(ScreenToCellX(x), GrabOffsetX), Sub(ScreenToCellY(y), GrabOffsetY));
  const auto report = [&](const char* hook) {
    DebugPrint("LumoSprite::DoPrepareFrame() Unhandled exception during %s() (X=%i, Y=%i, Sprite=%p:%s)\n", hook, x,
               y, DebugAddress(this), DebugClassName(this));
  };
  RunGuarded([&] { DoDragging(x, y); }, [&] { report("DoDragging"); });
  RunGuarded([&] { OnDragging(x, y); }, [&] { report("OnDragging"); });
}

void LumoSprite::DoAnimateFrame() {
  LumoGraphicNode* graphic = SequenceNode != nullptr ? SequenceNode->Graphic() : nullptr;
  if (graphic == nullptr) {
    return;
  }
  const int32_t frameLeft = Add(Left, SequenceNode->Left);
  const int32_t frameTop = Add(Top, SequenceNode->Top);
  if (Changed) {
    SetActualBounds(Add(frameLeft, graphic->Left), Add(frameTop, graphic->Top), graphic->Width, graphic->Height);
  }
  const LumoCell* cell = Cell();
  if (!Invisible && cell != nullptr && cell->Viewport() != nullptr) {
    graphic->RenderTo(cell->Viewport(), Sub(frameLeft, cell->OffsetX), Sub(frameTop, cell->OffsetY));
  }
  if (Region() != nullptr) {
    OrderRegion(Region());
  }
}

void LumoSprite::DoNextFrame() {
  Moved();
  if (--DurationCounter > 0 || SequenceList == nullptr) {
    return;
  }
  if (SequenceNode != nullptr) {
    if (auto* successor = dynamic_cast<LumoSequenceNode*>(SequenceNode->next)) {
      SetSequenceNode(successor);
      return;
    }
  }
  if (SequenceCounter >= 0) {
    --SequenceCounter;
    if (SequenceCounter < 1) {
      StopAnimation();
      return;
    }
  }
  SetSequenceNode(dynamic_cast<LumoSequenceNode*>(SequenceList->first));
}

bool LumoSprite::CanStartAnimation() {
  if (Cell() == nullptr) {
    DebugPrint("LumoSprite::CanStartAnimation() The sprite is not appended to a cell (Sprite=%p:%s)\n",
               DebugAddress(this), DebugClassName(this));
    return false;
  }
  if (SequenceList == nullptr) {
    if (first != nullptr) {
      DebugPrint("LumoSprite::CanStartAnimation() No sequence list set (Sprite=%p:%s)\n", DebugAddress(this),
                 DebugClassName(this));
    }
    return false;
  }
  if (SequenceList->Repeats == 0) {
    DebugPrint("LumoSprite::CanStartAnimation() No repeat behaviour set (Sprite=%p:%s, SequenceList=%p:%s)\n",
               DebugAddress(this), DebugClassName(this), DebugAddress(SequenceList), DebugClassName(SequenceList));
    return false;
  }
  return true;
}

void LumoSprite::DoStartAnimation() {
  ResetSequence(false);
  if (Engine != nullptr && SequenceList != nullptr) {
    Engine->SetFramesPerPulse(SequenceList->FramesPerPulse);
  }
}

void LumoSprite::AfterStartAnimation() {
  for (LumoSprite* part : PartsOf(Body.get())) {
    part->StartAnimation();
  }
  if (LumoSoundNode* sound = SequenceList != nullptr ? SequenceList->Sound() : nullptr) {
    sound->Play(this);
  }
}

bool LumoSprite::CanStopAnimation() { return SequenceList != nullptr; }

void LumoSprite::DoStopAnimation() {
  if (LumoSoundNode* sound = SequenceList != nullptr ? SequenceList->Sound() : nullptr) {
    sound->Stop();
  }
  for (LumoSprite* part : PartsOf(Body.get())) {
    part->StopAnimation();
  }
}

void LumoSprite::DoPauseAnimation() {
  for (LumoSprite* part : PartsOf(Body.get())) {
    part->PauseAnimation();
  }
}
void LumoSprite::DoResumeAnimation() {
  for (LumoSprite* part : PartsOf(Body.get())) {
    part->ResumeAnimation();
  }
}
void LumoSprite::DoPreventAnimation() {
  for (LumoSprite* part : PartsOf(Body.get())) {
    part->PreventAnimation();
  }
}
void LumoSprite::DoForceAnimation() {
  for (LumoSprite* part : PartsOf(Body.get())) {
    part->ForceAnimation();
  }
}

// ---- Input region ----

void LumoSprite::SetInput(bool on) {
  if (on != Input) {
    Changed = true;
  }
  Input = on;
  if (!on) {
    return;
  }
  if (Region() == nullptr) {
    Reset();
  } else if (const LumoCell* cell = Cell()) {
    MoveRegion(Region(), CellToScreenX(ActualLeft), CellToScreenY(ActualTop), ActualWidth, ActualHeight);
    (void)cell;
  }
}

uintptr_t LumoSprite::Reset() {
  Unload();
  int32_t left = 0;
  int32_t top = 0;
  int32_t width = 1;
  int32_t height = 1;
  if (Cell() != nullptr) {
    left = CellToScreenX(ActualLeft);
    top = CellToScreenY(ActualTop);
    width = ActualWidth > 1 ? ActualWidth : 1;
    height = ActualHeight > 1 ? ActualHeight : 1;
  }
  // The region hands the sprite back, as an object, in every input event.
  Data = reinterpret_cast<uintptr_t>(
      CreateRegion(static_cast<void*>(static_cast<tObject*>(this)), left, top, width, height));
  return Data;
}

void LumoSprite::Unload() {
  if (Region() == nullptr) {
    return;
  }
  SetInput(false);
  DestroyRegion(Region());
  Data = 0;
}

bool LumoSprite::CanReceiveInput() {
  if (!Input || Region() == nullptr || !Animating || Engine == nullptr || !Engine->Animating) {
    return false;
  }
  const LumoCell* cell = Cell();
  if (cell == nullptr || !cell->Animating) {
    return false;
  }
  const auto* level = dynamic_cast<const LumoAnimator*>(cell->parent);
  return level != nullptr && level->Animating;
}

void LumoSprite::SetTransparencyCheck(bool on) { TransparencyCheck = on; }
void LumoSprite::SetKeyboardInput(bool on) { KeyboardInput = on; }
void LumoSprite::SetMouseInput(bool on) { MouseInput = on; }
void LumoSprite::SetJoystickInput(bool on) { JoystickInput = on; }
void LumoSprite::SetInvisible(bool on) { Invisible = on; }
void LumoSprite::SetModal(bool on) { Modal = on; }
void LumoSprite::SetDefaultInputResult(bool on) { DefaultInputResult = on; }
void LumoSprite::SetDropTarget(LumoSprite* target) { Keep(DropTarget, target); }
bool LumoSprite::AcceptsDrop(LumoSprite*) { return false; }
void LumoSprite::SetMovie(LumoMovieNode* movie) { Keep(Movie, movie); }

// ---- Hit test and overlap ----

bool LumoSprite::KeyTest(const tKeyData& key, int32_t x, int32_t y) {
  LumoGraphicNode* graphic = SequenceNode != nullptr ? SequenceNode->Graphic() : nullptr;
  if (graphic == nullptr || key.Mode == 0) {
    return false;
  }
  const int32_t gx = Sub(x, ActualLeft);
  const int32_t gy = Sub(y, ActualTop);
  // Outside the graphic there is no pixel to compare: it counts as keyed,
  // so only the picture itself is hit.
  if (gx < 0 || gy < 0 || gx >= graphic->Width || gy >= graphic->Height) {
    return true;
  }
  const uint32_t pixel = graphic->GetPixel(gx, gy);
  if (key.Mode == 1) {
    return pixel == ConvertRGB(key.Low);
  }
  return ConvertRGB(key.Low) <= pixel && pixel <= ConvertRGB(key.High);
}

bool LumoSprite::IsTransparentAt(int32_t x, int32_t y) { return KeyTest(SequenceNode != nullptr && SequenceNode->Graphic() != nullptr ? SequenceNode->Graphic()->SourceKey : tKeyData{}, x, y); }

bool LumoSprite::IsDestKeyAt(int32_t x, int32_t y) { return KeyTest(SequenceNode != nullptr && SequenceNode->Graphic() != nullptr ? SequenceNode->Graphic()->DestKey : tKeyData{}, x, y); }

uint32_t LumoSprite::PixelAt(int32_t x, int32_t y) {
  LumoGraphicNode* graphic = SequenceNode != nullptr ? SequenceNode->Graphic() : nullptr;
  return graphic != nullptr ? graphic->GetPixel(Sub(x, ActualLeft), Sub(y, ActualTop)) : 0;
}

bool LumoSprite::HitTest(int32_t x, int32_t y) {
  MouseOver = false;
  const LumoCell* cell = Cell();
  if (cell == nullptr) {
    return false;
  }
  const int64_t sx = CellToScreenX(x);
  const int64_t sy = CellToScreenY(y);
  if (sx < cell->Left || sx >= int64_t{cell->Left} + cell->Width || sy < cell->Top ||
      sy >= int64_t{cell->Top} + cell->Height) {
    return false;
  }
  LumoGraphicNode* graphic = SequenceNode != nullptr ? SequenceNode->Graphic() : nullptr;
  if (TransparencyCheck) {
    MouseOver = graphic == nullptr || graphic->SourceKey.Mode == 0 || !IsTransparentAt(x, y);
  } else if (graphic != nullptr) {
    const int64_t gx = int64_t{x} - ActualLeft;
    const int64_t gy = int64_t{y} - ActualTop;
    MouseOver = gx >= 0 && gx < graphic->Width && gy >= 0 && gy < graphic->Height;
  }
  return MouseOver;
}

void LumoSprite::ScreenBounds(int32_t& left, int32_t& top) const {
  left = CellToScreenX(ActualLeft);
  top = CellToScreenY(ActualTop);
}

bool LumoSprite::Overlaps(LumoSprite* other, bool withBody) {
  if (other == nullptr || other == this) {
    return false;
  }
  // Each rectangle goes to the screen through its own cell, so sprites of
  // cells with other viewports or offsets meet where they are seen.
  const auto overlap = [](const LumoSprite& a, const LumoSprite& b) {
    int32_t al = 0, at = 0, bl = 0, bt = 0;
    a.ScreenBounds(al, at);
    b.ScreenBounds(bl, bt);
    return int64_t{al} < int64_t{bl} + b.ActualWidth && int64_t{bl} < int64_t{al} + a.ActualWidth &&
           int64_t{at} < int64_t{bt} + b.ActualHeight && int64_t{bt} < int64_t{at} + a.ActualHeight;
  };
  if (overlap(*this, *other)) {
    return true;
  }
  if (withBody) {
    const std::vector<LumoSprite*> otherParts = PartsOf(other->Body.get());
    for (LumoSprite* part : PartsOf(Body.get())) {
      if (part != other && overlap(*part, *other)) {
        return true;
      }
      for (LumoSprite* otherPart : otherParts) {
        if (part != otherPart && overlap(*part, *otherPart)) {
          return true;
        }
      }
    }
  }
  return false;
}

// ---- Motion ----

void LumoSprite::SetMotion(int32_t horizontal, int32_t vertical) {
  MotionHorizontal = horizontal;
  MotionVertical = vertical;
}
void LumoSprite::SetMotionDuration(int32_t steps) { MotionDuration = MotionCounter = steps; }
void LumoSprite::SetMotionDelay(uint32_t frames) { MotionDelay = MotionDelayCounter = frames; }

void LumoSprite::StartMotion() {
  MotionCounter = MotionDuration;
  Moving = MotionDuration != 0;
  MotionDelayCounter = MotionDelay;
  SpriteGuarded("StartMotion", "DoStartMotion", [&] { DoStartMotion(); });
  SpriteGuarded("StartMotion", "OnStartMotion", [&] { OnStartMotion(); });
}

void LumoSprite::StopMotion() {
  if (!Moving) {
    return;
  }
  Moving = false;
  SpriteGuarded("StopMotion", "DoStopMotion", [&] { DoStopMotion(); });
  SpriteGuarded("StopMotion", "OnStopMotion", [&] { OnStopMotion(); });
}

void LumoSprite::Move() {
  if (!Moving || MotionDelayCounter != 0) {
    return;
  }
  SpriteGuarded("Move", "DoMove", [&] { DoMove(); });
  SpriteGuarded("Move", "OnMotion", [&] { OnMotion(); });
}

void LumoSprite::Moved() {
  if (!Moving) {
    return;
  }
  if (MotionDelayCounter > 0) {
    --MotionDelayCounter;
  } else {
    SpriteGuarded("Moved", "DoMoved", [&] { DoMoved(); });
  }
}

void LumoSprite::DoMove() { SetPosition(Add(Left, MotionHorizontal), Add(Top, MotionVertical)); }

void LumoSprite::DoMoved() {
  if (MotionCounter >= 1 && --MotionCounter == 0) {
    StopMotion();
  }
}

void LumoSprite::DoStartMotion() {}
void LumoSprite::DoStopMotion() {}
void LumoSprite::OnStartMotion() {}
void LumoSprite::OnStopMotion() {}
void LumoSprite::OnMotion() {}

// ---- Drawing order ----

LumoNode* LumoSprite::FollowWithBodyFrom(LumoNode* after) {
  LumoNode* lastPlaced = after;
  for (LumoSprite* part : PartsOf(Body.get())) {
    if (part->parent != parent || part == this) {
      continue;
    }
    if (lastPlaced != part && part->previous != lastPlaced) {
      part->LumoNode::MoveAfter(lastPlaced);
    }
    lastPlaced = part->FollowWithBodyFrom(part);
  }
  return lastPlaced;
}

void LumoSprite::FollowWithBody() { FollowWithBodyFrom(this); }

LumoNode* LumoSprite::MoveBefore(LumoNode* item) {
  LumoNode* moved = LumoAnimator::MoveBefore(item);
  if (moved != nullptr) {
    FollowWithBody();
  }
  return moved;
}

LumoNode* LumoSprite::MoveAfter(LumoNode* item) {
  LumoNode* moved = LumoAnimator::MoveAfter(item);
  if (moved != nullptr) {
    FollowWithBody();
  }
  return moved;
}

LumoNode* LumoSprite::MoveToFront() {
  if (parent == nullptr) {
    return nullptr;
  }
  if (parent->first == this) {
    return this;
  }
  LumoNode* moved = LumoAnimator::MoveBefore(parent->first);
  if (moved != nullptr) {
    FollowWithBody();
  }
  // A modal sprite sent under the others of its modal cell lets the input
  // through again: the cell's blocker is hidden.
  if (moved != nullptr && Modal) {
    if (auto* modal = dynamic_cast<LumoModalCell*>(parent); modal != nullptr && modal->Blocker != nullptr) {
      modal->Blocker->PreventAnimation();
    }
  }
  return moved;
}

LumoNode* LumoSprite::MoveToBack() {
  if (parent == nullptr) {
    return nullptr;
  }
  // A modal sprite brought to the top of its modal cell brings the cell to
  // the top of its level and shows the blocker under the modal sprites.
  if (Modal) {
    if (auto* modal = dynamic_cast<LumoModalCell*>(parent); modal != nullptr) {
      modal->MoveToBack();
      if (LumoSprite* blocker = modal->Blocker) {
        blocker->MoveToFront();
        blocker->ForceAnimation();
      }
    }
  }
  LumoNode* moved = this;
  if (parent->last != this) {
    moved = LumoAnimator::MoveAfter(parent->last);
  }
  if (moved != nullptr) {
    FollowWithBody();
  }
  return moved;
}

bool LumoSprite::SendMessage(int32_t message, LumoNode* target) {
  if (target == nullptr) {
    target = this;
  }
  if (auto* sprite = dynamic_cast<LumoSprite*>(target)) {
    const std::vector<LumoSprite*> parts = PartsOf(sprite->Body.get());
    for (auto part = parts.rbegin(); part != parts.rend(); ++part) {
      if ((*part)->SendMessage(message, *part)) {
        return true;
      }
    }
  }
  return LumoAnimator::SendMessage(message, target);
}

void LumoSprite::MoveToCell(LumoCell* cell) {
  LumoCell* old = Cell();
  if (cell == nullptr || old == nullptr) {
    return;
  }
  const int32_t screenLeft = CellToScreenX(Left);
  const int32_t screenTop = CellToScreenY(Top);
  old->Remove(this);
  cell->Append(this);
  for (LumoSprite* part : PartsOf(Body.get())) {
    part->MoveToCell(cell);
  }
  // The parts keep their own screen places already, so only the sprite's
  // own position changes here.
  const int32_t left = ScreenToCellX(screenLeft);
  const int32_t top = ScreenToCellY(screenTop);
  if (left != Left || top != Top) {
    Left = left;
    Top = top;
  }
  Changed = true;
}

// ---- Class record and stored properties ----

namespace {

// A stored field of the sprite. Unlike the generic record it refuses (logs
// and fails) a stream older than the field instead of skipping it: a sprite
// stored before these fields existed cannot be read.
template <bool (LumoSprite::*LoadField)(LumoStream*, const LumoProperty*),
          bool (LumoSprite::*SaveField)(LumoStream*, const LumoProperty*)>
class LumoSpriteProperty final : public LumoProperty {
 public:
  using LumoProperty::LumoProperty;

  bool Load(LumoStream* stream, LumoObject* object) const override {
    auto* sprite = dynamic_cast<LumoSprite*>(object);
    if (sprite == nullptr || !Current(stream, sprite)) {
      return false;
    }
    return (sprite->*LoadField)(stream, this);
  }
  bool Save(LumoStream* stream, LumoObject* object) const override {
    auto* sprite = dynamic_cast<LumoSprite*>(object);
    if (sprite == nullptr || !Current(stream, sprite)) {
      return false;
    }
    return (sprite->*SaveField)(stream, this);
  }

 private:
  bool Current(const LumoStream* stream, const LumoSprite* sprite) const {
    if (!IsNewerThan(stream)) {
      return true;
    }
    DebugPrint("LumoSprite::Load%s() The stream is older than the property (Version=%08X, Sprite=%p:%s)\n",
               fieldName, stream->version, DebugAddress(sprite), DebugClassName(sprite));
    return false;
  }
};

LumoClassOf<LumoSprite> classOfLumoSprite(kVersion_1_4_0_0, "LumoSprite", "LumoAnimator");
LumoSpriteProperty<&LumoSprite::LoadSequenceList, &LumoSprite::SaveSequenceList> LumoSprite_SequenceList(kVersion_1_4_0_0, PropertyPointer, "tPointer", "SequenceList");
LumoSpriteProperty<&LumoSprite::LoadSequenceNode, &LumoSprite::SaveSequenceNode> LumoSprite_SequenceNode(kVersion_1_4_0_0, PropertyPointer, "tPointer", "SequenceNode");
LumoSpriteProperty<&LumoSprite::LoadBody, &LumoSprite::SaveBody> LumoSprite_Body(kVersion_1_4_0_0, PropertyPointer, "tPointer", "Body");
LumoSpriteProperty<&LumoSprite::LoadMovie, &LumoSprite::SaveMovie> LumoSprite_Movie(kVersion_1_4_0_0, PropertyPointer, "tPointer", "Movie");
LumoSpriteProperty<&LumoSprite::LoadDefaultFramesPerPulse, &LumoSprite::SaveDefaultFramesPerPulse> LumoSprite_DefaultFramesPerPulse(kVersion_1_4_0_0, PropertyInteger, "tCardinal", "DefaultFramesPerPulse");
LumoSpriteProperty<&LumoSprite::LoadSequenceCounter, &LumoSprite::SaveSequenceCounter> LumoSprite_SequenceCounter(kVersion_1_4_0_0, PropertyInteger, "tInteger", "SequenceCounter");
LumoSpriteProperty<&LumoSprite::LoadDurationCounter, &LumoSprite::SaveDurationCounter> LumoSprite_DurationCounter(kVersion_1_4_0_0, PropertyInteger, "tInteger", "DurationCounter");
LumoSpriteProperty<&LumoSprite::LoadLeft, &LumoSprite::SaveLeft> LumoSprite_Left(kVersion_1_4_0_0, PropertyInteger, "tInteger", "Left");
LumoSpriteProperty<&LumoSprite::LoadTop, &LumoSprite::SaveTop> LumoSprite_Top(kVersion_1_4_0_0, PropertyInteger, "tInteger", "Top");
LumoSpriteProperty<&LumoSprite::LoadActualLeft, &LumoSprite::SaveActualLeft> LumoSprite_ActualLeft(kVersion_1_4_0_0, PropertyInteger, "tInteger", "ActualLeft");
LumoSpriteProperty<&LumoSprite::LoadActualTop, &LumoSprite::SaveActualTop> LumoSprite_ActualTop(kVersion_1_4_0_0, PropertyInteger, "tInteger", "ActualTop");
LumoSpriteProperty<&LumoSprite::LoadActualWidth, &LumoSprite::SaveActualWidth> LumoSprite_ActualWidth(kVersion_1_4_0_0, PropertyInteger, "tInteger", "ActualWidth");
LumoSpriteProperty<&LumoSprite::LoadActualHeight, &LumoSprite::SaveActualHeight> LumoSprite_ActualHeight(kVersion_1_4_0_0, PropertyInteger, "tInteger", "ActualHeight");
LumoSpriteProperty<&LumoSprite::LoadMotionHorizontal, &LumoSprite::SaveMotionHorizontal> LumoSprite_MotionHorizontal(kVersion_1_4_0_0, PropertyInteger, "tInteger", "MotionHorizontal");
LumoSpriteProperty<&LumoSprite::LoadMotionVertical, &LumoSprite::SaveMotionVertical> LumoSprite_MotionVertical(kVersion_1_4_0_0, PropertyInteger, "tInteger", "MotionVertical");
LumoSpriteProperty<&LumoSprite::LoadMotionDuration, &LumoSprite::SaveMotionDuration> LumoSprite_MotionDuration(kVersion_1_4_0_0, PropertyInteger, "tInteger", "MotionDuration");
LumoSpriteProperty<&LumoSprite::LoadMotionCounter, &LumoSprite::SaveMotionCounter> LumoSprite_MotionCounter(kVersion_1_4_0_0, PropertyInteger, "tInteger", "MotionCounter");
LumoSpriteProperty<&LumoSprite::LoadMotionDelay, &LumoSprite::SaveMotionDelay> LumoSprite_MotionDelay(kVersion_1_4_0_0, PropertyInteger, "tCardinal", "MotionDelay");
LumoSpriteProperty<&LumoSprite::LoadMotionDelayCounter, &LumoSprite::SaveMotionDelayCounter> LumoSprite_MotionDelayCounter(kVersion_1_4_0_0, PropertyInteger, "tCardinal", "MotionDelayCounter");
LumoSpriteProperty<&LumoSprite::LoadMoving, &LumoSprite::SaveMoving> LumoSprite_Moving(kVersion_1_4_0_0, PropertyBool, "tBool", "Moving");
LumoSpriteProperty<&LumoSprite::LoadInput, &LumoSprite::SaveInput> LumoSprite_Input(kVersion_1_4_0_0, PropertyPointer, "tPointer", "Input");
LumoSpriteProperty<&LumoSprite::LoadTransparencyCheck, &LumoSprite::SaveTransparencyCheck> LumoSprite_TransparencyCheck(kVersion_1_4_0_0, PropertyBool, "tBool", "TransparencyCheck");
LumoSpriteProperty<&LumoSprite::LoadMouseInput, &LumoSprite::SaveMouseInput> LumoSprite_MouseInput(kVersion_1_4_0_0, PropertyBool, "tBool", "MouseInput");
LumoSpriteProperty<&LumoSprite::LoadKeyboardInput, &LumoSprite::SaveKeyboardInput> LumoSprite_KeyboardInput(kVersion_1_4_0_0, PropertyBool, "tBool", "KeyboardInput");
LumoSpriteProperty<&LumoSprite::LoadJoystickInput, &LumoSprite::SaveJoystickInput> LumoSprite_JoystickInput(kVersion_1_4_0_0, PropertyBool, "tBool", "JoystickInput");
LumoSpriteProperty<&LumoSprite::LoadInvisible, &LumoSprite::SaveInvisible> LumoSprite_Invisible(kVersion_1_4_0_0, PropertyBool, "tBool", "Invisible");
LumoSpriteProperty<&LumoSprite::LoadModal, &LumoSprite::SaveModal> LumoSprite_Modal(kVersion_1_4_0_0, PropertyBool, "tBool", "Modal");
LumoSpriteProperty<&LumoSprite::LoadDefaultInputResult, &LumoSprite::SaveDefaultInputResult> LumoSprite_DefaultInputResult(kVersion_1_4_0_0, PropertyBool, "tBool", "DefaultInputResult");

}  // namespace

LUMO_GENERIC_FIELD(LumoSprite, DefaultFramesPerPulse)
LUMO_GENERIC_FIELD(LumoSprite, SequenceCounter)
LUMO_GENERIC_FIELD(LumoSprite, DurationCounter)
LUMO_GENERIC_FIELD(LumoSprite, Left)
LUMO_GENERIC_FIELD(LumoSprite, Top)
LUMO_GENERIC_FIELD(LumoSprite, ActualLeft)
LUMO_GENERIC_FIELD(LumoSprite, ActualTop)
LUMO_GENERIC_FIELD(LumoSprite, ActualWidth)
LUMO_GENERIC_FIELD(LumoSprite, ActualHeight)
LUMO_GENERIC_FIELD(LumoSprite, MotionHorizontal)
LUMO_GENERIC_FIELD(LumoSprite, MotionVertical)
LUMO_GENERIC_FIELD(LumoSprite, MotionDuration)
LUMO_GENERIC_FIELD(LumoSprite, MotionCounter)
LUMO_GENERIC_FIELD(LumoSprite, MotionDelay)
LUMO_GENERIC_FIELD(LumoSprite, MotionDelayCounter)
LUMO_GENERIC_FIELD(LumoSprite, Moving)
LUMO_GENERIC_FIELD(LumoSprite, TransparencyCheck)
LUMO_GENERIC_FIELD(LumoSprite, MouseInput)
LUMO_GENERIC_FIELD(LumoSprite, KeyboardInput)
LUMO_GENERIC_FIELD(LumoSprite, JoystickInput)
LUMO_GENERIC_FIELD(LumoSprite, Invisible)
LUMO_GENERIC_FIELD(LumoSprite, Modal)
LUMO_GENERIC_FIELD(LumoSprite, DefaultInputResult)

// The current sequence is stored as its index among the children.
bool LumoSprite::LoadSequenceList(LumoStream* stream, const LumoProperty*) {
  int32_t index = -1;
  if (!stream->ReadInteger(index)) {
    return false;
  }
  if (index < 0) {
    SetSequence(nullptr);
    return true;
  }
  LumoNode* item = first;
  for (int32_t i = 0; item != nullptr && i < index; ++i) {
    item = item->next;
  }
  auto* sequence = dynamic_cast<LumoSequenceList*>(item);
  if (sequence == nullptr) {
    DebugPrint("LumoSprite::LoadSequenceList() No sequence list at the index (Index=%i, Sprite=%p:%s)\n", index,
               DebugAddress(this), DebugClassName(this));
    return false;
  }
  SetSequence(sequence);
  return true;
}

bool LumoSprite::SaveSequenceList(LumoStream* stream, const LumoProperty*) {
  int32_t index = -1;
  if (SequenceList != nullptr) {
    int32_t i = 0;
    for (LumoNode* item = first; item != nullptr; item = item->next, ++i) {
      if (item == SequenceList) {
        index = i;
        break;
      }
    }
  }
  return stream->WriteInteger(index);
}

// The current frame is stored as its index in the current sequence.
bool LumoSprite::LoadSequenceNode(LumoStream* stream, const LumoProperty*) {
  int32_t index = -1;
  if (!stream->ReadInteger(index)) {
    return false;
  }
  if (index < 0) {
    SetSequenceNode(nullptr);
    return true;
  }
  if (SequenceList == nullptr) {
    DebugPrint("LumoSprite::LoadSequenceNode() A frame without a sequence list (Index=%i, Sprite=%p:%s)\n", index,
               DebugAddress(this), DebugClassName(this));
    return false;
  }
  LumoNode* item = SequenceList->first;
  for (int32_t i = 0; item != nullptr && i < index; ++i) {
    item = item->next;
  }
  auto* node = dynamic_cast<LumoSequenceNode*>(item);
  if (node == nullptr) {
    DebugPrint("LumoSprite::LoadSequenceNode() No frame at the index (Index=%i, Sprite=%p:%s)\n", index,
               DebugAddress(this), DebugClassName(this));
    return false;
  }
  SetSequenceNode(node);
  return true;
}

bool LumoSprite::SaveSequenceNode(LumoStream* stream, const LumoProperty*) {
  if (SequenceList == nullptr) {
    if (SequenceNode != nullptr) {
      DebugPrint("LumoSprite::SaveSequenceNode() A frame without a sequence list (Sprite=%p:%s)\n",
                 DebugAddress(this), DebugClassName(this));
      return false;
    }
    return stream->WriteInteger(-1);
  }
  int32_t index = -1;
  int32_t i = 0;
  for (LumoNode* item = SequenceList->first; item != nullptr; item = item->next, ++i) {
    if (item == SequenceNode) {
      index = i;
      break;
    }
  }
  return stream->WriteInteger(index);
}

// The attached sprites: a count, then each sprite as a whole object record.
bool LumoSprite::LoadBody(LumoStream* stream, const LumoProperty*) {
  if (!Body || Body->Sprite == nullptr) {
    return false;
  }
  uint32_t count = 0;
  if (!stream->ReadCardinal(count)) {
    return false;
  }
  if (count > stream->GetBytesRemaining()) {
    DebugPrint("LumoSprite::LoadBody() The count is larger than the stream (Count=%u, Sprite=%p:%s)\n", count,
               DebugAddress(this), DebugClassName(this));
    return false;
  }
  for (uint32_t i = 0; i < count; ++i) {
    LumoObject* object = LoadObject(stream, nullptr);
    auto* part = dynamic_cast<LumoSprite*>(object);
    if (part == nullptr) {
      if (object != nullptr) {
        DestroyObject(object);
      }
      return false;
    }
    if (part->parent == nullptr && parent != nullptr) {
      parent->Append(part);
    }
    if (Body->AttachSprite(part) == nullptr) {
      DestroyObject(part);
      return false;
    }
  }
  return true;
}

bool LumoSprite::SaveBody(LumoStream* stream, const LumoProperty*) {
  const std::vector<LumoSprite*> parts = PartsOf(Body.get());
  if (!stream->WriteCardinal(static_cast<uint32_t>(parts.size()))) {
    return false;
  }
  for (LumoSprite* part : parts) {
    if (!part->SaveObject(stream, 0)) {
      return false;
    }
  }
  return true;
}

// The movie: whether there is one, a second flag that must be false, and the
// movie's name.
bool LumoSprite::LoadMovie(LumoStream* stream, const LumoProperty*) {
  SetMovie(nullptr);
  bool present = false;
  if (!stream->ReadBool(present)) {
    return false;
  }
  if (!present) {
    return true;
  }
  bool second = false;
  if (!stream->ReadBool(second) || second) {
    return false;
  }
  tCharStr name = nullptr;
  if (!stream->ReadCharStr(name)) {
    DebugPrint("LumoSprite::LoadMovie() The movie's name cannot be read (Sprite=%p:%s)\n", DebugAddress(this),
               DebugClassName(this));
    return false;
  }
  LumoMovieList* movies = Engine != nullptr && Engine->Level != nullptr ? Engine->Level->MovieList.get() : nullptr;
  if (movies != nullptr) {
    SetMovie(movies->FindOrLoadMovie(name, nullptr, false));
  }
  FreeCharStr(name);
  return Movie != nullptr;
}

bool LumoSprite::SaveMovie(LumoStream* stream, const LumoProperty*) {
  if (Movie == nullptr || Movie->Name == nullptr) {
    return stream->WriteBool(false);
  }
  return stream->WriteBool(true) && stream->WriteBool(false) && stream->WriteCharStr(Movie->Name);
}

bool LumoSprite::LoadInput(LumoStream* stream, const LumoProperty*) {
  bool on = false;
  if (!stream->ReadBool(on)) {
    return false;
  }
  SetInput(on);
  return true;
}

bool LumoSprite::SaveInput(LumoStream* stream, const LumoProperty*) { return stream->WriteBool(Input); }

// ---- Movies ----

LumoMovieNode* LumoSprite::AttachMovie(const char* name, const sRGB& key, uint32_t flags, bool dispose) {
  LumoMovieList* movies = Engine != nullptr && Engine->Level != nullptr ? Engine->Level->MovieList.get() : nullptr;
  if (movies == nullptr) {
    return nullptr;
  }
  if (LumoMovieNode* old = Movie) {
    SetMovie(nullptr);
    old->Unload();
    if (dispose) {
      DestroyObject(old);
    }
  }
  auto* movie = dynamic_cast<LumoMovieNode*>(movies->FindOrCreate(name));
  if (movie == nullptr) {
    return nullptr;
  }
  SetMovie(movie);
  if (movie->Data == 0) {
    movie->Load();
  }
  LumoGraphicNode* display = nullptr;
  if (movie->Data != 0) {
    display = movie->Display != nullptr ? movie->Display : movie->CreateDisplay((flags & 1) != 0);
  }
  if (display == nullptr) {
    SetMovie(nullptr);
    if (!movie->HasReferrers()) {
      DestroyObject(movie);
    }
    return nullptr;
  }
  // A freed frame disposes of the nameless graphic it shows, and the
  // display is one; a frame of an old sequence that shows this movie lets
  // go of it first, so showing the movie again keeps its display.
  VisitItems([&](LumoNode* item) {
    if (auto* old = dynamic_cast<LumoSequenceList*>(item)) {
      old->VisitItems([&](LumoNode* node) {
        auto* frame = dynamic_cast<LumoSequenceNode*>(node);
        if (frame != nullptr && frame->Graphic() == display) {
          frame->SetGraphic(nullptr);
        }
        return false;
      });
    }
    return false;
  });
  while (first != nullptr) {
    DestroyObject(first);
  }
  const uint32_t rate = movie->GetFramesPerPulse();
  LumoSequenceList* sequence = AppendSequence(rate != 0 ? rate : DefaultFramesPerPulse, -1);
  auto* frame = sequence != nullptr ? dynamic_cast<LumoSequenceNode*>(sequence->CreateItem()) : nullptr;
  if (frame == nullptr) {
    return nullptr;
  }
  frame->SetGraphic(display);
  if (sequence->Append(frame) == nullptr) {
    DestroyObject(frame);
    return nullptr;
  }
  if (key.Blue != 0 || key.Green != 0 || key.Red != 0) {
    display->SetSourceKey(key);
  }
  ResetSequence(true);
  return movie;
}

LumoMovieNode* LumoSprite::PlayMovie(const char* name, const sRGB& key, uint32_t flags) {
  LumoMovieNode* movie = AttachMovie(name, key, flags, false);
  if (movie != nullptr) {
    StartAnimation();
    movie->Play(this);
  }
  return movie;
}
