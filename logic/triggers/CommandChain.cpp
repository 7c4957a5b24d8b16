#include "logic/triggers/CommandChain.h"

#include "base/LumoObject.h"
#include "base/LumoStream.h"
#include "logic/core/OrderKinds.h"
#include "logic/triggers/ActionPropertyLines.h"
#include "logic/world/PsychicPlanKinds.h"
#include "logic/world/YLUnit.h"

PsychicPlanItem* CreateCommandPlanItem(const char* letter) {
  if (letter == nullptr) {
    return nullptr;
  }
  constexpr float kMotivation = 1.0f;
  switch (letter[0]) {
    case 'a':
      return new PsychicPlanAttack(0, 0, kMotivation, false);
    case 'e':
      return new PsychicPlanEnter(0, 0, kMotivation, false);
    case 'g':
      return new PsychicPlanGoto(0, 0, kMotivation, false);
    case 'h':
      return new PsychicPlanHold(0, 0, kMotivation, false);
    case 'l':
      return new PsychicPlanLoot(0, 0, kMotivation, false);
    case 's':
      return new PsychicPlanAttackShoot(0, 0, kMotivation, false);
    case 'x':
      return new PsychicPlanLeave(0, 0, kMotivation, false);
    default:
      return nullptr;
  }
}

CommandChain::~CommandChain() { Clear(); }

int32_t CommandChain::GetCount() const {
  int32_t count = 0;
  for (const PsychicPlanItem* step = First; step != nullptr; step = step->queue) {
    ++count;
  }
  return count;
}

void CommandChain::Clear() {
  PsychicPlanItem::DeleteTree(First);
  First = nullptr;
}

bool CommandChain::Load(LumoStream* stream) {
  LumoObject* loaded = nullptr;
  if (!stream->ReadObject(loaded, nullptr)) {
    return false;
  }
  Clear();
  if (loaded == nullptr) {
    return true;
  }
  First = dynamic_cast<PsychicPlanItem*>(loaded);
  if (First == nullptr) {
    DestroyObject(loaded);
  }
  return true;
}

bool CommandChain::Save(LumoStream* stream) const { return stream->WriteObject(First); }

const char* CommandChain::GetStepText(const PsychicPlanItem& step) { return OrderKindName(step.Action); }

void CommandChain::Lines(ActionPropertyLines& lines) {
  int32_t index = 0;
  const char* typeLabel = "  command";
  for (PsychicPlanItem* step = First; step != nullptr; step = step->queue, ++index) {
    if (lines.Line(typeLabel, lines.IsListing() ? tString(GetStepText(*step)) : tString())) {
      SetStep(index, lines.Text());
      return;
    }
    typeLabel = "  queue";
    lines.Int("  par1", step->Param1);
    lines.Int("  par2", step->Param2);
    lines.Bool("  fast", step->Fast);
    if (lines.Line("  mot", lines.IsListing() ? FormatReal(step->Motivation) : tString())) {
      step->Motivation = ParseReal(lines.Text());
    }
  }
  if (lines.Line(typeLabel, tString(kNoStepText))) {
    SetStep(index, lines.Text());
  }
}

void CommandChain::SetStep(int32_t index, const char* letter) {
  PsychicPlanItem** link = &First;
  for (int32_t position = 0; position < index && *link != nullptr; ++position) {
    link = &(*link)->queue;
  }
  PsychicPlanItem* old = *link;
  PsychicPlanItem* made = CreateCommandPlanItem(letter);
  if (made == nullptr) {
    // No step: the chain ends before this one.
    *link = nullptr;
    PsychicPlanItem::DeleteTree(old);
    return;
  }
  if (old != nullptr) {
    made->queue = old->queue;
    old->queue = nullptr;
    PsychicPlanItem::DeleteTree(old);
  }
  *link = made;
}

void CommandChain::GiveTo(YLUnit& unit) const {
  if (First == nullptr) {
    return;
  }
  unit.ExecutePlan(First->Clone());
  for (const PsychicPlanItem* step = First->queue; step != nullptr; step = step->queue) {
    unit.InsertPlanItem(step->Clone());
  }
}
