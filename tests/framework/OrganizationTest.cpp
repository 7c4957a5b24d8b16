#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "ControlFixture.h"
#include "base/LumoNode.h"
#include "framework/LumoOrganization.h"

namespace framework_testing {
namespace {

// A node destroyed through DestroyObject whatever the test leaves behind.
using Held = std::unique_ptr<LumoNode, tObjectDestroyer>;

Held NewNode(const char* name) {
  Held node(new LumoNode);
  node->SetName(name);
  return node;
}

std::vector<LumoObject*> ObjectsOf(const LumoOrganization& organization) {
  std::vector<LumoObject*> objects;
  for (LumoNode* item = organization.first; item != nullptr; item = item->next) {
    objects.push_back(LumoOrganization::ObjectOf(item));
  }
  return objects;
}

TEST(OrganizationTest, MembersStandForOneObjectEachAndReferToIt) {
  Held organization(new LumoOrganization);
  auto& list = static_cast<LumoOrganization&>(*organization);
  Held a = NewNode("a");
  Held b = NewNode("b");

  LumoMember* first = list.AddMember(a.get());
  ASSERT_NE(first, nullptr);
  EXPECT_NE(list.AddMember(b.get()), nullptr);
  EXPECT_EQ(list.AddMember(nullptr), nullptr);
  EXPECT_EQ(list.AddMember(a.get()), nullptr);  // one member per object
  EXPECT_EQ(ObjectsOf(list), (std::vector<LumoObject*>{a.get(), b.get()}));
  EXPECT_TRUE(a->HasReferrers());
  EXPECT_EQ(list.FindMember(b.get()), first->next);

  // A member never changes object.
  EXPECT_EQ(first->SetData(reinterpret_cast<uintptr_t>(b.get())), 0u);
  EXPECT_EQ(LumoOrganization::ObjectOf(first), a.get());

  EXPECT_TRUE(list.RemoveMember(a.get()));
  EXPECT_FALSE(list.RemoveMember(a.get()));
  EXPECT_FALSE(list.RemoveMember(nullptr));
  EXPECT_FALSE(a->HasReferrers());
  EXPECT_EQ(ObjectsOf(list), (std::vector<LumoObject*>{b.get()}));
}

TEST(OrganizationTest, AFreedObjectTakesItsMemberAlong) {
  Held organization(new LumoOrganization);
  auto& list = static_cast<LumoOrganization&>(*organization);
  Held a = NewNode("a");
  Held b = NewNode("b");
  Held c = NewNode("c");
  list.AddMember(a.get());
  list.AddMember(b.get());
  list.AddMember(c.get());

  b.reset();

  EXPECT_EQ(ObjectsOf(list), (std::vector<LumoObject*>{a.get(), c.get()}));
  EXPECT_EQ(list.Count, 2);
}

TEST(OrganizationTest, ClearingOrFreeingLetsGoOfTheObjectsWithoutFreeingThem) {
  Held organization(new LumoOrganization);
  auto& list = static_cast<LumoOrganization&>(*organization);
  Held a = NewNode("a");
  Held b = NewNode("b");
  list.AddMember(a.get());
  list.AddMember(b.get());

  list.Clear();
  EXPECT_EQ(list.Count, 0);
  EXPECT_FALSE(a->HasReferrers());
  EXPECT_FALSE(b->HasReferrers());

  list.AddMember(a.get());
  organization.reset();
  EXPECT_FALSE(a->HasReferrers());
  EXPECT_STREQ(a->Name, "a");
}

// A control that records its registration hooks and can throw in one.
class RegisteringControl : public RecordingControl<> {
 public:
  const char* GetClassName() const override { return "RegisteringControl"; }
  void DoRegister(LumoObject* object) override { Hear("DoRegister", object); }
  void OnRegister(LumoObject* object) override { Hear("OnRegister", object); }
  void DoUnregister(LumoObject* object) override { Hear("DoUnregister", object); }
  void OnUnregister(LumoObject* object) override { Hear("OnUnregister", object); }

  std::string throwIn;

 private:
  void Hear(const char* hook, LumoObject* object) {
    const auto* node = dynamic_cast<LumoNode*>(object);
    heard.push_back(std::string(hook) + " " + (node != nullptr && node->Name != nullptr ? node->Name : "?"));
    if (throwIn == hook) {
      throw std::runtime_error(hook);
    }
  }
};

class ControlRegistrationTest : public ControlFixture {
 protected:
  void SetUp() override {
    ControlFixture::SetUp();
    StartWithLevel();
    cell = AddCell(0, 0, 200, 100);
    control = AddControl<RegisteringControl>(*cell, 10, 10);
  }

