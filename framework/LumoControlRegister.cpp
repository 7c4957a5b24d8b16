// The registration of objects with a control: the control keeps them in an
// organization, which refers to each so that a freed object leaves it.

#include <new>

#include "base/DebugFormat.h"
#include "framework/LumoControl.h"
#include "framework/LumoOrganization.h"

LumoControl::~LumoControl() = default;

void LumoControl::DoFree() {
  Organization.reset();
  DestroyPopUpMenu();
  LumoSprite::DoFree();
}

void LumoControl::DoRegister(LumoObject*) {}
void LumoControl::DoUnregister(LumoObject*) {}
void LumoControl::OnRegister(LumoObject*) {}
void LumoControl::OnUnregister(LumoObject*) {}

void LumoControl::ReportRegistrationFault(const char* operation, const char* hook, const LumoObject* object) const {
  DebugPrint("LumoControl::%s() Unhandled exception during %s() (New=%p:%s, Control=%p:%s)\n", operation, hook,
             DebugAddress(object), DebugClassName(object), DebugAddress(this), DebugClassName(this));
}

LumoObject* LumoControl::Register(LumoObject* object) {
  if (object == nullptr) {
    return nullptr;
  }
  if (Organization == nullptr) {
    Organization.reset(new (std::nothrow) LumoOrganization);
    if (Organization == nullptr) {
      return nullptr;
    }
  }
  if (Organization->AddMember(object) == nullptr) {
    return nullptr;
  }
  const auto report = [&](const char* hook) { return [=, this] { ReportRegistrationFault("Register", hook, object); }; };
  RunGuarded([&] { DoRegister(object); }, report("DoRegister"));
  RunGuarded([&] { OnRegister(object); }, report("OnRegister"));
  return object;
}

LumoObject* LumoControl::Unregister(LumoObject* object) {
  if (!IsRegistered(object) || !Organization->RemoveMember(object)) {
    return nullptr;
  }
  const auto report = [&](const char* hook) { return [=, this] { ReportRegistrationFault("Unregister", hook, object); }; };
  RunGuarded([&] { DoUnregister(object); }, report("DoUnregister"));
  RunGuarded([&] { OnUnregister(object); }, report("OnUnregister"));
  return object;
}

bool LumoControl::IsRegistered(const LumoObject* object) const {
  return object != nullptr && Organization != nullptr && Organization->FindMember(object) != nullptr;
}
