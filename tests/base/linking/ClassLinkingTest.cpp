#include <gtest/gtest.h>

#include "base/LumoClass.h"
#include "base/LumoObject.h"

namespace {

// This program's code names no class, so only the registry itself can make
// the linker keep the classes' files.
TEST(ClassLinkingTest, EveryBaseClassCanBeCreatedByNameAlone) {
  for (const char* name : {"LumoNode", "LumoList", "LumoObjects", "LumoSortedList"}) {
    ASSERT_NE(FindClass(name), nullptr) << name;
    LumoObject* object = CreateObject(name, nullptr);
    EXPECT_NE(object, nullptr) << name;
    DestroyObject(object);
  }
}

}  // namespace
