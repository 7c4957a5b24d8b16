#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "PathMapDrawing.h"
#include "navigation/YLPathFinder.h"

// Every route the finder answers on the generated map, compared line by line
// with a list recorded from an earlier build. The list pins the routes
// exactly: the points, the crossed borders, each node's costs and marks, for
// searches on foot, by vehicle and limited, so a faster search cannot change
// one answer unnoticed.
//
// The list is tests/navigation/GoldenRoutes.txt. After a deliberate change of
// the routes, rewrite it by running this test with
// YOB_WRITE_GOLDEN_ROUTES=<path of the list> and review the difference.

namespace {

constexpr uint32_t kMapSeed = 20261210;
constexpr int32_t kSectorCount = 255;
constexpr int32_t kBlocks = 48;
constexpr int32_t kCellSize = 4;
constexpr int32_t kQueries = 1000;
constexpr uint32_t kQuerySeed = 11;

struct Query {
  int32_t x1, y1, x2, y2;
  int32_t maximumLength;  // limited search only
  bool selector;          // limited search only
};

std::vector<Query> MakeQueries() {
  std::mt19937 random(kQuerySeed);
  const uint32_t extent = kBlocks * kCellSize;
  std::vector<Query> queries;
  for (int32_t index = 0; index < kQueries; ++index) {
    Query query{};
    query.x1 = static_cast<int32_t>(random() % extent);
    query.y1 = static_cast<int32_t>(random() % extent);
    query.x2 = static_cast<int32_t>(random() % extent);
    query.y2 = static_cast<int32_t>(random() % extent);
    query.maximumLength = static_cast<int32_t>(random() % 120);
    query.selector = random() % 2 != 0;
    queries.push_back(query);
  }
  return queries;
}

// FNV-1a, 64 bits: the fingerprint of a route's full description.
uint64_t Fingerprint(const std::string& text) {
  uint64_t hash = 14695981039346656037ull;
  for (char character : text) {
    hash = (hash ^ static_cast<uint8_t>(character)) * 1099511628211ull;
  }
  return hash;
}

// One line: the kind, the query number, the fingerprint of every node with
// its point, border, costs and marks, then the route in short: the crossed
// borders, and for the limited search (which moves crossing points off the
// borders' middles) the points too; "none" when there is no route.
std::string DescribeRoute(char kind, int32_t number, const YLPathPlanNode* first,
                          const YLSectors& sectors) {
  std::ostringstream line;
  line << kind << ' ' << number << ':';
  if (first == nullptr) {
    line << " none";
    return line.str();
  }
  std::ostringstream details;
  std::ostringstream route;
  for (const YLPathPlanNode* node = first; node != nullptr; node = node->next.get()) {
    const int32_t border = node->border != nullptr ? sectors.IndexOfBorder(node->border) : -1;
    details << node->x << ',' << node->y << ',' << border << ',' << node->costFromStart << ','
            << node->estimate << ',' << static_cast<int32_t>(node->entersFromLeft)
            << static_cast<int32_t>(node->limitedCrossing) << ' ';
    if (kind == 'L') {
      route << ' ' << node->x << ',' << node->y << ',' << border;
    } else if (border >= 0) {
      route << ' ' << border;
    }
  }
  line << ' ' << std::hex << Fingerprint(details.str()) << std::dec << " length "
       << first->GetLength() << route.str();
  return line.str();
}

// The routes of every query: searched cold on foot, by vehicle and limited,
// then on foot again through the cache, in query order.
std::vector<std::string> CurrentRoutes() {
  path_testing::DrawnMap drawn =
      path_testing::GenerateMap(kMapSeed, kSectorCount, kBlocks, kBlocks, kCellSize);
  // Two sectors walled in on every side, so some goals cannot be reached.
  for (int32_t id : {7, 77}) {
    const YLSector* sector = drawn.Sectors().GetSector(id);
    for (int32_t index = 0; index < sector->GetBorderCount(); ++index) {
      sector->GetBorder(index)->Passable = 0;
    }
  }
  YLPathFinder finder;
  finder.Attach(drawn.knowledge.get());
  const std::vector<Query> queries = MakeQueries();
  std::vector<std::string> lines;
  for (int32_t number = 0; number < kQueries; ++number) {
    const Query& query = queries[static_cast<size_t>(number)];
    finder.Reset();
    lines.push_back(DescribeRoute('F', number,
                                  finder.FindPath(query.x1, query.y1, query.x2, query.y2),
                                  drawn.Sectors()));
    lines.push_back(DescribeRoute('V', number,
                                  finder.FindVehiclePath(query.x1, query.y1, query.x2, query.y2),
                                  drawn.Sectors()));
    finder.Reset();
    lines.push_back(DescribeRoute('L', number,
                                  finder.FindPathLimited(query.x1, query.y1, query.x2, query.y2,
                                                         query.maximumLength, query.selector),
                                  drawn.Sectors()));
  }
  // Ends taken from a few sectors, so the cache answers some of them.
  finder.Reset();
  for (int32_t number = 0; number < kQueries; ++number) {
    Query query = queries[static_cast<size_t>(number)];
    query.x1 = query.x1 % 40;
    query.y1 = query.y1 % 40;
    lines.push_back(DescribeRoute('C', number,
                                  finder.FindPath(query.x1, query.y1, query.x2, query.y2),
                                  drawn.Sectors()));
  }
  return lines;
}

std::vector<std::string> ReadLines(const char* path) {
  std::vector<std::string> lines;
  std::ifstream file(path);
  std::string line;
  while (std::getline(file, line)) {
    lines.push_back(line);
  }
  return lines;
}

TEST(PathFinderGoldenRoutesTest, EveryRouteMatchesTheRecordedList) {
  const std::vector<std::string> current = CurrentRoutes();
  if (const char* target = std::getenv("YOB_WRITE_GOLDEN_ROUTES")) {
    std::ofstream file(target, std::ios::trunc);
    for (const std::string& line : current) {
      file << line << '\n';
    }
    ASSERT_TRUE(file.good()) << target;
    GTEST_SKIP() << "wrote " << current.size() << " routes to " << target;
  }
  const std::vector<std::string> recorded = ReadLines(LUMO_GOLDEN_ROUTES);
  ASSERT_EQ(recorded.size(), current.size()) << LUMO_GOLDEN_ROUTES;
  int32_t differences = 0;
  for (size_t index = 0; index < current.size() && differences < 10; ++index) {
    if (recorded[index] != current[index]) {
      ++differences;
      ADD_FAILURE() << "recorded: " << recorded[index] << "\ncurrent:  " << current[index];
    }
  }
  EXPECT_EQ(differences, 0);
}

}  // namespace
