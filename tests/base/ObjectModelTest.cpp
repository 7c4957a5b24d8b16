#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "RecordingObjects.h"
#include "base/LumoList.h"

namespace object_model_testing {
namespace {

// ---- Guarded hooks ----

struct ThrowingCase {
  const char* hook;
  // Runs the operation on a node (free) or a list holding that node.
  std::function<void(RecordingList& list, RecordingNode& node)> operation;
  // The logged line; %p are filled with the list (if it has %1) and the node.
  std::function<std::string(const RecordingList& list, const RecordingNode& node)> line;
};

TEST_F(ObjectModelTest, ThrowingHookIsLoggedAndPassedOn) {
  const ThrowingCase cases[] = {
      {"DoDeactivate", [](RecordingList&, RecordingNode& node) { node.Free(); },
       [](const RecordingList&, const RecordingNode& node) {
         return Format("LumoObject::Free() Unhandled exception during DoDeactivate() (Object=%p:RecordingNode)\n",
                       static_cast<const void*>(&node));
       }},
      {"OnFree", [](RecordingList&, RecordingNode& node) { node.Free(); },
       [](const RecordingList&, const RecordingNode& node) {
         return Format("LumoObject::Free() Unhandled exception during OnFree() (Object=%p:RecordingNode)\n",
                       static_cast<const void*>(&node));
       }},
      {"OnAssign", [](RecordingList&, RecordingNode& node) { node.Assign(&node); },
       [](const RecordingList&, const RecordingNode& node) {
         return Format("LumoObject::Assign() Unhandled exception during OnAssign() (Object=%p:RecordingNode)\n",
                       static_cast<const void*>(&node));
       }},
      {"DoAttach", [](RecordingList& list, RecordingNode& node) { list.Append(&node); },
       [](const RecordingList& list, const RecordingNode& node) {
         return Format(
             "LumoList::Append() Unhandled exception during DoAttach() (List=%p:RecordingList, "
             "Node=%p:RecordingNode)\n",
             static_cast<const void*>(&list), static_cast<const void*>(&node));
       }},
      {"OnAttach", [](RecordingList& list, RecordingNode& node) { list.InsertBefore(nullptr, &node); },
       [](const RecordingList& list, const RecordingNode& node) {
         return Format(
             "LumoList::InsertBefore() Unhandled exception during OnAttach() (List=%p:RecordingList, "
             "Marker=(nil):(null), Node=%p:RecordingNode)\n",
             static_cast<const void*>(&list), static_cast<const void*>(&node));
       }},
      {"DoPopulate", [](RecordingList& list, RecordingNode&) { list.Populate(); },
       [](const RecordingList& list, const RecordingNode&) {
         return Format("LumoList::Populate() Unhandled exception during DoPopulate() (Object=%p:RecordingList)\n",
                       static_cast<const void*>(&list));
       }},
      {"OnActivate", [](RecordingList& list, RecordingNode&) { list.Populate(); },
       [](const RecordingList& list, const RecordingNode&) {
         return Format("LumoList::Populate() Unhandled exception during OnActivate() (Object=%p:RecordingList)\n",
                       static_cast<const void*>(&list));
       }},
      // A guarded operation inside another adds its own line.
      {"OnClear", [](RecordingList& list, RecordingNode&) { list.Populate(); },
       [](const RecordingList& list, const RecordingNode&) {
         const void* address = &list;
         return Format("LumoList::Clear() Unhandled exception during OnClear() (Object=%p:RecordingList)\n",
                       address) +
                Format("LumoList::Populate() Unhandled exception during Clear() (Object=%p:RecordingList)\n",
                       address);
       }},
      {"DoMessage", [](RecordingList& list, RecordingNode& node) {
         list.Append(&node);
         list.BroadcastMessage(7, nullptr);
       },
       [](const RecordingList& list, const RecordingNode& node) {
         const void* listAddress = &list;
         return Format(
                    "LumoNode::HandleMessage() Unhandled exception during DoMessage() (Message=7, "
                    "Sender=%p:RecordingList, Receiver=%p:RecordingNode)\n",
                    listAddress, static_cast<const void*>(&node)) +
                Format(
                    "LumoList::BroadcastMessage() Unhandled exception (Message=7, Sender=%p:RecordingList, "
                    "Object=%p:RecordingList)\n",
                    listAddress, listAddress);
       }},
  };
  for (const ThrowingCase& test : cases) {
    SCOPED_TRACE(test.hook);
    RecordingList list("list");
    auto* node = new RecordingNode("node");
    StartLog();
    ThrowingHook() = test.hook;
    EXPECT_THROW(test.operation(list, *node), std::runtime_error);
    ThrowingHook().clear();
    EXPECT_EQ(StopLog(), test.line(list, *node));
    if (node->parent == nullptr) {
      DestroyObject(node);
    }
  }
}

TEST_F(ObjectModelTest, ThrowingHookLogsNothingWhileTheLogIsOff) {
  RecordingNode node("node");
  ThrowingHook() = "OnFree";
  EXPECT_THROW(node.Free(), std::runtime_error);
  EXPECT_EQ(StopLog(), "");
}

TEST_F(ObjectModelTest, ClearReportsTheItemWhoseDestructionThrew) {
  RecordingList list("list");
  RecordingNode* first = list.Add("first");
  RecordingNode* second = list.Add("second");
  StartLog();
  ThrowingHook() = "DoFree";
  EXPECT_THROW(list.Clear(), std::runtime_error);
  ThrowingHook().clear();
  const void* listAddress = &list;
  EXPECT_EQ(StopLog(),
            Format("LumoObject::Free() Unhandled exception during DoFree() (Object=%p:RecordingNode)\n",
                   static_cast<const void*>(second)) +
                Format("LumoList::Clear() Unhandled exception during DestroyObject() (Object=%p:RecordingList, "
                       "Item=%p)\n",
                       listAddress, static_cast<const void*>(second)));
  EXPECT_EQ(list.last, second);
  EXPECT_EQ(first->next, second);
}

// ---- Assignment and registration ----

TEST_F(ObjectModelTest, AssignRefusesAnObjectOutsideTheModelWithoutRunningHooks) {
  RecordingNode node("node");
  tNode foreign;
  EXPECT_FALSE(node.Assign(&foreign));
  EXPECT_FALSE(node.Assign(nullptr));
  EXPECT_TRUE(Events().empty());
}

TEST_F(ObjectModelTest, PlainObjectRefusesRegistrationAndKeepsTheObject) {
  LumoObject owner;
  RecordingNode node("node");
  EXPECT_FALSE(owner.RegisterObject(&node));
  EXPECT_TRUE(Events().empty());
}

TEST_F(ObjectModelTest, VetoedRegistrationUnregistersAndDestroysTheObject) {
  RecordingList owner("owner");
  owner.vetoes = true;
  auto* node = new RecordingNode("node");
  EXPECT_FALSE(owner.RegisterObject(node));
  EXPECT_EQ(owner.Count, 0);
  EXPECT_EQ(Events().back(), "delete node");
}

TEST_F(ObjectModelTest, RefusedObjectWhoseDeletionThrowsIsLoggedWithItsOwner) {
  RecordingList owner("owner");
  owner.vetoes = true;
  auto* node = new RecordingNode("node");
  StartLog();
  ThrowingHook() = "DoFree";
  EXPECT_THROW(owner.RegisterObject(node), std::runtime_error);
  ThrowingHook().clear();
  const std::string log = StopLog();
  const std::string line =
      Format("LumoObject::RegisterObject() Unhandled exception during deletion of an object (Owner=%p:RecordingList)\n",
             static_cast<const void*>(&owner));
  EXPECT_NE(log.find(line), std::string::npos) << log;
  EXPECT_EQ(owner.Count, 0);
  DestroyObject(node);
}

TEST_F(ObjectModelTest, ListDoesNotTakeAnItemOfAnotherList) {
  RecordingList home("home");
  RecordingList other("other");
  other.vetoes = true;
  RecordingNode* node = home.Add("node");
  // Not taken, so a veto must not destroy it either.
  EXPECT_FALSE(other.RegisterObject(node));
  EXPECT_EQ(node->parent, &home);
  EXPECT_TRUE(home.RegisterObject(node));
  EXPECT_EQ(home.Count, 1);
}

// ---- References ----

TEST_F(ObjectModelTest, DestroyingAnObjectTellsEveryReferrerAndLeavesNoReference) {
  RecordingNode first("first");
  RecordingNode second("second");
  auto* target = new RecordingNode("target");
  ASSERT_EQ(first.AddReference(target), target);
  ASSERT_EQ(second.AddReference(target), target);
  EXPECT_TRUE(target->HasReferrers());
  EXPECT_FALSE(first.HasReferrers());
  Events().clear();
  DestroyObject(target);
  EXPECT_EQ(Events(), (std::vector<std::string>{
                          "DoDeactivate target", "OnFree target", "DoFree target", "Unload target",
                          "OnAbortReferenceTo second target", "DoAbortReferenceTo second target",
                          "OnAbortReferenceTo first target", "DoAbortReferenceTo first target", "delete target"}));
  EXPECT_EQ(first.references, nullptr);
  EXPECT_EQ(second.references, nullptr);
}

TEST_F(ObjectModelTest, DestroyingAReferrerTellsItOfEveryObjectItReferredTo) {
  RecordingNode target("target");
  RecordingNode other("other");
  auto* referrer = new RecordingNode("referrer");
  referrer->AddReference(&target);
  referrer->AddReference(&other);
  Events().clear();
  DestroyObject(referrer);
  EXPECT_EQ(Events(), (std::vector<std::string>{"DoDeactivate referrer", "OnFree referrer", "DoFree referrer", "Unload referrer",
                                                "OnAbortReferenceTo referrer other",
                                                "DoAbortReferenceTo referrer other",
                                                "OnAbortReferenceTo referrer target",
                                                "DoAbortReferenceTo referrer target", "delete referrer"}));
  EXPECT_EQ(target.references, nullptr);
  EXPECT_EQ(other.references, nullptr);
}

TEST_F(ObjectModelTest, EachAddReferenceAddsOnePair) {
  RecordingNode referrer("referrer");
  RecordingNode target("target");
  referrer.AddReference(&target);
  referrer.AddReference(&target);
  EXPECT_EQ(target.references->notificationCount, 2);
  referrer.RemoveReference(&target);
  EXPECT_TRUE(target.HasReferrers());
  EXPECT_EQ(referrer.references->count, 1);
  referrer.RemoveReference(&target);
  EXPECT_FALSE(target.HasReferrers());
  EXPECT_EQ(referrer.references, nullptr);
  EXPECT_EQ(target.references, nullptr);
  referrer.RemoveReference(&target);
  referrer.RemoveReference(nullptr);
  EXPECT_EQ(referrer.AddReference(nullptr), nullptr);
  EXPECT_TRUE(Events().empty());
}

TEST_F(ObjectModelTest, ReferrerMayDestroyItselfWhenTold) {
  auto* referrer = new RecordingNode("referrer");
  referrer->destroyOnAbort = true;
  RecordingNode bystander("bystander");
  auto* target = new RecordingNode("target");
  referrer->AddReference(target);
  bystander.AddReference(target);
  referrer->AddReference(&bystander);
  DestroyObject(target);
  EXPECT_EQ(bystander.references, nullptr);
  EXPECT_NE(std::find(Events().begin(), Events().end(), "delete referrer"), Events().end());
}

TEST_F(ObjectModelTest, ObjectDeletedWithoutFreeStillLeavesNoReference) {
  RecordingNode referrer("referrer");
  auto* target = new RecordingNode("target");
  referrer.AddReference(target);
  target->AddReference(&referrer);
  delete target;
  EXPECT_EQ(referrer.references, nullptr);
}

TEST_F(ObjectModelTest, SelfReferenceEndsCleanly) {
  auto* node = new RecordingNode("node");
  node->AddReference(node);
  EXPECT_TRUE(node->HasReferrers());
  DestroyObject(node);
  EXPECT_EQ(Events().back(), "delete node");
}

}  // namespace
}  // namespace object_model_testing
