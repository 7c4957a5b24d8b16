#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "SectorMapFixture.h"
#include "navigation/SectorShapeText.h"
#include "runtime/DebugLog.h"
#include "support/DebugLogReader.h"

namespace navigation_testing {
namespace {

void WriteFile(const char* name, const std::string& text) {
  std::ofstream file(name, std::ios::binary);
  file << text;
}

const std::vector<SectorShape> kTwoSquares = {
    {{0, 0}, {10, 0}, {10, 10}, {0, 10}},
    {{10, 0}, {20, 0}, {20, 10}, {10, 10}},
};

// Imports the text into a new map with the debug log on.
SectorMapOwner Imported(const std::string& text, std::string& log) {
  WriteFile("shapes.ase", text);
  SectorMapOwner map(new YLSectors);
  EXPECT_EQ(SetDebugMode(DebugModeOverwrite), DebugModeOverwrite);
  EXPECT_TRUE(map->Create("shapes.ase", nullptr));
  SetDebugMode(DebugModeOff);
  log = testing_support::ReadDebugLog();
  return map;
}

std::string OneShape(const std::string& shapeNumber, const std::vector<std::string>& knots) {
  std::string text = "\t*SHAPE_LINE " + shapeNumber + " {\n";
  for (const std::string& knot : knots) {
    text += "\t\t*SHAPE_VERTEX_KNOT " + knot + "\n";
  }
  return text + "\t}\n";
}

TEST(SectorShapeImport, TwoSquaresSharingAnEdgeShareOneBorder) {
  std::string log;
  SectorMapOwner map = Imported(FormatSectorShapes(kTwoSquares), log);
  ASSERT_EQ(map->GetSectorCount(), 2);
  EXPECT_EQ(map->GetVertexCount(), 6);
  ASSERT_EQ(map->GetBorderCount(), 7);
  int32_t shared = 0;
  for (int32_t index = 0; index < map->GetBorderCount(); ++index) {
    const YLSectorBorder* border = map->GetBorder(index);
    EXPECT_EQ(border->Passable, BorderAllFlags);
    EXPECT_EQ(border->ID, kUnsetBorderID);
    EXPECT_EQ(border->Left, map->GetSector(border == map->GetBorder(1) ? 0 : index < 4 ? 0 : 1));
    shared += border->HasBothSides() ? 1 : 0;
  }
  EXPECT_EQ(shared, 1);
  EXPECT_EQ(map->GetBorder(1)->Right, map->GetSector(1));
  for (uint8_t id = 0; id < 2; ++id) {
    EXPECT_EQ(map->GetSector(id)->ID, id);
    EXPECT_TRUE(map->GetSector(id)->Walkable);
    EXPECT_EQ(map->GetSector(id)->GetBorderCount(), 4);
  }
  // The map's y grows southward: the export's z is flipped.
  EXPECT_EQ(map->FindVertex(20, 10), 5);
  for (const char* line : {"YLSectors::Create(shapes.ase)\n", " new sector found (1), reading...\n",
                           "  new vertex found 1(10,0)\n", "  closing the sector\n", "done",
                           "\n\n==> Debugprint of YLSectors:\n",
                           "  border1: points 1 2; left=0 right=1\n", "==> Done\n\n\n"}) {
    EXPECT_NE(log.find(line), std::string::npos) << line << "\n" << log;
  }
}

TEST(SectorShapeImport, KnotsAreReadAsFloatsThenTruncated) {
  const struct {
    const char* knot;
    int32_t x, y;
  } cases[] = {
      {"0\t10.9\t5.0\t20.9", 10, -20},
      {"0 -10.9 0 -20.9", -10, 20},
      {"0 +3.5 0 1e1", 3, -10},
      {"0 2.5", 2, 0},  // the scan stops where the format no longer matches
      {"0 abc 1 2", 0, 0},
      {"", 0, 0},
      {"0 1e30 0 -1e30", 1 << 20, 1 << 20},  // far outside any level: clamped
      {"0 nan 0 5.5", 0, -5},
  };
  for (const auto& entry : cases) {
    std::string log;
    SectorMapOwner map = Imported(OneShape("0", {entry.knot}), log);
    ASSERT_EQ(map->GetVertexCount(), 1) << entry.knot;
    EXPECT_EQ(map->GetVertex(0)->X, entry.x) << entry.knot;
    EXPECT_EQ(map->GetVertex(0)->Y, entry.y) << entry.knot;
  }
}

TEST(SectorShapeImport, SectorIdIsTheLowByteOfTheShapeNumber) {
  std::string log;
  SectorMapOwner map = Imported(OneShape("300", {"0 0 0 0", "1 4 0 0", "2 4 0 -4"}), log);
  ASSERT_EQ(map->GetSectorCount(), 1);
  EXPECT_EQ(map->GetSector(0)->ID, 44);
  EXPECT_NE(log.find("sector id 44 is not its index 0"), std::string::npos) << log;
}

TEST(SectorShapeImport, OnlyShapeLinesCount) {
  const std::string text =
      "*3DSMAX_ASCIIEXPORT\t200\n"
      "\t\t*SHAPE_VERTEX_KNOT 0 50.0 0 50.0\n"  // before any shape
      "\t}\n"
      "\r\n"
      "*SHAPE_LINE 9 {\n"  // not the shape keyword: no tab
      "\t*SHAPE_LINE 0 {\r\n"
      "\t\t*SHAPE_CLOSED\n"
      "\t\t*SHAPE_VERTEXCOUNT 3\n"
      "\t\t*SHAPE_VERTEX_KNOT 0\t0.0\t0.0\t0.0\r\n"
      "\n"
      "\t\t*SHAPE_VERTEX_KNOT 1\t8.0\t0.0\t0.0\n"
      "\t\t*SHAPE_VERTEX_KNOT 2\t8.0\t0.0\t-8.0\n"
      "\t}\n"
      "}\n"
      "\t\t*SHAPE_VERTEX_KNOT 3\t99.0\t0.0\t99.0";  // after the shape, no final line feed
  std::string log;
  SectorMapOwner map = Imported(text, log);
  EXPECT_EQ(map->GetSectorCount(), 1);
  EXPECT_EQ(map->GetVertexCount(), 3);
  EXPECT_EQ(map->GetBorderCount(), 3);
  EXPECT_EQ(map->GetBorder(2)->A, 2);
  EXPECT_EQ(map->GetBorder(2)->B, 0);
}

TEST(SectorShapeImport, AMissingFileFailsAndIsNotCreated) {
  SectorMapOwner map(new YLSectors);
  EXPECT_FALSE(map->Create("absent.ase", nullptr));
  EXPECT_FALSE(std::filesystem::exists("absent.ase"));
  EXPECT_FALSE(map->Create(nullptr, nullptr));
}

TEST(SectorMapMerge, JoinsTwinVerticesAndBorders) {
  SectorMapOwner map(new YLSectors);
  for (const auto& point :
       {SectorShapePoint{0, 0}, SectorShapePoint{10, 0}, SectorShapePoint{0, 0}}) {
    ASSERT_TRUE(map->AppendVertex(new YLVertex(point.x, point.y)));
  }
  for (int id = 0; id < 3; ++id) {
    ASSERT_TRUE(map->AppendSector(new YLSector));
  }
  // Border 1 joins vertices 1 and 2, the twin of 0: once the vertices are
  // merged it is border 0 seen from sector 1. Border 2 is a third copy.
  const struct { int32_t a, b, left; } borders[] = {{0, 1, 0}, {1, 2, 1}, {0, 1, 2}, {2, 1, -1}};
  for (const auto& entry : borders) {
    auto* border = new YLSectorBorder;
    border->SetA(entry.a);
    border->SetB(entry.b);
    border->SetLeft(map->GetSector(entry.left));
    ASSERT_TRUE(map->AppendBorder(border));
    if (border->Left != nullptr) {
      border->Left->AddBorder(border);
    }
  }
  ASSERT_EQ(SetDebugMode(DebugModeOverwrite), DebugModeOverwrite);
  map->Merge();
  SetDebugMode(DebugModeOff);
  const std::string log = testing_support::ReadDebugLog();
  EXPECT_EQ(map->GetVertex(2), nullptr);
  EXPECT_EQ(map->GetVertexCount(), 3);
  const YLSectorBorder* kept = map->GetBorder(0);
  EXPECT_EQ(kept->Right, map->GetSector(1));
  for (int32_t index : {1, 2, 3}) {
    EXPECT_EQ(map->GetBorder(index), nullptr) << index;
  }
  for (int32_t id = 0; id < 3; ++id) {
    EXPECT_EQ(map->GetSector(id)->GetBorder(0), kept) << id;
  }
  EXPECT_NE(log.find("Border in three sectors during optimize!\n"), std::string::npos) << log;
  EXPECT_NE(log.find("Border not added to sector!\n"), std::string::npos) << log;
}

}  // namespace
}  // namespace navigation_testing
