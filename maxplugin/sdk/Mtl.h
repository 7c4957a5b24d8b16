#pragma once

// Our own stand-in of the modelling tool's material: the base every material
// plug-in derives from. The tool asks a material for its colours and amounts
// to draw it, for its editor (a parameter dialog) to edit it, and calls Shade
// to render a point with it.

#include <string>

#include "maxplugin/sdk/MaxTypes.h"
#include "maxplugin/sdk/ReferenceTarget.h"

class ParamDlg;

// What one Shade call works on: the colour the material gives the point.
struct ShadeContext {
  Color colour;
};

class Mtl : public ReferenceTarget {
 public:
  // ---- Identity ----
  virtual std::string GetClassName() const = 0;
  virtual Class_ID ClassID() const = 0;
  SClass_ID SuperClassID() const override = 0;

  // ---- Colours and amounts the tool draws with ----
  virtual Color GetAmbient() const = 0;
  virtual Color GetDiffuse() const = 0;
  virtual Color GetSpecular() const = 0;
  virtual Color GetSelfIllumColor() const = 0;
  virtual float GetShininess() const = 0;
  virtual float GetShineStrength() const = 0;
  virtual float GetTransparency() const = 0;
  virtual float GetSelfIllumination() const = 0;
  virtual float WireSize() const = 0;

  // ---- Editing ----
  virtual void SetAmbient(const Color& colour, TimeValue moment) = 0;
  virtual void SetDiffuse(const Color& colour, TimeValue moment) = 0;
  virtual void SetSpecular(const Color& colour, TimeValue moment) = 0;
  virtual void SetShininess(float shininess, TimeValue moment) = 0;
  // A new editor of this material; the caller frees it with its DeleteThis.
  virtual ParamDlg* CreateParamDlg() = 0;
  // Tells the material's dependents that it changed at moment.
  virtual void NotifyChanged(TimeValue moment) = 0;

  // ---- Evaluation ----
  // The range of time over which the material's look at moment stays the same.
  virtual Interval Validity(TimeValue moment) = 0;
  // Brings the material up to moment, narrowing valid to the range its look holds for.
  virtual void Update(TimeValue moment, Interval& valid) = 0;
  // Returns the material to its state after creation.
  virtual void Reset() = 0;
  // Renders one point into the context.
  virtual void Shade(ShadeContext& context) = 0;

  // A new material made like this one; the caller frees it with its DeleteThis.
  virtual Mtl* Clone() = 0;

  // ---- Base behaviour a plain material keeps ----
  // The name the user gave this material; empty after construction.
  const std::string& GetName() const { return name; }
  void SetName(const std::string& newName) { name = newName; }
  // A plain material has no sub-materials and no sub-maps.
  virtual int NumSubMtls() const { return 0; }
  virtual Mtl* GetSubMtl(int) const { return nullptr; }
  virtual int NumSubTexmaps() const { return 0; }

 protected:
  Mtl() = default;

 private:
  std::string name;
};
