#include <gtest/gtest.h>

#include <string>

#include "base/TextUtils.h"
#include "runtime/Keyboard.h"

namespace {

TEST(KeyboardTest, KeyToStringNamesKeysWithTheirModifiers) {
  struct Case {
    int32_t key;
    uint32_t flags;
    const char* expected;  // null: no name
  };
  const Case cases[] = {
      {65, 12, "Shift+Control+A"},
      {65, 64 | 32 | 4, "Shift+Alt+Flag+A"},
      {1, 0, "left mouse button"},
      {4, 0, "middle mouse button"},
      {48, 0, "0"},
      {57, 0, "9"},
      {90, 0, "Z"},
      {96, 0, "numeric keypad 0"},
      {105, 0, "numeric keypad 9"},
      {108, 0, "numeric keypad Enter"},
      {112, 8, "Control+F1"},
      {135, 0, "F24"},
      {192, 0, "`"},
      {256, 0, "joystick A trigger 1"},
      {259, 0, "joystick A trigger 4"},
      {387, 0, "joystick A back"},
      {515, 0, "joystick B trigger 4"},
      {640, 0, "joystick B left"},
      {0, 0, nullptr},
      {10, 4, nullptr},
      {58, 0, nullptr},
      {136, 0, nullptr},
      {260, 0, nullptr},
      {-1, 0, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    tCharStr text = nullptr;
    SetCharStr(text, "kept");
    EXPECT_EQ(KeyToString(c.key, c.flags, text), c.expected != nullptr);
    EXPECT_STREQ(text, c.expected != nullptr ? c.expected : "kept");
    FreeCharStr(text);
  }
}

TEST(KeyboardTest, MapControlKeysMakesTheGamesShortcutCodes) {
  struct Case {
    int32_t key;
    uint32_t flags;
    bool mapped;
    int32_t newKey;
    uint32_t newFlags;
  };
  const Case cases[] = {
      {9, 4 | 8, true, 9, 0},  {91, 4, true, 5, 64},    {92, 0, true, 5, 64},
      {112, 4, true, 47, 4},   {115, 32, true, 6, 32},  {115, 32 | 4, false, 115, 36},
      {115, 0, false, 115, 0}, {121, 0, true, 7, 0},    {121, 32, true, 93, 32},
      {121, 8, false, 121, 8}, {65, 32, false, 65, 32},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key * 1000 + static_cast<int32_t>(c.flags));
    int32_t newKey = -1;
    uint32_t newFlags = 999;
    EXPECT_EQ(MapControlKeys(c.key, c.flags, newKey, newFlags), c.mapped);
    EXPECT_EQ(newKey, c.newKey);
    EXPECT_EQ(newFlags, c.newFlags);
  }
  DisableControlKeys();
  int32_t newKey = 0;
  uint32_t newFlags = 0;
  EXPECT_FALSE(MapControlKeys(9, 4, newKey, newFlags));
  EXPECT_EQ(newKey, 9);
  EnableControlKeys();
  EXPECT_TRUE(MapControlKeys(9, 4, newKey, newFlags));
}

TEST(KeyboardTest, StringToAcceleratorFindsTheMarkedCharacter) {
  struct Case {
    const char* label;
    const char* text;
    char accelerator;
    int32_t index;
  };
  const Case cases[] = {
      {"&File", "File", 'F', 0},
      {"E&xit", "Exit", 'X', 1},
      {"Save && &quit", "Save & quit", 'Q', 7},
      {"&-&2 players", "-2 players", '2', 1},
      {"No marker", "No marker", 0, -1},
      {"Trailing&", "Trailing", 0, -1},
      {"&a&b", "ab", 'A', 0},
      {"", "", 0, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    tCharStr text = nullptr;
    int32_t index = 99;
    EXPECT_EQ(StringToAccelerator(c.label, text, index), c.accelerator);
    EXPECT_STREQ(text, c.text);
    EXPECT_EQ(index, c.index);
    FreeCharStr(text);
  }
}

}  // namespace
