// The import of a level's sector shapes from the text export of the modelling
// tool in which designers draw them. Only three kinds of line matter: the
// start of a shape, one knot (point) of the current shape, and the end of the
// shape; everything else is skipped.

#include <charconv>
#include <cmath>
#include <cstring>
#include <memory>

#include "base/DebugFormat.h"
#include "base/LumoFileStream.h"
#include "navigation/YLKnowledgeMap.h"
#include "navigation/YLSectors.h"

namespace {

constexpr char kShapeStart[] = "\t*SHAPE_LINE ";
constexpr char kShapeKnot[] = "\t\t*SHAPE_VERTEX_KNOT";
constexpr char kShapeEnd[] = "\t}";
// Longer lines are cut; no line that matters comes near it.
constexpr int32_t kLineCapacity = 1024;
// Map units are cells and no level comes near this; a knot beyond it is
// clamped, so the geometry that follows never overflows.
constexpr int32_t kMaxCoordinate = 1 << 20;

bool StartsWith(const char* line, const char* keyword) {
  return std::strncmp(line, keyword, std::strlen(keyword)) == 0;
}

// Reads the fields of one line as the C library's scanf would with "%s",
// "%d" and "%f" in the C locale, whatever the process locale: each field
// skips leading white space, and the scan stops at the first field that does
// not match, leaving that field and the rest untouched.
class LineScanner {
 public:
  explicit LineScanner(const char* line) : cursor_(line), end_(line + std::strlen(line)) {}

  bool Word() {
    SkipSpace();
    const char* start = cursor_;
    while (cursor_ < end_ && !IsSpace(*cursor_)) {
      ++cursor_;
    }
    return matching_ = matching_ && cursor_ > start;
  }

  bool Integer(int32_t& value) { return Number(value); }
  bool Single(float& value) { return Number(value); }

 private:
  static bool IsSpace(char character) {
    return character == ' ' || character == '\t' || character == '\n' || character == '\r' ||
           character == '\v' || character == '\f';
  }
  void SkipSpace() {
    while (cursor_ < end_ && IsSpace(*cursor_)) {
      ++cursor_;
    }
  }
  template <typename Value>
  bool Number(Value& value) {
    if (!matching_) {
      return false;
    }
    SkipSpace();
    // from_chars takes no plus sign; scanf does.
    const char* start = cursor_ < end_ && *cursor_ == '+' ? cursor_ + 1 : cursor_;
    Value parsed{};
    const auto [stop, error] = std::from_chars(start, end_, parsed);
    if (error != std::errc() || stop == start) {
      return matching_ = false;
    }
    value = parsed;
    cursor_ = stop;
    return true;
  }

  const char* cursor_;
  const char* end_;
  bool matching_ = true;
};

// A knot coordinate truncated towards zero, within the map's bounds.
int32_t Truncated(float value) {
  if (std::isnan(value)) {
    return 0;
  }
  const float truncated = std::trunc(value);
  if (truncated > static_cast<float>(kMaxCoordinate)) {
    return kMaxCoordinate;
  }
  if (truncated < -static_cast<float>(kMaxCoordinate)) {
    return -kMaxCoordinate;
  }
  return static_cast<int32_t>(truncated);
}

class ShapeImport {
 public:
  explicit ShapeImport(YLSectors& map) : map_(map) {}

  void Line(const char* line) {
    if (sector_ == nullptr) {
      if (StartsWith(line, kShapeStart)) {
        StartShape(line);
      }
    } else if (StartsWith(line, kShapeKnot)) {
      AddKnot(line);
    } else if (StartsWith(line, kShapeEnd)) {
      CloseShape();
    }
  }

