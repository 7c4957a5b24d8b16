#include "navigation/YLSectors.h"

#include <atomic>
#include <cmath>
#include <cstring>
#include <limits>
#include <new>

#include "base/DebugFormat.h"
#include "base/ElementCallbacks.h"
#include "base/LumoStream.h"
#include "navigation/NavigationFields.h"

namespace {

// Registration order is the stream order.
LumoClassOf<YLVertex> classOfYLVertex(kVersion_1_6_0_6, "YLVertex", "LumoObject");
NAVIGATION_FIELD_PROPERTY(YLVertex, X, PropertyInteger, "tInteger");
NAVIGATION_FIELD_PROPERTY(YLVertex, Y, PropertyInteger, "tInteger");

LumoClassOf<YLSectorBorder> classOfYLSectorBorder(kVersion_1_6_0_6, "YLSectorBorder", "LumoObject");
NAVIGATION_FIELD_PROPERTY(YLSectorBorder, A, PropertyInteger, "tInteger");
NAVIGATION_FIELD_PROPERTY(YLSectorBorder, B, PropertyInteger, "tInteger");
NAVIGATION_FIELD_PROPERTY(YLSectorBorder, Left, PropertyPointer, "tPointer");
NAVIGATION_FIELD_PROPERTY(YLSectorBorder, Right, PropertyPointer, "tPointer");
NAVIGATION_FIELD_PROPERTY(YLSectorBorder, Passable, PropertyPointer, "tPointer");
NAVIGATION_FIELD_PROPERTY(YLSectorBorder, ID, PropertyPointer, "tPointer");

LumoClassOf<YLSector> classOfYLSector(kVersion_1_6_0_6, "YLSector", "LumoObject");
NAVIGATION_FIELD_PROPERTY(YLSector, Borders, PropertyPointer, "tPointer");
NAVIGATION_FIELD_PROPERTY(YLSector, Paths, PropertyPointer, "tPointer");
NAVIGATION_FIELD_PROPERTY(YLSector, Walkable, PropertyBool, "tBool");
NAVIGATION_FIELD_PROPERTY(YLSector, ID, PropertyByte, "tByte");

LumoClassOf<YLSectors> classOfYLSectors(kVersion_1_6_0_6, "YLSectors", "LumoObject");
NAVIGATION_FIELD_PROPERTY(YLSectors, Sectors, PropertyPointer, "tPointer");
NAVIGATION_FIELD_PROPERTY(YLSectors, Borders, PropertyPointer, "tPointer");
NAVIGATION_FIELD_PROPERTY(YLSectors, Vertices, PropertyPointer, "tPointer");

constinit YLSectors* currentSectorMap = nullptr;
constinit std::atomic<uint64_t> layoutEdits{0};

constexpr char kPassableTag[] = "pas:";
constexpr char kBorderIDTag[] = "fid:";
constexpr uint32_t kTagLength = 4;
// A tagged chunk opens with its tag as a length-prefixed text: the length
// (4 bytes) and the tag's 4 characters.
constexpr int32_t kTagRecordBytes = 8;

// Whether the tagged chunk of the given tag follows. Present: the stream
// stands behind the tag. Absent (an older stream): the stream is where it was.
bool ReadTag(LumoStream* stream, const char* tag) {
  uint8_t record[kTagRecordBytes] = {};
  if (!stream->Peek(record, sizeof record) || std::memcmp(record + 4, tag, kTagLength) != 0) {
    return false;
  }
  return stream->Seek(kTagRecordBytes, SeekFromCurrent) >= 0;
}

// Records nested in a map's record (an old paths object, an item of the
// wrong kind) may hold a sector map of their own, which becomes current while
// it lives and leaves the build without one when it goes. The map being
// loaded stays the current one.
class CurrentMapKeeper {
 public:
  CurrentMapKeeper() : kept_(currentSectorMap) {}
  ~CurrentMapKeeper() { currentSectorMap = kept_; }
  CurrentMapKeeper(const CurrentMapKeeper&) = delete;
  CurrentMapKeeper& operator=(const CurrentMapKeeper&) = delete;

