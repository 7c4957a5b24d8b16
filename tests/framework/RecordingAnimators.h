#pragma once

#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "framework/LumoAnimator.h"
#include "framework/LumoLevel.h"

namespace framework_testing {

// The hooks that recording objects ran, in order, as "label:Hook".
std::vector<std::string>& HookLog();
// The entries of the log that begin with a label (its hooks, in order).
std::vector<std::string> HooksOf(const std::string& label);

// What a test makes a recorded hook do: throw, answer (Can hooks), or run
// an action before the base's own work.
struct HookScript {
  std::string throwIn;                                 // a hook name
  std::map<std::string, bool> answers;                 // Can hook -> answer
  std::map<std::string, std::function<void()>> actions;  // hook -> action
};

// An object of class Base whose animator hooks write themselves into the hook
// log and then do what the script says, and otherwise what Base does.
template <typename Base>
class Recording : public Base {
 public:
  explicit Recording(std::string label = "object") : label(std::move(label)) {}

  std::string label;
  HookScript script;

  void DoTimer() override { Hook("DoTimer", [&] { Base::DoTimer(); }); }
  void OnTimer() override { Hook("OnTimer", [&] { Base::OnTimer(); }); }
  uint32_t UpdateTimer() override {
    uint32_t result = 0;
    Hook("UpdateTimer", [&] { result = Base::UpdateTimer(); });
    return result;
  }
  void OnSelectFrame() override { Hook("OnSelectFrame", [&] { Base::OnSelectFrame(); }); }
  void DoSelectFrame() override { Hook("DoSelectFrame", [&] { Base::DoSelectFrame(); }); }
  void DoPrepareFrame() override { Hook("DoPrepareFrame", [&] { Base::DoPrepareFrame(); }); }
  void DoAnimateFrame() override { Hook("DoAnimateFrame", [&] { Base::DoAnimateFrame(); }); }
  void DoNextFrame() override { Hook("DoNextFrame", [&] { Base::DoNextFrame(); }); }
  void BeforeStartAnimation() override { Hook("BeforeStartAnimation", [&] { Base::BeforeStartAnimation(); }); }
  bool CanStartAnimation() override { return Ask("CanStartAnimation", [&] { return Base::CanStartAnimation(); }); }
  void DoStartAnimation() override { Hook("DoStartAnimation", [&] { Base::DoStartAnimation(); }); }
  void OnStartAnimation() override { Hook("OnStartAnimation", [&] { Base::OnStartAnimation(); }); }
  void AfterStartAnimation() override { Hook("AfterStartAnimation", [&] { Base::AfterStartAnimation(); }); }
  void BeforeStopAnimation() override { Hook("BeforeStopAnimation", [&] { Base::BeforeStopAnimation(); }); }
  bool CanStopAnimation() override { return Ask("CanStopAnimation", [&] { return Base::CanStopAnimation(); }); }
  void DoStopAnimation() override { Hook("DoStopAnimation", [&] { Base::DoStopAnimation(); }); }
  void OnStopAnimation() override { Hook("OnStopAnimation", [&] { Base::OnStopAnimation(); }); }
  void AfterStopAnimation() override { Hook("AfterStopAnimation", [&] { Base::AfterStopAnimation(); }); }
  void DoPauseAnimation() override { Hook("DoPauseAnimation", [&] { Base::DoPauseAnimation(); }); }
  void DoResumeAnimation() override { Hook("DoResumeAnimation", [&] { Base::DoResumeAnimation(); }); }
  bool CanPreventAnimation() override {
    return Ask("CanPreventAnimation", [&] { return Base::CanPreventAnimation(); });
  }
  void DoPreventAnimation() override { Hook("DoPreventAnimation", [&] { Base::DoPreventAnimation(); }); }
  void OnPreventAnimation() override { Hook("OnPreventAnimation", [&] { Base::OnPreventAnimation(); }); }
  bool CanForceAnimation() override { return Ask("CanForceAnimation", [&] { return Base::CanForceAnimation(); }); }
  void DoForceAnimation() override { Hook("DoForceAnimation", [&] { Base::DoForceAnimation(); }); }
  void OnForceAnimation() override { Hook("OnForceAnimation", [&] { Base::OnForceAnimation(); }); }

