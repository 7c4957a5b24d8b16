#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "base/LumoObject.h"
#include "base/tReferenceList.h"

namespace {

// What Find must answer: the last linked node for the object and kind, found
// by walking the list itself rather than through its index.
tReferenceNode* WalkFind(const tReferenceList& list, const LumoObject* object, uint8_t kind) {
  for (tNode* walker = list.last; walker != nullptr; walker = walker->previous) {
    auto* node = dynamic_cast<tReferenceNode*>(walker);
    if (node != nullptr && node->object == object && node->kind == kind) {
      return node;
    }
  }
  return nullptr;
}

int32_t WalkNotifications(const tReferenceList& list) {
  int32_t notifications = 0;
  for (tNode* walker = list.first; walker != nullptr; walker = walker->next) {
    auto* node = dynamic_cast<tReferenceNode*>(walker);
    notifications += node != nullptr && node->kind != kReferenceKind ? 1 : 0;
  }
  return notifications;
}

// Many referrers with repeated references of both kinds, dropped by key, by
// node, by index and all at once, in a fixed but scrambled order: after every
// step the index agrees with the list for every key, so no entry outlives
// its node and no linked node is missing from it.
TEST(ReferenceListTest, IndexAgreesWithTheListThroughMixedAddsAndRemovals) {
  std::array<LumoObject, 12> objects;
  tReferenceList list;
  uint32_t state = 12345;
  const auto draw = [&state](uint32_t range) {
    state = state * 1103515245u + 12345u;
    return (state >> 16) % range;
  };
  const auto check = [&](int32_t step) {
    ASSERT_EQ(list.notificationCount, WalkNotifications(list)) << "step " << step;
    for (const LumoObject& object : objects) {
      for (uint8_t kind : {kReferenceKind, kNotificationKind}) {
        ASSERT_EQ(list.Find(&object, kind), WalkFind(list, &object, kind)) << "step " << step;
      }
    }
  };
  for (int32_t step = 0; step < 2000; ++step) {
    LumoObject* object = &objects[draw(static_cast<uint32_t>(objects.size()))];
    const auto kind = static_cast<uint8_t>(draw(2));
    switch (draw(6)) {
      case 0:
      case 1:
        ASSERT_NE(list.Add(object, kind), nullptr);
        break;
      case 2:
        EXPECT_EQ(list.Remove(object, kind), WalkFind(list, object, kind) != nullptr);
        break;
      case 3:
        if (list.count > 0) {
          DestroyObject(list.At(static_cast<int32_t>(draw(static_cast<uint32_t>(list.count)))));
        }
        break;
      case 4:
        if (list.count > 0) {
          tNode* node = list.RemoveAt(static_cast<int32_t>(draw(static_cast<uint32_t>(list.count))));
          ASSERT_NE(node, nullptr);
          // Back in at the end: it is the newest of its equals again.
          ASSERT_EQ(list.Append(node), node);
        }
        break;
      default:
        if (draw(40) == 0) {
          list.DeleteAll();
          ASSERT_EQ(list.count, 0);
        }
        break;
    }
    check(step);
  }
  list.DeleteAll();
}

}  // namespace
