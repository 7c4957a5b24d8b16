#include "runtime/Modules.h"

#include <dlfcn.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <string>

#include "base/DebugFormat.h"
#include "platform/FileSystem.h"
#include "runtime/DebugLevelGate.h"

namespace {

// The address of a handle as the log shows it.
unsigned LogAddress(const void* pointer) {
  return static_cast<unsigned>(reinterpret_cast<uintptr_t>(pointer));
}

void LogLoaderError(const char* function) {
  const char* reason = dlerror();
  if (reason != nullptr) {
    DebugPrint("%s %s\n", function, reason);
  }
}

// Names with a folder or drive are game names; bare names go to the loader's
// own search.
std::optional<std::string> LibraryPath(const char* name) {
  if (std::strpbrk(name, "\\/:") == nullptr) {
    return std::string(name);
  }
  return platform::MapFileName(name);
}

}  // namespace

ModuleHandle OpenModule(const char* name) {
  if (name == nullptr) {
    DebugPrint("OpenModule() Null pointer to the module name specified\n");
    return nullptr;
  }
  const std::optional<std::string> path = LibraryPath(name);
  ModuleHandle module = path ? dlopen(path->c_str(), RTLD_NOW | RTLD_LOCAL) : nullptr;
  if (module == nullptr) {
    DebugPrint("OpenModule() Cannot open module (Name=%s, Error=%X)\n", name,
               static_cast<unsigned>(errno));
    LogLoaderError("OpenModule()");
    return nullptr;
  }
  if (DebugLevelAtLeast(1)) {
    DebugPrint("OpenModule() Module opened (Module=%X, Name=%s)\n", LogAddress(module), name);
  }
  return module;
}

void CloseModule(ModuleHandle module) {
  if (module == nullptr) {
    DebugPrint("CloseModule() Null pointer to the module specified\n");
    return;
  }
  if (dlclose(module) != 0) {
    DebugPrint("CloseModule() Cannot close module (Module=%X, Error=%X)\n", LogAddress(module),
               static_cast<unsigned>(errno));
    LogLoaderError("CloseModule()");
    return;
  }
  if (DebugLevelAtLeast(2)) {
    DebugPrint("CloseModule() Module closed (Module=%X)\n", LogAddress(module));
  }
}

void* GetModuleFunction(ModuleHandle module, const char* name) {
  if (module == nullptr) {
    DebugPrint("GetModuleFunction() Null pointer to the module specified\n");
    return nullptr;
  }
  if (name == nullptr) {
    DebugPrint("GetModuleFunction() Null pointer to the function name specified (Module=%X)\n",
               LogAddress(module));
    return nullptr;
  }
  dlerror();
  void* function = dlsym(module, name);
  if (function == nullptr) {
    DebugPrint(
        "GetModuleFunction() Cannot get the address of a function (Module=%X, Name=%s, "
        "Error=%X)\n",
        LogAddress(module), name, static_cast<unsigned>(errno));
    LogLoaderError("GetModuleFunction()");
    return nullptr;
  }
  if (DebugLevelAtLeast(3)) {
    DebugPrint("GetModuleFunction() Pointer to a module function retrieved (Module=%p, Name=%s)\n",
               module, name);
  }
  return function;
}

int32_t MatrixInt(int32_t a, int32_t b, int32_t c) {
  if (c == 0) {
    DebugPrint("MatrixInt() Division by zero (A=%i, B=%i)\n", a, b);
    return 0;
  }
  return static_cast<int32_t>(static_cast<int64_t>(a) * b / c);
}

uint32_t MatrixCard(uint32_t a, uint32_t b, uint32_t c) {
  if (c == 0) {
    DebugPrint("MatrixCard() Division by zero (A=%u, B=%u)\n", a, b);
    return 0;
  }
  return static_cast<uint32_t>(static_cast<uint64_t>(a) * b / c);
}

uint32_t GetDirectXVersion() { return 0x800; }
