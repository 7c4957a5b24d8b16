// A material's ambient colour is drawn afresh from the C library's random
// generator on every call.

#include <gtest/gtest.h>

#include <cstdlib>

#include "PluginHost.h"

namespace plugin_host {
namespace {

class AmbientColourTest : public ::testing::TestWithParam<PluginFile> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(plugin.HasEntryPoints());
    material = CreateMaterial(plugin.Descriptor());
    ASSERT_NE(material, nullptr);
  }

  LoadedPlugin plugin{GetParam().path};
  PluginObject<Mtl> material;
};

// Three successive draws give blue, green and red in that order, each the draw
// modulo 255 on the scale 0 to 254.
TEST_P(AmbientColourTest, ThreeDrawsGiveBlueGreenRed) {
  for (unsigned seed : {1u, 7u, 4242u}) {
    std::srand(seed);
    const int first = std::rand() % 255;
    const int second = std::rand() % 255;
    const int third = std::rand() % 255;
    const int fourth = std::rand() % 255;

    std::srand(seed);
    const Color ambient = material->GetAmbient();
    EXPECT_EQ(ambient.b, static_cast<float>(first)) << "seed " << seed;
    EXPECT_EQ(ambient.g, static_cast<float>(second)) << "seed " << seed;
    EXPECT_EQ(ambient.r, static_cast<float>(third)) << "seed " << seed;
    // The next call goes on drawing where this one stopped.
    EXPECT_EQ(material->GetAmbient().b, static_cast<float>(fourth)) << "seed " << seed;
  }
}

TEST_P(AmbientColourTest, ComponentsAreWholeNumbersFrom0To254) {
  std::srand(99);
  float lowest = 255.0f;
  float highest = -1.0f;
  for (int call = 0; call < 5000; ++call) {
    const Color ambient = material->GetAmbient();
    for (float component : {ambient.r, ambient.g, ambient.b}) {
      ASSERT_GE(component, 0.0f);
      ASSERT_LE(component, 254.0f);
      ASSERT_EQ(component, static_cast<float>(static_cast<int>(component)));
      lowest = std::min(lowest, component);
      highest = std::max(highest, component);
    }
  }
  // 15000 draws reach both ends of the scale.
  EXPECT_EQ(lowest, 0.0f);
  EXPECT_EQ(highest, 254.0f);
}

INSTANTIATE_TEST_SUITE_P(BothFiles, AmbientColourTest, ::testing::ValuesIn(kPluginFiles),
                         PluginFileName);

}  // namespace
}  // namespace plugin_host
