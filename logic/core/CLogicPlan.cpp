// The logic's plan: a wheel of near buckets for items due within 29 frames
// and a long list for later ones, run once per frame.

#include <algorithm>
#include <vector>

#include "base/DebugFormat.h"
#include "base/LumoStream.h"
#include "logic/core/CLogic.h"
#include "logic/triggers/LogicPlanItem.h"
#include "logic/triggers/LogicPlanWarpZ.h"
#include "logic/triggers/YLCustomTrigger.h"

PlanList::~PlanList() { DestroyObject(first); }

namespace {

constexpr uint32_t kNearWindow = CLogic::kPlanSize;
constexpr int32_t kLastBucket = CLogic::kPlanSize - 1;

// Frames until the item is due, the order of the long list: an item of the
// past counts as due in almost 2^32 frames, so it waits behind every other.
uint32_t FramesUntilDue(const LogicPlanItem* item, uint32_t now) { return item->Time - now; }

}  // namespace

// ---- Lists ----

PlanList& CLogic::ListOf(int32_t slot) {
  return slot == LogicPlanItem::kLongTermSlot ? PlanLongTerm : Plan[slot];
}

void CLogic::MarkChain(LogicPlanItem* first, int32_t slot) {
  for (LogicPlanItem* item = first; item != nullptr; item = item->Next) {
    item->PlanSlot = slot;
  }
}

void CLogic::LinkFront(int32_t bucket, LogicPlanItem* item) {
  item->Next = Plan[bucket].first;
  Plan[bucket].first = item;
  item->PlanSlot = bucket;
}

// Before a head due strictly later, else behind every item due sooner: an
// item due with the head goes right behind it, one due with a later item
// goes before that item.
void CLogic::LinkLongTerm(LogicPlanItem* item) {
  const uint32_t frames = FramesUntilDue(item, Time);
  LogicPlanItem*& head = PlanLongTerm.first;
  if (head == nullptr || FramesUntilDue(head, Time) > frames) {
    item->Next = head;
    head = item;
  } else {
    LogicPlanItem* before = head;
    while (before->Next != nullptr && FramesUntilDue(before->Next, Time) < frames) {
      before = before->Next;
    }
    item->Next = before->Next;
    before->Next = item;
  }
  item->PlanSlot = LogicPlanItem::kLongTermSlot;
}

bool CLogic::Unlink(LogicPlanItem* item) {
  const int32_t slot = item->PlanSlot;
  if (slot < 0 || slot > LogicPlanItem::kLongTermSlot) {
    return false;
  }
  LogicPlanItem** link = &ListOf(slot).first;
  while (*link != nullptr && *link != item) {
    link = &(*link)->Next;
  }
  if (*link == nullptr) {
    return false;  // planned in another logic
  }
  *link = item->Next;
  item->Next = nullptr;
  item->PlanSlot = LogicPlanItem::kNotPlanned;
  return true;
}

// ---- Running items ----

CLogic::PlanRun* CLogic::FindRun(const LogicPlanItem* item) {
  for (auto run = planRuns.rbegin(); run != planRuns.rend(); ++run) {
    if (run->item == item) {
      return &*run;
    }
  }
  return nullptr;
}

CLogic::PlanRun CLogic::PopRun() {
  const PlanRun run = planRuns.back();
  planRuns.pop_back();
  return run;
}

// An item deleted while its Execute runs is deleted when the run returns,
// so Execute never runs on a freed item.
void CLogic::Dispose(LogicPlanItem* item) {
  if (PlanRun* run = FindRun(item)) {
    run->doomed = true;
    return;
  }
  DestroyObject(item);
}

// The item goes, so the next frame does not fail on it again; one its taker
// holds stays the taker's.
void CLogic::DiscardAfterFault(LogicPlanItem* item, const PlanRun& run) {
  if (!run.doomed && item->PlanSlot == LogicPlanItem::kNotPlanned && run.taken) {
    return;
  }
  Unlink(item);
  Dispose(item);
}

// ---- Inserting and removing ----

void CLogic::InsertPlan(LogicPlanItem* item, uint32_t delay) {
  if (item == nullptr) {
    return;
  }
  // An item linked twice would be run, freed and reached again.
  RemovePlan(item);
  item->Time = Time + delay;
  if (delay == 0) {
    RunNow(item);
    return;
  }
  if (delay < kNearWindow) {
    LinkFront(static_cast<int32_t>(item->Time % kNearWindow), item);
  } else {
    LinkLongTerm(item);
  }
  if (item->ShowsCountdown()) {
    UpdateTimer();
  }
}

