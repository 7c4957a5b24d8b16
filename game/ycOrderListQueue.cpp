#include "game/ycOrderListQueue.h"

#include "logic/core/COrderPackage.h"

void ycPackageRelease::operator()(COrderPackage* package) const {
  if (owned != 0) {
    DeleteOrderPackage(package);
    return;
  }
  package->Destroy();
  delete package;
}

void ycOrderListQueue::Select(uint32_t frame) {
  for (ycOrderList& list : lists_) {
    if (list.frame == frame) {
      current_ = &list;
      return;
    }
  }
  lists_.emplace_back();
  lists_.back().frame = frame;
  current_ = &lists_.back();
}

void ycOrderListQueue::Append(ycOrderNode node) {
  if (current_ == nullptr) {
    return;
  }
  current_->size += 6;
  if (node.package != nullptr) {
    current_->size += static_cast<uint32_t>(node.package->Length);
  }
  current_->nodes.push_back(std::move(node));
}

void ycOrderListQueue::Contribute() {
  if (current_ != nullptr) {
    ++current_->contributions;
  }
}

ycOrderList* ycOrderListQueue::FirstIfComplete(uint32_t players) {
  if (lists_.empty() || lists_.front().contributions < players) {
    return nullptr;
  }
  return &lists_.front();
}

void ycOrderListQueue::Withdraw(uint32_t endFrame) {
  for (ycOrderList& list : lists_) {
    if (list.frame < endFrame && list.contributions > 0) {
      --list.contributions;
    }
  }
}

ycOrderList* ycOrderListQueue::First() { return lists_.empty() ? nullptr : &lists_.front(); }

void ycOrderListQueue::PopFirst() {
  if (lists_.empty()) {
    return;
  }
  if (current_ == &lists_.front()) {
    current_ = nullptr;
  }
  lists_.pop_front();
}

void ycOrderListQueue::Clear() {
  lists_.clear();
  current_ = nullptr;
}