 private:
  void StartShape(const char* line) {
    LineScanner scanner(line);
    int32_t number = 0;
    scanner.Word();
    scanner.Integer(number);
    DebugPrint(" new sector found (%d), reading...\n", number);
    auto* sector = new YLSector;
    // A sector's id is the low byte of its shape number.
    sector->SetID(static_cast<uint8_t>(number & 0xFF));
    const int32_t index = map_.GetSectorCount();
    if (!map_.AppendSector(sector)) {
      return;
    }
    if (sector->ID != index) {
      // Ids are used as indexes into Sectors: shapes are numbered 0 to n - 1
      // in file order.
      DebugPrint("  sector id %d is not its index %d\n", sector->ID.Get(), index);
    }
    sector_ = sector;
    firstVertex_ = -1;
    previousVertex_ = -1;
  }

  void AddKnot(const char* line) {
    LineScanner scanner(line);
    int32_t knot = 0;
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    scanner.Word() && scanner.Integer(knot) && scanner.Single(x) && scanner.Single(y) &&
        scanner.Single(z);
    // The shapes lie in the export's x-z plane; z points the other way.
    const int32_t vertexX = Truncated(x);
    const int32_t vertexY = -Truncated(z);
    int32_t vertex = map_.FindVertex(vertexX, vertexY);
    if (vertex < 0) {
      vertex = map_.GetVertexCount();
      if (!map_.AppendVertex(new YLVertex(vertexX, vertexY))) {
        return;
      }
    }
    DebugPrint("  new vertex found %d(%d,%d)\n", vertex, vertexX, vertexY);
    if (previousVertex_ >= 0) {
      Join(previousVertex_, vertex);
    } else {
      firstVertex_ = vertex;
    }
    previousVertex_ = vertex;
  }

  void CloseShape() {
    DebugPrint("  closing the sector\n");
    if (previousVertex_ >= 0) {
      Join(previousVertex_, firstVertex_);
    }
    sector_->SetWalkable();
    sector_ = nullptr;
  }

  // An edge drawn a second time, by the neighbouring shape, is the same
  // border seen from its other side.
  void Join(int32_t from, int32_t to) {
    const int32_t existing = map_.FindBorderByVertices(from, to);
    if (existing >= 0) {
      YLSectorBorder* border = map_.GetBorder(existing);
      if (border->Right != nullptr) {
        DebugPrint("  border %d already has two sectors\n", existing);
      }
      border->SetRight(sector_);
      sector_->AddBorder(border);
      return;
    }
    auto* border = new YLSectorBorder;
    border->SetA(from);
    border->SetB(to);
    border->SetLeft(sector_);
    if (map_.AppendBorder(border)) {
      sector_->AddBorder(border);
    }
  }

  YLSectors& map_;
  YLSector* sector_ = nullptr;  // the shape being read, null between shapes
  int32_t firstVertex_ = -1;
  int32_t previousVertex_ = -1;
};

}  // namespace

bool YLSectors::Create(const char* fileName, YLKnowledgeMap* knowledgeMap) {
  // The shape file is only read: a missing file fails the import and is not
  // created empty.
  auto stream = std::unique_ptr<LumoFileStream, tObjectDestroyer>(new LumoFileStream);
  if (fileName == nullptr ||
      !stream->Open(fileName, FileModeRead, OpenModeExisting, ShareModeDenyWrite, 1, 0)) {
    DebugPrint("YLSectors::Create() Couldn't open sector file %s\n",
               fileName != nullptr ? fileName : "(null)");
    return false;
  }
  DebugPrint("YLSectors::Create(%s)\n", fileName);
  ShapeImport import(*this);
  char line[kLineCapacity];
  for (;;) {
    const int32_t length = stream->ReadLine(line, sizeof line);
    if (length == 0) {
      if (stream->IsFailed()) {
        break;
      }
      continue;
    }
    import.Line(line);
  }
  DebugPrint("done");
  stream->Close();
  stream.reset();
  if (knowledgeMap != nullptr) {
    knowledgeMap->AssignCellSectors(*this);
  }
  DebugDump();
  return true;
}