void CLogic::RunNow(LogicPlanItem* item) {
  planRuns.push_back({item, false, false});
  try {
    item->Execute(this);
  } catch (...) {
    DebugPrint("CLogic::InsertPlan exception in plan->Execute:\n");
    const PlanRun run = PopRun();
    DiscardAfterFault(item, run);
    throw;
  }
  const PlanRun run = PopRun();
  if (run.doomed) {
    Dispose(item);
    return;
  }
  if (run.taken || item->PlanSlot != LogicPlanItem::kNotPlanned) {
    return;  // its taker has it, or it planned itself again
  }
  const uint32_t frequency = item->GetFrequency();
  if (frequency == 0) {
    Dispose(item);
    return;
  }
  try {
    InsertPlan(item, frequency);
  } catch (...) {
    DebugPrint("exception in insertplan(%d)\n", static_cast<int32_t>(frequency));
    throw;
  }
}

void CLogic::RemovePlan(LogicPlanItem* item) {
  if (item == nullptr || !Unlink(item)) {
    return;
  }
  if (PlanRun* run = FindRun(item)) {
    run->taken = true;
  }
}

void CLogic::DeletePlanItem(LogicPlanItem* item) {
  if (item == nullptr) {
    return;
  }
  Unlink(item);
  Dispose(item);
}

void CLogic::DeletePlanItemsBut(const std::function<bool(const LogicPlanItem*)>& keep) {
  for (int32_t slot = 0; slot <= LogicPlanItem::kLongTermSlot; ++slot) {
    LogicPlanItem** link = &ListOf(slot).first;
    while (*link != nullptr) {
      LogicPlanItem* item = *link;
      if (keep(item)) {
        link = &item->Next;
        continue;
      }
      *link = item->Next;
      item->Next = nullptr;
      item->PlanSlot = LogicPlanItem::kNotPlanned;
      Dispose(item);
    }
  }
}

void CLogic::ClearPlan(const LogicPlanItem* spared) {
  DeletePlanItemsBut([spared](const LogicPlanItem* item) {
    return item == spared || dynamic_cast<const LogicPlanWarpZ*>(item) != nullptr;
  });
}

void CLogic::EmptyPlan() {
  DeletePlanItemsBut([](const LogicPlanItem*) { return false; });
}

// ---- The frame ----

void CLogic::PropagatePlan() {
  const auto bucket = static_cast<int32_t>(Time % kNearWindow);
  while (Plan[bucket].first != nullptr) {
    LogicPlanItem* item = Plan[bucket].first;
    planRuns.push_back({item, false, false});
    try {
      item->Execute(this);
    } catch (...) {
      const PlanRun run = PopRun();
      char text[YLEditableObject::kRecordStringSize] = "";
      item->GetRecordString(text, sizeof text);
      DebugPrint("CLogic::PropagatePlan exception in currplan->Execute:");
      DebugPrint("(%s)\n", text);
      DiscardAfterFault(item, run);
      throw;
    }
    const PlanRun run = PopRun();
    if (run.doomed) {
      Dispose(item);
      continue;
    }
    if (item->PlanSlot != bucket) {
      continue;  // taken, or planned again, while it ran
    }
    const uint32_t frequency = item->GetFrequency();
    if (frequency != 0) {
      Unlink(item);
      InsertPlan(item, frequency);
      continue;
    }
    // The countdown is told while the item still stands in its bucket, so
    // an ending countdown shows 0 frames left.
    if (item->ShowsCountdown()) {
      UpdateTimer();
    }
    Unlink(item);
    Dispose(item);
  }

  if (bucket == kLastBucket) {
    while (PlanLongTerm.first != nullptr && PlanLongTerm.first->IsDueWithin(Time, kNearWindow)) {
      LogicPlanItem* item = PlanLongTerm.first;
      Unlink(item);
      InsertPlan(item, item->Time - Time);
    }
  }
}

// ---- Searches ----

namespace {

// The first item, buckets in index order then the long list, for which
// match answers true.
template <typename Match>
LogicPlanItem* FindInPlan(const PlanList (&buckets)[CLogic::kPlanSize], const PlanList& longTerm, Match match) {
  for (const PlanList& list : buckets) {
    for (LogicPlanItem* item = list.first; item != nullptr; item = item->Next) {
      if (match(item)) {
        return item;
      }
    }
  }
  for (LogicPlanItem* item = longTerm.first; item != nullptr; item = item->Next) {
    if (match(item)) {
      return item;
    }
  }
  return nullptr;
}

}  // namespace

void CLogic::UpdateTimer() {
  LogicPlanItem* item = FindInPlan(Plan, PlanLongTerm, [](LogicPlanItem* each) { return each->ShowsCountdown(); });
  if (item == nullptr) {
    return;
  }
  char label[YLEditableObject::kRecordStringSize] = "";
  const char* text = item->GetCountdownText(label, sizeof label);
  constexpr int32_t kCountdownPlayer = 1;
  NotifyTimer(kCountdownPlayer, static_cast<int32_t>(item->GetTime() - Time), text != nullptr ? text : "");
}