 private:
  YLSectors* kept_;
};

bool NeedsCurrentMap(const char* operation) {
  if (currentSectorMap != nullptr) {
    return true;
  }
  DebugPrint("%s: no current sector map\n", operation);
  return false;
}

// The sum of two coordinates halved as signed integers, without overflow.
int32_t Halved(int32_t first, int32_t second) {
  return static_cast<int32_t>((static_cast<int64_t>(first) + second) / 2);
}

}  // namespace

YLSectors* GetCurrentSectorMap() {
  return currentSectorMap;
}

void SetCurrentSectorMap(YLSectors* map) {
  currentSectorMap = map;
}

uint64_t GetSectorLayoutEdits() {
  return layoutEdits.load(std::memory_order_relaxed);
}

void NoteSectorLayoutEdit() {
  layoutEdits.fetch_add(1, std::memory_order_relaxed);
}

namespace {

// Loads or saves a layout field through a plain value, so a load is counted
// as an edit of the layout.
template <typename Owner, typename T>
bool LoadLayoutField(LumoStream* stream, const LumoProperty* property, T& field,
                     void (Owner::*set)(decltype(field.Get())), Owner& owner) {
  auto value = field.Get();
  if (!owner.LoadPropertyFrom(stream, property, &value)) {
    return false;
  }
  (owner.*set)(value);
  return true;
}

template <typename Owner, typename T>
bool SaveLayoutField(LumoStream* stream, const LumoProperty* property, const T& field,
                     Owner& owner) {
  const auto value = field.Get();
  return owner.SavePropertyTo(stream, property, &value);
}

}  // namespace

// ---- YLVertex ----

const char* YLVertex::GetClassName() const {
  return "YLVertex";
}

bool YLVertex::LoadX(LumoStream* stream, const LumoProperty* property) {
  return LoadLayoutField(stream, property, X, &YLVertex::SetX, *this);
}
bool YLVertex::SaveX(LumoStream* stream, const LumoProperty* property) {
  return SaveLayoutField(stream, property, X, *this);
}
bool YLVertex::LoadY(LumoStream* stream, const LumoProperty* property) {
  return LoadLayoutField(stream, property, Y, &YLVertex::SetY, *this);
}
bool YLVertex::SaveY(LumoStream* stream, const LumoProperty* property) {
  return SaveLayoutField(stream, property, Y, *this);
}

// ---- YLSectorBorder ----

const char* YLSectorBorder::GetClassName() const {
  return "YLSectorBorder";
}

uint32_t YLSectorBorder::GetID() {
  if (ID == kUnsetBorderID && currentSectorMap != nullptr) {
    ID = static_cast<uint32_t>(currentSectorMap->IndexOfBorder(this));
  }
  return ID;
}

YLVertex* YLSectorBorder::GetVertexA() const {
  return currentSectorMap != nullptr ? currentSectorMap->GetVertex(A) : nullptr;
}

YLVertex* YLSectorBorder::GetVertexB() const {
  return currentSectorMap != nullptr ? currentSectorMap->GetVertex(B) : nullptr;
}

bool YLSectorBorder::GetMidpoint(int32_t& x, int32_t& y) const {
  const YLVertex* first = GetVertexA();
  const YLVertex* second = GetVertexB();
  if (first == nullptr || second == nullptr) {
    x = 0;
    y = 0;
    return false;
  }
  x = Halved(first->X, second->X);
  y = Halved(first->Y, second->Y);
  return true;
}

