#pragma once

// The descriptor of the plug-in's one class, the material "Font Material
// Wexel": the tool learns of the material through it and makes materials
// with it.

#include "maxplugin/sdk/ClassDesc.h"

constexpr Class_ID kFontMaterialWexelClassID(0x32E67840, 0x45E12466);

class FontMaterialWexelClassDesc final : public ClassDesc {
 public:
  constexpr FontMaterialWexelClassDesc() = default;

  int IsPublic() override { return 1; }
  ReferenceTarget* Create(bool loading) override;
  int BeginCreate(Interface*) override { return 0; }
  int EndCreate(Interface*) override { return 0; }
  const char* ClassName() override { return "Font Material Wexel"; }
  SClass_ID SuperClassID() override { return kMaterialSuperClassID; }
  Class_ID ClassID() override { return kFontMaterialWexelClassID; }
  const char* Category() override { return "Wexels"; }
};

// The library's one descriptor, alive from the library's load to its unload.
FontMaterialWexelClassDesc* GetFontMaterialWexelDesc();
