#include "navigation/YLKnowledgeMap.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "base/DebugFormat.h"
#include "base/LumoStream.h"
#include "navigation/NavigationFields.h"

namespace {

LumoClassOf<YLKnowledgeMap> classOfYLKnowledgeMap(kVersion_1_6_0_6, "YLKnowledgeMap", "LumoObject");
NAVIGATION_FIELD_PROPERTY(YLKnowledgeMap, Data, PropertyPointer, "tPointer");
NAVIGATION_FIELD_PROPERTY(YLKnowledgeMap, Sectors, PropertyPointer, "tPointer");

// Far beyond the largest level (1024 x 1024 cells), and small enough that a
// damaged size never makes the map allocate gigabytes.
constexpr int64_t kMaxCells = int64_t{1} << 24;

constexpr uint32_t kSectorMask = 0xFFu << YLKnowledgeMap::kSectorShift;

}  // namespace

YLKnowledgeMap::YLKnowledgeMap() : sectors(new YLSectors) {}

YLKnowledgeMap::~YLKnowledgeMap() = default;

const char* YLKnowledgeMap::GetClassName() const {
  return "YLKnowledgeMap";
}

void YLKnowledgeMap::DoFree() {
  cells.reset();
  width = 0;
  height = 0;
  sectors.reset();
  LumoObject::DoFree();
}

// ---- Changes ----

void YLKnowledgeMap::ChangeBits(int32_t x, int32_t y, uint32_t mask, bool on,
                                const char* outsideMessage) {
  if (!IsInside(x, y)) {
    if (outsideMessage != nullptr) {
      DebugPrint(outsideMessage, x, y, on ? 1 : 0);
    }
    return;
  }
  uint32_t& word = Cell(x, y);
  word = on ? (word | mask) : (word & ~mask);
}

void YLKnowledgeMap::SetUnit(int32_t x, int32_t y, int32_t id) {
  if (id < 0 || id > static_cast<int32_t>(kUnitMask)) {
    DebugPrint("YLKnowledgeMap::SetUnit(%d,%d,%d) -> unitID too big\n", x, y, id);
    return;
  }
  if (IsInside(x, y)) {
    uint32_t& word = Cell(x, y);
    word = (word & ~kUnitMask) | static_cast<uint32_t>(id);
  }
}

void YLKnowledgeMap::SetSector(int32_t x, int32_t y, uint8_t id) {
  if (IsInside(x, y)) {
    uint32_t& word = Cell(x, y);
    word = (word & ~kSectorMask) | (static_cast<uint32_t>(id) << kSectorShift);
  }
}

void YLKnowledgeMap::SetOccupied(int32_t x, int32_t y, bool on) {
  ChangeBits(x, y, kOccupied, on, "YLKnowledgeMap::SetOccupied(%d,%d,%d) -> invalid position\n");
  if (!on) {
    SetMarkB(x, y, false);
  }
}

void YLKnowledgeMap::SetFire(int32_t x, int32_t y, bool on) {
  ChangeBits(x, y, kFire, on, "YLKnowledgeMap::SetFire(%d,%d,%d) -> invalid position\n");
}

void YLKnowledgeMap::SetGas(int32_t x, int32_t y, bool on) {
  ChangeBits(x, y, kGas, on, "YLKnowledgeMap::SetGas(%d,%d,%d) -> invalid position\n");
}

void YLKnowledgeMap::SetMarkA(int32_t x, int32_t y, bool on) {
  ChangeBits(x, y, on ? kMarkA | kMarkB : kMarkA, on, nullptr);
}

void YLKnowledgeMap::SetMarkB(int32_t x, int32_t y, bool on) {
  ChangeBits(x, y, on ? kMarkB : kMarkB | kMarkA | kUnitMask, on, nullptr);
}

void YLKnowledgeMap::SetMarkC(int32_t x, int32_t y, bool on) {
  ChangeBits(x, y, kMarkC, on, nullptr);
}

void YLKnowledgeMap::SetCell(int32_t x, int32_t y, uint32_t word) {
  if (IsInside(x, y)) {
    Cell(x, y) = word;
  }
}

namespace {

// A zeroed grid of width x height cells; null for a size that is negative,
// beyond kMaxCells or empty, or when memory runs out (ok tells which).
std::unique_ptr<uint32_t[]> NewGrid(int32_t width, int32_t height, bool& ok) {
  ok = width >= 0 && height >= 0 && int64_t{width} * height <= kMaxCells;
  const size_t count = ok ? static_cast<size_t>(width) * static_cast<size_t>(height) : 0;
  if (count == 0) {
    return nullptr;
  }
  std::unique_ptr<uint32_t[]> grid(new (std::nothrow) uint32_t[count]());
  ok = grid != nullptr;
  return grid;
}

}  // namespace

