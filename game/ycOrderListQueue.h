#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

struct COrderPackage;

// Frees an order package by where it came from: owned 1, made by the logic
// and handed in by Send (DeleteOrderPackage); owned 0, rebuilt by the comms
// layer from received bytes (emptied with Destroy, record freed here).
struct ycPackageRelease {
  uint8_t owned = 0;
  void operator()(COrderPackage* package) const;
};
using ycPackagePointer = std::unique_ptr<COrderPackage, ycPackageRelease>;

// One order of a list; no package is a null order, a placeholder that
// carries nothing but a player's contribution.
struct ycOrderNode {
  ycPackagePointer package;
};

// The orders of one frame, in the order they are applied.
struct ycOrderList {
  uint32_t frame = 0;
  std::vector<ycOrderNode> nodes;
  uint32_t size = 0;           // bytes the orders take in an order frame: 6 each plus payloads
  uint32_t contributions = 0;  // players who handed in their orders for the frame
  uint32_t Count() const { return static_cast<uint32_t>(nodes.size()); }
};

// Order lists by frame, oldest first.
class ycOrderListQueue {
 public:
  // Makes the list of the frame current, appending an empty one when the
  // queue has none for it.
  void Select(uint32_t frame);
  // Appends the node to the current list.
  void Append(ycOrderNode node);
  // One more player handed in the current list's orders.
  void Contribute();
  // The first list when at least `players` have contributed to it; null
  // otherwise.
  ycOrderList* FirstIfComplete(uint32_t players);
  // A player left who had handed in every frame below endFrame: the lists
  // still waiting no longer count its part (its orders stay in them).
  void Withdraw(uint32_t endFrame);
  ycOrderList* First();
  void PopFirst();
  bool Empty() const { return lists_.empty(); }
  size_t Size() const { return lists_.size(); }
  void Clear();

 private:
  std::deque<ycOrderList> lists_;  // a deque keeps the current list's address while lists are appended
  ycOrderList* current_ = nullptr;
};
