#pragma once

#include <cstdint>
#include <utility>

#include "base/LumoNode.h"

// The framework's container of nodes. It owns its items: clearing or freeing
// a list destroys them. Every change of membership runs a guarded Do/On hook
// pair; hooks cannot veto it. The order of the virtual operations is part of
// the interface between the deliverables.
//
// Walks over the items survive callbacks that remove, destroy or add items,
// the item that would come next included: removal moves every running walk
// off the leaving item. Items added behind a walk's position are not visited.
class LumoList : public LumoNode {
 public:
  static constexpr uint32_t kUniqueFlag = 1;  // bit 0 of Flags

  LumoList();
  // Items left in a list deleted without DestroyObject are destroyed.
  ~LumoList() override;

  const char* GetClassName() const override;
  // Clear, the node's assignment, then a copy of every item of another list.
  bool DoAssign(LumoObject* other) override;
  // Clear: freeing a list destroys its items first.
  void DoDeactivate() override;
  // Takes a node as an item (one already here counts as taken).
  bool DoRegisterObject(LumoObject* object) override;
  bool DoUnregisterObject(LumoObject* object) override;
  // Every item's Dereference, last to first, then the list's own.
  void Dereference() override;
  void DebugDumpFields() override;
  // The node's line, then every item's, first to last.
  void DebugDump(bool missingOnly) override;

  // The items in stream form: their count, then one object record each.
  virtual bool LoadCount(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveCount(LumoStream* stream, const LumoProperty* property);
  virtual void DoClear();
  virtual void DoAttach(LumoNode* item);
  virtual void DoDetach(LumoNode* item);
  virtual void DoPopulate();
  virtual void DoActivate();
  // Sets Unique when flag is true; once set it stays. Answers the flag.
  virtual bool SetUnique(bool flag);
  // The first item, from the first on, whose name matches case-insensitively.
  virtual LumoNode* FindByName(const char* name);
  virtual LumoNode* FindByData(uintptr_t value);
  virtual LumoNode* FindByID(uint32_t id);
  // A new free item of the list's item type (a plain LumoNode).
  virtual LumoNode* CreateItem();
  // CreateItem, then SetName; null for a null name or when naming fails.
  virtual LumoNode* CreateNamedItem(const char* name);
  // In a unique list the item of that name when there is one; otherwise a
  // new named item, appended.
  virtual LumoNode* FindOrCreate(const char* name);
  virtual void OnClear();
  virtual void OnAttach(LumoNode* item);
  virtual void OnDetach(LumoNode* item);
  virtual void OnPopulate();
  virtual void OnActivate();

  // ---- Membership; each answers the item, or null when nothing was done ----

  // Links a free item at the end; a null item or one with a parent comes back
  // unchanged. A list never takes itself or one of its ancestors.
  LumoNode* Append(LumoNode* item);
  // Links a free item before (after) a marker of this list. With a null or
  // foreign marker only an empty list takes the item.
  LumoNode* InsertBefore(LumoNode* marker, LumoNode* item);
  LumoNode* InsertAfter(LumoNode* marker, LumoNode* item);
  // Inserts before the item at index; any other index appends.
  LumoNode* InsertAt(int32_t index, LumoNode* item);
  // Runs the detach hooks, then unlinks an item of this list.
  LumoNode* Remove(LumoNode* item);
  LumoNode* RemoveAt(int32_t index);
  // Moves an item before (after) another item of this list, through Remove
  // and Insert so both hook pairs run; the marker when both are the same.
  LumoNode* MoveBefore(LumoNode* marker, LumoNode* item);
  LumoNode* MoveAfter(LumoNode* marker, LumoNode* item);
  using LumoNode::MoveAfter;
  using LumoNode::MoveBefore;
  // Walks from the nearer end; null outside 0..Count-1.
  LumoNode* At(int32_t index) const;
  int32_t IndexOf(const LumoNode* item) const;
  bool Contains(const LumoNode* item) const;
  bool IsUnique() const;

  // ---- Bulk operations ----

  // OnClear, DoClear, then destroys the items from the last to the first.
  void Clear();
  // Clear, DoPopulate, OnPopulate, OnActivate, DoActivate.
  void Populate();
  // Asks the items from the last to the first (HandleMessage); the first one
  // that handles it ends the broadcast with true. A null sender is the list.
  bool BroadcastMessage(int32_t message, LumoNode* sender);

  // ---- Resources held by the items ----

  // FindOrCreate, loaded when it has no data; an item that cannot be loaded
  // is destroyed and null answered.
  LumoNode* GetLoaded(const char* name);
  void LoadAll();        // Load on every named item without data, first to last
  void ReloadAll();      // Load on every named item, first to last
  void UnloadAll();      // Unload on every named item, last to first
  void IncrementTags();  // SetTag(Tag + 1) on every item, first to last
  void DecrementTags();  // SetTag(Tag - 1) on every item, first to last
  void DeleteTagged();   // destroys every item whose Tag is not 0, last to first
  void DeleteUntagged();  // destroys every item whose Tag is 0, last to first
  void DeleteUnreferenced();  // destroys every item without referrers, last to first

  // ---- Walks for derived lists ----

  // Calls visit(item) on every item from the first to the last (the last to
  // the first) until it answers true; answers whether it was stopped. The
  // walk survives what the visits do to the list, as described above.
  template <typename Visit>
  bool VisitItems(Visit&& visit) {
    return WalkItems(Direction::FirstToLast, std::forward<Visit>(visit));
  }
  template <typename Visit>
  bool VisitItemsBackwards(Visit&& visit) {
    return WalkItems(Direction::LastToFirst, std::forward<Visit>(visit));
  }

  int32_t Count = 0;
  LumoNode* first = nullptr;
  LumoNode* last = nullptr;

 private:
  friend class LumoNode;

  // A running walk over the items; the innermost is at the head.
  struct Walk {
    LumoNode* pending;  // the item to visit next
    bool backwards;
    Walk* outer;
  };
  enum class Direction { FirstToLast, LastToFirst };
  enum class Linking { Append, InsertBefore, InsertAfter };

  // Visits every item in the given direction until visit answers true;
  // answers whether it was stopped.
  template <typename Visit>
  bool WalkItems(Direction direction, Visit&& visit) {
    const bool backwards = direction == Direction::LastToFirst;
    Walk walk{backwards ? last : first, backwards, walks};
    walks = &walk;
    // Unregisters the walk however the visit ends, exceptions included.
    struct Unregister {
      LumoList* list;
      Walk* walk;
      ~Unregister() { list->walks = walk->outer; }
    } unregister{this, &walk};
    while (walk.pending != nullptr) {
      LumoNode* item = walk.pending;
      walk.pending = backwards ? item->previous : item->next;
      if (visit(item)) {
        return true;
      }
    }
    return false;
  }
  // Items matching a test, destroyed from the last to the first.
  template <typename Test>
  void DeleteItems(Test&& test);

  // Links a free item between two neighbours and runs the attach hooks,
  // reported under the operation's name.
  LumoNode* Link(LumoNode* before, LumoNode* item, LumoNode* after, Linking operation, LumoNode* marker);
  LumoNode* Insert(LumoNode* marker, LumoNode* item, Linking operation);
  // Unlinks an item without hooks, moving running walks off it.
  void Unlink(LumoNode* item);
  // True when node is this list or one of its ancestors.
  bool IsSelfOrAncestor(const LumoNode* node) const;

  Walk* walks = nullptr;
};