int32_t YLSectorBorder::GetLength() const {
  const YLVertex* first = GetVertexA();
  const YLVertex* second = GetVertexB();
  if (first == nullptr || second == nullptr) {
    return 0;
  }
  // In doubles: exact for every coordinate a level uses, and no overflow for
  // coordinates read from a damaged stream.
  const double dx = static_cast<double>(second->X) - first->X;
  const double dy = static_cast<double>(second->Y) - first->Y;
  const double length = std::sqrt(dx * dx + dy * dy);
  return length < std::numeric_limits<int32_t>::max() ? static_cast<int32_t>(length)
                                                      : std::numeric_limits<int32_t>::max();
}

bool YLSectorBorder::LoadA(LumoStream* stream, const LumoProperty* property) {
  return LoadLayoutField(stream, property, A, &YLSectorBorder::SetA, *this);
}
bool YLSectorBorder::SaveA(LumoStream* stream, const LumoProperty* property) {
  return SaveLayoutField(stream, property, A, *this);
}
bool YLSectorBorder::LoadB(LumoStream* stream, const LumoProperty* property) {
  return LoadLayoutField(stream, property, B, &YLSectorBorder::SetB, *this);
}
bool YLSectorBorder::SaveB(LumoStream* stream, const LumoProperty* property) {
  return SaveLayoutField(stream, property, B, *this);
}

bool YLSectorBorder::LoadSide(LumoStream* stream, tLayoutField<YLSector*, YLSectorBorder>& side) {
  if (!NeedsCurrentMap("YLSectorBorder::LoadFrom()")) {
    return false;
  }
  int32_t stored = -1;
  if (!stream->ReadInteger(stored)) {
    return false;
  }
  side.Set(currentSectorMap->GetSector(stored));
  return true;
}

bool YLSectorBorder::SaveSide(LumoStream* stream, const YLSector* side) {
  if (!NeedsCurrentMap("YLSectorBorder::SaveTo()")) {
    return false;
  }
  // A side is read back as the sector at the stored place in the map, so
  // its place is written: that is its id in a level whose shapes are
  // numbered in order, and the same side comes back when they are not.
  return stream->WriteInteger(currentSectorMap->IndexOfSector(side));
}

bool YLSectorBorder::LoadLeft(LumoStream* stream, const LumoProperty*) {
  return LoadSide(stream, Left);
}
bool YLSectorBorder::SaveLeft(LumoStream* stream, const LumoProperty*) {
  return SaveSide(stream, Left);
}
bool YLSectorBorder::LoadRight(LumoStream* stream, const LumoProperty*) {
  return LoadSide(stream, Right);
}
bool YLSectorBorder::SaveRight(LumoStream* stream, const LumoProperty*) {
  return SaveSide(stream, Right);
}

bool YLSectorBorder::LoadPassable(LumoStream* stream, const LumoProperty*) {
  if (!NeedsCurrentMap("YLSectorBorder::LoadFrom()")) {
    return false;
  }
  return !ReadTag(stream, kPassableTag) || stream->ReadByte(Passable);
}

bool YLSectorBorder::SavePassable(LumoStream* stream, const LumoProperty*) {
  if (!NeedsCurrentMap("YLSectorBorder::SaveTo()")) {
    return false;
  }
  return stream->WriteCharStr(kPassableTag) && stream->WriteByte(Passable);
}

bool YLSectorBorder::LoadID(LumoStream* stream, const LumoProperty*) {
  if (!NeedsCurrentMap("YLSectorBorder::LoadFrom()")) {
    return false;
  }
  return !ReadTag(stream, kBorderIDTag) || stream->ReadCardinal(ID);
}

bool YLSectorBorder::SaveID(LumoStream* stream, const LumoProperty*) {
  if (!NeedsCurrentMap("YLSectorBorder::SaveTo()")) {
    return false;
  }
  return stream->WriteCharStr(kBorderIDTag) && stream->WriteCardinal(GetID());
}

// ---- YLSector ----

YLSector::YLSector() : Paths(nullptr, CompareIntElements, nullptr, 16) {}

YLSector::~YLSector() = default;

