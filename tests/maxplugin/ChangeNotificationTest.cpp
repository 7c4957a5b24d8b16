// A material tells its dependents when it changes at a moment.

#include <gtest/gtest.h>

#include "PluginHost.h"

namespace plugin_host {
namespace {

constexpr PartID kChangedPart = 1;

class ChangeNotificationTest : public ::testing::TestWithParam<PluginFile> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(plugin.HasEntryPoints());
    material = CreateMaterial(plugin.Descriptor());
    ASSERT_NE(material, nullptr);
  }

  LoadedPlugin plugin{GetParam().path};
  PluginObject<Mtl> material;
};

TEST_P(ChangeNotificationTest, DependentHearsTheChangeForTheMomentOnly) {
  RecordingDependent dependent;
  material->AddDependent(&dependent);
  const TimeValue moments[] = {0, 160, -4800, kTimeNegativeInfinity, kTimePositiveInfinity};
  for (TimeValue moment : moments) {
    material->NotifyChanged(moment);
  }
  ASSERT_EQ(dependent.heard.size(), std::size(moments));
  for (size_t index = 0; index < std::size(moments); ++index) {
    const HeardNotification expected{Interval(moments[index], moments[index]), material.get(),
                                     kChangedPart, 0x70};
    EXPECT_EQ(dependent.heard[index], expected);
  }
}

// The change goes to dependents of every kind.
TEST_P(ChangeNotificationTest, EveryKindOfDependentHearsIt) {
  RecordingDependent materialUser(kMaterialSuperClassID);
  RecordingDependent otherUser(0x10);
  material->AddDependent(&materialUser);
  material->AddDependent(&otherUser);
  material->NotifyChanged(30);
  const HeardNotification expected{Interval(30, 30), material.get(), kChangedPart,
                                   kRefMessageChange};
  EXPECT_EQ(materialUser.heard, std::vector<HeardNotification>{expected});
  EXPECT_EQ(otherUser.heard, std::vector<HeardNotification>{expected});
}

// A dependent that is a target itself passes the change on to its own dependents.
TEST_P(ChangeNotificationTest, ChangeTravelsOnThroughDependentTargets) {
  PluginObject<Mtl> outer = CreateMaterial(plugin.Descriptor());
  RecordingDependent outerDependent;
  material->AddDependent(outer.get());
  outer->AddDependent(&outerDependent);
  material->NotifyChanged(45);
  const HeardNotification expected{Interval(45, 45), outer.get(), kChangedPart, kRefMessageChange};
  EXPECT_EQ(outerDependent.heard, std::vector<HeardNotification>{expected});
}

TEST_P(ChangeNotificationTest, RemovedDependentHearsNothing) {
  RecordingDependent dependent;
  material->AddDependent(&dependent);
  material->RemoveDependent(&dependent);
  material->NotifyChanged(10);
  EXPECT_TRUE(dependent.heard.empty());
}

// Deleting the material tells its dependents to drop it and leaves them.
TEST_P(ChangeNotificationTest, DeletedMaterialTellsItsDependents) {
  RecordingDependent dependent;
  material->AddDependent(&dependent);
  ReferenceTarget* deleted = material.get();
  material.reset();
  const HeardNotification expected{Interval::Forever(), deleted, kPartAll,
                                   kRefMessageTargetDeleted};
  EXPECT_EQ(dependent.heard, std::vector<HeardNotification>{expected});
}

INSTANTIATE_TEST_SUITE_P(BothFiles, ChangeNotificationTest, ::testing::ValuesIn(kPluginFiles),
                         PluginFileName);

}  // namespace
}  // namespace plugin_host
