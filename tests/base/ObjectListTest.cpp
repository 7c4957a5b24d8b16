#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "RecordingObjects.h"
#include "base/LumoList.h"

namespace object_model_testing {
namespace {

using Strings = std::vector<std::string>;

Strings NamesOf(const LumoList& list) {
  Strings names;
  for (const LumoNode* item = list.first; item != nullptr; item = item->next) {
    names.push_back(NameOf(item));
  }
  return names;
}

// ---- Hook orders ----

struct HookOrderCase {
  const char* operation;
  std::function<void(RecordingList*& list)> run;  // may destroy the list (and null it)
  Strings events;
};

TEST_F(ObjectModelTest, OperationsRunTheirHooksInOrder) {
  const HookOrderCase cases[] = {
      {"Append", [](RecordingList*& list) { list->Add("c"); },
       {"DoAttach list c", "OnAttach list c"}},
      {"Remove", [](RecordingList*& list) { DestroyObject(list->Remove(list->first)); },
       {"DoDetach list a", "OnDetach list a", "DoDeactivate a", "OnFree a", "DoFree a", "Unload a", "delete a"}},
      {"Clear", [](RecordingList*& list) { list->Clear(); },
       {"OnClear list", "DoClear list", "DoDeactivate b", "OnFree b", "DoFree b", "DoDetach list b",
        "OnDetach list b", "Unload b", "delete b", "DoDeactivate a", "OnFree a", "DoFree a", "DoDetach list a",
        "OnDetach list a", "Unload a", "delete a"}},
      {"Populate", [](RecordingList*& list) { list->Populate(); },
       {"OnClear list", "DoClear list", "DoDeactivate b", "OnFree b", "DoFree b", "DoDetach list b",
        "OnDetach list b", "Unload b", "delete b", "DoDeactivate a", "OnFree a", "DoFree a", "DoDetach list a",
        "OnDetach list a", "Unload a", "delete a", "DoPopulate list", "OnPopulate list", "OnActivate list", "DoActivate list"}},
      // Freeing a list clears it (destroying the items) before its own DoFree.
      {"Free",
       [](RecordingList*& list) {
         DestroyObject(list);
         list = nullptr;
       },
       {"DoDeactivate list", "OnClear list", "DoClear list", "DoDeactivate b", "OnFree b", "DoFree b",
        "DoDetach list b", "OnDetach list b", "Unload b", "delete b", "DoDeactivate a", "OnFree a", "DoFree a",
        "DoDetach list a", "OnDetach list a", "Unload a", "delete a", "OnFree list", "DoFree list", "delete list"}},
      // A move is a removal and an insertion, with both hook pairs.
      {"MoveBefore", [](RecordingList*& list) { list->MoveBefore(list->first, list->last); },
       {"DoDetach list b", "OnDetach list b", "DoAttach list b", "OnAttach list b"}},
  };
  for (const HookOrderCase& test : cases) {
    SCOPED_TRACE(test.operation);
    auto* list = new RecordingList("list");
    list->Add("a");
    list->Add("b");
    Events().clear();
    test.run(list);
    EXPECT_EQ(Events(), test.events);
    DestroyObject(list);
  }
}

TEST_F(ObjectModelTest, BroadcastAsksFromTheLastItemAndStopsAtTheFirstThatHandlesIt) {
  RecordingList list("list");
  list.Add("a");
  list.Add("b")->handles = true;
  list.Add("c");
  Events().clear();
  EXPECT_TRUE(list.BroadcastMessage(3, nullptr));
  EXPECT_EQ(Events(), (Strings{"DoMessage c list", "OnMessage c list", "DoMessage b list", "OnMessage b list"}));

  Events().clear();
  RecordingNode sender("sender");
  static_cast<RecordingNode*>(list.first->next)->handles = false;
  EXPECT_FALSE(list.BroadcastMessage(3, &sender));
  EXPECT_EQ(Events(), (Strings{"DoMessage c sender", "OnMessage c sender", "DoMessage b sender",
                               "OnMessage b sender", "DoMessage a sender", "OnMessage a sender"}));
}

// ---- Walks that survive changes made by the items they visit ----

struct WalkCase {
  const char* change;
  void (*onMessage)(RecordingNode* receiver, int32_t message);
  Strings visited;   // the receivers, in order
  Strings leftOver;  // the list's items afterwards
};

void DestroyPrevious(RecordingNode* receiver, int32_t) {
  if (receiver->previous != nullptr) {
    DestroyObject(receiver->previous);
  }
}
void DestroySelf(RecordingNode* receiver, int32_t) {
  receiver->onMessage = nullptr;
  DestroyObject(receiver);
}
void MovePreviousAway(RecordingNode* receiver, int32_t) {
  if (receiver->previous != nullptr) {
    receiver->previous->MoveToFront();
  }
}
void AddItems(RecordingNode* receiver, int32_t) {
  if (std::string(receiver->Name) == "c") {
    receiver->parent->Append(new RecordingNode("late"));
    receiver->parent->InsertBefore(receiver->parent->first, new RecordingNode("early"));
  }
}
void ClearTheList(RecordingNode* receiver, int32_t) { receiver->parent->Clear(); }

TEST_F(ObjectModelTest, BroadcastSurvivesItemsThatChangeTheList) {
  const WalkCase cases[] = {
      {"destroys the next item", DestroyPrevious, {"c", "a"}, {"a", "c"}},
      {"destroys itself", DestroySelf, {"c", "b", "a"}, {}},
      {"moves the next item to the front", MovePreviousAway, {"c", "a", "b"}, {"b", "a", "c"}},
      {"adds items at both ends", AddItems, {"c", "b", "a", "early"}, {"early", "a", "b", "c", "late"}},
      {"clears the list", ClearTheList, {"c"}, {}},
  };
  for (const WalkCase& test : cases) {
    SCOPED_TRACE(test.change);
    RecordingList list("list");
    for (const char* name : {"a", "b", "c"}) {
      list.Add(name)->onMessage = test.onMessage;
    }
    Events().clear();
    EXPECT_FALSE(list.BroadcastMessage(1, nullptr));
    Strings visited;
    for (const std::string& event : Events()) {
      if (event.rfind("DoMessage ", 0) == 0) {
        visited.push_back(event.substr(10, event.find(' ', 10) - 10));
      }
    }
    EXPECT_EQ(visited, test.visited);
    EXPECT_EQ(NamesOf(list), test.leftOver);
  }
}

TEST_F(ObjectModelTest, DeleteWalksSurviveAnItemThatDestroysItsNeighbour) {
  RecordingList list("list");
  RecordingNode* a = list.Add("a");
  RecordingNode* b = list.Add("b");
  RecordingNode* c = list.Add("c");
  a->Tag = 1;
  c->Tag = 1;
  c->buddy = b;  // c's end takes b with it, the item the walk would visit next
  list.DeleteTagged();
  EXPECT_TRUE(NamesOf(list).empty());
  EXPECT_EQ(Events().back(), "delete a");
}

TEST_F(ObjectModelTest, TagWalksSelectTheirItems) {
  struct Case {
    const char* operation;
    void (LumoList::*run)();
    Strings leftOver;
  };
  const Case cases[] = {
      {"DeleteTagged", &LumoList::DeleteTagged, {"zero"}},
      {"DeleteUntagged", &LumoList::DeleteUntagged, {"one", "minus"}},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.operation);
    RecordingList list("list");
    list.Add("one")->Tag = 1;
    list.Add("zero");
    list.Add("minus")->Tag = -1;
    (list.*test.run)();
    EXPECT_EQ(NamesOf(list), test.leftOver);
  }
  RecordingList list("list");
  list.Add("a");
  list.Add("b");
  Events().clear();
  list.IncrementTags();
  list.DecrementTags();
  list.DecrementTags();
  EXPECT_EQ(Events(), (Strings{"SetTag a 1", "SetTag b 1", "SetTag a 0", "SetTag b 0", "SetTag a -1", "SetTag b -1"}));
}

TEST_F(ObjectModelTest, DeleteUnreferencedKeepsItemsOthersReferTo) {
  RecordingList list("list");
  list.Add("free");
  RecordingNode* held = list.Add("held");
  RecordingNode holder("holder");
  holder.AddReference(held);
  list.DeleteUnreferenced();
  EXPECT_EQ(NamesOf(list), Strings{"held"});
}

// ---- Lookups and factories ----

TEST_F(ObjectModelTest, FindOrCreateReusesANameOnlyInAUniqueList) {
  struct Case {
    bool unique;
    const char* name;
    bool reused;
  };
  const Case cases[] = {{false, "a", false}, {true, "a", true}, {true, "A", true}, {true, "b", false}};
  for (const Case& test : cases) {
    SCOPED_TRACE(std::string(test.unique ? "unique " : "plain ") + test.name);
    RecordingList list("list");
    list.SetUnique(test.unique);
    LumoNode* existing = list.Add("a");
    LumoNode* found = list.FindOrCreate(test.name);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found == existing, test.reused);
    EXPECT_EQ(list.Count, test.reused ? 1 : 2);
    EXPECT_STREQ(found->Name, test.reused ? "a" : test.name);
  }
  RecordingList list("list");
  EXPECT_EQ(list.FindOrCreate(nullptr), nullptr);
  EXPECT_EQ(list.Count, 0);
}

