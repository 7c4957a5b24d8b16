#include "navigation/SectorShapeText.h"

#include <cstdio>

namespace {

std::string Formatted(const char* format, int32_t first, int32_t second = 0, int32_t third = 0) {
  char line[128];
  std::snprintf(line, sizeof line, format, first, second, third);
  return line;
}

}  // namespace

std::string FormatSectorShapes(const std::vector<SectorShape>& shapes) {
  std::string text = "*3DSMAX_ASCIIEXPORT\t200\n*COMMENT \"sector shapes\"\n";
  for (size_t number = 0; number < shapes.size(); ++number) {
    const SectorShape& shape = shapes[number];
    const auto shapeNumber = static_cast<int32_t>(number);
    text += "*SHAPEOBJECT {\n";
    text += Formatted("\t*NODE_NAME \"Sector%02d\"\n", shapeNumber);
    text += "\t*SHAPE_LINECOUNT 1\n";
    text += Formatted("\t*SHAPE_LINE %d {\n", shapeNumber);
    text += "\t\t*SHAPE_CLOSED\n";
    text += Formatted("\t\t*SHAPE_VERTEXCOUNT %d\n", static_cast<int32_t>(shape.size()));
    for (size_t knot = 0; knot < shape.size(); ++knot) {
      // Written as the tool writes its floats; -0 never appears.
      text += Formatted("\t\t*SHAPE_VERTEX_KNOT %d\t%d.0000\t0.0000\t%d.0000\n",
                        static_cast<int32_t>(knot), shape[knot].x,
                        shape[knot].y == 0 ? 0 : -shape[knot].y);
    }
    text += "\t}\n";
    text += "}\n";
  }
  return text;
}
