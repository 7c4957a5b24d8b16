#pragma once

#include <cstdint>

#include "base/LumoObject.h"

class LumoProperty;
class LumoStream;
class YLUnit;

// One step of a unit's plan: go somewhere, attack, enter, loot ... A step
// may be expanded into sub-steps (its children), and steps wait in queues.
// The plan is a tree: `child` is the first step of this step's sub-plan,
// `queue` the next step behind this one under the same parent.
//
// Ownership: a step owns its child chain and the rest of its queue. Deleting
// a step deletes that whole subtree, walking it in a loop, so neither a long
// queue nor a deep tree nests one deletion inside another.
class PsychicPlanItem : public LumoObject {
 public:
  // The answer of Execute when the step is reached.
  static constexpr int32_t kReached = 32;

  // All zero, expandable, unlinked.
  PsychicPlanItem();
  PsychicPlanItem(int32_t param1, int32_t param2, float motivation, bool fast);
  ~PsychicPlanItem() override;
  PsychicPlanItem(const PsychicPlanItem&) = delete;
  PsychicPlanItem& operator=(const PsychicPlanItem&) = delete;

  const char* GetClassName() const override;
  // Deletes the child chain and the rest of the queue.
  void DoFree() override;

  // The next elementary move code for the unit, kReached when the step is
  // done; the base waits (0).
  virtual int32_t Execute(YLUnit* unit);
  // A new step of the same kind with the same action, parameters,
  // motivation and fast flag (and the kind's own field), expandable and
  // unlinked. The caller owns it.
  virtual PsychicPlanItem* Clone() const;
  // For the first child of its parent: the parent's child becomes this
  // step's queue successor, and this step leaves its parent and queue (its
  // own sub-plan stays with it). Answers the parent.
  virtual PsychicPlanItem* Unlink();

  // The stream form of the links: a 32-bit flag (1 or 0) and, when set, the
  // linked step's whole record. A loaded queue takes this step's parent and
  // a loaded child this step as parent (its whole queue too). A record of
  // another class fails the load.
  virtual bool Loadqueue(LumoStream* stream, const LumoProperty* property);
  virtual bool Savequeue(LumoStream* stream, const LumoProperty* property);
  virtual bool Loadchild(LumoStream* stream, const LumoProperty* property);
  virtual bool Savechild(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadAction(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveAction(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadParam1(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveParam1(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadParam2(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveParam2(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadMotivation(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveMotivation(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadFast(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveFast(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadExpandable(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveExpandable(LumoStream* stream, const LumoProperty* property);

  // Deletes the child chain and the rest of the queue; both links cleared.
  void ClearChildren();
  // The innermost step: child links followed from here; itself without a
  // child.
  PsychicPlanItem* GetLeaf();
  // Links the item (with its own queue) behind the last step of this queue,
  // with this step's parent. Answers the item.
  PsychicPlanItem* AppendToQueue(PsychicPlanItem* item);
  // Links the item directly behind this step, with this step's parent.
  void InsertAfter(PsychicPlanItem* item);
  // The item (with its own queue) becomes the child, or joins the end of
  // the child queue.
  void AddChild(PsychicPlanItem* item);
  // The item becomes the first child; the old child chain follows the
  // item's own queue, all with this step as parent.
  void PushChild(PsychicPlanItem* item);
  // Copies the action, parameters, motivation and fast flag.
  void CopyTo(PsychicPlanItem& other) const;
  // Same action and parameters (motivation and flags do not count).
  bool Equals(const PsychicPlanItem& other) const;

  // Deletes a chain of steps and everything under them, in a loop.
  static void DeleteTree(PsychicPlanItem* first);

  PsychicPlanItem* parent = nullptr;  // the step whose sub-plan holds this one; not owned, not stored
  PsychicPlanItem* queue = nullptr;   // next step of the same queue; owned
  PsychicPlanItem* child = nullptr;   // first step of the sub-plan; owned
  int32_t Action = 0;                 // the order kind this step carries out
  int32_t Param1 = 0;
  int32_t Param2 = 0;
  float Motivation = 0.0f;
  bool Fast = false;
  bool Expandable = true;  // cleared once the step is expanded

 protected:
  // Reads one linked record (flag, then the object) for the field named.
  bool LoadLink(LumoStream* stream, const char* field, PsychicPlanItem*& link);
  static bool SaveLink(LumoStream* stream, PsychicPlanItem* link);
  // Sets the parent of a step and of every step queued behind it.
  static void SetQueueParent(PsychicPlanItem* first, PsychicPlanItem* owner);
};
