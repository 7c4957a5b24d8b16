#pragma once

// The material "Font Material Wexel", the plug-in's one class, offered to the
// modelling tool for the level editor's models. It is black but for a random
// ambient colour, and keeps no settings of its own.

#include <cstdint>
#include <string>

#include "maxplugin/sdk/Mtl.h"

class FontMaterialWexel final : public Mtl {
 public:
  FontMaterialWexel() = default;

  std::string GetClassName() const override;
  Class_ID ClassID() const override;
  SClass_ID SuperClassID() const override;

  // A new random colour on each call, each component on the scale 0 to 254.
  Color GetAmbient() const override;
  Color GetDiffuse() const override { return Color(); }
  Color GetSpecular() const override { return Color(); }
  Color GetSelfIllumColor() const override { return Color(); }
  float GetShininess() const override { return 0.0f; }
  float GetShineStrength() const override { return 0.0f; }
  float GetTransparency() const override { return 0.0f; }
  float GetSelfIllumination() const override { return 0.0f; }
  float WireSize() const override { return 0.0f; }

  // The material keeps none of these settings.
  void SetAmbient(const Color&, TimeValue) override {}
  void SetDiffuse(const Color&, TimeValue) override {}
  void SetSpecular(const Color&, TimeValue) override {}
  void SetShininess(float, TimeValue) override {}
  ParamDlg* CreateParamDlg() override;
  void NotifyChanged(TimeValue moment) override;

  Interval Validity(TimeValue) override { return Interval::Forever(); }
  void Update(TimeValue, Interval&) override {}
  void Reset() override {}
  void Shade(ShadeContext&) override {}

  Mtl* Clone() override;

  // The material depends on no other object.
  RefResult NotifyRefChanged(const Interval&, ReferenceTarget*, PartID, RefMessage) override {
    return RefResult::Succeed;
  }
  void DeleteThis() override;

  // A word of the material's own, 0 after construction; nothing sets it yet.
  int32_t Reserved() const { return reserved; }

 private:
  ~FontMaterialWexel() override = default;

  int32_t reserved = 0;
};
