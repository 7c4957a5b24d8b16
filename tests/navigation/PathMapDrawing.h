#pragma once

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "navigation/YLKnowledgeMap.h"
#include "navigation/YLPathPlanNode.h"
#include "navigation/YLSectors.h"

// Knowledge maps with sector maps drawn for the path finder's tests: a grid
// of blocks, each cellSize x cellSize cells, holds a sector id (-1 for none).
// The blocks of one id must form a rectangle, so every sector is convex.
// Borders run along the block edges, one border per stretch between the same
// two sides; a stretch with a sector on one side only is a wall.
namespace path_testing {

using SectorGrid = std::vector<std::vector<int32_t>>;  // [row][column]

struct DrawnMap {
  std::unique_ptr<YLKnowledgeMap, tObjectDestroyer> knowledge;
  int32_t cellSize = 0;

  YLSectors& Sectors() const { return *knowledge->GetSectors(); }
  // The first border between two sectors; null when none.
  YLSectorBorder* BorderBetween(int32_t first, int32_t second) const {
    const YLSector* sector = Sectors().GetSector(first);
    return sector != nullptr ? sector->FindBorderToID(second) : nullptr;
  }
  // The middle cell of a block.
  std::pair<int32_t, int32_t> BlockCentre(int32_t column, int32_t row) const {
    return {column * cellSize + cellSize / 2, row * cellSize + cellSize / 2};
  }
};

inline DrawnMap BuildMap(const SectorGrid& grid, int32_t cellSize) {
  DrawnMap drawn;
  drawn.knowledge.reset(new YLKnowledgeMap);
  drawn.cellSize = cellSize;
  const int32_t rows = static_cast<int32_t>(grid.size());
  const int32_t columns = rows > 0 ? static_cast<int32_t>(grid[0].size()) : 0;
  YLKnowledgeMap& knowledge = *drawn.knowledge;
  knowledge.Allocate(columns * cellSize, rows * cellSize);
  YLSectors& sectors = *knowledge.GetSectors();

  int32_t sectorCount = 0;
  for (int32_t row = 0; row < rows; ++row) {
    for (int32_t column = 0; column < columns; ++column) {
      const int32_t id = grid[row][column];
      sectorCount = std::max(sectorCount, id + 1);
      for (int32_t y = 0; y < cellSize; ++y) {
        for (int32_t x = 0; x < cellSize; ++x) {
          knowledge.SetSector(column * cellSize + x, row * cellSize + y,
                              id >= 0 ? static_cast<uint8_t>(id) : kNoSector);
        }
      }
    }
  }
  for (int32_t id = 0; id < sectorCount; ++id) {
    auto* sector = new YLSector;
    sector->SetID(static_cast<uint8_t>(id));
    sector->SetWalkable();
    sectors.AppendSector(sector);
  }

  std::map<std::pair<int32_t, int32_t>, int32_t> vertexIndex;
  const auto vertexAt = [&](int32_t column, int32_t row) {
    const std::pair<int32_t, int32_t> point{column * cellSize, row * cellSize};
    const auto found = vertexIndex.find(point);
    if (found != vertexIndex.end()) {
      return found->second;
    }
    const int32_t index = sectors.GetVertexCount();
    sectors.AppendVertex(new YLVertex(point.first, point.second));
    vertexIndex.emplace(point, index);
    return index;
  };
  const auto idAt = [&](int32_t column, int32_t row) {
    return row >= 0 && row < rows && column >= 0 && column < columns ? grid[row][column] : -1;
  };
  const auto addBorder = [&](int32_t first, int32_t second, int32_t vertexA, int32_t vertexB) {
    auto* border = new YLSectorBorder;
    border->SetA(vertexA);
    border->SetB(vertexB);
    const int32_t left = first >= 0 ? first : second;
    const int32_t right = first >= 0 ? second : -1;
    border->SetLeft(sectors.GetSector(left));
    border->SetRight(right >= 0 ? sectors.GetSector(right) : nullptr);
    sectors.AppendBorder(border);
    sectors.GetSector(left)->AddBorder(border);
    if (right >= 0) {
      sectors.GetSector(right)->AddBorder(border);
    }
  };
  // One pass along every grid line: horizontal lines between rows, then
  // vertical lines between columns; a border per stretch of equal sides.
  const auto scanLine = [&](int32_t length, auto sidesAt, auto pointAt) {
    int32_t runStart = 0;
    for (int32_t at = 1; at <= length; ++at) {
      if (at < length && sidesAt(at) == sidesAt(runStart)) {
        continue;
      }
      const auto [first, second] = sidesAt(runStart);
      if (first != second) {
        const auto [ax, ay] = pointAt(runStart);
        const auto [bx, by] = pointAt(at);
        addBorder(first, second, vertexAt(ax, ay), vertexAt(bx, by));
      }
      runStart = at;
    }
  };
  for (int32_t line = 0; line <= rows; ++line) {
    scanLine(
        columns,
        [&](int32_t at) {
          return std::pair{idAt(at, line - 1), idAt(at, line)};
        },
        [&](int32_t at) {
          return std::pair{at, line};
        });
  }
  for (int32_t line = 0; line <= columns; ++line) {
    scanLine(
        rows,
        [&](int32_t at) {
          return std::pair{idAt(line - 1, at), idAt(line, at)};
        },
        [&](int32_t at) {
          return std::pair{line, at};
        });
  }
  return drawn;
}

// A map drawn as text: each letter a sector ('A' is 0, 'B' 1, ...), '.' no
// sector.
inline DrawnMap DrawMap(const std::vector<std::string>& rows, int32_t cellSize) {
  SectorGrid grid;
  for (const std::string& text : rows) {
    std::vector<int32_t> row;
    for (char character : text) {
      row.push_back(character == '.' ? -1 : character - 'A');
    }
    grid.push_back(row);
  }
  return BuildMap(grid, cellSize);
}

// A map of sectorCount rectangles over columns x rows blocks, cut by a fixed
// seed: the largest rectangle (the first of equal ones) is split across its
// longer side until there are enough, so sectors meet in T-junctions and
// have between 2 and a dozen neighbours. Each border with two sides then
// gets random flags: closed on foot about one time in six, without the
// vehicle bit one time in three, and random special bits.
inline DrawnMap GenerateMap(uint32_t seed, int32_t sectorCount, int32_t columns, int32_t rows,
                            int32_t cellSize) {
  struct Rectangle {
    int32_t left, top, right, bottom;
    int32_t Area() const { return (right - left) * (bottom - top); }
  };
  std::mt19937 random(seed);  // the engine's sequence is fixed; no distributions
  std::vector<Rectangle> rectangles = {{0, 0, columns, rows}};
  while (static_cast<int32_t>(rectangles.size()) < sectorCount) {
    size_t largest = 0;
    for (size_t index = 1; index < rectangles.size(); ++index) {
      if (rectangles[index].Area() > rectangles[largest].Area()) {
        largest = index;
      }
    }
    Rectangle& cut = rectangles[largest];
    Rectangle added = cut;
    if (cut.right - cut.left >= cut.bottom - cut.top) {
      const int32_t at =
          cut.left + 1 +
          static_cast<int32_t>(random() % static_cast<uint32_t>(cut.right - cut.left - 1));
      added.left = at;
      cut.right = at;
    } else {
      const int32_t at =
          cut.top + 1 +
          static_cast<int32_t>(random() % static_cast<uint32_t>(cut.bottom - cut.top - 1));
      added.top = at;
      cut.bottom = at;
    }
    rectangles.push_back(added);
  }
  SectorGrid grid(static_cast<size_t>(rows),
                  std::vector<int32_t>(static_cast<size_t>(columns), -1));
  for (size_t id = 0; id < rectangles.size(); ++id) {
    for (int32_t row = rectangles[id].top; row < rectangles[id].bottom; ++row) {
      for (int32_t column = rectangles[id].left; column < rectangles[id].right; ++column) {
        grid[row][column] = static_cast<int32_t>(id);
      }
    }
  }
  DrawnMap drawn = BuildMap(grid, cellSize);
  YLSectors& sectors = drawn.Sectors();
  for (int32_t index = 0; index < sectors.GetBorderCount(); ++index) {
    YLSectorBorder* border = sectors.GetBorder(index);
    if (border->HasBothSides()) {
      border->SetPassable(random() % 6 != 0);
      border->SetVehiclePassable(random() % 3 != 0);
      border->SetLimitedPassable(true, random() % 2 != 0);
      border->SetLimitedPassable(false, random() % 2 != 0);
    }
  }
  return drawn;
}

// ---- Reading routes ----

struct RoutePoint {
  int32_t x, y;
  int32_t border;  // the crossed border's index in the map; -1 at the ends
  bool operator==(const RoutePoint&) const = default;
};

inline std::vector<RoutePoint> ReadRoute(const YLPathPlanNode* first, const YLSectors& sectors) {
  std::vector<RoutePoint> route;
  for (const YLPathPlanNode* node = first; node != nullptr; node = node->next.get()) {
    route.push_back(
        {node->x, node->y, node->border != nullptr ? sectors.IndexOfBorder(node->border) : -1});
  }
  return route;
}

// The indexes of the crossed borders of a route, in order.
inline std::vector<int32_t> CrossedBorders(const std::vector<RoutePoint>& route) {
  std::vector<int32_t> borders;
  for (const RoutePoint& point : route) {
    if (point.border >= 0) {
      borders.push_back(point.border);
    }
  }
  return borders;
}

}  // namespace path_testing
