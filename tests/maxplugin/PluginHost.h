#pragma once

// A small host that plays the modelling tool for the material plug-in's
// tests: it loads a plug-in file with dlopen, looks up its entry points and
// handles the objects the plug-in makes only through our stand-in of the
// tool's interface.

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "maxplugin/sdk/Mtl.h"
#include "maxplugin/sdk/ParamDlg.h"
#include "maxplugin/sdk/PluginEntryPoints.h"

namespace plugin_host {

// The two files of the material plug-in, as the build made them.
struct PluginFile {
  const char* extension;
  const char* path;
};
inline const PluginFile kPluginFiles[] = {{"dlt", TRIAL1_DLT}, {"dlm", TRIAL1_DLM}};

inline void PrintTo(const PluginFile& file, std::ostream* out) {
  *out << file.path;
}

inline std::string PluginFileName(const ::testing::TestParamInfo<PluginFile>& info) {
  return info.param.extension;
}

// Frees an object the plug-in made through its own DeleteThis, so the library
// that made it frees it.
struct DeleteThisDeleter {
  template <typename Object>
  void operator()(Object* object) const {
    object->DeleteThis();
  }
};
template <typename Object>
using PluginObject = std::unique_ptr<Object, DeleteThisDeleter>;

// One loaded plug-in library and its four entry points; unloaded when it goes.
class LoadedPlugin {
 public:
  explicit LoadedPlugin(const char* path, int mode = RTLD_NOW | RTLD_LOCAL)
      : handle(dlopen(path, mode)) {
    if (handle == nullptr) {
      ADD_FAILURE() << "cannot load " << path << ": " << dlerror();
      return;
    }
    libDescription = reinterpret_cast<LibDescriptionFunction>(Symbol("LibDescription"));
    libNumberClasses = reinterpret_cast<LibNumberClassesFunction>(Symbol("LibNumberClasses"));
    libClassDesc = reinterpret_cast<LibClassDescFunction>(Symbol("LibClassDesc"));
    libVersion = reinterpret_cast<LibVersionFunction>(Symbol("LibVersion"));
  }

  bool HasEntryPoints() const {
    return libDescription != nullptr && libNumberClasses != nullptr && libClassDesc != nullptr &&
           libVersion != nullptr;
  }

  // The address of an exported symbol of this library; null when it has none.
  void* Symbol(const char* name) const {
    return handle != nullptr ? dlsym(handle.get(), name) : nullptr;
  }

  // The material class's descriptor, the library's only one.
  ClassDesc& Descriptor() const { return *libClassDesc(0); }

  void Unload() { handle.reset(); }

  LibDescriptionFunction libDescription = nullptr;
  LibNumberClassesFunction libNumberClasses = nullptr;
  LibClassDescFunction libClassDesc = nullptr;
  LibVersionFunction libVersion = nullptr;

 private:
  struct Closer {
    void operator()(void* library) const { dlclose(library); }
  };
  std::unique_ptr<void, Closer> handle;
};

// A new material made by a descriptor of the material super class.
inline PluginObject<Mtl> CreateMaterial(ClassDesc& descriptor, bool loading = false) {
  return PluginObject<Mtl>(static_cast<Mtl*>(descriptor.Create(loading)));
}

// One notification as a dependent heard it.
struct HeardNotification {
  Interval changeInterval;
  ReferenceTarget* target;
  PartID part;
  RefMessage message;

  bool operator==(const HeardNotification&) const = default;
};

inline void PrintTo(const HeardNotification& heard, std::ostream* out) {
  *out << "{[" << heard.changeInterval.Start() << ", " << heard.changeInterval.End() << "], target "
       << heard.target << ", part " << heard.part << ", message 0x" << std::hex << heard.message
       << std::dec << "}";
}

// A dependent of the tool's side that records what it hears.
class RecordingDependent : public ReferenceMaker {
 public:
  explicit RecordingDependent(SClass_ID superClass = 0) : superClass(superClass) {}
  ~RecordingDependent() override = default;

  SClass_ID SuperClassID() const override { return superClass; }
  RefResult NotifyRefChanged(const Interval& changeInterval, ReferenceTarget* target, PartID part,
                             RefMessage message) override {
    heard.push_back({changeInterval, target, part, message});
    return RefResult::Succeed;
  }

  std::vector<HeardNotification> heard;

 private:
  SClass_ID superClass;
};

}  // namespace plugin_host
