#pragma once

#include <cstdint>
#include <memory>
#include <type_traits>
#include <vector>

#include "base/LumoObject.h"
#include "base/LumoObjects.h"
#include "base/tCollection.h"
#include "base/tList.h"

// The sector map of a level: the walkable ground cut into convex sectors,
// joined by borders; each border is a segment between two vertices of the map
// and separates at most two sectors. Map units are cells. The map is saved
// and loaded as ordinary objects; borders and sectors store indexes that are
// resolved against the current sector map of the build.

class YLKnowledgeMap;
class YLSector;
class YLSectors;

using tSectorList = std::unique_ptr<tDataList, tObjectDestroyer>;

// The sector map created last in this build; null once that map is freed.
// Borders and sectors resolve their stored indexes against it, and the path
// finder reads it.
YLSectors* GetCurrentSectorMap();
// Makes map the current sector map again (null for none): for a caller that
// read maps it then threw away, such as a refused saved game, and must hand
// the build back the map it had.
void SetCurrentSectorMap(YLSectors* map);

// The sector id that stands for no sector (also in the knowledge map's cells).
constexpr uint8_t kNoSector = 255;
// A border's ID before it was first asked for.
constexpr uint32_t kUnsetBorderID = 0xFFFFFFFF;

// ---- Layout edits ----

// The number of edits made so far to the layout of the sector maps of this
// build: the items of a map's three collections, a sector's border list and
// id, a border's vertices and sectors, a vertex's coordinates. A border's
// flags (which change at run time) and its cached ID are not counted. Copies
// of a layout (the path finder keeps one per map) are valid while the count
// stays where it was when they were made.
uint64_t GetSectorLayoutEdits();
// Counts one edit; called by every operation that changes a layout field.
void NoteSectorLayoutEdit();

// A field of the layout: read as the plain value (and, for a pointer,
// dereferenced with ->), written only through its class, which counts each
// change. So no copy of the layout can go stale unnoticed.
template <typename T, typename Owner>
class tLayoutField {
 public:
  constexpr explicit tLayoutField(T value) : value_(value) {}
  tLayoutField(const tLayoutField&) = delete;
  tLayoutField& operator=(const tLayoutField&) = delete;

  operator T() const { return value_; }
  T Get() const { return value_; }
  T operator->() const requires std::is_pointer_v<T> { return value_; }

 private:
  friend Owner;
  void Set(T value) {
    if (value_ != value) {
      value_ = value;
      NoteSectorLayoutEdit();
    }
  }

  T value_;
};

// An owned part of the layout (a sector's border list, a map's collection):
// read through a const pointer, replaced or edited only by its class, which
// counts each edit.
template <typename Held, typename Owner>
class tLayoutPart {
 public:
  // Made and destroyed with its owner; both count, so a new owner at the
  // address of an old one is never taken for it.
  tLayoutPart() { NoteSectorLayoutEdit(); }
  explicit tLayoutPart(Held* held) : held_(held) { NoteSectorLayoutEdit(); }
  ~tLayoutPart() { NoteSectorLayoutEdit(); }
  tLayoutPart(const tLayoutPart&) = delete;
  tLayoutPart& operator=(const tLayoutPart&) = delete;

  const Held* operator->() const { return held_.get(); }
  operator const Held*() const { return held_.get(); }
  const Held* Get() const { return held_.get(); }

 private:
  friend Owner;
  // The part for an edit, counted; null when there is none.
  Held* Edit() {
    NoteSectorLayoutEdit();
    return held_.get();
  }
  void Reset(Held* held = nullptr) {
    held_.reset(held);
    NoteSectorLayoutEdit();
  }
  // The part for an operation that changes nothing of the layout (a save).
  Held* Unchanged() const { return held_.get(); }

  std::unique_ptr<Held, tObjectDestroyer> held_;
};

// ---- YLVertex ----

class YLVertex : public LumoObject {
 public:
  YLVertex() = default;
  YLVertex(int32_t x, int32_t y) : X(x), Y(y) {}