const char* YLSector::GetClassName() const {
  return "YLSector";
}

void YLSector::DoFree() {
  if (Borders != nullptr) {
    Borders.Edit()->DeleteAll();
  }
  Paths.Clear();
  loadedBorderIndexes.clear();
  LumoObject::DoFree();
}

bool YLSector::CreateBorderList() {
  if (Borders == nullptr) {
    Borders.Reset(new (std::nothrow) tDataList);
  }
  return Borders != nullptr;
}

bool YLSector::AddBorder(YLSectorBorder* border) {
  if (!CreateBorderList()) {
    return false;
  }
  tDataList* list = Borders.Edit();
  tNode* node = list->CreateNode();
  if (node == nullptr) {
    return false;
  }
  static_cast<tDataNode*>(node)->SetData(reinterpret_cast<uintptr_t>(border));
  list->Append(node);
  return true;
}

void YLSector::ReplaceBorder(const YLSectorBorder* replaced, YLSectorBorder* replacement) {
  tDataList* list = Borders.Edit();
  for (tNode* node = list != nullptr ? list->first : nullptr; node != nullptr; node = node->next) {
    auto* item = static_cast<tDataNode*>(node);
    if (BorderOfNode(item) == replaced) {
      item->SetData(reinterpret_cast<uintptr_t>(replacement));
    }
  }
}

void YLSector::OwnBorders() {
  for (int32_t index = 0; index < GetBorderCount(); ++index) {
    YLSectorBorder* border = GetBorder(index);
    if (border == nullptr) {
      continue;
    }
    if (border->Left == nullptr) {
      border->SetLeft(this);
    } else if (border->Right == nullptr) {
      border->SetRight(this);
    } else {
      DebugPrint("YLSector::OwnBorders(): Not ok!");
    }
  }
}

YLSectorBorder* YLSector::GetBorder(int32_t index) const {
  const tNode* node = Borders != nullptr ? Borders->At(index) : nullptr;
  return node != nullptr ? BorderOfNode(node) : nullptr;
}

int32_t YLSector::IndexOfBorder(const YLSectorBorder* border) const {
  int32_t index = 0;
  for (const tNode* node = Borders != nullptr ? Borders->first : nullptr; node != nullptr;
       node = node->next, ++index) {
    if (BorderOfNode(node) == border) {
      return index;
    }
  }
  return -1;
}

int32_t YLSector::IndexOfBorderWithVertex(int32_t vertex) const {
  int32_t index = 0;
  for (const tNode* node = Borders != nullptr ? Borders->first : nullptr; node != nullptr;
       node = node->next, ++index) {
    const YLSectorBorder* border = BorderOfNode(node);
    if (border != nullptr && (border->A == vertex || border->B == vertex)) {
      return index;
    }
  }
  return -1;
}

YLSectorBorder* YLSector::FindBorderTo(const YLSector* sector) const {
  for (const tNode* node = Borders != nullptr ? Borders->first : nullptr; node != nullptr;
       node = node->next) {
    YLSectorBorder* border = BorderOfNode(node);
    if (border != nullptr && border->OtherSide(this) == sector) {
      return border;
    }
  }
  return nullptr;
}

YLSectorBorder* YLSector::FindBorderToID(int32_t sectorId) const {
  for (const tNode* node = Borders != nullptr ? Borders->first : nullptr; node != nullptr;
       node = node->next) {
    YLSectorBorder* border = BorderOfNode(node);
    const YLSector* other = border != nullptr ? border->OtherSide(this) : nullptr;
    if (other != nullptr && other->ID == sectorId) {
      return border;
    }
  }
  return nullptr;
}

