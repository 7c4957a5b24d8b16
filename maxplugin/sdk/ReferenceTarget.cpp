#include "maxplugin/sdk/ReferenceTarget.h"

#include <algorithm>

namespace {

template <typename Item>
bool Holds(const std::vector<Item*>& items, const Item* item) {
  return std::find(items.begin(), items.end(), item) != items.end();
}

template <typename Item>
void Drop(std::vector<Item*>& items, const Item* item) {
  items.erase(std::remove(items.begin(), items.end(), item), items.end());
}

}  // namespace

// ---- ReferenceMaker ----------------------------------------------------------

ReferenceMaker::~ReferenceMaker() {
  // Leaving a target edits the list, so walk a copy of it.
  const std::vector<ReferenceTarget*> dependedOn = targets;
  for (ReferenceTarget* target : dependedOn) {
    target->RemoveDependent(this);
  }
}

void ReferenceMaker::PassOn(const Interval&, PartID, RefMessage, SClass_ID) {}

// ---- ReferenceTarget ---------------------------------------------------------

ReferenceTarget::~ReferenceTarget() {
  // The dependents learn of the deletion while this target can still be
  // compared by address; none may call it any more.
  NotifyDependents(Interval::Forever(), kPartAll, kRefMessageTargetDeleted, kNotifyAllClasses,
                   false);
  const std::vector<ReferenceMaker*> remaining = dependents;
  for (ReferenceMaker* dependent : remaining) {
    RemoveDependent(dependent);
  }
}

void ReferenceTarget::AddDependent(ReferenceMaker* dependent) {
  // A target never depends on itself: while it is deleted it would be told of
  // its own deletion with only its target part left, and call an operation
  // that part lacks.
  if (dependent == nullptr || dependent == this || Holds(dependents, dependent)) {
    return;
  }
  dependents.push_back(dependent);
  dependent->targets.push_back(this);
}

void ReferenceTarget::RemoveDependent(ReferenceMaker* dependent) {
  if (dependent == nullptr || !Holds(dependents, dependent)) {
    return;
  }
  Drop(dependents, dependent);
  Drop(dependent->targets, static_cast<const ReferenceTarget*>(this));
}

bool ReferenceTarget::HasDependent(const ReferenceMaker* dependent) const {
  return Holds(dependents, dependent);
}

void ReferenceTarget::PassOn(const Interval& changeInterval, PartID part, RefMessage message,
                             SClass_ID superClass) {
  NotifyDependents(changeInterval, part, message, superClass, true);
}

void ReferenceTarget::NotifyDependents(const Interval& changeInterval, PartID part,
                                       RefMessage message, SClass_ID superClass, bool propagate) {
  if (notifying) {
    return;  // the message came back through a loop of dependents
  }
  struct NotifyingFlag {
    bool& flag;
    explicit NotifyingFlag(bool& raised) : flag(raised) { flag = true; }
    ~NotifyingFlag() { flag = false; }
  } notifyingFlag(notifying);

  // A dependent may leave, or remove another, while it is told: walk a copy
  // and skip whoever is no longer a dependent.
  const std::vector<ReferenceMaker*> toTell = dependents;
  for (ReferenceMaker* dependent : toTell) {
    if (!HasDependent(dependent)) {
      continue;
    }
    if (superClass != kNotifyAllClasses && dependent->SuperClassID() != superClass) {
      continue;
    }
    const RefResult result = dependent->NotifyRefChanged(changeInterval, this, part, message);
    if (propagate && result != RefResult::Stop && HasDependent(dependent)) {
      dependent->PassOn(changeInterval, part, message, superClass);
    }
  }
}
