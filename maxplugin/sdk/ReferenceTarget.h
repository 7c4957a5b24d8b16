#pragma once

// Our own stand-in of the modelling tool's reference system: objects that
// depend on others (makers) and objects that others depend on (targets). A
// target tells its dependents when it changes; the message travels on through
// dependents that are targets themselves.

#include <vector>

#include "maxplugin/sdk/MaxTypes.h"

// Which parts of a target changed: a set of bits, each target giving its own
// meaning to them.
using PartID = uint32_t;

// What happened to a target.
using RefMessage = uint32_t;

constexpr PartID kPartAll = 0xFFFFFFFF;         // every part
constexpr RefMessage kRefMessageChange = 0x70;  // the target's value changed
// The target is being deleted: drop it, and call nothing on it.
constexpr RefMessage kRefMessageTargetDeleted = 0x71;

// The super class filter that lets a notification reach dependents of every kind.
constexpr SClass_ID kNotifyAllClasses = 0xFFFFFFFF;

// A dependent's answer to a notification.
enum class RefResult { Succeed, Stop };  // Stop: do not pass the message on to my dependents

class ReferenceTarget;

// An object that depends on targets and hears of their changes. It leaves
// every target it depends on when it is destroyed, so no target keeps a
// dangling dependent.
class ReferenceMaker {
 public:
  ReferenceMaker(const ReferenceMaker&) = delete;
  ReferenceMaker& operator=(const ReferenceMaker&) = delete;

  // The kind of this object; notifications limited to one kind reach only it.
  virtual SClass_ID SuperClassID() const = 0;

  // A target this object depends on changed over changeInterval. Answering
  // Stop keeps the message from travelling on to this object's own dependents.
  virtual RefResult NotifyRefChanged(const Interval& changeInterval, ReferenceTarget* target,
                                     PartID part, RefMessage message) = 0;

 protected:
  ReferenceMaker() = default;
  virtual ~ReferenceMaker();

 private:
  friend class ReferenceTarget;

  // Passes a message on to this object's own dependents; a plain maker has none.
  virtual void PassOn(const Interval& changeInterval, PartID part, RefMessage message,
                      SClass_ID superClass);

  std::vector<ReferenceTarget*> targets;  // the targets this object depends on, each once
};

// An object others depend on. The tool and its plug-ins free targets only
// through DeleteThis, so each is freed by the library that made it.
class ReferenceTarget : public ReferenceMaker {
 public:
  // Frees this object.
  virtual void DeleteThis() = 0;

  // Makes dependent hear of this target's changes; adding it twice adds it
  // once, and a target added to itself is not added.
  void AddDependent(ReferenceMaker* dependent);
  // Stops dependent hearing of this target's changes.
  void RemoveDependent(ReferenceMaker* dependent);
  bool HasDependent(const ReferenceMaker* dependent) const;
  int NumDependents() const { return static_cast<int>(dependents.size()); }

  // Tells every dependent of the kind superClass (or of every kind) that part
  // changed over changeInterval. With propagate, a dependent that is a target
  // itself passes the message on to its own dependents unless it answers Stop.
  // A dependent may leave, or remove another, while it is being told (but
  // must not delete this target); a target already passing a message on
  // ignores one that comes back to it through a loop of dependents.
  void NotifyDependents(const Interval& changeInterval, PartID part, RefMessage message,
                        SClass_ID superClass = kNotifyAllClasses, bool propagate = true);

 protected:
  ReferenceTarget() = default;
  // Tells the remaining dependents that this target is being deleted, then
  // leaves them.
  ~ReferenceTarget() override;

 private:
  void PassOn(const Interval& changeInterval, PartID part, RefMessage message,
              SClass_ID superClass) override;

  std::vector<ReferenceMaker*> dependents;  // in the order they were added
  bool notifying = false;
};