bool YLSector::GetCentre(int32_t& x, int32_t& y) const {
  int64_t sumX = 0;
  int64_t sumY = 0;
  int64_t vertices = 0;
  for (const tNode* node = Borders != nullptr ? Borders->first : nullptr; node != nullptr;
       node = node->next) {
    const YLSectorBorder* border = BorderOfNode(node);
    if (border == nullptr) {
      continue;
    }
    for (const YLVertex* vertex : {border->GetVertexA(), border->GetVertexB()}) {
      if (vertex != nullptr) {
        sumX += vertex->X;
        sumY += vertex->Y;
        ++vertices;
      }
    }
  }
  // A sector without borders has no points to average: its centre is the
  // origin rather than a division by zero.
  if (vertices == 0) {
    x = 0;
    y = 0;
    return false;
  }
  x = static_cast<int32_t>(sumX / vertices);
  y = static_cast<int32_t>(sumY / vertices);
  return true;
}

bool YLSector::AddPath(int32_t id) {
  int32_t index = 0;
  if (Paths.Search(id, index)) {
    return true;
  }
  return Paths.Insert(index, id);
}

bool YLSector::RemovePath(int32_t id) {
  int32_t index = 0;
  return Paths.Search(id, index) && Paths.DeleteAt(index);
}

int32_t YLSector::GetPaths(tCollection<int32_t>& paths) const {
  if (Paths.count == 0) {
    paths.Clear();
    return 0;
  }
  if (!paths.SetCount(Paths.count)) {
    return 0;
  }
  std::memcpy(paths.items, Paths.items, sizeof(int32_t) * static_cast<size_t>(Paths.count));
  return paths.count;
}

bool YLSector::ResolveLoadedBorders(const YLSectors& map) {
  for (const int32_t index : loadedBorderIndexes) {
    // -1 is what a save writes for a border that was in no map.
    if (index == -1) {
      continue;
    }
    YLSectorBorder* border = map.GetBorder(index);
    if (border == nullptr) {
      DebugPrint("YLSector::LoadFrom() sector %d names border %d, which the map does not hold\n",
                 ID.Get(), index);
      return false;
    }
    if (!AddBorder(border)) {
      return false;
    }
  }
  loadedBorderIndexes.clear();
  return true;
}

bool YLSector::LoadBorders(LumoStream* stream, const LumoProperty*) {
  int32_t stored = 0;
  if (!stream->ReadInteger(stored)) {
    return false;
  }
  Borders.Reset();
  loadedBorderIndexes.clear();
  // -1: the sector had no list.
  if (stored == -1) {
    return true;
  }
  if (!CheckStoredCount(stream, "YLSector", "Borders", stored, 4)) {
    return false;
  }
  if (!CreateBorderList()) {
    return false;
  }
  loadedBorderIndexes.resize(static_cast<size_t>(stored));
  for (int32_t& index : loadedBorderIndexes) {
    if (!stream->ReadInteger(index)) {
      return false;
    }
  }
  return true;
}

bool YLSector::SaveBorders(LumoStream* stream, const LumoProperty*) {
  if (Borders == nullptr) {
    return stream->WriteInteger(-1);
  }
  // Only borders in the list need the map their indexes point into. A list
  // still empty is saved without it: as empty, or, for a sector loaded
  // outside its map's load, as the indexes it read, so the record comes out
  // as it went in.
  if (Borders->count == 0) {
    if (!stream->WriteInteger(static_cast<int32_t>(loadedBorderIndexes.size()))) {
      return false;
    }
    for (const int32_t index : loadedBorderIndexes) {
      if (!stream->WriteInteger(index)) {
        return false;
      }
    }
    return true;
  }
  if (!NeedsCurrentMap("YLSector::SaveTo()") || !stream->WriteInteger(Borders->count)) {
    return false;
  }
  for (const tNode* node = Borders->first; node != nullptr; node = node->next) {
    if (!stream->WriteInteger(currentSectorMap->IndexOfBorder(BorderOfNode(node)))) {
      return false;
    }
  }
  return true;
}

