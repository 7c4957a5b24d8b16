#include <dlfcn.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "base/LumoClass.h"
#include "base/LumoNode.h"

namespace {

struct LibraryCloser {
  void operator()(void* handle) const { dlclose(handle); }
};

// One loaded test library and its two exported functions. The libraries are
// loaded into the global scope, where a base function or global that leaked
// out of the first library would take the place of the second one's.
struct RegistryLibrary {
  explicit RegistryLibrary(const char* path) : handle(dlopen(path, RTLD_NOW | RTLD_GLOBAL)) {
    if (handle == nullptr) {
      ADD_FAILURE() << dlerror();
      return;
    }
    findClass = reinterpret_cast<const void* (*)(const char*)>(dlsym(handle.get(), "RegistryFindClass"));
    createdClassName =
        reinterpret_cast<const char* (*)(const char*)>(dlsym(handle.get(), "RegistryCreatedClassName"));
  }

  std::unique_ptr<void, LibraryCloser> handle;
  const void* (*findClass)(const char*) = nullptr;
  const char* (*createdClassName)(const char*) = nullptr;
};

TEST(RegistryIsolationTest, EachLibraryFindsOnlyItsOwnClasses) {
  RegistryLibrary first(REGISTRY_LIBRARY_A);
  RegistryLibrary second(REGISTRY_LIBRARY_B);
  ASSERT_NE(first.findClass, nullptr);
  ASSERT_NE(second.findClass, nullptr);
  ASSERT_NE(first.createdClassName, nullptr);

  EXPECT_NE(first.findClass("RegistryClassA"), nullptr);
  EXPECT_EQ(first.findClass("RegistryClassB"), nullptr);
  EXPECT_NE(second.findClass("RegistryClassB"), nullptr);
  EXPECT_EQ(second.findClass("RegistryClassA"), nullptr);
  EXPECT_EQ(FindClass("RegistryClassA"), nullptr);
  EXPECT_EQ(FindClass("RegistryClassB"), nullptr);

  // The framework's own classes are registered in every build, once each.
  const void* programRecord = FindClass("LumoNode");
  ASSERT_NE(programRecord, nullptr);
  ASSERT_NE(first.findClass("LumoNode"), nullptr);
  EXPECT_NE(first.findClass("LumoNode"), programRecord);
  EXPECT_NE(first.findClass("LumoNode"), second.findClass("LumoNode"));

  EXPECT_STREQ(first.createdClassName("RegistryClassA"), "RegistryClassA");
  EXPECT_EQ(first.createdClassName("RegistryClassB"), nullptr);
  EXPECT_STREQ(second.createdClassName("RegistryClassB"), "RegistryClassB");
}

}  // namespace
