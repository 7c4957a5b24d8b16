#include "framework/LumoRefreshButton.h"

#include "framework/LumoBody.h"
#include "framework/LumoComplexControl.h"
#include "framework/LumoEngine.h"

const char* LumoRefreshButton::GetClassName() const { return "LumoRefreshButton"; }

void LumoRefreshButton::DoExecute() {
  LumoButton::DoExecute();
  auto* control = OwnerBody != nullptr ? dynamic_cast<LumoComplexControl*>(OwnerBody->Sprite) : nullptr;
  if (control == nullptr) {
    return;
  }
  control->Focus();
  control->Refresh();
}

void LumoRefreshButton::DefineStandard(int32_t left, int32_t top) {
  if (Engine == nullptr) {
    return;
  }
  const auto look = [](LumoEngine::tLookState state) {
    return Engine->ButtonLookName(LumoEngine::LookRefresh, state);
  };
  Define(left, top, true, look(LumoEngine::LookStateA), look(LumoEngine::LookStateH), look(LumoEngine::LookStateD),
         look(LumoEngine::LookStateP), nullptr, nullptr);
}