// Paths are kept in memory only. Older files may still hold a paths object
// here: a collection record, which is read and thrown away.
bool YLSector::LoadPaths(LumoStream* stream, const LumoProperty*) {
  static constexpr char kCollectionName[] = "LumoObjects";
  constexpr uint32_t kNameLength = sizeof kCollectionName - 1;
  uint8_t opening[8 + 4 + kNameLength] = {};
  if (!stream->Peek(opening, sizeof opening)) {
    return true;
  }
  const uint8_t nameLength[4] = {0, 0, 0, kNameLength};
  if (std::memcmp(opening, "Lumo", 4) != 0 || std::memcmp(opening + 8, nameLength, 4) != 0 ||
      std::memcmp(opening + 12, kCollectionName, kNameLength) != 0) {
    return true;
  }
  const CurrentMapKeeper keeper;
  std::unique_ptr<LumoObject, tObjectDestroyer> oldPaths(LoadObject(stream, nullptr));
  return oldPaths != nullptr;
}

bool YLSector::SavePaths(LumoStream*, const LumoProperty*) {
  return true;
}

LUMO_GENERIC_FIELD(YLSector, Walkable)

bool YLSector::LoadID(LumoStream* stream, const LumoProperty* property) {
  return LoadLayoutField(stream, property, ID, &YLSector::SetID, *this);
}
bool YLSector::SaveID(LumoStream* stream, const LumoProperty* property) {
  return SaveLayoutField(stream, property, ID, *this);
}

// ---- YLSectors ----

YLSectors::YLSectors()
    : Sectors(new LumoObjects(true)),
      Borders(new LumoObjects(true)),
      Vertices(new LumoObjects(true)) {
  currentSectorMap = this;
}

YLSectors::~YLSectors() {
  if (currentSectorMap == this) {
    currentSectorMap = nullptr;
  }
}

const char* YLSectors::GetClassName() const {
  return "YLSectors";
}

void YLSectors::DoFree() {
  if (currentSectorMap == this) {
    currentSectorMap = nullptr;
  }
  // The sectors go first: they only point at the borders the map owns.
  Sectors.Reset();
  Borders.Reset();
  Vertices.Reset();
  LumoObject::DoFree();
}

bool YLSectors::AppendTo(Collection& collection, LumoObject* item) {
  if (item == nullptr) {
    return false;
  }
  if (collection == nullptr || !collection.Edit()->Append(item)) {
    DestroyObject(item);
    return false;
  }
  return true;
}

int32_t YLSectors::IndexOfBorder(const YLSectorBorder* border) const {
  if (border == nullptr || Borders == nullptr) {
    return -1;
  }
  return Borders->IndexOf(const_cast<YLSectorBorder*>(border));
}

int32_t YLSectors::IndexOfSector(const YLSector* sector) const {
  if (sector == nullptr || Sectors == nullptr) {
    return -1;
  }
  return Sectors->IndexOf(const_cast<YLSector*>(sector));
}

int32_t YLSectors::FindVertex(int32_t x, int32_t y) const {
  for (int32_t index = 0; index < GetVertexCount(); ++index) {
    const YLVertex* vertex = GetVertex(index);
    if (vertex != nullptr && vertex->X == x && vertex->Y == y) {
      return index;
    }
  }
  return -1;
}

int32_t YLSectors::FindBorderByVertices(int32_t firstVertex, int32_t secondVertex) const {
  for (int32_t index = 0; index < GetBorderCount(); ++index) {
    const YLSectorBorder* border = GetBorder(index);
    if (border != nullptr && ((border->A == firstVertex && border->B == secondVertex) ||
                              (border->A == secondVertex && border->B == firstVertex))) {
      return index;
    }
  }
  return -1;
}

namespace {

tSectorList NewList() {
  return tSectorList(new (std::nothrow) tDataList);
}

bool AppendData(tDataList& list, const void* pointer) {
  tNode* node = list.CreateNode();
  if (node == nullptr) {
    return false;
  }
  static_cast<tDataNode*>(node)->SetData(reinterpret_cast<uintptr_t>(pointer));
  list.Append(node);
  return true;
}

}  // namespace