YLCustomTrigger* CLogic::FindTrigger(int32_t id) const {
  LogicPlanItem* found = FindInPlan(Plan, PlanLongTerm, [id](LogicPlanItem* each) {
    const auto* trigger = dynamic_cast<const YLCustomTrigger*>(each);
    return trigger != nullptr && trigger->TriggerID == id;
  });
  return static_cast<YLCustomTrigger*>(found);
}

// ---- Loading and saving ----

namespace {

// An object of the stream that should be a plan item; anything else is
// destroyed with a log line.
LogicPlanItem* AsPlanItem(LumoObject* loaded, const char* where, int32_t entry) {
  auto* item = dynamic_cast<LogicPlanItem*>(loaded);
  if (loaded != nullptr && item == nullptr) {
    DebugPrint("CLogic::%s: entry %d is a %s, not a plan item; dropped\n", where, entry, loaded->GetClassName());
    DestroyObject(loaded);
  }
  return item;
}

}  // namespace

bool CLogic::LoadPlan(LumoStream* stream, const LumoProperty*) {
  int32_t count = 0;
  if (!stream->ReadInteger(count)) {
    return false;
  }
  if (count != kPlanSize) {
    DebugPrint("CLogic::LoadPlan : LogicPlanSize not same as loaded game\n");
  }
  // Every entry takes at least its presence byte.
  const int64_t remaining = stream->GetBytesRemaining();
  const int64_t bound = remaining >= 0 ? remaining : static_cast<int64_t>(kMaxStreamBlock);
  if (count < 0 || count > bound) {
    DebugPrint("CLogic::LoadPlan: the stored bucket count %d exceeds what the stream holds\n", count);
    return false;
  }
  EmptyPlan();
  for (int32_t entry = 0; entry < count; ++entry) {
    LumoObject* loaded = nullptr;
    if (!stream->ReadObject(loaded, nullptr)) {
      return false;
    }
    LogicPlanItem* chain = AsPlanItem(loaded, "LoadPlan", entry);
    if (chain == nullptr) {
      continue;
    }
    // A surplus entry joins the chain its bucket has already.
    const int32_t bucket = entry % kPlanSize;
    LogicPlanItem** link = &Plan[bucket].first;
    while (*link != nullptr) {
      link = &(*link)->Next;
    }
    *link = chain;
    MarkChain(chain, bucket);
  }
  return true;
}

bool CLogic::SavePlan(LumoStream* stream, const LumoProperty*) {
  if (!stream->WriteInteger(kPlanSize)) {
    return false;
  }
  for (const PlanList& list : Plan) {
    if (!stream->WriteObject(list.first)) {
      return false;
    }
  }
  return true;
}

bool CLogic::LoadPlanLongTerm(LumoStream* stream, const LumoProperty*) {
  LumoObject* loaded = nullptr;
  if (!stream->ReadObject(loaded, nullptr)) {
    return false;
  }
  LogicPlanItem* chain = AsPlanItem(loaded, "LoadPlanLongTerm", 0);
  DestroyObject(PlanLongTerm.first);
  PlanLongTerm.first = chain;
  MarkChain(chain, LogicPlanItem::kLongTermSlot);
  return true;
}

bool CLogic::SavePlanLongTerm(LumoStream* stream, const LumoProperty*) {
  return stream->WriteObject(PlanLongTerm.first);
}

// The frame counter is read after the plan, so the long list is put in order
// of frames until due only here; items due together keep their stored order.
void CLogic::ResolvePlanReferences() {
  std::vector<LogicPlanItem*> longTerm;
  for (LogicPlanItem* item = PlanLongTerm.first; item != nullptr; item = item->Next) {
    longTerm.push_back(item);
  }
  std::stable_sort(longTerm.begin(), longTerm.end(), [this](const LogicPlanItem* left, const LogicPlanItem* right) {
    return FramesUntilDue(left, Time) < FramesUntilDue(right, Time);
  });
  PlanLongTerm.first = nullptr;
  for (auto item = longTerm.rbegin(); item != longTerm.rend(); ++item) {
    (*item)->Next = PlanLongTerm.first;
    PlanLongTerm.first = *item;
  }

  for (const PlanList& list : Plan) {
    for (LogicPlanItem* item = list.first; item != nullptr; item = item->Next) {
      item->ResolveReferences();
    }
  }
  for (LogicPlanItem* item = PlanLongTerm.first; item != nullptr; item = item->Next) {
    item->ResolveReferences();
  }
}
