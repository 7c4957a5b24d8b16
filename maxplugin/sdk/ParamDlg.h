#pragma once

// Our own stand-in of the modelling tool's parameter dialog: the editor of one
// material, shown in the tool's material editor. The tool creates one through
// the material, hands it the material to edit and frees it with DeleteThis.

#include "maxplugin/sdk/MaxTypes.h"

class Mtl;

class ParamDlg {
 public:
  ParamDlg(const ParamDlg&) = delete;
  ParamDlg& operator=(const ParamDlg&) = delete;

  virtual Class_ID ClassID() const = 0;

  // The material this dialog edits; the dialog does not own it.
  virtual void SetMaterial(Mtl* material) = 0;
  virtual Mtl* GetMaterial() const = 0;

  // The moment whose values the dialog shows.
  virtual void SetTime(TimeValue moment) = 0;
  // Shows the material's values afresh.
  virtual void ReloadDialog() = 0;
  // The dialog gains (true) or loses (false) the user's attention.
  virtual void ActivateDialog(bool active) = 0;

  // The index of the sub-map, or of the sub-material, whose control is
  // window; -1 when none of this dialog's controls is.
  virtual int FindSubTexmapFromWindow(ToolWindow* window) const = 0;
  virtual int FindSubMtlFromWindow(ToolWindow* window) const = 0;

  // Frees this dialog.
  virtual void DeleteThis() = 0;

 protected:
  ParamDlg() = default;
  virtual ~ParamDlg() = default;
};