tSectorList YLSectors::GetAdjacentSectors(const YLSector* sector) const {
  tSectorList adjacent = NewList();
  if (adjacent == nullptr || sector == nullptr || sector->Borders == nullptr) {
    return adjacent;
  }
  for (const tNode* node = sector->Borders->first; node != nullptr; node = node->next) {
    const YLSectorBorder* border = YLSector::BorderOfNode(node);
    if (border != nullptr && border->HasBothSides() &&
        !AppendData(*adjacent, border->OtherSide(sector))) {
      return nullptr;
    }
  }
  return adjacent;
}

tSectorList YLSectors::FindBordersBetween(const YLSector* first, const YLSector* second) const {
  tSectorList between = NewList();
  if (between == nullptr) {
    return between;
  }
  for (int32_t index = 0; index < GetBorderCount(); ++index) {
    const YLSectorBorder* border = GetBorder(index);
    if (border == nullptr) {
      continue;
    }
    const bool joins = (border->Left == first && border->Right == second) ||
                       (border->Left == second && border->Right == first);
    if (joins && !AppendData(*between, border)) {
      return nullptr;
    }
  }
  return between;
}

// ---- Stream form ----

bool YLSectors::SaveCollection(LumoStream* stream, const Collection& collection) {
  return collection != nullptr && collection.Unchanged()->SaveObject(stream, 0);
}

// Reads a collection record whose every element is an Element (or an empty
// slot): the map's accessors rely on the kind of each item.
template <typename Element>
bool YLSectors::LoadCollection(LumoStream* stream, Collection& collection, const char* field) {
  const CurrentMapKeeper keeper;
  std::unique_ptr<LumoObject, tObjectDestroyer> loaded(LoadObject(stream, nullptr));
  auto* items = dynamic_cast<LumoObjects*>(loaded.get());
  if (items == nullptr) {
    DebugPrint("YLSectors::LoadFrom() %s is not an object collection\n", field);
    return false;
  }
  for (int32_t index = 0; index < items->count; ++index) {
    LumoObject* item = items->At(index);
    if (item != nullptr && dynamic_cast<Element*>(item) == nullptr) {
      DebugPrint("YLSectors::LoadFrom() %s holds a %s at %d\n", field, item->GetClassName(), index);
      return false;
    }
  }
  loaded.release();
  collection.Reset(items);
  return true;
}

bool YLSectors::LoadSectors(LumoStream* stream, const LumoProperty*) {
  return LoadCollection<YLSector>(stream, Sectors, "Sectors");
}
bool YLSectors::SaveSectors(LumoStream* stream, const LumoProperty*) {
  return SaveCollection(stream, Sectors);
}
bool YLSectors::LoadBorders(LumoStream* stream, const LumoProperty*) {
  return LoadCollection<YLSectorBorder>(stream, Borders, "Borders");
}
bool YLSectors::SaveBorders(LumoStream* stream, const LumoProperty*) {
  return SaveCollection(stream, Borders);
}
bool YLSectors::LoadVertices(LumoStream* stream, const LumoProperty*) {
  return LoadCollection<YLVertex>(stream, Vertices, "Vertices");
}
bool YLSectors::SaveVertices(LumoStream* stream, const LumoProperty*) {
  return SaveCollection(stream, Vertices);
}

bool YLSectors::OnLoadFrom(LumoStream*) {
  for (int32_t index = 0; index < GetSectorCount(); ++index) {
    YLSector* sector = GetSector(index);
    if (sector != nullptr && !sector->ResolveLoadedBorders(*this)) {
      return false;
    }
  }
  DebugPrint("\nYLSectors::OnLoadFrom -> %d sectors, %d borders, %d vertices\n\n", GetSectorCount(),
             GetBorderCount(), GetVertexCount());
  return true;
}
