#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "base/LumoObject.h"
#include "navigation/YLSectors.h"

// The per-cell picture of a level that movement and planning consult: one
// 32-bit word per cell of the level's grid, and the level's sector map.
//
// The cell word:
//   bits 0-15   unit id standing there, 0 for none
//   bit 16      occupied (blocked)
//   bit 17      water
//   bit 18      fire
//   bit 19      gas
//   bit 20      mark A (setting it also sets mark B)
//   bit 21      mark B (clearing it also clears mark A and the unit id)
//   bit 22      mark C
//   bits 24-31  sector id, 255 for none
//
// Every query and change takes cell coordinates and checks them: outside the
// grid a query answers a neutral value (off the map is blocked and
// sectorless) and a change does nothing.
class YLKnowledgeMap : public LumoObject {
 public:
  static constexpr uint32_t kUnitMask = 0x0000FFFF;
  static constexpr uint32_t kOccupied = 1u << 16;
  static constexpr uint32_t kWater = 1u << 17;
  static constexpr uint32_t kFire = 1u << 18;
  static constexpr uint32_t kGas = 1u << 19;
  static constexpr uint32_t kMarkA = 1u << 20;
  static constexpr uint32_t kMarkB = 1u << 21;
  static constexpr uint32_t kMarkC = 1u << 22;
  static constexpr uint32_t kNotFreeMask = kOccupied | kWater | kMarkA | kMarkB;  // 0x330000
  static constexpr int kSectorShift = 24;
  static constexpr int kFlagsShift = 16;
  // The grid sizes an info file may give.
  static constexpr int32_t kMinInfoSize = 32;
  static constexpr int32_t kMaxInfoSize = 1024;

  // An empty map with an empty sector map (which becomes the current one).
  YLKnowledgeMap();
  ~YLKnowledgeMap() override;

  const char* GetClassName() const override;
  // Frees the grid and destroys the sector map.
  void DoFree() override;

  int32_t GetWidth() const { return width; }
  int32_t GetHeight() const { return height; }
  YLSectors* GetSectors() const { return sectors.get(); }
  bool IsInside(int32_t x, int32_t y) const {
    return cells != nullptr && x >= 0 && y >= 0 && x < width && y < height;
  }

  // ---- Queries ----

  uint32_t GetCell(int32_t x, int32_t y) const { return IsInside(x, y) ? Cell(x, y) : 0; }
  int32_t GetUnit(int32_t x, int32_t y) const {
    return static_cast<int32_t>(GetCell(x, y) & kUnitMask);
  }
  uint8_t GetSector(int32_t x, int32_t y) const {
    return IsInside(x, y) ? static_cast<uint8_t>(Cell(x, y) >> kSectorShift) : kNoSector;
  }
  uint8_t GetFlagsByte(int32_t x, int32_t y) const {
    return static_cast<uint8_t>(GetCell(x, y) >> kFlagsShift);
  }
  bool IsOccupied(int32_t x, int32_t y) const {
    return !IsInside(x, y) || (Cell(x, y) & kOccupied) != 0;
  }
  bool IsWater(int32_t x, int32_t y) const { return (GetCell(x, y) & kWater) != 0; }
  bool IsOnFire(int32_t x, int32_t y) const { return (GetCell(x, y) & kFire) != 0; }
  bool IsGassed(int32_t x, int32_t y) const { return (GetCell(x, y) & kGas) != 0; }
  bool HasMarkA(int32_t x, int32_t y) const { return (GetCell(x, y) & kMarkA) != 0; }
  bool HasMarkB(int32_t x, int32_t y) const { return (GetCell(x, y) & kMarkB) != 0; }
  bool HasBit22(int32_t x, int32_t y) const { return (GetCell(x, y) & kMarkC) != 0; }
  bool IsFree(int32_t x, int32_t y) const {
    return IsInside(x, y) && (Cell(x, y) & kNotFreeMask) == 0;
  }

  // ---- Changes ----

  // An id of 0x10000 or more is refused with a log line.
  void SetUnit(int32_t x, int32_t y, int32_t id);
  void SetSector(int32_t x, int32_t y, uint8_t id);
  // Clearing also clears mark B (and with it mark A and the unit id).
  void SetOccupied(int32_t x, int32_t y, bool on);
  void SetFire(int32_t x, int32_t y, bool on);
  void SetGas(int32_t x, int32_t y, bool on);
  // Setting mark A sets mark B too; clearing clears mark A only.
  void SetMarkA(int32_t x, int32_t y, bool on);
  // Clearing mark B clears mark A and the unit id too.
  void SetMarkB(int32_t x, int32_t y, bool on);
  void SetMarkC(int32_t x, int32_t y, bool on);
  void SetCell(int32_t x, int32_t y, uint32_t word);

  // Frees the old grid and makes a zeroed one. False (and no grid) for a
  // negative size or when memory runs out.
  bool Allocate(int32_t newWidth, int32_t newHeight);
  // A new grid in which each cell inside both the old and the new bounds
  // keeps its word; the others are 0. False, the old grid kept, on failure.
  bool Resize(int32_t newWidth, int32_t newHeight);

  // Gives every cell the id of the first sector of map, in the order of its
  // Sectors, whose closed shape (the edges of its borders) contains the
  // cell's centre (x + 1/2, y + 1/2); cells that no shape covers get
  // kNoSector. Map units are cells, so the test runs exactly in doubled
  // integer coordinates, where a centre never meets a vertex; a centre on a
  // slanted edge lies in the shape (a shared edge's cells go to the first of
  // its two sectors).
  void AssignCellSectors(const YLSectors& map);

  // ---- Only in the game program's build ----

  // Builds the map from a level's info file (width, height, the property
  // map's name, the sector shape file's name). False, with the failed step's
  // log line, on any failure.
  bool Create(const char* infoFileName);
  // Writes a cell's description into text (at most capacity bytes, the
  // terminator included).
  void DumpCell(int32_t x, int32_t y, char* text, size_t capacity) const;

  // ---- Stream form ----

  // Width and height (big-endian), then the cells as little-endian words.
  virtual bool LoadData(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveData(LumoStream* stream, const LumoProperty* property);
  // A complete object record of the sector map.
  virtual bool LoadSectors(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveSectors(LumoStream* stream, const LumoProperty* property);

 private:
  uint32_t& Cell(int32_t x, int32_t y) const {
    return cells[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
  }
  // Changes the cell's bits under mask; outside the grid, logs the message
  // (when one is given) with the arguments.
  void ChangeBits(int32_t x, int32_t y, uint32_t mask, bool on, const char* outsideMessage);
  size_t CellCount() const { return static_cast<size_t>(width) * static_cast<size_t>(height); }

  std::unique_ptr<uint32_t[]> cells;  // row by row, index y * width + x
  int32_t width = 0;
  int32_t height = 0;
  std::unique_ptr<YLSectors, tObjectDestroyer> sectors;
};
