#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "FrameworkFixture.h"
#include "base/LumoMemoryStream.h"
#include "base/LumoObjectFiles.h"
#include "framework/LumoGraphicList.h"
#include "framework/LumoSequenceList.h"
#include "framework/LumoSequenceNode.h"
#include "framework/LumoTurtle.h"
#include "runtime/Compound.h"
#include "runtime/GraphicFiles.h"
#include "runtime/Graphics.h"
#include "support/DebugLogReader.h"

namespace framework_testing {
namespace {

constexpr sRGB kRed{0, 0, 255};
constexpr sRGB kBlue{255, 0, 0};
constexpr int32_t kSequenceFileKind = 9;  // icon files ".lmq"

using SequenceOwner = std::unique_ptr<LumoSequenceList, tObjectDestroyer>;

void WritePicture(const char* name, int32_t width, int32_t height, const sRGB& colour) {
  GraphicHandle graphic = CreateGraphic(width, height, colour);
  ASSERT_NE(graphic, nullptr);
  ASSERT_TRUE(SaveGraphic(graphic, name));
  DestroyGraphic(graphic);
}

std::string RecordOf(LumoObject& object) {
  LumoMemoryStream stream;
  EXPECT_TRUE(stream.OpenNew(64, 1, 0));
  stream.SetGrowth(4096);
  EXPECT_TRUE(object.SaveObject(&stream, 0));
  return std::string(reinterpret_cast<const char*>(stream.buffer), stream.position);
}

LumoObject* LoadRecord(const std::string& record) {
  LumoMemoryStream stream;
  EXPECT_TRUE(stream.OpenNew(static_cast<uint32_t>(record.size()), 1, 0));
  EXPECT_TRUE(stream.WriteBlock(record.data(), static_cast<uint32_t>(record.size())));
  stream.SetPosition(0);
  return LoadObject(&stream, nullptr);
}

// The bytes of a stored text, as the stream writes them.
std::string StoredText(const char* text) {
  LumoMemoryStream stream;
  EXPECT_TRUE(stream.OpenNew(64, 1, 0));
  EXPECT_TRUE(stream.WriteCharStr(text));
  return std::string(reinterpret_cast<const char*>(stream.buffer), stream.position);
}

// A running engine with two picture files, "walk1.bmp" (6 x 4, red) and
// "walk2.bmp" (3 x 9, blue).
class SequenceTest : public FrameworkTest {
 protected:
  void SetUp() override {
    FrameworkTest::SetUp();
    ASSERT_TRUE(Start());
    WritePicture("walk1.bmp", 6, 4, kRed);
    WritePicture("walk2.bmp", 3, 9, kBlue);
  }