TEST_F(ObjectModelTest, UniqueFlagOnceSetStaysSet) {
  LumoList list;
  EXPECT_FALSE(list.SetUnique(false));
  EXPECT_TRUE(list.SetUnique(true));
  EXPECT_TRUE(list.SetUnique(false));
  EXPECT_EQ(list.Flags, LumoList::kUniqueFlag);
}

TEST_F(ObjectModelTest, FindsItemsByNameDataAndIdentifier) {
  RecordingList list("list");
  RecordingNode* first = list.Add("Alpha");
  RecordingNode* second = list.Add("alpha");
  second->SetData(11);
  second->SetID(4);
  EXPECT_EQ(list.FindByName("ALPHA"), first);
  EXPECT_EQ(list.FindByName(nullptr), nullptr);
  EXPECT_EQ(list.FindByData(11), second);
  EXPECT_EQ(list.FindByID(4), second);
  EXPECT_EQ(list.FindByID(5), nullptr);
}

TEST_F(ObjectModelTest, AtFindsEveryIndexFromEitherEnd) {
  for (int32_t size = 0; size <= 5; ++size) {
    LumoList list;
    std::vector<LumoNode*> items;
    for (int32_t index = 0; index < size; ++index) {
      items.push_back(list.Append(new LumoNode));
    }
    for (int32_t index = -1; index <= size; ++index) {
      SCOPED_TRACE(std::to_string(size) + " items, index " + std::to_string(index));
      LumoNode* expected = index >= 0 && index < size ? items[static_cast<size_t>(index)] : nullptr;
      EXPECT_EQ(list.At(index), expected);
      if (expected != nullptr) {
        EXPECT_EQ(list.IndexOf(expected), index);
      }
    }
  }
}

