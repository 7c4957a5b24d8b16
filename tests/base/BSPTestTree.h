#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "base/LumoBSP.h"

// Small trees and recording objects for the BSP tree tests.
namespace bsp_testing {

using Node = LumoBSPNode<2, int32_t>;
using Object = LumoBSPObject<2, int32_t>;
using Bounds = LumoBSPBounds<2, int32_t>;

struct Box {
  int32_t x, y, width, height;
};

template <typename Target>
void SetBox(Target& target, const Box& box) {
  target.origin.Set(box.x, box.y);
  target.size.Set(box.width, box.height);
}

inline Box BoxOf(const Bounds& bounds) { return Box{bounds.origin.x, bounds.origin.y, bounds.size.x, bounds.size.y}; }

inline bool operator==(const Box& a, const Box& b) {
  return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

inline std::ostream& operator<<(std::ostream& out, const Box& box) {
  return out << "(" << box.x << ", " << box.y << ", " << box.width << " x " << box.height << ")";
}

// The calls the probes heard, as "<hook> <receiver> <other>", in order.
inline std::vector<std::string>& Calls() {
  static std::vector<std::string> calls;
  return calls;
}

// Counts the probes destroyed, so tests can see what a node took with it.
inline int& DestroyedProbes() {
  static int count = 0;
  return count;
}

// An object with a name that records every query hook it hears. Each hook
// answers `answer`, after running `action` (which may remove or destroy
// objects, this one included, so the hook touches nothing after it).
class Probe : public Object {
 public:
  explicit Probe(std::string probeName, const Box& box = {0, 0, 0, 0}) : name(std::move(probeName)) {
    SetBox(*this, box);
  }
  ~Probe() override { ++DestroyedProbes(); }

  bool OnOverlappedBy(Object* other) override { return Hear("OnOverlappedBy", other); }
  bool OnOverlap(Object* other) override { return Hear("OnOverlap", other); }
  bool OnContain(Object* other) override { return Hear("OnContain", other); }

  std::string name;
  bool answer = false;
  std::function<void(Probe* self, Object* other)> action;

 private:
  bool Hear(const char* hook, Object* other) {
    const auto* otherProbe = dynamic_cast<const Probe*>(other);
    Calls().push_back(std::string(hook) + " " + name + " " + (otherProbe != nullptr ? otherProbe->name : "?"));
    const bool given = answer;
    if (action) {
      auto run = action;  // the action may destroy this probe and its function
      run(this, other);
    }
    return given;
  }
};

inline std::string NameOf(const Object* object) {
  const auto* probe = dynamic_cast<const Probe*>(object);
  return probe != nullptr ? probe->name : "?";
}

// The names in a node's list, head first.
inline std::vector<std::string> NamesIn(const Node& node) {
  std::vector<std::string> names;
  for (const Object* object = node.objects; object != nullptr; object = object->next) {
    names.push_back(NameOf(object));
  }
  return names;
}

// Checks every link of the subtree: the object lists run both ways, every
// object names its node, every child names its parent, and every child's box
// and every object of a non-root node lie inside their node's box. Counts
// the objects seen.
inline void ExpectConsistent(const Node& node, int& objectCount) {
  const Object* previous = nullptr;
  for (const Object* object = node.objects; object != nullptr; object = object->next) {
    EXPECT_EQ(object->node, &node);
    EXPECT_EQ(object->previous, previous);
    if (node.parent != nullptr) {
      EXPECT_TRUE(Bounds::IsInside(*object, node)) << NameOf(object);
    }
    previous = object;
    ++objectCount;
  }
  EXPECT_EQ(node.cursor, nullptr);
  for (const Node* child : {node.firstChild, node.secondChild}) {
    if (child == nullptr) {
      continue;
    }
    EXPECT_EQ(child->parent, &node);
    EXPECT_TRUE(Bounds::IsInside(*child, node));
    ExpectConsistent(*child, objectCount);
  }
}

inline int ExpectConsistent(const Node& node) {
  int objectCount = 0;
  ExpectConsistent(node, objectCount);
  return objectCount;
}

}  // namespace bsp_testing
