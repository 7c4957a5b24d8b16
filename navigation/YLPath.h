#pragma once

#include <cstdint>
#include <memory>

#include "navigation/YLPathPlanNode.h"

class YLKnowledgeMap;

// A found route: its own chain of plan nodes from the start to the goal.
class YLPath {
 public:
  YLPath() = default;
  YLPath(const YLPath&) = delete;
  YLPath& operator=(const YLPath&) = delete;
  // Deletes the chain.
  virtual ~YLPath();

  // Replaces the chain by copies of the chain that ends at goal, followed
  // back through `previous` to its start. False (the path left empty) for a
  // null goal or a chain that runs in a circle.
  bool SetFrom(const YLPathPlanNode* goal);
  YLPathPlanNode* GetFirst() const { return first.get(); }
  YLPathPlanNode* GetLast() const { return last; }
  // The sector id under the first or the last node in the map; 255 when
  // none.
  uint8_t StartSector(const YLKnowledgeMap& map) const;
  uint8_t EndSector(const YLKnowledgeMap& map) const;
  // Turns the chain round, so it runs from the last node to the first; each
  // crossing then enters from its other side. Costs stay as they were
  // computed, from the old start.
  void Reverse();

  std::unique_ptr<YLPathPlanNode> first;  // the start of the chain
  YLPathPlanNode* last = nullptr;         // the goal
};
