#include "ResourceFixture.h"
#include "game/YGColorMask.h"
#include "game/YGResourceMove.h"

namespace resource_testing {
namespace {

constexpr uint32_t kV1506 = 0x01050106;
constexpr uint32_t kV1400 = 0x01040000;

// Resource files come from the level designer's tools or from anyone: each
// record below is refused whole, with its log line, and nothing reads or
// writes outside what it holds (the sanitizers watch).
class RefusalTest : public ResourceTest {
 protected:
  void SetUp() override {
    ResourceTest::SetUp();
    graphic = AddGraphic("frame", 3, 2, Rgb(255, 255, 255));
    listRecord = RecordOf(*Keep(MakeList({{graphic}})));
  }

  // A move with `stored` copies of the one-frame list in the first slots,
  // then the given fields after the collection.
  std::string Move(int32_t slots, int32_t stored, const std::string& afterCollection) const {
    HandBytes bytes;
    bytes.Record(kV1506, "YGResourceMove").I32(16).I32(slots).I32(stored);
    for (int32_t entry = 0; entry < stored; ++entry) {
      bytes.Raw(listRecord);
    }
    for (int32_t entry = stored - 1; entry >= 0; --entry) {
      bytes.I32(entry);
    }
    return bytes.Raw(afterCollection).bytes;
  }
  // The fields after the mask flag (and its masks).
  static std::string Numbers(int32_t sequences, int32_t colours) {
    return HandBytes{}.I16(1).I32(sequences).I32(colours).I32(0).U8(0).I32(0).bytes;
  }
  static std::string NoSoundNoMasks() { return HandBytes{}.Text("").U8(0).bytes; }
  static std::string Mask(int32_t length, const std::string& data) {
    return HandBytes{}.Record(kV1506, "YGColorMask").I32(length).Raw(data).bytes;
  }

