#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <memory>
#include <string>

#include "MediaFixture.h"
#include "framework/LumoMovieList.h"
#include "framework/LumoMovieNode.h"

namespace framework_testing {
namespace {

namespace media = testing_support;

// Object records of sound and movie nodes put together byte by byte from
// the stored form (header "Lumo" and version, class name, the node's Flags,
// Name, Tag and ID, the media node's LastPosition, Repeats, Started, Paused
// and Frozen, then the two Data flags), not by the classes' own savers.
class RecordBytes {
 public:
  RecordBytes& Raw(const std::string& text) {
    bytes += text;
    return *this;
  }
  RecordBytes& U32(uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
      bytes += static_cast<char>((value >> shift) & 0xFF);
    }
    return *this;
  }
  RecordBytes& I32(int32_t value) { return U32(static_cast<uint32_t>(value)); }
  RecordBytes& Text(const std::string& text) {
    U32(static_cast<uint32_t>(text.size()));
    return Raw(text);
  }
  RecordBytes& Bool(bool value) {
    bytes += value ? '\x01' : '\x00';
    return *this;
  }

  std::string bytes;
};

struct MediaFields {
  std::string className = "LumoSoundNode";
  uint32_t flags = 0;
  std::string name;
  int32_t lastPosition = 0;
  int32_t repeats = 1;
  bool started = false;
  bool paused = false;
  bool frozen = false;
  bool named = true;
  bool flagged = false;
};

std::string MediaRecord(const MediaFields& fields) {
  RecordBytes record;
  record.Raw("Lumo").U32(0x1040000).Text(fields.className);
  record.U32(fields.flags).Text(fields.name).I32(0).U32(0);
  record.I32(fields.lastPosition).I32(fields.repeats);
  record.Bool(fields.started).Bool(fields.paused).Bool(fields.frozen);
  record.Bool(fields.named).Bool(fields.flagged);
  return record.bytes;
}

class HandWrittenMediaRecordTest : public MediaTest {
 protected:
  void SetUp() override {
    MediaTest::SetUp();
    WriteSound("tone.wav", 1000, 1000);
    media::TestMovie colours;
    colours.frames = {media::SolidFrame(4, 2, 255, 0, 0), media::SolidFrame(4, 2, 0, 255, 0)};
    media::WriteBytes("colours.avi", media::AviFile(colours));
  }
};

TEST_F(HandWrittenMediaRecordTest, SoundRecordLoadsIntoTheLevelsSoundList) {
  MediaFields fields;
  fields.name = "tone";
  fields.repeats = -1;
  fields.started = true;
  LumoSoundList& sounds = *level->SoundList;
  auto* node = dynamic_cast<LumoSoundNode*>(LoadRecord(MediaRecord(fields), &sounds));
  ASSERT_NE(node, nullptr);
  EXPECT_EQ(node->parent, &sounds);
  EXPECT_STREQ(node->Name, "tone");
  EXPECT_EQ(sounds.FindByName("tone"), node);
  EXPECT_NE(node->Data, 0u);
  EXPECT_EQ(node->Repeats, -1);
  EXPECT_FALSE(node->Started);  // a stored Started never outlives a fresh sound
  EXPECT_EQ(node->Size(), 16000);
  EXPECT_TRUE(node->Play(nullptr));
  Hear(1500);
  EXPECT_TRUE(node->IsPlaying());  // it loops, as stored

  // Our own saver writes exactly these bytes back.
  node->Stop();
  node->SetStarted(false);
  fields.started = false;
  EXPECT_EQ(RecordOf(*node), MediaRecord(fields));
}

TEST_F(HandWrittenMediaRecordTest, StoredRepeatsBelowMinusOneBecomeForEver) {
  MediaFields fields;
  fields.name = "tone";
  fields.repeats = std::numeric_limits<int32_t>::min();
  std::unique_ptr<LumoObject, tObjectDestroyer> loaded(LoadRecord(MediaRecord(fields), nullptr));
  auto* node = dynamic_cast<LumoSoundNode*>(loaded.get());
  ASSERT_NE(node, nullptr);
  EXPECT_EQ(node->Repeats, -1);
}

TEST_F(HandWrittenMediaRecordTest, EveryCutRecordIsRefusedAndLeavesNothingBehind) {
  for (const char* kind : {"LumoSoundNode", "LumoMovieNode"}) {
    MediaFields fields;
    fields.className = kind;
    fields.name = std::string(kind) == "LumoSoundNode" ? "tone" : "colours.avi";
    const std::string record = MediaRecord(fields);
    LumoMediaList* list = std::string(kind) == "LumoSoundNode" ? static_cast<LumoMediaList*>(level->SoundList.get())
                                                                : level->MovieList.get();
    for (size_t length = 1; length < record.size(); ++length) {
      SCOPED_TRACE(std::string(kind) + " cut at " + std::to_string(length));
      EXPECT_EQ(LoadRecord(record.substr(0, length), list), nullptr);
      EXPECT_EQ(list->Count, 0);
    }
    std::unique_ptr<LumoObject, tObjectDestroyer> whole(LoadRecord(record, nullptr));
    EXPECT_NE(whole, nullptr);
  }
}

// A text length far past the record's end is refused, never allocated.
TEST_F(HandWrittenMediaRecordTest, HugeNameLengthIsRefused) {
  RecordBytes record;
  record.Raw("Lumo").U32(0x1040000).Text("LumoSoundNode").U32(0).U32(0xFFFFFFF0u).Raw("tone");
  EXPECT_EQ(LoadRecord(record.bytes, level->SoundList.get()), nullptr);
  EXPECT_EQ(level->SoundList->Count, 0);
}

// A sound of a name the list holds already: the unique list keeps the one it
// had, and whatever the second load made is given back.
TEST_F(HandWrittenMediaRecordTest, SecondSoundOfOneNameKeepsTheFirst) {
  MediaFields fields;
  fields.name = "tone";
  LumoSoundList& sounds = *level->SoundList;
  LumoObject* first = LoadRecord(MediaRecord(fields), &sounds);
  ASSERT_NE(first, nullptr);
  LumoObject* second = LoadRecord(MediaRecord(fields), &sounds);
  EXPECT_EQ(sounds.FindByName("tone"), first);
  if (second != nullptr && static_cast<LumoNode*>(static_cast<LumoSoundNode*>(second))->parent == nullptr) {
    DestroyObject(second);
  }
}

TEST_F(HandWrittenMediaRecordTest, MovieRecordOpensOnlyAMovieTheListLacks) {
  MediaFields fields;
  fields.className = "LumoMovieNode";
  fields.name = "colours.avi";
  fields.repeats = 2;
  LumoMovieList& movies = *level->MovieList;
  auto* opened = dynamic_cast<LumoMovieNode*>(LoadRecord(MediaRecord(fields), &movies));
  ASSERT_NE(opened, nullptr);
  EXPECT_EQ(opened->parent, &movies);
  EXPECT_NE(opened->Data, 0u);
  EXPECT_EQ(opened->MovieWidth, 4);
  EXPECT_EQ(opened->Repeats, 2);

  // Loaded aside while the list holds the name: nothing is opened.
  std::unique_ptr<LumoObject, tObjectDestroyer> aside(LoadRecord(MediaRecord(fields), nullptr));
  auto* held = dynamic_cast<LumoMovieNode*>(aside.get());
  ASSERT_NE(held, nullptr);
  EXPECT_EQ(held->Data, 0u);
  EXPECT_EQ(held->Repeats, 2);

  // A missing movie fails the load.
  fields.name = "missing.avi";
  EXPECT_EQ(LoadRecord(MediaRecord(fields), &movies), nullptr);
  EXPECT_EQ(movies.Count, 1);
}


}  // namespace
}  // namespace framework_testing
