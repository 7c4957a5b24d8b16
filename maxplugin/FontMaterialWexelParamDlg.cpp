#include "maxplugin/FontMaterialWexelParamDlg.h"

#include "maxplugin/FontMaterialWexelClassDesc.h"

Class_ID FontMaterialWexelParamDlg::ClassID() const {
  return kFontMaterialWexelClassID;
}

void FontMaterialWexelParamDlg::DeleteThis() {
  delete this;
}