  LumoGraphicNode* graphic = nullptr;
  std::string listRecord;
};

TEST_F(RefusalTest, DamagedRecordsFailToLoadWithTheirLogLine) {
  const std::string goodMask = Mask(4, std::string("\0\2\0\0", 4));
  struct Case {
    const char* what;
    std::string record;
    const char* logLine;
  };
  const Case cases[] = {
      {"a move with more entries than its counts give", Move(2, 1, NoSoundNoMasks() + Numbers(1, 1)),
       "(RES) YGResourceMove holds 2 entries where its counts give 1\n"},
      {"a move with fewer entries than its counts give", Move(1, 1, NoSoundNoMasks() + Numbers(2, 8)),
       "(RES) YGResourceMove holds 1 entries where its counts give 16\n"},
      {"a move with a negative count", Move(0, 0, NoSoundNoMasks() + Numbers(-1, 0)),
       "(RES) YGResourceMove Sequences -1 is out of range 0..256\n"},
      {"a move with more than 256 colours", Move(0, 0, NoSoundNoMasks() + Numbers(0, 257)),
       "(RES) YGResourceMove Colors 257 is out of range 0..256\n"},
      {"a move whose entry is not a sequence list",
       HandBytes{}
           .Record(kV1506, "YGResourceMove")
           .I32(16)
           .I32(1)
           .I32(1)
           .Raw(Mask(2, std::string("\0\0", 2)))
           .I32(0)
           .Raw(NoSoundNoMasks() + Numbers(1, 1))
           .bytes,
       "is not a LumoSequenceList\n"},
      {"a mask record that is not a colour mask",
       Move(1, 1, HandBytes{}.Text("").U8(1).Raw(listRecord).bytes + Numbers(1, 1)), "has no colour mask but"},
      {"a mask with a negative length",
       Move(1, 1, HandBytes{}.Text("").U8(1).Raw(Mask(-1, "")).bytes + Numbers(1, 1)),
       "(RES) YGColorMask::LoadData() Length -1 does not fit the stream"},
      {"a mask longer than the stream", Move(1, 1, HandBytes{}.Text("").U8(1).Raw(Mask(100000, "")).bytes),
       "(RES) YGColorMask::LoadData() Length 100000 does not fit the stream"},
      {"mask data without its two zero bytes",
       Move(1, 1, HandBytes{}.Text("").U8(1).Raw(Mask(3, std::string("\0\5\7", 3))).bytes + Numbers(1, 1)),
       "does not end in two zero bytes\n"},
      {"a mask missing for the second frame",
       HandBytes{}
           .Record(kV1506, "YGResourceMove")
           .I32(16)
           .I32(2)
           .I32(2)
           .Raw(listRecord)
           .Raw(listRecord)
           .I32(1)
           .I32(0)
           .Text("")
           .U8(1)
           .Raw(goodMask)
           .Raw(Numbers(1, 2))
           .bytes,
       "has no colour mask but"},
      {"a selection whose counts do not multiply to its entries",
       HandBytes{}
           .Record(kV1400, "YGSelectionResource")
           .I32(16)
           .I32(1)
           .I32(1)
           .Raw(listRecord)
           .I32(0)
           .I32(1)
           .I32(1)
           .I32(2)
           .bytes,
       "(RES) YGSelectionResource holds 1 entries where its counts give 2\n"},
      {"a selection with a count above 256",
       HandBytes{}.Record(kV1400, "YGSelectionResource").EmptyCollection().I32(0).I32(300).I32(0).bytes,
       "(RES) YGSelectionResource Sizes 300 is out of range 0..256\n"},
      {"a selection whose entry is not a sequence list",
       HandBytes{}
           .Record(kV1400, "YGSelectionResource")
           .I32(16)
           .I32(1)
           .I32(1)
           .Raw(goodMask)
           .I32(0)
           .I32(1)
           .I32(1)
           .I32(1)
           .bytes,
       "(RES) YGSelectionResource::DoRegisterObject() Entry"},
      {"a thing resource whose entry is not a move",
       HandBytes{}.Record(kV1506, "YGThingResource").I32(16).I32(1).I32(1).Raw(listRecord).I32(0).bytes,
       "is not a YGResourceMove\n"},
      {"a gore resource whose graphic cannot be had",
       HandBytes{}.Record(kV1400, "YGGoreResource").Text("").bytes, "(RES) YGGoreResource couldn't provide graphic"},
      {"a tile set whose entry is not a tile",
       HandBytes{}.Record(kV1400, "YGTileSet").I32(16).I32(1).I32(1).Raw(listRecord).I32(0).bytes,
       "is not a YGTile\n"},
      {"a gore set whose entry is not a gore resource",
       HandBytes{}.Record(kV1400, "YGGoreResourceSet").I32(16).I32(1).I32(1).Raw(listRecord).I32(0).bytes,
       "is not a YGGoreResource\n"},
  };
  for (const Case& c : cases) {
    LumoObject* loaded = LoadRecord(c.record);
    EXPECT_EQ(loaded, nullptr) << c.what;
    if (loaded != nullptr) {
      DestroyObject(loaded);
    }
    EXPECT_TRUE(LogHas(c.logLine)) << c.what << ": no \"" << c.logLine << "\"";
  }
}

// The same bytes with the counts that fit load, so each refusal above is
// the check's and not the record's form.
TEST_F(RefusalTest, TheSameRecordsWithMatchingCountsLoad) {
  const std::string records[] = {
      Move(1, 1, NoSoundNoMasks() + Numbers(1, 1)),
      Move(16, 1, NoSoundNoMasks() + Numbers(2, 8)),
      Move(1, 1, HandBytes{}.Text("").U8(1).Raw(Mask(3, std::string("\5\0\0", 3))).bytes + Numbers(1, 1)),
  };
  for (const std::string& record : records) {
    LumoObject* loaded = Keep(LoadRecord(record));
    EXPECT_NE(loaded, nullptr);
  }
}

}  // namespace
}  // namespace resource_testing
