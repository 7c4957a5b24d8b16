#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "base/LumoMemoryStream.h"
#include "fuzz/BSPProbe.h"
#include "fuzz/seeds/SeedRecords.h"
#include "fuzz/seeds/Seeds.h"

namespace {

}  // namespace

void WriteBSPStreamSeeds(const std::filesystem::path& folder) {
  // A 64 x 64 tree with objects at the root and at several depths.
  FuzzBSPNode tree;
  tree.origin.Set(0, 0);
  tree.size.Set(64, 64);
  const int32_t boxes[][4] = {{30, 30, 4, 4}, {1, 1, 2, 2}, {1, 1, 2, 2}, {40, 10, 20, 5}, {50, 50, 1, 1}};
  int32_t label = 1;
  for (const auto& box : boxes) {
    tree.Insert(new FuzzBSPObject(label++, box[0], box[1], box[2], box[3]));
  }
  const std::string treeRecord = SeedRecordOf(tree);
  WriteSeed(folder, "written-tree.bin", treeRecord);

  FuzzBSPNode empty;
  empty.size.Set(16, 16);
  WriteSeed(folder, "written-empty-node.bin", SeedRecordOf(empty));

  FuzzBSPFloatNode floatTree;
  floatTree.size.Set(8.0f, 4.0f);
  auto* object = new FuzzBSPFloatObject;
  object->origin.Set(0.5f, 0.25f);
  object->size.Set(1.0f, 1.0f);
  floatTree.Insert(object);
  floatTree.Subdivide();
  WriteSeed(folder, "written-float-tree.bin", SeedRecordOf(floatTree));

  // The header is "Lumo", the version, the class name; the box's four
  // values and the object count follow it.
  const size_t fields = 4 + 4 + 4 + std::string("FuzzBSPNode").size();
  WriteSeed(folder, "damaged-object-count.bin", PatchedBigEndian(treeRecord, fields + 16, 0x7FFFFFFFu));
  WriteSeed(folder, "damaged-negative-count.bin", PatchedBigEndian(treeRecord, fields + 16, 0xFFFFFFFFu));
  WriteSeed(folder, "damaged-cut-short.bin", treeRecord.substr(0, treeRecord.size() * 2 / 3));
}
