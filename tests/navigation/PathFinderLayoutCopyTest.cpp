#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "PathMapDrawing.h"
#include "navigation/YLPathFinder.h"

// Searches on foot and by vehicle run over the finder's copy of the map's
// layout; these tests hold them to the search over plan nodes, which reads
// the map's objects, node for node, while border flags change between
// searches and while the layout itself is edited.

namespace {

using path_testing::DrawnMap;
using path_testing::GenerateMap;

constexpr int32_t kBlocks = 48;
constexpr int32_t kCellSize = 4;

// Every node of a route: its point, its border's index, its costs and marks.
std::string Describe(const YLPathPlanNode* first, const YLSectors& sectors) {
  if (first == nullptr) {
    return "none";
  }
  std::ostringstream text;
  for (const YLPathPlanNode* node = first; node != nullptr; node = node->next.get()) {
    text << node->x << ',' << node->y << ','
         << (node->border != nullptr ? sectors.IndexOfBorder(node->border) : -1) << ','
         << node->costFromStart << ',' << node->estimate << ','
         << static_cast<int32_t>(node->entersFromLeft)
         << static_cast<int32_t>(node->limitedCrossing) << ' ';
  }
  return text.str();
}

// Two finders on one map, one searching the layout copy and one reading the
// map directly; each query asks both, on foot and by vehicle.
struct FinderPair {
  explicit FinderPair(const DrawnMap& drawn) : drawn(drawn) {
    copying.Attach(drawn.knowledge.get());
    direct.Attach(drawn.knowledge.get());
    direct.ReadMapDirectly(true);
  }
  void ExpectSameRoutes(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    copying.Reset();
    direct.Reset();
    const YLSectors& sectors = drawn.Sectors();
    EXPECT_EQ(Describe(copying.FindPath(x1, y1, x2, y2), sectors),
              Describe(direct.FindPath(x1, y1, x2, y2), sectors))
        << "on foot " << x1 << "," << y1 << " - " << x2 << "," << y2;
    EXPECT_EQ(Describe(copying.FindVehiclePath(x1, y1, x2, y2), sectors),
              Describe(direct.FindVehiclePath(x1, y1, x2, y2), sectors))
        << "by vehicle " << x1 << "," << y1 << " - " << x2 << "," << y2;
  }
  const DrawnMap& drawn;
  YLPathFinder copying;
  YLPathFinder direct;
};

int32_t RandomCoordinate(std::mt19937& random) {
  // A little beyond the map on either side, so some ends lie outside.
  return static_cast<int32_t>(random() % (kBlocks * kCellSize + 8)) - 4;
}

// Maps of several sizes; between queries the flags of random borders change
// (as barricades and triggers change them at run time).
TEST(PathFinderLayoutCopy, RoutesEqualThoseOfTheSearchOverNodesWhileFlagsChange) {
  for (const auto& [seed, sectorCount] :
       {std::pair<uint32_t, int32_t>{3, 40}, {41, 150}, {20261210, 255}}) {
    SCOPED_TRACE(::testing::Message() << "map " << seed << " with " << sectorCount << " sectors");
    DrawnMap drawn = GenerateMap(seed, sectorCount, kBlocks, kBlocks, kCellSize);
    FinderPair finders(drawn);
    std::mt19937 random(seed + 1);
    YLSectors& sectors = drawn.Sectors();
    for (int32_t query = 0; query < 300; ++query) {
      if (query % 10 == 0) {
        for (int32_t changed = 0; changed < 8; ++changed) {
          YLSectorBorder* border = sectors.GetBorder(
              static_cast<int32_t>(random() % static_cast<uint32_t>(sectors.GetBorderCount())));
          border->Passable = static_cast<uint8_t>(random() % 16);
        }
      }
      const int32_t x1 = RandomCoordinate(random);
      const int32_t y1 = RandomCoordinate(random);
      const int32_t x2 = RandomCoordinate(random);
      const int32_t y2 = RandomCoordinate(random);
      finders.ExpectSameRoutes(x1, y1, x2, y2);
    }
  }
}

// Each kind of layout edit, made between searches, is seen by the next
// search: its routes are those of a search that reads the map itself.
TEST(PathFinderLayoutCopy, AnEditOfTheLayoutIsSeenByTheNextSearch) {
  DrawnMap drawn = GenerateMap(5, 60, kBlocks, kBlocks, kCellSize);
  YLSectors& sectors = drawn.Sectors();
  // Every border the finder may cross on foot and by vehicle, so the edits
  // decide the routes.
  for (int32_t index = 0; index < sectors.GetBorderCount(); ++index) {
    sectors.GetBorder(index)->Passable = BorderAllFlags;
  }
  FinderPair finders(drawn);
  std::mt19937 random(9);
  std::vector<std::array<int32_t, 4>> queries;
  for (int32_t query = 0; query < 40; ++query) {
    queries.push_back({RandomCoordinate(random), RandomCoordinate(random), RandomCoordinate(random),
                       RandomCoordinate(random)});
  }
  const auto askAll = [&] {
    for (const auto& query : queries) {
      finders.ExpectSameRoutes(query[0], query[1], query[2], query[3]);
    }
  };
  askAll();

  const struct {
    const char* what;
    std::function<void()> edit;
  } edits[] = {
      {"vertices moved",
       [&] {
         for (int32_t index = 0; index < sectors.GetVertexCount(); index += 3) {
           YLVertex* vertex = sectors.GetVertex(index);
           vertex->SetX(vertex->X + 3);
           vertex->SetY(vertex->Y - 2);
         }
       }},
      {"borders lose a side",
       [&] {
         for (int32_t index = 1; index < sectors.GetBorderCount(); index += 4) {
           sectors.GetBorder(index)->SetRight(nullptr);
         }
       }},
      {"borders join other vertices",
       [&] {
         for (int32_t index = 2; index < sectors.GetBorderCount(); index += 5) {
           YLSectorBorder* border = sectors.GetBorder(index);
           border->SetA(border->B);
         }
       }},
      {"sectors renumbered",
       [&] {
         for (int32_t index = 0; index < sectors.GetSectorCount(); index += 2) {
           YLSector* sector = sectors.GetSector(index);
           sector->SetID(static_cast<uint8_t>((sector->ID + 1) % sectors.GetSectorCount()));
         }
       }},
      {"a border listed once more",
       [&] {
         YLSector* sector = sectors.GetSector(11);
         ASSERT_TRUE(sector->AddBorder(sector->GetBorder(0)));
       }},
  };
  for (const auto& entry : edits) {
    SCOPED_TRACE(entry.what);
    entry.edit();
    askAll();
  }
}

}  // namespace
