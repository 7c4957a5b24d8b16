#include <vector>

#include "ResourceFixture.h"
#include "base/LumoClass.h"
#include "game/YGColorMask.h"
#include "game/YGGoreResource.h"
#include "game/YGGoreResourceSet.h"
#include "game/YGResourceMove.h"
#include "game/YGSelectionResource.h"
#include "game/YGThingResource.h"
#include "game/YGTile.h"
#include "game/YGTileSet.h"

namespace resource_testing {
namespace {

using StreamFormTest = ResourceTest;

constexpr uint32_t kV1506 = 0x01050106;
constexpr uint32_t kV1400 = 0x01040000;

struct PropertyForm {
  std::string typeName;
  uint32_t code;
  std::string field;
};

// The class records and their own properties in stream order.
TEST_F(StreamFormTest, ClassRecordsAndPropertiesInStreamOrder) {
  struct Case {
    const char* name;
    const char* base;
    uint32_t version;
    std::vector<PropertyForm> properties;
  };
  const std::vector<Case> cases = {
      {"YGResourceMove",
       "LumoObjects",
       kV1506,
       {{"tPointer", 15, "Sound"},
        {"tPointer", 15, "MaskColor"},
        {"tWord", 5, "MoveID"},
        {"tInteger", 6, "Sequences"},
        {"tInteger", 6, "Colors"},
        {"tInteger", 6, "Repeats"},
        {"tBool", 1, "Movement"},
        {"tInteger", 6, "Bytes"}}},
      {"YGThingResource",
       "LumoObjects",
       kV1506,
       {{"tCharStr", 2, "Name"},
        {"tInteger", 6, "MinX"},
        {"tInteger", 6, "MinY"},
        {"tInteger", 6, "MaxX"},
        {"tInteger", 6, "MaxY"},
        {"tInteger", 6, "Type"},
        {"tInteger", 6, "ColorMode"},
        {"tBool", 1, "Parts"}}},
      {"YGColorMask", "LumoObject", kV1506, {{"tPointer", 15, "Data"}}},
      {"YGSelectionResource",
       "LumoObjects",
       kV1400,
       {{"tInteger", 6, "Colors"}, {"tInteger", 6, "Sizes"}, {"tInteger", 6, "Steps"}}},
      {"YGGoreResourceSet", "LumoObjects", kV1400, {}},
      {"YGTileSet", "LumoObjects", kV1400, {}},
      {"YGGoreResource", "LumoObject", kV1400, {{"tPointer", 15, "Graph"}}},
      {"YGTile", "LumoObject", kV1400, {{"tPointer", 15, "Graph"}}},
  };
  for (const Case& c : cases) {
    const LumoClass* record = FindClass(c.name);
    ASSERT_NE(record, nullptr) << c.name;
    EXPECT_STREQ(record->baseName, c.base) << c.name;
    EXPECT_EQ(record->version, c.version) << c.name;
    std::vector<PropertyForm> properties;
    for (const LumoProperty* property = record->firstProperty; property != nullptr; property = property->next) {
      properties.push_back({property->typeName, property->typeCode, property->fieldName});
      EXPECT_LE(property->version, c.version) << c.name << " " << property->fieldName;
    }
    ASSERT_EQ(properties.size(), c.properties.size()) << c.name;
    for (size_t index = 0; index < properties.size(); ++index) {
      EXPECT_EQ(properties[index].typeName, c.properties[index].typeName) << c.name << " " << index;
      EXPECT_EQ(properties[index].code, c.properties[index].code) << c.name << " " << index;
      EXPECT_EQ(properties[index].field, c.properties[index].field) << c.name << " " << index;
    }
  }
}

// Every class saved and loaded back gives an equal object, and saving that
// again gives the same bytes.
TEST_F(StreamFormTest, EachClassRoundTrips) {
  LumoGraphicNode* red = AddGraphic("red", 4, 3, Rgb(200, 0, 0), -2, -3);
  LumoGraphicNode* blue = AddGraphic("blue", 2, 2, Rgb(0, 0, 200));
  LumoSoundNode* shout = AddSound("shout");

  auto* resource = Keep(new YGThingResource("Bloke", 5));
  auto* walk = new YGResourceMove(2, 2, 8, -2, true);
  walk->SetSound(shout);
  walk->MaskColor = true;
  resource->AddMove(walk);
  resource->AddMove(new YGResourceMove(0, 1, 8, 3, false));
  ASSERT_TRUE(resource->SetSequence(2, 0, 0, MakeList({{red, 1, 2}, {blue}})));
  ASSERT_TRUE(resource->SetSequence(2, 1, 0, MakeList({{blue, 5, 5}})));
  ASSERT_TRUE(resource->SetSequence(0, 0, 0, MakeList({{blue}})));
  GraphicHandle maskGraphic = CreateGraphic(4, 3, sRGB{});
  PaintPixel(maskGraphic, 2, 1, Rgb(255, 255, 255));
  walk->SetMask(FirstFrame(walk->GetStoredSequence(0, 0)), new YGColorMask(maskGraphic));
  DestroyGraphic(maskGraphic);
  // A variant made on demand is not stored.
  ASSERT_NE(walk->GetSequence(1, 3), nullptr);

  const std::string record = RecordOf(*resource);
  auto* loaded = Keep(dynamic_cast<YGThingResource*>(LoadRecord(record)));
  ASSERT_NE(loaded, nullptr);
  EXPECT_STREQ(loaded->Name, "Bloke");
  EXPECT_EQ(loaded->Type, 5);
  EXPECT_EQ(loaded->ColorMode, 2);
  EXPECT_TRUE(loaded->Parts);
  EXPECT_EQ(loaded->MinX, resource->MinX);
  EXPECT_EQ(loaded->MinY, resource->MinY);
  EXPECT_EQ(loaded->MaxX, resource->MaxX);
  EXPECT_EQ(loaded->MaxY, resource->MaxY);
  EXPECT_EQ(loaded->count, resource->count);
  YGResourceMove* loadedWalk = loaded->GetMove(2);
  ASSERT_NE(loadedWalk, nullptr);
  EXPECT_EQ(loadedWalk->Sound, shout);
  EXPECT_EQ(shout->Repeats, 1) << "-2 plays the sound once";
  EXPECT_TRUE(loadedWalk->MaskColor);
  EXPECT_EQ(loadedWalk->MoveID, 2);
  EXPECT_EQ(loadedWalk->Sequences, 2);
  EXPECT_EQ(loadedWalk->Colors, 8);
  EXPECT_EQ(loadedWalk->Repeats, -2);
  EXPECT_TRUE(loadedWalk->Movement);
  EXPECT_EQ(loadedWalk->Bytes, walk->Bytes);
  EXPECT_EQ(loadedWalk->GetStoredSequence(1, 3), nullptr);
  LumoSequenceList* frames = loadedWalk->GetStoredSequence(0, 0);
  ASSERT_NE(frames, nullptr);
  ASSERT_EQ(frames->Count, 2);
  YGColorMask* mask = loadedWalk->GetMask(FirstFrame(frames));
  ASSERT_NE(mask, nullptr);
  EXPECT_EQ(mask->Data, (std::vector<uint8_t>{6, 1, 0, 0}));
  YGResourceMove* loadedStand = loaded->GetMove(0);
  ASSERT_NE(loadedStand, nullptr);
  EXPECT_EQ(loadedStand->Sound, nullptr);
  EXPECT_EQ(loadedStand->Repeats, 3);
  EXPECT_EQ(RecordOf(*loaded), record);

  AddGraphic("Gore00B", 3, 3, Rgb(1, 0, 0));
  AddGraphic("TILE0000", 4, 4, Rgb(0, 1, 0));
  AddGraphic("circ0000", 4, 4, Rgb(0, 0, 1));
  auto* gore = Keep(new YGGoreResourceSet(1));
  gore->Create();
  auto* tiles = Keep(new YGTileSet);
  tiles->Create(1);
  auto* circles = Keep(new YGSelectionResource);
  circles->Create(1, 1, 1);
  for (LumoObject* object : std::vector<LumoObject*>{gore, tiles, circles}) {
    const std::string stored = RecordOf(*object);
    auto* back = Keep(LoadRecord(stored));
    ASSERT_NE(back, nullptr) << object->GetClassName();
    EXPECT_STREQ(back->GetClassName(), object->GetClassName());
    EXPECT_EQ(RecordOf(*back), stored) << object->GetClassName();
  }
  auto* goreBack = dynamic_cast<YGGoreResourceSet*>(LoadRecord(RecordOf(*gore)));
  Keep(goreBack);
  ASSERT_NE(goreBack, nullptr);
  EXPECT_EQ(goreBack->KindCount, 1) << "ten entries make one kind";
  auto* circlesBack = Keep(dynamic_cast<YGSelectionResource*>(LoadRecord(RecordOf(*circles))));
  ASSERT_NE(circlesBack, nullptr);
  EXPECT_EQ(circlesBack->Colors, 1);
  EXPECT_EQ(circlesBack->Sizes, 1);
  EXPECT_EQ(circlesBack->Steps, 1);
  EXPECT_EQ(dynamic_cast<YGTileSet*>(Keep(LoadRecord(RecordOf(*tiles))))->GetTile(0),
            level->GraphicList->FindByName("TILE0000"));
}

// A move written byte by byte in stream order: the collection, the sound's
// name, the flag with one mask record per frame after it, then the numbers.
TEST_F(StreamFormTest, MoveLoadsFromHandWrittenBytes) {
  LumoGraphicNode* graphic = AddGraphic("step0", 3, 1, Rgb(255, 255, 255));
  LumoSoundNode* sound = AddSound("footstep");
  LumoSequenceList* list = Keep(MakeList({{graphic, 0, 0}}));
  const std::string listRecord = RecordOf(*list);

  HandBytes bytes;
  bytes.Record(kV1506, "YGResourceMove")
      .I32(16)          // growth
      .I32(2)           // slots
      .I32(1)           // stored entries
      .Raw(listRecord)  // entry (0, 0)
      .I32(0)           // its slot
      .Text("footstep")
      .U8(1)  // MaskColor
      .Record(kV1506, "YGColorMask")
      .I32(4)
      .U8(0).U8(2).U8(0).U8(0)
      .I16(7)    // MoveID
      .I32(1)    // Sequences
      .I32(2)    // Colors
      .I32(-2)   // Repeats
      .U8(1)     // Movement
      .I32(120);  // Bytes
  auto* move = Keep(dynamic_cast<YGResourceMove*>(LoadRecord(bytes.bytes)));
  ASSERT_NE(move, nullptr);
  EXPECT_EQ(move->Sound, sound);
  EXPECT_EQ(sound->Repeats, 1);
  EXPECT_TRUE(move->MaskColor);
  EXPECT_EQ(move->MoveID, 7);
  EXPECT_EQ(move->Sequences, 1);
  EXPECT_EQ(move->Colors, 2);
  EXPECT_EQ(move->Repeats, -2);
  EXPECT_TRUE(move->Movement);
  EXPECT_EQ(move->Bytes, 120);
  LumoSequenceNode* frame = FirstFrame(move->GetStoredSequence(0, 0));
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->Graphic(), graphic);
  ASSERT_NE(move->GetMask(frame), nullptr);
  EXPECT_EQ(move->GetMask(frame)->Data, (std::vector<uint8_t>{0, 2, 0, 0}));
  // The colour variant takes the base colour of entry 1 on the two masked
  // pixels: grey 255 x (156, 45, 45) / 256.
  LumoSequenceNode* variant = FirstFrame(move->GetSequence(0, 1));
  ASSERT_NE(variant, nullptr);
  EXPECT_EQ(PixelOf(variant->Graphic()->Graphic(), 1, 0), Rgb(155, 44, 44));
  EXPECT_EQ(PixelOf(variant->Graphic()->Graphic(), 2, 0), Rgb(255, 255, 255));
}

TEST_F(StreamFormTest, OtherClassesLoadFromHandWrittenBytes) {
  LumoGraphicNode* gore = AddGraphic("Gore00B", 3, 3, Rgb(1, 0, 0));
  LumoGraphicNode* tile = AddGraphic("TILE0000", 4, 4, Rgb(0, 1, 0));

  auto* thing = Keep(dynamic_cast<YGThingResource*>(LoadRecord(HandBytes{}
                                                                   .Record(kV1506, "YGThingResource")
                                                                   .EmptyCollection(3)
                                                                   .Text("Bloke")
                                                                   .I32(-4)
                                                                   .I32(-9)
                                                                   .I32(4)
                                                                   .I32(1)
                                                                   .I32(7)
                                                                   .I32(2)
                                                                   .U8(1)
                                                                   .bytes)));
  ASSERT_NE(thing, nullptr);
  EXPECT_STREQ(thing->Name, "Bloke");
  EXPECT_EQ(thing->count, 3);
  EXPECT_EQ(thing->MinX, -4);
  EXPECT_EQ(thing->MinY, -9);
  EXPECT_EQ(thing->MaxX, 4);
  EXPECT_EQ(thing->MaxY, 1);
  EXPECT_EQ(thing->Type, 7);
  EXPECT_EQ(thing->ColorMode, 2);
  EXPECT_TRUE(thing->Parts);

  auto* selection = Keep(dynamic_cast<YGSelectionResource*>(
      LoadRecord(HandBytes{}.Record(kV1400, "YGSelectionResource").EmptyCollection(0).I32(2).I32(0).I32(8).bytes)));
  ASSERT_NE(selection, nullptr);
  EXPECT_EQ(selection->Colors, 2);
  EXPECT_EQ(selection->Sizes, 0);
  EXPECT_EQ(selection->Steps, 8);

  const std::string goreRecord = HandBytes{}.Record(kV1400, "YGGoreResource").Text("Gore00B").bytes;
  auto* goreResource = Keep(dynamic_cast<YGGoreResource*>(LoadRecord(goreRecord)));
  ASSERT_NE(goreResource, nullptr);
  EXPECT_EQ(goreResource->Graphic(), gore);
  EXPECT_EQ(RecordOf(*goreResource), goreRecord);

  auto* goreSet = Keep(dynamic_cast<YGGoreResourceSet*>(LoadRecord(
      HandBytes{}.Record(kV1400, "YGGoreResourceSet").I32(16).I32(10).I32(1).Raw(goreRecord).I32(0).bytes)));
  ASSERT_NE(goreSet, nullptr);
  EXPECT_EQ(goreSet->KindCount, 1);
  EXPECT_EQ(goreSet->GetGore(1, 0.0f), gore);
  EXPECT_EQ(goreSet->GetGore(1, 1.0f), nullptr) << "step 9 is an empty slot";

  const std::string tileRecord = HandBytes{}.Record(kV1400, "YGTile").Text("TILE0000").bytes;
  auto* tileResource = Keep(dynamic_cast<YGTile*>(LoadRecord(tileRecord)));
  ASSERT_NE(tileResource, nullptr);
  EXPECT_EQ(tileResource->Graphic(), tile);
  EXPECT_EQ(RecordOf(*tileResource), tileRecord);

  auto* tiles = Keep(dynamic_cast<YGTileSet*>(
      LoadRecord(HandBytes{}.Record(kV1400, "YGTileSet").I32(16).I32(2).I32(1).Raw(tileRecord).I32(1).bytes)));
  ASSERT_NE(tiles, nullptr);
  EXPECT_EQ(tiles->GetTile(0), nullptr);
  EXPECT_EQ(tiles->GetTile(1), tile);

  auto* mask = Keep(dynamic_cast<YGColorMask*>(
      LoadRecord(HandBytes{}.Record(kV1506, "YGColorMask").I32(5).U8(3).U8(1).U8(0).U8(0).U8(0).bytes)));
  ASSERT_NE(mask, nullptr);
  EXPECT_EQ(mask->Data, (std::vector<uint8_t>{3, 1, 0, 0, 0}));
}

// A stream older than a class's properties skips them: the object keeps its
// defaults, while its elements, records of their own version, load whole.
TEST_F(StreamFormTest, OlderStreamSkipsTheNewerProperties) {
  auto* resource = Keep(new YGThingResource("Bloke", 1));
  resource->AddMove(new YGResourceMove(4, 1, 1, 5, true));
  auto* loaded = Keep(dynamic_cast<YGThingResource*>(LoadRecord(RecordOf(*resource, kV1400))));
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(loaded->Name, nullptr);
  EXPECT_EQ(loaded->Type, 0);
  EXPECT_EQ(loaded->ColorMode, 0);
  EXPECT_EQ(loaded->MinX, YGThingResource::kEmptyMin);
  ASSERT_NE(loaded->GetMove(4), nullptr);
  EXPECT_EQ(loaded->GetMove(4)->Repeats, 5);
  EXPECT_TRUE(loaded->GetMove(4)->Movement);

  YGResourceMove empty(9, 0, 8, 5, true);
  auto* oldMove = Keep(dynamic_cast<YGResourceMove*>(LoadRecord(RecordOf(empty, kV1400))));
  ASSERT_NE(oldMove, nullptr);
  EXPECT_EQ(oldMove->MoveID, 0);
  EXPECT_EQ(oldMove->Colors, 0);

  AddGraphic("TILE0000", 4, 4, Rgb(0, 1, 0));
  auto* oldTile = Keep(dynamic_cast<YGTile*>(LoadRecord(HandBytes{}.Record(0x01030000, "YGTile").bytes)));
  ASSERT_NE(oldTile, nullptr);
  EXPECT_EQ(oldTile->Graphic(), nullptr);
}

}  // namespace
}  // namespace resource_testing
