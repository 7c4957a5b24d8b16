#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The writer of sector shape texts, the form the shape import reads: each
// shape a closed line of knots in the export's x-z plane, numbered 0 to n - 1
// in order (a sector's id is its shape number, and ids index the map's
// sectors). Tests, fuzz seeds and the data tool make their levels with it.

struct SectorShapePoint {
  int32_t x = 0;  // map units (cells)
  int32_t y = 0;
};

using SectorShape = std::vector<SectorShapePoint>;

// The whole text, with a scene header and one shape object per shape. Map
// point (x, y) becomes the knot (x, 0, -y).
std::string FormatSectorShapes(const std::vector<SectorShape>& shapes);
