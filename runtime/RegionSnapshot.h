#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "runtime/Regions.h"

// The regions of the list in walking order, fixed when the walk starts.
// Input callbacks destroy, create and reorder regions while a walk runs (a
// sprite's unload destroys its region): the snapshot keeps the walk to the
// regions it started with, each visited once, and answers null for one that
// was destroyed since. The walk guard keeps destroyed regions allocated
// until the walk ends; a list deleted during the walk ends it.
class tRegionSnapshot {
 public:
  enum class Order { TopDown, BottomUp };

  explicit tRegionSnapshot(Order order) : generation_(RegionListGeneration()) {
    if (!RegionListExists()) {
      return;
    }
    const bool topDown = order == Order::TopDown;
    for (RegionHandle region = topDown ? LastRegion() : FirstRegion(); region != nullptr;
         region = topDown ? PreviousRegion(region) : NextRegion(region)) {
      regions_.push_back(RegionOf(region));
    }
  }

  size_t Size() const { return regions_.size(); }
  // The list these regions belong to was deleted: none of them is left.
  bool ListGone() const { return RegionListGeneration() != generation_; }
  // The region at a position of the walk, or null when it is gone.
  LumoRegion* Live(size_t index) const {
    if (ListGone() || regions_[index]->PendingDeletion) {
      return nullptr;
    }
    return regions_[index];
  }

 private:
  tRegionWalk walk_;
  uint32_t generation_;
  std::vector<LumoRegion*> regions_;
};
