#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "FrameworkFixture.h"
#include "base/LumoMemoryStream.h"
#include "framework/LumoEngine.h"
#include "framework/LumoGraphicList.h"
#include "framework/LumoGraphicNode.h"
#include "framework/LumoLevel.h"
#include "framework/LumoSequenceList.h"
#include "framework/LumoSequenceNode.h"
#include "framework/LumoSoundList.h"
#include "framework/LumoSoundNode.h"
#include "game/PlayerColourTable.h"
#include "game/YGDynamicResourceController.h"
#include "runtime/Graphics.h"
#include "support/DebugLogReader.h"

// Colours compare and print by their channels (found by argument lookup).
inline bool operator==(const sRGB& a, const sRGB& b) {
  return a.Red == b.Red && a.Green == b.Green && a.Blue == b.Blue;
}

inline std::ostream& operator<<(std::ostream& out, const sRGB& colour) {
  return out << "(" << int(colour.Red) << ", " << int(colour.Green) << ", " << int(colour.Blue) << ")";
}

namespace resource_testing {

inline sRGB Rgb(uint8_t red, uint8_t green, uint8_t blue) {
  sRGB colour;
  colour.Red = red;
  colour.Green = green;
  colour.Blue = blue;
  return colour;
}

// The colour of a pixel of a graphic.
inline sRGB PixelOf(GraphicHandle graphic, int32_t x, int32_t y) {
  sRGB colour;
  ConvertColor(GetGraphicPixel(graphic, x, y), colour);
  return colour;
}

inline void PaintPixel(GraphicHandle graphic, int32_t x, int32_t y, const sRGB& colour) {
  SetGraphicPixel(graphic, x, y, ConvertRGB(colour));
}

inline bool LogHas(const std::string& text) {
  return testing_support::ReadDebugLog().find(text) != std::string::npos;
}

inline size_t LogCount(const std::string& text) {
  const std::string log = testing_support::ReadDebugLog();
  size_t found = 0;
  for (size_t at = log.find(text); at != std::string::npos; at = log.find(text, at + 1)) {
    ++found;
  }
  return found;
}

// An object record as the stream writes it.
inline std::string RecordOf(LumoObject& object, uint32_t headerVersion = 0) {
  LumoMemoryStream stream;
  EXPECT_TRUE(stream.OpenNew(64, 1, 0));
  stream.SetGrowth(4096);
  EXPECT_TRUE(object.SaveObject(&stream, headerVersion));
  return std::string(reinterpret_cast<const char*>(stream.buffer), stream.position);
}

// One object read back from a record; null when the load refused it.
inline LumoObject* LoadRecord(const std::string& record) {
  LumoMemoryStream stream;
  EXPECT_TRUE(stream.OpenNew(static_cast<uint32_t>(record.size()), 1, 0));
  EXPECT_TRUE(stream.WriteBlock(record.data(), static_cast<uint32_t>(record.size())));
  stream.SetPosition(0);
  return LoadObject(&stream, nullptr);
}

// Bytes written by hand in the object stream's form: integers big-endian,
// texts as a 32-bit length and the characters.
struct HandBytes {
  std::string bytes;

  HandBytes& U8(uint8_t value) {
    bytes += static_cast<char>(value);
    return *this;
  }
  HandBytes& I16(int16_t value) {
    const auto word = static_cast<uint16_t>(value);
    return U8(static_cast<uint8_t>(word >> 8)).U8(static_cast<uint8_t>(word));
  }
  HandBytes& I32(int32_t value) {
    const auto word = static_cast<uint32_t>(value);
    for (int shift = 24; shift >= 0; shift -= 8) {
      U8(static_cast<uint8_t>(word >> shift));
    }
    return *this;
  }
  HandBytes& Text(const std::string& text) {
    I32(static_cast<int32_t>(text.size()));
    bytes += text;
    return *this;
  }
  // "Lumo", the version and the class name: the start of an object record.
  HandBytes& Record(uint32_t version, const std::string& className) {
    bytes += "Lumo";
    return I32(static_cast<int32_t>(version)).Text(className);
  }
  HandBytes& Raw(const std::string& more) {
    bytes += more;
    return *this;
  }
  // A collection's fields: growth 16, then no elements in `slots` slots.
  HandBytes& EmptyCollection(int32_t slots = 0) { return I32(16).I32(slots).I32(0); }
};

// A running engine (32 bits per pixel, so colours read back exactly) with
// one plain level current, and a program-wide dynamic resource controller.
// Objects a test makes through Keep are destroyed before the engine goes.
class ResourceTest : public framework_testing::FrameworkTest {
 protected:
  void SetUp() override {
    FrameworkTest::SetUp();
    Profile()["DirectDraw/BitsPerPixel"] = "32";
    populate = [this](framework_testing::TestEngine& engine) {
      level = framework_testing::AppendLevel(engine, "level");
      engine.RequestLevel(level);
    };
    ASSERT_TRUE(Start());
    ASSERT_TRUE(Pulse());
    ASSERT_EQ(Engine->Level, level);
    ASSERT_TRUE(level->GraphicList && level->SoundList);
    controller.reset(new YGDynamicResourceController);
    controller->MakeCurrent();
  }

  void TearDown() override {
    while (!owned.empty()) {
      owned.pop_back();
    }
    controller.reset();
    PublishPlayerColours(nullptr);
    FrameworkTest::TearDown();
  }

  template <typename T>
  T* Keep(T* object) {
    owned.emplace_back(object);
    return object;
  }

  // A named graphic of the level, filled with the colour, with its origin.
  LumoGraphicNode* AddGraphic(const char* name, int32_t width, int32_t height, const sRGB& colour,
                              int32_t originX = 0, int32_t originY = 0) {
    auto* node = new LumoGraphicNode;
    node->SetName(name);
    node->SetData(reinterpret_cast<uintptr_t>(CreateGraphic(width, height, colour)));
    node->SetOrigin(originX, originY);
    level->GraphicList->Append(node);
    return node;
  }

  LumoSoundNode* AddSound(const char* name) {
    auto* sound = new LumoSoundNode;
    sound->SetName(name);
    level->SoundList->Append(sound);
    return sound;
  }

  // A list with one frame per graphic at the given offsets.
  struct FramePlacement {
    LumoGraphicNode* graphic;
    int32_t left = 0;
    int32_t top = 0;
  };
  static LumoSequenceList* MakeList(const std::vector<FramePlacement>& frames, uint32_t framesPerPulse = 12) {
    auto* list = new LumoSequenceList;
    list->SetFramesPerPulse(framesPerPulse);
    for (const FramePlacement& placement : frames) {
      auto* frame = static_cast<LumoSequenceNode*>(list->CreateItem());
      frame->SetGraphic(placement.graphic);
      frame->SetOffset(placement.left, placement.top);
      list->Append(frame);
    }
    return list;
  }

  static LumoSequenceNode* FirstFrame(LumoSequenceList* list) {
    return list != nullptr ? dynamic_cast<LumoSequenceNode*>(list->first) : nullptr;
  }

  framework_testing::TestLevel* level = nullptr;
  std::unique_ptr<YGDynamicResourceController, tObjectDestroyer> controller;
  std::vector<std::unique_ptr<LumoObject, tObjectDestroyer>> owned;
};

}  // namespace resource_testing
