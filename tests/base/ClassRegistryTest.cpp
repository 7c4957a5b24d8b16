#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "RecordingObjects.h"
#include "base/LumoClass.h"
#include "base/LumoList.h"

namespace object_model_testing {
namespace {

// A property that records its load and save; a field name starting with "!"
// fails.
class TracedProperty final : public LumoProperty {
 public:
  using LumoProperty::LumoProperty;
  bool Load(LumoStream*, LumoObject*) const override { return Trace("load"); }
  bool Save(LumoStream*, LumoObject*) const override { return Trace("save"); }

 private:
  bool Trace(const char* what) const {
    Record(std::string(what) + " " + fieldName);
    return fieldName[0] != '!';
  }
};

class ChainBase : public LumoObject {
 public:
  const char* GetClassName() const override { return "ChainBase"; }
};
class ChainDerived : public ChainBase {
 public:
  const char* GetClassName() const override { return "ChainDerived"; }
};
class ChainFailing : public ChainBase {
 public:
  const char* GetClassName() const override { return "ChainFailing"; }
};
class Unregistered : public ChainBase {
 public:
  const char* GetClassName() const override { return "Unregistered"; }
};

// Registration order matters: each class record, then its properties.
LumoClassOf<ChainBase> classOfChainBase(kVersion_1_6_0_6, "ChainBase", "LumoObject");
TracedProperty chainBaseFirst(kVersion_1_4_0_0, PropertyInteger, "tInteger", "BaseFirst");
TracedProperty chainBaseSecond(kVersion_1_6_0_6, PropertySingle, "tSingle", "BaseSecond");
LumoClassOf<ChainDerived> classOfChainDerived(kVersion_1_6_0_7, "ChainDerived", "ChainBase");
TracedProperty chainDerivedOnly(kVersion_1_4_0_0, PropertyBool, "tBool", "DerivedOnly");
LumoClassOf<ChainFailing> classOfChainFailing(kVersion_1_6_0_6, "ChainFailing", "ChainBase");
TracedProperty chainFailingFirst(kVersion_1_4_0_0, PropertyPointer, "tPointer", "!Fails");
TracedProperty chainFailingSecond(kVersion_1_4_0_0, PropertyInteger, "tInteger", "NeverReached");

// Two records of one name, and two classes that name each other as base.
LumoClassOf<ChainBase> firstTwin(kVersion_1_4_0_0, "Twin", "LumoObject");
LumoClassOf<ChainDerived> secondTwin(kVersion_1_5_1_6, "Twin", "LumoObject");
LumoClass loopA(kVersion_1_4_0_0, "LoopA", "LoopB");
LumoClass loopB(kVersion_1_4_0_0, "LoopB", "LoopA");

LumoClassOf<RecordingNode> classOfRecordingNode(kVersion_1_4_0_0, "RecordingNode", "LumoNode");

std::vector<std::string> ChainNames(const char* className) {
  std::unique_ptr<LumoList, tObjectDestroyer> chain(BuildClassChain(className));
  std::vector<std::string> names;
  for (LumoNode* item = chain->first; item != nullptr; item = item->next) {
    EXPECT_EQ(reinterpret_cast<const LumoClass*>(item->Data), FindClass(item->Name));
    names.push_back(item->Name);
  }
  return names;
}

TEST_F(ObjectModelTest, FindClassMatchesTheExactName) {
  ASSERT_NE(FindClass("LumoNode"), nullptr);
  EXPECT_STREQ(FindClass("LumoNode")->baseName, "LumoObject");
  EXPECT_EQ(FindClass("lumonode"), nullptr);
  EXPECT_EQ(FindClass("LumoNod"), nullptr);
  EXPECT_EQ(FindClass(nullptr), nullptr);
  // The root of the object model has no record of its own.
  EXPECT_EQ(FindClass("LumoObject"), nullptr);
}

TEST_F(ObjectModelTest, FindClassFindsTheRecordRegisteredLast) {
  EXPECT_EQ(FindClass("Twin"), &secondTwin);
  std::unique_ptr<LumoObject, tObjectDestroyer> object(CreateObject("Twin", nullptr));
  ASSERT_NE(object, nullptr);
  EXPECT_STREQ(object->GetClassName(), "ChainDerived");
}

TEST_F(ObjectModelTest, PropertiesBelongToTheClassRegisteredBeforeThem) {
  struct Expected {
    const char* className;
    std::vector<std::string> fields;
    std::vector<std::string> typeNames;
    std::vector<uint32_t> typeCodes;
  };
  const Expected cases[] = {
      {"LumoNode", {"Flags", "Name", "Tag", "ID"}, {"tSet", "tCharStr", "tInteger", "tCardinal"}, {14, 2, 6, 6}},
      {"LumoList", {"Count"}, {"tPointer"}, {15}},
      {"ChainBase", {"BaseFirst", "BaseSecond"}, {"tInteger", "tSingle"}, {6, 8}},
      {"ChainDerived", {"DerivedOnly"}, {"tBool"}, {1}},
      {"Twin", {}, {}, {}},
  };
  for (const Expected& expected : cases) {
    SCOPED_TRACE(expected.className);
    const LumoClass* record = FindClass(expected.className);
    ASSERT_NE(record, nullptr);
    std::vector<std::string> fields;
    std::vector<std::string> typeNames;
    std::vector<uint32_t> typeCodes;
    for (const LumoProperty* property = record->firstProperty; property != nullptr; property = property->next) {
      fields.push_back(property->fieldName);
      typeNames.push_back(property->typeName);
      typeCodes.push_back(property->typeCode);
    }
    EXPECT_EQ(fields, expected.fields);
    EXPECT_EQ(typeNames, expected.typeNames);
    EXPECT_EQ(typeCodes, expected.typeCodes);
  }
  EXPECT_EQ(FindClass("LumoNode")->version, kVersion_1_4_0_0);
  EXPECT_EQ(FindClass("LumoNode")->firstProperty->version, kVersion_1_4_0_0);
  EXPECT_EQ(FindClass("ChainDerived")->version, kVersion_1_6_0_7);
}

TEST_F(ObjectModelTest, ClassChainRunsFromTheClassUpToItsFarthestRegisteredAncestor) {
  EXPECT_EQ(ChainNames("LumoList"), (std::vector<std::string>{"LumoList", "LumoNode"}));
  EXPECT_EQ(ChainNames("ChainDerived"), (std::vector<std::string>{"ChainDerived", "ChainBase"}));
  EXPECT_EQ(ChainNames("Unregistered"), std::vector<std::string>{});
  // Base names that lead back into the chain end the walk instead of looping.
  EXPECT_EQ(ChainNames("LoopA"), (std::vector<std::string>{"LoopA", "LoopB"}));
  EXPECT_EQ(BuildClassChain(nullptr), nullptr);
}

TEST_F(ObjectModelTest, FieldsLoadAndSaveFromTheRootClassDown) {
  ChainDerived derived;
  EXPECT_TRUE(derived.LoadFrom(nullptr));
  EXPECT_TRUE(derived.SaveTo(nullptr));
  EXPECT_EQ(Events(), (std::vector<std::string>{"load BaseFirst", "load BaseSecond", "load DerivedOnly",
                                                "save BaseFirst", "save BaseSecond", "save DerivedOnly"}));
}

TEST_F(ObjectModelTest, FirstFailingFieldEndsTheLoad) {
  ChainFailing failing;
  EXPECT_FALSE(failing.LoadFrom(nullptr));
  EXPECT_EQ(Events(), (std::vector<std::string>{"load BaseFirst", "load BaseSecond", "load !Fails"}));
}

TEST_F(ObjectModelTest, UnregisteredClassLoadsNothingAndSucceeds) {
  Unregistered object;
  EXPECT_TRUE(object.LoadFrom(nullptr));
  EXPECT_TRUE(object.SaveTo(nullptr));
  EXPECT_TRUE(Events().empty());
}

TEST_F(ObjectModelTest, CreateObjectMakesAnInstanceOfTheNamedClass) {
  struct Case {
    const char* className;
    const char* madeClass;  // null: nothing is made
  };
  const Case cases[] = {
      {"LumoNode", "LumoNode"}, {"LumoList", "LumoList"}, {"ChainBase", "ChainBase"},
      {"lumolist", nullptr},    {"LoopA", nullptr},       {nullptr, nullptr},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.className != nullptr ? test.className : "(null)");
    std::unique_ptr<LumoObject, tObjectDestroyer> object(CreateObject(test.className, nullptr));
    if (test.madeClass == nullptr) {
      EXPECT_EQ(object, nullptr);
    } else {
      ASSERT_NE(object, nullptr);
      EXPECT_STREQ(object->GetClassName(), test.madeClass);
    }
  }
}

TEST_F(ObjectModelTest, CreateObjectHandsTheObjectToItsOwner) {
  RecordingList owner("owner");
  LumoObject* object = CreateObject("RecordingNode", &owner);
  ASSERT_NE(object, nullptr);
  EXPECT_EQ(owner.Count, 1);
  EXPECT_EQ(owner.first, object);
}

// An owner that never takes the object (its DoRegisterObject refuses) and one
// that vetoes it afterwards: either way the object ends exactly once and the
// caller gets null.
TEST_F(ObjectModelTest, CreateObjectRefusedByTheOwnerGivesNullAndLeavesNothingBehind) {
  LumoObject plainOwner;
  EXPECT_EQ(CreateObject("RecordingNode", &plainOwner), nullptr);
  EXPECT_EQ(Events(), (std::vector<std::string>{"DoDeactivate ?", "OnFree ?", "DoFree ?", "Unload ?", "delete ?"}));

  Events().clear();
  RecordingList vetoingOwner("owner");
  vetoingOwner.vetoes = true;
  EXPECT_EQ(CreateObject("RecordingNode", &vetoingOwner), nullptr);
  EXPECT_EQ(vetoingOwner.Count, 0);
  EXPECT_EQ(Events(), (std::vector<std::string>{"DoAttach owner ?", "OnAttach owner ?", "OnRegisterObject owner ?",
                                                "DoDetach owner ?", "OnDetach owner ?", "DoDeactivate ?",
                                                "OnFree ?", "DoFree ?", "Unload ?", "delete ?"}));
}

}  // namespace
}  // namespace object_model_testing
