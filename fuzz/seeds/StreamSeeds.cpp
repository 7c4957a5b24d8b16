#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "base/LumoClass.h"
#include "base/LumoMemoryStream.h"
#include "base/LumoObjects.h"
#include "base/LumoSortedList.h"
#include "fuzz/StreamProbe.h"
#include "fuzz/seeds/SeedRecords.h"
#include "fuzz/seeds/Seeds.h"

namespace {

LumoNode* NamedNode(const char* name, int32_t tag) {
  auto* node = new LumoNode();
  node->SetName(name);
  node->Tag = tag;
  return node;
}

// A probe with every field set, an embedded probe, and items of several
// classes.
FuzzProbe* FullProbe() {
  auto* probe = new FuzzProbe();
  probe->SetName("Probe");
  probe->flag = true;
  probe->byteFlag = true;
  probe->small = -5;
  probe->shortValue = -300;
  probe->integer = 123456;
  probe->wide = -1234567890123LL;
  probe->single = 1.5f;
  probe->precise = -2.25;
  probe->string = "string";
  probe->bytes = tBuffer("\x01\x02\x00\x03", 4);
  probe->unsignedByte = 200;
  probe->word = 60000;
  probe->set = 0x80000001u;
  std::memcpy(probe->four, "ABCD", 4);
  SetCharStr(probe->text, "text");
  auto* inner = new FuzzProbe();
  inner->integer = 7;
  inner->child = NamedNode("Leaf", 3);
  probe->child = inner;
  probe->Append(NamedNode("First", 1));
  auto* sorted = new LumoSortedList();
  sorted->Append(NamedNode("b", 2));
  sorted->Append(NamedNode("a", 1));
  probe->Append(sorted);
  probe->Append(new FuzzProbe());
  return probe;
}

std::string FullProbeRecord(uint32_t headerVersion = 0) {
  FuzzProbe* probe = FullProbe();
  const std::string record = SeedRecordOf(*probe, headerVersion);
  DestroyObject(probe);
  return record;
}

std::string CollectionRecord() {
  LumoObjects collection;
  collection.RegisterObject(NamedNode("One", 1));
  collection.RegisterObject(new FuzzProbe());
  collection.RegisterObject(NamedNode("Three", 3));
  return SeedRecordOf(collection);
}

// Probes embedded in each other, depth deep.
std::string NestedRecord(int32_t depth) {
  auto* outer = new FuzzProbe();
  FuzzProbe* innermost = outer;
  for (int32_t level = 1; level < depth; ++level) {
    auto* inner = new FuzzProbe();
    innermost->child = inner;
    innermost = inner;
  }
  const std::string record = SeedRecordOf(*outer);
  DestroyObject(outer);
  return record;
}

}  // namespace

void WriteStreamSeeds(const std::filesystem::path& folder) {
  const std::string full = FullProbeRecord();
  LumoNode node;
  node.SetName("Node");
  node.Tag = -1;
  LumoList emptyList;
  WriteSeed(folder, "written-probe.bin", full);
  WriteSeed(folder, "written-probe-old-version.bin", FullProbeRecord(kVersion_1_4_0_0));
  WriteSeed(folder, "written-collection.bin", CollectionRecord());
  WriteSeed(folder, "written-node.bin", SeedRecordOf(node));
  WriteSeed(folder, "written-empty-list.bin", SeedRecordOf(emptyList));
  WriteSeed(folder, "written-nested.bin", NestedRecord(40));
  // The header is "Lumo" and the version; the class name's length follows.
  WriteSeed(folder, "damaged-cut-in-half.bin", full.substr(0, full.size() / 2));
  WriteSeed(folder, "damaged-signature.bin", "Lumb" + full.substr(4));
  WriteSeed(folder, "damaged-version-zero.bin", PatchedBigEndian(full, 4, 0));
  WriteSeed(folder, "damaged-name-length.bin", PatchedBigEndian(full, 8, 0xFFFFFFF0u));
  WriteSeed(folder, "damaged-unknown-class.bin", PatchedBigEndian(full, 12, 0x5A5A5A5Au));
  WriteSeed(folder, "damaged-empty.bin", "");
  WriteSeed(folder, "damaged-lines.bin", std::string("line one\r\nline two\n\0after nul\rlast", 35));
}

// The object file target reads the same records through the file streams.
void WriteObjectFileSeeds(const std::filesystem::path& folder) {
  const std::string full = FullProbeRecord();
  LumoNode node;
  node.SetName("Node");
  WriteSeed(folder, "written-probe.bin", full);
  WriteSeed(folder, "written-collection.bin", CollectionRecord());
  WriteSeed(folder, "written-node.bin", SeedRecordOf(node));
  WriteSeed(folder, "written-nested.bin", NestedRecord(12));
  WriteSeed(folder, "damaged-cut-in-half.bin", full.substr(0, full.size() / 2));
  WriteSeed(folder, "damaged-name-length.bin", PatchedBigEndian(full, 8, 0xFFFFFFF0u));
  WriteSeed(folder, "damaged-cut-by-one.bin", full.substr(0, full.size() - 1));
}

// The archive media target stores each file as a bitmap, an alpha map and a
// sound entry: the seeds of those three readers.
void WriteArchiveMediaSeeds(const std::filesystem::path& folder) {
  WriteBitmapSeeds(folder);
  WriteAlphaSeeds(folder);
  WriteWaveSeeds(folder);
}
