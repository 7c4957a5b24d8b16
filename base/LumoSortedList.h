#pragma once

#include <cstdint>
#include <memory>

#include "base/LumoList.h"
#include "base/LumoObjects.h"

// A list that also keeps its named items in a second index sorted by name
// (case-insensitive), so lookups by name are binary searches. The graphic,
// sound and movie lists derive from it.
class LumoSortedList : public LumoList {
 public:
  // Set in Flags while FindOrCreate appends, which indexes the item itself.
  static constexpr uint32_t kIndexingFlag = 2;  // bit 1

  LumoSortedList();

  const char* GetClassName() const override;
  // Empties the index.
  void DoClear() override;
  // Indexes a named item at its sorted place; a unique list indexes only the
  // first item of a name.
  void DoAttach(LumoNode* item) override;
  // Takes the item out of the index.
  void DoDetach(LumoNode* item) override;
  // An item just loaded into this list is indexed now that its name is
  // known. False unless object is an item of this list.
  bool DoPrepare(LumoObject* other) override;
  // Destroys the index, then frees the node.
  void DoFree() override;
  // A binary search of the index; null for a null name or none found.
  LumoNode* FindByName(const char* name) override;
  // In a unique list the indexed item of that name; otherwise a new named
  // item, appended and indexed.
  LumoNode* FindOrCreate(const char* name) override;

  // The named items sorted by name; it does not own them. Null only when
  // memory ran out or the list has been freed.
  std::unique_ptr<LumoObjects, tObjectDestroyer> index;

 private:
  // Inserts a named item at its sorted place (unique lists: only when the
  // name is not indexed yet).
  void IndexItem(LumoNode* item);
};
