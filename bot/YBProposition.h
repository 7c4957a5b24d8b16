#pragma once

#include <cstdint>
#include <string>

#include "base/LumoNode.h"

class YBObjective;
class YBTask;

// A possible move of one crew that the situation search tries out; when
// the controller realises it, it hands its task to the crew. Kinds override
// the virtual operations and are made by class name.
//
// Task ownership: the proposition that made (or was given) a task owns it
// until the task joins a bot, which owns it from then on. Copies of the
// proposition, and the proposition once the task joined a bot, only refer
// to it, and hear when it goes; so a task is freed exactly once however
// many copies of the proposition the search made.
class YBProposition : public LumoNode {
 public:
  YBProposition() { ID = 0; }

  const char* GetClassName() const override { return "YBProposition"; }
  // Destroys the task when this proposition still owns it.
  void OnFree() override;
  void DoAbortReferenceTo(LumoObject* other) override;

  virtual void SetPriority(float value) { Priority = value; }
  virtual bool LoadPriority(LumoStream* stream, const LumoProperty* property);
  virtual bool SavePriority(LumoStream* stream, const LumoProperty* property);
  virtual void SetTime(int32_t value) { Time = value; }
  virtual bool LoadTime(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveTime(LumoStream* stream, const LumoProperty* property);
  // GetKind shifted left by 16 bits; kinds add their own low 16 bits.
  virtual uint32_t GetKey() { return static_cast<uint32_t>(GetKind()) << 16; }
  // A new proposition of the same class with default fields (through the
  // class registry); null when the class is not registered.
  virtual YBProposition* CreateNew() const;
  virtual int32_t GetKind() const { return 0; }
  // The task; the first call makes a plain task, which this proposition
  // then owns.
  virtual YBTask* GetTask();
  // This proposition takes the task (and owns it while it joined no bot);
  // a task held before is released.
  virtual void SetTask(YBTask* task);
  virtual std::string GetDescription() const { return "Dummy proposition"; }

  // CreateNew, then Priority, Time, key, objective and task copied; the copy
  // refers to the task without owning it.
  YBProposition* Copy() const;
  void IncrementTime() { ++Time; }
  // The task held, without making one.
  YBTask* PeekTask() const { return Task; }
  bool OwnsTask() const { return ownsTask_; }

  float Priority = 0.0f;
  int32_t Time = 0;
  uint32_t Key = 0;  // GetKey cached by the controller; 0 not yet computed
  YBObjective* Objective = nullptr;

 private:
  // Lets go of the task: destroyed when this proposition owns it and it
  // joined no bot, otherwise only forgotten.
  void ReleaseTask();
  // Holds a task by reference, owning it or not.
  void HoldTask(YBTask* task, bool owns);

  YBTask* Task = nullptr;
  bool ownsTask_ = false;
};