  // Switches a new level in; the old one is destroyed.
  TestLevel* RunLevel(const std::string& label) {
    TestLevel* level = AppendLevel(*Engine, label);
    Engine->RequestLevel(level);
    Engine->StartAnimation();
    EXPECT_TRUE(Pulse());
    EXPECT_EQ(Engine->Level, level);
    return level;
  }
};

TEST_F(SequenceTest, SequenceTravelsAsAnIconFileInAnArchive) {
  RunLevel("first");
  SequenceOwner walk(new LumoSequenceList);
  walk->SetFramesPerPulse(6);
  walk->SetRepeats(3);
  ASSERT_NE(walk->AppendNamedFrameAt("walk1.bmp", 2, -3, 4, false), nullptr);
  ASSERT_NE(walk->AppendFilledFrame(5, 5, kBlue, 2), nullptr);
  ASSERT_NE(walk->AppendNamedFrame("walk2.bmp", 1), nullptr);
  CompoundHandle archive = CreateCompound("Icons");
  ASSERT_NE(archive, nullptr);
  SetCompound(archive);
  ASSERT_TRUE(walk->SaveObjectToFile(FolderDefault, "Walk", kSequenceFileKind, 0));
  ASSERT_TRUE(CloseCompound(archive));
  walk.reset();

  TestLevel* second = RunLevel("second");
  archive = OpenCompound("Icons", false);
  ASSERT_NE(archive, nullptr);
  SetCompound(archive);
  SequenceOwner loaded(
      dynamic_cast<LumoSequenceList*>(LoadObjectFromFile(FolderDefault, "Walk", kSequenceFileKind, nullptr)));
  SetCompound(nullptr);
  CloseCompound(archive);

  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(loaded->FramesPerPulse, 6u);
  EXPECT_EQ(loaded->Repeats, 3);
  ASSERT_EQ(loaded->Count, 3);
  struct Frame {
    const char* name;  // null: no graphic
    int32_t left;
    int32_t top;
    uint32_t duration;
    int32_t width;
  };
  const Frame expected[] = {{"walk1.bmp", 2, -3, 4, 6}, {nullptr, 0, 0, 2, 0}, {"walk2.bmp", 0, 0, 1, 3}};
  const LumoNode* item = loaded->first;
  for (const Frame& frame : expected) {
    const auto* node = dynamic_cast<const LumoSequenceNode*>(item);
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->Left, frame.left);
    EXPECT_EQ(node->Top, frame.top);
    EXPECT_EQ(node->Duration, frame.duration);
    if (frame.name == nullptr) {
      EXPECT_EQ(node->Graphic(), nullptr);
    } else {
      ASSERT_NE(node->Graphic(), nullptr);
      EXPECT_STREQ(node->Graphic()->Name, frame.name);
      EXPECT_EQ(node->Graphic()->parent, second->GraphicList.get());
      EXPECT_EQ(node->Graphic()->Width, frame.width);
    }
    item = item->next;
  }
  int32_t width = 0;
  int32_t height = 0;
  loaded->GetMaximumSize(width, height);
  EXPECT_EQ(width, 6);
  EXPECT_EQ(height, 9);
}

// Each record is refused whole: LoadObject answers null and nothing made
// for it stays in the level's graphic list.
TEST_F(SequenceTest, DamagedOrForeignSequencesFailToLoadCleanly) {
  // Built without a level: frames of the engine's named graphics, made by
  // hand.
  const auto recordWith = [](const std::vector<LumoNode*>& items) {
    LumoSequenceList list;
    for (LumoNode* item : items) {
      list.Append(item);
    }
    return RecordOf(list);
  };
  const auto frameOf = [](const char* name) {
    auto* frame = new LumoSequenceNode;
    frame->SetGraphic(Engine->GraphicList->ProvideGraphicAt(name, 0, 0));
    return frame;
  };
  const std::string good = recordWith({frameOf("walk1.bmp")});
  const std::string missing = recordWith({frameOf("walk1.bmp"), frameOf("absent.bmp")});
  const std::string foreign = recordWith({frameOf("walk1.bmp"), new LumoNode});
  // The sound's stored form stands 9 bytes before the end (then the frame
  // rate and the repeat count): "none" there becomes an unknown form, or a
  // sound's name, which there are no sound lists to find.
  const size_t dataAt = good.size() - 9;
  ASSERT_EQ(good[dataAt], 0);
  const std::string unknownForm = good.substr(0, dataAt) + std::string("\x01\x01", 2) + good.substr(dataAt + 1);
  const std::string soundName =
      good.substr(0, dataAt) + std::string("\x01\x00", 2) + StoredText("Step") + good.substr(dataAt + 1);

  EXPECT_EQ(LoadRecord(good), nullptr);
  EXPECT_NE(testing_support::ReadDebugLog().find("No level's graphic list to find the graphic in (Name=walk1.bmp"),
            std::string::npos);
  TestLevel* level = RunLevel("level");
  struct Case {
    const char* what;
    const std::string& record;
    const char* logged;
  };
  const Case cases[] = {
      {"a missing graphic", missing, "The graphic has no picture (Name=absent.bmp"},
      {"a foreign item", foreign, "The item is not a sequence node"},
      {"an unknown sound form", unknownForm, "The stored sound is of an unknown form"},
      {"a sound name", soundName, "The sound cannot be found (Name=Step"},
  };
  for (const Case& test : cases) {
    EXPECT_EQ(LoadRecord(test.record), nullptr) << test.what;
    EXPECT_NE(testing_support::ReadDebugLog().find(test.logged), std::string::npos) << test.what;
    EXPECT_EQ(level->GraphicList->FindByName("absent.bmp"), nullptr) << test.what;
  }
  LumoObject* loaded = LoadRecord(good);
  EXPECT_NE(loaded, nullptr);
  DestroyObject(loaded);
}

TEST_F(SequenceTest, BuildersNeedAGraphicListAndAKnownName) {
  SequenceOwner outside(new LumoSequenceList);  // no level is current
  EXPECT_EQ(outside->GraphicList, nullptr);
  EXPECT_EQ(outside->AppendFilledFrame(4, 4, kRed, 1), nullptr);
  EXPECT_EQ(outside->AppendBlankFrame(4, 4), nullptr);
  EXPECT_EQ(outside->AppendFrame(Engine->GraphicList->GetBlankGraphic(2, 2), 0, 0, 1), nullptr);
  EXPECT_EQ(outside->AppendCanvasFrame(4, 4, 1), nullptr);
  EXPECT_EQ(outside->AppendGeneratedFrame(4, 4, kRed, 1), nullptr);
  EXPECT_EQ(outside->AppendBlankDrawableFrame(4, 4), nullptr);
  EXPECT_EQ(outside->AppendNamedFrame("walk1.bmp", 1), nullptr);
  EXPECT_EQ(outside->Count, 0);

  TestLevel* level = RunLevel("level");
  SequenceOwner inside(new LumoSequenceList);
  EXPECT_EQ(inside->GraphicList, level->GraphicList.get());
  EXPECT_EQ(inside->AppendNamedFrame("unknown.bmp", 1), nullptr);
  EXPECT_EQ(level->GraphicList->FindByName("unknown.bmp"), nullptr);
  EXPECT_EQ(inside->AppendFrame(nullptr, 0, 0, 1), nullptr);
  EXPECT_EQ(inside->Count, 0);
}

TEST_F(SequenceTest, MadeFramesTakeTheirGraphicsAlongAndNamedFramesShare) {
  TestLevel* level = RunLevel("level");
  LumoGraphicList* graphics = level->GraphicList.get();
  SequenceOwner walk(new LumoSequenceList);
  LumoSequenceNode* filled = walk->AppendFilledFrame(4, 3, kRed, 0);
  LumoSequenceNode* blank = walk->AppendBlankFrame(2, 2);
  LumoSequenceNode* canvas = walk->AppendCanvasFrame(7, 8, 5);
  LumoSequenceNode* drawable = walk->AppendGeneratedFrame(3, 3, kBlue, 2);
  LumoSequenceNode* blankDrawable = walk->AppendBlankDrawableFrame(3, 3);
  LumoSequenceNode* named = walk->AppendNamedFrameAt("walk1.bmp", 1, 2, 3, false);
  for (LumoSequenceNode* frame : {filled, blank, canvas, drawable, blankDrawable, named}) {
    ASSERT_NE(frame, nullptr);
    ASSERT_NE(frame->Graphic(), nullptr);
    EXPECT_EQ(frame->Graphic()->parent, graphics);
  }
  EXPECT_EQ(filled->Duration, 1u);  // 0 is stored as 1
  EXPECT_EQ(blank->Duration, 1u);
  EXPECT_EQ(filled->Graphic()->GetPixel(3, 2), ConvertRGB(kRed));
  EXPECT_EQ(canvas->Graphic()->Data, 0u);
  EXPECT_EQ(canvas->Graphic()->Width, 7);
  EXPECT_NE(dynamic_cast<LumoTurtle*>(drawable->Graphic()), nullptr);
  EXPECT_NE(dynamic_cast<LumoTurtle*>(blankDrawable->Graphic()), nullptr);
  EXPECT_EQ(named->Left, 1);
  EXPECT_EQ(named->Top, 2);
  EXPECT_EQ(graphics->Count, 6);

  // A second sequence shares the named graphic.
  SequenceOwner other(new LumoSequenceList);
  EXPECT_EQ(other->AppendNamedFrame("walk1.bmp", 1)->Graphic(), named->Graphic());

  walk.reset();
  ASSERT_TRUE(Pulse());  // the made graphics were disposed of during the frame's step
  EXPECT_EQ(graphics->Count, 1);
  EXPECT_STREQ(graphics->first->Name, "walk1.bmp");
  other.reset();
  EXPECT_EQ(graphics->Count, 1);
}

TEST_F(SequenceTest, SettersClampTheirValues) {
  Engine->SetFramesPerPulse(24);
  LumoSequenceList list;
  EXPECT_EQ(list.FramesPerPulse, 24u);
  EXPECT_EQ(list.Repeats, -1);
  EXPECT_EQ(list.SetRepeats(-7), -1);
  EXPECT_EQ(list.SetRepeats(2), 2);
  EXPECT_EQ(list.SetFramesPerPulse(3), 3u);
  EXPECT_EQ(list.SetFramesPerPulse(0), 24u);
  LumoSequenceNode frame;
  EXPECT_EQ(frame.Duration, 1u);
  EXPECT_EQ(frame.SetDuration(0), 1u);
  EXPECT_EQ(frame.SetDuration(5), 5u);
  frame.SetOffset(-4, 9);
  EXPECT_EQ(frame.Left, -4);
  EXPECT_EQ(frame.Top, 9);
  // Without a graphic a frame is stored and loaded without one, and a list
  // without a sound stores one false byte for it.
  LumoObject* copy = LoadRecord(RecordOf(frame));
  auto* loaded = dynamic_cast<LumoSequenceNode*>(copy);
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(loaded->Graphic(), nullptr);
  EXPECT_EQ(loaded->Duration, 5u);
  DestroyObject(copy);
  std::string record = RecordOf(list);
  EXPECT_EQ(record[record.size() - 9], 0);

  // Stored values pass through the setters: a rate of 0 is the engine's, a
  // negative repeat count -1.
  for (size_t byte = 0; byte < 8; ++byte) {
    record[record.size() - 8 + byte] = byte < 4 ? '\0' : '\xF9';
  }
  LumoObject* clamped = LoadRecord(record);
  auto* reloaded = dynamic_cast<LumoSequenceList*>(clamped);
  ASSERT_NE(reloaded, nullptr);
  EXPECT_EQ(reloaded->FramesPerPulse, 24u);
  EXPECT_EQ(reloaded->Repeats, -1);
  DestroyObject(clamped);
}

}  // namespace
}  // namespace framework_testing
