#pragma once

#include <cstdint>

#include "base/LumoObject.h"
#include "base/TextUtils.h"

class LumoList;

// The persistent, named item of the framework's object trees. A node lives
// in at most one LumoList, its parent; lists are nodes, so nodes form trees.
// The order of the virtual operations is part of the interface between the
// deliverables. The fields are registered (and so streamed) in the order
// Flags, Name, Tag, ID, while their load/save slots run Name, Tag, ID, Flags.
class LumoNode : public LumoObject {
 public:
  LumoNode();
  // A node deleted while still in a list leaves it first (without hooks).
  ~LumoNode() override;

  const char* GetClassName() const override;
  // Case-insensitive comparison of the name with a key text.
  int CompareKey(const void* key) const override;
  // -1 unless other is a node; else the names compared.
  int Compare(const tObject* other) const override;
  // Leaves its list, then copies name, flags, tag and ID; the data becomes
  // the source's Restore result.
  bool DoAssign(LumoObject* other) override;
  // Leaves its list, unloads, frees the name, then dereferences.
  void DoFree() override;

  // Per-field load and save operations, taken by the field records.
  virtual bool LoadName(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveName(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadTag(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveTag(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadID(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveID(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadFlags(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveFlags(LumoStream* stream, const LumoProperty* property);
  // Pieces of the dump line that derived classes add to.
  virtual void DebugDumpBegin();
  virtual void DebugDumpFields();
  virtual void DebugDumpEnd();
  // Handles a message; answers whether it was handled.
  virtual bool DoMessage(int32_t message, LumoNode* sender);
  // One line describing the node in the debug log; with missingOnly, only a
  // named node without data is dumped ("*** MISSING DATA").
  virtual void DebugDump(bool missingOnly);
  // Stores a fresh copy of the text; answers the stored name (null when the
  // copy could not be made or the text is null).
  virtual const char* SetName(const char* text);
  virtual uintptr_t SetData(uintptr_t value);
  // Unloads when there is data; answers the data left.
  virtual uintptr_t Reset();
  virtual void Unload();
  // Loads the node's resource; the base only resets.
  virtual uintptr_t Load();
  // A value for a copy's data (assignment); the base has none.
  virtual uintptr_t Restore();
  virtual void SetTag(int32_t value);
  virtual void SetID(uint32_t value);
  // Moves this node before (after) an item of its list; answers the item
  // when moved, null otherwise (also without a parent).
  virtual LumoNode* MoveBefore(LumoNode* item);
  virtual LumoNode* MoveAfter(LumoNode* item);
  virtual LumoNode* MoveToFront();
  virtual LumoNode* MoveToBack();
  // Moves this node into the first (last) item of its parent's parent, when
  // that item is a list; answers that list, null when nothing moved.
  virtual LumoList* MoveToFirstParentSibling();
  virtual LumoList* MoveToLastParentSibling();
  // HandleMessage on target (this node when null) with this node as sender.
  virtual bool SendMessage(int32_t message, LumoNode* target);
  virtual bool OnMessage(int32_t message, LumoNode* sender);

  // On the receiver: DoMessage, then OnMessage, both always run; false for a
  // null sender.
  bool HandleMessage(int32_t message, LumoNode* sender);
  // Moves a node that has a parent to the end of another list.
  void MoveTo(LumoList* list);
  // The previous (next) sibling; at an end of the list, the nearest item of
  // the neighbouring list beside the parent; null when there is none.
  LumoNode* GetPreviousAcross() const;
  LumoNode* GetNextAcross() const;

  // The part of an assignment every node kind shares: leaves its list, then
  // copies name, flags, tag and ID; false only when the source has a name
  // and the copy could not be made. Data is left alone, for nodes that own
  // their data and must never take or share another node's.
  bool AssignNodeFields(const LumoNode& source);

  LumoNode* previous = nullptr;  // previous item of the parent, null at the head
  LumoNode* next = nullptr;      // next item, null at the tail
  LumoList* parent = nullptr;    // the list holding the node, null while free
  uint32_t Flags = 0;            // bit 0 is a list's Unique flag
  tCharStr Name = nullptr;
  // The loaded resource (a handle, a class record, a graphic node), so it is
  // pointer-sized; 0 means "not loaded". Never streamed.
  uintptr_t Data = 0;
  int32_t Tag = 0;  // lists use it as a use counter of resources
  uint32_t ID = 0;

 private:
  // Writes the part of the dump line that names a neighbour.
  static void DumpLink(const char* label, const LumoNode* node);
  void DumpLine(bool missingOnly);
};