// ---- Membership ----

TEST_F(ObjectModelTest, InsertWithoutMarkerTakesTheItemOnlyIntoAnEmptyList) {
  LumoList list;
  auto* first = new LumoNode;
  EXPECT_EQ(list.InsertBefore(nullptr, first), first);
  LumoNode second;
  EXPECT_EQ(list.InsertBefore(nullptr, &second), nullptr);
  EXPECT_EQ(list.InsertAfter(nullptr, &second), nullptr);
  LumoList other;
  LumoNode* foreignMarker = other.Append(new LumoNode);
  EXPECT_EQ(list.InsertAfter(foreignMarker, &second), nullptr);
  EXPECT_EQ(second.parent, nullptr);
  EXPECT_EQ(list.Count, 1);
}

TEST_F(ObjectModelTest, ItemsInsertAtTheirPlace) {
  RecordingList list("list");
  RecordingNode* b = list.Add("b");
  list.InsertBefore(b, new RecordingNode("a"));
  list.InsertAfter(b, new RecordingNode("c"));
  list.InsertAt(3, new RecordingNode("d"));
  list.InsertAt(0, new RecordingNode("start"));
  list.InsertAt(-1, new RecordingNode("end"));
  EXPECT_EQ(NamesOf(list), (Strings{"start", "a", "b", "c", "d", "end"}));
  DestroyObject(list.RemoveAt(1));
  EXPECT_EQ(list.RemoveAt(5), nullptr);
  EXPECT_EQ(list.Count, 5);
}

