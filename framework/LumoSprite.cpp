#include "framework/LumoSprite.h"

#include <new>

#include "framework/LumoEngine.h"
#include "framework/LumoLevel.h"
#include "framework/LumoSequenceList.h"
#include "framework/LumoSequenceNode.h"
#include "framework/LumoSoundList.h"
#include "framework/LumoSoundNode.h"

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
  if (other != nullptr && other == SoundList) {
    SoundList = nullptr;
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
