// Both plug-in files live in one process at once, each with its own
// descriptor, and unload in either order.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "PluginHost.h"

namespace plugin_host {
namespace {

// Uses a library's descriptor the way the tool does: create, clone and free
// materials, open and close a dialog.
void UseDescriptor(ClassDesc& descriptor) {
  EXPECT_STREQ(descriptor.ClassName(), "Font Material Wexel");
  PluginObject<Mtl> material = CreateMaterial(descriptor);
  ASSERT_NE(material, nullptr);
  PluginObject<Mtl> clone(material->Clone());
  PluginObject<ParamDlg> dialog(material->CreateParamDlg());
  RecordingDependent dependent;
  material->AddDependent(&dependent);
  material->NotifyChanged(5);
  EXPECT_EQ(dependent.heard.size(), 1u);
  EXPECT_EQ(dialog->GetMaterial(), material.get());
  EXPECT_EQ(clone->GetClassName(), "Font Material Wexel");
}

struct UnloadOrder {
  const char* name;
  bool textureFileFirst;
};

class LoadUnloadTest : public ::testing::TestWithParam<UnloadOrder> {};

// The files are loaded into the global scope, where an entry point or a
// descriptor that one file took from the other would show.
TEST_P(LoadUnloadTest, BothFilesKeepTheirOwnDescriptors) {
  LoadedPlugin texture(TRIAL1_DLT, RTLD_NOW | RTLD_GLOBAL);
  LoadedPlugin modifier(TRIAL1_DLM, RTLD_NOW | RTLD_GLOBAL);
  ASSERT_TRUE(texture.HasEntryPoints());
  ASSERT_TRUE(modifier.HasEntryPoints());
  EXPECT_NE(texture.libClassDesc, modifier.libClassDesc);
  EXPECT_NE(&texture.Descriptor(), &modifier.Descriptor());

  // Materials of both files alive at once; each is freed by its own file.
  PluginObject<Mtl> textureMaterial = CreateMaterial(texture.Descriptor());
  PluginObject<Mtl> modifierMaterial = CreateMaterial(modifier.Descriptor());
  textureMaterial->AddDependent(modifierMaterial.get());
  RecordingDependent dependent;
  modifierMaterial->AddDependent(&dependent);
  textureMaterial->NotifyChanged(7);
  EXPECT_EQ(dependent.heard.size(), 1u);
  textureMaterial.reset();
  modifierMaterial.reset();

  LoadedPlugin& first = GetParam().textureFileFirst ? texture : modifier;
  LoadedPlugin& second = GetParam().textureFileFirst ? modifier : texture;
  first.Unload();
  UseDescriptor(second.Descriptor());
  second.Unload();

  // Either file loads again after both have gone.
  LoadedPlugin again(GetParam().textureFileFirst ? TRIAL1_DLT : TRIAL1_DLM);
  ASSERT_TRUE(again.HasEntryPoints());
  UseDescriptor(again.Descriptor());
}

INSTANTIATE_TEST_SUITE_P(EitherOrder, LoadUnloadTest,
                         ::testing::Values(UnloadOrder{"TextureFileFirst", true},
                                           UnloadOrder{"ModifierFileFirst", false}),
                         [](const ::testing::TestParamInfo<UnloadOrder>& info) {
                           return info.param.name;
                         });

// The descriptor lasts while its library stays loaded, whatever order the
// process runs static destructors in: an exit handler that runs after the
// library's static destructors (registered before the library loads) still
// finds it whole.
ClassDesc* descriptorAskedAtExit = nullptr;

void AskDescriptorAtExit() {
  const char* name = descriptorAskedAtExit->ClassName();
  const bool whole = name != nullptr && std::strcmp(name, "Font Material Wexel") == 0 &&
                     descriptorAskedAtExit->ClassID() == Class_ID(0x32E67840, 0x45E12466);
  _exit(whole ? 0 : 1);
}

class DescriptorLifetimeTest : public ::testing::TestWithParam<PluginFile> {};

TEST_P(DescriptorLifetimeTest, DescriptorOutlivesStaticDestruction) {
  EXPECT_EXIT(
      {
        std::atexit(AskDescriptorAtExit);
        void* library = dlopen(GetParam().path, RTLD_NOW | RTLD_LOCAL);
        if (library == nullptr) {
          _exit(2);
        }
        const auto libClassDesc =
            reinterpret_cast<LibClassDescFunction>(dlsym(library, "LibClassDesc"));
        if (libClassDesc == nullptr) {
          _exit(3);
        }
        descriptorAskedAtExit = libClassDesc(0);
        std::exit(4);
      },
      ::testing::ExitedWithCode(0), "");
}

INSTANTIATE_TEST_SUITE_P(BothFiles, DescriptorLifetimeTest, ::testing::ValuesIn(kPluginFiles),
                         PluginFileName);

}  // namespace
}  // namespace plugin_host
