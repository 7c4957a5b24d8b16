#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "base/LumoMemoryStream.h"
#include "fuzz/seeds/Seeds.h"
#include "navigation/SectorShapeText.h"
#include "navigation/YLKnowledgeMap.h"
#include "navigation/YLSectorPath.h"
#include "platform/FileSystem.h"

namespace {

// Two sectors side by side, and a corner of the grid that no shape covers.
const std::vector<SectorShape> kLevelShapes = {
    {{0, 0}, {16, 0}, {16, 32}, {0, 32}},
    {{16, 0}, {32, 0}, {32, 16}, {16, 32}},
};

const std::vector<SectorShape> kThreeInARow = {
    {{0, 0}, {10, 0}, {10, 10}, {0, 10}},
    {{10, 0}, {20, 0}, {20, 10}, {10, 10}},
    {{20, 0}, {30, 5}, {20, 10}},
};

std::string Record(LumoObject& object) {
  LumoMemoryStream stream;
  if (!stream.OpenNew(64, 1, 0) || stream.SetGrowth(4096) == 0 || !object.SaveObject(&stream, 0)) {
    return "";
  }
  return std::string(reinterpret_cast<const char*>(stream.buffer), stream.position);
}

std::string PropertyMap(int32_t width, int32_t height) {
  std::string bytes(static_cast<size_t>(width) * static_cast<size_t>(height), '\x01');
  for (size_t at = 5; at < bytes.size(); at += 37) {
    bytes[at] = '\0';
  }
  return bytes;
}

// A knowledge map built the way a level builds it, from its three files.
std::unique_ptr<YLKnowledgeMap, tObjectDestroyer> BuiltMap(const std::filesystem::path& folder) {
  const std::filesystem::path work = folder / "building";
  std::filesystem::create_directories(work);
  const std::string propertyName = platform::GameFileName((work / "level.map").string());
  const std::string shapeName = platform::GameFileName((work / "level.ase").string());
  const std::string infoName = platform::GameFileName((work / "level.inf").string());
  WriteSeed(work, "level.map", PropertyMap(32, 32));
  WriteSeed(work, "level.ase", FormatSectorShapes(kLevelShapes));
  WriteSeed(work, "level.inf", "32\r\n32\r\n" + propertyName + "\r\n" + shapeName + "\r\n");
  std::unique_ptr<YLKnowledgeMap, tObjectDestroyer> map(new YLKnowledgeMap);
  const bool built = map->Create(infoName.c_str());
  std::filesystem::remove_all(work);
  return built ? std::move(map) : nullptr;
}

std::string CreateInput(const std::string& opening, const std::string& properties,
                        const std::string& shapes) {
  std::string input(1, static_cast<char>(opening.size()));
  input += opening;
  input += static_cast<char>(properties.size() >> 8);
  input += static_cast<char>(properties.size() & 0xFF);
  return input + properties + shapes;
}

}  // namespace

void WriteSectorShapeSeeds(const std::filesystem::path& folder) {
  const std::string level = FormatSectorShapes(kLevelShapes);
  WriteSeed(folder, "written-level.ase", level);
  WriteSeed(folder, "written-three-in-a-row.ase", FormatSectorShapes(kThreeInARow));
  WriteSeed(folder, "damaged-cut-short.ase", level.substr(0, level.size() / 2));
  WriteSeed(folder, "damaged-shape-300.ase",
            "\t*SHAPE_LINE 300 {\n\t\t*SHAPE_VERTEX_KNOT 0\t10.9\t5.0\t20.9\n"
            "\t\t*SHAPE_VERTEX_KNOT 1 nan 0 -1e30\n\t\t*SHAPE_VERTEX_KNOT 2 +3\n\t}\n");
  WriteSeed(folder, "damaged-crossed-edges.ase",
            "\t*SHAPE_LINE 0 {\n\t\t*SHAPE_VERTEX_KNOT 0 0 0 0\n\t\t*SHAPE_VERTEX_KNOT 1 20 0 -20\n"
            "\t\t*SHAPE_VERTEX_KNOT 2 20 0 0\n\t\t*SHAPE_VERTEX_KNOT 3 0 0 -20\n\t}\n"
            "\t*SHAPE_LINE 1 {\n\t\t*SHAPE_VERTEX_KNOT 0 20 0 -20\n\t\t*SHAPE_VERTEX_KNOT 1 0 0 "
            "0\n\t}\n");
}

void WriteKnowledgeMapSeeds(const std::filesystem::path& folder) {
  std::unique_ptr<YLKnowledgeMap, tObjectDestroyer> built = BuiltMap(folder);
  if (built != nullptr) {
    const std::string record = Record(*built);
    WriteSeed(folder, "written-level.bin", record);
    WriteSeed(folder, "damaged-cut-short.bin", record.substr(0, record.size() - 9));
    WriteSeed(folder, "written-sectors.bin", Record(*built->GetSectors()));
  }
  YLKnowledgeMap empty;
  WriteSeed(folder, "written-empty.bin", Record(empty));
  YLSectorPath path;
  const int32_t route[] = {0, 1, 4};
  path.SetRoute(route, 3);
  WriteSeed(folder, "written-route.bin", Record(path));
}

void WriteKnowledgeMapCreateSeeds(const std::filesystem::path& folder) {
  const std::string level = FormatSectorShapes(kLevelShapes);
  WriteSeed(folder, "written-level.bin", CreateInput("32\r\n32", PropertyMap(32, 32), level));
  WriteSeed(folder, "written-wide.bin",
            CreateInput("64\n32", PropertyMap(64, 32), FormatSectorShapes(kThreeInARow)));
  WriteSeed(folder, "damaged-width-31.bin", CreateInput("31\n32", PropertyMap(31, 32), level));
  WriteSeed(folder, "damaged-short-properties.bin",
            CreateInput("32\n32", PropertyMap(32, 20), level));
}
