#include "navigation/YLPath.h"

#include <vector>

#include "base/DebugFormat.h"
#include "navigation/YLKnowledgeMap.h"

namespace {

// Whether following `previous` from node ever comes back to a node already
// passed (two walkers at different speeds meet only inside a circle).
bool RunsInCircle(const YLPathPlanNode* node) {
  const YLPathPlanNode* slow = node;
  const YLPathPlanNode* fast = node;
  while (fast != nullptr && fast->previous != nullptr) {
    slow = slow->previous;
    fast = fast->previous->previous;
    if (slow == fast) {
      return true;
    }
  }
  return false;
}

void CopyFields(const YLPathPlanNode& from, YLPathPlanNode& to) {
  to.border = from.border;
  to.x = from.x;
  to.y = from.y;
  to.costFromStart = from.costFromStart;
  to.estimate = from.estimate;
  to.entersFromLeft = from.entersFromLeft;
  to.limitedCrossing = from.limitedCrossing;
}

}  // namespace

YLPath::~YLPath() = default;

bool YLPath::SetFrom(const YLPathPlanNode* goal) {
  first.reset();
  last = nullptr;
  if (goal == nullptr) {
    return false;
  }
  if (RunsInCircle(goal)) {
    DebugPrint("YLPath::SetFrom(): the route runs in a circle\n");
    return false;
  }
  // Copied from the goal backwards, so each copy owns the chain behind it.
  std::unique_ptr<YLPathPlanNode> chain;
  for (const YLPathPlanNode* node = goal; node != nullptr; node = node->previous) {
    auto copy = std::make_unique<YLPathPlanNode>();
    CopyFields(*node, *copy);
    if (chain != nullptr) {
      chain->previous = copy.get();
      copy->next = std::move(chain);
    } else {
      last = copy.get();
    }
    chain = std::move(copy);
  }
  first = std::move(chain);
  return true;
}

uint8_t YLPath::StartSector(const YLKnowledgeMap& map) const {
  return first != nullptr ? static_cast<uint8_t>(map.GetSector(first->x, first->y)) : kNoSector;
}

uint8_t YLPath::EndSector(const YLKnowledgeMap& map) const {
  return last != nullptr ? static_cast<uint8_t>(map.GetSector(last->x, last->y)) : kNoSector;
}

void YLPath::Reverse() {
  if (first == nullptr) {
    return;
  }
  // Unlink every node from its owner, then relink them the other way.
  std::vector<std::unique_ptr<YLPathPlanNode>> nodes;
  for (std::unique_ptr<YLPathPlanNode> node = std::move(first); node != nullptr;) {
    std::unique_ptr<YLPathPlanNode> rest = std::move(node->next);
    nodes.push_back(std::move(node));
    node = std::move(rest);
  }
  last = nodes.front().get();
  std::unique_ptr<YLPathPlanNode> chain;
  for (std::unique_ptr<YLPathPlanNode>& node : nodes) {
    node->previous = nullptr;
    if (node->border != nullptr) {
      node->entersFromLeft = node->entersFromLeft != 0 ? 0 : 1;
    }
    if (chain != nullptr) {
      chain->previous = node.get();
      node->next = std::move(chain);
    }
    chain = std::move(node);
  }
  first = std::move(chain);
}
