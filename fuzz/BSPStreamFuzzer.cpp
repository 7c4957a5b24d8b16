// The BSP tree's stream form: the input is the bytes of a memory stream, read
// as one object record, a stored tree of the integer or the float kind (a
// box, a counted object list, then each child behind a presence flag) or any
// other registered class. A tree that loads must be linked as a built tree
// is (every child names its parent, every object its node, the object lists
// run both ways), tell its statistics, save, and load again into a tree that
// saves the same bytes. An integer tree then answers queries for a box over
// its root and takes that box as a new object.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "fuzz/BSPProbe.h"
#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzStreams.h"

namespace {

using ObjectOwner = std::unique_ptr<LumoObject, tObjectDestroyer>;

// Checks the links of the subtree; answers its objects.
template <typename Node>
int64_t CheckLinks(const Node& node) {
  int64_t objects = 0;
  const typename Node::Object* previous = nullptr;
  for (const typename Node::Object* object = node.objects; object != nullptr; object = object->next) {
    FuzzRequire(object->node == &node, "every loaded object names its node");
    FuzzRequire(object->previous == previous, "a loaded object list runs both ways");
    previous = object;
    ++objects;
  }
  for (const auto* child : {node.firstChild, node.secondChild}) {
    if (child != nullptr) {
      FuzzRequire(child->parent == &node, "every loaded child names its parent");
      objects += CheckLinks(*child);
    }
  }
  return objects;
}

template <typename Node>
void CheckTree(Node& root) {
  FuzzRequire(root.parent == nullptr, "a loaded root has no parent");
  const int64_t objects = CheckLinks(root);
  FuzzRequire(root.GetStatistic(BSPStatisticObjects) == objects, "the statistics count every loaded object");
  for (int32_t code = BSPStatisticNodes; code <= BSPStatisticDepth; ++code) {
    FuzzRequire(root.GetStatistic(code) >= 0, "every statistic of a loaded tree is told");
  }
}

void QueryAndInsert(FuzzBSPNode& root) {
  auto* subject = new FuzzBSPObject(-1, root.origin.x, root.origin.y, root.size.x, root.size.y);
  root.NotifyOverlapped(subject);
  root.NotifyContained(subject);
  root.QueryOverlapping(subject);
  root.QueryContained(subject);
  const int32_t before = root.GetStatistic(BSPStatisticObjects);
  root.Insert(subject);  // the tree owns it from here
  FuzzRequire(root.GetStatistic(BSPStatisticObjects) == before + 1, "an inserted object is in the tree");
  root.Subdivide();
  FuzzRequire(root.GetStatistic(BSPStatisticObjects) == before + 1, "subdividing keeps every object");
  CheckLinks<LumoBSPNode<2, int32_t>>(root);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInputStream input(data, size);
  if (!input.Usable()) {
    return 0;
  }
  ObjectOwner loaded(LoadObject(&input.stream, nullptr));
  if (loaded == nullptr) {
    return 0;
  }
  auto* integerTree = dynamic_cast<LumoBSPNode<2, int32_t>*>(loaded.get());
  auto* floatTree = dynamic_cast<LumoBSPNode<2, float>*>(loaded.get());
  if (integerTree != nullptr) {
    CheckTree(*integerTree);
  } else if (floatTree != nullptr) {
    CheckTree(*floatTree);
  }
  const std::string record = SavedRecord(*loaded);
  ObjectOwner reloaded(ReloadRecord(record, *loaded));
  FuzzRequire(SavedRecord(*reloaded) == record, "a reloaded record saves the same bytes");
  if (auto* root = dynamic_cast<FuzzBSPNode*>(loaded.get())) {
    QueryAndInsert(*root);
  }
  return 0;
}
