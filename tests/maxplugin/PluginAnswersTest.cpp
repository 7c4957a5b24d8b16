// Each plug-in file, loaded as the tool loads it, answers the same through its
// entry points, its descriptor, its materials and their parameter dialogs.

#include <gtest/gtest.h>

#include <cstdint>

#include "PluginHost.h"

namespace plugin_host {
namespace {

constexpr Class_ID kMaterialClassID(0x32E67840, 0x45E12466);

class PluginAnswersTest : public ::testing::TestWithParam<PluginFile> {
 protected:
  void SetUp() override { ASSERT_TRUE(plugin.HasEntryPoints()); }

  LoadedPlugin plugin{GetParam().path};
};

TEST_P(PluginAnswersTest, EntryPointsAnswer) {
  EXPECT_STREQ(plugin.libDescription(), "ZaruVozizuru Zaro");
  EXPECT_EQ(plugin.libNumberClasses(), 1);
  EXPECT_NE(plugin.libClassDesc(0), nullptr);
  EXPECT_EQ(plugin.libClassDesc(0), plugin.libClassDesc(0));
  for (int index : {1, 2, -1, INT32_MIN, INT32_MAX}) {
    EXPECT_EQ(plugin.libClassDesc(index), nullptr) << "index " << index;
  }
  EXPECT_EQ(plugin.libVersion(), 0x0C1C0700u);
  EXPECT_EQ(plugin.libVersion(), 203163392u);
}

// The tool calls the help operations by their linker names; the plug-in's own
// copies answer as the tool's header says.
TEST_P(PluginAnswersTest, HelpOperationsAreTheToolsOwn) {
  using Assign = HelpSys& (*)(HelpSys*, const HelpSys*);
  using GetClickHelp = int (*)(const HelpSys*);
  using GetHelpWindow = ToolWindow* (*)(const HelpSys*);
  using SetHelpWindow = void (*)(HelpSys*, ToolWindow*);
  const auto assign = reinterpret_cast<Assign>(plugin.Symbol("_ZN7HelpSysaSERKS_"));
  const auto getClickHelp =
      reinterpret_cast<GetClickHelp>(plugin.Symbol("_ZNK7HelpSys12getClickHelpEv"));
  const auto getHelpWindow =
      reinterpret_cast<GetHelpWindow>(plugin.Symbol("_ZNK7HelpSys11getHelpHWndEv"));
  const auto setHelpWindow =
      reinterpret_cast<SetHelpWindow>(plugin.Symbol("_ZN7HelpSys11setHelpHWndEP10ToolWindow"));
  ASSERT_NE(assign, nullptr);
  ASSERT_NE(getClickHelp, nullptr);
  ASSERT_NE(getHelpWindow, nullptr);
  ASSERT_NE(setHelpWindow, nullptr);

  int windowStandIn = 0;
  ToolWindow* window = reinterpret_cast<ToolWindow*>(&windowStandIn);
  HelpSys help;
  EXPECT_EQ(getHelpWindow(&help), nullptr);
  EXPECT_EQ(getClickHelp(&help), 0);
  setHelpWindow(&help, window);
  EXPECT_EQ(getHelpWindow(&help), window);

  HelpSys clickHelp(nullptr, 1);
  EXPECT_EQ(getClickHelp(&clickHelp), 1);
  EXPECT_EQ(&assign(&clickHelp, &help), &clickHelp);
  EXPECT_EQ(getHelpWindow(&clickHelp), window);
  EXPECT_EQ(getClickHelp(&clickHelp), 0);
}

TEST_P(PluginAnswersTest, DescriptorAnswers) {
  ClassDesc& descriptor = plugin.Descriptor();
  EXPECT_EQ(descriptor.IsPublic(), 1);
  EXPECT_EQ(descriptor.BeginCreate(nullptr), 0);
  EXPECT_EQ(descriptor.EndCreate(nullptr), 0);
  EXPECT_STREQ(descriptor.ClassName(), "Font Material Wexel");
  EXPECT_EQ(descriptor.SuperClassID(), 0xC00u);
  EXPECT_EQ(descriptor.SuperClassID(), kMaterialSuperClassID);
  EXPECT_EQ(descriptor.ClassID(), kMaterialClassID);
  EXPECT_STREQ(descriptor.Category(), "Wexels");
  // The later questions keep the descriptor base's answers.
  EXPECT_EQ(descriptor.OkToCreate(nullptr), 1);
  EXPECT_EQ(descriptor.InternalName(), nullptr);
}

TEST_P(PluginAnswersTest, DescriptorCreatesNewMaterials) {
  PluginObject<Mtl> first = CreateMaterial(plugin.Descriptor());
  PluginObject<Mtl> second = CreateMaterial(plugin.Descriptor());
  PluginObject<Mtl> loaded = CreateMaterial(plugin.Descriptor(), true);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  ASSERT_NE(loaded, nullptr);
  EXPECT_NE(first.get(), second.get());
  EXPECT_NE(first.get(), loaded.get());
  for (const Mtl* material : {first.get(), second.get(), loaded.get()}) {
    EXPECT_EQ(material->GetClassName(), "Font Material Wexel");
    EXPECT_EQ(material->ClassID(), kMaterialClassID);
    EXPECT_EQ(material->SuperClassID(), kMaterialSuperClassID);
  }
}

// What a material answers; the same for a created one and a clone.
void ExpectMaterialAnswers(Mtl& material) {
  EXPECT_EQ(material.GetClassName(), "Font Material Wexel");
  EXPECT_EQ(material.ClassID(), kMaterialClassID);
  EXPECT_EQ(material.SuperClassID(), 0xC00u);

  const struct {
    const char* name;
    Color (Mtl::*get)() const;
  } colours[] = {{"diffuse", &Mtl::GetDiffuse},
                 {"specular", &Mtl::GetSpecular},
                 {"self-illumination colour", &Mtl::GetSelfIllumColor}};
  for (const auto& colour : colours) {
    EXPECT_EQ((material.*colour.get)(), Color(0.0f, 0.0f, 0.0f)) << colour.name;
  }
  const struct {
    const char* name;
    float (Mtl::*get)() const;
  } amounts[] = {{"shininess", &Mtl::GetShininess},
                 {"shine strength", &Mtl::GetShineStrength},
                 {"transparency", &Mtl::GetTransparency},
                 {"self-illumination", &Mtl::GetSelfIllumination},
                 {"wire size", &Mtl::WireSize}};
  for (const auto& amount : amounts) {
    EXPECT_EQ((material.*amount.get)(), 0.0f) << amount.name;
  }

  for (TimeValue moment : {0, 160, -4800, kTimeNegativeInfinity, kTimePositiveInfinity}) {
    const Interval validity = material.Validity(moment);
    EXPECT_EQ(validity.Start(), static_cast<TimeValue>(0x80000000u)) << "at " << moment;
    EXPECT_EQ(validity.End(), 0x7FFFFFFF) << "at " << moment;
  }

  // The base answers of a plain material.
  EXPECT_EQ(material.GetName(), "");
  EXPECT_EQ(material.NumSubMtls(), 0);
  EXPECT_EQ(material.GetSubMtl(0), nullptr);
  EXPECT_EQ(material.NumSubTexmaps(), 0);
}

TEST_P(PluginAnswersTest, MaterialAnswers) {
  PluginObject<Mtl> material = CreateMaterial(plugin.Descriptor());
  ASSERT_NE(material, nullptr);
  ExpectMaterialAnswers(*material);
}

TEST_P(PluginAnswersTest, CloneIsANewMaterialMadeLikeACreatedOne) {
  PluginObject<Mtl> material = CreateMaterial(plugin.Descriptor());
  material->SetName("Kerb");
  PluginObject<Mtl> clone(material->Clone());
  ASSERT_NE(clone, nullptr);
  EXPECT_NE(clone.get(), material.get());
  ExpectMaterialAnswers(*clone);
  EXPECT_EQ(material->GetName(), "Kerb");
}

TEST_P(PluginAnswersTest, SettersUpdateResetAndShadeChangeNothing) {
  PluginObject<Mtl> material = CreateMaterial(plugin.Descriptor());
  const Color red(1.0f, 0.0f, 0.0f);
  material->SetAmbient(red, 0);
  material->SetDiffuse(red, 0);
  material->SetSpecular(red, 160);
  material->SetShininess(0.5f, 160);
  material->Reset();

  Interval valid(10, 20);
  material->Update(15, valid);
  EXPECT_EQ(valid, Interval(10, 20));

  ShadeContext context;
  context.colour = Color(0.25f, 0.5f, 0.75f);
  material->Shade(context);
  EXPECT_EQ(context.colour, Color(0.25f, 0.5f, 0.75f));

  ExpectMaterialAnswers(*material);
}

TEST_P(PluginAnswersTest, ParameterDialogHoldsItsMaterial) {
  PluginObject<Mtl> material = CreateMaterial(plugin.Descriptor());
  PluginObject<Mtl> other = CreateMaterial(plugin.Descriptor());
  PluginObject<ParamDlg> dialog(material->CreateParamDlg());
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->ClassID(), kMaterialClassID);
  EXPECT_EQ(dialog->GetMaterial(), material.get());

  PluginObject<ParamDlg> secondDialog(material->CreateParamDlg());
  EXPECT_NE(secondDialog.get(), dialog.get());

  dialog->SetMaterial(other.get());
  EXPECT_EQ(dialog->GetMaterial(), other.get());
  dialog->SetMaterial(nullptr);
  EXPECT_EQ(dialog->GetMaterial(), nullptr);

  int windowStandIn = 0;
  for (ToolWindow* window :
       {static_cast<ToolWindow*>(nullptr), reinterpret_cast<ToolWindow*>(&windowStandIn)}) {
    EXPECT_EQ(dialog->FindSubTexmapFromWindow(window), -1);
    EXPECT_EQ(dialog->FindSubMtlFromWindow(window), -1);
  }
  dialog->SetTime(160);
  dialog->ReloadDialog();
  dialog->ActivateDialog(true);
  dialog->ActivateDialog(false);
  EXPECT_EQ(dialog->GetMaterial(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(BothFiles, PluginAnswersTest, ::testing::ValuesIn(kPluginFiles),
                         PluginFileName);

}  // namespace
}  // namespace plugin_host
