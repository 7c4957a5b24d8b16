#include "maxplugin/FontMaterialWexel.h"

#include <cstdlib>

#include "maxplugin/FontMaterialWexelClassDesc.h"
#include "maxplugin/FontMaterialWexelParamDlg.h"

namespace {

// A change of the material is reported as a change of its first part.
constexpr PartID kChangedPart = 1;

}  // namespace

std::string FontMaterialWexel::GetClassName() const {
  return GetFontMaterialWexelDesc()->ClassName();
}

Class_ID FontMaterialWexel::ClassID() const {
  return kFontMaterialWexelClassID;
}

SClass_ID FontMaterialWexel::SuperClassID() const {
  return kMaterialSuperClassID;
}

Color FontMaterialWexel::GetAmbient() const {
  // One draw per statement, so the components take them in a fixed order:
  // blue first, red last.
  const float blue = static_cast<float>(std::rand() % 255);
  const float green = static_cast<float>(std::rand() % 255);
  const float red = static_cast<float>(std::rand() % 255);
  return Color(red, green, blue);
}

ParamDlg* FontMaterialWexel::CreateParamDlg() {
  return new FontMaterialWexelParamDlg(this);  // the caller owns it and frees it with DeleteThis
}

void FontMaterialWexel::NotifyChanged(TimeValue moment) {
  NotifyDependents(Interval(moment, moment), kChangedPart, kRefMessageChange, kNotifyAllClasses,
                   true);
}

Mtl* FontMaterialWexel::Clone() {
  return new FontMaterialWexel();  // the caller owns it and frees it with DeleteThis
}

void FontMaterialWexel::DeleteThis() {
  delete this;
}