  const char* GetClassName() const override;

  // Each change counts as a layout edit.
  void SetX(int32_t x) { X.Set(x); }
  void SetY(int32_t y) { Y.Set(y); }

  virtual bool LoadX(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveX(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadY(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveY(LumoStream* stream, const LumoProperty* property);

  tLayoutField<int32_t, YLVertex> X{0};  // map units (cells)
  tLayoutField<int32_t, YLVertex> Y{0};
};

// ---- YLSectorBorder ----

// The flag bits of a border. Only BorderPassable changes at run time
// (barricades, fences, triggers); the others keep what the border was created
// or loaded with.
enum tBorderFlag : uint8_t {
  BorderPassable = 1,           // passable on foot
  BorderVehicles = 2,           // crossable by vehicles
  BorderLimitedSelected = 4,    // crossable by the limited search when its selector is true
  BorderLimitedUnselected = 8,  // ... when its selector is false
  BorderAllFlags = 15,          // what a new border has
};

class YLSectorBorder : public LumoObject {
 public:
  const char* GetClassName() const override;

  // Each test is false unless the border has a sector on both sides.
  bool IsPassable() const { return TestFlag(BorderPassable); }
  bool IsVehiclePassable() const { return TestFlag(BorderVehicles); }
  // Bit 2 when selector is true, bit 3 when it is false.
  bool IsLimitedPassable(bool selector) const {
    return TestFlag(selector ? BorderLimitedSelected : BorderLimitedUnselected);
  }
  bool HasBothSides() const { return Left != nullptr && Right != nullptr; }

  void SetPassable(bool on) { ChangeFlag(BorderPassable, on); }
  void SetVehiclePassable(bool on) { ChangeFlag(BorderVehicles, on); }
  void SetLimitedPassable(bool selector, bool on) {
    ChangeFlag(selector ? BorderLimitedSelected : BorderLimitedUnselected, on);
  }
  // The vertices and the sectors; each change counts as a layout edit.
  void SetA(int32_t vertex) { A.Set(vertex); }
  void SetB(int32_t vertex) { B.Set(vertex); }
  void SetLeft(YLSector* sector) { Left.Set(sector); }
  void SetRight(YLSector* sector) { Right.Set(sector); }

  // The border's index in the current map's Borders, computed on first use
  // and kept; kUnsetBorderID while the border is in no current map.
  uint32_t GetID();
  // The middle of the border, each coordinate the signed integer halving of
  // the sum of its vertices' coordinates. False, and (0, 0), when a vertex is
  // missing from the current map.
  bool GetMidpoint(int32_t& x, int32_t& y) const;
  // The border's length, truncated; 0 when a vertex is missing.
  int32_t GetLength() const;
  // True when Left or Right has that sector id.
  bool Touches(int32_t sectorId) const;
  // The sector on the other side from sector: Right when sector is Left, else
  // Left.
  YLSector* OtherSide(const YLSector* sector) const { return Left == sector ? Right : Left; }
  // The two vertices in the current map; null when absent.
  YLVertex* GetVertexA() const;
  YLVertex* GetVertexB() const;

  virtual bool LoadA(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveA(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadB(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveB(LumoStream* stream, const LumoProperty* property);
  // Stored as the sector's ID (-1 for none) and loaded as an index into the
  // current map's Sectors.
  virtual bool LoadLeft(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveLeft(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadRight(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveRight(LumoStream* stream, const LumoProperty* property);
  // Tagged chunks ("pas:", "fid:") that older streams lack; their absence
  // keeps the default.
  virtual bool LoadPassable(LumoStream* stream, const LumoProperty* property);
  virtual bool SavePassable(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadID(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveID(LumoStream* stream, const LumoProperty* property);

  tLayoutField<int32_t, YLSectorBorder> A{-1};  // the first vertex's index in Vertices; -1 unset
  tLayoutField<int32_t, YLSectorBorder> B{-1};
  tLayoutField<YLSector*, YLSectorBorder> Left{nullptr};   // the first sector that owns the border
  tLayoutField<YLSector*, YLSectorBorder> Right{nullptr};  // the second one
  uint8_t Passable = BorderAllFlags;
  uint32_t ID = kUnsetBorderID;

 private:
  bool TestFlag(uint8_t flag) const { return HasBothSides() && (Passable & flag) != 0; }
  void ChangeFlag(uint8_t flag, bool on) {
    Passable = static_cast<uint8_t>(on ? (Passable | flag) : (Passable & ~flag));
  }
  bool LoadSide(LumoStream* stream, tLayoutField<YLSector*, YLSectorBorder>& side);
  bool SaveSide(LumoStream* stream, const YLSector* side);
};

// ---- YLSector ----

class YLSector : public LumoObject {
 public:
  YLSector();
  ~YLSector() override;

  const char* GetClassName() const override;
  // Empties the border list (the borders belong to the map) and Paths.
  void DoFree() override;

  // Creates the border list when missing and appends the border.
  bool AddBorder(YLSectorBorder* border);
  // Creates an empty border list when there is none; false when memory runs
  // out.
  bool CreateBorderList();
  // Every node of the list that holds `replaced` holds `replacement` instead.
  void ReplaceBorder(const YLSectorBorder* replaced, YLSectorBorder* replacement);
  void SetID(uint8_t id) { ID.Set(id); }
  // Makes this sector the Left of each of its borders that has none, else
  // the Right; a border that has both keeps them.
  void OwnBorders();
  int32_t GetBorderCount() const { return Borders != nullptr ? Borders->count : 0; }
  // The border at a zero-based index, null outside.
  YLSectorBorder* GetBorder(int32_t index) const;
  // The border a node of Borders holds.
  static YLSectorBorder* BorderOfNode(const tNode* node) {
    return reinterpret_cast<YLSectorBorder*>(static_cast<const tDataNode*>(node)->data);
  }
  int32_t IndexOfBorder(const YLSectorBorder* border) const;
  // The position of the first border with that vertex as A or B; -1 when none.
  int32_t IndexOfBorderWithVertex(int32_t vertex) const;
  // The first border whose other side is that sector (that sector id); null
  // when none.
  YLSectorBorder* FindBorderTo(const YLSector* sector) const;
  YLSectorBorder* FindBorderToID(int32_t sectorId) const;
  // The average of both vertices of every border (signed integer division).
  // A sector without borders, or whose borders have no vertices in the
  // current map, has its centre at the origin (0, 0) and answers false.
  bool GetCentre(int32_t& x, int32_t& y) const;
  // The identifiers of the things standing in the sector, kept sorted.
  bool AddPath(int32_t id);
  bool RemovePath(int32_t id);
  // Copies Paths into paths; answers their count.
  int32_t GetPaths(tCollection<int32_t>& paths) const;
  void SetWalkable() { Walkable = true; }

  // After the whole map has loaded: the stored border indexes become the
  // borders of map. False, with a log line, for an index that names no
  // border.
  bool ResolveLoadedBorders(const YLSectors& map);

  virtual bool LoadBorders(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveBorders(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadPaths(LumoStream* stream, const LumoProperty* property);
  virtual bool SavePaths(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadWalkable(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveWalkable(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadID(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveID(LumoStream* stream, const LumoProperty* property);

  // Null until the first border is added; the nodes hold border pointers.
  tLayoutPart<tDataList, YLSector> Borders;
  tLayoutField<uint8_t, YLSector> ID{kNoSector};  // the sector's index in the map's Sectors
  bool Walkable = false;
  // Kept in memory only: the logic keeps here the identifiers of the units
  // and cars standing in the sector.
  tCollection<int32_t> Paths;

 private:
  // Border indexes read from a stream, waiting for the map's Borders; they
  // are never kept in the list itself, so the list only ever holds borders.
  std::vector<int32_t> loadedBorderIndexes;
};

inline bool YLSectorBorder::Touches(int32_t sectorId) const {
  return (Left != nullptr && Left->ID == sectorId) || (Right != nullptr && Right->ID == sectorId);
}

// ---- YLSectors ----

class YLSectors : public LumoObject {
 public:
  using Collection = tLayoutPart<LumoObjects, YLSectors>;

  // A new, empty map becomes the current sector map.
  YLSectors();
  // Freeing the current map leaves the build without one.
  ~YLSectors() override;

  const char* GetClassName() const override;
  // Destroys the three collections with their items.
  void DoFree() override;

  int32_t GetVertexCount() const { return CountOf(Vertices); }
  int32_t GetBorderCount() const { return CountOf(Borders); }
  int32_t GetSectorCount() const { return CountOf(Sectors); }
  // The item at an index; null outside or for an empty slot.
  YLVertex* GetVertex(int32_t index) const { return static_cast<YLVertex*>(At(Vertices, index)); }
  YLSectorBorder* GetBorder(int32_t index) const {
    return static_cast<YLSectorBorder*>(At(Borders, index));
  }
  YLSector* GetSector(int32_t index) const { return static_cast<YLSector*>(At(Sectors, index)); }

  // Append an item the map then owns; false (the item destroyed) when memory
  // runs out.
  bool AppendVertex(YLVertex* vertex) { return AppendTo(Vertices, vertex); }
  bool AppendBorder(YLSectorBorder* border) { return AppendTo(Borders, border); }
  bool AppendSector(YLSector* sector) { return AppendTo(Sectors, sector); }

  // The index of a border in Borders; -1 when absent or null.
  int32_t IndexOfBorder(const YLSectorBorder* border) const;
  // The index of a sector in Sectors; -1 when absent or null.
  int32_t IndexOfSector(const YLSector* sector) const;
  // The index of the vertex with exactly these coordinates; -1 when none.
  int32_t FindVertex(int32_t x, int32_t y) const;
  // The index of the border joining the two vertices, in either direction;
  // -1 when none.
  int32_t FindBorderByVertices(int32_t firstVertex, int32_t secondVertex) const;
  // A new list of nodes holding, for every border of the sector with sectors
  // on both sides, the sector on the other side.
  tSectorList GetAdjacentSectors(const YLSector* sector) const;
  // A new list of nodes holding every border between the two sectors, in
  // either orientation, in the order of Borders.
  tSectorList FindBordersBetween(const YLSector* first, const YLSector* second) const;

  // ---- Only in the game program's build ----

  // Fills the empty map from a sector shape text (one sector per shape, one
  // vertex per distinct point, one border per edge, a shared edge being one
  // border with two sides). With a knowledge map, every cell of its grid then
  // gets the id of the sector it lies in. False when the file cannot be read.
  bool Create(const char* fileName, YLKnowledgeMap* knowledgeMap);
  // Joins vertices that occur twice and borders that join the same two
  // vertices; the later copies' slots are emptied.
  void Merge();
  // Writes the whole map to the debug log.
  void DebugDump() const;

  // ---- Stream form ----

  virtual bool LoadSectors(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveSectors(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadBorders(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveBorders(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadVertices(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveVertices(LumoStream* stream, const LumoProperty* property);
  // Turns the border indexes stored in the sectors into borders.
  bool OnLoadFrom(LumoStream* stream) override;

  Collection Sectors;
  Collection Borders;
  Collection Vertices;

 private:
  static int32_t CountOf(const Collection& collection) {
    return collection != nullptr ? collection->count : 0;
  }
  static LumoObject* At(const Collection& collection, int32_t index) {
    return collection != nullptr ? collection->At(index) : nullptr;
  }
  static bool AppendTo(Collection& collection, LumoObject* item);
  // Loads a collection record whose items are all of one kind into place.
  template <typename Element>
  static bool LoadCollection(LumoStream* stream, Collection& collection, const char* field);
  static bool SaveCollection(LumoStream* stream, const Collection& collection);
};
