#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

#include "framework/LumoItem.h"

namespace framework_testing {
namespace {

using HeldItem = std::unique_ptr<LumoItem, tObjectDestroyer>;

std::string TextOf(const char* text) { return text != nullptr ? text : "(none)"; }

TEST(MenuItemTest, TheNameGivesTheCaptionAndTheAccelerator) {
  struct Case {
    const char* name;
    const char* caption;
    uint32_t accelerator;
    int32_t index;
  };
  const Case cases[] = {
      {"&File", "File", 'F', 0},
      {"Save &as", "Save as", 'A', 5},
      {"E&xit &Now", "Exit Now", 'X', 1},
      {"Fish && &Chips", "Fish & Chips", 'C', 7},
      {"Plain", "Plain", 0, -1},
      {"Mark&", "Mark", 0, -1},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    HeldItem item(new LumoItem);
    ASSERT_NE(item->SetName(test.name), nullptr);
    EXPECT_STREQ(item->Name, test.name);
    EXPECT_EQ(TextOf(item->Caption), test.caption);
    EXPECT_EQ(item->Accelerator, test.accelerator);
    EXPECT_EQ(item->AcceleratorIndex, test.index);
  }
}

TEST(MenuItemTest, RenamingReplacesTheCaptionAndANullNameClearsIt) {
  HeldItem item(new LumoItem);
  item->SetName("&Open");
  item->SetName("Cl&ose");
  EXPECT_EQ(TextOf(item->Caption), "Close");
  EXPECT_EQ(item->Accelerator, static_cast<uint32_t>('O'));
  EXPECT_EQ(item->AcceleratorIndex, 2);

  EXPECT_EQ(item->SetName(nullptr), nullptr);
  EXPECT_EQ(item->Caption, nullptr);
  EXPECT_EQ(item->Accelerator, 0u);
  EXPECT_EQ(item->AcceleratorIndex, -1);
}

TEST(MenuItemTest, AShortcutKeepsItsTextAndAKeyWithoutANameClearsIt) {
  struct Case {
    uint32_t key;
    uint32_t modifiers;
    uint32_t answer;
    const char* text;
  };
  const Case cases[] = {
      {65, 12, 65, "Shift+Control+A"},
      {112, 0, 112, "F1"},
      {46, 32, 46, "Alt+Delete"},
      {0, 4, 0, "(none)"},        // no key
      {1000, 8, 0, "(none)"},     // a code without a name
      {0x80000000u, 0, 0, "(none)"},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.key);
    HeldItem item(new LumoItem);
    item->SetShortcut(83, 8);  // a shortcut set before
    EXPECT_EQ(item->SetShortcut(test.key, test.modifiers), test.answer);
    EXPECT_EQ(TextOf(item->ShortcutText), test.text);
    EXPECT_EQ(item->ShortcutKey, test.answer);
    EXPECT_EQ(item->ShortcutModifiers, test.answer != 0 ? test.modifiers : 0u);
  }
}

TEST(MenuItemTest, ItemsHoldItemsAndStartClosedAndVertical) {
  HeldItem item(new LumoItem);
  LumoNode* child = item->CreateNamedItem("&Sub");
  ASSERT_NE(dynamic_cast<LumoItem*>(child), nullptr);
  EXPECT_EQ(TextOf(static_cast<LumoItem*>(child)->Caption), "Sub");
  item->Append(child);
  EXPECT_FALSE(item->Open);
  EXPECT_FALSE(item->Hidden);
  EXPECT_FALSE(item->Horizontal);
  EXPECT_TRUE(item->SetHorizontal(true));
  EXPECT_TRUE(item->SetHidden(true));
  EXPECT_TRUE(item->Horizontal && item->Hidden);
}

}  // namespace
}  // namespace framework_testing