  LumoCell* cell = nullptr;
  RegisteringControl* control = nullptr;
};

TEST_F(ControlRegistrationTest, RegisterAndUnregisterRunTheirHooksOnceAndAnswerTheObject) {
  Held a = NewNode("a");
  Held b = NewNode("b");
  EXPECT_EQ(control->Organization, nullptr);  // made on the first registration
  EXPECT_FALSE(control->IsRegistered(a.get()));

  EXPECT_EQ(control->Register(a.get()), a.get());
  EXPECT_EQ(control->Register(a.get()), nullptr);  // held already: no hooks
  EXPECT_EQ(control->Register(nullptr), nullptr);
  EXPECT_EQ(control->Register(b.get()), b.get());
  EXPECT_TRUE(control->IsRegistered(a.get()));
  EXPECT_TRUE(control->IsRegistered(b.get()));
  EXPECT_FALSE(control->IsRegistered(nullptr));

  EXPECT_EQ(control->Unregister(a.get()), a.get());
  EXPECT_EQ(control->Unregister(a.get()), nullptr);  // not registered: no hooks
  EXPECT_EQ(control->Unregister(nullptr), nullptr);
  EXPECT_FALSE(control->IsRegistered(a.get()));
  EXPECT_FALSE(a->HasReferrers());

  EXPECT_EQ(control->heard, (std::vector<std::string>{"DoRegister a", "OnRegister a", "DoRegister b", "OnRegister b",
                                                      "DoUnregister a", "OnUnregister a"}));
}

TEST_F(ControlRegistrationTest, AFreedObjectIsNoLongerRegistered) {
  Held a = NewNode("a");
  control->Register(a.get());
  LumoObject* gone = a.get();
  a.reset();
  EXPECT_FALSE(control->IsRegistered(gone));
  EXPECT_EQ(control->Organization->Count, 0);
  EXPECT_EQ(control->Unregister(gone), nullptr);
}

TEST_F(ControlRegistrationTest, ClearingOrFreeingTheControlLetsGoOfItsObjects) {
  Held a = NewNode("a");
  control->Register(a.get());
  control->Clear();
  EXPECT_FALSE(control->IsRegistered(a.get()));
  EXPECT_FALSE(a->HasReferrers());

  control->Register(a.get());
  EXPECT_TRUE(a->HasReferrers());
  DestroyObject(control);
  EXPECT_FALSE(a->HasReferrers());
  EXPECT_STREQ(a->Name, "a");
}

TEST_F(ControlRegistrationTest, AFaultInARegistrationHookIsReportedWithTheObjectAndPassedOn) {
  struct Case {
    const char* hook;
    bool unregister;
    const char* report;
  };
  const Case cases[] = {
      {"DoRegister", false, "LumoControl::Register() Unhandled exception during DoRegister()"},
      {"OnRegister", false, "LumoControl::Register() Unhandled exception during OnRegister()"},
      {"DoUnregister", true, "LumoControl::Unregister() Unhandled exception during DoUnregister()"},
      {"OnUnregister", true, "LumoControl::Unregister() Unhandled exception during OnUnregister()"},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.hook);
    Held a = NewNode("a");
    control->throwIn = test.hook;
    if (test.unregister) {
      control->throwIn.clear();
      control->Register(a.get());
      control->throwIn = test.hook;
      EXPECT_THROW(control->Unregister(a.get()), std::runtime_error);
      EXPECT_FALSE(control->IsRegistered(a.get()));  // let go before the hooks
    } else {
      EXPECT_THROW(control->Register(a.get()), std::runtime_error);
      EXPECT_TRUE(control->IsRegistered(a.get()));  // held before the hooks
    }
    char objects[128];
    std::snprintf(objects, sizeof objects, " (New=%p:LumoNode, Control=%p:RegisteringControl)",
                  static_cast<const void*>(a.get()), static_cast<const void*>(control));
    EXPECT_TRUE(LogHas(std::string(test.report) + objects)) << testing_support::ReadDebugLog();
    control->throwIn.clear();
    control->Unregister(a.get());
  }
}

}  // namespace
}  // namespace framework_testing