bool YLKnowledgeMap::Allocate(int32_t newWidth, int32_t newHeight) {
  cells.reset();
  width = 0;
  height = 0;
  bool ok = false;
  cells = NewGrid(newWidth, newHeight, ok);
  if (!ok) {
    return false;
  }
  width = newWidth;
  height = newHeight;
  return true;
}

bool YLKnowledgeMap::Resize(int32_t newWidth, int32_t newHeight) {
  bool ok = false;
  std::unique_ptr<uint32_t[]> grid = NewGrid(newWidth, newHeight, ok);
  if (!ok) {
    return false;
  }
  const int32_t keptWidth = std::min(width, newWidth);
  const int32_t keptHeight = std::min(height, newHeight);
  for (int32_t y = 0; y < keptHeight && cells != nullptr; ++y) {
    for (int32_t x = 0; x < keptWidth; ++x) {
      grid[static_cast<size_t>(y) * static_cast<size_t>(newWidth) + static_cast<size_t>(x)] = Cell(x, y);
    }
  }
  cells = std::move(grid);
  width = newWidth;
  height = newHeight;
  return true;
}

// ---- Cell sectors ----

namespace {

// Floor division for a positive divisor.
__int128 FloorDivide(__int128 numerator, __int128 divisor) {
  const __int128 quotient = numerator / divisor;
  return (numerator % divisor != 0 && numerator < 0) ? quotient - 1 : quotient;
}

struct Edge {
  int64_t x1, y1, x2, y2;  // doubled coordinates
};

// Where an edge crosses a row's centre line, as the columns whose centres
// lie at or right of it (from) and strictly right of it (past). The two
// differ only for a centre exactly on the edge, which the closed shape holds:
// a span entered there starts with that column, and one left there ends after it.
struct Crossing {
  int64_t from;
  int64_t past;
  bool operator<(const Crossing& other) const {
    return past != other.past ? past < other.past : from < other.from;
  }
};

// The edges of a sector's borders in doubled coordinates; borders whose
// vertices are missing add nothing.
std::vector<Edge> DoubledEdgesOf(const YLSector& sector, const YLSectors& map) {
  std::vector<Edge> edges;
  for (int32_t position = 0; position < sector.GetBorderCount(); ++position) {
    const YLSectorBorder* border = sector.GetBorder(position);
    const YLVertex* first = border != nullptr ? map.GetVertex(border->A) : nullptr;
    const YLVertex* second = border != nullptr ? map.GetVertex(border->B) : nullptr;
    if (first != nullptr && second != nullptr) {
      edges.push_back({2 * int64_t{first->X}, 2 * int64_t{first->Y}, 2 * int64_t{second->X},
                       2 * int64_t{second->Y}});
    }
  }
  return edges;
}

}  // namespace

void YLKnowledgeMap::AssignCellSectors(const YLSectors& map) {
  if (cells == nullptr) {
    return;
  }
  // Which cells a sector has claimed: the first sector in map order wins.
  std::vector<uint8_t> claimed(CellCount(), 0);
  std::vector<Crossing> crossings;
  for (int32_t index = 0; index < map.GetSectorCount(); ++index) {
    const YLSector* sector = map.GetSector(index);
    if (sector == nullptr) {
      continue;
    }
    const std::vector<Edge> edges = DoubledEdgesOf(*sector, map);
    if (edges.empty()) {
      continue;
    }
    int64_t top = edges.front().y1;
    int64_t bottom = top;
    for (const Edge& edge : edges) {
      top = std::min({top, edge.y1, edge.y2});
      bottom = std::max({bottom, edge.y1, edge.y2});
    }
    // Rows whose centre line 2y + 1 lies between the shape's extremes.
    const int64_t firstRow =
        std::max<int64_t>(0, static_cast<int64_t>(FloorDivide(top - 1, 2)) + 1);
    const int64_t lastRow =
        std::min<int64_t>(height - 1, static_cast<int64_t>(FloorDivide(bottom - 1, 2)));
    for (int64_t row = firstRow; row <= lastRow; ++row) {
      const int64_t centreY = 2 * row + 1;
      crossings.clear();
      for (const Edge& edge : edges) {
        if ((edge.y1 > centreY) == (edge.y2 > centreY)) {
          continue;
        }
        // The crossing lies at x = x1 + (centreY - y1)(x2 - x1) / (y2 - y1),
        // kept as a fraction num / den with den > 0. The centre of column c,
        // 2c + 1, lies right of it when (2c + 1) den > num.
        // The products need more than 64 bits for coordinates read from a
        // damaged stream.
        __int128 den = edge.y2 - edge.y1;
        __int128 num = static_cast<__int128>(edge.x1) * den +
                       static_cast<__int128>(centreY - edge.y1) * (edge.x2 - edge.x1);
        if (den < 0) {
          den = -den;
          num = -num;
        }
        const __int128 from = FloorDivide(num + den - 1, 2 * den);
        const __int128 past = FloorDivide(num - den, 2 * den) + 1;
        const auto clamped = [this](__int128 column) {
          return static_cast<int64_t>(std::clamp<__int128>(column, -1, int64_t{width} + 1));
        };
        crossings.push_back({clamped(from), clamped(past)});
      }
      std::sort(crossings.begin(), crossings.end());
      // Even-odd rule: a centre inside the shape has an odd number of
      // crossings on its left. The shape is closed, so a centre exactly on a
      // slanted edge is inside it; of two shapes sharing that edge, the first
      // in map order claims the cell.
      for (size_t pair = 0; pair + 1 < crossings.size(); pair += 2) {
        const int64_t from = std::max<int64_t>(0, crossings[pair].from);
        const int64_t to = std::min<int64_t>(width, crossings[pair + 1].past);
        for (int64_t column = from; column < to; ++column) {
          const size_t at =
              static_cast<size_t>(row) * static_cast<size_t>(width) + static_cast<size_t>(column);
          if (claimed[at] == 0) {
            claimed[at] = 1;
            cells[at] =
                (cells[at] & ~kSectorMask) | (static_cast<uint32_t>(sector->ID) << kSectorShift);
          }
        }
      }
    }
  }
  for (size_t at = 0; at < CellCount(); ++at) {
    if (claimed[at] == 0) {
      cells[at] |= kSectorMask;
    }
  }
}

