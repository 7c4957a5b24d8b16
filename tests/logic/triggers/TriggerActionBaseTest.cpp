#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "base/LumoClass.h"
#include "base/LumoMemoryStream.h"
#include "logic/triggers/YLTriggerAction.h"
#include "logic/triggers/tStrings.h"

namespace {

using Loaded = std::unique_ptr<LumoObject, tObjectDestroyer>;

// The class chain a stored action is read through, from the action up.
std::vector<std::string> ChainOf(const char* name) {
  const LumoClass* const* first = nullptr;
  size_t count = 0;
  EXPECT_TRUE(GetClassChain(name, first, count));
  std::vector<std::string> names;
  for (size_t at = 0; at < count; ++at) {
    names.emplace_back(first[at]->name);
    EXPECT_EQ(first[at]->version, kVersion_1_6_0_6) << first[at]->name;
  }
  return names;
}

TEST(TriggerActionBase, IsRegisteredAsAnEditableObjectAndStoresNoFields) {
  const std::vector<std::string> chain = ChainOf("YLTriggerAction");
  ASSERT_GE(chain.size(), 2u);
  EXPECT_NE(std::find(chain.begin(), chain.end(), "YLTriggerAction"), chain.end());
  EXPECT_NE(std::find(chain.begin(), chain.end(), "YLEditableObject"), chain.end());
  const LumoClass* record = FindClass("YLTriggerAction");
  ASSERT_NE(record, nullptr);
  EXPECT_STREQ(record->baseName, "YLEditableObject");
  EXPECT_EQ(record->firstProperty, nullptr);

  // Made by the registry, saved and read back as the same class.
  Loaded made(CreateObject("YLTriggerAction", nullptr));
  ASSERT_NE(dynamic_cast<YLTriggerAction*>(made.get()), nullptr);
  LumoMemoryStream out;
  ASSERT_TRUE(out.OpenNew(16, 1, 0));
  ASSERT_EQ(out.SetGrowth(256), 256u);
  ASSERT_TRUE(made->SaveObject(&out, 0));
  std::vector<uint8_t> bytes(out.buffer, out.buffer + out.position);
  bytes.push_back(0);
  LumoMemoryStream in;
  ASSERT_TRUE(in.OpenBuffer(bytes.data(), static_cast<uint32_t>(bytes.size() - 1), 1, 0));
  Loaded loaded(LoadObject(&in, nullptr));
  ASSERT_NE(dynamic_cast<YLTriggerAction*>(loaded.get()), nullptr);
  EXPECT_EQ(in.position, bytes.size() - 1);
}

TEST(TriggerActionBase, OwnsNoEditorLinesAndLeavesTheCountdownAlone) {
  YLTriggerAction action;
  tStrings labels;
  tStrings values;
  action.ListProperties(labels, values);
  EXPECT_EQ(labels.count, 0);
  EXPECT_EQ(values.count, 0);
  for (const int32_t index : {-3, 0, 1, 7}) {
    EXPECT_EQ(action.SetProperty(index, "5"), index);
  }
  char record[YLEditableObject::kRecordStringSize];
  action.GetRecordString(record, sizeof record);
  EXPECT_STREQ(record, "dummy action");
  // Cut to the caller's room.
  char small[6];
  action.GetRecordString(small, sizeof small);
  EXPECT_STREQ(small, "dummy");

  char countdown[16] = "kept";
  EXPECT_EQ(action.GetCountdownText(countdown, sizeof countdown), countdown);
  EXPECT_STREQ(countdown, "kept");
  action.Execute(nullptr, nullptr);  // does nothing, needs nothing
}

}  // namespace
