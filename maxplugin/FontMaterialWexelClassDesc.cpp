#include "maxplugin/FontMaterialWexelClassDesc.h"

#include <type_traits>

#include "maxplugin/FontMaterialWexel.h"

namespace {

// The descriptor is built when the library loads and lasts until it is
// unloaded, whatever order the process runs static destructors in. It is
// initialised as a constant (the loader fills in its table of operations; no
// constructor code runs), and having a trivial destructor it registers no
// static destructor, so the tool (or any other library's static destructor)
// may still ask it while the library stays loaded.
static_assert(std::is_trivially_destructible_v<FontMaterialWexelClassDesc>);
constinit FontMaterialWexelClassDesc theDescriptor;

}  // namespace

ReferenceTarget* FontMaterialWexelClassDesc::Create(bool) {
  return new FontMaterialWexel();  // the caller owns it and frees it with DeleteThis
}

FontMaterialWexelClassDesc* GetFontMaterialWexelDesc() {
  return &theDescriptor;
}