 protected:
  // Records the hook, runs the script's action, throws when asked, then
  // the base's work.
  template <typename Work>
  void Hook(const char* name, Work&& work) {
    HookLog().push_back(label + ":" + name);
    const auto action = script.actions.find(name);
    if (action != script.actions.end() && action->second) {
      action->second();
    }
    if (script.throwIn == name) {
      throw std::runtime_error(label + " failed in " + name);
    }
    work();
  }

  template <typename Work>
  bool Ask(const char* name, Work&& work) {
    bool answer = false;
    Hook(name, [&] {
      const auto scripted = script.answers.find(name);
      answer = scripted != script.answers.end() ? scripted->second : work();
    });
    return answer;
  }
};

using RecordingAnimator = Recording<LumoAnimator>;

// A level that also records its own hooks and builds its items with a
// populate action.
class TestLevel : public Recording<LumoLevel> {
 public:
  explicit TestLevel(std::string label = "level") : Recording<LumoLevel>(std::move(label)) {}

  const char* GetClassName() const override { return "TestLevel"; }

  // Runs while the level is populated (the game's level builds its cells and
  // controls here).
  std::function<void(TestLevel&)> populate;

  void DoPopulate() override {
    Hook("DoPopulate", [&] {
      LumoLevel::DoPopulate();
      if (populate) {
        populate(*this);
      }
    });
  }
  void DoPostPopulate() override { Hook("DoPostPopulate", [&] { LumoLevel::DoPostPopulate(); }); }
  void OnPostPopulate() override { Hook("OnPostPopulate", [&] { LumoLevel::OnPostPopulate(); }); }
  void OnDestroy() override { Hook("OnDestroy", [&] { LumoLevel::OnDestroy(); }); }
  void OnEmpty() override { Hook("OnEmpty", [&] { LumoLevel::OnEmpty(); }); }
  void OnFreeze() override { Hook("OnFreeze", [&] { LumoLevel::OnFreeze(); }); }
  void OnPause() override { Hook("OnPause", [&] { LumoLevel::OnPause(); }); }
  void OnContinue() override { Hook("OnContinue", [&] { LumoLevel::OnContinue(); }); }
  void OnReset() override { Hook("OnReset", [&] { LumoLevel::OnReset(); }); }
  void LoadSources() override { Hook("LoadSources", [&] { LumoLevel::LoadSources(); }); }
  void UnloadSources() override { Hook("UnloadSources", [&] { LumoLevel::UnloadSources(); }); }
  void ClearSources() override { Hook("ClearSources", [&] { LumoLevel::ClearSources(); }); }
  void OnPlayAudio() override { Hook("OnPlayAudio", [&] { LumoLevel::OnPlayAudio(); }); }
  void OnStopAudio() override { Hook("OnStopAudio", [&] { LumoLevel::OnStopAudio(); }); }
  void DoStoreMemory() override { Hook("DoStoreMemory", [&] { LumoLevel::DoStoreMemory(); }); }
  void OnStoreMemory() override { Hook("OnStoreMemory", [&] { LumoLevel::OnStoreMemory(); }); }
  void DoRestoreMemory() override { Hook("DoRestoreMemory", [&] { LumoLevel::DoRestoreMemory(); }); }
  void OnRestoreMemory() override { Hook("OnRestoreMemory", [&] { LumoLevel::OnRestoreMemory(); }); }
  bool CanClose(uint32_t& mode) override {
    return Ask("CanClose", [&] { return LumoLevel::CanClose(mode); });
  }
};

}  // namespace framework_testing
