#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "SpriteFixture.h"
#include "game/YGEffect.h"
#include "game/YGEffectManager.h"
#include "game/YGEffectParticle.h"

namespace effects_testing {

// The names of every graphic the shared effect sequences show, each once.
inline std::vector<std::string> EffectGraphicNames() {
  std::vector<std::string> names;
  char name[32];
  for (int size = 1; size <= 3; ++size) {
    for (int frame = 0; frame < 10; ++frame) {
      std::snprintf(name, sizeof name, "explo%d00%02d", size, frame);
      names.push_back(name);
    }
  }
  for (int size = 1; size <= 4; ++size) {
    for (int frame = 0; frame < 7; ++frame) {
      std::snprintf(name, sizeof name, "teargas%d00%02d", size, frame);
      names.push_back(name);
    }
  }
  for (int frame = 0; frame < 7; ++frame) {
    std::snprintf(name, sizeof name, "explo400%02d", frame);
    names.push_back(name);
  }
  return names;
}

// The particles of an effect, first to last.
inline std::vector<YGEffectParticle*> ParticlesOf(const YGEffect& effect) {
  std::vector<YGEffectParticle*> particles;
  for (const tNode* entry = effect.first; entry != nullptr; entry = entry->next) {
    particles.push_back(YGEffect::ParticleOf(entry));
  }
  return particles;
}

using ManagerOwner = std::unique_ptr<YGEffectManager, tObjectDestroyer>;

// A running level at 24 frames a pulse whose graphic list holds every
// effect graphic (8 x 8, made in code), and a plain cell standing in for
// the thing layer.
class EffectTest : public framework_testing::SpriteFixture {
 protected:
  void StartWithLayer() {
    StartWithLevel();
    Engine->SetFramesPerPulse(24);
    int shade = 0;
    for (const std::string& name : EffectGraphicNames()) {
      auto* graphic = framework_testing::MadeGraphic(8, 8, sRGB{static_cast<uint8_t>(shade), 40, 200});
      graphic->SetName(name.c_str());
      level->GraphicList->Append(graphic);
      shade += 3;
    }
    layer = AddCell(0, 0, 800, 600);
    layer->SetVirtualSize(2000, 2000);
    layer->StartAnimation();
  }

  void TearDown() override {
    manager.reset();
    SpriteFixture::TearDown();
  }

  // One level frame: the manager's step, then the engine's pass (which
  // animates the particles and deletes what was disposed of).
  void Frame() {
    manager->Step();
    ASSERT_TRUE(Pulse());
  }

  LumoCell* layer = nullptr;
  ManagerOwner manager;
};

}  // namespace effects_testing
