#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "base/LumoList.h"
#include "base/LumoNode.h"
#include "runtime/Graphics.h"

struct COrderPackage;
class YBMasterMind;
class YBTask;

// One computer player: the node identifier is the player index (0-3) it
// plays, and it owns the tasks its units carry out.
class YBBot : public LumoNode {
 public:
  // Takes one order package, owned by the receiver from then on.
  using BroadcastFunction = std::function<void(COrderPackage*)>;

  // The debug colours of the players, blue, green, red.
  static constexpr sRGB kPlayerColours[8] = {{160, 160, 160}, {80, 80, 255},  {255, 80, 80},  {240, 80, 255},
                                             {80, 255, 80},   {255, 255, 80}, {255, 255, 80}, {255, 80, 255}};

  YBBot();

  const char* GetClassName() const override { return "YBBot"; }
  // Destroys the tasks.
  void OnFree() override;
  void DoAbortReferenceTo(LumoObject* other) override;

  // The task list is replaced by the loaded one; items that are no tasks
  // are dropped with a log line, and every task gets this bot.
  virtual bool LoadTasks(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveTasks(LumoStream* stream, const LumoProperty* property);
  virtual void SetOption(int32_t value) { Option = value; }
  // Starts every task that is not started (one that cannot start is
  // skipped this frame), then runs it. A task may remove itself. Answers
  // true.
  virtual bool RunTasks();

  // Appends the task and makes this bot its bot; answers the task.
  YBTask* AddTask(YBTask* task);
  // Takes the task out and destroys it unless its creator keeps it.
  void RemoveTask(YBTask* task);
  // Hands a copy of the package to the broadcast function; the caller keeps
  // its own. Without a function it logs and sends nothing.
  void Broadcast(const COrderPackage* package);
  void SetBroadcast(BroadcastFunction function) { broadcast_ = std::move(function); }
  // Held by reference: a controller that goes is forgotten.
  void SetController(YBMasterMind* controller);
  YBMasterMind* GetController() const { return Controller; }
  int32_t GetTaskCount() const { return Tasks->Count; }
  YBTask* GetTask(int32_t index) const;

  std::unique_ptr<LumoList, tObjectDestroyer> Tasks;
  YBMasterMind* Controller = nullptr;
  int32_t Money = 0;
  int32_t Option = 0;

 private:
  BroadcastFunction broadcast_;
};
