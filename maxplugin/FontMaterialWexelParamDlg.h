#pragma once

// The editor of a "Font Material Wexel": the material has no settings, so the
// dialog only holds the material it edits.

#include "maxplugin/sdk/ParamDlg.h"

class FontMaterialWexelParamDlg final : public ParamDlg {
 public:
  explicit FontMaterialWexelParamDlg(Mtl* material) : material(material) {}

  Class_ID ClassID() const override;
  void SetMaterial(Mtl* newMaterial) override { material = newMaterial; }
  Mtl* GetMaterial() const override { return material; }
  void SetTime(TimeValue) override {}
  void ReloadDialog() override {}
  void ActivateDialog(bool) override {}
  // The dialog has no controls for sub-maps or sub-materials.
  int FindSubTexmapFromWindow(ToolWindow*) const override { return -1; }
  int FindSubMtlFromWindow(ToolWindow*) const override { return -1; }
  void DeleteThis() override;

 private:
  ~FontMaterialWexelParamDlg() override = default;

  Mtl* material;  // not owned
};
