// Targets tell their dependents of changes, pass them on through dependents
// that are targets, and keep no dangling dependent or target.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "maxplugin/sdk/ReferenceTarget.h"

namespace {

// A target of the tool's side that records what it hears and answers as told.
class RecordingTarget : public ReferenceTarget {
 public:
  explicit RecordingTarget(std::string name, SClass_ID superClass = 0)
      : name(std::move(name)), superClass(superClass) {}
  ~RecordingTarget() override = default;

  SClass_ID SuperClassID() const override { return superClass; }
  RefResult NotifyRefChanged(const Interval&, ReferenceTarget*, PartID,
                             RefMessage message) override {
    heard.push_back(message);
    if (onHearing) {
      onHearing();
    }
    return answer;
  }
  void DeleteThis() override { delete this; }

  std::string name;
  std::vector<RefMessage> heard;
  RefResult answer = RefResult::Succeed;
  std::function<void()> onHearing;

 private:
  SClass_ID superClass;
};

constexpr RefMessage kSomeMessage = kRefMessageChange;

TEST(ReferenceTargetTest, DependentAddedTwiceIsToldOnce) {
  RecordingTarget target("target");
  RecordingTarget dependent("dependent");
  target.AddDependent(&dependent);
  target.AddDependent(&dependent);
  target.AddDependent(nullptr);
  EXPECT_EQ(target.NumDependents(), 1);
  target.NotifyDependents(Interval(1, 1), 1, kSomeMessage);
  EXPECT_EQ(dependent.heard.size(), 1u);
}

// A target added to itself is not added: it hears none of its own changes and
// is deleted without being told of its own deletion.
TEST(ReferenceTargetTest, TargetIsNeverItsOwnDependent) {
  auto* target = new RecordingTarget("target");
  target->AddDependent(target);
  EXPECT_EQ(target->NumDependents(), 0);
  target->NotifyDependents(Interval(1, 1), 1, kSomeMessage);
  EXPECT_TRUE(target->heard.empty());
  target->DeleteThis();
}

TEST(ReferenceTargetTest, MessageTravelsOnUnlessStoppedOrNotPropagated) {
  const struct {
    const char* name;
    RefResult middleAnswer;
    bool propagate;
    bool lastHears;
  } cases[] = {
      {"propagated", RefResult::Succeed, true, true},
      {"stopped by the middle target", RefResult::Stop, true, false},
      {"not propagated", RefResult::Succeed, false, false},
  };
  for (const auto& testCase : cases) {
    RecordingTarget first("first");
    RecordingTarget middle("middle");
    RecordingTarget last("last");
    first.AddDependent(&middle);
    middle.AddDependent(&last);
    middle.answer = testCase.middleAnswer;
    first.NotifyDependents(Interval(3, 3), 1, kSomeMessage, kNotifyAllClasses, testCase.propagate);
    EXPECT_EQ(middle.heard.size(), 1u) << testCase.name;
    EXPECT_EQ(last.heard.size(), testCase.lastHears ? 1u : 0u) << testCase.name;
  }
}

TEST(ReferenceTargetTest, ClassFilterReachesOnlyDependentsOfThatKind) {
  RecordingTarget target("target");
  RecordingTarget material("material", kMaterialSuperClassID);
  RecordingTarget other("other", 0x10);
  target.AddDependent(&material);
  target.AddDependent(&other);

  target.NotifyDependents(Interval(0, 0), 1, kSomeMessage, kMaterialSuperClassID);
  EXPECT_EQ(material.heard.size(), 1u);
  EXPECT_EQ(other.heard.size(), 0u);

  target.NotifyDependents(Interval(0, 0), 1, kSomeMessage, kNotifyAllClasses);
  EXPECT_EQ(material.heard.size(), 2u);
  EXPECT_EQ(other.heard.size(), 1u);
}

// Two targets that depend on each other: the message goes round once and ends.
TEST(ReferenceTargetTest, LoopOfDependentsEnds) {
  RecordingTarget first("first");
  RecordingTarget second("second");
  first.AddDependent(&second);
  second.AddDependent(&first);
  first.NotifyDependents(Interval(0, 0), 1, kSomeMessage);
  EXPECT_EQ(second.heard.size(), 1u);
  EXPECT_EQ(first.heard.size(), 1u);
}

TEST(ReferenceTargetTest, DependentRemovedWhileTellingIsSkipped) {
  RecordingTarget target("target");
  RecordingTarget remover("remover");
  RecordingTarget removed("removed");
  target.AddDependent(&remover);
  target.AddDependent(&removed);
  remover.onHearing = [&] {
    target.RemoveDependent(&remover);
    target.RemoveDependent(&removed);
  };
  target.NotifyDependents(Interval(0, 0), 1, kSomeMessage);
  EXPECT_EQ(remover.heard.size(), 1u);
  EXPECT_TRUE(removed.heard.empty());
  EXPECT_EQ(target.NumDependents(), 0);
}

TEST(ReferenceTargetTest, DestroyedDependentLeavesItsTargets) {
  RecordingTarget first("first");
  RecordingTarget second("second");
  {
    RecordingTarget dependent("dependent");
    first.AddDependent(&dependent);
    second.AddDependent(&dependent);
  }
  EXPECT_EQ(first.NumDependents(), 0);
  EXPECT_EQ(second.NumDependents(), 0);
  first.NotifyDependents(Interval(0, 0), 1, kSomeMessage);
}

TEST(ReferenceTargetTest, DeletedTargetTellsItsDependentsAndLeavesThem) {
  RecordingTarget dependent("dependent");
  RecordingTarget other("other");
  auto* target = new RecordingTarget("target");
  target->AddDependent(&dependent);
  target->AddDependent(&other);
  target->DeleteThis();
  EXPECT_EQ(dependent.heard, std::vector<RefMessage>{kRefMessageTargetDeleted});
  EXPECT_EQ(other.heard, std::vector<RefMessage>{kRefMessageTargetDeleted});
  // The dependents no longer know the target: destroying them touches nothing freed.
}

}  // namespace