TEST_F(ObjectModelTest, AppendLeavesAnItemOfAnotherListWhereItIs) {
  RecordingList home("home");
  RecordingList other("other");
  RecordingNode* node = home.Add("node");
  Events().clear();
  EXPECT_EQ(other.Append(node), node);
  EXPECT_EQ(node->parent, &home);
  EXPECT_EQ(other.Count, 0);
  EXPECT_EQ(other.Remove(node), nullptr);
  EXPECT_EQ(other.Append(nullptr), nullptr);
  EXPECT_TRUE(Events().empty());
}

TEST_F(ObjectModelTest, ListNeverHoldsItselfOrAnAncestor) {
  LumoList root;
  auto* child = new LumoList;
  root.Append(child);
  LumoList* loose = &root;
  root.Remove(child);
  child->Append(new LumoNode);
  EXPECT_EQ(child->Append(child), nullptr);
  root.Append(child);
  EXPECT_EQ(child->Append(loose), nullptr);
  EXPECT_EQ(child->InsertBefore(child->first, loose), nullptr);
  EXPECT_EQ(root.parent, nullptr);
  EXPECT_EQ(child->Count, 1);
}

TEST_F(ObjectModelTest, AssignedListCopiesEveryItem) {
  RecordingList source("source");
  source.Add("a")->Tag = 2;
  source.Add("b");
  RecordingList copy("copy");
  copy.Add("old");
  EXPECT_TRUE(copy.Assign(&source));
  EXPECT_EQ(NamesOf(copy), (Strings{"a", "b"}));
  EXPECT_EQ(copy.first->Tag, 2);
  EXPECT_STREQ(copy.Name, "source");
  EXPECT_EQ(NamesOf(source), (Strings{"a", "b"}));
  LumoNode plain;
  EXPECT_FALSE(copy.Assign(&plain));
  EXPECT_EQ(copy.Count, 0);
}

// ---- Resources ----

TEST_F(ObjectModelTest, GetLoadedKeepsOnlyItemsThatLoad) {
  struct LoadingList : RecordingList {
    using RecordingList::RecordingList;
    uintptr_t nextData = 0;
    LumoNode* CreateItem() override {
      auto* item = new RecordingNode;
      item->loadedData = nextData;
      return item;
    }
  };
  LoadingList list("list");
  list.SetUnique(true);
  list.nextData = 0;
  EXPECT_EQ(list.GetLoaded("broken"), nullptr);
  EXPECT_EQ(list.Count, 0);
  list.nextData = 5;
  LumoNode* loaded = list.GetLoaded("sound");
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(loaded->Data, 5u);
  Events().clear();
  EXPECT_EQ(list.GetLoaded("SOUND"), loaded);
  EXPECT_TRUE(Events().empty());
}

TEST_F(ObjectModelTest, ResourceWalksVisitNamedItemsInTheirOrder) {
  RecordingList list("list");
  list.Add("a")->loadedData = 1;
  list.Append(new RecordingNode);
  RecordingNode* b = list.Add("b");
  b->loadedData = 2;
  b->SetData(9);
  Events().clear();
  list.LoadAll();
  EXPECT_EQ(Events(), (Strings{"Load a"}));
  Events().clear();
  list.ReloadAll();
  EXPECT_EQ(Events(), (Strings{"Load a", "Load b"}));
  Events().clear();
  list.UnloadAll();
  EXPECT_EQ(Events(), (Strings{"Unload b", "Unload a"}));
}

}  // namespace
}  // namespace object_model_testing
