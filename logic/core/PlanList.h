#pragma once

class LogicPlanItem;

// The head of one list of the logic's plan (a near bucket or the long list).
// The list owns its chain, linked through the items' Next, and frees it when
// it ends.
class PlanList {
 public:
  PlanList() = default;
  PlanList(const PlanList&) = delete;
  PlanList& operator=(const PlanList&) = delete;
  ~PlanList();

  LogicPlanItem* first = nullptr;
};
