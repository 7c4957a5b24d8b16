// The material's own word, reached directly from the plug-in's sources.

#include <gtest/gtest.h>

#include "PluginHost.h"
#include "maxplugin/FontMaterialWexel.h"

namespace plugin_host {
namespace {

TEST(FontMaterialWexelTest, OwnWordIsZeroAfterConstructionAndCloning) {
  PluginObject<FontMaterialWexel> material(new FontMaterialWexel());
  EXPECT_EQ(material->Reserved(), 0);
  PluginObject<Mtl> clone(material->Clone());
  EXPECT_EQ(static_cast<FontMaterialWexel*>(clone.get())->Reserved(), 0);
}

}  // namespace
}  // namespace plugin_host
