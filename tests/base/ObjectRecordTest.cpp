#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>
#include <string>

#include "StreamBytes.h"
#include "base/LumoClass.h"
#include "base/LumoList.h"
#include "base/LumoMemoryStream.h"
#include "base/tBuffer.h"
#include "base/tString.h"
#include "runtime/DebugLog.h"
#include "support/DebugLogReader.h"

namespace stream_testing {
namespace {

// A node with one field of every generic property type.
class StreamProbe : public LumoNode {
 public:
  StreamProbe() = default;
  ~StreamProbe() override {
    DestroyObject(child);
    FreeCharStr(text);
  }
  const char* GetClassName() const override { return "StreamProbe"; }

  template <auto Field>
  bool LoadField(LumoStream* stream, const LumoProperty* property) {
    return LoadPropertyFrom(stream, property, &(this->*Field));
  }
  template <auto Field>
  bool SaveField(LumoStream* stream, const LumoProperty* property) {
    return SavePropertyTo(stream, property, &(this->*Field));
  }

  LumoObject* child = nullptr;
  bool flag = false;
  bool byteFlag = false;
  int8_t small = 0;
  int16_t shortValue = 0;
  int32_t integer = 0;
  int64_t wide = 0;
  float single = 0;
  double precise = 0;
  tString string;
  tBuffer bytes;
  uint8_t unsignedByte = 0;
  uint16_t word = 0;
  uint32_t set = 0;
  char four[4] = {};
  tCharStr text = nullptr;
  int32_t added = -1;  // a field newer than the probe's class version
};

template <auto Field>
using ProbeField = LumoFieldProperty<StreamProbe, &StreamProbe::LoadField<Field>, &StreamProbe::SaveField<Field>>;

LumoClassOf<StreamProbe> classOfStreamProbe(kVersion_1_6_0_6, "StreamProbe", "LumoNode");
ProbeField<&StreamProbe::child> probeChild(kVersion_1_4_0_0, PropertyObject, "tUnknown", "Child");
ProbeField<&StreamProbe::flag> probeFlag(kVersion_1_4_0_0, PropertyBool, "tBool", "Flag");
ProbeField<&StreamProbe::byteFlag> probeByteFlag(kVersion_1_4_0_0, PropertyBoolByte, "tBool", "ByteFlag");
ProbeField<&StreamProbe::small> probeSmall(kVersion_1_4_0_0, PropertySignedByte, "tSignedByte", "Small");
ProbeField<&StreamProbe::shortValue> probeShort(kVersion_1_4_0_0, PropertyShort, "tShortInt", "Short");
ProbeField<&StreamProbe::integer> probeInteger(kVersion_1_4_0_0, PropertyInteger, "tInteger", "Integer");
ProbeField<&StreamProbe::wide> probeWide(kVersion_1_4_0_0, PropertyLong64, "tLong64", "Wide");
ProbeField<&StreamProbe::single> probeSingle(kVersion_1_4_0_0, PropertySingle, "tSingle", "Single");
ProbeField<&StreamProbe::precise> probePrecise(kVersion_1_4_0_0, PropertyDouble, "tDouble", "Precise");
ProbeField<&StreamProbe::string> probeString(kVersion_1_4_0_0, PropertyString, "tString", "String");
ProbeField<&StreamProbe::bytes> probeBytes(kVersion_1_4_0_0, PropertyBuffer, "tBuffer", "Bytes");
ProbeField<&StreamProbe::unsignedByte> probeByte(kVersion_1_4_0_0, PropertyByte, "tByte", "Byte");
ProbeField<&StreamProbe::word> probeWord(kVersion_1_4_0_0, PropertyWord, "tWord", "Word");
ProbeField<&StreamProbe::set> probeSet(kVersion_1_4_0_0, PropertySet, "tSet", "Set");
ProbeField<&StreamProbe::four> probeFour(kVersion_1_4_0_0, PropertyFourBytes, "t4Bytes", "Four");
ProbeField<&StreamProbe::text> probeText(kVersion_1_4_0_0, PropertyCharStr, "tCharStr", "Text");
ProbeField<&StreamProbe::added> probeAdded(kVersion_1_6_0_6, PropertyInteger, "tInteger", "Added");

// A node with a "tPointer" field that it leaves to the generic path.
class UnhandledPointer : public LumoNode {
 public:
  const char* GetClassName() const override { return "UnhandledPointer"; }
  bool LoadTarget(LumoStream* stream, const LumoProperty* property) {
    return LoadPropertyFrom(stream, property, &target);
  }
  bool SaveTarget(LumoStream* stream, const LumoProperty* property) {
    return SavePropertyTo(stream, property, &target);
  }
  LumoObject* target = nullptr;
};

LumoClassOf<UnhandledPointer> classOfUnhandledPointer(kVersion_1_4_0_0, "UnhandledPointer", "LumoNode");
LumoFieldProperty<UnhandledPointer, &UnhandledPointer::LoadTarget, &UnhandledPointer::SaveTarget> unhandledTarget(
    kVersion_1_4_0_0, PropertyPointer, "tPointer", "Target");

// Counts how often objects of this class end, to prove each ends once.
int& EndedNodes() {
  static int ended = 0;
  return ended;
}

class CountedNode : public LumoNode {
 public:
  ~CountedNode() override { ++EndedNodes(); }
  const char* GetClassName() const override { return "CountedNode"; }
};

LumoClassOf<CountedNode> classOfCountedNode(kVersion_1_4_0_0, "CountedNode", "LumoNode");

// A node whose one field throws while it is read.
class ThrowingField : public LumoNode {
 public:
  ~ThrowingField() override { ++EndedNodes(); }
  const char* GetClassName() const override { return "ThrowingField"; }
  bool LoadValue(LumoStream* stream, const LumoProperty* property) {
    return LoadPropertyFrom(stream, property, &value);
  }
  bool SaveValue(LumoStream* stream, const LumoProperty* property) {
    return SavePropertyTo(stream, property, &value);
  }
  bool DoLoadPropertyFrom(LumoStream*, const LumoProperty*, void*) override {
    throw std::runtime_error("damaged");
  }
  int32_t value = 0;
};

LumoClassOf<ThrowingField> classOfThrowingField(kVersion_1_4_0_0, "ThrowingField", "LumoNode");
LumoFieldProperty<ThrowingField, &ThrowingField::LoadValue, &ThrowingField::SaveValue> throwingValue(
    kVersion_1_4_0_0, PropertyInteger, "tInteger", "Value");

// An owner that refuses everything, as a plain object does.
class RefusingOwner : public LumoNode {
 public:
  const char* GetClassName() const override { return "RefusingOwner"; }
};

template <typename T>
T* Loaded(LumoStream& stream, LumoObject* owner = nullptr) {
  LumoObject* object = LoadObject(&stream, owner);
  auto* typed = dynamic_cast<T*>(object);
  if (typed == nullptr) {
    DestroyObject(object);
  }
  return typed;
}

Bytes Saved(LumoObject& object, uint32_t version = 0) {
  ByteWriter writer;
  EXPECT_TRUE(object.SaveObject(&writer.stream, version));
  return writer.Written();
}

void FillProbe(StreamProbe& probe) {
  probe.SetName("probe");
  probe.Flags = 0x80000001;
  probe.Tag = -7;
  probe.ID = 0xDEADBEEF;
  auto* child = new CountedNode;
  child->SetName("child");
  probe.child = child;
  probe.flag = true;
  probe.byteFlag = true;
  probe.small = -100;
  probe.shortValue = -30000;
  probe.integer = -2000000000;
  probe.wide = -(int64_t{1} << 60);
  probe.single = 3.25f;
  probe.precise = std::nextafter(1.0, 2.0);
  probe.string = "growable";
  probe.bytes.AssignBytes("\x00\xFF\x10", 3);
  probe.unsignedByte = 250;
  probe.word = 65000;
  probe.set = 0xF000000F;
  std::memcpy(probe.four, "WXYZ", 4);
  SetCharStr(probe.text, "owned text");
  probe.added = 1234;
}

class ObjectRecordTest : public ::testing::Test {
 protected:
  void SetUp() override { EndedNodes() = 0; }
  void TearDown() override { SetDebugMode(DebugModeOff); }
};

TEST_F(ObjectRecordTest, ObjectWithEveryPropertyTypeRoundTrips) {
  StreamProbe original;
  FillProbe(original);
  ByteReader reader(Saved(original));

  StreamProbe* copy = Loaded<StreamProbe>(reader.stream);
  ASSERT_NE(copy, nullptr);
  EXPECT_STREQ(copy->Name, "probe");
  EXPECT_EQ(copy->Flags, 0x80000001u);
  EXPECT_EQ(copy->Tag, -7);
  EXPECT_EQ(copy->ID, 0xDEADBEEFu);
  auto* child = dynamic_cast<CountedNode*>(copy->child);
  ASSERT_NE(child, nullptr);
  EXPECT_STREQ(child->Name, "child");
  EXPECT_TRUE(copy->flag);
  EXPECT_TRUE(copy->byteFlag);
  EXPECT_EQ(copy->small, -100);
  EXPECT_EQ(copy->shortValue, -30000);
  EXPECT_EQ(copy->integer, -2000000000);
  EXPECT_EQ(copy->wide, -(int64_t{1} << 60));
  EXPECT_EQ(copy->single, 3.25f);
  EXPECT_EQ(copy->precise, std::nextafter(1.0, 2.0));
  EXPECT_STREQ(copy->string.text, "growable");
  ASSERT_EQ(copy->bytes.length, 3);
  EXPECT_EQ(std::memcmp(copy->bytes.data, "\x00\xFF\x10", 3), 0);
  EXPECT_EQ(copy->unsignedByte, 250);
  EXPECT_EQ(copy->word, 65000);
  EXPECT_EQ(copy->set, 0xF000000Fu);
  EXPECT_EQ(std::memcmp(copy->four, "WXYZ", 4), 0);
  EXPECT_STREQ(copy->text, "owned text");
  EXPECT_EQ(copy->added, 1234);
  EXPECT_EQ(reader.stream.GetBytesRemaining(), 0);
  DestroyObject(copy);
}

TEST_F(ObjectRecordTest, RecordOpensWithHeaderAndClassNameThenTheRootClassFields) {
  LumoNode node;
  node.SetName("n");
  node.Flags = 2;
  node.Tag = 3;
  node.ID = 4;
  const Bytes expected = BytesOf({'L', 'u', 'm', 'o', 1, 4, 0, 0,   // header, the class's version
                                  0, 0, 0, 8, 'L', 'u', 'm', 'o', 'N', 'o', 'd', 'e',
                                  0, 0, 0, 2,                       // Flags
                                  0, 0, 0, 1, 'n',                  // Name
                                  0, 0, 0, 3,                       // Tag
                                  0, 0, 0, 4});                     // ID
  EXPECT_EQ(Saved(node), expected);
}

TEST_F(ObjectRecordTest, OlderStreamSkipsNewerPropertiesBothWays) {
  StreamProbe original;
  FillProbe(original);
  const Bytes current = Saved(original);
  const Bytes older = Saved(original, kVersion_1_5_1_6);
  EXPECT_EQ(older.size() + 4, current.size());  // "Added" is not written

  ByteReader reader(older);
  StreamProbe* copy = Loaded<StreamProbe>(reader.stream);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->added, -1);  // the constructor's value
  EXPECT_EQ(copy->integer, original.integer);
  DestroyObject(copy);
}

TEST_F(ObjectRecordTest, UnhandledPointerPropertyFailsTheWholeRecord) {
  UnhandledPointer object;
  ByteWriter writer;
  EXPECT_FALSE(object.SaveObject(&writer.stream, 0));

  // A record that stops where the pointer would be: the node's fields load,
  // the pointer has no generic reader.
  LumoNode plain;
  Bytes record = Saved(plain);
  const char name[] = "UnhandledPointer";
  record.erase(record.begin() + 8, record.begin() + 20);
  Bytes nameBytes = BytesOf({0, 0, 0, static_cast<int>(sizeof name - 1)});
  nameBytes.insert(nameBytes.end(), name, name + sizeof name - 1);
  record.insert(record.begin() + 8, nameBytes.begin(), nameBytes.end());
  ByteReader reader(Join(record, BytesOf({1, 2, 3, 4})));
  EXPECT_EQ(LoadObject(&reader.stream, nullptr), nullptr);
}

TEST_F(ObjectRecordTest, StreamVersionIsRestoredAfterEveryRecord) {
  LumoNode node;
  const Bytes good = Saved(node);
  Bytes badName = good;
  badName[12] = 'X';  // "XumoNode" is not registered
  const Bytes cutShort(good.begin(), good.end() - 2);
  for (const Bytes* record : {&good, static_cast<const Bytes*>(&badName), &cutShort}) {
    ByteReader reader(*record);
    reader.stream.SetVersion(0x1234);
    DestroyObject(LoadObject(&reader.stream, nullptr));
    EXPECT_EQ(reader.stream.version, 0x1234u);
  }
  ByteWriter writer;
  writer.stream.SetVersion(0x4321);
  EXPECT_TRUE(node.SaveObject(&writer.stream, 0));
  EXPECT_EQ(writer.stream.version, 0x4321u);
}

TEST_F(ObjectRecordTest, ThrowingFieldIsReportedByEveryStepAndTheUnownedObjectEnds) {
  ThrowingField original;
  ByteReader reader(Saved(original));
  ASSERT_EQ(SetDebugMode(DebugModeOverwrite), DebugModeOverwrite);
  EXPECT_THROW(LoadObject(&reader.stream, nullptr), std::runtime_error);
  SetDebugMode(DebugModeOff);
  EXPECT_EQ(EndedNodes(), 1);
  const std::string log = testing_support::ReadDebugLog();
  const char* lines[] = {
      "LumoObject::LoadPropertyFrom() Unhandled exception during DoLoadPropertyFrom() (Object",
      ":ThrowingField, Stream=", ":LumoMemoryStream, Property=", ", Type=tSet, Name=Flags\n, Dest=",  // the first field read
      "LumoObject::LoadFrom() Unhandled exception during DoLoadFrom() (Object=",
      "LoadObject() Unhandled exception (Stream=",
  };
  size_t at = 0;
  for (const char* line : lines) {
    at = log.find(line, at);
    ASSERT_NE(at, std::string::npos) << line << "\n" << log;
  }
}

TEST_F(ObjectRecordTest, UnregisteredObjectWritesNothing) {
  RefusingOwner unregistered;
  ByteWriter writer;
  EXPECT_FALSE(unregistered.SaveObject(&writer.stream, 0));
  EXPECT_TRUE(writer.Written().empty());
}

TEST_F(ObjectRecordTest, ListOfThreeClassesReloadsInOrder) {
  LumoList list;
  list.SetName("outer");
  auto* first = new CountedNode;
  first->SetName("one");
  auto* inner = new LumoList;
  inner->SetName("two");
  auto* grandchild = new LumoNode;
  grandchild->SetName("two.a");
  inner->Append(grandchild);
  auto* third = new StreamProbe;
  third->SetName("three");
  third->integer = 42;
  list.Append(first);
  list.Append(inner);
  list.Append(third);

  ByteReader reader(Saved(list));
  LumoList* copy = Loaded<LumoList>(reader.stream);
  ASSERT_NE(copy, nullptr);
  ASSERT_EQ(copy->Count, 3);
  const char* classes[] = {"CountedNode", "LumoList", "StreamProbe"};
  const char* names[] = {"one", "two", "three"};
  for (int32_t index = 0; index < 3; ++index) {
    EXPECT_STREQ(copy->At(index)->GetClassName(), classes[index]);
    EXPECT_STREQ(copy->At(index)->Name, names[index]);
  }
  auto* innerCopy = dynamic_cast<LumoList*>(copy->At(1));
  ASSERT_NE(innerCopy, nullptr);
  ASSERT_EQ(innerCopy->Count, 1);
  EXPECT_STREQ(innerCopy->first->Name, "two.a");
  EXPECT_EQ(dynamic_cast<StreamProbe*>(copy->At(2))->integer, 42);
  DestroyObject(copy);
}

TEST_F(ObjectRecordTest, NegativeListCountFails) {
  LumoList list;
  Bytes record = Saved(list);
  ASSERT_GE(record.size(), 4u);
  std::fill(record.end() - 4, record.end(), 0xFF);  // the count becomes -1
  ByteReader reader(record);
  EXPECT_EQ(LoadObject(&reader.stream, nullptr), nullptr);
}

TEST_F(ObjectRecordTest, ObjectRefusedByItsOwnerEndsExactlyOnce) {
  CountedNode node;
  ByteReader reader(Saved(node));
  RefusingOwner owner;
  EXPECT_EQ(LoadObject(&reader.stream, &owner), nullptr);
  EXPECT_EQ(EndedNodes(), 1);
}

TEST_F(ObjectRecordTest, ObjectThatFailsToLoadLeavesItsOwnerAndEndsOnce) {
  CountedNode node;
  const Bytes record = Saved(node);
  ByteReader reader(Bytes(record.begin(), record.end() - 1));
  LumoList owner;
  EXPECT_EQ(LoadObject(&reader.stream, &owner), nullptr);
  EXPECT_EQ(owner.Count, 0);
  EXPECT_EQ(EndedNodes(), 1);
}

TEST_F(ObjectRecordTest, LoadedItemIsRegisteredWithItsOwner) {
  CountedNode node;
  node.SetName("item");
  ByteReader reader(Saved(node));
  LumoList owner;
  LumoObject* loaded = LoadObject(&reader.stream, &owner);
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(owner.first, loaded);
}

// Every cut and every single damaged byte of a nested record is refused or
// loaded without a crash, a leak or a huge allocation (sanitizer build).
TEST_F(ObjectRecordTest, TruncatedOrDamagedRecordsNeverCrash) {
  LumoList list;
  auto* probe = new StreamProbe;
  FillProbe(*probe);
  list.Append(probe);
  auto* inner = new LumoList;
  inner->Append(new CountedNode);
  list.Append(inner);
  const Bytes record = Saved(list);

  for (size_t length = 0; length < record.size(); ++length) {
    ByteReader reader(Bytes(record.begin(), record.begin() + static_cast<std::ptrdiff_t>(length)));
    EXPECT_EQ(LoadObject(&reader.stream, nullptr), nullptr) << length;
  }
  for (size_t index = 0; index < record.size(); ++index) {
    for (uint8_t damage : {0x00, 0x7F, 0xFF}) {
      Bytes damaged = record;
      damaged[index] = damage;
      ByteReader reader(damaged);
      DestroyObject(LoadObject(&reader.stream, nullptr));
    }
  }
}

}  // namespace
}  // namespace stream_testing