// ---- Stream form ----

bool YLKnowledgeMap::SaveData(LumoStream* stream, const LumoProperty*) {
  if (!stream->WriteInteger(width) || !stream->WriteInteger(height)) {
    return false;
  }
  const size_t count = cells != nullptr ? CellCount() : 0;
  std::vector<uint8_t> bytes(count * 4);
  for (size_t at = 0; at < count; ++at) {
    for (int shift = 0; shift < 32; shift += 8) {
      bytes[at * 4 + static_cast<size_t>(shift / 8)] = static_cast<uint8_t>(cells[at] >> shift);
    }
  }
  return bytes.empty() || stream->WriteBlock(bytes.data(), static_cast<uint32_t>(bytes.size()));
}

bool YLKnowledgeMap::LoadData(LumoStream* stream, const LumoProperty*) {
  int32_t storedWidth = 0;
  int32_t storedHeight = 0;
  if (!stream->ReadInteger(storedWidth) || !stream->ReadInteger(storedHeight)) {
    return false;
  }
  if (storedWidth < 0 || storedHeight < 0) {
    DebugPrint("YLKnowledgeMap::LoadFrom() invalid grid size %dx%d\n", storedWidth, storedHeight);
    return false;
  }
  const int64_t count = int64_t{storedWidth} * storedHeight;
  if (count > kMaxCells || !CheckStoredCount(stream, "YLKnowledgeMap", "Data", count, 4)) {
    DebugPrint("YLKnowledgeMap::LoadFrom() grid of %dx%d cells refused\n", storedWidth,
               storedHeight);
    return false;
  }
  std::vector<uint8_t> bytes(static_cast<size_t>(count) * 4);
  if (!bytes.empty() && !stream->ReadBlock(bytes.data(), static_cast<uint32_t>(bytes.size()))) {
    return false;
  }
  if (!Allocate(storedWidth, storedHeight)) {
    DebugPrint("YLKnowledgeMap::LoadFrom() couldn't allocate %ix%i data block\n", storedWidth,
               storedHeight);
    return false;
  }
  for (size_t at = 0; at < static_cast<size_t>(count); ++at) {
    const uint8_t* word = &bytes[at * 4];
    cells[at] = uint32_t{word[0]} | uint32_t{word[1]} << 8 | uint32_t{word[2]} << 16 |
                uint32_t{word[3]} << 24;
  }
  return true;
}

bool YLKnowledgeMap::SaveSectors(LumoStream* stream, const LumoProperty*) {
  return sectors != nullptr && sectors->SaveObject(stream, 0);
}

bool YLKnowledgeMap::LoadSectors(LumoStream* stream, const LumoProperty*) {
  std::unique_ptr<LumoObject, tObjectDestroyer> loaded(LoadObject(stream, nullptr));
  auto* map = dynamic_cast<YLSectors*>(loaded.get());
  if (map == nullptr) {
    DebugPrint("YLKnowledgeMap::LoadFrom() Sectors is not a sector map\n");
    return false;
  }
  loaded.release();
  // The loaded map, created last, is the current one; the old one goes.
  sectors.reset(map);
  return true;
}
